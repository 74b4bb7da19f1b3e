// The project database is shared with the other users of the project and
// the laboratory's other programs. Inside the working copy lies the digest
// of the project as the copy was taken from it or last saved over it
// (KOPIEBASIS::PROJEKTSTAENDE). A Save compares the project with it under the
// project's write lock; where the project holds something else, the records
// decide: a Save that would remove nothing that the copy lacks goes on
// unasked, one that would is asked about, and the question names what a Ja
// removes (ARBEITSKOPIE_Speichern).

#include "arbeitskopie/ARBEITSKOPIE.h"

#include "arbeitskopie/PROJEKTABDRUCK.h"
#include "platform/database/Connection.h"
#include "platform/database/Transaction.h"
#include "platform/runtime/ErrorHandler.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/RuntimeError.h"

#include <QDir>

// The project database's digest as the working copy was taken from it or
// last saved over it (kept inside the copy, read through `ueber` where
// given), and its renewal outside a Save. Several where a Save was not
// known to end: the project is then either of them.
QList<DatabaseMark> ARBEITSKOPIE::PROJEKTABDRUECKE(Connection* ueber) {
    Connection& kopie = ueber ? *ueber : *m_DBPROJEKT;
    try {
        if (kopie.IsOpen())
            if (const auto staende = KOPIEBASIS::PROJEKTSTAENDE(kopie)) return *staende;
    } catch (const RuntimeError&) {
        // A copy that cannot tell is compared record by record.
        return {};
    }
    // A copy made before copies kept them: the digests beside it, until its
    // next Save keeps them inside.
    return PROJEKTABDRUCK::ABDRUECKE(PROJEKTABDRUCK::HERKUNFTSDATEI(m_dialog.XMDBPFAD()));
}

void ARBEITSKOPIE::PROJEKTABDRUECKESETZEN(const QList<DatabaseMark>& abdruecke) {
    // Not through the run's own connection: that the copy met the project
    // is no change of the user's. A copy that went from under the run is
    // not this run's to tell; a digest that cannot be written leaves the
    // ones before, which only make a Save compare the records.
    if (KOPIEVERSCHOBEN()) return;
    try {
        Connection kopie;
        kopie.SetConnectionTimeout(30);
        kopie.Open(m_dialog.XMDBPFAD());
        Transaction transaktion(kopie);
        KOPIEBASIS::PROJEKTSTAENDESETZEN(kopie, abdruecke);
        KOPIEBASIS::GESCHRIEBEN(kopie);
        transaktion.Commit();
    } catch (const RuntimeError&) {
    }
}
