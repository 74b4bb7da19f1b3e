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
    if (!staende) return QByteArray();
    const DATENSATZSTAENDE::STAND* stand = staende->Stand(schluessel);
    return stand ? stand->inhalt : QByteArray();
}

bool doppelt(const DATENSATZSTAENDE& staende, const QString& schluessel) {
    const DATENSATZSTAENDE::STAND* stand = staende.Stand(schluessel);
    return stand && stand->anzahl > 1;
}

struct Zeile {
    int32_t id;
    bool aktiv;
};

// The records of an identifier (ID 0, the multiple evaluation, is none).
std::vector<Zeile> datensaetze(Connection& db, const QString& ken) {
    std::vector<Zeile> zeilen;
    Recordset rs(QStringLiteral("SELECT [ID],[AKT] FROM [E1] WHERE [KEN]=? AND [ID]<>0 "
                                "ORDER BY [ID]"),
                 db, {ken});
    for (; !rs.Eof(); rs.MoveNext())
        zeilen.push_back({CLng(rs.Fields(0).Value()), CBool(rs.Fields(1).Value())});
    return zeilen;
}

void loeschen(Connection& db, int32_t id) {
    for (const QString& tabelle : DATENSATZTABELLEN())
        db.Execute(QStringLiteral("DELETE FROM %1 WHERE [ID]=?").arg(SqlName(tabelle)), {id});
}

// The next key free in every table of a record, rows without their record
// included.
int32_t freierSchluessel(Connection& db) {
    QStringList teile;
    for (const QString& tabelle : DATENSATZTABELLEN())
        teile << QStringLiteral("SELECT Max([ID]) AS m FROM %1").arg(SqlName(tabelle));
    Recordset rs(QStringLiteral("SELECT Max(m) FROM (%1)").arg(teile.join(QStringLiteral(" UNION ALL "))),
                 db);
    const QVariant wert = rs.Fields(0).Value();
    return IsNull(wert) ? 1 : std::max(CLng(wert) + 1, 1);
}

void projektzeilenUebertragen(Connection& kopie, Connection& projekt) {
    loeschen(kopie, 0);
    kopie.Execute(QStringLiteral("DELETE FROM [M1]"));
    DATENSATZSCHREIBEN(projekt, 0, kopie, 0);
    Recordset m1(QStringLiteral("SELECT [IDM] FROM [M1]"), projekt);
    for (; !m1.Eof(); m1.MoveNext()) {
        const int32_t idm = CLng(m1.Fields(0).Value());
        ZEILENKOPIEREN(projekt, kopie, QStringLiteral("M1"), QStringLiteral("IDM"), idm, idm);
    }
}

void datensatzUebertragen(Connection& kopie, Connection& projekt, const QString& ken) {
    std::vector<Zeile> alt = datensaetze(kopie, ken);
    for (const Zeile& zeile : alt) loeschen(kopie, zeile.id);
    size_t frei = 0;
    for (const Zeile& zeile : datensaetze(projekt, ken)) {
        const bool wieder = frei < alt.size();
        const int32_t neu = wieder ? alt[frei].id : freierSchluessel(kopie);
        DATENSATZSCHREIBEN(projekt, zeile.id, kopie, neu);
        // Which records are active is this user's selection.
        kopie.Execute(QStringLiteral("UPDATE [E1] SET [AKT]=? WHERE [ID]=?"),
                      {wieder && alt[frei].aktiv, neu});
        if (wieder) ++frei;
    }
}

} // namespace

ZUSAMMENFUEHRUNG ZUSAMMENFUEHRUNG::PLANEN(const DATENSATZSTAENDE* basis,
                                          const DATENSATZSTAENDE& kopie,
                                          const DATENSATZSTAENDE& projekt) {
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
        const bool eigene = !basis || k != b;
        const bool fremde = !basis || p != b;
        if (!fremde) continue;
        if (!eigene && !doppelt(projekt, schluessel) && !doppelt(kopie, schluessel))
            plan.UEBERNEHMEN << schluessel;
        else
            plan.KONFLIKTE << schluessel;
    }
    plan.UEBERNEHMEN.sort();
    plan.KONFLIKTE.sort();
    return plan;
}

QStringList ZUSAMMENFUEHRUNG::NAMEN(const QStringList& schluessel, const DATENSATZSTAENDE& kopie,
                                    const DATENSATZSTAENDE& projekt, const QString& mehrfach) {
    QStringList namen;
    bool mitMehrfach = false;
    for (const QString& s : schluessel) {
        if (s == DATENSATZSTAENDE::kProjektzeilen) {
            mitMehrfach = true;
            continue;
        }
        const DATENSATZSTAENDE::STAND* stand = kopie.Stand(s);
        if (!stand) stand = projekt.Stand(s);
        namen << (stand ? stand->ken : s);
    }
    std::sort(namen.begin(), namen.end(), [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    if (mitMehrfach) namen << mehrfach;
    return namen;
}

void ZUSAMMENFUEHRUNG::UEBERTRAGEN(Connection& kopie, Connection& projekt,
                                   const QStringList& schluessel) {
    if (schluessel.isEmpty()) return;
    Transaction transaktion(kopie);
    for (const QString& s : schluessel) {
        if (s == DATENSATZSTAENDE::kProjektzeilen) {
            projektzeilenUebertragen(kopie, projekt);
            continue;
        }
        // The key finds the identifier as either side writes it: the engine
        // compares it without letter case.
        datensatzUebertragen(kopie, projekt, s);
    }
    transaktion.Commit();
}
