// The axes of a figure, drawn as SKALEN's last step: for each axis the axis
// line, a tick at every tick value, grid lines across the plot area, the
// numbers and the title. Lines are clipped to the whole drawing; there is no
// frame of its own around the plot area.

#include "drawing/FEHLERBOX.h"
#include "drawing/clsGRAFIK.h"
#include "platform/controls/OutputObject.h"
#include "platform/runtime/Variant.h"

#include <QLocale>
#include <algorithm>
#include <cmath>

namespace {
constexpr float kTick = 1.5f;     // tick length outwards from the axis line
constexpr float kZahl = 2.0f;     // numbers' anchor from the axis line
constexpr float kTitelNah = 2.0f; // title between the two end numbers
constexpr float kTitelFern = 6.0f;

// The next tick index that gets a grid line or a number: the current one
// plus the tick count over the grid (label) count, halves to the even
// neighbour.
int16_t Naechster(int i, int16_t anzahl, int16_t teilung) {
    return CInt(QVariant(double(i) + double(anzahl) / double(teilung)));
}

// A number of a logarithmic axis in plain units; a pattern that ends in the
// decimal separator leaves it behind, whichever separator the locale writes.
QString LogZahl(float wert, const QString& muster) {
    QString text = Format(QVariant(std::pow(10.0, double(wert))), muster);
    if (!text.isEmpty()) {
        const QChar letztes = text.back();
        if (letztes == QLatin1Char('.') || letztes == QLatin1Char(',') ||
            QString(letztes) == QLocale().decimalPoint())
            text.chop(1);
    }
    return text;
}

// The ticks drawn: indices 0 to the tick count, as far as there are values.
int LetzterTick(int16_t anzahl, const std::vector<float>& werte) {
    return std::min(int(anzahl), int(werte.size()) - 1);
}
} // namespace

void clsGRAFIK::ACHSEN(FEHLERBOX& fehler) {
    if (m_EAXEX != 0 && !fehler.VERLASSEN()) XACHSE(fehler);
    if (m_EAXEY != 0 && !fehler.VERLASSEN()) YACHSE(fehler);
}

void clsGRAFIK::XACHSE(FEHLERBOX& fehler) {
    // Corners of the plot area: (xa, ya) shows (XMIN, YMIN), (xb, yb) shows
    // (XMAX, YMAX).
    float xa = 0, ya = 0, xb = 0, yb = 0;
    if (!fehler.AUSFUEHREN([&] {
            KOORDTRANSROH(XMIN, YMIN, xa, ya);
            KOORDTRANSROH(XMAX, YMAX, xb, yb);
        }))
        return;
    const float unten = OY == 1 ? ya : yb;
    const float oben = OY == 1 ? yb : ya;
    float achse;
    float richtung; // +1 downwards, -1 upwards
    int16_t ary;
    if (m_EAXEX >= 1) {
        achse = unten + (m_EAXEX > 1 ? float(m_EAXEX) : 0.0f);
        richtung = 1;
        ary = 0;
    } else {
        achse = oben + (m_EAXEX < -1 ? float(m_EAXEX) : 0.0f);
        richtung = -1;
        ary = 2;
    }
    const auto linie = [&](float x1, float y1, float x2, float y2) {
        fehler.AUSFUEHREN([&] { LINIEROH(x1, y1, x2, y2, std::nullopt, 1); });
    };

    int16_t gitter = 0, zahl = 0, logGitter = 0, logZahl = 0;
    const int letzter = LetzterTick(NXIT, m_XWERTE);
    // Without tick values the axis is its line and its title.
    if (letzter < 0) linie(xa, achse, xb, achse);
    for (int i = 0; i <= letzter && !fehler.VERLASSEN(); ++i) {
        linie(xa, achse, xb, achse);
        const float wert = m_XWERTE[size_t(i)];
        QString text;
        fehler.AUSFUEHREN([&] { text = Format(QVariant(wert), m_ESKZX); });
        float xt = 0, leer = 0;
        if (!fehler.AUSFUEHREN([&] { KOORDTRANSROH(wert, YMIN, xt, leer); })) continue;
        linie(xt, achse, xt, achse + richtung * kTick);
        if (m_ESKTX == 0) {
            if (i == gitter && NXGIT != 0) {
                linie(xt, ya, xt, yb);
                fehler.AUSFUEHREN([&] { gitter = Naechster(i, NXIT, NXGIT); });
            }
            if (i == zahl && NXZL != 0) {
                fehler.AUSFUEHREN(
                    [&] { this->TEXT(xt, achse + richtung * kZahl, text, 0, 0, 1, ary); });
                fehler.AUSFUEHREN([&] { zahl = Naechster(i, NXIT, NXZL); });
            }
        } else if (m_ESKTX == 1) {
            if (logGitter <= m_NXLOG && size_t(logGitter) < m_XLOGWERTE.size() && NXGIT != 0) {
                const float v = m_XLOGWERTE[size_t(logGitter)];
                float xg = 0;
                if (fehler.AUSFUEHREN([&] { KOORDTRANSROH(v, YMIN, xg, leer); }))
                    linie(xg, ya, xg, yb);
                ++logGitter;
            }
            if (logZahl <= m_NXLOG && size_t(logZahl) < m_XLOGWERTE.size() && NXZL != 0 &&
                NXZL == NXGIT) {
                const float v = m_XLOGWERTE[size_t(logZahl)];
                float xz = 0;
                QString logText;
                if (fehler.AUSFUEHREN([&] {
                        logText = LogZahl(v, m_ESKZX);
                        KOORDTRANSROH(v, YMIN, xz, leer);
                    }))
                    fehler.AUSFUEHREN(
                        [&] { this->TEXT(xz, achse + richtung * kZahl, logText, 0, 0, 1, ary); });
                ++logZahl;
            }
        }
    }
    if (fehler.VERLASSEN()) return;
    // The title sits between the two end numbers when a linear axis has no
    // others.
    const float abstand = (m_ESKTX == 0 && NXZL <= 1) ? kTitelNah : kTitelFern;
    QString titel = m_ETEXTX;
    fehler.AUSFUEHREN(
        [&] { this->TEXT((xa + xb) / 2, achse + richtung * abstand, titel, 0, 0, 1, ary); });
}

void clsGRAFIK::YACHSE(FEHLERBOX& fehler) {
    float xa = 0, ya = 0, xb = 0, yb = 0;
    if (!fehler.AUSFUEHREN([&] {
            KOORDTRANSROH(XMIN, YMIN, xa, ya);
            KOORDTRANSROH(XMAX, YMAX, xb, yb);
        }))
        return;
    const float links = OX == 1 ? xa : xb;
    const float rechts = OX == 1 ? xb : xa;
    float achse;
    float richtung; // -1 to the left, +1 to the right
    int16_t ary;    // of the text turned by 90 degrees
    if (m_EAXEY >= 1) {
        achse = links - (m_EAXEY > 1 ? float(m_EAXEY) : 0.0f);
        richtung = -1;
        ary = 2;
    } else {
        achse = rechts - (m_EAXEY < -1 ? float(m_EAXEY) : 0.0f);
        richtung = 1;
        ary = 0;
    }
    const auto linie = [&](float x1, float y1, float x2, float y2) {
        fehler.AUSFUEHREN([&] { LINIEROH(x1, y1, x2, y2, std::nullopt, 1); });
    };

    int16_t gitter = 0, zahl = 0, logGitter = 0, logZahl = 0;
    const int letzter = LetzterTick(NYIT, m_YWERTE);
    if (letzter < 0) linie(achse, ya, achse, yb);
    for (int i = 0; i <= letzter && !fehler.VERLASSEN(); ++i) {
        linie(achse, ya, achse, yb);
        const float wert = m_YWERTE[size_t(i)];
        QString text;
        fehler.AUSFUEHREN([&] { text = Format(QVariant(wert), m_ESKZY); });
        float yt = 0, leer = 0;
        if (!fehler.AUSFUEHREN([&] { KOORDTRANSROH(XMIN, wert, leer, yt); })) continue;
        linie(achse, yt, achse + richtung * kTick, yt);
        if (m_ESKTY == 0) {
            if (i == gitter && NYGIT != 0) {
                linie(xa, yt, xb, yt);
                fehler.AUSFUEHREN([&] { gitter = Naechster(i, NYIT, NYGIT); });
            }
            if (i == zahl && NYZL != 0) {
                fehler.AUSFUEHREN(
                    [&] { this->TEXT(achse + richtung * kZahl, yt, text, 0, 90, 1, ary); });
                fehler.AUSFUEHREN([&] { zahl = Naechster(i, NYIT, NYZL); });
            }
        } else if (m_ESKTY == 1) {
            if (logGitter <= m_NYLOG && size_t(logGitter) < m_YLOGWERTE.size() && NYGIT != 0) {
                const float v = m_YLOGWERTE[size_t(logGitter)];
                float yg = 0;
                if (fehler.AUSFUEHREN([&] { KOORDTRANSROH(XMIN, v, leer, yg); }))
                    linie(xa, yg, xb, yg);
                ++logGitter;
            }
            if (logZahl <= m_NYLOG && size_t(logZahl) < m_YLOGWERTE.size() && NYZL != 0 &&
                NYZL == NYGIT) {
                const float v = m_YLOGWERTE[size_t(logZahl)];
                float yz = 0;
                QString logText;
                if (fehler.AUSFUEHREN([&] {
                        logText = LogZahl(v, m_ESKZY);
                        KOORDTRANSROH(XMIN, v, leer, yz);
                    }))
                    fehler.AUSFUEHREN(
                        [&] { this->TEXT(achse + richtung * kZahl, yz, logText, 0, 90, 1, ary); });
                ++logZahl;
            }
        }
    }
    if (fehler.VERLASSEN()) return;
    const float abstand = (m_ESKTY == 0 && NYZL <= 1) ? kTitelNah : kTitelFern;
    QString titel = m_ETEXTY;
    fehler.AUSFUEHREN(
        [&] { this->TEXT(achse + richtung * abstand, (ya + yb) / 2, titel, 0, 90, 1, ary); });
}
