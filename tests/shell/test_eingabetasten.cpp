// The input window in the real main window, driven by keys sent to the
// control that has the focus: every key reaches the window once and a command
// key is not typed as well; the store and discard panels.

#include "HAUPTFENSTERTEST.h"

#include <QLineEdit>
#include <QMenu>
#include <functional>

using Eingabetasten = HAUPTFENSTERTEST;

TEST_F(Eingabetasten, ACommandKeyReachesTheWindowOnceAndIsNotTyped) {
    mdiEINGABE* e = oeffnen();
    ASSERT_NE(e, nullptr);
    MSFlexGrid& grid = *e->msgFLX.at(0);
    QLineEdit& editor = *e->txtFLX.at(0);
    f.SETZEBOGEAENDERT(true);
    // The identifier, a field of the general data, the tabs, the grid and
    // its open cell editor.
    QTabBar* leiste = e->SSTab->findChild<QTabBar*>();
    const std::pair<std::function<void()>, QWidget*> faelle[] = {
        {[&] { QTest::mouseClick(e->txtKEN, Qt::LeftButton); }, e->txtKEN},
        {[&] { QTest::mouseClick(e->txtMS, Qt::LeftButton); }, e->txtMS},
        {[&] { leiste->setFocus(Qt::TabFocusReason); }, leiste},
        {[&] { zelle(*e, 3, 4); }, &grid},
        {[&] { tippen(QStringLiteral("5")); }, &editor},
    };
    for (const auto& [hin, ziel] : faelle) {
        hin();
        SCOPED_TRACE(ziel->metaObject()->className());
        ASSERT_EQ(QApplication::focusWidget(), ziel);
        // One question each (a second one would be unexpected), and no "q".
        boxen.expect(vbCancel, QStringLiteral("Sollen die Änderungen in Projekt TE0001.00"));
        taste(Qt::Key_Q, Qt::AltModifier);
        EXPECT_EQ(e->txtKEN->text(), QStringLiteral("P-1"));
        EXPECT_EQ(e->txtMS->text(), QStringLiteral("100"));
        EXPECT_EQ(grid.TextMatrix(3, 4), QStringLiteral("0,30"));
        EXPECT_EQ(editor.isHidden() ? QStringLiteral("-") : editor.text(),
                  ziel == &editor ? QStringLiteral("5") : QStringLiteral("-"));
        boxen.expect(vbNo, QStringLiteral("Soll der vorhandene Datensatz P-1"));
        taste(Qt::Key_S, Qt::ControlModifier);
    }
}

TEST_F(Eingabetasten, CtrlSStoresTheValueLeftOpenInTheCellEditor) {
    mdiEINGABE* e = oeffnen();
    ASSERT_NE(e, nullptr);
    // A date the check refuses: its message, and the window stays with the
    // editor's text.
    zelle(*e, 1, 1);
    tippen(QStringLiteral("31.02.04"));
    boxen.expect(vbOK, QStringLiteral("kein gültiges Datums- oder Zeitformat"));
    taste(Qt::Key_S, Qt::ControlModifier);
    ASSERT_EQ(EINGABEFENSTER::GELADEN(), e);
    EXPECT_EQ(e->txtFLX.at(0)->isHidden() ? QString() : e->txtFLX.at(0)->text(),
              QStringLiteral("31.02.04"));
    // A volume typed without Enter, then Ctrl+S and "Ja": it is stored.
    e->txtFLX.at(0)->clear();
    taste(Qt::Key_Return);
    zelle(*e, 2, 4);
    tippen(QStringLiteral("0,66"));
    boxen.expect(vbYes, QStringLiteral("Soll der vorhandene Datensatz P-1"));
    taste(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(EINGABEFENSTER::GELADEN(), nullptr);
    EXPECT_FLOAT_EQ(wert(QStringLiteral("SELECT [V] FROM [E3] WHERE [I1]=1")).toFloat(), 0.66f);
}

TEST_F(Eingabetasten, TheInputStateIsLeftThroughItsPanelsOnly) {
    f.mnuNEU->trigger();
    mdiEINGABE* e = EINGABEFENSTER::GELADEN();
    ASSERT_NE(e, nullptr);
    e->txtKEN->setFocus();
    taste(Qt::Key_F4, Qt::ControlModifier);
    taste(Qt::Key_W, Qt::ControlModifier);
    EXPECT_TRUE(EINGABEFENSTER::GELADEN() == e && e->isVisible());
    // Without its window (the load failed), panel 9 still leaves the state.
    e->parentWidget()->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_EQ(EINGABEFENSTER::GELADEN(), nullptr);
    f.stbMAIN_PanelClick(9);
    EXPECT_FALSE(f.PANELSICHTBAR(8) || f.PANELSICHTBAR(9));
    for (QMenu* menu : {f.mnuDATEI, f.mnuAUSWERTEN, f.mnuEXTRAS})
        EXPECT_TRUE(menu->menuAction()->isEnabled()) << menu->objectName().toStdString();
}

TEST_F(Eingabetasten, TheIdentifierIsCheckedAndLookedUpAsItIsStored) {
    // Blanks only are no identifier; a tab and a NUL are characters of it,
    // stored and found again (the second store asks before overwriting).
    for (const QString& ken : {QStringLiteral("\t"), QStringLiteral("a") + QChar(0) + "'b"}) {
        for (const bool zweites : {false, true}) {
            f.mnuNEU_Click();
            EINGABEFENSTER::GELADEN()->txtKEN->setText(ken);
            if (zweites) boxen.expect(vbYes, QStringLiteral("Soll der vorhandene Datensatz"));
            taste(Qt::Key_S, Qt::ControlModifier);
            ASSERT_EQ(EINGABEFENSTER::GELADEN(), nullptr);
        }
        EXPECT_EQ(wert(QStringLiteral("SELECT group_concat([KEN]) FROM [E1] WHERE [AKT]")), ken);
    }
    f.mnuNEU_Click();
    EINGABEFENSTER::GELADEN()->txtKEN->setText(QStringLiteral("  "));
    boxen.expect(vbOK, QStringLiteral("Datensatzkennzeichnung fehlt!"));
    taste(Qt::Key_S, Qt::ControlModifier);
    EXPECT_NE(EINGABEFENSTER::GELADEN(), nullptr);
}
