// The page header and footer: texts, places, languages, margins, the cut
// identifier line, and a frame object in units of its own.

#include "drawing/VERSIONSINFO.h"
#include "drawing/clsKOPFFUSS.h"
#include "platform/runtime/MsgBox.h"
#include "platform/controls/RecordingSurface.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/Variant.h"
#include "support/ScriptedDialogs.h"

#include <QLocale>
#include <QVariantList>
#include <gtest/gtest.h>

namespace {
double Em(double punkte) {
    return punkte * 25.4 / 72;
}
double Breite(const QString& text, double punkte) {
    return text.size() * 0.5 * Em(punkte);
}
double Hoehe(double punkte) {
    return 1.15 * Em(punkte);
}

class Kopffuss : public ::testing::Test {
protected:
    Kopffuss() : drucker(297, 210, 600, OutputObject::Kind::Printer) {
        drucker.SetScaleMode(6);
        k.setAUSGABEOBJEKT(&drucker, &drucker);
        k.setBEARBEITER("MEIER");
        k.setCOPYRIGHT(VERSIONSINFO::COPYRIGHT());
        k.setPROGRAMMIERER("Team A");
        k.setUEBERSCHRIFT(VERSIONSINFO::PRODUKTNAME());
        k.setPROJEKT("TE0815.01");
        k.setDATUM(QDateTime(QDate(2024, 3, 12), QTime(0, 0), Qt::UTC));
        k.setUHRZEIT(QDateTime(QDate(1899, 12, 30), QTime(14, 5, 40), Qt::UTC));
    }
    // The sheet's extent in millimetres as the device's whole pixels give it
    // (297 x 210 at 600 dpi are 7016 x 4961 pixels).
    double W() const { return drucker.ScaleWidth(); }
    double H() const { return drucker.ScaleHeight(); }
    QList<Primitive> Texte() { return drucker.log().of(Primitive::Kind::Text); }
    bool Gezeichnet(const QString& inhalt) {
        for (const Primitive& p : Texte())
            if (p.text == inhalt) return true;
        return false;
    }
    Primitive Text(const QString& inhalt) {
        QList<Primitive> treffer;
        for (const Primitive& p : Texte())
            if (p.text == inhalt) treffer.append(p);
        EXPECT_EQ(treffer.size(), 1) << inhalt.toStdString();
        return treffer.value(0);
    }
    // The text that starts with this.
    Primitive Beginnt(const QString& anfang) {
        for (const Primitive& p : Texte())
            if (p.text.startsWith(anfang)) return p;
        ADD_FAILURE() << anfang.toStdString();
        return Primitive();
    }

    ScriptedDialogs dialoge;
    RecordingSurface drucker;
    clsKOPFFUSS k;
};
} // namespace

TEST_F(Kopffuss, HeaderOnAMillimetrePrinter) {
    k.setKENNZEICHNUNG(QVariantList{"K1", "K2"});
    k.setKOMMENTAR("Serie Nord");
    k.KOPFFUSSZEILE();
    EXPECT_TRUE(dialoge.boxes().isEmpty());

    const Primitive titel = Text("Varmikon");
    EXPECT_NEAR(titel.x1, 15, 1e-3);
    EXPECT_NEAR(titel.y1, 15, 1e-3);
    EXPECT_EQ(titel.font.Size(), 16);
    EXPECT_TRUE(titel.font.Bold());

    const Primitive kennung = Text(QString::fromUtf8("Datensätze K1, K2"));
    EXPECT_NEAR(kennung.x1, 15, 1e-3);
    EXPECT_NEAR(kennung.y1, 24, 1e-3);
    EXPECT_EQ(kennung.font.Size(), 10);
    EXPECT_FALSE(kennung.font.Bold());

    const Primitive kommentar = Text("Serie Nord");
    EXPECT_NEAR(kommentar.y1, 24 + 1.5 * Hoehe(10), 1e-3);

    // Project and page text end level with the title's foot.
    const double yP = 15 + Hoehe(16) - Hoehe(10);
    const Primitive projekt = Text("Projekt TE0815.01");
    const double xP = W() - 15 - Breite("Projekt TE0815.01", 10);
    EXPECT_NEAR(projekt.x1, xP, 1e-3);
    EXPECT_NEAR(projekt.y1, yP, 1e-3);
    const Primitive seite = Text("Seite 1/1");
    EXPECT_NEAR(seite.x1, xP - Breite(QString(15, ' ') + "Seite 1/1", 10), 1e-3);
    EXPECT_NEAR(seite.y1, yP, 1e-3);
}

TEST_F(Kopffuss, FooterOnTheBottomMargin) {
    k.KOPFFUSSZEILE();
    const QString entwickler = "Programmentwicklung: Team A";
    const QString copyright = VERSIONSINFO::COPYRIGHT();
    const double xR = W() - 15 - std::max(Breite(entwickler, 7), Breite(copyright, 7));
    const double h = Hoehe(7);

    const Primitive e = Text(entwickler);
    EXPECT_NEAR(e.x1, xR, 1e-3);
    EXPECT_NEAR(e.y1 + h, H() - 15, 1e-3);
    EXPECT_EQ(e.font.Size(), 7);
    const Primitive c = Text(copyright);
    EXPECT_NEAR(c.x1, xR, 1e-3);
    EXPECT_NEAR(c.y1 + h, H() - 15 + h, 1e-3);

    const Primitive datum = Text(QLocale().toString(k.DATUM().date(), QLocale::ShortFormat));
    EXPECT_NEAR(datum.x1 + Breite(datum.text, 7) / 2, W() / 2, 1e-3);
    EXPECT_NEAR(datum.y1 + h, H() - 15, 1e-3);
    const Primitive zeit = Text("14:05");
    EXPECT_NEAR(zeit.y1 + h, H() - 15 + h, 1e-3);

    const Primitive person = Text("Bearbeiter: MEIER");
    EXPECT_NEAR(person.x1, 15, 1e-3);
    EXPECT_NEAR(person.y1 + h, H() - 15, 1e-3);

    // The output object keeps the footer's font.
    EXPECT_EQ(drucker.FontName(), "Arial");
    EXPECT_EQ(drucker.FontSize(), 7);
    EXPECT_FALSE(drucker.FontBold());
    EXPECT_EQ(drucker.ForeColor(), 0);
}

TEST_F(Kopffuss, DateInTheUsersNotation) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    k.KOPFFUSSZEILE();
    QLocale::setDefault(QLocale::c());
    EXPECT_TRUE(Gezeichnet("12.03.2024"));
    EXPECT_TRUE(Gezeichnet("14:05"));
}

TEST_F(Kopffuss, ManyIdentifiersAreCutWithEllipsis) {
    QVariantList kennungen;
    QStringList erwartet;
    for (int i = 0; i < 30; ++i) {
        const QString kennung = QStringLiteral("PROBE%1").arg(i, 5, 10, QLatin1Char('0'));
        kennungen.append(kennung);
        if (i < 12) erwartet.append(kennung);
    }
    k.setKENNZEICHNUNG(kennungen);
    k.KOPFFUSSZEILE();
    // Room: 297 - 30 - "Datensätze" = 141.37 characters of 10 pt. After 11
    // identifiers (130 characters) the test "line, identifier and a comma"
    // needs 141 and passes, so a twelfth is taken (the line then holds 142);
    // the thirteenth would need 153.
    EXPECT_EQ(k.KENNZEILE(), erwartet.join(", ") + ", ...");
    EXPECT_TRUE(Gezeichnet(QString::fromUtf8("Datensätze ") + k.KENNZEILE()));
}

TEST_F(Kopffuss, FirstIdentifierIsAlwaysWhole) {
    const QString lang(200, QLatin1Char('L'));
    k.setKENNZEICHNUNG(QVariantList{lang, "K2"});
    k.KOPFFUSSZEILE();
    EXPECT_EQ(k.KENNZEILE(), lang + ", ...");
    EXPECT_EQ(k.DATENSATZTEXT(), QString::fromUtf8("Datensätze"));
}

TEST_F(Kopffuss, NoIdentifiersNoLineButTheCommentStays) {
    k.setKOMMENTAR("nur Kommentar");
    k.KOPFFUSSZEILE();
    EXPECT_EQ(k.DATENSATZTEXT(), "Datensatz");
    for (const Primitive& p : Texte())
        EXPECT_FALSE(p.text.startsWith("Datensatz")) << p.text.toStdString();
    EXPECT_NEAR(Text("nur Kommentar").y1, 24 + 1.5 * Hoehe(10), 1e-3);
    // The project line is placed from the (empty) identifier line's height.
    EXPECT_NEAR(Beginnt("Projekt").y1, 15 + Hoehe(16) - Hoehe(10), 1e-3);
}

TEST_F(Kopffuss, SingleNumberIsOneIdentifier) {
    k.setKENNZEICHNUNG(7);
    k.KOPFFUSSZEILE();
    EXPECT_TRUE(Gezeichnet("Datensatz 7"));
}

TEST_F(Kopffuss, ListWithoutElementsIsASubscriptError) {
    try {
        k.setKENNZEICHNUNG(QVariantList{});
        FAIL() << "no error";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.Number(), 9);
    }
}

TEST_F(Kopffuss, PageNumberSwitchedOff) {
    k.setEBOKFS(false);
    k.setSEITE(12);
    k.setSEITENANZAHL(3);
    k.KOPFFUSSZEILE();
    EXPECT_FALSE(Gezeichnet("Seite 12/3"));
    EXPECT_NEAR(Text("Projekt TE0815.01").x1, W() - 15 - Breite("Projekt TE0815.01", 10), 1e-3);

    drucker.log().clear();
    k.setEBOKFS(true);
    k.KOPFFUSSZEILE();
    EXPECT_TRUE(Gezeichnet("Seite 12/3"));
}

TEST_F(Kopffuss, EnglishTextsStartWhereTheGermanWouldStart) {
    k.setSPRACHE(1);
    k.setKENNZEICHNUNG("K1");
    k.KOPFFUSSZEILE();
    EXPECT_TRUE(Gezeichnet("File K1"));
    EXPECT_TRUE(Gezeichnet("Program developed by Team A"));
    EXPECT_TRUE(Gezeichnet("Project Manager: MEIER"));
    const double xP = W() - 15 - Breite("Project TE0815.01", 10);
    EXPECT_NEAR(Text("Project TE0815.01").x1, xP, 1e-3);
    EXPECT_NEAR(Text("Page 1/1").x1, xP - Breite(QString(15, ' ') + "Seite 1/1", 10), 1e-3);
}

TEST_F(Kopffuss, OtherLanguageLeavesTheFixedTextsOut) {
    k.setSPRACHE(2);
    k.setKENNZEICHNUNG(QVariantList{"K1", "K2"});
    k.KOPFFUSSZEILE();
    // The label of a fresh object keeps its blank.
    EXPECT_TRUE(Gezeichnet("Datensatz  K1, K2"));
    for (const char* teil : {"Projekt", "Project", "Seite", "Page", "Programm", "Bearbeiter"})
        for (const Primitive& p : Texte())
            EXPECT_FALSE(p.text.startsWith(teil)) << p.text.toStdString();
    EXPECT_TRUE(Gezeichnet("Varmikon"));
    EXPECT_TRUE(Gezeichnet(VERSIONSINFO::COPYRIGHT()));
    EXPECT_TRUE(Gezeichnet("14:05"));
}

TEST_F(Kopffuss, LabelCarriesOverBetweenDrawings) {
    k.setKENNZEICHNUNG(QVariantList{"K1", "K2"});
    k.KOPFFUSSZEILE();
    k.setSPRACHE(2);
    drucker.log().clear();
    k.KOPFFUSSZEILE();
    EXPECT_TRUE(Gezeichnet(QString::fromUtf8("Datensätze K1, K2")));
}

TEST_F(Kopffuss, MarginsBySide) {
    k.setRANDABSTAND("oben", 7.5f);
    k.setRANDABSTAND("unten", 7.5f);
    EXPECT_FLOAT_EQ(k.RANDOBEN(), 7.5f);
    EXPECT_FLOAT_EQ(k.RANDUNTEN(), 7.5f);
    EXPECT_FLOAT_EQ(k.RANDLINKS(), 15);
    k.KOPFFUSSZEILE();
    EXPECT_NEAR(Text("Varmikon").y1, 7.5, 1e-3);
    EXPECT_NEAR(Text("Bearbeiter: MEIER").y1 + Hoehe(7), H() - 7.5, 1e-3);

    // The side is compared with its letter case: "Oben" sets all four.
    k.setRANDABSTAND("Oben", 10);
    EXPECT_FLOAT_EQ(k.RANDOBEN(), 10);
    EXPECT_FLOAT_EQ(k.RANDUNTEN(), 10);
    EXPECT_FLOAT_EQ(k.RANDLINKS(), 10);
    EXPECT_FLOAT_EQ(k.RANDRECHTS(), 10);
    k.setRANDABSTAND(20);
    EXPECT_FLOAT_EQ(k.RANDRECHTS(), 20);
    // A new output object brings them back to 15 mm.
    k.setAUSGABEOBJEKT(&drucker, &drucker);
    EXPECT_FLOAT_EQ(k.RANDOBEN(), 15);
    EXPECT_FLOAT_EQ(k.RANDRECHTS(), 15);
}

TEST_F(Kopffuss, MarginsAreKeptInTheOutputObjectsUnits) {
    RecordingSurface halb(297, 210, 96, OutputObject::Kind::Form);
    halb.Scale(0, 0, 594, 420); // half millimetres
    clsKOPFFUSS kf;
    kf.setAUSGABEOBJEKT(&halb, &halb);
    EXPECT_EQ(halb.ScaleMode(), 0);
    // Two units to the millimetre, up to the whole pixels of the surface.
    EXPECT_NEAR(kf.RANDOBEN(), 30, 0.02);
    kf.setRANDABSTAND("links", 5);
    EXPECT_NEAR(kf.RANDLINKS(), 10, 0.02);
}

TEST(KopffussOhneObjekt, MarginBeforeTheOutputObjectDividesByZero) {
    clsKOPFFUSS kf;
    try {
        kf.setRANDABSTAND(15);
        FAIL() << "no error";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.Number(), 11);
    }
}

TEST(KopffussRahmen, FrameInTwipsIsConvertedBeforePlacing) {
    ScriptedDialogs dialoge;
    // The page window in millimetres inside a main window measured in twips.
    RecordingSurface seite(297, 200, 96, OutputObject::Kind::Form);
    seite.SetScaleMode(6);
    RecordingSurface hauptfenster(297, 200, 96, OutputObject::Kind::Form);
    ASSERT_EQ(hauptfenster.ScaleMode(), 1);
    clsKOPFFUSS kf;
    kf.setAUSGABEOBJEKT(&hauptfenster, &seite);
    kf.setBEARBEITER("MEIER");
    kf.KOPFFUSSZEILE();
    EXPECT_TRUE(dialoge.boxes().isEmpty());
    EXPECT_EQ(hauptfenster.ScaleMode(), 1); // measured and restored
    // The main window's size in twips becomes the page's millimetres.
    const double W = seite.ScaleWidth(), H = seite.ScaleHeight();
    bool person = false, projekt = false;
    for (const Primitive& p : seite.log().of(Primitive::Kind::Text)) {
        EXPECT_LT(p.x1, W) << p.text.toStdString();
        EXPECT_LT(p.y1, H) << p.text.toStdString();
        if (p.text == "Bearbeiter: MEIER") {
            person = true;
            EXPECT_NEAR(p.y1 + Hoehe(7), H - 15, 1e-3);
        }
        if (p.text == "Projekt TE0000.00") {
            projekt = true;
            EXPECT_NEAR(p.x1, W - 15 - Breite(p.text, 10), 1e-3);
        }
    }
    EXPECT_TRUE(person);
    EXPECT_TRUE(projekt);
}

TEST(KopffussFehler, MissingFrameShowsTheBoxAndCancelLeaves) {
    ScriptedDialogs dialoge;
    RecordingSurface seite(297, 210, 96, OutputObject::Kind::Form);
    seite.SetScaleMode(6);
    clsKOPFFUSS kf;
    kf.setAUSGABEOBJEKT(nullptr, &seite);
    kf.setUEBERSCHRIFT("Titel");
    dialoge.expect(vbCancel, "VB-Error: 91\r\n");
    kf.KOPFFUSSZEILE();
    ASSERT_EQ(dialoge.boxes().size(), 1);
    EXPECT_EQ(dialoge.boxes()[0].title, QString::fromUtf8("Kopffuß-Zeile"));
    EXPECT_EQ(dialoge.boxes()[0].style, 49);
    EXPECT_TRUE(seite.log().of(Primitive::Kind::Text).isEmpty());
}

TEST(KopffussFehler, OkGoesOnWithWhatCanBeDrawn) {
    ScriptedDialogs dialoge;
    RecordingSurface seite(297, 210, 96, OutputObject::Kind::Form);
    seite.SetScaleMode(6);
    clsKOPFFUSS kf;
    kf.setAUSGABEOBJEKT(nullptr, &seite);
    kf.setUEBERSCHRIFT("Titel");
    kf.setKOMMENTAR("Kommentar");
    dialoge.expect(vbOK, "VB-Error: 91\r\n");
    kf.KOPFFUSSZEILE();
    EXPECT_EQ(dialoge.boxes().size(), 1);
    QStringList texte;
    for (const Primitive& p : seite.log().of(Primitive::Kind::Text))
        texte.append(p.text);
    EXPECT_EQ(texte, QStringList({"Titel", "Kommentar"}));
}

TEST_F(Kopffuss, TheDateAsTheUsersLocaleWritesAShortDateWithTheFullYear) {
    const struct {
        QLocale locale;
        const char* datum;
    } faelle[] = {
        {QLocale(QLocale::German, QLocale::Germany), "12.03.2024"},
        {QLocale(QLocale::English, QLocale::UnitedStates), "3/12/2024"},
    };
    for (const auto& fall : faelle) {
        QLocale::setDefault(fall.locale);
        drucker.log().clear();
        k.KOPFFUSSZEILE();
        EXPECT_TRUE(Gezeichnet(QString::fromLatin1(fall.datum))) << fall.datum;
    }
    QLocale::setDefault(QLocale::c());
}
