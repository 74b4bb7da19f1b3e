// The quit of the last run: the save question and what its answer leaves.

#include "KOPIELABOR.h"

#include "platform/database/Connection.h"
#include "platform/runtime/ErrorHandler.h"
#include "platform/runtime/MsgBox.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

TEST(Ende, TheLastRunsAnswerDecidesWhatBecomesOfTheChanges) {
    const struct {
        int antwort;
        bool weiter;
        int speicherungen;
        bool kopieBleibt;
        const char* projekt;
    } faelle[] = {
        {vbYes, true, 1, false, "NEU"},
        {vbNo, true, 0, false, "ALT"},
        {vbCancel, false, 0, true, "ALT"},
    };
    for (const auto& fall : faelle) {
        KOPIELABOR labor;
        KOPIELABOR::DATENSATZ(labor.PROJEKTDATENBANK(), 1, QStringLiteral("ALT"));
        ErrorHandler eh(QStringLiteral("VB-Error: "), QStringLiteral("VELD"));
        const auto lauf = labor.GESTARTET();
        lauf->verbindung->Execute(
            QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (5,'NEU',false)"));
        lauf->verbindung->Execute(QStringLiteral("DELETE FROM [E1] WHERE [ID]=1"));
        labor.DIALOG.ANTWORTEN({fall.antwort});
        int speicherungen = 0;
        const auto speichern = [&] {
            ++speicherungen;
            return lauf->kopie->SPEICHERN(QStringLiteral("Speichern"), QString(),
                                          [] { return false; });
        };
        bool cancel = false;
        EXPECT_EQ(lauf->kopie->BEENDENFRAGEN(eh, 1, QStringLiteral("Beenden"), speichern, cancel),
                  fall.weiter);
        EXPECT_EQ(cancel, !fall.weiter);
        EXPECT_EQ(speicherungen, fall.speicherungen);
        ASSERT_EQ(labor.DIALOG.BOXEN().size(), 1);
        // Its No deletes the copy: the question names what only the copy
        // holds.
        EXPECT_EQ(labor.DIALOG.BOXEN()[0].text,
                  QString::fromUtf8("Sollen die Änderungen in Projekt TE0001.00 gespeichert "
                                    "werden?\r\nNein verwirft diese Datensätze, die nur die "
                                    "Arbeitskopie so enthält: NEU, ALT (gelöscht)."));
        EXPECT_EQ(labor.DIALOG.BOXEN()[0].stil, vbYesNoCancel + vbQuestion);
        EXPECT_EQ(labor.DIALOG.BOXEN()[0].titel, QStringLiteral("Beenden"));
        if (fall.weiter) lauf->kopie->BEENDEN(eh);
        EXPECT_EQ(lauf->verbindung->IsOpen(), !fall.weiter);
        EXPECT_EQ(QFileInfo::exists(labor.ARBEITSKOPIEPFAD()), fall.kopieBleibt);
        EXPECT_EQ(QFileInfo::exists(labor.HERKUNFT()), fall.kopieBleibt);
        EXPECT_EQ(labor.ZUSTANDSDATEIEN(QStringLiteral("*.lauf")).size(), fall.weiter ? 0 : 1);
        EXPECT_EQ(labor.ZUSTANDSDATEIEN(QStringLiteral("*.geaendert")).size(),
                  fall.kopieBleibt ? 1 : 0);
        EXPECT_EQ(KOPIELABOR::KENNUNGEN(labor.PROJEKTDATENBANK()), QString::fromUtf8(fall.projekt));
    }
}

// Marks that stand for no changed record (a test opened, its selection
// written as it was) ask nothing at the quit, and the last run's copy goes.
TEST(Ende, MarksWithoutAChangedRecordAskNothing) {
    KOPIELABOR labor;
    KOPIELABOR::DATENSATZ(labor.PROJEKTDATENBANK(), 1, QStringLiteral("P1"));
    ErrorHandler eh(QStringLiteral("VB-Error: "), QStringLiteral("VELD"));
    const auto lauf = labor.GESTARTET();
    lauf->verbindung->Execute(QStringLiteral("UPDATE [E1] SET [AKT]=true"));
    ASSERT_TRUE(lauf->kopie->BOGEAENDERT());
    bool cancel = false;
    EXPECT_TRUE(lauf->kopie->BEENDENFRAGEN(
        eh, 1, QStringLiteral("Beenden"), [] { return false; }, cancel));
    lauf->kopie->BEENDEN(eh);
    EXPECT_TRUE(labor.DIALOG.BOXEN().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(labor.ARBEITSKOPIEPFAD()));
}

// What the copy holds decides, not the marks beside it: a change whose mark
// is gone (removed by hand, or lost with the state folder) is asked about by
// the last run, and a session's end keeps it. Its next start names every
// test its No drops, a deletion too, also where the deletion is all.
TEST(Ende, TheCopyNotItsMarksTellsWhatTheQuitAndTheNextStartAskAbout) {
    const struct {
        bool mitNeuem;
        const char* frage;
        const char* nachNein;
    } faelle[] = {
        {true, "NEU, P2 (gelöscht)", "P1,P2"},
        {false, "P2 (gelöscht)", "P1,P2"},
    };
    for (const auto& fall : faelle) {
        SCOPED_TRACE(fall.frage);
        KOPIELABOR labor;
        KOPIELABOR::DATENSATZ(labor.PROJEKTDATENBANK(), 1, QStringLiteral("P1"));
        KOPIELABOR::DATENSATZ(labor.PROJEKTDATENBANK(), 2, QStringLiteral("P2"));
        ErrorHandler eh(QStringLiteral("VB-Error: "), QStringLiteral("VELD"));
        const QString nein = QString::fromUtf8("\r\nNein verwirft diese Datensätze, die nur die "
                                               "Arbeitskopie so enthält: ") +
                             QString::fromUtf8(fall.frage) + QStringLiteral(".");
        {
            const auto lauf = labor.GESTARTET();
            if (fall.mitNeuem)
                lauf->verbindung->Execute(
                    QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (5,'NEU',false)"));
            lauf->verbindung->Execute(QStringLiteral("DELETE FROM [E1] WHERE [ID]=2"));
            for (const QString& vermerk : labor.ZUSTANDSDATEIEN(QStringLiteral("*.geaendert")))
                ASSERT_TRUE(QFile::remove(labor.ZUSTAND() + QLatin1Char('/') + vermerk));
            ASSERT_FALSE(lauf->kopie->BOGEAENDERT());
            // The quit asks (Abbrechen), then the session ends: the copy stays.
            labor.DIALOG.ANTWORTEN({vbCancel});
            bool cancel = false;
            EXPECT_FALSE(lauf->kopie->BEENDENFRAGEN(
                eh, 1, QStringLiteral("Beenden"), [] { return false; }, cancel));
            ASSERT_EQ(labor.DIALOG.BOXEN().size(), 1);
            EXPECT_EQ(labor.DIALOG.BOXEN()[0].text,
                      QString::fromUtf8("Sollen die Änderungen in Projekt TE0001.00 gespeichert "
                                        "werden?") +
                          nein);
            EXPECT_TRUE(lauf->kopie->BEENDENFRAGEN(
                eh, 2, QStringLiteral("Beenden"), [] { return false; }, cancel));
            lauf->kopie->BEENDEN(eh);
        }
        ASSERT_TRUE(QFileInfo::exists(labor.ARBEITSKOPIEPFAD()));
        labor.DIALOG.ANTWORTEN({vbNo});
        const auto naechster = labor.GESTARTET();
        ASSERT_EQ(labor.DIALOG.BOXEN().size(), 2);
        EXPECT_EQ(labor.DIALOG.BOXEN()[1].text,
                  QString::fromUtf8("Die Arbeitskopie enthält Änderungen, die beim Ende der "
                                    "letzten Sitzung nicht gespeichert wurden.\r\nSollen sie "
                                    "behalten werden?") +
                      nein);
        EXPECT_EQ(KOPIELABOR::KENNUNGEN(labor.ARBEITSKOPIEPFAD()),
                  QString::fromUtf8(fall.nachNein));
    }
}

// A session that ends with marks that stand for nothing (a test opened, its
// selection written as it was): nothing is kept, and the next start asks
// nothing. One that ends with a test stored and stored back as it was
// likewise.
TEST(Ende, ASessionEndWithNothingUnsavedKeepsNoCopy) {
    for (const bool zurueck : {false, true}) {
        SCOPED_TRACE(zurueck);
        KOPIELABOR labor;
        KOPIELABOR::DATENSATZ(labor.PROJEKTDATENBANK(), 1, QStringLiteral("P1"));
        ErrorHandler eh(QStringLiteral("VB-Error: "), QStringLiteral("VELD"));
        {
            const auto lauf = labor.GESTARTET();
            if (zurueck) {
                lauf->verbindung->Execute(QStringLiteral("UPDATE [E1] SET [KEN]='X' WHERE [ID]=1"));
                lauf->verbindung->Execute(
                    QStringLiteral("UPDATE [E1] SET [KEN]='P1' WHERE [ID]=1"));
            } else {
                lauf->verbindung->Execute(QStringLiteral("UPDATE [E1] SET [AKT]=true"));
            }
            ASSERT_TRUE(lauf->kopie->BOGEAENDERT());
            bool cancel = false;
            EXPECT_TRUE(lauf->kopie->BEENDENFRAGEN(
                eh, 2, QStringLiteral("Beenden"), [] { return false; }, cancel));
            lauf->kopie->BEENDEN(eh);
        }
        EXPECT_FALSE(QFileInfo::exists(labor.ARBEITSKOPIEPFAD()));
        EXPECT_TRUE(labor.ZUSTANDSDATEIEN(QStringLiteral("*"))
                        .filter(QStringLiteral("behalten"))
                        .isEmpty());
        const auto naechster = labor.GESTARTET();
        EXPECT_TRUE(labor.DIALOG.BOXEN().isEmpty());
    }
}
