// The row filter: thins out a range of rows so that rows at an even spacing
// remain (a long series of readings, say).

#include "input/clsFLX.h"

#include "input/clsFLX_Intern.h"
#include "platform/controls/MSFlexGrid.h"
#include "platform/runtime/ErrorHandler.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/Variant.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <optional>
#include <vector>

using namespace flx;

namespace {

const QString kTitel = QStringLiteral("Zeilenfilter");
const QString kFehlertitel = QStringLiteral("MSFlexGrid / Zeilenfilter");

// The largest whole number an entry may name: beyond it a double no longer
// holds every whole number.
constexpr double kGroesste = 9007199254740992.0;

// Asks until the answer is a number that `gilt` accepts, rounded down to a
// whole number; nothing when the user cancels the message.
template <class Pruefung>
std::optional<int64_t> Zahl(const QString& frage, int64_t vorschlag, const QString& meldung,
                            Pruefung gilt) {
    for (;;) {
        const QString antwort = InputBox(frage, kTitel, QString::number(vorschlag));
        double wert = 0;
        if (ParseNumberText(antwort, wert) && std::isfinite(wert) && std::fabs(wert) < kGroesste) {
            const auto zahl = int64_t(std::floor(wert));
            if (gilt(zahl)) return zahl;
        }
        if (MsgBox(meldung, ErrorHandler::kStyle, kFehlertitel) != vbOK) return std::nullopt;
    }
}

// Removes the rows given (in falling order) at once: the rows below the
// first of them move up over the gaps, and the grid is shortened.
void Herausnehmen(MSFlexGrid& grid, const std::vector<int>& zeilen) {
    const int spalten = grid.Cols();
    const int ende = grid.Rows();
    int ziel = zeilen.back();
    auto naechste = zeilen.rbegin();
    for (int r = zeilen.back(); r < ende; ++r) {
        if (naechste != zeilen.rend() && *naechste == r) {
            ++naechste;
            continue;
        }
        for (int c = 0; c < spalten; ++c)
            grid.SetTextMatrix(ziel, c, grid.TextMatrix(r, c));
        ++ziel;
    }
    grid.SetRows(ziel);
}

} // namespace

void clsFLX::ZEILENFILTER() {
    ErrorHandler eh(kPraefix, kFehlertitel);
    const QString ersteFalsch = QStringLiteral("Ungültige Angabe für die Nummer der ersten Zeile!");
    const QString letzteFalsch =
        QStringLiteral("Ungültige Angabe für die Nummer der letzten Zeile!");
    const auto jede = [](int64_t) { return true; };

    const std::optional<int64_t> F = Zahl(QStringLiteral("Erste Zeile: "), 1, ersteFalsch, jede);
    if (!F) return;
    const std::optional<int> zeilen = eh.Value([&] { return raster().Rows(); });
    if (!zeilen) return;
    const std::optional<int64_t> L =
        Zahl(QStringLiteral("Letzte Zeile: "), *zeilen - 1, letzteFalsch, jede);
    if (!L) return;
    // The step is the range's length per kept row, halves to even; a count
    // whose step would be below one row is refused, so that no step is 0.
    const auto schritt = [&](int64_t N) { return int64_t(Round(double(*L - *F) / double(N))); };
    const std::optional<int64_t> N =
        Zahl(QStringLiteral("Reduzierte Zeilenanzahl: "), *L - *F + 1, letzteFalsch,
             [&](int64_t n) { return n >= 1 && schritt(n) >= 1; });
    if (!N) return;
    const int64_t S = schritt(*N);

    // From the range's end, so that the rows still to be looked at keep
    // their numbers; a row is kept when its own number is a multiple of S.
    // Data rows of the grid are gathered and taken out together (one row at
    // a time would move the rest of a long grid for every row); a row the
    // grid refuses (beyond its rows, a fixed row, its last data row) goes
    // through the grid itself, which raises the error.
    if (S > 1) {
        const OhneNeuzeichnen gesammelt(m_EFLX);
        std::vector<int> sammlung;
        const auto entfernen = [&] {
            if (!sammlung.empty()) eh.Run([&] { Herausnehmen(raster(), sammlung); });
            sammlung.clear();
        };
        const std::optional<int> fest = eh.Value([&] { return raster().FixedRows(); });
        const int datenzeilen =
            fest ? eh.Value([&] { return raster().Rows(); }).value_or(0) - *fest : 0;
        for (int64_t r = *L; fest && r >= *F && !eh.Left(); --r) {
            if (r % S == 0) continue;
            if (r >= *fest && r < *fest + datenzeilen && int(sammlung.size()) < datenzeilen - 1) {
                sammlung.push_back(int(r));
                continue;
            }
            entfernen();
            eh.Run([&] { raster().RemoveItem(int(std::clamp<int64_t>(r, -1, INT_MAX))); });
        }
        entfernen();
    }
    if (eh.Left()) return;
    eh.Run([&] { AKTUALISIEREN(); });
    eh.Run([&] { NUMMERIEREN(); });
}
