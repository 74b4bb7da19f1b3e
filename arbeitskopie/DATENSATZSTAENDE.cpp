#include "arbeitskopie/DATENSATZSTAENDE.h"

#include "data/DATENSATZTABELLEN.h"
#include "data/SCHEMA.h"
#include "platform/database/Connection.h"
#include "platform/database/Recordset.h"
#include "platform/database/RowScan.h"
#include "platform/database/Sql.h"

#include <QCryptographicHash>
#include <algorithm>
#include <map>
#include <cstring>
#include <unordered_map>

namespace {

constexpr auto kVerfahren = QCryptographicHash::Blake2b_256;
const QByteArray kKopf = QByteArrayLiteral("VELD-DATENSATZSTAENDE 1");

// The columns of a table that are someone's work, in the schema's order.
QStringList werkspalten(const TABELLE& tabelle) {
    static const QStringList bereiche = {QStringLiteral("IDOBJEKT"), QStringLiteral("XMIN"),
                                         QStringLiteral("XMAX"), QStringLiteral("YMIN"),
                                         QStringLiteral("YMAX")};
    QStringList spalten;
    for (const SPALTE& spalte : tabelle.SPALTEN) {
        if (spalte.NAME == QLatin1String("ID")) continue;
        if (tabelle.NAME == QLatin1String("E1") && spalte.NAME == QLatin1String("AKT")) continue;
        if (tabelle.NAME == QLatin1String("G0") && !bereiche.contains(spalte.NAME)) continue;
        spalten << spalte.NAME;
    }
    return spalten;
}

// The query of one table's rows: the record key, then the columns that are
// someone's work (Null where the database lacks one). A row's digest takes
// every value with its type, so 1 and '1' differ; rows are summed, not
// ordered.
QString abfrage(Connection& db, const TABELLE& tabelle) {
    QStringList vorhanden;
    for (const Connection::TableColumn& spalte : db.TableColumns(tabelle.NAME))
        vorhanden << spalte.name.toUpper();
    if (vorhanden.isEmpty()) return QString();
    QStringList werte;
    for (const QString& spalte : werkspalten(tabelle))
        werte << (vorhanden.contains(spalte) ? SqlName(spalte) : QStringLiteral("NULL"));
    const QString zeile = werte.isEmpty() ? QStringLiteral("NULL") : werte.join(QLatin1Char(','));
    if (tabelle.NAME == QLatin1String("M1"))
        return QStringLiteral("SELECT 0, %1 FROM [M1]").arg(zeile);
    QString bedingung;
    // A layout row without axis ranges is what a drawing leaves behind.
    if (tabelle.NAME == QLatin1String("G0")) {
        QStringList bereiche;
        for (const char* spalte : {"XMIN", "XMAX", "YMIN", "YMAX"})
            if (vorhanden.contains(QLatin1String(spalte)))
                bereiche << QStringLiteral("coalesce([%1],0)<>0").arg(QLatin1String(spalte));
        bedingung = bereiche.isEmpty() ? QStringLiteral(" WHERE 0")
                                       : QStringLiteral(" WHERE ") +
                                             bereiche.join(QStringLiteral(" OR "));
    }
    return QStringLiteral("SELECT [ID], %1 FROM %2%3").arg(zeile, SqlName(tabelle.NAME), bedingung);
}

const TABELLE* tabelle(const QString& name) {
    for (const TABELLE& t : PROJEKTTABELLEN())
        if (t.NAME == name) return &t;
    return nullptr;
}

} // namespace

const QString DATENSATZSTAENDE::kProjektzeilen = QStringLiteral("\x01MEHRFACH");

QString DATENSATZSTAENDE::SCHLUESSEL(const QString& ken) {
    // As the engine's NOCASE compares: only the letters a to z.
    QString schluessel = ken;
    for (QChar& zeichen : schluessel)
        if (zeichen >= QLatin1Char('a') && zeichen <= QLatin1Char('z'))
            zeichen = QChar(zeichen.unicode() - 32);
    return schluessel;
}

DATENSATZSTAENDE DATENSATZSTAENDE::LESEN(Connection& db) {
    // One sum per record key over the rows of all its tables; each table's
    // rows hashed with a salt of their own, so that a row cannot pass for
    // one of another table.
    std::unordered_map<qint64, RowSum> summen;
    QStringList namen = DATENSATZTABELLEN();
    namen << QStringLiteral("M1");
    quint64 salz = 0;
    for (const QString& name : namen) {
        ++salz;
        const TABELLE* t = tabelle(name);
        if (!t) continue;
        const QString sql = abfrage(db, *t);
        if (sql.isEmpty()) continue;
        SumRowsByKey(db, sql, salz * 0x9E3779B97F4A7C15ULL, summen);
    }
    const auto digest = [&](qint64 id) {
        const RowSum& summe = summen[id];
        QByteArray d(24, Qt::Uninitialized);
        std::memcpy(d.data(), &summe.a, 8);
        std::memcpy(d.data() + 8, &summe.b, 8);
        std::memcpy(d.data() + 16, &summe.count, 8);
        return d;
    };
    // Records by identifier; a record without its E1 row is no record.
    std::map<QString, std::vector<QByteArray>> inhalte;
    DATENSATZSTAENDE ergebnis;
    for (Recordset rs(QStringLiteral("SELECT [ID], [KEN] FROM [E1] WHERE [ID]<>0 ORDER BY 1"), db);
         !rs.Eof(); rs.MoveNext()) {
        const qint64 id = rs.Fields(0).Value().toLongLong();
        const QString text = rs.Fields(1).Value().toString();
        const QString schluessel = SCHLUESSEL(text);
        STAND& stand = ergebnis.m_staende[schluessel];
        if (stand.anzahl++ == 0) stand.ken = text;
        inhalte[schluessel].push_back(digest(id));
    }
    for (auto& [schluessel, liste] : inhalte) {
        STAND& stand = ergebnis.m_staende[schluessel];
        if (liste.size() == 1) {
            stand.inhalt = liste.front();
            continue;
        }
        std::sort(liste.begin(), liste.end());
        QCryptographicHash h(kVerfahren);
        for (const QByteArray& teil : liste) h.addData(teil);
        stand.inhalt = h.result();
    }
    if (summen.count(0)) ergebnis.m_staende[kProjektzeilen] = {QString(), digest(0), 1};
    return ergebnis;
}

const DATENSATZSTAENDE::STAND* DATENSATZSTAENDE::Stand(const QString& schluessel) const {
    const auto it = m_staende.constFind(schluessel);
    return it == m_staende.cend() ? nullptr : &*it;
}

QByteArray DATENSATZSTAENDE::TEXT() const {
    QByteArray text = kKopf + '\n';
    QStringList schluessel = m_staende.keys();
    schluessel.sort();
    for (const QString& s : schluessel) {
        const STAND& stand = m_staende[s];
        text += s.toUtf8().toBase64() + ' ' + stand.ken.toUtf8().toBase64() + ' ' +
                QByteArray::number(stand.anzahl) + ' ' + stand.inhalt.toHex() + '\n';
    }
    return text;
}

std::optional<DATENSATZSTAENDE> DATENSATZSTAENDE::AUSTEXT(const QByteArray& text) {
    const QList<QByteArray> zeilen = text.split('\n');
    if (zeilen.isEmpty() || zeilen.front() != kKopf) return std::nullopt;
    DATENSATZSTAENDE ergebnis;
    for (qsizetype i = 1; i < zeilen.size(); ++i) {
        if (zeilen[i].isEmpty()) continue;
        const QList<QByteArray> teile = zeilen[i].split(' ');
        bool zahl = false;
        if (teile.size() != 4) return std::nullopt;
        STAND stand{QString::fromUtf8(QByteArray::fromBase64(teile[1])),
                    QByteArray::fromHex(teile[3]), teile[2].toInt(&zahl)};
        if (!zahl || stand.inhalt.isEmpty()) return std::nullopt;
        ergebnis.m_staende.insert(QString::fromUtf8(QByteArray::fromBase64(teile[0])), stand);
    }
    return ergebnis;
}

bool DATENSATZSTAENDE::operator==(const DATENSATZSTAENDE& andere) const {
    if (m_staende.size() != andere.m_staende.size()) return false;
    for (auto it = m_staende.cbegin(); it != m_staende.cend(); ++it) {
        const STAND* s = andere.Stand(it.key());
        if (!s || s->inhalt != it->inhalt) return false;
    }
    return true;
}
