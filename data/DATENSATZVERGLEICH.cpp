#include "data/DATENSATZVERGLEICH.h"

#include "data/DATENSATZTABELLEN.h"

#include "platform/database/Connection.h"
#include "platform/database/Recordset.h"
#include "platform/database/Sql.h"

#include <QCryptographicHash>
#include <QHash>
#include <QSet>
#include <algorithm>
#include <map>

namespace {

// A record's tables as compared: the diagram's layout rows (G0) are left
// out, as a drawing on the screen writes them as it lays a record out, and
// a record that was only looked at is not a record held otherwise.
const QStringList& tabellen() {
    static const QStringList namen = [] {
        QStringList verglichen = DATENSATZTABELLEN();
        verglichen.removeAll(QStringLiteral("G0"));
        return verglichen;
    }();
    return namen;
}

// The columns of a table that both databases have, without the key and
// without the active flag E1.AKT (which records the commands work on is
// the user's selection, not what a record holds), in one order for both.
QStringList gemeinsameSpalten(Connection& a, Connection& b, const QString& tabelle) {
    QStringList namen;
    for (const Connection::TableColumn& spalte : a.TableColumns(tabelle)) {
        if (spalte.name.compare(QLatin1String("ID"), Qt::CaseInsensitive) == 0 ||
            (tabelle == QLatin1String("E1") &&
             spalte.name.compare(QLatin1String("AKT"), Qt::CaseInsensitive) == 0))
            continue;
        for (const Connection::TableColumn& andere : b.TableColumns(tabelle))
            if (andere.name.compare(spalte.name, Qt::CaseInsensitive) == 0) {
                namen << spalte.name.toUpper();
                break;
            }
    }
    namen.sort();
    return namen;
}

struct Datensatz {
    QString ken;
    QByteArray inhalt;
};

// Every record of a database with a digest of what it holds: its rows as
// the engine quotes their values (type and value exactly), sorted within
// each table, the tables in one order.
std::map<qint64, Datensatz> datensaetze(Connection& db, const std::vector<QStringList>& spalten) {
    std::map<qint64, QStringList> zeilen;
    std::map<qint64, QString> kennungen;
    for (size_t t = 0; t < spalten.size(); ++t) {
        const QString& tabelle = tabellen().at(qsizetype(t));
        QStringList werte;
        for (const QString& spalte : spalten[t])
            werte << QStringLiteral("quote(%1)").arg(SqlName(spalte));
        const QString ausdruck =
            werte.isEmpty() ? QStringLiteral("''") : werte.join(QStringLiteral("||','||"));
        const QString ken = t == 0 ? QStringLiteral(", [KEN]") : QString();
        Recordset rs(QStringLiteral("SELECT [ID], %1%2 FROM %3 WHERE [ID]<>0")
                         .arg(ausdruck, ken, SqlName(tabelle)),
                     db);
        std::map<qint64, QStringList> jeTabelle;
        for (; !rs.Eof(); rs.MoveNext()) {
            const qint64 id = rs.Fields(0).Value().toLongLong();
            jeTabelle[id] << rs.Fields(1).Value().toString();
            if (t == 0) kennungen[id] = rs.Fields(2).Value().toString();
        }
        for (auto& [id, liste] : jeTabelle) {
            liste.sort();
            zeilen[id] << tabelle + QLatin1Char(':') + liste.join(QLatin1Char('\n'));
        }
    }
    std::map<qint64, Datensatz> ergebnis;
    for (const auto& [id, ken] : kennungen) {
        const QByteArray text = zeilen[id].join(QChar(0x1e)).toUtf8();
        ergebnis[id] = {ken, QCryptographicHash::hash(text, QCryptographicHash::Sha256)};
    }
    return ergebnis;
}

} // namespace

QStringList ABWEICHENDEDATENSAETZE(Connection& von, Connection& in) {
    std::vector<QStringList> spalten;
    for (const QString& tabelle : tabellen()) spalten.push_back(gemeinsameSpalten(von, in, tabelle));
    QSet<QByteArray> vorhanden;
    for (const auto& [id, satz] : datensaetze(in, spalten)) vorhanden.insert(satz.inhalt);
    QStringList fehlend;
    for (const auto& [id, satz] : datensaetze(von, spalten))
        if (!vorhanden.contains(satz.inhalt) && !fehlend.contains(satz.ken)) fehlend << satz.ken;
    std::sort(fehlend.begin(), fehlend.end(), [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    return fehlend;
}
