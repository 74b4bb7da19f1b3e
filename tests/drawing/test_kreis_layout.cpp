// A layout that SKALEN has reported as one that cannot place a point: the
// transformation, text in world coordinates, circles and symbols of the
// figure then draw nothing and show no further box.

#include "test_kreis_hilfen.h"

#include "platform/runtime/MsgBox.h"

#include <cmath>

namespace {
class Layoutmeldung : public SkalenTest {
protected:
    // A stored x range of width 0, reported once by SKALEN.
    void Verworfen() {
        Standardzeile({{"XMIN", 10}, {"XMAX", 10}});
        grafik->setELXMIN(QVariant());
        YListen({0, 50}, {50}, {5}, {0}, {0});
        dialoge.expect(vbOK, QStringLiteral("VB-Fehler:11\r\n"));
        grafik->SKALEN(0);
        ASSERT_EQ(dialoge.boxes().size(), 1);
        flaeche->log().clear();
    }
};

TEST_F(Layoutmeldung, TransformationAndWorldTextStaySilent) {
    Verworfen();
    float xp = 1, yp = 1;
    grafik->KOORDTRANS(50, 25, xp, yp);
    EXPECT_TRUE(std::isnan(xp));
    EXPECT_TRUE(std::isnan(yp));
    grafik->TEXT(50, 25, "x", 1, 0, 0, 0);
    EXPECT_TRUE(eintraege().isEmpty());
    EXPECT_EQ(dialoge.boxes().size(), 1);
    // Text on the page still has its place.
    grafik->TEXT(50, 25, "x", 0, 0, 0, 0);
    EXPECT_EQ(flaeche->log().count(Primitive::Kind::Text), 1);
}

TEST_F(Layoutmeldung, CirclesAndSymbolsDrawNothing) {
    Verworfen();
    fenster->DATENSATZANLEGEN(7, "S-7", QString(), true);
    float al2 = 0;
    grafik->KREIS(50, 25, 10, 0, al2, 3, false);
    grafik->KREIS(50, 25, 10, 0, 0, 3, true, 0);
    grafik->GELAENDESCHRAFFUR(50, 25, 5, 2, 0);
    grafik->KOTENDREIECK(50, 25, 4, 0, 1, 3);
    clsGRAFIK::LASTORDINATEN p{};
    p[0] = {30, 15};
    grafik->LASTFLAECHEN(std::vector<float>{20, 60}, std::vector<float>{25, 25}, p, 4);
    grafik->SCHNITTKRAFT(20, 25, 60, 25, 10, 1, 1);
    EXPECT_TRUE(eintraege().isEmpty());
    EXPECT_EQ(dialoge.boxes().size(), 1);
    EXPECT_TRUE(Spalte("MSP").isNull()); // no scale fixed for a figure not drawn
    EXPECT_EQ(al2, 2 * 3.1415927f);
}

TEST_F(Layoutmeldung, ALaterValidLayoutDrawsAgain) {
    Verworfen();
    fenster->DBPROJEKT()->Execute("UPDATE [G0] SET [XMAX]=110");
    grafik->SKALEN(0);
    EXPECT_EQ(dialoge.boxes().size(), 1);
    float xp = 0, yp = 0;
    grafik->KOORDTRANS(60, 25, xp, yp);
    EXPECT_NEAR(xp, 20 + 50 * (145.0 - 30) / 100, 1e-3);
    // A scale of 0 that SKALEN has not reported is reported as before.
    grafik->MX = 0;
    dialoge.expect(vbOK, QStringLiteral("VB-Fehler: 11\r\n"));
    grafik->KOORDTRANS(60, 25, xp, yp);
    ASSERT_EQ(dialoge.boxes().size(), 2);
    EXPECT_EQ(dialoge.boxes()[1].title, QStringLiteral("Koordinatentransformation"));
}
} // namespace
