// The mouse events of a picture box and the printer's paper size.

#include "platform/controls/PictureBox.h"
#include "platform/controls/PrinterTarget.h"
#include "platform/runtime/RuntimeError.h"

#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct Druck {
    int16_t button, shift;
    float x, y;
};

TEST(PictureBoxEvents, MouseDownGivesButtonShiftAndPositionInTheScale) {
    QWidget fenster;
    fenster.resize(800, 600);
    PictureBox box(&fenster);
    box.Move(567, 567, 100 * 56.7f, 50 * 56.7f);
    box.SetScaleMode(6);
    fenster.show();
    std::vector<Druck> drucke;
    int klicks = 0;
    box.MouseDown = [&](int16_t b, int16_t s, float x, float y) { drucke.push_back({b, s, x, y}); };
    box.Click = [&] { ++klicks; };
    const QPoint punkt(int(box.PixelX(40)), int(box.PixelY(20)));
    struct Fall {
        Qt::MouseButton button;
        Qt::KeyboardModifiers tasten;
        int16_t code, shift;
    };
    const Fall faelle[] = {{Qt::LeftButton, Qt::NoModifier, 1, 0},
                           {Qt::RightButton, Qt::ShiftModifier, 2, 1},
                           {Qt::MiddleButton, Qt::ControlModifier | Qt::AltModifier, 4, 6}};
    for (const Fall& f : faelle) QTest::mouseClick(&box, f.button, f.tasten, punkt);
    ASSERT_EQ(drucke.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(drucke[i].button, faelle[i].code) << i;
        EXPECT_EQ(drucke[i].shift, faelle[i].shift) << i;
        EXPECT_NEAR(drucke[i].x, 40, 0.3) << i;
        EXPECT_NEAR(drucke[i].y, 20, 0.3) << i;
    }
    EXPECT_EQ(klicks, 3);

    // Released outside the box: a press, no click. In twips the position
    // comes in twips.
    QTest::mousePress(&box, Qt::LeftButton, {}, punkt);
    QTest::mouseRelease(&box, Qt::LeftButton, {}, QPoint(-5, -5));
    EXPECT_EQ(klicks, 3);
    box.SetScaleMode(1);
    QTest::mouseClick(&box, Qt::LeftButton, {}, punkt);
    EXPECT_NEAR(drucke.back().x, 40 * 56.7, 20);
}

TEST(PictureBoxEvents, APressOnAChildBoxDoesNotReachTheBoxBehind) {
    PictureBox formular(nullptr, OutputObject::Kind::Form);
    formular.resize(400, 300);
    PictureBox bild(&formular);
    bild.Move(567, 567, 1134, 1134);
    formular.show();
    int hinten = 0, vorn = 0;
    formular.Click = [&] { ++hinten; };
    bild.Click = [&] { ++vorn; };
    QTest::mouseClick(&bild, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseClick(&formular, Qt::LeftButton, {}, QPoint(300, 250));
    EXPECT_EQ(vorn, 1);
    EXPECT_EQ(hinten, 1);
    EXPECT_EQ(formular.ObjectKind(), OutputObject::Kind::Form);
}

TEST(PrinterPaperSize, CodesChooseThePaperAndNothingChangesWithinADocument) {
    PrinterTarget drucker;
    EXPECT_EQ(drucker.PaperSize(), 9);
    drucker.SetPaperSize(8);
    EXPECT_EQ(drucker.PaperSize(), 8);
    EXPECT_NEAR(drucker.Width(), 420 * 56.7, 1.0); // A3 landscape
    try {
        drucker.SetPaperSize(7);
        ADD_FAILURE() << "no error for an unknown paper";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.Number(), 380);
    }
    drucker.SetPaperSize(9);
    EXPECT_NEAR(drucker.Width(), 297 * 56.7, 1.0);

    QTemporaryDir ordner;
    drucker.SetOutputFileName(ordner.filePath("seite.pdf"));
    drucker.SetScaleMode(6);
    drucker.Line(10, 10, 50, 10);
    ASSERT_TRUE(drucker.Printing());
    for (auto setzen : {+[](PrinterTarget& d) { d.SetPaperSize(9); },
                        +[](PrinterTarget& d) { d.SetOrientation(2); }}) {
        try {
            setzen(drucker);
            ADD_FAILURE() << "changed within a document";
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.Number(), 396);
        }
    }
    drucker.KillDoc();
    drucker.SetOrientation(1);
    EXPECT_EQ(drucker.Orientation(), 1);
}

} // namespace
