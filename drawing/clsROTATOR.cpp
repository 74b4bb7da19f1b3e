#include "drawing/clsROTATOR.h"

#include "drawing/FEHLERBOX.h"
#include "drawing/MESSUNG.h"
#include "platform/controls/OutputObject.h"
#include "platform/runtime/Variant.h"
#include "platform/runtime/Zeichensatz.h"

#include <cstring>

namespace {
// Single-byte text in code page 1252; a character the code page lacks
// becomes "?".
QByteArray Ansi(const QString& text) {
    QByteArray bytes;
    bytes.reserve(text.size());
    for (QChar c : text) {
        const int code = Cp1252Code(c);
        bytes.append(char(code < 0 ? '?' : code));
    }
    return bytes;
}
} // namespace

void clsROTATOR::setDevice(OutputObject* objDevice) {
    m_device = objDevice;
    if (!objDevice) return;
    const MASSSTABFAKTOREN mass = PIXELPROEINHEIT(*objDevice);
    m_scaleLeft = mass.SCALELEFT;
    m_scaleTop = mass.SCALETOP;
    m_pixelX = mass.X;
    m_pixelY = mass.Y;
}

int32_t clsROTATOR::ScaleToPixelX(float x) const {
    return CLng(double((x - m_scaleLeft) * m_pixelX));
}
int32_t clsROTATOR::ScaleToPixelY(float y) const {
    return CLng(double((y - m_scaleTop) * m_pixelY));
}

void clsROTATOR::Label(const QString& sText) {
    if (!m_device) throw OBJEKTVARIABLEFEHLT();
    OutputObject& device = *m_device;
    const StdFont& font = device.Font();

    // The face name and its terminating zero must fit the record's 32 bytes.
    const QByteArray face = Ansi(font.Name()) + '\0';
    if (face.size() > LF_FACESIZE) throw RuntimeError::SubscriptOutOfRange();
    std::memcpy(m_logFont.lfFaceName, face.constData(), size_t(face.size()));

    // The cell height in device pixels: points times pixels per inch over 72
    // as whole numbers, times 1.175 on every device.
    const int32_t pixelsPerInch = GetDeviceCaps(device.hdc(), LOGPIXELSY);
    const int32_t height = CLng(double(font.Size()) * pixelsPerInch) / 72;
    m_logFont.lfHeight = CLng(height * 1.175);

    m_logFont.lfItalic = font.Italic() ? 1 : 0;
    m_logFont.lfUnderline = font.Underline() ? 1 : 0;
    m_logFont.lfStrikeOut = font.Strikethrough() ? 1 : 0;
    m_logFont.lfWeight = font.Weight();

    const float currentX = device.CurrentX();
    const float currentY = device.CurrentY();
    const HDC hdc = device.hdc();
    m_logFont.lfEscapement = m_angle * 10;
    m_logFont.lfOrientation = m_logFont.lfEscapement;

    const HFONT handle = CreateFontIndirectA(m_logFont);
    const HGDIOBJ previous = SelectObject(hdc, handle);
    try {
        const int32_t x = ScaleToPixelX(currentX);
        const int32_t y = ScaleToPixelY(currentY);
        const QByteArray bytes = Ansi(sText);
        TextOutA(hdc, x, y, bytes, int(bytes.size()));
    } catch (...) {
        DeleteObject(SelectObject(hdc, previous));
        throw;
    }
    DeleteObject(SelectObject(hdc, previous));
}
