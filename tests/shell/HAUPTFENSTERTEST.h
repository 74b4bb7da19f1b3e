#pragma once

// The real main window of a German laboratory, loaded, shown and active, for
// tests that drive it as a user does: record 1 "P-1" active, with its general
// data, three readings and a result; the print dialog answered Print, into a
// PDF file; message boxes that let events run while they wait, as real ones do,
// and go without an answer when the program closes them meanwhile.

#include "SHELLLABOR.h"
#include "support/ScriptedDialogs.h"

#include "input/mdiEINGABE.h"
#include "pages/mdiSEITE1.h"
#include "platform/controls/CommonDialog.h"
#include "platform/controls/Forms.h"
#include "platform/controls/MSFlexGrid.h"
#include "platform/controls/PrinterTarget.h"
#include "platform/database/Connection.h"
#include "platform/database/Recordset.h"
#include "shell/AUSWAHLDIALOG.h"
#include "shell/EINGABEFENSTER.h"
#include "shell/frmMAINFENSTER.h"

#include <QAction>
#include <QApplication>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <utility>

class HAUPTFENSTERTEST : public ::testing::Test {
protected:
    struct ModaleBoxen : ScriptedDialogs {
        int ShowMessage(const QString& p, int s, const QString& t, const QString& h,
                        int c) override {
            QCoreApplication::processEvents();
            const int geschlossen = closings();
            const int antwort = ScriptedDialogs::ShowMessage(p, s, t, h, c);
            // Closed meanwhile by the program (the run ended), it has no answer.
            return closings() == geschlossen ? antwort : 0;
        }
        QString ShowInput(const QString& p, const QString& t, const QString& d) override {
            QCoreApplication::processEvents();
            const int geschlossen = closings();
            const QString antwort = ScriptedDialogs::ShowInput(p, t, d);
            return closings() == geschlossen ? antwort : QString();
        }
    };
    void SetUp() override {
        ASSERT_TRUE(f.MDIForm_Load());
        f.resize(1100, 760);
        f.show();
        f.DBPROJEKT()->Execute(QStringLiteral(
            "INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (1,'P-1',1);"
            "INSERT INTO [E2] ([ID],[VT],[DMAX],[MS],[TMAX]) VALUES (1,0,2,100,1440);"
            "INSERT INTO [A1] ([ID],[BONEU],[VELD]) VALUES (1,0,30);"
            "INSERT INTO [E3] ([ID],[I1],[DET],[V]) VALUES (1,0,0,.1),(1,1,60,.2),(1,2,1440,.3)"));
        Printer().SetOutputFileName(pdf);
        CommonDialog::SetPrinterScript([this](CommonDialog&) { return ++druckdialoge, true; });
        aktivieren();
    }
    void TearDown() override {
        CommonDialog::SetPrinterScript({});
        Printer().SetOutputFileName(QString());
    }
    // The user clicks the main window active.
    void aktivieren() {
        f.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    }
    // Keys, each to the control that has the focus.
    static void taste(Qt::Key k, Qt::KeyboardModifiers m = {}) {
        QTest::keyClick(QApplication::focusWidget(), k, m);
    }
    static void tippen(const QString& text) {
        for (const QChar c : text)
            QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
    }
    QVariant wert(const QString& sql) {
        Recordset rs(sql, *f.DBPROJEKT());
        return rs.Eof() ? QVariant() : rs.Fields(0).Value();
    }
    // File, Open on the active record.
    mdiEINGABE* oeffnen() {
        AUSWAHLDIALOG::ERSETZEN([this](QWidget*) { f.SETZEAUSWAHLMODUS(QStringLiteral("OK")); });
        f.mnuOEFFNEN_Click();
        AUSWAHLDIALOG::ERSETZEN({});
        return EINGABEFENSTER::GELADEN();
    }
    // A click on the readings' tab of the input window, then on a cell.
    static void zelle(mdiEINGABE& e, int row, int col) {
        auto* reiter = e.SSTab->findChild<QTabBar*>();
        QTest::mouseClick(reiter, Qt::LeftButton, {}, reiter->tabRect(1).center());
        MSFlexGrid& grid = *e.msgFLX.at(0);
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                          grid.visualRect(grid.model()->index(row, col)).center());
    }
    static mdiSEITE1* seite() {
        return qobject_cast<mdiSEITE1*>(Forms::Find(QStringLiteral("mdiSEITE1")));
    }
    // Calculate, from the main window clicked active again.
    mdiSEITE1* berechnen() {
        aktivieren();
        f.mnuBERECHNEN->trigger();
        return seite();
    }

    SHELLLABOR labor;
    ModaleBoxen boxen;
    frmMAINFENSTER f;
    const QString pdf = labor.WURZEL() + QStringLiteral("/seite.pdf");
    int druckdialoge = 0; // print dialogs shown, each answered Print
};
