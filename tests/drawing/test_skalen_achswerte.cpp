// The range search of one axis: snapping to the candidate bounds, the
// choice of the length, the tick values and counts on linear and
// logarithmic axes, and the failures it hands to SKALEN.

#include "drawing/clsGRAFIK.h"
#include "platform/runtime/RuntimeError.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {
struct Achse {
    float MIN = 0, MAX = 0;
    std::vector<float> WERTE, LOGWERTE;
    int16_t NIT = -5, NLOG = -5, NGIT = -5, NZL = -5;
    QVariant LMIN, LDIFF, LIT, LGIT, LZL;

    void Suchen(int16_t modus, bool bomin, bool bomax, int16_t skt,
                const std::vector<float>& daten) {
        clsGRAFIK::ACHSWERTE(modus, bomin, bomax, skt, daten, MIN, MAX, WERTE, LOGWERTE, NIT, NLOG,
                             NGIT, NZL, LMIN, LDIFF, LIT, LGIT, LZL);
    }
};

QVariant Liste(const std::vector<double>& werte) {
    QVariantList liste;
    for (double wert : werte)
        liste.append(wert);
    return liste;
}

// Bounds every 5 up to 50, lengths 5 to 50 with their counts.
Achse Fuenfer() {
    Achse a;
    a.LMIN = clsGRAFIK::LISTE({0, 5, 10, 15, 20, 25, 30, 35, 40, 45, 50});
    a.LDIFF = clsGRAFIK::LISTE({5, 10, 15, 20, 25, 30, 35, 40, 45, 50});
    a.LIT = clsGRAFIK::LISTE({10, 10, 6, 8, 5, 6, 7, 8, 6, 10});
    a.LGIT = clsGRAFIK::LISTE({1, 1, 1, 1, 1, 1, 1, 1, 1, 1});
    a.LZL = clsGRAFIK::LISTE({5, 5, 3, 4, 5, 6, 7, 4, 3, 5});
    return a;
}

void GleicheWerte(const std::vector<float>& ist, const std::vector<double>& soll) {
    ASSERT_EQ(ist.size(), soll.size());
    for (size_t i = 0; i < soll.size(); ++i)
        EXPECT_NEAR(ist[i], soll[i], 1e-5) << i;
}

TEST(Achswerte, TheWorkedExampleGivesZeroToTwentyInFiveSteps) {
    Achse a;
    a.LMIN = clsGRAFIK::LISTE({0, 5, 10, 15, 20, 25, 30});
    a.LDIFF = clsGRAFIK::LISTE({10, 20, 30});
    a.LIT = clsGRAFIK::LISTE({5, 4, 6});
    a.LGIT = clsGRAFIK::LISTE({1, 2, 3});
    a.LZL = clsGRAFIK::LISTE({5, 4, 3});
    a.Suchen(-1, true, true, 0, {3.2f, 17.9f, 9.0f});
    EXPECT_EQ(a.MIN, 0);
    EXPECT_EQ(a.MAX, 20);
    EXPECT_EQ(a.NIT, 4);
    EXPECT_EQ(a.NGIT, 2);
    EXPECT_EQ(a.NZL, 4);
    GleicheWerte(a.WERTE, {0, 5, 10, 15, 20, 0}); // with the trailing element
    EXPECT_EQ(a.NLOG, -5);                        // untouched on a linear axis
    EXPECT_TRUE(a.LOGWERTE.empty());
}

TEST(Achswerte, DataInsideTheFirstIntervalDependsOnTheMode) {
    for (int16_t modus : {-1, 0, 1, 2}) {
        Achse a = Fuenfer();
        a.MIN = 20; // stored ends take part only with mode 0 and 2
        a.MAX = 40;
        a.Suchen(modus, true, true, 0, {1.5f, 4.0f});
        if (modus == 0 || modus == 2) {
            EXPECT_EQ(a.MIN, 0) << modus;
            EXPECT_EQ(a.MAX, 40) << modus;
        } else {
            EXPECT_EQ(a.MIN, 0) << modus;
            // Mode 1 keeps the snapped maximum; -1 takes minimum + length.
            EXPECT_EQ(a.MAX, 5) << modus;
            EXPECT_EQ(a.NIT, 10) << modus;
        }
    }
}

TEST(Achswerte, ModeOneKeepsTheSnappedMaximumWhileTheTicksRunToTheLength) {
    Achse a;
    a.LMIN = clsGRAFIK::LISTE({0, 10, 20, 30, 40, 50});
    a.LDIFF = clsGRAFIK::LISTE({10, 20, 50, 100});
    a.LIT = clsGRAFIK::LISTE({2, 4, 5, 10});
    a.LGIT = clsGRAFIK::LISTE({0, 0, 0, 0});
    a.LZL = a.LGIT;
    a.Suchen(1, true, true, 0, {3.2f, 33.0f});
    EXPECT_EQ(a.MIN, 0);
    EXPECT_EQ(a.MAX, 40);
    GleicheWerte(a.WERTE, {0, 10, 20, 30, 40, 50, 0});
    a.Suchen(-1, true, true, 0, {3.2f, 33.0f});
    EXPECT_EQ(a.MAX, 50);
}

TEST(Achswerte, EndsBeyondTheListAreCutAndLengthsClamped) {
    Achse a;
    a.LMIN = clsGRAFIK::LISTE({0, 10, 20});
    a.LDIFF = clsGRAFIK::LISTE({10, 20});
    a.LIT = clsGRAFIK::LISTE({1, 2});
    a.LGIT = clsGRAFIK::LISTE({0, 0});
    a.LZL = a.LGIT;
    a.Suchen(-1, true, true, 0, {-5, 25});
    EXPECT_EQ(a.MIN, 0);
    EXPECT_EQ(a.MAX, 20);
    // A length beyond the last candidate is cut to it; an equal one is taken.
    a.MIN = 0;
    a.MAX = 35;
    a.Suchen(0, false, false, 0, {0});
    EXPECT_EQ(a.MAX, 20);
    a.MIN = 5;
    a.MAX = 15;
    a.Suchen(0, false, false, 0, {0});
    EXPECT_EQ(a.MIN, 5);
    EXPECT_EQ(a.MAX, 15);
    EXPECT_EQ(a.NIT, 1);
    // With mode 0 the stored range only widens.
    a.MIN = 0;
    a.MAX = 20;
    a.Suchen(0, true, true, 0, {9, 11});
    EXPECT_EQ(a.MIN, 0);
    EXPECT_EQ(a.MAX, 20);
}

TEST(Achswerte, LogarithmicDecadesFromOneToAThousand) {
    Achse a;
    a.LMIN = clsGRAFIK::LISTE({1, 10, 100, 1000});
    a.LDIFF = clsGRAFIK::LISTE({1000});
    a.LIT = clsGRAFIK::LISTE({1});
    a.LGIT = clsGRAFIK::LISTE({1});
    a.LZL = clsGRAFIK::LISTE({1});
    a.MIN = 1;
    a.MAX = 1000;
    a.Suchen(0, false, false, 1, {0});
    EXPECT_EQ(a.MIN, 1); // the ends stay plain values
    EXPECT_EQ(a.MAX, 1000);
    EXPECT_EQ(a.NIT, 4);
    GleicheWerte(a.WERTE, {0, 1, 2, 3, 3});
    EXPECT_EQ(a.NLOG, 4);
    GleicheWerte(a.LOGWERTE, {0, 1, 2, 3, 3});
    EXPECT_EQ(a.NGIT, 1);
    EXPECT_EQ(a.NZL, 1);
}

TEST(Achswerte, LogarithmicOneToNineFromTwoToFifty) {
    Achse a;
    a.LMIN = clsGRAFIK::LISTE({1, 2, 5, 10, 20, 50, 100});
    a.LDIFF = clsGRAFIK::LISTE({100});
    a.LIT = clsGRAFIK::LISTE({10});
    a.LGIT = clsGRAFIK::LISTE({10});
    a.LZL = clsGRAFIK::LISTE({10});
    a.MIN = 2;
    a.MAX = 50;
    a.Suchen(0, false, false, 1, {0});
    EXPECT_EQ(a.NIT, 12);
    std::vector<double> soll;
    for (int q = 2; q <= 9; ++q)
        soll.push_back(std::log10(q));
    for (int q = 1; q <= 4; ++q)
        soll.push_back(1 + std::log10(q));
    soll.push_back(std::log10(50));
    soll.push_back(0); // the element after the last mark
    GleicheWerte(a.WERTE, soll);
    EXPECT_EQ(a.NLOG, 12);
    EXPECT_EQ(a.LOGWERTE.size(), 13u);

    // Grid code 1 under ticks at 1 to 9: the grid lies on the decades.
    a.LGIT = clsGRAFIK::LISTE({1});
    a.Suchen(0, false, false, 1, {0});
    EXPECT_EQ(a.NLOG, 2);
    GleicheWerte(a.LOGWERTE, {std::log10(2), 1, std::log10(50)});
}

TEST(Achswerte, LogarithmicEndsAreSnappedEvenWhenNotFromData) {
    Achse a;
    a.LMIN = clsGRAFIK::LISTE({1, 10, 100, 1000});
    a.LDIFF = clsGRAFIK::LISTE({1000});
    a.LIT = clsGRAFIK::LISTE({0});
    a.LGIT = clsGRAFIK::LISTE({0});
    a.LZL = a.LGIT;
    a.MIN = 3;
    a.MAX = 300;
    a.Suchen(0, false, false, 1, {0});
    EXPECT_EQ(a.MIN, 1);
    EXPECT_EQ(a.MAX, 1000);
    EXPECT_EQ(a.NIT, 0);
    GleicheWerte(a.WERTE, {0}); // tick code 0: one tick at the minimum
}

TEST(Achswerte, OtherScaleTypesTakeOnlyTheDataExtremes) {
    Achse a = Fuenfer();
    a.MIN = 3;
    a.MAX = 4;
    a.Suchen(-1, true, true, 2, {3.2f, 47.9f});
    EXPECT_FLOAT_EQ(a.MIN, 3.2f);
    EXPECT_FLOAT_EQ(a.MAX, 47.9f);
    EXPECT_EQ(a.NIT, -5);
    EXPECT_TRUE(a.WERTE.empty());
}

TEST(Achswerte, FailuresReachTheCaller) {
    const auto nummer = [](auto&& aufruf) {
        try {
            aufruf();
        } catch (const RuntimeError& e) {
            return e.Number();
        }
        return 0;
    };
    Achse a = Fuenfer();
    a.LIT = QVariant(3.0); // no list
    EXPECT_EQ(nummer([&] { a.Suchen(-1, true, true, 0, {1, 2}); }), 13);
    a = Fuenfer();
    a.LIT = Liste(std::vector<double>(10, 0.0)); // a tick count of 0
    EXPECT_EQ(nummer([&] { a.Suchen(-1, true, true, 0, {1, 2}); }), 11);
    a = Fuenfer();
    a.LDIFF = QVariantList{};
    EXPECT_EQ(nummer([&] { a.Suchen(-1, true, true, 0, {1, 2}); }), 9);
    a = Fuenfer();
    EXPECT_EQ(nummer([&] { a.Suchen(-1, true, true, 0, {}); }), 9);
}
} // namespace
