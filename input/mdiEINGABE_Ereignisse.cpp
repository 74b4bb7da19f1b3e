// The input window's keys, the events of its grid group and the check of
// the identifier.

#include "input/mdiEINGABE.h"

#include "data/HAUPTFENSTER.h"
#include "input/clsFLX.h"
#include "platform/controls/Forms.h"
#include "platform/controls/KeyCodes.h"
#include "platform/controls/MSFlexGrid.h"
#include "platform/controls/PictureBox.h"
#include "platform/controls/ShiftState.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/Variant.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScopedValueRollback>

namespace {

constexpr int kCtrl = 2;
constexpr int kAlt = 4;
constexpr int kDezimaltaste = 110;

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
    const Forms::Busy beschaeftigt(this);
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
    const int raster = geladen() ? rasterIndex(QApplication::focusWidget()) : -1;
    if (KeyCode == 'C' && raster >= 0) {
        KeyCode = 0;
        FLX(raster).BEARBEITEN(-1, 0);
    } else if (KeyCode == 'S') {
        KeyCode = 0;
        frmMAIN().stbMAIN_PanelClick(8);
    } else if (KeyCode == 'V' && raster >= 0) {
        KeyCode = 0;
        FLX(raster).EINFUEGEN(-1);
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
        if (!Forms::IsLoaded(this)) return false;
        // The commands let events run and show boxes: the window outlives
        // them, and a key that finds it unloaded afterwards goes no further.
        const Forms::Busy beschaeftigt(this);
        auto* taste = static_cast<QKeyEvent*>(ereignis);
        const int gedrueckt = KeyCodeOf(*taste);
        const int zeichen = KeyAsciiOf(*taste);
        int code = gedrueckt;
        Form_KeyDown(code, ShiftState(taste->modifiers()));
        if (gedrueckt != 0 && code == 0) {
            // A command: the control never gets the key. The grid's own
            // key press came with every Ctrl command that types a control
            // character (Ctrl+C, Ctrl+V, Ctrl+S): it refreshes the grid
            // after the command, as it did when those keys reached it.
            const int raster = rasterIndex(objekt);
            if (raster >= 0 && zeichen >= 0 && zeichen < 32 && Forms::IsLoaded(this))
                msgFLX_KeyPress(raster, zeichen);
            taste->accept();
            return true;
        }
        for (size_t i = 0; i < txtFLX.size(); ++i)
            if (objekt == txtFLX[i] && zeichen >= 0) {
                int KeyAscii = zeichen;
                txtFLX_KeyPress(int(i), KeyAscii);
            }
        if (Forms::IsLoaded(this)) return false;
        taste->accept();
        return true;
    }
    case QEvent::FocusOut: {
        if (objekt != txtKEN || m_pruefen || !Forms::IsLoaded(this)) return false;
        const Forms::Busy beschaeftigt(this);
        // The user leaving the field for another control of the window (a
        // menu, a box or another window taking the focus is no leaving) is
        // checked. The program handing the focus on within the action (a
        // commit gives it to the grid) is no leaving: without an identifier
        // the field keeps it, silently, so that one action gives one box.
        const Qt::FocusReason grund = static_cast<QFocusEvent*>(ereignis)->reason();
        bool abbrechen = false;
        if (grund == Qt::TabFocusReason || grund == Qt::BacktabFocusReason ||
            grund == Qt::MouseFocusReason)
            txtKEN_Validate(abbrechen);
        else if (grund == Qt::OtherFocusReason)
            abbrechen = Trim(txtKEN->text()).isEmpty();
        if (abbrechen && Forms::IsLoaded(this)) {
            // Back at once, before the rest of the action (the click's
            // release, keys typed meanwhile) reaches the other control; the
            // move back is no leaving either.
            const QScopedValueRollback<bool> zurueck(m_pruefen, true);
            txtKEN->activateWindow();
            txtKEN->setFocus(Qt::OtherFocusReason);
        }
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
    const Forms::Busy beschaeftigt(this);
    // The box takes the focus and gives it back: no leaving of the field.
    const QScopedValueRollback<bool> pruefen(m_pruefen, true);
    if (m_SPRACHE == 1)
        MsgBox(QStringLiteral("File name is missing!"), vbExclamation, QStringLiteral("Data error"));
    else
        MsgBox(QStringLiteral("Datensatzkennzeichnung fehlt!"), vbExclamation,
               QStringLiteral("Datenfehler"));
    return false;
}

void mdiEINGABE::txtKEN_Validate(bool& Cancel) {
    if (!KENNUNGPRUEFEN()) Cancel = true;
}

// The grid group ----------------------------------------------------------------------
// Every event works on the grid editor of its control's index; a refresh is
// always that of grid editor 0. Each step may show a box, in which the
// window can be unloaded (the session ends): the window waits for its
// running code (Busy), and the code stops at its next step. Events that come
// after the unload do nothing.

bool mdiEINGABE::geladen() const {
    return !m_FLX.empty() && Forms::IsLoaded(this);
}

bool mdiEINGABE::ZELLEUEBERNEHMEN() {
    if (!geladen()) return false;
    const Forms::Busy beschaeftigt(this);
    for (size_t i = 0; i < m_FLX.size() && i < txtFLX.size(); ++i) {
        if (txtFLX[i]->isHidden()) continue;
        FLX(int(i)).EINFUEGEN(0);
        // A refused value keeps its editor open, its message shown.
        if (!geladen() || !txtFLX[i]->isHidden()) return false;
        // The elapsed times follow a committed date or time, as after Enter.
        FLX(0).AKTUALISIEREN();
    }
    return geladen();
}

void mdiEINGABE::msgFLX_Click(int Index) {
    if (!geladen()) return;
    const Forms::Busy beschaeftigt(this);
    FLX(Index).EINFUEGEN(0);
    if (geladen()) FLX(0).AKTUALISIEREN();
}

void mdiEINGABE::msgFLX_DblClick(int Index) {
    if (!geladen()) return;
    const Forms::Busy beschaeftigt(this);
    FLX(Index).BEARBEITEN(0, 0);
}

void mdiEINGABE::msgFLX_KeyPress(int Index, int KeyAscii) {
    if (!geladen()) return;
    const Forms::Busy beschaeftigt(this);
    FLX(Index).BEARBEITEN(KeyAscii, 0);
    if (geladen()) FLX(0).AKTUALISIEREN();
}

void mdiEINGABE::msgFLX_MouseDown(int Index, float X) {
    if (!geladen()) return;
    const Forms::Busy beschaeftigt(this);
    FLX(Index).BEARBEITEN(-2, X);
}

void mdiEINGABE::msgFLX_MouseUp(int Index) {
    if (!geladen()) return;
    const Forms::Busy beschaeftigt(this);
    FLX(Index).EINFUEGEN(-2);
}

void mdiEINGABE::msgFLX_MouseMove(int Index, float X, float Y) {
    if (!geladen()) return;
    const Forms::Busy beschaeftigt(this);
    FLX(Index).TOOLTIP(X, Y);
}

void mdiEINGABE::msgFLX_Scroll(int Index) {
    if (!geladen()) return;
    const Forms::Busy beschaeftigt(this);
    FLX(Index).EINFUEGEN(0);
    if (geladen()) FLX(Index).BESCHRIFTEN();
}

void mdiEINGABE::txtFLX_KeyPress(int Index, int& KeyAscii) {
    if (!geladen()) return;
    const Forms::Busy beschaeftigt(this);
    FLX(Index).EINFUEGEN(KeyAscii);
    if (KeyAscii == 13 && geladen()) FLX(0).AKTUALISIEREN();
}

void mdiEINGABE::picFLX_MouseMove(int Index, float X, float Y) {
    if (!geladen()) return;
    const Forms::Busy beschaeftigt(this);
    FLX(Index).TOOLTIP(X, Y);
}

void mdiEINGABE::cmdH_Click(int Index) {
    if (!geladen()) return;
    const Forms::Busy beschaeftigt(this);
    FLX(Index).EINFUEGEN(0);
    if (geladen()) FLX(Index).ZEILEEINFUEGEN();
}

void mdiEINGABE::cmdW_Click(int Index) {
    if (!geladen()) return;
    const Forms::Busy beschaeftigt(this);
    FLX(Index).EINFUEGEN(0);
    if (geladen()) FLX(Index).ZEILEENTFERNEN();
}

void mdiEINGABE::cmdK_Click(int Index) {
    if (!geladen()) return;
    const Forms::Busy beschaeftigt(this);
    FLX(Index).BEARBEITEN(-1, 0);
}

void mdiEINGABE::cmdE_Click(int Index) {
    if (!geladen()) return;
    const Forms::Busy beschaeftigt(this);
    FLX(Index).EINFUEGEN(-1);
}
