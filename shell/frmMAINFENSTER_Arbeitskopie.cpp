// The user's working copy of the project database: its path, the decision
// at start when a copy is still there, the copy itself, and its state of
// unsaved changes.
//
// A copy is made under a temporary name beside the working copy and renamed
// into place only when it is complete, so that a run killed during the copy
// never leaves a half copy that the next start would offer as the user's
// changes. Beside the copy a small file (VELD.projekt) names the project
// database it was made from: a copy left by a run on another project is
// never offered for this one, nor saved over it.
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
//
// Whether the copy holds unsaved changes belongs to the copy, not to one run,
// so that a run that dies leaves nothing unknown to the others. The state
// folder beside the copy (VELD.zustand) holds marks, empty files:
// - "<run>.lauf" for every run, made at its start before it can write and
//   removed at its orderly end. One that is left belongs to a run that died,
//   at any moment, perhaps in the middle of a store: what it wrote is taken
//   as unsaved until a Save or the last run's answer settles it.
// - "<run>.<n>.geaendert" for every change a command marks (store, delete,
//   import, evaluation). A Save clears the marks it found before it began;
//   one made meanwhile stays for a later Save or the question at the end.
//
// A copy that an interrupted run left damaged is not offered: a Yes would
// keep it and every command would then fail on it, and copied over, the
// interrupted run's changes would be lost for good. Like a copy of another
// project, it is put aside under a name that says what it is, where the user
// (or whoever repairs it) finds it, and the run goes on with a fresh copy of
// the project.
#include "shell/frmMAINFENSTER.h"

#include "platform/database/Connection.h"
#include "platform/database/DatabaseError.h"
#include "platform/database/DatabaseFile.h"
#include "platform/runtime/ErrorHandler.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/WaitWindow.h"
#include "shell/TAETIGKEIT.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace {
const QString kTitel = QStringLiteral("VELD");

std::filesystem::path fsPfad(const QString& pfad) {
    return std::filesystem::path(QFile::encodeName(pfad).toStdString());
}

// Journal files that belong to a database file; a stale one must never meet
// a database it was not written for.
const QStringList kBeiDateien = {QStringLiteral("-journal"), QStringLiteral("-wal"),
                                 QStringLiteral("-shm")};

QString gleichnamig(const QString& pfad) {
    return QDir::cleanPath(QFileInfo(pfad).absoluteFilePath());
}

// VELD.projekt: on its first line the project database that the copy was
// made from; on its second the mark of that database as it was when the
// copy was taken from it or last saved over it, so that a Save knows
// whether anybody else wrote into the project since.
QStringList herkunftZeilen(const QString& datei) {
    QFile lesen(datei);
    if (!lesen.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
    return QString::fromUtf8(lesen.readAll()).split(QLatin1Char('\n'));
}

QString herkunftLesen(const QString& datei) {
    return herkunftZeilen(datei).value(0).trimmed();
}

// The project a copy was made from, as VELD.projekt names it: the folder of
// its project database. A line that names no such database (the file
// garbled or written by something else) gives kFremd: a copy put aside is
// never named after garbage.
const QString kFremd = QStringLiteral("fremd");

QString projektname(const QString& herkunft) {
    const QFileInfo datei(herkunft);
    const QString name = datei.dir().dirName();
    const bool zulaessig =
        !name.isEmpty() && name.size() <= 64 && name.front().isLetterOrNumber() &&
        std::all_of(name.begin(), name.end(), [](QChar c) {
            return c.isLetterOrNumber() || QStringLiteral(" ._-+()").contains(c);
        });
    if (!datei.isAbsolute() || datei.fileName() != kTitel + QStringLiteral(".mdb") || !zulaessig)
        return kFremd;
    return name;
}

QList<DatabaseMark> projektmarkenLesen(const QString& datei) {
    return DatabaseMark::ListFromText(herkunftZeilen(datei).value(1));
}

// Written beside and renamed into place, so that it is read whole or not at
// all; a file that is missing only makes the next start ask its question.
void herkunftSchreiben(const QString& datei, const QString& projektdatenbank,
                       const QList<DatabaseMark>& marken) {
    const QString neu = datei + QStringLiteral(".neu");
    QFile schreiben(neu);
    const QByteArray inhalt = (gleichnamig(projektdatenbank) + QLatin1Char('\n') +
                               DatabaseMark::ListToText(marken) + QLatin1Char('\n'))
                                  .toUtf8();
    const bool geschrieben = schreiben.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                             schreiben.write(inhalt) == inhalt.size() && schreiben.flush();
    schreiben.close();
    std::error_code fehler;
    if (geschrieben) std::filesystem::rename(fsPfad(neu), fsPfad(datei), fehler);
    if (!geschrieben || fehler) {
        QFile::remove(neu);
        throw StandardError(75);
    }
}

const QString kLaufmarken = QStringLiteral("*.lauf");
const QString kAenderungsmarken = QStringLiteral("*.geaendert");

// A mark is on the disk before anything relies on it, a power loss included.
bool markeAnlegen(const QString& datei) {
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
} // namespace

QString frmMAINFENSTER::XMDBPFAD() {
    QString pfad = QFileInfo(QDir::cleanPath(PROGRAMMPFAD())).path() + QStringLiteral("/BENUTZER");
    if (!QFileInfo(pfad).isDir()) QDir().mkdir(pfad);
    pfad += QLatin1Char('/') + BENUTZER();
    if (!QFileInfo(pfad).isDir()) QDir().mkdir(pfad);
    return pfad + QLatin1Char('/') + kTitel + QStringLiteral(".mdb");
}

QString frmMAINFENSTER::HERKUNFTSDATEI(const QString& arbeitskopie) {
    return QFileInfo(arbeitskopie).path() + QStringLiteral("/VELD.projekt");
}

bool frmMAINFENSTER::ARBEITSKOPIEVORBEREITEN(ErrorHandler& eh) {
    const std::optional<QString> kopie = eh.Value([&] { return XMDBPFAD(); });
    if (!kopie) return true;
    const QString arbeitskopie = *kopie;
    // What killed runs left beside the project database and the copy goes.
    RemoveDeadTemporaries(QFileInfo(PROJEKTDATENBANK()).absolutePath());
    RemoveDeadTemporaries(QFileInfo(arbeitskopie).absolutePath());
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
    if (!STARTSPERREN(arbeitskopie)) {
        if (STARTHALT) STARTHALT("WARTET");
        // A wait cancelled, timed out or ended by the session ends the start
        // with the one box of every such start (none at the session's end).
        if (!eh.Run([&] { ENTSCHEIDUNGABWARTEN(arbeitskopie); })) return true;
    }
    if (m_zustandsfehler.isEmpty()) TAETIGKEIT::MELDEN(m_zustand, TAETIGKEIT::START);
    struct Freigabe {
        FileLock& sperre;
        ~Freigabe() {
            TAETIGKEIT::BEENDEN();
            sperre.Unlock();
        }
    } freigabe{m_entscheidung};
    if (!m_zustand.isEmpty()) LAUFANMELDEN();
    // A run that cannot keep its state beside the copy is told once; it
    // changes nothing in the copy and decides nothing about it.
    if (!m_zustandsfehler.isEmpty()) ZUSTANDMELDEN();
    if (STARTHALT) STARTHALT("HALT");

    if (QFileInfo::exists(arbeitskopie)) {
        const QString herkunft = herkunftLesen(HERKUNFTSDATEI(arbeitskopie));
        if (!herkunft.isEmpty() && herkunft != gleichnamig(PROJEKTDATENBANK())) {
            // Another project's copy is never moved without knowing that no
            // run works on it, nor taken for this project's (a Save would
            // write it over this project): a run that cannot know ends here,
            // told why, and the copy stays as it is.
            if (!ZUSTANDBEKANNT()) {
                if (m_zustandsfehler.isEmpty())
                    ZUSTANDFEHLT(m_zustand,
                                 GRUND("the run's mark is gone", "die Marke des Laufs fehlt"));
                ZUSTANDMELDEN();
                return false;
            }
            const QString projekt = projektname(herkunft);
            QString welches = m_SPRACHE == 1 ? QStringLiteral("project ") + projekt
                                             : QStringLiteral("zum Projekt ") + projekt;
            if (projekt == kFremd)
                welches = m_SPRACHE == 1 ? QStringLiteral("another project")
                                         : QStringLiteral("einem anderen Projekt");
            // A copy that another run still works on (or may: the copy's
            // lock refused) cannot be moved, and this run cannot share it
            // either: a Save would write the other project's records over
            // this one. The start ends, told why.
            if (!KOPIEALLEIN()) {
                if (!m_zustandsfehler.isEmpty())
                    ZUSTANDMELDEN();
                else if (!m_anteilfehler.isEmpty())
                    ANTEILPRUEFEN(arbeitskopie);
                else if (m_SPRACHE == 1)
                    MsgBox(QStringLiteral("The working copy belongs to ") + welches +
                               QStringLiteral(", on which another run of VELD is working right "
                                              "now.") +
                               QStringLiteral("\r\n") +
                               QStringLiteral("End that run first; this start ends."),
                           vbOKOnly + vbExclamation, kTitel);
                else
                    MsgBox(QString::fromUtf8("Die Arbeitskopie gehört ") + welches +
                               QString::fromUtf8(", an dem gerade ein anderer Lauf von VELD "
                                                 "arbeitet.") +
                               QStringLiteral("\r\n") +
                               QString::fromUtf8("Beenden Sie zuerst diesen Lauf; dieser Start "
                                                 "wird beendet."),
                           vbOKOnly + vbExclamation, kTitel);
                return false;
            }
            // Another project's unsaved changes: they are kept under a name
            // of their own, and this project gets a fresh copy.
            if (!KOPIEERSETZEN(eh, arbeitskopie, projekt)) return false;
        } else if (!KOPIEALLEIN() && !UNGEWISSVERLASSEN()) {
            // Another run of this user works on the copy right now: nothing
            // was interrupted, and this run shares the copy as it is, with
            // its state. A run that cannot know the copy's state leaves it
            // as it is, too.
        } else if (m_anteilfehler.isEmpty() && BESCHAEDIGTEKOPIESICHERN(eh, arbeitskopie)) {
            // A damaged copy is never offered: it was put aside, and this
            // run has a fresh one (or ends, told why).
            if (m_abgebrochen) return false;
        } else {
            // No other run holds the copy: a run that is gone left it. The
            // lock stays exclusive until the answer is carried out, so a run
            // starting meanwhile waits and then shares the decided copy.
            // Where the share of the copy is refused, the question says that
            // the start cannot be sure that no run works on the copy.
            const int antwort =
                !m_anteilfehler.isEmpty() ? UNGEWISSFRAGEN(arbeitskopie)
                : m_SPRACHE == 1
                    ? MsgBox(QStringLiteral("Program was interuped during the execution!") +
                                 QStringLiteral("\r\n") +
                                 QStringLiteral(
                                     "Do you want to save the changes till the interuption?"),
                             vbYesNo + vbQuestion, kTitel)
                    : MsgBox(
                          QString::fromUtf8("Programm wurde während der Ausführung unterbrochen!") +
                              QStringLiteral("\r\n") +
                              QStringLiteral(
                                  "Soll die bis zum Abbruch vorhandenen Daten gepeichert werden?"),
                          vbYesNo + vbQuestion, kTitel);
            if (antwort == vbYes) {
                // From now on the copy is this project's, and what the gone
                // runs left in it counts as this run's unsaved changes.
                // The project's mark stays what the gone run took it from.
                eh.Run([&] {
                    const QString herkunft = HERKUNFTSDATEI(arbeitskopie);
                    herkunftSchreiben(herkunft, PROJEKTDATENBANK(), projektmarkenLesen(herkunft));
                });
                ZUSTANDLEEREN();
                SETZEBOGEAENDERT(true);
            } else if (eh.Run([&] { FRISCHEKOPIE(arbeitskopie); })) {
                ZUSTANDLEEREN();
            }
            KOPIETEILEN();
        }
    } else {
        // A copy made while another run starts is made once.
        const bool allein = KOPIEALLEIN();
        if (eh.Run([&] { FRISCHEKOPIE(arbeitskopie); }) && allein) ZUSTANDLEEREN();
        KOPIETEILEN();
    }
    if (!eh.Left()) ANTEILPRUEFEN(arbeitskopie);
    // What runs kept when the copy went from under them is offered while
    // this start still decides, so that two starts never bring it in twice.
    if (eh.Run([&] { ARBEITSKOPIEOEFFNEN(arbeitskopie); })) ABGELOESTEANBIETEN();
    return true;
}

QStringList frmMAINFENSTER::MARKEN(const QString& muster) const {
    if (m_zustand.isEmpty()) return {};
    return QDir(m_zustand).entryList(QStringList{muster}, QDir::Files);
}

void frmMAINFENSTER::MARKENLOESCHEN(const QStringList& marken) {
    for (const QString& marke : marken)
        QFile::remove(m_zustand + QLatin1Char('/') + marke);
}

void frmMAINFENSTER::LAUFANMELDEN() {
    m_lauf = QUuid::createUuid().toString(QUuid::Id128);
    // The run holds its mark locked for its lifetime, so that the others
    // know it lives whatever becomes of the copy's lock file; the kernel
    // drops the lock when the run dies, and the mark is then a dead run's.
    if (!m_laufsperre.Open(LAUFMARKE()) || !m_laufsperre.Exclusive())
        ZUSTANDFEHLT(m_zustand, SPERRGRUND(m_laufsperre));
    else if (!markeAnlegen(LAUFMARKE()))
        ZUSTANDFEHLT(m_zustand, GRUND("the run's mark cannot be written",
                                      "die Marke des Laufs kann nicht geschrieben werden"));
}

void frmMAINFENSTER::ZUSTANDERNEUERN() {
    // Only a mark that went under the run, nothing else that failed; and only
    // while the run's share of the copy itself tells the others that it
    // lives, so that no start took the copy for left meanwhile. Where the
    // file system refuses the share, the mark alone told them so, and it
    // still tells the truth: the run lives, and the copy is still the file
    // it works on (a start that took the copy for left and replaced it is
    // found so).
    if (!m_zustandsfehler.isEmpty() || m_zustand.isEmpty() || m_lauf.isEmpty() ||
        !m_laufsperre.IsOpen())
        return;
    if (m_laufsperre.IsHeld() && m_laufsperre.StillAtPath() == FileLock::Identity::Same) return;
    if (m_kopieanteil.IsHeld() ? m_kopieanteil.StillAtPath() != FileLock::Identity::Same
                               : m_anteilfehler.isEmpty() || KOPIEVERSCHOBEN())
        return;
    if (!QFileInfo(m_zustand).isDir() && !QDir().mkdir(m_zustand)) return;
    FileLock laufsperre;
    if (!laufsperre.Open(LAUFMARKE()) || !laufsperre.TryExclusive() ||
        laufsperre.StillAtPath() != FileLock::Identity::Same || !markeAnlegen(LAUFMARKE()))
        return;
    m_laufsperre = std::move(laufsperre);
    // The marks that went may have been other runs' unsaved changes: the
    // copy holds unsaved changes until a Save or the last run settles them.
    const QString marke = m_zustand + QLatin1Char('/') + m_lauf + QLatin1Char('.') +
                          QString::number(++m_aenderung) + QStringLiteral(".geaendert");
    if (!markeAnlegen(marke)) m_BOGEAENDERT = true;
}

void frmMAINFENSTER::LAUFABMELDEN() {
    if (m_lauf.isEmpty() || m_zustand.isEmpty() || !m_laufsperre.IsOpen()) return;
    // The mark goes while its lock is held: no other run ever finds it
    // unlocked and takes this run for dead.
    if (m_laufsperre.StillAtPath() == FileLock::Identity::Same) QFile::remove(LAUFMARKE());
    // The folder or the mark was removed or replaced under this run: whatever
    // it wrote is unknown to the others, so its mark is left as a dead run's,
    // to be settled by a Save or the last run's answer.
    else if (QFileInfo(m_zustand).isDir() || QDir().mkdir(m_zustand))
        markeAnlegen(LAUFMARKE());
    m_laufsperre.Release();
}

QString frmMAINFENSTER::LAUFMARKE() const {
    return m_zustand + QLatin1Char('/') + m_lauf + QStringLiteral(".lauf");
}

bool frmMAINFENSTER::ZUSTANDBEKANNT() const {
    // The folder may be removed or replaced under a live run: its own mark
    // says that the state it keeps there is still what the others read.
    return m_zustandsfehler.isEmpty() && !m_zustand.isEmpty() && !m_lauf.isEmpty() &&
           m_laufsperre.IsHeld() && m_laufsperre.StillAtPath() == FileLock::Identity::Same;
}

void frmMAINFENSTER::ZUSTANDFEHLT(const QString& ordner, const QString& grund) {
    if (!m_zustandsfehler.isEmpty()) return;
    m_zustandsfehler =
        QDir::toNativeSeparators(ordner) + QStringLiteral(" (") + grund + QLatin1Char(')');
}

QString frmMAINFENSTER::GRUND(const char* englisch, const char* deutsch) const {
    return QString::fromUtf8(m_SPRACHE == 1 ? englisch : deutsch);
}

QString frmMAINFENSTER::SPERRGRUND(const FileLock& sperre) const {
    const bool en = m_SPRACHE == 1;
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

void frmMAINFENSTER::ZUSTANDMELDEN() {
    if (m_zustandgemeldet) return;
    m_zustandgemeldet = true;
    if (m_SPRACHE == 1)
        MsgBox(QStringLiteral("The state of the working copy cannot be kept in the folder ") +
                   m_zustandsfehler + QStringLiteral(".") + QStringLiteral("\r\n") +
                   QStringLiteral("This run changes nothing in the working copy; it stays as it "
                                  "is."),
               vbOKOnly + vbCritical, kTitel);
    else
        MsgBox(QString::fromUtf8("Der Zustand der Arbeitskopie kann im Ordner ") +
                   m_zustandsfehler + QString::fromUtf8(" nicht festgehalten werden.") +
                   QStringLiteral("\r\n") +
                   QString::fromUtf8("Dieser Lauf ändert nichts an der Arbeitskopie; sie bleibt, "
                                     "wie sie ist."),
               vbOKOnly + vbCritical, kTitel);
}

void frmMAINFENSTER::AENDERUNGVORMERKEN() {
    // Runs while the write holds the copy's write lock, so that a Save of
    // another run (which holds it from listing the marks to clearing them)
    // sees either the write and its mark, or neither. No box waits here with
    // the copy locked: the refusal says why in the command's own box.
    // A write into a copy that is no longer at its path would reach a file
    // that nobody saves or finds again.
    if (KOPIEVERSCHOBEN()) throw KOPIEVERSCHOBENFEHLER();
    ZUSTANDERNEUERN();
    if (!ZUSTANDBEKANNT()) {
        if (m_zustandsfehler.isEmpty())
            ZUSTANDFEHLT(m_zustand.isEmpty() ? QFileInfo(XMDBPFAD()).path() : m_zustand,
                         GRUND("the run's mark is gone", "die Marke des Laufs fehlt"));
        throw DatabaseError::Make(
            DatabaseError::NotKept,
            m_SPRACHE == 1
                ? QStringLiteral("The working copy is not changed: its state cannot be kept in "
                                 "the folder ") +
                      m_zustandsfehler + QStringLiteral(".")
                : QString::fromUtf8("Die Arbeitskopie wird nicht geändert: ihr Zustand kann "
                                    "im Ordner ") +
                      m_zustandsfehler + QString::fromUtf8(" nicht festgehalten werden."));
    }
    if (!m_marke.isEmpty() && QFileInfo(m_marke).isFile()) return;
    const QString marke = m_zustand + QLatin1Char('/') + m_lauf + QLatin1Char('.') +
                          QString::number(++m_aenderung) + QStringLiteral(".geaendert");
    if (!markeAnlegen(marke)) {
        ZUSTANDFEHLT(m_zustand,
                     GRUND("a mark cannot be written", "eine Marke kann nicht geschrieben werden"));
        AENDERUNGVORMERKEN();
        return;
    }
    if (!m_marke.isEmpty()) QFile::remove(m_marke);
    m_marke = marke;
}

QStringList frmMAINFENSTER::FREMDELAEUFE() const {
    QStringList laeufe = MARKEN(kLaufmarken);
    laeufe.removeAll(m_lauf + QStringLiteral(".lauf"));
    return laeufe;
}

bool frmMAINFENSTER::BOGEAENDERT() {
    // A change whose mark went with the run's state (its folder or its run
    // mark removed or replaced under it) is unknown to the others and, for
    // all this run knows, unsaved.
    return m_BOGEAENDERT || !MARKEN(kAenderungsmarken).isEmpty() ||
           (!m_marke.isEmpty() && !ZUSTANDBEKANNT() && !QFileInfo(m_marke).isFile());
}

void frmMAINFENSTER::SETZEBOGEAENDERT(bool geaendert) {
    // Once the run has ended, its copy is closed (or gone): nothing is
    // marked any more.
    if (m_entladen) return;
    // Only a Save and the last run's answer settle the copy's changes; this
    // run forgets only what it could not mark.
    if (!geaendert) {
        m_BOGEAENDERT = false;
        return;
    }
    // Every write into a copy replaced or deleted under the run was refused:
    // the command changed nothing of this run's, and nothing is to be kept.
    if (KOPIEVERSCHOBEN()) return;
    // A command that changes the copy outside a write of its own (or after
    // it) gets a mark of its own, so that a Save of another run that began
    // before cannot clear it.
    m_eigeneAenderung = true;
    const QString fruehere = m_marke;
    m_marke.clear();
    try {
        AENDERUNGVORMERKEN();
        if (!fruehere.isEmpty() && fruehere != m_marke) QFile::remove(fruehere);
    } catch (const RuntimeError&) {
        m_BOGEAENDERT = true;
    }
}

bool frmMAINFENSTER::ALLEINENTSCHEIDEN() {
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

bool frmMAINFENSTER::ENTSCHEIDUNGNEHMEN() {
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

bool frmMAINFENSTER::KOPIESPERREGILT() {
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

bool frmMAINFENSTER::ANDERELAUFEND() {
    // A run mark whose lock is held belongs to a run that lives, whatever
    // happened to the copy's lock file; one removed meanwhile to a run that
    // ended.
    for (const QString& marke : FREMDELAEUFE()) {
        FileLock blick;
        if (!blick.OpenExisting(m_zustand + QLatin1Char('/') + marke)) {
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

bool frmMAINFENSTER::KOPIEALLEIN(bool mitAnteil) {
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

void frmMAINFENSTER::KOPIETEILEN() {
    if (m_kopiesperre.IsOpen() && !m_kopiesperre.Shared())
        ZUSTANDFEHLT(QFileInfo(m_kopiesperre.Path()).path(), SPERRGRUND(m_kopiesperre));
    // Back from alone to shared in one step: no other run finds the byte
    // free meanwhile.
    if (m_kopieanteil.IsHeld()) m_kopieanteil.Shared();
}

bool frmMAINFENSTER::KOPIEANTEILALLEIN() {
    // A run whose share was refused cannot tell who else works on the copy.
    if (!m_anteilfehler.isEmpty()) return false;
    if (!m_kopieanteil.IsHeld()) return true;
    // The copy at the path is no longer the file this run holds (replaced or
    // deleted under the live runs): who still works on which file cannot be
    // told, so this run is not alone.
    // Another holder, or the lock refused now: either way not alone.
    return m_kopieanteil.StillAtPath() == FileLock::Identity::Same && m_kopieanteil.TryExclusive();
}

void frmMAINFENSTER::ENTSCHEIDUNGFREIGEBEN() {
    if (!m_entscheidet) return;
    TAETIGKEIT::BEENDEN();
    m_entscheidet = false;
    KOPIETEILEN();
    m_entscheidung.Unlock();
}

void frmMAINFENSTER::ZUSTANDLEEREN() {
    // Every change mark and every gone run's mark: the copy is settled.
    ZUSTANDGESPEICHERT(MARKEN(kAenderungsmarken) + FREMDELAEUFE());
}

QStringList frmMAINFENSTER::GESPEICHERTERZUSTAND() {
    // The changes marked before the Save begins are in the copy it writes;
    // so is whatever runs that died before wrote, known when no other run
    // lives now.
    QStringList marken = MARKEN(kAenderungsmarken);
    const bool hielt = m_entscheidet;
    if (ALLEINENTSCHEIDEN()) {
        marken += FREMDELAEUFE();
        if (!hielt) ENTSCHEIDUNGFREIGEBEN();
    }
    return marken;
}

void frmMAINFENSTER::ZUSTANDGESPEICHERT(const QStringList& marken) {
    MARKENLOESCHEN(marken);
    // A mark that went with the run's state stood for a change that is in
    // the copy now settled.
    if (marken.contains(QFileInfo(m_marke).fileName()) || !QFileInfo(m_marke).isFile())
        m_marke.clear();
    m_BOGEAENDERT = false;
}

void frmMAINFENSTER::FRISCHEKOPIE(const QString& arbeitskopie) {
    const QString herkunft = HERKUNFTSDATEI(arbeitskopie);
    const QString neu = arbeitskopie + QStringLiteral(".neu");
    DatabaseMark marke;
    // Until the new copy is in place, it belongs to no project.
    QFile::remove(herkunft);
    QFile::remove(neu);
    try {
        // The new file is the working copy to the user, also in its boxes.
        CopyDatabase(PROJEKTDATENBANK(), neu, arbeitskopie, &marke);
        // The new copy carries this run's share from the moment it is at the
        // copy's path: a start meanwhile never finds it without a live run.
        FileLock anteil(kAnteilsbyte);
        const bool belegt = anteil.OpenPresent(neu) && anteil.Shared();
        for (const QString& endung : kBeiDateien)
            QFile::remove(arbeitskopie + endung);
        std::filesystem::rename(fsPfad(neu), fsPfad(arbeitskopie));
        // No connection of this run is open on the copy replaced, so its
        // descriptor may close.
        if (belegt) {
            anteil.Moved(arbeitskopie);
            m_kopieanteil = std::move(anteil);
        } else {
            m_kopieanteil.Release();
        }
    } catch (...) {
        QFile::remove(neu);
        throw;
    }
    m_eigeneprojektmarken = {marke};
    herkunftSchreiben(herkunft, PROJEKTDATENBANK(), {marke});
}

QList<DatabaseMark> frmMAINFENSTER::PROJEKTMARKEN() {
    return projektmarkenLesen(HERKUNFTSDATEI(XMDBPFAD()));
}

void frmMAINFENSTER::PROJEKTMARKENSETZEN(const QList<DatabaseMark>& marken) {
    m_eigeneprojektmarken = marken;
    // A mark that cannot be written leaves the line before as it was, and
    // with it the project the copy belongs to: an older mark only makes a
    // Save compare the records, it never lets one overwrite another's work.
    try {
        herkunftSchreiben(HERKUNFTSDATEI(XMDBPFAD()), PROJEKTDATENBANK(), marken);
    } catch (const RuntimeError&) {
    }
}

bool frmMAINFENSTER::BESCHAEDIGTEKOPIESICHERN(ErrorHandler& eh, const QString& arbeitskopie) {
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
        KOPIETEILEN();
        return true;
    }
    if (!beschaedigt) return false;
    if (!KOPIEERSETZEN(eh, arbeitskopie, QString())) m_abgebrochen = true;
    return true;
}

bool frmMAINFENSTER::KOPIEERSETZEN(ErrorHandler& eh, const QString& arbeitskopie,
                                   const QString& fremdprojekt) {
    const bool en = m_SPRACHE == 1;
    const bool beschaedigt = fremdprojekt.isEmpty();
    const std::optional<QString> ziel = eh.Value([&] {
        return KOPIEBEISEITELEGEN(arbeitskopie,
                                  beschaedigt ? QStringLiteral("beschaedigt") : fremdprojekt);
    });
    if (!ziel) {
        // Never copied over, nor worked on: what could not be put aside
        // stays where it is, and the start ends (its box says why).
        KOPIETEILEN();
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
    else if (fremdprojekt == kFremd)
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
    if (frisch) ZUSTANDLEEREN();
    KOPIETEILEN();
    if (!frisch) {
        // One box: where the copy lies, and why the start ends.
        if (!m_sitzungsende)
            MsgBox(was + QStringLiteral("\r\n") + eh.ErrDescription() + QStringLiteral("\r\n") +
                       (en ? QStringLiteral("VELD does not start.")
                           : QStringLiteral("VELD wird nicht gestartet.")),
                   vbOKOnly + vbExclamation, kTitel);
        return false;
    }
    if (beschaedigt)
        was += QStringLiteral("\r\n") +
               (en ? QStringLiteral("The work goes on with a new copy of project ") + m_PROJEKT +
                         QStringLiteral(".")
                   : QStringLiteral("Es wird mit einer neuen Kopie des Projekts ") + m_PROJEKT +
                         QStringLiteral(" weitergearbeitet."));
    MsgBox(was, vbOKOnly + vbExclamation, kTitel);
    return true;
}

QString frmMAINFENSTER::KOPIEBEISEITELEGEN(const QString& arbeitskopie, const QString& zusatz) {
    const QString ziel = FREIERNAME(arbeitskopie, zusatz);
    try {
        std::filesystem::rename(fsPfad(arbeitskopie), fsPfad(ziel));
    } catch (...) {
        QFile::remove(ziel);
        throw;
    }
    // A journal left with the copy belongs to it.
    for (const QString& endung : kBeiDateien)
        if (QFileInfo::exists(arbeitskopie + endung)) {
            std::error_code egal;
            std::filesystem::rename(fsPfad(arbeitskopie + endung), fsPfad(ziel + endung), egal);
        }
    QFile::remove(HERKUNFTSDATEI(arbeitskopie));
    return ziel;
}

void frmMAINFENSTER::ARBEITSKOPIEOEFFNEN(const QString& arbeitskopie) {
    m_DBPROJEKT->SetConnectionTimeout(30);
    m_DBPROJEKT->Open(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0; ") +
                      QStringLiteral("Data Source=") + arbeitskopie +
                      QStringLiteral(";Persist Security Info=False"));
}
