// The guard of every write into the copy, and what the copy says of its
// unsaved work. The change marks beside the copy (LAEUFE) are the commands'
// word that they changed it, a hint to the other runs; what is unsaved when
// the copy is deleted, kept or asked about is what its base inside it tells
// (KOPIEVERAENDERT), never the marks.

#include "arbeitskopie/ARBEITSKOPIE.h"

#include "platform/database/Connection.h"
#include "platform/database/DatabaseError.h"
#include "platform/runtime/RuntimeError.h"

void ARBEITSKOPIE::AENDERUNGVORMERKEN() {
    // Runs while the write holds the copy's write lock, so that a Save of
    // another run (which holds it from listing the marks to clearing them)
    // sees either the write and its mark, or neither. No box waits here with
    // the copy locked: the refusal says why in the command's own box.
    // A run that moved into its own file writes there, unmarked: the marks
    // beside the copy are those of the file now at the path.
    if (m_ablage.UMGEZOGEN()) return;
    // A write into a copy that is no longer at its path would reach a file
    // that nobody saves or finds again (the engine refuses it anyway): it is
    // refused, and the run moves into a file of its own for the next one.
    if (KOPIEVERSCHOBEN()) {
        m_ablage.UMZUGVORBEREITEN();
        throw m_ablage.VERSCHOBENFEHLER();
    }
    if (m_laeufe.VERMERKEN()) return;
    throw DatabaseError::Make(
        DatabaseError::NotKept,
        m_dialog.SPRACHE() == 1
            ? QStringLiteral("The working copy is not changed: its state cannot be kept in "
                             "the folder ") +
                  m_laeufe.ZUSTANDSFEHLER() + QStringLiteral(".")
            : QString::fromUtf8("Die Arbeitskopie wird nicht geändert: ihr Zustand kann "
                                "im Ordner ") +
                  m_laeufe.ZUSTANDSFEHLER() + QString::fromUtf8(" nicht festgehalten werden."));
}

bool ARBEITSKOPIE::BOGEAENDERT() {
    return m_laeufe.VERMERKT();
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
        m_laeufe.UNVERMERKTVERGESSEN();
        return;
    }
    // Every write into a copy replaced or deleted under the run was refused:
    // the command changed nothing of this run's, and nothing is to be kept.
    if (KOPIEVERSCHOBEN()) return;
    if (HALTEPUNKT) HALTEPUNKT("GEAENDERT");
    m_ablage.EIGENEAENDERUNG(true);
    m_laeufe.NEUERVERMERK(!m_ablage.UMGEZOGEN());
}

void ARBEITSKOPIE::SCHREIBWACHE() {
    m_laeufe.WACHE([this] { AENDERUNGVORMERKEN(); });
    m_ablage.EIGENEAENDERUNG(true);
    if (HALTEPUNKT) HALTEPUNKT("VERMERKT");
}

void ARBEITSKOPIE::AENDERUNGZURUECKNEHMEN() {
    m_laeufe.ZURUECKNEHMEN();
}
