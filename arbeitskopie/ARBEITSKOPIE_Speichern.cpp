// The Save: the working copy over the project database, under the
// project's write lock, and the question before it overwrites what someone
// else wrote into the project since the copy last met it.

#include "arbeitskopie/ARBEITSKOPIE.h"

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
    if (KOPIEVERSCHOBEN()) return ABGELOESTEKOPIESICHERN(titel);
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
    if (KOPIEVERSCHOBEN()) return ABGELOESTEKOPIESICHERN(titel);
    SetMousePointer(vbHourglass);
    // The project as the user agreed to overwrite it, or as found to hold
    // nothing that the copy lacks.
    std::optional<DatabaseMark> erlaubt;
    SPEICHERVERSUCH versuch;
    for (;;) {
        versuch = SPEICHERNVERSUCHEN(eh, erlaubt);
        if (versuch.ausgang != SPEICHERVERSUCH::Ausgang::Fremd) break;
        // Someone else wrote into the project (or the copy's digest is gone):
        // the question comes only where the Save would remove a record
        // that the copy does not hold as the project does. A project that
        // holds nothing more (the user's own export, another run of the
        // user that saved meanwhile, the project put back as it was) is
        // overwritten unasked.
        const std::optional<QStringList> verloren = eh.Value([&] { return ABWEICHUNGEN(); });
        if (!verloren) {
            SetMousePointer(vbDefault);
            return false;
        }
        if (!verloren->isEmpty()) {
            SetMousePointer(vbDefault);
            if (!UEBERSCHREIBENFRAGEN(titel, *verloren, versuch.bekannt.isEmpty())) return false;
            SetMousePointer(vbHourglass);
        }
        erlaubt = versuch.abdruck;
    }
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

ARBEITSKOPIE::SPEICHERVERSUCH
ARBEITSKOPIE::SPEICHERNVERSUCHEN(ErrorHandler& eh, const std::optional<DatabaseMark>& erlaubt) {
    // The copy holds the write lock from listing the marks to clearing them:
    // a write of another run is either in the copy and its mark cleared, or
    // after it with a mark of its own. The copy goes through the engine's
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
    versuch.bekannt = PROJEKTABDRUECKE() + m_eigeneprojektabdruecke;
    if (gesperrt) {
        const QStringList gesichert = GESPEICHERTERZUSTAND();
        QList<DatabaseMark> erlaubte = versuch.bekannt;
        if (erlaubt) erlaubte << *erlaubt;
        // The new project's digest is beside the copy before the new project
        // takes the old one's place, together with the old one's: a run
        // killed in between leaves digests that the project is either of.
        const auto vorErsetzen = [&](const DatabaseMark& neu) {
            if (!KOPIEVERSCHOBEN())
                PROJEKTABDRUECKESETZEN(QList<DatabaseMark>{neu} + versuch.bekannt);
        };
        bool fremd = false;
        const bool geschrieben = eh.Run(wartend([&] {
            try {
                // A project whose digest could not be taken is overwritten
                // as the user agreed, not asked about again.
                fremd = !CopyDatabaseIfUnchanged(*m_DBPROJEKT, m_dialog.PROJEKTDATENBANK(),
                                                 erlaubte, versuch.abdruck,
                                                 !erlaubt || erlaubt->known, vorErsetzen);
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
            m_eigeneAenderung = false;
            // Replaced under the Save: the project holds what this run had,
            // and nothing of the copy now at the path is settled.
            if (!KOPIEVERSCHOBEN()) {
                PROJEKTABDRUECKESETZEN({versuch.abdruck});
                ZUSTANDGESPEICHERT(gesichert);
            }
        }
    }
    sperre.Close();
    return versuch;
}

bool ARBEITSKOPIE::UEBERSCHREIBENFRAGEN(const QString& titel, const QStringList& verloren,
                                        bool unbekannt) {
    const QString projekt = QDir::toNativeSeparators(m_dialog.PROJEKTDATENBANK());
    const bool englisch = m_dialog.SPRACHE() == 1;
    const QString liste = AUFZAEHLUNG(verloren);
    QString text;
    if (englisch) {
        text = unbekannt ? QStringLiteral("Whether project ") + m_dialog.PROJEKT() +
                               QStringLiteral(" (") + projekt +
                               QStringLiteral(") was changed by another user or program since the "
                                              "working copy was taken cannot be told: the working "
                                              "copy's mark is missing.")
                         : QStringLiteral("Project ") + m_dialog.PROJEKT() + QStringLiteral(" (") +
                               projekt +
                               QStringLiteral(") was changed by another user or program since the "
                                              "working copy was taken.");
        text += QStringLiteral(" Saving now removes these records from the project, which the "
                               "working copy does not hold or holds otherwise: ") +
                liste + QStringLiteral(".") + QStringLiteral("\r\n") +
                QStringLiteral("To keep both, choose No and use File, Export-Import: either "
                               "import the project's records into the working copy and then "
                               "save, or export your own records into the project and then "
                               "quit without saving (No when asked to save).") +
                QStringLiteral("\r\n") + QStringLiteral("Overwrite the project all the same?");
    } else {
        text = unbekannt ? QStringLiteral("Ob das Projekt ") + m_dialog.PROJEKT() +
                               QStringLiteral(" (") + projekt +
                               QString::fromUtf8(") seit dem Anlegen der Arbeitskopie von einem "
                                                 "anderen Benutzer oder Programm geändert wurde, "
                                                 "lässt sich nicht feststellen: die Marke der "
                                                 "Arbeitskopie fehlt.")
                         : QStringLiteral("Das Projekt ") + m_dialog.PROJEKT() +
                               QStringLiteral(" (") + projekt +
                               QString::fromUtf8(") wurde seit dem Anlegen der Arbeitskopie von "
                                                 "einem anderen Benutzer oder Programm geändert.");
        text += QString::fromUtf8(" Wird jetzt gespeichert, gehen im Projekt diese Datensätze "
                                  "verloren, die die Arbeitskopie nicht oder anders enthält: ") +
                liste + QStringLiteral(".") + QStringLiteral("\r\n") +
                QString::fromUtf8("Um beides zu behalten, wählen Sie Nein und dann Datei, "
                                  "Export-Import: entweder die Datensätze des Projekts in die "
                                  "Arbeitskopie importieren und danach speichern, oder die "
                                  "eigenen Datensätze in das Projekt exportieren und danach "
                                  "ohne Speichern beenden (Nein auf die Frage nach dem "
                                  "Speichern).") +
                QStringLiteral("\r\n") +
                QString::fromUtf8("Soll das Projekt trotzdem überschrieben werden?");
    }
    const int antwort = m_dialog.FRAGEN(text, vbYesNo + vbExclamation + vbDefaultButton2, titel);
    // The session ended while the question waited: nothing is written.
    return antwort == vbYes && m_dialog.GELADEN() && !m_dialog.ENTLADEN();
}
