// The start-up roads of the main window: an installed run with the user's
// row, no row, a missing project directory or template, a development run.

#include "SHELLLABOR.h"
#include "support/ScriptedDialogs.h"

#include "platform/database/BusyWait.h"
#include "platform/database/Connection.h"
#include "shell/STATUSLEISTE.h"
#include "shell/frmMAINFENSTER.h"
#include "shell/mdiAUTOSTART.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProgressDialog>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {
QString text(frmMAINFENSTER& f, int panel) {
    return f.stbMAIN->Panels(panel)->Text();
}
QString tipp(frmMAINFENSTER& f, int panel) {
    return f.stbMAIN->Panels(panel)->ToolTipText();
}

// The text of each waiting window as it shows.
struct Wartefenster : QObject {
    Wartefenster() { qApp->installEventFilter(this); }
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Show && o->objectName() == QLatin1String("frmWARTEN"))
            texte << qobject_cast<QProgressDialog*>(o)->labelText();
        return false;
    }
    QStringList texte;
};
} // namespace

TEST(Start, InstalledRunTakesTheUsersRowAndMakesTheWorkingCopy) {
    SHELLLABOR labor;
    SHELLLABOR::DATENSATZ(labor.PROJEKTDATENBANK(), 1, QStringLiteral("B-12"));
    ScriptedDialogs boxen;
    frmMAINFENSTER f;
    ASSERT_TRUE(f.MDIForm_Load());

    EXPECT_TRUE(boxen.boxes().isEmpty());
    EXPECT_EQ(labor.ADMINPROG(), QVariant(QStringLiteral("VELD")));
    EXPECT_EQ(labor.ADMINPROG(QStringLiteral("ANDERER")), QVariant(QStringLiteral("KORVA")));
    EXPECT_EQ(f.PROJEKT(), labor.PROJEKT());
    EXPECT_EQ(f.PROJEKTSPFAD(), labor.PROJEKTSPFAD());
    EXPECT_EQ(f.BEARBEITER(), QString::fromUtf8("Grete Prüfer"));
    EXPECT_EQ(f.BENUTZER(), QStringLiteral("TESTER"));
    EXPECT_EQ(f.SPRACHE(), 3);
    EXPECT_EQ(f.DEZIMALPUNKT(), QStringLiteral(","));
    EXPECT_EQ(f.DATENBANKPFAD(), labor.DATENBANK());

    EXPECT_EQ(f.XMDBPFAD(), labor.ARBEITSKOPIE());
    ASSERT_TRUE(QFileInfo::exists(labor.ARBEITSKOPIE()));
    EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.ARBEITSKOPIE()), QStringLiteral("B-12"));
    ASSERT_TRUE(f.DBPROJEKT()->IsOpen());
    EXPECT_EQ(f.DBPROJEKT()->Path(), QFileInfo(labor.ARBEITSKOPIE()).absoluteFilePath());
    EXPECT_TRUE(f.DBVORGABE()->IsOpen());
    EXPECT_TRUE(f.DBARCHIV()->IsOpen());
    EXPECT_FALSE(f.BOGEAENDERT());

    EXPECT_EQ(text(f, 2), labor.PROJEKT());
    EXPECT_EQ(tipp(f, 2), QString::fromUtf8("Grete Prüfer"));
    EXPECT_EQ(tipp(f, 1), labor.PROJEKTSPFAD());
    EXPECT_EQ(text(f, 4), QStringLiteral("VELD"));
    EXPECT_EQ(tipp(f, 4), QStringLiteral("Varmikon"));
    EXPECT_EQ(text(f, 6), QStringLiteral("-"));
    for (int i = 1; i <= 15; ++i)
        EXPECT_EQ(f.stbMAIN->Panels(i)->Visible(), i <= 7) << i;

    // The start screen stands in the window, its progress bar hidden.
    EXPECT_TRUE(f.isVisible());
    ASSERT_NE(f.AUTOSTART(), nullptr);
    EXPECT_TRUE(f.AUTOSTART()->isVisible());
    EXPECT_FALSE(f.FORTSCHRITTSICHTBAR());
    EXPECT_EQ(f.MDIBEREICH->subWindowList().size(), 1);
}

TEST(Start, NoRowForTheUserEndsWithTheMessageAndWritesNothing) {
    for (const QString& sprache : {QStringLiteral("de"), QStringLiteral("en")}) {
        SHELLLABOR labor(sprache);
        labor.SYSTEM.SetLoginName(QStringLiteral("fremder"));
        ScriptedDialogs boxen;
        boxen.expect(vbOK);
        frmMAINFENSTER f;
        EXPECT_FALSE(f.MDIForm_Load());
        ASSERT_EQ(boxen.boxes().size(), 1);
        const auto& box = boxen.boxes().first();
        EXPECT_EQ(box.prompt,
                  sprache == QLatin1String("de")
                      ? QString::fromUtf8(
                            "Programm VELD kann nur über das Rahmenprogramm ausgeführt werden!")
                      : QStringLiteral("Program VELD can used only via the frame program!"));
        EXPECT_EQ(box.style, 48);
        EXPECT_EQ(box.title, QStringLiteral("VELD"));
        EXPECT_EQ(labor.ADMINPROG(), QVariant(QStringLiteral("KORVA")));
        EXPECT_EQ(labor.ADMINPROG(QStringLiteral("ANDERER")), QVariant(QStringLiteral("KORVA")));
        EXPECT_FALSE(QFileInfo::exists(labor.ARBEITSKOPIE()));
        EXPECT_FALSE(f.isVisible());
    }
}

TEST(Start, MissingProjectDirectoryEndsAfterTheRowWasTaken) {
    for (const QString& sprache : {QStringLiteral("de"), QStringLiteral("en")}) {
        SHELLLABOR labor(sprache);
        QDir(labor.PROJEKTSPFAD() + QStringLiteral("/TE0001.00")).removeRecursively();
        ScriptedDialogs boxen;
        boxen.expect(vbOK);
        frmMAINFENSTER f;
        EXPECT_FALSE(f.MDIForm_Load());
        ASSERT_EQ(boxen.boxes().size(), 1);
        EXPECT_EQ(boxen.boxes().first().prompt,
                  sprache == QLatin1String("de")
                      ? QStringLiteral("Projektsverzeichnis TE0001.00 existiert nicht!")
                      : QStringLiteral("Project directory TE0001.00 dosn't exist!"));
        EXPECT_EQ(boxen.boxes().first().style, 48);
        EXPECT_EQ(boxen.boxes().first().title, QStringLiteral("VELD"));
        // The row was handed to this program already and stays so.
        EXPECT_EQ(labor.ADMINPROG(), QVariant(QStringLiteral("VELD")));
        EXPECT_FALSE(QFileInfo::exists(labor.ARBEITSKOPIE()));
    }
}

TEST(Start, MissingTemplateEndsWithTheReinstallMessage) {
    for (const QString& sprache : {QStringLiteral("de"), QStringLiteral("en")}) {
        SHELLLABOR labor(sprache);
        QFile::remove(labor.PROGRAMM() + QStringLiteral("/VELD.mdb"));
        ScriptedDialogs boxen;
        boxen.expect(vbOK);
        frmMAINFENSTER f;
        EXPECT_FALSE(f.MDIForm_Load());
        ASSERT_EQ(boxen.boxes().size(), 1);
        EXPECT_EQ(
            boxen.boxes().first().prompt,
            sprache == QLatin1String("de")
                ? QString::fromUtf8(
                      "Die leere Datenbank VELD.mdb existiert nicht!\r\nKorvalinds muß neu "
                      "installiert werden!")
                : QStringLiteral(
                      "The empty database VELD.mdb dosn't exist!\r\nKorvalind has to be installed "
                      "again!"));
        EXPECT_EQ(boxen.boxes().first().style, 48);
        EXPECT_EQ(labor.ADMINPROG(), QVariant(QStringLiteral("VELD")));
        EXPECT_FALSE(QFileInfo::exists(labor.ARBEITSKOPIE()));
    }
}

TEST(Start, DevelopmentRunLeavesTheAdministrationAlone) {
    // "Source" in the program's path, in any letter case, makes a
    // development run: no ARCHIV.mdb, no VORGABE.mdb, no settings needed.
    SHELLLABOR labor(QStringLiteral("de"), QStringLiteral("Quellen/Source"));
    SaveSetting(QStringLiteral("KORVA"), QStringLiteral("Extras"), QStringLiteral("Datenbankpfad"),
                QStringLiteral("/nirgends"));
    const QString projektspfad = labor.WURZEL() + QStringLiteral("/Quellen/Source");
    QDir().mkpath(projektspfad + QStringLiteral("/TE0000.00"));
    QFile::copy(labor.PROJEKTDATENBANK(), projektspfad + QStringLiteral("/TE0000.00/VELD.mdb"));
    SHELLLABOR::DATENSATZ(projektspfad + QStringLiteral("/TE0000.00/VELD.mdb"), 1,
                          QStringLiteral("E-1"));

    ScriptedDialogs boxen;
    frmMAINFENSTER f;
    ASSERT_TRUE(f.MDIForm_Load());
    EXPECT_TRUE(boxen.boxes().isEmpty());
    EXPECT_EQ(f.PROJEKT(), QStringLiteral("TE0000.00"));
    EXPECT_EQ(f.PROJEKTSPFAD(), projektspfad);
    EXPECT_EQ(f.BEARBEITER(), QStringLiteral("TESTER"));
    EXPECT_FALSE(f.DBVORGABE()->IsOpen());
    EXPECT_FALSE(f.DBARCHIV()->IsOpen());
    EXPECT_EQ(labor.ADMINPROG(), QVariant(QStringLiteral("KORVA")));
    EXPECT_EQ(f.XMDBPFAD(), projektspfad + QStringLiteral("/BENUTZER/TESTER/VELD.mdb"));
    EXPECT_EQ(SHELLLABOR::KENNUNGEN(f.XMDBPFAD()), QStringLiteral("E-1"));
    EXPECT_EQ(f.stbMAIN->Panels(2)->ToolTipText(), QStringLiteral("TESTER"));
}

TEST(Start, UserNameWithApostropheFindsItsRow) {
    SHELLLABOR labor;
    {
        Connection archiv(labor.ARCHIV());
        archiv.Execute(
            QStringLiteral("UPDATE [ADMIN] SET [BENUTZER]='O''BRIEN' WHERE [BENUTZER]='TESTER'"));
    }
    labor.SYSTEM.SetLoginName(QStringLiteral("o'brien"));
    ScriptedDialogs boxen;
    frmMAINFENSTER f;
    ASSERT_TRUE(f.MDIForm_Load());
    EXPECT_TRUE(boxen.boxes().isEmpty());
    EXPECT_EQ(labor.ADMINPROG(QStringLiteral("O'BRIEN")), QVariant(QStringLiteral("VELD")));
    EXPECT_EQ(labor.ADMINPROG(QStringLiteral("ANDERER")), QVariant(QStringLiteral("KORVA")));
    f.close();
    EXPECT_EQ(labor.ADMINPROG(QStringLiteral("O'BRIEN")), QVariant(QStringLiteral("KORVA")));
}

TEST(Start, AdministrationThatDoesNotOpenShowsTheErrorBoxAndCancelLeavesTheStartUp) {
    SHELLLABOR labor;
    SaveSetting(QStringLiteral("KORVA"), QStringLiteral("Extras"), QStringLiteral("Datenbankpfad"),
                labor.WURZEL() + QStringLiteral("/fehlt"));
    ScriptedDialogs boxen;
    boxen.expect(vbCancel, QStringLiteral("VB-Error: "));
    frmMAINFENSTER f;
    EXPECT_FALSE(f.MDIForm_Load());
    ASSERT_EQ(boxen.boxes().size(), 1);
    EXPECT_EQ(boxen.boxes().first().style, 49);
    EXPECT_EQ(boxen.boxes().first().title, QStringLiteral("VELD"));
    // Without the remaining steps there is no working copy: the start ends
    // rather than show a main window on which every command would fail.
    EXPECT_FALSE(f.isVisible());
    EXPECT_FALSE(QFileInfo::exists(labor.ARBEITSKOPIE()));
    EXPECT_FALSE(f.DBPROJEKT()->IsOpen());
}

// The working copy (or, at a first start, the project database) held for
// writing by another program for the whole start: the start waits, then
// one German box says why, the start ends before its main window and
// touches nothing, ADMIN.PROG included. Once the holder lets go, the next
// start works.
TEST(Start, ADatabaseHeldForTheWholeStartEndsItWithOneBoxAndTouchesNothing) {
    for (const bool kopie : {true, false}) {
        SCOPED_TRACE(kopie);
        SHELLLABOR labor;
        SHELLLABOR::DATENSATZ(labor.PROJEKTDATENBANK(), 1, QStringLiteral("ALT"));
        if (kopie) {
            // A copy that a run left behind.
            QDir().mkpath(QFileInfo(labor.ARBEITSKOPIE()).path());
            ASSERT_TRUE(QFile::copy(labor.PROJEKTDATENBANK(), labor.ARBEITSKOPIE()));
        }
        const QString gehalten = kopie ? labor.ARBEITSKOPIE() : labor.PROJEKTDATENBANK();
        const auto inhalt = [](const QString& datei) {
            QFile lesen(datei);
            return lesen.open(QIODevice::ReadOnly) ? lesen.readAll() : QByteArray();
        };
        const QByteArray vorher = inhalt(gehalten);
        BusyWait::SetTimeoutLimit(2000);
        {
            Connection halter(gehalten);
            sqlite3_exec(halter.Handle(),
                         kopie ? "BEGIN IMMEDIATE; UPDATE [E1] SET [KEN]='FREMD'"
                               : "BEGIN EXCLUSIVE",
                         nullptr, nullptr, nullptr);
            ScriptedDialogs boxen;
            boxen.expect(vbOK, QStringLiteral("Die Datenbank ") + gehalten +
                                   QString::fromUtf8(" ist gerade von einem anderen Lauf oder "
                                                     "Programm gesperrt; es wurde nichts "
                                                     "geändert.\r\nVELD wird nicht gestartet."));
            Wartefenster warten;
            frmMAINFENSTER f;
            EXPECT_FALSE(f.MDIForm_Load());
            EXPECT_EQ(boxen.boxes().size(), 1);
            // One wait, for the file the user knows.
            EXPECT_EQ(warten.texte.size(), 1) << warten.texte.join('|').toStdString();
            EXPECT_TRUE(warten.texte.value(0).contains(gehalten));
            // No command was given yet: the start waits.
            EXPECT_TRUE(warten.texte.value(0).endsWith(
                QStringLiteral("\nDer Start wartet, bis sie frei ist.")))
                << warten.texte.value(0).toStdString();
            EXPECT_FALSE(f.isVisible());
            EXPECT_FALSE(f.DBPROJEKT()->IsOpen());
            EXPECT_EQ(labor.ADMINPROG(), QVariant(QStringLiteral("KORVA")));
            sqlite3_exec(halter.Handle(), "ROLLBACK", nullptr, nullptr, nullptr);
        }
        BusyWait::SetTimeoutLimit(0);
        EXPECT_EQ(inhalt(gehalten), vorher);
        EXPECT_EQ(QDir(QFileInfo(labor.ARBEITSKOPIE()).path())
                      .entryList({QStringLiteral("*VELD.mdb*")}, QDir::Files | QDir::Hidden),
                  kopie ? QStringList{QStringLiteral("VELD.mdb")} : QStringList());

        // The copy left there is a plain copy of the project: that project
        // content, with nothing to ask about.
        ScriptedDialogs boxen;
        frmMAINFENSTER f;
        ASSERT_TRUE(f.MDIForm_Load());
        EXPECT_EQ(SHELLLABOR::KENNUNGEN(f.XMDBPFAD()), QStringLiteral("ALT"));
        EXPECT_EQ(labor.ADMINPROG(), QVariant(QStringLiteral("VELD")));
        f.mnuBEENDEN_Click();
        EXPECT_TRUE(boxen.boxes().isEmpty());
    }
}
