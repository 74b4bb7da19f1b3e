#pragma once

// What the water-uptake diagrams of both pages (figure 11 of one test,
// figure 110 of a multiple evaluation) and the readings table share: the
// readings of a record read by their running numbers, the curve made of them,
// the axis vocabulary and the writes of the figure's layout row.

#include <QList>
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class ErrorHandler;
class Transaction;
class clsDATEN;
class clsGRAFIK;

// The readings of the record that the E3 and A2 objects are keyed to, placed
// by their running number 0 to n (n the highest I1, 0 without readings):
// Empty where a reading has no row or a column no value.
struct MESSREIHE {
    int32_t n = 0;
    std::vector<char> ZEILE; // the reading has an E3 row
    std::vector<QVariant> I1, DET, V, TEMP, W;
};

// Reads the readings of each table in one query (TEMP only with
// `temperatur`), on the objects' connection and record key. A failing read
// reaches the caller.
MESSREIHE MESSREIHELESEN(clsDATEN& e3, clsDATEN& a2, bool temperatur);

// The points of the water-uptake curve: reading 0 always (the origin when it
// is missing), every later reading only when it has a row with an elapsed
// time and a volume; a gap or an empty reading is left out, not drawn at
// (0, 0).
void KURVE(const MESSREIHE& reihe, std::vector<float>& t, std::vector<float>& w);

// PSIT for a marker at every one of `punkte` points.
int16_t MARKENZAHL(size_t punkte);

// The axes of a water-uptake diagram: the ends from the data while
// `automatisch`, linear axes with the candidate lists, titles "t [min]" and
// "w [%]", numbers "#0".
void DIAGRAMMACHSEN(clsGRAFIK& g, bool automatisch);

// The default layout of the figure `bild` (OX, OY 1; RL 11, RR 7, RO 7,
// RU 11; with `minima` also XMIN and YMIN 0) and the reset of MX, MY and
// MYMX to 0, each a write of its own into the G0 row of the object's record.
void STANDARDLAYOUT(clsDATEN& g0, int16_t bild, bool minima);
void MASSSTABLOESCHEN(clsDATEN& g0, int16_t bild);

// "Enslin" for the test type 0 (or none), "Neff" for 1; another type raises
// subscript out of range.
QString VERSUCHSTYP(const QVariant& vt);

// The writes of one drawing of a figure into its layout row (its defaults,
// the reset scales, the ranges and scales SKALEN stores) committed together
// once: what was written stays, whichever way the drawing ends. The copy is
// held for writing from its beginning, as for every write. A drawing that
// leaves the row as it was stores nothing, so it costs no write to the disk,
// marks no change of the copy and is not refused in a run that cannot mark
// one.
class LAYOUTSCHREIBEN {
public:
    LAYOUTSCHREIBEN(clsDATEN& g0, int16_t bild);
    ~LAYOUTSCHREIBEN();
    LAYOUTSCHREIBEN(const LAYOUTSCHREIBEN&) = delete;
    LAYOUTSCHREIBEN& operator=(const LAYOUTSCHREIBEN&) = delete;
    void ENDE();

private:
    QList<QVariantList> ZEILEN() const;

    clsDATEN& m_g0;
    int16_t m_bild;
    QList<QVariantList> m_vorher;
    std::unique_ptr<Transaction> m_transaktion;
};

// The layout row's part in one drawing of a figure. The drawing of the load
// after Recalculate (`boneu`, one that may store) writes the default layout
// (with `minima`) and the ranges it takes from the data, in one commit,
// holding the copy for writing from its first write. Every other drawing
// only reads the row (clsGRAFIK::EBONURLESEN). One that may store (`speichern`:
// on the screen, and not while its page prints) then keeps in its ENDE the
// scales it computed with no ratio (MYMX 0), and only when the row holds
// others: that write takes the copy as every write does, and a failure shows
// the drawing's box. A print, and the screen's redraw that follows its sheet,
// store nothing, so that they wait for no other writer of the copy; scales
// that a drawing could not keep are kept by the next one that may store.
class BILDLAYOUT {
public:
    BILDLAYOUT(ErrorHandler& eh, clsDATEN& g0, clsGRAFIK& g, int16_t bild, bool speichern,
               bool boneu, bool minima);
    // After the drawing's SKALEN.
    void ENDE();

private:
    ErrorHandler& m_eh;
    clsDATEN& m_g0;
    clsGRAFIK& m_g;
    int16_t m_bild;
    bool m_speichern;
    std::optional<LAYOUTSCHREIBEN> m_schreiben;
};
