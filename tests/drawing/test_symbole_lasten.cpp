// Load areas with the load scale kept in the figure's layout row, and the
// section-force symbol.

#include "test_kreis_hilfen.h"

#include "platform/database/Connection.h"
#include "platform/runtime/MsgBox.h"

#include <cmath>

namespace {
class Lasten : public KreisTest {
protected:
    void SetUp() override {
        KreisTest::SetUp();
        // The first active record in the order stored is 9, not the
        // smallest key and not the figure's own record.
        fenster->DATENSATZANLEGEN(5, "S-5", QString(), false);
        fenster->DATENSATZANLEGEN(9, "S-9", QString(), true);
        fenster->DATENSATZANLEGEN(3, "S-3", QString(), true);
        grafik->setEID(3);
        grafik->setEIDOBJEKT(11);
        Flaeche();
    }

    QVariant Massstab(int id = 9, int objekt = 11) {
        return fenster->WERT(QStringLiteral("SELECT [MSP] FROM [G0] WHERE [ID]=? AND [IDOBJEKT]=?"),
                             {id, objekt});
    }

    QList<Primitive> InFarbe(int32_t farbe) {
        QList<Primitive> l;
        for (const Primitive& p : Von(Primitive::Kind::Line))
            if (p.colour == farbe) l << p;
        return l;
    }

    // The segment from world (50, 40) to (130, 40): page (80, 50) to (160, 50).
    const std::vector<float> X{50, 130};
    const std::vector<float> Y{40, 40};
};

TEST_F(Lasten, TheFirstLoadAreaFixesTheScaleInTheLayoutRowOfTheFirstActiveRecord) {
    clsGRAFIK::LASTORDINATEN p{};
    p[0] = {30, 15};
    grafik->LASTFLAECHEN(X, Y, p, 4);
    EXPECT_TRUE(dialoge.boxes().isEmpty());
    // The larger resultant (30) is 15 mm long: 2 units per millimetre, in a
    // new row of record 9.
    EXPECT_FLOAT_EQ(Massstab().toFloat(), 2);
    EXPECT_EQ(fenster->ZEILEN("G0"), 1);

    const QList<Primitive> erste = InFarbe(QBColor(12));
    ASSERT_EQ(erste.size(), 1 + 5 * 4 + 1);
    EXPECT_TRUE(GleicheStrecke(erste[0], {80, 50, 160, 50}));
    // Five arrows at 0, 1/4 .. 4/4 of the segment, from the load line (15 mm
    // high at the first end, 7.5 at the second) down onto the segment, with
    // their heads on it.
    for (int k = 0; k <= 4; ++k) {
        const double x = 80 + 20 * k, oben = 50 - 15 + 1.875 * k;
        EXPECT_TRUE(GleicheStrecke(erste[1 + 4 * k], {x, 50, x, oben})) << k;
        const Primitive& seite = erste[2 + 4 * k];
        EXPECT_NEAR(std::hypot(seite.x2 - seite.x1, seite.y2 - seite.y1), 2.5, 1e-3);
        EXPECT_TRUE(std::hypot(seite.x1 - x, seite.y1 - 50) < 1e-3 ||
                    std::hypot(seite.x2 - x, seite.y2 - 50) < 1e-3);
    }
    EXPECT_TRUE(GleicheStrecke(erste.last(), {80, 35, 160, 42.5}));

    // The second load (all 0) on the first one's line, in the darker red.
    const QList<Primitive> zweite = InFarbe(QBColor(4));
    ASSERT_EQ(zweite.size(), 5 * 4 + 1);
    EXPECT_TRUE(GleicheStrecke(zweite.last(), {80, 35, 160, 42.5}));
    EXPECT_EQ(Von(Primitive::Kind::Line).size(), erste.size() + zweite.size());

    // The pen stays as the second load left it.
    EXPECT_EQ(flaeche->ForeColor(), QBColor(4));
    EXPECT_EQ(flaeche->DrawWidth(), 1);
    EXPECT_EQ(flaeche->DrawStyle(), 0);
}

TEST_F(Lasten, LaterLoadAreasOfTheFigureKeepTheScale) {
    clsGRAFIK::LASTORDINATEN p{};
    p[0] = {30, 15};
    grafik->LASTFLAECHEN(X, Y, p, 4);
    flaeche->log().clear();
    p[0] = {60, 30};
    grafik->LASTFLAECHEN(X, Y, p, 4);
    EXPECT_FLOAT_EQ(Massstab().toFloat(), 2);
    EXPECT_TRUE(GleicheStrecke(InFarbe(QBColor(12)).last(), {80, 20, 160, 35}));
    // Another figure has a scale of its own.
    grafik->setEIDOBJEKT(12);
    grafik->LASTFLAECHEN(X, Y, p, 4);
    EXPECT_FLOAT_EQ(Massstab(9, 12).toFloat(), 4);
}

TEST_F(Lasten, AStoredScaleIsUsedAsItIs) {
    fenster->DBPROJEKT()->Execute(
        QStringLiteral("INSERT INTO [G0] ([ID],[IDOBJEKT],[MSP]) VALUES (9,11,5)"));
    clsGRAFIK::LASTORDINATEN p{};
    p[0] = {30, 15};
    grafik->LASTFLAECHEN(X, Y, p, 2);
    EXPECT_FLOAT_EQ(Massstab().toFloat(), 5);
    EXPECT_TRUE(GleicheStrecke(InFarbe(QBColor(12)).last(), {80, 44, 160, 47}));
}

TEST_F(Lasten, SecondLoadAndSidewaysOrdinatesStackOnTheFirst) {
    clsGRAFIK::LASTORDINATEN p{};
    p[0] = {30, 30};
    p[1] = {0, 0};
    p[2] = {15, 15};
    p[3] = {20, 20};
    grafik->LASTFLAECHEN(X, Y, p, 1);
    // Resultant at either end: sqrt(45^2 + 20^2) / 15 units per millimetre.
    const double msp = std::sqrt(45.0 * 45 + 20 * 20) / 15;
    EXPECT_NEAR(Massstab().toDouble(), msp, 1e-5);
    const double h1 = 30 / msp, h2 = 15 / msp, s2 = 20 / msp;
    EXPECT_TRUE(GleicheStrecke(InFarbe(QBColor(12)).last(), {80, 50 - h1, 160, 50 - h1}));
    const QList<Primitive> zweite = InFarbe(QBColor(4));
    ASSERT_EQ(zweite.size(), 2 * 4 + 1);
    // Arrows from the second load line, moved to the right, down onto the first.
    EXPECT_TRUE(GleicheStrecke(zweite[0], {80, 50 - h1, 80 + s2, 50 - h1 - h2}));
    EXPECT_TRUE(GleicheStrecke(zweite.last(), {80 + s2, 50 - h1 - h2, 160 + s2, 50 - h1 - h2}));
}

TEST_F(Lasten, NoLoadAtAllGivesNoScaleAndOneBox) {
    clsGRAFIK::LASTORDINATEN p{};
    dialoge.expect(vbOK, QStringLiteral("VB-Fehler: 6\r\n"));
    grafik->LASTFLAECHEN(X, Y, p, 4);
    ASSERT_EQ(dialoge.boxes().size(), 1);
    EXPECT_EQ(dialoge.boxes()[0].title, QStringLiteral("Lastflächen"));
    EXPECT_EQ(dialoge.boxes()[0].style, 49);
    // Only the segment.
    const QList<Primitive> l = Von(Primitive::Kind::Line);
    ASSERT_EQ(l.size(), 1);
    EXPECT_TRUE(GleicheStrecke(l[0], {80, 50, 160, 50}));
    EXPECT_FLOAT_EQ(Massstab().toFloat(), 0);
}

TEST_F(Lasten, NoArrowIntervalsIsReportedOnce) {
    clsGRAFIK::LASTORDINATEN p{};
    p[0] = {30, 15};
    dialoge.expect(vbOK, QStringLiteral("VB-Fehler: 11\r\n"));
    grafik->LASTFLAECHEN(X, Y, p, 0);
    ASSERT_EQ(dialoge.boxes().size(), 1);
    EXPECT_EQ(Von(Primitive::Kind::Line).size(), 1);
}

TEST_F(Lasten, LoadAreasAreCutAtThePlotArea) {
    clsGRAFIK::LASTORDINATEN p{};
    p[0] = {300, 300}; // far above the plot area once the scale is fixed low
    fenster->DBPROJEKT()->Execute(
        QStringLiteral("INSERT INTO [G0] ([ID],[IDOBJEKT],[MSP]) VALUES (9,11,5)"));
    grafik->LASTFLAECHEN(X, Y, p, 4);
    // The load line lies at y -10: the arrows end at the top of the plot
    // area, the load lines and the empty second load are not drawn.
    const QList<Primitive> l = Von(Primitive::Kind::Line);
    ASSERT_EQ(l.size(), 1 + 5 * (1 + 3));
    for (const Primitive& s : l)
        EXPECT_GE(std::min(s.y1, s.y2), 10 - 1e-3);
    EXPECT_TRUE(GleicheStrecke(l[1], {80, 50, 80, 10}));
}

// ------------------------------------------------------------ section force

using Schnittkraft = KreisTest;

TEST_F(Schnittkraft, ADoubleArrowAcrossTheMiddleOfTheMember) {
    Flaeche();
    grafik->SCHNITTKRAFT(50, 40, 130, 40, 10, 1, 1);
    const QList<Primitive> l = Von(Primitive::Kind::Line);
    ASSERT_EQ(l.size(), 1 + 1 + 3 + 3);
    EXPECT_TRUE(GleicheStrecke(l[0], {80, 50, 160, 50}));
    EXPECT_TRUE(GleicheStrecke(l[1], {120, 45, 120, 55}));
    // A head at each end, 2.5 mm sides.
    for (int i : {2, 5}) {
        const double ende = i == 2 ? 55 : 45;
        EXPECT_TRUE(std::hypot(l[i].x1 - 120, l[i].y1 - ende) < 1e-3 ||
                    std::hypot(l[i].x2 - 120, l[i].y2 - ende) < 1e-3);
        EXPECT_NEAR(std::hypot(l[i].x2 - l[i].x1, l[i].y2 - l[i].y1), 2.5, 1e-3);
    }
    for (const Primitive& p : l)
        EXPECT_EQ(p.colour, QBColor(2));
    EXPECT_EQ(flaeche->ForeColor(), QBColor(2));
}

TEST_F(Schnittkraft, ADoubleArrowAlongTheMemberAboveIt) {
    Flaeche();
    for (int16_t typ : {2, 3}) {
        flaeche->log().clear();
        grafik->SCHNITTKRAFT(50, 40, 130, 40, 10, typ, 1);
        const QList<Primitive> l = Von(Primitive::Kind::Line);
        ASSERT_EQ(l.size(), 8);
        EXPECT_TRUE(GleicheStrecke(l[1], {115, 48.75, 125, 48.75}));
    }
    // Drawn the other way round, the arrow moves to the other side.
    flaeche->log().clear();
    grafik->SCHNITTKRAFT(130, 40, 50, 40, 10, 2, 1);
    EXPECT_TRUE(GleicheStrecke(Von(Primitive::Kind::Line).value(1), {115, 51.25, 125, 51.25}));
}

TEST_F(Schnittkraft, AShortArrowHasHeadsOfHalfItsLength) {
    Flaeche();
    grafik->SCHNITTKRAFT(50, 40, 130, 40, 4, 1, 1);
    const QList<Primitive> l = Von(Primitive::Kind::Line);
    ASSERT_EQ(l.size(), 8);
    EXPECT_NEAR(std::hypot(l[2].x2 - l[2].x1, l[2].y2 - l[2].y1), 2, 1e-3);
}

TEST_F(Schnittkraft, OnlyTheMemberWithoutTheSwitchOrWithAnotherType) {
    Flaeche();
    grafik->SCHNITTKRAFT(50, 40, 130, 40, 10, 1, 0);
    grafik->SCHNITTKRAFT(50, 40, 130, 40, 10, 0, 1);
    grafik->SCHNITTKRAFT(50, 40, 130, 40, 10, 4, 1);
    EXPECT_EQ(Von(Primitive::Kind::Line).size(), 3);
    EXPECT_EQ(eintraege().size(), 3);
}

TEST_F(Schnittkraft, ThePenIsTwoTenthsOfAMillimetre) {
    RecordingSurface drucker(254, 127, 600, OutputObject::Kind::Printer);
    drucker.SetScaleMode(6);
    grafik->setEOBJEKT(&drucker);
    Flaeche();
    grafik->SCHNITTKRAFT(50, 40, 130, 40, 10, 1, 1);
    EXPECT_EQ(drucker.DrawWidth(), 5); // 0.2 mm at 600 dpi is 4.7 pixels
    const QList<Primitive> l = drucker.log().of(Primitive::Kind::Line);
    ASSERT_FALSE(l.isEmpty());
    EXPECT_EQ(l[0].drawWidth, 5);
    grafik->setEOBJEKT(flaeche.get());
}

TEST_F(Schnittkraft, WithoutAnOutputObjectOneBox) {
    clsGRAFIK ohne;
    dialoge.expect(vbOK, QStringLiteral("VB-Fehler: 91\r\n"));
    ohne.SCHNITTKRAFT(50, 40, 130, 40, 10, 1, 1);
    ASSERT_EQ(dialoge.boxes().size(), 1);
    EXPECT_EQ(dialoge.boxes()[0].title, QStringLiteral("Schnittkraft"));
}
} // namespace
