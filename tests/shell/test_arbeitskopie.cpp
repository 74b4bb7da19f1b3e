// The working copy at start: a clean start, a copy left by an interrupted
// run (kept or replaced), a copy left by a run on another project, a copy
// that cannot be made, and a start while another run decides about it.

#include "SHELLLABOR.h"
#include "support/ScriptedDialogs.h"
#include "support/TESTSCHALTER.h"

#include "data/SCHEMA.h"
#include "platform/database/BusyWait.h"
#include "platform/database/Connection.h"
#include "platform/runtime/FileLock.h"
#include "platform/runtime/WaitWindow.h"
#include "shell/frmMAINFENSTER.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <gtest/gtest.h>
#include <thread>

namespace {
const QString kFrageDe =
    QString::fromUtf8("Programm wurde während der Ausführung unterbrochen!\r\nSoll die bis zum "
                      "Abbruch vorhandenen Daten gepeichert "
                      "werden?");
const QString kFrageEn = QStringLiteral("Program was interuped during the execution!\r\nDo you "
                                        "want to save the changes till the interuption?");

// A working copy left behind by an earlier run, holding the record "ALT".
void uebrigeKopie(const SHELLLABOR& labor, const QString& herkunft = QString()) {
    QDir().mkpath(QFileInfo(labor.ARBEITSKOPIE()).path());
    PROJEKTDATENBANKANLEGEN(labor.ARBEITSKOPIE());
    SHELLLABOR::DATENSATZ(labor.ARBEITSKOPIE(), 1, QStringLiteral("ALT"));
    if (!herkunft.isNull()) {
        QFile datei(labor.HERKUNFT());
        datei.open(QIODevice::WriteOnly);
        datei.write(herkunft.toUtf8() + "\n");
    }
}

// A working copy left behind damaged: the project database with its header
// overwritten. Returns what it holds.
QByteArray beschaedigteKopie(const SHELLLABOR& labor) {
    QFile projekt(labor.PROJEKTDATENBANK());
    projekt.open(QIODevice::ReadOnly);
    const QByteArray kaputt = projekt.readAll().replace(0, 16, QByteArray(16, 'x'));
    QDir().mkpath(QFileInfo(labor.ARBEITSKOPIE()).path());
    QFile kopie(labor.ARBEITSKOPIE());
    kopie.open(QIODevice::WriteOnly);
    kopie.write(kaputt);
    return kaputt;
}

// The first line of a file: the project a copy was made from.
QString lesen(const QString& pfad) {
    QFile datei(pfad);
    datei.open(QIODevice::ReadOnly);
    return QString::fromUtf8(datei.readLine()).trimmed();
}
} // namespace

TEST(Arbeitskopie, ReadingThePathMakesTheFoldersButNoFile) {
    SHELLLABOR labor;
    frmMAINFENSTER f;
    const QString ordner = QFileInfo(labor.ARBEITSKOPIE()).path();
    ASSERT_FALSE(QFileInfo::exists(ordner));
    EXPECT_EQ(f.XMDBPFAD(), labor.ARBEITSKOPIE());
    EXPECT_TRUE(QFileInfo(ordner).isDir());
    EXPECT_FALSE(QFileInfo::exists(labor.ARBEITSKOPIE()));
}

TEST(Arbeitskopie, CleanStartCopiesWithoutAQuestionAndRecordsTheProject) {
    SHELLLABOR labor;
    SHELLLABOR::DATENSATZ(labor.PROJEKTDATENBANK(), 1, QStringLiteral("NEU"));
    ScriptedDialogs boxen;
    frmMAINFENSTER f;
    ASSERT_TRUE(f.MDIForm_Load());
    EXPECT_TRUE(boxen.boxes().isEmpty());
    EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.ARBEITSKOPIE()), QStringLiteral("NEU"));
    EXPECT_EQ(lesen(labor.HERKUNFT()), QFileInfo(labor.PROJEKTDATENBANK()).absoluteFilePath());
    // No temporary file is left beside it.
    const QStringList dateien =
        QDir(QFileInfo(labor.ARBEITSKOPIE()).path()).entryList(QDir::Files | QDir::Hidden);
    EXPECT_EQ(dateien, QStringList({QStringLiteral("VELD.mdb"), QStringLiteral("VELD.projekt"),
                           QStringLiteral("VELD.sperre")}));
}

TEST(Arbeitskopie, YesKeepsTheInterruptedCopyAndCountsItAsUnsaved) {
    SHELLLABOR labor;
    SHELLLABOR::DATENSATZ(labor.PROJEKTDATENBANK(), 1, QStringLiteral("NEU"));
    uebrigeKopie(labor);
    ScriptedDialogs boxen;
    boxen.expect(vbYes);
    frmMAINFENSTER f;
    ASSERT_TRUE(f.MDIForm_Load());
    ASSERT_EQ(boxen.boxes().size(), 1);
    EXPECT_EQ(boxen.boxes().first().prompt,
              kFrageDe + QString::fromUtf8("\r\nNein verwirft die Fassung dieser Datensätze in "
                                           "der Arbeitskopie, die das Projekt nicht so enthält; "
                                           "ob sie hier oder dort geändert wurden, lässt sich "
                                           "nicht feststellen: ALT."));
    EXPECT_EQ(boxen.boxes().first().style, 36);
    EXPECT_EQ(boxen.boxes().first().title, QStringLiteral("VELD"));
    EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.ARBEITSKOPIE()), QStringLiteral("ALT"));
    EXPECT_TRUE(f.BOGEAENDERT());
    EXPECT_EQ(lesen(labor.HERKUNFT()), QFileInfo(labor.PROJEKTDATENBANK()).absoluteFilePath());

    // Closing offers to save the kept changes; No deletes them as the user
    // wishes.
    boxen.expect(
        vbNo, QString::fromUtf8("Sollen die Änderungen in Projekt TE0001.00 gespeichert werden?"));
    f.close();
    EXPECT_TRUE(f.ENTLADEN());
    EXPECT_FALSE(QFileInfo::exists(labor.ARBEITSKOPIE()));
    EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.PROJEKTDATENBANK()), QStringLiteral("NEU"));
}

TEST(Arbeitskopie, NoReplacesTheInterruptedCopyByTheProjectDatabase) {
    SHELLLABOR labor(QStringLiteral("en"));
    SHELLLABOR::DATENSATZ(labor.PROJEKTDATENBANK(), 1, QStringLiteral("NEU"));
    uebrigeKopie(labor, QFileInfo(labor.PROJEKTDATENBANK()).absoluteFilePath());
    // A journal of the old copy must not meet the new one.
    QFile journal(labor.ARBEITSKOPIE() + QStringLiteral("-journal"));
    journal.open(QIODevice::WriteOnly);
    journal.write(QByteArray(512, '\x7f'));
    journal.close();
    ScriptedDialogs boxen;
    boxen.expect(vbNo, kFrageEn);
    frmMAINFENSTER f;
    ASSERT_TRUE(f.MDIForm_Load());
    EXPECT_EQ(boxen.boxes().size(), 1);
    EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.ARBEITSKOPIE()), QStringLiteral("NEU"));
    EXPECT_FALSE(f.BOGEAENDERT());
    EXPECT_FALSE(QFileInfo::exists(labor.ARBEITSKOPIE() + QStringLiteral("-journal")));
    EXPECT_FALSE(QFileInfo::exists(labor.ARBEITSKOPIE() + QStringLiteral(".neu")));
}

TEST(Arbeitskopie, ACopyOfAnotherProjectIsPutAsideAndNeverOffered) {
    for (const QString& sprache : {QStringLiteral("de"), QStringLiteral("en")}) {
        SHELLLABOR labor(sprache);
        SHELLLABOR::DATENSATZ(labor.PROJEKTDATENBANK(), 1, QStringLiteral("NEU"));
        const QString fremd = labor.PROJEKTSPFAD() + QStringLiteral("/TE0002.00/VELD.mdb");
        const QString ordner = QFileInfo(labor.ARBEITSKOPIE()).path();
        // The name is taken already by an earlier one.
        QDir().mkpath(ordner);
        QFile besetzt(ordner + QStringLiteral("/VELD_TE0002.00.mdb"));
        besetzt.open(QIODevice::WriteOnly);
        besetzt.write("alt");
        besetzt.close();
        uebrigeKopie(labor, fremd);

        const QString neu = ordner + QStringLiteral("/VELD_TE0002.00_2.mdb");
        ScriptedDialogs boxen;
        boxen.expect(vbOK);
        frmMAINFENSTER f;
        ASSERT_TRUE(f.MDIForm_Load());
        ASSERT_EQ(boxen.boxes().size(), 1);
        EXPECT_EQ(
            boxen.boxes().first().prompt,
            sprache == QLatin1String("de")
                ? QStringLiteral("Die Arbeitskopie des Projekts TE0002.00 wurde nicht gespeichert. "
                                 "Sie liegt unter ") +
                      neu + QStringLiteral(".")
                : QStringLiteral(
                      "The working copy of project TE0002.00 was not saved. It has been kept as ") +
                      neu + QStringLiteral("."));
        EXPECT_EQ(boxen.boxes().first().style, 48);
        EXPECT_EQ(boxen.boxes().first().title, QStringLiteral("VELD"));
        EXPECT_EQ(SHELLLABOR::KENNUNGEN(neu), QStringLiteral("ALT"));
        EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.ARBEITSKOPIE()), QStringLiteral("NEU"));
        EXPECT_EQ(lesen(labor.HERKUNFT()), QFileInfo(labor.PROJEKTDATENBANK()).absoluteFilePath());
        EXPECT_FALSE(f.BOGEAENDERT());
        // Saving writes this project's copy into this project only.
        f.mnuSPEICHERN_Click();
        EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.PROJEKTDATENBANK()), QStringLiteral("NEU"));
        EXPECT_FALSE(QFileInfo::exists(fremd));
    }
}

TEST(Arbeitskopie, ACopyRecordedForThisProjectIsOfferedAsUsual) {
    SHELLLABOR labor;
    uebrigeKopie(labor, QFileInfo(labor.PROJEKTDATENBANK()).absoluteFilePath());
    ScriptedDialogs boxen;
    boxen.expect(vbYes, kFrageDe);
    frmMAINFENSTER f;
    ASSERT_TRUE(f.MDIForm_Load());
    EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.ARBEITSKOPIE()), QStringLiteral("ALT"));
}

TEST(Arbeitskopie, MissingProjectDatabaseLeavesNoCopyBehind) {
    SHELLLABOR labor;
    QFile::remove(labor.PROJEKTDATENBANK());
    ScriptedDialogs boxen;
    // The copy cannot be made: one box, and the start ends without a main
    // window on a closed copy.
    boxen.expect(vbOK, QStringLiteral("Die Datei '") + labor.PROJEKTDATENBANK() +
                           QStringLiteral("' wurde nicht gefunden.\r\nVELD wird nicht gestartet."));
    frmMAINFENSTER f;
    EXPECT_FALSE(f.MDIForm_Load());
    EXPECT_EQ(boxen.boxes().size(), 1);
    for (const auto& box : boxen.boxes())
        EXPECT_EQ(box.title, QStringLiteral("VELD"));
    EXPECT_FALSE(QFileInfo::exists(labor.ARBEITSKOPIE()));
    EXPECT_FALSE(QFileInfo::exists(labor.ARBEITSKOPIE() + QStringLiteral(".neu")));
    EXPECT_FALSE(f.DBPROJEKT()->IsOpen());
    EXPECT_FALSE(f.isVisible());
}

// Another run holds the copy alone while it asks its question, and the
// decision lock file was deleted meanwhile: the start shows that it waits
// (its events run, Abbrechen and a session end reach it) instead of hanging
// unseen, and goes on when the other run has decided.
TEST(Arbeitskopie, AStartShowsItsWaitForADecidingRunWhoseDecisionLockWasDeleted) {
    SHELLLABOR labor;
    uebrigeKopie(labor, QFileInfo(labor.PROJEKTDATENBANK()).absoluteFilePath());
    FileLock entscheidend;
    ASSERT_TRUE(
        entscheidend.Open(QFileInfo(labor.ARBEITSKOPIE()).path() + QStringLiteral("/VELD.sperre")));
    ASSERT_TRUE(entscheidend.Exclusive());
    static std::atomic<bool> gewartet;
    gewartet = false;
    const STARTHALT halt([](const char* stelle) {
        if (QByteArray(stelle) == "WARTET") gewartet = true;
    });
    // The other run decides once the start waits for it (a moment later, so
    // that the start is in its wait), however long the start took to get
    // there; the minute is only a safety net.
    std::thread entschieden([&] {
        const QDeadlineTimer frist(60000);
        while (!gewartet && !frist.hasExpired())
            QThread::msleep(1);
        QThread::msleep(100);
        entscheidend.Release();
    });
    ScriptedDialogs boxen;
    boxen.expect(vbYes, kFrageDe);
    frmMAINFENSTER f;
    const bool geladen = f.MDIForm_Load();
    entschieden.join();
    EXPECT_TRUE(geladen);
    EXPECT_TRUE(gewartet);
    EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.ARBEITSKOPIE()), QStringLiteral("ALT"));
}

// A damaged copy that an interrupted run left is not offered: it is put aside
// as it was, the user is told where, and the main window works on a fresh
// copy of the project.
TEST(Arbeitskopie, ADamagedLeftCopyIsPutAsideAndTheStartGoesOnWithAFreshCopy) {
    SHELLLABOR labor;
    SHELLLABOR::DATENSATZ(labor.PROJEKTDATENBANK(), 1, QStringLiteral("NEU"));
    const QString ordner = QFileInfo(labor.ARBEITSKOPIE()).path();
    const QByteArray kaputt = beschaedigteKopie(labor);

    ScriptedDialogs boxen;
    boxen.expect(vbOK, QString::fromUtf8("Die Arbeitskopie, die ein unterbrochener Lauf "
                                         "hinterlassen hat, ist beschädigt und kann nicht benutzt "
                                         "werden. Sie liegt unter ") +
                           ordner +
                           QStringLiteral("/VELD_beschaedigt.mdb.\r\nEs wird mit einer neuen "
                                          "Kopie des Projekts TE0001.00 weitergearbeitet."));
    frmMAINFENSTER f;
    ASSERT_TRUE(f.MDIForm_Load());
    EXPECT_EQ(boxen.boxes().size(), 1);
    ASSERT_TRUE(f.DBPROJEKT()->IsOpen());
    EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.ARBEITSKOPIE()), QStringLiteral("NEU"));
    f.mnuBEENDEN_Click();
    QFile beiseite(ordner + QStringLiteral("/VELD_beschaedigt.mdb"));
    ASSERT_TRUE(beiseite.open(QIODevice::ReadOnly));
    EXPECT_EQ(beiseite.readAll(), kaputt);
}

// A damaged left copy is put aside, and then no fresh copy can be made (the
// project database is missing): one box says where the damaged copy lies
// and why VELD does not start.
TEST(Arbeitskopie, ADamagedLeftCopyWithoutItsProjectDatabaseEndsTheStartWithOneBox) {
    SHELLLABOR labor;
    const QString ordner = QFileInfo(labor.ARBEITSKOPIE()).path();
    const QByteArray kaputt = beschaedigteKopie(labor);
    QFile::remove(labor.PROJEKTDATENBANK());

    ScriptedDialogs boxen;
    boxen.expect(vbOK, QString::fromUtf8("Die Arbeitskopie, die ein unterbrochener Lauf "
                                         "hinterlassen hat, ist beschädigt und kann nicht benutzt "
                                         "werden. Sie liegt unter ") +
                           ordner + QStringLiteral("/VELD_beschaedigt.mdb.\r\nDie Datei '") +
                           labor.PROJEKTDATENBANK() +
                           QStringLiteral("' wurde nicht gefunden.\r\nVELD wird nicht gestartet."));
    frmMAINFENSTER f;
    EXPECT_FALSE(f.MDIForm_Load());
    EXPECT_EQ(boxen.boxes().size(), 1);
    EXPECT_FALSE(QFileInfo::exists(labor.ARBEITSKOPIE()));
    QFile beiseite(ordner + QStringLiteral("/VELD_beschaedigt.mdb"));
    ASSERT_TRUE(beiseite.open(QIODevice::ReadOnly));
    EXPECT_EQ(beiseite.readAll(), kaputt);
}

// Another run holding the copy itself alone (its quit question, a compaction,
// a Save), with the lock files beside the copy gone: it lets go once the
// start's waiting window shows, whenever that is.
struct Halter {
    explicit Halter(const QString& kopie) {
        // The byte of the copy on which every run holds its share.
        EXPECT_TRUE(allein.OpenPresent(kopie) && allein.Exclusive());
        QObject::connect(&blick, &QTimer::timeout, [this] {
            if (!WaitWindow::Window()) return;
            gezeigt = true;
            allein.Unlock();
            blick.stop();
        });
        blick.start(10);
    }
    FileLock allein{0x7FFF0000};
    QTimer blick;
    bool gezeigt = false;
};

// The start shows its waiting window (events run, Abbrechen reaches it)
// instead of sitting in the lock unseen, and goes on when the other run
// lets go.
TEST(Arbeitskopie, AStartShowsItsWaitForARunThatHoldsTheCopyItselfAlone) {
    SHELLLABOR labor;
    uebrigeKopie(labor, QFileInfo(labor.PROJEKTDATENBANK()).absoluteFilePath());
    Halter halter(labor.ARBEITSKOPIE());
    ScriptedDialogs boxen;
    boxen.expect(vbYes, kFrageDe);
    frmMAINFENSTER f;
    const bool geladen = f.MDIForm_Load();
    EXPECT_TRUE(geladen);
    EXPECT_TRUE(halter.gezeigt);
    EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.ARBEITSKOPIE()), QStringLiteral("ALT"));
}

// Held past the start's time-out (shortened, as every wait's, to a
// millisecond, long before the window would show and the holder let go):
// the start ends with one box, and the copy is as it was.
TEST(Arbeitskopie, AStartGivesUpOnARunThatHoldsTheCopyPastTheTimeOut) {
    SHELLLABOR labor;
    uebrigeKopie(labor, QFileInfo(labor.PROJEKTDATENBANK()).absoluteFilePath());
    Halter halter(labor.ARBEITSKOPIE());
    BusyWait::SetTimeoutLimit(1);
    ScriptedDialogs boxen;
    boxen.expect(vbOK, QStringLiteral("Die Datenbank ") + labor.ARBEITSKOPIE() +
                           QString::fromUtf8(" ist gerade von einem anderen Lauf oder Programm "
                                             "gesperrt; es wurde nichts geändert.\r\nVELD wird "
                                             "nicht gestartet."));
    frmMAINFENSTER f;
    const bool geladen = f.MDIForm_Load();
    BusyWait::SetTimeoutLimit(0);
    EXPECT_FALSE(geladen);
    EXPECT_EQ(boxen.boxes().size(), 1);
    EXPECT_FALSE(halter.gezeigt);
    EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.ARBEITSKOPIE()), QStringLiteral("ALT"));
}

// A garbled VELD.projekt names no project: the copy is put aside as another
// project's, under a name of the program's own, never one made of the
// garbage (nor of the folder the program runs in).
TEST(Arbeitskopie, ACopyWithAGarbledProjectFileIsPutAsideUnderAPlainName) {
    SHELLLABOR labor;
    SHELLLABOR::DATENSATZ(labor.PROJEKTDATENBANK(), 1, QStringLiteral("NEU"));
    const QString ordner = QFileInfo(labor.ARBEITSKOPIE()).path();
    uebrigeKopie(labor, QString::fromUtf8("\x01#Schrott:*?|<>/VELD.mdb"));
    ScriptedDialogs boxen;
    boxen.expect(vbOK, QStringLiteral("Die Arbeitskopie eines anderen Projekts wurde nicht "
                                      "gespeichert. Sie liegt unter ") +
                           ordner + QStringLiteral("/VELD_fremd.mdb."));
    frmMAINFENSTER f;
    ASSERT_TRUE(f.MDIForm_Load());
    EXPECT_EQ(SHELLLABOR::KENNUNGEN(ordner + QStringLiteral("/VELD_fremd.mdb")),
              QStringLiteral("ALT"));
    EXPECT_EQ(QDir(ordner).entryList({QStringLiteral("VELD_*")}, QDir::Files),
              QStringList{QStringLiteral("VELD_fremd.mdb")});
}
