#include "platform/controls/Gdi.h"

#include "platform/controls/OutputObject.h"
#include "platform/runtime/Zeichensatz.h"

#include <cmath>
#include <map>

namespace {
std::map<HFONT, LOGFONT>& Fonts() {
    static std::map<HFONT, LOGFONT> fonts;
    return fonts;
}
HFONT g_nextFont = 1;
} // namespace

int GetDeviceCaps(HDC hdc, int index) {
    if (!hdc) return 0;
    if (index == LOGPIXELSX) return int(std::lround(hdc->PixelsPerInchX()));
    if (index == LOGPIXELSY) return int(std::lround(hdc->PixelsPerInchY()));
    return 0;
}

HFONT CreateFontIndirectA(const LOGFONT& logFont) {
    const HFONT handle = g_nextFont++;
    Fonts()[handle] = logFont;
    return handle;
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ object) {
    if (!hdc) return 0;
    const HGDIOBJ previous = hdc->SelectedGdiFont();
    hdc->SetSelectedGdiFont(object);
    return previous;
}

bool TextOutA(HDC hdc, int x, int y, const QByteArray& text, int count) {
    if (!hdc) return false;
    const LOGFONT* logFont = GdiFontRecord(hdc->SelectedGdiFont());
    const QString face = logFont
                             ? QString::fromLatin1(logFont->lfFaceName,
                                                   int(qstrnlen(logFont->lfFaceName, LF_FACESIZE)))
                             : hdc->FontName();
    const bool symbol = face.compare(QLatin1String("Symbol"), Qt::CaseInsensitive) == 0;
    QString shown;
    const int n = std::min<int>(std::max(count, 0), int(text.size()));
    shown.reserve(n);
    for (int i = 0; i < n; ++i) {
        const int code = static_cast<unsigned char>(text[i]);
        shown.append(symbol ? SymbolFontChar(code) : Cp1252Char(code));
    }
    hdc->TextOutPixels(x, y, shown, logFont);
    return true;
}

bool DeleteObject(HGDIOBJ object) {
    return Fonts().erase(object) > 0;
}

const LOGFONT* GdiFontRecord(HFONT font) {
    auto it = Fonts().find(font);
    return it == Fonts().end() ? nullptr : &it->second;
}

int GdiFontCount() {
    return int(Fonts().size());
}
