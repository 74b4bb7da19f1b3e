#pragma once

// Mean, sample standard deviation and coefficient of variation of a list of
// values: the summary rows of a table and the result rows of a multiple
// evaluation come from this one routine.
//
// The sums run in double precision and in two passes (first the mean, then
// the squared deviations from it), so close values such as 100.01, 100.02,
// 100.03 keep their spread (0.0100) instead of losing it in the cancellation
// of a sum of squares. The results are Singles.
//
//   MITTELWERT          sum / n (0 for an empty list)
//   STANDARDABWEICHUNG  the square root of the squared deviations / (n - 1);
//                       0 for fewer than two values or no spread
//   VARIATIONSKOEFFIZIENT
//                       standard deviation / mean as a fraction (not per
//                       cent), a Single; Empty when the mean is 0, where
//                       there is no coefficient (shown as "-")
//
// A result beyond the range of a Single raises overflow (6).

#include <QVariant>
#include <vector>

void STATISTIK(const std::vector<float>& WERTE, float& MITTELWERT, float& STANDARDABWEICHUNG,
               QVariant& VARIATIONSKOEFFIZIENT);
