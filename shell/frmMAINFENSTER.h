#pragma once

// frmMAIN, the main window: a multiple-document window with the menu bar and
// the status bar stbMAIN. It runs the start-up (MDIForm_Load), owns the
// connections to the working copy, to VORGABE.mdb and to ARCHIV.mdb for the
// whole run, offers the user, project, paths and language to every other
// part through HAUPTFENSTER, and ends the run (MDIForm_QueryUnload,
// MDIForm_Unload). Its commands are split by concern over several files:
// start-up, shut-down, record and help commands, pages, status bar. The
// working copy's life (its share among the user's runs, its marks, the
// Save, the quit's checks) is the copy's own (arbeitskopie/ARBEITSKOPIE),
// which the window calls and answers as its ARBEITSKOPIEDIALOG.
//
// (The class cannot be called frmMAIN: that name is the accessor of the
// program's main window that every lower part calls.)

#include "arbeitskopie/ARBEITSKOPIEDIALOG.h"
#include "data/HAUPTFENSTER.h"

#include <QIcon>
#include <QMainWindow>
#include <QPointer>
#include <QVariant>
#include <memory>
#include <optional>

class ARBEITSKOPIE;
class ErrorHandler;
class HAUPTRAHMEN;
class HILFEFENSTER;
class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class STATUSLEISTE;
class mdiAUTOSTART;

class frmMAINFENSTER : public QMainWindow, public HAUPTFENSTER, public ARBEITSKOPIEDIALOG {
    Q_OBJECT
public:
    explicit frmMAINFENSTER(QWidget* parent = nullptr);
    ~frmMAINFENSTER() override;

    // The start-up. False when it ended with one of its messages (no row in
    // ADMIN, no project directory, no empty template) or without an open
    // working copy (a database held, damaged or missing, a copy that could
    // not be made, Cancel of an error box before the copy was open): the
    // program ends at once. True otherwise, also when the user left it
    // through Cancel of an error box after the copy was open (the window
    // then stays open with what it has).
    bool MDIForm_Load();

    // HAUPTFENSTER
    std::shared_ptr<Connection> DBPROJEKT() override { return m_DBPROJEKT; }
    std::shared_ptr<Connection> DBVORGABE() override { return m_DBVORGABE; }
    QString BENUTZER() override;
    QString DATENBANKPFAD() override;
    // The working copy's path (its folders made when missing).
    QString XMDBPFAD() override;
    QString PROJEKT() override { return m_PROJEKT; }
    QString PROJEKTSPFAD() override { return m_PROJEKTSPFAD; }
    QString BEARBEITER() override { return m_BEARBEITER; }
    int16_t SPRACHE() override { return m_SPRACHE; }
    QString DEZIMALPUNKT() override { return m_DEZIMALPUNKT; }
    QString PROGRAMMPFAD() override;
    QString AUSWAHLMODUS() override { return m_AUSWAHLMODUS; }
    void SETZEAUSWAHLMODUS(const QString& modus) override { m_AUSWAHLMODUS = modus; }
    // Whether the working copy holds changes that are not saved (see
    // ARBEITSKOPIE).
    bool BOGEAENDERT() override;
    void SETZEBOGEAENDERT(bool geaendert) override;
    void AUSWAHLVORBEREITEN() override;
    void mnuBEENDEN_Click() override;
    void mnuHILFE_Click() override;
    void stbMAIN_PanelClick(int panel) override;
    QRect GEOMETRIE() override { return geometry(); }
    QWidget* FENSTER() override { return this; }
    void SETZEFORTSCHRITT(int wert) override;
    int FORTSCHRITT() override;
    void SETZEFORTSCHRITTSICHTBAR(bool sichtbar) override;
    bool FORTSCHRITTSICHTBAR() override;
    void SETZEMENUAKTIV(const QString& name, bool aktiv) override;
    bool MENUAKTIV(const QString& name) override;
    void SETZEPANELSICHTBAR(int panel, bool sichtbar) override;
    bool PANELSICHTBAR(int panel) override;
    QString PANELTEXT(int panel) override;
    void DATENSATZANZEIGE() override;
    bool ENDET() override { return m_entladen; }
    void SETZEPANELBEVEL(int panel, int bevel) override;
    int PANELBEVEL(int panel) override;
    void SETZEAKTIV(bool aktiv) override { setEnabled(aktiv); }
    bool AKTIV() override { return isEnabled(); }
    QString AKTIVESKIND() override;
    OutputObject* RAHMENOBJEKT() override;
    bool SEITELADEN(const QString& name) override;
    void SEITEZEIGEN(const QString& name) override;
    bool SEITEGELADEN(const QString& name) override;

    // The connection to ARCHIV.mdb (installed run only).
    std::shared_ptr<Connection> DBARCHIV() const { return m_DBARCHIV; }
    bool BOSCHLIESSEN() const { return m_BOSCHLIESSEN; }
    // The project database of the current project.
    QString PROJEKTDATENBANK() const override;

    // File menu. New, Open, Select, Export-Import, Export to the information
    // system and Delete belong to the input window and the dialogs.
    void mnuNEU_Click();
    void mnuOEFFNEN_Click();
    void mnuAUSWAHL_Click();
    void mnuEXPIMP_Click();
    void mnuEXPINF_Click();
    void mnuLOESCHEN_Click();
    void mnuSCHLIESSEN_Click();
    void mnuSPEICHERN_Click();
    // Evaluate menu: the evaluation commands.
    void mnuAUSWERTEN_Click();
    void mnuBERECHNEN_Click();
    void mnuMBERECHNEN_Click();
    void mnuNEUBERECHNEN_Click();
    // Extras and ? menus.
    void mnuKOMPRIMIEREN_Click();
    void mnuFRAGEZEICHEN_Click();
    void mnuREADME_Click();
    void mnuHINWEISE_Click();
    void mnuINFO_Click();

    // A mouse press on the status bar at a point (its pixels).
    void stbMAIN_MouseDown(const QPoint& punkt);

    // Closing: reason 0 the user closed the window, 1 the program unloaded
    // it (Done, Quit), 2 the session ends.
    void MDIForm_QueryUnload(int grund, bool& cancel);
    void MDIForm_Unload();
    // The session ends (SIGTERM, log-off): the window closes with reason 2.
    void SITZUNGSENDE();
    // The unload has run.
    bool ENTLADEN() const override { return m_entladen; }

    // ARBEITSKOPIEDIALOG: the copy's boxes are the program's message boxes.
    int FRAGEN(const QString& text, int stil, const QString& titel,
               const QString& hilfedatei = QString(), int kontext = 0) override;
    bool GELADEN() override;
    bool SITZUNGENDET() const override { return m_sitzungsende; }
    // The line goes into the status bar's free panel, the whole as its tip.
    void HINWEISEN(const QString& zeile, const QString& ganz) override;
    void SPAETER(std::function<void()> schritt) override;

    // The start screen, loaded when it is not yet.
    mdiAUTOSTART* AUTOSTART();
    // The help window, made when it is first needed.
    HILFEFENSTER* HILFE();
    // Opens the help file at a help context (the Help command and the Help
    // button of message boxes).
    bool HILFEZEIGEN(const QString& datei, int kontext);

    // Panel 1's text for a project directory: shortened to the last 20
    // characters or so, with "/" appended.
    static QString PROJEKTPFADANZEIGE(const QString& projektspfad);
    // What a compaction saved, in per cent of the size before, rounded to
    // one decimal; 0 when the size before was 0.0 MB.
    static float ERSPARNIS(float vorher, float nachher);
    // The compaction's temporary file beside a working copy: its path up to
    // the first ".mdb" (any letter case) and "TEMP.mdb".
    static QString KOMPRIMIERDATEI(const QString& arbeitskopie);
    // The program's icon, for every window of the run (the main window, the
    // pages, the input window, the dialogs and boxes).
    static QIcon PROGRAMMSYMBOL();

    // Writes the window's caption and the panels' texts and tool tips into a
    // file (one "name=value" per line), for checking an installed run.
    void ZUSTANDSCHREIBEN(const QString& datei);

    // Controls.
    QMdiArea* MDIBEREICH;
    STATUSLEISTE* stbMAIN;
    QMenu* mnuDATEI;
    QAction *mnuNEU, *mnuOEFFNEN, *mnuAUSWAHL, *mnuTRENN0, *mnuEXPIMP, *mnuEXPINF, *mnuLOESCHEN,
        *mnuSCHLIESSEN, *mnuTRENN1, *mnuSPEICHERN, *mnuBEENDEN;
    QMenu* mnuAUSWERTEN;
    QAction *mnuEINGABEGRAFIK, *mnuBERECHNEN, *mnuMBERECHNEN, *mnuFBERECHNEN, *mnuNEUBERECHNEN;
    QMenu* mnuEXTRAS;
    QAction *mnuVVORGABEN, *mnuVEVORGABEN, *mnuTRENN2;
    QMenu* mnuWERKZEUGE;
    QAction *mnuTEXT, *mnuPOLYGON, *mnuKREIS, *mnuKOMPRIMIEREN;
    QMenu* mnuFRAGEZEICHEN;
    QAction *mnuHILFE, *mnuREADME, *mnuHINWEISE, *mnuTRENN4, *mnuINFO;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;

private:
    bool LADEN();
    void MENUSANLEGEN();
    void STATUSLEISTEANLEGEN();
    void ENGLISCHETEXTE();
    bool INSTALLIERTERSTART(ErrorHandler& eh);
    // Ends a start before its main window (a wait cancelled, a database
    // held, damaged or missing, the session ended): nothing written, nothing
    // deleted.
    void STARTBEENDEN();
    void STARTBILDSCHIRMLADEN(ErrorHandler& eh);
    void ANDEREFENSTERSCHLIESSEN();
    // A page's window has closed: the last page gone ends the page view.
    void SEITEGESCHLOSSEN();
    // The Save of the File menu and of the quit's questions.
    bool SPEICHERN();
    bool KOMPRIMIEREN();
    void DOKUMENTOEFFNEN(const QString& datei, const QString& titel);
    int HILFEKONTEXT() const;
    QString LANDESEINSTELLUNG(int element) const;

    std::shared_ptr<Connection> m_DBPROJEKT;
    std::shared_ptr<Connection> m_DBVORGABE;
    QString m_PROJEKT;
    QString m_PROJEKTSPFAD;
    QString m_BEARBEITER;
    int32_t m_SIGNALTON = 0;
    int32_t m_SIGNALERGEBNIS = 0;
    std::shared_ptr<Connection> m_DBARCHIV;
    bool m_BOSCHLIESSEN = false;
    int16_t m_SPRACHE = 3;
    QString m_DEZIMALPUNKT;
    QString m_AUSWAHLMODUS;

    // The start-up runs; a session end meanwhile is kept for its end.
    bool m_startet = false;
    bool m_sitzungsende = false;
    bool m_abgebrochen = false;
    // ADMIN.PROG as the start found it, when the start wrote its title over
    // another value: a start that ends early puts it back.
    std::optional<QVariant> m_progvorher;
    int m_grund = 0;
    bool m_entladen = false;
    QPointer<mdiAUTOSTART> m_autostart;
    QPointer<QMdiSubWindow> m_autostartFenster;
    QPointer<HILFEFENSTER> m_hilfe;
    std::unique_ptr<HAUPTRAHMEN> m_rahmen;
    // The working copy's life; made with the window, on the connection
    // m_DBPROJEKT.
    std::unique_ptr<ARBEITSKOPIE> m_arbeitskopie;
};
