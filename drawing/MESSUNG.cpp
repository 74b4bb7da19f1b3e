#include "drawing/MESSUNG.h"

#include "platform/controls/OutputObject.h"
#include "platform/runtime/Variant.h"

namespace {
MASSSTABFAKTOREN Messen(OutputObject& objekt, int16_t messmodus) {
    const int16_t modus = objekt.ScaleMode();
    MASSSTABFAKTOREN ergebnis;
    ergebnis.SCALELEFT = objekt.ScaleLeft();
    ergebnis.SCALETOP = objekt.ScaleTop();
    const float rechts = objekt.ScaleLeft() + objekt.ScaleWidth();
    const float unten = objekt.ScaleTop() + objekt.ScaleHeight();
    objekt.SetScaleMode(messmodus);
    const float breite = objekt.ScaleWidth();
    const float hoehe = objekt.ScaleHeight();
    if (modus == 0)
        objekt.Scale(ergebnis.SCALELEFT, ergebnis.SCALETOP, rechts, unten);
    else
        objekt.SetScaleMode(modus);
    ergebnis.X = DivSingle(breite, rechts - ergebnis.SCALELEFT);
    ergebnis.Y = DivSingle(hoehe, unten - ergebnis.SCALETOP);
    return ergebnis;
}
} // namespace

MASSSTABFAKTOREN PIXELPROEINHEIT(OutputObject& objekt) {
    return Messen(objekt, 3);
}
MASSSTABFAKTOREN MILLIMETERPROEINHEIT(OutputObject& objekt) {
    return Messen(objekt, 6);
}
