#pragma once

// The runtime's key codes for the key handlers (KeyDown):
// letters and digits are their upper-case characters (A 65, 0 48), Enter 13,
// Esc 27, Tab 9, Backspace 8, blank 32, the cursor keys 37 to 40, F1 to F12
// 112 to 123, Delete 46, Insert 45, the keypad's decimal key 110; other keys
// give 0. (The shift state:
// ShiftState.h.)

#include <cstdint>

class QKeyEvent;

int16_t KeyCodeOf(int qtKey);
int16_t KeyCodeOf(const QKeyEvent& event);
