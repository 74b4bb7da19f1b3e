// POLYGON's last steps: the numbers of chosen points, the label of the curve
// and arrow heads on its segments, all in page millimetres.

#include "drawing/FEHLERBOX.h"
#include "drawing/clsGRAFIK.h"
#include "platform/runtime/Variant.h"

#include <cmath>

namespace {
// The angle of the segment from a to b on the page in whole degrees, from
// -90 to 90, so that a label along it reads from left to right.
int16_t Segmentwinkel(float xa, float ya, float xb, float yb) {
    const double dx = double(xb) - xa;
    const double dy = double(ya) - yb; // page y grows downwards
    if (dx == 0) return 90;
    return int16_t(Round(std::atan(dy / dx) * 180.0 / 3.14159265358979));
}
} // namespace

void clsGRAFIK::PUNKTNUMMERN(FEHLERBOX& fehler, const std::vector<float>& x,
                             const std::vector<float>& y, int16_t PNR) {
    // The number's top left corner 1 mm right of and 1 mm above the point;
    // TEXT alone decides whether it is shown.
    for (int i : PUNKTAUSWAHL(PNR, int(x.size()))) {
        if (fehler.VERLASSEN()) return;
        QString nummer = QString::number(i);
        fehler.AUSFUEHREN([&] { this->TEXT(x[i] + 1, y[i] - 1, nummer, 0, 0, 0, 0); });
    }
}

void clsGRAFIK::KURVENTEXT(FEHLERBOX& fehler, const std::vector<float>& x,
                           const std::vector<float>& y, QString& TEXT, int16_t LAGETEXT) {
    if (TEXT.isEmpty()) return;
    const int n = int(x.size());
    const int l = n - 1; // the last point
    float px = 0, py = 0;
    int16_t al = 0, arx = 0, ary = 0;
    // Centred on the segment from a to b, on its upper side, parallel to it.
    const auto aufSegment = [&](int a, int b) {
        px = (x[a] + x[b]) / 2;
        py = (y[a] + y[b]) / 2;
        al = Segmentwinkel(x[a], y[a], x[b], y[b]);
        arx = 1;
        ary = 2;
    };
    const auto bei = [&](int i, float dx, int16_t h, int16_t v) {
        px = x[i] + dx;
        py = y[i];
        arx = h;
        ary = v;
    };
    switch (LAGETEXT) {
    case 0:
        if (n < 2) return;
        aufSegment(n - 2, n - 1);
        break;
    case 1:
        bei(l, 0, 1, 2);
        break;
    case 2:
        bei(l, 0, 1, 0);
        break;
    case 3:
        bei(l, 2, 0, 1);
        break;
    case 4:
        bei(l, -2, 2, 1);
        break;
    case 5:
        if (n < 2) return;
        aufSegment(0, 1);
        break;
    case 6:
        bei(0, 0, 1, 2);
        break;
    case 7:
        bei(0, 0, 1, 0);
        break;
    case 8:
        bei(0, 2, 0, 1);
        break;
    case 9:
        bei(0, -2, 2, 1);
        break;
    case 10: {
        if (n < 2) return;
        const int k = (n - 1) / 2;
        aufSegment(k, k + 1);
        break;
    }
    case 11:
        bei(l, -2, 2, 0);
        break;
    case 12:
        bei(l, -2, 2, 2);
        break;
    case 13:
        bei(l, 2, 0, 0);
        break;
    case 14:
        bei(l, 2, 0, 2);
        break;
    default:
        return;
    }
    fehler.AUSFUEHREN([&] { this->TEXT(px, py, TEXT, 0, al, arx, ary); });
}

void clsGRAFIK::KURVENPFEILE(FEHLERBOX& fehler, const std::vector<float>& x,
                             const std::vector<float>& y, int16_t LAGEPFEIL) {
    const int n = int(x.size());
    if (n < 2) return;
    // A head at point b for the segment that comes from point a.
    const auto pfeil = [&](int a, int b) {
        fehler.AUSFUEHREN([&] { PFEIL(x[a], y[a], x[b], y[b]); });
    };
    switch (LAGEPFEIL) {
    case 1:
        pfeil(n - 2, n - 1);
        break;
    case 2:
        pfeil(1, 0);
        break;
    case 3:
        pfeil(n - 2, n - 1);
        pfeil(1, 0);
        break;
    case 4:
        for (int i = 1; i < n && !fehler.VERLASSEN(); ++i)
            pfeil(i - 1, i);
        break;
    case 5:
        for (int i = 1; i < n && !fehler.VERLASSEN(); ++i)
            pfeil(i, i - 1);
        break;
    case 6:
        for (int i = 1; i < n && !fehler.VERLASSEN(); ++i) {
            pfeil(i - 1, i);
            pfeil(i, i - 1);
        }
        break;
    default:
        break;
    }
}
