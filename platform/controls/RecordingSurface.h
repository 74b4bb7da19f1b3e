#pragma once

// A drawing surface that paints nothing and logs every primitive, for the
// tests. It poses as a picture box (or the printer, or a form) of a given
// size and resolution, and its font metrics are fixed figures, the same on
// every machine: a character is half an em wide, a line 1.15 em high (0.9 em
// above the base line, 0.25 below), where an em is the font size in points
// times 25.4 / 72 millimetres.

#include "platform/controls/OutputObject.h"
#include "platform/controls/ScrollBar.h"

#include <memory>

class RecordingSurface : public OutputObject {
public:
    static constexpr double kCharWidthEm = 0.5;
    static constexpr double kAscentEm = 0.9;
    static constexpr double kDescentEm = 0.25;

    // Size in millimetres; the pixel size is rounded from it at the
    // resolution given. Width and Height read widthMm * 56.7 twips.
    RecordingSurface(double widthMm, double heightMm, double dpi = 96.0,
                     Kind kind = Kind::PictureBox);
    ~RecordingSurface() override;

    Kind ObjectKind() const override { return m_kind; }
    void SetKind(Kind kind) { m_kind = kind; }

    PrimitiveLog& log() { return m_log; }

    ScrollBar& VScroll() { return *m_vscroll; }
    ScrollBar& HScroll() { return *m_hscroll; }

protected:
    QPainter* ActivePainter() override { return nullptr; }
    EmMetrics MetricsOf(const StdFont& font) override;
    double WidthOf(const QString& line, const StdFont& font) override;

private:
    Kind m_kind;
    PrimitiveLog m_log;
    std::unique_ptr<ScrollBar> m_vscroll;
    std::unique_ptr<ScrollBar> m_hscroll;
};
