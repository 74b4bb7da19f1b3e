// The end of the run: the save question and its answers, the restart of
// the frame program, the administration row and the working copy.

#include "HAUPTFENSTERTEST.h"
#include "SHELLLABOR.h"
#include "support/ScriptedDialogs.h"

#include "platform/database/Connection.h"
#include "shell/frmMAINFENSTER.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QWindow>
#include <QtTest/qtestspontaneevent.h>
#include <gtest/gtest.h>

namespace {
const QString kFrage =
    QString::fromUtf8("Sollen die Änderungen in Projekt TE0001.00 gespeichert werden?");

// Changes the working copy as a command would and marks it so.
void aendern(frmMAINFENSTER& f, const QString& ken = QStringLiteral("GEAENDERT")) {
    f.DBPROJEKT()->Execute(QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (9,?,0)"),
                           {ken});
    f.SETZEBOGEAENDERT(true);
}
} // namespace

TEST(Ende, ClosingWithoutChangesHandsBackTheRowAndDeletesTheCopy) {
    SHELLLABOR labor;
    const QString rahmen = labor.RAHMENPROGRAMMANLEGEN();
    ScriptedDialogs boxen;
    frmMAINFENSTER f;
    ASSERT_TRUE(f.MDIForm_Load());
    auto verbindung = f.DBPROJEKT();
    f.close();
    EXPECT_TRUE(boxen.boxes().isEmpty());
    EXPECT_TRUE(f.ENTLADEN());
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(labor.ADMINPROG(), QVariant(QStringLiteral("KORVA")));
    EXPECT_FALSE(QFileInfo::exists(labor.ARBEITSKOPIE()));
    EXPECT_FALSE(QFileInfo::exists(labor.HERKUNFT()));
    EXPECT_FALSE(verbindung->IsOpen());
    EXPECT_FALSE(f.DBVORGABE()->IsOpen());
    EXPECT_FALSE(f.DBARCHIV()->IsOpen());
    ASSERT_EQ(labor.SYSTEM.StartedPrograms().size(), 1);
    EXPECT_EQ(labor.SYSTEM.StartedPrograms().first().program, rahmen);
}

TEST(Ende, AMissingFrameProgramIsPassedOverSilently) {
    SHELLLABOR labor;
    ScriptedDialogs boxen;
    frmMAINFENSTER f;
    ASSERT_TRUE(f.MDIForm_Load());
    f.close();
    EXPECT_TRUE(boxen.boxes().isEmpty());
    EXPECT_TRUE(labor.SYSTEM.StartedPrograms().isEmpty());
    EXPECT_EQ(labor.ADMINPROG(), QVariant(QStringLiteral("KORVA")));
}

TEST(Ende, CancelKeepsTheProgramRunning) {
    SHELLLABOR labor;
    labor.RAHMENPROGRAMMANLEGEN();
    ScriptedDialogs boxen;
    frmMAINFENSTER f;
    ASSERT_TRUE(f.MDIForm_Load());
    aendern(f);
    boxen.expect(vbCancel, kFrage);
    EXPECT_FALSE(f.close());
    ASSERT_EQ(boxen.boxes().size(), 1);
    EXPECT_EQ(boxen.boxes().first().style, 35);
    EXPECT_EQ(boxen.boxes().first().title, QStringLiteral("&Beenden"));
    EXPECT_FALSE(f.ENTLADEN());
    EXPECT_TRUE(f.isVisible());
    EXPECT_TRUE(f.DBPROJEKT()->IsOpen());
    EXPECT_TRUE(QFileInfo::exists(labor.ARBEITSKOPIE()));
    EXPECT_TRUE(labor.SYSTEM.StartedPrograms().isEmpty());
    EXPECT_EQ(labor.ADMINPROG(), QVariant(QStringLiteral("VELD")));
    EXPECT_TRUE(f.BOGEAENDERT());
}

TEST(Ende, QuitAsksSavesAndDoesNotStartTheFrameProgram) {
    SHELLLABOR labor(QStringLiteral("en"));
    labor.RAHMENPROGRAMMANLEGEN();
    ScriptedDialogs boxen;
    frmMAINFENSTER f;
    ASSERT_TRUE(f.MDIForm_Load());
    aendern(f);
    boxen.expect(vbYes, QStringLiteral("Do you want to save changes to project TE0001.00?"));
    f.mnuBEENDEN_Click();
    ASSERT_EQ(boxen.boxes().size(), 1);
    EXPECT_EQ(boxen.boxes().first().title, QStringLiteral("&Quit"));
    EXPECT_TRUE(f.ENTLADEN());
    EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.PROJEKTDATENBANK()), QStringLiteral("GEAENDERT"));
    EXPECT_TRUE(labor.SYSTEM.StartedPrograms().isEmpty());
    EXPECT_EQ(labor.ADMINPROG(), QVariant(QStringLiteral("KORVA")));
    EXPECT_FALSE(QFileInfo::exists(labor.ARBEITSKOPIE()));
}

TEST(Ende, DoneAsksAndStartsTheFrameProgramAlsoAfterNo) {
    SHELLLABOR labor;
    labor.RAHMENPROGRAMMANLEGEN();
    ScriptedDialogs boxen;
    frmMAINFENSTER f;
    ASSERT_TRUE(f.MDIForm_Load());
    aendern(f);
    boxen.expect(vbNo, kFrage);
    f.mnuSCHLIESSEN_Click();
    EXPECT_EQ(boxen.boxes().first().title, QStringLiteral("&Beenden"));
    EXPECT_TRUE(f.ENTLADEN());
    EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.PROJEKTDATENBANK()), QString());
    EXPECT_EQ(labor.SYSTEM.StartedPrograms().size(), 1);
    EXPECT_FALSE(QFileInfo::exists(labor.ARBEITSKOPIE()));
}

TEST(Ende, DoneCancelledStillStartsTheFrameProgramWhenTheSessionEnds) {
    SHELLLABOR labor;
    labor.RAHMENPROGRAMMANLEGEN();
    ScriptedDialogs boxen;
    frmMAINFENSTER f;
    ASSERT_TRUE(f.MDIForm_Load());
    aendern(f);
    boxen.expect(vbCancel, kFrage);
    f.mnuSCHLIESSEN_Click();
    EXPECT_FALSE(f.ENTLADEN());
    EXPECT_TRUE(f.BOSCHLIESSEN());
    // The session ends later: nobody is asked, but Done was chosen.
    f.mnuSPEICHERN_Click();
    f.SITZUNGSENDE();
    EXPECT_TRUE(f.ENTLADEN());
    EXPECT_EQ(labor.SYSTEM.StartedPrograms().size(), 1);
}

TEST(Ende, SessionEndWithChangesKeepsTheWorkingCopyForTheNextStart) {
    SHELLLABOR labor;
    labor.RAHMENPROGRAMMANLEGEN();
    {
        ScriptedDialogs boxen;
        frmMAINFENSTER f;
        ASSERT_TRUE(f.MDIForm_Load());
        aendern(f);
        f.SITZUNGSENDE();
        EXPECT_TRUE(boxen.boxes().isEmpty());
        EXPECT_TRUE(f.ENTLADEN());
        EXPECT_FALSE(f.DBPROJEKT()->IsOpen());
        EXPECT_EQ(labor.ADMINPROG(), QVariant(QStringLiteral("KORVA")));
        EXPECT_TRUE(labor.SYSTEM.StartedPrograms().isEmpty());
        EXPECT_TRUE(QFileInfo::exists(labor.ARBEITSKOPIE()));
        EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.PROJEKTDATENBANK()), QString());
    }
    // The next start offers the changes as what they are, by name, not as an
    // interrupted run's.
    ScriptedDialogs boxen;
    boxen.expect(vbYes);
    frmMAINFENSTER f;
    ASSERT_TRUE(f.MDIForm_Load());
    ASSERT_EQ(boxen.boxes().size(), 1);
    EXPECT_EQ(boxen.boxes()[0].prompt,
              QString::fromUtf8("Die Arbeitskopie enthält Änderungen, die beim Ende der letzten "
                                "Sitzung nicht gespeichert wurden.\r\nSollen sie behalten "
                                "werden?\r\nNein verwirft diese Datensätze, die nur die "
                                "Arbeitskopie so enthält: GEAENDERT."));
    EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.ARBEITSKOPIE()), QStringLiteral("GEAENDERT"));
    EXPECT_TRUE(f.BOGEAENDERT());
}

TEST(Ende, SessionEndWithoutChangesDeletesTheCopy) {
    SHELLLABOR labor;
    ScriptedDialogs boxen;
    frmMAINFENSTER f;
    ASSERT_TRUE(f.MDIForm_Load());
    f.SITZUNGSENDE();
    EXPECT_TRUE(boxen.boxes().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(labor.ARBEITSKOPIE()));
    EXPECT_EQ(labor.ADMINPROG(), QVariant(QStringLiteral("KORVA")));
}

TEST(Ende, AFailedSaveKeepsTheProgramRunning) {
    SHELLLABOR labor;
    labor.RAHMENPROGRAMMANLEGEN();
    ScriptedDialogs boxen;
    frmMAINFENSTER f;
    ASSERT_TRUE(f.MDIForm_Load());
    aendern(f);
    // The project directory is gone meanwhile: the copy back cannot succeed.
    ASSERT_TRUE(
        QDir(labor.PROJEKTSPFAD()).rename(QStringLiteral("TE0001.00"), QStringLiteral("weg")));
    boxen.expect(vbYes, kFrage);
    boxen.expect(vbOK, QStringLiteral("VB-Error: "));
    f.close();
    ASSERT_EQ(boxen.boxes().size(), 2);
    EXPECT_EQ(boxen.boxes().at(1).title, QStringLiteral("&Speichern"));
    EXPECT_FALSE(f.ENTLADEN());
    EXPECT_TRUE(f.BOGEAENDERT());
    EXPECT_TRUE(f.DBPROJEKT()->IsOpen());
    EXPECT_TRUE(QFileInfo::exists(labor.ARBEITSKOPIE()));
    EXPECT_TRUE(labor.SYSTEM.StartedPrograms().isEmpty());
    EXPECT_EQ(labor.ADMINPROG(), QVariant(QStringLiteral("VELD")));
}

TEST(Ende, AVanishedRowShowsTheErrorAndTheRestStillRuns) {
    SHELLLABOR labor;
    ScriptedDialogs boxen;
    frmMAINFENSTER f;
    ASSERT_TRUE(f.MDIForm_Load());
    {
        Connection archiv(labor.ARCHIV());
        archiv.Execute(QStringLiteral("DELETE FROM [ADMIN] WHERE [BENUTZER]='TESTER'"));
    }
    boxen.expect(vbOK, QStringLiteral("VB-Error: 3021"));
    f.close();
    EXPECT_EQ(boxen.boxes().size(), 1);
    EXPECT_TRUE(f.ENTLADEN());
    EXPECT_FALSE(f.DBPROJEKT()->IsOpen());
    EXPECT_FALSE(QFileInfo::exists(labor.ARBEITSKOPIE()));
}

TEST(Ende, DevelopmentRunNeverTouchesTheAdministration) {
    SHELLLABOR labor(QStringLiteral("de"), QStringLiteral("SOURCE"));
    const QString projektspfad = labor.WURZEL() + QStringLiteral("/SOURCE");
    QDir().mkpath(projektspfad + QStringLiteral("/TE0000.00"));
    QFile::copy(labor.PROJEKTDATENBANK(), projektspfad + QStringLiteral("/TE0000.00/VELD.mdb"));
    ScriptedDialogs boxen;
    frmMAINFENSTER f;
    ASSERT_TRUE(f.MDIForm_Load());
    const QString kopie = f.XMDBPFAD();
    ASSERT_TRUE(QFileInfo::exists(kopie));
    {
        Connection archiv(labor.ARCHIV());
        archiv.Execute(QStringLiteral("UPDATE [ADMIN] SET [PROG]='ANDERS'"));
    }
    f.close();
    EXPECT_TRUE(boxen.boxes().isEmpty());
    EXPECT_EQ(labor.ADMINPROG(), QVariant(QStringLiteral("ANDERS")));
    EXPECT_FALSE(QFileInfo::exists(kopie));
}

// The session ends (SIGTERM, log-off) while the quit question waits, asked
// by File, Beenden or by the window's close button: the run ends as a
// session end, whatever the box would have answered.
class SitzungsendeInDerFrage : public HAUPTFENSTERTEST,
                               public ::testing::WithParamInterface<bool> {};

TEST_P(SitzungsendeInDerFrage, EndsTheRunAndKeepsTheChangesForTheNextStart) {
    f.DBPROJEKT()->Execute(
        QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (9,'GEAENDERT',0)"));
    f.SETZEBOGEAENDERT(true);
    boxen.waehrend = [&] { f.SITZUNGSENDE(); };
    // The user would save, but the box goes unanswered.
    boxen.expect(vbYes, kFrage);
    if (GetParam()) {
        f.mnuBEENDEN_Click();
    } else {
        // The close button: the window system asks the window to close.
        QCloseEvent schliessen;
        QSpontaneKeyEvent::setSpontaneous(&schliessen);
        QCoreApplication::instance()->notify(f.windowHandle(), &schliessen);
    }
    EXPECT_EQ(boxen.closings(), 1);
    EXPECT_TRUE(f.ENTLADEN());
    EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.PROJEKTDATENBANK()), QString());
    ASSERT_TRUE(QFileInfo::exists(labor.ARBEITSKOPIE()));
    EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.ARBEITSKOPIE()), QStringLiteral("P-1,GEAENDERT"));
    const QDir zustand(QFileInfo(labor.ARBEITSKOPIE()).path() + QStringLiteral("/VELD.zustand"));
    EXPECT_TRUE(zustand.entryList({QStringLiteral("*.lauf")}, QDir::Files).isEmpty());
    EXPECT_FALSE(zustand.entryList({QStringLiteral("*.geaendert")}, QDir::Files).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Wege, SitzungsendeInDerFrage, ::testing::Bool(), [](const auto& weg) {
    return std::string(weg.param ? "Beenden" : "Schliessknopf");
});
