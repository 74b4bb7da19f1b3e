// The copy's state of unsaved changes.
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
// A write marks its change before it is written (AENDERUNGVORMERKEN, run
// by the copy's connection as SCHREIBWACHE), and a writing transaction that
// is rolled back takes back the mark it made itself. The copy's write lock was
// held from the mark to the rollback, so no other run saw the change or
// saved over it meanwhile: the mark stood for nothing. The run's earlier
// marks stay; so does a mark when the run had an unsaved change before.

#include "shell/frmMAINFENSTER.h"

#include "platform/database/DatabaseError.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/RuntimeError.h"
#include "shell/frmMAINFENSTER_Intern.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>
#include <fcntl.h>
#include <unistd.h>
#include <utility>

using HAUPTFENSTERINTERN::kTitel;

namespace {
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

void frmMAINFENSTER::SCHREIBWACHE() {
    const bool vorher = m_BOGEAENDERT || (!m_marke.isEmpty() && QFileInfo(m_marke).isFile());
    m_zurueckzunehmen.clear();
    AENDERUNGVORMERKEN();
    m_eigeneAenderung = true;
    if (!vorher) m_zurueckzunehmen = m_marke;
}

void frmMAINFENSTER::AENDERUNGZURUECKNEHMEN() {
    const QString marke = std::exchange(m_zurueckzunehmen, QString());
    // A command that marked a change of its own meanwhile keeps it.
    if (marke.isEmpty() || marke != m_marke) return;
    QFile::remove(marke);
    m_marke.clear();
}
