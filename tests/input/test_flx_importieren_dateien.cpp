// Logger files in other shapes than the plain ones: line ends, a missing
// final line end, byte-order marks, UTF-16, code page 1252, empty files.
// Each shape imports exactly like the plain file.

#include "IMPORTFENSTER.h"

namespace {

std::string Ersetzt(std::string text, const std::string& was, const std::string& womit) {
    std::string neu;
    for (char c : text)
        neu += std::string(1, c) == was ? womit : std::string(1, c);
    return neu;
}

std::string Utf16(const std::string& text, bool klein) {
    const QString zeichen = QString::fromUtf8(text.data(), qsizetype(text.size()));
    std::string bytes = klein ? "\xFF\xFE" : "\xFE\xFF";
    for (const QChar c : zeichen) {
        const char lo = char(c.unicode() & 0xFF), hi = char(c.unicode() >> 8);
        bytes += klein ? std::string{lo, hi} : std::string{hi, lo};
    }
    return bytes;
}

} // namespace

TEST_F(FLXImport, EveryShapeOfAFileImportsLikeThePlainFile) {
    for (const bool deutsch : {true, false}) {
        QLocale::setDefault(deutsch ? QLocale(QLocale::German, QLocale::Germany) : QLocale::c());
        for (const Vorlage& fall : kVorlagen) {
            f = std::make_unique<IMPORTFENSTER>();
            ASSERT_TRUE(importieren(fall.code, Fixture(fall.datei)));
            const QStringList erwartet = Zustand(grid());
            const std::string lf = Bytes(Fixture(fall.datei));
            std::string ohneEnde = lf;
            while (!ohneEnde.empty() && ohneEnde.back() == '\n')
                ohneEnde.pop_back();
            const std::string formen[] = {
                Ersetzt(lf, "\n", "\r\n"),
                Ersetzt(lf, "\n", "\r"),
                ohneEnde,
                "\xEF\xBB\xBF" + lf,
                Utf16(Ersetzt(lf, "\n", "\r\n"), true),
                Utf16(ohneEnde, false),
            };
            int nummer = 0;
            for (const std::string& form : formen) {
                f = std::make_unique<IMPORTFENSTER>();
                EXPECT_TRUE(importieren(fall.code, datei(form)));
                EXPECT_EQ(Zustand(grid()), erwartet) << fall.code << " shape " << nummer++;
            }
        }
    }
    EXPECT_TRUE(dialoge.boxes().isEmpty());
}

TEST_F(FLXImport, TextsInCodePage1252OrUtf8ReadTheSame) {
    einfachesRaster();
    konfiguration({20, "TEXT", 2, "", "", ";", ""}, {{"A", 0}, {"B", 1}});
    for (const std::string inhalt : {"Gr\xC3\xB6\xC3\x9F"
                                     "e;20 \xC2\xB0"
                                     "Cyy\n",
                                     "Gr\xF6\xDF"
                                     "e;20 \xB0"
                                     "Cyy\n"}) {
        leeren();
        ASSERT_TRUE(importieren("TEXT", datei(inhalt)));
        EXPECT_EQ(zeilen({0, 1}), QStringList{QString::fromUtf8("Größe|20 °C")});
    }
}

TEST_F(FLXImport, AFileCutAnywhereIsImportedOrRefusedWhole) {
    // Every length of every fixture: True with the complete cycles, or a
    // message and the grid as it was; OK and Cancel both tried.
    for (const char* code : {"SEMI", "SATZ", "WERT"}) {
        const std::string ganz = Bytes(Fixture(QString(code) == "SEMI"   ? "zyklus_semikolon.txt"
                                               : QString(code) == "SATZ" ? "satz.txt"
                                                                         : "wert_kopfzahl.txt"));
        for (size_t laenge = 0; laenge <= ganz.size(); ++laenge) {
            for (const int antwort : {vbOK, vbCancel}) {
                leeren();
                Beantworter antworten([&] { return antwort; });
                const bool ergebnis = importieren(code, datei(ganz.substr(0, laenge)));
                // The empty row untouched, or cycles with their date and time.
                for (const QString& zeile : zeilen()) {
                    if (ergebnis && zeile != "|||") {
                        EXPECT_TRUE(zeile.startsWith("17.05.03|08:"))
                            << code << " " << laenge << ": " << zeile.toStdString();
                    }
                }
            }
        }
    }
}
