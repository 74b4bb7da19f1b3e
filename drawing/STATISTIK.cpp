#include "drawing/STATISTIK.h"

#include "platform/runtime/Variant.h"

#include <cmath>

void STATISTIK(const std::vector<float>& WERTE, float& MITTELWERT, float& STANDARDABWEICHUNG,
               QVariant& VARIATIONSKOEFFIZIENT) {
    const size_t n = WERTE.size();
    double summe = 0;
    for (float wert : WERTE)
        summe += double(wert);
    const double mittel = n > 0 ? summe / double(n) : 0.0;

    double quadrate = 0;
    for (float wert : WERTE) {
        const double abweichung = double(wert) - mittel;
        quadrate += abweichung * abweichung;
    }
    const double abweichung = (n > 1 && quadrate > 0) ? std::sqrt(quadrate / double(n - 1)) : 0.0;

    MITTELWERT = CheckedSingle(mittel);
    STANDARDABWEICHUNG = CheckedSingle(abweichung);
    // A mean that is 0 as a Single has no coefficient: no box, no infinity.
    if (MITTELWERT == 0)
        VARIATIONSKOEFFIZIENT = QVariant();
    else
        VARIATIONSKOEFFIZIENT = CheckedSingle(abweichung / mittel);
}
