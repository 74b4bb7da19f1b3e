// The quit as the working copy sees it. Its order, in one place:
//
// While the window is open (the window's MDIForm_QueryUnload):
//  1. A run whose copy was replaced or deleted under it keeps what it stored
//     (or what another program wrote into the copy) in a file of its own
//     (ABLAGE) and asks nothing more.
//  2. Otherwise, on a close by the user or by the program (not at a
//     session's end), the run tries to decide alone (ALLEINENTSCHEIDEN): the
//     last run answers for the changes of every run, holding the copy alone
//     from its question to its end, so that no run starts or dies unseen in
//     between.
//  3. A run without changes is asked nothing: neither one whose copy holds
//     every record as its base does (whatever the marks say),
//     nor one whose copy holds what the project lacks (someone removed it
//     from the project on purpose, since every Save joins what others wrote).
//  4. With changes: the save question; for the last run, whose No deletes
//     the copy, it names the records that only the copy holds as they are;
//     for another, whose No leaves them to the runs that go on, what the
//     copy holds unsaved.
//     Yes saves, Cancel or a failed Save keeps the window open and gives
//     the decision back.
//  (The window then brings the frame program back.)
//
// Once the window is unloading (its MDIForm_Unload, BEENDEN below), after
// the window has closed the other windows and the ARCHIV and VORGABE
// connections:
//  5. Whether the copy moved is read while its connection is open; then the
//     connection is closed.
//  6. The last run (decided anew) deletes the copy unless it holds changes
//     nobody was asked about (a session's end); such a copy stays, marked
//     as kept, and the next start offers its records by name.
//  7. The run mark goes, the decision and the locks are given back; the
//     share of the copy only once its connection is closed.

#include "arbeitskopie/ARBEITSKOPIE.h"

#include "arbeitskopie/KOPIEDATEIEN.h"
#include "arbeitskopie/PROJEKTABDRUCK.h"
#include "arbeitskopie/TAETIGKEIT.h"
#include "platform/database/Connection.h"
#include "platform/runtime/ErrorHandler.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/RuntimeError.h"

#include <QFile>
#include <QFileInfo>
#include <filesystem>

namespace {
void loeschen(const QString& datei) {
    const std::filesystem::path pfad(QFile::encodeName(datei).toStdString());
    if (!std::filesystem::exists(pfad)) return;
    // A read-only copy is not forced.
    if (!QFileInfo(datei).isWritable()) throw StandardError(70);
    std::filesystem::remove(pfad);
}
} // namespace

bool ARBEITSKOPIE::BEENDENFRAGEN(ErrorHandler& eh, int grund, const QString& titel,
                                 const std::function<bool()>& speichern, bool& cancel) {
    bool frage = false;
    bool letzter = false;
    // What the copy holds, read once for the quit's checks.
    std::optional<KOPIEBASIS::STAENDE> kopiestaende;
    // Step 1: a run whose copy was replaced or deleted under it has no say
    // about the copy now at the path: what it stored itself and did not
    // save, or what another program wrote into the copy, is kept in a file
    // of its own, and it ends. While that cannot be
    // kept, it stays, unless the user, told why and what is lost, ends it
    // all the same.
    if (KOPIEVERSCHOBEN()) {
        if (m_ablage.ZUBEHALTEN() && grund == 2) {
            m_ablage.SICHERN(titel, true);
        } else if (m_ablage.ZUBEHALTEN() && !m_ablage.BEENDEN(titel)) {
            if (m_dialog.GELADEN()) cancel = true;
            return false;
        }
        if (!m_dialog.GELADEN()) return false;
    } else if (grund == 0 || grund == 1) {
        // Step 2.
        letzter = ALLEINENTSCHEIDEN();
        if (letzter) TAETIGKEIT::MELDEN(m_laeufe.ZUSTAND(), TAETIGKEIT::FRAGE);
        // Step 3: for the last run, whose No or end deletes the copy, the
        // copy tells, whichever run wrote and whatever became of the marks;
        // another run goes by the commands' marks, as its No drops nothing.
        // A selection, a test opened and left as it was, is nothing to save
        // or lose. Without a base, the question comes.
        frage = letzter ? m_laeufe.UNVERMERKT() || KOPIEVERAENDERT(*m_DBPROJEKT) : BOGEAENDERT();
        if (frage) kopiestaende = KOPIESTAENDE(*m_DBPROJEKT);
        if (frage && UNVERAENDERT(kopiestaende)) frage = false;
    }
    // Step 4.
    if (frage) {
        // The last run's No deletes the copy: the question names what is
        // then lost, the records that only the copy holds as they are.
        // Another run's No loses nothing: the question names what stays
        // unsaved, and who has it then.
        const QString zusatz = letzter ? NEINVERWIRFT(NURINKOPIE(kopiestaende))
                                       : NEINBLEIBT(kopiestaende);
        const std::optional<int> antwort = eh.Value([&] {
            return m_dialog.SPRACHE() == 1
                       ? m_dialog.FRAGEN(QStringLiteral("Do you want to save changes to project ") +
                                             m_dialog.PROJEKT() + QStringLiteral("?") + zusatz,
                                         vbYesNoCancel + vbQuestion, titel)
                       : m_dialog.FRAGEN(QStringLiteral("Sollen die Änderungen in Projekt ") +
                                             m_dialog.PROJEKT() +
                                             QStringLiteral(" gespeichert werden?") + zusatz,
                                         vbYesNoCancel + vbQuestion, titel);
        });
        // The session ended while the question waited: its answer counts no
        // more, the window is unloaded.
        if (!m_dialog.GELADEN()) return false;
        if (antwort && *antwort == vbCancel) {
            ENTSCHEIDUNGFREIGEBEN();
            cancel = true;
            return false;
        }
        if (antwort && *antwort == vbYes) {
            // Changes that could not be saved keep the program running with
            // its working copy, rather than being deleted with it.
            const bool gespeichert = speichern();
            if (!m_dialog.GELADEN()) return false;
            if (!gespeichert) {
                ENTSCHEIDUNGFREIGEBEN();
                cancel = true;
                return false;
            }
        }
        if (antwort && *antwort == vbNo) m_verworfen = m_laeufe.ENTSCHEIDET();
    } else {
        cancel = false;
    }
    return true;
}

// The line of a run's question while other runs of the user go on: what
// the copy holds unsaved (a record held otherwise than its base, deletions
// too), which a No leaves in the copy for them.
QString ARBEITSKOPIE::NEINBLEIBT(const std::optional<KOPIEBASIS::STAENDE>& kopie) const {
    const bool en = m_dialog.SPRACHE() == 1;
    QString namen;
    if (kopie && kopie->basis) {
        const DATENSATZSTAENDE& k = kopie->kopie;
        const DATENSATZSTAENDE& b = *kopie->basis;
        QStringList geaendert, geloescht;
        for (auto it = k.Staende().cbegin(); it != k.Staende().cend(); ++it) {
            const auto* vorher = b.Stand(it.key());
            if (!vorher || vorher->inhalt != it->inhalt) geaendert << it.key();
        }
        for (auto it = b.Staende().cbegin(); it != b.Staende().cend(); ++it)
            if (!k.Stand(it.key())) geloescht << it.key();
        const QString mehrfach = KOPIEDATEIEN::MEHRFACHNAME(m_dialog.SPRACHE());
        const QString ohne = KOPIEDATEIEN::OHNEKENNUNGNAME(m_dialog.SPRACHE());
        QStringList alle = ZUSAMMENFUEHRUNG::NAMEN(geaendert, k, b, mehrfach, ohne);
        for (const QString& name : ZUSAMMENFUEHRUNG::NAMEN(geloescht, k, b, mehrfach, ohne))
            alle << name + (en ? QStringLiteral(" (deleted)") : QString::fromUtf8(" (gelöscht)"));
        namen = KOPIEDATEIEN::AUFZAEHLUNG(m_dialog.SPRACHE(), alle);
    }
    if (en)
        return QStringLiteral("\r\n") +
               (namen.isEmpty() ? QStringLiteral("No leaves the changes")
                                : QStringLiteral("Unsaved: ") + namen +
                                      QStringLiteral(". No leaves them")) +
               QStringLiteral(" in the working copy, where your other run of VELD goes on "
                              "working; it can save them later.");
    return QStringLiteral("\r\n") +
           (namen.isEmpty() ? QString::fromUtf8("Bei Nein bleiben die Änderungen")
                            : QString::fromUtf8("Ungespeichert sind: ") + namen +
                                  QString::fromUtf8(". Bei Nein bleiben sie")) +
           QString::fromUtf8(" in der Arbeitskopie, in der Ihr anderer VELD-Lauf weiterarbeitet; "
                             "er kann sie später speichern.");
}

void ARBEITSKOPIE::BEENDEN(ErrorHandler& eh) {
    // Step 5.
    const bool verschoben = KOPIEVERSCHOBEN();
    eh.Run([&] { m_DBPROJEKT->Close(); });

    // Step 6: a copy that another run of this user still works on stays,
    // with its state. The last run deletes it when it holds no unsaved
    // changes or the user chose not to save them; otherwise nobody was asked
    // about them here (the session ends, or the other runs ended or died
    // only after this run's question), and the copy stays for the next
    // start, which offers it again.
    // A run whose copy was replaced or deleted under it never deletes the
    // file now at the path.
    // Whether it holds unsaved work is asked of the copy once this run is
    // the last: nobody writes into it then.
    const bool letzter = !verschoben && ALLEINENTSCHEIDEN();
    if (letzter &&
        (m_verworfen || (!m_laeufe.UNVERMERKT() && !KOPIEVERAENDERT(m_dialog.XMDBPFAD())))) {
        if (eh.Run([&] {
                const QString arbeitskopie = m_dialog.XMDBPFAD();
                loeschen(arbeitskopie);
                QFile::remove(PROJEKTABDRUCK::HERKUNFTSDATEI(arbeitskopie));
            }))
            m_laeufe.LEEREN();
    } else if (letzter && m_laeufe.ZUSTANDSFEHLER().isEmpty() && !m_laeufe.ZUSTAND().isEmpty()) {
        // Nobody was asked about the changes (the session ended): the next
        // start offers them as what they are, not as an interrupted run's.
        LAEUFE::FESTANLEGEN(m_laeufe.BEHALTENVERMERK());
    }
    // Step 7.
    FREIGEBEN();
}

void ARBEITSKOPIE::STARTBEENDEN() {
    // The start decided nothing: it hands back what it holds, and deletes
    // nothing (another run may be at work on the copy).
    FREIGEBEN();
}

void ARBEITSKOPIE::FREIGEBEN() {
    m_laeufe.FREIGEBEN(m_DBPROJEKT->IsOpen());
}
