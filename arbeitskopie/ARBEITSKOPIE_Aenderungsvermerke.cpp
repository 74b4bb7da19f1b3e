// The change marks (AENDERUNGSVERMERK): the commands' word that they changed
// the copy, a hint beside it. What is unsaved when the copy is deleted, kept
// or asked about is what its base inside it tells (KOPIEVERAENDERT), never
// the marks. The run marks (LAUFZEICHEN) that live beside them are
// in ARBEITSKOPIE_Laufzeichen.
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

#include "arbeitskopie/ARBEITSKOPIE.h"

#include "platform/database/Connection.h"
#include "platform/database/DatabaseError.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/RuntimeError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <utility>

QStringList ARBEITSKOPIE::ZUSTANDSDATEIEN(const QString& muster) const {
    if (m_zustand.isEmpty()) return {};
    return QDir(m_zustand).entryList(QStringList{muster}, QDir::Files);
}

void ARBEITSKOPIE::ZUSTANDSDATEIENLOESCHEN(const QStringList& dateien) {
    for (const QString& datei : dateien)
        QFile::remove(m_zustand + QLatin1Char('/') + datei);
}

void ARBEITSKOPIE::AENDERUNGVORMERKEN() {
    // Runs while the write holds the copy's write lock, so that a Save of
    // another run (which holds it from listing the marks to clearing them)
    // sees either the write and its mark, or neither. No box waits here with
    // the copy locked: the refusal says why in the command's own box.
    // A run that moved into its own file writes there, unmarked: the marks
    // beside the copy are those of the file now at the path.
    if (m_umgezogen) return;
    // A write into a copy that is no longer at its path would reach a file
    // that nobody saves or finds again (the engine refuses it anyway): it is
    // refused, and the run moves into a file of its own for the next one.
    if (KOPIEVERSCHOBEN()) {
        UMZUGVORBEREITEN();
        throw KOPIEVERSCHOBENFEHLER();
    }
    ZUSTANDERNEUERN();
    if (!ZUSTANDBEKANNT()) {
        if (m_zustandsfehler.isEmpty())
            ZUSTANDFEHLT(m_zustand.isEmpty() ? QFileInfo(m_dialog.XMDBPFAD()).path() : m_zustand,
                         GRUND("the run's mark is gone", "die Marke des Laufs fehlt"));
        throw DatabaseError::Make(
            DatabaseError::NotKept,
            m_dialog.SPRACHE() == 1
                ? QStringLiteral("The working copy is not changed: its state cannot be kept in "
                                 "the folder ") +
                      m_zustandsfehler + QStringLiteral(".")
                : QString::fromUtf8("Die Arbeitskopie wird nicht geändert: ihr Zustand kann "
                                    "im Ordner ") +
                      m_zustandsfehler + QString::fromUtf8(" nicht festgehalten werden."));
    }
    if (!m_vermerk.isEmpty() && QFileInfo(m_vermerk).isFile()) return;
    const QString vermerk = m_zustand + QLatin1Char('/') + m_lauf + QLatin1Char('.') +
                            QString::number(++m_aenderung) + QStringLiteral(".geaendert");
    if (!FESTANLEGEN(vermerk)) {
        ZUSTANDFEHLT(m_zustand,
                     GRUND("a mark cannot be written", "eine Marke kann nicht geschrieben werden"));
        AENDERUNGVORMERKEN();
        return;
    }
    if (!m_vermerk.isEmpty()) QFile::remove(m_vermerk);
    m_vermerk = vermerk;
}

bool ARBEITSKOPIE::BOGEAENDERT() {
    // A change whose mark went with the run's state (its folder or its run
    // mark removed or replaced under it) is, for all this run knows,
    // unsaved.
    return m_BOGEAENDERT || !ZUSTANDSDATEIEN(kAenderungsvermerke).isEmpty() ||
           (!m_vermerk.isEmpty() && !ZUSTANDBEKANNT() && !QFileInfo(m_vermerk).isFile());
}

bool ARBEITSKOPIE::KOPIEVERAENDERT(Connection& kopie) {
    try {
        return KOPIEBASIS::VERAENDERT(kopie);
    } catch (const RuntimeError&) {
        return true;
    }
}

bool ARBEITSKOPIE::KOPIEVERAENDERT(const QString& arbeitskopie) {
    try {
        Connection kopie;
        kopie.SetConnectionTimeout(30);
        kopie.Open(arbeitskopie);
        return KOPIEVERAENDERT(kopie);
    } catch (const RuntimeError&) {
        return true;
    }
}

void ARBEITSKOPIE::SETZEBOGEAENDERT(bool geaendert) {
    // Once the run has ended, its copy is closed (or gone): nothing is
    // marked any more.
    if (m_dialog.ENTLADEN()) return;
    // Only a Save and the last run's answer settle the copy's changes; this
    // run forgets only what it could not mark.
    if (!geaendert) {
        m_BOGEAENDERT = false;
        return;
    }
    // Every write into a copy replaced or deleted under the run was refused:
    // the command changed nothing of this run's, and nothing is to be kept.
    if (KOPIEVERSCHOBEN()) return;
    if (HALTEPUNKT) HALTEPUNKT("GEAENDERT");
    // A command that changes the copy outside a write of its own (or after
    // it) gets a mark of its own, so that a Save of another run that began
    // before cannot clear it.
    m_eigeneAenderung = true;
    const QString fruehere = m_vermerk;
    m_vermerk.clear();
    try {
        AENDERUNGVORMERKEN();
        if (!fruehere.isEmpty() && fruehere != m_vermerk) QFile::remove(fruehere);
    } catch (const RuntimeError&) {
        m_BOGEAENDERT = true;
    }
}

void ARBEITSKOPIE::ZUSTANDLEEREN() {
    // Every change mark and every gone run's mark: the copy is settled.
    ZUSTANDGESPEICHERT(ZUSTANDSDATEIEN(kAenderungsvermerke) + FREMDELAEUFE());
}

QStringList ARBEITSKOPIE::GESPEICHERTERZUSTAND() {
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

void ARBEITSKOPIE::ZUSTANDGESPEICHERT(const QStringList& vermerke) {
    ZUSTANDSDATEIENLOESCHEN(vermerke);
    // A mark that went with the run's state stood for a change that is in
    // the copy now settled.
    if (vermerke.contains(QFileInfo(m_vermerk).fileName()) || !QFileInfo(m_vermerk).isFile())
        m_vermerk.clear();
    m_BOGEAENDERT = false;
    // What a session's end kept is settled with the changes it kept.
    if (!m_zustand.isEmpty() && ZUSTANDSDATEIEN(kAenderungsvermerke).isEmpty())
        QFile::remove(BEHALTENVERMERK());
}

void ARBEITSKOPIE::SCHREIBWACHE() {
    const bool vorher = m_BOGEAENDERT || (!m_vermerk.isEmpty() && QFileInfo(m_vermerk).isFile());
    m_zurueckzunehmen.clear();
    AENDERUNGVORMERKEN();
    m_eigeneAenderung = true;
    if (!vorher) m_zurueckzunehmen = m_vermerk;
    if (HALTEPUNKT) HALTEPUNKT("VERMERKT");
}

void ARBEITSKOPIE::AENDERUNGZURUECKNEHMEN() {
    const QString vermerk = std::exchange(m_zurueckzunehmen, QString());
    // A command that marked a change of its own meanwhile keeps it.
    if (vermerk.isEmpty() || vermerk != m_vermerk) return;
    QFile::remove(vermerk);
    m_vermerk.clear();
}
