// The page of a multiple evaluation: its records, figure 110 and table 120.

#include "SEITENLABOR.h"

#include "pages/SEITENDIALOGE.h"
#include "pages/mdiMSEITE1.h"
#include "pages/mdiSEITE1.h"
#include "platform/controls/Forms.h"
#include "platform/controls/PictureBox.h"
#include "platform/controls/PrinterTarget.h"
#include "platform/database/Connection.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

class MSeite : public ::testing::Test {
protected:
    // Records with one reading at t and w = v; the result veld.
    void Datensatz(int id, const QString& ken, double t, double v, float veld, bool aktiv = true) {
        labor.PRUEFUNG(id, ken, SEITENLABOR::REIHE({0, t}, {0, v}), 100, float(t), veld, false,
                       aktiv);
    }
    void Mehrfach(bool boneu, const QString& kom = QStringLiteral("Serie")) {
        labor.HAUPT.DATENSATZANLEGEN(0, QStringLiteral("M"), QStringLiteral("Mehrfachauswertung"), true);
        labor.HAUPT.DBPROJEKT()->Execute(QStringLiteral("INSERT INTO [A1] ([ID],[BONEU]) VALUES (0,?)"), {boneu});
        labor.HAUPT.DBPROJEKT()->Execute(QStringLiteral("INSERT INTO [M1] ([IDM],[KOM]) VALUES (1,?)"), {kom});
    }
    void Laden() {
        seite = std::make_unique<mdiMSEITE1>();
        Forms::Load(seite.get());
        seite->picBILD110->SetRecorder(&bild110);
        seite->picBILD120->SetRecorder(&bild120);
        seite->FORM->SetRecorder(&form);
        seite->Form_Load();
    }
    int32_t Farbe(const QString& text) {
        const Primitive* p = SEITENLABOR::TEXT(bild110, text);
        return p ? p->colour : -1;
    }

    SEITENLABOR labor;
    PrimitiveLog bild110, bild120, form;
    std::unique_ptr<mdiMSEITE1> seite;
};

TEST_F(MSeite, RecordsByIdWithoutRecordZeroAndTheirHeader) {
    Mehrfach(true, QStringLiteral("Serie A"));
    Datensatz(3, QStringLiteral("A-3"), 60, 10, 10);
    Datensatz(1, QStringLiteral("Z-1"), 1440, 20, 20);
    Datensatz(2, QStringLiteral("M-2"), 100, 5, 5, false);
    Laden();
    EXPECT_EQ(seite->IDS, (std::vector<int32_t>{1, 3}));
    EXPECT_EQ(seite->KENS, (std::vector<QString>{QStringLiteral("Z-1"), QStringLiteral("A-3")}));
    EXPECT_EQ(seite->KOM, QStringLiteral("Serie A"));
    EXPECT_FALSE(seite->BONEU);
    EXPECT_EQ(labor.HAUPT.FORTSCHRITTE(), (std::vector<int>{40, 50, 75, 95}));
    const QString kopf = SEITENLABOR::TEXTE(form).join(QStringLiteral("|"));
    EXPECT_TRUE(kopf.contains(QStringLiteral("Z-1, A-3"))) << kopf.toStdString();
    EXPECT_TRUE(kopf.contains(QStringLiteral("Serie A")));
    EXPECT_EQ(SEITENLABOR::TEXT(bild110, QStringLiteral("M")), nullptr);
    // Largest time 1440: the data reach 1441, the axis 1500.
    const QString g0 = QStringLiteral("SELECT [%1] FROM [G0] WHERE [ID]=0 AND [IDOBJEKT]=110");
    EXPECT_DOUBLE_EQ(labor.HAUPT.WERT(g0.arg("XMAX")).toDouble(), 1500);
    EXPECT_DOUBLE_EQ(labor.HAUPT.WERT(g0.arg("XMIN")).toDouble(), 0);
    EXPECT_DOUBLE_EQ(labor.HAUPT.WERT(g0.arg("RL")).toDouble(), 11);
    // Each curve's label and its reference time.
    EXPECT_EQ(Farbe(QStringLiteral("Z-1")), QBColor(1));
    EXPECT_EQ(Farbe(QStringLiteral("A-3")), QBColor(2));
    const QStringList texte = SEITENLABOR::TEXTE(bild110);
    EXPECT_TRUE(texte.contains(QStringLiteral("1440")) && texte.contains(QStringLiteral("60")));
    EXPECT_TRUE(labor.BOXEN.boxes().isEmpty());
}

TEST_F(MSeite, CurveStylesRepeatEverySevenPositionsForAnyNumberOfRecords) {
    Mehrfach(true);
    for (int id = 1; id <= 43; ++id)
        Datensatz(id, QStringLiteral("K%1").arg(id, 2, 10, QLatin1Char('0')), 10 * id, id, id);
    Laden();
    EXPECT_EQ(seite->IDS.size(), 43u);
    EXPECT_EQ(Farbe(QStringLiteral("K01")), Farbe(QStringLiteral("K08")));
    EXPECT_EQ(Farbe(QStringLiteral("K01")), Farbe(QStringLiteral("K43")));
    EXPECT_NE(Farbe(QStringLiteral("K01")), Farbe(QStringLiteral("K02")));
    EXPECT_EQ(Farbe(QStringLiteral("K07")), QBColor(9));
    EXPECT_TRUE(labor.BOXEN.boxes().isEmpty());
}

TEST_F(MSeite, ResultTableAndStatistics) {
    Mehrfach(false);
    Datensatz(1, QStringLiteral("P-1"), 60, 10, 10);
    Datensatz(2, QStringLiteral("P-2"), 60, 20, 20);
    Laden();
    const QStringList zeilen = SEITENLABOR::ZEILEN(bild120);
    for (const char* z : {"P-1 | Enslin | 2,00 | 100,00 | 60 | 10,0", "Mittelwert | 15,0",
                          "Stand.abw. | 7,1", "Var.koeff. | 0,5"})
        EXPECT_TRUE(zeilen.contains(QString::fromUtf8(z))) << z << "\n"
                                                           << zeilen.join("\n").toStdString();
    // d max is a grain size.
    EXPECT_TRUE(SEITENLABOR::TEXTE(bild120).contains(QStringLiteral("[mm]")));
    EXPECT_EQ(SEITENLABOR::TEXTE(bild120).count(QStringLiteral("[%]")), 1);
}

TEST_F(MSeite, MissingRowsAndAMeanOfZero) {
    Mehrfach(false);
    Datensatz(1, QStringLiteral("P-1"), 60, 10, 0);
    Datensatz(2, QStringLiteral("P-2"), 60, 20, 0);
    Laden();
    EXPECT_TRUE(SEITENLABOR::ZEILEN(bild120).contains(QStringLiteral("Var.koeff. | -")));
    EXPECT_TRUE(labor.BOXEN.boxes().isEmpty());

    // No general data: Enslin; no result: an empty cell counted as 0.
    labor.HAUPT.DBPROJEKT()->Execute(QStringLiteral("UPDATE [A1] SET [VELD]=10 WHERE [ID]=1"));
    labor.HAUPT.DBPROJEKT()->Execute(QStringLiteral("DELETE FROM [A1] WHERE [ID]=2"));
    labor.HAUPT.DBPROJEKT()->Execute(QStringLiteral("DELETE FROM [E2] WHERE [ID]=2"));
    bild120.clear();
    seite->BILD120();
    const QStringList zeilen = SEITENLABOR::ZEILEN(bild120);
    EXPECT_TRUE(zeilen.contains(QStringLiteral("P-2 | Enslin"))) << zeilen.join("\n").toStdString();
    EXPECT_TRUE(zeilen.contains(QStringLiteral("Mittelwert | 5,0")));
}

TEST_F(MSeite, WithoutRecordsTheFiguresStayEmpty) {
    Laden();
    EXPECT_TRUE(seite->IDS.empty());
    EXPECT_TRUE(SEITENLABOR::TEXTE(bild120).contains(QStringLiteral("Mittelwert")));
    EXPECT_TRUE(labor.BOXEN.boxes().isEmpty()) << labor.BOXEN.prompts().join("\n").toStdString();
}

TEST_F(MSeite, AnyButtonOpensTheAxesAndPrintingIsOneDocument) {
    Mehrfach(false);
    Datensatz(1, QStringLiteral("P-1"), 60, 10, 10);
    Laden();
    std::vector<std::pair<int, int>> achsen;
    SEITENDIALOGE::ERSETZEACHSEN([&](int16_t b, int32_t id) { achsen.push_back({b, id}); });
    seite->show();
    QTest::mouseClick(seite->picBILD110, Qt::LeftButton, {}, QPoint(20, 20));
    QTest::mouseClick(seite->picBILD110, Qt::RightButton, {}, QPoint(20, 20));
    SEITENDIALOGE::ERSETZEACHSEN(nullptr);
    EXPECT_EQ(achsen, (std::vector<std::pair<int, int>>{{110, 0}, {110, 0}}));
    EXPECT_EQ(seite->BILDER().first(), seite->picBILD120);
    EXPECT_TRUE(seite->BILDZEICHNEN(110));

    QTemporaryDir ordner;
    const QString pdf = ordner.filePath(QStringLiteral("m.pdf"));
    Printer().SetOutputFileName(pdf);
    seite->DRUCKEN();
    Printer().SetOutputFileName(QString());
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    ASSERT_TRUE(p.waitForFinished(20000));
    const QString text = QString::fromUtf8(p.readAllStandardOutput());
    EXPECT_TRUE(text.contains(QStringLiteral("Mittelwert")));
    EXPECT_TRUE(text.contains(QStringLiteral("P-1")));
    EXPECT_TRUE(labor.BOXEN.boxes().isEmpty());
}

// Each procedure's box carries its own title: printing, table 120 and block
// 13 (a test type that is neither Enslin nor Neff fails both).
TEST_F(MSeite, PrintingAndTheTablesTitleTheirBoxes) {
    Datensatz(1, QStringLiteral("P-1"), 60, 10, 10);
    Laden();
    // A document left open by someone: the paper cannot change within it.
    QTemporaryDir ordner;
    Printer().SetOutputFileName(ordner.filePath(QStringLiteral("m.pdf")));
    Printer().SetScaleMode(6);
    Printer().Line(10, 10, 20, 20);
    labor.BOXEN.expect(vbCancel, QStringLiteral("VB-Fehler: 396"));
    seite->DRUCKEN();
    Printer().KillDoc();
    Printer().SetOutputFileName(QString());

    labor.HAUPT.DBPROJEKT()->Execute(QStringLiteral("UPDATE [E2] SET [VT]=2"));
    labor.BOXEN.expect(vbOK, QStringLiteral("VB-Fehler: 9"));
    seite->BILD120();
    labor.BOXEN.expect(vbOK, QStringLiteral("VB-Fehler: 9"));
    mdiSEITE1 einzeln;
    einzeln.Form_Load();
    QStringList titel;
    for (const auto& box : labor.BOXEN.boxes()) titel << box.title;
    EXPECT_EQ(titel, QStringList({QStringLiteral("Drucken von MSeite 1"), QStringLiteral("Bild 120"),
                                  QStringLiteral("Bild 13")}));
    EXPECT_EQ(labor.BOXEN.pending(), 0);
}

} // namespace
