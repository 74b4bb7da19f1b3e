// The data-logger import: the three layouts, the column mapping, the
// cutting of fields, the finishing steps and the answers to its messages.

#include "IMPORTFENSTER.h"

namespace {

const QString kTitel = QStringLiteral("MSFlexGrid / Importieren");

// The fixtures' three cycles as the grid shows them (date, time, volume,
// temperature), in the German form.
const QStringList kDreiZyklen{"17.05.03|08:15:00|12,50|20,10", "17.05.03|08:30:00|13,75|20,40",
                              "17.05.03|08:45:00|-0,50|20,00"};

// The C form of a German row text: decimal points, dates with slashes.
QStringList InC(const QStringList& deutsch) {
    QStringList texte;
    for (const QString& zeile : deutsch) {
        QStringList felder = zeile.split(u'|');
        for (QString& feld : felder)
            feld = feld.count(u'.') == 2 ? QString(feld).replace(u'.', u'/')
                                         : QString(feld).replace(u',', u'.');
        texte << felder.join(u'|');
    }
    return texte;
}

QStringList Erwartet(const QStringList& deutsch) {
    return QLocale().language() == QLocale::German ? deutsch : InC(deutsch);
}

// A line-per-value block of the WERT configuration.
std::string Block(int zyklus, const char* zeit, const char* volumen, const char* temp) {
    return "5\n" + std::to_string(zyklus) + "\n2003-05-17\n" + zeit + "\n" + volumen + "\n" + temp +
           "\n";
}
const std::string kKopf = "Kopf\n1\n2\n3\n4\n5\n";

} // namespace

TEST_F(FLXImport, EveryLayoutFillsTheFirstRowOfAnEmptyGrid) {
    for (const bool deutsch : {true, false}) {
        QLocale::setDefault(deutsch ? QLocale(QLocale::German, QLocale::Germany) : QLocale::c());
        for (const Vorlage& fall : kVorlagen) {
            f = std::make_unique<IMPORTFENSTER>();
            ASSERT_TRUE(importieren(fall.code, Fixture(fall.datei))) << fall.code;
            if (QString(fall.code) == "MARKE") {
                // Reading starts after the marker, inside the first block.
                EXPECT_EQ(zeilen(),
                          Erwartet({"|08:00:00|0,50|19,90", "17.05.03|08:15:00|12,50|20,10"}));
                continue;
            }
            EXPECT_EQ(zeilen(), Erwartet(kDreiZyklen)) << fall.code;
            EXPECT_EQ(zeilen({0, 3}), Erwartet({"0|0", "1|15,0", "2|30,0"})) << fall.code;
        }
    }
    EXPECT_TRUE(dialoge.boxes().isEmpty());
}

TEST_F(FLXImport, AGridWithDataIsOverwrittenInItsLastRowOrExtended) {
    const QStringList vorher{"16.05.03|07:00:00|1,00|", "16.05.03|07:30:00|2,00|"};
    for (const char* code : {"WERT", "SEMI", "SATZ"}) {
        f = std::make_unique<IMPORTFENSTER>();
        grid().SetRows(3);
        for (int r = 1; r <= 2; ++r) {
            const QStringList felder = vorher[r - 1].split(u'|');
            for (int c = 0; c < 4; ++c)
                grid().SetTextMatrix(r, QList<int>{1, 2, 4, 5}[c], felder[c]);
        }
        ASSERT_TRUE(importieren(code, Fixture(QString(code) == "WERT"   ? "wert_kopfzahl.txt"
                                              : QString(code) == "SEMI" ? "zyklus_semikolon.txt"
                                                                        : "satz.txt")));
        const QStringList erwartet =
            QString(code) == "WERT" ? QStringList{vorher[0]} + kDreiZyklen : vorher + kDreiZyklen;
        EXPECT_EQ(zeilen(), erwartet) << code;
    }
}

TEST_F(FLXImport, NothingIsWrittenWithoutAConfigurationAGridOrAFile) {
    konfiguration({6, "NULL", 0, "", "", ";", ""}, {{"VOL", 0}});
    // A file without a cycle: the last row would lose its first character
    // to the prefix if the finishing steps touched it.
    konfiguration({7, "PRAEFIX", 6, "1", "", "", ""}, {{"VOL", 4, "x"}});
    grid().SetTextMatrix(1, 4, "12,50");
    f->FLX.AKTUALISIEREN();
    const QString leer = datei("");
    const QStringList vorher = Zustand(grid());
    EXPECT_FALSE(importieren("FEHLT", Fixture("zyklus_semikolon.txt")));
    EXPECT_FALSE(importieren("NULL", Fixture("zyklus_semikolon.txt")));
    EXPECT_FALSE(importieren("SEMI", Fixture("fehlt.txt")));
    EXPECT_FALSE(importieren("SEMI", ordner.path())); // a directory
    for (const char* code : {"PRAEFIX", "SEMI", "SATZ"})
        EXPECT_TRUE(importieren(code, leer)) << code;
    EXPECT_TRUE(importieren("PRAEFIX", datei("Kopf\n1\n2\n3\n4\n5\n")));
    EXPECT_EQ(Zustand(grid()), vorher);
    grid().SetEnabled(false);
    EXPECT_FALSE(importieren("SEMI", Fixture("zyklus_semikolon.txt")));
    EXPECT_TRUE(dialoge.boxes().isEmpty());
}

TEST_F(FLXImport, QuantitiesGoToTheLastColumnWithTheirKeyOrToTheFirst) {
    einfachesRaster({0, 0, 0}, {"A", "B", "B"});
    konfiguration({10, "ABC", 3, "", "", ";", ""}, {{"A", 0}, {"B", 1}, {"X", 2}});
    ASSERT_TRUE(importieren("ABC", datei("1;2;3yy\n4;5;6yy\n")));
    // X has no column: it writes over A's value in column 0.
    EXPECT_EQ(zeilen({0, 1, 2}), (QStringList{"3||2", "6||5"}));
}

TEST_F(FLXImport, FieldsAreCutAsTheLayoutsSay) {
    const struct {
        const char *tzs, *tzz;
        int zl;
        const char *kenz1nr, *inhalt;
        QStringList zeilen;
    } faelle[] = {
        {";", "", 3, "", "1;2;345\n", {"1|2|3"}},    // the last field loses two characters
        {";", "", 3, "", "1;2;34\n", {"1|2|"}},      // two characters: an empty value
        {"<BLANK>", "", 2, "", "1 2yy\n", {"1|2|"}}, // "<BLANK>" is one blank
        {";", "", 1, "", "a;12yy\n", {";12||"}},     // the only field starts after TZS's length
        {";", "#", 2, "", "12;3456#", {"12|34|"}},   // a record's last field
        {"x", "#", 3, "", "1X2x3Xyy#", {"1|2|3X"}},  // first separator in either case
        {";", "##", 2, "0", "@@1;2yy##", {"1|2|"}},  // header 0: after length-of-TZZ characters
        {";", "#", 2, "", "1;2yy#3;4yy#5;6yy\n7;8yy#", {"1|2|", "3|4|"}}, // first line only
    };
    for (const auto& fall : faelle) {
        einfachesRaster();
        konfiguration({11, "CUT", fall.zl, fall.kenz1nr, "", fall.tzs, fall.tzz},
                      {{"A", 0}, {"B", 1}, {"C", 2}});
        EXPECT_TRUE(importieren("CUT", datei(fall.inhalt))) << fall.inhalt;
        EXPECT_EQ(zeilen({0, 1, 2}), fall.zeilen) << fall.inhalt;
    }
}

TEST_F(FLXImport, DatesTimesSignsDecimalsAndFactors) {
    for (const bool deutsch : {true, false}) {
        QLocale::setDefault(deutsch ? QLocale(QLocale::German, QLocale::Germany) : QLocale::c());
        const QString d = deutsch ? "," : ".";
        // A date and a time column without formats, so that the texts
        // stand as the import leaves them.
        einfachesRaster({4, 5, 0});
        konfiguration({12, "DT", 3, "", "", ";", ""}, {{"A", 0}, {"B", 1}, {"C", 2}});
        const QString pfad = datei("2003-05-17;08.15.30;1yy\n");
        ASSERT_TRUE(importieren("DT", pfad));
        EXPECT_EQ(zeilen({0, 1}), QStringList{"17.05.03|08:15:30"});
        // Masks without a year or without seconds: the messages, the texts
        // as logged.
        einfachesRaster({4, 5, 0});
        konfiguration({12, "DT", 3, "", "", ";", "", "TT.MM.", "hh:mm"}, {{"A", 0}, {"B", 1}});
        dialoge.clear();
        dialoge.expect(vbOK, "ungültiges Datumsformat im Menü Elektronikvorgaben eingegeben!");
        dialoge.expect(vbOK, "ungültiges Zeitformat im Menü Elektronikvorgaben eingegeben!");
        ASSERT_TRUE(importieren("DT", pfad));
        EXPECT_EQ(zeilen({0, 1}), QStringList{"2003-05-17|08.15.30"});
        ASSERT_EQ(dialoge.boxes().size(), 2);
        for (const auto& box : dialoge.boxes()) {
            EXPECT_EQ(box.style, 48);
            EXPECT_EQ(box.title, kTitel);
        }

        // Signs, leading points, the user's separator, factors; a quantity
        // without a position still cuts its prefix in its column.
        einfachesRaster();
        konfiguration(
            {13, "ZAHL", 3, "", "", ";", ""},
            {{"A", 0}, {"B", 1, "", "", 1000}, {"C", 2, "", "", 0.5f}, {"C", QVariant(), "x"}});
        dialoge.clear();
        // A text that is no number cannot be scaled: the import's runtime
        // error box; OK goes on.
        dialoge.expect(vbOK, "VB-Error: 13");
        ASSERT_TRUE(importieren("ZAHL", datei(",5;1,23456;x0,125yy\n"
                                              "-,5;1.5;x1yy\n"
                                              "12.5;-.25;x-,5yy\n"
                                              "12,34567;7;xabcyy\n")));
        EXPECT_EQ(dialoge.boxes().last().title, kTitel);
        EXPECT_EQ(zeilen({0, 1, 2}),
                  (QStringList{"0" + d + "5|1234" + d + "56|0" + d + "062", // 0.0625: half to even
                               "-0" + d + "5|1500|0" + d + "5", "12" + d + "5|-250|-0" + d + "25",
                               "12" + d + "34567|7000|abc"}));
    }
}

TEST_F(FLXImport, DamagedAndMissingCyclesAnsweredOKOrCancel) {
    const std::string eins = Block(1, "08:15:00", "12,5", "20,1");
    const std::string zwei = Block(2, "08:30:00", "13,75", "20,4");
    const std::string drei = Block(3, "08:45:00", "-,5", "20,0");
    const QString z1 = kDreiZyklen[0], z2 = kDreiZyklen[1], z3 = kDreiZyklen[2];
    const struct {
        const char* fall;
        const char* code;
        std::string inhalt;
        QString meldung;
        QStringList beiOK; // empty: the import ends on OK too
    } faelle[] = {
        // Block 2 one line too long: it is left out, block 3 takes its row.
        {"out of step",
         "WERT",
         kKopf + eins + zwei + "7\n" + drei,
         "ZyklusNr. 2 der Elektronikdatei ist beschädigt!",
         {z1, z3}},
        // The header one line short: the first block read is out of step.
        {"first block",
         "WERT",
         "Kopf\n1\n2\n3\n4\n" + eins + zwei + drei,
         "Elektronikvorgaben passen nicht zur Struktur der Elektronikdatei!",
         {z2, z3}},
        {"missing",
         "WERT",
         kKopf + eins + drei,
         "Es fehlen ein oder mehrere Zyklen nach ZyklusNr. 1 !",
         {z1, z3}},
        {"cut off",
         "WERT",
         kKopf + eins + zwei + "5\n3\n2003-05-17\n",
         "ZyklusNr. 3 der Elektronikdatei ist beschädigt!",
         {z1, z2}},
        {"no separator",
         "SEMI",
         "Kopf\n1;2003-05-17;08:15:00;12,5;20,1 C\n2,2003-05-17,08:30:00\n"
         "3;2003-05-17;08:45:00;-,5;20,0 C\n",
         "ZyklusNr. 1 ist beschädigt!",
         {z1, z3}},
        {"damaged record",
         "SATZ",
         "K#1;2003-05-17;08:15:00;12,5;20,1 C#2,2,2#",
         "ZyklusNr. 2 ist beschädigt!",
         {}},
    };
    for (const auto& fall : faelle) {
        for (const int antwort : {vbOK, vbCancel}) {
            f = std::make_unique<IMPORTFENSTER>();
            dialoge.clear();
            dialoge.expect(antwort, fall.meldung);
            const bool ergebnis = importieren(fall.code, datei(fall.inhalt));
            EXPECT_EQ(dialoge.pending(), 0) << fall.fall;
            ASSERT_FALSE(dialoge.boxes().isEmpty()) << fall.fall;
            EXPECT_EQ(dialoge.boxes().first().style, 49) << fall.fall;
            EXPECT_EQ(dialoge.boxes().first().title, kTitel) << fall.fall;
            if (antwort == vbCancel || fall.beiOK.isEmpty()) {
                EXPECT_FALSE(ergebnis) << fall.fall; // and the grid as before
            } else {
                EXPECT_TRUE(ergebnis) << fall.fall;
                EXPECT_EQ(zeilen(), fall.beiOK) << fall.fall;
            }
        }
    }
    // A separator that the file does not use, answered Cancel.
    dialoge.clear();
    konfiguration({14, "KOMMA", 5, "1", "", ",", ""}, {{"VOL", 3}});
    dialoge.expect(vbCancel, "ZyklusNr. 0 ist beschädigt!");
    EXPECT_FALSE(importieren("KOMMA", Fixture("zyklus_semikolon.txt")));
}

TEST_F(FLXImport, ALineThatCannotBeReadIsRefusedByItsNumber) {
    const std::string eins = Block(1, "08:15:00", "12,5", "20,1");
    const struct {
        const char* code;
        std::string inhalt;
        int zeile;
    } faelle[] = {
        {"WERT", kKopf + eins + "Wort\n", 13},                       // a word at position 0
        {"WERT", kKopf + "5\neins\n", 8},                            // a word as cycle number
        {"WERT", kKopf + eins + Block(0, "08:30:00", "1", "2"), 14}, // a cycle number going back
        {"SEMI", "Kopf\n1;2003-05-17;08:15:00;12,5;2\n", 2},         // last field shorter than two
        {"SEMI", std::string("Kopf\n1;2003-05-17;08:15\0:00;12,5;20,1 C\n", 39), 2}, // NUL
        {"SATZ", "K#1;2;3;4;5#", 1}, // a record's last field
    };
    for (const auto& fall : faelle) {
        dialoge.clear();
        const QString meldung = QStringLiteral("Zeile %1 der Elektronikdatei kann nicht gelesen "
                                               "werden!")
                                    .arg(fall.zeile);
        dialoge.expect(vbOK, meldung);
        EXPECT_FALSE(importieren(fall.code, datei(fall.inhalt))) << fall.inhalt;
        ASSERT_EQ(dialoge.boxes().size(), 1);
        EXPECT_EQ(dialoge.boxes()[0].prompt, meldung);
        EXPECT_EQ(dialoge.boxes()[0].style, 48);
        EXPECT_EQ(dialoge.boxes()[0].title, kTitel);
    }
}
