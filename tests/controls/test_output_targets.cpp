// The two real targets of the drawing surface: the picture box (pixels of its
// image) and the printer (a PDF document).

#include "platform/controls/PictureBox.h"
#include "platform/controls/PrinterTarget.h"
#include "platform/runtime/RuntimeError.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cmath>

namespace {
constexpr double kPi = 3.14159265358979323846;

// A picture box of the given size in millimetres, in millimetre scale.
std::unique_ptr<PictureBox> Bildfeld(double breite, double hoehe) {
    auto box = std::make_unique<PictureBox>();
    box->SetWidth(float(breite * 56.7));
    box->SetHeight(float(hoehe * 56.7));
    box->SetScaleMode(6);
    return box;
}

QColor Pixel(PictureBox& box, double x, double y) {
    return box.Image().pixelColor(int(std::floor(box.PixelX(x))), int(std::floor(box.PixelY(y))));
}

TEST(PictureBoxTarget, SizeInTwipsGivesPixelsAtScreenResolution) {
    auto box = Bildfeld(145, 130);
    EXPECT_FLOAT_EQ(box->Width(), 8221.5f);
    EXPECT_EQ(box->Image().width(), int(std::lround(145 * box->PixelsPerInchX() / 25.4)));
    EXPECT_NEAR(box->ScaleWidth(), 145, 0.3);
    box->SetLeft(567);
    EXPECT_FLOAT_EQ(box->Left(), 567);
    EXPECT_EQ(box->x(), int(std::lround(10 * box->PixelsPerInchX() / 25.4)));
}

TEST(PictureBoxTarget, ForeColorKeepsRedInTheLowestByte) {
    auto box = Bildfeld(100, 50);
    box->SetForeColor(255);
    box->SetDrawWidth(3);
    box->Line(10, 10, 60, 10);
    EXPECT_EQ(Pixel(*box, 30, 10), QColor(255, 0, 0));
    box->SetForeColor(RGB(0, 0, 255));
    box->Line(10, 20, 60, 20);
    EXPECT_EQ(Pixel(*box, 30, 20), QColor(0, 0, 255));
    // Nothing else was touched.
    EXPECT_EQ(Pixel(*box, 30, 30), QColor(255, 255, 255));
}

TEST(PictureBoxTarget, ArcsRunCounterClockwiseFromThreeOClock) {
    auto box = Bildfeld(100, 60);
    box->SetDrawWidth(3);
    box->Circle(50, 30, 20, 0, 0, float(kPi / 2));
    const double d = 20 * std::cos(kPi / 4);
    EXPECT_EQ(Pixel(*box, 50 + d, 30 - d), QColor(0, 0, 0));       // upper right: drawn
    EXPECT_EQ(Pixel(*box, 50 + d, 30 + d), QColor(255, 255, 255)); // lower right: not
    EXPECT_EQ(Pixel(*box, 50 - d, 30 - d), QColor(255, 255, 255)); // upper left: not
}

TEST(PictureBoxTarget, FilledBoxAndCircleFillWithTheirColours) {
    auto box = Bildfeld(100, 60);
    box->Line(10, 10, 20, 20, RGB(0, 255, 0), OutputObject::LineForm::FilledBox);
    EXPECT_EQ(Pixel(*box, 15, 15), QColor(0, 255, 0));
    box->SetFillColor(RGB(255, 0, 255));
    box->SetFillStyle(0);
    box->Circle(50, 30, 5);
    EXPECT_EQ(Pixel(*box, 50, 30), QColor(255, 0, 255));
    box->SetFillStyle(1);
    box->Circle(80, 30, 5);
    EXPECT_EQ(Pixel(*box, 80, 30), QColor(255, 255, 255));
}

TEST(PictureBoxTarget, SymbolFontDrawsTheGreekLetterNotTheLatinOne) {
    auto zeichnen = [](const QString& schrift, const QString& text) {
        auto box = Bildfeld(30, 20);
        box->SetFontName(schrift);
        box->SetFontSize(28);
        box->SetCurrentX(2);
        box->SetCurrentY(2);
        box->Print(text, false);
        return box->Image().copy();
    };
    const QImage symbolD = zeichnen("Symbol", "D");
    const QImage delta = zeichnen("Arial", QString::fromUtf8("Δ"));
    const QImage latinD = zeichnen("Arial", "D");
    EXPECT_EQ(symbolD, delta);
    EXPECT_NE(symbolD, latinD);
    // Something was drawn at all.
    QImage leer(symbolD.size(), symbolD.format());
    leer.fill(Qt::white);
    EXPECT_NE(symbolD, leer);
}

TEST(PictureBoxTarget, ClsClearsToTheBackColourAndKeepsTheImageOtherwise) {
    auto box = Bildfeld(40, 20);
    box->SetDrawWidth(4);
    box->Line(5, 5, 30, 5);
    box->show();
    box->repaint(); // a repaint shows what was drawn, it does not lose it
    EXPECT_EQ(Pixel(*box, 10, 5), QColor(0, 0, 0));
    box->SetCurrentX(7);
    box->Cls();
    EXPECT_EQ(Pixel(*box, 10, 5), QColor(255, 255, 255));
    EXPECT_FLOAT_EQ(box->CurrentX(), 0);
}

TEST(PictureBoxTarget, ScrollBarsArePlacedInTheBoxsScale) {
    auto box = Bildfeld(100, 60);
    ScrollBar& v = box->VScroll();
    v.SetTop(0);
    v.SetLeft(95);
    v.SetWidth(5);
    v.SetHeight(55);
    v.SetMin(0);
    v.SetMax(10000);
    v.SetLargeChange(2000);
    v.SetSmallChange(300);
    v.SetVisible(true);
    ASSERT_NE(v.Widget(), nullptr);
    EXPECT_EQ(v.Widget()->geometry().left(), int(std::lround(box->PixelX(95))));
    EXPECT_EQ(v.Widget()->height(), int(std::lround(box->PixelY(55))));
    EXPECT_EQ(v.Widget()->maximum(), 10000);
    EXPECT_EQ(v.Widget()->pageStep(), 2000);
    int aenderungen = 0;
    v.Change = [&] { ++aenderungen; };
    v.Widget()->setValue(5000); // as the user moves it
    EXPECT_EQ(v.Value(), 5000);
    v.SetValue(20000);
    EXPECT_EQ(v.Value(), 10000);
    EXPECT_EQ(aenderungen, 2);
    v.SetVisible(false);
    EXPECT_FALSE(v.Visible());
}

TEST(PrinterTargetTest, A4LandscapeAt600DpiWithThePaperInTwips) {
    PrinterTarget drucker;
    EXPECT_EQ(drucker.Orientation(), 2);
    EXPECT_NEAR(drucker.Width(), 297 * 56.7, 1.0);
    EXPECT_NEAR(drucker.Height(), 210 * 56.7, 1.0);
    EXPECT_EQ(drucker.PixelsPerInchY(), 600);
    drucker.SetScaleMode(6);
    EXPECT_GT(drucker.ScaleWidth(), 250);
    EXPECT_LE(drucker.ScaleWidth(), 297);
    EXPECT_TRUE(drucker.IsPrinter());
}

TEST(PrinterTargetTest, PrintsTextToAPdfDocument) {
    QTemporaryDir ordner;
    const QString pdf = ordner.filePath("seite.pdf");
    PrinterTarget drucker;
    drucker.SetOutputFileName(pdf);
    drucker.SetScaleMode(6);
    drucker.SetFontName("Arial");
    drucker.SetFontSize(12);
    drucker.SetCurrentX(20);
    drucker.SetCurrentY(20);
    drucker.Print("Wasseraufnahme", false);
    drucker.SetFontName("Symbol");
    drucker.SetCurrentY(40);
    drucker.Print("Dt", false);
    drucker.Line(10, 10, 100, 10);
    EXPECT_TRUE(drucker.Printing());
    drucker.EndDoc();
    EXPECT_FALSE(drucker.Printing());
    QProcess pdftotext;
    pdftotext.start("pdftotext", {pdf, "-"});
    ASSERT_TRUE(pdftotext.waitForFinished(20000));
    const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
    EXPECT_TRUE(text.contains("Wasseraufnahme")) << text.toStdString();
    EXPECT_TRUE(text.contains(QString::fromUtf8("Δτ"))) << text.toStdString();
}
} // namespace

namespace {
// A document whose printer cannot be opened (no printer, or a file that
// cannot be written) is reported once, as a printer error, when it is sent;
// its drawing raised nothing, and the next document tries again.
TEST(PrinterTargetTest, ADocumentThatCannotStartIsReportedOnce) {
    QTemporaryDir ordner;
    PrinterTarget drucker;
    drucker.SetOutputFileName(ordner.filePath("fehlt/seite.pdf"));
    drucker.SetScaleMode(6);
    EXPECT_NO_THROW(drucker.Line(10, 20, 100, 20));
    EXPECT_NO_THROW(drucker.Print("Wasseraufnahme", false));
    EXPECT_NO_THROW(drucker.NewPage());
    int nummer = 0;
    try {
        drucker.EndDoc();
    } catch (const RuntimeError& e) {
        nummer = e.Number();
    }
    EXPECT_EQ(nummer, 482);
    EXPECT_FALSE(drucker.Printing());
    EXPECT_NO_THROW(drucker.EndDoc());
    drucker.Line(10, 10, 100, 10);
    EXPECT_THROW(drucker.EndDoc(), RuntimeError);
}

// A sheet reaches the printer whole or not at all: nothing of it while it is
// drawn, nothing when it is killed, all of it when it is ended.
TEST(PrinterTargetTest, ASheetReachesThePrinterWholeOrNotAtAll) {
    QTemporaryDir ordner;
    const QString pdf = ordner.filePath("seite.pdf");
    PrinterTarget drucker;
    drucker.SetOutputFileName(pdf);
    drucker.SetScaleMode(6);
    const auto zeile = [&](float y, const QString& text) {
        drucker.SetCurrentX(20);
        drucker.SetCurrentY(y);
        drucker.Print(text, false);
    };
    zeile(20, "Abgebrochen");
    drucker.Line(10, 10, 100, 10);
    EXPECT_TRUE(drucker.Printing());
    EXPECT_FALSE(QFile::exists(pdf));
    drucker.KillDoc();
    EXPECT_FALSE(drucker.Printing() || QFile::exists(pdf));

    zeile(20, "Kopfzeile");
    drucker.Line(10, 10, 100, 10);
    EXPECT_FALSE(QFile::exists(pdf));
    zeile(190, "Fusszeile");
    drucker.EndDoc();
    QProcess pdftotext;
    pdftotext.start("pdftotext", {pdf, "-"});
    ASSERT_TRUE(pdftotext.waitForFinished(20000));
    const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
    EXPECT_TRUE(text.contains("Kopfzeile") && text.contains("Fusszeile")) << text.toStdString();
    EXPECT_FALSE(text.contains("Abgebrochen")) << text.toStdString();
    // Killing after the end takes nothing back.
    drucker.KillDoc();
    EXPECT_TRUE(QFile::exists(pdf));
}
} // namespace
