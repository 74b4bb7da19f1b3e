// Which runs share the working copy, and who may decide about it alone.
//
// Two runs of one user share the copy: the second finds the first at work
// on it and uses it as it is, without a question; only a copy that no live
// run holds was left by an interrupted run and is offered. A lock on the
// copy's folder, shared by every run for its lifetime, tells whether another
// run works on the copy; only a run that gets the lock alone asks about,
// replaces or deletes it. Getting it alone means giving up the shared lock
// first, so two runs trying at once would both fail and both think the other
// alive: a second lock, on the state folder, lets one run at a time decide.
// The last word has a lock that every run holds on one byte of the copy
// itself: the lock files and marks beside the copy can be deleted or
// replaced by a user or a tool while runs live, the copy cannot without its
// records going too.

#include "arbeitskopie/LAEUFE.h"

#include "arbeitskopie/TAETIGKEIT.h"
#include "platform/runtime/MsgBox.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#include <utility>

LAEUFE::LAEUFE(ARBEITSKOPIEDIALOG& dialog, std::function<bool()> verschoben)
    : m_dialog(dialog), m_verschoben(std::move(verschoben)) {}

bool LAEUFE::FESTANLEGEN(const QString& datei) {
    // A mark is on the disk before anything relies on it, a power loss
    // included.
    const int fd =
        ::open(QFile::encodeName(datei).constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    const bool fest = ::fsync(fd) == 0;
    ::close(fd);
    const int ordner =
        ::open(QFile::encodeName(QFileInfo(datei).path()).constData(), O_RDONLY | O_CLOEXEC);
    if (ordner >= 0) {
        ::fsync(ordner);
        ::close(ordner);
    }
    return fest;
}

void LAEUFE::OEFFNEN(const QString& arbeitskopie) {
    const QString zustand =
        QFileInfo(arbeitskopie).path() + QLatin1Char('/') + kTitel + QStringLiteral(".zustand");
    if (QFileInfo(zustand).isDir() || QDir().mkdir(zustand))
        m_zustand = zustand;
    else
        ZUSTANDFEHLT(zustand, QFileInfo::exists(zustand)
                                  ? GRUND("a file of that name is in the way",
                                          "eine Datei dieses Namens steht im Weg")
                                  : GRUND("it cannot be made", "er kann nicht angelegt werden"));
    // One start at a time decides about the copy; a start that finds another
    // deciding waits for its decision and then shares the copy it decided.
    // The copy's lock is a file beside the copy, not in the state folder: a
    // state folder removed under live runs must not make a new start think
    // it is alone with the copy.
    if (!m_zustand.isEmpty() &&
        !m_entscheidung.Open(m_zustand + QStringLiteral("/VELD.entscheidung")))
        ZUSTANDFEHLT(m_zustand, SPERRGRUND(m_entscheidung));
    if (!m_kopiesperre.Open(QFileInfo(arbeitskopie).path() + QStringLiteral("/VELD.sperre")))
        ZUSTANDFEHLT(QFileInfo(arbeitskopie).path(), SPERRGRUND(m_kopiesperre));
}

bool LAEUFE::STARTSPERREN(const QString& arbeitskopie) {
    // The decision lock alone, then the copy's lock shared, then the share
    // of the copy itself. None is waited for here: a run that decides holds
    // one of them (the copy alone, also when the files beside it were
    // deleted under it), and the start waits for it where the user sees it.
    // A lock that fails otherwise is not waited for: the start then decides
    // nothing.
    if (m_entscheidung.IsOpen() && !m_entscheidung.IsHeld() && !m_entscheidung.TryExclusive()) {
        if (m_entscheidung.Failed() == FileLock::Failure::None) return false;
        ZUSTANDFEHLT(m_zustand, SPERRGRUND(m_entscheidung));
        m_entscheidung.Release();
    }
    if (m_kopiesperre.IsOpen() && !m_kopiesperre.IsHeld() && !m_kopiesperre.TryShared()) {
        if (m_kopiesperre.Failed() == FileLock::Failure::None) return false;
        ZUSTANDFEHLT(QFileInfo(m_kopiesperre.Path()).path(), SPERRGRUND(m_kopiesperre));
        m_kopiesperre.Release();
    }
    return KOPIEBELEGEN(arbeitskopie);
}

void LAEUFE::STARTFREIGEBEN() {
    m_entscheidung.Unlock();
}

void LAEUFE::FREIGEBEN(bool kopieOffen) {
    m_entscheidet = false;
    LAUFABMELDEN();
    TAETIGKEIT::BEENDEN();
    m_kopiesperre.Release();
    m_entscheidung.Release();
    // Only once the copy's connection is closed; otherwise both close at the
    // run's end, the connection first.
    if (!kopieOffen) m_kopieanteil.Release();
}

bool LAEUFE::KOPIEBELEGEN(const QString& arbeitskopie) {
    if (m_kopieanteil.IsHeld() || !m_anteilfehler.isEmpty()) return true;
    if (!m_kopieanteil.IsOpen()) {
        // Not there yet: the fresh copy is locked when it is made.
        FileLock anteil(kAnteilsbyte);
        if (!anteil.OpenPresent(arbeitskopie)) {
            if (anteil.ErrorNumber() != ENOENT) ANTEILFEHLT(SPERRGRUND(anteil));
            return true;
        }
        m_kopieanteil = std::move(anteil);
    }
    // Not waited for: a run that holds it alone decides about the copy, and
    // the start waits for it where the user sees it.
    if (!m_kopieanteil.TryShared()) {
        if (m_kopieanteil.Failed() == FileLock::Failure::None) return false;
        ANTEILFEHLT(SPERRGRUND(m_kopieanteil));
        m_kopieanteil.Release();
        return true;
    }
    // The copy replaced or deleted by the run that held it alone: the share
    // goes on the file that is at the path now.
    const FileLock::Identity dort = m_kopieanteil.StillAtPath();
    if (dort == FileLock::Identity::Same) return true;
    if (dort == FileLock::Identity::Unknown) ANTEILFEHLT(SPERRGRUND(m_kopieanteil));
    m_kopieanteil.Release();
    return dort == FileLock::Identity::Unknown;
}

void LAEUFE::ANTEILFEHLT(const QString& grund) {
    if (m_anteilfehler.isEmpty()) m_anteilfehler = grund;
}

void LAEUFE::ANTEILPRUEFEN(const QString& arbeitskopie) {
    // The copy this start made carries the run's share from its making;
    // where it does not, the file system refused the lock, most likely.
    if (m_anteilfehler.isEmpty() && !m_kopieanteil.IsHeld() && QFileInfo::exists(arbeitskopie)) {
        FileLock probe(kAnteilsbyte);
        if (probe.OpenPresent(arbeitskopie)) probe.TryShared();
        ANTEILFEHLT(probe.Failed() != FileLock::Failure::None
                        ? SPERRGRUND(probe)
                        : GRUND("the working copy was made without its lock",
                                "die Arbeitskopie wurde ohne ihre Sperre angelegt"));
    }
    // Told once; a run told that it changes nothing knows enough.
    if (m_anteilfehler.isEmpty() || m_zustandgemeldet || m_anteilgemeldet) return;
    m_anteilgemeldet = true;
    const QString ordner = QDir::toNativeSeparators(QFileInfo(arbeitskopie).path());
    if (m_dialog.SPRACHE() == 1)
        m_dialog.FRAGEN(
            QStringLiteral("In the folder ") + ordner +
                QStringLiteral(" several runs of VELD cannot know of each other (") +
                m_anteilfehler + QStringLiteral(").") + QStringLiteral("\r\n") +
                QStringLiteral("This run therefore neither replaces nor deletes the working "
                               "copy; it stays after the run ends."),
            vbOKOnly + vbExclamation, kTitel);
    else
        m_dialog.FRAGEN(
            QStringLiteral("Im Ordner ") + ordner +
                QString::fromUtf8(" können mehrere Läufe von VELD nichts voneinander wissen (") +
                m_anteilfehler + QStringLiteral(").") + QStringLiteral("\r\n") +
                QString::fromUtf8("Dieser Lauf ersetzt und löscht die Arbeitskopie deshalb "
                                  "nicht; sie bleibt nach seinem Ende erhalten."),
            vbOKOnly + vbExclamation, kTitel);
}

bool LAEUFE::KOPIESPERREGILT() {
    // The lock is on the file that the others find at its path; a file
    // deleted or replaced under this run (a user tidying the folder, a sync
    // tool) is locked again as it is now, and this run does not count
    // itself alone this time: who started meanwhile is told by the run
    // marks alone.
    const QString ordner = QFileInfo(m_kopiesperre.Path()).path();
    switch (m_kopiesperre.StillAtPath()) {
    case FileLock::Identity::Same:
        return true;
    case FileLock::Identity::Unknown:
        ZUSTANDFEHLT(ordner, SPERRGRUND(m_kopiesperre));
        break;
    case FileLock::Identity::Replaced:
        if (!m_kopiesperre.Open(m_kopiesperre.Path()) || !m_kopiesperre.Shared())
            ZUSTANDFEHLT(ordner, SPERRGRUND(m_kopiesperre));
        break;
    }
    return false;
}

bool LAEUFE::ANDERELAUFEND() {
    // A run mark whose lock is held belongs to a run that lives, whatever
    // happened to the copy's lock file; one removed meanwhile to a run that
    // ended.
    for (const QString& laufzeichen : FREMDELAEUFE()) {
        FileLock blick;
        if (!blick.OpenExisting(m_zustand + QLatin1Char('/') + laufzeichen)) {
            if (blick.ErrorNumber() == ENOENT) continue;
            ZUSTANDFEHLT(m_zustand, SPERRGRUND(blick));
            return true;
        }
        if (!blick.TryShared()) {
            if (blick.Failed() != FileLock::Failure::None)
                ZUSTANDFEHLT(m_zustand, SPERRGRUND(blick));
            return true;
        }
    }
    return false;
}

bool LAEUFE::KOPIEALLEIN(bool mitAnteil) {
    if (!ZUSTANDBEKANNT() || !KOPIESPERREGILT()) return false;
    if (!m_kopiesperre.TryExclusive()) {
        if (m_kopiesperre.Failed() != FileLock::Failure::None)
            ZUSTANDFEHLT(QFileInfo(m_kopiesperre.Path()).path(), SPERRGRUND(m_kopiesperre));
        return false;
    }
    if (ANDERELAUFEND() || (mitAnteil && !KOPIEANTEILALLEIN())) {
        KOPIETEILEN();
        return false;
    }
    return true;
}

void LAEUFE::KOPIETEILEN() {
    if (m_kopiesperre.IsOpen() && !m_kopiesperre.Shared())
        ZUSTANDFEHLT(QFileInfo(m_kopiesperre.Path()).path(), SPERRGRUND(m_kopiesperre));
    // Back from alone to shared in one step: no other run finds the byte
    // free meanwhile.
    if (m_kopieanteil.IsHeld()) m_kopieanteil.Shared();
}

bool LAEUFE::KOPIEANTEILALLEIN() {
    // A run whose share was refused cannot tell who else works on the copy.
    if (!m_anteilfehler.isEmpty()) return false;
    if (!m_kopieanteil.IsHeld()) return true;
    // The copy at the path is no longer the file this run holds (replaced or
    // deleted under the live runs): who still works on which file cannot be
    // told, so this run is not alone.
    // Another holder, or the lock refused now: either way not alone.
    return m_kopieanteil.StillAtPath() == FileLock::Identity::Same && m_kopieanteil.TryExclusive();
}

bool LAEUFE::ALLEINENTSCHEIDEN() {
    if (m_entscheidet) return true;
    // A run that cannot know the copy's state is never alone with it.
    ZUSTANDERNEUERN();
    if (!ZUSTANDBEKANNT()) return false;
    // A start deciding now is a run, too. A decision lock deleted or
    // replaced meanwhile is taken on the file that starts find now.
    if (!ENTSCHEIDUNGNEHMEN()) return false;
    if (!KOPIEALLEIN()) {
        m_entscheidung.Unlock();
        return false;
    }
    m_entscheidet = true;
    return true;
}

bool LAEUFE::ENTSCHEIDUNGNEHMEN() {
    if (!m_entscheidung.IsOpen()) return false;
    bool neu = false;
    for (;;) {
        if (!m_entscheidung.TryExclusive()) {
            if (m_entscheidung.Failed() != FileLock::Failure::None)
                ZUSTANDFEHLT(m_zustand, SPERRGRUND(m_entscheidung));
            return false;
        }
        const FileLock::Identity dort = m_entscheidung.StillAtPath();
        if (dort == FileLock::Identity::Same) return true;
        m_entscheidung.Unlock();
        if (dort == FileLock::Identity::Unknown)
            ZUSTANDFEHLT(m_zustand, SPERRGRUND(m_entscheidung));
        // Replaced again at once: another is at work on it; not now.
        if (dort == FileLock::Identity::Unknown || neu) return false;
        neu = true;
        if (!m_entscheidung.Open(m_entscheidung.Path())) {
            ZUSTANDFEHLT(m_zustand, SPERRGRUND(m_entscheidung));
            return false;
        }
    }
}

void LAEUFE::ENTSCHEIDUNGFREIGEBEN() {
    if (!m_entscheidet) return;
    TAETIGKEIT::BEENDEN();
    m_entscheidet = false;
    KOPIETEILEN();
    m_entscheidung.Unlock();
}

int LAEUFE::UNGEWISSFRAGEN(const QString& arbeitskopie) {
    // The question tells what the box about the refused share tells.
    m_anteilgemeldet = true;
    const QString ordner = QDir::toNativeSeparators(QFileInfo(arbeitskopie).path());
    if (m_dialog.SPRACHE() == 1)
        return m_dialog.FRAGEN(
            QStringLiteral("The working copy in the folder ") + ordner +
                QStringLiteral(" holds changes that are not saved. Whether another run "
                               "of VELD still works on it, this start cannot tell (") +
                m_anteilfehler + QStringLiteral(").") + QStringLiteral("\r\n") +
                QStringLiteral("Keep the changes? No replaces the working copy by "
                               "project ") +
                m_dialog.PROJEKT() + QStringLiteral(".") + QStringLiteral("\r\n") +
                QStringLiteral("The working copy stays after this run ends, too."),
            vbYesNo + vbQuestion, kTitel);
    return m_dialog.FRAGEN(
        QStringLiteral("Die Arbeitskopie im Ordner ") + ordner +
            QString::fromUtf8(" enthält Änderungen, die nicht gespeichert sind. Ob noch "
                              "ein anderer Lauf von VELD an ihr arbeitet, kann dieser "
                              "Start nicht erkennen (") +
            m_anteilfehler + QStringLiteral(").") + QStringLiteral("\r\n") +
            QString::fromUtf8("Sollen die Änderungen behalten werden? Bei Nein wird die "
                              "Arbeitskopie durch das Projekt ") +
            m_dialog.PROJEKT() + QStringLiteral(" ersetzt.") + QStringLiteral("\r\n") +
            QStringLiteral("Die Arbeitskopie bleibt auch nach dem Ende dieses Laufs "
                           "erhalten."),
        vbYesNo + vbQuestion, kTitel);
}

QString LAEUFE::GRUND(const char* englisch, const char* deutsch) const {
    return QString::fromUtf8(m_dialog.SPRACHE() == 1 ? englisch : deutsch);
}

QString LAEUFE::SPERRGRUND(const FileLock& sperre) const {
    const bool en = m_dialog.SPRACHE() == 1;
    const QString datei = QFileInfo(sperre.Path()).fileName();
    if (sperre.Failed() == FileLock::Failure::Open && sperre.ErrorNumber() == EISDIR)
        return (en ? QStringLiteral("a folder named %1 is in the way")
                   : QString::fromUtf8("ein Ordner namens %1 steht im Weg"))
            .arg(datei);
    QString ursache;
    switch (sperre.ErrorNumber()) {
    case EACCES:
    case EPERM:
        ursache = en ? QStringLiteral("no permission") : QStringLiteral("keine Berechtigung");
        break;
    case ENOENT:
    case ENOTDIR:
        ursache = en ? QStringLiteral("its folder is missing") : QStringLiteral("ihr Ordner fehlt");
        break;
    case EROFS:
        ursache = en ? QStringLiteral("the file system is read-only")
                     : QString::fromUtf8("das Dateisystem ist schreibgeschützt");
        break;
    case ENOSPC:
    case EDQUOT:
        ursache =
            en ? QStringLiteral("the disk is full") : QString::fromUtf8("der Datenträger ist voll");
        break;
    case EIO:
        ursache =
            en ? QStringLiteral("a disk error") : QString::fromUtf8("ein Fehler des Datenträgers");
        break;
    case ENOLCK:
    case EOPNOTSUPP:
    case ENOSYS:
    case EBADF:
    case EINVAL:
        ursache = en ? QStringLiteral("the file system keeps no locks")
                     : QString::fromUtf8("das Dateisystem hält keine Sperren");
        break;
    default:
        ursache = (en ? QStringLiteral("system error %1") : QStringLiteral("Systemfehler %1"))
                      .arg(sperre.ErrorNumber());
    }
    switch (sperre.Failed()) {
    case FileLock::Failure::Lock:
        return (en ? QStringLiteral("%1 cannot be locked: %2")
                   : QStringLiteral("%1 kann nicht gesperrt werden: %2"))
            .arg(datei, ursache);
    case FileLock::Failure::Check:
        return (en ? QStringLiteral("%1 cannot be checked: %2")
                   : QString::fromUtf8("%1 kann nicht geprüft werden: %2"))
            .arg(datei, ursache);
    default:
        return (en ? QStringLiteral("%1 cannot be opened: %2")
                   : QString::fromUtf8("%1 kann nicht geöffnet werden: %2"))
            .arg(datei, ursache);
    }
}
