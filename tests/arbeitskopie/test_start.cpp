// The start's decision about the working copy, driven without a main window.

#include "KOPIELABOR.h"

#include "arbeitskopie/PROJEKTABDRUCK.h"
#include "platform/database/Connection.h"
#include "platform/runtime/ErrorHandler.h"
#include "platform/runtime/MsgBox.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {
const QString kUnterbrochen =
    QString::fromUtf8("Programm wurde während der Ausführung unterbrochen!\r\nSoll die bis zum "
                      "Abbruch vorhandenen Daten gepeichert werden?");

bool vorbereiten(ARBEITSKOPIE& kopie) {
    ErrorHandler eh(QStringLiteral("VB-Error: "), QStringLiteral("VELD"));
    const bool weiter = kopie.VORBEREITEN(eh);
    EXPECT_FALSE(eh.Left());
    return weiter;
}
} // namespace

TEST(Start, AFirstStartCopiesTheProjectAndNotesWhatItWasTakenFrom) {
    KOPIELABOR labor;
    KOPIELABOR::DATENSATZ(labor.PROJEKTDATENBANK(), 1, QStringLiteral("P1"));
    const auto lauf = labor.LAUFEN();
    ASSERT_TRUE(vorbereiten(*lauf->kopie));
    EXPECT_TRUE(labor.DIALOG.BOXEN().isEmpty());
    EXPECT_TRUE(lauf->verbindung->IsOpen());
    EXPECT_EQ(QFileInfo(lauf->verbindung->Path()), QFileInfo(labor.ARBEITSKOPIEPFAD()));
    EXPECT_EQ(KOPIELABOR::KENNUNGEN(labor.ARBEITSKOPIEPFAD()), QStringLiteral("P1"));
    EXPECT_EQ(PROJEKTABDRUCK::HERKUNFT(labor.HERKUNFT()),
              QFileInfo(labor.PROJEKTDATENBANK()).absoluteFilePath());
    const QList<DatabaseMark> abdruecke = PROJEKTABDRUCK::ABDRUECKE(labor.HERKUNFT());
    ASSERT_EQ(abdruecke.size(), 1);
    EXPECT_TRUE(abdruecke[0].Same(MarkOfDatabase(labor.PROJEKTDATENBANK())));
    // The run is known beside the copy, with no change.
    EXPECT_EQ(labor.ZUSTANDSDATEIEN(QStringLiteral("*.lauf")).size(), 1);
    EXPECT_TRUE(labor.ZUSTANDSDATEIEN(QStringLiteral("*.geaendert")).isEmpty());
    EXPECT_FALSE(lauf->kopie->BOGEAENDERT());
    EXPECT_TRUE(lauf->kopie->ZUSTANDBEKANNT());
}

TEST(Start, ACopyLeftByAGoneRunIsAskedAboutAndKeptOrReplaced) {
    const struct {
        int antwort;
        const char* kennungen;
        bool geaendert;
    } faelle[] = {{vbYes, "P1,ALT", true}, {vbNo, "P1", false}};
    for (const auto& fall : faelle) {
        KOPIELABOR labor;
        KOPIELABOR::DATENSATZ(labor.PROJEKTDATENBANK(), 1, QStringLiteral("P1"));
        QDir().mkpath(QFileInfo(labor.ARBEITSKOPIEPFAD()).path());
        ASSERT_TRUE(QFile::copy(labor.PROJEKTDATENBANK(), labor.ARBEITSKOPIEPFAD()));
        KOPIELABOR::DATENSATZ(labor.ARBEITSKOPIEPFAD(), 2, QStringLiteral("ALT"));
        PROJEKTABDRUCK::SCHREIBEN(labor.HERKUNFT(), labor.PROJEKTDATENBANK(), {});
        labor.DIALOG.ANTWORTEN({fall.antwort});
        const auto lauf = labor.LAUFEN();
        ASSERT_TRUE(vorbereiten(*lauf->kopie));
        ASSERT_EQ(labor.DIALOG.BOXEN().size(), 1);
        // Its No drops what only the copy holds: the question names it.
        EXPECT_EQ(labor.DIALOG.BOXEN()[0].text,
                  kUnterbrochen + QString::fromUtf8("\r\nNein verwirft diese Datensätze, die "
                                                    "nur die Arbeitskopie so enthält: ALT."));
        EXPECT_EQ(labor.DIALOG.BOXEN()[0].stil, vbYesNo + vbQuestion);
        EXPECT_EQ(labor.DIALOG.BOXEN()[0].titel, QStringLiteral("VELD"));
        EXPECT_EQ(KOPIELABOR::KENNUNGEN(labor.ARBEITSKOPIEPFAD()),
                  QString::fromUtf8(fall.kennungen));
        EXPECT_EQ(lauf->kopie->BOGEAENDERT(), fall.geaendert);
        // The project is untouched either way.
        EXPECT_EQ(KOPIELABOR::KENNUNGEN(labor.PROJEKTDATENBANK()), QStringLiteral("P1"));
    }
}

TEST(Start, ASecondRunSharesTheCopyOfALiveRunUnaskedAndOnlyTheLastDeletesIt) {
    KOPIELABOR labor;
    const auto erster = labor.LAUFEN();
    ASSERT_TRUE(vorbereiten(*erster->kopie));
    erster->verbindung->Execute(
        QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (5,'NEU',false)"));
    const auto zweiter = labor.LAUFEN();
    ASSERT_TRUE(vorbereiten(*zweiter->kopie));
    EXPECT_TRUE(labor.DIALOG.BOXEN().isEmpty());
    EXPECT_EQ(labor.ZUSTANDSDATEIEN(QStringLiteral("*.lauf")).size(), 2);
    // The first run's change is the copy's, so the second knows it.
    EXPECT_TRUE(zweiter->kopie->BOGEAENDERT());

    ErrorHandler eh(QStringLiteral("VB-Error: "), QStringLiteral("VELD"));
    const QString frage =
        QString::fromUtf8("Sollen die Änderungen in Projekt TE0001.00 gespeichert werden?");
    // Both runs are asked about the copy's changes; the No of a run that is
    // not the last leaves the copy to the other.
    for (const auto* lauf : {erster.get(), zweiter.get()}) {
        labor.DIALOG.ANTWORTEN({vbNo});
        bool cancel = false;
        EXPECT_TRUE(lauf->kopie->BEENDENFRAGEN(
            eh, 1, QStringLiteral("Beenden"), [] { return false; }, cancel));
        EXPECT_FALSE(cancel);
        lauf->kopie->BEENDEN(eh);
        // The last run's No deletes the copy: it names what only the copy
        // holds.
        EXPECT_EQ(labor.DIALOG.BOXEN().last().text,
                  lauf == erster.get()
                      ? frage
                      : frage + QString::fromUtf8("\r\nNein verwirft diese Datensätze, die nur "
                                                  "die Arbeitskopie so enthält: NEU."));
        EXPECT_EQ(QFileInfo::exists(labor.ARBEITSKOPIEPFAD()), lauf == erster.get());
        EXPECT_EQ(labor.ZUSTANDSDATEIEN(QStringLiteral("*.lauf")).size(),
                  lauf == erster.get() ? 1 : 0);
    }
    EXPECT_EQ(labor.DIALOG.BOXEN().size(), 2);
    EXPECT_FALSE(QFileInfo::exists(labor.HERKUNFT()));
    EXPECT_TRUE(labor.ZUSTANDSDATEIEN(QStringLiteral("*.geaendert")).isEmpty());
    EXPECT_EQ(KOPIELABOR::KENNUNGEN(labor.PROJEKTDATENBANK()), QString());
}
