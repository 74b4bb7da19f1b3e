// The drawing surface: scale, outer size, settings, primitives as logged,
// and the metrics of the recording surface.

#include "platform/controls/OutputObject.h"
#include "platform/controls/RecordingSurface.h"
#include "platform/runtime/RuntimeError.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace {
constexpr double kPi = 3.14159265358979323846;

TEST(OutputObjectScale, MillimetreModeCoversTheInnerSize) {
    RecordingSurface s(145, 130); // a picture box of 145 x 130 mm at 96 dpi
    EXPECT_FLOAT_EQ(s.Width(), 8221.5f);
    EXPECT_FLOAT_EQ(s.Height(), 7371.0f);
    EXPECT_EQ(s.PixelWidth(), 548);
    EXPECT_EQ(s.ScaleMode(), 1);
    s.SetScaleMode(6);
    EXPECT_FLOAT_EQ(s.ScaleLeft(), 0);
    EXPECT_FLOAT_EQ(s.ScaleTop(), 0);
    EXPECT_NEAR(s.ScaleWidth(), 548 * 25.4 / 96, 1e-4);
    s.SetScaleMode(3);
    EXPECT_FLOAT_EQ(s.ScaleWidth(), 548);
    s.SetScaleMode(1);
    EXPECT_NEAR(s.ScaleWidth(), 548 * 15.0, 1e-2);
}

TEST(OutputObjectScale, UserScaleStaysUntilAModeIsSet) {
    RecordingSurface s(100, 50);
    s.Scale(-10, 100, 90, 0); // y runs upwards
    EXPECT_EQ(s.ScaleMode(), 0);
    EXPECT_FLOAT_EQ(s.ScaleLeft(), -10);
    EXPECT_FLOAT_EQ(s.ScaleTop(), 100);
    EXPECT_FLOAT_EQ(s.ScaleWidth(), 100);
    EXPECT_FLOAT_EQ(s.ScaleHeight(), -100);
    // A point of the user scale lands where the scale puts it.
    s.Line(-10, 100, 90, 0);
    const Primitive& p = s.log().entries.back();
    EXPECT_NEAR(p.x1, 0, 1e-9);
    EXPECT_NEAR(p.y1, 0, 1e-9);
    EXPECT_NEAR(p.x2, s.PixelWidth() * 25.4 / 96, 1e-6);
    EXPECT_NEAR(p.y2, s.PixelHeight() * 25.4 / 96, 1e-6);
    s.SetScaleMode(6);
    EXPECT_FLOAT_EQ(s.ScaleLeft(), 0);
    EXPECT_GT(s.ScaleHeight(), 0);
}

TEST(OutputObjectScale, ZeroScaleExtentIsRefused) {
    RecordingSurface s(100, 50);
    EXPECT_THROW(s.Scale(0, 0, 0, 10), RuntimeError);
    EXPECT_THROW(s.SetScaleWidth(0), RuntimeError);
    EXPECT_THROW(s.SetScaleMode(8), RuntimeError);
}

TEST(OutputObjectSettings, DrawWidthRoundsToWholePixelsAndNeverBelowOne) {
    RecordingSurface s(100, 50);
    s.SetDrawWidth(1.89f);
    EXPECT_EQ(s.DrawWidth(), 2);
    s.SetDrawWidth(2.5f); // halves to the even neighbour
    EXPECT_EQ(s.DrawWidth(), 2);
    s.SetDrawWidth(0.38f);
    EXPECT_EQ(s.DrawWidth(), 1);
    s.SetDrawWidth(-3);
    EXPECT_EQ(s.DrawWidth(), 1);
}

TEST(OutputObjectSettings, StylesOutsideTheirRangeRaise380) {
    RecordingSurface s(100, 50);
    try {
        s.SetDrawStyle(7);
        FAIL() << "no error";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.Number(), 380);
    }
    EXPECT_EQ(s.DrawStyle(), 0);
    EXPECT_THROW(s.SetFillStyle(8), RuntimeError);
    EXPECT_THROW(s.SetDrawMode(0), RuntimeError);
    EXPECT_THROW(s.SetFontSize(0), RuntimeError);
    s.SetDrawStyle(6);
    s.SetFillStyle(7);
    s.SetDrawMode(16);
    EXPECT_EQ(s.DrawStyle(), 6);
}

TEST(OutputObjectColours, RedIsTheLowestByte) {
    EXPECT_EQ(RGB(255, 0, 0), 255);
    EXPECT_EQ(RGB(0, 0, 255), 0xFF0000);
    EXPECT_EQ(ToQColor(255), QColor(255, 0, 0));
    EXPECT_EQ(ToQColor(RGB(0, 128, 255)), QColor(0, 128, 255));
    EXPECT_EQ(QBColor(12), RGB(255, 0, 0));
    EXPECT_EQ(QBColor(1), RGB(0, 0, 128));
    EXPECT_EQ(QBColor(10), RGB(0, 255, 0));
    EXPECT_THROW(QBColor(16), RuntimeError);
}

TEST(OutputObjectPrimitives, LineMovesTheCurrentPositionAndLogsPenAndColour) {
    RecordingSurface s(100, 50);
    s.SetScaleMode(6);
    s.SetForeColor(RGB(0, 0, 255));
    s.SetDrawWidth(3);
    s.SetDrawStyle(0);
    s.Line(10, 20, 30, 40);
    EXPECT_FLOAT_EQ(s.CurrentX(), 30);
    EXPECT_FLOAT_EQ(s.CurrentY(), 40);
    s.LineTo(35, 45, 255);
    ASSERT_EQ(s.log().entries.size(), 2);
    const Primitive& a = s.log().entries[0];
    EXPECT_EQ(a.kind, Primitive::Kind::Line);
    EXPECT_NEAR(a.x1, 10, 1e-4);
    EXPECT_NEAR(a.y2, 40, 1e-4);
    EXPECT_EQ(a.colour, RGB(0, 0, 255));
    EXPECT_EQ(a.drawWidth, 3);
    const Primitive& b = s.log().entries[1];
    EXPECT_NEAR(b.x1, 30, 1e-4);
    EXPECT_NEAR(b.x2, 35, 1e-4);
    EXPECT_EQ(b.colour, 255);
}

TEST(OutputObjectPrimitives, BoxesCirclesArcsAndPoints) {
    RecordingSurface s(100, 50);
    s.SetScaleMode(6);
    s.Line(1, 2, 3, 4, std::nullopt, OutputObject::LineForm::Box);
    s.Line(1, 2, 3, 4, 255, OutputObject::LineForm::FilledBox);
    s.Circle(50, 25, 0.7f);
    s.Circle(50, 25, 10, std::nullopt, 0, float(kPi / 2));
    s.PSet(5, 6);
    const auto& e = s.log().entries;
    ASSERT_EQ(e.size(), 5);
    EXPECT_EQ(e[0].kind, Primitive::Kind::Box);
    EXPECT_EQ(e[1].kind, Primitive::Kind::FilledBox);
    EXPECT_EQ(e[1].colour, 255);
    EXPECT_EQ(e[2].kind, Primitive::Kind::Circle);
    EXPECT_NEAR(e[2].radius, 0.7, 1e-4);
    EXPECT_EQ(e[3].kind, Primitive::Kind::Arc);
    EXPECT_NEAR(e[3].end, kPi / 2, 1e-6);
    EXPECT_EQ(e[4].kind, Primitive::Kind::Point);
    EXPECT_FLOAT_EQ(s.CurrentX(), 5);
}

TEST(OutputObjectPrimitives, NonFiniteCoordinatesRaiseOverflowAndDrawNothing) {
    RecordingSurface s(100, 50);
    s.SetScaleMode(6);
    try {
        s.Line(0, 0, std::nanf(""), 3);
        FAIL() << "no error";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.Number(), 6);
    }
    EXPECT_THROW(s.Circle(INFINITY, 0, 1), RuntimeError);
    EXPECT_TRUE(s.log().entries.isEmpty());
}

TEST(OutputObjectText, RecordingMetricsAreFixedFigures) {
    RecordingSurface s(100, 50);
    s.SetScaleMode(6);
    s.SetFontSize(8);
    const double em = 8 * 25.4 / 72;
    EXPECT_NEAR(s.TextWidth("abcd"), 4 * 0.5 * em, 1e-4);
    EXPECT_NEAR(s.TextHeight("abcd"), 1.15 * em, 1e-4);
    // An empty text is one line high and has no width.
    EXPECT_NEAR(s.TextHeight(""), 1.15 * em, 1e-4);
    EXPECT_FLOAT_EQ(s.TextWidth(""), 0);
    EXPECT_NEAR(s.TextHeight("a\r\nb"), 2 * 1.15 * em, 1e-4);
    EXPECT_NEAR(s.TextWidth("ab\r\nabcd"), 4 * 0.5 * em, 1e-4);
}

TEST(OutputObjectText, PrintPutsTheCellCornerAtTheCurrentPosition) {
    RecordingSurface s(100, 50);
    s.SetScaleMode(6);
    s.SetFontName("Arial");
    s.SetFontSize(10);
    s.SetFontBold(true);
    s.SetCurrentX(12);
    s.SetCurrentY(7);
    s.Print("Seite", false);
    const double em = 10 * 25.4 / 72;
    const Primitive& p = s.log().entries.back();
    EXPECT_EQ(p.kind, Primitive::Kind::Text);
    EXPECT_EQ(p.text, "Seite");
    EXPECT_NEAR(p.x1, 12, 1e-4);
    EXPECT_NEAR(p.y1, 7, 1e-4);
    EXPECT_EQ(p.font.Name(), "Arial");
    EXPECT_EQ(p.font.Weight(), 700);
    // With the semicolon the position moves to the end of the text ...
    EXPECT_NEAR(s.CurrentX(), 12 + 5 * 0.5 * em, 1e-4);
    EXPECT_NEAR(s.CurrentY(), 7, 1e-4);
    // ... without it to the start of the next line.
    s.Print("1");
    EXPECT_NEAR(s.CurrentX(), 0, 1e-6);
    EXPECT_NEAR(s.CurrentY(), 7 + 1.15 * em, 1e-4);
}

TEST(OutputObjectText, SymbolFontTextIsShownAsItsUnicodeCharacters) {
    RecordingSurface s(100, 50);
    s.SetScaleMode(6);
    s.SetFontName("Symbol");
    s.Print("Dabp", false);
    EXPECT_EQ(s.log().entries.back().text, QString::fromUtf8("Δαβπ"));
    s.SetFontName("Arial");
    s.Print("D", false);
    EXPECT_EQ(s.log().entries.back().text, "D");
}

TEST(OutputObjectText, FontKeepsTheRequestedSizeAndBoldFollowsWeight) {
    RecordingSurface s(100, 50);
    StdFont& font = s.Font();
    font.SetSize(8.25f);
    EXPECT_FLOAT_EQ(s.FontSize(), 8.25f);
    font.SetWeight(700);
    EXPECT_TRUE(s.FontBold());
    s.SetFontBold(false);
    EXPECT_EQ(s.Font().Weight(), 400);
}

TEST(OutputObjectGdi, TextOutUsesTheSelectedFontAndLeavesThePositionAlone) {
    RecordingSurface s(100, 50);
    s.SetScaleMode(6);
    s.SetCurrentX(3);
    LOGFONT lf;
    lf.lfHeight = 15;
    lf.lfEscapement = 900;
    lf.lfWeight = 700;
    std::strcpy(lf.lfFaceName, "Symbol");
    const int before = GdiFontCount();
    const HFONT font = CreateFontIndirectA(lf);
    EXPECT_EQ(GdiFontCount(), before + 1);
    const HGDIOBJ previous = SelectObject(s.hdc(), font);
    EXPECT_EQ(previous, 0);
    EXPECT_TRUE(TextOutA(s.hdc(), 38, 76, QByteArray("D"), 1));
    EXPECT_EQ(SelectObject(s.hdc(), previous), font);
    EXPECT_TRUE(DeleteObject(font));
    EXPECT_EQ(GdiFontCount(), before);
    EXPECT_EQ(GetDeviceCaps(s.hdc(), LOGPIXELSY), 96);
    const Primitive& p = s.log().entries.back();
    EXPECT_EQ(p.kind, Primitive::Kind::RotatedText);
    EXPECT_EQ(p.text, QString::fromUtf8("Δ"));
    EXPECT_EQ(p.cellHeight, 15);
    EXPECT_DOUBLE_EQ(p.angle, 90);
    EXPECT_NEAR(p.x1, 38 * 25.4 / 96, 1e-9);
    EXPECT_NEAR(p.y1, 76 * 25.4 / 96, 1e-9);
    EXPECT_FLOAT_EQ(s.CurrentX(), 3);
}
} // namespace
