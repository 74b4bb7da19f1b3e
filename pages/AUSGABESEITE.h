#pragma once

#include <QList>
#include <QString>
#include <cstdint>

class PictureBox;
class QWidget;

// What the shell and the page dialogs use of an output page ("mdiSEITE1",
// "mdiMSEITE1"): its window name, printing, the page layout and its figures.
// A page is a widget that also implements this interface.
class AUSGABESEITE {
public:
    virtual ~AUSGABESEITE() = default;

    // The window itself (its objectName is the page's name).
    virtual QWidget* FORMULAR() = 0;
    // Prints the page as a print job of its own, then redraws the screen.
    virtual void DRUCKEN() = 0;
    // Header and footer on or off, page numbering on or off, the page's and
    // the picture boxes' colours (Long, red in the lowest byte).
    virtual void KONTEXT(bool HBOKF, bool HBOKFS, int32_t FARBEMDI, int32_t FARBEPIC) = 0;
    // The page's picture boxes in its control order, hidden ones included.
    virtual QList<PictureBox*> BILDER() = 0;
    // Draws figure `bild` (11 or 110) again on the screen from its stored
    // layout, as the page's BILD11 or BILD110 does; false when the page has
    // no such figure.
    virtual bool BILDZEICHNEN(int16_t /*bild*/) { return false; }
    // The page's tag text (the pages carry an empty one).
    virtual QString TAG() { return QString(); }
};

// The page interface of a window, or nullptr when it is no output page.
AUSGABESEITE* ALSAUSGABESEITE(QWidget* fenster);

// Whether a window name is an output page's: it contains "mdiESEITE",
// "mdiSEITE", "mdiPSEITE" or "mdiMSEITE", letter case ignored.
bool ISTSEITENNAME(const QString& name);
// The page prefixes in the order pages are numbered.
const QList<QString>& SEITENPRAEFIXE();
// The main window's active child window as a loaded form (none: nullptr),
// and as an output page, or nullptr when the active child is no page (the
// input window, the start screen) or none.
QWidget* AKTIVESFENSTER();
AUSGABESEITE* AKTIVESEITE();

// Whether a printer is installed to print the pages on. Without one, a box
// says so, in the program's language, under `titel` (the title of the print
// command's own boxes), and the caller prints nothing.
bool DRUCKERBEREIT(const QString& titel);
