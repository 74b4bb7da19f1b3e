#include "pages/WASSERDIAGRAMM.h"

#include "data/clsDATEN.h"
#include "drawing/clsGRAFIK.h"
#include "platform/database/Connection.h"
#include "platform/database/Recordset.h"
#include "platform/database/Transaction.h"
#include "platform/runtime/ErrorHandler.h"
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

// The rows of the object's record, ordered by their running number.
std::unique_ptr<Recordset> zeilen(clsDATEN& d, const QString& spalten, const QString& index) {
    return std::make_unique<Recordset>(QStringLiteral("SELECT ") + spalten +
                                           QStringLiteral(" FROM [") + d.ETABELLE() +
                                           QStringLiteral("] WHERE [") + d.ESPID() +
                                           QStringLiteral("]=? ORDER BY [") + index +
                                           QStringLiteral("]"),
                                       *d.VERBINDUNG(), QVariantList{d.ESPIDW()});
}

QVariant wert(const QVariant& v) {
    return IsNull(v) ? QVariant() : v;
}

} // namespace

MESSREIHE MESSREIHELESEN(clsDATEN& e3, clsDATEN& a2, bool temperatur) {
    // The readings as they come, then placed by their running numbers 0 to
    // n; of two rows with one number the first counts.
    struct ZEILE {
        qlonglong i;
        QVariant det, v, temp;
    };
    std::vector<ZEILE> gelesen;
    qlonglong n = 0;
    {
        auto rs = zeilen(e3, temperatur ? QStringLiteral("[I1],[DET],[V],[TEMP]")
                                        : QStringLiteral("[I1],[DET],[V]"),
                         kI1);
        const Field i1 = rs->Fields(0), det = rs->Fields(1), v = rs->Fields(2);
        for (; !rs->Eof(); rs->MoveNext()) {
            const QVariant nummer = i1.Value();
            if (IsNull(nummer) || nummer.toLongLong() < 0) continue;
            gelesen.push_back({nummer.toLongLong(), wert(det.Value()), wert(v.Value()),
                               temperatur ? wert(rs->Fields(3).Value()) : QVariant()});
            n = std::max(n, gelesen.back().i);
        }
    }
    MESSREIHE r;
    r.n = int32_t(n);
    const size_t groesse = size_t(n) + 1;
    r.ZEILE.assign(groesse, 0);
    r.I1.assign(groesse, QVariant());
    r.DET = r.V = r.TEMP = r.W = r.I1;
    for (const ZEILE& z : gelesen) {
        const size_t i = size_t(z.i);
        if (r.ZEILE[i]) continue;
        r.ZEILE[i] = 1;
        r.I1[i] = z.i;
        r.DET[i] = z.det;
        r.V[i] = z.v;
        r.TEMP[i] = z.temp;
    }
    std::vector<char> kurve(groesse, 0);
    auto rs = zeilen(a2, QStringLiteral("[I],[W]"), QStringLiteral("I"));
    const Field i = rs->Fields(0), w = rs->Fields(1);
    for (; !rs->Eof(); rs->MoveNext()) {
        const QVariant nummer = i.Value();
        if (IsNull(nummer)) continue;
        const qlonglong k = nummer.toLongLong();
        if (k < 0 || k > n || kurve[size_t(k)]) continue;
        kurve[size_t(k)] = 1;
        r.W[size_t(k)] = wert(w.Value());
    }
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

namespace {

// The setters of one axis of the graphics object.
struct ACHSE {
    void (clsGRAFIK::*BOMIN)(bool);
    void (clsGRAFIK::*BOMAX)(bool);
    void (clsGRAFIK::*AXE)(int16_t);
    void (clsGRAFIK::*SKT)(int16_t);
    void (clsGRAFIK::*MIN)(const QVariant&);
    void (clsGRAFIK::*DIFF)(const QVariant&);
    void (clsGRAFIK::*IT)(const QVariant&);
    void (clsGRAFIK::*GIT)(const QVariant&);
    void (clsGRAFIK::*ZL)(const QVariant&);
    void (clsGRAFIK::*TITEL)(const QString&);
    void (clsGRAFIK::*SKZ)(const QString&);
};

// A linear axis with the first `n` candidate ranges, in the order the
// graphics object wants them (the label list after the grid list).
void achse(clsGRAFIK& g, const ACHSE& a, bool automatisch, int n, const char* titel) {
    (g.*a.BOMIN)(automatisch);
    (g.*a.BOMAX)(automatisch);
    (g.*a.AXE)(1);
    (g.*a.SKT)(0);
    (g.*a.MIN)(liste(kMinima, n + 1));
    (g.*a.DIFF)(liste(kMinima + 1, n));
    (g.*a.IT)(liste(kIntervalle, n));
    (g.*a.GIT)(einsen(n + 2));
    (g.*a.ZL)(liste(kZahlen, n));
    (g.*a.TITEL)(QString::fromUtf8(titel));
    (g.*a.SKZ)(QStringLiteral("#0"));
}

} // namespace

void DIAGRAMMACHSEN(clsGRAFIK& g, bool automatisch) {
    const ACHSE x{&clsGRAFIK::setEBOXMIN, &clsGRAFIK::setEBOXMAX, &clsGRAFIK::setEAXEX,
                  &clsGRAFIK::setESKTX,   &clsGRAFIK::setELXMIN,  &clsGRAFIK::setELXDIFF,
                  &clsGRAFIK::setELXIT,   &clsGRAFIK::setELXGIT,  &clsGRAFIK::setELXZL,
                  &clsGRAFIK::setETEXTX,  &clsGRAFIK::setESKZX};
    const ACHSE y{&clsGRAFIK::setEBOYMIN, &clsGRAFIK::setEBOYMAX, &clsGRAFIK::setEAXEY,
                  &clsGRAFIK::setESKTY,   &clsGRAFIK::setELYMIN,  &clsGRAFIK::setELYDIFF,
                  &clsGRAFIK::setELYIT,   &clsGRAFIK::setELYGIT,  &clsGRAFIK::setELYZL,
                  &clsGRAFIK::setETEXTY,  &clsGRAFIK::setESKZY};
    achse(g, x, automatisch, int(std::size(kIntervalle)), "t [min]");
    // The y lists are the beginnings of the x lists, up to 10000.
    achse(g, y, automatisch, 34, "w [%]");
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

namespace {
// The scales `mx` and `my` that a drawing which only read its row computed,
// stored as a drawing that resets and writes them leaves the row; nothing is
// written when the row holds them already.
void MASSSTABBEHALTEN(clsDATEN& g0, int16_t bild, float mx, float my) {
    const auto gespeichert = [&] {
        Recordset rs(QStringLiteral("SELECT [MX],[MY],[MYMX] FROM [G0] WHERE [ID]=? AND "
                                    "[IDOBJEKT]=?"),
                     *g0.VERBINDUNG(), {g0.ESPIDW(), bild});
        if (rs.Eof()) return false;
        // Exactly the Single stored, as the write would store it.
        const auto gleich = [](const QVariant& wert, float soll) {
            bool zahl = false;
            const double d = wert.toDouble(&zahl);
            return !IsNull(wert) && zahl && d == double(soll);
        };
        return gleich(rs.Fields(0).Value(), mx) && gleich(rs.Fields(1).Value(), my) &&
               gleich(rs.Fields(2).Value(), 0.0f);
    };
    if (gespeichert()) return;
    const QString k = QStringLiteral("IDOBJEKT");
    LAYOUTSCHREIBEN schreiben(g0, bild);
    g0.DVTS(QStringLiteral("MX"), mx, k, bild);
    g0.DVTS(QStringLiteral("MY"), my, k, bild);
    g0.DVTS(QStringLiteral("MYMX"), 0, k, bild);
    schreiben.ENDE();
}
} // namespace

BILDLAYOUT::BILDLAYOUT(ErrorHandler& eh, clsDATEN& g0, clsGRAFIK& g, int16_t bild, bool speichern,
                       bool boneu, bool minima)
    : m_eh(eh), m_g0(g0), m_g(g), m_bild(bild), m_speichern(speichern) {
    const bool nurLesen = !boneu || !speichern;
    if (!nurLesen) {
        m_schreiben.emplace(g0, bild);
        eh.Run([&] { STANDARDLAYOUT(g0, bild, minima); });
        eh.Run([&] { MASSSTABLOESCHEN(g0, bild); });
    }
    g.setEBONURLESEN(nurLesen);
}

void BILDLAYOUT::ENDE() {
    if (m_schreiben)
        m_schreiben->ENDE();
    else if (m_speichern)
        m_eh.Run([&] { MASSSTABBEHALTEN(m_g0, m_bild, m_g.MX, m_g.MY); });
}

LAYOUTSCHREIBEN::LAYOUTSCHREIBEN(clsDATEN& g0, int16_t bild)
    : m_g0(g0), m_bild(bild),
      m_transaktion(std::make_unique<Transaction>(*g0.VERBINDUNG())) {
    // Whether the drawing changed the row is known only at its end: the copy's
    // guard runs then, so that a drawing that changes nothing marks nothing
    // and is refused nothing.
    g0.VERBINDUNG()->DeferWriteGuard();
    try {
        m_vorher = ZEILEN();
    } catch (const std::exception&) {
        m_vorher = {QVariantList{QStringLiteral("unbekannt")}};
    }
}

QList<QVariantList> LAYOUTSCHREIBEN::ZEILEN() const {
    QList<QVariantList> zeilen;
    Recordset rs(QStringLiteral("SELECT * FROM [G0] WHERE [ID]=? AND [IDOBJEKT]=?"),
                 *m_g0.VERBINDUNG(), {m_g0.ESPIDW(), m_bild});
    for (; !rs.Eof(); rs.MoveNext()) {
        QVariantList zeile;
        for (int i = 0; i < rs.FieldCount(); ++i) zeile << rs.Fields(i).Value();
        zeilen << zeile;
    }
    return zeilen;
}

LAYOUTSCHREIBEN::~LAYOUTSCHREIBEN() {
    ENDE();
}

void LAYOUTSCHREIBEN::ENDE() {
    if (!m_transaktion) return;
    try {
        if (ZEILEN() == m_vorher)
            m_transaktion->Rollback();
        else
            m_transaktion->Commit();
    } catch (const std::exception&) {
        // Not stored: the next drawing writes the row again.
    }
    m_transaktion.reset();
}

QString VERSUCHSTYP(const QVariant& vt) {
    const int typ = IsEmpty(vt) || IsNull(vt) ? 0 : CInt(vt);
    if (typ == 0) return QStringLiteral("Enslin");
    if (typ == 1) return QStringLiteral("Neff");
    throw RuntimeError::SubscriptOutOfRange();
}
