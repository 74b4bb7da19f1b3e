#pragma once

// What one project database holds, record by record: for every identifier
// (E1.KEN, compared without letter case as the engine compares it) a digest
// of what its record holds, and one entry more for the project's own rows
// (the multiple evaluation: the rows of ID 0 and the comments of M1).
//
// A record is compared by content, not by key: the record export and import
// and the Save's join give a record a new key in another database, and it is
// still the same record there. Left out, because they are nobody's work:
// - the active flag E1.AKT, which is the user's selection;
// - what a drawing writes by itself as it shows a record: of the diagram's
//   layout rows (G0) only the axis ranges count, which the user sets in the
//   axis dialog (a row without ranges is as no row).
// Columns that a database lacks count as Null, so that digests taken of
// databases of different ages compare.

#include "platform/database/RowScan.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <map>
#include <optional>
#include <set>
#include <unordered_map>

class Connection;

class DATENSATZSTAENDE {
public:
    // The key of the project's own rows, and of the records without an
    // identifier (Null); no identifier can be either.
    static const QString kProjektzeilen;
    static const QString kOhneKennung;

    struct STAND {
        QString ken;       // as the database writes it (first record's)
        QByteArray inhalt; // digest of every record under the identifier
        int anzahl = 0;    // records under the identifier (2 and more: twice)
    };

    // Reads the database through its connection (inside an open transaction
    // when the caller has one). Raises the engine's errors.
    static DATENSATZSTAENDE LESEN(Connection& db);
    // The same for the records under these identifiers (keys as SCHLUESSEL
    // gives them, kProjektzeilen for the project's own rows) only.
    static DATENSATZSTAENDE LESEN(Connection& db, const QSet<QString>& schluessel);
    // The record keys under these identifiers (0 for the project's own rows).
    static std::set<qint64> DATENSATZSCHLUESSEL(Connection& db, const QSet<QString>& schluessel);

    // What LESEN reads, before it is told by identifier: the sum of each
    // record key's rows (the project's own rows under 0) and the identifier
    // of each record key.
    struct ROH {
        std::unordered_map<qint64, RowSum> summen;
        std::map<qint64, QVariant> kennungen;
    };
    // With `nur`, the rows of these record keys only.
    static ROH ROHLESEN(Connection& db, const std::set<qint64>* nur = nullptr);
    static DATENSATZSTAENDE AUSROH(const ROH& roh);

    // One table's share in the digest of a record: its rows' record key,
    // their values that are someone's work (an empty name where the
    // database lacks the column: Null) and which rows count. Each part as
    // an expression over the row's columns, prefixed by `zeile` ("NEW.",
    // say, or nothing).
    struct WERKTABELLE {
        QString NAME;
        quint64 SALZ = 0;
        bool PROJEKTWEIT = false; // the project's own rows: key 0
        bool NURBEREICHE = false; // only rows with an axis range count
        QStringList SPALTEN;
        QStringList BEREICHE;
        QString SCHLUESSELWERT(const QString& zeile) const;
        QString WERTLISTE(const QString& zeile) const;
        QString BEDINGUNG(const QString& zeile) const;
    };
    static QList<WERKTABELLE> WERKTABELLEN(Connection& db);

    // The key of an identifier: equal for identifiers that the engine takes
    // for one, and its own for Null. The one folding wherever records are
    // matched by identifier.
    static QString SCHLUESSEL(const QVariant& ken);
    // Identifiers in the order the engine sorts them ([KEN] COLLATE NOCASE).
    static bool VORHER(const QString& a, const QString& b);

    const STAND* Stand(const QString& schluessel) const;
    // The digest of what the records under the key hold; empty for none.
    QByteArray Inhalt(const QString& schluessel) const;
    const QHash<QString, STAND>& Staende() const { return m_staende; }

    // As text (one line per key) and back; nullopt for a text that is not
    // one of ours.
    QByteArray TEXT() const;
    static std::optional<DATENSATZSTAENDE> AUSTEXT(const QByteArray& text);

    bool operator==(const DATENSATZSTAENDE& andere) const;

private:
    QHash<QString, STAND> m_staende;
};
