// The Save's join with a project that someone else wrote into since the copy
// last met it (ZUSAMMENFUEHRUNG says what each record becomes), set beside
// the copy's base (KOPIEBASIS), and the quit's view of what only the copy
// holds.

#include "arbeitskopie/ARBEITSKOPIE.h"

#include "arbeitskopie/KOPIEDATEIEN.h"

#include "arbeitskopie/DATENSATZSTAENDE.h"
#include "arbeitskopie/KOPIEBASIS.h"
#include "arbeitskopie/PROJEKTABDRUCK.h"
#include "arbeitskopie/PROJEKTVERLAUF.h"
#include "arbeitskopie/ZUSAMMENFUEHRUNG.h"
#include "platform/database/Connection.h"
#include "platform/database/DatabaseFile.h"
#include "platform/database/Transaction.h"
#include "platform/runtime/ErrorHandler.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/System.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <set>

namespace {
// The names a status line shows before it counts the rest.
constexpr int kZeilennamen = 5;
} // namespace

// The records that only the copy holds as they are: neither the project nor
// the copy's base holds them so (what a deletion of the copy loses), named
// as a box names them, deletions too; nullopt where that cannot be told.
// Without a base, a record the project holds otherwise may be one that
// someone saved since and the copy holds as it was before: such records
// are named apart.
std::optional<ARBEITSKOPIE::VERWORFEN>
ARBEITSKOPIE::NURINKOPIE(const std::optional<KOPIEBASIS::STAENDE>& kopie) {
    if (!kopie) return std::nullopt;
    const DATENSATZSTAENDE& k = kopie->kopie;
    const std::optional<DATENSATZSTAENDE>& basis = kopie->basis;
    try {
        Connection projekt;
        projekt.SetConnectionTimeout(30);
        projekt.Open(m_dialog.PROJEKTDATENBANK());
        const DATENSATZSTAENDE p = DATENSATZSTAENDE::LESEN(projekt);
        QStringList nur;
        for (auto it = k.Staende().cbegin(); it != k.Staende().cend(); ++it) {
            const auto* imProjekt = p.Stand(it.key());
            if (imProjekt && imProjekt->inhalt == it->inhalt) continue;
            const auto* vorher = basis ? basis->Stand(it.key()) : nullptr;
            // Unchanged since the copy met the project: someone removed or
            // changed it there on purpose.
            if (vorher && vorher->inhalt == it->inhalt) continue;
            nur << it.key();
        }
        const auto namen = [&](const QStringList& schluessel) {
            return ZUSAMMENFUEHRUNG::NAMEN(schluessel, k, p,
                                           KOPIEDATEIEN::MEHRFACHNAME(m_dialog.SPRACHE()),
                                           KOPIEDATEIEN::OHNEKENNUNGNAME(m_dialog.SPRACHE()));
        };
        VERWORFEN verworfen;
        if (!basis) {
            verworfen.ungewiss = namen(nur);
            return verworfen;
        }
        verworfen.nur = namen(nur);
        // A test deleted here that the project still holds as the copy met
        // it: a No brings it back, so the question names it, too.
        QStringList geloescht;
        for (auto it = basis->Staende().cbegin(); it != basis->Staende().cend(); ++it) {
            const auto* imProjekt = p.Stand(it.key());
            if (!k.Stand(it.key()) && imProjekt && imProjekt->inhalt == it->inhalt)
                geloescht << it.key();
        }
        const QString zusatz = m_dialog.SPRACHE() == 1 ? QStringLiteral(" (deleted)")
                                                       : QString::fromUtf8(" (gelöscht)");
        for (const QString& name : namen(geloescht))
            verworfen.nur << name + zusatz;
        return verworfen;
    } catch (const RuntimeError&) {
        return std::nullopt;
    }
}

// The lines a question adds that name what its No drops (empty where
// that is nothing), for what NURINKOPIE found.
QString ARBEITSKOPIE::NEINVERWIRFT(const std::optional<VERWORFEN>& verworfen) const {
    const bool en = m_dialog.SPRACHE() == 1;
    const QString zeile = QStringLiteral("\r\n");
    if (!verworfen)
        return zeile + (en ? QStringLiteral("No discards every change of the working copy.")
                           : QString::fromUtf8("Nein verwirft alle Änderungen der Arbeitskopie."));
    QString text;
    if (!verworfen->nur.isEmpty())
        text += zeile +
                (en ? QStringLiteral("No discards these records, which only the working copy "
                                     "holds so: ")
                    : QString::fromUtf8("Nein verwirft diese Datensätze, die nur die "
                                        "Arbeitskopie so enthält: ")) +
                KOPIEDATEIEN::AUFZAEHLUNG(m_dialog.SPRACHE(), verworfen->nur) + QStringLiteral(".");
    if (!verworfen->ungewiss.isEmpty())
        text += zeile +
                (en ? QStringLiteral("No discards the working copy's version of these records, "
                                     "which the project does not hold so; whether they were "
                                     "changed here or there cannot be told: ")
                    : QString::fromUtf8("Nein verwirft die Fassung dieser Datensätze in der "
                                        "Arbeitskopie, die das Projekt nicht so enthält; ob sie "
                                        "hier oder dort geändert wurden, lässt sich nicht "
                                        "feststellen: ")) +
                KOPIEDATEIEN::AUFZAEHLUNG(m_dialog.SPRACHE(), verworfen->ungewiss) +
                QStringLiteral(".");
    return text;
}

// Whether the copy holds every record as its base does, whatever its
// marks say (a selection changed only); false where that cannot be told.
bool ARBEITSKOPIE::UNVERAENDERT(const std::optional<KOPIEBASIS::STAENDE>& kopie) {
    if (!kopie || m_laeufe.UNVERMERKT() || !kopie->basis) return false;
    return *kopie->basis == kopie->kopie;
}

// What a copy holds, record by record, and its base; nullopt where it
// cannot be read.
std::optional<KOPIEBASIS::STAENDE> ARBEITSKOPIE::KOPIESTAENDE(Connection& kopie) {
    try {
        // A base that does not know every write is none (KOPIEBASIS says).
        return KOPIEBASIS::LESEN(kopie);
    } catch (const RuntimeError&) {
        return std::nullopt;
    }
}

// The project's records that only someone else changed come into the copy;
// records both changed are asked about (Yes: this user's, No: the
// project's, Cancel: nothing). False when the Save is to end (cancelled,
// the session ended, or a failure its box told). `entscheidungen`: the
// user's answers, each for the versions (the copy's and the project's
// digests) the record had when asked, true keeping this user's: a later
// join of the same Save that finds the same versions takes the answer
// without asking again, a record whose version changed is asked anew.
// `uebernommen`: what came from the project because only others changed it
// (true: they deleted it). `gelesen` gets the mark of the project content
// the join last read, and `gesehen` its records where the join read them
// all (nullopt where it read only what changed).
bool ARBEITSKOPIE::ZUSAMMENFUEHREN(ErrorHandler& eh, const QString& titel,
                                   ENTSCHEIDUNGEN& entscheidungen, UEBERNAHMEN& uebernommen,
                                   std::optional<DATENSATZSTAENDE>& gesehen, DatabaseMark& gelesen,
                                   bool fragen) {
    for (;;) {
        Connection projekt;
        if (!eh.Run([&] {
                projekt.SetConnectionTimeout(30);
                projekt.Open(m_dialog.PROJEKTDATENBANK());
            }))
            return false;
        // A Save that was not known to end leaves the digests of both
        // projects in the copy.
        bool basisUnsicher = PROJEKTABDRUECKE().size() > 1;
        // The copy is read and written under its write lock, so that another
        // run of the user cannot change a record between the plan and the
        // take. No box waits with it held: a question ends it first, and the
        // plan is made again after the answer.
        QStringList offen;
        bool ungeklaert = false;
        ZUSAMMENFUEHRUNG plan;
        KOPIEBASIS::STAENDE kopie;
        DATENSATZSTAENDE projektstaende;
        const bool fertig = eh.Run([&] {
            Transaction transaktion(*m_DBPROJEKT);
            // Something beside the program wrote into the copy: what was
            // changed here cannot be told, and the project is read whole.
            // (Asked before this transaction writes anything.)
            const bool fremd = KOPIEBASIS::FREMD(*m_DBPROJEKT);
            // One read of the project, begun once the copy is locked (no
            // wait for the copy holds the project's read lock): its mark
            // stands for exactly what the join reads and takes of it.
            projekt.BeginReadTrans();
            gelesen = MarkOf(projekt);
            // A Save left open is settled: the base is certain, but for the
            // records only the user can tell about (`ungewiss`), which are
            // asked about whatever the base says. Without one, a base of
            // what that Save wrote is certain, and so is one from before it
            // unless the project became what it wrote (a copy of an older
            // program).
            QSet<QString> ungewiss;
            if (KOPIEBASIS::OFFEN(*m_DBPROJEKT)) {
                ungewiss = BASISKLAEREN(*m_DBPROJEKT, gelesen, &projekt, false);
                basisUnsicher = false;
            } else if (basisUnsicher) {
                const DatabaseMark geschrieben = PROJEKTABDRUECKE().value(0);
                basisUnsicher = !KOPIEBASIS::ABDRUCK(*m_DBPROJEKT).Same(geschrieben) &&
                                GELANDET(geschrieben, gelesen);
            }
            // Where the project's history leads from the content of the
            // copy's base to what the project holds now, only the records
            // that either side changed since are read; any other is on both
            // sides as its base is.
            std::optional<QSet<QString>> geaendert;
            if (!basisUnsicher && !fremd) {
                const KOPIEBASIS::AENDERUNGEN eigene = KOPIEBASIS::GEAENDERT(*m_DBPROJEKT);
                geaendert =
                    PROJEKTVERLAUF::GEAENDERT(m_dialog.PROJEKTDATENBANK(), eigene.abdruck, gelesen);
                if (geaendert) geaendert->unite(eigene.schluessel).unite(ungewiss);
            }
            if (geaendert) {
                kopie = KOPIEBASIS::LESEN(*m_DBPROJEKT, *geaendert);
                projektstaende = DATENSATZSTAENDE::LESEN(projekt, *geaendert);
                gesehen.reset();
            } else {
                kopie = KOPIEBASIS::LESEN(*m_DBPROJEKT);
                projektstaende = DATENSATZSTAENDE::LESEN(projekt);
                gesehen = projektstaende;
            }
            if (basisUnsicher || fremd) kopie.basis.reset();
            // A join that may not ask (a start bringing the copy up to the
            // project) writes nothing while there are such records: the
            // Save stays open in the copy, and the next Save asks.
            if (!fragen && !ungewiss.isEmpty()) {
                ungeklaert = true;
                return;
            }
            plan = ZUSAMMENFUEHRUNG::PLANEN(kopie.basis ? &*kopie.basis : nullptr, kopie.kopie,
                                            projektstaende, kopie.umbenannt, ungewiss);
            const ZUSAMMENFUEHRUNG::SCHRITTE schritte =
                plan.AUSFUEHREN(entscheidungen, kopie.basis ? &*kopie.basis : nullptr, kopie.kopie,
                                projektstaende, fragen);
            offen = schritte.fragen;
            if (!offen.isEmpty()) return;
            const QStringList& nehmen = schritte.nehmen;
            bool ganz = schritte.ganz;
            // What the copy takes from the project met it: its base is the
            // version taken, in the same transaction.
            const QList<qint64> geschrieben = ZUSAMMENFUEHRUNG::UEBERTRAGEN(
                *m_DBPROJEKT, projekt, nehmen, KOPIEBASIS::FREIAB(*m_DBPROJEKT), plan.NEUEKENNUNG);
            // A record that the copy's columns cannot hold as the project's
            // do (a column the copy lacks) is not the project's version
            // after its take.
            if (ganz && !nehmen.isEmpty()) {
                const std::set<qint64> ids(geschrieben.cbegin(), geschrieben.cend());
                const DATENSATZSTAENDE genommen =
                    DATENSATZSTAENDE::AUSROH(DATENSATZSTAENDE::ROHLESEN(*m_DBPROJEKT, &ids));
                for (const QString& schluessel : nehmen)
                    ganz = ganz && genommen.Inhalt(schluessel) == projektstaende.Inhalt(schluessel);
            }
            KOPIEBASIS::ABGEGLICHEN(*m_DBPROJEKT, geschrieben, ganz ? gelesen : DatabaseMark());
            transaktion.Commit();
            // The line names what came from the project: what others alone
            // changed and what the user's No took (a renamed record by the
            // identifier it got back). Not where the copy has no base: who
            // changed such a record cannot be told, and it may be this
            // user's own (a test added here that the No dropped).
            for (const QString& schluessel : plan.UEBERNEHMEN + schritte.verneint) {
                if (plan.ARTEN.value(schluessel) == ZUSAMMENFUEHRUNG::ART::UNBEKANNT) continue;
                for (const QString& name :
                     ZUSAMMENFUEHRUNG::NAMEN({schluessel}, kopie.kopie, projektstaende,
                                             KOPIEDATEIEN::MEHRFACHNAME(m_dialog.SPRACHE()),
                                             KOPIEDATEIEN::OHNEKENNUNGNAME(m_dialog.SPRACHE())))
                    uebernommen.insert(name, projektstaende.Stand(schluessel) == nullptr);
            }
        });
        if (!fertig || ungeklaert) return false;
        if (offen.isEmpty()) return true;
        projekt.Close();

        SetMousePointer(vbDefault);
        const int antwort = KONFLIKTFRAGEN(titel, offen, plan, kopie.kopie, projektstaende,
                                           !kopie.basis.has_value());
        // The session ended while the question waited: nothing is written.
        if (!m_dialog.GELADEN() || m_dialog.ENTLADEN() || antwort == vbCancel) return false;
        SetMousePointer(vbHourglass);
        // Each answer holds for the versions it was given for.
        for (const QString& schluessel : offen)
            entscheidungen.insert(
                schluessel, {ZUSAMMENFUEHRUNG::FASSUNGEN(kopie.kopie, projektstaende, schluessel),
                             antwort == vbYes});
    }
}

int ARBEITSKOPIE::KONFLIKTFRAGEN(const QString& titel, const QStringList& schluessel,
                                 const ZUSAMMENFUEHRUNG& plan, const DATENSATZSTAENDE& kopie,
                                 const DATENSATZSTAENDE& projekt, bool ohneBasis) {
    using ART = ZUSAMMENFUEHRUNG::ART;
    const bool en = m_dialog.SPRACHE() == 1;
    const auto liste = [&](ART art) {
        QStringList teil;
        for (const QString& s : schluessel)
            if (plan.ARTEN.value(s, ART::GEAENDERT) == art) teil << s;
        QStringList namen = ZUSAMMENFUEHRUNG::NAMEN(
            teil, kopie, projekt, KOPIEDATEIEN::MEHRFACHNAME(m_dialog.SPRACHE()),
            KOPIEDATEIEN::OHNEKENNUNGNAME(m_dialog.SPRACHE()));
        // A renamed record by both its names.
        if (art == ART::UMBENANNT)
            for (QString& name : namen) {
                const QString neu = plan.NEUEKENNUNG.value(DATENSATZSTAENDE::SCHLUESSEL(name));
                const DATENSATZSTAENDE::STAND* stand = kopie.Stand(neu);
                name += (en ? QStringLiteral(" (here ") : QStringLiteral(" (hier ")) +
                        (stand ? stand->ken : neu) + QLatin1Char(')');
            }
        return teil.isEmpty() ? QString() : KOPIEDATEIEN::AUFZAEHLUNG(m_dialog.SPRACHE(), namen);
    };
    const QString zeile = QStringLiteral("\r\n");
    QString text;
    if (en)
        text = QStringLiteral("Project ") + m_dialog.PROJEKT() +
               QStringLiteral(" was changed by another user or program since the working copy "
                              "last met it. What was changed only there or only here is kept "
                              "as it was left.") +
               zeile;
    else
        text = QStringLiteral("Das Projekt ") + m_dialog.PROJEKT() +
               QString::fromUtf8(" wurde seit dem letzten Abgleich der Arbeitskopie von einem "
                                 "anderen Benutzer oder Programm geändert. Was nur dort oder nur "
                                 "hier geändert wurde, bleibt, wie es geändert wurde.") +
               zeile;
    if (ohneBasis)
        text += en ? QStringLiteral("What was changed here cannot be told: the working copy's "
                                    "base is missing. ")
                   : QString::fromUtf8("Was hier geändert wurde, lässt sich nicht feststellen: "
                                       "die Basis der Arbeitskopie fehlt. ");
    struct Gruppe {
        ART art;
        const char* englisch;
        const char* deutsch;
    };
    static const Gruppe gruppen[] = {
        {ART::UNBEKANNT, "These records differ here and there: ",
         "Diese Datensätze sind hier und dort verschieden: "},
        {ART::GEAENDERT, "These records were changed here and there: ",
         "Diese Datensätze wurden hier und dort geändert: "},
        {ART::HIERGELOESCHT, "These records were deleted here and changed there: ",
         "Diese Datensätze wurden hier gelöscht und dort geändert: "},
        {ART::DORTGELOESCHT, "These records were changed here and deleted there: ",
         "Diese Datensätze wurden hier geändert und dort gelöscht: "},
        {ART::UMBENANNT, "These records were given another identifier here and changed there: ",
         "Diese Datensätze haben hier eine andere Kennung erhalten und wurden dort geändert: "},
        {ART::MEHRFACH, "These identifiers are held by several records here or there: ",
         "Diese Kennungen tragen hier oder dort mehrere Datensätze: "},
    };
    bool hierGeloescht = false, dortGeloescht = false, umbenannt = false;
    for (const Gruppe& g : gruppen) {
        const QString namen = liste(g.art);
        if (namen.isEmpty()) continue;
        umbenannt |= g.art == ART::UMBENANNT;
        hierGeloescht |= g.art == ART::HIERGELOESCHT;
        dortGeloescht |= g.art == ART::DORTGELOESCHT;
        text += (en ? QString::fromUtf8(g.englisch) : QString::fromUtf8(g.deutsch)) + namen +
                QStringLiteral(".") + zeile;
    }
    const QString neu = liste(ART::BEIDENEU);
    if (!neu.isEmpty())
        text += en ? QStringLiteral("A new record was made here and another one there under "
                                    "these identifiers: ") +
                         neu +
                         QStringLiteral(". Yes and No each keep one of the two. To keep both, "
                                        "choose Cancel; open yours (File, Open), enter another "
                                        "identifier in the input window and store it with OK, "
                                        "which makes a new record of it; then delete yours "
                                        "under the old identifier (File, Delete) and save "
                                        "again.") +
                         zeile
                   : QString::fromUtf8("Unter diesen Kennungen wurde hier und dort je ein neuer "
                                       "Datensatz angelegt: ") +
                         neu +
                         QString::fromUtf8(". Ja und Nein behalten je einen der beiden. Um "
                                           "beide zu behalten, wählen Sie Abbrechen; öffnen "
                                           "Sie Ihren Datensatz (Datei, Öffnen), tragen Sie im "
                                           "Eingabefenster eine andere Kennung ein und "
                                           "speichern Sie mit OK, was einen neuen Datensatz "
                                           "daraus macht; löschen Sie dann Ihren Datensatz "
                                           "unter der alten Kennung (Datei, Löschen) und "
                                           "speichern Sie erneut.") +
                         zeile;
    if (en)
        text += QStringLiteral("Yes: your version of them is saved; the project's version of "
                               "them is lost.") +
                (hierGeloescht ? QStringLiteral(" What you deleted is deleted in the project, "
                                                "too.")
                               : QString()) +
                (umbenannt ? QStringLiteral(" What you renamed keeps its new identifier.")
                           : QString()) +
                zeile +
                QStringLiteral("No: the project's version of them is kept; your version of "
                               "them is lost.") +
                (dortGeloescht ? QStringLiteral(" What was deleted there is deleted here, too.")
                               : QString()) +
                (umbenannt ? QStringLiteral(" What you renamed gets its identifier before back.")
                           : QString()) +
                zeile +
                QStringLiteral("Cancel: nothing is saved; all your changes stay in the working "
                               "copy.");
    else
        text += QString::fromUtf8("Ja: Ihre Fassung wird gespeichert; die Fassung im Projekt "
                                  "geht verloren.") +
                (hierGeloescht ? QString::fromUtf8(" Was Sie gelöscht haben, wird auch im "
                                                   "Projekt gelöscht.")
                               : QString()) +
                (umbenannt ? QString::fromUtf8(" Was Sie umbenannt haben, behält seine neue "
                                               "Kennung.")
                           : QString()) +
                zeile +
                QString::fromUtf8("Nein: die Fassung im Projekt bleibt; Ihre Fassung geht "
                                  "verloren.") +
                (dortGeloescht ? QString::fromUtf8(" Was dort gelöscht wurde, wird auch hier "
                                                   "gelöscht.")
                               : QString()) +
                (umbenannt ? QString::fromUtf8(" Was Sie umbenannt haben, erhält seine alte "
                                               "Kennung zurück.")
                           : QString()) +
                zeile +
                QString::fromUtf8("Abbrechen: es wird nichts gespeichert; alle Ihre Änderungen "
                                  "bleiben in der Arbeitskopie.");
    return m_dialog.FRAGEN(text, vbYesNoCancel + vbExclamation + vbDefaultButton3, titel);
}

// The status bar's line of what came from others (nothing for none).
void ARBEITSKOPIE::UEBERNAHMENMELDEN(const UEBERNAHMEN& uebernommen) {
    if (uebernommen.isEmpty()) return;
    const bool en = m_dialog.SPRACHE() == 1;
    QStringList namen = uebernommen.keys();
    std::sort(namen.begin(), namen.end(), DATENSATZSTAENDE::VORHER);
    for (QString& name : namen)
        if (uebernommen.value(name))
            name += en ? QStringLiteral(" (deleted)") : QString::fromUtf8(" (gelöscht)");
    // The line stays within the window: the first names, then how many more.
    const QString zeile = (en ? QStringLiteral("Taken from others: ")
                              : QString::fromUtf8("Von anderen übernommen: ")) +
                          KOPIEDATEIEN::AUFZAEHLUNG(m_dialog.SPRACHE(), namen, kZeilennamen);
    m_dialog.HINWEISEN(zeile, zeile);
}

// At a start that keeps a copy whose lock the file system refuses: the
// copy brought up to the project, unasked (see ARBEITSKOPIE_Zusammenfuehren).
void ARBEITSKOPIE::AUFFRISCHEN(ErrorHandler& eh) {
    // A start that keeps a copy nobody can tell is in use brings it up to
    // what the project holds now: what others saved since comes in, nothing
    // of this user's unsaved work goes, and nothing is asked.
    const QList<DatabaseMark> bekannt = PROJEKTABDRUECKE();
    const std::optional<DatabaseMark> jetzt =
        eh.Value([&] { return MarkOfDatabase(m_dialog.PROJEKTDATENBANK()); });
    if (!jetzt || DatabaseMark::Contains(bekannt, *jetzt)) return;
    const bool unveraendert = !m_laeufe.UNVERMERKT() && !KOPIEVERAENDERT(*m_DBPROJEKT);
    const QStringList vorher = m_laeufe.ZUSTANDSDATEIEN(LAEUFE::kAenderungsvermerke);
    ENTSCHEIDUNGEN keine;
    UEBERNAHMEN uebernommen;
    std::optional<DATENSATZSTAENDE> gesehen;
    DatabaseMark gelesen;
    if (!ZUSAMMENFUEHREN(eh, QString(), keine, uebernommen, gesehen, gelesen, false)) return;
    // A copy without changes of its own is now what the project was as the
    // join read it: the marks of the join's writes go, and that content's
    // digest is its mark.
    if (unveraendert) {
        QStringList neu = m_laeufe.ZUSTANDSDATEIEN(LAEUFE::kAenderungsvermerke);
        for (const QString& alt : vorher)
            neu.removeAll(alt);
        m_laeufe.GESPEICHERT(neu);
        PROJEKTABDRUECKESETZEN({gelesen.known ? gelesen : *jetzt});
    }
    UEBERNAHMENMELDEN(uebernommen);
}
