#pragma once

// VELD.projekt beside the working copy: on its first line the project
// database that the copy was made from, for a copy that names none inside
// itself and for programs that read it there. The project content the copy
// last met is kept inside the copy (KOPIEBASIS::PROJEKTSTAENDE); only a copy
// made before copies kept it has digests on the second line, read until its
// next Save; the program writes the first line alone. A copy left by a run on
// another project is never offered for this one, nor saved over it.

#include "platform/database/DatabaseFile.h"

#include <QList>
#include <QString>

namespace PROJEKTABDRUCK {

// The file beside a working copy.
QString HERKUNFTSDATEI(const QString& arbeitskopie);
// The project database it names (empty when it cannot be read), and the
// digests on the second line of an older copy's file.
QString HERKUNFT(const QString& datei);
QList<DatabaseMark> ABDRUECKE(const QString& datei);
// Written beside and renamed into place, so that it is read whole or not at
// all; a failure raises error 75 and leaves the file before as it was.
void SCHREIBEN(const QString& datei, const QString& projektdatenbank,
               const QList<DatabaseMark>& abdruecke);
// A path as the file names it: absolute and clean.
QString GLEICHNAMIG(const QString& pfad);
// The project a copy was made from, as the file names it: the folder of its
// project database; FREMD for a line that names no such database.
QString PROJEKTNAME(const QString& herkunft);
extern const QString FREMD;

} // namespace PROJEKTABDRUCK
