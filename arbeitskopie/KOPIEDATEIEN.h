#pragma once

// The files beside the working copy as the copy handles them: free names
// taken by making the file, files put aside under such a name (never
// deleted), a new database taking the copy's place with its run's share on
// it, and how the copy's boxes name the title and lists of records.

#include "platform/runtime/FileLock.h"

#include <QString>
#include <QStringList>
#include <filesystem>

namespace KOPIEDATEIEN {

// The title of the copy's boxes where no command gives one.
inline const QString kTitel = QStringLiteral("VELD");
// Journal files that belong to a database file; a stale one must never meet
// a database it was not written for.
inline const QStringList kBeiDateien = {QStringLiteral("-journal"), QStringLiteral("-wal"),
                                        QStringLiteral("-shm")};
// A path as the file system functions take it.
std::filesystem::path FSPFAD(const QString& pfad);
// Whether two paths are one file.
bool DIESELBEDATEI(const QString& a, const QString& b);
// A free name "VELD_<zusatz>.mdb" or "VELD_<zusatz>_<n>.mdb" beside the copy,
// taken by making an empty file under it; raises why none can be made.
QString FREIERNAME(const QString& arbeitskopie, const QString& zusatz);
// The same for a database still to be written: the name is taken by making
// the empty file "<name>.neu", where the database is then written whole and
// from where it is renamed to the name; nothing but a whole file is ever
// found under the name itself.
inline const QString kNeu = QStringLiteral(".neu");
QString NAMEVORMERKEN(const QString& arbeitskopie, const QString& zusatz);
// Moves the copy (and a journal left with it) to such a name, and returns
// it; a file kept beside the copy likewise (a move that fails is told as a
// failure of the file's access).
QString KOPIEBEISEITELEGEN(const QString& arbeitskopie, const QString& zusatz);
QString BEISEITELEGEN(const QString& datei, const QString& arbeitskopie,
                      const QString& zusatz = QStringLiteral("uebernommen"));
// A database written under a temporary name takes its place at `ziel`
// carrying its run's share (in `anteil`, released where the file system
// refuses the lock): a start meanwhile never finds it without its live run.
// Raises the rename's error.
void BELEGTUMBENENNEN(const QString& neu, const QString& ziel, FileLock& anteil);

// A list of records as a box shows it, in the language `sprache` (1
// English): at most `hoechstens`, then how many more. The project's own
// rows and a record without an identifier as a box names them.
QString AUFZAEHLUNG(int sprache, const QStringList& kennungen, int hoechstens = 20);
QString MEHRFACHNAME(int sprache);
QString OHNEKENNUNGNAME(int sprache);

} // namespace KOPIEDATEIEN
