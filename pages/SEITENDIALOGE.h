#pragma once

#include <cstdint>
#include <functional>

// The dialogs that the pages and the page commands open: the axis-range
// dialogs of figures 11 and 110 (modal), the page layout dialog (modeless,
// one instance) and the page chooser (modeless). Tests put their own in
// place; an empty function brings the real dialog back.
struct LAYOUTUEBERGABE {
    bool HBOKF = true;
    bool HBOKFS = true;
    int32_t FARBEMDI = 0;
    int32_t FARBEPIC = 0;
};

namespace SEITENDIALOGE {

// frmKONTEXT11 (bild 11, for the record `id`) or frmKONTEXT110 (bild 110).
void ACHSEN(int16_t bild, int32_t id);
// Hands the page's settings to frmKONTEXT and shows it.
void LAYOUT(const LAYOUTUEBERGABE& werte);
// frmANZEIGEN.
void ANZEIGEN();

void ERSETZEACHSEN(std::function<void(int16_t, int32_t)> dialog);
void ERSETZELAYOUT(std::function<void(const LAYOUTUEBERGABE&)> dialog);
void ERSETZEANZEIGEN(std::function<void()> dialog);

} // namespace SEITENDIALOGE
