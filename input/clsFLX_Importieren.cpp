// The data-logger import: the presets of a configuration, the columns its
// quantities go to, the file read in its layout, the finishing steps, and
// the rows written into the grid only when all of that has run to its end.

#include "input/clsFLX.h"

#include "data/clsDATEN.h"
#include "input/clsFLX_Importieren.h"
#include "input/clsFLX_Intern.h"
#include "platform/controls/MSFlexGrid.h"
#include "platform/runtime/ErrorHandler.h"
#include "platform/runtime/InputFile.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/System.h"
#include "platform/runtime/Variant.h"

#include <algorithm>

using namespace flx;
using namespace flx::import;

// The rows written --------------------------------------------------------------------

Zeilenpuffer::Zeilenpuffer(const MSFlexGrid& grid, int start)
    : m_grid(grid), m_start(start), m_spalten(grid.Cols()) {}

void Zeilenpuffer::setzen(int zeile, int spalte, const QString& text) {
    if (zeile < m_start || spalte < 0 || spalte >= m_spalten)
        throw RuntimeError::SubscriptOutOfRange();
    while (zeilen() <= zeile - m_start) {
        const int r = m_start + zeilen();
        const bool vorhanden = r < m_grid.Rows();
        for (int c = 0; c < m_spalten; ++c)
            m_zellen.push_back(vorhanden ? m_grid.TextMatrix(r, c) : QString());
    }
    zelle(zeile, spalte) = text;
}

void Zeilenpuffer::kuerzen(int zeile) {
    const size_t bleiben = size_t(std::max(zeile - m_start, 0)) * size_t(m_spalten);
    if (bleiben < m_zellen.size()) m_zellen.resize(bleiben);
}

void Zeilenpuffer::schreiben(MSFlexGrid& grid) const {
    const int vorher = grid.Rows();
    const int bis = m_start + zeilen();
    if (bis > vorher) grid.SetRows(bis);
    const OhneNeuzeichnen gesammelt(&grid);
    for (int r = m_start; r < bis; ++r)
        for (int c = 0; c < m_spalten; ++c) {
            const QString& text = m_zellen[size_t(r - m_start) * size_t(m_spalten) + size_t(c)];
            if (r < vorher ? grid.TextMatrix(r, c) != text : !text.isEmpty())
                grid.SetTextMatrix(r, c, text);
        }
}

namespace {

// "<BLANK>" and "<TAB>" stand for the characters that cannot be typed into
// the presets.
QString Zeichen(const QString& wert) {
    if (wert == QStringLiteral("<BLANK>")) return QStringLiteral(" ");
    if (wert == QStringLiteral("<TAB>")) return QStringLiteral("\t");
    return wert;
}

// The presets of a configuration and its quantities, through the
// data-access object (which shows its own box when a read fails). False when
// a quantity could not be read.
bool VorgabenLesen(const QString& code, VORGABE& v, std::vector<GROESSE>& groessen) {
    clsDATEN ve1;
    ve1.EBOV(true);
    ve1.ETABELLE(QStringLiteral("VELD_VE1"));
    ve1.ESPID(QString());
    ve1.ESPK1(QStringLiteral("AKVK"));
    ve1.ESPK1W(code);
    // An unknown code leaves the key 0, ZL 0 and every text empty.
    ve1.DTVL(QStringLiteral("IDK"), v.IDK);
    ve1.ESPK1(QString());
    ve1.ESPID(QStringLiteral("IDK"));
    ve1.ESPIDW(v.IDK);
    int16_t ZL = 0;
    ve1.DTVI(QStringLiteral("ZL"), ZL);
    v.ZL = ZL;
    ve1.DTVT(QStringLiteral("DATUM"), v.DATUM);
    ve1.DTVT(QStringLiteral("UHRZEIT"), v.UHRZEIT);
    ve1.DTVT(QStringLiteral("KENZ1NR"), v.KENZ1NR);
    ve1.DTVT(QStringLiteral("KENZ1KZ"), v.KENZ1KZ);
    ve1.DTVT(QStringLiteral("TZS"), v.TZS);
    ve1.DTVT(QStringLiteral("TZZ"), v.TZZ);

    clsDATEN ve2;
    ve2.EBOV(true);
    ve2.ETABELLE(QStringLiteral("VELD_VE2"));
    ve2.ESPID(QStringLiteral("IDK"));
    ve2.ESPIDW(v.IDK);
    int16_t kleinste = 0;
    int16_t groesste = 0;
    int16_t anzahl = 0;
    ve2.INDEX(&kleinste, &groesste, &anzahl, QStringLiteral("MNR"));
    const QString MNR = QStringLiteral("MNR");
    for (int mnr = kleinste; anzahl > 0 && mnr <= groesste; ++mnr) {
        GROESSE g;
        const QVariant nr(mnr);
        if (!ve2.DTVT(QStringLiteral("SPALTE"), g.SPALTE, MNR, nr) ||
            !ve2.DTVV(QStringLiteral("POSITION"), g.POSITION, MNR, nr) ||
            !ve2.DTVT(QStringLiteral("PRAEFIX"), g.PRAEFIX, MNR, nr) ||
            !ve2.DTVT(QStringLiteral("SUFFIX"), g.SUFFIX, MNR, nr) ||
            !ve2.DTVS(QStringLiteral("FAKTOR"), g.FAKTOR, MNR, nr) ||
            !ve2.DTVT(QStringLiteral("FORMAT"), g.FORMAT, MNR, nr))
            return false;
        groessen.push_back(std::move(g));
    }
    return true;
}

// A column's key as the quantities name it: Empty counts as the empty
// text, Null matches nothing.
bool Schluessel(const QVariant& eintrag, QString& text) {
    if (IsNull(eintrag)) return false;
    text = IsEmpty(eintrag) ? QString() : CStr(eintrag);
    return true;
}

// The mouse pointer goes back to the default on every way out.
struct Sanduhr {
    Sanduhr() = default;
    Sanduhr(const Sanduhr&) = delete;
    Sanduhr& operator=(const Sanduhr&) = delete;
    ~Sanduhr() { SetMousePointer(vbDefault); }
    void an() { SetMousePointer(vbHourglass); }
};

} // namespace

bool clsFLX::IMPORTIEREN(const QString& CODE, const QString& PFAD) {
    Sanduhr zeiger;
    if (!m_EFLX || !m_EFLX->Enabled()) return false;
    MSFlexGrid& grid = *m_EFLX;
    zeiger.an();

    VORGABE v;
    std::vector<GROESSE> groessen;
    std::vector<int> spaltentyp;
    try {
        if (!VorgabenLesen(CODE, v, groessen)) return false;
        // Without a cycle size no cycle can be read.
        if (v.ZL < 1) return false;
        // Each quantity goes to the column with its key, the last such
        // column when there are several, the first column when none.
        const int spalten = grid.Cols();
        std::vector<QString> schluessel(static_cast<size_t>(spalten));
        std::vector<char> hat(size_t(spalten), 0);
        for (int c = 0; c < spalten; ++c)
            hat[size_t(c)] = Schluessel(Eintrag(m_ELSELEK, c), schluessel[size_t(c)]);
        for (GROESSE& g : groessen)
            for (int c = 0; c < spalten; ++c)
                if (hat[size_t(c)] && schluessel[size_t(c)] == g.SPALTE) g.ziel = c;
        for (int c = 0; c < spalten; ++c) {
            int typ = -1;
            try {
                typ = CInt(Eintrag(m_ELSTYP, c));
            } catch (const RuntimeError&) {
            }
            spaltentyp.push_back(typ);
        }
    } catch (const std::exception&) {
        // Lists that the grid editor was not given.
        return false;
    }
    v.TZS = Zeichen(v.TZS);
    v.TZZ = Zeichen(v.TZZ);

    // One value per line writes over the grid's last row; the other layouts
    // add rows after it, or fill the one empty row of an empty grid.
    const int zeilen = grid.Rows();
    const int start =
        v.TZS.isEmpty() ? std::max(zeilen - 1, grid.FixedRows()) : (zeilen == 2 ? 1 : zeilen);
    Zeilenpuffer puffer(grid, start);
    try {
        InputFile datei(PFAD);
        if (Lesen(v, groessen, datei, puffer) == Ende::Abbruch) return false;
    } catch (const Unlesbar& u) {
        MsgBox(QStringLiteral("Zeile ") + QString::number(u.zeile) +
                   QStringLiteral(" der Elektronikdatei kann nicht gelesen werden!"),
               vbExclamation, import::kTitel);
        return false;
    } catch (const std::exception&) {
        // A file that is missing or cannot be read, presets that do not fit.
        return false;
    }

    if (!Abschliessen(v, groessen, puffer, m_typspalte[3], m_typspalte[4], spaltentyp))
        return false;
    // The grid's window may have gone while a message was open.
    if (!m_EFLX) return false;

    // Now the grid: the rows, then the grid editor's refresh and numbering.
    // Should that fail and the user leave, the grid gets its rows back.
    ErrorHandler eh(kPraefix, import::kTitel);
    std::vector<QString> ueberschrieben;
    for (int c = 0; start < zeilen && c < puffer.spalten(); ++c)
        ueberschrieben.push_back(grid.TextMatrix(start, c));
    eh.Run([&] { puffer.schreiben(grid); });
    eh.Run([&] { AKTUALISIEREN(); });
    eh.Run([&] { NUMMERIEREN(); });
    if (eh.Left()) {
        if (m_EFLX) {
            m_EFLX->SetRows(zeilen);
            for (int c = 0; c < int(ueberschrieben.size()); ++c)
                m_EFLX->SetTextMatrix(start, c, ueberschrieben[size_t(c)]);
        }
        return false;
    }
    return true;
}
