#pragma once

// The few calls of the Windows graphics device interface that rotated text
// uses, on our drawing surfaces: a device context is an output object, a font
// is a handle to a LOGFONT record kept here until it is deleted. Text handed
// to TextOutA is single-byte text (code page 1252, or the codes of the
// "Symbol" font when the selected font is "Symbol"); the surface draws the
// Unicode characters those bytes stand for.

#include <QByteArray>
#include <cstdint>

class OutputObject;

using HDC = OutputObject*;
using HGDIOBJ = std::intptr_t;
using HFONT = HGDIOBJ;

constexpr int LOGPIXELSX = 88;
constexpr int LOGPIXELSY = 90;
constexpr int LF_FACESIZE = 32;

struct LOGFONT {
    int32_t lfHeight = 0; // > 0: cell height (ascent plus descent) in device pixels
    int32_t lfWidth = 0;
    int32_t lfEscapement = 0; // tenths of a degree, counter-clockwise
    int32_t lfOrientation = 0;
    int32_t lfWeight = 0; // 400 regular, 700 bold; 0 counts as regular
    uint8_t lfItalic = 0;
    uint8_t lfUnderline = 0;
    uint8_t lfStrikeOut = 0;
    uint8_t lfCharSet = 0;
    uint8_t lfOutPrecision = 0;
    uint8_t lfClipPrecision = 0;
    uint8_t lfQuality = 0;
    uint8_t lfPitchAndFamily = 0;
    char lfFaceName[LF_FACESIZE] = {};
};

// LOGPIXELSX / LOGPIXELSY: the surface's pixels per inch; other indexes 0.
int GetDeviceCaps(HDC hdc, int index);
HFONT CreateFontIndirectA(const LOGFONT& logFont);
// Selects a font into the device context and returns the one selected before
// (0 stands for the surface's own font).
HGDIOBJ SelectObject(HDC hdc, HGDIOBJ object);
// Writes count bytes of text with the upper left corner of the first
// character cell at pixel (x, y), in the selected font, turned by its
// escapement, in the surface's ForeColor.
bool TextOutA(HDC hdc, int x, int y, const QByteArray& text, int count);
bool DeleteObject(HGDIOBJ object);

// The record behind a font handle; nullptr for 0 or a deleted handle.
const LOGFONT* GdiFontRecord(HFONT font);
// Number of fonts created and not yet deleted.
int GdiFontCount();
