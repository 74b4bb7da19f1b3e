#include "drawing/SCHRIFTSATZ.h"

#include "platform/runtime/Variant.h"

StdFont& SCHRIFTSATZ::operator[](int slot) {
    std::optional<StdFont>& eintrag = m_slots.at(slot);
    if (!eintrag) eintrag.emplace();
    return *eintrag;
}

void SCHRIFTSATZ::AUFBAUEN(const StdFont& objektschrift) {
    const int16_t index = INDEXGROESSE(objektschrift.Size());
    for (int slot = 1; slot <= 5; ++slot) {
        StdFont schrift;
        schrift.SetBold(objektschrift.Bold());
        schrift.SetItalic(objektschrift.Italic());
        schrift.SetName(slot == 3 || slot == 5 ? QStringLiteral("Symbol") : objektschrift.Name());
        schrift.SetSize(slot >= 4 ? float(index) : objektschrift.Size());
        schrift.SetStrikethrough(objektschrift.Strikethrough());
        schrift.SetUnderline(objektschrift.Underline());
        schrift.SetWeight(objektschrift.Weight());
        m_slots[slot] = schrift;
    }
}

void SCHRIFTSATZ::FREIGEBEN() {
    for (auto& slot : m_slots)
        slot.reset();
}

int16_t SCHRIFTSATZ::INDEXGROESSE(float groesse) {
    return int16_t(Round(double(groesse) / 1.175));
}
