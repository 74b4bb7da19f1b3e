#pragma once

// The runtime's key codes for the key handlers (KeyDown):
// letters and digits are their upper-case characters (A 65, 0 48), Enter 13,
// Esc 27, Tab 9, Backspace 8, blank 32, the cursor keys 37 to 40, F1 to F12
// 112 to 123, Delete 46, Insert 45, the keypad's decimal key 110; other keys
// give 0. (The shift state:
// ShiftState.h.)
//
// The key press handlers (KeyPress) get the character a key types, as its
// code page 1252 code (its Unicode value where the code page lacks it):
// printable characters, Backspace 8, Enter 13, Esc 27, and Ctrl with a letter
// its control character (Ctrl+C 3). Delete, the cursor keys, Tab, Ctrl with
// any other key and keys held with Alt type no character, whatever text the
// platform gives them (X11 gives Delete the text U+007F).

#include <cstdint>

class QKeyEvent;

int16_t KeyCodeOf(int qtKey);
int16_t KeyCodeOf(const QKeyEvent& event);
// The KeyAscii of a key press, or -1 when the key types no character.
int KeyAsciiOf(const QKeyEvent& event);
