#include "arbeitskopie/ZUSAMMENFUEHRUNG.h"

#include "data/DATENSATZKOPIE.h"
#include "data/DATENSATZTABELLEN.h"
#include "platform/database/Connection.h"
#include "platform/database/Recordset.h"
#include "platform/database/Sql.h"
#include "platform/database/Transaction.h"
#include "platform/runtime/Variant.h"

#include <QSet>
#include <algorithm>
#include <vector>

namespace {

QByteArray inhalt(const DATENSATZSTAENDE* staende, const QString& schluessel) {
    return staende ? staende->Inhalt(schluessel) : QByteArray();
}

bool doppelt(const DATENSATZSTAENDE& staende, const QString& schluessel) {
    const DATENSATZSTAENDE::STAND* stand = staende.Stand(schluessel);
    return stand && stand->anzahl > 1;
}

struct Zeile {
    int32_t id;
    bool aktiv;
};

// The records of a key (ID 0, the multiple evaluation, is none). The key
// finds the identifier as either side writes it: the engine compares it
// without letter case; the records without one by Null.
std::vector<Zeile> datensaetze(Connection& db, const QString& schluessel) {
    std::vector<Zeile> zeilen;
    const bool ohne = schluessel == DATENSATZSTAENDE::kOhneKennung;
    Recordset rs(ohne ? QStringLiteral("SELECT [ID],[AKT] FROM [E1] WHERE [KEN] IS NULL AND "
                                       "[ID]<>0 ORDER BY [ID]")
                      : QStringLiteral("SELECT [ID],[AKT] FROM [E1] WHERE [KEN]=? AND [ID]<>0 "
                                       "ORDER BY [ID]"),
                 db, ohne ? QVariantList() : QVariantList{schluessel});
    for (; !rs.Eof(); rs.MoveNext())
        zeilen.push_back({CLng(rs.Fields(0).Value()), CBool(rs.Fields(1).Value())});
    return zeilen;
}

void loeschen(Connection& db, int32_t id) {
    for (const QString& tabelle : DATENSATZTABELLEN())
        db.Execute(QStringLiteral("DELETE FROM %1 WHERE [ID]=?").arg(SqlName(tabelle)), {id});
}

// The next key free in every table of a record, rows without their record
// included, and not below `frei`.
int32_t freierSchluessel(Connection& db, qint64 frei) {
    QStringList teile;
    for (const QString& tabelle : DATENSATZTABELLEN())
        teile << QStringLiteral("SELECT Max([ID]) AS m FROM %1").arg(SqlName(tabelle));
    Recordset rs(
        QStringLiteral("SELECT Max(m) FROM (%1)").arg(teile.join(QStringLiteral(" UNION ALL "))),
        db);
    const QVariant wert = rs.Fields(0).Value();
    return int32_t(std::max<qint64>(IsNull(wert) ? 1 : std::max(CLng(wert) + 1, 1), frei));
}

void projektzeilenUebertragen(Connection& kopie, Connection& projekt) {
    loeschen(kopie, 0);
    kopie.Execute(QStringLiteral("DELETE FROM [M1]"));
    DATENSATZSCHREIBEN(projekt, 0, kopie, 0, KOPIEWERTE::GESPEICHERT);
    Recordset m1(QStringLiteral("SELECT [IDM] FROM [M1]"), projekt);
    for (; !m1.Eof(); m1.MoveNext()) {
        const int32_t idm = CLng(m1.Fields(0).Value());
        ZEILENKOPIEREN(projekt, kopie, QStringLiteral("M1"), QStringLiteral("IDM"), idm, idm,
                       KOPIEWERTE::GESPEICHERT);
    }
}

void datensatzUebertragen(Connection& kopie, Connection& projekt, const QString& schluessel,
                          const QString& umbenannt, qint64 frei, QList<qint64>& geschrieben) {
    std::vector<Zeile> alt = datensaetze(kopie, schluessel);
    // The record renamed here keeps its key under the identifier it gets back.
    if (!umbenannt.isEmpty()) {
        for (const Zeile& zeile : datensaetze(kopie, umbenannt))
            alt.push_back(zeile);
        std::sort(alt.begin(), alt.end(),
                  [](const Zeile& x, const Zeile& y) { return x.id < y.id; });
    }
    for (const Zeile& zeile : alt) {
        loeschen(kopie, zeile.id);
        geschrieben << zeile.id;
    }
    size_t wiederNr = 0;
    for (const Zeile& zeile : datensaetze(projekt, schluessel)) {
        const bool wieder = wiederNr < alt.size();
        const int32_t neu = wieder ? alt[wiederNr].id : freierSchluessel(kopie, frei);
        DATENSATZSCHREIBEN(projekt, zeile.id, kopie, neu, KOPIEWERTE::GESPEICHERT);
        geschrieben << neu;
        // Which records are active is this user's selection.
        kopie.Execute(QStringLiteral("UPDATE [E1] SET [AKT]=? WHERE [ID]=?"),
                      {wieder && alt[wiederNr].aktiv, neu});
        if (wieder) ++wiederNr;
    }
}

} // namespace

ZUSAMMENFUEHRUNG ZUSAMMENFUEHRUNG::PLANEN(const DATENSATZSTAENDE* basis,
                                          const DATENSATZSTAENDE& kopie,
                                          const DATENSATZSTAENDE& projekt,
                                          const QHash<QString, QString>& umbenannt,
                                          const QSet<QString>& ungewiss) {
    QSet<QString> alle;
    for (const DATENSATZSTAENDE* s : {basis, &kopie, &projekt})
        if (s)
            for (auto it = s->Staende().cbegin(); it != s->Staende().cend(); ++it)
                alle.insert(it.key());
    ZUSAMMENFUEHRUNG plan;
    for (const QString& schluessel : alle) {
        const QByteArray b = inhalt(basis, schluessel);
        const QByteArray k = inhalt(&kopie, schluessel);
        const QByteArray p = inhalt(&projekt, schluessel);
        if (k == p) continue;
        const bool unbekannt = !basis || ungewiss.contains(schluessel);
        const bool eigene = unbekannt || k != b;
        const bool fremde = unbekannt || p != b;
        if (!fremde) continue;
        const bool mehrfach = doppelt(projekt, schluessel) || doppelt(kopie, schluessel);
        if (!eigene && !mehrfach) {
            plan.UEBERNEHMEN << schluessel;
            continue;
        }
        plan.KONFLIKTE << schluessel;
        ART art = ART::GEAENDERT;
        if (unbekannt)
            art = ART::UNBEKANNT;
        else if (mehrfach)
            art = ART::MEHRFACH;
        else if (b.isEmpty())
            art = ART::BEIDENEU;
        else if (k.isEmpty() && umbenannt.contains(schluessel)) {
            art = ART::UMBENANNT;
            plan.NEUEKENNUNG.insert(schluessel, umbenannt.value(schluessel));
        } else if (k.isEmpty())
            art = ART::HIERGELOESCHT;
        else if (p.isEmpty())
            art = ART::DORTGELOESCHT;
        plan.ARTEN.insert(schluessel, art);
    }
    plan.UEBERNEHMEN.sort();
    plan.KONFLIKTE.sort();
    return plan;
}

QStringList ZUSAMMENFUEHRUNG::NAMEN(const QStringList& schluessel, const DATENSATZSTAENDE& kopie,
                                    const DATENSATZSTAENDE& projekt, const QString& mehrfach,
                                    const QString& ohneKennung) {
    QStringList namen;
    bool mitMehrfach = false;
    bool mitOhne = false;
    for (const QString& s : schluessel) {
        if (s == DATENSATZSTAENDE::kProjektzeilen) {
            mitMehrfach = true;
            continue;
        }
        if (s == DATENSATZSTAENDE::kOhneKennung) {
            mitOhne = true;
            continue;
        }
        const DATENSATZSTAENDE::STAND* stand = kopie.Stand(s);
        if (!stand) stand = projekt.Stand(s);
        namen << (stand ? stand->ken : s);
    }
    std::sort(namen.begin(), namen.end(), DATENSATZSTAENDE::VORHER);
    if (mitOhne) namen << ohneKennung;
    if (mitMehrfach) namen << mehrfach;
    return namen;
}

QList<qint64> ZUSAMMENFUEHRUNG::UEBERTRAGEN(Connection& kopie, Connection& projekt,
                                            const QStringList& schluessel, qint64 frei,
                                            const QHash<QString, QString>& mit) {
    QList<qint64> geschrieben;
    if (schluessel.isEmpty()) return geschrieben;
    Transaction transaktion(kopie);
    for (const QString& s : schluessel) {
        if (s == DATENSATZSTAENDE::kProjektzeilen) {
            projektzeilenUebertragen(kopie, projekt);
            geschrieben << 0;
            continue;
        }
        datensatzUebertragen(kopie, projekt, s, mit.value(s), frei, geschrieben);
    }
    transaktion.Commit();
    return geschrieben;
}

QByteArray ZUSAMMENFUEHRUNG::FASSUNGEN(const DATENSATZSTAENDE& kopie,
                                       const DATENSATZSTAENDE& projekt, const QString& schluessel) {
    return kopie.Inhalt(schluessel) + '|' + projekt.Inhalt(schluessel);
}

ZUSAMMENFUEHRUNG::SCHRITTE ZUSAMMENFUEHRUNG::AUSFUEHREN(const ENTSCHEIDUNGEN& entscheidungen,
                                                        const DATENSATZSTAENDE* basis,
                                                        const DATENSATZSTAENDE& kopie,
                                                        const DATENSATZSTAENDE& projekt,
                                                        bool fragen) const {
    SCHRITTE schritte;
    schritte.nehmen = UEBERNEHMEN;
    schritte.ganz = basis != nullptr;
    for (const QString& schluessel : KONFLIKTE) {
        const auto antwort = entscheidungen.constFind(schluessel);
        const bool beantwortet = antwort != entscheidungen.cend() &&
                                 antwort->first == FASSUNGEN(kopie, projekt, schluessel);
        // Answered No for these very versions: the project's is taken.
        if (beantwortet && !antwort->second) {
            schritte.verneint << schluessel;
            continue;
        }
        if (!beantwortet && fragen) schritte.fragen << schluessel;
        // One of several under an identifier that only the project changed,
        // kept as the copy holds it.
        if (schritte.ganz && kopie.Inhalt(schluessel) == basis->Inhalt(schluessel))
            schritte.ganz = false;
    }
    schritte.nehmen += schritte.verneint;
    return schritte;
}
