// A figure drawn through SKALEN and POLYGON on the screen's picture box and
// on the printer: the same millimetre geometry, the printout shifted by its
// offsets, from the same layout row.

#include "drawing/clsGRAFIK.h"
#include "platform/Connection.h"
#include "platform/PictureBox.h"
#include "platform/PrinterTarget.h"
#include "support/ScriptedDialogs.h"
#include "support/TESTHAUPTFENSTER.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

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
    QTemporaryDir ordner;

    PictureBox bild;
    bild.SetWidth(145 * 56.7f);
    bild.SetHeight(130 * 56.7f);
    bild.SetScaleMode(6);
    PrimitiveLog aufBild;
    bild.SetRecorder(&aufBild);
    clsGRAFIK g1;
    g1.setEOBJEKT(&bild);
    Figur(g1, 0, 0);

    PrinterTarget drucker;
    drucker.SetOutputFileName(ordner.filePath("bild11.pdf"));
    drucker.SetScaleMode(6);
    PrimitiveLog aufPapier;
    drucker.SetRecorder(&aufPapier);
    clsGRAFIK g2;
    g2.setEOBJEKT(&drucker);
    const float dx = 20, dy = 40;
    Figur(g2, dx, dy);
    drucker.EndDoc();

    EXPECT_TRUE(dialoge.boxes().isEmpty());
    EXPECT_EQ(g1.XMAX, 1500);
    EXPECT_EQ(g2.XMAX, 1500);
    EXPECT_EQ(g1.YMAX, 25);
    ASSERT_EQ(aufBild.entries.size(), aufPapier.entries.size());
    ASSERT_GT(aufBild.entries.size(), 60);
    for (int i = 0; i < aufBild.entries.size(); ++i) {
        const Primitive& a = aufBild.entries[i];
        const Primitive& b = aufPapier.entries[i];
        ASSERT_EQ(int(a.kind), int(b.kind)) << i;
        EXPECT_EQ(a.text, b.text) << i;
        EXPECT_EQ(a.colour, b.colour) << i;
        if (a.kind == Primitive::Kind::RotatedText) {
            // Rotated text sits on whole device pixels.
            EXPECT_NEAR(a.x1, b.x1 - dx, 0.3) << i;
            EXPECT_NEAR(a.y1, b.y1 - dy, 0.3) << i;
            EXPECT_EQ(a.angle, b.angle) << i;
            continue;
        }
        EXPECT_NEAR(a.x1, b.x1 - dx, 1e-3) << i;
        EXPECT_NEAR(a.y1, b.y1 - dy, 1e-3) << i;
        EXPECT_NEAR(a.radius, b.radius, 1e-3) << i;
        if (a.kind == Primitive::Kind::Line || a.kind == Primitive::Kind::Box ||
            a.kind == Primitive::Kind::FilledBox) {
            EXPECT_NEAR(a.x2, b.x2 - dx, 1e-3) << i;
            EXPECT_NEAR(a.y2, b.y2 - dy, 1e-3) << i;
        } else if (a.kind == Primitive::Kind::Text) {
            EXPECT_EQ(a.font, b.font) << i;
            EXPECT_NEAR(a.x2 - a.x1, b.x2 - b.x1, 1e-3) << i;
        }
    }
    // The curve's markers, the label and the colour of the second curve.
    EXPECT_EQ(aufBild.count(Primitive::Kind::Circle), 2);
    bool label = false;
    for (const Primitive& p : aufBild.entries)
        if (p.text == "TE 1") label = p.colour == RGB(128, 0, 0);
    EXPECT_TRUE(label);

    QProcess pdftotext;
    pdftotext.start("pdftotext", {ordner.filePath("bild11.pdf"), "-"});
    ASSERT_TRUE(pdftotext.waitForFinished(20000));
    const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
    EXPECT_TRUE(text.contains("t [min]")) << text.toStdString();
    EXPECT_TRUE(text.contains("1500")) << text.toStdString();
    EXPECT_TRUE(text.contains("TE 1")) << text.toStdString();
}
} // namespace
