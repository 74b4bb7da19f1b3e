#pragma once

// Which records one project database holds that another does not hold, or
// holds otherwise: what a copy of the second over the first would remove.
// A record is its row in E1 (not the multiple evaluation's row, ID 0) with
// its rows in E2, E3, A1 and A2, and it is compared by what it holds,
// not by its key: the record export and import give a record a new key in
// the other database, and it is still the same record there.

#include <QStringList>

class Connection;

// The identifiers (E1.KEN) of the records that `von` holds and `in` holds
// nowhere with the same content, in the order of their identifiers, each
// once. Columns that only one of the databases has are left out of the
// comparison. Raises the databases' errors.
QStringList ABWEICHENDEDATENSAETZE(Connection& von, Connection& in);
