#pragma once

// The files a run keeps beside the working copy when its copy is replaced
// or deleted under it (VELD_ersetzt*.mdb), as one run sees them:
// - its own: what it stored since its last Save (and what another program
//   wrote into its copy) is written into a file of its own (SICHERN), from
//   the database the run holds open, whatever file has come to the copy's
//   path since; the file is found under its name whole or not at all. The
//   run moves into that file to work on (UMZUGVORBEREITEN, then UMZIEHEN
//   once the refused write is over); a quit that cannot keep it says why
//   the program stays open (BEENDEN);
// - the other runs': the next start offers, one file a box, what each run
//   added, changed or deleted, set beside the file's base and the project
//   as the Save's join does (ANBIETEN); after a Save, the files whose work
//   the project now holds are put aside as done (ERLEDIGEN). A file is
//   only put aside, never deleted, and never while its run lives.
// The working copy (ARBEITSKOPIE) holds one for its run.

#include "arbeitskopie/ARBEITSKOPIEDIALOG.h"
#include "arbeitskopie/DATENSATZSTAENDE.h"
#include "arbeitskopie/KOPIEBASIS.h"
#include "arbeitskopie/LAEUFE.h"
#include "arbeitskopie/ZUSAMMENFUEHRUNG.h"
#include "platform/runtime/FileLock.h"
#include "platform/runtime/RuntimeError.h"

#include <QHash>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class Connection;

class ABLAGE {
public:
    // `kopie`: the connection the run works on the copy through.
    ABLAGE(ARBEITSKOPIEDIALOG& dialog, std::shared_ptr<Connection> kopie);
    // A name taken for a file that was never written is given back.
    ~ABLAGE();
    ABLAGE(const ABLAGE&) = delete;
    ABLAGE& operator=(const ABLAGE&) = delete;

    // This run wrote into its copy since its own last Save, marked or not,
    // whatever another run's Save did with the marks: what a run whose copy
    // went from under it keeps. Cleared by its Save and by its file.
    void EIGENEAENDERUNG(bool geaendert) { m_eigeneAenderung = geaendert; }
    bool EIGENEAENDERUNG() const { return m_eigeneAenderung; }
    // Whether a run whose copy went has work to keep: what it stored since
    // its last Save, or, while it keeps no file yet, a copy that another
    // program wrote into (nobody can tell what of it is saved, so it is
    // kept like any unsaved work).
    bool ZUBEHALTEN();

    // Whether the file this run works on is no longer the working copy at
    // its path (replaced or deleted under the live run, or the run moved
    // into its own file), and the refusal of a write into it, naming it.
    bool VERSCHOBEN() const;
    bool UMGEZOGEN() const { return m_umgezogen; }
    RuntimeError VERSCHOBENFEHLER() const;
    // In a refused write: the run takes a name of its own beside the copy,
    // and moves into it once the write is over. Before a write that changes
    // only the selection, outside any transaction, it moves at once.
    void UMZUGVORBEREITEN();
    void AUSWAHLVORBEREITEN();

    // What this run stored into a copy that is no longer at its path goes
    // into its own file, named in a box; false when it could not be kept
    // (the box said why). A run that stored nothing since its last Save
    // keeps no file. `still`: at the session's end, without a box.
    // `fehler`, when given, takes the failure in place of the error box.
    bool SICHERN(const QString& titel, bool still = false,
                 std::optional<RuntimeError>* fehler = nullptr);
    // The quit of such a run: where its work cannot be kept, the user is
    // told why the program stays open and may end it all the same, told
    // what is then lost. True when the run ends.
    bool BEENDEN(const QString& titel);

    // At start, with the copy open, the decision held and the state known:
    // the other runs' files are told once, and their work offered.
    void ANBIETEN();
    // After a Save: the files whose work the project now holds go aside.
    void ERLEDIGEN();

private:
    ARBEITSKOPIEDIALOG& m_dialog;
    std::shared_ptr<Connection> m_kopie;

    // What a kept file holds of its run's work, set beside the project (and
    // the working copy, where given) by the file's own base as the Save's
    // join sets a copy beside it: keys the run added, changed or deleted
    // that someone else did not change since, keys both changed (and what
    // each side did), and, for a file without a base, keys held otherwise
    // where the project was changed since the file was kept
    // (`projektSeither`), which are the run's only when the user says so.
    // A file whose base did not see every write into its run's copy
    // (`fremd`) adds to what its base tells every record it holds otherwise
    // than the project, as a file without a base does. What the run never
    // touched is in none of them. `erledigt`: the project holds all of the
    // run's work.
    struct ARBEIT {
        QStringList neu, geaendert, geloescht, zweifel;
        QHash<QString, ZUSAMMENFUEHRUNG::ART> beide;
        bool erledigt = false;
        // What a Yes takes.
        QStringList NEHMEN() const;
    };
    static ARBEIT ARBEITLESEN(const KOPIEBASIS::STAENDE& datei, const DATENSATZSTAENDE* projekt,
                              const DATENSATZSTAENDE* kopie, bool projektSeither, bool fremd);
    // The offer of one kept file (vbYes takes, vbNo lets go, vbCancel keeps
    // it for a later start), naming `hier` (the file's records) and `dort`.
    int FRAGEN(const QString& datei, bool ohneHerkunft, bool ohneBasis, const ARBEIT& arbeit,
               const DATENSATZSTAENDE& hier, const DATENSATZSTAENDE& dort);
    // The status line of files put aside, done or let go.
    void BEISEITEGELEGTMELDEN(const QStringList& erledigt, const QStringList& verworfen);
    // The kept files of this user's folder (not empty, not this run's own),
    // the project a kept file names (nullopt for a file kept before files
    // named it), and a file taken for this run alone (false while its run
    // lives, or the lock fails otherwise).
    QStringList DATEIEN() const;
    static std::optional<QString> HERKUNFT(Connection& quelle);
    static bool SPERREN(FileLock& sperre, const QString& datei);
    // The records (key, identifier) of `quelle` whose identifier neither
    // the database at `kopie` (when there) nor the project holds.
    QList<QPair<int32_t, QString>> FEHLENDEDATENSAETZE(Connection& quelle, const QString& kopie);
    // A name for the run's own file, taken unless it has one (its file, or
    // a name taken and not yet written); the file written anew from the
    // run's copy, whole, naming the project it belongs to; the move into
    // it; whether the file at m_abgelegt is still this run's own.
    void NAMENEHMEN();
    void ABLEGEN();
    void UMZIEHEN();
    bool EIGENEABLAGE() const;

    // The table of a kept file that names its project.
    static inline const QString kHerkunftstabelle = QStringLiteral("VELD_HERKUNFT");

    bool m_eigeneAenderung = false;
    // The file this run keeps its work in since its copy went from under
    // it (empty before): written anew with every keep. Until its first
    // keep, only its name is taken (m_vorgemerkt). The run moves into it
    // (m_umziehen until it did, m_umgezogen after).
    QString m_abgelegt;
    bool m_vorgemerkt = false;
    bool m_umziehen = false;
    bool m_umgezogen = false;
    // Held shared on one byte of that file once the run wrote it, for the
    // whole run: another run neither offers nor puts aside a file whose run
    // lives, and a run whose file is no longer at its name takes a new one.
    FileLock m_abgelegtanteil{LAEUFE::kAnteilsbyte};
};
