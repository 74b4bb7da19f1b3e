// The status bar's presses and the main window's services to the other
// windows: menus and panels by name, the progress bar of the start screen.

#include "SHELLLABOR.h"
#include "support/ScriptedDialogs.h"

#include "shell/STATUSLEISTE.h"
#include "shell/frmMAINFENSTER.h"
#include "shell/mdiAUTOSTART.h"

#include <QAction>
#include <QMenu>
#include <QProgressBar>
#include <QTest>
#include <gtest/gtest.h>

TEST(Statusleiste, APressInsetsTheCommandPanelAndPauses) {
    SHELLLABOR labor;
    ScriptedDialogs boxen;
    frmMAINFENSTER f;
    ASSERT_TRUE(f.MDIForm_Load());
    f.SETZEPANELSICHTBAR(8, true);
    f.SETZEPANELSICHTBAR(9, true);
    QApplication::processEvents();
    PANEL* ok = f.stbMAIN->Panels(8);
    f.stbMAIN_MouseDown(ok->mapTo(f.stbMAIN, ok->rect().center()));
    EXPECT_EQ(ok->Bevel(), PANEL::sbrInset);
    EXPECT_EQ(f.stbMAIN->Panels(9)->Bevel(), PANEL::sbrRaised);
    EXPECT_EQ(labor.SYSTEM.Sleeps(), QList<int>({250}));
    f.stbMAIN_PanelClick(8);
    EXPECT_EQ(ok->Bevel(), PANEL::sbrRaised);
    EXPECT_EQ(MousePointer(), vbDefault);

    // Outside the command panels: the pause, no bevel.
    f.stbMAIN_MouseDown(f.stbMAIN->Panels(2)->mapTo(f.stbMAIN, QPoint(3, 3)));
    EXPECT_EQ(labor.SYSTEM.Sleeps(), QList<int>({250, 250}));
    for (int i = 8; i <= 15; ++i)
        EXPECT_EQ(f.stbMAIN->Panels(i)->Bevel(), PANEL::sbrRaised) << i;
    EXPECT_TRUE(boxen.boxes().isEmpty());
}

TEST(Statusleiste, AClickOnTheBarReachesThePanelHandler) {
    SHELLLABOR labor;
    ScriptedDialogs boxen;
    frmMAINFENSTER f;
    ASSERT_TRUE(f.MDIForm_Load());
    f.SETZEPANELSICHTBAR(15, true);
    QApplication::processEvents();
    QList<int> geklickt;
    QObject::connect(f.stbMAIN, &STATUSLEISTE::PANELGEKLICKT,
                     [&](int index) { geklickt << index; });
    const PANEL* schliessen = f.stbMAIN->Panels(15);
    const QPoint punkt(f.stbMAIN->PanelLinks(15) + schliessen->width() / 2,
                       f.stbMAIN->height() / 2);
    QTest::mouseClick(f.stbMAIN, Qt::LeftButton, Qt::NoModifier, punkt);
    EXPECT_EQ(geklickt, QList<int>({15}));
    EXPECT_EQ(schliessen->Bevel(), PANEL::sbrRaised);
    EXPECT_EQ(labor.SYSTEM.Sleeps(), QList<int>({250}));
    // A hidden panel takes no clicks: its place belongs to the spacer now.
    f.SETZEPANELSICHTBAR(15, false);
    QApplication::processEvents();
    QTest::mouseClick(f.stbMAIN, Qt::LeftButton, Qt::NoModifier, punkt);
    EXPECT_EQ(geklickt, QList<int>({15, 7}));
}

TEST(Dienste, MenusPanelsAndProgressBarByName) {
    SHELLLABOR labor;
    ScriptedDialogs boxen;
    frmMAINFENSTER f;
    ASSERT_TRUE(f.MDIForm_Load());
    HAUPTFENSTER& h = frmMAIN();
    ASSERT_EQ(&h, static_cast<HAUPTFENSTER*>(&f));

    h.SETZEMENUAKTIV(QStringLiteral("mnuDATEI"), false);
    EXPECT_FALSE(f.mnuDATEI->menuAction()->isEnabled());
    EXPECT_FALSE(h.MENUAKTIV(QStringLiteral("mnuDATEI")));
    h.SETZEMENUAKTIV(QStringLiteral("mnuMBERECHNEN"), true);
    EXPECT_TRUE(f.mnuMBERECHNEN->isEnabled());
    h.SETZEMENUAKTIV(QStringLiteral("mnuDATEI"), true);
    EXPECT_TRUE(h.MENUAKTIV(QStringLiteral("mnuDATEI")));

    EXPECT_EQ(h.PANELTEXT(2), QStringLiteral("TE0001.00"));
    EXPECT_FALSE(h.PANELSICHTBAR(10));
    h.SETZEPANELSICHTBAR(10, true);
    EXPECT_TRUE(h.PANELSICHTBAR(10));

    h.SETZEFORTSCHRITTSICHTBAR(true);
    h.SETZEFORTSCHRITT(65);
    EXPECT_TRUE(h.FORTSCHRITTSICHTBAR());
    EXPECT_EQ(f.AUTOSTART()->pgbBERECHNEN->value(), 65);
    EXPECT_EQ(h.FORTSCHRITT(), 65);
    h.SETZEFORTSCHRITTSICHTBAR(false);
    EXPECT_FALSE(h.FORTSCHRITTSICHTBAR());

    h.SETZEAUSWAHLMODUS(QStringLiteral("O"));
    EXPECT_EQ(h.AUSWAHLMODUS(), QStringLiteral("O"));
    EXPECT_EQ(h.FENSTER(), &f);
}
