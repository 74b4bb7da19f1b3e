// Pen and font settings and the five-font set.

#include "GrafikTest.h"

#include "drawing/SCHRIFTSATZ.h"
#include "platform/runtime/MsgBox.h"

namespace {
using Einstellungen = GrafikTest;

TEST_F(Einstellungen, ThinnestPenByDefault) {
    flaeche->SetDrawWidth(5);
    flaeche->SetDrawMode(7);
    flaeche->SetForeColor(255);
    float breite = 0;
    grafik->LINIENEINSTELLUNGEN(0, breite, 0);
    EXPECT_FLOAT_EQ(breite, 1);
    EXPECT_EQ(flaeche->DrawStyle(), 0);
    EXPECT_EQ(flaeche->DrawWidth(), 1);
    EXPECT_EQ(flaeche->DrawMode(), 13);
    EXPECT_EQ(flaeche->ForeColor(), 0);
}

TEST_F(Einstellungen, WidthsInMillimetresBecomePixels) {
    float breite = 0.5f;
    grafik->LINIENEINSTELLUNGEN(0, breite, 255);
    EXPECT_NEAR(breite, 0.5 * 96 / 25.4, 1e-4); // 1.89 pixels, handed back
    EXPECT_EQ(flaeche->DrawWidth(), 2);
    EXPECT_EQ(flaeche->ForeColor(), 255);
    breite = 0.2f;
    grafik->LINIENEINSTELLUNGEN(2, breite, -5);
    EXPECT_EQ(flaeche->DrawWidth(), 1);
    EXPECT_EQ(flaeche->DrawStyle(), 2);
    EXPECT_EQ(flaeche->ForeColor(), -5); // used unchanged
}

TEST_F(Einstellungen, AWidthBelowOnePixelIsDrawnOnePixelWideWithoutABox) {
    flaeche->SetDrawWidth(4);
    float breite = 0.1f; // 0.38 pixels
    grafik->LINIENEINSTELLUNGEN(0, breite, RGB(0, 0, 255));
    EXPECT_FLOAT_EQ(breite, 1);
    EXPECT_EQ(flaeche->DrawWidth(), 1);
    EXPECT_EQ(flaeche->ForeColor(), RGB(0, 0, 255));
    EXPECT_TRUE(dialoge.boxes().isEmpty());
}

TEST_F(Einstellungen, ARefusedLineStyleShowsItsBoxAndTheRestIsStillSet) {
    dialoge.expect(vbOK, "380");
    grafik->LINIENEINSTELLUNGEN(9, 0.5f, 255);
    ASSERT_EQ(dialoge.boxes().size(), 1);
    EXPECT_TRUE(dialoge.boxes()[0].prompt.startsWith("VB-Fehler 380\r\n"));
    EXPECT_EQ(dialoge.boxes()[0].title, "Linieneinstellungen");
    EXPECT_EQ(dialoge.boxes()[0].style, 49);
    EXPECT_EQ(flaeche->DrawStyle(), 0); // the former style
    EXPECT_EQ(flaeche->DrawWidth(), 2);
    EXPECT_EQ(flaeche->ForeColor(), 255);
}

TEST_F(Einstellungen, CancelLeavesTheRestUnset) {
    dialoge.expect(vbCancel, "380");
    grafik->LINIENEINSTELLUNGEN(9, 0.5f, 255);
    EXPECT_EQ(flaeche->DrawWidth(), 1);
    EXPECT_EQ(flaeche->ForeColor(), 0);
}

TEST_F(Einstellungen, WithoutAnOutputObjectOneBoxPerCall) {
    clsGRAFIK ohne;
    dialoge.expect(vbOK, "91");
    ohne.LINIENEINSTELLUNGEN(0, 0.5f, 255);
    dialoge.expect(vbOK, "91");
    ohne.SCHRIFTEINSTELLUNGEN("Arial", 10);
    ASSERT_EQ(dialoge.boxes().size(), 2);
    EXPECT_TRUE(dialoge.boxes()[1].prompt.startsWith("VB-Fehler:91\r\n"));
    EXPECT_EQ(dialoge.boxes()[1].title, "Schrifteinstellungen");
}

TEST_F(Einstellungen, FontAndSetFromTheArguments) {
    grafik->SATZ().SETZEN(0, StdFont("Courier New", 11));
    grafik->SCHRIFTEINSTELLUNGEN("Times New Roman", 10, true, false, true, RGB(0, 128, 0));
    EXPECT_EQ(flaeche->FontName(), "Times New Roman");
    EXPECT_FLOAT_EQ(flaeche->FontSize(), 10);
    EXPECT_TRUE(flaeche->FontBold());
    EXPECT_TRUE(flaeche->FontItalic()); // the fifth argument is italic
    EXPECT_FALSE(flaeche->FontUnderline());
    EXPECT_EQ(flaeche->ForeColor(), RGB(0, 128, 0));
    SCHRIFTSATZ& satz = grafik->SATZ();
    const char* namen[] = {"",       "Times New Roman", "Times New Roman",
                           "Symbol", "Times New Roman", "Symbol"};
    const float groessen[] = {0, 10, 10, 10, 9, 9};
    for (int slot = 1; slot <= 5; ++slot) {
        EXPECT_EQ(satz[slot].Name(), namen[slot]) << slot;
        EXPECT_FLOAT_EQ(satz[slot].Size(), groessen[slot]) << slot;
        EXPECT_TRUE(satz[slot].Bold()) << slot;
        EXPECT_TRUE(satz[slot].Italic()) << slot;
        EXPECT_EQ(satz[slot].Weight(), 700) << slot;
    }
    // Slot 0 belongs to the text painter.
    EXPECT_EQ(satz[0].Name(), "Courier New");
}

TEST_F(Einstellungen, EmptyArgumentsGiveArialEightBlack) {
    grafik->SCHRIFTEINSTELLUNGEN("", -3, false, true, false, -2147483643);
    EXPECT_EQ(flaeche->FontName(), "Arial");
    EXPECT_FLOAT_EQ(flaeche->FontSize(), 8);
    EXPECT_TRUE(flaeche->FontUnderline());
    EXPECT_EQ(flaeche->ForeColor(), 0);
    EXPECT_TRUE(grafik->SATZ()[4].Underline());
    EXPECT_FLOAT_EQ(grafik->SATZ()[5].Size(), 7);
}

TEST_F(Einstellungen, TheLastSettingDecidesTheColourOfLinesAndText) {
    grafik->LINIENEINSTELLUNGEN(0, 0, 255);
    grafik->SCHRIFTEINSTELLUNGEN("Arial", 8, false, false, false, RGB(0, 0, 255));
    flaeche->Line(1, 1, 2, 2);
    EXPECT_EQ(eintraege().back().colour, RGB(0, 0, 255));
}

TEST(Schriftsatz, IndexSizes) {
    EXPECT_EQ(SCHRIFTSATZ::INDEXGROESSE(7), 6);
    EXPECT_EQ(SCHRIFTSATZ::INDEXGROESSE(8), 7);
    EXPECT_EQ(SCHRIFTSATZ::INDEXGROESSE(8.25f), 7);
    EXPECT_EQ(SCHRIFTSATZ::INDEXGROESSE(10), 9);
    EXPECT_EQ(SCHRIFTSATZ::INDEXGROESSE(12), 10);
    EXPECT_EQ(SCHRIFTSATZ::INDEXGROESSE(14), 12);
    EXPECT_EQ(SCHRIFTSATZ::INDEXGROESSE(16), 14);
}

TEST_F(Einstellungen, IndexSizesThroughTheFontSettings) {
    const int text[] = {7, 10, 12, 14, 16};
    const int index[] = {6, 9, 10, 12, 14};
    for (int i = 0; i < 5; ++i) {
        grafik->SCHRIFTEINSTELLUNGEN("Arial", int16_t(text[i]));
        EXPECT_FLOAT_EQ(grafik->SATZ()[4].Size(), float(index[i]));
        EXPECT_FLOAT_EQ(grafik->SATZ()[5].Size(), float(index[i]));
        EXPECT_FLOAT_EQ(grafik->SATZ()[3].Size(), float(text[i]));
    }
}

TEST(Schriftsatz, AnEmptySlotGetsADefaultFont) {
    SCHRIFTSATZ satz;
    EXPECT_FALSE(satz.BELEGT(2));
    EXPECT_EQ(satz[2], StdFont());
    EXPECT_TRUE(satz.BELEGT(2));
    satz.FREIGEBEN();
    EXPECT_FALSE(satz.BELEGT(2));
}
} // namespace
