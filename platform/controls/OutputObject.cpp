#include "platform/controls/OutputObject.h"
#include "platform/runtime/System.h"

#include "platform/runtime/ErrorHandler.h"
#include "platform/runtime/Variant.h"

#include <QLocale>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace {
constexpr double kPi = 3.14159265358979323846;

}  // namespace

RuntimeError OutputObject::InvalidPropertyValue() {
    const bool german = GermanTexts();
    return RuntimeError(380, german ? QStringLiteral("Unzulässiger Eigenschaftswert")
                                    : QStringLiteral("Invalid property value"));
}

namespace {

void RequireFinite(double value) {
    if (!std::isfinite(value)) throw RuntimeError::Overflow();
}
} // namespace

// ---------------------------------------------------------------- colours

int32_t RGB(int red, int green, int blue) {
    return int32_t((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}

int32_t QBColor(int number) {
    static const int table[16][3] = {
        {0, 0, 0},     {0, 0, 128},     {0, 128, 0},     {0, 128, 128},  {128, 0, 0}, {128, 0, 128},
        {128, 128, 0}, {192, 192, 192}, {128, 128, 128}, {0, 0, 255},    {0, 255, 0}, {0, 255, 255},
        {255, 0, 0},   {255, 0, 255},   {255, 255, 0},   {255, 255, 255}};
    if (number < 0 || number > 15) throw StandardError(5);
    return RGB(table[number][0], table[number][1], table[number][2]);
}

QColor ToQColor(int32_t colour) {
    const uint32_t value = uint32_t(colour);
    if (value & 0x80000000u) {
        // System colours: the few a page may pass, in the desktop's usual look.
        switch (value & 0xFF) {
        case 5:
            return QColor(255, 255, 255); // window background
        case 15:
            return QColor(240, 240, 240); // button face
        case 16:
            return QColor(160, 160, 160); // button shadow
        case 18:
            return QColor(0, 0, 0); // button text
        case 13:
            return QColor(0, 120, 215); // highlight
        case 14:
            return QColor(255, 255, 255); // highlighted text
        default:
            return QColor(0, 0, 0); // window text and the rest
        }
    }
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

// ---------------------------------------------------------------- log

int PrimitiveLog::count(Primitive::Kind kind) const {
    int n = 0;
    for (const Primitive& p : entries)
        if (p.kind == kind) ++n;
    return n;
}

QList<Primitive> PrimitiveLog::of(Primitive::Kind kind) const {
    QList<Primitive> result;
    for (const Primitive& p : entries)
        if (p.kind == kind) result.append(p);
    return result;
}

// ---------------------------------------------------------------- scale

OutputObject::OutputObject() = default;
OutputObject::~OutputObject() = default;

void OutputObject::SetDevice(int pixelWidth, int pixelHeight, double dpiX, double dpiY,
                             float widthTwips, float heightTwips) {
    m_pixelWidth = std::max(1, pixelWidth);
    m_pixelHeight = std::max(1, pixelHeight);
    m_dpiX = dpiX > 0 ? dpiX : 96.0;
    m_dpiY = dpiY > 0 ? dpiY : 96.0;
    m_widthTwips = widthTwips;
    m_heightTwips = heightTwips;
    if (m_scaleMode != 0) SetScaleMode(m_scaleMode);
}

double OutputObject::UnitsPerPixelX(int16_t mode) const {
    switch (mode) {
    case 1:
        return 1440.0 / m_dpiX;
    case 2:
        return 72.0 / m_dpiX;
    case 3:
        return 1.0;
    case 4:
        return 1440.0 / m_dpiX / 120.0;
    case 5:
        return 1.0 / m_dpiX;
    case 6:
        return 25.4 / m_dpiX;
    case 7:
        return 2.54 / m_dpiX;
    default:
        return 1.0;
    }
}

double OutputObject::UnitsPerPixelY(int16_t mode) const {
    switch (mode) {
    case 1:
        return 1440.0 / m_dpiY;
    case 2:
        return 72.0 / m_dpiY;
    case 3:
        return 1.0;
    case 4:
        return 1440.0 / m_dpiY / 240.0;
    case 5:
        return 1.0 / m_dpiY;
    case 6:
        return 25.4 / m_dpiY;
    case 7:
        return 2.54 / m_dpiY;
    default:
        return 1.0;
    }
}

void OutputObject::SetScaleMode(int16_t mode) {
    if (mode < 0 || mode > 7) throw InvalidPropertyValue();
    m_scaleMode = mode;
    if (mode == 0) return; // the user scale stays as it was
    m_scaleLeft = 0;
    m_scaleTop = 0;
    m_scaleWidth = float(m_pixelWidth * UnitsPerPixelX(mode));
    m_scaleHeight = float(m_pixelHeight * UnitsPerPixelY(mode));
}

void OutputObject::SetScaleLeft(float value) {
    m_scaleLeft = value;
    m_scaleMode = 0;
}

void OutputObject::SetScaleTop(float value) {
    m_scaleTop = value;
    m_scaleMode = 0;
}

void OutputObject::SetScaleWidth(float value) {
    if (value == 0) throw InvalidPropertyValue();
    m_scaleWidth = value;
    m_scaleMode = 0;
}

void OutputObject::SetScaleHeight(float value) {
    if (value == 0) throw InvalidPropertyValue();
    m_scaleHeight = value;
    m_scaleMode = 0;
}

void OutputObject::Scale(float x1, float y1, float x2, float y2) {
    const float width = x2 - x1;
    const float height = y2 - y1;
    if (width == 0 || height == 0) throw StandardError(5);
    m_scaleLeft = x1;
    m_scaleTop = y1;
    m_scaleWidth = width;
    m_scaleHeight = height;
    m_scaleMode = 0;
}

void OutputObject::Scale() {
    SetScaleMode(1);
}

// ---------------------------------------------------------------- settings

void OutputObject::SetFillStyle(int16_t style) {
    if (style < 0 || style > 7) throw InvalidPropertyValue();
    m_fillStyle = style;
}

void OutputObject::SetDrawWidth(float pixels) {
    if (!std::isfinite(pixels) || pixels > 32767.0f) throw InvalidPropertyValue();
    const double rounded = Round(double(pixels));
    m_drawWidth = int16_t(rounded < 1.0 ? 1 : rounded);
}

void OutputObject::SetDrawStyle(int16_t style) {
    if (style < 0 || style > 6) throw InvalidPropertyValue();
    m_drawStyle = style;
}

void OutputObject::SetDrawMode(int16_t mode) {
    if (mode < 1 || mode > 16) throw InvalidPropertyValue();
    m_drawMode = mode;
}

void OutputObject::SetFontSize(float size) {
    if (!(size > 0.0f) || size > 2160.0f) throw InvalidPropertyValue();
    m_font.SetSize(size);
}

// ---------------------------------------------------------------- primitives

Primitive OutputObject::Stamp(Primitive::Kind kind) const {
    Primitive p;
    p.kind = kind;
    p.colour = m_foreColor;
    p.drawWidth = m_drawWidth;
    p.drawStyle = m_drawStyle;
    p.fillStyle = m_fillStyle;
    p.fillColour = m_fillColor;
    return p;
}

void OutputObject::Log(const Primitive& primitive) {
    if (m_recorder) m_recorder->entries.append(primitive);
}

void OutputObject::PreparePen(QPainter& painter, const PenState& pens, int32_t colour) {
    if (pens.drawStyle == 5) {
        painter.setPen(Qt::NoPen);
        return;
    }
    QPen pen(ToQColor(colour));
    // One device pixel: a cosmetic pen, the raster engine's fast line.
    pen.setWidth(pens.drawWidth == 1 ? 0 : pens.drawWidth);
    if (pens.drawWidth == 1) {
        static const Qt::PenStyle styles[] = {Qt::SolidLine,   Qt::DashLine,       Qt::DotLine,
                                              Qt::DashDotLine, Qt::DashDotDotLine, Qt::NoPen,
                                              Qt::SolidLine};
        pen.setStyle(styles[pens.drawStyle]);
        pen.setCapStyle(Qt::FlatCap);
    } else {
        pen.setCapStyle(Qt::RoundCap);
        pen.setJoinStyle(Qt::RoundJoin);
    }
    painter.setPen(pen);
}

void OutputObject::PrepareBrush(QPainter& painter, const PenState& pens,
                                std::optional<int32_t> solid) {
    if (solid) {
        painter.setBrush(ToQColor(*solid));
        return;
    }
    static const Qt::BrushStyle styles[] = {Qt::SolidPattern, Qt::NoBrush,         Qt::HorPattern,
                                            Qt::VerPattern,   Qt::BDiagPattern,    Qt::FDiagPattern,
                                            Qt::CrossPattern, Qt::DiagCrossPattern};
    if (pens.fillStyle == 1)
        painter.setBrush(Qt::NoBrush);
    else
        painter.setBrush(QBrush(ToQColor(pens.fillColor), styles[pens.fillStyle]));
}

void OutputObject::Line(float x1, float y1, float x2, float y2, std::optional<int32_t> colour,
                        LineForm form) {
    RequireFinite(x1);
    RequireFinite(y1);
    RequireFinite(x2);
    RequireFinite(y2);
    const int32_t pen = colour.value_or(m_foreColor);
    const double px1 = ToPixelX(x1), py1 = ToPixelY(y1), px2 = ToPixelX(x2), py2 = ToPixelY(y2);
    if (m_recorder) {
        Primitive p = Stamp(form == LineForm::Segment ? Primitive::Kind::Line
                            : form == LineForm::Box   ? Primitive::Kind::Box
                                                      : Primitive::Kind::FilledBox);
        p.colour = pen;
        p.x1 = PixelToMmX(px1);
        p.y1 = PixelToMmY(py1);
        p.x2 = PixelToMmX(px2);
        p.y2 = PixelToMmY(py2);
        Log(p);
    }
    Paint([pens = Pens(), pen, form, px1, py1, px2, py2](QPainter& painter) {
        if (form == LineForm::Segment) {
            PreparePen(painter, pens, pen);
            painter.drawLine(QPointF(px1, py1), QPointF(px2, py2));
        } else {
            DrawBox(painter, pens, px1, py1, px2, py2, pen, form == LineForm::FilledBox);
        }
    });
    m_currentX = x2;
    m_currentY = y2;
}

void OutputObject::DrawBox(QPainter& painter, const PenState& pens, double px1, double py1,
                           double px2, double py2, int32_t colour, bool filled) {
    const QRectF rect = QRectF(QPointF(px1, py1), QPointF(px2, py2)).normalized();
    if (filled) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(ToQColor(colour));
        // The filled box covers both corner pixels, as the outline does.
        painter.drawRect(rect.adjusted(0, 0, 1, 1));
        return;
    }
    PreparePen(painter, pens, colour);
    PrepareBrush(painter, pens, std::nullopt);
    painter.drawRect(rect);
}

void OutputObject::LineTo(float x2, float y2, std::optional<int32_t> colour, LineForm form) {
    Line(m_currentX, m_currentY, x2, y2, colour, form);
}

void OutputObject::Circle(float x, float y, float radius, std::optional<int32_t> colour) {
    RequireFinite(x);
    RequireFinite(y);
    RequireFinite(radius);
    const int32_t pen = colour.value_or(m_foreColor);
    const double px = ToPixelX(x), py = ToPixelY(y);
    const double rx = std::abs(radius * PixelsPerUnitX());
    if (m_recorder) {
        Primitive p = Stamp(Primitive::Kind::Circle);
        p.colour = pen;
        p.x1 = PixelToMmX(px);
        p.y1 = PixelToMmY(py);
        p.radius = PixelToMmX(rx);
        Log(p);
    }
    // A circle on the page: the same radius in pixels both ways.
    const double ry = rx * m_dpiY / m_dpiX;
    Paint([pens = Pens(), pen, px, py, rx, ry](QPainter& painter) {
        PreparePen(painter, pens, pen);
        PrepareBrush(painter, pens, std::nullopt);
        painter.drawEllipse(QPointF(px, py), rx, ry);
    });
    m_currentX = x;
    m_currentY = y;
}

void OutputObject::Circle(float x, float y, float radius, std::optional<int32_t> colour,
                          float start, float end) {
    RequireFinite(x);
    RequireFinite(y);
    RequireFinite(radius);
    RequireFinite(start);
    RequireFinite(end);
    const double twoPi = 2.0 * kPi;
    if (start < -twoPi - 1e-6 || start > twoPi + 1e-6 || end < -twoPi - 1e-6 || end > twoPi + 1e-6)
        throw StandardError(5);
    const double a1 = std::abs(double(start));
    const double a2 = std::abs(double(end));
    double span = a2 - a1;
    if (span < 0) span += twoPi; // the arc runs counter-clockwise through 0
    const int32_t pen = colour.value_or(m_foreColor);
    const double px = ToPixelX(x), py = ToPixelY(y);
    const double rx = std::abs(radius * PixelsPerUnitX());
    if (m_recorder) {
        Primitive p = Stamp(Primitive::Kind::Arc);
        p.colour = pen;
        p.x1 = PixelToMmX(px);
        p.y1 = PixelToMmY(py);
        p.radius = PixelToMmX(rx);
        p.start = a1;
        p.end = a2;
        Log(p);
    }
    if (span > 0) {
        const double ry = rx * m_dpiY / m_dpiX;
        const QRectF rect(px - rx, py - ry, 2 * rx, 2 * ry);
        const int from = int(std::lround(a1 * 180.0 / kPi * 16.0));
        const int length = int(std::lround(span * 180.0 / kPi * 16.0));
        Paint([pens = Pens(), pen, rect, from, length](QPainter& painter) {
            PreparePen(painter, pens, pen);
            painter.drawArc(rect, from, length);
        });
    }
    m_currentX = x;
    m_currentY = y;
}

void OutputObject::PSet(float x, float y, std::optional<int32_t> colour) {
    RequireFinite(x);
    RequireFinite(y);
    const int32_t pen = colour.value_or(m_foreColor);
    const double px = ToPixelX(x), py = ToPixelY(y);
    if (m_recorder) {
        Primitive p = Stamp(Primitive::Kind::Point);
        p.colour = pen;
        p.x1 = PixelToMmX(px);
        p.y1 = PixelToMmY(py);
        Log(p);
    }
    Paint([width = m_drawWidth, pen, px, py](QPainter& painter) {
        QPen dot(ToQColor(pen));
        dot.setWidth(width);
        dot.setCapStyle(width > 1 ? Qt::RoundCap : Qt::SquareCap);
        painter.setPen(dot);
        painter.drawPoint(QPointF(px, py));
    });
    m_currentX = x;
    m_currentY = y;
}

void OutputObject::Cls() {
    if (m_recorder) Log(Stamp(Primitive::Kind::Cls));
    Paint([area = QRectF(0, 0, m_pixelWidth, m_pixelHeight),
           back = ToQColor(m_backColor)](QPainter& painter) {
        painter.save();
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(area, back);
        painter.restore();
    });
    m_currentX = m_scaleLeft;
    m_currentY = m_scaleTop;
}
