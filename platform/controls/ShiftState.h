#pragma once

#include <Qt>
#include <cstdint>

// The Shift argument of the key and mouse events: 1 Shift, 2 Ctrl, 4 Alt
// held, added up.
int16_t ShiftState(Qt::KeyboardModifiers modifiers);

// The Button argument of the mouse events: 1 left, 2 right, 4 middle,
// added up for several buttons.
int16_t ButtonCode(Qt::MouseButtons buttons);
