#include "pages/SEITENDIALOGE.h"

#include "pages/frmANZEIGEN.h"
#include "pages/frmKONTEXT.h"
#include "pages/frmKONTEXT11.h"

namespace {

std::function<void(int16_t, int32_t)>& Achsen()
{
    static std::function<void(int16_t, int32_t)> dialog;
    return dialog;
}

std::function<void(const LAYOUTUEBERGABE&)>& Layout()
{
    static std::function<void(const LAYOUTUEBERGABE&)> dialog;
    return dialog;
}

std::function<void()>& Anzeigen()
{
    static std::function<void()> dialog;
    return dialog;
}

} // namespace

namespace SEITENDIALOGE {

void ACHSEN(int16_t bild, int32_t id)
{
    if (Achsen())
        Achsen()(bild, id);
    else
        frmKONTEXT11::ZEIGEN(bild, id);
}

void LAYOUT(const LAYOUTUEBERGABE& werte)
{
    if (Layout())
        Layout()(werte);
    else
        frmKONTEXT::UEBERGABE(werte);
}

void ANZEIGEN()
{
    if (Anzeigen())
        Anzeigen()();
    else
        frmANZEIGEN::ZEIGEN();
}

void ERSETZEACHSEN(std::function<void(int16_t, int32_t)> dialog)
{
    Achsen() = std::move(dialog);
}

void ERSETZELAYOUT(std::function<void(const LAYOUTUEBERGABE&)> dialog)
{
    Layout() = std::move(dialog);
}

void ERSETZEANZEIGEN(std::function<void()> dialog)
{
    Anzeigen() = std::move(dialog);
}

} // namespace SEITENDIALOGE
