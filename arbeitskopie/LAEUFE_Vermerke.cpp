// The marks in the copy's state folder: the run marks (LAUFZEICHEN) and the
// change marks (AENDERUNGVORMERK), and whether this run's state is still
// known beside the copy, and why it is not.
//
// A run mark left unlocked belongs to a run that died, at any moment,
// perhaps in the middle of a store. A change mark is made before the change
// is written (VERMERKEN, in the write's guard), so that a Save of another
// run, which holds the copy's write lock from listing the marks to clearing
// them, sees either the write and its mark, or neither. A writing
// transaction that is rolled back takes back the mark it made itself: the
// copy's write lock was held from the mark to the rollback, so no other run
// saw the change or saved over it meanwhile. The run's earlier marks stay;
// so does a mark when the run had an unsaved change before.

#include "arbeitskopie/LAEUFE.h"

#include "arbeitskopie/TAETIGKEIT.h"

#include "platform/runtime/MsgBox.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>
#include <utility>

void LAEUFE::LAUFANMELDEN() {
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

void LAEUFE::ZUSTANDERNEUERN() {
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
                               : m_anteilfehler.isEmpty() || m_verschoben())
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
    if (!FESTANLEGEN(vermerk)) m_unvermerkt = true;
}

void LAEUFE::LAUFABMELDEN() {
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

QString LAEUFE::LAUFZEICHEN() const {
    return m_zustand + QLatin1Char('/') + m_lauf + QStringLiteral(".lauf");
}

bool LAEUFE::ZUSTANDBEKANNT() const {
    // The folder may be removed or replaced under a live run: its own mark
    // says that the state it keeps there is still what the others read.
    return m_zustandsfehler.isEmpty() && !m_zustand.isEmpty() && !m_lauf.isEmpty() &&
           m_laufsperre.IsHeld() && m_laufsperre.StillAtPath() == FileLock::Identity::Same;
}

void LAEUFE::ZUSTANDFEHLT(const QString& ordner, const QString& grund) {
    if (!m_zustandsfehler.isEmpty()) return;
    m_zustandsfehler =
        QDir::toNativeSeparators(ordner) + QStringLiteral(" (") + grund + QLatin1Char(')');
}

void LAEUFE::ZUSTANDMELDEN() {
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

QStringList LAEUFE::FREMDELAEUFE() const {
    QStringList laeufe = ZUSTANDSDATEIEN(kLaufzeichen);
    laeufe.removeAll(m_lauf + QStringLiteral(".lauf"));
    return laeufe;
}

QStringList LAEUFE::ZUSTANDSDATEIEN(const QString& muster) const {
    if (m_zustand.isEmpty()) return {};
    return QDir(m_zustand).entryList(QStringList{muster}, QDir::Files);
}

void LAEUFE::ZUSTANDSDATEIENLOESCHEN(const QStringList& dateien) {
    for (const QString& datei : dateien)
        QFile::remove(m_zustand + QLatin1Char('/') + datei);
}

bool LAEUFE::VERMERKEN() {
    ZUSTANDERNEUERN();
    if (!ZUSTANDBEKANNT()) {
        if (m_zustandsfehler.isEmpty())
            ZUSTANDFEHLT(m_zustand.isEmpty() ? QFileInfo(m_dialog.XMDBPFAD()).path() : m_zustand,
                         GRUND("the run's mark is gone", "die Marke des Laufs fehlt"));
        return false;
    }
    if (!m_vermerk.isEmpty() && QFileInfo(m_vermerk).isFile()) return true;
    const QString vermerk = m_zustand + QLatin1Char('/') + m_lauf + QLatin1Char('.') +
                            QString::number(++m_aenderung) + QStringLiteral(".geaendert");
    if (!FESTANLEGEN(vermerk)) {
        ZUSTANDFEHLT(m_zustand,
                     GRUND("a mark cannot be written", "eine Marke kann nicht geschrieben werden"));
        return false;
    }
    if (!m_vermerk.isEmpty()) QFile::remove(m_vermerk);
    m_vermerk = vermerk;
    return true;
}

void LAEUFE::NEUERVERMERK(bool vermerken) {
    // A command that changes the copy outside a write of its own (or after
    // it) gets a mark of its own, so that a Save of another run that began
    // before cannot clear it.
    const QString fruehere = m_vermerk;
    m_vermerk.clear();
    if (vermerken && !VERMERKEN())
        m_unvermerkt = true;
    else if (!fruehere.isEmpty() && fruehere != m_vermerk)
        QFile::remove(fruehere);
}

void LAEUFE::WACHE(const std::function<void()>& vormerken) {
    const bool vorher = m_unvermerkt || (!m_vermerk.isEmpty() && QFileInfo(m_vermerk).isFile());
    m_zurueckzunehmen.clear();
    vormerken();
    if (!vorher) m_zurueckzunehmen = m_vermerk;
}

void LAEUFE::ZURUECKNEHMEN() {
    const QString vermerk = std::exchange(m_zurueckzunehmen, QString());
    // A command that marked a change of its own meanwhile keeps it.
    if (vermerk.isEmpty() || vermerk != m_vermerk) return;
    QFile::remove(vermerk);
    m_vermerk.clear();
}

bool LAEUFE::VERMERKT() const {
    // A change whose mark went with the run's state (its folder or its run
    // mark removed or replaced under it) is, for all this run knows,
    // unsaved.
    return m_unvermerkt || !ZUSTANDSDATEIEN(kAenderungsvermerke).isEmpty() ||
           (!m_vermerk.isEmpty() && !ZUSTANDBEKANNT() && !QFileInfo(m_vermerk).isFile());
}

void LAEUFE::LEEREN() {
    // Every change mark and every gone run's mark: the copy is settled.
    GESPEICHERT(ZUSTANDSDATEIEN(kAenderungsvermerke) + FREMDELAEUFE());
}

QStringList LAEUFE::GESPEICHERTERZUSTAND() {
    // The changes marked before the Save begins are in the copy it writes;
    // so is whatever runs that died before wrote, known when no other run
    // lives now.
    QStringList gesichert = ZUSTANDSDATEIEN(kAenderungsvermerke);
    const bool hielt = m_entscheidet;
    if (ALLEINENTSCHEIDEN()) {
        gesichert += FREMDELAEUFE();
        if (!hielt) ENTSCHEIDUNGFREIGEBEN();
    }
    return gesichert;
}

void LAEUFE::GESPEICHERT(const QStringList& vermerke) {
    ZUSTANDSDATEIENLOESCHEN(vermerke);
    // A mark that went with the run's state stood for a change that is in
    // the copy now settled.
    if (vermerke.contains(QFileInfo(m_vermerk).fileName()) || !QFileInfo(m_vermerk).isFile())
        m_vermerk.clear();
    m_unvermerkt = false;
    // What a session's end kept is settled with the changes it kept.
    if (!m_zustand.isEmpty() && ZUSTANDSDATEIEN(kAenderungsvermerke).isEmpty())
        QFile::remove(BEHALTENVERMERK());
}
