// The end of the run: the close of the window, the session's end, the
// restart of the frame program, and the unload that hands the user's row
// back to the frame program and closes the connections. What becomes of the
// working copy (the save question, its deletion) is the copy's own, in
// ARBEITSKOPIE_Ende.

#include "shell/frmMAINFENSTER.h"

#include "arbeitskopie/ARBEITSKOPIE.h"
#include "shell/frmMAINFENSTER_Intern.h"

#include "platform/controls/Forms.h"
#include "platform/database/Connection.h"
#include "platform/runtime/ErrorHandler.h"
#include "platform/runtime/MsgBox.h"
#include "platform/database/Recordset.h"
#include "platform/database/Sql.h"
#include "platform/runtime/System.h"
#include "platform/runtime/WaitWindow.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <filesystem>

namespace {
using HAUPTFENSTERINTERN::kTitel;
} // namespace

void frmMAINFENSTER::closeEvent(QCloseEvent* event) {
    if (m_entladen) {
        event->accept();
        return;
    }
    // The save question and the boxes of the save and of the unload let
    // events run; a session end meanwhile finds the window busy in its close
    // (SITZUNGSENDE).
    const Forms::Busy beschaeftigt(this);
    const int grund = m_grund;
    bool cancel = false;
    MDIForm_QueryUnload(grund, cancel);
    // Unloaded meanwhile by the session's end: nothing is left to do.
    if (!Forms::IsLoaded(this)) {
        event->accept();
        return;
    }
    if (cancel) {
        event->ignore();
        return;
    }
    MDIForm_Unload();
    event->accept();
}

void frmMAINFENSTER::SITZUNGSENDE() {
    if (m_entladen) {
        // The unload waits in one of its error boxes: the run ends now. The
        // box goes unanswered, which leaves the unload; the run's mark goes
        // all the same.
        CloseWaitingBoxes();
        WaitWindow::StopAll(this, [] {});
        QCoreApplication::quit();
        return;
    }
    // During the start-up the end waits for the start (a start waiting for
    // another run stops its wait).
    if (m_startet) {
        m_sitzungsende = true;
        WaitWindow::StopAll(this, [] {});
        return;
    }
    // A command waiting for another holder of a database stops its wait
    // first, with nothing written; the end follows once it has returned.
    if (WaitWindow::StopAll(this, [this] { SITZUNGSENDE(); })) return;
    if (!Forms::IsBusy(this)) {
        m_grund = 2;
        close();
        m_grund = 0;
        return;
    }
    // The window is inside its own close, where the save question or a box
    // of the save waits, and a close during a close is dropped. The session's
    // end takes effect at once, as its close would: nothing asked, nothing
    // saved. The waiting code finds the window unloaded when its box returns.
    bool cancel = false;
    MDIForm_QueryUnload(2, cancel);
    MDIForm_Unload();
}

void frmMAINFENSTER::MDIForm_QueryUnload(int grund, bool& cancel) {
    ErrorHandler eh(QStringLiteral("VB-Error: "), kTitel);
    // The working copy's part of the quit, and the order of the whole quit:
    // see ARBEITSKOPIE_Ende.
    if (!m_arbeitskopie->BEENDENFRAGEN(eh, grund, mnuBEENDEN->text(),
                                       [this] { return SPEICHERN(); }, cancel))
        return;
    if (eh.Left()) return;

    // The frame program comes back when the user closed the window or chose
    // Done, never after Quit alone.
    if (grund == 0 || m_BOSCHLIESSEN) {
        eh.Run([&] {
            const QString rahmen =
                QFileInfo(QDir::cleanPath(PROGRAMMPFAD())).path() + QStringLiteral("/KORVA");
            if (QFileInfo(rahmen).isFile()) StartProgram(rahmen);
        });
    }
}

void frmMAINFENSTER::ANDEREFENSTERSCHLIESSEN() {
    // A box that waits (the session ends meanwhile) goes unanswered.
    CloseWaitingBoxes();
    for (QMdiSubWindow* fenster : MDIBEREICH->subWindowList())
        fenster->close();
    for (QDialog* dialog : findChildren<QDialog*>(Qt::FindDirectChildrenOnly))
        dialog->close();
}

void frmMAINFENSTER::MDIForm_Unload() {
    m_entladen = true;
    Forms::Closed(this);
    ErrorHandler eh(QStringLiteral("VB-Error: "), kTitel);
    eh.Run([&] { ANDEREFENSTERSCHLIESSEN(); });

    if (!ENTWICKLUNGSLAUF()) {
        // The user's row goes back to the frame program.
        Recordset admin;
        if (eh.Run([&] {
                admin.Open(QStringLiteral("SELECT [PROG] FROM [ADMIN] WHERE [BENUTZER]=") +
                               SqlText(BENUTZER()),
                           *m_DBARCHIV);
            })) {
            if (eh.Run([&] { admin.MoveFirst(); }))
                eh.Run([&] {
                    admin.Fields(QStringLiteral("PROG")) = QStringLiteral("KORVA");
                    admin.Update();
                });
            eh.Run([&] { admin.Close(); });
        }
        eh.Run([&] { m_DBARCHIV->Close(); });
        eh.Run([&] { m_DBVORGABE->Close(); });
    }
    // The copy's connection closes, the copy goes where the last run may
    // delete it, and the run's marks and locks are given back.
    m_arbeitskopie->BEENDEN(eh);
    if (eh.Left()) return;
    QCoreApplication::quit();
}
