// The status bar as a user meets it: tool tips on hover, clicks on a panel,
// and a width that never makes the main window wider than its screen.

#include "SHELLLABOR.h"
#include "support/ScriptedDialogs.h"

#include "shell/STATUSLEISTE.h"
#include "shell/frmMAINFENSTER.h"

#include <QHelpEvent>
#include <QScreen>
#include <QTest>
#include <QToolTip>
#include <gtest/gtest.h>

namespace {
// The tool tip that hovering the middle of a panel shows: the help event
// goes, as Qt's own hover timer sends it, to the widget under the point.
QString tipp(frmMAINFENSTER& f, int index) {
    QToolTip::hideText();
    const PANEL* panel = f.stbMAIN->Panels(index);
    const QPoint imFenster = panel->mapTo(&f, panel->rect().center());
    QWidget* ziel = f.childAt(imFenster);
    if (!ziel) return QStringLiteral("<nothing under the point>");
    QHelpEvent hilfe(QEvent::ToolTip, ziel->mapFrom(&f, imFenster), f.mapToGlobal(imFenster));
    QApplication::sendEvent(ziel, &hilfe);
    return QToolTip::text();
}

void befehlspanelsZeigen(frmMAINFENSTER& f) {
    for (int i = 8; i <= 15; ++i)
        f.SETZEPANELSICHTBAR(i, true);
    QApplication::processEvents();
}
} // namespace

TEST(Statusleiste, HoveringAPanelShowsItsToolTipAndAClickStillReachesTheBar) {
    SHELLLABOR labor;
    ScriptedDialogs boxen;
    frmMAINFENSTER f;
    ASSERT_TRUE(f.MDIForm_Load());
    f.SETZEPANELSICHTBAR(8, true);
    QApplication::processEvents();
    EXPECT_EQ(tipp(f, 1), labor.PROJEKTSPFAD());
    EXPECT_EQ(tipp(f, 2), f.stbMAIN->Panels(2)->ToolTipText());
    EXPECT_EQ(tipp(f, 8), QStringLiteral("Eingabedaten speichern"));
    QToolTip::hideText();

    // A click on the panel itself goes on to the status bar.
    QList<int> geklickt;
    QObject::connect(f.stbMAIN, &STATUSLEISTE::PANELGEKLICKT,
                     [&](int index) { geklickt << index; });
    PANEL* ok = f.stbMAIN->Panels(8);
    QTest::mouseClick(ok, Qt::LeftButton, Qt::NoModifier, ok->rect().center());
    EXPECT_EQ(geklickt, QList<int>({8}));
    EXPECT_TRUE(boxen.boxes().isEmpty());
}

TEST(Statusleiste, TheWindowAndItsStatusBarFitTheScreen) {
    SHELLLABOR labor;
    ScriptedDialogs boxen;
    frmMAINFENSTER f;
    ASSERT_TRUE(f.MDIForm_Load());
    const QRect frei = f.screen()->availableGeometry();
    EXPECT_TRUE(frei.contains(f.frameGeometry()));
    befehlspanelsZeigen(f);
    EXPECT_LE(f.stbMAIN->minimumSizeHint().width(), f.width());
    EXPECT_LE(f.minimumSizeHint().width(), frei.width());
    EXPECT_LE(f.stbMAIN->width(), f.width());
    // What does not fit is cut at the right edge; the spacer gives way first.
    EXPECT_EQ(f.stbMAIN->Panels(7)->width(), 0);
    const PANEL* letztes = f.stbMAIN->Panels(15);
    EXPECT_GT(f.stbMAIN->PanelLinks(15) + letztes->width(), f.stbMAIN->width());
    // A hidden panel takes no room: its right neighbour moves up.
    const int links10 = f.stbMAIN->PanelLinks(10);
    f.SETZEPANELSICHTBAR(9, false);
    QApplication::processEvents();
    EXPECT_EQ(f.stbMAIN->PanelLinks(10), f.stbMAIN->PanelLinks(9));
    EXPECT_LT(f.stbMAIN->PanelLinks(10), links10);

    // The normal size, too, lies within the screen.
    f.showNormal();
    QApplication::processEvents();
    EXPECT_TRUE(frei.contains(f.frameGeometry()))
        << f.frameGeometry().width() << "x" << f.frameGeometry().height() << "+"
        << f.frameGeometry().x() << "+" << f.frameGeometry().y() << " in " << frei.width() << "x"
        << frei.height();
    EXPECT_TRUE(boxen.boxes().isEmpty());
}

// A notice that fits stays in its place in the row; one too long beside the
// input window's panels OK and Abbrechen stands whole above the panels,
// which keep their places; a cleared line makes the bar one row again.
TEST(Statusleiste, ANoticeStaysReadableBesideTheInputWindowsPanels) {
    SHELLLABOR labor;
    ScriptedDialogs boxen;
    frmMAINFENSTER f;
    ASSERT_TRUE(f.MDIForm_Load());
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    PANEL* hinweis = f.stbMAIN->Panels(7);
    const int leiste = f.stbMAIN->height();
    QStringList namen;
    for (int i = 1; i <= 40; ++i)
        namen << QStringLiteral("T-%1").arg(i);
    const struct {
        QString text;
        bool eingabe, oben;
    } faelle[] = {{"Gespeichert.", false, false},
                  {"Von anderen übernommen: " + namen.join(", "), true, true},
                  {"", true, false}};
    for (const auto& fall : faelle) {
        SCOPED_TRACE(fall.text.toStdString());
        f.SETZEPANELSICHTBAR(8, fall.eingabe);
        f.SETZEPANELSICHTBAR(9, fall.eingabe);
        f.HINWEISEN(fall.text, fall.text);
        for (int runde = 0; runde < 5; ++runde)
            QApplication::processEvents();
        EXPECT_EQ(hinweis->Text(), fall.text);
        for (const PANEL* panel : {f.stbMAIN->Panels(6), f.stbMAIN->Panels(8)})
            EXPECT_TRUE(!panel->Visible() || !hinweis->geometry().intersects(panel->geometry()));
        EXPECT_LE(hinweis->heightForWidth(hinweis->width()), hinweis->height());
        EXPECT_EQ(hinweis->y() < f.stbMAIN->Panels(6)->y(), fall.oben);
    }
    EXPECT_EQ(f.stbMAIN->height(), leiste);
}
