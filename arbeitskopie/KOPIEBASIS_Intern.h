#pragma once

// What the base's two files (KOPIEBASIS.cpp, KOPIEBASIS_Projekt.cpp) share:
// the base's tables and the rows of VELD_BASIS.

#include "arbeitskopie/DATENSATZSTAENDE.h"
#include "platform/database/DatabaseFile.h"
#include "platform/database/RowScan.h"

#include <QHash>
#include <QString>
#include <QVariant>
#include <optional>
#include <vector>

class Connection;

namespace kopiebasis {

// The base (VELD_BASIS, VELD_BASISSTAND, VELD_BASISABDRUCK), and the base
// kept beside while a Save is open (VELD_BASISVORHER, VELD_BASISOFFEN).
extern const QString kTabellen;
extern const QString kVorher;

bool hatTabelle(Connection& db, const char* name);
// The content a Save open in the copy meets (nullopt for none).
std::optional<DatabaseMark> offen(Connection& db);
// The project content that every record without a row of VELD_BASIS holds
// as the copy does, and its write (only where it changes).
DatabaseMark gespeicherterAbdruck(Connection& kopie);
void abdruckSetzen(Connection& kopie, const DatabaseMark& abdruck);

// A row of the base: what changed of a record key's rows since the copy
// met the project, and its identifier before where that is known.
struct BasisZeile {
    qint64 id;
    bool bekannt, da;
    QVariant ken;
    RowSum d;
};
std::vector<BasisZeile> basiszeilen(Connection& db, const QString& tabelle);
// A change of a record added to the row the base holds for it (`frueher`:
// the change given is the earlier one).
void hinzufuegen(Connection& kopie, BasisZeile z, bool frueher);
// What the records were before these rows' changes: their sums and
// identifiers in `roh` taken back (`umbenannt`, where given, gets the
// records under another identifier now than before).
void zurBasis(DATENSATZSTAENDE::ROH& roh, const std::vector<BasisZeile>& zeilen,
              QHash<QString, QString>* umbenannt);

} // namespace kopiebasis
