// The input window in the real main window, driven by keys sent to the
// control that has the focus: every key reaches the window once, a command
// key is not typed as well, a value left open in the cell editor is stored,
// and the store and discard panels around it.

#include "SHELLLABOR.h"
#include "support/ScriptedDialogs.h"

#include "input/mdiEINGABE.h"
#include "platform/controls/MSFlexGrid.h"
#include "platform/database/Connection.h"
#include "platform/database/Recordset.h"
#include "shell/AUSWAHLDIALOG.h"
#include "shell/EINGABEFENSTER.h"
#include "shell/frmMAINFENSTER.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A real box runs the event loop while it waits for the answer; so do these.
class ModaleBoxen : public ScriptedDialogs {
public:
    int ShowMessage(const QString& prompt, int style, const QString& title,
                    const QString& helpFile, int context) override {
        QCoreApplication::processEvents();
        return ScriptedDialogs::ShowMessage(prompt, style, title, helpFile, context);
    }
};

class Eingabetasten : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(f.MDIForm_Load());
        f.resize(1000, 760);
        f.show();
        QApplication::setActiveWindow(&f);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
        db().Execute(QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (1,'K-1',true)"));
        db().Execute(QStringLiteral("INSERT INTO [E2] ([ID],[VT],[MS]) VALUES (1,0,100)"));
        db().Execute(QStringLiteral(
            "INSERT INTO [E3] ([ID],[I1],[V]) VALUES (1,0,0.1),(1,1,0.2),(1,2,0.3)"));
    }
    void TearDown() override { AUSWAHLDIALOG::ERSETZEN({}); }

    Connection& db() { return *f.DBPROJEKT(); }
    QVariant wert(const QString& sql) {
        Recordset rs(sql, db());
        return rs.Eof() ? QVariant() : rs.Fields(0).Value();
    }

    // File, Open on the active record K-1.
    mdiEINGABE* oeffnen() {
        AUSWAHLDIALOG::ERSETZEN([this](QWidget*) { f.SETZEAUSWAHLMODUS(QStringLiteral("OK")); });
        f.mnuOEFFNEN_Click();
        return EINGABEFENSTER::GELADEN();
    }
    // The readings tab shown by a click, then a click on a cell.
    void zelleklicken(mdiEINGABE& e, int row, int col) {
        auto* reiter = e.SSTab->findChild<QTabBar*>();
        QTest::mouseClick(reiter, Qt::LeftButton, {}, reiter->tabRect(1).center());
        MSFlexGrid& grid = *e.msgFLX.at(0);
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                          grid.visualRect(grid.model()->index(row, col)).center());
    }
    // Keys as the user types them: each to the control that has the focus.
    static void tippen(const QString& text) {
        for (const QChar c : text) QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
    }
    static void taste(Qt::Key key, Qt::KeyboardModifiers mod) {
        QTest::keyClick(QApplication::focusWidget(), key, mod);
    }

    SHELLLABOR labor;
    ModaleBoxen boxen;
    frmMAINFENSTER f;
};

} // namespace

TEST_F(Eingabetasten, ACommandKeyReachesTheWindowOnceAndIsNotTyped) {
    mdiEINGABE* e = oeffnen();
    ASSERT_NE(e, nullptr);
    MSFlexGrid& grid = *e->msgFLX.at(0);
    QLineEdit& editor = *e->txtFLX.at(0);
    f.SETZEBOGEAENDERT(true);
    const QString frage = QStringLiteral("Sollen die Änderungen in Projekt TE0001.00");
    const QString ueberschreiben = QStringLiteral("Soll der vorhandene Datensatz K-1");

    // The identifier field, a field of the general data, the tabs, the grid
    // and its open cell editor: Alt+Q asks once, Ctrl+S asks once.
    const auto fokus = [&](int fall) -> QWidget* {
        switch (fall) {
        case 0:
            QTest::mouseClick(e->txtKEN, Qt::LeftButton);
            return e->txtKEN;
        case 1:
            QTest::mouseClick(e->SSTab->findChild<QTabBar*>(), Qt::LeftButton, {},
                              e->SSTab->findChild<QTabBar*>()->tabRect(0).center());
            QTest::mouseClick(e->txtMS, Qt::LeftButton);
            return e->txtMS;
        case 2:
            e->SSTab->findChild<QTabBar*>()->setFocus(Qt::TabFocusReason);
            return e->SSTab->findChild<QTabBar*>();
        case 3:
            zelleklicken(*e, 3, 4);
            return &grid;
        default:
            zelleklicken(*e, 3, 4);
            tippen(QStringLiteral("5"));
            return &editor;
        }
    };
    for (int fall = 0; fall <= 4; ++fall) {
        SCOPED_TRACE(fall);
        QWidget* ziel = fokus(fall);
        ASSERT_EQ(QApplication::focusWidget(), ziel);
        boxen.clear();
        boxen.expect(vbCancel, frage);
        taste(Qt::Key_Q, Qt::AltModifier);
        EXPECT_EQ(boxen.boxes().size(), 1);
        // Nothing typed: the identifier, the field, the grid's cell and the
        // editor keep their texts, and the grid opened no editor.
        EXPECT_EQ(e->txtKEN->text(), QStringLiteral("K-1"));
        EXPECT_EQ(e->txtMS->text(), QStringLiteral("100"));
        EXPECT_EQ(grid.TextMatrix(3, 4), QStringLiteral("0,30"));
        EXPECT_EQ(editor.isHidden(), fall != 4);
        if (fall == 4) {
            EXPECT_EQ(editor.text(), QStringLiteral("5"));
        }

        boxen.expect(vbNo, ueberschreiben);
        taste(Qt::Key_S, Qt::ControlModifier);
        EXPECT_EQ(boxen.boxes().size(), 2);
        EXPECT_EQ(boxen.pending(), 0);
        EXPECT_EQ(EINGABEFENSTER::GELADEN(), e);
    }
    // The store that was declined had taken the editor's value into its
    // cell, and nothing was written.
    EXPECT_TRUE(editor.isHidden());
    EXPECT_EQ(grid.TextMatrix(3, 4), QStringLiteral("5,00"));
    EXPECT_FLOAT_EQ(
        wert(QStringLiteral("SELECT [V] FROM [E3] WHERE [ID]=1 AND [I1]=2")).toFloat(), 0.3f);
}

TEST_F(Eingabetasten, CtrlSStoresTheValueLeftOpenInTheCellEditor) {
    // A date the check refuses: its message, nothing stored, the editor
    // still open with the text.
    mdiEINGABE* e = oeffnen();
    ASSERT_NE(e, nullptr);
    zelleklicken(*e, 1, 1);
    tippen(QStringLiteral("31.02.04"));
    boxen.expect(vbOK, QStringLiteral("kein gültiges Datums- oder Zeitformat"));
    taste(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(boxen.boxes().size(), 1);
    EXPECT_EQ(EINGABEFENSTER::GELADEN(), e);
    EXPECT_FALSE(e->txtFLX.at(0)->isHidden());
    EXPECT_EQ(e->txtFLX.at(0)->text(), QStringLiteral("31.02.04"));
    EXPECT_TRUE(wert(QStringLiteral("SELECT [DATUM] FROM [E3] WHERE [ID]=1 AND [I1]=0")).isNull());

    // A volume typed without Enter, then Ctrl+S and "Ja": the typed value
    // is stored.
    taste(Qt::Key_A, Qt::ControlModifier);
    taste(Qt::Key_Backspace, Qt::NoModifier);
    taste(Qt::Key_Return, Qt::NoModifier);
    zelleklicken(*e, 2, 4);
    tippen(QStringLiteral("0,66"));
    boxen.expect(vbYes, QStringLiteral("Soll der vorhandene Datensatz K-1"));
    taste(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(EINGABEFENSTER::GELADEN(), nullptr);
    EXPECT_FLOAT_EQ(
        wert(QStringLiteral("SELECT [V] FROM [E3] WHERE [ID]=1 AND [I1]=1")).toFloat(), 0.66f);
    EXPECT_EQ(wert(QStringLiteral("SELECT count(*) FROM [E3] WHERE [ID]=1")).toInt(), 3);
    EXPECT_EQ(boxen.pending(), 0);
}

TEST_F(Eingabetasten, DiscardWithoutAnInputWindowStillLeavesTheInputState) {
    // The window did not come (its load failed and was answered OK), but
    // the input state was entered: panel 9 is the way out.
    f.mnuNEU_Click();
    mdiEINGABE* e = EINGABEFENSTER::GELADEN();
    ASSERT_NE(e, nullptr);
    e->parentWidget()->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_EQ(EINGABEFENSTER::GELADEN(), nullptr);
    ASSERT_FALSE(f.mnuDATEI->menuAction()->isEnabled());
    f.stbMAIN_PanelClick(9);
    EXPECT_FALSE(f.PANELSICHTBAR(8) || f.PANELSICHTBAR(9));
    for (QMenu* menu : {f.mnuDATEI, f.mnuAUSWERTEN, f.mnuEXTRAS})
        EXPECT_TRUE(menu->menuAction()->isEnabled()) << menu->objectName().toStdString();
    EXPECT_TRUE(boxen.boxes().isEmpty());
}

TEST_F(Eingabetasten, TheIdentifierIsCheckedAndLookedUpAsItIsStored) {
    // Blank-only is the one empty identifier; a tab, a line break and a NUL
    // are characters of it, stored and found again exactly.
    const QString nul = QStringLiteral("a") + QChar(0) + QStringLiteral("'b");
    for (const QString& ken : {QStringLiteral("\t"), QStringLiteral(" x\n"), nul}) {
        for (const int runde : {1, 2}) {
            f.mnuNEU_Click();
            mdiEINGABE* e = EINGABEFENSTER::GELADEN();
            ASSERT_NE(e, nullptr);
            e->txtKEN->setText(ken);
            // The second store finds the first and asks before overwriting.
            if (runde == 2) boxen.expect(vbYes, QStringLiteral("Soll der vorhandene Datensatz"));
            QTest::mouseClick(e->txtKEN, Qt::LeftButton);
            taste(Qt::Key_S, Qt::ControlModifier);
            ASSERT_EQ(EINGABEFENSTER::GELADEN(), nullptr);
        }
        Recordset rs(QStringLiteral("SELECT [KEN] FROM [E1] WHERE [AKT]=true"), db());
        ASSERT_EQ(rs.RecordCount(), 1);
        EXPECT_EQ(rs.Value(QStringLiteral("KEN")).toString(), ken);
    }
    EXPECT_EQ(boxen.pending(), 0);
    EXPECT_EQ(boxen.boxes().size(), 3);

    f.mnuNEU_Click();
    EINGABEFENSTER::GELADEN()->txtKEN->setText(QStringLiteral("  "));
    boxen.expect(vbOK, QStringLiteral("Datensatzkennzeichnung fehlt!"));
    taste(Qt::Key_S, Qt::ControlModifier);
    EXPECT_NE(EINGABEFENSTER::GELADEN(), nullptr);
}
