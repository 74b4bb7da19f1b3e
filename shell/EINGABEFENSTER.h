#pragma once

// The input window as the shell holds it: loaded into the main window's
// client area by New and Open, found among the loaded forms by the save and
// discard panels.

class HAUPTFENSTER;
class QMdiArea;
class mdiEINGABE;

namespace EINGABEFENSTER {

// Loads the input window as a child of the client area and shows it;
// nullptr when it was unloaded while it loaded (the session ended).
mdiEINGABE* LADEN(QMdiArea& bereich);
// The loaded input window; nullptr when none is loaded.
mdiEINGABE* GELADEN();
// File, Evaluate and Extras on or off together.
void HAUPTMENUS(HAUPTFENSTER& haupt, bool aktiv);

} // namespace EINGABEFENSTER
