#pragma once

// The project's history of Saves, in VELD.verlauf beside its database: for
// every Save of this program, the project content it replaced, the content
// it wrote and the identifiers (DATENSATZSTAENDE's keys) of the records in
// which the two may differ. A content is named by its mark, which is a
// digest of what the file holds: an entry is true of those two contents
// whoever wrote it and whenever, and a chain of entries from the content a
// copy's base is of to the content the project holds now tells what others
// changed since. Where the project was written otherwise (another program,
// an older run, a copy put back), no chain leads to what it holds now, and
// the join reads it whole.

#include "platform/database/DatabaseFile.h"

#include <QSet>
#include <QString>
#include <optional>

namespace PROJEKTVERLAUF {

QString DATEI(const QString& projektdatenbank);

// Adds the Save from content `von` to content `nach`, which changed the
// records under `schluessel` only. Called once the project took `nach`, so
// that no entry names a content the project never held; the file is
// written beside and renamed into place, so that it is read whole or not
// at all, and keeps the newest entries only. A failure leaves it as it was,
// and two Saves that write it at the same moment may leave one entry out:
// a later join then reads more, and neither is a failure of the Save.
void EINTRAGEN(const QString& projektdatenbank, const DatabaseMark& von, const DatabaseMark& nach,
               const QSet<QString>& schluessel);

// The identifiers of the records in which content `nach` may differ from
// content `von`; nullopt where no chain of entries leads from one to the
// other (or either is unknown).
std::optional<QSet<QString>> GEAENDERT(const QString& projektdatenbank, const DatabaseMark& von,
                                       const DatabaseMark& nach);

// Whether content `inhalt` is one the project held, as an entry names it.
bool BEKANNT(const QString& projektdatenbank, const DatabaseMark& inhalt);

} // namespace PROJEKTVERLAUF
