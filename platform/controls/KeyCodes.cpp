#include "platform/controls/KeyCodes.h"

#include "platform/runtime/Zeichensatz.h"

#include <QKeyEvent>

int16_t KeyCodeOf(int qtKey)
{
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return int16_t(qtKey);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12) return int16_t(112 + (qtKey - Qt::Key_F1));
    switch (qtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return 9;
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Space:
        return 32;
    case Qt::Key_Left:
        return 37;
    case Qt::Key_Up:
        return 38;
    case Qt::Key_Right:
        return 39;
    case Qt::Key_Down:
        return 40;
    case Qt::Key_Insert:
        return 45;
    case Qt::Key_Delete:
        return 46;
    default:
        return 0;
    }
}

int16_t KeyCodeOf(const QKeyEvent& event)
{
    // The keypad's decimal key, whichever character it types.
    if (event.modifiers().testFlag(Qt::KeypadModifier) &&
        (event.key() == Qt::Key_Period || event.key() == Qt::Key_Comma))
        return 110;
    return KeyCodeOf(event.key());
}

int KeyAsciiOf(const QKeyEvent& event)
{
    const QString text = event.text();
    if (text.isEmpty()) return -1;
    const Qt::KeyboardModifiers umschalter = event.modifiers();
    // Alt with a key is a command (a menu, Alt+Q), never typing; AltGr
    // comes without Alt.
    if (umschalter.testFlag(Qt::AltModifier)) return -1;
    const QChar c = text.at(0);
    // Ctrl with a letter types its control character, whatever text the
    // platform gives the key; Ctrl with any other key types nothing.
    if (umschalter.testFlag(Qt::ControlModifier))
        return event.key() >= Qt::Key_A && event.key() <= Qt::Key_Z ? event.key() - Qt::Key_A + 1
                                                                    : -1;
    const ushort u = c.unicode();
    if (u == 8 || u == 13 || u == 27) return u;
    if (!c.isPrint()) return -1;
    const int code = Cp1252Code(c);
    return code >= 0 ? code : int(u);
}
