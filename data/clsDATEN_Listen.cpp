// Questions about a table as a whole: the range and count of an index
// column, the lists of record keys and identifiers, the deletion of a view and
// the search of record keys by criteria.

#include "data/clsDATEN.h"

#include "data/clsDATEN_Intern.h"
#include "platform/database/Connection.h"
#include "platform/runtime/ErrorHandler.h"
#include "platform/database/Recordset.h"
#include "platform/database/Sql.h"
#include "platform/database/Transaction.h"
#include "platform/runtime/Variant.h"

using namespace clsdaten;

clsDATEN::SCHLUESSEL clsDATEN::schluessel3(const QString& SPI1, const SCHLUESSELWERT& SPI1W,
                                           const QString& SPI2, const SCHLUESSELWERT& SPI2W,
                                           const QString& SPI3, const SCHLUESSELWERT& SPI3W,
                                           const QString& SPI4) {
    return SCHLUESSEL{{SPI1, SPI2, SPI3, SPI4}, {SPI1W, SPI2W, SPI3W, std::nullopt}};
}

// Index range -------------------------------------------------------------------

QString clsDATEN::indexAnweisung(const SCHLUESSEL& k) const {
    // The last named column is examined; the ones before it narrow by their
    // values.
    int letzte = -1;
    for (int n = 0; n < 4; ++n)
        if (!k.SPI[n].isEmpty()) letzte = n;
    if (letzte < 0) throw RuntimeError::InvalidProcedureCall();
    const QString& x = k.SPI[letzte];

    QString bedingung;
    const auto verbinden = [&] {
        return bedingung.isEmpty() ? QStringLiteral(" WHERE ") : QStringLiteral(" AND ");
    };
    for (int n = 0; n < letzte; ++n) {
        // A column that narrows must come with its value.
        if (!k.SPIW[n]) throw RuntimeError::TypeMismatch();
        bedingung += verbinden() + SqlName(k.SPI[n]) + QLatin1Char('=') + LITERAL(*k.SPIW[n]);
    }
    if (!m_espk[0].isEmpty()) {
        for (int n = 0; n < 3; ++n)
            if (!m_espk[n].isEmpty())
                bedingung +=
                    verbinden() + SqlName(m_espk[n]) + QLatin1Char('=') + SqlText(m_espkw[n]);
    }
    if (!m_espid.isEmpty())
        bedingung +=
            verbinden() + SqlName(m_espid) + QStringLiteral(" = ") + SqlNumber(qlonglong(m_espidw));
    return QStringLiteral("SELECT ") + SqlName(x) + QStringLiteral(" FROM ") + SqlName(m_etabelle) +
           bedingung + QStringLiteral(" ORDER BY ") + SqlName(x);
}

template <class T, class A, class Umwandlung>
void clsDATEN::indexBereich(T* MINI, T* MAXI, A* AN, const QString& titel, const SCHLUESSEL& k,
                            Umwandlung umwandeln) {
    ErrorHandler eh(kVbError, titel);
    std::unique_ptr<Recordset> rs;
    if (!eh.Run([&] { rs = std::make_unique<Recordset>(indexAnweisung(k), verbindung()); })) return;
    if (rs->Eof()) {
        if (AN) *AN = 0;
        if (MINI) *MINI = T(0);
        if (MAXI) *MAXI = T(0);
        return;
    }
    // Each step on its own: a value that does not convert (a Null sorts
    // first) leaves its result as it was and the others are still set.
    if (eh.Run([&] { rs->MoveFirst(); }))
        eh.Run([&] {
            const T wert = umwandeln(rs->Fields(0).Value());
            if (MINI) *MINI = wert;
        });
    if (eh.Run([&] { rs->MoveLast(); }))
        eh.Run([&] {
            const T wert = umwandeln(rs->Fields(0).Value());
            if (MAXI) *MAXI = wert;
        });
    eh.Run([&] {
        const A anzahl =
            std::is_same_v<A, int32_t> ? A(CLng(rs->RecordCount())) : A(CInt(rs->RecordCount()));
        if (AN) *AN = anzahl;
    });
}

void clsDATEN::INDEX(int16_t* MINI, int16_t* MAXI, int16_t* AN, CLSDATEN_SPI3_DEF) {
    indexBereich(MINI, MAXI, AN, QStringLiteral("Index"), schluessel3(CLSDATEN_SPI3_WEITER),
                 [](const QVariant& v) { return CInt(v); });
}

void clsDATEN::INDEXL(int32_t* MINI, int32_t* MAXI, int32_t* AN, CLSDATEN_SPI3_DEF) {
    indexBereich(MINI, MAXI, AN, kTitel, schluessel3(CLSDATEN_SPI3_WEITER),
                 [](const QVariant& v) { return CLng(v); });
}

void clsDATEN::INDEXV(QVariant* MINI, QVariant* MAXI, int16_t* AN, CLSDATEN_SPI3_DEF) {
    indexBereich(MINI, MAXI, AN, QStringLiteral("Index"), schluessel3(CLSDATEN_SPI3_WEITER),
                 [](const QVariant& v) { return v; });
}

// Key lists ------------------------------------------------------------------

template <class T, class Umwandlung>
void clsDATEN::schluesselliste(const QString& spalte, std::vector<T>& liste, bool AKT,
                               Umwandlung umwandeln) {
    const QString schluessel = SqlName(m_espid);
    const QString sql =
        AKT ? QStringLiteral("SELECT %1 FROM %2 WHERE [AKT]=true and %3<>0 ORDER BY %3")
                  .arg(SqlName(spalte), SqlName(m_etabelle), schluessel)
            : QStringLiteral("SELECT %1 FROM %2 WHERE %3<>0 ORDER BY [KEN]")
                  .arg(SqlName(spalte), SqlName(m_etabelle), schluessel);
    Recordset rs(sql, verbindung());
    if (rs.Eof()) return;
    rs.MoveLast();
    liste.assign(size_t(rs.RecordCount()), T());
    rs.MoveFirst();
    const Field wert = rs.Fields(0);
    for (size_t i = 0; !rs.Eof(); ++i) {
        liste[i] = umwandeln(wert.Value());
        rs.MoveNext();
    }
}

void clsDATEN::LID(std::vector<int32_t>& ID, bool AKT) {
    schluesselliste(m_espid, ID, AKT, [](const QVariant& v) { return CLng(v); });
}

void clsDATEN::LKEN(std::vector<QString>& KEN, bool AKT) {
    schluesselliste(QStringLiteral("KEN"), KEN, AKT, [](const QVariant& v) { return CStr(v); });
}

// Deletion -------------------------------------------------------------------

bool clsDATEN::LOESCHEN(CLSDATEN_SPI_DEF) {
    ErrorHandler eh(kVbError, kTitel);
    std::optional<Transaction> transaktion;
    std::unique_ptr<Recordset> rs;
    // Without the view nothing is deleted, whatever the answer.
    if (!eh.Run([&] {
            transaktion.emplace(verbindung());
            rs = oeffnen(m_espid, CLSDATEN_SPI_ARG);
        }))
        return false;
    while (!rs->Eof()) {
        eh.Run([&] { rs->Delete(); });
        if (eh.Left() || !eh.Run([&] { rs->MoveNext(); })) break;
    }
    // Cancel leaves the view as it was.
    if (eh.Left()) return false;
    rs->Close();
    if (!eh.Run([&] { transaktion->Commit(); })) return false;
    return true;
}

// Criteria -------------------------------------------------------------------

bool clsDATEN::IDKRIT(std::vector<int32_t>& IDKR, const QString& SPF1, const SCHLUESSELWERT& SPF1W,
                      QString* SPO1, const QString& SPF2, const SCHLUESSELWERT& SPF2W,
                      QString* SPO2, const QString& SPF3, const SCHLUESSELWERT& SPF3W,
                      QString* SPO3, const QString& SPF4, const SCHLUESSELWERT& SPF4W,
                      QString* SPO4) {
    ErrorHandler eh(kVbError, kTitel);
    const QString* spalten[4] = {&SPF1, &SPF2, &SPF3, &SPF4};
    const SCHLUESSELWERT* werte[4] = {&SPF1W, &SPF2W, &SPF3W, &SPF4W};
    QString* operatoren[4] = {SPO1, SPO2, SPO3, SPO4};
    QString eigene[4];
    QString platzhalter[4];
    for (int n = 0; n < 4; ++n) {
        QString& op = operatoren[n] ? *operatoren[n] : eigene[n];
        const bool text = *werte[n] && VarTypeOf(**werte[n]) == VarType::String;
        if (text) {
            if (op == QLatin1String("LIKE"))
                platzhalter[n] = QStringLiteral("%");
            else
                op = QStringLiteral("=");
        } else {
            static const QStringList vergleiche = {QStringLiteral("<"), QStringLiteral(">"),
                                                   QStringLiteral("<="), QStringLiteral(">="),
                                                   QStringLiteral("<>")};
            if (!vergleiche.contains(op)) op = QStringLiteral("=");
        }
        operatoren[n] = &op;
    }

    std::unique_ptr<Recordset> rs;
    const bool offen = eh.Run([&] {
        QString liste = QStringLiteral("[ID]");
        QString bedingung;
        QString ordnung;
        for (int n = 0; n < 4; ++n) {
            if (spalten[n]->isEmpty()) continue;
            liste += QLatin1Char(',') + SqlName(*spalten[n]);
            ordnung += (ordnung.isEmpty() ? QStringLiteral(" ORDER BY ") : QStringLiteral(",")) +
                       SqlName(*spalten[n]);
        }
        for (int n = 0; n < 4; ++n) {
            if (!*werte[n]) continue;
            const QVariant& wert = **werte[n];
            const QString literal = VarTypeOf(wert) == VarType::String
                                        ? SqlText(platzhalter[n] + wert.toString() + platzhalter[n])
                                        : LITERAL(wert);
            // Only the first criterion opens the condition: a later one
            // without the first makes no valid statement.
            bedingung += (n == 0 ? QStringLiteral(" WHERE ") : QStringLiteral(" AND ")) +
                         SqlName(*spalten[n]) + *operatoren[n] + literal;
        }
        rs = std::make_unique<Recordset>(QStringLiteral("SELECT ") + liste +
                                             QStringLiteral(" FROM ") + SqlName(m_etabelle) +
                                             bedingung + ordnung,
                                         verbindung());
    });
    if (!offen || rs->Eof()) return false;
    eh.Run([&] {
        rs->MoveLast();
        IDKR.assign(size_t(rs->RecordCount()), 0);
        rs->MoveFirst();
    });
    const Field id = rs->Fields(QStringLiteral("ID"));
    for (size_t i = 0; !eh.Left() && !rs->Eof() && i < IDKR.size(); ++i) {
        eh.Run([&] { IDKR[i] = CLng(id.Value()); });
        if (!eh.Run([&] { rs->MoveNext(); })) break;
    }
    return true;
}
