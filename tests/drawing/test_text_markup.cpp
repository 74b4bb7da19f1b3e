// The text markup: pieces, measuring copy, number rewrite, fonts and shifts
// of the pieces, point symbols and inserted characters.

#include "GrafikTest.h"

#include "drawing/TEXTMALER.h"
#include <QLocale>

namespace {
// Recording metrics: a character is half an em wide, a line 1.15 em high.
double Em(double punkte) {
    return punkte * 25.4 / 72;
}
double Breite(int zeichen, double punkte) {
    return zeichen * 0.5 * Em(punkte);
}
double Hoehe(double punkte) {
    return 1.15 * Em(punkte);
}

QString Stuecke(const QString& text) {
    QStringList teile;
    for (const TEXTSTUECK& s : TEXTMALER::ZERLEGEN(text))
        teile << (s.GRUPPE() ? s.CODE.toString() + ":" : QString()) + "[" + s.TEXT.toString() + "]";
    return teile.join(' ');
}

TEST(Textmarkup, PiecesOfWellFormedGroups) {
    EXPECT_EQ(Stuecke("m{t,1}s [g]"), "[m] t:[s] [ [g]]");
    EXPECT_EQ(Stuecke("{g,1}Dt"), "g:[D] [t]");
    EXPECT_EQ(Stuecke("d{t,3}max"), "[d] t:[max]");
    // A group right behind a run: an empty plain piece between them.
    EXPECT_EQ(Stuecke("{t,1}a{h,1}b"), "t:[a] [] h:[b]");
    // A count beyond the text styles the rest; a count of 0 styles nothing.
    EXPECT_EQ(Stuecke("ab{t,5}c"), "[ab] t:[c]");
    EXPECT_EQ(Stuecke("{t,0}x"), "t:[] [x]");
    // A brace inside a run is a character.
    EXPECT_EQ(Stuecke("{t,2}{x"), "t:[{x]");
    // An inserted character consumes nothing behind its brace.
    EXPECT_EQ(Stuecke("{c,176}C"), QString::fromUtf8("c:[°] [C]"));
    EXPECT_EQ(Stuecke("{c,128}"), QString::fromUtf8("c:[€]"));
    // Unknown codes are groups all the same.
    EXPECT_EQ(Stuecke("{x,1}ab"), "x:[a] [b]");
    // An empty code is a group's code all the same.
    EXPECT_EQ(Stuecke("a{,1}bc"), "[a] :[b] [c]");
    EXPECT_EQ(Stuecke("plain"), "[plain]");
    EXPECT_EQ(Stuecke(""), "[]");
}

TEST(Textmarkup, BracesThatOpenNoGroupAreText) {
    EXPECT_EQ(Stuecke("Probe {A}"), "[Probe ] [{A}]");
    EXPECT_EQ(Stuecke("a{t,1"), "[a] [{t,1]");
    EXPECT_EQ(Stuecke("a{t}b,1"), "[a] [{t}b,1]");
    EXPECT_EQ(Stuecke("a{t,-1}b"), "[a] [{t,-1}b]");
    EXPECT_EQ(Stuecke("a{t,1.5}b"), "[a] [{t,1.5}b]");
    EXPECT_EQ(Stuecke("a{t,x}b"), "[a] [{t,x}b]");
    EXPECT_EQ(Stuecke("{c,300}"), "[{c,300}]");
    EXPECT_EQ(Stuecke("{c,129}x"), "[{c,129}x]");
    EXPECT_EQ(Stuecke("{c,7}x"), "[{c,7}x]");
    // A bad brace before a good group leaves the group working.
    EXPECT_EQ(Stuecke("{A} x{t,1}s"), "[{A} x] t:[s]");
}

TEST(Textmarkup, BracesSharingOneCommaOrClosingBrace) {
    // Several braces before one comma: the first takes the others into its
    // code; a brace whose count fails leaves the next one its own.
    EXPECT_EQ(Stuecke("{{t,1}ab"), "{t:[a] [b]");
    EXPECT_EQ(Stuecke("{a,{t,1}xy"), "[{a,] t:[x] [y]");
    EXPECT_EQ(Stuecke("a{b{ 2 }xyz"), "[a] [{b] [{ 2 }xyz]");
    // Blanks around the count are allowed, other characters not.
    EXPECT_EQ(Stuecke("{t, 2 }xyz"), "t:[xy] [z]");
    EXPECT_EQ(Stuecke("{t,1 2}x{h,1}y"), "[{t,1 2}x] h:[y]");
    // A closing brace before the next comma: no group, the next brace may be.
    EXPECT_EQ(Stuecke("{a}{t,1}x"), "[{a}] t:[x]");
    EXPECT_EQ(Stuecke("{{{"), "[{] [{] [{]");
    EXPECT_EQ(Stuecke("{t,99999}x{h,1}y"), "[{t,99999}x] h:[y]");
    // A long text of unclosed braces is split the same way throughout.
    QString lang;
    for (int i = 0; i < 20000; ++i)
        lang += (i % 2 == 0) ? QStringLiteral("{a") : QStringLiteral("{t,b");
    lang += QStringLiteral("{t,1}z");
    const QList<TEXTSTUECK> stuecke = TEXTMALER::ZERLEGEN(lang);
    ASSERT_EQ(stuecke.size(), 20001);
    EXPECT_EQ(stuecke.at(19999).TEXT, QStringLiteral("{t,b"));
    // The pieces view the text itself: nothing is copied.
    EXPECT_EQ(stuecke.at(1).TEXT.data(), lang.constData() + 2);
    EXPECT_TRUE(stuecke.last().GRUPPE());
    EXPECT_EQ(stuecke.last().TEXT, QStringLiteral("z"));
    EXPECT_EQ(stuecke.last().CODE, QStringLiteral("t"));
}

TEST(Textmarkup, MeasuringCopy) {
    EXPECT_EQ(TEXTMALER::MESSKOPIE("m{t,1}s [g]"), "ms [g]");
    EXPECT_EQ(TEXTMALER::MESSKOPIE("{c,176}C"), "C");
    EXPECT_EQ(TEXTMALER::MESSKOPIE("{s,1}3"), "3");
    EXPECT_EQ(TEXTMALER::MESSKOPIE("Probe {A}"), "Probe {A}");
    EXPECT_EQ(TEXTMALER::MESSKOPIE("w [%]"), "w [%]");
}

TEST(Textmarkup, LeadingNumberOfASymbolRun) {
    EXPECT_DOUBLE_EQ(TEXTMALER::ZAHLWERT("3"), 3);
    EXPECT_DOUBLE_EQ(TEXTMALER::ZAHLWERT("12ab"), 12);
    EXPECT_DOUBLE_EQ(TEXTMALER::ZAHLWERT(""), 0);
    EXPECT_DOUBLE_EQ(TEXTMALER::ZAHLWERT("x1"), 0);
    EXPECT_DOUBLE_EQ(TEXTMALER::ZAHLWERT("1.5"), 1.5);
}

// Run under de_DE and C; texts are written in the German form and Dec()
// turns the decimal comma into the current locale's separator.
class Zahlumschreibung : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        QLocale::setDefault(GetParam() ? QLocale(QLocale::German, QLocale::Germany) : QLocale::c());
    }
    void TearDown() override { QLocale::setDefault(QLocale::c()); }
    QString Dec(const char* deutsch) const {
        QString text = QString::fromUtf8(deutsch);
        return GetParam() ? text : text.replace(',', '.');
    }
};

TEST_P(Zahlumschreibung, NumbersInENotationGetASuperscriptExponent) {
    QString text = Dec("2,5E+03");
    EXPECT_TRUE(TEXTMALER::ZAHLUMSCHREIBEN(text));
    EXPECT_EQ(text, Dec("2,5") + "*10{h,3}+03");
    text = "1e5";
    EXPECT_TRUE(TEXTMALER::ZAHLUMSCHREIBEN(text));
    EXPECT_EQ(text, "1*10{h,1}5");
    text = "1E-05";
    EXPECT_TRUE(TEXTMALER::ZAHLUMSCHREIBEN(text));
    EXPECT_EQ(text, "1*10{h,3}-05");
    for (const QString& unveraendert :
         {Dec("-1,5"), QString("E"), QString("Ende"), QString("12")}) {
        text = unveraendert;
        EXPECT_FALSE(TEXTMALER::ZAHLUMSCHREIBEN(text));
        EXPECT_EQ(text, unveraendert);
    }
}
INSTANTIATE_TEST_SUITE_P(Locales, Zahlumschreibung, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "de_DE" : "C";
                         });

using Textausgabe = GrafikTest;

QList<Primitive> Texte(const QList<Primitive>& alle) {
    QList<Primitive> texte;
    for (const Primitive& p : alle)
        if (p.kind == Primitive::Kind::Text) texte.append(p);
    return texte;
}

TEST_F(Textausgabe, SubscriptExample) {
    grafik->TEXT(10, 20, "m{t,1}s [g]", 0, 0, 0, 0);
    const QList<Primitive> t = Texte(eintraege());
    ASSERT_EQ(t.size(), 3);
    EXPECT_EQ(t[0].text, "m");
    EXPECT_NEAR(t[0].x1, 10, 1e-4);
    EXPECT_NEAR(t[0].y1, 20, 1e-4);
    EXPECT_FLOAT_EQ(t[0].font.Size(), 8);
    EXPECT_EQ(t[1].text, "s");
    EXPECT_FLOAT_EQ(t[1].font.Size(), 7);
    EXPECT_EQ(t[1].font.Name(), "Arial");
    EXPECT_NEAR(t[1].x1, 10 + Breite(1, 8), 1e-4);
    EXPECT_NEAR(t[1].y1, 20 + 0.35 * Hoehe(7), 1e-4);
    EXPECT_EQ(t[2].text, " [g]");
    EXPECT_FLOAT_EQ(t[2].font.Size(), 8);
    EXPECT_NEAR(t[2].x1, 10 + Breite(1, 8) + Breite(1, 7), 1e-4);
    EXPECT_NEAR(t[2].y1, 20, 1e-4);
    // The output object has its own font back.
    EXPECT_FLOAT_EQ(flaeche->FontSize(), 8);
}

TEST_F(Textausgabe, SuperscriptAndSymbolPieces) {
    grafik->SCHRIFTEINSTELLUNGEN("Arial", 10);
    grafik->TEXT(30, 40, "{g,1}Dt x{h,1}2{gt,1}a{gh,1}b", 0, 0, 0, 0);
    const QList<Primitive> t = Texte(eintraege());
    ASSERT_EQ(t.size(), 5); // the empty plain pieces between runs show nothing
    EXPECT_EQ(t[0].text, QString::fromUtf8("Δ"));
    EXPECT_EQ(t[0].font.Name(), "Symbol");
    EXPECT_FLOAT_EQ(t[0].font.Size(), 10);
    EXPECT_NEAR(t[0].y1, 40 - 0.1 * Hoehe(10), 1e-4);
    EXPECT_EQ(t[1].text, "t x");
    EXPECT_NEAR(t[1].x1, 30 + Breite(1, 10), 1e-4);
    EXPECT_EQ(t[2].text, "2");
    EXPECT_FLOAT_EQ(t[2].font.Size(), 9);
    EXPECT_NEAR(t[2].y1, 40 - 0.25 * Hoehe(9), 1e-4);
    EXPECT_EQ(t[3].text, QString::fromUtf8("α"));
    EXPECT_EQ(t[3].font.Name(), "Symbol");
    EXPECT_FLOAT_EQ(t[3].font.Size(), 9);
    EXPECT_NEAR(t[3].y1, 40 + 0.35 * Hoehe(9), 1e-4);
    EXPECT_EQ(t[4].text, QString::fromUtf8("β"));
    EXPECT_NEAR(t[4].y1, 40 - 0.25 * Hoehe(9), 1e-4);
    EXPECT_NEAR(t[4].x1, 30 + Breite(4, 10) + 2 * Breite(1, 9), 1e-4);
}

TEST_F(Textausgabe, TextWithoutMarkupIsDrawnInSlotTwoAndTheFontComesBack) {
    grafik->SCHRIFTEINSTELLUNGEN("Arial", 10);
    flaeche->SetFontName("Courier New");
    flaeche->SetFontSize(12);
    grafik->TEXT(10, 20, "w [%]", 0, 0, 0, 0);
    const QList<Primitive> t = Texte(eintraege());
    ASSERT_EQ(t.size(), 1);
    EXPECT_EQ(t[0].font.Name(), "Arial");
    EXPECT_FLOAT_EQ(t[0].font.Size(), 10);
    EXPECT_EQ(flaeche->FontName(), "Courier New");
    EXPECT_FLOAT_EQ(flaeche->FontSize(), 12);
}

TEST_F(Textausgabe, UnknownCodeKeepsThePreviousFontUnshifted) {
    grafik->TEXT(10, 20, "{h,1}2{q,2}ab", 0, 0, 0, 0);
    const QList<Primitive> t = Texte(eintraege());
    ASSERT_EQ(t.size(), 2);
    EXPECT_EQ(t[1].text, "ab");
    // The slot of the piece before: the empty plain piece between the runs.
    EXPECT_FLOAT_EQ(t[1].font.Size(), 8);
    EXPECT_NEAR(t[1].y1, 20, 1e-4);
    flaeche->log().clear();
    grafik->TEXT(10, 20, "{h,1}2", 0, 0, 0, 0);
    grafik->TEXT(10, 20, "{q,2}ab", 0, 0, 0, 0);
    const QList<Primitive> u = Texte(eintraege());
    ASSERT_EQ(u.size(), 2);
    EXPECT_FLOAT_EQ(u[1].font.Size(), 8); // slot 0: the object's own font
    EXPECT_NEAR(u[1].y1, 20, 1e-4);
}

TEST_F(Textausgabe, InsertedCharacterAndBracesAsText) {
    grafik->TEXT(10, 20, "T [{c,176}C] Probe {A}", 0, 0, 0, 0);
    QString gezeichnet;
    for (const Primitive& p : Texte(eintraege()))
        gezeichnet += p.text;
    EXPECT_EQ(gezeichnet, QString::fromUtf8("T [°C] Probe {A}"));
}

TEST_F(Textausgabe, NumberRewriteIsMeasuredAsPassedAndHandedBack) {
    QString zahl = "2.5E+03";
    grafik->TEXT(100, 20, zahl, 0, 0, 2, 0);
    EXPECT_EQ(zahl, "2.5*10{h,3}+03");
    const QList<Primitive> t = Texte(eintraege());
    ASSERT_EQ(t.size(), 2);
    EXPECT_EQ(t[0].text, "2.5*10");
    EXPECT_NEAR(t[0].x1, 100 - Breite(7, 8), 1e-4); // right-aligned by the width of "2.5E+03"
    EXPECT_EQ(t[1].text, "+03");
    EXPECT_FLOAT_EQ(t[1].font.Size(), 7);
}

TEST_F(Textausgabe, PointSymbolTakesTheRoomOfItsDigits) {
    grafik->TEXT(10, 20, "{s,1}3x", 0, 0, 0, 0);
    const QList<Primitive> kreise = flaeche->log().of(Primitive::Kind::Circle);
    ASSERT_EQ(kreise.size(), 1);
    EXPECT_NEAR(kreise[0].x1, 10.5, 1e-4);
    EXPECT_NEAR(kreise[0].y1, 20 + 0.5 * Hoehe(8), 1e-4);
    EXPECT_NEAR(kreise[0].radius, 0.7, 1e-4);
    EXPECT_EQ(kreise[0].fillStyle, 0);
    EXPECT_EQ(flaeche->FillStyle(), 1);
    EXPECT_EQ(flaeche->FillColor(), RGB(255, 255, 255));
    const QList<Primitive> t = Texte(eintraege());
    ASSERT_EQ(t.size(), 1);
    EXPECT_EQ(t[0].text, "x");
    EXPECT_NEAR(t[0].x1, 10 + Breite(1, 8), 1e-4);

    flaeche->log().clear();
    grafik->TEXT(10, 20, "{s,1}9x", 0, 0, 0, 0);
    EXPECT_EQ(eintraege().size(), 1); // nothing but the x, one digit further
    EXPECT_NEAR(eintraege()[0].x1, 10 + Breite(1, 8), 1e-4);
}

TEST_F(Textausgabe, EmptyTextDrawsNothingWithoutABox) {
    grafik->TEXT(10, 20, "", 0, 0, 0, 0);
    EXPECT_TRUE(eintraege().isEmpty());
}

TEST_F(Textausgabe, AlignmentPlacesTheTopLeftCorner) {
    const double w = Breite(4, 8), h = Hoehe(8);
    grafik->TEXT(50, 60, "abcd", 0, 0, 1, 1);
    grafik->TEXT(50, 60, "abcd", 0, 0, 2, 2);
    const QList<Primitive> t = Texte(eintraege());
    ASSERT_EQ(t.size(), 2);
    EXPECT_NEAR(t[0].x1, 50 - w / 2, 1e-4);
    EXPECT_NEAR(t[0].y1, 60 - h / 2, 1e-4);
    EXPECT_NEAR(t[1].x1, 50 - w, 1e-4);
    EXPECT_NEAR(t[1].y1, 60 - h, 1e-4);
}

TEST_F(Textausgabe, CentredTextNearTheEdgeIsDrawnWholeOrNotAtAll) {
    // The drawing runs from 0 to 145 mm; a centred text needs half its width
    // less 1 mm on either side.
    const float w = flaeche->TextWidth("abcd");
    const float links = -1.0f + w * 1.0f / 2;
    const float rechts = 146.0f - w * 1.0f / 2;
    grafik->TEXT(links, 60, "abcd", 0, 0, 1, 0);
    grafik->TEXT(rechts, 60, "abcd", 0, 0, 1, 0);
    EXPECT_TRUE(eintraege().isEmpty());
    grafik->TEXT(std::nextafter(links, 100.0f), 60, "abcd", 0, 0, 1, 0);
    grafik->TEXT(std::nextafter(rechts, 0.0f), 60, "abcd", 0, 0, 1, 0);
    EXPECT_EQ(eintraege().size(), 2);
}

TEST_F(Textausgabe, LeftAlignedTextMayNotReachOneMillimetreBeyondTheRightEdge) {
    const float w = flaeche->TextWidth("abcd");
    grafik->TEXT(146.0f - w, 60, "abcd", 0, 0, 0, 0);
    EXPECT_TRUE(eintraege().isEmpty());
    grafik->TEXT(145.9f - w, 60, "abcd", 0, 0, 0, 0);
    EXPECT_EQ(eintraege().size(), 1);
    // The same at the foot: a top-aligned text must end above 131 mm.
    flaeche->log().clear();
    grafik->TEXT(50, 131.0f - flaeche->TextHeight("abcd"), "abcd", 0, 0, 0, 0);
    EXPECT_TRUE(eintraege().isEmpty());
    grafik->TEXT(50, -1.0f, "abcd", 0, 0, 0, 0);
    EXPECT_TRUE(eintraege().isEmpty());
}

TEST_F(Textausgabe, WorldCoordinatesAreTestedAgainstThePlotArea) {
    Diagramm(); // plot area x 20..135, y 5..115
    grafik->TEXT(50, 25, "x", 1, 0, 1, 1);
    const QList<Primitive> t = Texte(eintraege());
    ASSERT_EQ(t.size(), 1);
    EXPECT_NEAR(t[0].x1 + Breite(1, 8) / 2, 20 + 50 / grafik->MX, 1e-3);
    EXPECT_NEAR(t[0].y1 + Hoehe(8) / 2, 5 + 25 / grafik->MY, 1e-3);
    // Beyond the widened plot area nothing is drawn, though the drawing has room.
    flaeche->log().clear();
    grafik->TEXT(120, 25, "x", 1, 0, 1, 1);
    grafik->TEXT(-5, 25, "x", 1, 0, 0, 0);
    EXPECT_TRUE(eintraege().isEmpty());
}

TEST_F(Textausgabe, WorldCoordinatesOnALogarithmicAxis) {
    Diagramm();
    grafik->XMIN = 0; // 1 to 1000
    grafik->XMAX = 3;
    grafik->MX = 3.0f / 115;
    grafik->setESKTX(1);
    grafik->TEXT(100, 25, "x", 1, 0, 0, 0);
    const QList<Primitive> t = Texte(eintraege());
    ASSERT_EQ(t.size(), 1);
    EXPECT_NEAR(t[0].x1, 20 + 2 / grafik->MX, 1e-3);
}

TEST_F(Textausgabe, DrawingRelativeCoordinatesAddTheOffsetAndTheShift) {
    grafik->setEXDL(30);
    grafik->setEYDO(12);
    grafik->XVERSCHIEBUNG = -4;
    grafik->TEXT(5, 6, "x", 2, 0, 0, 0);
    const QList<Primitive> t = Texte(eintraege());
    ASSERT_EQ(t.size(), 1);
    EXPECT_NEAR(t[0].x1, 31, 1e-4);
    EXPECT_NEAR(t[0].y1, 18, 1e-4);
}

TEST_F(Textausgabe, WithoutAnOutputObjectOneBox) {
    clsGRAFIK ohne;
    dialoge.expect(vbOK, "91");
    ohne.TEXT(1, 2, "abc", 0, 0, 0, 0);
    ASSERT_EQ(dialoge.boxes().size(), 1);
    EXPECT_TRUE(dialoge.boxes()[0].prompt.startsWith("VB-Fehler: 91\r\n"));
    EXPECT_EQ(dialoge.boxes()[0].title, "Text");
}

TEST_F(Textausgabe, APlaceThatIsNoNumberIsReportedOnceAndNotDrawn) {
    dialoge.expect(vbOK, "VB-Fehler: 6");
    grafik->TEXT(std::nanf(""), 2, "a{t,1}b{h,1}c", 0, 0, 0, 0);
    EXPECT_TRUE(eintraege().isEmpty());
    EXPECT_EQ(dialoge.boxes().size(), 1);
}

TEST_F(Textausgabe, AFailingTransformShowsItsOwnBoxAndTheTextIsNotDrawn) {
    Diagramm();
    grafik->MX = 0;
    dialoge.expect(vbOK, "11");
    grafik->TEXT(50, 25, "x", 1, 0, 0, 0);
    ASSERT_EQ(dialoge.boxes().size(), 1);
    EXPECT_EQ(dialoge.boxes()[0].title, "Koordinatentransformation");
    EXPECT_TRUE(eintraege().isEmpty());
}

TEST_F(Textausgabe, RotatedTextGoesThroughTheRotator) {
    grafik->SCHRIFTEINSTELLUNGEN("Arial", 10);
    grafik->TEXT(50, 60, "w [%]", 0, 90, 0, 0);
    const QList<Primitive> r = flaeche->log().of(Primitive::Kind::RotatedText);
    ASSERT_EQ(r.size(), 1);
    EXPECT_EQ(r[0].text, "w [%]");
    EXPECT_DOUBLE_EQ(r[0].angle, 90);
    EXPECT_EQ(r[0].cellHeight, 15); // 10 pt at 96 dpi: 960 \ 72 = 13, times 1.175 is 15
    EXPECT_EQ(r[0].font.Name(), "Arial");
    // The top left corner of the upright text at the reference point, to the pixel.
    EXPECT_NEAR(r[0].x1, 50, 25.4 / 96);
    EXPECT_NEAR(r[0].y1, 60, 25.4 / 96);
    EXPECT_TRUE(flaeche->FontTransparent());
    EXPECT_FLOAT_EQ(flaeche->FontSize(), 10);
}

TEST_F(Textausgabe, AtNinetyDegreesOnlyTheReferencePointMustBeVisible) {
    grafik->TEXT(144, 120, "a long label that sticks out", 0, 90, 1, 1);
    EXPECT_EQ(flaeche->log().count(Primitive::Kind::RotatedText), 1);
    flaeche->log().clear();
    grafik->TEXT(146.5f, 60, "x", 0, 90, 1, 1);
    EXPECT_TRUE(eintraege().isEmpty());
}

TEST_F(Textausgabe, RotatedPiecesFollowTheTextDirection) {
    grafik->SCHRIFTEINSTELLUNGEN("Arial", 10);
    grafik->TEXT(50, 60, "a{t,1}b", 0, 90, 0, 0);
    const QList<Primitive> r = flaeche->log().of(Primitive::Kind::RotatedText);
    ASSERT_EQ(r.size(), 2);
    // Upwards by the width of "a"; the subscript lies to the right of the
    // text line, which runs upwards.
    EXPECT_NEAR(r[1].y1, 60 - Breite(1, 10), 0.3);
    EXPECT_NEAR(r[1].x1, 50 + 0.35 * Hoehe(9), 0.3);
    EXPECT_EQ(r[1].cellHeight, 14); // 9 pt: 864 \ 72 = 12, times 1.175 is 14.1
}
} // namespace
