// The start as the working copy sees it: the decision when a copy is still
// there, and a fresh copy. Which runs share the copy and who may decide
// about it alone is LAEUFE's; what is unsaved in it, its base's
// (KOPIEBASIS).
//
// A copy is made under a temporary name beside the working copy and renamed
// into place only when it is complete, so that a run killed during the copy
// never leaves a half copy that the next start would offer as the user's
// changes. The copy names inside itself the project database it was made
// from (and VELD.projekt beside it, for older copies): a copy left by a run
// on another project is never offered for this one, nor saved over it.
//
// A copy that an interrupted run left damaged is not offered: a Yes would
// keep it and every command would then fail on it, and copied over, the
// interrupted run's changes would be lost for good. Like a copy of another
// project, it is put aside under a name that says what it is, where the user
// (or whoever repairs it) finds it, and the run goes on with a fresh copy of
// the project.

#include "arbeitskopie/ARBEITSKOPIE.h"

#include "arbeitskopie/KOPIEDATEIEN.h"

#include "arbeitskopie/KOPIEBASIS.h"
#include "arbeitskopie/PROJEKTABDRUCK.h"
#include "arbeitskopie/PROJEKTVERLAUF.h"

#include "arbeitskopie/TAETIGKEIT.h"
#include "platform/database/BusyWait.h"
#include "platform/database/Connection.h"
#include "platform/database/DatabaseError.h"
#include "platform/database/DatabaseFile.h"
#include "platform/runtime/ErrorHandler.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/System.h"
#include "platform/runtime/WaitWindow.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace {
// How long a start waits for another run's decision, as long as every wait
// for another holder of a database.
constexpr qint64 kWartezeitMs = 30000;

// A working copy that another run or program holds for writing is neither
// replaced nor used: the start waits until it is free (the wait shows
// itself), and a copy still held past the time-out ends the start. Any
// other fault of the copy is told by the steps that use it.
void kopieFrei(const QString& arbeitskopie) {
    if (!QFileInfo::exists(arbeitskopie)) return;
    try {
        Connection probe;
        probe.SetConnectionTimeout(30);
        probe.Open(arbeitskopie);
        probe.BeginTrans();
        probe.RollbackTrans();
    } catch (const RuntimeError& fehler) {
        if (fehler.Number() == DatabaseError::Locked || fehler.Number() == DatabaseError::Cancelled)
            throw;
    }
}

// A first start copies the project database. The open reads it: a holder is
// waited for once, here, where the wait names the project database, and one
// that is held past the time-out, damaged or missing ends the start before
// anything is made beside the copy.
void projektLesbar(const QString& projektdatenbank) {
    Connection probe;
    probe.SetConnectionTimeout(30);
    probe.Open(projektdatenbank);
}
} // namespace

void ARBEITSKOPIE::VORPRUEFEN(ErrorHandler& eh) {
    eh.Run([&] { kopieFrei(m_dialog.XMDBPFAD()); });
    if (!eh.Left() && !QFileInfo::exists(m_dialog.XMDBPFAD()))
        eh.Run([&] { projektLesbar(m_dialog.PROJEKTDATENBANK()); });
}

bool ARBEITSKOPIE::VORBEREITEN(ErrorHandler& eh) {
    const std::optional<QString> kopie = eh.Value([&] { return m_dialog.XMDBPFAD(); });
    if (!kopie) return true;
    const QString arbeitskopie = *kopie;
    // A copy kept as it is where nobody can tell whether a run works on it.
    bool auffrischen = false;
    // What killed runs left beside the project database and the copy goes.
    RemoveDeadTemporaries(QFileInfo(m_dialog.PROJEKTDATENBANK()).absolutePath());
    RemoveDeadTemporaries(QFileInfo(arbeitskopie).absolutePath());
    m_laeufe.OEFFNEN(arbeitskopie);
    if (!m_laeufe.STARTSPERREN(arbeitskopie)) {
        if (HALTEPUNKT) HALTEPUNKT("WARTET");
        // A wait cancelled, timed out or ended by the session ends the start
        // with the one box of every such start (none at the session's end).
        if (!eh.Run([&] { ENTSCHEIDUNGABWARTEN(arbeitskopie); })) return true;
    }
    if (m_laeufe.ZUSTANDSFEHLER().isEmpty())
        TAETIGKEIT::MELDEN(m_laeufe.ZUSTAND(), TAETIGKEIT::START);
    struct Freigabe {
        LAEUFE& laeufe;
        ~Freigabe() {
            TAETIGKEIT::BEENDEN();
            laeufe.STARTFREIGEBEN();
        }
    } freigabe{m_laeufe};
    if (!m_laeufe.ZUSTAND().isEmpty()) m_laeufe.LAUFANMELDEN();
    // A run that cannot keep its state beside the copy is told once; it
    // changes nothing in the copy and decides nothing about it.
    if (!m_laeufe.ZUSTANDSFEHLER().isEmpty()) m_laeufe.ZUSTANDMELDEN();
    if (HALTEPUNKT) HALTEPUNKT("HALT");

    if (QFileInfo::exists(arbeitskopie)) {
        // What the copy says of itself comes before the file beside it: a
        // file put at the copy's path is known for what it is.
        QString fremderBenutzer;
        const QString herkunft = KOPIEHERKUNFT(arbeitskopie, fremderBenutzer);
        if (!herkunft.isEmpty() &&
            (herkunft != PROJEKTABDRUCK::GLEICHNAMIG(m_dialog.PROJEKTDATENBANK()) ||
             !fremderBenutzer.isEmpty())) {
            // Another project's copy is never moved without knowing that no
            // run works on it, nor taken for this project's (a Save would
            // write it over this project): a run that cannot know ends here,
            // told why, and the copy stays as it is.
            if (!ZUSTANDBEKANNT()) {
                if (m_laeufe.ZUSTANDSFEHLER().isEmpty())
                    m_laeufe.ZUSTANDFEHLT(
                        m_laeufe.ZUSTAND(),
                        m_laeufe.GRUND("the run's mark is gone", "die Marke des Laufs fehlt"));
                m_laeufe.ZUSTANDMELDEN();
                return false;
            }
            const QString projekt =
                PROJEKTABDRUCK::PROJEKTNAME(herkunft) +
                (fremderBenutzer.isEmpty() ? QString() : QLatin1Char('_') + fremderBenutzer);
            QString welches = m_dialog.SPRACHE() == 1 ? QStringLiteral("project ") + projekt
                                                      : QStringLiteral("zum Projekt ") + projekt;
            if (projekt == PROJEKTABDRUCK::FREMD)
                welches = m_dialog.SPRACHE() == 1 ? QStringLiteral("another project")
                                                  : QStringLiteral("einem anderen Projekt");
            // A copy that another run still works on (or may: the copy's
            // lock refused) cannot be moved, and this run cannot share it
            // either: a Save would write the other project's records over
            // this one. The start ends, told why.
            if (!m_laeufe.KOPIEALLEIN()) {
                if (!m_laeufe.ZUSTANDSFEHLER().isEmpty())
                    m_laeufe.ZUSTANDMELDEN();
                else if (!m_laeufe.ANTEILFEHLER().isEmpty())
                    m_laeufe.ANTEILPRUEFEN(arbeitskopie);
                else if (m_dialog.SPRACHE() == 1)
                    m_dialog.FRAGEN(
                        QStringLiteral("The working copy belongs to ") + welches +
                            QStringLiteral(", on which another run of VELD is working right "
                                           "now.") +
                            QStringLiteral("\r\n") +
                            QStringLiteral("End that run first; this start ends."),
                        vbOKOnly + vbExclamation, KOPIEDATEIEN::kTitel);
                else
                    m_dialog.FRAGEN(
                        QString::fromUtf8("Die Arbeitskopie gehört ") + welches +
                            QString::fromUtf8(", an dem gerade ein anderer Lauf von VELD "
                                              "arbeitet.") +
                            QStringLiteral("\r\n") +
                            QString::fromUtf8("Beenden Sie zuerst diesen Lauf; dieser Start "
                                              "wird beendet."),
                        vbOKOnly + vbExclamation, KOPIEDATEIEN::kTitel);
                return false;
            }
            // Another project's unsaved changes: they are kept under a name
            // of their own, and this project gets a fresh copy.
            if (!KOPIEERSETZEN(eh, arbeitskopie, projekt)) return false;
        } else if (!m_laeufe.KOPIEALLEIN() && !UNGEWISSVERLASSEN()) {
            // Another run of this user works on the copy right now: nothing
            // was interrupted, and this run shares the copy as it is, with
            // its state. A run that cannot know the copy's state leaves it
            // as it is, too. Where the copy's lock is refused, no run may be
            // at work on it at all: it is brought up to the project below.
            auffrischen = !m_laeufe.ANTEILFEHLER().isEmpty();
        } else if (m_laeufe.ANTEILFEHLER().isEmpty() &&
                   BESCHAEDIGTEKOPIESICHERN(eh, arbeitskopie)) {
            // A damaged copy is never offered: it was put aside, and this
            // run has a fresh one (or ends, told why).
            if (m_abgebrochen) return false;
        } else {
            // No other run holds the copy: a run that is gone left it. The
            // lock stays exclusive until the answer is carried out, so a run
            // starting meanwhile waits and then shares the decided copy.
            // Where the share of the copy is refused, the question says that
            // the start cannot be sure that no run works on the copy.
            // A copy that holds every record as it last met the project was
            // left with nothing unsaved: nothing to ask, and the copy goes on
            // with its base.
            const bool nichtsOffen =
                m_laeufe.ANTEILFEHLER().isEmpty() && VERLASSENUNVERAENDERT(arbeitskopie);
            const int antwort = nichtsOffen ? vbYes
                                : !m_laeufe.ANTEILFEHLER().isEmpty()
                                    ? m_laeufe.UNGEWISSFRAGEN(arbeitskopie)
                                    : VERLASSENFRAGEN(arbeitskopie);
            if (nichtsOffen) {
                m_laeufe.GESPEICHERT(m_laeufe.ZUSTANDSDATEIEN(LAEUFE::kAenderungsvermerke) +
                                     m_laeufe.FREMDELAEUFE());
            } else if (antwort == vbYes) {
                // From now on the copy is this project's, and what the gone
                // runs left in it counts as this run's unsaved changes. The
                // project content it last met stays inside it; the file
                // beside it names the project where it names none.
                eh.Run([&] {
                    const QString herkunft = PROJEKTABDRUCK::HERKUNFTSDATEI(arbeitskopie);
                    if (PROJEKTABDRUCK::HERKUNFT(herkunft) !=
                        PROJEKTABDRUCK::GLEICHNAMIG(m_dialog.PROJEKTDATENBANK()))
                        PROJEKTABDRUCK::SCHREIBEN(herkunft, m_dialog.PROJEKTDATENBANK(), {});
                });
                // The run's own mark comes before the gone runs' marks go:
                // the copy never looks unchanged meanwhile, so its base stays
                // what the copy was when it last met the project.
                const QStringList alte =
                    m_laeufe.ZUSTANDSDATEIEN(LAEUFE::kAenderungsvermerke) + m_laeufe.FREMDELAEUFE();
                SETZEBOGEAENDERT(true);
                m_laeufe.GESPEICHERT(alte);
            } else if (eh.Run([&] { FRISCHEKOPIE(arbeitskopie); })) {
                m_laeufe.LEEREN();
            }
            QFile::remove(m_laeufe.BEHALTENVERMERK());
            m_laeufe.KOPIETEILEN();
        }
    } else {
        // A copy made while another run starts is made once.
        const bool allein = m_laeufe.KOPIEALLEIN();
        if (eh.Run([&] { FRISCHEKOPIE(arbeitskopie); }) && allein) m_laeufe.LEEREN();
        m_laeufe.KOPIETEILEN();
    }
    if (!eh.Left()) m_laeufe.ANTEILPRUEFEN(arbeitskopie);
    // What runs kept when the copy went from under them is offered while
    // this start still decides, so that two starts never bring it in twice.
    if (eh.Run([&] { ARBEITSKOPIEOEFFNEN(arbeitskopie); })) {
        if (auffrischen) AUFFRISCHEN(eh);
        // Only a run that can mark what it brings in; otherwise the files
        // stay for a later start.
        if (ZUSTANDBEKANNT()) m_ablage.ANBIETEN();
    }
    return true;
}

void ARBEITSKOPIE::FRISCHEKOPIE(const QString& arbeitskopie) {
    const QString herkunft = PROJEKTABDRUCK::HERKUNFTSDATEI(arbeitskopie);
    const QString neu = arbeitskopie + QStringLiteral(".neu");
    DatabaseMark abdruck;
    // Until the new copy is in place, it belongs to no project.
    QFile::remove(herkunft);
    QFile::remove(neu);
    try {
        // The new file is the working copy to the user, also in its boxes.
        CopyDatabase(m_dialog.PROJEKTDATENBANK(), neu, arbeitskopie, &abdruck);
        // It holds what the project holds: that is its base.
        KOPIEBASIS::NEU(neu, abdruck, PROJEKTABDRUCK::GLEICHNAMIG(m_dialog.PROJEKTDATENBANK()),
                        KOPIEBENUTZER(arbeitskopie));
        // The new copy carries this run's share from the moment it is at the
        // copy's path: a start meanwhile never finds it without a live run.
        for (const QString& endung : KOPIEDATEIEN::kBeiDateien)
            QFile::remove(arbeitskopie + endung);
        // No connection of this run is open on the copy replaced, so its
        // descriptor may close.
        KOPIEDATEIEN::BELEGTUMBENENNEN(neu, arbeitskopie, m_laeufe.KOPIEANTEIL());
    } catch (...) {
        QFile::remove(neu);
        throw;
    }
    // The copy keeps the project content it met inside itself; the file
    // beside it only names the project, for programs that read it there.
    PROJEKTABDRUCK::SCHREIBEN(herkunft, m_dialog.PROJEKTDATENBANK(), {});
}

// With the copy to itself: a copy that the engine's check finds damaged
// is replaced (KOPIEERSETZEN). True when it was damaged (the copy's lock
// is then shared again; m_abgebrochen when the start ends, told why);
// false for a sound copy, still held alone. A copy that cannot be read
// leaves through `eh`.
bool ARBEITSKOPIE::BESCHAEDIGTEKOPIESICHERN(ErrorHandler& eh, const QString& arbeitskopie) {
    // The engine's check reads every page, so that damage inside a table is
    // found here and not by the first command that reads it.
    bool beschaedigt = false;
    const bool geprueft = eh.Run([&] {
        try {
            CheckDatabase(arbeitskopie);
        } catch (const RuntimeError& fehler) {
            if (fehler.Number() != DatabaseError::Damaged) throw;
            beschaedigt = true;
        }
    });
    if (!geprueft) {
        // A copy that cannot be read (held, unreadable) ends the start,
        // left as it is; one the user chose to go on with is offered.
        if (!eh.Left()) return false;
        m_laeufe.KOPIETEILEN();
        return true;
    }
    if (!beschaedigt) return false;
    if (!KOPIEERSETZEN(eh, arbeitskopie, QString())) m_abgebrochen = true;
    return true;
}

// With the copy to itself: the damaged copy, or the copy of another
// project (`fremdprojekt`), is put aside, a fresh copy of this project
// takes its place, the marks that were the old copy's go, the copy's
// lock is shared again and the user is told where the old copy lies.
// False when the start is to end, told why (no fresh copy); true
// otherwise, also when the copy could not be put aside and `eh` left.
bool ARBEITSKOPIE::KOPIEERSETZEN(ErrorHandler& eh, const QString& arbeitskopie,
                                 const QString& fremdprojekt) {
    const bool en = m_dialog.SPRACHE() == 1;
    const bool beschaedigt = fremdprojekt.isEmpty();
    const std::optional<QString> ziel = eh.Value([&] {
        return KOPIEDATEIEN::KOPIEBEISEITELEGEN(
            arbeitskopie, beschaedigt ? QStringLiteral("beschaedigt") : fremdprojekt);
    });
    if (!ziel) {
        // Never copied over, nor worked on: what could not be put aside
        // stays where it is, and the start ends (its box says why).
        m_laeufe.KOPIETEILEN();
        return eh.Left();
    }
    const QString ort = QDir::toNativeSeparators(*ziel) + QLatin1Char('.');
    QString was;
    if (beschaedigt)
        was = en ? QStringLiteral("The working copy left by an interrupted run is damaged and "
                                  "cannot be used. It has been kept as ") +
                       ort
                 : QString::fromUtf8("Die Arbeitskopie, die ein unterbrochener Lauf hinterlassen "
                                     "hat, ist beschädigt und kann nicht benutzt werden. Sie liegt "
                                     "unter ") +
                       ort;
    else if (fremdprojekt == PROJEKTABDRUCK::FREMD)
        was = en ? QStringLiteral("The working copy of another project was not saved. It has "
                                  "been kept as ") +
                       ort
                 : QStringLiteral("Die Arbeitskopie eines anderen Projekts wurde nicht "
                                  "gespeichert. Sie liegt unter ") +
                       ort;
    else
        was = en ? QStringLiteral("The working copy of project ") + fremdprojekt +
                       QStringLiteral(" was not saved. It has been kept as ") + ort
                 : QStringLiteral("Die Arbeitskopie des Projekts ") + fremdprojekt +
                       QStringLiteral(" wurde nicht gespeichert. Sie liegt unter ") + ort;
    bool frisch = false;
    {
        // A refusal of the project says what stands: the copy lies aside,
        // and no new one was made.
        const DatabaseError::WhatStands stand(
            QStringLiteral("eine neue Arbeitskopie wurde nicht angelegt"),
            QStringLiteral("no new working copy was made"));
        frisch = eh.Run([&] { FRISCHEKOPIE(arbeitskopie); });
    }
    // What the marks beside the copy tell belongs to the copy put aside.
    if (frisch) m_laeufe.LEEREN();
    m_laeufe.KOPIETEILEN();
    if (!frisch) {
        // One box: where the copy lies, and why the start ends.
        if (!m_dialog.SITZUNGENDET())
            m_dialog.FRAGEN(was + QStringLiteral("\r\n") + eh.ErrDescription() +
                                QStringLiteral("\r\n") +
                                (en ? QStringLiteral("VELD does not start.")
                                    : QStringLiteral("VELD wird nicht gestartet.")),
                            vbOKOnly + vbExclamation, KOPIEDATEIEN::kTitel);
        return false;
    }
    if (beschaedigt)
        was += QStringLiteral("\r\n") +
               (en ? QStringLiteral("The work goes on with a new copy of project ") +
                         m_dialog.PROJEKT() + QStringLiteral(".")
                   : QStringLiteral("Es wird mit einer neuen Kopie des Projekts ") +
                         m_dialog.PROJEKT() + QStringLiteral(" weitergearbeitet."));
    m_dialog.FRAGEN(was, vbOKOnly + vbExclamation, KOPIEDATEIEN::kTitel);
    return true;
}

void ARBEITSKOPIE::ARBEITSKOPIEOEFFNEN(const QString& arbeitskopie) {
    m_DBPROJEKT->SetConnectionTimeout(30);
    m_DBPROJEKT->Open(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0; ") +
                      QStringLiteral("Data Source=") + arbeitskopie +
                      QStringLiteral(";Persist Security Info=False"));
}

// Waits, with events running and a small window saying so, until no
// other run decides about the copy; raises the wait cancelled (or the
// session ended) or timed out, naming the copy.
void ARBEITSKOPIE::ENTSCHEIDUNGABWARTEN(const QString& arbeitskopie) {
    // Another run decides about the copy (its save question at the end, a
    // compaction, a Save, its own start): this start waits, says for what
    // once the wait lasts, and can be cancelled or ended by the session. As
    // every wait for another, it gives up after the time-out.
    WaitWindow::Wait warten([this] {
        QString was = TAETIGKEIT::LESEN(m_laeufe.ZUSTAND(), m_dialog.SPRACHE());
        if (was.isEmpty())
            was = m_dialog.SPRACHE() == 1
                      ? QStringLiteral("Another run of VELD decides about the working copy.")
                      : QString::fromUtf8("Ein anderer Lauf von VELD entscheidet gerade über die "
                                          "Arbeitskopie.");
        return was + QLatin1Char('\n') +
               (m_dialog.SPRACHE() == 1
                    ? QStringLiteral("This start waits until it is done.")
                    : QStringLiteral("Dieser Start wartet, bis er fertig ist."));
    });
    for (;;) {
        if (m_laeufe.STARTSPERREN(arbeitskopie)) return;
        if (warten.Elapsed() >= BusyWait::Limited(kWartezeitMs))
            throw DatabaseError::LockedError(arbeitskopie);
        if (!warten.Pause(50) || m_dialog.SITZUNGENDET())
            throw DatabaseError::CancelledError(arbeitskopie);
    }
}
