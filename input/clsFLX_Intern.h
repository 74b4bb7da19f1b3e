#pragma once

// Helpers shared by the grid editor's files: the lists' entries, the kinds
// of variants, the runtime errors the editor raises itself.

#include "platform/controls/MSFlexGrid.h"
#include "platform/runtime/RuntimeError.h"

#include <QPointer>
#include <QString>
#include <QVariant>
#include <cstdint>
#include <unordered_map>

namespace flx {

// The prefix of the editor's runtime error boxes.
inline const QString kPraefix = QStringLiteral("VB-Error: ");
// 56.7 twips to the millimetre.
constexpr double kTwipsJeMm = 56.7;

// Error 91: an object (grid, picture) that is not bound.
RuntimeError NichtGesetzt();

bool IstListe(const QVariant& wert);
// A runtime Integer: a 16-bit whole number.
bool IstInteger(const QVariant& wert);
// The number of entries of a list; 13 when it is none.
int Anzahl(const QVariant& liste);
// Entry i of a list: 13 when it is none, 9 when it has no such entry.
QVariant Eintrag(const QVariant& liste, int i);
// A text formatted by a column's format entry: unchanged when the entry is
// an error value, Empty, Null or "".
QString Formatiert(const QString& text, const QVariant& format);

// A quick hash for the short texts of cells (FNV-1a over the UTF-16 code
// units): the refresh looks every cell up once.
struct Texthash {
    size_t operator()(const QString& text) const noexcept {
        uint64_t h = 14695981039346656037ull;
        for (const QChar c : text) {
            h ^= c.unicode();
            h *= 1099511628211ull;
        }
        return size_t(h);
    }
};
template <class T> using Textmerker = std::unordered_map<QString, T, Texthash>;

// Rewrites many cells without telling the view of each; the grid is
// repainted once at the end (unless it was already held by a caller).
class OhneNeuzeichnen {
public:
    explicit OhneNeuzeichnen(MSFlexGrid* grid) : m_grid(grid), m_vorher(grid && grid->Redraw()) {
        if (m_grid) m_grid->SetRedraw(false);
    }
    ~OhneNeuzeichnen() {
        if (m_grid && m_vorher) m_grid->SetRedraw(true);
    }
    OhneNeuzeichnen(const OhneNeuzeichnen&) = delete;
    OhneNeuzeichnen& operator=(const OhneNeuzeichnen&) = delete;

private:
    QPointer<MSFlexGrid> m_grid;
    bool m_vorher;
};

} // namespace flx
