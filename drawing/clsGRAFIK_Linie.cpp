// The clipped line segment of the diagram: every straight line of the class
// goes through it.

#include "drawing/FEHLERBOX.h"
#include "drawing/clsGRAFIK.h"
#include "platform/controls/OutputObject.h"

#include <cmath>
#include <utility>

void clsGRAFIK::LINIE(float XP1, float YP1, float XP2, float YP2, std::optional<int32_t> FB,
                      int16_t BOSK) {
    FEHLERBOX fehler("VB-Fehler: \r\nFehlerNr. ", "LINIE");
    fehler.AUSFUEHREN([&] { LINIEROH(XP1, YP1, XP2, YP2, FB, BOSK); });
}

void clsGRAFIK::LINIEROH(float X1, float Y1, float X2, float Y2, std::optional<int32_t> FB,
                         int16_t BOSK) {
    OutputObject& objekt = Objekt();
    // A segment whose ends are no numbers has no visible part to compute.
    if (!std::isfinite(X1) || !std::isfinite(Y1) || !std::isfinite(X2) || !std::isfinite(Y2))
        throw RuntimeError::Overflow();

    float xl, yo, xr, yu;
    if (BOSK == 1) {
        xl = m_EXDL;
        yo = m_EYDO;
        xr = m_EXDL + m_ELX;
        yu = m_EYDO + m_ELY;
    } else {
        xl = m_EXDL + RL;
        yo = m_EYDO + RO;
        xr = m_EXDL + m_ELX - RR;
        yu = m_EYDO + m_ELY - RU;
    }

    if (!(X2 > X1)) {
        std::swap(X1, X2);
        std::swap(Y1, Y2);
    }
    if ((X1 < xl && X2 < xl) || (X1 > xr && X2 > xr) || (Y1 < yo && Y2 < yo) ||
        (Y1 > yu && Y2 > yu))
        return;

    if (FB) {
        // Moved into the rectangle coordinate by coordinate, not clipped.
        X1 = std::max(X1, xl);
        X2 = std::min(X2, xr);
        if (Y1 < Y2) {
            Y1 = std::max(Y1, yo);
            Y2 = std::min(Y2, yu);
        } else {
            Y1 = std::min(Y1, yu);
            Y2 = std::max(Y2, yo);
        }
        objekt.Line(X1, Y1, X2, Y2, *FB);
        return;
    }

    if (X1 >= xl && X2 <= xr && Y1 >= yo && Y1 <= yu && Y2 >= yo && Y2 <= yu) {
        objekt.Line(X1, Y1, X2, Y2);
        return;
    }

    if (X1 == X2) {
        float a, b;
        if ((Y1 <= yo && Y2 >= yu) || (Y2 <= yo && Y1 >= yu)) {
            a = yo;
            b = yu;
        } else if (Y1 <= yo && yo <= Y2) {
            a = yo;
            b = Y2;
        } else if (Y2 <= yo && yo <= Y1) {
            a = yo;
            b = Y1;
        } else if (Y1 <= yu && yu <= Y2) {
            a = yu;
            b = Y1;
        } else if (Y2 <= yu && yu <= Y1) {
            a = yu;
            b = Y2;
        } else {
            return;
        }
        objekt.Line(X1, a, X1, b);
        return;
    }

    if (Y1 == Y2) {
        if (X1 <= xl && X2 >= xr)
            objekt.Line(xl, Y1, xr, Y1);
        else if (X1 <= xl)
            objekt.Line(xl, Y1, X2, Y1);
        else
            objekt.Line(X1, Y1, xr, Y1);
        return;
    }

    // General case: the part of the segment inside the rectangle, between
    // its crossings with the borders (left 0, bottom 1, right 2, top 3) or
    // its ends inside. The piece is drawn from the point on the border that
    // comes first in that order, or from the border towards the inner end.
    const double dx = double(X2) - X1;
    const double dy = double(Y2) - Y1;
    double t0 = 0, t1 = 1;
    int rand0 = -1, rand1 = -1; // -1: the segment's own end
    const double tl = (double(xl) - X1) / dx;
    if (tl > t0) {
        t0 = tl;
        rand0 = 0;
    }
    const double tr = (double(xr) - X1) / dx;
    if (tr < t1) {
        t1 = tr;
        rand1 = 2;
    }
    const double to = (double(yo) - Y1) / dy;
    const double tu = (double(yu) - Y1) / dy;
    if (dy > 0) {
        if (to > t0) {
            t0 = to;
            rand0 = 3;
        }
        if (tu < t1) {
            t1 = tu;
            rand1 = 1;
        }
    } else {
        if (tu > t0) {
            t0 = tu;
            rand0 = 1;
        }
        if (to < t1) {
            t1 = to;
            rand1 = 3;
        }
    }
    if (!(t0 < t1)) return; // passes by outside a corner

    const auto punkt = [&](int rand, float& x, float& y, bool anfang) {
        switch (rand) {
        case 0:
            x = xl;
            y = LININT(X1, X2, xl, Y1, Y2);
            break;
        case 1:
            x = LININT(Y1, Y2, yu, X1, X2);
            y = yu;
            break;
        case 2:
            x = xr;
            y = LININT(X1, X2, xr, Y1, Y2);
            break;
        case 3:
            x = LININT(Y1, Y2, yo, X1, X2);
            y = yo;
            break;
        default:
            x = anfang ? X1 : X2;
            y = anfang ? Y1 : Y2;
        }
    };
    float ax, ay, bx, by;
    punkt(rand0, ax, ay, true);
    punkt(rand1, bx, by, false);
    const bool anfangZuerst = rand1 < 0 || (rand0 >= 0 && rand0 < rand1);
    if (anfangZuerst)
        objekt.Line(ax, ay, bx, by);
    else
        objekt.Line(bx, by, ax, ay);
}
