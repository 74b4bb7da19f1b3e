// The project database is shared with the other users of the project and
// the laboratory's other programs. Beside the working copy (VELD.projekt)
// lies the mark of the project as the copy was taken from it or last saved
// over it: a digest of what the project held then. A Save compares the
// project with it under the project's write lock; where the project holds
// something else, the records decide: a Save that would remove nothing
// that the copy lacks goes on unasked, one that would is asked about, and
// the question names what a Ja removes.

#include "shell/frmMAINFENSTER.h"

#include "data/DATENSATZVERGLEICH.h"
#include "platform/controls/Forms.h"
#include "platform/database/Connection.h"
#include "platform/runtime/ErrorHandler.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/RuntimeError.h"

#include <QAction>
#include <QDir>

namespace {

// A list of records as a box shows it: at most twenty, then how many more.
QString aufzaehlung(const QStringList& kennungen, bool englisch) {
    constexpr int kHoechstens = 20;
    QString text = kennungen.mid(0, kHoechstens).join(QStringLiteral(", "));
    if (kennungen.size() > kHoechstens)
        text += (englisch ? QStringLiteral(" and %1 more") : QStringLiteral(" und %1 weitere"))
                    .arg(kennungen.size() - kHoechstens);
    return text;
}

} // namespace

QStringList frmMAINFENSTER::ABWEICHUNGEN(bool umgekehrt) {
    Connection projekt(PROJEKTDATENBANK());
    return umgekehrt ? ABWEICHENDEDATENSAETZE(*m_DBPROJEKT, projekt)
                     : ABWEICHENDEDATENSAETZE(projekt, *m_DBPROJEKT);
}

bool frmMAINFENSTER::UEBERSCHREIBENFRAGEN(const QString& titel, const QStringList& verloren,
                                          bool unbekannt) {
    const QString projekt = QDir::toNativeSeparators(PROJEKTDATENBANK());
    const bool englisch = m_SPRACHE == 1;
    const QString liste = aufzaehlung(verloren, englisch);
    QString text;
    if (englisch) {
        text = unbekannt
                   ? QStringLiteral("Whether project ") + m_PROJEKT + QStringLiteral(" (") +
                         projekt +
                         QStringLiteral(") was changed by another user or program since the "
                                        "working copy was taken cannot be told: the working "
                                        "copy's mark is missing.")
                   : QStringLiteral("Project ") + m_PROJEKT + QStringLiteral(" (") + projekt +
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
        text = unbekannt
                   ? QStringLiteral("Ob das Projekt ") + m_PROJEKT + QStringLiteral(" (") +
                         projekt +
                         QString::fromUtf8(") seit dem Anlegen der Arbeitskopie von einem "
                                           "anderen Benutzer oder Programm geändert wurde, "
                                           "lässt sich nicht feststellen: die Marke der "
                                           "Arbeitskopie fehlt.")
                   : QStringLiteral("Das Projekt ") + m_PROJEKT + QStringLiteral(" (") + projekt +
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
    const int antwort = MsgBox(text, vbYesNo + vbExclamation + vbDefaultButton2, titel);
    // The session ended while the question waited: nothing is written.
    return antwort == vbYes && Forms::IsLoaded(this) && !m_entladen;
}

bool frmMAINFENSTER::VERWAISTEDATENSAETZEPRUEFEN(bool& behalten, bool still) {
    behalten = false;
    // The project as the copy knows it: the copy holds every record of it.
    const DatabaseMark jetzt = MarkOfDatabase(PROJEKTDATENBANK());
    if (DatabaseMark::Contains(PROJEKTMARKEN() + m_eigeneprojektmarken, jetzt)) return true;
    QStringList verwaist;
    try {
        verwaist = ABWEICHUNGEN(true);
    } catch (const RuntimeError&) {
        // What cannot be compared is not deleted.
        behalten = true;
        return true;
    }
    if (verwaist.isEmpty()) return true;
    // The session ends: no box can wait, and the copy stays for the next
    // start.
    if (still) {
        behalten = true;
        return true;
    }
    const bool englisch = m_SPRACHE == 1;
    const QString liste = aufzaehlung(verwaist, englisch);
    const QString titel = mnuBEENDEN->text();
    const int antwort =
        englisch
            ? MsgBox(QStringLiteral("The working copy holds records that project ") + m_PROJEKT +
                         QStringLiteral(" does not hold or holds otherwise: ") + liste +
                         QStringLiteral(". Another user or program overwrote the project "
                                        "since; deleting the working copy now would lose them.") +
                         QStringLiteral("\r\n") +
                         QStringLiteral("Save them into the project? No keeps the working copy "
                                        "for the next start; Cancel keeps VELD open."),
                     vbYesNoCancel + vbExclamation, titel)
            : MsgBox(QStringLiteral("Die Arbeitskopie enthält Datensätze, die das Projekt ") +
                         m_PROJEKT + QString::fromUtf8(" nicht oder anders enthält: ") + liste +
                         QString::fromUtf8(". Ein anderer Benutzer oder ein anderes Programm hat "
                                           "das Projekt inzwischen überschrieben; wird die "
                                           "Arbeitskopie jetzt gelöscht, sind sie verloren.") +
                         QStringLiteral("\r\n") +
                         QString::fromUtf8("Sollen sie in das Projekt gespeichert werden? Nein "
                                           "behält die Arbeitskopie für den nächsten Start; "
                                           "Abbrechen lässt VELD geöffnet."),
                     vbYesNoCancel + vbExclamation, titel);
    if (!Forms::IsLoaded(this) || m_entladen) {
        behalten = true;
        return true;
    }
    if (antwort == vbCancel) return false;
    if (antwort == vbNo) {
        behalten = true;
        return true;
    }
    return SPEICHERN();
}
