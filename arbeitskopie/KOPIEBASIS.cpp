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
#include <algorithm>
#include <optional>
#include <set>
#include <unistd.h>
#include <vector>

namespace {

const QString kTabellen =
    QStringLiteral("CREATE TABLE IF NOT EXISTS [VELD_BASIS] ([ID] INTEGER PRIMARY KEY, "
                   "[E1BEKANNT] INTEGER, [E1DA] INTEGER, [KEN], [D] BLOB);"
                   "CREATE TABLE IF NOT EXISTS [VELD_BASISSTAND] ([UNBEKANNT] INTEGER);"
                   "CREATE TABLE IF NOT EXISTS [VELD_BASISABDRUCK] ([ABDRUCK] TEXT)");

// The file change counter that the program's own last write into the copy
// left, and whether anything else wrote into it since it last met the
// project as a whole.
const QString kZaehler =
    QStringLiteral("CREATE TABLE IF NOT EXISTS [VELD_ZAEHLER] ([Z] INTEGER, [FREMD] INTEGER)");

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
    db.Execute(kTabellen);
    if (!basisDa && !mitBasis)
        db.Execute(QStringLiteral("INSERT INTO [VELD_BASISSTAND] VALUES (1)"));
    KOPIEBASIS::GESCHRIEBEN(db, true);
    transaktion.Commit();
}

// The project contents the copy last met as a whole.
const QString kProjektstand =
    QStringLiteral("CREATE TABLE IF NOT EXISTS [VELD_PROJEKTSTAND] ([ABDRUCK] TEXT)");

// The base kept beside while a Save is open: the rows of VELD_BASIS before,
// and the content the copy meets, the one before and whether it had none.
const QString kVorher =
    QStringLiteral("CREATE TABLE IF NOT EXISTS [VELD_BASISVORHER] ([ID] INTEGER PRIMARY KEY, "
                   "[E1BEKANNT] INTEGER, [E1DA] INTEGER, [KEN], [D] BLOB);"
                   "CREATE TABLE IF NOT EXISTS [VELD_BASISOFFEN] ([NEU] TEXT, [ALT] TEXT, "
                   "[UNBEKANNT] INTEGER)");

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

// Whether the file keeps a base: its tables, no row saying it has none, and
// no Save open.
bool mitBasis(Connection& db) {
    return tabellen(db, false) == 2 &&
           Recordset(QStringLiteral("SELECT 1 FROM [VELD_BASISSTAND]"), db).Eof() && !offen(db);
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

// A row of the base: what changed of a record key's rows since the copy
// met the project, and its identifier before where that is known.
struct BasisZeile {
    qint64 id;
    bool bekannt, da;
    QVariant ken;
    RowSum d;
};

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

} // namespace

namespace {
// Whether the table naming the project has the user's column (a kept file's
// has none).
bool mitBenutzer(Connection& db) {
    for (const Connection::TableColumn& spalte : db.TableColumns(QStringLiteral("VELD_HERKUNFT")))
        if (spalte.name.compare(QLatin1String("BENUTZER"), Qt::CaseInsensitive) == 0) return true;
    return false;
}

// The table a copy and a kept file name their project in (a kept file
// writes only its project).
void herkunftSetzen(Connection& db, const QString& projektdatenbank, const QString& benutzer) {
    db.Execute(QStringLiteral("CREATE TABLE IF NOT EXISTS [VELD_HERKUNFT] ([PROJEKT] TEXT, "
                              "[BENUTZER] TEXT)"));
    if (!hatTabelle(db, "VELD_HERKUNFT")) return;
    if (!mitBenutzer(db))
        db.Execute(QStringLiteral("ALTER TABLE [VELD_HERKUNFT] ADD COLUMN [BENUTZER] TEXT"));
    db.Execute(QStringLiteral("DELETE FROM [VELD_HERKUNFT]"));
    db.Execute(QStringLiteral("INSERT INTO [VELD_HERKUNFT] ([PROJEKT],[BENUTZER]) VALUES (?,?)"),
               {projektdatenbank, benutzer});
}
} // namespace

void KOPIEBASIS::NEU(const QString& datei, const DatabaseMark& abdruck,
                     const QString& projektdatenbank, const QString& benutzer) {
    {
        // The file is not the copy yet: a run killed meanwhile leaves it for
        // the next fresh copy to remove. So it is written without a journal,
        // and put on the disk once, before it takes the copy's place.
        Connection db(datei);
        db.Execute(QStringLiteral("PRAGMA journal_mode=OFF"));
        db.Execute(QStringLiteral("PRAGMA synchronous=OFF"));
        db.Execute(QStringLiteral("DROP TABLE IF EXISTS [VELD_BASIS];"
                                  "DROP TABLE IF EXISTS [VELD_BASISSTAND];"
                                  "DROP TABLE IF EXISTS [VELD_ZAEHLER]"));
        db.Execute(kTabellen);
        abdruckSetzen(db, abdruck);
        PROJEKTSTAENDESETZEN(db, {abdruck});
        if (!projektdatenbank.isEmpty()) herkunftSetzen(db, projektdatenbank, benutzer);
        db.BeginTrans();
        GESCHRIEBEN(db, true);
        db.CommitTrans();
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
    } else if (!hatTabelle(kopie, "VELD_ZAEHLER")) {
        // A copy of a program that kept no counter: its base is taken as
        // its own.
        Connection eigene(kopie.Path());
        Transaction transaktion(eigene);
        GESCHRIEBEN(eigene, true);
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

KOPIEBASIS::STAENDE KOPIEBASIS::lesen(Connection& kopie, const QSet<QString>* schluessel) {
    const bool basis = mitBasis(kopie);
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
    if (FREMD(kopie) || !mitBasis(kopie)) return true;
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

void KOPIEBASIS::VORGEMERKT(Connection& kopie, const DatabaseMark& neu) {
    kopie.Execute(kTabellen);
    kopie.Execute(kVorher);
    // A Save open before is settled by its caller first; none is left here.
    kopie.Execute(QStringLiteral("DELETE FROM [VELD_BASISVORHER]; DELETE FROM [VELD_BASISOFFEN]"));
    const bool unbekannt =
        !Recordset(QStringLiteral("SELECT 1 FROM [VELD_BASISSTAND]"), kopie).Eof();
    kopie.Execute(QStringLiteral("INSERT INTO [VELD_BASISOFFEN] VALUES (?,?,?)"),
                  {neu.ToText(), gespeicherterAbdruck(kopie).ToText(), unbekannt});
    kopie.Execute(QStringLiteral("INSERT INTO [VELD_BASISVORHER] SELECT * FROM [VELD_BASIS]"));
    ABGEGLICHEN(kopie, neu);
    GESCHRIEBEN(kopie);
}

void KOPIEBASIS::BESTAETIGT(Connection& kopie) {
    if (!hatTabelle(kopie, "VELD_BASISOFFEN")) return;
    // The project is the content the Save wrote, and only that.
    if (const std::optional<DatabaseMark> neu = offen(kopie)) PROJEKTSTAENDESETZEN(kopie, {*neu});
    kopie.Execute(QStringLiteral("DELETE FROM [VELD_BASISVORHER]; DELETE FROM [VELD_BASISOFFEN]"));
    // The project holds the copy whole now, whatever wrote into it.
    GESCHRIEBEN(kopie, true);
}

void KOPIEBASIS::ZURUECK(Connection& kopie) {
    if (!offen(kopie)) return;
    Recordset alt(QStringLiteral("SELECT [ALT],[UNBEKANNT] FROM [VELD_BASISOFFEN]"), kopie);
    const DatabaseMark abdruck = DatabaseMark::FromText(alt.Fields(0).Value().toString());
    const bool unbekannt = CBool(alt.Fields(1).Value());
    alt.Close();
    // The project never became what the Save wrote: it is one of the
    // contents met before.
    if (const std::optional<DatabaseMark> neu = offen(kopie)) {
        QList<DatabaseMark> staende = PROJEKTSTAENDE(kopie).value_or(QList<DatabaseMark>());
        staende.removeIf([&](const DatabaseMark& m) { return m.Same(*neu); });
        PROJEKTSTAENDESETZEN(kopie, staende);
    }
    // Each record's change before the Save and since add up; what it was
    // before its first change is what the base before says.
    for (const BasisZeile& z : basiszeilen(kopie, QStringLiteral("VELD_BASISVORHER")))
        hinzufuegen(kopie, z, true);
    if (unbekannt) kopie.Execute(QStringLiteral("INSERT INTO [VELD_BASISSTAND] VALUES (1)"));
    abdruckSetzen(kopie, abdruck);
    kopie.Execute(QStringLiteral("DELETE FROM [VELD_BASISVORHER]; DELETE FROM [VELD_BASISOFFEN]"));
    GESCHRIEBEN(kopie);
}

std::optional<QList<DatabaseMark>> KOPIEBASIS::PROJEKTSTAENDE(Connection& kopie) {
    if (!hatTabelle(kopie, "VELD_PROJEKTSTAND")) return std::nullopt;
    QList<DatabaseMark> staende;
    for (Recordset rs(QStringLiteral("SELECT [ABDRUCK] FROM [VELD_PROJEKTSTAND] ORDER BY rowid"),
                      kopie);
         !rs.Eof(); rs.MoveNext()) {
        const DatabaseMark stand = DatabaseMark::FromText(rs.Fields(0).Value().toString());
        if (stand.known) staende << stand;
    }
    return staende;
}

void KOPIEBASIS::PROJEKTSTAENDESETZEN(Connection& kopie, const QList<DatabaseMark>& staende) {
    kopie.Execute(kProjektstand);
    kopie.Execute(QStringLiteral("DELETE FROM [VELD_PROJEKTSTAND]"));
    for (const DatabaseMark& stand : staende)
        if (stand.known)
            kopie.Execute(QStringLiteral("INSERT INTO [VELD_PROJEKTSTAND] VALUES (?)"),
                          {stand.ToText()});
}

std::optional<DatabaseMark> KOPIEBASIS::OFFEN(Connection& kopie) {
    return offen(kopie);
}

void KOPIEBASIS::AUSDATEI(Connection& kopie, Connection& datei, const QStringList& schluessel,
                          const std::map<qint64, QString>& vorher) {
    if (!mitBasis(datei) || FREMD(datei)) return;
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

void KOPIEBASIS::GESCHRIEBEN(Connection& kopie, bool ganz, const std::optional<quint32>& zuBeginn) {
    // What the last commit left, read (unless given) before anything of a
    // small transaction reaches the file. This transaction's commit raises
    // it by one.
    const std::optional<quint32> zaehler = zuBeginn ? zuBeginn : FileChangeCounter(kopie);
    kopie.Execute(kZaehler);
    bool fremd = !ganz;
    if (!ganz) {
        Recordset rs(QStringLiteral("SELECT [Z],[FREMD] FROM [VELD_ZAEHLER]"), kopie);
        fremd = !zaehler || rs.Eof() || CBool(rs.Fields(1).Value()) ||
                IsNull(rs.Fields(0).Value()) || rs.Fields(0).Value().toLongLong() != *zaehler;
    }
    kopie.Execute(QStringLiteral("DELETE FROM [VELD_ZAEHLER]"));
    kopie.Execute(QStringLiteral("INSERT INTO [VELD_ZAEHLER] VALUES (?,?)"),
                  {zaehler ? QVariant(qlonglong(quint32(*zaehler + 1))) : QVariant(), fremd});
}

bool KOPIEBASIS::FREMD(Connection& kopie) {
    const std::optional<quint32> zaehler = FileChangeCounter(kopie);
    if (!zaehler || !hatTabelle(kopie, "VELD_ZAEHLER")) return true;
    Recordset rs(QStringLiteral("SELECT [Z],[FREMD] FROM [VELD_ZAEHLER]"), kopie);
    return rs.Eof() || CBool(rs.Fields(1).Value()) || IsNull(rs.Fields(0).Value()) ||
           rs.Fields(0).Value().toLongLong() != *zaehler;
}

void KOPIEBASIS::STEMPELN(const QString& kopie, bool fremd) {
    Connection db(kopie);
    Transaction transaktion(db);
    GESCHRIEBEN(db, !fremd);
    if (fremd) db.Execute(QStringLiteral("UPDATE [VELD_ZAEHLER] SET [FREMD]=1"));
    transaktion.Commit();
}

void KOPIEBASIS::ALSPROJEKT(Connection& kopie, const DatabaseMark& abdruck,
                            const QString& projektdatenbank, const QString& benutzer) {
    Transaction transaktion(kopie);
    kopie.Execute(kTabellen);
    kopie.Execute(kVorher);
    kopie.Execute(QStringLiteral("DELETE FROM [VELD_BASIS]; DELETE FROM [VELD_BASISSTAND]; "
                                 "DELETE FROM [VELD_BASISVORHER]; DELETE FROM [VELD_BASISOFFEN]"));
    abdruckSetzen(kopie, abdruck);
    PROJEKTSTAENDESETZEN(kopie, {abdruck});
    herkunftSetzen(kopie, projektdatenbank, benutzer);
    GESCHRIEBEN(kopie, true);
    transaktion.Commit();
}

std::optional<KOPIEBASIS::HERKUNFT> KOPIEBASIS::HERKUNFTLESEN(Connection& kopie) {
    if (!hatTabelle(kopie, "VELD_HERKUNFT")) return std::nullopt;
    Recordset rs(mitBenutzer(kopie)
                     ? QStringLiteral("SELECT [PROJEKT],[BENUTZER] FROM [VELD_HERKUNFT]")
                     : QStringLiteral("SELECT [PROJEKT],NULL FROM [VELD_HERKUNFT]"),
                 kopie);
    if (rs.Eof() || IsNull(rs.Fields(0).Value())) return std::nullopt;
    return HERKUNFT{rs.Fields(0).Value().toString(),
                    IsNull(rs.Fields(1).Value()) ? QString() : rs.Fields(1).Value().toString()};
}
