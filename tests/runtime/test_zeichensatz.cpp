#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/Zeichensatz.h"

#include <QSet>
#include <gtest/gtest.h>

TEST(SymbolFont, GreekLettersAndSigns)
{
    const struct {
        int code;
        char16_t shown;
    } samples[] = {
        {'a', u'α'}, {'b', u'β'}, {'g', u'γ'}, {'d', u'δ'}, {'D', u'Δ'}, {'m', u'μ'},
        {'s', u'σ'}, {'p', u'π'}, {'f', u'φ'}, {'w', u'ω'}, {'W', u'Ω'}, {'e', u'ε'},
        {'l', u'λ'}, {'r', u'ρ'}, {'t', u'τ'}, {'h', u'η'}, {'q', u'θ'}, {'c', u'χ'},
        {'S', u'Σ'}, {'F', u'Φ'}, {'G', u'Γ'}, {'P', u'Π'}, {'Q', u'Θ'}, {'L', u'Λ'},
        {0xB0, u'°'}, {0xB1, u'±'}, {0xB3, u'≥'}, {0xA3, u'≤'}, {0xB4, u'×'}, {0xB8, u'÷'},
        {0xA5, u'∞'}, {0xB9, u'≠'}, {0xBB, u'≈'}, {0xD6, u'√'}, {0xE5, u'∑'}, {0xF2, u'∫'},
        {0xAE, u'→'}, {0xB6, u'∂'}, {0xD1, u'∇'}, {'-', u'−'}, {'"', u'∀'}, {'~', u'∼'},
    };
    for (const auto& s : samples)
        EXPECT_EQ(SymbolFontChar(s.code), QChar(s.shown)) << "code " << s.code;
}

TEST(SymbolFont, DigitsAndPunctuationStay)
{
    for (int code : {'0', '5', '9', '(', ')', '[', ']', '+', '=', ',', '.', '/', ' ', '{', '}'})
        EXPECT_EQ(SymbolFontChar(code), QChar(code)) << "code " << code;
}

TEST(SymbolFont, EveryLatinLetterShowsADistinctGreekLetter)
{
    QSet<QChar> seen;
    for (int code = 'A'; code <= 'z'; ++code) {
        if (code > 'Z' && code < 'a') continue;
        const QChar c = SymbolFontChar(code);
        EXPECT_EQ(c.script(), QChar::Script_Greek) << "code " << code;
        EXPECT_FALSE(seen.contains(c)) << "code " << code;
        seen.insert(c);
    }
}

TEST(SymbolFont, TheWholeUpperHalfIsFilledExceptTheEmptyCode)
{
    for (int code = 0xA0; code <= 0xFE; ++code) {
        if (code == 0xF0) continue;
        EXPECT_GE(SymbolFontChar(code).unicode(), 0xA0) << "code " << code;
        EXPECT_FALSE(SymbolFontChar(code).isLetter() && SymbolFontChar(code).unicode() < 0x100)
            << "code " << code;
    }
}

TEST(SymbolFont, TextsOfTheLabels)
{
    EXPECT_EQ(SymbolFontText("D"), "Δ");
    EXPECT_EQ(SymbolFontText("Dt"), "Δτ");
    EXPECT_EQ(SymbolFontText("r"), "ρ");
    EXPECT_EQ(SymbolFontText("°±"), "°±");          // code page codes 0xB0, 0xB1
    EXPECT_EQ(SymbolFontText("a1,5"), "α1,5");
    EXPECT_EQ(SymbolFontText(QString(QChar(0x4E2D))), QString(QChar(0x4E2D)));  // not in 1252
}

TEST(CodePage1252, InsertedCharacters)
{
    EXPECT_EQ(Cp1252Char(176), QChar(u'°'));
    EXPECT_EQ(Cp1252Char(179), QChar(u'³'));
    EXPECT_EQ(Cp1252Char(178), QChar(u'²'));
    EXPECT_EQ(Cp1252Char(181), QChar(u'µ'));
    EXPECT_EQ(Cp1252Char(65), QChar(u'A'));
    EXPECT_EQ(Cp1252Char(128), QChar(u'€'));
    EXPECT_EQ(Cp1252Char(150), QChar(u'–'));
    EXPECT_EQ(Cp1252Char(0x84), QChar(u'„'));
    EXPECT_EQ(Cp1252Char(0x93), QChar(u'“'));
    EXPECT_EQ(Cp1252Char(0x99), QChar(u'™'));
    EXPECT_EQ(Cp1252Char(0x9F), QChar(u'Ÿ'));
    EXPECT_EQ(Cp1252Char(0x81), QChar(char16_t(0x81)));
    EXPECT_EQ(Cp1252Char(223), QChar(u'ß'));
    EXPECT_EQ(Cp1252Char(252), QChar(u'ü'));
}

TEST(CodePage1252, CodesOutsideTheCodePageAreRuntimeError5)
{
    for (int code : {-1, 256, 1000}) {
        try {
            Cp1252Char(code);
            ADD_FAILURE() << "no error for " << code;
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.Number(), 5);
        }
    }
}

TEST(CodePage1252, EveryCodeComesBack)
{
    QSet<QChar> seen;
    for (int code = 0; code <= 255; ++code) {
        const QChar c = Cp1252Char(code);
        EXPECT_EQ(Cp1252Code(c), code);
        EXPECT_FALSE(seen.contains(c));
        seen.insert(c);
    }
    EXPECT_EQ(Cp1252Code(QChar(0x0394)), -1);
}
