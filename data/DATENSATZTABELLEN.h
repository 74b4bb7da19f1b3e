#pragma once

// The tables that hold a record's rows: in each of them a record's rows are
// exactly the rows with its ID. Whatever deletes, copies or compares a record
// takes this one list, so that a table added here is never silently left out
// of one of them; a place that needs fewer tables says which and why.

#include <QStringList>

inline const QStringList& DATENSATZTABELLEN() {
    static const QStringList tabellen = {QStringLiteral("E1"), QStringLiteral("E2"),
                                         QStringLiteral("E3"), QStringLiteral("A1"),
                                         QStringLiteral("A2"), QStringLiteral("G0")};
    return tabellen;
}
