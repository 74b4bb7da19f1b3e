#include "arbeitskopie/KOPIEBASIS.h"

#include "platform/database/Connection.h"
#include "platform/database/DatabaseError.h"
#include "platform/database/Recordset.h"
#include "platform/database/RowJournal.h"
#include "platform/database/RowScan.h"
#include "platform/database/Sql.h"
#include "platform/database/Transaction.h"
#include "platform/runtime/Variant.h"

#include <QFile>
#include <QStringList>
#include <unistd.h>

namespace {

const QString kTabellen =
    QStringLiteral("CREATE TABLE IF NOT EXISTS [VELD_BASIS] ([ID] INTEGER PRIMARY KEY, "
                   "[E1BEKANNT] INTEGER, [E1DA] INTEGER, [KEN], [D] BLOB);"
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

QByteArray summe(const RowSum& s) {
    QByteArray bytes(int(RowSumBytes), Qt::Uninitialized);
    RowSumToBytes(s, reinterpret_cast<unsigned char*>(bytes.data()));
    return bytes;
}

RowSum summe(const QVariant& wert) {
    const QByteArray bytes = wert.toByteArray();
    return bytes.size() == int(RowSumBytes) ? RowSumFromBytes(bytes.constData()) : RowSum();
}

// What the transaction about to commit changed of each record, added to
// what the copy keeps of it since it last met the project. What a record
// was before its first change stays as the first change found it.
void behalten(Connection& kopie, const RowJournal::Changes& aenderungen) {
    for (const auto& [id, vorher] : aenderungen) {
        RowSum d = vorher.change;
        bool bekannt = vorher.headSeen, da = vorher.headThere;
        QVariant ken = vorher.head;
        Recordset rs(QStringLiteral("SELECT [E1BEKANNT],[E1DA],[KEN],[D] FROM [VELD_BASIS] "
                                    "WHERE [ID]=?"),
                     kopie, {id});
        if (!rs.Eof()) {
            const RowSum alt = summe(rs.Fields(3).Value());
            d.a += alt.a;
            d.b += alt.b;
            d.count += alt.count;
            if (CBool(rs.Fields(0).Value())) {
                bekannt = true;
                da = CBool(rs.Fields(1).Value());
                ken = rs.Fields(2).Value();
            }
        }
        rs.Close();
        // A record that was not there before needs no rows before.
        const bool keiner = id != 0 && bekannt && !da;
        kopie.Execute(
            QStringLiteral("INSERT OR REPLACE INTO [VELD_BASIS] "
                           "([ID],[E1BEKANNT],[E1DA],[KEN],[D]) VALUES (?,?,?,?,?)"),
            {id, bekannt, da, keiner ? QVariant() : ken, keiner ? QVariant() : QVariant(summe(d))});
    }
}

} // namespace

void KOPIEBASIS::NEU(const QString& datei) {
    {
        // The file is not the copy yet: a run killed meanwhile leaves it for
        // the next fresh copy to remove. So it is written without a journal,
        // and put on the disk once, before it takes the copy's place.
        Connection db(datei);
        db.Execute(QStringLiteral("PRAGMA journal_mode=OFF"));
        db.Execute(QStringLiteral("PRAGMA synchronous=OFF"));
        db.Execute(QStringLiteral("DROP TABLE IF EXISTS [VELD_BASIS];"
                                  "DROP TABLE IF EXISTS [VELD_BASISSTAND]"));
        db.Execute(kTabellen);
    }
    QFile datei_(datei);
    if (!datei_.open(QIODevice::ReadWrite) || ::fsync(datei_.handle()) != 0)
        throw DatabaseError::Make(DatabaseError::Failure,
                                  QStringLiteral("fsync (") + datei + QLatin1Char(')'));
}

void KOPIEBASIS::EINRICHTEN(Connection& kopie, bool unveraendert) {
    if (!hatTabellen(kopie)) {
        // Through a connection of its own, so that making them passes no
        // guard of this one: they are no change of the user's.
        Connection eigene(kopie.Path());
        tabellenAnlegen(eigene, unveraendert);
        kopie.SchemaChanged();
    }
    // Every write of a record's rows keeps, in its own transaction, what the
    // record was before. Changes of the selection (E1.AKT) and of a
    // drawing's own columns of G0 change no record's digest.
    QList<RowJournal::Table> tabellen;
    for (const DATENSATZSTAENDE::WERKTABELLE& w : DATENSATZSTAENDE::WERKTABELLEN(kopie))
        tabellen << RowJournal::Table{w.NAME,
                                      w.SALZ,
                                      w.PROJEKTWEIT,
                                      w.SPALTEN,
                                      w.NURBEREICHE ? w.BEREICHE : QStringList(),
                                      w.NAME == QLatin1String("E1") ? QStringLiteral("KEN")
                                                                    : QString()};
    Connection* verbindung = &kopie;
    auto journal = std::make_shared<RowJournal>(
        tabellen, [verbindung](const RowJournal::Changes& aenderungen) {
            behalten(*verbindung, aenderungen);
        });
    // A record deleted since the copy met the project whose key comes again
    // (a new test under the last key, say) was a record before all the same.
    journal->SetWereThere([verbindung] {
        std::set<qint64> da;
        try {
            for (Recordset rs(QStringLiteral("SELECT [ID] FROM [VELD_BASIS] WHERE [E1BEKANNT]<>0 "
                                             "AND [E1DA]<>0"),
                              *verbindung);
                 !rs.Eof(); rs.MoveNext())
                da.insert(rs.Fields(0).Value().toLongLong());
        } catch (const RuntimeError&) {
            // A write into a copy without its base's table: the write says
            // what is wrong with the copy.
        }
        return da;
    });
    kopie.SetRowJournal(journal);
}

KOPIEBASIS::STAENDE KOPIEBASIS::LESEN(Connection& kopie) {
    DATENSATZSTAENDE::ROH roh = DATENSATZSTAENDE::ROHLESEN(kopie);
    STAENDE staende{DATENSATZSTAENDE::AUSROH(roh), std::nullopt};
    if (!hatTabellen(kopie)) return staende;
    if (!Recordset(QStringLiteral("SELECT 1 FROM [VELD_BASISSTAND]"), kopie).Eof()) return staende;
    // A record's rows before are its rows now and what changed of them.
    for (Recordset rs(QStringLiteral("SELECT [ID],[E1BEKANNT],[E1DA],[KEN],[D] FROM [VELD_BASIS]"),
                      kopie);
         !rs.Eof(); rs.MoveNext()) {
        const qint64 id = rs.Fields(0).Value().toLongLong();
        const RowSum d = summe(rs.Fields(4).Value());
        RowSum& jetzt = roh.summen[id];
        jetzt.a += d.a;
        jetzt.b += d.b;
        jetzt.count += d.count;
        if (id == 0 || !CBool(rs.Fields(1).Value())) continue;
        if (CBool(rs.Fields(2).Value()))
            roh.kennungen[id] = rs.Fields(3).Value();
        else
            roh.kennungen.erase(id);
    }
    staende.basis = DATENSATZSTAENDE::AUSROH(roh);
    return staende;
}

void KOPIEBASIS::ABGEGLICHEN(Connection& kopie, const QList<qint64>& schluessel) {
    for (const qint64 id : schluessel) {
        if (kopie.Journal()) kopie.Journal()->Forget(id);
        kopie.Execute(QStringLiteral("DELETE FROM [VELD_BASIS] WHERE [ID]=?"), {id});
    }
}

void KOPIEBASIS::ABGEGLICHEN(Connection& kopie) {
    kopie.Execute(kTabellen);
    kopie.Execute(QStringLiteral("DELETE FROM [VELD_BASIS]; DELETE FROM [VELD_BASISSTAND]"));
}
