// The Save: the working copy over the project database, under the
// project's write lock; where someone else wrote into the project since the
// copy last met it, the two are joined first (ARBEITSKOPIE_Zusammenfuehren).

#include "arbeitskopie/ARBEITSKOPIE.h"

#include "arbeitskopie/KOPIEBASIS.h"
#include "arbeitskopie/PROJEKTVERLAUF.h"
#include "platform/database/Connection.h"
#include "platform/database/DatabaseError.h"
#include "platform/database/DatabaseFile.h"
#include "platform/runtime/ErrorHandler.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/System.h"
#include "platform/runtime/Variant.h"

#include <QDir>
#include <QFileInfo>
#include <functional>
#include <optional>

namespace {
// The help context of the compaction's question.
constexpr int kKontextKomprimieren = 34;
// The joins a Save runs at most before it gives up on a project that keeps
// changing under it.
constexpr int kRunden = 5;
} // namespace

float ARBEITSKOPIE::GROESSEMB(const QString& datei) {
    const QFileInfo info(datei);
    if (!info.isFile()) throw StandardError(53);
    return float(Round(double(info.size()) / 1e6, 1));
}

bool ARBEITSKOPIE::SPEICHERN(const QString& titel, const QString& hilfedatei,
                             const std::function<bool()>& komprimieren) {
    ErrorHandler eh(QStringLiteral("VB-Error: "), titel);
    // A copy replaced or deleted under this run is never saved over the
    // project, nor are the marks of the copy now at the path cleared: the
    // copy at the path, or another run on it, may hold newer work. This
    // comes before anything reads the copy's file: its size, its compaction.
    if (KOPIEVERSCHOBEN()) return m_ablage.SICHERN(titel);
    // A step that failed stops the Save: nothing is written over the
    // project database after a failed size test or compaction.
    const std::optional<float> groesse = eh.Value([&] { return GROESSEMB(m_dialog.XMDBPFAD()); });
    if (!groesse) return false;
    if (*groesse > 10.0f) {
        const std::optional<float> erneut =
            eh.Value([&] { return GROESSEMB(m_dialog.XMDBPFAD()); });
        if (!erneut) return false;
        const QString mb = SingleText(*erneut);
        const QString frage =
            m_dialog.SPRACHE() == 1
                ? QStringLiteral("Database reaches ") + mb + QStringLiteral(" MB! ") +
                      QStringLiteral("\r\n") + QStringLiteral("Do you want to compact the file?")
                : QStringLiteral("Datenbank hat ") + mb + QStringLiteral(" MB erreicht! ") +
                      QStringLiteral("\r\n") + QStringLiteral("Soll die Datei komprimiert werden?");
        const int antwort = m_dialog.FRAGEN(frage, vbYesNo + vbQuestion + vbMsgBoxHelpButton, titel,
                                            hilfedatei, kKontextKomprimieren);
        if (m_dialog.ENTLADEN()) return false;
        if (antwort == vbYes && !komprimieren()) return false;
    }
    // The session ended in a box of the compaction: the run is over, and
    // its changes stay in the copy for the next start.
    if (!m_dialog.GELADEN()) return false;
    // Replaced while the compaction's question waited.
    if (KOPIEVERSCHOBEN()) return m_ablage.SICHERN(titel);
    SetMousePointer(vbHourglass);
    // The line of an earlier Save does not stand for this one, whatever
    // this one comes to.
    m_dialog.HINWEISEN(QString(), QString());
    // The project as the join last found it: overwritten only while it is
    // still that, since the join took what it held of others into the copy.
    std::optional<DatabaseMark> erlaubt;
    std::optional<DATENSATZSTAENDE> gesehen;
    ENTSCHEIDUNGEN entscheidungen;
    UEBERNAHMEN uebernommen;
    SPEICHERVERSUCH versuch;
    for (int runde = 0;; ++runde) {
        versuch = SPEICHERNVERSUCHEN(eh, erlaubt, gesehen);
        if (versuch.ausgang != SPEICHERVERSUCH::Ausgang::Fremd) break;
        // A project that others keep changing faster than the join can
        // follow (or whose state cannot be read at all) is left as it is:
        // the Save says so and writes nothing.
        if (runde == kRunden) {
            SetMousePointer(vbDefault);
            UEBERNAHMENMELDEN(uebernommen);
            m_dialog.FRAGEN(
                m_dialog.SPRACHE() == 1
                    ? QStringLiteral("Project ") + m_dialog.PROJEKT() +
                          QStringLiteral(" does not hold still: it was changed again and again "
                                         "while it was being saved, or what it holds cannot be "
                                         "read.") +
                          QStringLiteral("\r\n") +
                          QStringLiteral("Nothing was saved; your changes stay in the working "
                                         "copy.")
                    : QStringLiteral("Das Projekt ") + m_dialog.PROJEKT() +
                          QString::fromUtf8(" hält nicht still: es wurde während des Speicherns "
                                            "immer wieder geändert, oder sein Inhalt lässt sich "
                                            "nicht lesen.") +
                          QStringLiteral("\r\n") +
                          QString::fromUtf8("Es wurde nichts gespeichert; Ihre Änderungen bleiben "
                                            "in der Arbeitskopie."),
                vbOKOnly + vbExclamation, titel);
            return false;
        }
        // Someone else wrote into the project since the copy last met it
        // (or the copy's digest is gone): what they changed comes into the
        // copy record by record before the copy goes over the project, and
        // only a record both changed is asked about. Another Save that lands
        // meanwhile makes the next attempt find the project changed again,
        // and the join runs again on what it holds then.
        DatabaseMark gelesen;
        if (!ZUSAMMENFUEHREN(eh, titel, entscheidungen, uebernommen, gesehen, gelesen)) {
            SetMousePointer(vbDefault);
            // What an earlier round took is in the copy all the same.
            if (m_dialog.GELADEN()) UEBERNAHMENMELDEN(uebernommen);
            return false;
        }
        erlaubt = gelesen;
    }
    if (versuch.ausgang == SPEICHERVERSUCH::Ausgang::Gespeichert) m_ablage.ERLEDIGEN();
    UEBERNAHMENMELDEN(uebernommen);
    SetMousePointer(vbDefault);
    if (versuch.abgebrochen && m_dialog.GELADEN())
        m_dialog.FRAGEN(eh.Message(*versuch.abgebrochen), vbOKOnly + vbExclamation, titel);
    if (versuch.beschaedigt) {
        if (m_dialog.SPRACHE() == 1)
            m_dialog.FRAGEN(QStringLiteral("The working copy is damaged; project ") +
                                m_dialog.PROJEKT() + QStringLiteral(" was not overwritten.") +
                                QStringLiteral("\r\n") +
                                QStringLiteral("The working copy is kept: ") + m_dialog.XMDBPFAD(),
                            vbOKOnly + vbCritical, titel);
        else
            m_dialog.FRAGEN(
                QString::fromUtf8("Die Arbeitskopie ist beschädigt; das Projekt ") +
                    m_dialog.PROJEKT() + QString::fromUtf8(" wurde nicht überschrieben.") +
                    QStringLiteral("\r\n") +
                    QString::fromUtf8("Die Arbeitskopie bleibt erhalten: ") + m_dialog.XMDBPFAD(),
                vbOKOnly + vbCritical, titel);
    }
    return versuch.ausgang == SPEICHERVERSUCH::Ausgang::Gespeichert;
}

// One attempt of a Save to write the copy over the project, under the
// project's write lock: Gespeichert (the project's new digest in `abdruck`),
// Fremd (someone else wrote into the project since: its digest as found in
// `abdruck`, nothing written, the lock given back) or Fehlgeschlagen (a box
// said why, or `beschaedigt` / `abgebrochen` for the boxes the Save shows
// after it). `bekannt`: the digests the project may have to be overwritten
// unasked; `erlaubt`: the one the join found and took what it held into the
// copy. A project whose digest cannot be read is overwritten only while it
// holds the records that the join last read (`gesehen`), compared under its
// write lock.
ARBEITSKOPIE::SPEICHERVERSUCH
ARBEITSKOPIE::SPEICHERNVERSUCHEN(ErrorHandler& eh, const std::optional<DatabaseMark>& erlaubt,
                                 const std::optional<DATENSATZSTAENDE>& gesehen) {
    // The copy holds the write lock from listing the marks to clearing them
    // (but for the moment its base meets the new project, after which the
    // marks stay where another run wrote meanwhile): a write of another run
    // is either in the copy and its mark cleared, or after it with a mark
    // of its own. The copy goes through the engine's
    // backup and its check, and replaces the project database only while the
    // Save holds the project's write lock: the project database is either
    // the old one or the whole, sound new one, and a program with open work
    // in it is waited for, never cut off.
    // (The lock is a writing transaction of a second connection: the copy's
    // own connection must only read for the engine's backup.)
    // The project is shared with the other users and programs of the
    // laboratory: what it is now is compared, under its write lock, with
    // what the copy was taken from, and a project that someone else changed
    // since is overwritten only after the user's word, asked with no lock
    // held.
    SPEICHERVERSUCH versuch;
    // A wait that the user cancels ends the Save as its time-out does, with
    // one box: the changes stay unsaved in the copy, and after the quit's
    // Yes the program keeps running.
    const auto wartend = [&](const std::function<void()>& schritt) {
        return [&versuch, schritt] {
            try {
                schritt();
            } catch (const RuntimeError& fehler) {
                if (fehler.Number() != DatabaseError::Cancelled) throw;
                versuch.abgebrochen = fehler;
            }
        };
    };
    Connection sperre;
    const bool gesperrt = eh.Run(wartend([&] {
        sperre.Open(m_DBPROJEKT->Path());
        sperre.BeginTrans();
    })) && !versuch.abgebrochen;
    // What the project may be to be overwritten unasked: what the copy was
    // taken from or last saved as, by any run of the user.
    versuch.bekannt = PROJEKTABDRUECKE(gesperrt ? &sperre : nullptr);
    if (gesperrt) {
        QStringList gesichert = m_laeufe.GESPEICHERTERZUSTAND();
        QList<DatabaseMark> erlaubte = versuch.bekannt;
        if (erlaubt) erlaubte << *erlaubt;
        // The new project's digest is beside the copy before the new project
        // takes the old one's place, together with the old one's: a run
        // killed in between leaves digests that the project is either of.
        // A Save over the very content of the copy's base tells the
        // project's history what it changed (read while the copy is locked,
        // after an earlier Save left open is settled by what it replaces),
        // once the project took it: an entry names only a content the
        // project held. The copy then meets the new content, the base
        // before kept beside until the new project is in place
        // (KOPIEBASIS::VORGEMERKT), committed before the project is: no kill
        // in between parts the copy from a base it can tell.
        bool ersetzend = false, vorgemerkt = false;
        std::optional<QSet<QString>> verlauf;
        DatabaseMark verlaufVon;
        const auto vorErsetzen = [&](const DatabaseMark& neu, const DatabaseMark& ersetzt, bool) {
            ersetzend = true;
            BASISKLAEREN(sperre, ersetzt, nullptr, false);
            std::optional<KOPIEBASIS::AENDERUNGEN> eigene;
            try {
                eigene = KOPIEBASIS::GEAENDERT(sperre);
            } catch (const RuntimeError&) {
                // The project's history then goes without this Save: a
                // later join reads the project whole.
            }
            // A copy that something beside the program wrote into knows no
            // content its base is of: it tells the project's history
            // nothing, as what it changed is not all known.
            if (eigene && eigene->abdruck.Same(ersetzt)) {
                verlauf = eigene->schluessel;
                verlaufVon = ersetzt;
            }
            if (HALTEPUNKT) HALTEPUNKT("ERSETZEND");
            if (KOPIEVERSCHOBEN()) return;
            const std::optional<quint32> vorher = FileChangeCounter(sperre);
            KOPIEBASIS::PROJEKTSTAENDESETZEN(sperre, QList<DatabaseMark>{neu} + versuch.bekannt);
            KOPIEBASIS::VORGEMERKT(sperre, neu, ersetzt);
            vorgemerkt = true;
            sperre.CommitTrans();
            sperre.BeginTrans();
            // Another run that wrote between the two (it waited for the
            // lock) may have found its change mark still there and made
            // none: the marks listed stay, one question too many rather
            // than a change nobody is asked about.
            const std::optional<quint32> nachher = FileChangeCounter(sperre);
            if (!vorher || !nachher || *nachher != *vorher + 1) gesichert.clear();
            if (HALTEPUNKT) HALTEPUNKT("VORGEMERKT");
        };
        // A project whose digest cannot be read is compared record by record
        // with what the join read of it.
        const auto wieGesehen = [&]() {
            if (!gesehen) return false;
            try {
                Connection projekt;
                projekt.SetConnectionTimeout(30);
                projekt.Open(m_dialog.PROJEKTDATENBANK());
                return DATENSATZSTAENDE::LESEN(projekt) == *gesehen;
            } catch (const RuntimeError&) {
                return false;
            }
        };
        bool fremd = false;
        const bool geschrieben = eh.Run(wartend([&] {
            try {
                // The copy's own bookkeeping stays in the copy.
                fremd = !CopyDatabaseIfUnchanged(*m_DBPROJEKT, m_dialog.PROJEKTDATENBANK(),
                                                 erlaubte, versuch.abdruck, true, vorErsetzen,
                                                 wieGesehen, KOPIEBASIS::TABELLEN());
            } catch (const RuntimeError& fehler) {
                if (fehler.Number() != DatabaseError::Damaged) throw;
                versuch.beschaedigt = true;
            }
        })) && !versuch.beschaedigt &&
                                 !versuch.abgebrochen && !fremd;
        if (fremd) {
            versuch.ausgang = SPEICHERVERSUCH::Ausgang::Fremd;
        } else if (geschrieben) {
            versuch.ausgang = SPEICHERVERSUCH::Ausgang::Gespeichert;
            if (HALTEPUNKT) HALTEPUNKT("IMPROJEKT");
            if (verlauf)
                PROJEKTVERLAUF::EINTRAGEN(m_dialog.PROJEKTDATENBANK(), verlaufVon, versuch.abdruck,
                                          *verlauf);
            m_ablage.EIGENEAENDERUNG(false);
            // Replaced under the Save: the project holds what this run had,
            // and nothing of the copy now at the path is settled.
            if (!KOPIEVERSCHOBEN()) {
                // The copy met the project whole: the base before goes,
                // settled while the copy is still locked. Should that fail,
                // the next join settles it by what the project is then.
                try {
                    // The content it met is the one written (versuch.abdruck).
                    if (vorgemerkt) KOPIEBASIS::BESTAETIGT(sperre);
                    sperre.CommitTrans();
                } catch (const RuntimeError&) {
                }
                m_laeufe.GESPEICHERT(gesichert);
            }
        } else if (ersetzend && !KOPIEVERSCHOBEN() &&
                   DatabaseMark::Contains(versuch.bekannt,
                                          MarkOfDatabase(m_dialog.PROJEKTDATENBANK()))) {
            // The new project never took the old one's place: the copy's
            // base is the one before again, and the digests beside the copy
            // name the old one alone.
            if (vorgemerkt) {
                try {
                    if (!sperre.TransactionLevel()) sperre.BeginTrans();
                    KOPIEBASIS::ZURUECK(sperre);
                    sperre.CommitTrans();
                } catch (const RuntimeError&) {
                    // Left open, the next join settles it.
                }
            }
        }
    }
    sperre.Close();
    return versuch;
}

// A Save left open in the copy (killed between its steps) settled by
// the project content `projekt`, in the caller's transaction on `kopie`.
// Where neither the project's content nor its history tells whether the
// project took the Save, it never counts as not landed: record by record,
// what the project holds as the Save wrote it is saved, and what it holds
// otherwise gets its base before back. Of those, the records this user
// changed in the Save that the project holds as before it are returned:
// the Save landed and someone changed them back, or it never landed, and
// only the user can tell, so the caller asks about them. A caller that
// cannot ask (`offenLassen`) leaves the Save open where there are any.
// `projektlesen`: the project's records, read in the read that `projekt`
// is the mark of (the project at its path where none is given).
QSet<QString> ARBEITSKOPIE::BASISKLAEREN(Connection& kopie, const DatabaseMark& projekt,
                                         Connection* projektlesen, bool offenLassen) {
    const std::optional<DatabaseMark> neu = KOPIEBASIS::OFFEN(kopie);
    if (!neu) return {};
    if (GELANDET(*neu, projekt)) {
        KOPIEBASIS::BESTAETIGT(kopie);
        return {};
    }
    if (NICHTGELANDET(kopie, projekt)) {
        KOPIEBASIS::ZURUECK(kopie);
        return {};
    }
    const KOPIEBASIS::OFFENESTAENDE offen = KOPIEBASIS::OFFENLESEN(kopie);
    // Without a base before, every record held otherwise is asked about
    // all the same.
    if (!offen.vorher) {
        KOPIEBASIS::ZURUECK(kopie);
        return {};
    }
    QSet<QString> schluessel;
    for (auto it = offen.datensaetze.cbegin(); it != offen.datensaetze.cend(); ++it)
        schluessel.insert(it.key());
    DATENSATZSTAENDE imProjekt;
    if (projektlesen) {
        imProjekt = DATENSATZSTAENDE::LESEN(*projektlesen, schluessel);
    } else {
        Connection eigene;
        eigene.SetConnectionTimeout(30);
        eigene.Open(m_dialog.PROJEKTDATENBANK());
        imProjekt = DATENSATZSTAENDE::LESEN(eigene, schluessel);
    }
    QSet<qint64> zurueck;
    QSet<QString> fragen;
    for (const QString& s : schluessel) {
        const QByteArray p = imProjekt.Inhalt(s), geschrieben = offen.geschrieben.Inhalt(s);
        if (p == geschrieben) continue;
        for (const qint64 id : offen.datensaetze.value(s))
            zurueck.insert(id);
        if (p == offen.vorher->Inhalt(s)) fragen.insert(s);
    }
    if (offenLassen && !fragen.isEmpty()) return fragen;
    KOPIEBASIS::TEILWEISE(kopie, zurueck);
    return fragen;
}

// Whether the project content `projekt` is what a Save wrote
// (`geschrieben`) or came from it by Saves that the project's history
// tells.
bool ARBEITSKOPIE::GELANDET(const DatabaseMark& geschrieben, const DatabaseMark& projekt) {
    return geschrieben.Same(projekt) ||
           PROJEKTVERLAUF::GEAENDERT(m_dialog.PROJEKTDATENBANK(), geschrieben, projekt).has_value();
}

// Whether the project content `projekt` tells that the Save open in the
// copy never landed: it is the content that Save was to replace (or
// another the copy met before), or came from it by Saves that the
// project's history tells, which never passed what the Save wrote.
bool ARBEITSKOPIE::NICHTGELANDET(Connection& kopie, const DatabaseMark& projekt) {
    for (const DatabaseMark& vorher : KOPIEBASIS::VORHERSTAENDE(kopie))
        if (vorher.Same(projekt) ||
            PROJEKTVERLAUF::GEAENDERT(m_dialog.PROJEKTDATENBANK(), vorher, projekt))
            return true;
    return false;
}

bool ARBEITSKOPIE::FREMDGESCHRIEBEN() {
    try {
        return !m_DBPROJEKT->IsOpen() || KOPIEBASIS::FREMD(*m_DBPROJEKT);
    } catch (const RuntimeError&) {
        return true;
    }
}

void ARBEITSKOPIE::KOMPRIMIERT(bool fremd) {
    if (KOPIEVERSCHOBEN()) return;
    try {
        KOPIEBASIS::STEMPELN(m_dialog.XMDBPFAD(), fremd);
    } catch (const RuntimeError&) {
        // The next write of the program's tells the copy as written beside
        // it: one question more, nothing lost.
    }
}
