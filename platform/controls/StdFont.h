#pragma once

#include <QString>
#include <cstdint>

// The font family that draws a font name of the original platform here:
// "Arial" (and an empty name) as the metric-compatible Liberation Sans, "Arial
// Narrow" as Liberation Sans Narrow, "Times
// New Roman" and "Courier New" as their Liberation twins. "Symbol" is drawn in
// Liberation Sans too, since its characters are turned into the Unicode
// characters they show before they are drawn.
QString FontFamily(const QString& name);

class QFont;
// A window's design font: a font name of the original platform (through
// FontFamily), its size in points and whether it is bold.
QFont DesignFont(const QString& name, double points, bool bold = false);

// The standard font object of a drawing surface: name, size in points, bold,
// italic, underline, strikethrough and weight. The size stays as it was
// requested; bold and weight follow each other (bold is weight 700, regular
// 400). A font is a value: a surface keeps its own copy, and the drawing
// classes keep theirs in their font slots.
class StdFont {
public:
    StdFont() = default;
    StdFont(const QString& name, float size) : m_name(name), m_size(size) {}

    const QString& Name() const { return m_name; }
    void SetName(const QString& name) { m_name = name; }

    float Size() const { return m_size; }
    void SetSize(float size) { m_size = size; }

    bool Bold() const { return m_weight >= 600; }
    void SetBold(bool bold) { m_weight = bold ? 700 : 400; }

    int16_t Weight() const { return m_weight; }
    void SetWeight(int16_t weight) { m_weight = weight; }

    bool Italic() const { return m_italic; }
    void SetItalic(bool italic) { m_italic = italic; }

    bool Underline() const { return m_underline; }
    void SetUnderline(bool underline) { m_underline = underline; }

    bool Strikethrough() const { return m_strikethrough; }
    void SetStrikethrough(bool strikethrough) { m_strikethrough = strikethrough; }

    bool operator==(const StdFont& other) const = default;

private:
    QString m_name = QStringLiteral("Arial");
    float m_size = 8.0f;
    int16_t m_weight = 400;
    bool m_italic = false;
    bool m_underline = false;
    bool m_strikethrough = false;
};
