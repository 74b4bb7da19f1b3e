#pragma once

#include <QRect>
#include <QString>
#include <cstdint>
#include <memory>

class Connection;
class OutputObject;
class QWidget;

// What the lower parts of the program need of the main window: its
// connections, the user, project and paths, the language, the hand-over text
// of the modal dialogs, the changed flag, the status-bar panels and the start
// screen's progress bar. The main window implements it; tests implement it
// with a temporary project. It is the program's only global, set once.
class HAUPTFENSTER {
public:
    virtual ~HAUPTFENSTER() = default;

    // Connections owned by the main window for the whole run.
    virtual std::shared_ptr<Connection> DBPROJEKT() = 0;
    virtual std::shared_ptr<Connection> DBVORGABE() = 0;

    virtual QString BENUTZER() = 0;
    virtual QString DATENBANKPFAD() = 0;
    virtual QString XMDBPFAD() = 0;
    virtual QString PROJEKT() = 0;
    virtual QString PROJEKTSPFAD() = 0;
    virtual QString BEARBEITER() = 0;
    virtual int16_t SPRACHE() = 0;
    virtual QString DEZIMALPUNKT() = 0;

    // The directory of the program (the executable, the empty template
    // database and the help documents lie in it).
    virtual QString PROGRAMMPFAD() = 0;

    // Hand-over text between a command and a modal dialog.
    virtual QString AUSWAHLMODUS() = 0;
    virtual void SETZEAUSWAHLMODUS(const QString& modus) = 0;

    // The working copy holds changes that are not saved yet.
    virtual bool BOGEAENDERT() = 0;
    virtual void SETZEBOGEAENDERT(bool geaendert) = 0;
    // Before a write of the selection alone (E1.AKT), outside any
    // transaction: a copy that went from under the run is left for a file of
    // the run's own first, so that the choice is written there at once.
    virtual void AUSWAHLVORBEREITEN() {}

    virtual void mnuBEENDEN_Click() = 0;
    virtual void mnuHILFE_Click() = 0;
    virtual void stbMAIN_PanelClick(int panel) = 0;

    // Position and size of the main window on the screen; dialogs place
    // themselves by it.
    virtual QRect GEOMETRIE() = 0;
    // The main window as a parent for dialogs and child windows; none in tests.
    virtual QWidget* FENSTER() { return nullptr; }

    // The start screen's progress bar pgbBERECHNEN.
    virtual void SETZEFORTSCHRITT(int wert) = 0;
    virtual int FORTSCHRITT() = 0;
    virtual void SETZEFORTSCHRITTSICHTBAR(bool sichtbar) = 0;
    virtual bool FORTSCHRITTSICHTBAR() = 0;

    // Menus and menu items by their names ("mnuDATEI", "mnuAUSWERTEN",
    // "mnuEXTRAS", "mnuMBERECHNEN"...): the windows and commands that hold
    // the main menus while they work switch them here. Without a menu bar
    // (tests) nothing happens and every item counts as enabled.
    virtual void SETZEMENUAKTIV(const QString& /*name*/, bool /*aktiv*/) {}
    virtual bool MENUAKTIV(const QString& /*name*/) { return true; }

    // The status-bar panels by their index (1 to 15): visibility and text.
    virtual void SETZEPANELSICHTBAR(int /*panel*/, bool /*sichtbar*/) {}
    virtual bool PANELSICHTBAR(int /*panel*/) { return false; }
    virtual QString PANELTEXT(int /*panel*/) { return QString(); }

    // A panel's bevel: 1 inset, 2 raised (0 without a status bar).
    virtual void SETZEPANELBEVEL(int /*panel*/, int /*bevel*/) {}
    virtual int PANELBEVEL(int /*panel*/) { return 0; }

    // The main window's Enabled: while an output page is built it takes no
    // input. Without a window (tests) it counts as enabled.
    virtual void SETZEAKTIV(bool /*aktiv*/) {}
    virtual bool AKTIV() { return true; }

    // The name of the active child window; "" when there is none.
    virtual QString AKTIVESKIND() { return QString(); }

    // The main window as the frame object of a page's header and footer on
    // the screen: an output object of the kind Form whose ScaleWidth and
    // ScaleHeight give the client area. None without a window.
    virtual OutputObject* RAHMENOBJEKT() { return nullptr; }

    // Loads the output page of that name ("mdiSEITE1", "mdiMSEITE1") unless
    // it is loaded; its load handler builds it, and a failure there reaches
    // the caller. True when it was loaded now. SEITEZEIGEN shows a loaded
    // page maximised as the active child window.
    virtual bool SEITELADEN(const QString& /*name*/) { return false; }
    virtual void SEITEZEIGEN(const QString& /*name*/) {}
    // Whether the output page of that name is loaded: false once it was
    // unloaded (panel 15, closed through its own window).
    virtual bool SEITEGELADEN(const QString& /*name*/) { return false; }

    // Shows the active records in the record panel (panel 6). It has no
    // error handler of its own: a failure reaches the caller.
    virtual void DATENSATZANZEIGE() {}

    // The run has ended (the session ended or the user quit) while a command
    // let events run: the command stops where it is and writes nothing more.
    virtual bool ENDET() { return false; }
};

// The main window of this run; set once at start-up (by the tests per test).
HAUPTFENSTER& frmMAIN();
void SETZEHAUPTFENSTER(HAUPTFENSTER* fenster);
bool HAUPTFENSTERGESETZT();

// A development run is one whose program directory contains "SOURCE" in any
// letter case; every user of the run mode asks again.
bool ENTWICKLUNGSLAUF();
