#pragma once

#include <Qt>
#include <cstdint>

// The Shift argument of the key and mouse events: 1 Shift, 2 Ctrl, 4 Alt
// held, added up.
int16_t ShiftState(Qt::KeyboardModifiers modifiers);
