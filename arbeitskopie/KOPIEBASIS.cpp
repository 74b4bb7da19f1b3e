#include "arbeitskopie/KOPIEBASIS.h"

#include "arbeitskopie/KOPIEBASIS_Intern.h"

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
#include <algorithm>
#include <optional>
#include <set>
#include <unistd.h>
#include <vector>

namespace kopiebasis {

const QString kTabellen =
    QStringLiteral("CREATE TABLE IF NOT EXISTS [VELD_BASIS] ([ID] INTEGER PRIMARY KEY, "
                   "[E1BEKANNT] INTEGER, [E1DA] INTEGER, [KEN], [D] BLOB);"
                   "CREATE TABLE IF NOT EXISTS [VELD_BASISSTAND] ([UNBEKANNT] INTEGER);"
                   "CREATE TABLE IF NOT EXISTS [VELD_BASISABDRUCK] ([ABDRUCK] TEXT)");

// How many of the base's tables the file has: the base itself (VELD_BASIS,
// VELD_BASISSTAND) and the mark of the project content it is of.
int tabellen(Connection& db, bool mitAbdruck) {
    Recordset rs(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type='table' AND "
                                "name IN ('VELD_BASIS','VELD_BASISSTAND',?)"),
                 db, {mitAbdruck ? QStringLiteral("VELD_BASISABDRUCK") : QString()});
    return CLng(rs.Fields(0).Value());
}

bool hatTabellen(Connection& db) {
    return tabellen(db, true) == 3;
}

// Where tables are missing: made, with a base of its own or none. A copy
// that has its base but not the mark of its content gets none: it is read
// whole until it next meets the project.
void tabellenAnlegen(Connection& db, bool mitBasis) {
    Transaction transaktion(db);
    if (hatTabellen(db)) return;
    const bool basisDa = tabellen(db, false) == 2;
    const bool zaehlerDa = hatTabelle(db, "VELD_ZAEHLER");
    db.Execute(kTabellen);
    if (!basisDa && !mitBasis)
        db.Execute(QStringLiteral("INSERT INTO [VELD_BASISSTAND] VALUES (1)"));
    // A copy without its counter counts as written by another.
    KOPIEBASIS::GESCHRIEBEN(db, zaehlerDa);
    transaktion.Commit();
}

// The base kept beside while a Save is open: the rows of VELD_BASIS before,
// and the content the copy meets, the one before and whether it had none,
// and the project content the Save replaces.
const QString kVorher =
    QStringLiteral("CREATE TABLE IF NOT EXISTS [VELD_BASISVORHER] ([ID] INTEGER PRIMARY KEY, "
                   "[E1BEKANNT] INTEGER, [E1DA] INTEGER, [KEN], [D] BLOB);"
                   "CREATE TABLE IF NOT EXISTS [VELD_BASISOFFEN] ([NEU] TEXT, [ALT] TEXT, "
                   "[UNBEKANNT] INTEGER, [ERSETZT] TEXT)");

bool hatTabelle(Connection& db, const char* name) {
    return !Recordset(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type='table' AND name=?"),
                      db, {QString::fromLatin1(name)})
                .Eof();
}

// The content a Save open in the copy meets (nullopt for none).
std::optional<DatabaseMark> offen(Connection& db) {
    if (!hatTabelle(db, "VELD_BASISOFFEN")) return std::nullopt;
    Recordset rs(QStringLiteral("SELECT [NEU] FROM [VELD_BASISOFFEN]"), db);
    if (rs.Eof()) return std::nullopt;
    return DatabaseMark::FromText(rs.Fields(0).Value().toString());
}

// Whether the file keeps a base that can be believed: its tables, no row
// saying it has none, no Save open, and nothing beside the program wrote
// into it since it last met the project. The one place that decides it.
// `gesehen`: the base as far as the program's own journal saw, also where
// something beside it wrote (for a kept file, whose run's own changes are
// what its journal saw).
bool mitBasis(Connection& db, bool gesehen = false) {
    return tabellen(db, false) == 2 &&
           Recordset(QStringLiteral("SELECT 1 FROM [VELD_BASISSTAND]"), db).Eof() && !offen(db) &&
           (gesehen || !KOPIEBASIS::FREMD(db));
}

DatabaseMark gespeicherterAbdruck(Connection& kopie) {
    Recordset rs(QStringLiteral("SELECT [ABDRUCK] FROM [VELD_BASISABDRUCK]"), kopie);
    return rs.Eof() ? DatabaseMark() : DatabaseMark::FromText(rs.Fields(0).Value().toString());
}

// The project content that every record without a row of VELD_BASIS holds
// as the copy does; written only where it changes, as its write is one of
// the copy's.
void abdruckSetzen(Connection& kopie, const DatabaseMark& abdruck) {
    const DatabaseMark bisher = gespeicherterAbdruck(kopie);
    if (bisher.known == abdruck.known && (!abdruck.known || bisher.Same(abdruck))) return;
    kopie.Execute(QStringLiteral("DELETE FROM [VELD_BASISABDRUCK]"));
    if (abdruck.known)
        kopie.Execute(QStringLiteral("INSERT INTO [VELD_BASISABDRUCK] VALUES (?)"),
                      {abdruck.ToText()});
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

std::vector<BasisZeile> basiszeilen(Connection& db, const QString& tabelle) {
    std::vector<BasisZeile> zeilen;
    for (Recordset rs(QStringLiteral("SELECT [ID],[E1BEKANNT],[E1DA],[KEN],[D] FROM %1")
                          .arg(SqlName(tabelle)),
                      db);
         !rs.Eof(); rs.MoveNext())
        zeilen.push_back({rs.Fields(0).Value().toLongLong(), CBool(rs.Fields(1).Value()),
                          CBool(rs.Fields(2).Value()), rs.Fields(3).Value(),
                          summe(rs.Fields(4).Value())});
    return zeilen;
}

// One row of the base written as it is; a record that was not there before
// needs no rows before.
void zeileSchreiben(Connection& kopie, const BasisZeile& z) {
    const bool keiner = z.id != 0 && z.bekannt && !z.da;
    kopie.Execute(QStringLiteral("INSERT OR REPLACE INTO [VELD_BASIS] "
                                 "([ID],[E1BEKANNT],[E1DA],[KEN],[D]) VALUES (?,?,?,?,?)"),
                  {z.id, z.bekannt, z.da, keiner ? QVariant() : z.ken,
                   keiner ? QVariant() : QVariant(summe(z.d))});
}

// A change of a record added to the row the base holds for it: the two
// changes add up, and what the record was before is what the earlier of
// the two found (`frueher`: the change given is the earlier one).
void hinzufuegen(Connection& kopie, BasisZeile z, bool frueher) {
    Recordset rs(QStringLiteral("SELECT [E1BEKANNT],[E1DA],[KEN],[D] FROM [VELD_BASIS] "
                                "WHERE [ID]=?"),
                 kopie, {z.id});
    if (!rs.Eof()) {
        const RowSum andere = summe(rs.Fields(3).Value());
        z.d.a += andere.a;
        z.d.b += andere.b;
        z.d.count += andere.count;
        if (CBool(rs.Fields(0).Value()) && !(frueher && z.bekannt)) {
            z.bekannt = true;
            z.da = CBool(rs.Fields(1).Value());
            z.ken = rs.Fields(2).Value();
        }
    }
    rs.Close();
    zeileSchreiben(kopie, z);
}

// What the transaction about to commit changed of each record, added to
// what the copy keeps of it since it last met the project. What a record
// was before its first change stays as the first change found it.
void behalten(Connection& kopie, const RowJournal::Changes& aenderungen) {
    // Tables another program dropped under the run come back empty: the run
    // stores on, and the copy's counter tells that its base is not whole.
    kopie.Execute(kTabellen);
    for (const auto& [id, vorher] : aenderungen)
        hinzufuegen(kopie, {id, vorher.headSeen, vorher.headThere, vorher.head, vorher.change},
                    false);
    KOPIEBASIS::GESCHRIEBEN(kopie, false,
                            kopie.Journal() ? kopie.Journal()->CounterAtBegin() : std::nullopt);
}

// What the records were before: their rows now and what changed of them,
// under their identifiers before. `umbenannt`, where given, gets the
// records under another identifier now than before.
void zurBasis(DATENSATZSTAENDE::ROH& roh, const std::vector<BasisZeile>& zeilen,
              QHash<QString, QString>* umbenannt) {
    for (const BasisZeile& zeile : zeilen) {
        RowSum& jetzt = roh.summen[zeile.id];
        jetzt.a += zeile.d.a;
        jetzt.b += zeile.d.b;
        jetzt.count += zeile.d.count;
        if (zeile.id == 0 || !zeile.bekannt) continue;
        if (zeile.da) {
            const auto nun = roh.kennungen.find(zeile.id);
            if (umbenannt && nun != roh.kennungen.end()) {
                const QString vorher = DATENSATZSTAENDE::SCHLUESSEL(zeile.ken);
                const QString nachher = DATENSATZSTAENDE::SCHLUESSEL(nun->second);
                if (vorher != nachher) umbenannt->insert(vorher, nachher);
            }
            roh.kennungen[zeile.id] = zeile.ken;
        } else {
            roh.kennungen.erase(zeile.id);
        }
    }
}

// A record's row of the base written anew (the journal's changes of it in
// the open transaction forgotten): what changed since its base `vorher`
// (nullopt: it was no record) to its rows `jetzt`.
void basisSetzen(Connection& kopie, qint64 id, const std::optional<RowSum>& vorher,
                 const RowSum& jetzt, const QVariant& ken, bool bekannt) {
    if (kopie.Journal()) kopie.Journal()->Forget(id);
    RowSum d;
    if (vorher) {
        d.a = vorher->a - jetzt.a;
        d.b = vorher->b - jetzt.b;
        d.count = vorher->count - jetzt.count;
    }
    zeileSchreiben(kopie, {id, bekannt, bekannt && vorher.has_value(), ken, d});
}

} // namespace kopiebasis

using namespace kopiebasis;

void KOPIEBASIS::EINRICHTEN(Connection& kopie, bool unveraendert) {
    if (!hatTabellen(kopie)) {
        // Through a connection of its own, so that making them passes no
        // guard of this one: they are no change of the user's.
        Connection eigene(kopie.Path());
        tabellenAnlegen(eigene, unveraendert);
        kopie.SchemaChanged();
    } else if (!hatTabelle(kopie, "VELD_ZAEHLER")) {
        // Without its counter nothing tells that only the program wrote into
        // the copy (another program dropped the table, or a program before
        // the counter made the copy): its base tells nothing until the copy
        // next meets the project whole.
        Connection eigene(kopie.Path());
        Transaction transaktion(eigene);
        GESCHRIEBEN(eigene);
        transaktion.Commit();
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
    return lesen(kopie, nullptr);
}

KOPIEBASIS::STAENDE KOPIEBASIS::LESEN(Connection& kopie, const QSet<QString>& schluessel) {
    return lesen(kopie, &schluessel);
}

KOPIEBASIS::STAENDE KOPIEBASIS::GESEHEN(Connection& kopie) {
    return lesen(kopie, nullptr, true);
}

KOPIEBASIS::STAENDE KOPIEBASIS::lesen(Connection& kopie, const QSet<QString>* schluessel,
                                      bool gesehen) {
    const bool basis = mitBasis(kopie, gesehen);
    const std::vector<BasisZeile> zeilen =
        basis ? basiszeilen(kopie, QStringLiteral("VELD_BASIS")) : std::vector<BasisZeile>();
    // Only some records: those under the identifiers asked for and every
    // record written since, whose identifier before may be one of them.
    std::optional<std::set<qint64>> nur;
    if (schluessel) {
        nur = DATENSATZSTAENDE::DATENSATZSCHLUESSEL(kopie, *schluessel);
        for (const BasisZeile& zeile : zeilen)
            nur->insert(zeile.id);
    }
    DATENSATZSTAENDE::ROH roh = DATENSATZSTAENDE::ROHLESEN(kopie, nur ? &*nur : nullptr);
    STAENDE staende{DATENSATZSTAENDE::AUSROH(roh), std::nullopt, {}};
    if (!basis) return staende;
    zurBasis(roh, zeilen, &staende.umbenannt);
    staende.basis = DATENSATZSTAENDE::AUSROH(roh);
    return staende;
}

DatabaseMark KOPIEBASIS::ABDRUCK(Connection& kopie) {
    if (!hatTabellen(kopie) || !mitBasis(kopie)) return DatabaseMark();
    return gespeicherterAbdruck(kopie);
}

namespace {
// The identifiers of the records written since the copy met the project,
// as they were before and as they are now.
QSet<QString> geschrieben(Connection& kopie) {
    QSet<QString> schluessel;
    for (Recordset rs(QStringLiteral("SELECT b.[ID], b.[E1BEKANNT], b.[E1DA], b.[KEN], "
                                     "e.[ID] IS NOT NULL, e.[KEN] FROM [VELD_BASIS] AS b "
                                     "LEFT JOIN [E1] AS e ON e.[ID]=b.[ID]"),
                      kopie);
         !rs.Eof(); rs.MoveNext()) {
        if (rs.Fields(0).Value().toLongLong() == 0) {
            schluessel.insert(DATENSATZSTAENDE::kProjektzeilen);
            continue;
        }
        if (CBool(rs.Fields(1).Value()) && CBool(rs.Fields(2).Value()))
            schluessel.insert(DATENSATZSTAENDE::SCHLUESSEL(rs.Fields(3).Value()));
        if (CBool(rs.Fields(4).Value()))
            schluessel.insert(DATENSATZSTAENDE::SCHLUESSEL(rs.Fields(5).Value()));
    }
    return schluessel;
}
} // namespace

KOPIEBASIS::AENDERUNGEN KOPIEBASIS::GEAENDERT(Connection& kopie) {
    AENDERUNGEN aenderungen;
    aenderungen.abdruck = ABDRUCK(kopie);
    if (aenderungen.abdruck.known) aenderungen.schluessel = geschrieben(kopie);
    return aenderungen;
}

bool KOPIEBASIS::VERAENDERT(Connection& kopie) {
    if (!mitBasis(kopie)) return true;
    const QSet<QString> schluessel = geschrieben(kopie);
    if (schluessel.isEmpty()) return false;
    // Only what was written since: a record changed and changed back, or a
    // test opened and stored as it was, is no change.
    const STAENDE staende = LESEN(kopie, schluessel);
    return !staende.basis || !(*staende.basis == staende.kopie);
}

qint64 KOPIEBASIS::FREIAB(Connection& kopie) {
    if (tabellen(kopie, false) != 2) return 1;
    Recordset rs(QStringLiteral("SELECT Max([ID]) FROM [VELD_BASIS]"), kopie);
    const QVariant hoechster = rs.Fields(0).Value();
    return IsNull(hoechster) ? 1 : std::max<qint64>(hoechster.toLongLong() + 1, 1);
}

void KOPIEBASIS::ABGEGLICHEN(Connection& kopie, const QList<qint64>& schluessel,
                             const DatabaseMark& abdruck) {
    for (const qint64 id : schluessel) {
        if (kopie.Journal()) kopie.Journal()->Forget(id);
        kopie.Execute(QStringLiteral("DELETE FROM [VELD_BASIS] WHERE [ID]=?"), {id});
    }
    abdruckSetzen(kopie, abdruck);
}

void KOPIEBASIS::ABGEGLICHEN(Connection& kopie, const DatabaseMark& abdruck) {
    kopie.Execute(kTabellen);
    kopie.Execute(QStringLiteral("DELETE FROM [VELD_BASIS]; DELETE FROM [VELD_BASISSTAND]"));
    abdruckSetzen(kopie, abdruck);
}

void KOPIEBASIS::AUSDATEI(Connection& kopie, Connection& datei, const QStringList& schluessel,
                          const std::map<qint64, QString>& vorher) {
    if (!mitBasis(datei)) return;
    DATENSATZSTAENDE::ROH basis = DATENSATZSTAENDE::ROHLESEN(datei);
    zurBasis(basis, basiszeilen(datei, QStringLiteral("VELD_BASIS")), nullptr);
    QHash<QString, QList<qint64>> inBasis, inKopie;
    for (const auto& [id, ken] : basis.kennungen)
        inBasis[DATENSATZSTAENDE::SCHLUESSEL(ken)] << id;
    const QSet<QString> gesucht(schluessel.cbegin(), schluessel.cend());
    std::set<qint64> ids = DATENSATZSTAENDE::DATENSATZSCHLUESSEL(kopie, gesucht);
    for (const auto& [id, s] : vorher)
        ids.insert(id);
    const DATENSATZSTAENDE::ROH jetzt = DATENSATZSTAENDE::ROHLESEN(kopie, &ids);
    for (const auto& [id, ken] : jetzt.kennungen)
        inKopie[DATENSATZSTAENDE::SCHLUESSEL(ken)] << id;
    for (const auto& [id, s] : vorher)
        if (!inKopie[s].contains(id)) inKopie[s] << id;
    const auto summeVon = [](const DATENSATZSTAENDE::ROH& roh, qint64 id) {
        const auto it = roh.summen.find(id);
        return it == roh.summen.end() ? RowSum() : it->second;
    };
    for (const QString& s : schluessel) {
        if (s == DATENSATZSTAENDE::kProjektzeilen) {
            basisSetzen(kopie, 0, summeVon(basis, 0), summeVon(jetzt, 0), QVariant(), false);
            continue;
        }
        // Only where the record is one on each side: several under one
        // identifier stay as the take left them.
        const QList<qint64> dort = inBasis.value(s), hier = inKopie.value(s);
        if (dort.size() > 1 || hier.size() != 1) continue;
        basisSetzen(kopie, hier.front(),
                    dort.isEmpty() ? std::nullopt
                                   : std::optional<RowSum>(summeVon(basis, dort.front())),
                    summeVon(jetzt, hier.front()),
                    dort.isEmpty() ? QVariant() : basis.kennungen.at(dort.front()), true);
    }
}
