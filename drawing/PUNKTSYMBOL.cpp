#include "drawing/PUNKTSYMBOL.h"

#include "platform/controls/OutputObject.h"

namespace {
void Kreuz(OutputObject& o, float cx, float cy, int32_t farbe) {
    o.Line(cx, cy, cx + -0.75f, cy + -0.75f, farbe);
    o.Line(cx, cy, cx + -0.75f, cy + 0.75f, farbe);
    o.Line(cx, cy, cx + 0.75f, cy + -0.75f, farbe);
    o.Line(cx, cy, cx + 0.75f, cy + 0.75f, farbe);
}
} // namespace

void PUNKTSYMBOL(OutputObject& o, double nummer, float cx, float cy, int32_t fuellfarbeDanach) {
    const int32_t farbe = o.ForeColor();
    if (nummer == 0) {
        Kreuz(o, cx, cy, farbe);
    } else if (nummer == 1 || nummer == 2) {
        const float x = cx - 0.5f, y = cy - 0.5f;
        o.Line(x, y, x + 1.0f, y + 1.0f, farbe,
               nummer == 1 ? OutputObject::LineForm::FilledBox : OutputObject::LineForm::Box);
    } else if (nummer == 3) {
        o.SetFillColor(farbe);
        o.SetFillStyle(0);
        o.Circle(cx, cy, 0.7f, farbe);
        o.SetFillStyle(1);
        o.SetFillColor(fuellfarbeDanach);
    } else if (nummer == 4) {
        o.Circle(cx, cy, 0.7f, farbe);
    } else if (nummer == 5) {
        const float x = cx - 0.7f, y = cy + 0.33f;
        o.Line(x, y, x + 1.4f, y, farbe);
        o.LineTo(o.CurrentX() + -0.7f, o.CurrentY() + -1.0f, farbe);
        o.LineTo(o.CurrentX() + -0.7f, o.CurrentY() + 1.0f, farbe);
    } else if (nummer == 6) {
        Kreuz(o, cx, cy, farbe);
        o.Line(cx - 0.75f, cy, cx - 0.75f + 1.5f, cy, farbe);
        o.Line(cx, cy - 0.75f, cx, cy - 0.75f + 1.5f, farbe);
    }
}
