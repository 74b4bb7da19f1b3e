// A working copy that an interrupted run left damaged. Offered as usual, a
// Yes would keep it and every command would then fail on it; copied over, the
// interrupted run's changes would be lost for good. So it is put aside under
// a name that says what it is, where the user (or whoever repairs it) finds
// it, and the run goes on with a fresh copy of the project.

#include "shell/frmMAINFENSTER.h"

#include "platform/database/DatabaseError.h"
#include "platform/database/DatabaseFile.h"
#include "platform/runtime/ErrorHandler.h"
#include "platform/runtime/MsgBox.h"

#include <QDir>

namespace {
const QString kTitel = QStringLiteral("VELD");
} // namespace

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

    const std::optional<QString> ziel =
        eh.Value([&] { return KOPIEBEISEITELEGEN(arbeitskopie, QStringLiteral("beschaedigt")); });
    if (!ziel) {
        // Never copied over: what could not be put aside stays where it is.
        KOPIETEILEN();
        return true;
    }
    // What the marks beside the copy tell belongs to the damaged copy.
    if (eh.Run([&] { FRISCHEKOPIE(arbeitskopie); })) ZUSTANDLEEREN();
    KOPIETEILEN();
    const QString ort = QDir::toNativeSeparators(*ziel);
    if (m_SPRACHE == 1)
        MsgBox(QStringLiteral("The working copy left by an interrupted run is damaged and cannot "
                              "be used. It has been kept as ") +
                   ort + QStringLiteral(".") + QStringLiteral("\r\n") +
                   QStringLiteral("The work goes on with a new copy of project ") + m_PROJEKT +
                   QStringLiteral("."),
               vbOKOnly + vbExclamation, kTitel);
    else
        MsgBox(QString::fromUtf8("Die Arbeitskopie, die ein unterbrochener Lauf hinterlassen hat, "
                                 "ist beschädigt und kann nicht benutzt werden. Sie liegt unter ") +
                   ort + QStringLiteral(".") + QStringLiteral("\r\n") +
                   QStringLiteral("Es wird mit einer neuen Kopie des Projekts ") + m_PROJEKT +
                   QStringLiteral(" weitergearbeitet."),
               vbOKOnly + vbExclamation, kTitel);
    return true;
}
