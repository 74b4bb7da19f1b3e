#include "pages/SEITENDIALOGE.h"

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

// The real dialogs are not built yet: without a replacement nothing opens.
void ACHSEN(int16_t bild, int32_t id)
{
    if (Achsen()) Achsen()(bild, id);
}

void LAYOUT(const LAYOUTUEBERGABE& werte)
{
    if (Layout()) Layout()(werte);
}

void ANZEIGEN()
{
    if (Anzeigen()) Anzeigen()();
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
