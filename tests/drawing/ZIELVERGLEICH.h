#pragma once
// One figure drawn on the screen's picture box (145 x 130 mm) and on the
// 600 dpi printer (into a PDF), and the check that both targets recorded the
// same millimetre geometry, the printout shifted by its offsets.

#include "drawing/clsGRAFIK.h"
#include "platform/controls/PictureBox.h"
#include "platform/controls/PrinterTarget.h"
#include "platform/controls/RecordingSurface.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>
#include <functional>
#include <optional>

struct ZIELVERGLEICH {
    QTemporaryDir ordner;
    PictureBox bild;
    PrimitiveLog aufBild;
    PrimitiveLog aufPapier;
    // Declared before the diagram objects, which point at them.
    std::optional<PrinterTarget> drucker;
    std::optional<clsGRAFIK> aufDemBild;
    std::optional<clsGRAFIK> aufDemPapier;

    QString pdf() const { return ordner.filePath("bild11.pdf"); }

    // Draws the figure at (0, 0) on the picture box and at (dx, dy) on the
    // printer.
    void zeichnen(const std::function<void(clsGRAFIK&, float, float)>& figur, float dx, float dy)
    {
        bild.SetWidth(145 * 56.7f);
        bild.SetHeight(130 * 56.7f);
        bild.SetScaleMode(6);
        bild.SetRecorder(&aufBild);
        aufDemBild.emplace();
        aufDemBild->setEOBJEKT(&bild);
        figur(*aufDemBild, 0, 0);

        drucker.emplace();
        drucker->SetOutputFileName(pdf());
        drucker->SetScaleMode(6);
        drucker->SetRecorder(&aufPapier);
        aufDemPapier.emplace();
        aufDemPapier->setEOBJEKT(&*drucker);
        figur(*aufDemPapier, dx, dy);
        drucker->EndDoc();
    }

    void gleicheMillimeter(float dx, float dy) const
    {
        ASSERT_EQ(aufBild.entries.size(), aufPapier.entries.size());
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
                EXPECT_NEAR(a.cellHeight * 25.4 / 96, b.cellHeight * 25.4 / 600, 0.3) << i;
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
                EXPECT_NEAR(a.x2 - a.x1, b.x2 - b.x1, 1e-3) << i;  // the same text width
            }
        }
    }

    QString pdfText() const
    {
        QProcess pdftotext;
        pdftotext.start("pdftotext", {pdf(), "-"});
        pdftotext.waitForFinished(20000);
        return QString::fromUtf8(pdftotext.readAllStandardOutput());
    }
};
