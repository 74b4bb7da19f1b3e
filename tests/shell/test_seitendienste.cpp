// What the main window offers the evaluation commands and the pages: its
// enabled state, panel bevels, the active child's name, the frame object of
// the header and footer, and the loading and showing of pages.

#include "SHELLLABOR.h"
#include "support/ScriptedDialogs.h"

#include "platform/controls/Forms.h"
#include "platform/controls/OutputObject.h"
#include "shell/STATUSLEISTE.h"
#include "shell/frmMAINFENSTER.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <gtest/gtest.h>

TEST(Seitendienste, EnabledStateBevelsActiveChildAndFrame) {
    SHELLLABOR labor;
    ScriptedDialogs boxen;
    frmMAINFENSTER f;
    ASSERT_TRUE(f.MDIForm_Load());
    f.resize(1000, 700);
    f.show();

    f.SETZEAKTIV(false);
    EXPECT_FALSE(f.isEnabled());
    EXPECT_FALSE(f.AKTIV());
    f.SETZEAKTIV(true);
    EXPECT_TRUE(f.AKTIV());

    f.SETZEPANELBEVEL(12, PANEL::sbrInset);
    EXPECT_EQ(f.stbMAIN->Panels(12)->Bevel(), PANEL::sbrInset);
    EXPECT_EQ(f.PANELBEVEL(12), 1);
    f.SETZEPANELBEVEL(12, PANEL::sbrRaised);
    EXPECT_EQ(f.PANELBEVEL(12), 2);
    EXPECT_EQ(f.PANELBEVEL(99), 0);

    auto* kind = new QWidget;
    kind->setObjectName(QStringLiteral("mdiSEITE7"));
    QMdiSubWindow* fenster = f.MDIBEREICH->addSubWindow(kind);
    fenster->show();
    f.MDIBEREICH->setActiveSubWindow(fenster);
    EXPECT_EQ(f.AKTIVESKIND(), QStringLiteral("mdiSEITE7"));

    // The frame spans the client area, in twips.
    OutputObject* rahmen = f.RAHMENOBJEKT();
    ASSERT_NE(rahmen, nullptr);
    EXPECT_EQ(rahmen->ObjectKind(), OutputObject::Kind::Form);
    const QWidget* flaeche = f.MDIBEREICH->viewport();
    EXPECT_NEAR(rahmen->ScaleWidth(), flaeche->width() * 1440.0 / flaeche->logicalDpiX(), 1.0);
    EXPECT_NEAR(rahmen->ScaleHeight(), flaeche->height() * 1440.0 / flaeche->logicalDpiY(), 1.0);

    // A page that no one knows is not loaded; a loaded form is not loaded
    // again, and showing it maximises it.
    EXPECT_FALSE(f.SEITELADEN(QStringLiteral("mdiPSEITE1")));
    Forms::Load(kind);
    EXPECT_FALSE(f.SEITELADEN(QStringLiteral("mdiSEITE7")));
    f.SEITEZEIGEN(QStringLiteral("mdiSEITE7"));
    EXPECT_TRUE(fenster->isMaximized());
    EXPECT_TRUE(boxen.boxes().isEmpty());
}
