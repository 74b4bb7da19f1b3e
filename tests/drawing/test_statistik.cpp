// Mean, sample standard deviation and coefficient of variation.

#include "drawing/STATISTIK.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/Variant.h"
#include "support/ScriptedDialogs.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {
struct Ergebnis {
    float mittel = -1, abweichung = -1;
    QVariant variation = QStringLiteral("unberührt");
};

Ergebnis Rechnen(const std::vector<float>& werte) {
    Ergebnis e;
    STATISTIK(werte, e.mittel, e.abweichung, e.variation);
    return e;
}
} // namespace

TEST(Statistik, TwoValuesWithTheSampleDeviation) {
    const Ergebnis e = Rechnen({10, 20});
    EXPECT_FLOAT_EQ(e.mittel, 15);
    EXPECT_NEAR(e.abweichung, 7.0711, 1e-4); // divisor n - 1
    ASSERT_EQ(VarTypeOf(e.variation), VarType::Single);
    EXPECT_NEAR(CDbl(e.variation), 0.4714, 1e-4); // a fraction, not per cent
}

TEST(Statistik, CloseValuesKeepTheirSpread) {
    // A sum of squares in single precision would give about 0.020 here.
    const Ergebnis e = Rechnen({100.01f, 100.02f, 100.03f});
    EXPECT_NEAR(e.mittel, 100.02, 1e-4);
    EXPECT_NEAR(e.abweichung, 0.0100, 2e-5);
    EXPECT_NEAR(CDbl(e.variation), 0.0100 / 100.02, 1e-6);
}

TEST(Statistik, OneValueHasNoSpread) {
    const Ergebnis e = Rechnen({42.5f});
    EXPECT_FLOAT_EQ(e.mittel, 42.5f);
    EXPECT_EQ(e.abweichung, 0);
    EXPECT_EQ(CDbl(e.variation), 0);
}

TEST(Statistik, EqualValuesGiveExactlyZero) {
    const Ergebnis e = Rechnen({0.1f, 0.1f, 0.1f, 0.1f, 0.1f, 0.1f, 0.1f});
    EXPECT_FLOAT_EQ(e.mittel, 0.1f);
    EXPECT_EQ(e.abweichung, 0);
    EXPECT_EQ(CDbl(e.variation), 0);
}

TEST(Statistik, MeanOfZeroGivesNoCoefficientAndNoBox) {
    ScriptedDialogs dialoge; // any box would fail the test
    const Ergebnis e = Rechnen({-5, 5});
    EXPECT_EQ(e.mittel, 0);
    EXPECT_NEAR(e.abweichung, 7.0711, 1e-4);
    EXPECT_TRUE(IsEmpty(e.variation));
    EXPECT_TRUE(dialoge.boxes().isEmpty());
}

TEST(Statistik, NoValues) {
    const Ergebnis e = Rechnen({});
    EXPECT_EQ(e.mittel, 0);
    EXPECT_EQ(e.abweichung, 0);
    EXPECT_TRUE(IsEmpty(e.variation));
}

TEST(Statistik, ResultBeyondASingleRaisesOverflow) {
    const float gross = std::numeric_limits<float>::max();
    float m = 0, s = 0;
    QVariant v;
    try {
        STATISTIK({gross, -gross}, m, s, v);
        FAIL() << "no error";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.Number(), 6);
    }
}
