#include "arbeitskopie/DATENSATZSTAENDE.h"

#include "data/DATENSATZTABELLEN.h"
#include "data/SCHEMA.h"
#include "platform/database/Connection.h"
#include "platform/database/Recordset.h"
#include "platform/database/RowScan.h"
#include "platform/database/Sql.h"

#include <QCryptographicHash>
#include <QVariant>
#include <algorithm>
#include <cstring>
#include <map>
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

const TABELLE* tabelle(const QString& name) {
    for (const TABELLE& t : PROJEKTTABELLEN())
        if (t.NAME == name) return &t;
    return nullptr;
}

} // namespace

const QString DATENSATZSTAENDE::kProjektzeilen = QStringLiteral("\x01MEHRFACH");
const QString DATENSATZSTAENDE::kOhneKennung = QStringLiteral("\x02OHNE");

QString DATENSATZSTAENDE::SCHLUESSEL(const QVariant& ken) {
    // A record without an identifier is one of its own kind: no identifier
    // that the engine compares equal to Null exists.
    if (ken.isNull()) return kOhneKennung;
    // As the engine's NOCASE compares: only the letters a to z.
    QString schluessel = ken.toString();
    for (QChar& zeichen : schluessel)
        if (zeichen >= QLatin1Char('a') && zeichen <= QLatin1Char('z'))
            zeichen = QChar(zeichen.unicode() - 32);
    return schluessel;
}

bool DATENSATZSTAENDE::VORHER(const QString& a, const QString& b) {
    const QString sa = SCHLUESSEL(a), sb = SCHLUESSEL(b);
    if (sa != sb) return sa < sb;
    return a < b;
}

QString DATENSATZSTAENDE::WERKTABELLE::SCHLUESSELWERT(const QString& zeile) const {
    return PROJEKTWEIT ? QStringLiteral("0") : zeile + QStringLiteral("[ID]");
}

QString DATENSATZSTAENDE::WERKTABELLE::WERTLISTE(const QString& zeile) const {
    QStringList werte;
    for (const QString& spalte : SPALTEN)
        werte << (spalte.isEmpty() ? QStringLiteral("NULL") : zeile + SqlName(spalte));
    return werte.isEmpty() ? QStringLiteral("NULL") : werte.join(QLatin1Char(','));
}

QString DATENSATZSTAENDE::WERKTABELLE::BEDINGUNG(const QString& zeile) const {
    if (!NURBEREICHE) return QStringLiteral("1");
    QStringList bereiche;
    for (const QString& spalte : BEREICHE)
        bereiche << QStringLiteral("coalesce(%1%2,0)<>0").arg(zeile, SqlName(spalte));
    return bereiche.isEmpty()
               ? QStringLiteral("0")
               : QLatin1Char('(') + bereiche.join(QStringLiteral(" OR ")) + QLatin1Char(')');
}

QList<DATENSATZSTAENDE::WERKTABELLE> DATENSATZSTAENDE::WERKTABELLEN(Connection& db) {
    // Each table's rows hashed with a salt of their own, so that a row
    // cannot pass for one of another table.
    QList<WERKTABELLE> tabellen;
    QStringList namen = DATENSATZTABELLEN();
    namen << QStringLiteral("M1");
    quint64 salz = 0;
    for (const QString& name : namen) {
        ++salz;
        const TABELLE* t = tabelle(name);
        if (!t) continue;
        QStringList vorhanden;
        for (const Connection::TableColumn& spalte : db.TableColumns(name))
            vorhanden << spalte.name.toUpper();
        if (vorhanden.isEmpty()) continue;
        WERKTABELLE w;
        w.NAME = name;
        w.SALZ = salz * 0x9E3779B97F4A7C15ULL;
        w.PROJEKTWEIT = name == QLatin1String("M1");
        // A layout row without axis ranges is what a drawing leaves behind.
        w.NURBEREICHE = name == QLatin1String("G0");
        for (const QString& spalte : werkspalten(*t))
            w.SPALTEN << (vorhanden.contains(spalte) ? spalte : QString());
        for (const char* spalte : {"XMIN", "XMAX", "YMIN", "YMAX"})
            if (w.NURBEREICHE && vorhanden.contains(QLatin1String(spalte)))
                w.BEREICHE << QLatin1String(spalte);
        tabellen << w;
    }
    return tabellen;
}

DATENSATZSTAENDE::ROH DATENSATZSTAENDE::ROHLESEN(Connection& db, const std::set<qint64>* nur) {
    // One sum per record key over the rows of all its tables. Only some
    // keys: found through the index on the key (numbers of the database's
    // own, never text of a user's).
    QString auswahl;
    if (nur) {
        QStringList zahlen;
        for (const qint64 id : *nur)
            zahlen << QString::number(id);
        auswahl = QStringLiteral(" AND [ID] IN (%1)").arg(zahlen.join(QLatin1Char(',')));
    }
    ROH roh;
    if (nur && nur->empty()) return roh;
    for (const WERKTABELLE& w : WERKTABELLEN(db)) {
        if (nur && w.PROJEKTWEIT && !nur->count(0)) continue;
        SumRowsByKey(db,
                     QStringLiteral("SELECT %1, %2 FROM %3 WHERE %4%5")
                         .arg(w.SCHLUESSELWERT(QString()), w.WERTLISTE(QString()), SqlName(w.NAME),
                              w.BEDINGUNG(QString()), w.PROJEKTWEIT ? QString() : auswahl),
                     w.SALZ, roh.summen);
    }
    for (Recordset rs(
             QStringLiteral("SELECT [ID], [KEN] FROM [E1] WHERE [ID]<>0%1 ORDER BY 1").arg(auswahl),
             db);
         !rs.Eof(); rs.MoveNext())
        roh.kennungen[rs.Fields(0).Value().toLongLong()] = rs.Fields(1).Value();
    return roh;
}

std::set<qint64> DATENSATZSTAENDE::DATENSATZSCHLUESSEL(Connection& db,
                                                       const QSet<QString>& schluessel) {
    std::set<qint64> ids;
    if (schluessel.contains(kProjektzeilen)) ids.insert(0);
    QVariantList kennungen;
    for (const QString& s : schluessel)
        if (s != kProjektzeilen && s != kOhneKennung) kennungen << s;
    // The engine finds the identifiers as it compares them (its NOCASE
    // folds the letters a to z, as SCHLUESSEL does), a few hundred at a
    // time; an identifier that is no text (or none) is told by SCHLUESSEL.
    constexpr qsizetype kJeAbfrage = 400;
    qsizetype anfang = 0;
    do {
        const QVariantList teil = kennungen.mid(anfang, kJeAbfrage);
        QStringList fragen;
        for (qsizetype i = 0; i < teil.size(); ++i)
            fragen << QStringLiteral("?");
        const QString auswahl = teil.isEmpty() ? QString()
                                               : QStringLiteral("[KEN] COLLATE NOCASE IN (%1) OR ")
                                                     .arg(fragen.join(QLatin1Char(',')));
        for (Recordset rs(QStringLiteral("SELECT [ID], [KEN] FROM [E1] WHERE [ID]<>0 AND (%1"
                                         "typeof([KEN])<>'text')")
                              .arg(auswahl),
                          db, teil);
             !rs.Eof(); rs.MoveNext())
            if (schluessel.contains(SCHLUESSEL(rs.Fields(1).Value())))
                ids.insert(rs.Fields(0).Value().toLongLong());
        anfang += kJeAbfrage;
    } while (anfang < kennungen.size());
    return ids;
}

DATENSATZSTAENDE DATENSATZSTAENDE::LESEN(Connection& db, const QSet<QString>& schluessel) {
    const std::set<qint64> ids = DATENSATZSCHLUESSEL(db, schluessel);
    return AUSROH(ROHLESEN(db, &ids));
}

DATENSATZSTAENDE DATENSATZSTAENDE::AUSROH(const ROH& roh) {
    const auto digest = [&](qint64 id) {
        const auto it = roh.summen.find(id);
        const RowSum summe = it == roh.summen.end() ? RowSum() : it->second;
        QByteArray d(int(RowSumBytes), Qt::Uninitialized);
        RowSumToBytes(summe, reinterpret_cast<unsigned char*>(d.data()));
        return d;
    };
    // Records by identifier; a record without its E1 row is no record.
    std::map<QString, std::vector<QByteArray>> inhalte;
    DATENSATZSTAENDE ergebnis;
    for (const auto& [id, ken] : roh.kennungen) {
        const QString schluessel = SCHLUESSEL(ken);
        STAND& stand = ergebnis.m_staende[schluessel];
        if (stand.anzahl++ == 0) stand.ken = ken.toString();
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
        for (const QByteArray& teil : liste)
            h.addData(teil);
        stand.inhalt = h.result();
    }
    const auto projekt = roh.summen.find(0);
    if (projekt != roh.summen.end() && projekt->second.count > 0)
        ergebnis.m_staende[kProjektzeilen] = {QString(), digest(0), 1};
    return ergebnis;
}

DATENSATZSTAENDE DATENSATZSTAENDE::LESEN(Connection& db) {
    return AUSROH(ROHLESEN(db));
}

const DATENSATZSTAENDE::STAND* DATENSATZSTAENDE::Stand(const QString& schluessel) const {
    const auto it = m_staende.constFind(schluessel);
    return it == m_staende.cend() ? nullptr : &*it;
}

QByteArray DATENSATZSTAENDE::Inhalt(const QString& schluessel) const {
    const STAND* stand = Stand(schluessel);
    return stand ? stand->inhalt : QByteArray();
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
