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

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>

class Connection;

class DATENSATZSTAENDE {
public:
    // The key of the project's own rows; no identifier can be it.
    static const QString kProjektzeilen;

    struct STAND {
        QString ken;        // as the database writes it (first record's)
        QByteArray inhalt;  // digest of every record under the identifier
        int anzahl = 0;     // records under the identifier (2 and more: twice)
    };

    // Reads the database through its connection (inside an open transaction
    // when the caller has one). Raises the engine's errors.
    static DATENSATZSTAENDE LESEN(Connection& db);

    // The key of an identifier: equal for identifiers that the engine takes
    // for one.
    static QString SCHLUESSEL(const QString& ken);

    const STAND* Stand(const QString& schluessel) const;
    const QHash<QString, STAND>& Staende() const { return m_staende; }

    // As text (one line per key) and back; nullopt for a text that is not
    // one of ours.
    QByteArray TEXT() const;
    static std::optional<DATENSATZSTAENDE> AUSTEXT(const QByteArray& text);

    bool operator==(const DATENSATZSTAENDE& andere) const;

private:
    QHash<QString, STAND> m_staende;
};
