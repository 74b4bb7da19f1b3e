// The page of one evaluation: its load, figures 11, 12 and 13, the redraws.

#include "SEITENLABOR.h"

#include "data/clsDATEN.h"
#include "drawing/clsGRAFIK.h"
#include "pages/mdiSEITE1.h"
#include "platform/controls/Forms.h"
#include "platform/controls/PictureBox.h"
#include "platform/database/Connection.h"
#include "platform/database/Recordset.h"

#include <gtest/gtest.h>
#include <cmath>
#include <memory>

namespace {

class Seite1 : public ::testing::Test {
protected:
    void Laden() {
        seite = std::make_unique<mdiSEITE1>();
        Forms::Load(seite.get());
        seite->picBILD11->SetRecorder(&bild11);
        seite->picBILD12->SetRecorder(&bild12);
        seite->FORM->SetRecorder(&form);
        seite->Form_Load();
    }
    // The standard test: t 0/60/1440, V 10/20/30, m s 100, t max 1440.
    void Standard(bool boneu = true) {
        labor.PRUEFUNG(1, QStringLiteral("P-1"), SEITENLABOR::REIHE({0, 60, 1440}, {10, 20, 30}),
                       100, 1440, 30, boneu);
    }
    QVariant G0(const char* spalte) {
        return labor.HAUPT.WERT(QStringLiteral("SELECT [%1] FROM [G0] WHERE [ID]=1 AND "
                                               "[IDOBJEKT]=11")
                                    .arg(QString::fromLatin1(spalte)));
    }
    int Linien(const PrimitiveLog& log) { return log.count(Primitive::Kind::Line); }

    SEITENLABOR labor;
    PrimitiveLog bild11, bild12, form;
    std::unique_ptr<mdiSEITE1> seite;
};

TEST_F(Seite1, LoadReadsTheRecordStepsTheBarAndStoresTheAutomaticLayout) {
    Standard();
    Laden();
    EXPECT_EQ(seite->objectName(), QStringLiteral("mdiSEITE1"));
    EXPECT_EQ(seite->KEN, QStringLiteral("P-1"));
    EXPECT_EQ(seite->KOM, QStringLiteral("Kommentar P-1"));
    EXPECT_FALSE(seite->BONEU);
    EXPECT_EQ(seite->DET, (std::vector<float>{0, 60, 1440}));
    EXPECT_EQ(seite->W, (std::vector<float>{10, 20, 30}));
    EXPECT_EQ(labor.HAUPT.FORTSCHRITTE(), (std::vector<int>{50, 65, 80, 95}));
    // The boxes in millimetres, laid out in twips.
    EXPECT_FLOAT_EQ(seite->picBILD11->Left(), 15 * 56.7f);
    EXPECT_FLOAT_EQ(seite->picBILD12->Left(), 160 * 56.7f);
    EXPECT_EQ(seite->picBILD12->ScaleMode(), 6);

    const QVariantList erwartet{1, 1, 11, 7, 7, 11, 0, 1500, 10, 30, 0};
    QVariantList g0;
    for (const char* s : {"OX", "OY", "RL", "RR", "RO", "RU", "XMIN", "XMAX", "YMIN", "YMAX",
                          "MYMX"})
        g0 << G0(s).toDouble();
    EXPECT_EQ(g0.size(), erwartet.size());
    for (int i = 0; i < g0.size(); ++i) EXPECT_DOUBLE_EQ(g0[i].toDouble(), erwartet[i].toDouble()) << i;
    EXPECT_NEAR(G0("MX").toDouble(), 1500.0 / 127, 1e-4);
    EXPECT_NEAR(G0("MY").toDouble(), 20.0 / 112, 1e-4);

    const QStringList texte = SEITENLABOR::TEXTE(bild11);
    for (const char* zahl : {"0", "500", "1000", "1500", "10", "15", "20", "25", "30"})
        EXPECT_TRUE(texte.contains(QString::fromLatin1(zahl))) << zahl;
    // The labels of the marker lines: left/bottom and right/bottom.
    const Primitive* t = SEITENLABOR::TEXT(bild11, QStringLiteral("1440"));
    ASSERT_NE(t, nullptr);
    EXPECT_NEAR(t->x1, 134.42, 0.02);
    EXPECT_NEAR(t->y2, 118.5, 0.3);
    const Primitive* v = SEITENLABOR::TEXT(bild11, QStringLiteral("30,0"));
    ASSERT_NE(v, nullptr);
    EXPECT_NEAR(v->x2, 137, 0.3);
    EXPECT_NEAR(v->y2, 6.5, 0.3);
    EXPECT_TRUE(labor.BOXEN.boxes().isEmpty());
}

TEST_F(Seite1, ALaterRedrawKeepsTheStoredRangesAndResetsTheScales) {
    Standard();
    Laden();
    labor.HAUPT.DBPROJEKT()->Execute(QStringLiteral(
        "UPDATE [G0] SET [RL]=20, [XMAX]=2000, [MYMX]=3, [MX]=5 WHERE [ID]=1 AND [IDOBJEKT]=11"));
    bild11.clear();
    seite->BILD11();
    EXPECT_DOUBLE_EQ(G0("RL").toDouble(), 20);
    EXPECT_DOUBLE_EQ(G0("XMAX").toDouble(), 2000);
    EXPECT_DOUBLE_EQ(G0("MYMX").toDouble(), 0);
    EXPECT_NEAR(G0("MX").toDouble(), 2000.0 / 118, 1e-3);
    EXPECT_TRUE(SEITENLABOR::TEXTE(bild11).contains(QStringLiteral("2000")));
    EXPECT_FLOAT_EQ(seite->XMAX, 2000);
    // Committed: another connection sees the row as drawn.
    Connection andere(labor.HAUPT.XMDBPFAD());
    Recordset g0(QStringLiteral("SELECT [MYMX],[XMAX] FROM [G0] WHERE [ID]=1"), andere);
    EXPECT_DOUBLE_EQ(g0.Value(QStringLiteral("MYMX")).toDouble(), 0);
    EXPECT_DOUBLE_EQ(g0.Value(QStringLiteral("XMAX")).toDouble(), 2000);
    g0.Close();
    // A redraw at the same size leaves the row as it was.
    const QVariant mx = G0("MX");
    seite->BILD11();
    EXPECT_EQ(G0("MX"), mx);
    EXPECT_EQ(labor.HAUPT.ZEILEN(QStringLiteral("G0")), 1);
}

TEST_F(Seite1, AutomaticRangesFromTheData) {
    labor.PRUEFUNG(1, QStringLiteral("P-1"), SEITENLABOR::REIHE({0, 1440}, {0, 23.4}), 100, 1440,
                   23.4f);
    Laden();
    EXPECT_DOUBLE_EQ(G0("XMIN").toDouble(), 0);
    EXPECT_DOUBLE_EQ(G0("XMAX").toDouble(), 1500);
    EXPECT_DOUBLE_EQ(G0("YMIN").toDouble(), 0);
    EXPECT_DOUBLE_EQ(G0("YMAX").toDouble(), 25);
}

TEST_F(Seite1, OneReadingIsOneMarkerWithoutASegment) {
    labor.PRUEFUNG(1, QStringLiteral("P-1"), SEITENLABOR::REIHE({50}, {50}), 100, 1440, 0, false);
    labor.HAUPT.DBPROJEKT()->Execute(QStringLiteral(
        "INSERT INTO [G0] ([ID],[IDOBJEKT],[OX],[OY],[RL],[RR],[RO],[RU],[XMIN],[XMAX],[YMIN],"
        "[YMAX]) VALUES (1,11,1,1,11,7,7,11,0,100,0,100)"));
    Laden();
    // The point (50, 50) on the page: the strokes of its marker start
    // there; no segment does.
    const double px = 11 + 0.5 * 127, py = 7 + 0.5 * 112;
    int marke = 0, strecke = 0;
    for (const Primitive& p : bild11.of(Primitive::Kind::Line)) {
        const bool an = std::hypot(p.x1 - px, p.y1 - py) < 0.05 ||
                        std::hypot(p.x2 - px, p.y2 - py) < 0.05 ||
                        std::hypot((p.x1 + p.x2) / 2 - px, (p.y1 + p.y2) / 2 - py) < 0.05;
        if (!an) continue;
        if (std::hypot(p.x2 - p.x1, p.y2 - p.y1) < 2.5) ++marke;
        else ++strecke;
    }
    EXPECT_GE(marke, 2);
    EXPECT_EQ(strecke, 0);
}

TEST_F(Seite1, GapsAndEmptyReadingsStayOutOfTheCurve) {
    std::vector<std::pair<int, MESSUNG>> reihe{{1, {10.0, 5.0, {}}},
                                               {3, {30.0, 15.0, {}}},
                                               {4, {QVariant(), QVariant(), {}}}};
    labor.PRUEFUNG(1, QStringLiteral("P-1"), reihe, 100, 1440, 0);
    Laden();
    // Reading 0 is missing and stays the origin; 2 and the empty 4 go.
    EXPECT_EQ(seite->DET, (std::vector<float>{0, 10, 30}));
    EXPECT_EQ(seite->W, (std::vector<float>{0, 5, 15}));
}

TEST_F(Seite1, FortyThousandReadingsDrawTheirCurve) {
    labor.HAUPT.DATENSATZANLEGEN(1, QStringLiteral("L"), QString(), true);
    labor.HAUPT.ALLGEMEINEDATENANLEGEN(1, 0, 2, 100, 1440);
    Connection& db = *labor.HAUPT.DBPROJEKT();
    db.BeginTrans();
    for (int i = 0; i < 40000; ++i) {
        db.Execute(QStringLiteral("INSERT INTO [E3] ([ID],[I1],[DET],[V]) VALUES (1,?,?,?)"),
                   {i, double(i) * 0.05, 1.0 + i * 0.0005});
        db.Execute(QStringLiteral("INSERT INTO [A2] ([ID],[I],[W]) VALUES (1,?,?)"),
                   {i, 1.0 + i * 0.0005});
    }
    db.Execute(QStringLiteral("INSERT INTO [A1] ([ID],[BONEU],[VELD]) VALUES (1,1,1.7)"));
    db.CommitTrans();
    seite = std::make_unique<mdiSEITE1>();
    seite->picBILD11->SetRecorder(&bild11);
    seite->Form_Load();
    EXPECT_EQ(seite->DET.size(), 40000u);
    // Every segment and a marker at every point.
    EXPECT_GT(Linien(bild11), 39999 + 2 * 40000 - 100);
    EXPECT_TRUE(labor.BOXEN.boxes().isEmpty()) << labor.BOXEN.prompts().join("\n").toStdString();
}

TEST_F(Seite1, ReadingsTableRowsAndTheBlockOfValues) {
    std::vector<std::pair<int, MESSUNG>> reihe{{0, {0.0, 10.0, 20.5}},
                                               {1, {60.0, 20.0, 0.0}},
                                               {2, {1440.0, 30.0, {}}}};
    labor.PRUEFUNG(1, QStringLiteral("P-1"), reihe);
    Laden();
    const QStringList zeilen = SEITENLABOR::ZEILEN(bild12);
    for (const char* zeile : {"0 | 0,0 | 10,00 | 20,50 | 10,00", "1 | 60,0 | 20,00 | - | 20,00",
                              "2 | 1440,0 | 30,00 | - | 30,00"})
        EXPECT_TRUE(zeilen.contains(QString::fromUtf8(zeile)))
            << zeile << "\n" << zeilen.join("\n").toStdString();

    // Block 13: labels at x 3, values at x 27, lines at y 3, 7, 11, 15.
    const struct {
        const char* label;
        const char* wert;
        double y;
    } block[] = {{"Versuchstyp", "Enslin", 3}, {"d", "2,00", 7}, {"m", "100,00", 11}, {"t", "1440", 15}};
    for (const auto& z : block) {
        bool label = false, wert = false;
        for (const Primitive& p : bild12.entries) {
            if (p.kind != Primitive::Kind::Text || std::abs(p.y1 - z.y) > 0.01) continue;
            label |= p.text == QString::fromUtf8(z.label) && std::abs(p.x1 - 3) < 0.01;
            wert |= p.text == QString::fromUtf8(z.wert) && std::abs(p.x1 - 27) < 0.01;
        }
        EXPECT_TRUE(label && wert) << z.label;
    }
    // d max is a grain size.
    EXPECT_NE(SEITENLABOR::TEXT(bild12, QStringLiteral(" [mm]")), nullptr);
    EXPECT_NE(SEITENLABOR::TEXT(bild12, QStringLiteral(" = 30,0 [%]")), nullptr);
}

TEST_F(Seite1, AGapGivesAnEmptyRowWithADash) {
    std::vector<std::pair<int, MESSUNG>> reihe{{0, {0.0, 10.0, 20.0}},
                                               {1, {60.0, 20.0, 20.0}},
                                               {3, {120.0, 25.0, 20.0}}};
    labor.PRUEFUNG(1, QStringLiteral("P-1"), reihe);
    Laden();
    const QStringList zeilen = SEITENLABOR::ZEILEN(bild12, 0, 95);
    const qsizetype eins = zeilen.indexOf(QStringLiteral("1 | 60,0 | 20,00 | 20,00 | 20,00"));
    ASSERT_GE(eins, 0) << zeilen.join("\n").toStdString();
    EXPECT_TRUE(zeilen[eins + 1].startsWith(QStringLiteral("- |")) ||
                zeilen[eins + 1] == QStringLiteral("-"))
        << zeilen[eins + 1].toStdString();
    EXPECT_TRUE(zeilen[eins + 2].startsWith(QStringLiteral("3 | 120,0")));
}

TEST_F(Seite1, TheResultFrameGrowsWithTheValue) {
    double breite[2] = {0, 0};
    const float werte[2] = {9.9f, 100.0f};
    for (int i = 0; i < 2; ++i) {
        SEITENLABOR eigenes;
        eigenes.PRUEFUNG(1, QStringLiteral("P-1"), SEITENLABOR::REIHE({0, 60}, {1, 2}), 100, 60,
                         werte[i], false);
        PrimitiveLog log;
        mdiSEITE1 s;
        s.picBILD12->SetRecorder(&log);
        s.Form_Load();
        const QList<Primitive> rahmen = log.of(Primitive::Kind::Box);
        ASSERT_FALSE(rahmen.isEmpty());
        const Primitive& r = rahmen.last();
        EXPECT_NEAR(r.x1, 28, 0.01);
        EXPECT_NEAR(r.y2 - r.y1, 9, 0.01);
        breite[i] = r.x2 - r.x1;
    }
    EXPECT_GT(breite[1], breite[0]);
}

TEST_F(Seite1, AScrollDrawsTableBlockAndFrameAgain) {
    std::vector<double> t, v;
    for (int i = 0; i < 80; ++i) {
        t.push_back(i * 10);
        v.push_back(i * 0.2);
    }
    labor.PRUEFUNG(1, QStringLiteral("P-1"), SEITENLABOR::REIHE(t, v), 100, 600, 12);
    Laden();
    ASSERT_TRUE(seite->vscBILD12().Visible());
    bild12.clear();
    seite->vscBILD12().SetValue(seite->vscBILD12().Value() + 5);
    EXPECT_EQ(bild12.entries.first().kind, Primitive::Kind::Cls);
    EXPECT_NE(SEITENLABOR::TEXT(bild12, QStringLiteral("Versuchstyp")), nullptr);
    EXPECT_FALSE(bild12.of(Primitive::Kind::Box).isEmpty());
    EXPECT_TRUE(labor.BOXEN.boxes().isEmpty());
}

} // namespace
