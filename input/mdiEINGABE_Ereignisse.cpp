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
#include "platform/runtime/Variant.h"
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

void mdiEINGABE::Form_KeyDown(int& KeyCode, int Shift) {
    // A key taken as a command is cleared: it goes no further, so the
    // focused control neither types it nor opens a cell editor with it.
    if (KeyCode == kDezimaltaste) {
        KeyCode = 0;
        DEZIMALTASTE(QApplication::focusWidget());
        return;
    }
    if (KeyCode == 'Q' && (Shift & kAlt)) {
        KeyCode = 0;
        frmMAIN().mnuBEENDEN_Click();
        return;
    }
    if (!(Shift & kCtrl)) return;
    const int raster = m_FLX.empty() ? -1 : rasterIndex(QApplication::focusWidget());
    if (KeyCode == 'C' && raster >= 0) {
        KeyCode = 0;
        FLX(raster).BEARBEITEN(-1, 0);
    } else if (KeyCode == 'S') {
        KeyCode = 0;
        frmMAIN().stbMAIN_PanelClick(8);
    } else if (KeyCode == 'V' && raster >= 0) {
        KeyCode = 0;
        FLX(raster).EINFUEGEN(-1);
        // The pasted texts are shown in their columns' formats at once.
        FLX(0).AKTUALISIEREN();
    }
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
    case QEvent::ShortcutOverride:
    case QEvent::KeyRelease:
        // Every key press is preceded by the check for shortcuts: a new key
        // is on its way, or the last one is over.
        m_taste = nullptr;
        return false;
    case QEvent::KeyPress: {
        // A key that its control leaves goes on to the control's containers:
        // the window has seen it at the control already. Nothing else
        // forgets the key, not even a box that runs the event loop while
        // the key is on its way.
        if (ereignis == m_taste) return false;
        m_taste = ereignis;
        auto* taste = static_cast<QKeyEvent*>(ereignis);
        const int gedrueckt = KeyCodeOf(*taste);
        int code = gedrueckt;
        Form_KeyDown(code, ShiftState(taste->modifiers()));
        if (gedrueckt != 0 && code == 0) {
            // A command: the control never gets the key (and may be on its
            // way out, when a store has closed the window).
            taste->accept();
            return true;
        }
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
    // Blanks only, as the store trims: what passes here is what is stored.
    if (!Trim(txtKEN->text()).isEmpty()) return true;
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

bool mdiEINGABE::ZELLEUEBERNEHMEN() {
    for (size_t i = 0; i < m_FLX.size() && i < txtFLX.size(); ++i) {
        if (txtFLX[i]->isHidden()) continue;
        FLX(int(i)).EINFUEGEN(0);
        // A refused value keeps its editor open, its message shown.
        if (!txtFLX[i]->isHidden()) return false;
        // The elapsed times follow a committed date or time, as after Enter.
        FLX(0).AKTUALISIEREN();
    }
    return true;
}

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
