// The run marks (LAUFZEICHEN): "<run>.lauf" in the copy's state folder for
// every run, made at its start before it can write, held locked for the
// run's lifetime and removed at its orderly end. One that is left unlocked
// belongs to a run that died, at any moment, perhaps in the middle of a
// store. Whether this run's state is still known beside the copy, and why
// it is not, is told here too.

#include "arbeitskopie/ARBEITSKOPIE.h"

#include "platform/runtime/MsgBox.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>
#include <utility>

void ARBEITSKOPIE::LAUFANMELDEN() {
    m_lauf = QUuid::createUuid().toString(QUuid::Id128);
    // The run holds its mark locked for its lifetime, so that the others
    // know it lives whatever becomes of the copy's lock file; the kernel
    // drops the lock when the run dies, and the mark is then a dead run's.
    if (!m_laufsperre.Open(LAUFZEICHEN()) || !m_laufsperre.Exclusive())
        ZUSTANDFEHLT(m_zustand, SPERRGRUND(m_laufsperre));
    else if (!FESTANLEGEN(LAUFZEICHEN()))
        ZUSTANDFEHLT(m_zustand, GRUND("the run's mark cannot be written",
                                      "die Marke des Laufs kann nicht geschrieben werden"));
}

void ARBEITSKOPIE::ZUSTANDERNEUERN() {
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
    if (!laufsperre.Open(LAUFZEICHEN()) || !laufsperre.TryExclusive() ||
        laufsperre.StillAtPath() != FileLock::Identity::Same || !FESTANLEGEN(LAUFZEICHEN()))
        return;
    m_laufsperre = std::move(laufsperre);
    // The marks that went may have been other runs' unsaved changes: the
    // copy holds unsaved changes until a Save or the last run settles them.
    const QString vermerk = m_zustand + QLatin1Char('/') + m_lauf + QLatin1Char('.') +
                            QString::number(++m_aenderung) + QStringLiteral(".geaendert");
    if (!FESTANLEGEN(vermerk)) m_BOGEAENDERT = true;
}

void ARBEITSKOPIE::LAUFABMELDEN() {
    if (m_lauf.isEmpty() || m_zustand.isEmpty() || !m_laufsperre.IsOpen()) return;
    // The mark goes while its lock is held: no other run ever finds it
    // unlocked and takes this run for dead.
    if (m_laufsperre.StillAtPath() == FileLock::Identity::Same) QFile::remove(LAUFZEICHEN());
    // The folder or the mark was removed or replaced under this run: whatever
    // it wrote is unknown to the others, so its mark is left as a dead run's,
    // to be settled by a Save or the last run's answer.
    else if (QFileInfo(m_zustand).isDir() || QDir().mkdir(m_zustand))
        FESTANLEGEN(LAUFZEICHEN());
    m_laufsperre.Release();
}

QString ARBEITSKOPIE::LAUFZEICHEN() const {
    return m_zustand + QLatin1Char('/') + m_lauf + QStringLiteral(".lauf");
}

bool ARBEITSKOPIE::ZUSTANDBEKANNT() const {
    // The folder may be removed or replaced under a live run: its own mark
    // says that the state it keeps there is still what the others read.
    return m_zustandsfehler.isEmpty() && !m_zustand.isEmpty() && !m_lauf.isEmpty() &&
           m_laufsperre.IsHeld() && m_laufsperre.StillAtPath() == FileLock::Identity::Same;
}

void ARBEITSKOPIE::ZUSTANDFEHLT(const QString& ordner, const QString& grund) {
    if (!m_zustandsfehler.isEmpty()) return;
    m_zustandsfehler =
        QDir::toNativeSeparators(ordner) + QStringLiteral(" (") + grund + QLatin1Char(')');
}

void ARBEITSKOPIE::ZUSTANDMELDEN() {
    if (m_zustandgemeldet) return;
    m_zustandgemeldet = true;
    if (m_dialog.SPRACHE() == 1)
        m_dialog.FRAGEN(
            QStringLiteral("The state of the working copy cannot be kept in the folder ") +
                m_zustandsfehler + QStringLiteral(".") + QStringLiteral("\r\n") +
                QStringLiteral("This run changes nothing in the working copy; it stays as it "
                               "is."),
            vbOKOnly + vbCritical, kTitel);
    else
        m_dialog.FRAGEN(
            QString::fromUtf8("Der Zustand der Arbeitskopie kann im Ordner ") + m_zustandsfehler +
                QString::fromUtf8(" nicht festgehalten werden.") + QStringLiteral("\r\n") +
                QString::fromUtf8("Dieser Lauf ändert nichts an der Arbeitskopie; sie bleibt, "
                                  "wie sie ist."),
            vbOKOnly + vbCritical, kTitel);
}

QStringList ARBEITSKOPIE::FREMDELAEUFE() const {
    QStringList laeufe = ZUSTANDSDATEIEN(kLaufzeichen);
    laeufe.removeAll(m_lauf + QStringLiteral(".lauf"));
    return laeufe;
}
