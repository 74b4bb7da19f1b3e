#include "data/DATENSATZKOPIE.h"

#include "data/DATENSATZTABELLEN.h"
#include "platform/database/Connection.h"
#include "platform/database/FieldType.h"
#include "platform/database/Sql.h"
#include "platform/database/StoredRows.h"

#include <vector>

void ZEILENKOPIEREN(Connection& quelle, Connection& ziel, const QString& tabelle,
                    const QString& schluessel, int32_t alt, int32_t neu, KOPIEWERTE werte) {
    const StoredRows zeilen = ReadStoredRows(
        quelle,
        QStringLiteral("SELECT * FROM %1 WHERE %2=?").arg(SqlName(tabelle), SqlName(schluessel)),
        {alt});
    if (zeilen.rows.empty()) return;

    struct Spalte {
        QString name;
        FieldType typ;
        size_t herkunft; // field of the source row
    };
    std::vector<Spalte> spalten;
    QStringList namen{SqlName(schluessel)};
    QStringList platzhalter{QStringLiteral("?")};
    for (const Connection::TableColumn& spalte : ziel.TableColumns(tabelle)) {
        if (spalte.name.compare(schluessel, Qt::CaseInsensitive) == 0) continue;
        for (size_t j = 0; j < zeilen.columns.size(); ++j)
            if (zeilen.columns[j].name.compare(spalte.name, Qt::CaseInsensitive) == 0) {
                spalten.push_back({spalte.name, spalte.type, j});
                namen << SqlName(spalte.name);
                platzhalter << QStringLiteral("?");
                break;
            }
    }
    const QString einfuegen = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                  .arg(SqlName(tabelle), namen.join(QLatin1Char(',')),
                                       platzhalter.join(QLatin1Char(',')));
    QVariantList parameter;
    for (const QVariantList& zeile : zeilen.rows) {
        parameter.clear();
        parameter << neu;
        for (const Spalte& spalte : spalten) {
            const QVariant& wert = zeile.at(qsizetype(spalte.herkunft));
            parameter << (werte == KOPIEWERTE::GESPEICHERT
                              ? wert
                              : StoredValue(spalte.typ,
                                            FieldValue(zeilen.columns[spalte.herkunft].type, wert),
                                            spalte.name));
        }
        ziel.Execute(einfuegen, parameter);
    }
}

void DATENSATZSCHREIBEN(Connection& quelle, int32_t id, Connection& ziel, int32_t neu,
                        KOPIEWERTE werte) {
    const QStringList& tabellen = DATENSATZTABELLEN();
    for (const QString& tabelle : tabellen)
        if (tabelle != QLatin1String("E1"))
            ziel.Execute(QStringLiteral("DELETE FROM %1 WHERE [ID]=?").arg(SqlName(tabelle)),
                         {neu});
    for (const QString& tabelle : tabellen)
        ZEILENKOPIEREN(quelle, ziel, tabelle, QStringLiteral("ID"), id, neu, werte);
}
