// Fonts, text measuring and text output of the drawing surface.
//
// Text sizes are measured once per font on the real font at a large reference
// size and scaled to the font's size, with hinting off: the same text then has
// the same size in millimetres on the screen and on a 600 dpi printer, so a
// figure keeps its geometry whatever it is drawn on.

#include "platform/controls/OutputObject.h"

#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/Zeichensatz.h"

#include <QFont>
#include <QFontMetricsF>
#include "platform/controls/StdFont.h"

#include <QPaintDevice>
#include <QPainter>
#include <cmath>

namespace {
constexpr int kReferencePixels = 256;

bool IsSymbolFont(const QString& name) {
    return name.trimmed().compare(QLatin1String("Symbol"), Qt::CaseInsensitive) == 0;
}

QFont QtFontOf(const QString& name, int weight, bool italic, bool underline, bool strikeout) {
    QFont font(FontFamily(name));
    font.setWeight(QFont::Weight(std::clamp(weight <= 0 ? 400 : weight, 100, 900)));
    font.setItalic(italic);
    font.setUnderline(underline);
    font.setStrikeOut(strikeout);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(false);
    return font;
}

QStringList Lines(const QString& text) {
    QString t = text;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return t.split(QLatin1Char('\n'));
}
} // namespace

struct OutputObject::WidthCache {
    QFont reference;
    std::unique_ptr<QFontMetricsF> metrics;
    EmMetrics em;
    QHash<QString, double> widths; // em units
};

OutputObject::WidthCache& OutputObject::CacheFor(const StdFont& font) {
    if (!m_caches) m_caches = std::make_unique<QHash<QString, std::shared_ptr<WidthCache>>>();
    const QString key = FontFamily(font.Name()) + QLatin1Char('|') + QString::number(font.Weight()) +
                        (font.Italic() ? QLatin1String("|i") : QLatin1String("|n"));
    auto it = m_caches->find(key);
    if (it != m_caches->end()) return **it;
    auto cache = std::make_shared<WidthCache>();
    cache->reference = QtFontOf(font.Name(), font.Weight(), font.Italic(), false, false);
    cache->reference.setPixelSize(kReferencePixels);
    cache->metrics = std::make_unique<QFontMetricsF>(cache->reference);
    cache->em.ascent = cache->metrics->ascent() / kReferencePixels;
    cache->em.descent = cache->metrics->descent() / kReferencePixels;
    cache->em.leading = std::max(0.0, cache->metrics->leading() / kReferencePixels);
    m_caches->insert(key, cache);
    return *cache;
}

OutputObject::EmMetrics OutputObject::MetricsOf(const StdFont& font) {
    return CacheFor(font).em;
}

double OutputObject::WidthOf(const QString& line, const StdFont& font) {
    WidthCache& cache = CacheFor(font);
    auto it = cache.widths.constFind(line);
    if (it != cache.widths.constEnd()) return *it;
    const double width = cache.metrics->horizontalAdvance(line) / kReferencePixels;
    if (cache.widths.size() > 8192) cache.widths.clear();
    cache.widths.insert(line, width);
    return width;
}

double OutputObject::EmMillimetres(const StdFont& font) const {
    return font.Size() * 25.4 / 72.0;
}

QString OutputObject::Shown(const QString& text, const StdFont& font) const {
    return IsSymbolFont(font.Name()) ? SymbolFontText(text) : text;
}

float OutputObject::TextWidth(const QString& text) {
    double widest = 0;
    for (const QString& line : Lines(text))
        widest = std::max(widest, WidthOf(Shown(line, m_font), m_font));
    const double mm = widest * EmMillimetres(m_font);
    return float(mm * m_dpiX / 25.4 / PixelsPerUnitX());
}

float OutputObject::TextHeight(const QString& text) {
    const EmMetrics em = MetricsOf(m_font);
    const int lines = int(Lines(text).size());
    const double height =
        (em.ascent + em.descent) + (lines - 1) * (em.ascent + em.descent + em.leading);
    const double mm = height * EmMillimetres(m_font);
    return float(mm * m_dpiY / 25.4 / PixelsPerUnitY());
}

void OutputObject::DrawTextAt(double px, double py, const QString& shown, const StdFont& font,
                              double emPixels, double angleDegrees) {
    const EmMetrics em = MetricsOf(font);
    const double ascent = em.ascent * emPixels;
    // An opaque text clears its cell first; a transparent one has none.
    QRectF cell;
    if (!m_fontTransparent)
        cell = QRectF(0, 0, WidthOf(shown, font) * emPixels, (em.ascent + em.descent) * emPixels);
    Paint([px, py, shown, font, emPixels, angleDegrees, ascent, cell, back = ToQColor(m_backColor),
           fore = ToQColor(m_foreColor)](QPainter& painter) {
        QFont qfont = QtFontOf(font.Name(), font.Weight(), font.Italic(), font.Underline(),
                               font.Strikethrough());
        // The point size for the device that paints, so the text has its
        // size in pixels there.
        const int deviceDpi = painter.device() ? painter.device()->logicalDpiY() : 96;
        qfont.setPointSizeF(std::max(0.01, emPixels * 72.0 / deviceDpi));
        painter.save();
        painter.translate(px, py);
        if (angleDegrees != 0) painter.rotate(-angleDegrees);
        if (!cell.isNull()) painter.fillRect(cell, back);
        painter.setFont(qfont);
        painter.setPen(fore);
        painter.drawText(QPointF(0, ascent), shown);
        painter.restore();
    });
}

void OutputObject::Print(const QString& text, bool newLine) {
    const EmMetrics em = MetricsOf(m_font);
    const double emMm = EmMillimetres(m_font);
    const double emPixels = emMm * m_dpiY / 25.4;
    const double lineMm = (em.ascent + em.descent + em.leading) * emMm;
    const QStringList lines = Lines(text);
    double px = ToPixelX(m_currentX);
    double py = ToPixelY(m_currentY);
    if (!std::isfinite(px) || !std::isfinite(py)) throw RuntimeError::Overflow();
    double lastWidthMm = 0;
    for (int i = 0; i < lines.size(); ++i) {
        const QString shown = Shown(lines[i], m_font);
        lastWidthMm = WidthOf(shown, m_font) * emMm;
        if (m_recorder) {
            Primitive p = Stamp(Primitive::Kind::Text);
            p.x1 = PixelToMmX(px);
            p.y1 = PixelToMmY(py);
            p.x2 = p.x1 + lastWidthMm;
            p.y2 = p.y1 + (em.ascent + em.descent) * emMm;
            p.text = shown;
            p.font = m_font;
            Log(p);
        }
        if (!shown.isEmpty()) DrawTextAt(px, py, shown, m_font, emPixels, 0);
        if (i + 1 < lines.size()) py += lineMm * m_dpiY / 25.4;
    }
    if (newLine) {
        m_currentX = m_scaleLeft;
        m_currentY = float(m_scaleTop + (py + lineMm * m_dpiY / 25.4) / PixelsPerUnitY());
    } else {
        m_currentX = float(m_currentX + lastWidthMm * m_dpiX / 25.4 / PixelsPerUnitX());
        m_currentY = float(m_scaleTop + py / PixelsPerUnitY());
    }
}

void OutputObject::TextOutPixels(int x, int y, const QString& shown, const LOGFONT* logFont) {
    StdFont font = m_font;
    double emPixels = EmMillimetres(m_font) * m_dpiY / 25.4;
    double angle = 0;
    int cellHeight = 0;
    if (logFont) {
        font.SetName(QString::fromLatin1(logFont->lfFaceName,
                                         int(qstrnlen(logFont->lfFaceName, LF_FACESIZE))));
        font.SetWeight(int16_t(logFont->lfWeight <= 0 ? 400 : logFont->lfWeight));
        font.SetItalic(logFont->lfItalic != 0);
        font.SetUnderline(logFont->lfUnderline != 0);
        font.SetStrikethrough(logFont->lfStrikeOut != 0);
        const EmMetrics em = MetricsOf(font);
        if (logFont->lfHeight > 0)
            emPixels = logFont->lfHeight / (em.ascent + em.descent);
        else if (logFont->lfHeight < 0)
            emPixels = -logFont->lfHeight;
        font.SetSize(float(emPixels * 72.0 / m_dpiY));
        angle = logFont->lfEscapement / 10.0;
        cellHeight = logFont->lfHeight;
    }
    if (m_recorder) {
        Primitive p = Stamp(Primitive::Kind::RotatedText);
        p.x1 = PixelToMmX(x);
        p.y1 = PixelToMmY(y);
        p.text = shown;
        p.font = font;
        p.angle = angle;
        p.cellHeight = cellHeight;
        Log(p);
    }
    DrawTextAt(x, y, shown, font, emPixels, angle);
}
