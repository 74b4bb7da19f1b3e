// The data-access object's state, its connection, the selection of a view,
// and the row writer and row reader on which every transfer is built.

#include "data/clsDATEN.h"
#include "platform/runtime/System.h"

#include "data/HAUPTFENSTER.h"
#include "data/clsDATEN_Intern.h"
#include "platform/database/Connection.h"
#include "platform/database/DatabaseError.h"
#include "platform/runtime/ErrorHandler.h"
#include "platform/runtime/MsgBox.h"
#include "platform/database/Recordset.h"
#include "platform/database/Sql.h"
#include "platform/database/Transaction.h"
#include "platform/runtime/Variant.h"

#include <QFileInfo>
#include <QLocale>

namespace clsdaten {

QString WERTTEXT(const QVariant& wert) {
    if (IsEmpty(wert) || IsNull(wert)) return QString();
    try {
        return CStr(wert);
    } catch (const RuntimeError&) {
        return wert.toString();
    }
}

QString LITERAL(const QVariant& wert) {
    switch (VarTypeOf(wert)) {
    case VarType::Empty:
    case VarType::Null:
        throw RuntimeError::InvalidUseOfNull();
    case VarType::Date:
        return SqlText(CStr(wert));
    default:
        return SqlValue(wert);
    }
}

QVariant LEERALSNULL(const QVariant& wert) {
    if (VarTypeOf(wert) == VarType::String && wert.toString().isEmpty()) return VNull();
    return wert;
}

RuntimeError EIGENSCHAFTSFEHLER() {
    const bool deutsch = GermanTexts();
    return RuntimeError(380, deutsch ? QStringLiteral("Ungültiger Eigenschaftswert")
                                     : QStringLiteral("Invalid property value"));
}

bool GESPERRT(const std::exception& fehler) {
    const RuntimeError r = ErrorHandler::Translate(fehler);
    // A database that refuses the write as a whole is told as what it is,
    // not as a value that does not fit.
    if (!DatabaseError::Refuses(r.Number())) return false;
    if (r.Number() == DatabaseError::Cancelled) return true; // the user knows why
    MsgBox(kVbError + QString::number(r.Number()) + kZeilenumbruch + r.Description(),
           vbOKOnly + vbExclamation, kTitel);
    return true;
}

bool GESPERRT(const std::exception_ptr& fehler) {
    if (!fehler) return false;
    try {
        std::rethrow_exception(fehler);
    } catch (const std::exception& e) {
        return GESPERRT(e);
    } catch (...) {
        return false;
    }
}

} // namespace clsdaten

using namespace clsdaten;

// Initialisation --------------------------------------------------------------

clsDATEN::clsDATEN() : m_etabelle(QStringLiteral("E1")), m_espid(QStringLiteral("ID")) {
    ErrorHandler eh(kVbError, kTitel);
    if (!eh.Run([&] { m_verbindung = frmMAIN().DBPROJEKT(); })) return;
    // Every object starts on the first active record; rowid order makes that
    // the same record on every run, whatever indexes the engine uses.
    eh.Run([&] {
        Recordset rs(QStringLiteral("SELECT %1 FROM %2 WHERE [AKT]=true ORDER BY rowid")
                         .arg(SqlName(m_espid), SqlName(m_etabelle)),
                     verbindung());
        m_espidw = rs.Eof() ? 0 : CLng(rs.Fields(QStringLiteral("ID")).Value());
    });
}

clsDATEN::~clsDATEN() = default;

Connection& clsDATEN::verbindung() const {
    if (!m_verbindung) throw DatabaseError::ObjectClosedError();
    return *m_verbindung;
}

void clsDATEN::EBOV(bool wert) {
    m_verbindung = wert && !ENTWICKLUNGSLAUF() ? frmMAIN().DBVORGABE() : frmMAIN().DBPROJEKT();
}

void clsDATEN::EINFMDB(const QString& wert) {
    bool BOINF = false;
    EINFMDB(BOINF, wert);
}

void clsDATEN::EINFMDB(bool& BOINF, const QString& wert) {
    ErrorHandler eh(kVbError, QStringLiteral("Datenzugriff - Datenbank ") + wert);
    m_einfmdb = wert;
    const std::optional<QString> pfad = eh.Value([&] {
        HAUPTFENSTER& haupt = frmMAIN();
        if (ENTWICKLUNGSLAUF())
            return haupt.PROJEKTSPFAD() + QLatin1Char('/') + haupt.PROJEKT() + QLatin1Char('/') +
                   wert + QStringLiteral(".mdb");
        return haupt.DATENBANKPFAD() + QLatin1Char('/') + wert + QStringLiteral(".mdb");
    });
    if (!pfad) {
        if (!eh.Left()) BOINF = false;
        return;
    }
    if (!QFileInfo(*pfad).isFile()) {
        BOINF = false;
        return;
    }
    auto neu = std::make_shared<Connection>();
    const bool offen = eh.Run([&] {
        neu->SetConnectionString(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0; ") +
                                 QStringLiteral("Data Source=") + *pfad +
                                 QStringLiteral(";Persist Security Info=False"));
        neu->SetConnectionTimeout(30);
        neu->Open();
    });
    if (offen) {
        m_verbindung = std::move(neu);
        BOINF = true;
    } else if (!eh.Left()) {
        // A connection that did not open is no connection: the object stays
        // on the one it had.
        BOINF = false;
    }
}

// Selection ------------------------------------------------------------------

QString clsDATEN::anweisung(const QString& SPV, const SCHLUESSEL& k) const {
    QString spalten = SqlName(SPV);
    for (const QString* name :
         {&m_espid, &k.SPI[0], &k.SPI[1], &k.SPI[2], &k.SPI[3], &m_espk[0], &m_espk[1], &m_espk[2]})
        if (!name->isEmpty()) spalten += QLatin1Char(',') + SqlName(*name);

    QString bedingung;
    const auto verbinden = [&] {
        return bedingung.isEmpty() ? QStringLiteral(" WHERE ") : QStringLiteral(" AND ");
    };
    if (!m_espid.isEmpty())
        bedingung = QStringLiteral(" WHERE ") + SqlName(m_espid) + QStringLiteral(" = ") +
                    SqlNumber(qlonglong(m_espidw));
    for (int n = 0; n < 4; ++n)
        if (k.SPIW[n])
            bedingung += verbinden() + SqlName(k.SPI[n]) + QLatin1Char('=') + LITERAL(*k.SPIW[n]);
    for (int n = 0; n < 3; ++n)
        if (!m_espk[n].isEmpty())
            bedingung +=
                verbinden() + SqlName(m_espk[n]) + QStringLiteral(" =") + SqlText(m_espkw[n]);

    QString ordnung;
    for (int n = 0; n < 4; ++n)
        if (!k.SPI[n].isEmpty())
            ordnung += (ordnung.isEmpty() ? QStringLiteral(" ORDER BY ") : QStringLiteral(",")) +
                       SqlName(k.SPI[n]);

    return QStringLiteral("SELECT ") + spalten + QStringLiteral(" FROM ") + SqlName(m_etabelle) +
           bedingung + ordnung;
}

std::unique_ptr<Recordset> clsDATEN::oeffnen(const QString& SPV, const SCHLUESSEL& k) {
    const QString sql = anweisung(SPV, k);
    return std::make_unique<Recordset>(sql, verbindung());
}

QString clsDATEN::DTANWEISUNG(const QString& SPV, CLSDATEN_SPI_DEF) const {
    return anweisung(SPV, CLSDATEN_SPI_ARG);
}

std::unique_ptr<Recordset> clsDATEN::DT(const QString& SPV, CLSDATEN_SPI_DEF) {
    return oeffnen(SPV, CLSDATEN_SPI_ARG);
}

// Row writer and row reader ----------------------------------------------------

bool clsDATEN::SCHREIBEN(const QString& SPV, const std::vector<QVariant>& WERTE,
                         const SCHLUESSEL& k, std::exception_ptr& fehler) {
    try {
        // One transaction: the view is replaced whole or not at all.
        Transaction transaktion(verbindung());
        std::unique_ptr<Recordset> rs = oeffnen(SPV, k);
        if (!WERTE.empty()) {
            const Field spalte = rs->Fields(SPV);
            const Field schluessel = rs->Fields(m_espid);
            std::optional<Field> zusatz[4];
            for (int n = 0; n < 4; ++n)
                if (k.SPIW[n]) zusatz[n].emplace(rs->Fields(k.SPI[n]));
            std::optional<Field> text[3];
            for (int n = 0; n < 3; ++n)
                if (!m_espk[n].isEmpty() && !m_espkw[n].isEmpty())
                    text[n].emplace(rs->Fields(m_espk[n]));

            TAKT takt;
            for (size_t i = 0; i < WERTE.size(); ++i) {
                if (rs->Eof())
                    rs->AddNew();
                else if (i == 0)
                    rs->MoveFirst();
                spalte = LEERALSNULL(WERTE[i]);
                schluessel = m_espidw;
                for (int n = 0; n < 4; ++n)
                    if (zusatz[n]) {
                        *zusatz[n] = *k.SPIW[n];
                        // A key that its column cannot hold (a blank text in
                        // a number column becomes Null) would write a row
                        // that no read with this key finds again.
                        if (!IsNull(*k.SPIW[n]) && !IsEmpty(*k.SPIW[n]) &&
                            IsNull(zusatz[n]->Value()))
                            throw RuntimeError::TypeMismatch();
                    }
                for (int n = 0; n < 3; ++n)
                    if (text[n]) *text[n] = m_espkw[n];
                rs->Update();
                if (!rs->Eof()) rs->MoveNext();
                takt.SCHRITT();
            }
        }
        while (!rs->Eof()) {
            rs->Delete();
            rs->MoveNext();
        }
        rs->Close();
        transaktion.Commit();
        return true;
    } catch (...) {
        fehler = std::current_exception();
        return false;
    }
}

bool clsDATEN::LESEN(const QString& SPV, std::vector<QVariant>& WERTE, const SCHLUESSEL& k,
                     std::exception_ptr& fehler) {
    try {
        std::unique_ptr<Recordset> rs = oeffnen(SPV, k);
        if (!rs->Eof()) {
            rs->MoveFirst();
            const Field spalte = rs->Fields(SPV);
            for (size_t i = 0; i < WERTE.size() && !rs->Eof(); ++i) {
                const QVariant wert = spalte.Value();
                if (!IsNull(wert)) WERTE[i] = wert;
                rs->MoveNext();
            }
        }
        return true;
    } catch (...) {
        fehler = std::current_exception();
        return false;
    }
}

// The two halves of every scalar transfer ------------------------------------

bool clsDATEN::skalarSchreiben(const QString& SPV, const QVariant& wert, const SCHLUESSEL& k) {
    std::exception_ptr fehler;
    if (SCHREIBEN(SPV, {wert}, k, fehler)) return true;
    if (GESPERRT(fehler)) return false;
    MsgBox(QStringLiteral("Wert ") + WERTTEXT(wert) + QStringLiteral(" kann nicht in die Spalte ") +
               SPV + QStringLiteral(" der Tabelle ") + m_etabelle +
               QStringLiteral(" gespeichert werden!"),
           vbOKOnly + vbExclamation, kTitel);
    return false;
}

bool clsDATEN::skalarLesen(const QString& SPV, QVariant& wert, const SCHLUESSEL& k) {
    std::vector<QVariant> werte(1);
    std::exception_ptr fehler;
    if (LESEN(SPV, werte, k, fehler)) {
        wert = werte[0];
        return true;
    }
    if (GESPERRT(fehler)) return false;
    MsgBox(QStringLiteral("Wert ") + WERTTEXT(werte[0]) +
               QStringLiteral(" kann nicht aus der Spalte ") + SPV +
               QStringLiteral(" der Tabelle ") + m_etabelle + QStringLiteral(" eingelesen werden!"),
           vbOKOnly + vbExclamation, kTitel);
    return false;
}

bool clsDATEN::feldSchreiben(const QString& SPV, const std::vector<QVariant>& werte,
                             const SCHLUESSEL& k) {
    std::exception_ptr fehler;
    if (SCHREIBEN(SPV, werte, k, fehler)) return true;
    if (GESPERRT(fehler)) return false;
    MsgBox(QStringLiteral("Werte können nicht in Spalte ") + SPV + QStringLiteral(" der Tabelle ") +
               m_etabelle + QStringLiteral(" gespeichert werden!"),
           vbOKOnly + vbExclamation, kTitel);
    return false;
}
