// A copy the start finds at the copy's path: whose it is (the project and
// user it names inside itself), and whether a run that is gone left unsaved
// work in it, asked about by what the copy holds against its base.

#include "arbeitskopie/ARBEITSKOPIE.h"

#include "arbeitskopie/KOPIEDATEIEN.h"
#include "arbeitskopie/PROJEKTABDRUCK.h"
#include "arbeitskopie/PROJEKTVERLAUF.h"
#include "platform/database/Connection.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/RuntimeError.h"

#include <QDir>
#include <QFileInfo>

// The project database the copy at `arbeitskopie` belongs to, as the
// copy names it inside itself (or, for a copy that names none, the file
// beside it); `fremderBenutzer` gets the user a copy of this project
// names where that is another. A plain copy of the project file is made
// this user's copy of that content here. And the user a copy at that
// path belongs to (its folder's name).
QString ARBEITSKOPIE::KOPIEHERKUNFT(const QString& arbeitskopie, QString& fremderBenutzer) {
    const QString datei = PROJEKTABDRUCK::HERKUNFTSDATEI(arbeitskopie);
    QString herkunft = PROJEKTABDRUCK::HERKUNFT(datei);
    const QString hier = PROJEKTABDRUCK::GLEICHNAMIG(m_dialog.PROJEKTDATENBANK());
    const QString benutzer = KOPIEBENUTZER(arbeitskopie);
    try {
        std::optional<KOPIEBASIS::HERKUNFT> innen;
        bool fremd = false;
        {
            Connection kopie(arbeitskopie);
            innen = KOPIEBASIS::HERKUNFTLESEN(kopie);
            fremd = KOPIEBASIS::FREMD(kopie);
        }
        if (innen) herkunft = PROJEKTABDRUCK::GLEICHNAMIG(innen->projektdatenbank);
        // Another project's copy stays what it is.
        if (!herkunft.isEmpty() && herkunft != hier) return herkunft;
        const bool anderer = innen && !innen->benutzer.isEmpty() &&
                             innen->benutzer.compare(benutzer, Qt::CaseInsensitive) != 0;
        if (!anderer && !fremd) return herkunft;
        // A plain copy of the project file (as it is now, as the copy last
        // met it, or as a Save that the project's history tells left it) is
        // that project content, with nothing changed here;
        // made so only by a run that knows the copy's state.
        const DatabaseMark inhalt =
            ZUSTANDBEKANNT() ? MarkOfDatabase(arbeitskopie) : DatabaseMark();
        if (inhalt.known && (inhalt.Same(MarkOfDatabase(m_dialog.PROJEKTDATENBANK())) ||
                             DatabaseMark::Contains(PROJEKTABDRUECKE(), inhalt) ||
                             PROJEKTVERLAUF::BEKANNT(m_dialog.PROJEKTDATENBANK(), inhalt))) {
            Connection kopie(arbeitskopie);
            KOPIEBASIS::ALSPROJEKT(kopie, inhalt, hier, benutzer);
            return hier;
        }
        if (anderer) fremderBenutzer = innen->benutzer;
    } catch (const RuntimeError&) {
        // A copy that cannot be read is judged by the file beside it, and
        // by the engine's check that follows.
    }
    return herkunft;
}

QString ARBEITSKOPIE::KOPIEBENUTZER(const QString& arbeitskopie) {
    return QFileInfo(arbeitskopie).absoluteDir().dirName();
}

// Whether a copy that a gone run left holds every record as its base
// does: nothing unsaved, nothing to ask.
bool ARBEITSKOPIE::VERLASSENUNVERAENDERT(const QString& arbeitskopie) {
    try {
        Connection kopie(arbeitskopie);
        // A Save that its run left open is settled first, by what the
        // project is now: the copy's base is then certain again.
        if (KOPIEBASIS::OFFEN(kopie)) {
            const DatabaseMark projekt = MarkOfDatabase(m_dialog.PROJEKTDATENBANK());
            kopie.BeginTrans();
            BASISKLAEREN(kopie, projekt);
            kopie.CommitTrans();
        }
        const std::optional<KOPIEBASIS::STAENDE> staende = KOPIESTAENDE(kopie);
        return staende && staende->basis && *staende->basis == staende->kopie;
    } catch (const RuntimeError&) {
        return false;
    }
}

// The question about a copy that a gone run left with changes: kept on
// purpose at a session's end, or left by an interrupted run. Either
// names what a No drops; vbYes keeps the changes.
int ARBEITSKOPIE::VERLASSENFRAGEN(const QString& arbeitskopie) {
    const bool en = m_dialog.SPRACHE() == 1;
    // A No drops what only the copy holds: the question names it.
    std::optional<VERWORFEN> nur;
    try {
        Connection kopie(arbeitskopie);
        nur = NURINKOPIE(KOPIESTAENDE(kopie));
    } catch (const RuntimeError&) {
    }
    const QString zusatz = NEINVERWIRFT(nur);
    // The last run kept the copy on purpose when its session ended: that is
    // no interruption. The question comes first, then what its No drops.
    if (QFileInfo::exists(m_laeufe.BEHALTENVERMERK()))
        return m_dialog.FRAGEN(
            (en ? QStringLiteral("The working copy holds changes that were not saved when the "
                                 "last session ended.") +
                      QStringLiteral("\r\n") + QStringLiteral("Keep them?") + zusatz
                : QString::fromUtf8("Die Arbeitskopie enthält Änderungen, die beim Ende der "
                                    "letzten Sitzung nicht gespeichert wurden.") +
                      QStringLiteral("\r\n") + QString::fromUtf8("Sollen sie behalten werden?") +
                      zusatz),
            vbYesNo + vbQuestion, KOPIEDATEIEN::kTitel);
    return en ? m_dialog.FRAGEN(
                    QStringLiteral("Program was interuped during the execution!") +
                        QStringLiteral("\r\n") +
                        QStringLiteral("Do you want to save the changes till the interuption?") +
                        zusatz,
                    vbYesNo + vbQuestion, KOPIEDATEIEN::kTitel)
              : m_dialog.FRAGEN(
                    QString::fromUtf8("Programm wurde während der Ausführung unterbrochen!") +
                        QStringLiteral("\r\n") +
                        QStringLiteral(
                            "Soll die bis zum Abbruch vorhandenen Daten gepeichert werden?") +
                        zusatz,
                    vbYesNo + vbQuestion, KOPIEDATEIEN::kTitel);
}

// With the share of the copy refused: a copy that every lock beside it
// finds left by its runs, with changes unsaved (true, the copy's lock
// then held alone), and the question about it, which says that the
// start cannot be sure (vbYes keeps the changes).
bool ARBEITSKOPIE::UNGEWISSVERLASSEN() {
    // Where the file system refuses the share of the copy, no run is ever
    // sure to be alone with it, so none deletes it at its end: a No to the
    // save question leaves the changes the user threw away in the copy. A
    // copy that the locks beside it find left, with changes unsaved, is
    // therefore asked about as a copy of an interrupted run is; shared
    // unasked, its next Save would write what the user threw away.
    if (m_laeufe.ANTEILFEHLER().isEmpty() || !m_laeufe.KOPIEALLEIN(false)) return false;
    if (m_laeufe.UNVERMERKT() || KOPIEVERAENDERT(m_dialog.XMDBPFAD())) return true;
    m_laeufe.KOPIETEILEN();
    return false;
}
