#pragma once

// VELD.projekt beside the working copy: on its first line the project
// database that the copy was made from; on its second the digests of that
// database as it was when the copy was taken from it or last saved over it,
// so that a Save knows whether anybody else wrote into the project since. A
// copy left by a run on another project is never offered for this one, nor
// saved over it.

#include "platform/database/DatabaseFile.h"

#include <QList>
#include <QString>

namespace PROJEKTABDRUCK {

// The file beside a working copy.
QString HERKUNFTSDATEI(const QString& arbeitskopie);
// The project database it names (empty when it cannot be read), and the
// digests on its second line.
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
