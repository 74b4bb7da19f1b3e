// The output pages in their windows of the real main window, driven as a
// user does: closed through their own window, Ctrl+W, Esc and panel 15 while
// a page's code runs or in the pause of Calculate, the last page closed,
// restored and minimised, printing with no printer and beside another
// writer of the working copy; Calculate multiple with a
// record never evaluated; and the Evaluate menu with more active records
// than 16 bits hold.

#include "HAUPTFENSTERTEST.h"
#include "support/KEINDRUCKER.h"

#include "pages/frmKONTEXT.h"
#include "platform/controls/PictureBox.h"
#include "platform/database/BusyWait.h"
#include "shell/STATUSLEISTE.h"

#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>
#include <QtTest/qtestspontaneevent.h>
#include <functional>

namespace {

using Seitenfenster = HAUPTFENSTERTEST;

// Runs `was` at the next turn of the event loop: inside code that lets events run.
void gleich(std::function<void()> was) {
    QTimer::singleShot(0, qApp, std::move(was));
}
// Once deferred deletions have run, the start window is the only child window.
bool nurstart(frmMAINFENSTER& f) {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const QList<QMdiSubWindow*> fenster = f.MDIBEREICH->subWindowList();
    return fenster.size() == 1 && fenster[0]->widget()->objectName() == "mdiAUTOSTART";
}
// The way back to the start screen: the start window, File on, no page panel.
void startansicht(frmMAINFENSTER& f) {
    EXPECT_TRUE(nurstart(f));
    for (int panel = 10; panel <= 15; ++panel)
        EXPECT_FALSE(f.PANELSICHTBAR(panel)) << panel;
    EXPECT_TRUE(f.MENUAKTIV(QStringLiteral("mnuDATEI")));
}

} // namespace

TEST_F(Seitenfenster, APageClosedThroughItsOwnWindowIsUnloadedAndBuiltAfresh) {
    // Ctrl+W is the page's key for the word-processor document, not a close.
    mdiSEITE1* s = berechnen();
    ASSERT_NE(s, nullptr);
    s->picBILD11->setFocus();
    taste(Qt::Key_W, Qt::ControlModifier);
    EXPECT_EQ(labor.SYSTEM.OpenedDocuments().size(), 1);
    EXPECT_TRUE(seite() == s && s->isVisible());
    // The close button, then Ctrl+F4 (the Close of the window's system menu).
    for (const bool strgF4 : {false, true}) {
        s = berechnen();
        ASSERT_TRUE(s && QApplication::focusWidget() == s);
        if (strgF4)
            taste(Qt::Key_F4, Qt::ControlModifier);
        else
            s->parentWidget()->close();
        // Off the loaded forms, its window gone: the next Calculate builds it whole.
        EXPECT_EQ(seite(), nullptr);
        EXPECT_TRUE(nurstart(f));
        s = berechnen();
        ASSERT_NE(s, nullptr);
        EXPECT_TRUE(s->isVisible() && s->GRAFIK11() && s->TABELLE12());
        f.stbMAIN_PanelClick(15);
    }
}

// The last page closed through its own window leaves the page view as panel
// 15 does; a page closed while another stays changes nothing else.
TEST_F(Seitenfenster, TheLastPageClosedThroughItsOwnWindowEndsThePageView) {
    ASSERT_NE(berechnen(), nullptr);
    // A second evaluated record joins P-1: Calculate multiple opens the second page.
    f.DBPROJEKT()->Execute(QStringLiteral(
        "INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (2,'P-2',1);"
        "INSERT INTO [E2] ([ID],[VT],[DMAX],[MS],[TMAX]) VALUES (2,0,2,100,1440);"
        "INSERT INTO [A1] ([ID],[BONEU],[VELD]) VALUES (2,0,30)"));
    emit f.mnuAUSWERTEN->aboutToShow();
    boxen.expectInput(QStringLiteral("Serie"));
    f.mnuMBERECHNEN->trigger();
    QWidget* mseite = Forms::Find(QStringLiteral("mdiMSEITE1"));
    ASSERT_TRUE(mseite && seite());
    mseite->parentWidget()->close();
    EXPECT_TRUE(f.PANELSICHTBAR(10) && f.PANELSICHTBAR(15) && seite());
    EXPECT_FALSE(f.MENUAKTIV(QStringLiteral("mnuDATEI")) ||
                 f.MENUAKTIV(QStringLiteral("mnuEXTRAS")));
    seite()->parentWidget()->close();
    startansicht(f);
    EXPECT_TRUE(f.MENUAKTIV(QStringLiteral("mnuEXTRAS")));
}

// Restored, a page's window lies within the client area, its title bar and
// buttons in view, and the wheel scrolls the page inside it down to its
// footer and across to the footer's end, the window staying where it is;
// minimised, it shows the page's caption; maximised again, it fills the
// client area without scroll bars.
TEST_F(Seitenfenster, ARestoredPageShowsItsLayoutAndAMinimisedOneItsCaption) {
    mdiSEITE1* s = berechnen();
    ASSERT_NE(s, nullptr);
    auto* fenster = qobject_cast<QMdiSubWindow*>(s->parentWidget());
    fenster->showNormal();
    QApplication::processEvents();
    QWidget* bereich = f.MDIBEREICH->viewport();
    const QRect lage = fenster->geometry();
    EXPECT_TRUE(bereich->rect().contains(lage));
    const QRect figuren = s->picBILD12->geometry().united(s->picBILD11->geometry());
    EXPECT_TRUE(s->FORM->rect().contains(figuren));
    // The wheel turned over the page, as the window system delivers it.
    const QPoint ueber = s->mapTo(&f, QPoint(20, 20));
    for (const QPoint drehung : {QPoint(0, -120), QPoint(-120, 0)}) {
        for (int i = 0; i < 40; ++i) {
            QWheelEvent rad(ueber, f.mapToGlobal(ueber), QPoint(), drehung, Qt::NoButton,
                            Qt::NoModifier, Qt::NoScrollPhase, false);
            QSpontaneKeyEvent::setSpontaneous(&rad);
            QCoreApplication::instance()->notify(f.windowHandle(), &rad);
        }
    }
    EXPECT_EQ(fenster->geometry(), lage);
    EXPECT_TRUE(s->FORM->visibleRegion().contains(s->FORM->rect().bottomRight()));
    fenster->showMinimized();
    EXPECT_EQ(fenster->windowTitle(), QStringLiteral("P-1"));
    fenster->showMaximized();
    EXPECT_EQ(fenster->windowTitle(), QString());
    QApplication::processEvents();
    EXPECT_EQ(fenster->geometry(), bereich->rect());
    EXPECT_FALSE(f.MDIBEREICH->verticalScrollBar()->isVisible());
    // Maximised, the page shows its whole surface, corner to corner.
    const QRegion sichtbar = s->FORM->visibleRegion();
    EXPECT_TRUE(sichtbar.contains(QPoint()) && sichtbar.contains(s->FORM->rect().bottomRight()));
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Korvalind"));
}

// Calculate multiple refuses an active record that was never evaluated by
// itself, as the selection dialog does: no page, nothing asked or written.
TEST_F(Seitenfenster, CalculateMultipleRefusesARecordWithoutCurrentResults) {
    // Active beside P-1 without an A1 row, as an import leaves it.
    f.DBPROJEKT()->Execute(QStringLiteral(
        "INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (2,'P-2',1);"
        "INSERT INTO [E2] ([ID],[VT],[DMAX],[MS],[TMAX]) VALUES (2,0,2,100,1440)"));
    emit f.mnuAUSWERTEN->aboutToShow();
    const QString zeilen = QStringLiteral(
        "SELECT (SELECT count(*) FROM [M1]) || '/' || (SELECT count(*) FROM [A2]) || '/' || "
        "(SELECT group_concat([ID] || ':' || [BONEU] || ':' || ifnull([VELD],'')) FROM [A1])");
    const QVariant vorher = wert(zeilen);
    boxen.expect(vbOK);
    f.mnuMBERECHNEN->trigger();
    ASSERT_EQ(boxen.boxes().size(), 1);
    EXPECT_EQ(boxen.boxes()[0].prompt,
              QStringLiteral("Datensatz P-2 muß zuerst einzeln ausgewertet werden!"));
    EXPECT_EQ(boxen.boxes()[0].style, 48);
    EXPECT_EQ(boxen.boxes()[0].title, QStringLiteral("&MBerechnen"));
    EXPECT_EQ(wert(zeilen), vorher);
    EXPECT_EQ(Forms::Find(QStringLiteral("mdiMSEITE1")), nullptr);
    startansicht(f);
    EXPECT_TRUE(f.isEnabled() && !f.FORTSCHRITTSICHTBAR());
}

// Esc, panel 15 and Ctrl+P pressed while a page's code lets events run: the
// page goes when its code has returned, nothing of a begun sheet reaches the
// printer, and no command starts inside itself.
TEST_F(Seitenfenster, APageUnloadedWhileItsCodeRunsOutlivesThatCode) {
    const auto drucken = [] { taste(Qt::Key_P, Qt::ControlModifier); };
    const auto esc = [] { taste(Qt::Key_Escape); };
    const auto panel15 = [this] { QTest::mouseClick(f.stbMAIN->Panels(15), Qt::LeftButton); };
    const auto layout = [this] { // a click on the page, OK in its dialog
        QTest::mouseClick(seite()->FORM, Qt::LeftButton, {}, QPoint(5, 5));
        frmKONTEXT::GELADEN()->cmdOK->click();
    };
    const auto bildschirmfoto = [this] {
        boxen.expectInput(QStringLiteral("bild"));
        taste(Qt::Key_C, Qt::ControlModifier);
    };
    const struct {
        std::function<void()> arbeit, dann;
        bool gedruckt;
    } faelle[] = {{drucken, esc, false},
                  {drucken, panel15, false},
                  {drucken, drucken, true},
                  {layout, panel15, false},
                  {bildschirmfoto, esc, false}};
    for (const auto& fall : faelle) {
        SCOPED_TRACE(&fall - faelle);
        QFile::remove(pdf);
        QPointer<mdiSEITE1> s = berechnen();
        ASSERT_TRUE(s && QApplication::focusWidget() == s);
        bool mittendrin = false, ungesendet = false;
        gleich([&] {
            mittendrin = Forms::IsBusy(s);
            ungesendet = !QFile::exists(pdf);
            fall.dann();
        });
        fall.arbeit();
        EXPECT_TRUE(mittendrin && ungesendet);
        // The sheet is sent whole or not at all.
        EXPECT_FALSE(Printer().Printing());
        EXPECT_EQ(QFile::exists(pdf), fall.gedruckt);
        if (fall.gedruckt) f.stbMAIN_PanelClick(15);
        startansicht(f);
        EXPECT_TRUE(s.isNull());
    }
}

TEST_F(Seitenfenster, ACommandWhosePageClosedUnderItLeavesTheMenusAsTheCloseSetThem) {
    // Esc as soon as the page shows, in the pause that follows.
    struct Beobachter : QObject {
        bool eventFilter(QObject* objekt, QEvent* ereignis) override {
            if (ereignis->type() == QEvent::Show && objekt->objectName() == "mdiSEITE1")
                gleich([] { taste(Qt::Key_Escape); });
            return false;
        }
    } beobachter;
    qApp->installEventFilter(&beobachter);
    for (QAction* befehl : {f.mnuBERECHNEN, f.mnuNEUBERECHNEN}) {
        SCOPED_TRACE(befehl->objectName().toStdString());
        befehl->trigger();
        startansicht(f);
        EXPECT_TRUE(f.isEnabled() && !f.FORTSCHRITTSICHTBAR());
    }
    qApp->removeEventFilter(&beobachter);
}

TEST_F(Seitenfenster, WithoutAPrinterPanel11AndCtrlPShowOneBoxAndPrintNothing) {
    mdiSEITE1* s = berechnen();
    ASSERT_NE(s, nullptr);
    const KEINDRUCKER keiner;
    const QString text = QStringLiteral("Es ist kein Drucker installiert!");
    boxen.expect(vbOK, text);
    QTest::mouseClick(f.stbMAIN->Panels(11), Qt::LeftButton);
    s->picBILD11->setFocus();
    boxen.expect(vbOK, text);
    taste(Qt::Key_P, Qt::ControlModifier);
    for (const ScriptedDialogs::Box& box : boxen.boxes())
        EXPECT_TRUE(box.prompt == text && box.title == "Drucken" && box.style == 48);
    EXPECT_FALSE(druckdialoge || Printer().Printing() || QFile::exists(pdf));
}

// A page opened while another program held the working copy could not keep
// its scales. With the copy held again, three prints wait for nothing and
// show no box, the screen's redraw after each sheet neither, and each sends
// its sheet.
TEST_F(Seitenfenster, APageWhoseScalesWereNotKeptPrintsWithoutWaiting) {
    Connection anderer(f.DBPROJEKT()->Path());
    anderer.Execute(QStringLiteral("BEGIN IMMEDIATE"));
    BusyWait::SetTimeoutLimit(300);
    boxen.expect(vbOK, QStringLiteral("VB-Fehler: 3218"));
    ASSERT_NE(berechnen(), nullptr);
    anderer.Execute(QStringLiteral("COMMIT; BEGIN IMMEDIATE"));
    f.DBPROJEKT()->Busy().Forget();
    for (int druck = 1; druck <= 3; ++druck) {
        QFile::remove(pdf);
        taste(Qt::Key_P, Qt::ControlModifier);
        EXPECT_TRUE(QFile::exists(pdf)) << druck;
    }
    EXPECT_FALSE(f.DBPROJEKT()->Busy().Waited());
    EXPECT_EQ(boxen.boxes().size(), 1);
    anderer.Execute(QStringLiteral("COMMIT"));
    BusyWait::SetTimeoutLimit(0);
}

TEST_F(Seitenfenster, TheEvaluateMenuCountsMoreActiveRecordsThanSixteenBitsHold) {
    f.DBPROJEKT()->Execute(QStringLiteral(
        "WITH RECURSIVE n(i) AS (SELECT 2 UNION ALL SELECT i+1 FROM n WHERE i<32768) "
        "INSERT INTO [E1] ([ID],[KEN],[AKT]) SELECT i, 'R' || i, 1 FROM n"));
    // Opened with the mouse on the menu bar.
    QTest::mouseClick(f.menuBar(), Qt::LeftButton, {},
                      f.menuBar()->actionGeometry(f.mnuAUSWERTEN->menuAction()).center());
    EXPECT_TRUE(f.mnuAUSWERTEN->isVisible());
    f.mnuAUSWERTEN->hide();
    EXPECT_TRUE(f.mnuMBERECHNEN->isEnabled());
    EXPECT_FALSE(f.mnuBERECHNEN->isEnabled() || f.mnuNEUBERECHNEN->isEnabled());
}
