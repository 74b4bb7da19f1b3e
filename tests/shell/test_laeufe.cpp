// Runs as real processes: a run killed (SIGKILL) in the middle of Save, and
// two runs of one user on one working copy. The children are this test
// executable started again (support/KINDPROZESS.h); each runs the main
// window on the laboratory of the test.

#include "SHELLLABOR.h"
#include "support/KINDPROZESS.h"
#include "support/ScriptedDialogs.h"
#include "support/TESTSCHALTER.h"

#include "input/mdiEINGABE.h"
#include "platform/database/Connection.h"
#include "platform/database/Recordset.h"
#include "platform/runtime/FileLock.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/Variant.h"
#include "shell/EINGABEFENSTER.h"
#include "shell/frmMAINFENSTER.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>
#include <iostream>
#include <sqlite3.h>
#include <string>

namespace {

QString antwort(const char* text) {
    return QString::fromLatin1(text);
}

void melden(const QString& zeile) {
    std::cout << zeile.toStdString() << std::endl;
}

ScriptedDialogs* g_boxen = nullptr;

// Where a start waits for another start's decision and where it has taken
// its locks: says so, and at the latter waits for "WEITER [nein]" (the answer
// to the start-up question, if it is to come).
void halt(const char* stelle) {
    melden(QString::fromLatin1(stelle));
    if (std::string(stelle) != "HALT") return;
    std::string zeile;
    std::getline(std::cin, zeile);
    if (zeile == "WEITER nein") g_boxen->expect(vbNo);
}

// Tells once that the run waits for another writer of the copy, then waits.
int wartend(void*, int versuch) {
    static bool gemeldet = false;
    if (!std::exchange(gemeldet, true)) melden(QStringLiteral("WARTET"));
    return sqlite3_sleep(1), versuch < 60000;
}

// A run of the program: start-up (answering the start-up question, or the one
// box it shows, with the given answer, if it comes; "halt" pauses it as halt()
// says), then commands from the standard input, one a line: "DATENSATZ <id>
// <ken>" adds a record to the working copy, "AENDERN <id> <ken>" adds one and
// marks the change as a command does, "NEU <ken> <ms>" fills a new input
// window and presses Ctrl+S in it (a wait for another writer is told),
// "SPEICHERN" saves, "LOESCHEN <id>" deletes a record, "MARKENLOS" makes
// the project's marks unreadable,
// "ENDE [ja|nein]" quits (with the answer to the save
// question), "BEENDEN" quits unless the quit stays open, "ANTWORT" answers
// the next box, "BOXEN" tells the boxes shown so far. Each is answered with a
// line.
int lauf(const QStringList& a) {
    SHELLLABOR labor(SHELLLABOR::VORHANDEN{a.at(0), a.at(1)});
    ScriptedDialogs boxen;
    if (a.at(2) == QLatin1String("nein")) boxen.expect(vbNo);
    if (a.at(2) == QLatin1String("ja")) boxen.expect(vbYes);
    if (a.at(2) == QLatin1String("ok")) boxen.expect(vbOK);
    if (a.at(2) == QLatin1String("ohnesperre")) {
        // On a file system that keeps no byte locks; its box is answered OK.
        FileLock::RefuseByteLocks(EINVAL);
        boxen.expect(vbOK);
    }
    if (a.at(2) == QLatin1String("halt")) {
        g_boxen = &boxen;
        static const STARTHALT haltepunkt(halt);
    }
    frmMAINFENSTER f;
    const bool geladen = f.MDIForm_Load();
    melden(QStringLiteral("BEREIT %1 %2").arg(geladen).arg(boxen.boxes().size()));
    // Record W<id>, stored by itself through the run's own connection, as
    // the commands store: 1 when it was stored, 0 when it was refused.
    const auto speichern = [&f](int id) {
        try {
            f.DBPROJEKT()->Execute(
                QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (?,?,false)"),
                {id, QStringLiteral("W%1").arg(id)});
            return 1;
        } catch (const RuntimeError&) {
            return 0;
        }
    };
    std::string zeile;
    while (std::getline(std::cin, zeile)) {
        const QStringList teile = QString::fromStdString(zeile).split(QLatin1Char(' '));
        if (teile.at(0) == QLatin1String("DATENSATZ") || teile.at(0) == QLatin1String("AENDERN")) {
            SHELLLABOR::KOPIEDATENSATZ(f.XMDBPFAD(), teile.at(1).toInt(), teile.at(2));
            if (teile.at(0) == QLatin1String("AENDERN")) f.SETZEBOGEAENDERT(true);
        } else if (teile.at(0) == QLatin1String("NEU")) {
            f.mnuNEU_Click();
            EINGABEFENSTER::GELADEN()->txtKEN->setText(teile.at(1));
            EINGABEFENSTER::GELADEN()->txtMS->setText(teile.at(2));
            sqlite3_busy_handler(f.DBPROJEKT()->Handle(), wartend, nullptr);
            QTest::keyClick(EINGABEFENSTER::GELADEN()->txtKEN, Qt::Key_S, Qt::ControlModifier);
        } else if (teile.at(0) == QLatin1String("SPEICHERN")) {
            f.mnuSPEICHERN_Click();
        } else if (teile.at(0) == QLatin1String("KOMMENTIEREN")) {
            // "KOMMENTIEREN <id> <text>": the record's comment changed.
            f.DBPROJEKT()->Execute(QStringLiteral("UPDATE [E1] SET [KOM]=? WHERE [ID]=?"),
                                   {teile.at(2), teile.at(1).toInt()});
        } else if (teile.at(0) == QLatin1String("LOESCHEN")) {
            // "LOESCHEN <id>": the record deleted.
            f.DBPROJEKT()->Execute(QStringLiteral("DELETE FROM [E1] WHERE [ID]=?"),
                                   {teile.at(1).toInt()});
        } else if (teile.at(0) == QLatin1String("ABSTURZ")) {
            // "ABSTURZ <stelle>": the run dies at that point of its next Save.
            ABSTURZBEI(teile.at(1).toLatin1().constData());
        } else if (teile.at(0) == QLatin1String("MARKENLOS")) {
            // The project's marks cannot be read from now on.
            MARKENUNLESBAR(true);
        } else if (teile.at(0) == QLatin1String("SCHREIBEN")) {
            // "SCHREIBEN <von> <bis>": records W<von>..W<bis>.
            int geschrieben = 0;
            for (int id = teile.at(1).toInt(); id <= teile.at(2).toInt(); ++id)
                geschrieben += speichern(id);
            melden(QStringLiteral("GESCHRIEBEN %1").arg(geschrieben));
            continue;
        } else if (teile.at(0) == QLatin1String("FORTSCHREIBEN")) {
            // "FORTSCHREIBEN <von> <datei>": records W<von>, W<von+1>, ...
            // stored as SCHREIBEN stores them, one after the other, until
            // the file exists; "LAEUFT" after the first, then "GESCHRIEBEN
            // <stored> VON <tried>". The other side decides how long this
            // run stores, not the speed of the machine.
            const QString haltdatei = teile.at(2);
            // Should the test itself die, the run does not store for ever.
            const QDeadlineTimer notbremse(std::chrono::minutes(5));
            int versucht = 0, geschrieben = 0;
            for (int id = teile.at(1).toInt();
                 !QFileInfo::exists(haltdatei) && !notbremse.hasExpired(); ++id) {
                ++versucht;
                geschrieben += speichern(id);
                if (versucht == 1) melden(QStringLiteral("LAEUFT"));
                // A moment between two stores, as between two commands of a
                // user: back to back they leave a writer of another run
                // hardly a gap to take its turn, and its wait (seconds, or
                // up to its time-out) would be a matter of luck.
                QThread::msleep(2);
            }
            melden(QStringLiteral("GESCHRIEBEN %1 VON %2").arg(geschrieben).arg(versucht));
            continue;
        } else if (teile.at(0) == QLatin1String("KOMPRIMIEREN")) {
            // Says the style of its box: the compaction's information (64), or
            // an error's.
            boxen.expect(vbOK);
            f.mnuKOMPRIMIEREN_Click();
            melden(QStringLiteral("KOMPRIMIERT %1").arg(boxen.boxes().last().style));
            continue;
        } else if (teile.at(0) == QLatin1String("BEENDEN")) {
            // A quit that may stay open (its answers queued by ANTWORT).
            f.mnuBEENDEN_Click();
            if (f.ENTLADEN()) return 0;
        } else if (teile.at(0) == QLatin1String("ANTWORT")) {
            // "ANTWORT ja|nein|ok <text>": the next box, whose prompt holds
            // the text, is answered so.
            const QString a = teile.at(1);
            boxen.expect(a == QLatin1String("ja")          ? vbYes
                         : a == QLatin1String("nein")      ? vbNo
                         : a == QLatin1String("abbrechen") ? vbCancel
                                                           : vbOK,
                         teile.mid(2).join(QLatin1Char(' ')));
        } else if (teile.at(0) == QLatin1String("BOXEN")) {
            melden(boxen.prompts()
                       .join(QStringLiteral(" | "))
                       .replace(QStringLiteral("\r\n"), QStringLiteral(" / ")));
            continue;
        } else if (teile.at(0) == QLatin1String("ENDE")) {
            if (teile.size() > 1)
                boxen.expect(teile.at(1) == QLatin1String("ja") ? vbYes : vbNo,
                             QString::fromUtf8("Sollen die Änderungen in Projekt TE0001.00"));
            f.mnuBEENDEN_Click();
            melden(QStringLiteral("OK %1").arg(boxen.boxes().size()));
            return 0;
        }
        melden(QStringLiteral("OK %1").arg(boxen.boxes().size()));
    }
    return 0;
}

// A run that adds a record and saves, again and again, until it is killed;
// after each Save it reports the records saved.
int speichern(const QStringList& a) {
    SHELLLABOR labor(SHELLLABOR::VORHANDEN{a.at(0), a.at(1)});
    ScriptedDialogs boxen;
    if (QFileInfo::exists(labor.ARBEITSKOPIE())) boxen.expect(vbNo);
    frmMAINFENSTER f;
    f.MDIForm_Load();
    for (int n = 1;; ++n) {
        SHELLLABOR::KOPIEDATENSATZ(f.XMDBPFAD(), 100 + n, QStringLiteral("S%1").arg(n));
        f.mnuSPEICHERN_Click();
        melden(QStringLiteral("GESPEICHERT %1").arg(n));
    }
}

const KINDPROZESS kLauf("lauf", lauf);
const KINDPROZESS kSpeichern("speichern", speichern);

// A database of some megabytes, so that a Save takes a while.
void ballast(const QString& datenbank) {
    Connection verbindung(datenbank);
    verbindung.Execute(QStringLiteral("CREATE TABLE BALLAST (X BLOB)"));
    verbindung.Execute(
        QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<300) "
                       "INSERT INTO BALLAST SELECT randomblob(10000) FROM n"));
}

QString pruefung(const QString& datenbank) {
    Connection verbindung(datenbank);
    Recordset rs(QStringLiteral("PRAGMA integrity_check"), verbindung);
    return CStr(rs.Fields(0).Value());
}

// The marks of runs and changes beside the working copy.
QStringList marken(SHELLLABOR& labor) {
    return QDir(QFileInfo(labor.ARBEITSKOPIE()).path() + QStringLiteral("/VELD.zustand"))
        .entryList({QStringLiteral("*.lauf"), QStringLiteral("*.geaendert")}, QDir::Files);
}

// Hidden files (temporary copies and their journals) in a folder.
QStringList versteckte(const QString& ordner) {
    return QDir(ordner).entryList(QStringList{QStringLiteral(".*")},
                                  QDir::Files | QDir::Hidden | QDir::System);
}

// Kills the child as soon as a Save writes beside the project database
// (any file there but the database itself), after `warten` milliseconds
// more. False when the child ended or wrote nothing there in a minute
// (a safety net: its start and first Save take a moment).
bool imSpeichernToeten(QProcess& kind, const QString& ordner, int warten) {
    QElapsedTimer uhr;
    uhr.start();
    while (QDir(ordner).entryList(QDir::Files | QDir::Hidden | QDir::System) ==
           QStringList{QStringLiteral("VELD.mdb")}) {
        if (uhr.elapsed() > 60000 || kind.state() == QProcess::NotRunning) return false;
        QThread::usleep(200);
    }
    if (warten > 0) QThread::msleep(warten);
    ::kill(pid_t(kind.processId()), SIGKILL);
    kind.waitForFinished();
    return true;
}

// The records saved before the kill: the last Save reported whole.
int gespeichert(QProcess& kind) {
    int n = 0;
    for (const QByteArray& zeile : kind.readAllStandardOutput().split('\n'))
        if (zeile.startsWith("GESPEICHERT ")) n = zeile.mid(12).toInt();
    return n;
}

QString kennungenBis(int n) {
    QStringList k{QStringLiteral("ALT")};
    for (int i = 1; i <= n; ++i)
        k << QStringLiteral("S%1").arg(i);
    return k.join(QLatin1Char(','));
}

// Waits until the run that stores records W... into `kopie` has stored more
// than `bisher` of them, and counts them into it; false when none came in a
// minute (a safety net: a store takes a moment).
bool weitergeschrieben(const QString& kopie, int& bisher) {
    const QDeadlineTimer frist(60000);
    for (;;) {
        Connection verbindung(kopie);
        Recordset rs(QStringLiteral("SELECT COUNT(*) FROM [E1] WHERE [KEN] LIKE 'W%'"), verbindung);
        const int jetzt = CLng(rs.Fields(0).Value());
        if (jetzt > bisher) {
            bisher = jetzt;
            return true;
        }
        if (frist.hasExpired()) return false;
        QThread::msleep(5);
    }
}

// As soon as the waiting window shows, unless `wache` is gone by then: its
// text (empty when none shows), and then `tun` with it. Asked again and
// again rather than once after a fixed time, so that neither a slow machine
// (the window not yet there) nor a fast one (time lost) decides.
void imWarten(QObject& wache, QString& text, std::function<void(QWidget&)> tun) {
    auto* frage = new QTimer(&wache);
    frage->setInterval(10);
    QObject::connect(frage, &QTimer::timeout, &wache, [frage, &text, tun] {
        for (QWidget* fenster : QApplication::topLevelWidgets())
            if (fenster->objectName() == QLatin1String("frmWARTEN") && fenster->isVisible()) {
                frage->stop();
                frage->deleteLater();
                text = fenster->findChild<QLabel*>()->text();
                tun(*fenster);
                return;
            }
    });
    frage->start();
}

void abbrechen(QWidget& fenster) {
    fenster.findChild<QPushButton*>()->click();
}

// A run that starts beside no other, carries out one command and is killed.
void abgestuerzt(const SHELLLABOR& labor, const QString& befehl) {
    QProcess a;
    KINDPROZESS::STARTEN(a, QStringLiteral("lauf"), {labor.WURZEL(), "tester", "keine"});
    ASSERT_EQ(KINDPROZESS::ZEILE(a), antwort("BEREIT 1 0"));
    EXPECT_EQ(KINDPROZESS::BEFEHL(a, befehl), antwort("OK 0"));
    ::kill(pid_t(a.processId()), SIGKILL);
    a.waitForFinished();
}

} // namespace

TEST(Laeufe, AKillDuringSaveLeavesTheOldOrTheNewStateAndNoLeftovers) {
    SHELLLABOR labor;
    ballast(labor.PROJEKTDATENBANK());
    SHELLLABOR::DATENSATZ(labor.PROJEKTDATENBANK(), 1, QStringLiteral("ALT"));
    const QString projektordner = QFileInfo(labor.PROJEKTDATENBANK()).path();
    const QString benutzer = QFileInfo(labor.ARBEITSKOPIE()).path() + QStringLiteral("/..");
    for (const int warten : {0, 3, 10}) {
        SCOPED_TRACE(warten);
        const QString vorher = SHELLLABOR::KENNUNGEN(labor.PROJEKTDATENBANK());
        QProcess kind;
        KINDPROZESS::STARTEN(kind, QStringLiteral("speichern"), {labor.WURZEL(), "tester"});
        ASSERT_TRUE(imSpeichernToeten(kind, projektordner, warten));
        // The project database holds what was saved before or with the
        // Save that was cut off, whole.
        const int n = gespeichert(kind);
        const QString nachher = SHELLLABOR::KENNUNGEN(labor.PROJEKTDATENBANK());
        EXPECT_TRUE(nachher == kennungenBis(n) || nachher == kennungenBis(n + 1))
            << nachher.toStdString() << " after " << n;
        EXPECT_TRUE(nachher.startsWith(vorher));
        EXPECT_EQ(pruefung(labor.PROJEKTDATENBANK()), antwort("ok"));

        // The same user starts again: the question about the copy the
        // killed run left, "No" gives a fresh copy of the saved state.
        {
            ScriptedDialogs boxen;
            boxen.expect(vbNo);
            frmMAINFENSTER f;
            ASSERT_TRUE(f.MDIForm_Load());
            EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.ARBEITSKOPIE()), nachher);
            EXPECT_EQ(pruefung(labor.ARBEITSKOPIE()), antwort("ok"));
            f.mnuBEENDEN_Click();
        }
        // Another user starts on the same project.
        {
            labor.SYSTEM.SetLoginName(QStringLiteral("anderer"));
            ScriptedDialogs boxen;
            frmMAINFENSTER f;
            ASSERT_TRUE(f.MDIForm_Load());
            EXPECT_EQ(SHELLLABOR::KENNUNGEN(f.XMDBPFAD()), nachher);
            f.mnuBEENDEN_Click();
            labor.SYSTEM.SetLoginName(QStringLiteral("tester"));
        }
        // Nothing of the killed run is left beside either database.
        EXPECT_EQ(versteckte(projektordner), QStringList());
        EXPECT_EQ(versteckte(benutzer + QStringLiteral("/TESTER")), QStringList());
        EXPECT_EQ(versteckte(benutzer + QStringLiteral("/ANDERER")), QStringList());
    }
}

// A run killed between the steps of a store, another run of the user live:
// the other run's quit, now the last, and the next start ask exactly when
// the copy holds the store, and name it. A run that quits while another
// stores agrees with it on what is unsaved.
TEST(Laeufe, ARunKilledInAStoreLeavesTheQuitAndTheStartAskingWhatTheCopyHolds) {
    for (const bool gelandet : {false, true}) {
        const QString stelle = gelandet ? QStringLiteral("GEAENDERT") : QStringLiteral("VERMERKT");
        SCOPED_TRACE(stelle.toStdString());
        SHELLLABOR labor;
        SHELLLABOR::DATENSATZ(labor.PROJEKTDATENBANK(), 1, QStringLiteral("ALT"));
        QProcess a, b, c, d;
        for (QProcess* lauf : {&a, &b, &d}) {
            KINDPROZESS::STARTEN(*lauf, QStringLiteral("lauf"),
                                 {labor.WURZEL(), "tester", "keine"});
            ASSERT_EQ(KINDPROZESS::ZEILE(*lauf), antwort("BEREIT 1 0"));
        }
        // D stores while B and A live, then quits: not the last, it asks.
        EXPECT_EQ(KINDPROZESS::BEFEHL(d, QStringLiteral("NEU D1 4")), antwort("OK 0"));
        EXPECT_EQ(KINDPROZESS::BEFEHL(b, QStringLiteral("NEU B1 3")), antwort("OK 0"));
        EXPECT_EQ(KINDPROZESS::BEFEHL(d, QStringLiteral("ENDE nein")), antwort("OK 1"));
        ASSERT_TRUE(d.waitForFinished());
        EXPECT_EQ(KINDPROZESS::BEFEHL(b, QStringLiteral("SPEICHERN")), antwort("OK 0"));
        EXPECT_EQ(KINDPROZESS::BEFEHL(a, QStringLiteral("ABSTURZ ") + stelle), antwort("OK 0"));
        a.write("NEU X1 5\n");
        ASSERT_TRUE(a.waitForFinished());
        EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.ARBEITSKOPIE()),
                  gelandet ? antwort("ALT,D1,B1,X1") : antwort("ALT,D1,B1"));
        EXPECT_EQ(KINDPROZESS::BEFEHL(b, QStringLiteral("ANTWORT abbrechen Sollen")),
                  antwort("OK 0"));
        b.write("BEENDEN\n");
        if (!gelandet) {
            ASSERT_TRUE(b.waitForFinished());
            EXPECT_FALSE(QFileInfo::exists(labor.ARBEITSKOPIE()));
            continue;
        }
        EXPECT_EQ(KINDPROZESS::ZEILE(b), antwort("OK 1"));
        const QString frage = QString::fromUtf8("die nur die Arbeitskopie so enthält: X1.");
        EXPECT_TRUE(KINDPROZESS::BEFEHL(b, QStringLiteral("BOXEN")).endsWith(frage));
        b.kill();
        ASSERT_TRUE(b.waitForFinished());
        KINDPROZESS::STARTEN(c, QStringLiteral("lauf"), {labor.WURZEL(), "tester", "nein"});
        ASSERT_EQ(KINDPROZESS::ZEILE(c), antwort("BEREIT 1 1"));
        EXPECT_TRUE(KINDPROZESS::BEFEHL(c, QStringLiteral("BOXEN")).endsWith(frage));
        EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.ARBEITSKOPIE()), antwort("ALT,D1,B1"));
        EXPECT_EQ(KINDPROZESS::BEFEHL(c, QStringLiteral("ENDE")), antwort("OK 1"));
        ASSERT_TRUE(c.waitForFinished());
    }
}

TEST(Laeufe, TwoRunsOfOneUserShareTheCopyAndTheLastOneDeletesIt) {
    SHELLLABOR labor;
    SHELLLABOR::DATENSATZ(labor.PROJEKTDATENBANK(), 1, QStringLiteral("ALT"));
    QProcess a, b;
    KINDPROZESS::STARTEN(a, QStringLiteral("lauf"), {labor.WURZEL(), "tester", "keine"});
    ASSERT_EQ(KINDPROZESS::ZEILE(a), antwort("BEREIT 1 0"));
    EXPECT_EQ(KINDPROZESS::BEFEHL(a, QStringLiteral("DATENSATZ 2 VONA")), antwort("OK 0"));

    // B finds the copy at work in A: nothing was interrupted, B asks
    // nothing and works on the copy as it is.
    KINDPROZESS::STARTEN(b, QStringLiteral("lauf"), {labor.WURZEL(), "tester", "keine"});
    ASSERT_EQ(KINDPROZESS::ZEILE(b), antwort("BEREIT 1 0"));
    EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.ARBEITSKOPIE()), antwort("ALT,VONA"));

    // A quits: the copy stays for B, whose Save reaches the project.
    EXPECT_EQ(KINDPROZESS::BEFEHL(a, QStringLiteral("ENDE")), antwort("OK 0"));
    ASSERT_TRUE(a.waitForFinished());
    EXPECT_TRUE(QFileInfo::exists(labor.ARBEITSKOPIE()));
    EXPECT_TRUE(QFileInfo::exists(labor.HERKUNFT()));
    EXPECT_EQ(KINDPROZESS::BEFEHL(b, QStringLiteral("DATENSATZ 3 VONB")), antwort("OK 0"));
    EXPECT_EQ(KINDPROZESS::BEFEHL(b, QStringLiteral("SPEICHERN")), antwort("OK 0"));
    EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.PROJEKTDATENBANK()), antwort("ALT,VONA,VONB"));

    // B quits last: the copy and its marker go.
    EXPECT_EQ(KINDPROZESS::BEFEHL(b, QStringLiteral("ENDE")), antwort("OK 0"));
    ASSERT_TRUE(b.waitForFinished());
    EXPECT_FALSE(QFileInfo::exists(labor.ARBEITSKOPIE()));
    EXPECT_FALSE(QFileInfo::exists(labor.HERKUNFT()));
}

TEST(Laeufe, AKilledRunsLockDoesNotKeepTheNextStartFromReplacingTheCopy) {
    SHELLLABOR labor;
    SHELLLABOR::DATENSATZ(labor.PROJEKTDATENBANK(), 1, QStringLiteral("ALT"));
    abgestuerzt(labor, QStringLiteral("DATENSATZ 2 VONA"));

    ScriptedDialogs boxen;
    boxen.expect(vbNo);
    frmMAINFENSTER f;
    ASSERT_TRUE(f.MDIForm_Load());
    EXPECT_EQ(boxen.boxes().size(), 1);
    EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.ARBEITSKOPIE()), antwort("ALT"));
    f.mnuBEENDEN_Click();
    EXPECT_FALSE(QFileInfo::exists(labor.ARBEITSKOPIE()));
}

TEST(Laeufe, ACopyOfAnotherProjectThatARunStillUsesIsNeitherMovedNorReplaced) {
    SHELLLABOR labor;
    SHELLLABOR::DATENSATZ(labor.PROJEKTDATENBANK(), 1, QStringLiteral("NEU"));
    QProcess a;
    KINDPROZESS::STARTEN(a, QStringLiteral("lauf"), {labor.WURZEL(), "tester", "keine"});
    ASSERT_EQ(KINDPROZESS::ZEILE(a), antwort("BEREIT 1 0"));
    EXPECT_EQ(KINDPROZESS::BEFEHL(a, QStringLiteral("DATENSATZ 2 VONA")), antwort("OK 0"));
    // The copy as a run on another project of this user would have made it.
    const QString fremd = labor.PROJEKTSPFAD() + QStringLiteral("/TE0002.00/VELD.mdb");
    {
        QFile marke(labor.HERKUNFT());
        ASSERT_TRUE(marke.open(QIODevice::WriteOnly | QIODevice::Truncate));
        marke.write(fremd.toUtf8() + "\n");
        Connection(labor.ARBEITSKOPIE())
            .Execute(QStringLiteral("UPDATE [VELD_HERKUNFT] SET [PROJEKT]=?"), {fremd});
    }

    // The start-up cannot put it aside and must not take it for this
    // project's (a Save would write it over this project): it leaves it to
    // the run that has it and ends, told why.
    ScriptedDialogs boxen;
    boxen.expect(vbOK, QString::fromUtf8("Die Arbeitskopie gehört zum Projekt TE0002.00, an dem "
                                         "gerade ein anderer Lauf von VELD arbeitet."));
    frmMAINFENSTER f;
    EXPECT_FALSE(f.MDIForm_Load());
    EXPECT_EQ(boxen.boxes().size(), 1);
    EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.ARBEITSKOPIE()), antwort("NEU,VONA"));
    EXPECT_EQ(QDir(QFileInfo(labor.ARBEITSKOPIE()).path()).entryList(QDir::Files),
              QStringList({QStringLiteral("VELD.mdb"), QStringLiteral("VELD.projekt"),
                           QStringLiteral("VELD.sperre")}));
    // Its unsaved record is in the copy, though no command marked it: the
    // last run's quit asks about it.
    EXPECT_EQ(KINDPROZESS::BEFEHL(a, QStringLiteral("ENDE nein")), antwort("OK 1"));
    ASSERT_TRUE(a.waitForFinished());
}

TEST(Laeufe, WhatARunThatDiedLeftUnsavedIsOfferedByTheLastRunAtItsEnd) {
    for (const bool ja : {true, false}) {
        SCOPED_TRACE(ja);
        SHELLLABOR labor;
        SHELLLABOR::DATENSATZ(labor.PROJEKTDATENBANK(), 1, QStringLiteral("ALT"));
        QProcess b;
        KINDPROZESS::STARTEN(b, QStringLiteral("lauf"), {labor.WURZEL(), "tester", "keine"});
        ASSERT_EQ(KINDPROZESS::ZEILE(b), antwort("BEREIT 1 0"));
        // A shares B's copy, stores a record and dies before anything marks
        // the change: only its run's mark tells of it.
        abgestuerzt(labor, QStringLiteral("DATENSATZ 2 VONA"));

        // B changed nothing itself, but it is the last run: its save
        // question answers for A's record too.
        EXPECT_EQ(
            KINDPROZESS::BEFEHL(b, ja ? QStringLiteral("ENDE ja") : QStringLiteral("ENDE nein")),
            antwort("OK 1"));
        ASSERT_TRUE(b.waitForFinished());
        EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.PROJEKTDATENBANK()),
                  ja ? antwort("ALT,VONA") : antwort("ALT"));
        EXPECT_FALSE(QFileInfo::exists(labor.ARBEITSKOPIE()));
        EXPECT_TRUE(marken(labor).isEmpty());
    }
}

TEST(Laeufe, OfTwoStartsAtOnceOnALeftCopyOneAsksAndTheOtherSharesItsDecision) {
    SHELLLABOR labor;
    SHELLLABOR::DATENSATZ(labor.PROJEKTDATENBANK(), 1, QStringLiteral("ALT"));
    abgestuerzt(labor, QStringLiteral("DATENSATZ 2 VONA"));

    // X has taken its locks on the copy A left and has not decided yet when
    // Y starts.
    QProcess x, y;
    KINDPROZESS::STARTEN(x, QStringLiteral("lauf"), {labor.WURZEL(), "tester", "halt"});
    ASSERT_EQ(KINDPROZESS::ZEILE(x), antwort("HALT"));
    KINDPROZESS::STARTEN(y, QStringLiteral("lauf"), {labor.WURZEL(), "tester", "halt"});
    const QString ersteZeile = KINDPROZESS::ZEILE(y);
    EXPECT_EQ(ersteZeile, antwort("WARTET"));
    // X asks; "No" gives a fresh copy, on which X works.
    EXPECT_EQ(KINDPROZESS::BEFEHL(x, QStringLiteral("WEITER nein")), antwort("BEREIT 1 1"));
    EXPECT_EQ(KINDPROZESS::BEFEHL(x, QStringLiteral("DATENSATZ 3 VONX")), antwort("OK 1"));
    // Y goes on after X's decision, asks nothing and shares X's copy.
    if (ersteZeile == antwort("WARTET")) {
        ASSERT_EQ(KINDPROZESS::ZEILE(y), antwort("HALT"));
    }
    EXPECT_EQ(KINDPROZESS::BEFEHL(y, QStringLiteral("WEITER")), antwort("BEREIT 1 0"));
    EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.ARBEITSKOPIE()), antwort("ALT,VONX"));

    EXPECT_EQ(KINDPROZESS::BEFEHL(x, QStringLiteral("ENDE")), antwort("OK 1"));
    EXPECT_EQ(KINDPROZESS::BEFEHL(y, QStringLiteral("ENDE nein")), antwort("OK 1"));
    ASSERT_TRUE(x.waitForFinished());
    ASSERT_TRUE(y.waitForFinished());
    EXPECT_FALSE(QFileInfo::exists(labor.ARBEITSKOPIE()));
}

// B compacts the copy while A stores into it, A the first run or the second:
// no store of A is lost, and every database stays sound.
TEST(Laeufe, ACompactionBesideAStoringRunLosesNothingAndDamagesNothing) {
    for (const bool aZuerst : {true, false}) {
        SCOPED_TRACE(aZuerst);
        SHELLLABOR labor;
        SHELLLABOR::DATENSATZ(labor.PROJEKTDATENBANK(), 1, QStringLiteral("ALT"));
        ballast(labor.PROJEKTDATENBANK());
        QProcess erster, zweiter;
        for (QProcess* lauf : {&erster, &zweiter}) {
            KINDPROZESS::STARTEN(*lauf, QStringLiteral("lauf"),
                                 {labor.WURZEL(), "tester", "keine"});
            ASSERT_EQ(KINDPROZESS::ZEILE(*lauf), antwort("BEREIT 1 0"));
        }
        QProcess& a = aZuerst ? erster : zweiter;
        QProcess& b = aZuerst ? zweiter : erster;
        // A stores on and on until it is told to stop; B compacts
        // three times, each time after A has stored more, so that every
        // compaction meets A in the middle of its stores however fast
        // either run is.
        const QString halt = labor.WURZEL() + QStringLiteral("/halt");
        a.write(QStringLiteral("FORTSCHREIBEN 100 %1\n").arg(halt).toUtf8());
        ASSERT_EQ(KINDPROZESS::ZEILE(a), antwort("LAEUFT"));
        int bisher = 0;
        for (int n = 0; n < 3; ++n) {
            ASSERT_TRUE(weitergeschrieben(labor.ARBEITSKOPIE(), bisher));
            EXPECT_EQ(KINDPROZESS::BEFEHL(b, QStringLiteral("KOMPRIMIEREN")),
                      antwort("KOMPRIMIERT 64"));
        }
        // A stores on after the last compaction; then it stops.
        ASSERT_TRUE(weitergeschrieben(labor.ARBEITSKOPIE(), bisher));
        ASSERT_TRUE(QFile(halt).open(QIODevice::WriteOnly));
        const QStringList bericht = KINDPROZESS::ZEILE(a).split(QLatin1Char(' '));
        ASSERT_EQ(bericht.size(), 4) << bericht.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(bericht.at(0), antwort("GESCHRIEBEN"));
        const int versucht = bericht.at(3).toInt();
        EXPECT_EQ(bericht.at(1).toInt(), versucht);
        EXPECT_GE(versucht, bisher);
        EXPECT_EQ(KINDPROZESS::BEFEHL(
                      a, QStringLiteral("SCHREIBEN %1 %2").arg(100 + versucht).arg(109 + versucht)),
                  antwort("GESCHRIEBEN 10"));
        EXPECT_EQ(pruefung(labor.ARBEITSKOPIE()), antwort("ok"));

        // Both quit with Yes where they are asked.
        EXPECT_EQ(KINDPROZESS::BEFEHL(a, QStringLiteral("ENDE ja")), antwort("OK 1"));
        EXPECT_EQ(KINDPROZESS::BEFEHL(b, QStringLiteral("ENDE")), antwort("OK 3"));
        ASSERT_TRUE(a.waitForFinished());
        ASSERT_TRUE(b.waitForFinished());
        QStringList erwartet{QStringLiteral("ALT")};
        for (int id = 100; id <= 109 + versucht; ++id)
            erwartet << QStringLiteral("W%1").arg(id);
        EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.PROJEKTDATENBANK()), erwartet.join(QLatin1Char(',')));
        EXPECT_EQ(pruefung(labor.PROJEKTDATENBANK()), antwort("ok"));
        EXPECT_FALSE(QFileInfo::exists(labor.ARBEITSKOPIE()));
    }
}

TEST(Laeufe, TwoRunsStoringAtTheSameMomentKeepBothRecordsEachUnderItsOwnKey) {
    SHELLLABOR labor;
    SHELLLABOR::DATENSATZ(labor.PROJEKTDATENBANK(), 1, QStringLiteral("ALT"));
    QProcess a, b;
    for (QProcess* kind : {&a, &b}) {
        KINDPROZESS::STARTEN(*kind, QStringLiteral("lauf"), {labor.WURZEL(), "tester", "keine"});
        ASSERT_EQ(KINDPROZESS::ZEILE(*kind), antwort("BEREIT 1 0"));
    }
    // Both store while a third writer holds the copy: both wait for it, and
    // when it lets go, one for the other.
    Connection kopie(labor.ARBEITSKOPIE());
    kopie.BeginTrans();
    EXPECT_EQ(KINDPROZESS::BEFEHL(a, QStringLiteral("NEU A-1 11")), antwort("WARTET"));
    EXPECT_EQ(KINDPROZESS::BEFEHL(b, QStringLiteral("NEU B-1 22")), antwort("WARTET"));
    kopie.RollbackTrans();
    EXPECT_EQ(KINDPROZESS::ZEILE(a), antwort("OK 0"));
    EXPECT_EQ(KINDPROZESS::ZEILE(b), antwort("OK 0"));
    // Each record whole, under its own key: identifier, solid mass, reading.
    Recordset rs(QStringLiteral("SELECT group_concat(x) FROM (SELECT [KEN]||[MS]||(SELECT COUNT(*) "
                                "FROM [E3] WHERE [E3].[ID]=[E1].[ID]) AS x FROM [E1] JOIN [E2] "
                                "USING ([ID]) ORDER BY [KEN])"),
                 kopie);
    EXPECT_EQ(CStr(rs.Fields(0).Value()), antwort("A-1111,B-1221"));
    for (QProcess* kind : {&a, &b})
        EXPECT_EQ(KINDPROZESS::BEFEHL(*kind, QStringLiteral("ENDE nein")), antwort("OK 1"));
    EXPECT_TRUE(a.waitForFinished() && b.waitForFinished());
}

// The state folder cannot be made (a file of its name is in the way) after a
// run stored and died: the next run is told once, uses the copy as it is,
// refuses its own store, and neither deletes nor replaces the copy.
TEST(Laeufe, WithoutAStateFolderARunWritesNothingAndLosesNothing) {
    SHELLLABOR labor;
    SHELLLABOR::DATENSATZ(labor.PROJEKTDATENBANK(), 1, QStringLiteral("ALT"));
    abgestuerzt(labor, QStringLiteral("DATENSATZ 2 VONA"));
    const QString zustand =
        QFileInfo(labor.ARBEITSKOPIE()).path() + QStringLiteral("/VELD.zustand");
    ASSERT_TRUE(QDir(zustand).removeRecursively());
    QFile imWeg(zustand);
    ASSERT_TRUE(imWeg.open(QIODevice::WriteOnly));
    imWeg.close();

    ScriptedDialogs boxen;
    boxen.expect(vbOK, QStringLiteral("Der Zustand der Arbeitskopie kann im Ordner ") + zustand);
    frmMAINFENSTER f;
    ASSERT_TRUE(f.MDIForm_Load());
    EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.ARBEITSKOPIE()), antwort("ALT,VONA"));

    boxen.expect(vbOK, QString::fromUtf8("Die Arbeitskopie wird nicht geändert: ihr Zustand kann "
                                         "im Ordner ") +
                           zustand);
    f.mnuNEU_Click();
    EINGABEFENSTER::GELADEN()->txtKEN->setText(QStringLiteral("NEU-1"));
    QTest::keyClick(EINGABEFENSTER::GELADEN()->txtKEN, Qt::Key_S, Qt::ControlModifier);
    EXPECT_NE(EINGABEFENSTER::GELADEN(), nullptr);
    EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.ARBEITSKOPIE()), antwort("ALT,VONA"));

    f.stbMAIN_PanelClick(9);
    f.mnuBEENDEN_Click();
    EXPECT_EQ(boxen.boxes().size(), 2);
    EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.ARBEITSKOPIE()), antwort("ALT,VONA"));
}

// Two live runs that stored, and the files beside the copy that carry locks
// gone or replaced under them: the copy's lock file deleted or replaced by a
// folder; the run marks deleted with it, or both replaced by copies of
// themselves (as a sync or restore tool does); or the lock file made anew and
// the state folder renamed. A third start knows the runs from the copy
// itself: it asks nothing about an interrupted run and shares the copy, or,
// when it cannot lock, says why once and writes nothing. After all quit with
// Yes, every record that a run stored is in the project database.
TEST(Laeufe, LiveRunsAreKnownWhateverHappenedToTheFilesBesideTheCopy) {
    enum Weg { Sperre, Ordner, Geloescht, Kopiert, Umbenannt };
    for (const Weg weg : {Sperre, Ordner, Geloescht, Kopiert, Umbenannt}) {
        SCOPED_TRACE(int(weg));
        SHELLLABOR labor;
        SHELLLABOR::DATENSATZ(labor.PROJEKTDATENBANK(), 1, QStringLiteral("ALT"));
        QProcess a, b, c;
        for (QProcess* lauf : {&a, &b}) {
            KINDPROZESS::STARTEN(*lauf, QStringLiteral("lauf"),
                                 {labor.WURZEL(), "tester", "keine"});
            ASSERT_EQ(KINDPROZESS::ZEILE(*lauf), antwort("BEREIT 1 0"));
        }
        EXPECT_EQ(KINDPROZESS::BEFEHL(a, QStringLiteral("SCHREIBEN 10 11")),
                  antwort("GESCHRIEBEN 2"));
        EXPECT_EQ(KINDPROZESS::BEFEHL(b, QStringLiteral("SCHREIBEN 20 21")),
                  antwort("GESCHRIEBEN 2"));
        const QString ordner = QFileInfo(labor.ARBEITSKOPIE()).path();
        const QString zustand = ordner + QStringLiteral("/VELD.zustand");
        QStringList dateien{ordner + QStringLiteral("/VELD.sperre")};
        if (weg >= Geloescht)
            for (const QString& lauf : QDir(zustand).entryList({QStringLiteral("*.lauf")}))
                dateien << zustand + QLatin1Char('/') + lauf;
        for (const QString& datei : dateien) {
            const QString kopie = datei + QStringLiteral(".kopie");
            ASSERT_TRUE(weg != Kopiert || QFile::copy(datei, kopie));
            ASSERT_TRUE(QFile::remove(datei));
            ASSERT_TRUE(weg != Kopiert || QFile::rename(kopie, datei));
        }
        ASSERT_TRUE(weg != Ordner || QDir().mkdir(dateien.first()));
        if (weg == Umbenannt) {
            QFile neu(dateien.first());
            ASSERT_TRUE(neu.open(QIODevice::WriteOnly));
            neu.close();
            ASSERT_TRUE(QDir().rename(zustand, zustand + QStringLiteral(".alt")));
        }

        KINDPROZESS::STARTEN(c, QStringLiteral("lauf"),
                             {labor.WURZEL(), "tester", weg == Ordner ? "ok" : "keine"});
        ASSERT_EQ(KINDPROZESS::ZEILE(c),
                  weg == Ordner ? antwort("BEREIT 1 1") : antwort("BEREIT 1 0"));
        if (weg == Ordner) {
            EXPECT_EQ(KINDPROZESS::BEFEHL(c, QStringLiteral("BOXEN")),
                      QStringLiteral("Der Zustand der Arbeitskopie kann im Ordner ") + ordner +
                          QString::fromUtf8(" (ein Ordner namens VELD.sperre steht im Weg) nicht "
                                            "festgehalten werden. / Dieser Lauf ändert nichts an "
                                            "der Arbeitskopie; sie bleibt, wie sie ist."));
        }
        EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.ARBEITSKOPIE()), antwort("ALT,W10,W11,W20,W21"));
        EXPECT_EQ(KINDPROZESS::BEFEHL(c, QStringLiteral("SCHREIBEN 30 30")),
                  weg == Ordner ? antwort("GESCHRIEBEN 0") : antwort("GESCHRIEBEN 1"));
        // A run whose own mark went makes it anew and goes on storing.
        EXPECT_EQ(KINDPROZESS::BEFEHL(a, QStringLiteral("SCHREIBEN 12 12")),
                  antwort("GESCHRIEBEN 1"));

        for (QProcess* lauf : {&a, &b, &c}) {
            KINDPROZESS::BEFEHL(*lauf, QStringLiteral("ENDE ja"));
            ASSERT_TRUE(lauf->waitForFinished());
        }
        EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.PROJEKTDATENBANK()),
                  QStringLiteral("ALT,W10,W11,W12,W20,W21%1").arg(weg == Ordner ? "" : ",W30"));
    }
}

// A run that made the fresh copy, and the lock files and run marks beside
// the copy gone: a later start knows that run from the copy itself, asks
// nothing about an interrupted run, and neither deletes the copy. Where the
// file system refuses the lock on the copy, each run says so once and none
// takes itself for alone with the copy (the later start asks; Yes keeps),
// and the run whose mark went makes it anew and stores on.
TEST(Laeufe, TheRunThatMadeTheCopyIsKnownFromItAndNoneIsAloneWhereItsLockIsRefused) {
    for (const bool verweigert : {false, true}) {
        SCOPED_TRACE(verweigert);
        SHELLLABOR labor;
        SHELLLABOR::DATENSATZ(labor.PROJEKTDATENBANK(), 1, QStringLiteral("ALT"));
        const QString ordner = QFileInfo(labor.ARBEITSKOPIE()).path();
        const QString meldung = QStringLiteral("Im Ordner ") + ordner +
                                QString::fromUtf8(" können mehrere Läufe von VELD nichts "
                                                  "voneinander wissen (VELD.mdb kann nicht "
                                                  "gesperrt werden: das Dateisystem hält keine "
                                                  "Sperren).");
        QProcess a;
        KINDPROZESS::STARTEN(a, QStringLiteral("lauf"),
                             {labor.WURZEL(), "tester", verweigert ? "ohnesperre" : "keine"});
        ASSERT_EQ(KINDPROZESS::ZEILE(a),
                  verweigert ? antwort("BEREIT 1 1") : antwort("BEREIT 1 0"));
        if (verweigert) {
            EXPECT_TRUE(KINDPROZESS::BEFEHL(a, QStringLiteral("BOXEN")).startsWith(meldung));
        }
        EXPECT_EQ(KINDPROZESS::BEFEHL(a, QStringLiteral("SCHREIBEN 10 10")),
                  antwort("GESCHRIEBEN 1"));
        QFile::remove(ordner + QStringLiteral("/VELD.sperre"));
        for (const QString& marke : marken(labor))
            if (marke.endsWith(QLatin1String(".lauf")))
                QFile::remove(ordner + QStringLiteral("/VELD.zustand/") + marke);

        FileLock::RefuseByteLocks(verweigert ? EINVAL : 0);
        struct Zurueck {
            ~Zurueck() { FileLock::RefuseByteLocks(0); }
        } zurueck;
        {
            ScriptedDialogs boxen;
            if (verweigert) boxen.expect(vbYes, meldung.mid(meldung.indexOf(QLatin1Char('('))));
            frmMAINFENSTER f;
            ASSERT_TRUE(f.MDIForm_Load());
            EXPECT_EQ(boxen.boxes().size(), verweigert ? 1 : 0);
            EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.ARBEITSKOPIE()), antwort("ALT,W10"));
            boxen.expect(vbNo, QString::fromUtf8("Sollen die Änderungen in Projekt TE0001.00"));
            f.mnuBEENDEN_Click();
        }
        EXPECT_TRUE(QFileInfo::exists(labor.ARBEITSKOPIE()));
        // A, whose mark went, makes it anew and stores on.
        EXPECT_EQ(KINDPROZESS::BEFEHL(a, QStringLiteral("SCHREIBEN 11 11")),
                  antwort("GESCHRIEBEN 1"));
        KINDPROZESS::BEFEHL(a, QStringLiteral("ENDE ja"));
        ASSERT_TRUE(a.waitForFinished());
        EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.PROJEKTDATENBANK()), antwort("ALT,W10,W11"));
    }
}

// A store that meets the copy held by another writer shows the waiting
// window; Abbrechen, or the session's end, stops it: nothing written, no
// box, the input window as it was (at the session's end the run ends).
TEST(Laeufe, AStoreWaitingForAnotherWriterShowsItAndStopsWithNothingWritten) {
    for (const bool sitzungsende : {false, true}) {
        SCOPED_TRACE(sitzungsende);
        SHELLLABOR labor;
        SHELLLABOR::DATENSATZ(labor.PROJEKTDATENBANK(), 1, QStringLiteral("ALT"));
        ScriptedDialogs boxen;
        frmMAINFENSTER f;
        ASSERT_TRUE(f.MDIForm_Load());
        // Only a safety net: Abbrechen comes as soon as the window shows.
        f.DBPROJEKT()->SetConnectionTimeout(30);
        f.mnuNEU_Click();
        EINGABEFENSTER::GELADEN()->txtKEN->setText(QStringLiteral("NEU-1"));
        Connection anderer(labor.ARBEITSKOPIE());
        anderer.BeginTrans();
        anderer.Execute(QStringLiteral("UPDATE [E1] SET [KOM]='x'"));
        QString text;
        imWarten(f, text, [&](QWidget& fenster) {
            if (sitzungsende)
                f.SITZUNGSENDE();
            else
                abbrechen(fenster);
        });
        QTest::keyClick(EINGABEFENSTER::GELADEN()->txtKEN, Qt::Key_S, Qt::ControlModifier);
        EXPECT_EQ(text, QStringLiteral("Die Datenbank ") + f.DBPROJEKT()->Path() +
                            QStringLiteral(" wird gerade von einem anderen Lauf oder Programm "
                                           "benutzt.\nDer Befehl wartet, bis sie frei ist."));
        anderer.RollbackTrans();
        EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.ARBEITSKOPIE()), antwort("ALT"));
        EXPECT_TRUE(boxen.boxes().isEmpty());
        if (sitzungsende) {
            QTest::qWait(100);
            EXPECT_TRUE(f.ENTLADEN());
            continue;
        }
        ASSERT_NE(EINGABEFENSTER::GELADEN(), nullptr);
        EXPECT_EQ(EINGABEFENSTER::GELADEN()->txtKEN->text(), antwort("NEU-1"));
        EXPECT_TRUE(f.PANELSICHTBAR(8));
        f.stbMAIN_PanelClick(9);
        f.mnuBEENDEN_Click();
    }
}

// A start that waits for another start's decision says what that run does;
// Abbrechen ends it before its main window with the one box of every
// cancelled start, and it writes nothing: ADMIN.PROG stays as the other run
// left it, and the other run goes on.
TEST(Laeufe, AStartWaitingForAnotherSaysWhatItDoesAndCancelledWritesNothing) {
    SHELLLABOR labor;
    SHELLLABOR::DATENSATZ(labor.PROJEKTDATENBANK(), 1, QStringLiteral("ALT"));
    QProcess x;
    KINDPROZESS::STARTEN(x, QStringLiteral("lauf"), {labor.WURZEL(), "tester", "halt"});
    ASSERT_EQ(KINDPROZESS::ZEILE(x), antwort("HALT"));
    ASSERT_EQ(labor.ADMINPROG(), QVariant(QStringLiteral("VELD")));
    QString text;
    QObject wache;
    imWarten(wache, text, abbrechen);
    {
        ScriptedDialogs boxen;
        boxen.expect(vbOK, QStringLiteral("Die Datenbank ") + labor.ARBEITSKOPIE() +
                               QString::fromUtf8(" ist gerade von einem anderen Lauf oder "
                                                 "Programm gesperrt; das Warten darauf wurde "
                                                 "abgebrochen, es wurde nichts geändert.\r\n"
                                                 "VELD wird nicht gestartet."));
        frmMAINFENSTER f;
        EXPECT_FALSE(f.MDIForm_Load());
        EXPECT_EQ(boxen.boxes().size(), 1);
        EXPECT_FALSE(f.isVisible());
    }
    EXPECT_EQ(text, QString::fromUtf8("Ein anderer Lauf von VELD startet und entscheidet über die "
                                      "Arbeitskopie.\nDieser Start wartet, bis er fertig ist."));
    EXPECT_EQ(labor.ADMINPROG(), QVariant(QStringLiteral("VELD")));
    EXPECT_EQ(KINDPROZESS::BEFEHL(x, QStringLiteral("WEITER")), antwort("BEREIT 1 0"));
    EXPECT_EQ(KINDPROZESS::BEFEHL(x, QStringLiteral("DATENSATZ 2 VONX")), antwort("OK 0"));
    EXPECT_EQ(KINDPROZESS::BEFEHL(x, QStringLiteral("ENDE nein")), antwort("OK 1"));
    ASSERT_TRUE(x.waitForFinished());
    EXPECT_EQ(labor.ADMINPROG(), QVariant(QStringLiteral("KORVA")));
}
