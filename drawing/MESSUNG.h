#pragma once

// Measuring an output object, as the drawing classes do when they are given
// one: its scale is switched to pixels (or millimetres) for a moment and then
// restored exactly (a user scale by its two corners, any other by its mode),
// which gives the pixels (or millimetres) that one unit of its scale holds.
// A scale width or height of 0 raises division by zero.

class OutputObject;

struct MASSSTABFAKTOREN {
    float SCALELEFT = 0; // the scale's origin as read before the measuring
    float SCALETOP = 0;
    float X = 0; // device units per scale unit, horizontally
    float Y = 0; // and vertically (negative for a user scale running upwards)
};

// Pixels per scale unit.
MASSSTABFAKTOREN PIXELPROEINHEIT(OutputObject& objekt);
// Millimetres per scale unit.
MASSSTABFAKTOREN MILLIMETERPROEINHEIT(OutputObject& objekt);
