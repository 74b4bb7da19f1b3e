#include "platform/controls/KeyCodes.h"

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
