// The evaluation on 200 generated tests (0 to 500 readings, gaps, empty
// cells, rising and falling times, the reference time inside, on and outside
// the readings) against a second implementation written here from the
// formulas: every stored Single must agree to the last bit, and the boxes of
// zero-width intervals must come as often as that implementation expects.

#include "support/ScriptedDialogs.h"
#include "support/TESTHAUPTFENSTER.h"

#include "evaluation/clsBERECHNEN.h"
#include "platform/database/Connection.h"
#include "platform/runtime/MsgBox.h"
#include "platform/database/Recordset.h"
#include "platform/runtime/Variant.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <optional>
#include <random>
#include <vector>

namespace {

struct Zeile {
    int i1 = 0;
    std::optional<float> det;
    std::optional<float> v;
};

struct Fall {
    float ms = 0.0f;
    float tmax = 0.0f;
    std::vector<Zeile> zeilen;  // in the order they are stored
};

struct Erwartung {
    float veld = 0.0f;
    std::vector<float> w;  // by index 0 to n
    int nullbreiten = 0;   // bracketing intervals of width 0
};

// The second implementation. Readings: the first stored row of each index;
// a reading is a point when it has a time and a volume. w = V * 1.0 / m s *
// 100 in double, stored as Single. Points bracket t max when the earlier one
// lies at or below it and the next point at or above it; the result comes
// from the bracketing pair of the highest index (searched here from the
// end), interpolated in long double; a pair of equal times gives 0.
Erwartung erwarten(const Fall& fall)
{
    int n = 0;
    for (const Zeile& z : fall.zeilen) n = std::max(n, z.i1);
    std::map<int, Zeile> messung;
    for (const Zeile& z : fall.zeilen) messung.emplace(z.i1, z);

    Erwartung e;
    e.w.resize(size_t(n) + 1);
    std::vector<int> punkte;
    for (int i = 0; i <= n; ++i) {
        const auto it = messung.find(i);
        const float v = it != messung.end() && it->second.v ? *it->second.v : 0.0f;
        e.w[size_t(i)] = static_cast<float>(static_cast<double>(v) * 1.0 / static_cast<double>(fall.ms) * 100.0);
        if (it != messung.end() && it->second.det && it->second.v) punkte.push_back(i);
    }
    const auto t = [&](int i) { return *messung.at(i).det; };
    const auto klammert = [&](size_t k) { return t(punkte[k]) <= fall.tmax && t(punkte[k + 1]) >= fall.tmax; };

    for (size_t k = 0; k + 1 < punkte.size(); ++k)
        if (klammert(k) && t(punkte[k]) == t(punkte[k + 1])) ++e.nullbreiten;
    for (size_t k = punkte.size() > 1 ? punkte.size() - 1 : 0; k-- > 0;) {
        if (!klammert(k)) continue;
        const long double x1 = t(punkte[k]), x2 = t(punkte[k + 1]), x = fall.tmax;
        const long double y1 = e.w[size_t(punkte[k])], y2 = e.w[size_t(punkte[k + 1])];
        e.veld = x1 == x2 ? 0.0f : static_cast<float>(y2 - (y2 - y1) * (x2 - x) / (x2 - x1));
        break;
    }
    return e;
}

Fall erzeugen(std::mt19937& zufall, int nummer)
{
    const auto gleich = [&](double a, double b) { return std::uniform_real_distribution<double>(a, b)(zufall); };
    const auto ganz = [&](int a, int b) { return std::uniform_int_distribution<int>(a, b)(zufall); };
    const auto ja = [&](double p) { return std::bernoulli_distribution(p)(zufall); };

    Fall fall;
    fall.ms = float(gleich(0.5, 400.0));
    // A few sizes on purpose, the rest at random.
    const int fest[] = {0, 1, 2, 3, 500};
    const int anzahl = nummer < 5 ? fest[nummer] : ganz(0, 500);

    // Times: rising, rising with steps of 0, falling here and there, or
    // in no order at all.
    const int art = ganz(0, 3);
    const double luecken = ja(0.5) ? gleich(0.0, 0.2) : 0.0;
    const double leer = ja(0.5) ? gleich(0.0, 0.15) : 0.0;
    double zeit = gleich(-10.0, 10.0);
    std::vector<float> zeiten;
    for (int i = 0; i < anzahl; ++i) {
        switch (art) {
        case 0: zeit += gleich(0.01, 30.0); break;
        case 1: zeit += ja(0.2) ? 0.0 : double(ganz(1, 20)); break;
        case 2: zeit += ja(0.15) ? -gleich(0.0, 40.0) : gleich(0.0, 30.0); break;
        default: zeit = gleich(0.0, 3000.0); break;
        }
        zeiten.push_back(float(zeit));
    }
    double volumen = gleich(0.0, 5.0);
    for (int i = 0; i < anzahl; ++i) {
        volumen += gleich(-0.5, 3.0);
        if (ja(luecken)) continue;  // no row for this index
        Zeile z;
        z.i1 = i;
        if (!ja(leer)) z.det = zeiten[size_t(i)];
        if (!ja(leer)) z.v = float(volumen);
        fall.zeilen.push_back(z);
        // Now and then a second row with the same index: the first counts.
        if (ja(0.01)) fall.zeilen.push_back(Zeile{i, float(gleich(0.0, 3000.0)), float(gleich(0.0, 50.0))});
    }

    // t max on a reading, between readings, outside them or at 1440.
    std::vector<float> vorhanden;
    for (const Zeile& z : fall.zeilen)
        if (z.det) vorhanden.push_back(*z.det);
    const auto [klein, gross] = vorhanden.empty()
                                    ? std::pair<float, float>{0.0f, 1440.0f}
                                    : std::pair<float, float>{*std::min_element(vorhanden.begin(), vorhanden.end()),
                                                              *std::max_element(vorhanden.begin(), vorhanden.end())};
    switch (ganz(0, 4)) {
    case 0:
        fall.tmax = vorhanden.empty() ? 0.0f : vorhanden[size_t(ganz(0, int(vorhanden.size()) - 1))];
        break;
    case 1: fall.tmax = float(gleich(klein, gross)); break;
    case 2: fall.tmax = klein - float(gleich(0.001, 100.0)); break;
    case 3: fall.tmax = gross + float(gleich(0.001, 100.0)); break;
    default: fall.tmax = 1440.0f; break;
    }
    return fall;
}

uint32_t bits(float f)
{
    uint32_t b;
    std::memcpy(&b, &f, sizeof b);
    return b;
}

QVariant zahl(const std::optional<float>& f) { return f ? QVariant(double(*f)) : VNull(); }

TEST(BerechnungTabelle, TwoHundredTestsAgreeToTheLastBit)
{
    TESTHAUPTFENSTER haupt;
    ScriptedDialogs boxen;
    Connection& db = *haupt.DBPROJEKT();
    std::mt19937 zufall(20240611u);
    int nullbreiten = 0, luecken = 0, ergebnisse = 0;

    for (int nummer = 0; nummer < 200; ++nummer) {
        const int id = nummer + 1;
        const Fall fall = erzeugen(zufall, nummer);
        const Erwartung e = erwarten(fall);

        db.BeginTrans();
        db.Execute(QStringLiteral("UPDATE [E1] SET [AKT]=0"));
        haupt.DATENSATZANLEGEN(id, QStringLiteral("T%1").arg(id), QString(), true);
        db.Execute(QStringLiteral("INSERT INTO [A1] ([ID],[BONEU]) VALUES (?,1)"), {id});
        haupt.ALLGEMEINEDATENANLEGEN(id, 0, 2.0f, fall.ms, fall.tmax);
        for (const Zeile& z : fall.zeilen)
            db.Execute(QStringLiteral("INSERT INTO [E3] ([ID],[I1],[DET],[V]) VALUES (?,?,?,?)"),
                       {id, z.i1, zahl(z.det), zahl(z.v)});
        db.CommitTrans();

        for (int k = 0; k < e.nullbreiten; ++k) boxen.expect(vbOK, QStringLiteral("Division durch Null!"));
        const qsizetype vorher = boxen.boxes().size();
        clsBERECHNEN berechnung;
        ASSERT_TRUE(berechnung.BERECHNUNG()) << "test " << nummer;
        ASSERT_EQ(boxen.boxes().size() - vorher, e.nullbreiten) << "test " << nummer;
        ASSERT_EQ(boxen.pending(), 0) << "test " << nummer;

        const QVariant veld = haupt.WERT(QStringLiteral("SELECT [VELD] FROM [A1] WHERE [ID]=?"), {id});
        EXPECT_EQ(bits(CSng(veld)), bits(e.veld))
            << "test " << nummer << ": " << CSng(veld) << " instead of " << e.veld;

        Recordset kurve(QStringLiteral("SELECT [I],[W] FROM [A2] WHERE [ID]=? ORDER BY [I]"), db, {id});
        ASSERT_EQ(kurve.RecordCount(), int(e.w.size())) << "test " << nummer;
        for (size_t i = 0; !kurve.Eof(); kurve.MoveNext(), ++i) {
            ASSERT_EQ(kurve.Fields(0).Value().toInt(), int(i)) << "test " << nummer;
            ASSERT_EQ(bits(CSng(kurve.Fields(1).Value())), bits(e.w[i])) << "test " << nummer << ", row " << i;
        }

        nullbreiten += e.nullbreiten;
        ergebnisse += e.veld != 0.0f;
        for (int i = 0; i < int(e.w.size()); ++i)
            luecken += std::none_of(fall.zeilen.begin(), fall.zeilen.end(),
                                    [&](const Zeile& z) { return z.i1 == i && z.det && z.v; });
    }
    // The table reaches the cases it is meant for.
    EXPECT_GT(ergebnisse, 60);
    EXPECT_GT(luecken, 200);
    EXPECT_GT(nullbreiten, 0);
}

}  // namespace
