// The Save: the copy over the project, joined first with what someone else
// wrote into the project since.

#include "KOPIELABOR.h"

#include "arbeitskopie/KOPIEBASIS.h"
#include "platform/database/Connection.h"
#include "platform/database/DatabaseFile.h"
#include "platform/runtime/ErrorHandler.h"
#include "platform/runtime/MsgBox.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
bool speichern(ARBEITSKOPIE& kopie) {
    return kopie.SPEICHERN(QStringLiteral("Speichern"), QStringLiteral("/VELD.HLP"), [] {
        ADD_FAILURE() << "a small copy is compacted";
        return false;
    });
}

void neu(Connection& kopie, int id, const char* ken) {
    kopie.Execute(QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (?,?,false)"),
                  {id, QString::fromUtf8(ken)});
}
} // namespace

// The new project's mark is in the copy before the new project takes the
// old one's place: a run killed right after the rename leaves a mark that
// the project is, so its next Save knows nobody else wrote.
TEST(Speichern, TheNewMarkIsBesideTheCopyBeforeTheNewProjectTakesItsPlace) {
    KOPIELABOR labor;
    const auto lauf = labor.GESTARTET();
    neu(*lauf->verbindung, 5, "NEU");
    static QString kopie;
    static int gekannt, ersetzt;
    kopie = labor.ARBEITSKOPIEPFAD();
    gekannt = ersetzt = 0;
    SetReplacedHook([](const QString& pfad) {
        ++ersetzt;
        Connection db(kopie);
        if (DatabaseMark::Contains(KOPIEBASIS::PROJEKTSTAENDE(db).value_or(QList<DatabaseMark>()),
                                   MarkOfDatabase(pfad)))
            ++gekannt;
    });
    const bool gespeichert = speichern(*lauf->kopie);
    SetReplacedHook(nullptr);
    EXPECT_TRUE(gespeichert);
    EXPECT_EQ(ersetzt, 1);
    EXPECT_EQ(gekannt, 1);
}

TEST(Speichern, WhatOnlyAnotherChangedIsJoinedUnasked) {
    KOPIELABOR labor;
    KOPIELABOR::DATENSATZ(labor.PROJEKTDATENBANK(), 1, QStringLiteral("P1"));
    KOPIELABOR::DATENSATZ(labor.PROJEKTDATENBANK(), 2, QStringLiteral("P2"));
    const auto lauf = labor.GESTARTET();
    // This user adds NEU and changes P1; another adds FREMD under the key
    // NEU has here, and deletes P2.
    neu(*lauf->verbindung, 7, "NEU");
    lauf->verbindung->Execute(QStringLiteral("UPDATE [E1] SET [KOM]='mein' WHERE [ID]=1"));
    {
        Connection anderer(labor.PROJEKTDATENBANK());
        anderer.Execute(QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (7,'FREMD',0)"));
        anderer.Execute(QStringLiteral("DELETE FROM [E1] WHERE [ID]=2"));
    }
    EXPECT_TRUE(speichern(*lauf->kopie));
    EXPECT_TRUE(labor.DIALOG.BOXEN().isEmpty());
    EXPECT_EQ(KOPIELABOR::KENNUNGEN(labor.PROJEKTDATENBANK()), QStringLiteral("P1,NEU,FREMD"));
    EXPECT_EQ(KOPIELABOR::KENNUNGEN(labor.ARBEITSKOPIEPFAD()), QStringLiteral("P1,NEU,FREMD"));
    ASSERT_FALSE(labor.DIALOG.m_hinweise.isEmpty());
    EXPECT_EQ(labor.DIALOG.m_hinweise.last(),
              QString::fromUtf8("Von anderen übernommen: FREMD, P2 (gelöscht)"));
    EXPECT_FALSE(lauf->kopie->BOGEAENDERT());
}

TEST(Speichern, ARecordBothChangedIsAskedAboutAndEachAnswerDoesWhatItSays) {
    const struct {
        int antwort;
        bool gespeichert;
        const char* projekt;
        const char* kopie;
    } faelle[] = {{vbYes, true, "mein", "mein"},
                  {vbNo, true, "fremd", "fremd"},
                  {vbCancel, false, "fremd", "mein"}};
    for (const auto& fall : faelle) {
        KOPIELABOR labor;
        KOPIELABOR::DATENSATZ(labor.PROJEKTDATENBANK(), 1, QStringLiteral("P1"));
        const auto lauf = labor.GESTARTET();
        lauf->verbindung->Execute(QStringLiteral("UPDATE [E1] SET [KOM]='mein'"));
        Connection(labor.PROJEKTDATENBANK())
            .Execute(QStringLiteral("UPDATE [E1] SET [KOM]='fremd'"));
        labor.DIALOG.ANTWORTEN({fall.antwort});
        EXPECT_EQ(speichern(*lauf->kopie), fall.gespeichert);
        ASSERT_EQ(labor.DIALOG.BOXEN().size(), 1);
        const KOPIEDIALOG::BOX box = labor.DIALOG.BOXEN()[0];
        EXPECT_EQ(box.text,
                  QString::fromUtf8(
                      "Das Projekt TE0001.00 wurde seit dem letzten Abgleich der Arbeitskopie von "
                      "einem anderen "
                      "Benutzer oder Programm geändert. Was nur dort oder nur hier geändert "
                      "wurde, bleibt, wie es geändert wurde.\r\nDiese Datensätze wurden "
                      "hier und dort geändert: P1.\r\nJa: Ihre Fassung wird gespeichert; "
                      "die Fassung im Projekt geht verloren.\r\nNein: die Fassung im "
                      "Projekt bleibt; Ihre Fassung geht verloren.\r\nAbbrechen: es wird "
                      "nichts gespeichert; alle Ihre Änderungen bleiben in der "
                      "Arbeitskopie."));
        EXPECT_EQ(box.stil, vbYesNoCancel + vbExclamation + vbDefaultButton3);
        EXPECT_EQ(box.titel, QStringLiteral("Speichern"));
        EXPECT_EQ(KOPIELABOR::KOMMENTAR(labor.PROJEKTDATENBANK()), QString::fromUtf8(fall.projekt));
        EXPECT_EQ(KOPIELABOR::KOMMENTAR(labor.ARBEITSKOPIEPFAD()), QString::fromUtf8(fall.kopie));
        // Unsaved, the change stays marked.
        EXPECT_EQ(lauf->kopie->BOGEAENDERT(), !fall.gespeichert);
    }
}

TEST(Speichern, SizesRoundHalvesToEven) {
    QTemporaryDir ordner;
    auto mb = [&](qint64 bytes) {
        QFile datei(ordner.filePath(QStringLiteral("g")));
        datei.open(QIODevice::WriteOnly);
        datei.resize(bytes);
        datei.close();
        return ARBEITSKOPIE::GROESSEMB(datei.fileName());
    };
    EXPECT_EQ(mb(10040000), 10.0f);
    EXPECT_EQ(mb(10060000), 10.1f);
    EXPECT_EQ(mb(12340000), 12.3f);
    EXPECT_EQ(mb(10050000), 10.0f);
    EXPECT_EQ(mb(10150000), 10.2f);
    EXPECT_EQ(mb(49000), 0.0f);
}
