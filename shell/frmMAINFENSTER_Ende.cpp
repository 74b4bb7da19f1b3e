// The end of the run: the save question, the restart of the frame program,
// and the unload that hands the user's row back to the frame program,
// closes the connections and deletes the working copy.

#include "shell/frmMAINFENSTER.h"
#include "shell/frmMAINFENSTER_Intern.h"

#include "platform/controls/Forms.h"
#include "platform/database/Connection.h"
#include "platform/runtime/ErrorHandler.h"
#include "platform/runtime/MsgBox.h"
#include "platform/database/Recordset.h"
#include "platform/database/Sql.h"
#include "platform/runtime/System.h"
#include "platform/runtime/WaitWindow.h"
#include "shell/TAETIGKEIT.h"

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

void loeschen(const QString& datei) {
    const std::filesystem::path pfad(QFile::encodeName(datei).toStdString());
    if (!std::filesystem::exists(pfad)) return;
    // A read-only copy is not forced.
    if (!QFileInfo(datei).isWritable()) throw StandardError(70);
    std::filesystem::remove(pfad);
}
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
    // The last run of the user answers for the changes of every run: its
    // own, those other runs left when they ended, and what runs that died
    // may have written. It holds the copy alone from the question to its
    // end, so that no run starts or dies unseen in between.
    bool frage = false;
    bool letzter = false;
    // A run whose copy was replaced or deleted under it has no say about the
    // copy now at the path: what it stored itself and did not save is kept
    // in a file of its own, and it ends. While that cannot be kept, it stays,
    // unless the user, told why and what is lost, ends it all the same.
    if (KOPIEVERSCHOBEN()) {
        if (m_eigeneAenderung && grund == 2) {
            ABGELOESTEKOPIESICHERN(mnuBEENDEN->text(), true);
        } else if (m_eigeneAenderung && !ABGELOESTBEENDEN(mnuBEENDEN->text())) {
            if (Forms::IsLoaded(this)) cancel = true;
            return;
        }
        if (!Forms::IsLoaded(this)) return;
    } else if (grund == 0 || grund == 1) {
        letzter = ALLEINENTSCHEIDEN();
        if (letzter) TAETIGKEIT::MELDEN(m_zustand, TAETIGKEIT::FRAGE);
        frage = BOGEAENDERT() || (letzter && !FREMDELAEUFE().isEmpty());
    }
    // The copy that the last run deletes may be the last place that holds
    // a record another user's Save removed from the project.
    if (!frage && letzter) {
        bool behalten = false;
        const bool weiter = VERWAISTEDATENSAETZEPRUEFEN(behalten, false);
        if (!Forms::IsLoaded(this)) return;
        if (!weiter) {
            ENTSCHEIDUNGFREIGEBEN();
            cancel = true;
            return;
        }
        m_kopiebehalten = behalten;
        m_verwaistgeprueft = true;
    }
    if (frage) {
        const std::optional<int> antwort = eh.Value([&] {
            return m_SPRACHE == 1
                       ? MsgBox(QStringLiteral("Do you want to save changes to project ") +
                                    m_PROJEKT + QStringLiteral("?"),
                                vbYesNoCancel + vbQuestion, mnuBEENDEN->text())
                       : MsgBox(QStringLiteral("Sollen die Änderungen in Projekt ") + m_PROJEKT +
                                    QStringLiteral(" gespeichert werden?"),
                                vbYesNoCancel + vbQuestion, mnuBEENDEN->text());
        });
        // The session ended while the question waited: its answer counts no
        // more, the window is unloaded.
        if (!Forms::IsLoaded(this)) return;
        if (antwort && *antwort == vbCancel) {
            ENTSCHEIDUNGFREIGEBEN();
            cancel = true;
            return;
        }
        if (antwort && *antwort == vbYes) {
            // Changes that could not be saved keep the program running with
            // its working copy, rather than being deleted with it.
            const bool gespeichert = SPEICHERN();
            if (!Forms::IsLoaded(this)) return;
            if (!gespeichert) {
                ENTSCHEIDUNGFREIGEBEN();
                cancel = true;
                return;
            }
        }
        if (antwort && *antwort == vbNo) m_verworfen = m_entscheidet;
    } else {
        cancel = false;
    }
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
    const bool verschoben = KOPIEVERSCHOBEN();
    eh.Run([&] { m_DBPROJEKT->Close(); });

    // A copy that another run of this user still works on stays, with its
    // state. The last run deletes it when it holds no unsaved changes or the
    // user chose not to save them; otherwise nobody was asked about them here
    // (the session ends, or the other runs ended or died only after this
    // run's question), and the copy stays for the next start, which offers
    // it again.
    // A run whose copy was replaced or deleted under it never deletes the
    // file now at the path.
    const bool letzter = !verschoben && ALLEINENTSCHEIDEN();
    bool behalten = m_kopiebehalten;
    // A session's end asked nothing: a copy with records that the project
    // no longer holds stays without a box.
    if (letzter && !m_verworfen && !m_verwaistgeprueft && !BOGEAENDERT() &&
        FREMDELAEUFE().isEmpty())
        VERWAISTEDATENSAETZEPRUEFEN(behalten, true);
    if (letzter && !behalten && (m_verworfen || (!BOGEAENDERT() && FREMDELAEUFE().isEmpty()))) {
        if (eh.Run([&] {
                const QString arbeitskopie = XMDBPFAD();
                loeschen(arbeitskopie);
                QFile::remove(HERKUNFTSDATEI(arbeitskopie));
            }))
            ZUSTANDLEEREN();
    }
    LAUFABMELDEN();
    m_entscheidet = false;
    TAETIGKEIT::BEENDEN();
    m_kopiesperre.Release();
    m_entscheidung.Release();
    // Only once the copy's connection is closed; otherwise the window's
    // end closes both.
    if (!m_DBPROJEKT->IsOpen()) m_kopieanteil.Release();
    if (eh.Left()) return;
    QCoreApplication::quit();
}
