// The change marks of the copy's writes: a write marks its change before it
// is written (frmMAINFENSTER_Arbeitskopie), and a writing transaction that is
// rolled back takes back the mark it made itself. The copy's write lock was
// held from the mark to the rollback, so no other run saw the change or
// saved over it meanwhile: the mark stood for nothing. The run's earlier
// marks stay; so does a mark when the run had an unsaved change before.

#include "shell/frmMAINFENSTER.h"

#include <QFile>
#include <QFileInfo>
#include <utility>

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
