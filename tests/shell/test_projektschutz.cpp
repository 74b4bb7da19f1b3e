// The project database shared with another user, and a working copy replaced
// under live runs, as real processes (the child "lauf" of test_laeufe.cpp).

#include "HAUPTFENSTERTEST.h"
#include "SHELLLABOR.h"
#include "arbeitskopie/PROJEKTABDRUCK.h"
#include "platform/database/Connection.h"
#include "platform/database/Recordset.h"
#include "shell/frmMAINFENSTER.h"
#include "support/KINDPROZESS.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

QString antwort(const char* text) {
    return QString::fromUtf8(text);
}

const QString kFremd = QStringLiteral("wurde seit dem Anlegen der Arbeitskopie");

void starten(QProcess& lauf, const SHELLLABOR& labor, const char* anmeldename) {
    KINDPROZESS::STARTEN(lauf, QStringLiteral("lauf"), {labor.WURZEL(), anmeldename, "keine"});
    ASSERT_EQ(KINDPROZESS::ZEILE(lauf), antwort("BEREIT 1 0"));
}

QString befehl(QProcess& lauf, const QString& zeile) {
    return KINDPROZESS::BEFEHL(lauf, zeile);
}

// The other user starts, stores W2 and saves it into the project (and
// ends, unless told not to).
void andererSpeichert(QProcess& anderer, const SHELLLABOR& labor, bool ende = true) {
    starten(anderer, labor, "anderer");
    EXPECT_EQ(befehl(anderer, QStringLiteral("SCHREIBEN 2 2")), antwort("GESCHRIEBEN 1"));
    EXPECT_EQ(befehl(anderer, QStringLiteral("SPEICHERN")), antwort("OK 0"));
    if (!ende) return;
    EXPECT_EQ(befehl(anderer, QStringLiteral("ENDE")), antwort("OK 0"));
    ASSERT_TRUE(anderer.waitForFinished());
}

} // namespace

// The second user saves after the first took its copy: the first user's Save
// joins both users' records unasked. Then both change one record: only it is
// asked about, and No keeps the other's version. A user alone, also with two
// runs, saves, stores, saves and quits without a question but the quit's own.
TEST(Projektschutz, ASaveKeepsWhatAnotherUserSavedAndAsksOnlyAboutARecordBothChanged) {
    SHELLLABOR labor;
    SHELLLABOR::DATENSATZ(labor.PROJEKTDATENBANK(), 1, QStringLiteral("ALT"));
    QProcess tester, anderer, anderer2, tester2;
    starten(tester, labor, "tester");
    andererSpeichert(anderer, labor);
    ASSERT_EQ(SHELLLABOR::KENNUNGEN(labor.PROJEKTDATENBANK()), antwort("ALT,W2"));

    // W3 goes under the key W2 has in the project: W2 comes under a new one.
    EXPECT_EQ(befehl(tester, QStringLiteral("SCHREIBEN 3 3")), antwort("GESCHRIEBEN 1"));
    EXPECT_EQ(befehl(tester, QStringLiteral("SPEICHERN")), antwort("OK 0"));
    EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.PROJEKTDATENBANK()), antwort("ALT,W3,W2"));
    EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.ARBEITSKOPIE()), antwort("ALT,W3,W2"));

    starten(anderer2, labor, "anderer");
    EXPECT_EQ(befehl(anderer2, QStringLiteral("KOMMENTIEREN 1 fremd")), antwort("OK 0"));
    EXPECT_EQ(befehl(anderer2, QStringLiteral("SPEICHERN")), antwort("OK 0"));
    EXPECT_EQ(befehl(anderer2, QStringLiteral("ENDE")), antwort("OK 0"));
    ASSERT_TRUE(anderer2.waitForFinished());
    EXPECT_EQ(befehl(tester, QStringLiteral("KOMMENTIEREN 1 mein")), antwort("OK 0"));
    EXPECT_EQ(befehl(tester, QStringLiteral("ANTWORT nein hier und dort")), antwort("OK 0"));
    EXPECT_EQ(befehl(tester, QStringLiteral("SPEICHERN")), antwort("OK 1"));
    EXPECT_TRUE(befehl(tester, QStringLiteral("BOXEN"))
                    .contains(QString::fromUtf8("Diese Datensätze wurden hier und dort geändert: "
                                                "ALT. / Ja:")));
    EXPECT_EQ(SHELLLABOR::KOMMENTAR(labor.PROJEKTDATENBANK(), 1), antwort("fremd"));
    EXPECT_EQ(SHELLLABOR::KOMMENTAR(labor.ARBEITSKOPIE(), 1), antwort("fremd"));

    // From then on the user is alone again.
    starten(tester2, labor, "tester");
    EXPECT_EQ(befehl(tester2, QStringLiteral("SCHREIBEN 5 5")), antwort("GESCHRIEBEN 1"));
    EXPECT_EQ(befehl(tester2, QStringLiteral("SPEICHERN")), antwort("OK 0"));
    EXPECT_EQ(befehl(tester2, QStringLiteral("ENDE")), antwort("OK 0"));
    EXPECT_EQ(befehl(tester, QStringLiteral("SCHREIBEN 6 6")), antwort("GESCHRIEBEN 1"));
    EXPECT_EQ(befehl(tester, QStringLiteral("SPEICHERN")), antwort("OK 1"));
    EXPECT_EQ(befehl(tester, QStringLiteral("SCHREIBEN 7 7")), antwort("GESCHRIEBEN 1"));
    EXPECT_EQ(befehl(tester, QStringLiteral("ENDE ja")), antwort("OK 2"));
    ASSERT_TRUE(tester.waitForFinished());
    EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.PROJEKTDATENBANK()), antwort("ALT,W3,W2,W5,W6,W7"));
}

// A project that another program switched to WAL mode and wrote into three
// times (an axis range set, a test deleted, a test added): this user's Save
// keeps all of it, unasked, and the project stays in WAL mode.
TEST(Projektschutz, AWalProjectKeepsWhatAnotherWroteThere) {
    SHELLLABOR labor;
    SHELLLABOR::DATENSATZ(labor.PROJEKTDATENBANK(), 1, QStringLiteral("ALT"));
    SHELLLABOR::DATENSATZ(labor.PROJEKTDATENBANK(), 2, QStringLiteral("P2"));
    QProcess tester;
    starten(tester, labor, "tester");
    {
        Connection anderer(labor.PROJEKTDATENBANK());
        anderer.Execute(QStringLiteral("PRAGMA journal_mode=WAL"));
        anderer.Execute(QStringLiteral("INSERT INTO [G0] ([ID],[IDOBJEKT],[XMIN],[XMAX]) "
                                       "VALUES (1,11,0,60)"));
        anderer.Execute(QStringLiteral("DELETE FROM [E1] WHERE [ID]=2"));
        anderer.Execute(QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (9,'W9',0)"));
    }
    EXPECT_EQ(befehl(tester, QStringLiteral("SCHREIBEN 3 3")), antwort("GESCHRIEBEN 1"));
    EXPECT_EQ(befehl(tester, QStringLiteral("SPEICHERN")), antwort("OK 0"));
    EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.PROJEKTDATENBANK()), antwort("ALT,W3,W9"));
    Connection projekt(labor.PROJEKTDATENBANK());
    Recordset bereich(QStringLiteral("SELECT [XMAX] FROM [G0] WHERE [ID]=1"), projekt);
    ASSERT_FALSE(bereich.Eof());
    EXPECT_EQ(bereich.Fields(0).Value().toInt(), 60);
    Recordset modus(QStringLiteral("PRAGMA journal_mode"), projekt);
    EXPECT_EQ(modus.Fields(0).Value().toString(), QStringLiteral("wal"));
    EXPECT_EQ(befehl(tester, QStringLiteral("ENDE")), antwort("OK 0"));
    ASSERT_TRUE(tester.waitForFinished());
}

// Two live runs that stored, the copy replaced by a copy of itself (a sync
// tool), a third run that starts and stores; all quit, in either order, with
// Yes. The runs left on the old file write nothing more into it, keep what
// they stored in files their boxes name, and delete nothing; every stored
// record reaches the project through the run on the copy at the path.
TEST(Projektschutz, ACopyReplacedUnderLiveRunsLosesNoStoredRecord) {
    for (const bool dritterZuerst : {false, true}) {
        SCOPED_TRACE(dritterZuerst);
        SHELLLABOR labor;
        SHELLLABOR::DATENSATZ(labor.PROJEKTDATENBANK(), 1, QStringLiteral("ALT"));
        const QString ordner = QFileInfo(labor.ARBEITSKOPIE()).path();
        QProcess a, b, c;
        starten(a, labor, "tester");
        starten(b, labor, "tester");
        EXPECT_EQ(befehl(a, QStringLiteral("SCHREIBEN 10 10")), antwort("GESCHRIEBEN 1"));
        EXPECT_EQ(befehl(b, QStringLiteral("SCHREIBEN 20 20")), antwort("GESCHRIEBEN 1"));
        const QString kopie = labor.ARBEITSKOPIE() + QStringLiteral(".sync");
        ASSERT_TRUE(QFile::copy(labor.ARBEITSKOPIE(), kopie));
        ASSERT_TRUE(QFile::remove(labor.ARBEITSKOPIE()));
        ASSERT_TRUE(QFile::rename(kopie, labor.ARBEITSKOPIE()));

        EXPECT_EQ(befehl(a, QStringLiteral("SCHREIBEN 11 11")), antwort("GESCHRIEBEN 0"));
        starten(c, labor, "tester");
        EXPECT_EQ(befehl(c, QStringLiteral("SCHREIBEN 30 30")), antwort("GESCHRIEBEN 1"));

        QList<QProcess*> reihe{&a, &b, &c};
        if (dritterZuerst) reihe = {&c, &a, &b};
        QStringList behalten;
        for (QProcess* lauf : reihe) {
            if (lauf == &c) {
                EXPECT_EQ(befehl(c, QStringLiteral("ENDE ja")), antwort("OK 1"));
            } else {
                befehl(*lauf, QStringLiteral("ANTWORT ok ersetzt oder gelöscht"));
                EXPECT_EQ(befehl(*lauf, QStringLiteral("ENDE")), antwort("OK 1"));
                behalten << QStringLiteral("VELD_ersetzt%1.mdb")
                                .arg(behalten.isEmpty() ? QString() : QStringLiteral("_2"));
            }
            ASSERT_TRUE(lauf->waitForFinished());
        }
        EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.PROJEKTDATENBANK()), antwort("ALT,W10,W20,W30"));
        // Each run's file holds what it stored; once the project holds all
        // of it (the third run saved after them), it was put aside as done.
        const QStringList abgelegt = QDir(ordner).entryList(
            {QStringLiteral("VELD_ersetzt*.mdb"), QStringLiteral("VELD_uebernommen*.mdb")},
            QDir::Files);
        EXPECT_EQ(abgelegt.size(), behalten.size());
        for (const QString& datei : abgelegt)
            EXPECT_EQ(SHELLLABOR::KENNUNGEN(ordner + QLatin1Char('/') + datei),
                      antwort("ALT,W10,W20"));
        EXPECT_EQ(abgelegt.filter(QStringLiteral("uebernommen")).size(),
                  dritterZuerst ? 0 : behalten.size());
        // The copy at the path stays for as long as no run could know it
        // settled.
        EXPECT_EQ(QFileInfo::exists(labor.ARBEITSKOPIE()), dritterZuerst);
    }
}

// A user alone loses nothing by a Save, whatever happened to the project
// file: the own records exported into it (under another key), the records
// of another user that the copy took in since (the import the question
// advises), the project put back as it was under a new file. No question.
TEST(Projektschutz, NoQuestionWhereTheSaveRemovesNothingTheCopyLacks) {
    SHELLLABOR labor;
    SHELLLABOR::DATENSATZ(labor.PROJEKTDATENBANK(), 1, QStringLiteral("ALT"));
    QProcess tester, anderer;
    starten(tester, labor, "tester");
    andererSpeichert(anderer, labor);
    EXPECT_EQ(befehl(tester, QStringLiteral("SCHREIBEN 2 3")), antwort("GESCHRIEBEN 2"));
    EXPECT_EQ(befehl(tester, QStringLiteral("SPEICHERN")), antwort("OK 0"));
    EXPECT_EQ(befehl(tester, QStringLiteral("SCHREIBEN 4 4")), antwort("GESCHRIEBEN 1"));
    Connection(labor.PROJEKTDATENBANK())
        .Execute(QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (40,'W4',false)"));
    EXPECT_EQ(befehl(tester, QStringLiteral("SPEICHERN")), antwort("OK 0"));
    const QString wieder = labor.PROJEKTDATENBANK() + QStringLiteral(".wieder");
    ASSERT_TRUE(QFile::copy(labor.PROJEKTDATENBANK(), wieder));
    ASSERT_TRUE(QFile::remove(labor.PROJEKTDATENBANK()) &&
                QFile::rename(wieder, labor.PROJEKTDATENBANK()));
    EXPECT_EQ(befehl(tester, QStringLiteral("SCHREIBEN 5 5")), antwort("GESCHRIEBEN 1"));
    EXPECT_EQ(befehl(tester, QStringLiteral("ENDE ja")), antwort("OK 1"));
    ASSERT_TRUE(tester.waitForFinished());
    EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.PROJEKTDATENBANK()), antwort("ALT,W2,W3,W4,W5"));
}

// Where the copy's mark is gone the Save still keeps what the other user
// saved: the copy's base tells what this user changed. The other user's run,
// which changed nothing since its Save, then quits unasked, its copy deleted:
// nothing was lost. And a project whose mark cannot be read is joined once
// and saved, not asked about.
TEST(Projektschutz, WithoutTheMarksTheJoinStillKeepsWhatTheOtherSaved) {
    for (const bool markenlos : {false, true}) {
        SCOPED_TRACE(markenlos);
        SHELLLABOR labor;
        SHELLLABOR::DATENSATZ(labor.PROJEKTDATENBANK(), 1, QStringLiteral("ALT"));
        const QString andererKopie = QDir::cleanPath(QFileInfo(labor.ARBEITSKOPIE()).path() +
                                                     QStringLiteral("/../ANDERER/VELD.mdb"));
        QProcess tester, anderer;
        starten(tester, labor, "tester");
        andererSpeichert(anderer, labor, false);
        if (markenlos) {
            EXPECT_EQ(befehl(tester, QStringLiteral("MARKENLOS")), antwort("OK 0"));
        } else {
            // A copy kept from before the mark existed: only the project's
            // line.
            QFile herkunft(PROJEKTABDRUCK::HERKUNFTSDATEI(labor.ARBEITSKOPIE()));
            ASSERT_TRUE(herkunft.open(QIODevice::ReadWrite));
            const QByteArray projektzeile = herkunft.readLine();
            herkunft.resize(0);
            herkunft.write(projektzeile);
            herkunft.close();
        }
        EXPECT_EQ(befehl(tester, QStringLiteral("SCHREIBEN 3 3")), antwort("GESCHRIEBEN 1"));
        EXPECT_EQ(befehl(tester, QStringLiteral("SPEICHERN")), antwort("OK 0"));
        EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.PROJEKTDATENBANK()), antwort("ALT,W3,W2"));
        EXPECT_EQ(befehl(tester, QStringLiteral("ENDE")), antwort("OK 0"));
        ASSERT_TRUE(tester.waitForFinished());

        EXPECT_EQ(befehl(anderer, QStringLiteral("ENDE")), antwort("OK 0"));
        ASSERT_TRUE(anderer.waitForFinished());
        EXPECT_FALSE(QFileInfo::exists(andererKopie));
    }
}

// The Save of a run whose copy was deleted, or replaced by a copy of itself,
// under it writes nothing over the project and keeps what the run stored in
// a file of its own, before anything reads the copy's file.
TEST(Projektschutz, TheSaveOfARunWhoseCopyWentKeepsItsWorkAndLeavesTheProject) {
    for (const bool geloescht : {true, false}) {
        SCOPED_TRACE(geloescht);
        SHELLLABOR labor;
        SHELLLABOR::DATENSATZ(labor.PROJEKTDATENBANK(), 1, QStringLiteral("ALT"));
        QProcess tester;
        starten(tester, labor, "tester");
        EXPECT_EQ(befehl(tester, QStringLiteral("SCHREIBEN 2 2")), antwort("GESCHRIEBEN 1"));
        const QString sync = labor.ARBEITSKOPIE() + QStringLiteral(".sync");
        ASSERT_TRUE(QFile::copy(labor.ARBEITSKOPIE(), sync));
        ASSERT_TRUE(QFile::remove(labor.ARBEITSKOPIE()));
        if (!geloescht) {
            ASSERT_TRUE(QFile::rename(sync, labor.ARBEITSKOPIE()));
        }
        EXPECT_EQ(befehl(tester, QString::fromUtf8("ANTWORT ok ersetzt oder gelöscht")),
                  antwort("OK 0"));
        EXPECT_EQ(befehl(tester, QStringLiteral("SPEICHERN")), antwort("OK 1"));
        EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.PROJEKTDATENBANK()), antwort("ALT"));
        EXPECT_EQ(SHELLLABOR::KENNUNGEN(QFileInfo(labor.ARBEITSKOPIE()).path() +
                                        QStringLiteral("/VELD_ersetzt.mdb")),
                  antwort("ALT,W2"));
        EXPECT_EQ(befehl(tester, QStringLiteral("ENDE")), antwort("OK 1"));
        ASSERT_TRUE(tester.waitForFinished());
    }
}

// Another user saves while this run's question waits: the answer holds for
// the record it named, and what that Save brought is joined before anything
// is written.
TEST_F(HAUPTFENSTERTEST, ASaveThatLandsWhileTheQuestionWaitsIsJoinedBeforeAnythingIsWritten) {
    QProcess anderer, dritter;
    f.mnuSPEICHERN_Click();
    starten(anderer, labor, "anderer");
    EXPECT_EQ(befehl(anderer, QStringLiteral("KOMMENTIEREN 1 fremd")), antwort("OK 0"));
    EXPECT_EQ(befehl(anderer, QStringLiteral("SPEICHERN")), antwort("OK 0"));
    EXPECT_EQ(befehl(anderer, QStringLiteral("ENDE")), antwort("OK 0"));
    ASSERT_TRUE(anderer.waitForFinished());
    f.DBPROJEKT()->Execute(QStringLiteral("UPDATE [E1] SET [KOM]='mein' WHERE [ID]=1"));
    boxen.expect(vbYes, QString::fromUtf8("hier und dort geändert: P-1."));
    boxen.waehrend = [&] {
        starten(dritter, labor, "anderer");
        EXPECT_EQ(befehl(dritter, QStringLiteral("SCHREIBEN 9 9")), antwort("GESCHRIEBEN 1"));
        EXPECT_EQ(befehl(dritter, QStringLiteral("SPEICHERN")), antwort("OK 0"));
        EXPECT_EQ(befehl(dritter, QStringLiteral("ENDE")), antwort("OK 0"));
    };
    f.mnuSPEICHERN_Click();
    EXPECT_EQ(boxen.boxes().size(), 1);
    EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.PROJEKTDATENBANK()), antwort("P-1,W9"));
    EXPECT_EQ(SHELLLABOR::KOMMENTAR(labor.PROJEKTDATENBANK(), 1), antwort("mein"));
    ASSERT_TRUE(dritter.waitForFinished());
}

// Calculate and the first drawing of the page write rows of a test that the
// project holds (its results, its layout): the user's own change, which the
// Save after another user's Save of another test keeps without a question.
TEST_F(HAUPTFENSTERTEST, CalculateAndTheFirstDrawingAreThisUsersOwnAfterAnothersSave) {
    f.mnuSPEICHERN_Click();
    f.DBPROJEKT()->Execute(QStringLiteral("DELETE FROM [G0]; UPDATE [A1] SET [BONEU]=1"));
    f.mnuSPEICHERN_Click();
    ASSERT_NE(berechnen(), nullptr);
    QProcess anderer;
    starten(anderer, labor, "anderer");
    EXPECT_EQ(befehl(anderer, QStringLiteral("SCHREIBEN 9 9")), antwort("GESCHRIEBEN 1"));
    EXPECT_EQ(befehl(anderer, QStringLiteral("SPEICHERN")), antwort("OK 0"));
    EXPECT_EQ(befehl(anderer, QStringLiteral("ENDE")), antwort("OK 0"));
    ASSERT_TRUE(anderer.waitForFinished());
    const QVariant layout = wert(QStringLiteral("SELECT count(*) FROM [G0] WHERE [ID]=1"));
    f.mnuSPEICHERN_Click();
    EXPECT_TRUE(boxen.boxes().isEmpty());
    EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.PROJEKTDATENBANK()), antwort("P-1,W9"));
    Connection projekt(labor.PROJEKTDATENBANK());
    Recordset rs(QStringLiteral("SELECT count(*) FROM [G0] WHERE [ID]=1"), projekt);
    EXPECT_EQ(rs.Fields(0).Value(), layout);
}

// A run killed at either step of a joined Save, where the copy and the new
// project cannot change together: the next start and Save know what this
// user changed. Only what the other changed since comes in, unasked, and
// this user's change stays.
TEST(Projektschutz, ARunKilledInsideAJoinedSaveLeavesTheCopyWithItsBase) {
    for (const char* stelle : {"VORGEMERKT", "ERSETZT"}) {
        SCOPED_TRACE(stelle);
        SHELLLABOR labor;
        SHELLLABOR::DATENSATZ(labor.PROJEKTDATENBANK(), 1, QStringLiteral("ALT"));
        SHELLLABOR::DATENSATZ(labor.PROJEKTDATENBANK(), 2, QStringLiteral("P2"));
        QProcess tester, anderer, tester2;
        starten(tester, labor, "tester");
        starten(anderer, labor, "anderer");
        EXPECT_EQ(befehl(tester, QStringLiteral("KOMMENTIEREN 1 mein")), antwort("OK 0"));
        EXPECT_EQ(befehl(anderer, QStringLiteral("KOMMENTIEREN 2 fremd1")), antwort("OK 0"));
        EXPECT_EQ(befehl(anderer, QStringLiteral("SPEICHERN")), antwort("OK 0"));
        EXPECT_EQ(befehl(tester, QString::fromLatin1("ABSTURZ ") + QLatin1String(stelle)),
                  antwort("OK 0"));
        tester.write("SPEICHERN\n");
        ASSERT_TRUE(tester.waitForFinished());
        EXPECT_EQ(befehl(anderer, QStringLiteral("KOMMENTIEREN 2 fremd2")), antwort("OK 0"));
        EXPECT_EQ(befehl(anderer, QStringLiteral("SPEICHERN")), antwort("OK 0"));
        EXPECT_EQ(befehl(anderer, QStringLiteral("ENDE")), antwort("OK 0"));
        ASSERT_TRUE(anderer.waitForFinished());
        // Killed before the new project was in place, the change is unsaved,
        // and the start asks about it.
        const bool unsaved = QLatin1String(stelle) == QLatin1String("VORGEMERKT");
        KINDPROZESS::STARTEN(tester2, QStringLiteral("lauf"),
                             {labor.WURZEL(), "tester", unsaved ? "ja" : "keine"});
        ASSERT_EQ(KINDPROZESS::ZEILE(tester2),
                  unsaved ? antwort("BEREIT 1 1") : antwort("BEREIT 1 0"));
        const QString gespeichert = befehl(tester2, QStringLiteral("SPEICHERN"));
        EXPECT_EQ(gespeichert, unsaved ? antwort("OK 1") : antwort("OK 0"))
            << gespeichert.toStdString();
        const QString boxen = befehl(tester2, QStringLiteral("BOXEN"));
        EXPECT_FALSE(boxen.contains(QStringLiteral("hier und dort"))) << boxen.toStdString();
        EXPECT_FALSE(boxen.contains(QStringLiteral("nicht feststellen"))) << boxen.toStdString();
        EXPECT_EQ(boxen.isEmpty(), !unsaved) << boxen.toStdString();
        EXPECT_EQ(SHELLLABOR::KOMMENTAR(labor.PROJEKTDATENBANK(), 1), antwort("mein"));
        EXPECT_EQ(SHELLLABOR::KOMMENTAR(labor.PROJEKTDATENBANK(), 2), antwort("fremd2"));
        EXPECT_EQ(befehl(tester2, QStringLiteral("ENDE")),
                  unsaved ? antwort("OK 1") : antwort("OK 0"));
        ASSERT_TRUE(tester2.waitForFinished());
    }
}
