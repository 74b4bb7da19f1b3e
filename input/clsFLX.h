#pragma once

// The grid editor: drives one flex grid from parallel per-column lists
// (widths in millimetres, two heading lines, tool tips, column types,
// formats, alignments, limits, choice lists). It sizes and labels the grid,
// numbers its index columns, formats its cells, computes the elapsed-time
// column, edits cells through overlay editors that the owner hands over,
// validates what is typed, and inserts and removes rows.
//
// The owner binds, in this order: the grid (EFLX), the text box (ETXT) and,
// when a column offers a choice, the combo box (ECBO), then the heading
// picture (EPIC); then ELSB first (it sets the column count and resets the
// other lists), the other lists with ELSTYP before ELINDEXMIN before
// ELINDEXMAX, then EDET, SCHRIFTEINSTELLUNGEN and BESCHRIFTEN. The owner
// calls BEARBEITEN, EINFUEGEN, TOOLTIP, BESCHRIFTEN and AKTUALISIEREN from
// the events of its grid, editors and buttons; the editor holds references
// to the owner's controls and creates none of them.
//
// Lists are QVariantLists with one entry per grid column (a QStringList is
// taken as a list of texts); a list property may also hold Empty or any other
// value, which decides what the operations do with it. Kinds are matched as
// the runtime's variants: an "Integer" is a 16-bit value
// (QVariant::fromValue<int16_t>), an int is a 32-bit Long. A format entry or
// a limit may be an error value (FEHLERWERT), which stands for a missing
// argument: such a column is not formatted, or has no limits.
//
// Every operation that can fail shows its own runtime error box
// ("VB-Error: " & number & line break & description, OK and Cancel with the
// exclamation icon, a title "MSFlexGrid / ..."); OK goes on with the next
// statement, Cancel leaves. Messages and captions are German only.

#include "platform/controls/StdFont.h"

#include <QMetaType>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <array>
#include <cstdint>
#include <memory>

class ErrorHandler;
class MSFlexGrid;
class PictureBox;
class QComboBox;
class QLineEdit;
class QWidget;

// An error value in a variant (the runtime's CVErr), as a missing argument
// leaves it.
struct FLXFEHLERWERT {
    int nummer = 448;
    bool operator==(const FLXFEHLERWERT&) const = default;
};
Q_DECLARE_METATYPE(FLXFEHLERWERT)

class clsFLX {
public:
    clsFLX();
    ~clsFLX();
    clsFLX(const clsFLX&) = delete;
    clsFLX& operator=(const clsFLX&) = delete;

    static QVariant FEHLERWERT(int nummer = 448);
    static bool ISTFEHLER(const QVariant& wert);

    // --- Bindings --------------------------------------------------------------

    // Binds the grid: a width list of 15 mm per column it has, one empty
    // data row (Rows = FixedRows + 1), ELSB with those widths, EDET -1.
    MSFlexGrid* EFLX() const;
    void EFLX(MSFlexGrid* grid);
    // The linked editor, whose grid follows row appends, insertions and
    // removals. Reading it creates one when none is set.
    std::shared_ptr<clsFLX> EFLXK();
    void EFLXK(std::shared_ptr<clsFLX> editor);
    // The floating cell editor: given a border, emptied and hidden.
    QLineEdit* ETXT() const;
    void ETXT(QLineEdit* editor);
    // The editor of choice columns: made editable (a typed character goes
    // into its text), emptied and hidden.
    QComboBox* ECBO() const;
    void ECBO(QComboBox* editor);
    // The heading picture: scale in twips, half a millimetre inside the
    // grid's top-left corner, over the grid.
    PictureBox* EPIC() const;
    void EPIC(PictureBox* picture);

    // --- Column lists ----------------------------------------------------------

    // Widths in millimetres: sets Cols and the widths (56.7 twips to the
    // millimetre, halves to even), centres the headings, resets ELST1 ("I"
    // & n), ELSTTT ("SpaltenNr." & n), ELSTYP (0), ELFORMAT, ELA (2), ELMIN,
    // ELMAX and ELCBO, sets EBOH and the font Arial 11.
    QVariant ELSB() const { return m_ELSB; }
    void ELSB(const QVariant& wert);
    // Heading line 1, also written into the grid's heading row.
    QVariant ELST1() const { return m_ELST1; }
    void ELST1(const QVariant& wert);
    // Heading line 2 (units), or Empty: a list makes the heading row two
    // lines high.
    QVariant ELST2() const { return m_ELST2; }
    void ELST2(const QVariant& wert) { m_ELST2 = normalisiert(wert); }
    QVariant ELSTTT() const { return m_ELSTTT; }
    void ELSTTT(const QVariant& wert) { m_ELSTTT = normalisiert(wert); }
    // Column types: 0 number, 1 to 3 index levels (fixed columns from the
    // left), 4 date, 5 time, 6 elapsed time, 7 choice, above 7 not editable.
    QVariant ELSTYP() const { return m_ELSTYP; }
    void ELSTYP(const QVariant& wert);
    // The choice list of one column.
    QVariant ELCBO(int16_t INDEX) const;
    void ELCBO(int16_t INDEX, const QVariant& wert);
    QVariant ELFORMAT() const { return m_ELFORMAT; }
    void ELFORMAT(const QVariant& wert) { m_ELFORMAT = normalisiert(wert); }
    // Alignments: 0 left, 1 centred, 2 right (other codes leave a column's
    // data alignment alone); headings centred.
    QVariant ELA() const { return m_ELA; }
    void ELA(const QVariant& wert);
    QVariant ELMIN() const { return m_ELMIN; }
    void ELMIN(const QVariant& wert) { m_ELMIN = normalisiert(wert); }
    QVariant ELMAX() const { return m_ELMAX; }
    void ELMAX(const QVariant& wert) { m_ELMAX = normalisiert(wert); }
    // Start values of the index levels: Empty, an Integer (level 1) or a
    // list of two or three; any other kind is only stored. Renumbers.
    QVariant ELINDEXMIN() const { return m_ELINDEXMIN; }
    void ELINDEXMIN(const QVariant& wert);
    // Upper limits of levels 2 and 3: Empty, an Integer (level 2) or a list
    // of at least two; sets the row count for a full nested numbering and
    // renumbers. Any other kind is only stored (and renumbers).
    QVariant ELINDEXMAX() const { return m_ELINDEXMAX; }
    void ELINDEXMAX(const QVariant& wert);
    QVariant ELSELEK() const { return m_ELSELEK; }
    void ELSELEK(const QVariant& wert) { m_ELSELEK = normalisiert(wert); }

    // The text of a cell (first index the row); writing takes the text of
    // wert[SPALTENR][ZEILENR] of a two-dimensional list.
    QString EMATRIX(int SPALTENR, int ZEILENR);
    void EMATRIX(int SPALTENR, int ZEILENR, const QVariant& wert);

    // Enter in the last cell appends a row.
    bool EBOH() const { return m_EBOH; }
    void EBOH(bool wert) { m_EBOH = wert; }
    // Reference row of the elapsed time: -1 the row above, 0 the first data
    // row, above 0 the grouping column of that number.
    int16_t EDET() const { return m_EDET; }
    void EDET(int16_t wert) { m_EDET = wert; }
    // The cell of the open editor.
    int16_t ESNR() const { return m_ESNR; }
    int32_t EZNR() const { return m_EZNR; }

    // Font slots of the heading renderer: 1 and 2 the grid's font, 3 Symbol,
    // 4 the grid's font and 5 Symbol in index size; 0 is the renderer's own.
    const StdFont& SCHRIFTSATZ(int slot) const { return m_SCHRIFTSATZ.at(size_t(slot)); }

    // --- Operations ------------------------------------------------------------

    // Writes the running numbers of the index columns (no box of its own:
    // its failures reach the caller).
    void NUMMERIEREN();
    // Renumbers, formats every cell by its column's format and recomputes
    // the elapsed-time column.
    void AKTUALISIEREN();
    // The grid's font ("" Arial, size 0 or less 11) and colour (0 or less
    // black), passed on to the editors; the heading row one or two lines
    // high; the font slots.
    void SCHRIFTEINSTELLUNGEN(const QString& NAME, int16_t GROESSE, bool FETT, bool UNTERSTRICHEN,
                              bool KURSIV, int32_t FARBE);
    // Draws both heading lines of every column in view into the heading
    // picture (no box of its own).
    void BESCHRIFTEN();
    // BOB: 13 Enter on the grid, -1 copy, -2 mouse-down at X (twips from the
    // grid's corner), 0 double-click, else the code of a typed character.
    void BEARBEITEN(int BOB, float X);
    // BOE: 0 or 13 commit the open editor, -1 paste, -2 mouse-up; anything
    // else does nothing.
    void EINFUEGEN(int BOE = 0);
    void ZEILEEINFUEGEN();
    void ZEILEENTFERNEN();
    // The tool tip of the column under X (twips from the grid's left edge),
    // on the grid and on the heading picture.
    void TOOLTIP(float X, float Y);

    // Reads a data logger's text file into the grid, one row per logged
    // cycle, by the electronics presets named by CODE (VELD_VE1.AKVK, with
    // its quantities in VELD_VE2), then converts dates, times and numbers
    // and refreshes. True when the import ran to its end; on every other
    // way out the grid is as it was before the call.
    bool IMPORTIEREN(const QString& CODE, const QString& PFAD);
    // Asks for a first and a last row and the number of rows that range
    // should keep, and removes the others, so that rows at an even spacing
    // remain; then refreshes.
    void ZEILENFILTER();

private:
    // A date-and-time reading of one row, as the elapsed time reads it.
    struct Zeitpunkt {
        bool datumGueltig = false;
        int64_t tag = 0; // Julian day
        bool zeitGueltig = false;
        int32_t sekunde = 0; // of the day
    };
    enum class Zweig { Sekunden, Tage, Null };

    static QVariant normalisiert(const QVariant& wert);
    MSFlexGrid& raster() const;
    void indexStartwerte(const QVariant& wert);
    void indexGrenzen(const QVariant& wert);

    // A date and a time text as the refresh reads them (day first).
    static Zeitpunkt zeitpunkt(const QString& datum, const QString& zeit);
    // From reading 1 to reading 2: seconds when both dates and both times
    // are valid (or only both times), whole days when only the dates are;
    // 0 otherwise. The branch taken is returned in ZWEIG.
    static float ZEITDIFFERENZ(const Zeitpunkt& P1, const Zeitpunkt& P2, Zweig& ZWEIG);
    void zeitdifferenzSpalte(ErrorHandler& eh);

    bool WERTPRUEFEN(QString& WERT, float MIN, float MAX, bool GANZ, bool DATUM,
                     const QString& SPALTE);
    bool pruefen(const QString& text, bool kombination);
    void editorLegen(QWidget& editor, bool hoeheDerZelle);
    bool uebernehmen(bool kombination, ErrorHandler& eh);

    void TEXT(float X, float Y, const QVariant& TXT, int16_t HA, int16_t VA);

    QPointer<QComboBox> m_ECBO;
    QPointer<MSFlexGrid> m_EFLX;
    std::shared_ptr<clsFLX> m_EFLXK;
    QPointer<PictureBox> m_EPIC;
    std::array<StdFont, 6> m_SCHRIFTSATZ;
    QPointer<QLineEdit> m_ETXT;
    QVariant m_ELSB;
    QVariant m_ELST1;
    QVariant m_ELST2;
    QVariant m_ELSTTT;
    QVariant m_ELSTYP;
    QVariant m_ELCBO;
    QVariant m_ELFORMAT;
    QVariant m_ELA;
    QVariant m_ELMIN;
    QVariant m_ELMAX;
    QVariant m_ELINDEXMIN;
    QVariant m_ELINDEXMAX;
    QVariant m_ELSELEK;
    bool m_EBOH = false;
    int16_t m_EDET = 0;
    int32_t m_EZNR = 0;
    int16_t m_ESNR = 0;
    // Index levels 1 to 3: starts and the limits of levels 2 and 3. The
    // counters are 32-bit, so a grid of any length is numbered.
    std::array<int16_t, 3> m_start{0, 0, 0};
    int16_t m_grenze2 = 0;
    int16_t m_grenze3 = 0;
    // The column of each type 1 to 6 (index type - 1), -1 when none.
    std::array<int16_t, 6> m_typspalte{-1, -1, -1, -1, -1, -1};
};
