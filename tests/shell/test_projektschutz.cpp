// The project database shared with another user, and a working copy replaced
// under live runs, as real processes (the child "lauf" of test_laeufe.cpp).

#include "HAUPTFENSTERTEST.h"
#include "SHELLLABOR.h"
#include "arbeitskopie/PROJEKTABDRUCK.h"
#include "platform/database/Connection.h"
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
// asks, and Nein keeps both users' records; Ja overwrites. A user alone, also
// with two runs, saves, stores, saves and quits without a question but the
// quit's own.
TEST(Projektschutz, ASaveAsksBeforeItOverwritesWhatAnotherUserSavedSince) {
    SHELLLABOR labor;
    SHELLLABOR::DATENSATZ(labor.PROJEKTDATENBANK(), 1, QStringLiteral("ALT"));
    const QString andererKopie =
        QFileInfo(labor.ARBEITSKOPIE()).path() + QStringLiteral("/../ANDERER/VELD.mdb");
    QProcess tester, anderer, tester2;
    starten(tester, labor, "tester");
    andererSpeichert(anderer, labor);
    ASSERT_EQ(SHELLLABOR::KENNUNGEN(labor.PROJEKTDATENBANK()), antwort("ALT,W2"));

    EXPECT_EQ(befehl(tester, QStringLiteral("SCHREIBEN 3 3")), antwort("GESCHRIEBEN 1"));
    EXPECT_EQ(befehl(tester, QStringLiteral("ANTWORT nein ") + kFremd), antwort("OK 0"));
    EXPECT_EQ(befehl(tester, QStringLiteral("SPEICHERN")), antwort("OK 1"));
    EXPECT_EQ(befehl(tester, QStringLiteral("BOXEN")),
              QString::fromUtf8("Das Projekt TE0001.00 (") + labor.PROJEKTDATENBANK() +
                  QString::fromUtf8(
                      ") wurde seit dem Anlegen der Arbeitskopie von einem anderen Benutzer oder "
                      "Programm geändert. Wird jetzt gespeichert, gehen im Projekt diese "
                      "Datensätze verloren, die die Arbeitskopie nicht oder anders enthält: W2. "
                      "/ Um beides zu behalten, wählen Sie Nein und dann Datei, Export-Import: "
                      "entweder die Datensätze des Projekts in die Arbeitskopie importieren und "
                      "danach speichern, oder die eigenen Datensätze in das Projekt exportieren "
                      "und danach ohne Speichern beenden (Nein auf die Frage nach dem "
                      "Speichern). / Soll das Projekt trotzdem überschrieben werden?"));
    EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.PROJEKTDATENBANK()), antwort("ALT,W2"));
    EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.ARBEITSKOPIE()), antwort("ALT,W3"));
    // Nein leaves the quit open with the copy as it is.
    EXPECT_EQ(befehl(tester, QStringLiteral("ANTWORT ja Sollen die Änderungen")), antwort("OK 1"));
    EXPECT_EQ(befehl(tester, QStringLiteral("ANTWORT nein ") + kFremd), antwort("OK 1"));
    EXPECT_EQ(befehl(tester, QStringLiteral("BEENDEN")), antwort("OK 3"));
    EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.ARBEITSKOPIE()), antwort("ALT,W3"));

    // Ja overwrites; from then on the user is alone again.
    EXPECT_EQ(befehl(tester, QStringLiteral("ANTWORT ja ") + kFremd), antwort("OK 3"));
    EXPECT_EQ(befehl(tester, QStringLiteral("SPEICHERN")), antwort("OK 4"));
    starten(tester2, labor, "tester");
    EXPECT_EQ(befehl(tester2, QStringLiteral("SCHREIBEN 4 4")), antwort("GESCHRIEBEN 1"));
    EXPECT_EQ(befehl(tester2, QStringLiteral("SPEICHERN")), antwort("OK 0"));
    EXPECT_EQ(befehl(tester2, QStringLiteral("ENDE")), antwort("OK 0"));
    EXPECT_EQ(befehl(tester, QStringLiteral("SCHREIBEN 5 5")), antwort("GESCHRIEBEN 1"));
    EXPECT_EQ(befehl(tester, QStringLiteral("SPEICHERN")), antwort("OK 4"));
    EXPECT_EQ(befehl(tester, QStringLiteral("SCHREIBEN 6 6")), antwort("GESCHRIEBEN 1"));
    EXPECT_EQ(befehl(tester, QStringLiteral("ENDE ja")), antwort("OK 5"));
    ASSERT_TRUE(tester.waitForFinished());
    EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.PROJEKTDATENBANK()), antwort("ALT,W3,W4,W5,W6"));
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
        for (const QString& datei : behalten)
            EXPECT_EQ(SHELLLABOR::KENNUNGEN(ordner + QLatin1Char('/') + datei),
                      antwort("ALT,W10,W20"));
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

// Where the copy's mark is gone the question says that it cannot tell, and
// it names what its Ja removes. The other user's run, whose copy then holds
// a record the project lost, does not delete that copy at its quit unasked.
TEST(Projektschutz, TheQuestionNamesWhatJaRemovesAndTheLastCopyOfItStays) {
    SHELLLABOR labor;
    SHELLLABOR::DATENSATZ(labor.PROJEKTDATENBANK(), 1, QStringLiteral("ALT"));
    const QString andererKopie = QDir::cleanPath(QFileInfo(labor.ARBEITSKOPIE()).path() +
                                                 QStringLiteral("/../ANDERER/VELD.mdb"));
    QProcess tester, anderer;
    starten(tester, labor, "tester");
    andererSpeichert(anderer, labor, false);
    // A copy kept from before the mark existed: only the project's line,
    // and a run that starts on it knows no more.
    QFile herkunft(PROJEKTABDRUCK::HERKUNFTSDATEI(labor.ARBEITSKOPIE()));
    ASSERT_TRUE(herkunft.open(QIODevice::ReadWrite));
    const QByteArray projektzeile = herkunft.readLine();
    herkunft.resize(0);
    herkunft.write(projektzeile);
    herkunft.close();
    QProcess tester2;
    starten(tester2, labor, "tester");
    EXPECT_EQ(befehl(tester2, QStringLiteral("SCHREIBEN 3 3")), antwort("GESCHRIEBEN 1"));
    EXPECT_EQ(befehl(tester2, QStringLiteral("ANTWORT ja Soll das Projekt trotzdem")),
              antwort("OK 0"));
    EXPECT_EQ(befehl(tester2, QStringLiteral("SPEICHERN")), antwort("OK 1"));
    const QString box = befehl(tester2, QStringLiteral("BOXEN"));
    EXPECT_TRUE(box.startsWith(QStringLiteral("Ob das Projekt TE0001.00 (") +
                               labor.PROJEKTDATENBANK() +
                               QString::fromUtf8(") seit dem Anlegen der Arbeitskopie von "
                                                 "einem anderen Benutzer oder Programm geändert "
                                                 "wurde, lässt sich nicht feststellen")))
        << box.toStdString();
    EXPECT_TRUE(box.contains(QString::fromUtf8("die Arbeitskopie nicht oder anders enthält: W2.")))
        << box.toStdString();
    EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.PROJEKTDATENBANK()), antwort("ALT,W3"));
    EXPECT_EQ(befehl(tester2, QStringLiteral("ENDE")), antwort("OK 1"));
    EXPECT_EQ(befehl(tester, QStringLiteral("ENDE")), antwort("OK 0"));
    ASSERT_TRUE(tester2.waitForFinished() && tester.waitForFinished());

    EXPECT_EQ(befehl(anderer, QStringLiteral("ANTWORT nein Die Arbeitskopie enthält Datensätze, "
                                             "die das Projekt TE0001.00 nicht oder anders "
                                             "enthält: W2.")),
              antwort("OK 0"));
    EXPECT_EQ(befehl(anderer, QStringLiteral("ENDE")), antwort("OK 1"));
    ASSERT_TRUE(anderer.waitForFinished());
    EXPECT_EQ(SHELLLABOR::KENNUNGEN(andererKopie), antwort("ALT,W2"));
}

// A project whose mark cannot be read is asked about once; after the
// user's Ja it is overwritten, not compared and asked about again.
TEST(Projektschutz, AProjectWhoseMarkCannotBeReadIsAskedAboutOnce) {
    SHELLLABOR labor;
    SHELLLABOR::DATENSATZ(labor.PROJEKTDATENBANK(), 1, QStringLiteral("ALT"));
    QProcess tester, anderer;
    starten(tester, labor, "tester");
    andererSpeichert(anderer, labor);
    EXPECT_EQ(befehl(tester, QStringLiteral("MARKENLOS")), antwort("OK 0"));
    EXPECT_EQ(befehl(tester, QStringLiteral("SCHREIBEN 3 3")), antwort("GESCHRIEBEN 1"));
    EXPECT_EQ(befehl(tester, QStringLiteral("ANTWORT ja Soll das Projekt trotzdem")),
              antwort("OK 0"));
    EXPECT_EQ(befehl(tester, QStringLiteral("SPEICHERN")), antwort("OK 1"));
    EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.PROJEKTDATENBANK()), antwort("ALT,W3"));
    EXPECT_EQ(befehl(tester, QStringLiteral("ENDE")), antwort("OK 1"));
    ASSERT_TRUE(tester.waitForFinished());
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

// Another run of the same user saves while this run's question waits: this
// run's Ja then finds the project as its own copy holds it and saves without
// a second question.
TEST_F(HAUPTFENSTERTEST, ASaveOfAnotherRunOfTheUserWhileTheQuestionWaitsAsksNoMore) {
    QProcess anderer, zweiter;
    andererSpeichert(anderer, labor);
    f.DBPROJEKT()->Execute(
        QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (3,'W3',false)"));
    starten(zweiter, labor, "tester");
    boxen.expect(vbYes, QStringLiteral("Soll das Projekt trotzdem"));
    boxen.waehrend = [&] {
        EXPECT_EQ(befehl(zweiter, QStringLiteral("ANTWORT ja Soll das Projekt trotzdem")),
                  antwort("OK 0"));
        EXPECT_EQ(befehl(zweiter, QStringLiteral("SPEICHERN")), antwort("OK 1"));
    };
    f.mnuSPEICHERN_Click();
    EXPECT_EQ(boxen.boxes().size(), 1);
    EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.PROJEKTDATENBANK()), antwort("P-1,W3"));
    EXPECT_EQ(befehl(zweiter, QStringLiteral("ENDE")), antwort("OK 1"));
    ASSERT_TRUE(zweiter.waitForFinished());
}
