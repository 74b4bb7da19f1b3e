// The project database is shared with the other users of the project and
// the laboratory's other programs. Beside the working copy (VELD.projekt)
// lies the digest of the project (PROJEKTABDRUCK) as the copy was taken from
// it or last saved over it. A Save compares the project with it under the
// project's write lock; where the project holds something else, the records
// decide: a Save that would remove nothing that the copy lacks goes on
// unasked, one that would is asked about, and the question names what a Ja
// removes (ARBEITSKOPIE_Speichern).

#include "arbeitskopie/ARBEITSKOPIE.h"

#include "arbeitskopie/PROJEKTABDRUCK.h"
#include "platform/database/Connection.h"
#include "platform/runtime/ErrorHandler.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/RuntimeError.h"

#include <QDir>

QList<DatabaseMark> ARBEITSKOPIE::PROJEKTABDRUECKE() {
    return PROJEKTABDRUCK::ABDRUECKE(PROJEKTABDRUCK::HERKUNFTSDATEI(m_dialog.XMDBPFAD()));
}

void ARBEITSKOPIE::PROJEKTABDRUECKESETZEN(const QList<DatabaseMark>& abdruecke) {
    m_eigeneprojektabdruecke = abdruecke;
    // A digest that cannot be written leaves the line before as it was, and
    // with it the project the copy belongs to: an older one only makes a
    // Save compare the records, it never lets one overwrite another's work.
    try {
        PROJEKTABDRUCK::SCHREIBEN(PROJEKTABDRUCK::HERKUNFTSDATEI(m_dialog.XMDBPFAD()),
                                  m_dialog.PROJEKTDATENBANK(), abdruecke);
    } catch (const RuntimeError&) {
    }
}
