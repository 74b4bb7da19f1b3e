// The copy as it stands to its project: which project and user it
// belongs to, the project content it last met, whether only the program
// wrote into it since, and a Save that is open in it (the copy meets the
// new project before that project takes the old one's place).

#include "arbeitskopie/KOPIEBASIS.h"

#include "arbeitskopie/KOPIEBASIS_Intern.h"
#include "platform/database/Connection.h"
#include "platform/database/DatabaseError.h"
#include "platform/database/Recordset.h"
#include "platform/database/RowJournal.h"
#include "platform/database/Sql.h"
#include "platform/database/Transaction.h"
#include "platform/runtime/Variant.h"

#include <QFile>
#include <set>
#include <unistd.h>

using namespace kopiebasis;

namespace {
// The file change counter that the program's own last write into the copy
// left, and whether anything else wrote into it since it last met the
// project as a whole.
const QString kZaehler =
    QStringLiteral("CREATE TABLE IF NOT EXISTS [VELD_ZAEHLER] ([Z] INTEGER, [FREMD] INTEGER)");

// The project contents the copy last met as a whole.
const QString kProjektstand =
    QStringLiteral("CREATE TABLE IF NOT EXISTS [VELD_PROJEKTSTAND] ([ABDRUCK] TEXT)");

bool mitSpalte(Connection& db, const char* tabelle, const char* name) {
    for (const Connection::TableColumn& spalte : db.TableColumns(QString::fromLatin1(tabelle)))
        if (spalte.name.compare(QLatin1String(name), Qt::CaseInsensitive) == 0) return true;
    return false;
}

// Whether the table naming the project has the user's column (a kept file's
// has none).
bool mitBenutzer(Connection& db) {
    return mitSpalte(db, "VELD_HERKUNFT", "BENUTZER");
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

// Whether the engine's file change counter is the one that the program's
// own last write into the copy left (its FREMD row aside). In a writing
// transaction of the copy's connection, that write may be in it already
// and leaves the counter one up at its commit.
bool zaehlerStimmt(Connection& kopie, const QVariant& geschrieben) {
    const std::optional<quint32> zaehler = FileChangeCounter(kopie);
    if (!zaehler || IsNull(geschrieben)) return false;
    const qint64 z = geschrieben.toLongLong();
    if (z == qint64(*zaehler)) return true;
    if (!kopie.HoldsWriteLock()) return false;
    // The counter the transaction began with (the engine may have put a
    // page of it on the disk before its commit).
    const RowJournal* journal = kopie.Journal();
    const quint32 beginn =
        journal && journal->CounterAtBegin() ? *journal->CounterAtBegin() : *zaehler;
    return z == qint64(beginn) || z == qint64(quint32(beginn + 1));
}
} // namespace

const QStringList& KOPIEBASIS::TABELLEN() {
    static const QStringList tabellen = {
        QStringLiteral("VELD_BASIS"),        QStringLiteral("VELD_BASISSTAND"),
        QStringLiteral("VELD_BASISABDRUCK"), QStringLiteral("VELD_BASISVORHER"),
        QStringLiteral("VELD_BASISOFFEN"),   QStringLiteral("VELD_PROJEKTSTAND"),
        QStringLiteral("VELD_HERKUNFT"),     QStringLiteral("VELD_ZAEHLER")};
    return tabellen;
}

void KOPIEBASIS::NEU(const QString& datei, const DatabaseMark& abdruck,
                     const QString& projektdatenbank, const QString& benutzer) {
    {
        // The file is not the copy yet: a run killed meanwhile leaves it for
        // the next fresh copy to remove. So it is written without a journal,
        // and put on the disk once, before it takes the copy's place.
        Connection db(datei);
        db.Execute(QStringLiteral("PRAGMA journal_mode=OFF"));
        db.Execute(QStringLiteral("PRAGMA synchronous=OFF"));
        // Whatever bookkeeping the project file holds (written by a program
        // before Saves left it out) is another copy's.
        for (const QString& tabelle : TABELLEN())
            db.Execute(QStringLiteral("DROP TABLE IF EXISTS %1").arg(SqlName(tabelle)));
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
    if (!hatTabelle(kopie, "VELD_ZAEHLER")) return true;
    Recordset rs(QStringLiteral("SELECT [Z],[FREMD] FROM [VELD_ZAEHLER]"), kopie);
    return rs.Eof() || CBool(rs.Fields(1).Value()) || !zaehlerStimmt(kopie, rs.Fields(0).Value());
}

void KOPIEBASIS::STEMPELN(const QString& kopie, bool fremd) {
    Connection db(kopie);
    Transaction transaktion(db);
    GESCHRIEBEN(db, !fremd);
    if (fremd) db.Execute(QStringLiteral("UPDATE [VELD_ZAEHLER] SET [FREMD]=1"));
    transaktion.Commit();
}

void KOPIEBASIS::VORGEMERKT(Connection& kopie, const DatabaseMark& neu,
                            const DatabaseMark& ersetzt) {
    kopie.Execute(kTabellen);
    kopie.Execute(kVorher);
    // A copy made before the Save kept what it replaces.
    if (!mitSpalte(kopie, "VELD_BASISOFFEN", "ERSETZT"))
        kopie.Execute(QStringLiteral("ALTER TABLE [VELD_BASISOFFEN] ADD COLUMN [ERSETZT] TEXT"));
    // A Save open before is settled by its caller first; none is left here.
    kopie.Execute(QStringLiteral("DELETE FROM [VELD_BASISVORHER]; DELETE FROM [VELD_BASISOFFEN]"));
    const bool unbekannt =
        !Recordset(QStringLiteral("SELECT 1 FROM [VELD_BASISSTAND]"), kopie).Eof();
    kopie.Execute(
        QStringLiteral("INSERT INTO [VELD_BASISOFFEN] ([NEU],[ALT],[UNBEKANNT],"
                       "[ERSETZT]) VALUES (?,?,?,?)"),
        {neu.ToText(), gespeicherterAbdruck(kopie).ToText(), unbekannt, ersetzt.ToText()});
    kopie.Execute(QStringLiteral("INSERT INTO [VELD_BASISVORHER] SELECT * FROM [VELD_BASIS]"));
    ABGEGLICHEN(kopie, neu);
    GESCHRIEBEN(kopie);
}

void KOPIEBASIS::BESTAETIGT(Connection& kopie) {
    if (!hatTabelle(kopie, "VELD_BASISOFFEN")) return;
    // A write beside the program since the Save's own (its run killed, the
    // copy left to others) is not in the project. Asked before this writes.
    bool seither = true;
    if (hatTabelle(kopie, "VELD_ZAEHLER")) {
        Recordset rs(QStringLiteral("SELECT [Z] FROM [VELD_ZAEHLER]"), kopie);
        seither = rs.Eof() || !zaehlerStimmt(kopie, rs.Fields(0).Value());
    }
    // The project is the content the Save wrote, and only that.
    if (const std::optional<DatabaseMark> neu = offen(kopie)) PROJEKTSTAENDESETZEN(kopie, {*neu});
    kopie.Execute(QStringLiteral("DELETE FROM [VELD_BASISVORHER]; DELETE FROM [VELD_BASISOFFEN]"));
    // The project holds the copy whole now, whatever wrote into it before
    // the Save.
    GESCHRIEBEN(kopie, true);
    if (seither) kopie.Execute(QStringLiteral("UPDATE [VELD_ZAEHLER] SET [FREMD]=1"));
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

std::optional<DatabaseMark> KOPIEBASIS::OFFEN(Connection& kopie) {
    return offen(kopie);
}

QList<DatabaseMark> KOPIEBASIS::VORHERSTAENDE(Connection& kopie) {
    const std::optional<DatabaseMark> neu = offen(kopie);
    if (!neu) return {};
    QList<DatabaseMark> staende = PROJEKTSTAENDE(kopie).value_or(QList<DatabaseMark>());
    staende.removeIf([&](const DatabaseMark& m) { return m.Same(*neu); });
    if (mitSpalte(kopie, "VELD_BASISOFFEN", "ERSETZT")) {
        Recordset rs(QStringLiteral("SELECT [ERSETZT] FROM [VELD_BASISOFFEN]"), kopie);
        const DatabaseMark ersetzt = DatabaseMark::FromText(rs.Fields(0).Value().toString());
        if (ersetzt.known && !ersetzt.Same(*neu)) staende.prepend(ersetzt);
    }
    return staende;
}

KOPIEBASIS::OFFENESTAENDE KOPIEBASIS::OFFENLESEN(Connection& kopie) {
    OFFENESTAENDE staende;
    if (!offen(kopie)) return staende;
    const std::vector<BasisZeile> seit = basiszeilen(kopie, QStringLiteral("VELD_BASIS"));
    const std::vector<BasisZeile> vorher = basiszeilen(kopie, QStringLiteral("VELD_BASISVORHER"));
    std::set<qint64> ids;
    for (const auto* zeilen : {&seit, &vorher})
        for (const BasisZeile& z : *zeilen)
            ids.insert(z.id);
    // The identifiers the records whose base before differs had as the Save
    // wrote them and before; then every record under those identifiers.
    const auto lesen = [&](DATENSATZSTAENDE::ROH roh, bool mitVorher) {
        zurBasis(roh, seit, nullptr);
        if (mitVorher) zurBasis(roh, vorher, nullptr);
        return roh;
    };
    const DATENSATZSTAENDE::ROH jetzt = DATENSATZSTAENDE::ROHLESEN(kopie, &ids);
    const DATENSATZSTAENDE::ROH geschrieben = lesen(jetzt, false), basis = lesen(jetzt, true);
    QSet<QString> schluessel;
    for (const BasisZeile& z : vorher) {
        if (z.id == 0) {
            staende.datensaetze[DATENSATZSTAENDE::kProjektzeilen] << 0;
            continue;
        }
        QSet<QString> seine;
        for (const auto* roh : {&geschrieben, &basis})
            if (const auto it = roh->kennungen.find(z.id); it != roh->kennungen.end())
                seine.insert(DATENSATZSTAENDE::SCHLUESSEL(it->second));
        for (const QString& s : seine)
            staende.datensaetze[s] << z.id;
    }
    for (auto it = staende.datensaetze.cbegin(); it != staende.datensaetze.cend(); ++it)
        schluessel.insert(it.key());
    std::set<qint64> nur = DATENSATZSTAENDE::DATENSATZSCHLUESSEL(kopie, schluessel);
    nur.insert(ids.begin(), ids.end());
    const DATENSATZSTAENDE::ROH alle = DATENSATZSTAENDE::ROHLESEN(kopie, &nur);
    staende.geschrieben = DATENSATZSTAENDE::AUSROH(lesen(alle, false));
    Recordset unbekannt(QStringLiteral("SELECT [UNBEKANNT] FROM [VELD_BASISOFFEN]"), kopie);
    if (!CBool(unbekannt.Fields(0).Value()))
        staende.vorher = DATENSATZSTAENDE::AUSROH(lesen(alle, true));
    return staende;
}

void KOPIEBASIS::TEILWEISE(Connection& kopie, const QSet<qint64>& zurueck) {
    const std::optional<DatabaseMark> neu = offen(kopie);
    if (!neu) return;
    for (const BasisZeile& z : basiszeilen(kopie, QStringLiteral("VELD_BASISVORHER")))
        if (zurueck.contains(z.id)) hinzufuegen(kopie, z, true);
    // Every other record's base is what the Save wrote (the content `neu`);
    // whether something beside the program wrote into the copy stays as
    // the copy told it.
    PROJEKTSTAENDESETZEN(kopie, {*neu});
    kopie.Execute(QStringLiteral("DELETE FROM [VELD_BASISVORHER]; DELETE FROM [VELD_BASISOFFEN]"));
    GESCHRIEBEN(kopie);
}
