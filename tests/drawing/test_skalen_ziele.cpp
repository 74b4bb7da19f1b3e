// A figure drawn through SKALEN and POLYGON on the screen's picture box and
// on the printer: the same millimetre geometry, the printout shifted by its
// offsets, from the same layout row.

#include "drawing/clsGRAFIK.h"
#include "platform/database/Connection.h"
#include "support/ScriptedDialogs.h"
#include "support/TESTHAUPTFENSTER.h"
#include "ZIELVERGLEICH.h"

#include <gtest/gtest.h>


namespace {
const std::vector<float> kDET = {0, 0.25f, 1, 4, 15, 60, 240, 480, 1440};
const std::vector<float> kW = {0, 1.2f, 2.5f, 5.1f, 9.8f, 14.0f, 18.9f, 20.3f, 23.4f};

void Figur(clsGRAFIK& g, float dx, float dy) {
    g.setEID(3);
    g.setEIDOBJEKT(11);
    g.setEXDL(dx);
    g.setEYDO(dy);
    g.setELX(145);
    g.setELY(130);
    g.setEBOXMIN(true);
    g.setEBOXMAX(true);
    g.setEBOYMIN(true);
    g.setEBOYMAX(true);
    g.setELXMIN(clsGRAFIK::LISTE({0, 500, 1000, 1500, 2000}));
    g.setELXDIFF(clsGRAFIK::LISTE({500, 1000, 1500, 2000}));
    g.setELXIT(clsGRAFIK::LISTE({5, 10, 6, 8}));
    g.setELXGIT(clsGRAFIK::LISTE({1, 1, 6, 1}));
    g.setELXZL(clsGRAFIK::LISTE({5, 5, 3, 4}));
    g.setETEXTX("t [min]");
    g.setESKZX("#0");
    g.setELYMIN(clsGRAFIK::LISTE({0, 5, 10, 15, 20, 25, 30}));
    g.setELYDIFF(clsGRAFIK::LISTE({5, 10, 25, 30}));
    g.setELYIT(clsGRAFIK::LISTE({5, 5, 5, 6}));
    g.setELYGIT(clsGRAFIK::LISTE({1, 1, 5, 1}));
    g.setETEXTY("w [%]");
    g.setESKZY("#0");
    g.LINIENEINSTELLUNGEN(0, 0.0f, 0);
    g.SCHRIFTEINSTELLUNGEN();
    g.SKALEN(-1, kDET, kW);
    g.POLYGON(kDET, kW, int16_t(kDET.size()), 0);
    g.POLYGON(kDET, kW, 2, 3, 2, QStringLiteral("TE 1"), 3, 1, true);
}

TEST(SkalenZiele, ScreenAndPrinterGiveTheSameMillimetres) {
    ScriptedDialogs dialoge;
    TESTHAUPTFENSTER fenster;
    fenster.DBPROJEKT()->Execute("INSERT INTO [G0] ([ID],[IDOBJEKT],[OX],[OY],[RL],[RR],[RO],[RU]) "
                                 "VALUES (3,11,1,1,11,7,7,11)");
    ZIELVERGLEICH ziele;
    const float dx = 20, dy = 40;
    ziele.zeichnen(Figur, dx, dy);

    EXPECT_TRUE(dialoge.boxes().isEmpty());
    EXPECT_EQ(ziele.aufDemBild->XMAX, 1500);
    EXPECT_EQ(ziele.aufDemPapier->XMAX, 1500);
    EXPECT_EQ(ziele.aufDemBild->YMAX, 25);
    ASSERT_GT(ziele.aufBild.entries.size(), 60);
    ziele.gleicheMillimeter(dx, dy);
    // The curve's markers, the label and the colour of the second curve.
    EXPECT_EQ(ziele.aufBild.count(Primitive::Kind::Circle), 2);
    bool label = false;
    for (const Primitive& p : ziele.aufBild.entries)
        if (p.text == "TE 1") label = p.colour == RGB(128, 0, 0);
    EXPECT_TRUE(label);

    const QString text = ziele.pdfText();
    EXPECT_TRUE(text.contains("t [min]")) << text.toStdString();
    EXPECT_TRUE(text.contains("1500")) << text.toStdString();
    EXPECT_TRUE(text.contains("TE 1")) << text.toStdString();
}
} // namespace
