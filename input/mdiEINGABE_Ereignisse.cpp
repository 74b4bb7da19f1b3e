// The input window's keys, the events of its grid group and the check of
// the identifier.

#include "input/mdiEINGABE.h"

#include "data/HAUPTFENSTER.h"
#include "input/clsFLX.h"
#include "platform/controls/KeyCodes.h"
#include "platform/controls/MSFlexGrid.h"
#include "platform/controls/PictureBox.h"
#include "platform/controls/ShiftState.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/Zeichensatz.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTimer>

namespace {

constexpr int kCtrl = 2;
constexpr int kAlt = 4;
constexpr int kDezimaltaste = 110;

// The character a typed key gives, as the events of the runtime number it.
int zeichencode(const QKeyEvent& taste) {
    if (taste.text().isEmpty()) return 0;
    const QChar c = taste.text().at(0);
    const int code = Cp1252Code(c);
    return code >= 0 ? code : int(c.unicode());
}

} // namespace

// Keys ---------------------------------------------------------------------------------

int mdiEINGABE::rasterIndex(const QObject* steuerelement) const {
    for (size_t i = 0; i < msgFLX.size(); ++i)
        if (msgFLX[i] == steuerelement) return int(i);
    return -1;
}

void mdiEINGABE::Form_KeyDown(int KeyCode, int Shift) {
    if (KeyCode == kDezimaltaste) {
        DEZIMALTASTE(QApplication::focusWidget());
        return;
    }
    if (KeyCode == 'Q' && (Shift & kAlt)) {
        frmMAIN().mnuBEENDEN_Click();
        return;
    }
    if (!(Shift & kCtrl)) return;
    const int raster = rasterIndex(QApplication::focusWidget());
    if (KeyCode == 'C' && raster >= 0 && !m_FLX.empty()) FLX(raster).BEARBEITEN(-1, 0);
    if (KeyCode == 'S') frmMAIN().stbMAIN_PanelClick(8);
    if (KeyCode == 'V' && raster >= 0 && !m_FLX.empty()) FLX(raster).EINFUEGEN(-1);
}

void mdiEINGABE::DEZIMALTASTE(QObject* ziel) {
    if (!ziel) return;
    // The key types the locale's separator in place of its own character.
    const QString trenner = frmMAIN().DEZIMALPUNKT();
    if (trenner.isEmpty()) return;
    const int taste = trenner == QLatin1String(",") ? Qt::Key_Comma : Qt::Key_Period;
    QKeyEvent druck(QEvent::KeyPress, taste, Qt::NoModifier, trenner);
    QApplication::sendEvent(ziel, &druck);
    QKeyEvent los(QEvent::KeyRelease, taste, Qt::NoModifier, trenner);
    QApplication::sendEvent(ziel, &los);
}

bool mdiEINGABE::eventFilter(QObject* objekt, QEvent* ereignis) {
    switch (ereignis->type()) {
    case QEvent::KeyRelease:
        m_taste = nullptr;
        return false;
    case QEvent::KeyPress: {
        // A key that its control leaves goes on to the containers, some of
        // which are watched too: the window sees each key once.
        auto* taste = static_cast<QKeyEvent*>(ereignis);
        if (ereignis == m_taste && taste->key() == m_tastencode) return false;
        m_taste = ereignis;
        m_tastencode = taste->key();
        QTimer::singleShot(0, this, [this] { m_taste = nullptr; });
        const int code = KeyCodeOf(*taste);
        if (code == kDezimaltaste) {
            DEZIMALTASTE(objekt);
            return true;
        }
        Form_KeyDown(code, ShiftState(taste->modifiers()));
        // The key goes on to the control, which may be gone now (a store
        // closes the window): only a control still there gets it.
        for (size_t i = 0; i < txtFLX.size(); ++i)
            if (objekt == txtFLX[i] && !taste->text().isEmpty() && !m_FLX.empty()) {
                int zeichen = zeichencode(*taste);
                txtFLX_KeyPress(int(i), zeichen);
            }
        return false;
    }
    case QEvent::FocusOut: {
        if (objekt != txtKEN || m_pruefen) return false;
        // Leaving the field for another control of the window; a menu, a box
        // or another window taking the focus is no leaving.
        const Qt::FocusReason grund = static_cast<QFocusEvent*>(ereignis)->reason();
        if (grund != Qt::TabFocusReason && grund != Qt::BacktabFocusReason &&
            grund != Qt::MouseFocusReason && grund != Qt::OtherFocusReason)
            return false;
        bool abbrechen = false;
        txtKEN_Validate(abbrechen);
        return false;
    }
    case QEvent::MouseMove:
        for (size_t i = 0; i < picFLX.size(); ++i)
            if (objekt == picFLX[i]) {
                const auto* maus = static_cast<QMouseEvent*>(ereignis);
                const MSFlexGrid& grid = *msgFLX[i];
                picFLX_MouseMove(int(i), float(grid.PixelsToTwipsX(int(maus->position().x()))),
                                 float(grid.PixelsToTwipsY(int(maus->position().y()))));
            }
        return false;
    default:
        return false;
    }
}

// The identifier ----------------------------------------------------------------------

bool mdiEINGABE::KENNUNGPRUEFEN() {
    if (!txtKEN->text().trimmed().isEmpty()) return true;
    m_pruefen = true;
    if (m_SPRACHE == 1)
        MsgBox(QStringLiteral("File name is missing!"), vbExclamation, QStringLiteral("Data error"));
    else
        MsgBox(QStringLiteral("Datensatzkennzeichnung fehlt!"), vbExclamation,
               QStringLiteral("Datenfehler"));
    m_pruefen = false;
    return false;
}

void mdiEINGABE::txtKEN_Validate(bool& Cancel) {
    if (KENNUNGPRUEFEN()) return;
    Cancel = true;
    // The focus has moved on by now: it comes back once the move is over.
    QTimer::singleShot(0, txtKEN, [feld = txtKEN] { feld->setFocus(Qt::OtherFocusReason); });
}

// The grid group ----------------------------------------------------------------------
// Every event works on the grid editor of its control's index; a refresh is
// always that of grid editor 0. Events that come after the unload find no
// editor and do nothing.

void mdiEINGABE::msgFLX_Click(int Index) {
    if (m_FLX.empty()) return;
    FLX(Index).EINFUEGEN(0);
    FLX(0).AKTUALISIEREN();
}

void mdiEINGABE::msgFLX_DblClick(int Index) {
    if (m_FLX.empty()) return;
    FLX(Index).BEARBEITEN(0, 0);
}

void mdiEINGABE::msgFLX_KeyPress(int Index, int KeyAscii) {
    if (m_FLX.empty()) return;
    FLX(Index).BEARBEITEN(KeyAscii, 0);
    FLX(0).AKTUALISIEREN();
}

void mdiEINGABE::msgFLX_MouseDown(int Index, float X) {
    if (m_FLX.empty()) return;
    FLX(Index).BEARBEITEN(-2, X);
}

void mdiEINGABE::msgFLX_MouseUp(int Index) {
    if (m_FLX.empty()) return;
    FLX(Index).EINFUEGEN(-2);
}

void mdiEINGABE::msgFLX_MouseMove(int Index, float X, float Y) {
    if (m_FLX.empty()) return;
    FLX(Index).TOOLTIP(X, Y);
}

void mdiEINGABE::msgFLX_Scroll(int Index) {
    if (m_FLX.empty()) return;
    FLX(Index).EINFUEGEN(0);
    FLX(Index).BESCHRIFTEN();
}

void mdiEINGABE::txtFLX_KeyPress(int Index, int& KeyAscii) {
    if (m_FLX.empty()) return;
    FLX(Index).EINFUEGEN(KeyAscii);
    if (KeyAscii == 13) FLX(0).AKTUALISIEREN();
}

void mdiEINGABE::picFLX_MouseMove(int Index, float X, float Y) {
    if (m_FLX.empty()) return;
    FLX(Index).TOOLTIP(X, Y);
}

void mdiEINGABE::cmdH_Click(int Index) {
    if (m_FLX.empty()) return;
    FLX(Index).EINFUEGEN(0);
    FLX(Index).ZEILEEINFUEGEN();
}

void mdiEINGABE::cmdW_Click(int Index) {
    if (m_FLX.empty()) return;
    FLX(Index).EINFUEGEN(0);
    FLX(Index).ZEILEENTFERNEN();
}

void mdiEINGABE::cmdK_Click(int Index) {
    if (m_FLX.empty()) return;
    FLX(Index).BEARBEITEN(-1, 0);
}

void mdiEINGABE::cmdE_Click(int Index) {
    if (m_FLX.empty()) return;
    FLX(Index).EINFUEGEN(-1);
}
