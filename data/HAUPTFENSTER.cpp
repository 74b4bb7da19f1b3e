#include "data/HAUPTFENSTER.h"

#include <stdexcept>

namespace {
HAUPTFENSTER* g_fenster = nullptr;
}

HAUPTFENSTER& frmMAIN()
{
    if (!g_fenster) throw std::logic_error("the main window is not set");
    return *g_fenster;
}

void SETZEHAUPTFENSTER(HAUPTFENSTER* fenster) { g_fenster = fenster; }

bool HAUPTFENSTERGESETZT() { return g_fenster != nullptr; }

bool ENTWICKLUNGSLAUF()
{
    return frmMAIN().PROGRAMMPFAD().contains(QStringLiteral("SOURCE"), Qt::CaseInsensitive);
}
