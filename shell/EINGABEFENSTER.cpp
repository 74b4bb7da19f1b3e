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
    fenster->setAttribute(Qt::WA_DeleteOnClose);
    eingabe->Form_Load();
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
