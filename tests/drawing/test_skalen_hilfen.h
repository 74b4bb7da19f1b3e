#pragma once

// What the tests of the axes, scales and curves share: a diagram object on
// the recording picture box of 145 x 130 mm with the figure's layout row in
// G0 of the temporary laboratory, and comparisons of the logged lines.

#include "GrafikTest.h"

#include "platform/database/Connection.h"
#include "platform/runtime/MsgBox.h"

#include <QLocale>
#include <QStringList>
#include <QVariantList>
#include <cmath>
#include <vector>

// The default locale for one test, given back afterwards.
class Gebietsschema {
public:
    explicit Gebietsschema(const QLocale& locale) : m_vorher(QLocale()) {
        QLocale::setDefault(locale);
    }
    ~Gebietsschema() { QLocale::setDefault(m_vorher); }

private:
    QLocale m_vorher;
};

inline QLocale Deutsch() {
    return QLocale(QLocale::German, QLocale::Germany);
}

struct Strecke {
    double x1, y1, x2, y2;
};

// A logged line equal to the segment, in either direction.
inline bool GleicheStrecke(const Primitive& p, const Strecke& s, double e = 1e-3) {
    const auto nah = [e](double a, double b, double c, double d) {
        return std::abs(a - c) <= e && std::abs(b - d) <= e;
    };
    return (nah(p.x1, p.y1, s.x1, s.y1) && nah(p.x2, p.y2, s.x2, s.y2)) ||
           (nah(p.x1, p.y1, s.x2, s.y2) && nah(p.x2, p.y2, s.x1, s.y1));
}

class SkalenTest : public GrafikTest {
protected:
    static constexpr int kID = 7;
    static constexpr int kObjekt = 11;

    void SetUp() override {
        GrafikTest::SetUp();
        grafik->setEID(kID);
        grafik->setEIDOBJEKT(kObjekt);
    }

    // The layout row of the figure with the columns given; the others stay
    // Null.
    void Zeile(const QVariantMap& spalten, int id = kID, int objekt = kObjekt) {
        QStringList namen{"ID", "IDOBJEKT"};
        QStringList platz{"?", "?"};
        QVariantList werte{id, objekt};
        for (auto it = spalten.begin(); it != spalten.end(); ++it) {
            namen << QStringLiteral("[%1]").arg(it.key());
            platz << QStringLiteral("?");
            werte << it.value();
        }
        fenster->DBPROJEKT()->Execute(QStringLiteral("INSERT INTO [G0] (%1) VALUES (%2)")
                                          .arg(namen.join(','), platz.join(',')),
                                      werte);
    }

    // The usual row: x grows to the right, y upwards, margins 20, 10, 5, 15,
    // ranges 0..100 and 0..50, scales computed.
    void Standardzeile(const QVariantMap& anders = {}) {
        QVariantMap spalten{{"OX", 1},  {"OY", 1},   {"RL", 20},    {"RR", 10},  {"RO", 5},
                            {"RU", 15}, {"XMIN", 0}, {"XMAX", 100}, {"YMIN", 0}, {"YMAX", 50},
                            {"MX", 0},  {"MY", 0},   {"MYMX", 0}};
        for (auto it = anders.begin(); it != anders.end(); ++it)
            spalten[it.key()] = it.value();
        Zeile(spalten);
    }

    QVariant Spalte(const QString& spalte, int id = kID, int objekt = kObjekt) {
        return fenster->WERT(
            QStringLiteral("SELECT [%1] FROM [G0] WHERE [ID]=? AND [IDOBJEKT]=?").arg(spalte),
            {id, objekt});
    }

    // Lists of one value per axis: ticks, grid and label counts.
    void XListen(std::initializer_list<double> min, std::initializer_list<double> diff,
                 std::initializer_list<double> it, std::initializer_list<double> git,
                 std::initializer_list<double> zl) {
        grafik->setELXMIN(clsGRAFIK::LISTE(min));
        grafik->setELXDIFF(clsGRAFIK::LISTE(diff));
        grafik->setELXIT(clsGRAFIK::LISTE(it));
        grafik->setELXGIT(clsGRAFIK::LISTE(git));
        grafik->setELXZL(clsGRAFIK::LISTE(zl));
    }
    void YListen(std::initializer_list<double> min, std::initializer_list<double> diff,
                 std::initializer_list<double> it, std::initializer_list<double> git,
                 std::initializer_list<double> zl) {
        grafik->setELYMIN(clsGRAFIK::LISTE(min));
        grafik->setELYDIFF(clsGRAFIK::LISTE(diff));
        grafik->setELYIT(clsGRAFIK::LISTE(it));
        grafik->setELYGIT(clsGRAFIK::LISTE(git));
        grafik->setELYZL(clsGRAFIK::LISTE(zl));
    }

    QList<Primitive> Linien() { return flaeche->log().of(Primitive::Kind::Line); }
    QList<Primitive> Texte() { return flaeche->log().of(Primitive::Kind::Text); }
    QList<Primitive> Drehtexte() { return flaeche->log().of(Primitive::Kind::RotatedText); }

    int Anzahl(const Strecke& s, double e = 1e-3) {
        int n = 0;
        for (const Primitive& p : Linien())
            if (GleicheStrecke(p, s, e)) ++n;
        return n;
    }
    // The upright text with these characters; nullptr when there is none.
    const Primitive* Text(const QString& zeichen) {
        for (const Primitive& p : eintraege())
            if (p.kind == Primitive::Kind::Text && p.text == zeichen) return &p;
        return nullptr;
    }
};
