#pragma once

// The user's working copy of the project database, for the whole of a run:
// the decision at start when a copy is still there, the copy's share among
// the user's runs, its state of unsaved changes, the project it was taken
// from, the Save over the project, the checks of the quit and the files that
// runs keep when their copy goes from under them. The main window holds one
// and calls it from its menus; the copy speaks to the user only through
// ARBEITSKOPIEDIALOG.
//
// Three kinds of mark, told apart by their names:
// - AENDERUNGSVERMERK: an empty file "<run>.<n>.geaendert" in the copy's
//   state folder for a change not yet saved (ARBEITSKOPIE_Aenderungsvermerke).
// - LAUFZEICHEN: the file "<run>.lauf" there that a live run holds locked
//   (ARBEITSKOPIE_Laufzeichen).
// - PROJEKTABDRUCK: VELD.projekt, which names the project the copy was
//   taken from, for a copy made before copies named it inside themselves
//   (PROJEKTABDRUCK.h).
// What each record of the copy was when the copy last met the project (its
// base, which tells this user's changes from others') is not a mark beside
// the copy but kept inside it, by every write, and owned by KOPIEBASIS; the
// Save's join (ZUSAMMENFUEHRUNG) keeps no state of its own.
//
// Its concerns, one file each: ARBEITSKOPIE_Start (the start's decision and
// a fresh copy), ARBEITSKOPIE_Anteil (the share among runs and its locks),
// ARBEITSKOPIE_Aenderungsvermerke, ARBEITSKOPIE_Laufzeichen,
// ARBEITSKOPIE_Projektbasis (the project the copy is based on),
// ARBEITSKOPIE_Speichern (the Save), ARBEITSKOPIE_Ende (the quit) and
// ARBEITSKOPIE_Abgeloest (the kept files).

#include "arbeitskopie/ARBEITSKOPIEDIALOG.h"
#include "arbeitskopie/DATENSATZSTAENDE.h"
#include "arbeitskopie/KOPIEBASIS.h"
#include "arbeitskopie/LAEUFE.h"
#include "arbeitskopie/ZUSAMMENFUEHRUNG.h"
#include "platform/database/DatabaseFile.h"
#include "platform/runtime/FileLock.h"
#include "platform/runtime/RuntimeError.h"

#include <QHash>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

class Connection;
class ErrorHandler;

class ARBEITSKOPIE {
public:
    // `kopie`: the connection that the whole run works on the copy through;
    // the copy opens it at start and closes it at the end.
    ARBEITSKOPIE(ARBEITSKOPIEDIALOG& dialog, std::shared_ptr<Connection> kopie);
    ~ARBEITSKOPIE();
    ARBEITSKOPIE(const ARBEITSKOPIE&) = delete;
    ARBEITSKOPIE& operator=(const ARBEITSKOPIE&) = delete;

    // Called, when set, at the points of a start where another start may
    // look at its locks: where it waits because another start decides about
    // the copy ("WARTET"), and where it has taken its locks and not yet
    // decided ("HALT"); where a Save's copy met the new project that is
    // not yet in place ("VORGEMERKT"); and in a store, where its change is
    // marked and not yet written ("VERMERKT") and where the command's write
    // is in the copy and its own mark not yet made ("GEAENDERT").
    static inline std::function<void(const char* stelle)> HALTEPUNKT;

    // Before the start decides: a copy that another run or program holds
    // for writing is waited for, and for a first start the project database
    // must be readable. A failure leaves through `eh`.
    void VORPRUEFEN(ErrorHandler& eh);
    // The start: the copy decided about, made or shared, and opened. False
    // when the start is to end at once, told why (or the session ended
    // meanwhile); true otherwise, also when it left through `eh`, whose
    // failure the start then tells.
    bool VORBEREITEN(ErrorHandler& eh);
    // What another run does with the copy, for a window that waits for the
    // database at `pfad`; empty when that is not the copy or nobody says.
    QString WARTETEXT(const QString& pfad) const;

    // Whether the copy holds changes that are not saved, of this run or of
    // any other run of the user on the copy (see m_BOGEAENDERT for the
    // senses of "changed"); and a command's word that it changed the copy
    // (true) or that its change is settled for this run (false).
    bool BOGEAENDERT();
    void SETZEBOGEAENDERT(bool geaendert);
    // What the copy (open through `kopie`, or at `arbeitskopie`) says of
    // itself: whether it holds unsaved work; true where it cannot tell.
    static bool KOPIEVERAENDERT(Connection& kopie);
    static bool KOPIEVERAENDERT(const QString& arbeitskopie);
    // The guard of every write into the copy: the change is marked before it
    // is written; a mark that cannot be written refuses the write. As the
    // copy's connection runs it, and what a rollback of the guarded
    // transaction takes back.
    void AENDERUNGVORMERKEN();
    void SCHREIBWACHE();
    void AENDERUNGZURUECKNEHMEN();
    // Before a write that changes only the selection, outside any
    // transaction: a run whose copy went from under it moves into its file
    // of its own now (see UMZIEHEN), so that the choice is written there and
    // not refused as a store would be.
    void AUSWAHLVORBEREITEN();

    // Whether this run's state is on the disk beside the copy (its folder
    // usable, its run mark there); a run that cannot know it changes nothing
    // in the copy and never deletes or replaces it. A run whose mark or
    // state folder went under it makes them anew where it can.
    bool ZUSTANDBEKANNT() const { return m_laeufe.ZUSTANDBEKANNT(); }
    void ZUSTANDERNEUERN() { m_laeufe.ZUSTANDERNEUERN(); }
    // The copy's state folder (empty before the start made it).
    QString ZUSTANDSORDNER() const { return m_laeufe.ZUSTAND(); }
    // This run alone decides about the copy: both locks held alone until
    // ENTSCHEIDUNGFREIGEBEN. Whether it does now.
    bool ALLEINENTSCHEIDEN() { return m_laeufe.ALLEINENTSCHEIDEN(); }
    void ENTSCHEIDUNGFREIGEBEN() { m_laeufe.ENTSCHEIDUNGFREIGEBEN(); }
    bool ENTSCHEIDET() const { return m_laeufe.ENTSCHEIDET(); }

    // Whether the file this run works on is no longer the working copy at
    // its path (replaced or deleted under the live run).
    bool KOPIEVERSCHOBEN() const;

    // The Save: the copy over the project, titled `titel`. A copy larger
    // than 10 MB is offered to `komprimieren` first (the question's Help
    // button opens `hilfedatei`). True when the project holds the copy.
    bool SPEICHERN(const QString& titel, const QString& hilfedatei,
                   const std::function<bool()>& komprimieren);
    // A file's size in MB, rounded to one decimal, as a Single.
    static float GROESSEMB(const QString& datei);
    // Whether something beside the program wrote into the copy since it
    // last met the project whole (see KOPIEBASIS::FREMD); and, after the
    // program rewrote the copy itself outside its journal (a compaction),
    // the copy told what was so before.
    bool FREMDGESCHRIEBEN();
    void KOMPRIMIERT(bool fremd);

    // The quit, in two steps around what the main window does itself (see
    // ARBEITSKOPIE_Ende for the whole order). The first, while the window
    // is still open: the save question (reason `grund` as the window's
    // QueryUnload has it, titled `titel`) and the checks before the copy
    // may go. False where the quit ends here (cancelled when `cancel`, or
    // the window unloaded meanwhile). The second, once the other windows
    // and databases are closed: the copy's connection is closed, the copy
    // deleted when the last run may, and every lock and mark of the run
    // given back.
    // A Yes to a question of the quit saves through `speichern`.
    bool BEENDENFRAGEN(ErrorHandler& eh, int grund, const QString& titel,
                       const std::function<bool()>& speichern, bool& cancel);
    void BEENDEN(ErrorHandler& eh);
    // A start that ends before its main window: the run's mark and locks go,
    // nothing else is touched.
    void STARTBEENDEN();

private:
    // The title of the copy's boxes where no command gives one.
    static inline const QString kTitel = QStringLiteral("VELD");
    // Journal files that belong to a database file; a stale one must never
    // meet a database it was not written for.
    static inline const QStringList kBeiDateien = {QStringLiteral("-journal"),
                                                   QStringLiteral("-wal"), QStringLiteral("-shm")};
    // A path as the file system functions take it.
    static std::filesystem::path FSPFAD(const QString& pfad);

    ARBEITSKOPIEDIALOG& m_dialog;
    std::shared_ptr<Connection> m_DBPROJEKT;

    // The start (ARBEITSKOPIE_Start).
    // Waits, with events running and a small window saying so, until no
    // other run decides about the copy; raises the wait cancelled (or the
    // session ended) or timed out, naming the copy.
    void ENTSCHEIDUNGABWARTEN(const QString& arbeitskopie);
    void FRISCHEKOPIE(const QString& arbeitskopie);
    // With the copy to itself: a copy that the engine's check finds damaged
    // is replaced (KOPIEERSETZEN). True when it was damaged (the copy's lock
    // is then shared again; m_abgebrochen when the start ends, told why);
    // false for a sound copy, still held alone. A copy that cannot be read
    // leaves through `eh`.
    bool BESCHAEDIGTEKOPIESICHERN(ErrorHandler& eh, const QString& arbeitskopie);
    // With the copy to itself: the damaged copy, or the copy of another
    // project (`fremdprojekt`), is put aside, a fresh copy of this project
    // takes its place, the marks that were the old copy's go, the copy's
    // lock is shared again and the user is told where the old copy lies.
    // False when the start is to end, told why (no fresh copy); true
    // otherwise, also when the copy could not be put aside and `eh` left.
    bool KOPIEERSETZEN(ErrorHandler& eh, const QString& arbeitskopie, const QString& fremdprojekt);
    void ARBEITSKOPIEOEFFNEN(const QString& arbeitskopie);
    // The project database the copy at `arbeitskopie` belongs to, as the
    // copy names it inside itself (or, for a copy that names none, the file
    // beside it); `fremderBenutzer` gets the user a copy of this project
    // names where that is another. A plain copy of the project file is made
    // this user's copy of that content here. And the user a copy at that
    // path belongs to (its folder's name).
    QString KOPIEHERKUNFT(const QString& arbeitskopie, QString& fremderBenutzer);
    static QString KOPIEBENUTZER(const QString& arbeitskopie);

    // The runs' share of the copy and their marks (LAEUFE).
    LAEUFE m_laeufe;
    // With the share of the copy refused: a copy that every lock beside it
    // finds left by its runs, with changes unsaved (true, the copy's lock
    // then held alone), and the question about it, which says that the
    // start cannot be sure (vbYes keeps the changes).
    bool UNGEWISSVERLASSEN();
    // The question about a copy that a gone run left with changes: kept on
    // purpose at a session's end, or left by an interrupted run. Either
    // names what a No drops; vbYes keeps the changes.
    int VERLASSENFRAGEN(const QString& arbeitskopie);
    // Whether a copy that a gone run left holds every record as its base
    // does: nothing unsaved, nothing to ask.
    bool VERLASSENUNVERAENDERT(const QString& arbeitskopie);
    // The project the copy is based on (ARBEITSKOPIE_Projektbasis).
    // The project database's digest as the working copy was taken from it or
    // last saved over it (kept inside the copy, read through `ueber` where
    // given), and its renewal outside a Save. Several where a Save was not
    // known to end: the project is then either of them.
    QList<DatabaseMark> PROJEKTABDRUECKE(Connection* ueber = nullptr);
    void PROJEKTABDRUECKESETZEN(const QList<DatabaseMark>& abdruecke);

    // The Save (ARBEITSKOPIE_Speichern).
    // One attempt of a Save to write the copy over the project, under the
    // project's write lock: Gespeichert (the project's new digest in
    // `abdruck`), Fremd (someone else wrote into the project since: its
    // digest as found in `abdruck`, nothing written, the lock given back) or
    // Fehlgeschlagen (a box said why, or `beschaedigt` / `abgebrochen` for
    // the boxes the Save shows after it). `bekannt`: the digests the project
    // may have to be overwritten unasked; `erlaubt`: the one the join found
    // and took what it held into the copy. A project whose digest cannot be
    // read is overwritten only while it holds the records that the join
    // last read (`gesehen`), compared under its write lock.
    struct SPEICHERVERSUCH {
        enum class Ausgang { Gespeichert, Fremd, Fehlgeschlagen };
        Ausgang ausgang = Ausgang::Fehlgeschlagen;
        DatabaseMark abdruck;
        QList<DatabaseMark> bekannt;
        bool beschaedigt = false;
        std::optional<RuntimeError> abgebrochen;
    };
    SPEICHERVERSUCH SPEICHERNVERSUCHEN(ErrorHandler& eh, const std::optional<DatabaseMark>& erlaubt,
                                       const std::optional<DATENSATZSTAENDE>& gesehen);
    // A Save left open in the copy (killed between its steps) settled by
    // the project content `projekt`, in the caller's transaction on `kopie`.
    void BASISKLAEREN(Connection& kopie, const DatabaseMark& projekt);
    // Whether the project content `projekt` is what a Save wrote
    // (`geschrieben`) or came from it by Saves that the project's history
    // tells.
    bool GELANDET(const DatabaseMark& geschrieben, const DatabaseMark& projekt);
    // The join (ARBEITSKOPIE_Zusammenfuehren).
    // The user's answers for records both sides changed, each for the
    // versions (the copy's and the project's digests) the record had when
    // asked: true keeps this user's version. A later join of the same Save
    // that finds a record with the same versions takes its answer without
    // asking again; a record whose version changed meanwhile is asked about
    // anew.
    using ENTSCHEIDUNGEN = QHash<QString, QPair<QByteArray, bool>>;
    // What came from the project into the copy because only others changed
    // it, by name, and whether they had deleted it.
    using UEBERNAHMEN = QHash<QString, bool>;
    // The project's records that only someone else changed come into the
    // copy; records both changed are asked about (Yes: this user's, No: the
    // project's, Cancel: nothing). False when the Save is to end (cancelled,
    // the session ended, or a failure its box told). `gelesen` gets the mark
    // of the project content the join last read, and `gesehen` its records
    // where the join read them all (nullopt where it read only what changed).
    bool ZUSAMMENFUEHREN(ErrorHandler& eh, const QString& titel, ENTSCHEIDUNGEN& entscheidungen,
                         UEBERNAHMEN& uebernommen, std::optional<DATENSATZSTAENDE>& gesehen,
                         DatabaseMark& gelesen, bool fragen = true);
    // At a start that keeps a copy whose lock the file system refuses: the
    // copy brought up to the project, unasked (see ARBEITSKOPIE_Zusammenfuehren).
    void AUFFRISCHEN(ErrorHandler& eh);
    int KONFLIKTFRAGEN(const QString& titel, const QStringList& schluessel,
                       const ZUSAMMENFUEHRUNG& plan, const DATENSATZSTAENDE& kopie,
                       const DATENSATZSTAENDE& projekt, bool ohneBasis);
    // The status bar's line of what came from others (nothing for none).
    void UEBERNAHMENMELDEN(const UEBERNAHMEN& uebernommen);
    // The project's own rows and a record without an identifier as a box
    // names them.
    QString MEHRFACHNAME() const;
    QString OHNEKENNUNGNAME() const;

    // The quit (ARBEITSKOPIE_Ende).
    // The records that only the copy holds as they are: neither the project
    // nor the copy's base holds them so (what a deletion of the copy loses),
    // named as a box names them; nullopt where that cannot be told.
    std::optional<QStringList> NURINKOPIE(const std::optional<KOPIEBASIS::STAENDE>& kopie);
    // What a copy holds, record by record, and its base; nullopt where it
    // cannot be read.
    static std::optional<KOPIEBASIS::STAENDE> KOPIESTAENDE(Connection& kopie);
    // Whether the copy holds every record as its base does, whatever its
    // marks say (a selection changed only); false where that cannot be told.
    bool UNVERAENDERT(const std::optional<KOPIEBASIS::STAENDE>& kopie);
    // The line a question adds that names what its No drops (empty where
    // that is nothing), for what NURINKOPIE found.
    QString NEINVERWIRFT(const std::optional<QStringList>& nur) const;
    // The locks and the run mark given back.
    void FREIGEBEN();

    // The refusal of a write into a copy that is no longer at its path,
    // naming it (ARBEITSKOPIE.cpp, with KOPIEVERSCHOBEN and these helpers).
    RuntimeError KOPIEVERSCHOBENFEHLER() const;
    // A database written under a temporary name takes its place at `ziel`
    // carrying this run's share (in `anteil`, released where the file
    // system refuses the lock): a start meanwhile never finds it without
    // its live run. Raises the rename's error.
    static void BELEGTUMBENENNEN(const QString& neu, const QString& ziel, FileLock& anteil);
    // A list of records as a box shows it: at most `hoechstens`, then how
    // many more.
    QString AUFZAEHLUNG(const QStringList& kennungen, int hoechstens = 20) const;

    // The kept files (ARBEITSKOPIE_Abgeloest).
    // What this run wrote into a copy that is no longer at its path goes
    // into a file of its own beside the copy, named in a box; false when it
    // could not be kept (the box said why). A run that stored nothing since
    // its last Save keeps no file. `still`: at the session's end, without a
    // box. `fehler`, when given, takes the failure in place of the error
    // box.
    bool ABGELOESTEKOPIESICHERN(const QString& titel, bool still = false,
                                std::optional<RuntimeError>* fehler = nullptr);
    // The quit of a run whose copy was replaced or deleted under it keeps
    // what the run stored; where that cannot be kept, the user is told why
    // the program stays open and may end it all the same, told what is
    // then lost. True when the run ends.
    bool ABGELOESTBEENDEN(const QString& titel);
    // At start, with the copy open and the decision held: the files that
    // such runs kept beside the copy are told once, and the records they
    // hold that the project and the copy lack are offered to the copy.
    void ABGELOESTEANBIETEN();
    // The records (key, identifier) of `quelle` whose identifier neither
    // the database at `kopie` (when there) nor the project holds.
    QList<QPair<int32_t, QString>> FEHLENDEDATENSAETZE(Connection& quelle, const QString& kopie);
    // A write refused because the copy went from under the run: the run
    // takes a name of its own beside the copy (UMZUGVORBEREITEN, in the
    // refused write), and once the write is over keeps what it has there
    // and works on in that file (UMZIEHEN), so that what the user stores
    // next is kept where the next start finds it. ABLEGEN writes such a
    // file: the run's file and the project it belongs to.
    void UMZUGVORBEREITEN();
    void UMZIEHEN();
    void ABLEGEN(const QString& ziel);
    // The kept files of this user's folder (not empty, not this run's own),
    // the project a kept file names (nullopt for a file kept before files
    // named it), whether two paths are one file, and a kept file put aside
    // as done (its new name).
    QStringList ABGELEGTEDATEIEN() const;
    static std::optional<QString> ABGELEGTEHERKUNFT(Connection& quelle);
    static bool DIESELBEDATEI(const QString& a, const QString& b);
    QString ABGELEGTEBEISEITELEGEN(const QString& datei, const QString& kopie,
                                   const QString& zusatz = QStringLiteral("uebernommen"));
    // What a kept file holds of its run's work, set beside the project (and
    // the working copy, where given) by the file's own base as the Save's
    // join sets a copy beside it: keys the run added, changed or deleted
    // that someone else did not change since, keys both changed (and what
    // each side did), and, for a file without a base, keys held otherwise
    // where the project was changed since the file was kept
    // (`projektSeither`), which are the run's only when the user says so.
    // What the run never touched is in none of them. `erledigt`: the
    // project holds all of the run's work.
    struct ABGELEGTEARBEIT {
        QStringList neu, geaendert, geloescht, zweifel;
        QHash<QString, ZUSAMMENFUEHRUNG::ART> beide;
        bool erledigt = false;
        // What a Yes takes.
        QStringList NEHMEN() const;
    };
    static ABGELEGTEARBEIT ABGELEGTEARBEITLESEN(const KOPIEBASIS::STAENDE& datei,
                                                const DATENSATZSTAENDE* projekt,
                                                const DATENSATZSTAENDE* kopie, bool projektSeither);
    // The offer of one kept file (vbYes takes, vbNo lets go, vbCancel keeps
    // it for a later start), naming `hier` (the file's records) and `dort`.
    int ABGELEGTEFRAGEN(const QString& datei, bool ohneHerkunft, bool ohneBasis,
                        const ABGELEGTEARBEIT& arbeit, const DATENSATZSTAENDE& hier,
                        const DATENSATZSTAENDE& dort);
    // The status line of files put aside, done or let go.
    void BEISEITEGELEGTMELDEN(const QStringList& erledigt, const QStringList& verworfen);
    // Takes a kept file for this run alone; false while its run lives (or
    // the lock fails otherwise).
    static bool ABGELEGTSPERREN(FileLock& sperre, const QString& datei);
    // Whether the file at m_abgelegt is still this run's own.
    bool EIGENEABLAGE() const;
    // After a Save: the kept files whose records the project now holds as
    // they do are put aside, told in the status bar.
    void ABGELEGTEERLEDIGEN();
    // The table of a kept file that names its project.
    static inline const QString kHerkunftstabelle = QStringLiteral("VELD_HERKUNFT");
    // Moves the copy (and a journal left with it) to a free name beside it,
    // "VELD_<zusatz>.mdb" or "VELD_<zusatz>_<n>.mdb", and returns that name.
    QString KOPIEBEISEITELEGEN(const QString& arbeitskopie, const QString& zusatz);
    // A free name "VELD_<zusatz>.mdb" or "VELD_<zusatz>_<n>.mdb" beside the
    // copy, taken by making an empty file under it.
    static QString FREIERNAME(const QString& arbeitskopie, const QString& zusatz);

    // m_eigeneAenderung: this run wrote into its copy since its own last
    // Save, marked or not, whatever another run's Save did with the marks.
    // It is what a run whose copy was replaced or deleted under it keeps in
    // a file of its own; cleared by its Save and by that file.
    bool m_eigeneAenderung = false;
    // The file this run keeps its work in since its copy went from under
    // it (empty before): written anew with every keep. The run moves into
    // it (m_umziehen until it did, m_umgezogen after).
    QString m_abgelegt;
    bool m_umziehen = false;
    bool m_umgezogen = false;
    // Held shared on one byte of that file once the run wrote it, for the
    // whole run: another run neither offers nor puts aside a file whose run
    // lives, and a run whose file is no longer at its name takes a new one.
    FileLock m_abgelegtanteil{LAEUFE::kAnteilsbyte};
    // The start ends, told why, after a damaged copy could not be replaced.
    bool m_abgebrochen = false;
    // As the last run the user chose not to save the copy's changes.
    bool m_verworfen = false;
};
