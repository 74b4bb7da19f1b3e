#pragma once

// The tables that hold a test (a record): its general data E1 first, then
// its readings, results and curve, and the diagram's layout G0. Every place
// that copies, deletes or compares a record whole takes its tables from
// this one list; a place that needs fewer filters it and says why, so that
// a table added here is never silently missing elsewhere.

#include <QStringList>

inline const QStringList& DATENSATZTABELLEN() {
    static const QStringList namen = {QStringLiteral("E1"), QStringLiteral("E2"),
                                      QStringLiteral("E3"), QStringLiteral("A1"),
                                      QStringLiteral("A2"), QStringLiteral("G0")};
    return namen;
}
