#include "data/DATENSATZKOPIE.h"

#include "data/DATENSATZTABELLEN.h"
#include "platform/database/Connection.h"
#include "platform/database/FieldType.h"
#include "platform/database/Recordset.h"
#include "platform/database/Sql.h"

#include <vector>

void ZEILENKOPIEREN(Connection& quelle, Connection& ziel, const QString& tabelle,
                    const QString& schluessel, int32_t alt, int32_t neu) {
    Recordset zeilen(
        QStringLiteral("SELECT * FROM %1 WHERE %2=?").arg(SqlName(tabelle), SqlName(schluessel)),
        quelle, {alt});
    if (zeilen.Eof()) return;

    struct Spalte {
        QString name;
        FieldType typ;
        int herkunft; // field of the source row
    };
    std::vector<Spalte> spalten;
    QStringList namen{SqlName(schluessel)};
    QStringList platzhalter{QStringLiteral("?")};
    for (const Connection::TableColumn& spalte : ziel.TableColumns(tabelle)) {
        if (spalte.name.compare(schluessel, Qt::CaseInsensitive) == 0) continue;
        for (int j = 0; j < zeilen.FieldCount(); ++j)
            if (zeilen.Fields(j).Name().compare(spalte.name, Qt::CaseInsensitive) == 0) {
                spalten.push_back({spalte.name, spalte.type, j});
                namen << SqlName(spalte.name);
                platzhalter << QStringLiteral("?");
                break;
            }
    }
    const QString einfuegen = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                  .arg(SqlName(tabelle), namen.join(QLatin1Char(',')),
                                       platzhalter.join(QLatin1Char(',')));
    QVariantList werte;
    for (; !zeilen.Eof(); zeilen.MoveNext()) {
        werte.clear();
        werte << neu;
        for (const Spalte& spalte : spalten)
            werte << StoredValue(spalte.typ, zeilen.Fields(spalte.herkunft).Value(), spalte.name);
        ziel.Execute(einfuegen, werte);
    }
}

void DATENSATZSCHREIBEN(Connection& quelle, int32_t id, Connection& ziel, int32_t neu) {
    const QStringList& tabellen = DATENSATZTABELLEN();
    for (const QString& tabelle : tabellen)
        if (tabelle != QLatin1String("E1"))
            ziel.Execute(QStringLiteral("DELETE FROM %1 WHERE [ID]=?").arg(SqlName(tabelle)),
                         {neu});
    for (const QString& tabelle : tabellen)
        ZEILENKOPIEREN(quelle, ziel, tabelle, QStringLiteral("ID"), id, neu);
}
