#include "platform/controls/RecordingSurface.h"

#include <cmath>

RecordingSurface::RecordingSurface(double widthMm, double heightMm, double dpi, Kind kind)
    : m_kind(kind) {
    m_vscroll = std::make_unique<ScrollBar>(Qt::Vertical, this, nullptr);
    m_hscroll = std::make_unique<ScrollBar>(Qt::Horizontal, this, nullptr);
    const int pixelWidth = std::max(1, int(std::lround(widthMm * dpi / 25.4)));
    const int pixelHeight = std::max(1, int(std::lround(heightMm * dpi / 25.4)));
    SetScaleMode(1);
    SetDevice(pixelWidth, pixelHeight, dpi, dpi, float(widthMm * 56.7), float(heightMm * 56.7));
    SetRecorder(&m_log);
}

RecordingSurface::~RecordingSurface() = default;

OutputObject::EmMetrics RecordingSurface::MetricsOf(const StdFont&) {
    EmMetrics em;
    em.ascent = kAscentEm;
    em.descent = kDescentEm;
    em.leading = 0;
    return em;
}

double RecordingSurface::WidthOf(const QString& line, const StdFont&) {
    return kCharWidthEm * line.size();
}
