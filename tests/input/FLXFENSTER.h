#pragma once

// A window that holds a grid editor the way the input window does: the grid,
// the heading picture over it, the floating text box and a combo box, and
// the input window's handlers of their events (grid click, double-click,
// typed key, mouse down, up and move, scroll; keys typed in the text box;
// Ctrl+C and Ctrl+V seen by the window before the grid).

#include "input/clsFLX.h"
#include "platform/controls/MSFlexGrid.h"
#include "platform/controls/OutputObject.h"
#include "platform/controls/PictureBox.h"
#include "platform/runtime/Zeichensatz.h"
#include "support/ScriptedDialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QTest>
#include <QVariantList>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

class FLXFENSTER : public QWidget {
public:
    MSFlexGrid* msgFLX = new MSFlexGrid(this);
    PictureBox* picFLX = new PictureBox(this);
    QLineEdit* txtFLX = new QLineEdit(this);
    QComboBox* cboFLX = new QComboBox(this);
    clsFLX FLX;
    // The picture's drawing since the last clear.
    PrimitiveLog protokoll;

    FLXFENSTER() {
        resize(700, 400);
        msgFLX->setGeometry(20, 30, 600, 300);
        picFLX->SetRecorder(&protokoll);
        // The headings are centred by their width in the picture's own font,
        // so the picture has the grid's font as the window gives it.
        picFLX->SetFont(StdFont(QStringLiteral("Arial"), 10));
        // The editors are invisible until a cell is edited.
        txtFLX->hide();
        cboFLX->hide();
        QObject::connect(msgFLX, &MSFlexGrid::Click, this, [this] {
            FLX.EINFUEGEN(0);
            FLX.AKTUALISIEREN();
        });
        QObject::connect(msgFLX, &MSFlexGrid::DblClick, this, [this] { FLX.BEARBEITEN(0, 0); });
        QObject::connect(msgFLX, &MSFlexGrid::KeyPress, this, [this](int taste) {
            FLX.BEARBEITEN(taste, 0);
            FLX.AKTUALISIEREN();
        });
        QObject::connect(msgFLX, &MSFlexGrid::MouseDown, this,
                         [this](int, int, float x, float) { FLX.BEARBEITEN(-2, x); });
        QObject::connect(msgFLX, &MSFlexGrid::MouseUp, this,
                         [this](int, int, float, float) { FLX.EINFUEGEN(-2); });
        QObject::connect(msgFLX, &MSFlexGrid::MouseMove, this,
                         [this](int, int, float x, float y) { FLX.TOOLTIP(x, y); });
        QObject::connect(msgFLX, &MSFlexGrid::Scroll, this, [this] {
            FLX.EINFUEGEN(0);
            FLX.BESCHRIFTEN();
        });
        txtFLX->installEventFilter(this);
        msgFLX->installEventFilter(this);
    }

    // Binds like the input window: the grid, the text box (the combo box
    // too when asked), the picture.
    void binden(bool mitAuswahl = false) {
        FLX.EFLX(msgFLX);
        FLX.ETXT(txtFLX);
        if (mitAuswahl) FLX.ECBO(cboFLX);
        FLX.EPIC(picFLX);
    }

    // The readings grid of the input window.
    void eingaberaster() {
        binden();
        FLX.ELSB(QVariantList{15, 15, 15, 15, 15, 15});
        FLX.ELST1(QStringList{"Lfd.", "Datum", "Uhrzeit", "Zeitdiff.", "Wasservolumen", "Temp."});
        FLX.ELST2(QStringList{"Nr.", "[TT.MM.JJ]", "[hh:mm:ss]", "[min]", "[cm³]", "[°C]"});
        FLX.ELSTTT(QStringList{"", "", "", "", "", ""});
        FLX.ELSTYP(QVariantList{1, 4, 5, 6, 0, 0});
        FLX.ELFORMAT(QStringList{"#0", "dd/mm/yy", "hh:mm:ss", "#0.0", "#0.00", "#0.00"});
        FLX.ELA(QVariantList{1, 2, 2, 2, 2, 2});
        FLX.EDET(0);
        FLX.SCHRIFTEINSTELLUNGEN(QString(), 10, false, false, false, 0);
        FLX.BESCHRIFTEN();
    }

    // The centre of a cell in the grid's viewport.
    QPoint mitte(int row, int col) const {
        return msgFLX->visualRect(msgFLX->model()->index(row, col)).center();
    }
    // A point at a fraction of a cell's width, in the viewport.
    QPoint anteil(int row, int col, double breite) const {
        const QRect r = msgFLX->visualRect(msgFLX->model()->index(row, col));
        return QPoint(r.left() + int(r.width() * breite), r.center().y());
    }

    void klick(int row, int col) {
        QTest::mouseClick(msgFLX->viewport(), Qt::LeftButton, {}, mitte(row, col));
    }
    void doppelklick(int row, int col) {
        klick(row, col);
        QTest::mouseDClick(msgFLX->viewport(), Qt::LeftButton, {}, mitte(row, col));
        QTest::mouseRelease(msgFLX->viewport(), Qt::LeftButton, {}, mitte(row, col));
    }
    // Presses at one point, drags with the button held and releases at another.
    void ziehen(const QPoint& von, const QPoint& bis) {
        QTest::mousePress(msgFLX->viewport(), Qt::LeftButton, {}, von);
        QMouseEvent bewegung(QEvent::MouseMove, bis, msgFLX->viewport()->mapToGlobal(bis),
                             Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(msgFLX->viewport(), &bewegung);
        QTest::mouseRelease(msgFLX->viewport(), Qt::LeftButton, {}, bis);
    }
    void bewegen(const QPoint& nach) {
        QMouseEvent bewegung(QEvent::MouseMove, nach, msgFLX->viewport()->mapToGlobal(nach),
                             Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(msgFLX->viewport(), &bewegung);
    }
    // Types on the grid (it must have the focus).
    void tippen(const QString& text) {
        msgFLX->setFocus();
        QTest::keyClicks(msgFLX, text);
    }

    // The cell's rectangle in the window.
    // The cell's rectangle in the window, with its grid lines.
    QRect zelleImFenster(int row, int col) const {
        const QPoint ecke(msgFLX->columnViewportPosition(col), msgFLX->rowViewportPosition(row));
        return QRect(msgFLX->viewport()->mapTo(this, ecke),
                     QSize(msgFLX->columnWidth(col), msgFLX->rowHeight(row)));
    }

protected:
    bool eventFilter(QObject* objekt, QEvent* ereignis) override {
        if (ereignis->type() != QEvent::KeyPress) return false;
        auto* taste = static_cast<QKeyEvent*>(ereignis);
        if (objekt == txtFLX && !taste->text().isEmpty()) {
            const int code = Cp1252Code(taste->text().at(0));
            const int zeichen = code >= 0 ? code : int(taste->text().at(0).unicode());
            FLX.EINFUEGEN(zeichen);
            if (zeichen == 13) FLX.AKTUALISIEREN();
        } else if (objekt == msgFLX && taste->modifiers().testFlag(Qt::ControlModifier)) {
            if (taste->key() == Qt::Key_C) FLX.BEARBEITEN(-1, 0);
            if (taste->key() == Qt::Key_V) FLX.EINFUEGEN(-1);
        }
        return false;
    }
};

// A test with the scripted dialogs and a fixed locale, German or C.
class FLXTest : public ::testing::Test {
protected:
    void SetUp() override { deutsch(); }
    void TearDown() override { QLocale::setDefault(QLocale::c()); }
    static void deutsch() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    static void c() { QLocale::setDefault(QLocale::c()); }

    // The texts of a grid column, data rows only.
    static QStringList spalte(const MSFlexGrid& grid, int col) {
        QStringList texte;
        for (int r = grid.FixedRows(); r < grid.Rows(); ++r)
            texte << grid.TextMatrix(r, col);
        return texte;
    }

    ScriptedDialogs dialoge;
};

inline QVariant Integer(int16_t wert) {
    return QVariant::fromValue<int16_t>(wert);
}
