// Rotated text: the font record, the pixel position and the device's state.

#include "GrafikTest.h"

#include "drawing/clsROTATOR.h"
#include "platform/controls/Gdi.h"
#include "platform/controls/RecordingSurface.h"
#include "platform/runtime/RuntimeError.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {
class Rotator : public ::testing::Test {
protected:
    Rotator() : flaeche(145, 130) {
        flaeche.SetScaleMode(6);
        flaeche.SetFontName("Arial");
        flaeche.SetFontSize(10);
    }
    RecordingSurface flaeche;
    clsROTATOR rotator;
};

TEST_F(Rotator, CellHeightFromThePointSize) {
    rotator.setDevice(&flaeche);
    rotator.setAngle(90);
    rotator.Label("w [%]");
    EXPECT_EQ(rotator.FontRecord().lfHeight, 15);
    EXPECT_EQ(rotator.FontRecord().lfEscapement, 900);
    EXPECT_EQ(rotator.FontRecord().lfOrientation, 900);
    flaeche.SetFontSize(8.25f);
    rotator.setAngle(-45);
    rotator.Label("x");
    EXPECT_EQ(rotator.FontRecord().lfHeight, 13);
    EXPECT_EQ(rotator.FontRecord().lfEscapement, -450);

    RecordingSurface drucker(297, 210, 600, OutputObject::Kind::Printer);
    drucker.SetScaleMode(6);
    drucker.SetFontSize(8.25f);
    rotator.setDevice(&drucker);
    rotator.Label("x");
    EXPECT_EQ(rotator.FontRecord().lfHeight, 80);
    EXPECT_EQ(drucker.log().of(Primitive::Kind::RotatedText)[0].cellHeight, 80);
}

TEST_F(Rotator, TextAtThePixelOfTheCurrentPosition) {
    flaeche.SetCurrentX(10);
    flaeche.SetCurrentY(20);
    rotator.setDevice(&flaeche);
    rotator.setAngle(90);
    rotator.Label("Abc");
    const QList<Primitive> r = flaeche.log().of(Primitive::Kind::RotatedText);
    ASSERT_EQ(r.size(), 1);
    EXPECT_NEAR(r[0].x1, 38 * 25.4 / 96, 1e-9); // 37.8 rounded
    EXPECT_NEAR(r[0].y1, 76 * 25.4 / 96, 1e-9); // 75.6 rounded
    EXPECT_EQ(r[0].text, "Abc");
    EXPECT_DOUBLE_EQ(r[0].angle, 90);
    EXPECT_FLOAT_EQ(flaeche.CurrentX(), 10);
    EXPECT_FLOAT_EQ(flaeche.CurrentY(), 20);
}

TEST_F(Rotator, FontAttributesAndTheFieldsThatStayZero) {
    flaeche.SetFontBold(true);
    flaeche.SetFontItalic(true);
    flaeche.SetFontStrikethru(true);
    rotator.setDevice(&flaeche);
    rotator.Label("x");
    const LOGFONT& lf = rotator.FontRecord();
    EXPECT_EQ(lf.lfWeight, 700);
    EXPECT_EQ(lf.lfItalic, 1);
    EXPECT_EQ(lf.lfUnderline, 0);
    EXPECT_EQ(lf.lfStrikeOut, 1);
    EXPECT_EQ(lf.lfCharSet, 0);
    EXPECT_EQ(lf.lfWidth, 0);
    EXPECT_EQ(lf.lfOutPrecision, 0);
    EXPECT_EQ(lf.lfQuality, 0);
    EXPECT_EQ(lf.lfPitchAndFamily, 0);
    EXPECT_STREQ(lf.lfFaceName, "Arial");
}

TEST_F(Rotator, EachLabelDeletesItsFontAndSelectsTheOldOneAgain) {
    const int vorher = GdiFontCount();
    rotator.setDevice(&flaeche);
    rotator.Label("x");
    rotator.Label("y");
    EXPECT_EQ(GdiFontCount(), vorher);
    EXPECT_EQ(flaeche.SelectedGdiFont(), 0);
}

TEST_F(Rotator, BytesBehindTheFaceNameKeepWhatWasThere) {
    flaeche.SetFontName("Courier New");
    rotator.setDevice(&flaeche);
    rotator.Label("x");
    flaeche.SetFontName("Arial");
    rotator.Label("x");
    const LOGFONT& lf = rotator.FontRecord();
    EXPECT_STREQ(lf.lfFaceName, "Arial");
    EXPECT_EQ(std::memcmp(lf.lfFaceName + 6, "r New", 5), 0);
}

TEST_F(Rotator, SymbolFontCodesAreShownAsTheirCharacters) {
    flaeche.SetFontName("Symbol");
    rotator.setDevice(&flaeche);
    rotator.Label("Dt");
    EXPECT_EQ(flaeche.log().entries.back().text, QString::fromUtf8("Δτ"));
}

TEST_F(Rotator, FailuresBeforeAnyFontIsMade) {
    const int vorher = GdiFontCount();
    try {
        rotator.Label("x");
        FAIL() << "no error";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.Number(), 91);
    }
    flaeche.SetFontName(QString(32, 'A'));
    rotator.setDevice(&flaeche);
    EXPECT_THROW(rotator.Label("x"), RuntimeError);
    EXPECT_EQ(GdiFontCount(), vorher);
    EXPECT_TRUE(flaeche.log().entries.isEmpty());
}

TEST_F(Rotator, DeviceKeepsAUserScaleAndAMillimetreScale) {
    RecordingSurface box(100, 50);
    box.Scale(0, 50, 100, 0);
    rotator.setDevice(&box);
    EXPECT_EQ(box.ScaleMode(), 0);
    EXPECT_FLOAT_EQ(box.ScaleTop(), 50);
    EXPECT_FLOAT_EQ(box.ScaleHeight(), -50);
    rotator.setDevice(&flaeche);
    EXPECT_EQ(flaeche.ScaleMode(), 6);
    // A scale whose y runs upwards: the pixel row counts from the top.
    box.SetCurrentX(50);
    box.SetCurrentY(50);
    rotator.setDevice(&box);
    rotator.Label("x");
    EXPECT_NEAR(box.log().entries.back().y1, 0, 1e-9);
}

using DrehText = GrafikTest;

TEST_F(DrehText, LeavesFontNameSizeAndTransparentTextOnTheObject) {
    flaeche->SetFontTransparent(false);
    grafik->DREHTEXT("abc", 45, 30, 40, 12, "Times New Roman");
    EXPECT_EQ(flaeche->FontName(), "Times New Roman");
    EXPECT_FLOAT_EQ(flaeche->FontSize(), 12);
    EXPECT_TRUE(flaeche->FontTransparent());
    EXPECT_FLOAT_EQ(flaeche->CurrentX(), 30);
    const QList<Primitive> r = flaeche->log().of(Primitive::Kind::RotatedText);
    ASSERT_EQ(r.size(), 1);
    EXPECT_DOUBLE_EQ(r[0].angle, 45);
    EXPECT_EQ(r[0].cellHeight, 19); // 1152 \ 72 = 16, times 1.175 is 18.8
}
} // namespace
