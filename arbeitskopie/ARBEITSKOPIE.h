#pragma once

// The user's working copy of the project database, for the whole of a run,
// as the main window meets it: the start, the write guard, the Save and the
// quit. It speaks to the user only through ARBEITSKOPIEDIALOG. What the
// copy keeps has one owner each:
// - KOPIEBASIS: inside the copy, written in each write's own transaction,
//   what every record was when the copy last met the project (its base),
//   the project content it last met, and the keys a take may use. It alone
//   tells what this user changed and what is unsaved.
// - LAEUFE: the runs of the user on the copy, their locks and the marks in
//   the state folder beside it (the change marks only a hint).
// - ABLAGE: the files runs keep when their copy goes from under them.
// - ZUSAMMENFUEHRUNG: the Save's join as a plan, from the copy's changes
//   and the project's; the Save carries it out.
// The run's own steps, one file each: ARBEITSKOPIE_Start, _Verlassen (a
// copy the start finds), _Speichern, _Zusammenfuehren, _Ende, _Projektbasis
// and _Aenderungsvermerke.

#include "arbeitskopie/ABLAGE.h"
#include "arbeitskopie/ARBEITSKOPIEDIALOG.h"
#include "arbeitskopie/DATENSATZSTAENDE.h"
#include "arbeitskopie/KOPIEBASIS.h"
#include "arbeitskopie/LAEUFE.h"
#include "arbeitskopie/ZUSAMMENFUEHRUNG.h"
#include "platform/database/DatabaseFile.h"
#include "platform/runtime/RuntimeError.h"

#include <QHash>
#include <QPair>
#include <QSet>
#include <QString>
#include <QStringList>
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

    // Called, when set, at points where tests stop or kill a run: a start
    // waiting for another's decision ("WARTET") or holding its locks,
    // undecided ("HALT"); a Save's new project written, its copy not yet
    // told ("ERSETZEND"); a Save's copy met the new project not yet in place
    // ("VORGEMERKT"); the project holds the Save's content, its copy not yet
    // told ("IMPROJEKT"); a store's change marked, not yet written ("VERMERKT"),
    // and written, its command's own mark not yet made ("GEAENDERT").
    static inline std::function<void(const char* stelle)> HALTEPUNKT;

    // The start. VORPRUEFEN waits for a copy another holds for writing and
    // checks that a first start can read the project; VORBEREITEN decides
    // about the copy, makes or shares it and opens it: false when the start
    // is to end, told why; true otherwise, also when it left through `eh`.
    void VORPRUEFEN(ErrorHandler& eh);
    bool VORBEREITEN(ErrorHandler& eh);
    // What another run does with the copy, for a window that waits for the
    // database at `pfad`; empty when that is not the copy or nobody says.
    QString WARTETEXT(const QString& pfad) const;
    // A start that ends before its main window: its mark and locks go.
    void STARTBEENDEN();

    // The commands' word: whether the copy holds unsaved changes by the
    // marks of every run of the user, and that a command changed it (true)
    // or that its change is settled for this run (false).
    bool BOGEAENDERT();
    void SETZEBOGEAENDERT(bool geaendert);
    // The guard of every write into the copy: marked before it is written,
    // refused where the copy's state cannot be kept or the copy went.
    void AENDERUNGVORMERKEN();
    // Before a write of the selection only, outside any transaction: a run
    // whose copy went moves into its own file now, so that it is written.
    void AUSWAHLVORBEREITEN() { m_ablage.AUSWAHLVORBEREITEN(); }

    // The run's state beside the copy and its decision (see LAEUFE).
    bool ZUSTANDBEKANNT() const { return m_laeufe.ZUSTANDBEKANNT(); }
    void ZUSTANDERNEUERN() { m_laeufe.ZUSTANDERNEUERN(); }
    QString ZUSTANDSORDNER() const { return m_laeufe.ZUSTAND(); }
    bool ALLEINENTSCHEIDEN() { return m_laeufe.ALLEINENTSCHEIDEN(); }
    void ENTSCHEIDUNGFREIGEBEN() { m_laeufe.ENTSCHEIDUNGFREIGEBEN(); }
    bool ENTSCHEIDET() const { return m_laeufe.ENTSCHEIDET(); }
    // Whether the file this run works on is no longer the copy at its path.
    bool KOPIEVERSCHOBEN() const;

    // The Save: the copy over the project, titled `titel`; a copy over
    // 10 MB is offered to `komprimieren` first (Help opens `hilfedatei`).
    // True when the project holds the copy.
    bool SPEICHERN(const QString& titel, const QString& hilfedatei,
                   const std::function<bool()>& komprimieren);
    // A file's size in MB, rounded to one decimal, as a Single.
    static float GROESSEMB(const QString& datei);
    // Whether something beside the program wrote into the copy since it
    // last met the project whole; after a compaction, what was so before.
    bool FREMDGESCHRIEBEN();
    void KOMPRIMIERT(bool fremd);

    // The quit, in two steps around the main window's own (see
    // ARBEITSKOPIE_Ende): the save question and the checks while the window
    // is open (false where the quit ends here, cancelled when `cancel`; a
    // Yes saves through `speichern`), then, with the other windows closed,
    // the copy closed, deleted when the last run may, and the run's marks
    // and locks given back.
    bool BEENDENFRAGEN(ErrorHandler& eh, int grund, const QString& titel,
                       const std::function<bool()>& speichern, bool& cancel);
    void BEENDEN(ErrorHandler& eh);

private:
    ARBEITSKOPIEDIALOG& m_dialog;
    std::shared_ptr<Connection> m_DBPROJEKT;
    LAEUFE m_laeufe;
    ABLAGE m_ablage;
    // The start ends, told why, after a damaged copy could not be replaced.
    bool m_abgebrochen = false;
    // As the last run the user chose not to save the copy's changes.
    bool m_verworfen = false;

    // The write guard as the copy's connection runs it, and what a rollback
    // of the guarded transaction takes back.
    void SCHREIBWACHE();
    void AENDERUNGZURUECKNEHMEN();
    // What the copy says of itself: whether it holds unsaved work (a record
    // held otherwise than its base); true where it cannot tell.
    static bool KOPIEVERAENDERT(Connection& kopie);
    static bool KOPIEVERAENDERT(const QString& arbeitskopie);

    // The start (ARBEITSKOPIE_Start, ARBEITSKOPIE_Verlassen).
    void ENTSCHEIDUNGABWARTEN(const QString& arbeitskopie);
    void FRISCHEKOPIE(const QString& arbeitskopie);
    bool BESCHAEDIGTEKOPIESICHERN(ErrorHandler& eh, const QString& arbeitskopie);
    bool KOPIEERSETZEN(ErrorHandler& eh, const QString& arbeitskopie, const QString& fremdprojekt);
    void ARBEITSKOPIEOEFFNEN(const QString& arbeitskopie);
    QString KOPIEHERKUNFT(const QString& arbeitskopie, QString& fremderBenutzer);
    static QString KOPIEBENUTZER(const QString& arbeitskopie);
    bool UNGEWISSVERLASSEN();
    int VERLASSENFRAGEN(const QString& arbeitskopie);
    bool VERLASSENUNVERAENDERT(const QString& arbeitskopie);

    // The project content the copy last met (ARBEITSKOPIE_Projektbasis).
    QList<DatabaseMark> PROJEKTABDRUECKE(Connection* ueber = nullptr);
    void PROJEKTABDRUECKESETZEN(const QList<DatabaseMark>& abdruecke);

    // The Save (ARBEITSKOPIE_Speichern): one attempt under the project's
    // write lock, and a Save left open in the copy settled.
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
    QSet<QString> BASISKLAEREN(Connection& kopie, const DatabaseMark& projekt,
                               Connection* projektlesen = nullptr, bool offenLassen = true);
    bool GELANDET(const DatabaseMark& geschrieben, const DatabaseMark& projekt);
    bool NICHTGELANDET(Connection& kopie, const DatabaseMark& projekt);

    // The join (ARBEITSKOPIE_Zusammenfuehren), which carries out the plan
    // (ZUSAMMENFUEHRUNG) with the user's answers, and what came from others
    // (true: deleted).
    using ENTSCHEIDUNGEN = ZUSAMMENFUEHRUNG::ENTSCHEIDUNGEN;
    using UEBERNAHMEN = QHash<QString, bool>;
    bool ZUSAMMENFUEHREN(ErrorHandler& eh, const QString& titel, ENTSCHEIDUNGEN& entscheidungen,
                         UEBERNAHMEN& uebernommen, std::optional<DATENSATZSTAENDE>& gesehen,
                         DatabaseMark& gelesen, bool fragen = true);
    void AUFFRISCHEN(ErrorHandler& eh);
    int KONFLIKTFRAGEN(const QString& titel, const QStringList& schluessel,
                       const ZUSAMMENFUEHRUNG& plan, const DATENSATZSTAENDE& kopie,
                       const DATENSATZSTAENDE& projekt, bool ohneBasis);
    void UEBERNAHMENMELDEN(const UEBERNAHMEN& uebernommen);

    // What a question's No drops (ARBEITSKOPIE_Zusammenfuehren) and the
    // quit's end (ARBEITSKOPIE_Ende): the records that only the copy holds
    // as they are, and, for a copy without a base, those it holds otherwise
    // than the project without telling which side changed them.
    struct VERWORFEN {
        QStringList nur, ungewiss;
    };
    std::optional<VERWORFEN> NURINKOPIE(const std::optional<KOPIEBASIS::STAENDE>& kopie);
    static std::optional<KOPIEBASIS::STAENDE> KOPIESTAENDE(Connection& kopie);
    bool UNVERAENDERT(const std::optional<KOPIEBASIS::STAENDE>& kopie);
    QString NEINVERWIRFT(const std::optional<VERWORFEN>& verworfen) const;
    QString NEINBLEIBT(const std::optional<KOPIEBASIS::STAENDE>& kopie) const;
    void FREIGEBEN();
};
