#include "shell/EINGABEFENSTER.h"

#include "data/HAUPTFENSTER.h"
#include "input/mdiEINGABE.h"
#include "platform/controls/Forms.h"

#include <QMdiArea>
#include <QMdiSubWindow>

namespace EINGABEFENSTER {

mdiEINGABE* LADEN(QMdiArea& bereich) {
    auto* eingabe = new mdiEINGABE;
    // The window is left through the panels OK and Cancel only: it has no
    // close button of its own.
    QMdiSubWindow* fenster = bereich.addSubWindow(
        eingabe, Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                     Qt::WindowMinMaxButtonsHint);
    fenster->setObjectName(QStringLiteral("mdiEINGABE"));
    // Closed, the window is unloaded and its frame goes when the window's
    // code has returned (Forms::Closed), not under that code.
    fenster->setAttribute(Qt::WA_DeleteOnClose, false);
    eingabe->Form_Load();
    // Unloaded in a box of its load (the session ended): nothing to show.
    if (!Forms::IsLoaded(eingabe)) return nullptr;
    fenster->resize(fenster->sizeHint().expandedTo(QSize(700, 580)));
    fenster->show();
    fenster->raise();
    bereich.setActiveSubWindow(fenster);
    return eingabe;
}

mdiEINGABE* GELADEN() {
    return dynamic_cast<mdiEINGABE*>(Forms::Find(QStringLiteral("mdiEINGABE")));
}

void HAUPTMENUS(HAUPTFENSTER& haupt, bool aktiv) {
    for (const char* menu : {"mnuDATEI", "mnuAUSWERTEN", "mnuEXTRAS"})
        haupt.SETZEMENUAKTIV(QString::fromLatin1(menu), aktiv);
}

} // namespace EINGABEFENSTER
