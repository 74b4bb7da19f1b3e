#pragma once

// The pieces of the data-logger import: the presets of one configuration,
// the rows the import writes (kept apart from the grid until the import has
// run to its end, so that an import that stops leaves the grid as it was),
// the reading of the three file layouts and the finishing steps.

#include <QString>
#include <QVariant>
#include <cstdint>
#include <vector>

class InputFile;
class MSFlexGrid;

namespace flx::import {

inline const QString kTitel = QStringLiteral("MSFlexGrid / Importieren");

// One configuration (a row of VELD_VE1).
struct VORGABE {
    int32_t IDK = 0;
    int ZL = 0; // size of a cycle: lines of a block, or fields of a line or record
    QString DATUM;
    QString UHRZEIT;
    QString KENZ1NR; // header size as a number, or empty
    QString KENZ1KZ; // header end marker, or empty
    QString TZS;     // field separator, "<BLANK>" and "<TAB>" already resolved
    QString TZZ;     // record separator, likewise
};

// One logged quantity (a row of VELD_VE2) and the grid column it goes to.
struct GROESSE {
    QString SPALTE;
    QVariant POSITION; // Empty or Null: not imported
    QString PRAEFIX;
    QString SUFFIX;
    float FAKTOR = 1;
    QString FORMAT;
    int ziel = 0;
};

// A line of the file that cannot be read (a word where a number must stand,
// a last field too short, a NUL byte): the import is refused with a message
// naming the line.
struct Unlesbar {
    int64_t zeile;
};

// The rows the import writes, from the start row on: rows the grid already
// has begin with the grid's texts, new rows empty.
class Zeilenpuffer {
public:
    Zeilenpuffer(const MSFlexGrid& grid, int start);

    int start() const { return m_start; }
    int spalten() const { return m_spalten; }
    // The number of rows written (from the start row on).
    int zeilen() const { return int(m_zellen.size() / size_t(m_spalten > 0 ? m_spalten : 1)); }
    QString& zelle(int zeile, int spalte) {
        return m_zellen[size_t(zeile - m_start) * size_t(m_spalten) + size_t(spalte)];
    }
    // Sets a cell of grid row `zeile`, adding the rows up to it.
    void setzen(int zeile, int spalte, const QString& text);
    // Forgets the rows from grid row `zeile` on.
    void kuerzen(int zeile);
    // Writes the rows into the grid, which grows to hold them.
    void schreiben(MSFlexGrid& grid) const;

private:
    const MSFlexGrid& m_grid;
    int m_start;
    int m_spalten;
    std::vector<QString> m_zellen;
};

// How the reading ended: at the end of the data (the finishing steps
// follow), or cancelled by the user.
enum class Ende { Daten, Abbruch };

// Reads the cycles of the file in its layout into the rows. A line that
// cannot be read raises Unlesbar; any other failure (a header size that is
// not a number, the file unreadable) raises the runtime error.
Ende Lesen(const VORGABE& vorgabe, const std::vector<GROESSE>& groessen, InputFile& datei,
           Zeilenpuffer& puffer);

// The finishing steps on the rows written: prefix and suffix, date and time
// masks, signs and leading points, the user's decimal separator, factors.
// False when the user left at a runtime error box.
bool Abschliessen(const VORGABE& vorgabe, const std::vector<GROESSE>& groessen,
                  Zeilenpuffer& puffer, int datumSpalte, int zeitSpalte,
                  const std::vector<int>& spaltentyp);

// A text without leading and trailing blanks (blanks only, not tabs).
QString Gestutzt(const QString& text);

} // namespace flx::import
