// One column of a flex grid as a series of rows of the view: the grid's data
// rows replace the view's rows, and the view's rows fill a grid column.

#include "data/clsDATEN.h"

#include "data/clsDATEN_Intern.h"
#include "platform/database/Connection.h"
#include "platform/database/FieldType.h"
#include "platform/runtime/ErrorHandler.h"
#include "platform/controls/MSFlexGrid.h"
#include "platform/runtime/MsgBox.h"
#include "platform/database/Recordset.h"
#include "platform/database/Transaction.h"
#include "platform/runtime/Variant.h"

using namespace clsdaten;

namespace {

// The box of a grid transfer. It names the grid by its number in the window's
// array of grids; a grid outside an array has none, and that error goes to
// the caller instead of the box.
class Rastermeldung {
public:
    Rastermeldung(const QString& SPV, const QString& tabelle, const QString& SPNR,
                  const MSFlexGrid& raster, const QString& schluss)
        : m_SPV(SPV), m_tabelle(tabelle), m_SPNR(SPNR), m_raster(raster), m_schluss(schluss) {}

    // Shows the box for a failure; true when the user goes on (OK). A
    // database held by another program fails every later step as well: it
    // is told once, as what it is, and ends the transfer.
    bool WEITER(const std::exception& ausnahme) {
        if (GESPERRT(ausnahme)) {
            m_verlassen = true;
            return false;
        }
        const RuntimeError fehler = ErrorHandler::Translate(ausnahme);
        const QString text =
            QStringLiteral("Werte der Spalte ") + m_SPV + QStringLiteral(" der Tabelle ") +
            m_tabelle + QStringLiteral(" können nicht in die Spalte ") + m_SPNR + kZeilenumbruch +
            QStringLiteral("der FlexGrid-Tabelle ") + QString::number(m_raster.Index()) +
            m_schluss + kZeilenumbruch + kVbError + QString::number(fehler.Number()) +
            kZeilenumbruch + fehler.Description();
        if (MsgBox(text, vbOKCancel + vbExclamation, kTitel) == vbOK) return true;
        m_verlassen = true;
        return false;
    }

    // Runs one statement; a failure brings the box. False when it failed or
    // the transfer has been left.
    template <class Anweisung> bool SCHRITT(Anweisung&& anweisung) {
        if (m_verlassen) return false;
        try {
            anweisung();
            return true;
        } catch (const std::exception& ausnahme) {
            WEITER(ausnahme);
            return false;
        }
    }

    bool VERLASSEN() const { return m_verlassen; }

private:
    QString m_SPV;
    QString m_tabelle;
    QString m_SPNR;
    const MSFlexGrid& m_raster;
    QString m_schluss;
    bool m_verlassen = false;
};

} // namespace

std::optional<FieldType> clsDATEN::SPALTENTYP(const QString& SPV) {
    try {
        for (const Connection::TableColumn& spalte : verbindung().TableColumns(m_etabelle))
            if (spalte.name.compare(SPV, Qt::CaseInsensitive) == 0) return spalte.type;
    } catch (const std::exception&) {
        // A table that cannot be read fails where the view is opened.
    }
    return std::nullopt;
}

bool clsDATEN::DFTF(const QString& SPV, MSFlexGrid& msgFLX, const QString& SPNR,
                    CLSDATEN_SPI3_DEF) {
    return rasterSchreiben(SPV, msgFLX, SPNR, schluessel3(CLSDATEN_SPI3_WEITER));
}

bool clsDATEN::DFTFM(const QString& SPV, MSFlexGrid& msgFLX, const QString& SPNR,
                     CLSDATEN_SPI3_DEF) {
    return DFTF(SPV, msgFLX, SPNR, CLSDATEN_SPI3_WEITER);
}

bool clsDATEN::DTFF(const QString& SPV, MSFlexGrid& msgFLX, const QString& SPNR, CLSDATEN_SPI3_DEF,
                    int16_t ZNR) {
    return rasterLesen(SPV, msgFLX, SPNR, schluessel3(CLSDATEN_SPI3_WEITER), ZNR);
}

bool clsDATEN::DTFFM(const QString& SPV, MSFlexGrid& msgFLX, const QString& SPNR,
                     CLSDATEN_SPI3_DEF) {
    return DTFF(SPV, msgFLX, SPNR, CLSDATEN_SPI3_WEITER, 0);
}

bool clsDATEN::rasterSchreiben(const QString& SPV, MSFlexGrid& msgFLX, const QString& SPNR,
                               const SCHLUESSEL& k) {
    Rastermeldung meldung(SPV, m_etabelle, SPNR, msgFLX, QStringLiteral(" geschrieben werden!"));

    // A disabled grid stands for a column without values. The column is read
    // whole before anything is written: a grid that cannot be read writes
    // nothing, rather than a column of gaps.
    std::vector<QVariant> werte;
    if (msgFLX.Enabled()) {
        try {
            const int spalte = CInt(SPNR);
            for (int r = msgFLX.FixedRows(); r < msgFLX.Rows(); ++r)
                werte.emplace_back(Trim(msgFLX.TextMatrix(r, spalte)));
        } catch (const std::exception& ausnahme) {
            meldung.WEITER(ausnahme);
            return false;
        }
    }

    // A value that its column cannot take is found before the copy is held
    // for writing, so that its box waits with nothing locked; OK leaves the
    // value out of its row (the row's keys are still written).
    std::vector<char> auslassen(werte.size(), 0);
    if (const std::optional<FieldType> typ = SPALTENTYP(SPV)) {
        for (size_t i = 0; i < werte.size(); ++i) {
            try {
                StoredValue(*typ, LEERALSNULL(werte[i]), SPV);
            } catch (const std::exception& ausnahme) {
                if (!meldung.WEITER(ausnahme)) return false;
                auslassen[i] = 1;
            }
        }
    }

    // One transaction: the view is replaced whole, or left as it was when the
    // user cancels.
    std::optional<Transaction> transaktion;
    std::unique_ptr<Recordset> rs;
    if (!meldung.SCHRITT([&] {
            transaktion.emplace(verbindung());
            rs = oeffnen(SPV, k);
        }))
        return false;

    std::optional<Field> spalte;
    std::optional<Field> schluessel;
    std::optional<Field> zusatz[3];
    std::optional<Field> text[3];
    if (!meldung.SCHRITT([&] {
            spalte.emplace(rs->Fields(SPV));
            if (!m_espid.isEmpty()) schluessel.emplace(rs->Fields(m_espid));
            for (int n = 0; n < 3; ++n)
                if (!k.SPI[n].isEmpty() && k.SPIW[n]) zusatz[n].emplace(rs->Fields(k.SPI[n]));
            for (int n = 0; n < 3; ++n)
                if (!m_espk[n].isEmpty()) text[n].emplace(rs->Fields(m_espk[n]));
        }))
        return false;

    TAKT takt;
    for (size_t i = 0; i < werte.size(); ++i) {
        meldung.SCHRITT([&] {
            if (rs->Eof())
                rs->AddNew();
            else if (i == 0)
                rs->MoveFirst();
        });
        // A value that the column refuses is left out of its row; the row's
        // keys are still written.
        if (!auslassen[i]) meldung.SCHRITT([&] { *spalte = LEERALSNULL(werte[i]); });
        if (schluessel) meldung.SCHRITT([&] { *schluessel = m_espidw; });
        for (int n = 0; n < 3; ++n)
            if (zusatz[n]) meldung.SCHRITT([&] { *zusatz[n] = *k.SPIW[n]; });
        for (int n = 0; n < 3; ++n)
            if (text[n]) meldung.SCHRITT([&] { *text[n] = m_espkw[n]; });
        meldung.SCHRITT([&] {
            try {
                rs->Update();
            } catch (...) {
                rs->CancelUpdate();
                throw;
            }
        });
        meldung.SCHRITT([&] {
            if (!rs->Eof()) rs->MoveNext();
        });
        if (meldung.VERLASSEN()) return false;
        takt.SCHRITT();
    }
    while (!rs->Eof()) {
        meldung.SCHRITT([&] { rs->Delete(); });
        if (!meldung.SCHRITT([&] { rs->MoveNext(); })) break;
    }
    if (meldung.VERLASSEN()) return false;
    rs->Close();
    return meldung.SCHRITT([&] { transaktion->Commit(); });
}

bool clsDATEN::rasterLesen(const QString& SPV, MSFlexGrid& msgFLX, const QString& SPNR,
                           const SCHLUESSEL& k, int16_t ZNR) {
    Rastermeldung meldung(SPV, m_etabelle, SPNR, msgFLX, QStringLiteral(" eingelesen werden!"));
    // The static row set reads the view's rows at once, so the column comes
    // from one consistent state of the table.
    std::unique_ptr<Recordset> rs;
    if (!meldung.SCHRITT([&] { rs = oeffnen(SPV, k); })) return false;

    if (rs->Eof()) {
        // No values: the grid keeps its rows and texts, greyed and disabled.
        msgFLX.SetBackColor(msgFLX.BackColorFixed());
        msgFLX.SetEnabled(false);
        return true;
    }
    // The grid holds values again: white and enabled before anything else,
    // so that even a column number that fails leaves it usable.
    msgFLX.SetBackColor(MSFlexGrid::kFensterhintergrund);
    msgFLX.SetEnabled(true);
    int spalte = 0;
    if (!meldung.SCHRITT([&] {
            const int start = ZNR <= msgFLX.FixedRows() ? msgFLX.FixedRows() : ZNR + 1;
            if (msgFLX.Rows() - start < rs->RecordCount())
                msgFLX.SetRows(start + rs->RecordCount());
            rs->MoveFirst();
            spalte = CInt(SPNR);
        }))
        return false;
    const int start = ZNR <= msgFLX.FixedRows() ? msgFLX.FixedRows() : ZNR + 1;
    const Field wert = rs->Fields(0);
    TAKT takt;
    for (int zeile = start; !rs->Eof(); ++zeile) {
        meldung.SCHRITT([&] {
            const QVariant v = wert.Value();
            if (!IsNull(v)) msgFLX.SetTextMatrix(zeile, spalte, CStr(v));
        });
        if (meldung.VERLASSEN()) return false;
        rs->MoveNext();
        takt.SCHRITT();
    }
    return true;
}
