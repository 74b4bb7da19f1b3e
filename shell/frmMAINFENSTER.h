#pragma once

// frmMAIN, the main window: a multiple-document window with the menu bar and
// the status bar stbMAIN. It runs the start-up (MDIForm_Load), owns the
// connections to the working copy, to VORGABE.mdb and to ARCHIV.mdb for the
// whole run, offers the user, project, paths and language to every other
// part through HAUPTFENSTER, and ends the run (MDIForm_QueryUnload,
// MDIForm_Unload). Its commands are split by concern over several files:
// start-up, working copy, shut-down, record and help commands, status bar.
//
// (The class cannot be called frmMAIN: that name is the accessor of the
// program's main window that every lower part calls.)

#include "data/HAUPTFENSTER.h"
#include "platform/database/DatabaseFile.h"
#include "platform/runtime/FileLock.h"
#include "platform/runtime/RuntimeError.h"

#include <QIcon>
#include <QList>
#include <QMainWindow>
#include <QPair>
#include <QPointer>
#include <QVariant>
#include <memory>
#include <optional>

class ErrorHandler;
class HAUPTRAHMEN;
class HILFEFENSTER;
class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class STATUSLEISTE;
class mdiAUTOSTART;

class frmMAINFENSTER : public QMainWindow, public HAUPTFENSTER {
    Q_OBJECT
public:
    explicit frmMAINFENSTER(QWidget* parent = nullptr);
    ~frmMAINFENSTER() override;

    // The start-up. False when it ended with one of its messages (no row in
    // ADMIN, no project directory, no empty template) or without an open
    // working copy (a database held, damaged or missing, a copy that could
    // not be made, Cancel of an error box before the copy was open): the
    // program ends at once. True otherwise, also when the user left it
    // through Cancel of an error box after the copy was open (the window
    // then stays open with what it has).
    bool MDIForm_Load();

    // HAUPTFENSTER
    std::shared_ptr<Connection> DBPROJEKT() override { return m_DBPROJEKT; }
    std::shared_ptr<Connection> DBVORGABE() override { return m_DBVORGABE; }
    QString BENUTZER() override;
    QString DATENBANKPFAD() override;
    QString XMDBPFAD() override;
    QString PROJEKT() override { return m_PROJEKT; }
    QString PROJEKTSPFAD() override { return m_PROJEKTSPFAD; }
    QString BEARBEITER() override { return m_BEARBEITER; }
    int16_t SPRACHE() override { return m_SPRACHE; }
    QString DEZIMALPUNKT() override { return m_DEZIMALPUNKT; }
    QString PROGRAMMPFAD() override;
    QString AUSWAHLMODUS() override { return m_AUSWAHLMODUS; }
    void SETZEAUSWAHLMODUS(const QString& modus) override { m_AUSWAHLMODUS = modus; }
    // Whether the working copy holds changes that are not saved, of this run
    // or of any other run of the user on the copy: the state lives beside
    // the copy, not in this run. (How it differs from the other senses of
    // "changed": see m_BOGEAENDERT.)
    bool BOGEAENDERT() override;
    void SETZEBOGEAENDERT(bool geaendert) override;
    void mnuBEENDEN_Click() override;
    void mnuHILFE_Click() override;
    void stbMAIN_PanelClick(int panel) override;
    QRect GEOMETRIE() override { return geometry(); }
    QWidget* FENSTER() override { return this; }
    void SETZEFORTSCHRITT(int wert) override;
    int FORTSCHRITT() override;
    void SETZEFORTSCHRITTSICHTBAR(bool sichtbar) override;
    bool FORTSCHRITTSICHTBAR() override;
    void SETZEMENUAKTIV(const QString& name, bool aktiv) override;
    bool MENUAKTIV(const QString& name) override;
    void SETZEPANELSICHTBAR(int panel, bool sichtbar) override;
    bool PANELSICHTBAR(int panel) override;
    QString PANELTEXT(int panel) override;
    void DATENSATZANZEIGE() override;
    bool ENDET() override { return m_entladen; }
    void SETZEPANELBEVEL(int panel, int bevel) override;
    int PANELBEVEL(int panel) override;
    void SETZEAKTIV(bool aktiv) override { setEnabled(aktiv); }
    bool AKTIV() override { return isEnabled(); }
    QString AKTIVESKIND() override;
    OutputObject* RAHMENOBJEKT() override;
    bool SEITELADEN(const QString& name) override;
    void SEITEZEIGEN(const QString& name) override;
    bool SEITEGELADEN(const QString& name) override;

    // The connection to ARCHIV.mdb (installed run only).
    std::shared_ptr<Connection> DBARCHIV() const { return m_DBARCHIV; }
    bool BOSCHLIESSEN() const { return m_BOSCHLIESSEN; }
    // The project database of the current project.
    QString PROJEKTDATENBANK() const;

    // File menu. New, Open, Select, Export-Import, Export to the information
    // system and Delete belong to the input window and the dialogs.
    void mnuNEU_Click();
    void mnuOEFFNEN_Click();
    void mnuAUSWAHL_Click();
    void mnuEXPIMP_Click();
    void mnuEXPINF_Click();
    void mnuLOESCHEN_Click();
    void mnuSCHLIESSEN_Click();
    void mnuSPEICHERN_Click();
    // Evaluate menu: the evaluation commands.
    void mnuAUSWERTEN_Click();
    void mnuBERECHNEN_Click();
    void mnuMBERECHNEN_Click();
    void mnuNEUBERECHNEN_Click();
    // Extras and ? menus.
    void mnuKOMPRIMIEREN_Click();
    void mnuFRAGEZEICHEN_Click();
    void mnuREADME_Click();
    void mnuHINWEISE_Click();
    void mnuINFO_Click();

    // A mouse press on the status bar at X (pixels of the status bar).
    void stbMAIN_MouseDown(int x);

    // Closing: reason 0 the user closed the window, 1 the program unloaded
    // it (Done, Quit), 2 the session ends.
    void MDIForm_QueryUnload(int grund, bool& cancel);
    void MDIForm_Unload();
    // The session ends (SIGTERM, log-off): the window closes with reason 2.
    void SITZUNGSENDE();
    // The unload has run.
    bool ENTLADEN() const { return m_entladen; }

    // The start screen, loaded when it is not yet.
    mdiAUTOSTART* AUTOSTART();
    // The help window, made when it is first needed.
    HILFEFENSTER* HILFE();
    // Opens the help file at a help context (the Help command and the Help
    // button of message boxes).
    bool HILFEZEIGEN(const QString& datei, int kontext);

    // Panel 1's text for a project directory: shortened to the last 20
    // characters or so, with "/" appended.
    static QString PROJEKTPFADANZEIGE(const QString& projektspfad);
    // A file's size in MB, rounded to one decimal, as a Single.
    static float GROESSEMB(const QString& datei);
    // What a compaction saved, in per cent of the size before, rounded to
    // one decimal; 0 when the size before was 0.0 MB.
    static float ERSPARNIS(float vorher, float nachher);
    // The compaction's temporary file beside a working copy: its path up to
    // the first ".mdb" (any letter case) and "TEMP.mdb".
    static QString KOMPRIMIERDATEI(const QString& arbeitskopie);
    // The file that records which project database a working copy was made
    // from, beside the copy.
    static QString HERKUNFTSDATEI(const QString& arbeitskopie);

    // For tests of two starts at the same moment: when set, called where a
    // start waits because another start decides about the copy ("WARTET"),
    // and where it has taken its locks and not yet decided ("HALT").
    static inline void (*STARTHALT)(const char* stelle) = nullptr;

    // The program's icon, for every window of the run (the main window, the
    // pages, the input window, the dialogs and boxes).
    static QIcon PROGRAMMSYMBOL();

    // Writes the window's caption and the panels' texts and tool tips into a
    // file (one "name=value" per line), for checking an installed run.
    void ZUSTANDSCHREIBEN(const QString& datei);

    // Controls.
    QMdiArea* MDIBEREICH;
    STATUSLEISTE* stbMAIN;
    QMenu* mnuDATEI;
    QAction *mnuNEU, *mnuOEFFNEN, *mnuAUSWAHL, *mnuTRENN0, *mnuEXPIMP, *mnuEXPINF, *mnuLOESCHEN,
        *mnuSCHLIESSEN, *mnuTRENN1, *mnuSPEICHERN, *mnuBEENDEN;
    QMenu* mnuAUSWERTEN;
    QAction *mnuEINGABEGRAFIK, *mnuBERECHNEN, *mnuMBERECHNEN, *mnuFBERECHNEN, *mnuNEUBERECHNEN;
    QMenu* mnuEXTRAS;
    QAction *mnuVVORGABEN, *mnuVEVORGABEN, *mnuTRENN2;
    QMenu* mnuWERKZEUGE;
    QAction *mnuTEXT, *mnuPOLYGON, *mnuKREIS, *mnuKOMPRIMIEREN;
    QMenu* mnuFRAGEZEICHEN;
    QAction *mnuHILFE, *mnuREADME, *mnuHINWEISE, *mnuTRENN4, *mnuINFO;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;

private:
    bool LADEN();
    void MENUSANLEGEN();
    void STATUSLEISTEANLEGEN();
    void ENGLISCHETEXTE();
    bool INSTALLIERTERSTART(ErrorHandler& eh);
    // False when the start is to end at once, told why (or the session
    // ended meanwhile); true otherwise, also when it left through `eh`,
    // whose failure the start then tells.
    bool ARBEITSKOPIEVORBEREITEN(ErrorHandler& eh);
    // Waits, with events running and a small window saying so, until no
    // other run decides about the copy; raises the wait cancelled (or the
    // session ended) or timed out, naming the copy.
    void ENTSCHEIDUNGABWARTEN(const QString& arbeitskopie);
    // Takes, without waiting, what a start needs before it decides: the
    // decision lock alone, the copy's lock shared and the share of the copy
    // itself. False while another run holds one of them; true when all are
    // held or one failed otherwise (kept as the state's or the share's
    // failure).
    bool STARTSPERREN(const QString& arbeitskopie);
    // Ends a start before its main window (a wait cancelled, a database
    // held, damaged or missing, the session ended): nothing written, nothing
    // deleted.
    void STARTBEENDEN();
    void FRISCHEKOPIE(const QString& arbeitskopie);
    // Moves the copy (and a journal left with it) to a free name beside it,
    // "VELD_<zusatz>.mdb" or "VELD_<zusatz>_<n>.mdb", and returns that name.
    QString KOPIEBEISEITELEGEN(const QString& arbeitskopie, const QString& zusatz);
    // A free name "VELD_<zusatz>.mdb" or "VELD_<zusatz>_<n>.mdb" beside the
    // copy, taken by making an empty file under it.
    static QString FREIERNAME(const QString& arbeitskopie, const QString& zusatz);
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
    // Which runs share the copy and who decides about it alone: see
    // frmMAINFENSTER_Allein.
    // The share of the copy refused (other than by another holder): why,
    // kept once; and, at the end of the start, found out for the copy the
    // start made and told once.
    void ANTEILFEHLT(const QString& grund);
    void ANTEILPRUEFEN(const QString& arbeitskopie);
    // With the share of the copy refused: a copy that every lock beside it
    // finds left by its runs, with changes unsaved (true, the copy's lock
    // then held alone), and the question about it, which says that the
    // start cannot be sure (vbYes keeps the changes).
    bool UNGEWISSVERLASSEN();
    int UNGEWISSFRAGEN(const QString& arbeitskopie);
    void ARBEITSKOPIEOEFFNEN(const QString& arbeitskopie);
    // The copy's state of unsaved changes (see frmMAINFENSTER_Marken).
    QStringList MARKEN(const QString& muster) const;
    void MARKENLOESCHEN(const QStringList& marken);
    void LAUFANMELDEN();
    QString LAUFMARKE() const;
    // At the end: the run's mark goes, unless its state was lost meanwhile.
    void LAUFABMELDEN();
    // Whether this run's state is on the disk beside the copy (its folder
    // usable, its run mark there); a run that cannot know it changes nothing
    // in the copy and never deletes or replaces it.
    bool ZUSTANDBEKANNT() const;
    void ZUSTANDFEHLT(const QString& ordner, const QString& grund);
    void ZUSTANDMELDEN();
    // The guard of every write into the copy: the change is marked before it
    // is written; a mark that cannot be written refuses the write.
    void AENDERUNGVORMERKEN();
    // The guard as the copy's connection runs it, and what a rollback of
    // the guarded transaction takes back (see frmMAINFENSTER_Marken).
    void SCHREIBWACHE();
    void AENDERUNGZURUECKNEHMEN();
    bool ALLEINENTSCHEIDEN();
    void ENTSCHEIDUNGFREIGEBEN();
    bool ENTSCHEIDUNGNEHMEN();
    // Whether this run has the copy to itself: its state known, the copy's
    // lock (still the file at its path) held alone, no other run's mark
    // locked and (unless `mitAnteil` is false) the share of the copy itself
    // held alone. True with the copy's lock held exclusively; otherwise
    // shared.
    bool KOPIEALLEIN(bool mitAnteil = true);
    bool KOPIESPERREGILT();
    bool ANDERELAUFEND();
    // Takes the copy's lock shared again; a failure is kept as the state's.
    void KOPIETEILEN();
    // Takes this run's share of the working copy itself (see m_kopieanteil)
    // when the copy is there, without waiting: false while another run
    // holds it alone. And whether no other run holds one.
    bool KOPIEBELEGEN(const QString& arbeitskopie);
    bool KOPIEANTEILALLEIN();
    // Why a lock failed, in the program's language.
    QString SPERRGRUND(const FileLock& sperre) const;
    // A reason of the program's own in the user's language.
    QString GRUND(const char* englisch, const char* deutsch) const;
    QStringList FREMDELAEUFE() const;
    void ZUSTANDLEEREN();
    QStringList GESPEICHERTERZUSTAND();
    void ZUSTANDGESPEICHERT(const QStringList& marken);
    void STARTBILDSCHIRMLADEN(ErrorHandler& eh);
    void ANDEREFENSTERSCHLIESSEN();
    // A page's window has closed: the last page gone ends the page view.
    void SEITEGESCHLOSSEN();
    bool SPEICHERN();
    // One attempt of a Save to write the copy over the project, under the
    // project's write lock: Gespeichert (the project's new mark in `marke`),
    // Fremd (someone else wrote into the project since: its mark as found
    // in `marke`, nothing written, the lock given back) or Fehlgeschlagen
    // (a box said why, or `beschaedigt` / `abgebrochen` for the boxes the
    // Save shows after it). `bekannt`: the marks the project may have to be
    // overwritten unasked; `erlaubt`: the one the user agreed to overwrite.
    struct SPEICHERVERSUCH {
        enum class Ausgang { Gespeichert, Fremd, Fehlgeschlagen };
        Ausgang ausgang = Ausgang::Fehlgeschlagen;
        DatabaseMark marke;
        QList<DatabaseMark> bekannt;
        bool beschaedigt = false;
        std::optional<RuntimeError> abgebrochen;
    };
    SPEICHERVERSUCH SPEICHERNVERSUCHEN(ErrorHandler& eh,
                                       const std::optional<DatabaseMark>& erlaubt);
    // The project database's mark as the working copy was taken from it or
    // last saved over it (kept beside the copy for every run of the user),
    // and its renewal after a Save.
    // Several marks where a Save was not known to end: the project is then
    // either of them.
    QList<DatabaseMark> PROJEKTMARKEN();
    void PROJEKTMARKENSETZEN(const QList<DatabaseMark>& marken);
    // The records that the project database at its path holds and the
    // working copy does not, or holds otherwise (what a Save would remove
    // from it); `umgekehrt`: those the copy holds and the project does not.
    QStringList ABWEICHUNGEN(bool umgekehrt = false);
    // Asked before a Save overwrites a project that another user or program
    // changed since (or where the copy's mark is missing and nobody can
    // tell: `unbekannt`), naming the records it would remove: true for Yes.
    bool UEBERSCHREIBENFRAGEN(const QString& titel, const QStringList& verloren, bool unbekannt);
    // At the end of the last run, before its copy goes: a copy that holds
    // records the project no longer holds (another user's Save overwrote
    // them) is not deleted without a word (`still`, at a session's end: it
    // stays). False when the window stays.
    bool VERWAISTEDATENSAETZEPRUEFEN(bool& behalten, bool still);
    // Whether the file this run works on is no longer the working copy at
    // its path (replaced or deleted under the live run).
    bool KOPIEVERSCHOBEN() const;
    // The refusal of a write into such a copy, naming it.
    RuntimeError KOPIEVERSCHOBENFEHLER() const;
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
    // then lost. True when the run ends. (frmMAINFENSTER_Abgeloest)
    bool ABGELOESTBEENDEN(const QString& titel);
    // At start, with the copy open and the decision held: the files that
    // such runs kept beside the copy are told once, and the records they
    // hold that the project and the copy lack are offered to the copy.
    void ABGELOESTEANBIETEN();
    // The records (key, identifier) of `quelle` whose identifier neither
    // the database at `kopie` (when there) nor the project holds.
    QList<QPair<int32_t, QString>> FEHLENDEDATENSAETZE(Connection& quelle, const QString& kopie);
    // A run whose mark or state folder went under it makes them anew, when
    // its share of the copy tells that it lives, or the file system refuses
    // the share; see frmMAINFENSTER_Marken.
    void ZUSTANDERNEUERN();
    bool KOMPRIMIEREN();
    void DOKUMENTOEFFNEN(const QString& datei, const QString& titel);
    int HILFEKONTEXT() const;
    QString LANDESEINSTELLUNG(int element) const;

    std::shared_ptr<Connection> m_DBPROJEKT;
    std::shared_ptr<Connection> m_DBVORGABE;
    QString m_PROJEKT;
    QString m_PROJEKTSPFAD;
    QString m_BEARBEITER;
    int32_t m_SIGNALTON = 0;
    int32_t m_SIGNALERGEBNIS = 0;
    std::shared_ptr<Connection> m_DBARCHIV;
    // "Changed" is told four ways, each for a question of its own:
    // - The change marks beside the copy (its state folder, see
    //   frmMAINFENSTER_Marken): the copy holds changes that no Save has put
    //   into the project, whichever run of the user made them, one that died
    //   included. Every run reads them (BOGEAENDERT); a Save clears those it
    //   found before it began, and the last run's answer at the end settles
    //   them.
    // - m_BOGEAENDERT: changes of this run that no mark could record (a
    //   mark could not be written). The other runs do not know of them; for
    //   this run they count as unsaved until its own Save or its answer, as
    //   does a change whose mark went with the run's state.
    // - m_eigeneAenderung: this run wrote into its copy since its own last
    //   Save, marked or not, whatever another run's Save did with the marks.
    //   It is what a run whose copy was replaced or deleted under it keeps
    //   in a file of its own; cleared by its Save and by that file.
    // - m_eigeneprojektmarken: not the copy's changes but the project's: the
    //   marks of the project database as this run took the copy from it or
    //   last saved over it. With the mark beside the copy (PROJEKTMARKEN)
    //   they tell a Save whether someone else wrote into the project since;
    //   this run knows them even where the mark beside the copy cannot be
    //   written.
    bool m_BOGEAENDERT = false;
    bool m_eigeneAenderung = false;
    QList<DatabaseMark> m_eigeneprojektmarken;
    // The copy stays at the end though it holds no unsaved changes.
    bool m_kopiebehalten = false;
    bool m_verwaistgeprueft = false;
    bool m_BOSCHLIESSEN = false;
    int16_t m_SPRACHE = 3;
    QString m_DEZIMALPUNKT;
    QString m_AUSWAHLMODUS;

    // Held shared on the working copy's folder for the whole run; the copy
    // is replaced or deleted only by a run that gets it exclusively, that
    // is while no other run of this user works on it.
    FileLock m_kopiesperre;
    // Held on the copy's state folder while a run decides about the copy,
    // so that one run at a time does.
    FileLock m_entscheidung;
    // Held alone on this run's mark for the whole run: a mark whose lock is
    // held belongs to a live run.
    FileLock m_laufsperre;
    // Held shared on one byte of the working copy itself for the whole run,
    // and alone only by a run that has the copy to itself. The copy is the
    // one file that cannot go or be replaced without its records, so live
    // runs are known from it whatever happens to the files beside it. Its
    // descriptor stays open until the copy's connection is closed (closing
    // one would drop the engine's locks); a run whose file system refuses
    // it is never alone with the copy.
    // The byte is far from those that the engine locks (from 0x40000000).
    static constexpr qint64 kAnteilsbyte = 0x7FFF0000;
    FileLock m_kopieanteil{kAnteilsbyte};
    // Why this run holds no share of the copy though it is there (the file
    // system refuses the lock): such a run is never alone with the copy.
    // And whether the user was told.
    QString m_anteilfehler;
    bool m_anteilgemeldet = false;
    // This run holds both locks alone, from its save question to its end.
    bool m_entscheidet = false;
    // As the last run the user chose not to save the copy's changes.
    bool m_verworfen = false;
    // The copy's state folder (empty before the start made it), this run's
    // name in it, and the number of its last change mark.
    QString m_zustand;
    QString m_lauf;
    int m_aenderung = 0;
    // This run's latest change mark; a Save that cleared it makes the next
    // write mark again.
    QString m_marke;
    // The mark that the open writing transaction made when the run had no
    // unsaved change before: its rollback takes it back.
    QString m_zurueckzunehmen;
    // Why the copy's state cannot be kept (empty while it can), and whether
    // the user was told.
    QString m_zustandsfehler;
    bool m_zustandgemeldet = false;
    // The start-up runs; a session end meanwhile is kept for its end.
    bool m_startet = false;
    bool m_sitzungsende = false;
    bool m_abgebrochen = false;
    // ADMIN.PROG as the start found it, when the start wrote its title over
    // another value: a start that ends early puts it back.
    std::optional<QVariant> m_progvorher;
    int m_grund = 0;
    bool m_entladen = false;
    QPointer<mdiAUTOSTART> m_autostart;
    QPointer<QMdiSubWindow> m_autostartFenster;
    QPointer<HILFEFENSTER> m_hilfe;
    std::unique_ptr<HAUPTRAHMEN> m_rahmen;
};
