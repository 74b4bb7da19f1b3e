#pragma once

// The five-font set of a drawing object: six font slots. Slot 0 keeps the
// output object's own font while the text painter draws; slots 1 to 5 are
// built from the output object's font by AUFBAUEN:
//   1, 2  the text font
//   3     "Symbol" at the text size
//   4     the text font at the index size (subscripts, superscripts)
//   5     "Symbol" at the index size
// Every slot takes bold, italic, strikethrough, underline and weight from the
// output object's font. The diagram, the table and the header each keep a
// set of their own.

#include "platform/controls/StdFont.h"

#include <array>
#include <cstdint>
#include <optional>

class SCHRIFTSATZ {
public:
    static constexpr int ANZAHL = 6;

    // The font of a slot; an empty slot gets a new font with the platform's
    // default attributes.
    StdFont& operator[](int slot);
    bool BELEGT(int slot) const { return m_slots.at(slot).has_value(); }
    void SETZEN(int slot, const StdFont& schrift) { m_slots.at(slot) = schrift; }

    // Builds slots 1 to 5 anew from the output object's font; slot 0 stays.
    void AUFBAUEN(const StdFont& objektschrift);
    // Releases every slot.
    void FREIGEBEN();

    // The index size: the text size divided by 1.175, rounded to a whole
    // point with halves to the even neighbour (8 -> 7, 10 -> 9, 16 -> 14).
    static int16_t INDEXGROESSE(float groesse);

private:
    std::array<std::optional<StdFont>, ANZAHL> m_slots;
};
