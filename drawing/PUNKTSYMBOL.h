#pragma once

// The point symbols 0 to 6, one geometry for the symbols of the text markup,
// the markers of the curves and the curve symbols of the tables, in
// millimetres around the centre (cx, cy), drawn with the output object's own
// Line and Circle (not clipped) in its ForeColor:
//   0 diagonal cross (arms of 0.75)   4 circle of radius 0.7
//   1 filled square of side 1         5 triangle, apex up (base 0.33 below,
//   2 open square of side 1             apex 0.67 above the centre)
//   3 filled circle of radius 0.7     6 star: the cross and a plus of 0.75
// Any other number draws nothing. The filled circle sets FillColor to the
// ForeColor and FillStyle solid, and afterwards FillStyle transparent and
// FillColor to fuellfarbeDanach (white for the diagram, black for the table).

#include <cstdint>

class OutputObject;

void PUNKTSYMBOL(OutputObject& objekt, double nummer, float cx, float cy,
                 int32_t fuellfarbeDanach = 0xFFFFFF);
