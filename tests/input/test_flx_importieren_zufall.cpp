// Random mutations of the logger fixtures: lines cut, doubled or dropped,
// random bytes, separators, line ends, byte-order marks, NULs and very long
// lines, with the import's messages answered OK or Cancel at random. No
// import may crash or hang, every one closes its file, and after every False
// the grid is as it was. A failing input is kept beside the fixtures
// (fuzz_<code>_<seed>_<n>.txt) and imported again by the regression test.

#include "IMPORTFENSTER.h"

#include <QDirIterator>
#include <QElapsedTimer>

#include <cstdlib>
#include <random>

namespace {

std::vector<std::string> Zeilen(const std::string& text) {
    std::vector<std::string> zeilen;
    size_t a = 0;
    for (size_t e; (e = text.find('\n', a)) != std::string::npos; a = e + 1)
        zeilen.push_back(text.substr(a, e - a));
    if (a < text.size()) zeilen.push_back(text.substr(a));
    return zeilen;
}

std::string Mutiert(std::string text, std::mt19937& zufall) {
    const auto wahl = [&](size_t n) { return n ? size_t(zufall() % n) : 0; };
    const int schritte = 1 + int(wahl(4));
    for (int s = 0; s < schritte; ++s) {
        std::vector<std::string> zeilen = Zeilen(text);
        const size_t z = wahl(zeilen.size());
        switch (wahl(11)) {
        case 0: // a line cut short
            if (!zeilen.empty()) zeilen[z].resize(wahl(zeilen[z].size() + 1));
            break;
        case 1: // a line doubled
            if (!zeilen.empty()) zeilen.insert(zeilen.begin() + long(z), zeilen[z]);
            break;
        case 2: // a line dropped
            if (!zeilen.empty()) zeilen.erase(zeilen.begin() + long(z));
            break;
        case 3: // random bytes
            for (int i = 0, n = 1 + int(wahl(5)); i < n && !text.empty(); ++i)
                text[wahl(text.size())] = char(zufall());
            continue;
        case 4: { // one separator for another
            static const char zeichen[] = {';', '\t', '#', ',', '.', ' ', 'x'};
            for (char& c : text)
                if (c == zeichen[wahl(7)] && wahl(3) == 0) c = zeichen[wahl(7)];
            continue;
        }
        case 5: { // other line ends
            static const char* enden[] = {"\r\n", "\r", "\n\n"};
            const std::string ende = enden[wahl(3)];
            std::string neu;
            for (char c : text)
                neu += c == '\n' ? ende : std::string(1, c);
            text = neu;
            continue;
        }
        case 6: // a byte-order mark, or the whole text as UTF-16
            if (wahl(2)) {
                text = "\xEF\xBB\xBF" + text;
            } else {
                const bool klein = wahl(2);
                std::string neu = klein ? "\xFF\xFE" : "\xFE\xFF";
                for (char c : text)
                    neu += klein ? std::string{c, '\0'} : std::string{'\0', c};
                text = neu;
            }
            continue;
        case 7: // a NUL
            text.insert(wahl(text.size() + 1), 1, '\0');
            continue;
        case 8: // a very long line
            zeilen.insert(zeilen.begin() + long(z),
                          std::string(20000 + wahl(50000), "9;#\tx"[wahl(5)]));
            break;
        case 9: // a number out of step
            zeilen.insert(zeilen.begin() + long(z), std::to_string(int(wahl(20)) - 5));
            break;
        default: // the file cut anywhere
            text.resize(wahl(text.size() + 1));
            continue;
        }
        text.clear();
        for (const std::string& zeile : zeilen)
            text += zeile + "\n";
    }
    return text;
}

unsigned Startwert() {
    if (const char* vorgabe = std::getenv("VELD_FUZZ_SEED"))
        return unsigned(std::strtoul(vorgabe, nullptr, 10));
    return std::random_device{}();
}

} // namespace

TEST_F(FLXImport, RandomMutationsOfTheFixtures) {
    const unsigned startwert = Startwert();
    std::cout << "fuzz seed " << startwert << " (set VELD_FUZZ_SEED to repeat)\n";
    std::mt19937 zufall(startwert);
    Beantworter antworten([&] { return zufall() % 2 ? int(vbOK) : int(vbCancel); });
    // Factors, so that values that are no longer numbers reach the
    // finishing steps' error box.
    konfiguration(
        {4, "TAB", 5, "", "[Daten]", "<TAB>", ""},
        {{"NR", 0}, {"DATUM", 1}, {"ZEIT", 2}, {"VOL", 3, "", "", 2}, {"TEMP", 4, "", "", 0.5f}});
    std::vector<std::string> vorlagen;
    for (const Vorlage& v : kVorlagen)
        vorlagen.push_back(Bytes(Fixture(v.datei)));

    constexpr int kLaeufe = 5000;
    int wahr = 0;
    qint64 laengste = 0;
    for (int lauf = 0; lauf < kLaeufe; ++lauf) {
        const size_t welche = zufall() % std::size(kVorlagen);
        const std::string inhalt = Mutiert(vorlagen[welche], zufall);
        const QString pfad = datei(inhalt);
        // A grid with one row of data now and then, else empty.
        leeren();
        if (zufall() % 2) {
            grid().SetRows(3);
            for (int c = 0; c < grid().Cols(); ++c)
                grid().SetTextMatrix(2, c, QStringLiteral("1"));
        }
        QElapsedTimer uhr;
        uhr.start();
        const int fehler = ::testing::Test::HasFailure() ? 1 : 0;
        if (importieren(kVorlagen[welche].code, pfad)) ++wahr;
        laengste = std::max(laengste, uhr.elapsed());
        EXPECT_LT(uhr.elapsed(), 2000) << "run " << lauf;
        if (::testing::Test::HasFailure() && !fehler) {
            const QString kopie = Fixture(QStringLiteral("fuzz_%1_%2_%3.txt")
                                              .arg(kVorlagen[welche].code)
                                              .arg(startwert)
                                              .arg(lauf));
            QFile::copy(pfad, kopie);
            ADD_FAILURE() << "run " << lauf << " failed; its input is kept as "
                          << kopie.toStdString();
            break;
        }
    }
    std::cout << kLaeufe << " imports, " << wahr << " True, " << antworten.boxen
              << " boxes, longest " << laengste << " ms\n";
}

TEST_F(FLXImport, InputsThatOnceFailedTheRandomTest) {
    QDirIterator dateien(QStringLiteral(VELD_FIXTURES "/logger"), {"fuzz_*.txt"});
    std::mt19937 zufall(1);
    Beantworter antworten([&] { return zufall() % 2 ? int(vbOK) : int(vbCancel); });
    while (dateien.hasNext()) {
        const QString pfad = dateien.next();
        const QString code = QFileInfo(pfad).fileName().section(u'_', 1, 1);
        for (int i = 0; i < 4; ++i)
            importieren(code, pfad); // checks the file closed and the grid kept on False
    }
}
