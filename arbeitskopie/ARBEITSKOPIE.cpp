// The working copy as the run holds it: the connection it works through,
// and whether the file at the copy's path is still the one it works on.
// What keeps this run's work from being lost where the copy is replaced or
// deleted under it (a sync, a restore, a tidy user) is ABLAGE's.

#include "arbeitskopie/ARBEITSKOPIE.h"

#include "arbeitskopie/KOPIEBASIS.h"
#include "arbeitskopie/TAETIGKEIT.h"
#include "platform/database/Connection.h"
#include "platform/database/DatabaseError.h"
#include "platform/database/DatabaseFile.h"
#include "platform/runtime/ErrorHandler.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/WaitWindow.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <fcntl.h>
#include <unistd.h>
#include <utility>

ARBEITSKOPIE::ARBEITSKOPIE(ARBEITSKOPIEDIALOG& dialog, std::shared_ptr<Connection> kopie)
    : m_dialog(dialog), m_DBPROJEKT(std::move(kopie)),
      m_laeufe(dialog, [this] { return KOPIEVERSCHOBEN(); }), m_ablage(dialog, m_DBPROJEKT) {
    // Every write into the working copy is known beside it before it is
    // written; a write that is rolled back takes back the mark it made.
    m_DBPROJEKT->SetWriteGuard([this] { SCHREIBWACHE(); }, [this] { AENDERUNGZURUECKNEHMEN(); });
    // Every write keeps what a record was before its first change since the
    // copy last met the project, in the same transaction (KOPIEBASIS).
    m_DBPROJEKT->SetOpenedHook(
        [this](Connection& kopie) { KOPIEBASIS::EINRICHTEN(kopie, !BOGEAENDERT()); });
}

ARBEITSKOPIE::~ARBEITSKOPIE() {
    m_DBPROJEKT->SetWriteGuard(nullptr);
    m_DBPROJEKT->SetOpenedHook(nullptr);
}

QString ARBEITSKOPIE::WARTETEXT(const QString& pfad) const {
    if (m_laeufe.ZUSTAND().isEmpty() || QFileInfo(pfad) != QFileInfo(m_dialog.XMDBPFAD()))
        return QString();
    const QString was = TAETIGKEIT::LESEN(m_laeufe.ZUSTAND(), m_dialog.SPRACHE());
    if (was.isEmpty()) return was;
    // Before the start has shown its window, no command was given.
    const bool start = WaitWindow::IsStarting();
    return was + QLatin1Char('\n') +
           (m_dialog.SPRACHE() == 1
                ? (start ? QStringLiteral("The start waits until it is done.")
                         : QStringLiteral("The command waits until it is done."))
                : (start ? QStringLiteral("Der Start wartet, bis er fertig ist.")
                         : QStringLiteral("Der Befehl wartet, bis er fertig ist.")));
}

bool ARBEITSKOPIE::KOPIEVERSCHOBEN() const {
    return m_ablage.VERSCHOBEN();
}
