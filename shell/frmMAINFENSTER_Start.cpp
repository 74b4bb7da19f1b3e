// The start-up of the main window (its load handler). What the start decides
// about the working copy is the copy's own (ARBEITSKOPIE_Start).

#include "shell/frmMAINFENSTER.h"

#include "arbeitskopie/ARBEITSKOPIE.h"

#include "platform/controls/Forms.h"
#include "platform/database/Connection.h"
#include "platform/database/DatabaseError.h"
#include "platform/runtime/ErrorHandler.h"
#include "platform/runtime/MsgBox.h"
#include "platform/database/Recordset.h"
#include "platform/database/Sql.h"
#include "platform/runtime/System.h"
#include "platform/runtime/Variant.h"
#include "platform/runtime/WaitWindow.h"
#include "shell/STATUSLEISTE.h"
#include "shell/frmMAINFENSTER_Intern.h"

#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QScreen>
#include <cerrno>

using HAUPTFENSTERINTERN::kTitel;

namespace {
QString verbindungstext(const QString& pfad) {
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0; ") + QStringLiteral("Data Source=") +
           pfad + QStringLiteral(";") + QStringLiteral("Persist Security Info=False");
}

// The window's first normal size lies within the screen it opens on, so
// that neither a window manager that does not maximize nor an un-maximize
// gives a window wider than the screen.
void normalgroesse(QWidget& fenster) {
    if (fenster.isVisible()) return;
    // The native window knows the frame that the window system adds.
    fenster.winId();
    const QScreen* schirm = fenster.screen();
    if (!schirm) return;
    const QRect frei = schirm->availableGeometry();
    const QSize rahmen = fenster.frameGeometry().size() - fenster.geometry().size();
    fenster.resize(fenster.sizeHint()
                       .expandedTo(fenster.minimumSizeHint())
                       .boundedTo(frei.size() - rahmen));
    fenster.move(frei.topLeft());
}

void oeffnen(Connection& verbindung, const QString& verbindungstext) {
    verbindung.SetConnectionTimeout(30);
    verbindung.Open(verbindungstext);
}

bool belegt(int fehler) {
    return fehler == DatabaseError::Locked || fehler == DatabaseError::Cancelled;
}

// What making and opening the working copy raises when a database or a file
// beside it cannot be used: held, damaged, missing, read-only, full, a disk
// that fails, a file that cannot be renamed or written. Each ends the start
// with one box that says why; a main window without its copy could only
// answer every command with an error. 53, 70, 75 and 76 are the runtime's
// file not found, permission denied, path/file access error, path not found.
const QList<int> kKopierfehler = {DatabaseError::Locked,   DatabaseError::Cancelled,
                                  DatabaseError::Damaged,  DatabaseError::ReadOnly,
                                  DatabaseError::DiskFull, DatabaseError::IoFailure,
                                  DatabaseError::Failure,  DatabaseError::NotAllowed,
                                  53, 70, 75, 76};

} // namespace

bool frmMAINFENSTER::MDIForm_Load() {
    normalgroesse(*this);
    // A wait for a database says what the run's other runs do with the copy.
    WaitWindow::SetDescriber([fenster = QPointer<frmMAINFENSTER>(this)](const QString& pfad) {
        return fenster ? fenster->m_arbeitskopie->WARTETEXT(pfad) : QString();
    });
    m_startet = true;
    bool weiter = false;
    {
        const WaitWindow::Starting startet;
        weiter = LADEN();
    }
    m_startet = false;
    // A main window whose working copy is not open would answer every
    // command with an error: such a start ends, whatever road led there.
    if (weiter && !m_DBPROJEKT->IsOpen()) {
        m_abgebrochen = true;
        weiter = false;
    }
    // A start that ended in a wait for another run or program, or could not
    // make or open its copy, ends the run at once, as a session end does:
    // nothing asked, the copy left as it is.
    if (!weiter && (m_sitzungsende || m_abgebrochen)) {
        STARTBEENDEN();
        return false;
    }
    // The session ended while the start-up ran: the run ends now.
    if (weiter && m_sitzungsende) {
        SITZUNGSENDE();
        return false;
    }
    // A start-up left through Cancel of an error box once its copy was open
    // still shows the window, with what it has.
    if (weiter && isHidden()) showMaximized();
    return weiter;
}

bool frmMAINFENSTER::LADEN() {
    ErrorHandler eh(QStringLiteral("VB-Error: "), kTitel);
    // A database that another run or program holds past the time-out, or
    // whose wait the user cancelled, ends the start before its main window:
    // one box says why (none when the session ends), and nothing is touched.
    QList<int> still = {DatabaseError::Locked, DatabaseError::Cancelled};
    eh.LeaveSilentlyOn(still);
    // Before the copy is open, a start that was left (Cancel of an error
    // box, or a failure that leaves at once) ends; after, only a database
    // held or a wait cancelled ends it.
    bool kopieOffen = false;
    const auto verlassen = [&] {
        const bool schweigend =
            eh.ErrNumber() == ErrorHandler::kUserInterrupt || still.contains(eh.ErrNumber());
        if (kopieOffen && !belegt(eh.ErrNumber())) return true;
        m_abgebrochen = true;
        // A failure that left without a box says why, once; after a box the
        // user has read why already.
        if (schweigend && !m_sitzungsende)
            MsgBox(eh.ErrDescription() + QStringLiteral("\r\n") +
                       (m_SPRACHE == 1 ? QStringLiteral("VELD does not start.")
                                       : QStringLiteral("VELD wird nicht gestartet.")),
                   vbOKOnly + vbExclamation, kTitel);
        return false;
    };

    // The system beep is switched off for the run and not restored.
    eh.Run([&] {
        bool an = false;
        m_SIGNALERGEBNIS = GetSystemBeep(an) ? 1 : 0;
        m_SIGNALTON = an ? 1 : 0;
        if (m_SIGNALERGEBNIS != 0 && m_SIGNALTON != 0)
            m_SIGNALERGEBNIS = SetSystemBeep(false) ? 1 : 0;
    });

    // Language and decimal separator from the user's locale; only exactly
    // "en" gives English.
    eh.Run([&] {
        const QString sprache = LANDESEINSTELLUNG(89);
        if (sprache == QLatin1String("de"))
            m_SPRACHE = 3;
        else if (sprache == QLatin1String("en"))
            m_SPRACHE = 1;
        else
            m_SPRACHE = 3;
    });
    // The platform's texts speak the program's language.
    SetGermanTexts(m_SPRACHE != 1);
    eh.Run([&] { m_DEZIMALPUNKT = LANDESEINSTELLUNG(14); });
    if (m_SPRACHE == 1) eh.Run([&] { ENGLISCHETEXTE(); });
    if (eh.Left()) return verlassen();

    if (!ENTWICKLUNGSLAUF()) {
        if (!INSTALLIERTERSTART(eh)) return false;
        if (eh.Left()) return verlassen();
    } else {
        // A development run takes the directory above the program as the
        // project directory and a fixed project.
        eh.Run([&] {
            m_PROJEKTSPFAD = QFileInfo(QDir::cleanPath(PROGRAMMPFAD())).path();
            m_PROJEKT = QStringLiteral("TE0000.00");
            m_BEARBEITER = BENUTZER();
        });
    }
    if (eh.Left()) return verlassen();

    eh.Run([&] {
        stbMAIN->Panels(1)->SetText(PROJEKTPFADANZEIGE(m_PROJEKTSPFAD));
        stbMAIN->Panels(1)->SetToolTipText(m_PROJEKTSPFAD);
    });
    eh.Run([&] {
        stbMAIN->Panels(2)->SetText(m_PROJEKT);
        stbMAIN->Panels(2)->SetToolTipText(m_BEARBEITER);
    });
    eh.Run([&] {
        stbMAIN->Panels(4)->SetText(kTitel);
        stbMAIN->Panels(4)->SetToolTipText(QStringLiteral("Varmikon"));
    });
    if (eh.Left()) return verlassen();

    // The working copy: a step of it that fails ends the start at once, with
    // one box, at the first wait that timed out or was cancelled.
    still = kKopierfehler;
    eh.LeaveSilentlyOn(still);
    m_arbeitskopie->VORPRUEFEN(eh);
    if (eh.Left()) return verlassen();
    if (!m_arbeitskopie->VORBEREITEN(eh)) {
        m_abgebrochen = true;
        return false;
    }
    if (eh.Left() || !m_DBPROJEKT->IsOpen()) return verlassen();
    kopieOffen = true;
    still = {DatabaseError::Locked, DatabaseError::Cancelled};
    eh.LeaveSilentlyOn(still);

    eh.Run([&] { DATENSATZANZEIGE(); });
    if (eh.Left()) return verlassen();

    eh.Run([&] { showMaximized(); });
    STARTBILDSCHIRMLADEN(eh);
    return true;
}

bool frmMAINFENSTER::INSTALLIERTERSTART(ErrorHandler& eh) {
    // The user's row of the administration table, as the frame program
    // left it.
    eh.Run([&] {
        oeffnen(*m_DBARCHIV, verbindungstext(DATENBANKPFAD() + QStringLiteral("/ARCHIV.mdb")));
    });
    eh.Run([&] {
        oeffnen(*m_DBVORGABE, verbindungstext(DATENBANKPFAD() + QStringLiteral("/VORGABE.mdb")));
    });
    Recordset admin;
    const bool offen = eh.Run([&] {
        admin.Open(QStringLiteral("SELECT * FROM [ADMIN] WHERE [BENUTZER]=") + SqlText(BENUTZER()),
                   *m_DBARCHIV);
    });
    if (offen) {
        std::optional<bool> keineZeile = eh.Value([&] { return admin.Eof(); });
        if (keineZeile && *keineZeile) {
            if (m_SPRACHE == 1)
                MsgBox(QStringLiteral("Program ") + kTitel +
                           QStringLiteral(" can used only via the frame program!"),
                       vbOKOnly + vbExclamation, kTitel);
            else
                MsgBox(
                    QStringLiteral("Programm ") + kTitel +
                        QString::fromUtf8(" kann nur über das Rahmenprogramm ausgeführt werden!"),
                    vbOKOnly + vbExclamation, kTitel);
            return false;
        }
        if (keineZeile) {
            eh.Run([&] {
                const QVariant vorher = admin.Value(QStringLiteral("PROG"));
                admin.Fields(QStringLiteral("PROG")) = kTitel;
                admin.Update();
                if (IsNull(vorher) || CStr(vorher) != kTitel) m_progvorher = vorher;
            });
            eh.Run([&] { m_PROJEKTSPFAD = CStr(admin.Value(QStringLiteral("PROJEKTSPFAD"))); });
            eh.Run([&] { m_PROJEKT = CStr(admin.Value(QStringLiteral("PROJEKT"))); });
            eh.Run([&] { m_BEARBEITER = CStr(admin.Value(QStringLiteral("BEARBEITER"))); });
        }
        eh.Run([&] { admin.Close(); });
    }
    if (eh.Left()) return true;

    if (!QFileInfo(m_PROJEKTSPFAD + QLatin1Char('/') + m_PROJEKT).isDir()) {
        if (m_SPRACHE == 1)
            MsgBox(QStringLiteral("Project directory ") + m_PROJEKT +
                       QStringLiteral(" dosn't exist!"),
                   vbOKOnly + vbExclamation, kTitel);
        else
            MsgBox(QStringLiteral("Projektsverzeichnis ") + m_PROJEKT +
                       QStringLiteral(" existiert nicht!"),
                   vbOKOnly + vbExclamation, kTitel);
        return false;
    }
    if (!QFileInfo::exists(PROGRAMMPFAD() + QLatin1Char('/') + kTitel + QStringLiteral(".mdb"))) {
        if (m_SPRACHE == 1)
            MsgBox(QStringLiteral("The empty database ") + kTitel +
                       QStringLiteral(".mdb dosn't exist!") + QStringLiteral("\r\n") +
                       QStringLiteral("Korvalind has to be installed again!"),
                   vbOKOnly + vbExclamation, kTitel);
        else
            MsgBox(QStringLiteral("Die leere Datenbank ") + kTitel +
                       QStringLiteral(".mdb existiert nicht!") + QStringLiteral("\r\n") +
                       QString::fromUtf8("Korvalinds muß neu installiert werden!"),
                   vbOKOnly + vbExclamation, kTitel);
        return false;
    }
    return true;
}

void frmMAINFENSTER::STARTBEENDEN() {
    // The start ends before its main window: it hands no row back, deletes
    // no copy and decides nothing (another run may be at work on the copy).
    // ADMIN.PROG is as the start found it.
    m_entladen = true;
    Forms::Closed(this);
    ANDEREFENSTERSCHLIESSEN();
    if (m_progvorher && m_DBARCHIV->IsOpen()) {
        try {
            m_DBARCHIV->Execute(QStringLiteral("UPDATE [ADMIN] SET [PROG]=? WHERE [BENUTZER]=?"),
                                {*m_progvorher, BENUTZER()});
        } catch (const RuntimeError&) {
            // The run ends all the same.
        }
    }
    for (const auto& verbindung : {m_DBARCHIV, m_DBVORGABE, m_DBPROJEKT}) {
        try {
            verbindung->Close();
        } catch (const RuntimeError&) {
        }
    }
    m_arbeitskopie->STARTBEENDEN();
}
