// The working copy as the run holds it: the connection it works through,
// and whether the file at the copy's path is still the one it works on.
// What keeps this run's work from being lost where the copy is replaced or
// deleted under it (a sync, a restore, a tidy user) is in
// ARBEITSKOPIE_Abgeloest.

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
      m_laeufe(dialog, [this] { return KOPIEVERSCHOBEN(); }) {
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

std::filesystem::path ARBEITSKOPIE::FSPFAD(const QString& pfad) {
    return std::filesystem::path(QFile::encodeName(pfad).toStdString());
}

QString ARBEITSKOPIE::WARTETEXT(const QString& pfad) const {
    if (m_laeufe.ZUSTAND().isEmpty() || QFileInfo(pfad) != QFileInfo(m_dialog.XMDBPFAD())) return QString();
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

void ARBEITSKOPIE::BELEGTUMBENENNEN(const QString& neu, const QString& ziel, FileLock& anteil) {
    FileLock neuer(LAEUFE::kAnteilsbyte);
    const bool belegt = neuer.OpenPresent(neu) && neuer.Shared();
    std::filesystem::rename(FSPFAD(neu), FSPFAD(ziel));
    if (belegt) {
        neuer.Moved(ziel);
        anteil = std::move(neuer);
    } else {
        anteil.Release();
    }
}

QString ARBEITSKOPIE::AUFZAEHLUNG(const QStringList& kennungen, int hoechstens) const {
    QString text = kennungen.mid(0, hoechstens).join(QStringLiteral(", "));
    if (kennungen.size() > hoechstens)
        text += (m_dialog.SPRACHE() == 1 ? QStringLiteral(" and %1 more")
                                         : QStringLiteral(" und %1 weitere"))
                    .arg(kennungen.size() - hoechstens);
    return text;
}

bool ARBEITSKOPIE::KOPIEVERSCHOBEN() const {
    return m_umgezogen || (m_DBPROJEKT && m_DBPROJEKT->IsOpen() && m_DBPROJEKT->HasMoved());
}

RuntimeError ARBEITSKOPIE::KOPIEVERSCHOBENFEHLER() const {
    const QString kopie = QDir::toNativeSeparators(m_dialog.XMDBPFAD());
    const bool en = m_dialog.SPRACHE() == 1;
    QString text = en ? QStringLiteral("The working copy ") + kopie +
                            QStringLiteral(" is no longer the file this run works on: it was "
                                           "replaced or deleted.")
                      : QStringLiteral("Die Arbeitskopie ") + kopie +
                            QString::fromUtf8(" ist nicht mehr die Datei, mit der dieser Lauf "
                                              "arbeitet: sie wurde ersetzt oder gelöscht.");
    if (m_umziehen) {
        const QString datei = QDir::toNativeSeparators(m_abgelegt);
        text += en ? QStringLiteral(" This run keeps what it stored in ") + datei +
                         QStringLiteral(" and works on in that file, which the next start "
                                        "offers. Store again: then this is kept there, too.")
                   : QStringLiteral(" Dieser Lauf legt, was er gespeichert hat, unter ") + datei +
                         QString::fromUtf8(" ab und arbeitet dort weiter; der nächste Start "
                                           "bietet es an. Speichern Sie noch einmal, dann "
                                           "steht auch dies dort.");
    } else {
        text += en ? QStringLiteral(" This run writes nothing more into it; its Save and its "
                                    "end keep what it stored in a file of its own beside the "
                                    "working copy.")
                   : QString::fromUtf8(" Dieser Lauf schreibt nichts mehr in sie; beim "
                                       "Speichern und Beenden legt er, was er in ihr "
                                       "gespeichert hat, in einer eigenen Datei neben der "
                                       "Arbeitskopie ab.");
    }
    return DatabaseError::Make(DatabaseError::Replaced, text);
}
