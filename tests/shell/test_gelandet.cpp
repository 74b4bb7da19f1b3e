// A Save whose end nobody saw (its run killed between the project's change
// and the copy's), settled at the next start or join by what can be known,
// as real processes (the child "lauf" of test_laeufe.cpp).

#include "SHELLLABOR.h"
#include "arbeitskopie/PROJEKTVERLAUF.h"
#include "platform/database/Connection.h"
#include "support/KINDPROZESS.h"

#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

QString antwort(const char* text) {
    return QString::fromUtf8(text);
}

// A run of `anmeldename`, started with the answer to the start's question.
void starten(QProcess& lauf, const SHELLLABOR& labor, const char* anmeldename,
             const char* start = "keine", const char* bereit = "BEREIT 1 0") {
    KINDPROZESS::STARTEN(lauf, QStringLiteral("lauf"), {labor.WURZEL(), anmeldename, start});
    ASSERT_EQ(KINDPROZESS::ZEILE(lauf), antwort(bereit));
}

QString befehl(QProcess& lauf, const QString& zeile) {
    return KINDPROZESS::BEFEHL(lauf, zeile);
}

// The run adds W5 and changes ALT, and dies at `stelle` of its Save.
void abgestuerzt(QProcess& lauf, const char* stelle) {
    EXPECT_EQ(befehl(lauf, QStringLiteral("SCHREIBEN 5 5")), antwort("GESCHRIEBEN 1"));
    EXPECT_EQ(befehl(lauf, QStringLiteral("KOMMENTIEREN 1 mein")), antwort("OK 0"));
    EXPECT_EQ(befehl(lauf, QString::fromLatin1("ABSTURZ ") + QLatin1String(stelle)),
              antwort("OK 0"));
    lauf.write("SPEICHERN\n");
    ASSERT_TRUE(lauf.waitForFinished());
}

// The project's identifiers, sorted (a take may give a record another key).
QString sortiert(const SHELLLABOR& labor) {
    QStringList kennungen = SHELLLABOR::KENNUNGEN(labor.PROJEKTDATENBANK()).split(QLatin1Char(','));
    kennungen.sort();
    return kennungen.join(QLatin1Char(','));
}

} // namespace

// Killed right after the rename; then nothing tells whether the project
// took that Save: its history is lost, or another program wrote into the
// project (as an export from another project does). A colleague deletes W5,
// which this user added in that Save, and P2, which nobody else touched.
// This user's next Save (of a new start, or of a second run that lived on)
// asks about W5 alone, and No leaves it deleted; P2 stays deleted, ALT
// keeps this user's change, and the colleague's next Save brings nothing
// back and asks nothing.
TEST(Gelandet, ASaveWhoseLandingNothingTellsIsSettledTestByTest) {
    for (const bool zweiterLauf : {false, true})
        for (const bool fremdGeschrieben : {false, true}) {
            SCOPED_TRACE(testing::Message() << zweiterLauf << fremdGeschrieben);
            SHELLLABOR labor;
            SHELLLABOR::DATENSATZ(labor.PROJEKTDATENBANK(), 1, QStringLiteral("ALT"));
            SHELLLABOR::DATENSATZ(labor.PROJEKTDATENBANK(), 2, QStringLiteral("P2"));
            QProcess tester, tester2, anderer;
            starten(tester, labor, "tester");
            if (zweiterLauf) {
                starten(tester2, labor, "tester");
            }
            abgestuerzt(tester, "ERSETZT");
            if (zweiterLauf) {
                EXPECT_EQ(befehl(tester2, QStringLiteral("SCHREIBEN 6 6")),
                          antwort("GESCHRIEBEN 1"));
            }
            if (fremdGeschrieben)
                Connection(labor.PROJEKTDATENBANK())
                    .Execute(QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES "
                                            "(9,'X9',0)"));
            starten(anderer, labor, "anderer");
            EXPECT_EQ(befehl(anderer, QStringLiteral("LOESCHEN 5")), antwort("OK 0"));
            EXPECT_EQ(befehl(anderer, QStringLiteral("LOESCHEN 2")), antwort("OK 0"));
            EXPECT_EQ(befehl(anderer, QStringLiteral("SPEICHERN")), antwort("OK 0"));
            if (!fremdGeschrieben) {
                ASSERT_TRUE(QFile::remove(PROJEKTVERLAUF::DATEI(labor.PROJEKTDATENBANK())));
            }
            // A new start asks about the interrupted run's work first.
            if (!zweiterLauf) starten(tester2, labor, "tester", "ja", "BEREIT 1 1");
            const int start = zweiterLauf ? 0 : 1;
            EXPECT_EQ(befehl(tester2, QStringLiteral("ANTWORT nein hier und dort")),
                      QStringLiteral("OK %1").arg(start));
            EXPECT_EQ(befehl(tester2, QStringLiteral("SPEICHERN")),
                      QStringLiteral("OK %1").arg(start + 1));
            const QString boxen = befehl(tester2, QStringLiteral("BOXEN"));
            EXPECT_TRUE(boxen.contains(
                QString::fromUtf8("geändert. Was nur dort oder nur hier geändert wurde, bleibt, "
                                  "wie es geändert wurde. / Diese Datensätze sind hier und dort "
                                  "verschieden: W5. / Ja:")))
                << boxen.toStdString();
            QStringList erwartet{QStringLiteral("ALT")};
            if (zweiterLauf) erwartet << QStringLiteral("W6");
            if (fremdGeschrieben) erwartet << QStringLiteral("X9");
            const QString projekt = erwartet.join(QLatin1Char(','));
            EXPECT_EQ(sortiert(labor), projekt);
            EXPECT_EQ(SHELLLABOR::KOMMENTAR(labor.PROJEKTDATENBANK(), 1), antwort("mein"));
            EXPECT_EQ(befehl(anderer, QStringLiteral("SPEICHERN")), antwort("OK 0"));
            EXPECT_EQ(sortiert(labor), projekt);
            EXPECT_EQ(befehl(anderer, QStringLiteral("ENDE")), antwort("OK 0"));
            EXPECT_EQ(befehl(tester2, QStringLiteral("ENDE")),
                      QStringLiteral("OK %1").arg(start + 1));
            ASSERT_TRUE(anderer.waitForFinished());
            ASSERT_TRUE(tester2.waitForFinished());
        }
}

// A project that another program switched to WAL mode is written in place;
// the run is killed after the project's commit, before the copy's. A
// colleague deletes W5, which that Save added: the next start finds nothing
// unsaved, and its Save leaves W5 deleted.
TEST(Gelandet, AKillBetweenAWalProjectsCommitAndTheCopysIsSettledByTheProject) {
    SHELLLABOR labor;
    SHELLLABOR::DATENSATZ(labor.PROJEKTDATENBANK(), 1, QStringLiteral("ALT"));
    Connection(labor.PROJEKTDATENBANK()).Execute(QStringLiteral("PRAGMA journal_mode=WAL"));
    QProcess tester, anderer, tester2;
    starten(tester, labor, "tester");
    abgestuerzt(tester, "IMPROJEKT");
    starten(anderer, labor, "anderer");
    EXPECT_EQ(befehl(anderer, QStringLiteral("LOESCHEN 5")), antwort("OK 0"));
    EXPECT_EQ(befehl(anderer, QStringLiteral("SPEICHERN")), antwort("OK 0"));
    EXPECT_EQ(befehl(anderer, QStringLiteral("ENDE")), antwort("OK 0"));
    ASSERT_TRUE(anderer.waitForFinished());
    starten(tester2, labor, "tester");
    EXPECT_EQ(befehl(tester2, QStringLiteral("SPEICHERN")), antwort("OK 0"));
    EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.PROJEKTDATENBANK()), antwort("ALT"));
    EXPECT_EQ(SHELLLABOR::KOMMENTAR(labor.PROJEKTDATENBANK(), 1), antwort("mein"));
    EXPECT_EQ(befehl(tester2, QStringLiteral("ENDE")), antwort("OK 0"));
    ASSERT_TRUE(tester2.waitForFinished());
}

// A Save that ended after it knew what it would tell the project's history
// and before the project took its content, then a round trip of the copy
// through WAL mode by another program (content unchanged): the copy is no
// plain copy of any project content the project held, so its unsaved change
// stays this user's (the start asks about it), and the next Save, over the
// project as the copy last met it, saves it with the change made since.
TEST(Gelandet, ASaveEndedBeforeItsRenameLeavesNoEntryThatTakesTheCopyForTheProject) {
    SHELLLABOR labor;
    SHELLLABOR::DATENSATZ(labor.PROJEKTDATENBANK(), 1, QStringLiteral("ALT"));
    SHELLLABOR::DATENSATZ(labor.PROJEKTDATENBANK(), 2, QStringLiteral("P2"));
    QProcess tester, tester2;
    starten(tester, labor, "tester");
    abgestuerzt(tester, "ERSETZEND");
    {
        Connection browser(labor.ARBEITSKOPIE());
        browser.Execute(QStringLiteral("PRAGMA journal_mode=WAL"));
        browser.Execute(QStringLiteral("PRAGMA journal_mode=DELETE"));
    }
    starten(tester2, labor, "tester", "ja", "BEREIT 1 1");
    EXPECT_EQ(befehl(tester2, QStringLiteral("KOMMENTIEREN 2 auch")), antwort("OK 1"));
    EXPECT_EQ(befehl(tester2, QStringLiteral("SPEICHERN")), antwort("OK 1"));
    EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.PROJEKTDATENBANK()), antwort("ALT,P2,W5"));
    EXPECT_EQ(SHELLLABOR::KOMMENTAR(labor.PROJEKTDATENBANK(), 1), antwort("mein"));
    EXPECT_EQ(SHELLLABOR::KOMMENTAR(labor.PROJEKTDATENBANK(), 2), antwort("auch"));
    EXPECT_EQ(befehl(tester2, QStringLiteral("ENDE")), antwort("OK 1"));
    ASSERT_TRUE(tester2.waitForFinished());
}
