// One figure on the screen's picture box and on the 600 dpi printer: the same
// millimetre geometry, through the one drawing code path of both targets.

#include "drawing/clsGRAFIK.h"
#include "support/ScriptedDialogs.h"
#include "support/TESTHAUPTFENSTER.h"
#include "GrafikTest.h"
#include "ZIELVERGLEICH.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {
// The figure, placed at (dx, dy) on its output object.
void Figur(clsGRAFIK& g, float dx, float dy) {
    g.setEXDL(dx);
    g.setEYDO(dy);
    g.setELX(145);
    g.setELY(130);
    STANDARDDIAGRAMM(g);
    g.SCHRIFTEINSTELLUNGEN("Arial", 10);
    g.LINIENEINSTELLUNGEN(0, 0.3f, RGB(0, 0, 128));
    // Frame and a grid line in the margins, a clipped curve, an arrow.
    g.LINIE(dx + 20, dy + 115, dx + 135, dy + 115, std::nullopt, 1);
    g.LINIE(dx + 20, dy + 5, dx + 20, dy + 115, std::nullopt, 1);
    float x0, y0, x1, y1;
    const float xs[] = {-10, 10, 35, 60, 90, 120};
    const float ys[] = {5, 20, 45, 30, 60, 10};
    for (int i = 1; i < 6; ++i) {
        g.KOORDTRANS(xs[i - 1], ys[i - 1], x0, y0);
        g.KOORDTRANS(xs[i], ys[i], x1, y1);
        g.LINIE(x0, y0, x1, y1);
        g.TEXT(xs[i], ys[i], QStringLiteral("{s,1}") + QString::number(i), 1, 0, 1, 1);
    }
    g.KOORDTRANS(35, 45, x0, y0);
    g.KOORDTRANS(60, 30, x1, y1);
    g.PFEIL(x0, y0, x1, y1);
    g.TEXT(57.5f, 125, "t [min]", 2, 0, 1, 0);
    g.TEXT(6, 60, "w [%]  {g,1}Dm{t,2}ab", 2, 90, 1, 1);
    g.TEXT(50, 25, "m{t,1}s [g]", 1, 0, 0, 0);
    QString zahl = "2.5E+03";
    g.TEXT(dx + 140, dy + 20, zahl, 0, 0, 2, 1);
}

TEST(Zielgeraete, ScreenAndPrinterGiveTheSameMillimetres) {
    ScriptedDialogs dialoge;
    TESTHAUPTFENSTER fenster;
    ZIELVERGLEICH ziele;
    const float dx = 20, dy = 30;
    ziele.zeichnen(Figur, dx, dy);

    EXPECT_TRUE(dialoge.boxes().isEmpty());
    ASSERT_GT(ziele.aufBild.entries.size(), 20);
    ziele.gleicheMillimeter(dx, dy);

    // Both targets really drew: pixels of the curve's colour on the screen,
    // the labels in the document.
    const QImage& bildpunkte = ziele.bild.Image();
    int blau = 0;
    for (int y = 0; y < bildpunkte.height(); ++y)
        for (int x = 0; x < bildpunkte.width(); ++x)
            if (bildpunkte.pixelColor(x, y) == QColor(0, 0, 128)) ++blau;
    EXPECT_GT(blau, 100);
    const QString text = ziele.pdfText();
    EXPECT_TRUE(text.contains("t [min]")) << text.toStdString();
    EXPECT_TRUE(text.contains("2.5*10")) << text.toStdString();
}
} // namespace
