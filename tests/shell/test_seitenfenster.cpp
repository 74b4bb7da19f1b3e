// The output pages in their windows of the real main window, driven as a
// user does: a page closed through its own window is unloaded, Ctrl+W is the
// page's key, a page unloaded while its code runs outlives that code, and a
// command whose page was closed under it leaves the menus as the close set
// them. The Evaluate menu counts any number of active records.

#include "SHELLLABOR.h"
#include "support/ScriptedDialogs.h"

#include "input/mdiEINGABE.h"
#include "pages/frmANZEIGEN.h"
#include "pages/frmKONTEXT.h"
#include "pages/mdiSEITE1.h"
#include "platform/controls/CommonDialog.h"
#include "platform/controls/Forms.h"
#include "platform/controls/PictureBox.h"
#include "platform/controls/PrinterTarget.h"
#include "platform/database/Connection.h"
#include "platform/database/Recordset.h"
#include "shell/STATUSLEISTE.h"
#include "shell/frmMAINFENSTER.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <functional>

namespace {

// Keys go to the control that has the focus, as the user's keyboard sends
// them.
QWidget* fokus() {
    return QApplication::focusWidget();
}

class Seitenfenster : public ::testing::Test {
public:
    void SetUp() override {
        ASSERT_TRUE(f.MDIForm_Load());
        f.resize(1100, 760);
        f.show();
        f.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
        // One evaluated record with three readings.
        Connection& db = *f.DBPROJEKT();
        db.Execute(QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[KOM],[AKT]) VALUES (1,'P-1','Probe',1)"));
        db.Execute(QStringLiteral("INSERT INTO [E2] ([ID],[VT],[DMAX],[MS],[TMAX]) VALUES (1,0,2,100,1440)"));
        db.Execute(QStringLiteral("INSERT INTO [A1] ([ID],[BONEU],[VELD]) VALUES (1,0,30)"));
        const double t[] = {0, 60, 1440}, v[] = {10, 20, 30};
        for (int i = 0; i < 3; ++i) {
            db.Execute(QStringLiteral("INSERT INTO [E3] ([ID],[I1],[DET],[V]) VALUES (1,?,?,?)"),
                       {i, t[i], v[i]});
            db.Execute(QStringLiteral("INSERT INTO [A2] ([ID],[I],[W]) VALUES (1,?,?)"), {i, v[i]});
        }
        pdf = labor.WURZEL() + QStringLiteral("/seite.pdf");
        Printer().SetOutputFileName(pdf);
    }
    void TearDown() override {
        CommonDialog::SetPrinterScript({});
        Printer().KillDoc();
        Printer().SetOutputFileName(QString());
    }

    mdiSEITE1* seite() {
        return qobject_cast<mdiSEITE1*>(Forms::Find(QStringLiteral("mdiSEITE1")));
    }
    mdiSEITE1* berechnen() {
        // The user's click on the main window activates it again after a
        // dialog.
        f.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&f));
        f.mnuBERECHNEN->trigger();
        return seite();
    }
    // The child windows left once the deferred deletions have run.
    QStringList fenster() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QStringList namen;
        for (const QMdiSubWindow* w : f.MDIBEREICH->subWindowList())
            namen << (w->widget() ? w->widget()->objectName() : QString());
        return namen;
    }
    // Runs `was` at the next turn of the event loop: while the page's code
    // lets events run.
    static void gleich(std::function<void()> was) { QTimer::singleShot(0, qApp, std::move(was)); }
    // Whether the File menu is on and every page panel hidden: what the
    // way back to the start screen leaves.
    bool startansicht() {
        for (int panel = 10; panel <= 15; ++panel)
            if (f.PANELSICHTBAR(panel)) return false;
        return f.MENUAKTIV(QStringLiteral("mnuDATEI"));
    }

    SHELLLABOR labor;
    ScriptedDialogs boxen;
    frmMAINFENSTER f;
    QString pdf;
};

TEST_F(Seitenfenster, APageClosedThroughItsOwnWindowIsUnloadedAndBuiltAfresh) {
    const QStringList start{QStringLiteral("mdiAUTOSTART")};
    const std::function<void(QMdiSubWindow&)> wege[] = {
        [](QMdiSubWindow& w) { w.close(); }, // the close button
        [](QMdiSubWindow& w) { // its system menu's Close
            for (QAction* a : w.systemMenu()->actions())
                if (a->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_F4))) a->trigger();
        },
        [](QMdiSubWindow&) { QTest::keyClick(fokus(), Qt::Key_F4, Qt::ControlModifier); },
    };
    for (const auto& schliessen : wege) {
        QPointer<mdiSEITE1> alt = berechnen();
        ASSERT_TRUE(alt);
        ASSERT_EQ(fokus(), alt.data());
        schliessen(*qobject_cast<QMdiSubWindow*>(alt->parentWidget()));
        // Off the loaded forms at once, the window gone with its page.
        EXPECT_EQ(seite(), nullptr);
        EXPECT_EQ(fenster(), start);
        EXPECT_TRUE(alt.isNull());
        // Neither the chooser nor Print sees it.
        f.stbMAIN_PanelClick(10);
        ASSERT_NE(frmANZEIGEN::GELADEN(), nullptr);
        EXPECT_EQ(frmANZEIGEN::GELADEN()->ANZAHL(), 0);
        frmANZEIGEN::GELADEN()->cmdABBRECHEN->click();
        bool gefragt = false;
        CommonDialog::SetPrinterScript([&](CommonDialog&) { return gefragt = true; });
        f.stbMAIN_PanelClick(11);
        EXPECT_FALSE(gefragt);

        // Calculate builds it again, whole.
        mdiSEITE1* neu = berechnen();
        ASSERT_NE(neu, nullptr);
        EXPECT_TRUE(neu->isVisible());
        EXPECT_EQ(neu->KEN, QStringLiteral("P-1"));
        EXPECT_NE(neu->GRAFIK11(), nullptr);
        ASSERT_NE(neu->TABELLE12(), nullptr);
        f.stbMAIN_PanelClick(15);
        EXPECT_EQ(fenster(), start);
    }

    // The input window has no way out but its panels: the frame's close
    // keys do not close it.
    f.mnuNEU->trigger();
    auto* eingabe = qobject_cast<mdiEINGABE*>(Forms::Find(QStringLiteral("mdiEINGABE")));
    ASSERT_NE(eingabe, nullptr);
    eingabe->txtKEN->setFocus();
    for (const Qt::Key taste : {Qt::Key_F4, Qt::Key_W})
        QTest::keyClick(fokus(), taste, Qt::ControlModifier);
    EXPECT_EQ(Forms::Find(QStringLiteral("mdiEINGABE")), eingabe);
    EXPECT_TRUE(eingabe->parentWidget()->isVisible());
    f.stbMAIN_PanelClick(9);
    EXPECT_TRUE(boxen.boxes().isEmpty());
}

TEST_F(Seitenfenster, CtrlWOnAPageSendsItToTheWordProcessor) {
    labor.SYSTEM.RecordStartedPrograms();
    mdiSEITE1* s = berechnen();
    ASSERT_NE(s, nullptr);
    // From the page and from one of its figures.
    s->picBILD11->setFocus();
    QTest::keyClick(fokus(), Qt::Key_W, Qt::ControlModifier);
    EXPECT_EQ(labor.SYSTEM.OpenedDocuments().size(), 1);
    EXPECT_EQ(seite(), s);
    EXPECT_TRUE(s->parentWidget()->isVisible());
    for (const QString& datei : labor.SYSTEM.OpenedDocuments()) QFile::remove(datei);
    EXPECT_TRUE(boxen.boxes().isEmpty());
}

// Esc, panel 15 and the command keys pressed while the page's code lets
// events run: the page goes when its code has returned, an unfinished sheet
// is not sent, and no command starts inside itself.
TEST_F(Seitenfenster, APageUnloadedWhileItsCodeRunsOutlivesThatCode) {
    struct Fall {
        const char* name;
        // Starts the page's work; `dann` runs while it lets events run.
        std::function<void(Seitenfenster&, std::function<void()> dann)> arbeit;
        std::function<void(Seitenfenster&)> dann;
        bool bleibt; // the page is still open afterwards
    };
    int druckdialoge = 0;
    const auto drucken = [&druckdialoge](Seitenfenster&, std::function<void()> dann) {
        CommonDialog::SetPrinterScript([&druckdialoge, dann](CommonDialog&) {
            if (++druckdialoge == 1) gleich(dann);
            return true;
        });
        QTest::keyClick(fokus(), Qt::Key_P, Qt::ControlModifier);
    };
    const auto esc = [](Seitenfenster&) { QTest::keyClick(fokus(), Qt::Key_Escape); };
    const auto panel15 = [](Seitenfenster& t) {
        QTest::mouseClick(t.f.stbMAIN->Panels(15), Qt::LeftButton);
    };
    const Fall faelle[] = {
        {"Esc while it prints", drucken, esc, false},
        {"panel 15 while it prints", drucken, panel15, false},
        {"Ctrl+P while it prints", drucken,
         [](Seitenfenster&) { QTest::keyClick(fokus(), Qt::Key_P, Qt::ControlModifier); }, true},
        {"panel 15 while its layout is applied",
         [](Seitenfenster& t, std::function<void()> dann) {
             QTest::mouseClick(t.seite()->FORM, Qt::LeftButton, {}, QPoint(5, 5));
             ASSERT_NE(frmKONTEXT::GELADEN(), nullptr);
             gleich(dann);
             frmKONTEXT::GELADEN()->cmdOK->click();
         },
         panel15, false},
        {"Esc while its screenshot is taken",
         [](Seitenfenster& t, std::function<void()> dann) {
             t.boxen.expectInput(QStringLiteral("bild"));
             gleich(dann);
             QTest::keyClick(fokus(), Qt::Key_C, Qt::ControlModifier);
         },
         esc, false},
    };
    for (const Fall& fall : faelle) {
        SCOPED_TRACE(fall.name);
        QFile::remove(pdf);
        druckdialoge = 0;
        QPointer<mdiSEITE1> s = berechnen();
        ASSERT_TRUE(s);
        ASSERT_EQ(fokus(), s.data());
        bool mittendrin = false;
        fall.arbeit(*this, [&] {
            mittendrin = Forms::IsBusy(s);
            fall.dann(*this);
        });
        EXPECT_TRUE(mittendrin);
        EXPECT_LE(druckdialoge, 1);
        EXPECT_FALSE(Printer().Printing());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (fall.bleibt) {
            ASSERT_EQ(seite(), s.data());
            // One sheet, sent once.
            EXPECT_TRUE(QFile::exists(pdf));
            f.stbMAIN_PanelClick(15);
        } else {
            // A sheet begun is not sent.
            EXPECT_FALSE(QFile::exists(pdf));
            EXPECT_TRUE(startansicht());
        }
        EXPECT_EQ(seite(), nullptr);
        EXPECT_EQ(fenster(), QStringList{QStringLiteral("mdiAUTOSTART")});
        EXPECT_TRUE(s.isNull());
        // No error box: at most the screenshot's name was asked.
        for (const ScriptedDialogs::Box& box : boxen.boxes())
            EXPECT_EQ(box.kind, ScriptedDialogs::Kind::Input) << box.prompt.toStdString();
        boxen.clear();
    }
}

// Esc during the pause after Calculate or Recalculate showed the page: the
// command ends without turning the File menu off or the panels on again.
TEST_F(Seitenfenster, ACommandWhosePageClosedUnderItLeavesTheMenusAsTheCloseSetThem) {
    struct Beobachter : QObject {
        bool eventFilter(QObject* objekt, QEvent* ereignis) override {
            if (ereignis->type() == QEvent::Show && objekt->objectName() == QStringLiteral("mdiSEITE1"))
                gleich([] { QTest::keyClick(fokus(), Qt::Key_Escape); });
            return false;
        }
    } beobachter;
    qApp->installEventFilter(&beobachter);
    for (QAction* befehl : {f.mnuBERECHNEN, f.mnuNEUBERECHNEN}) {
        SCOPED_TRACE(befehl->objectName().toStdString());
        f.SETZEBOGEAENDERT(false);
        befehl->trigger();
        EXPECT_EQ(seite(), nullptr);
        EXPECT_TRUE(startansicht());
        EXPECT_TRUE(f.isEnabled());
        EXPECT_FALSE(f.FORTSCHRITTSICHTBAR());
        EXPECT_TRUE(f.BOGEAENDERT());
        EXPECT_EQ(fenster(), QStringList{QStringLiteral("mdiAUTOSTART")});
    }
    qApp->removeEventFilter(&beobachter);
    // Recalculate stored its results all the same.
    Recordset a1(QStringLiteral("SELECT [BONEU] FROM [A1] WHERE [ID]=1"), *f.DBPROJEKT());
    EXPECT_EQ(a1.Value(QStringLiteral("BONEU")).toInt(), 0);
    EXPECT_TRUE(boxen.boxes().isEmpty());
}

TEST_F(Seitenfenster, TheEvaluateMenuCountsMoreActiveRecordsThanSixteenBitsHold) {
    f.DBPROJEKT()->Execute(QStringLiteral(
        "WITH RECURSIVE n(i) AS (SELECT 2 UNION ALL SELECT i+1 FROM n WHERE i<32768) "
        "INSERT INTO [E1] ([ID],[KEN],[AKT]) SELECT i, 'R' || i, 1 FROM n"));
    // Opened with the mouse on the menu bar.
    QMenuBar* leiste = f.menuBar();
    QTest::mouseClick(leiste, Qt::LeftButton, {},
                      leiste->actionGeometry(f.mnuAUSWERTEN->menuAction()).center());
    EXPECT_TRUE(f.mnuAUSWERTEN->isVisible());
    f.mnuAUSWERTEN->hide();
    EXPECT_TRUE(boxen.boxes().isEmpty()) << boxen.prompts().join(QStringLiteral(" | ")).toStdString();
    EXPECT_TRUE(f.mnuMBERECHNEN->isEnabled());
    EXPECT_FALSE(f.mnuBERECHNEN->isEnabled());
    EXPECT_FALSE(f.mnuNEUBERECHNEN->isEnabled());
}

} // namespace
