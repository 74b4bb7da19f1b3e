// The output pages in their windows of the real main window, driven as a
// user does: closed through their own window, Ctrl+W, Esc and panel 15
// while a page's code runs, Esc in the pause of Calculate; and the Evaluate
// menu with more active records than 16 bits hold.

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
#include <functional>
#include <gtest/gtest.h>

namespace {

// Keys go to the control that has the focus.
void taste(Qt::Key k, Qt::KeyboardModifiers m = {}) {
    QTest::keyClick(QApplication::focusWidget(), k, m);
}
// Runs `was` at the next turn of the event loop: inside the code that lets events run.
void gleich(std::function<void()> was) {
    QTimer::singleShot(0, qApp, std::move(was));
}

class Seitenfenster : public ::testing::Test {
public:
    void SetUp() override {
        ASSERT_TRUE(f.MDIForm_Load());
        f.resize(1100, 760);
        f.show();
        Connection& db = *f.DBPROJEKT();
        db.Execute(QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (1,'P-1',1)"));
        db.Execute(QStringLiteral(
            "INSERT INTO [E2] ([ID],[VT],[DMAX],[MS],[TMAX]) VALUES (1,0,2,100,1440)"));
        db.Execute(QStringLiteral("INSERT INTO [A1] ([ID],[BONEU],[VELD]) VALUES (1,0,30)"));
        db.Execute(QStringLiteral(
            "INSERT INTO [E3] ([ID],[I1],[DET],[V]) VALUES (1,0,0,10),(1,1,60,20),(1,2,1440,30)"));
        Printer().SetOutputFileName(pdf);
    }
    void TearDown() override {
        CommonDialog::SetPrinterScript({});
        Printer().SetOutputFileName(QString());
    }
    mdiSEITE1* seite() {
        return qobject_cast<mdiSEITE1*>(Forms::Find(QStringLiteral("mdiSEITE1")));
    }
    // Calculate, from a main window the user has clicked active again.
    mdiSEITE1* berechnen() {
        f.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&f));
        f.mnuBERECHNEN->trigger();
        return seite();
    }
    // The child windows left once deferred deletions have run.
    QStringList fenster() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QStringList namen;
        for (const QMdiSubWindow* w : f.MDIBEREICH->subWindowList())
            namen << w->widget()->objectName();
        return namen;
    }
    // What the way back to the start screen leaves: File on, no page panel.
    bool startansicht() {
        for (int panel = 10; panel <= 15; ++panel)
            if (f.PANELSICHTBAR(panel)) return false;
        return f.MENUAKTIV(QStringLiteral("mnuDATEI"));
    }

    SHELLLABOR labor;
    ScriptedDialogs boxen;
    frmMAINFENSTER f;
    QString pdf = labor.WURZEL() + QStringLiteral("/seite.pdf");
    const QStringList start{QStringLiteral("mdiAUTOSTART")};
};

TEST_F(Seitenfenster, APageClosedThroughItsOwnWindowIsUnloadedAndBuiltAfresh) {
    const std::function<void(QMdiSubWindow&)> wege[] = {
        [](QMdiSubWindow& w) { w.close(); }, // the close button
        [](QMdiSubWindow& w) {               // the system menu's Close
            for (QAction* a : w.systemMenu()->actions())
                if (a->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_F4))) a->trigger();
        },
        [](QMdiSubWindow&) { taste(Qt::Key_F4, Qt::ControlModifier); },
    };
    for (const auto& schliessen : wege) {
        QPointer<mdiSEITE1> alt = berechnen();
        ASSERT_TRUE(alt && QApplication::focusWidget() == alt);
        schliessen(*qobject_cast<QMdiSubWindow*>(alt->parentWidget()));
        EXPECT_EQ(seite(), nullptr);
        EXPECT_EQ(fenster(), start);
        EXPECT_TRUE(alt.isNull());
        // Neither the chooser nor Print sees it.
        f.stbMAIN_PanelClick(10);
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
        EXPECT_TRUE(neu->GRAFIK11() && neu->TABELLE12());
        f.stbMAIN_PanelClick(15);
    }
    // The input window has no way out but its panels.
    f.mnuNEU->trigger();
    QWidget* eingabe = Forms::Find(QStringLiteral("mdiEINGABE"));
    ASSERT_NE(eingabe, nullptr);
    qobject_cast<mdiEINGABE*>(eingabe)->txtKEN->setFocus();
    taste(Qt::Key_F4, Qt::ControlModifier);
    taste(Qt::Key_W, Qt::ControlModifier);
    EXPECT_TRUE(Forms::IsLoaded(eingabe) && eingabe->isVisible());
    f.stbMAIN_PanelClick(9);
    EXPECT_TRUE(boxen.boxes().isEmpty());
}

TEST_F(Seitenfenster, CtrlWOnAPageSendsItToTheWordProcessor) {
    labor.SYSTEM.RecordStartedPrograms();
    mdiSEITE1* s = berechnen();
    ASSERT_NE(s, nullptr);
    s->picBILD11->setFocus();
    taste(Qt::Key_W, Qt::ControlModifier);
    ASSERT_EQ(labor.SYSTEM.OpenedDocuments().size(), 1);
    QFile::remove(labor.SYSTEM.OpenedDocuments().first());
    EXPECT_EQ(seite(), s);
    EXPECT_TRUE(s->isVisible());
    EXPECT_TRUE(boxen.boxes().isEmpty());
}

// Esc, panel 15 and Ctrl+P pressed while a page's code lets events run: the
// page goes when its code has returned, a begun sheet is not sent, and no
// command starts inside itself.
TEST_F(Seitenfenster, APageUnloadedWhileItsCodeRunsOutlivesThatCode) {
    int druckdialoge = 0;
    const auto drucken = [&](std::function<void()> dann) {
        CommonDialog::SetPrinterScript([&druckdialoge, dann](CommonDialog&) {
            if (++druckdialoge == 1) gleich(dann);
            return true;
        });
        taste(Qt::Key_P, Qt::ControlModifier);
    };
    const auto esc = [] { taste(Qt::Key_Escape); };
    const auto panel15 = [this] { QTest::mouseClick(f.stbMAIN->Panels(15), Qt::LeftButton); };
    const struct {
        const char* name;
        std::function<void(std::function<void()>)> arbeit;
        std::function<void()> dann;
        bool bleibt;
    } faelle[] = {
        {"Esc while it prints", drucken, esc, false},
        {"panel 15 while it prints", drucken, panel15, false},
        {"Ctrl+P while it prints", drucken, [] { taste(Qt::Key_P, Qt::ControlModifier); }, true},
        {"panel 15 while its layout is applied",
         [this](std::function<void()> dann) {
             QTest::mouseClick(seite()->FORM, Qt::LeftButton, {}, QPoint(5, 5));
             gleich(dann);
             frmKONTEXT::GELADEN()->cmdOK->click();
         },
         panel15, false},
        {"Esc while its screenshot is taken",
         [this](std::function<void()> dann) {
             boxen.expectInput(QStringLiteral("bild"));
             gleich(dann);
             taste(Qt::Key_C, Qt::ControlModifier);
         },
         esc, false},
    };
    for (const auto& fall : faelle) {
        SCOPED_TRACE(fall.name);
        QFile::remove(pdf);
        druckdialoge = 0;
        QPointer<mdiSEITE1> s = berechnen();
        ASSERT_TRUE(s && QApplication::focusWidget() == s);
        bool mittendrin = false;
        fall.arbeit([&] {
            mittendrin = Forms::IsBusy(s);
            fall.dann();
        });
        EXPECT_TRUE(mittendrin);
        EXPECT_LE(druckdialoge, 1);
        EXPECT_FALSE(Printer().Printing());
        // The sheet is sent whole or not at all.
        EXPECT_EQ(QFile::exists(pdf), fall.bleibt);
        if (fall.bleibt) f.stbMAIN_PanelClick(15);
        EXPECT_TRUE(startansicht());
        EXPECT_EQ(fenster(), start);
        EXPECT_TRUE(s.isNull());
        // No error box: at most the screenshot's name was asked.
        for (const ScriptedDialogs::Box& box : boxen.boxes())
            EXPECT_EQ(box.kind, ScriptedDialogs::Kind::Input) << box.prompt.toStdString();
        boxen.clear();
    }
}

TEST_F(Seitenfenster, ACommandWhosePageClosedUnderItLeavesTheMenusAsTheCloseSetThem) {
    // Esc as soon as the page shows, in the pause that follows.
    struct Beobachter : QObject {
        bool eventFilter(QObject* objekt, QEvent* ereignis) override {
            if (ereignis->type() == QEvent::Show &&
                objekt->objectName() == QStringLiteral("mdiSEITE1"))
                gleich([] { taste(Qt::Key_Escape); });
            return false;
        }
    } beobachter;
    qApp->installEventFilter(&beobachter);
    for (QAction* befehl : {f.mnuBERECHNEN, f.mnuNEUBERECHNEN}) {
        SCOPED_TRACE(befehl->objectName().toStdString());
        f.SETZEBOGEAENDERT(false);
        befehl->trigger();
        EXPECT_EQ(fenster(), start);
        EXPECT_TRUE(startansicht());
        EXPECT_TRUE(f.isEnabled());
        EXPECT_FALSE(f.FORTSCHRITTSICHTBAR());
        EXPECT_TRUE(f.BOGEAENDERT());
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
    EXPECT_TRUE(boxen.boxes().isEmpty())
        << boxen.prompts().join(QStringLiteral(" | ")).toStdString();
    EXPECT_TRUE(f.mnuMBERECHNEN->isEnabled());
    EXPECT_FALSE(f.mnuBERECHNEN->isEnabled() || f.mnuNEUBERECHNEN->isEnabled());
}

} // namespace
