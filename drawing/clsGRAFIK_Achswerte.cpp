// The range search of one axis: widens the switched-on ends to the data,
// snaps them to the candidate bounds, picks the length of the axis from the
// candidate lengths and produces the tick values with the grid and label
// counts that belong to that length.

#include "drawing/clsGRAFIK.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/Variant.h"

#include <QVariantList>
#include <cmath>
#include <cstdlib>

namespace {
// A candidate list; anything else is a type mismatch, as indexing a value
// that is no array is.
const QVariantList& Liste(const QVariant& liste) {
    if (liste.typeId() != QMetaType::QVariantList) throw RuntimeError::TypeMismatch();
    return *static_cast<const QVariantList*>(liste.constData());
}

const QVariant& Element(const QVariantList& liste, int index) {
    if (index < 0 || index >= liste.size()) throw RuntimeError::SubscriptOutOfRange();
    return liste[index];
}

// Values are compared as the runtime compares a Single with a list entry:
// both as Doubles.
double Wert(const QVariantList& liste, int index) {
    return CDbl(Element(liste, index));
}

float Single(const QVariantList& liste, int index) {
    return CSng(Element(liste, index));
}

int16_t Anzahl(const QVariantList& liste, int index) {
    return CInt(Element(liste, index));
}

// The entry at or below the value: the first i with L(i-1) <= v < L(i).
void UntenSuchen(const QVariantList& l, float& wert) {
    for (int i = 1; i < l.size(); ++i) {
        if (Wert(l, i - 1) <= wert && wert < Wert(l, i)) {
            wert = Single(l, i - 1);
            return;
        }
    }
}

// The entry at or above the value: the first i with L(i-1) < v <= L(i).
void ObenSuchen(const QVariantList& l, float& wert) {
    for (int i = 1; i < l.size(); ++i) {
        if (Wert(l, i - 1) < wert && wert <= Wert(l, i)) {
            wert = Single(l, i);
            return;
        }
    }
}

// 10 raised to a whole exponent, as a Single.
float Zehnhoch(int exponent) {
    return float(std::pow(10.0, double(exponent)));
}

float Summe(double a, double b) {
    return CheckedSingle(a + b);
}
} // namespace

void clsGRAFIK::ACHSWERTE(int16_t MODUS, bool BOMIN, bool BOMAX, int16_t SKT,
                          const std::vector<float>& DATEN, float& MIN, float& MAX,
                          std::vector<float>& WERTE, std::vector<float>& LOGWERTE, int16_t& NIT,
                          int16_t& NLOG, int16_t& NGIT, int16_t& NZL, const QVariant& LMIN,
                          const QVariant& LDIFF, const QVariant& LIT, const QVariant& LGIT,
                          const QVariant& LZL) {
    // The bounds of the data and of the two lists are taken first.
    if (DATEN.empty()) throw RuntimeError::SubscriptOutOfRange();
    const QVariantList& lmin = Liste(LMIN);
    const QVariantList& ldiff = Liste(LDIFF);
    const int nMin = int(lmin.size()) - 1;
    const int nDiff = int(ldiff.size()) - 1;

    // The data extremes: with mode -1 and 1 from the data alone, else the
    // stored end takes part.
    const bool ausDaten = std::abs(int(MODUS)) == 1;
    if (BOMIN) {
        float m = ausDaten ? DATEN[0] : MIN;
        for (float wert : DATEN)
            if (wert < m) m = wert;
        MIN = m;
    }
    if (BOMAX) {
        float m = ausDaten ? DATEN[0] : MAX;
        for (float wert : DATEN)
            if (wert > m) m = wert;
        MAX = m;
    }

    if (SKT == 0) {
        if (BOMIN) {
            if (MIN < Wert(lmin, 0))
                MIN = Single(lmin, 0);
            else
                UntenSuchen(lmin, MIN);
        }
        if (BOMAX) {
            if (MAX > Wert(lmin, nMin))
                MAX = Single(lmin, nMin);
            else
                ObenSuchen(lmin, MAX);
        }
        float d = CheckedSingle(double(MAX) - double(MIN));
        if (d <= Wert(ldiff, 0)) d = Single(ldiff, 0);
        if (d >= Wert(ldiff, nDiff)) d = Single(ldiff, nDiff);
        int j = 0;
        while (j <= nDiff && !(d <= Wert(ldiff, j)))
            ++j;
        d = Single(ldiff, j); // past the list only when the length is no number
        if (MODUS != 1 && MODUS != 2) MAX = Summe(MIN, d);

        NGIT = Anzahl(Liste(LGIT), j);
        NZL = Anzahl(Liste(LZL), j);
        const int16_t it = Anzahl(Liste(LIT), j);
        const float schritt = DivSingle(d, float(it));
        if (int(it) + 1 < 0) throw RuntimeError::SubscriptOutOfRange();
        WERTE.assign(size_t(it) + 2, 0.0f);
        WERTE[0] = MIN;
        for (int i = 1; i <= it; ++i)
            WERTE[size_t(i)] = Summe(WERTE[size_t(i) - 1], schritt);
        NIT = it;
        return;
    }

    if (SKT != 1) return; // other scale types: only the data extremes

    // Logarithmic axis: the ends stay plain values, the marks are decimal
    // logarithms.
    bool maxGeklemmt = false;
    if (BOMIN) {
        if (MIN < Wert(lmin, 0))
            MIN = Single(lmin, 0);
        else
            UntenSuchen(lmin, MIN);
    }
    if (BOMAX) {
        if (MAX > Wert(lmin, nMin)) {
            MAX = Single(lmin, nMin);
            maxGeklemmt = true;
        } else {
            ObenSuchen(lmin, MAX);
        }
    }
    if (!maxGeklemmt) {
        if (!BOMIN) UntenSuchen(lmin, MIN);
        if (!BOMAX) ObenSuchen(lmin, MAX);
    }

    const QVariantList& lit = Liste(LIT);
    const int16_t code = Anzahl(lit, 0);
    // k: the first power of ten above the minimum (11 when there is none).
    int k = 11;
    for (int e = -10; e <= 10; ++e) {
        if (Zehnhoch(e) > MIN) {
            k = e;
            break;
        }
    }
    // c: the powers of ten from k on that do not exceed the maximum.
    const auto dekaden = [&] {
        int c = 0;
        for (int e = k; e <= 10; ++e) {
            if (Zehnhoch(e) <= MAX)
                ++c;
            else
                break;
        }
        return c;
    };
    const auto dekadenwerte = [&](int c) {
        std::vector<float> werte;
        werte.push_back(LOG10(MIN));
        for (int e = k; e < k + c; ++e)
            werte.push_back(float(e));
        werte.push_back(LOG10(MAX));
        return werte;
    };

    if (code == 0) {
        WERTE.assign(1, LOG10(MIN));
        NIT = 0;
    } else if (code == 1) {
        WERTE = dekadenwerte(dekaden());
        NIT = int16_t(WERTE.size() - 1);
    } else if (code == 10) {
        int a = 10; // a loop that finds nothing ends past its last value
        for (int i = 1; i <= 9; ++i) {
            if (float(i * std::pow(10.0, double(k - 1))) >= MIN) {
                a = i;
                break;
            }
        }
        int m = 11;
        for (int e = k; e <= 10; ++e) {
            if (Zehnhoch(e) > MAX) {
                m = e > k ? e - 1 : k;
                break;
            }
        }
        int b = 10;
        for (int i = 1; i <= 9; ++i) {
            if (float(i * std::pow(10.0, double(m))) >= MAX) {
                b = i;
                break;
            }
        }
        std::vector<float> werte;
        werte.push_back(LOG10(MIN));
        for (int q = a + 1; q <= 9; ++q)
            werte.push_back(Summe(k - 1, LOG10(float(q))));
        for (int e = k; e <= m - 1; ++e)
            for (int q = 0; q <= 9; ++q)
                werte.push_back(Summe(e, LOG10(float(q))));
        for (int q = 1; q <= b - 1; ++q)
            werte.push_back(Summe(m, LOG10(float(q))));
        werte.push_back(LOG10(MAX));
        if (werte.size() > 32767) throw RuntimeError::Overflow();
        NIT = int16_t(werte.size() - 1);
        werte.push_back(0.0f); // the element after the last mark
        WERTE = std::move(werte);
    } else {
        NIT = code; // the marks stay as they were
    }

    NGIT = Anzahl(Liste(LGIT), 0);
    if (code == NGIT) {
        if (NIT < 0 || size_t(NIT) >= WERTE.size()) throw RuntimeError::SubscriptOutOfRange();
        LOGWERTE.assign(WERTE.begin(), WERTE.begin() + NIT + 1);
        NLOG = NIT;
    } else if (NGIT == 1 && code == 10) {
        LOGWERTE = dekadenwerte(dekaden());
        NLOG = int16_t(LOGWERTE.size() - 1);
    }
    NZL = Anzahl(Liste(LZL), 0);
}
