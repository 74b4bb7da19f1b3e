#include "arbeitskopie/KOPIEBASIS.h"

#include "platform/database/Connection.h"
#include "platform/database/Recordset.h"
#include "platform/database/RowScan.h"
#include "platform/database/Sql.h"
#include "platform/database/Transaction.h"
#include "platform/runtime/Variant.h"

#include <QStringList>

namespace {

const QString kTabellen =
    QStringLiteral("CREATE TABLE IF NOT EXISTS [VELD_BASIS] ([ID] INTEGER PRIMARY KEY, "
                   "[E1DA] INTEGER, [KEN], [D] BLOB);"
                   "CREATE TABLE IF NOT EXISTS [VELD_BASISSTAND] ([UNBEKANNT] INTEGER)");

bool hatTabellen(Connection& db) {
    Recordset rs(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type='table' AND "
                                "name IN ('VELD_BASIS','VELD_BASISSTAND')"),
                 db);
    return CLng(rs.Fields(0).Value()) == 2;
}

// Where the tables are missing: made, with a base of its own or none.
void tabellenAnlegen(Connection& db, bool mitBasis) {
    Transaction transaktion(db);
    if (hatTabellen(db)) return;
    db.Execute(kTabellen);
    if (!mitBasis) db.Execute(QStringLiteral("INSERT INTO [VELD_BASISSTAND] VALUES (1)"));
    transaktion.Commit();
}

// The statement that keeps what the record `schluessel` (an expression of
// the trigger's row) is before its first change: its digest over every
// table, as DATENSATZSTAENDE sums it, and its general data's identifier.
QString vorherFesthalten(const QList<DATENSATZSTAENDE::WERKTABELLE>& tabellen,
                         const QString& schluessel) {
    QStringList teile;
    for (const DATENSATZSTAENDE::WERKTABELLE& w : tabellen) {
        const QString zugehoerig = w.PROJEKTWEIT ? QStringLiteral("(%1)=0").arg(schluessel)
                                                 : QStringLiteral("[ID]=(%1)").arg(schluessel);
        teile << QStringLiteral("(SELECT rowsum(%1,%2) FROM main.%3 WHERE %4 AND %5)")
                     .arg(QString::number(qint64(w.SALZ)), w.WERTLISTE(QString()), SqlName(w.NAME),
                          zugehoerig, w.BEDINGUNG(QString()));
    }
    return QStringLiteral("INSERT OR IGNORE INTO [VELD_BASIS] ([ID],[E1DA],[KEN],[D]) "
                          "SELECT %1, EXISTS(SELECT 1 FROM main.[E1] WHERE [ID]=(%1)), "
                          "(SELECT [KEN] FROM main.[E1] WHERE [ID]=(%1)), rowsum_plus(%2);")
        .arg(schluessel, teile.join(QLatin1Char(',')));
}

} // namespace

void KOPIEBASIS::NEU(const QString& datei) {
    Connection db(datei);
    Transaction transaktion(db);
    db.Execute(QStringLiteral("DROP TABLE IF EXISTS [VELD_BASIS];"
                              "DROP TABLE IF EXISTS [VELD_BASISSTAND]"));
    db.Execute(kTabellen);
    transaktion.Commit();
}

void KOPIEBASIS::SICHERN(const QString& datei, bool unveraendert) {
    Connection db(datei);
    if (!hatTabellen(db)) tabellenAnlegen(db, unveraendert);
}

void KOPIEBASIS::EINRICHTEN(Connection& kopie) {
    InstallRowSumFunctions(kopie);
    if (!hatTabellen(kopie)) {
        // Through a connection of its own, so that making them passes no
        // guard of this one: they are no change of the user's.
        Connection eigene(kopie.Path());
        tabellenAnlegen(eigene, false);
        kopie.SchemaChanged();
    }
    // Before every write of a record's rows: what the record was, once,
    // before its first change since the copy last met the project. Changes
    // of the selection (E1.AKT) and a drawing's own columns of G0 are no
    // one's work, and no change of a record.
    QString sql;
    const QList<DATENSATZSTAENDE::WERKTABELLE> tabellen = DATENSATZSTAENDE::WERKTABELLEN(kopie);
    for (const DATENSATZSTAENDE::WERKTABELLE& w : tabellen) {
        const QString name = QStringLiteral("veld_basis_") + w.NAME;
        const QString tabelle = QStringLiteral("main.") + SqlName(w.NAME);
        QStringList spalten;
        if (w.NAME == QLatin1String("E1") || w.NURBEREICHE) {
            spalten << QStringLiteral("[ID]");
            for (const QString& spalte : w.SPALTEN)
                if (!spalte.isEmpty()) spalten << SqlName(spalte);
        }
        const QString aenderung =
            spalten.isEmpty() ? QStringLiteral("UPDATE")
                              : QStringLiteral("UPDATE OF ") + spalten.join(QLatin1Char(','));
        const QString neu = w.SCHLUESSELWERT(QStringLiteral("NEW."));
        const QString alt = w.SCHLUESSELWERT(QStringLiteral("OLD."));
        // The trigger's condition spares every later write of the record the
        // digest: the statement's own subqueries would be taken at once.
        const auto trigger = [&](const QString& art, const QString& wann, const QString& wer,
                                 const QString& auch) {
            sql += QStringLiteral("CREATE TEMP TRIGGER IF NOT EXISTS %1 BEFORE %2 ON %3 "
                                  "WHEN %4NOT EXISTS(SELECT 1 FROM main.[VELD_BASIS] "
                                  "WHERE [ID]=(%5)) BEGIN %6 END;")
                       .arg(name + art, wann, tabelle, auch, wer, vorherFesthalten(tabellen, wer));
        };
        trigger(QStringLiteral("_i"), QStringLiteral("INSERT"), neu, QString());
        trigger(QStringLiteral("_d"), QStringLiteral("DELETE"), alt, QString());
        trigger(QStringLiteral("_u"), aenderung, alt, QString());
        // A record key changed: the record under the new key was not there.
        if (!w.PROJEKTWEIT)
            trigger(QStringLiteral("_n"), aenderung, neu,
                    QStringLiteral("(%1)<>(%2) AND ").arg(neu, alt));
    }
    kopie.ExecuteTemporary(sql);
}

KOPIEBASIS::STAENDE KOPIEBASIS::LESEN(Connection& kopie) {
    DATENSATZSTAENDE::ROH roh = DATENSATZSTAENDE::ROHLESEN(kopie);
    STAENDE staende{DATENSATZSTAENDE::AUSROH(roh), std::nullopt};
    if (!hatTabellen(kopie)) return staende;
    if (!Recordset(QStringLiteral("SELECT 1 FROM [VELD_BASISSTAND]"), kopie).Eof()) return staende;
    for (Recordset rs(QStringLiteral("SELECT [ID],[E1DA],[KEN],[D] FROM [VELD_BASIS]"), kopie);
         !rs.Eof(); rs.MoveNext()) {
        const qint64 id = rs.Fields(0).Value().toLongLong();
        const QByteArray d = rs.Fields(3).Value().toByteArray();
        roh.summen[id] = d.size() == int(RowSumBytes) ? RowSumFromBytes(d.constData()) : RowSum();
        if (id == 0) continue;
        if (CBool(rs.Fields(1).Value()))
            roh.kennungen[id] = rs.Fields(2).Value();
        else
            roh.kennungen.erase(id);
    }
    staende.basis = DATENSATZSTAENDE::AUSROH(roh);
    return staende;
}

void KOPIEBASIS::ABGEGLICHEN(Connection& kopie, const QList<qint64>& schluessel) {
    for (const qint64 id : schluessel)
        kopie.Execute(QStringLiteral("DELETE FROM [VELD_BASIS] WHERE [ID]=?"), {id});
}

void KOPIEBASIS::ABGEGLICHEN(Connection& kopie) {
    kopie.Execute(kTabellen);
    kopie.Execute(QStringLiteral("DELETE FROM [VELD_BASIS]; DELETE FROM [VELD_BASISSTAND]"));
}
