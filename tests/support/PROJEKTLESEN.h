#pragma once

// What a project database holds, read for the tests' assertions.

#include <QString>

// The records' identifiers (E1.KEN) in key order, joined by ",".
QString KENNUNGENLESEN(const QString& datenbank);
// The comment (E1.KOM) of the record with the key `id`; empty without one.
QString KOMMENTARLESEN(const QString& datenbank, int id);
