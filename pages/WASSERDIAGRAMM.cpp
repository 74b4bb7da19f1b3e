#include "pages/WASSERDIAGRAMM.h"

#include "data/clsDATEN.h"
#include "drawing/clsGRAFIK.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/Variant.h"

#include <algorithm>

namespace {

const QString kI1 = QStringLiteral("I1");

// The candidate axis ends and ranges, with the scale and label intervals of
// each range (the range 700 has 8 intervals).
constexpr double kMinima[] = {0,    5,    10,   15,    20,    25,    30,    35,    40,    45,   50,
                              60,   70,   80,   90,    100,   150,   200,   250,   300,   350,  400,
                              450,  500,  600,  700,   800,   900,   1000,  1500,  2000,  2500, 5000,
                              7500, 10000, 15000, 20000, 25000, 50000, 75000, 100000};
constexpr int kIntervalle[] = {10, 10, 6, 8, 5, 6, 7, 8, 6, 10, 6, 10, 8, 6, 10, 6, 8, 10, 6, 10,
                               8,  6,  10, 6, 8, 8, 6, 10, 6, 8, 10, 10, 6, 10, 6, 8, 10, 10, 6, 10};
constexpr int kZahlen[] = {5, 5, 3, 4, 5, 6, 7, 4, 3, 5, 3, 5, 4, 3, 5, 3, 4, 5, 3, 5,
                           4, 3, 5, 3, 4, 4, 3, 5, 3, 4, 5, 5, 3, 5, 3, 4, 5, 5, 3, 5};

template <class T> QVariant liste(const T* werte, int anzahl) {
    QVariantList l;
    for (int i = 0; i < anzahl; ++i) l.append(double(werte[i]));
    return l;
}

QVariant einsen(int anzahl) {
    return QVariantList(anzahl, QVariant(1.0));
}

float zahl(const QVariant& wert) {
    return IsEmpty(wert) || IsNull(wert) ? 0.0f : CSng(wert);
}

// Column SPV of every row of the object's record, in the order of I1.
std::vector<QVariant> spalte(clsDATEN& d, const QString& SPV, int32_t zeilen,
                             const QString& index) {
    std::vector<QVariant> werte(size_t(std::max(zeilen, 0)));
    d.DTVVF(SPV, werte, index);
    return werte;
}

// Places the values of the rows by their running numbers 0 to n; of two rows
// with one number the first counts.
void einordnen(const std::vector<QVariant>& nummern, const std::vector<QVariant>& werte,
               std::vector<QVariant>& ziel, std::vector<char>* zeile) {
    std::vector<char> belegt(ziel.size(), 0);
    for (size_t k = 0; k < nummern.size() && k < werte.size(); ++k) {
        if (IsEmpty(nummern[k]) || IsNull(nummern[k])) continue;
        const qlonglong i = nummern[k].toLongLong();
        if (i < 0 || i >= qlonglong(ziel.size()) || belegt[size_t(i)]) continue;
        belegt[size_t(i)] = 1;
        ziel[size_t(i)] = IsNull(werte[k]) ? QVariant() : werte[k];
        if (zeile) (*zeile)[size_t(i)] = 1;
    }
}

} // namespace

MESSREIHE MESSREIHELESEN(clsDATEN& e3, clsDATEN& a2, bool temperatur) {
    MESSREIHE r;
    int32_t hoechste = 0, anzahl = 0;
    e3.INDEXL(nullptr, &hoechste, &anzahl, kI1);
    r.n = std::max(hoechste, 0);
    const size_t groesse = size_t(r.n) + 1;
    r.ZEILE.assign(groesse, 0);
    r.I1.assign(groesse, QVariant());
    r.DET = r.V = r.TEMP = r.W = r.I1;

    const std::vector<QVariant> nummern = spalte(e3, kI1, anzahl, kI1);
    einordnen(nummern, nummern, r.I1, &r.ZEILE);
    einordnen(nummern, spalte(e3, QStringLiteral("DET"), anzahl, kI1), r.DET, nullptr);
    einordnen(nummern, spalte(e3, QStringLiteral("V"), anzahl, kI1), r.V, nullptr);
    if (temperatur)
        einordnen(nummern, spalte(e3, QStringLiteral("TEMP"), anzahl, kI1), r.TEMP, nullptr);

    int32_t kurvenzeilen = 0;
    a2.INDEXL(nullptr, nullptr, &kurvenzeilen, QStringLiteral("I"));
    const std::vector<QVariant> kurvennummern = spalte(a2, QStringLiteral("I"), kurvenzeilen,
                                                       QStringLiteral("I"));
    einordnen(kurvennummern, spalte(a2, QStringLiteral("W"), kurvenzeilen, QStringLiteral("I")),
              r.W, nullptr);
    return r;
}

void KURVE(const MESSREIHE& reihe, std::vector<float>& t, std::vector<float>& w) {
    t.clear();
    w.clear();
    for (size_t i = 0; i < reihe.DET.size(); ++i) {
        const bool messung = reihe.ZEILE[i] && !IsEmpty(reihe.DET[i]) && !IsEmpty(reihe.V[i]);
        if (i > 0 && !messung) continue;
        t.push_back(zahl(reihe.DET[i]));
        w.push_back(zahl(reihe.W[i]));
    }
}

int16_t MARKENZAHL(size_t punkte) {
    // Beyond the 16-bit count the largest one still marks every point of up
    // to some 49,000 readings (the step rounds to 1).
    return int16_t(std::min<size_t>(punkte, 32767));
}

void DIAGRAMMACHSEN(clsGRAFIK& g, bool automatisch) {
    const int nx = int(std::size(kIntervalle));
    g.setEBOXMIN(automatisch);
    g.setEBOXMAX(automatisch);
    g.setEAXEX(1);
    g.setESKTX(0);
    g.setELXMIN(liste(kMinima, nx + 1));
    g.setELXDIFF(liste(kMinima + 1, nx));
    g.setELXIT(liste(kIntervalle, nx));
    g.setELXGIT(einsen(nx + 2));
    g.setELXZL(liste(kZahlen, nx));
    g.setETEXTX(QStringLiteral("t [min]"));
    g.setESKZX(QStringLiteral("#0"));

    // The y lists are the beginnings of the x lists, up to 10000.
    const int ny = 34;
    g.setEBOYMIN(automatisch);
    g.setEBOYMAX(automatisch);
    g.setEAXEY(1);
    g.setESKTY(0);
    g.setELYMIN(liste(kMinima, ny + 1));
    g.setELYDIFF(liste(kMinima + 1, ny));
    g.setELYIT(liste(kIntervalle, ny));
    g.setELYGIT(einsen(ny + 2));
    g.setELYZL(liste(kZahlen, ny));
    g.setETEXTY(QStringLiteral("w [%]"));
    g.setESKZY(QStringLiteral("#0"));
}

void STANDARDLAYOUT(clsDATEN& g0, int16_t bild, bool minima) {
    const QString k = QStringLiteral("IDOBJEKT");
    g0.DVTI(QStringLiteral("OX"), 1, k, bild);
    g0.DVTI(QStringLiteral("OY"), 1, k, bild);
    g0.DVTS(QStringLiteral("RL"), 11, k, bild);
    g0.DVTS(QStringLiteral("RR"), 7, k, bild);
    g0.DVTS(QStringLiteral("RO"), 7, k, bild);
    g0.DVTS(QStringLiteral("RU"), 11, k, bild);
    if (minima) {
        g0.DVTS(QStringLiteral("XMIN"), 0, k, bild);
        g0.DVTS(QStringLiteral("YMIN"), 0, k, bild);
    }
}

void MASSSTABLOESCHEN(clsDATEN& g0, int16_t bild) {
    const QString k = QStringLiteral("IDOBJEKT");
    g0.DVTS(QStringLiteral("MX"), 0, k, bild);
    g0.DVTS(QStringLiteral("MY"), 0, k, bild);
    g0.DVTS(QStringLiteral("MYMX"), 0, k, bild);
}

QString VERSUCHSTYP(const QVariant& vt) {
    const int typ = IsEmpty(vt) || IsNull(vt) ? 0 : CInt(vt);
    if (typ == 0) return QStringLiteral("Enslin");
    if (typ == 1) return QStringLiteral("Neff");
    throw RuntimeError::SubscriptOutOfRange();
}
