#include "SEITENLABOR.h"

#include "platform/database/Connection.h"

#include <algorithm>
#include <map>

void SEITENLABOR::PRUEFUNG(int id, const QString& ken,
                           const std::vector<std::pair<int, MESSUNG>>& reihe, float ms, float tmax,
                           float veld, bool boneu, bool aktiv, int16_t vt, float dmax) {
    HAUPT.DATENSATZANLEGEN(id, ken, QStringLiteral("Kommentar ") + ken, aktiv);
    HAUPT.ALLGEMEINEDATENANLEGEN(id, vt, dmax, ms, tmax);
    Connection& db = *HAUPT.DBPROJEKT();
    db.BeginTrans();
    for (const auto& [i, m] : reihe) {
        db.Execute(QStringLiteral("INSERT INTO [E3] ([ID],[I1],[DET],[V],[TEMP]) VALUES (?,?,?,?,?)"),
                   {id, i, m.det.isValid() ? m.det : QVariant::fromValue(nullptr),
                    m.v.isValid() ? m.v : QVariant::fromValue(nullptr),
                    m.temp.isValid() ? m.temp : QVariant::fromValue(nullptr)});
        const double w = m.v.isValid() ? double(float(m.v.toDouble() / ms * 100)) : 0.0;
        db.Execute(QStringLiteral("INSERT INTO [A2] ([ID],[I],[W]) VALUES (?,?,?)"), {id, i, w});
    }
    db.Execute(QStringLiteral("INSERT INTO [A1] ([ID],[BONEU],[VELD]) VALUES (?,?,?)"),
               {id, boneu, double(veld)});
    db.CommitTrans();
}

std::vector<std::pair<int, MESSUNG>> SEITENLABOR::REIHE(const std::vector<double>& t,
                                                        const std::vector<double>& v) {
    std::vector<std::pair<int, MESSUNG>> reihe;
    for (size_t i = 0; i < t.size(); ++i)
        reihe.push_back({int(i), MESSUNG{double(float(t[i])), double(float(v[i])), QVariant()}});
    return reihe;
}

QStringList SEITENLABOR::TEXTE(const PrimitiveLog& log) {
    QStringList texte;
    for (const Primitive& p : log.entries)
        if (p.kind == Primitive::Kind::Text || p.kind == Primitive::Kind::RotatedText)
            texte << p.text;
    return texte;
}

QStringList SEITENLABOR::ZEILEN(const PrimitiveLog& log, double xvon, double xbis) {
    std::vector<const Primitive*> texte;
    for (const Primitive& p : log.entries)
        if (p.kind == Primitive::Kind::Text && p.x1 >= xvon && p.x1 < xbis) texte.push_back(&p);
    std::stable_sort(texte.begin(), texte.end(), [](const Primitive* a, const Primitive* b) {
        if (std::abs(a->y1 - b->y1) > 0.3) return a->y1 < b->y1;
        return a->x1 < b->x1;
    });
    QStringList zeilen;
    double oben = -1e9;
    QStringList zeile;
    for (const Primitive* p : texte) {
        if (std::abs(p->y1 - oben) > 0.3 && !zeile.isEmpty()) {
            zeilen << zeile.join(QStringLiteral(" | "));
            zeile.clear();
        }
        if (zeile.isEmpty()) oben = p->y1;
        zeile << p->text;
    }
    if (!zeile.isEmpty()) zeilen << zeile.join(QStringLiteral(" | "));
    return zeilen;
}

const Primitive* SEITENLABOR::TEXT(const PrimitiveLog& log, const QString& text) {
    for (const Primitive& p : log.entries)
        if (p.kind == Primitive::Kind::Text && p.text == text) return &p;
    return nullptr;
}
