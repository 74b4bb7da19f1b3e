#pragma once

// The base of the working copy: what each record of the copy was when the
// copy last met the project (taken from it, or written over it by a Save).
// A Save into a project that someone else wrote into since sets the copy
// and the project beside it, record by record.
//
// While the copy holds no unsaved change, its base is the copy itself and
// no file is needed. So the base is written only before the first change
// after a Save or a start (by the guard of that write, before its change
// mark), and stays until the next Save: it survives a kill, every run of
// the user reads the same file, and a compaction leaves it alone. A copy
// with unsaved changes and no base file (made before the base was kept)
// has no base: its Save asks about every record held otherwise.

#include "arbeitskopie/DATENSATZSTAENDE.h"

#include <QString>
#include <optional>

namespace BASIS {

// The base file in the copy's state folder.
QString DATEI(const QString& zustandsordner);

// Writes the base whole or not at all (a new file renamed over the old one,
// on the disk before it takes its name). False when it could not be written.
bool SCHREIBEN(const QString& datei, const DATENSATZSTAENDE& staende);

// The base in the file; nullopt without one, or for a file that is not one.
std::optional<DATENSATZSTAENDE> LESEN(const QString& datei);

} // namespace BASIS
