#pragma once

// The drawing surface of the program: the members of a picture box and of the
// printer that the drawing classes use. Positions are given in the surface's
// scale (millimetres from the top left corner on every page of the program);
// the surface turns them into device pixels. Three targets share this one
// implementation: the picture box of a page (PictureBox), the printer
// (PrinterTarget) and a recording surface for the tests (RecordingSurface).
// Every primitive can also be logged, in millimetres from the top left
// corner, with its pen, font and colour (PrimitiveLog).

#include "platform/controls/Gdi.h"
#include "platform/controls/StdFont.h"

#include <QColor>
#include <QHash>
#include <QList>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class QPainter;
class QFont;
class RuntimeError;

// Colours are 32-bit values with red in the lowest byte (255 is red); values
// with the top bit set are system colours (0x80000000 + index).
int32_t RGB(int red, int green, int blue);
// Colour n (0 to 15) of the 16-colour palette; other numbers raise error 5.
int32_t QBColor(int number);
QColor ToQColor(int32_t colour);

// One logged primitive. Coordinates are millimetres from the surface's top
// left corner, whatever the scale.
struct Primitive {
    enum class Kind { Line, Box, FilledBox, Circle, Arc, Point, Text, RotatedText, Cls, NewPage };
    Kind kind = Kind::Line;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0; // line ends, box corners, text cell corner (x1, y1)
    double radius = 0;                     // circles (horizontal millimetres)
    double start = 0, end = 0;             // arcs, radians counter-clockwise from 3 o'clock
    int32_t colour = 0;                    // pen colour (text colour for texts)
    int drawWidth = 1;                     // pixels
    int drawStyle = 0;
    int fillStyle = 1;
    int32_t fillColour = 0;
    QString text;       // texts: the characters as drawn (Symbol codes translated)
    StdFont font;       // texts
    double angle = 0;   // rotated texts: degrees counter-clockwise
    int cellHeight = 0; // rotated texts: lfHeight in device pixels
};

class PrimitiveLog {
public:
    QList<Primitive> entries;
    void clear() { entries.clear(); }
    int count(Primitive::Kind kind) const;
    QList<Primitive> of(Primitive::Kind kind) const;
};

class OutputObject {
public:
    enum class Kind { PictureBox, Printer, Form };
    enum class LineForm { Segment, Box, FilledBox };

    virtual ~OutputObject();
    OutputObject(const OutputObject&) = delete;
    OutputObject& operator=(const OutputObject&) = delete;

    virtual Kind ObjectKind() const = 0;

    // Error 380, which a property refuses a value with.
    static RuntimeError InvalidPropertyValue();
    bool IsPictureBox() const { return ObjectKind() == Kind::PictureBox; }
    bool IsPrinter() const { return ObjectKind() == Kind::Printer; }

    QString Name() const { return m_name; }
    void SetName(const QString& name) { m_name = name; }

    // Scale: 0 user, 1 twips, 2 points, 3 pixels, 4 characters, 5 inches,
    // 6 millimetres, 7 centimetres. Setting a mode other than 0 puts the
    // origin at the top left corner; setting ScaleLeft/Top/Width/Height or
    // calling Scale with two corners makes it a user scale (mode 0).
    int16_t ScaleMode() const { return m_scaleMode; }
    void SetScaleMode(int16_t mode);
    float ScaleLeft() const { return m_scaleLeft; }
    float ScaleTop() const { return m_scaleTop; }
    float ScaleWidth() const { return m_scaleWidth; }
    float ScaleHeight() const { return m_scaleHeight; }
    void SetScaleLeft(float value);
    void SetScaleTop(float value);
    void SetScaleWidth(float value);
    void SetScaleHeight(float value);
    void Scale(float x1, float y1, float x2, float y2);
    void Scale(); // back to twips

    // Outer size in twips (56.7 to the millimetre): a picture box's size in
    // its container, the printer's paper.
    float Width() const { return m_widthTwips; }
    float Height() const { return m_heightTwips; }

    float CurrentX() const { return m_currentX; }
    float CurrentY() const { return m_currentY; }
    void SetCurrentX(float x) { m_currentX = x; }
    void SetCurrentY(float y) { m_currentY = y; }

    int32_t ForeColor() const { return m_foreColor; }
    void SetForeColor(int32_t colour) { m_foreColor = colour; }
    int32_t BackColor() const { return m_backColor; }
    void SetBackColor(int32_t colour) { m_backColor = colour; }
    int32_t FillColor() const { return m_fillColor; }
    void SetFillColor(int32_t colour) { m_fillColor = colour; }
    // 0 solid, 1 transparent, 2 to 7 hatches; other values raise error 380.
    int16_t FillStyle() const { return m_fillStyle; }
    void SetFillStyle(int16_t style);
    // Whole device pixels, halves to the even neighbour; a width that rounds
    // to less than one pixel draws one pixel wide.
    int16_t DrawWidth() const { return m_drawWidth; }
    void SetDrawWidth(float pixels);
    // 0 solid, 1 dash, 2 dot, 3 dash-dot, 4 dash-dot-dot, 5 invisible, 6
    // inside solid; dashes only at width 1. Other values raise error 380.
    int16_t DrawStyle() const { return m_drawStyle; }
    void SetDrawStyle(int16_t style);
    // 1 to 16; 13 copies the pen. Other values raise error 380.
    int16_t DrawMode() const { return m_drawMode; }
    void SetDrawMode(int16_t mode);
    bool FontTransparent() const { return m_fontTransparent; }
    void SetFontTransparent(bool transparent) { m_fontTransparent = transparent; }

    // The font; changes through the reference apply to the next text.
    StdFont& Font() { return m_font; }
    const StdFont& Font() const { return m_font; }
    void SetFont(const StdFont& font) { m_font = font; }
    QString FontName() const { return m_font.Name(); }
    void SetFontName(const QString& name) { m_font.SetName(name); }
    float FontSize() const { return m_font.Size(); }
    void SetFontSize(float size);
    bool FontBold() const { return m_font.Bold(); }
    void SetFontBold(bool bold) { m_font.SetBold(bold); }
    bool FontItalic() const { return m_font.Italic(); }
    void SetFontItalic(bool italic) { m_font.SetItalic(italic); }
    bool FontUnderline() const { return m_font.Underline(); }
    void SetFontUnderline(bool underline) { m_font.SetUnderline(underline); }
    bool FontStrikethru() const { return m_font.Strikethrough(); }
    void SetFontStrikethru(bool strikethrough) { m_font.SetStrikethrough(strikethrough); }

    // Line (x1, y1)-(x2, y2) [, colour] [, B | BF]. Without a colour the
    // ForeColor draws; a box drawn with B is filled by FillStyle/FillColor,
    // one drawn with BF is filled with the line's colour. The current
    // position moves to (x2, y2).
    void Line(float x1, float y1, float x2, float y2, std::optional<int32_t> colour = std::nullopt,
              LineForm form = LineForm::Segment);
    // Line -(x2, y2): from the current position.
    void LineTo(float x2, float y2, std::optional<int32_t> colour = std::nullopt,
                LineForm form = LineForm::Segment);
    // Circle (x, y), radius [, colour]: a whole circle, filled by FillStyle and
    // FillColor. The radius is in horizontal scale units.
    void Circle(float x, float y, float radius, std::optional<int32_t> colour = std::nullopt);
    // The arc from start to end (radians counter-clockwise from 3 o'clock,
    // each 0 to 2 pi).
    void Circle(float x, float y, float radius, std::optional<int32_t> colour, float start,
                float end);
    // A dot of DrawWidth; the current position moves there.
    void PSet(float x, float y, std::optional<int32_t> colour = std::nullopt);

    // Prints text with the upper left corner of its cell at the current
    // position. Without a trailing semicolon (newLine) the position moves to
    // the start of the next line; with it, to the end of the text.
    void Print(const QString& text, bool newLine = true);
    // Size of a text in the current font, in scale units; a text of several
    // lines is as wide as its widest line and as high as all its lines;
    // TextHeight("") is one line.
    float TextWidth(const QString& text);
    float TextHeight(const QString& text);

    // Clears to the BackColor; the current position goes to the origin.
    virtual void Cls();

    // Device context for the GDI calls (Gdi.h); the surface itself.
    HDC hdc() { return this; }
    double PixelsPerInchX() const { return m_dpiX; }
    double PixelsPerInchY() const { return m_dpiY; }
    int PixelWidth() const { return m_pixelWidth; }
    int PixelHeight() const { return m_pixelHeight; }

    // Conversions between the scale and the device's pixels (positions from
    // the top left corner of the surface).
    double PixelX(double x) const { return (x - m_scaleLeft) * PixelsPerUnitX(); }
    double PixelY(double y) const { return (y - m_scaleTop) * PixelsPerUnitY(); }
    double UnitX(double px) const { return m_scaleLeft + px / PixelsPerUnitX(); }
    double UnitY(double py) const { return m_scaleTop + py / PixelsPerUnitY(); }
    double PixelsPerUnitX() const { return m_pixelWidth / double(m_scaleWidth); }
    double PixelsPerUnitY() const { return m_pixelHeight / double(m_scaleHeight); }

    // A log that receives every primitive from now on (nullptr: none).
    void SetRecorder(PrimitiveLog* log) { m_recorder = log; }
    PrimitiveLog* Recorder() const { return m_recorder; }

    // Used by TextOutA: draws text at pixel (x, y) in the font of the record
    // (nullptr: the surface's own font at its own size).
    void TextOutPixels(int x, int y, const QString& shown, const LOGFONT* logFont);
    HGDIOBJ SelectedGdiFont() const { return m_selectedFont; }
    void SetSelectedGdiFont(HGDIOBJ font) { m_selectedFont = font; }

    // Font metrics of a font at 1 mm em size, in millimetres; the surfaces
    // that paint use the real font, the recording surface fixed figures.
    struct EmMetrics {
        double ascent = 0.905;
        double descent = 0.212;
        double leading = 0.033;
    };

protected:
    OutputObject();

    // Called by the targets when their device is known or changes size.
    // Keeps the scale mode; a user scale stays as it is.
    void SetDevice(int pixelWidth, int pixelHeight, double dpiX, double dpiY, float widthTwips,
                   float heightTwips);

    // The painter on the target, active; nullptr when nothing is painted.
    virtual QPainter* ActivePainter() = 0;
    // Pixels have been painted (a widget repaints them).
    virtual void Painted() {}

    // One painting step of a primitive. It carries everything it paints
    // with (positions in pixels, pen, colours, font), so it paints the same
    // whenever it runs.
    using PaintStep = std::function<void(QPainter&)>;
    // Paints a step on the target's painter at once, or hands it to a
    // target that keeps its steps to paint them later (the printer sends a
    // sheet only when it is complete).
    template <class Step> void Paint(Step&& step) {
        if (KeepsSteps()) {
            KeepStep(PaintStep(std::forward<Step>(step)));
            return;
        }
        if (QPainter* painter = ActivePainter()) {
            step(*painter);
            Painted();
        }
    }
    virtual bool KeepsSteps() const { return false; }
    virtual void KeepStep(PaintStep /*step*/) {}

    virtual EmMetrics MetricsOf(const StdFont& font);
    virtual double WidthOf(const QString& line, const StdFont& font); // mm at 1 mm em

    void Log(const Primitive& primitive);

private:
    double UnitsPerPixelX(int16_t mode) const;
    double UnitsPerPixelY(int16_t mode) const;
    double ToPixelX(double x) const { return PixelX(x); }
    double ToPixelY(double y) const { return PixelY(y); }
    double PixelToMmX(double px) const { return px * 25.4 / m_dpiX; }
    double PixelToMmY(double px) const { return px * 25.4 / m_dpiY; }
    double EmMillimetres(const StdFont& font) const;
    QString Shown(const QString& text, const StdFont& font) const;
    Primitive Stamp(Primitive::Kind kind) const;

    // The pen and fill settings as a step paints with them.
    struct PenState {
        int16_t drawWidth = 1;
        int16_t drawStyle = 0;
        int16_t fillStyle = 1;
        int32_t fillColor = 0;
    };
    PenState Pens() const { return {m_drawWidth, m_drawStyle, m_fillStyle, m_fillColor}; }
    static void PreparePen(QPainter& painter, const PenState& pens, int32_t colour);
    static void PrepareBrush(QPainter& painter, const PenState& pens, std::optional<int32_t> solid);
    static void DrawBox(QPainter& painter, const PenState& pens, double px1, double py1, double px2,
                        double py2, int32_t colour, bool filled);
    void DrawTextAt(double px, double py, const QString& shown, const StdFont& font,
                    double emPixels, double angleDegrees);

    struct WidthCache;
    WidthCache& CacheFor(const StdFont& font);

    QString m_name;
    int m_pixelWidth = 1;
    int m_pixelHeight = 1;
    double m_dpiX = 96.0;
    double m_dpiY = 96.0;
    float m_widthTwips = 0;
    float m_heightTwips = 0;

    int16_t m_scaleMode = 1;
    float m_scaleLeft = 0;
    float m_scaleTop = 0;
    float m_scaleWidth = 1;
    float m_scaleHeight = 1;

    float m_currentX = 0;
    float m_currentY = 0;
    int32_t m_foreColor = 0;
    int32_t m_backColor = 0xFFFFFF;
    int32_t m_fillColor = 0;
    int16_t m_fillStyle = 1;
    int16_t m_drawWidth = 1;
    int16_t m_drawStyle = 0;
    int16_t m_drawMode = 13;
    bool m_fontTransparent = true;
    StdFont m_font;
    HGDIOBJ m_selectedFont = 0;

    PrimitiveLog* m_recorder = nullptr;
    std::unique_ptr<QHash<QString, std::shared_ptr<WidthCache>>> m_caches;
};
