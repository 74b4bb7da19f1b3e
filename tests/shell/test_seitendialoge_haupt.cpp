// The page dialogs in the real main window: the layout dialog and the
// chooser act on the page that is the main window's child.

#include "SHELLLABOR.h"
#include "support/ScriptedDialogs.h"

#include "pages/frmANZEIGEN.h"
#include "pages/frmKONTEXT.h"
#include "pages/mdiSEITE1.h"
#include "platform/controls/Forms.h"
#include "platform/controls/PictureBox.h"
#include "shell/frmMAINFENSTER.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

TEST(SeitendialogeImHauptfenster, LayoutAndChooserActOnTheChildPage) {
    SHELLLABOR labor;
    SHELLLABOR::DATENSATZ(labor.PROJEKTDATENBANK(), 1, QStringLiteral("P-1"), true);
    ScriptedDialogs boxen;
    frmMAINFENSTER f;
    ASSERT_TRUE(f.MDIForm_Load());
    f.resize(1000, 700);
    f.show();
    ASSERT_TRUE(f.SEITELADEN(QStringLiteral("mdiSEITE1")));
    f.SEITEZEIGEN(QStringLiteral("mdiSEITE1"));
    auto* seite = qobject_cast<mdiSEITE1*>(Forms::Find(QStringLiteral("mdiSEITE1")));
    ASSERT_NE(seite, nullptr);

    // The page's background click opens the layout dialog; while it has the
    // focus the page is still the child it acts on.
    QTest::mouseClick(seite->FORM, Qt::LeftButton, {}, QPoint(5, 5));
    frmKONTEXT* layout = frmKONTEXT::GELADEN();
    ASSERT_NE(layout, nullptr);
    EXPECT_EQ(layout->parentWidget(), &f);
    layout->activateWindow();
    QApplication::processEvents();
    EXPECT_EQ(f.AKTIVESKIND(), QStringLiteral("mdiSEITE1"));
    layout->chkBOKF->click();
    layout->cmdOK->click();
    EXPECT_FALSE(seite->HBOKF);
    EXPECT_FALSE(seite->HBOKFS);

    // The chooser proposes the page and shows it maximised.
    seite->parentWidget()->showNormal();
    frmANZEIGEN::ZEIGEN();
    frmANZEIGEN* auswahl = frmANZEIGEN::GELADEN();
    ASSERT_NE(auswahl, nullptr);
    EXPECT_EQ(auswahl->txtSEITE->text(), QStringLiteral("1"));
    auswahl->cmdOK->click();
    EXPECT_TRUE(seite->parentWidget()->isMaximized());
    EXPECT_EQ(f.MDIBEREICH->currentSubWindow(), seite->parentWidget());
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(frmANZEIGEN::GELADEN(), nullptr);
}
