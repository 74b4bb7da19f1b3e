#pragma once

// Character tables of the text painters.
//
// Labels select Greek letters and signs by writing Latin characters in the
// "Symbol" font ("{g,1}D" shows a capital delta). Here that font does not
// exist: the painters draw the Unicode character that the font shows at the
// code instead, in the text font.
//
// Inserted characters ("{c,176}") are codes of the Windows code page 1252,
// which the labels were written for.

#include <QChar>
#include <QString>

// The character the "Symbol" font shows at a code 0x20..0xFE (the Adobe
// Symbol encoding: 'a' -> α, 'D' -> Δ, 0xB0 -> °, 0xB3 -> ≥). Codes the font
// leaves empty, and codes outside the range, give the code's own character.
QChar SymbolFontChar(int code);

// A text as the "Symbol" font shows it: every character is taken by its
// code page 1252 code (so "€" is 0x80, "°" is 0xB0) and mapped as above;
// a character outside the code page stays as it is.
QString SymbolFontText(const QString& text);

// The character of a code page 1252 code 0..255 (176 -> °, 128 -> €).
// The five codes the code page leaves empty (0x81, 0x8D, 0x8F, 0x90, 0x9D)
// give the control character of the same number, as Windows does.
// A code outside 0..255 raises runtime error 5 (invalid procedure call).
QChar Cp1252Char(int code);

// The code page 1252 code of a character, or -1 when the code page lacks it.
int Cp1252Code(QChar c);
