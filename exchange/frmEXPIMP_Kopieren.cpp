// The records of the two lists and the copy of whole records between the
// working copy and the other project's database.

#include "exchange/frmEXPIMP.h"

#include "data/DATENSATZTABELLEN.h"
#include "data/HAUPTFENSTER.h"
#include "exchange/AUSTAUSCH.h"
#include "platform/database/Connection.h"
#include "platform/database/DatabaseError.h"
#include "platform/database/FieldType.h"
#include "platform/database/Recordset.h"
#include "platform/database/Sql.h"
#include "platform/database/Transaction.h"
#include "platform/runtime/ErrorHandler.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/System.h"
#include "platform/runtime/Variant.h"

#include <QListWidget>
#include <vector>

using namespace austausch;

namespace {

// A record's tables in the order they are copied: all of them.
const QStringList& tabellen() {
    return DATENSATZTABELLEN();
}

// The rows of one table of a record, from the source into the target under
// the new key. Each target column takes the source's value of the column of
// the same name (converted to the target column's type); a column that the
// source lacks takes its default.
void tabelleKopieren(Connection& quelle, Connection& ziel, const QString& tabelle, int32_t alt,
                     int32_t neu) {
    Recordset zeilen(QStringLiteral("SELECT * FROM %1 WHERE [ID]=?").arg(SqlName(tabelle)), quelle,
                     {alt});
    if (zeilen.Eof()) return;

    struct Spalte {
        QString name;
        FieldType typ;
        int herkunft; // field of the source row
    };
    std::vector<Spalte> spalten;
    QStringList namen{QStringLiteral("[ID]")};
    QStringList platzhalter{QStringLiteral("?")};
    for (const Connection::TableColumn& spalte : ziel.TableColumns(tabelle)) {
        if (spalte.name.compare(QLatin1String("ID"), Qt::CaseInsensitive) == 0) continue;
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

// The identifier of a record; a record that is gone is an error.
QVariant kennung(Connection& quelle, int32_t id) {
    Recordset e1(QStringLiteral("SELECT [KEN] FROM [E1] WHERE [ID]=?"), quelle, {id});
    if (e1.Eof()) throw DatabaseError::NoCurrentRecordError();
    return e1.Value(QStringLiteral("KEN"));
}

// Whether the target holds a record of that identifier: the engine's own
// equality decides (letter case ignored); the multiple-evaluation row is no
// record.
bool vorhanden(Connection& ziel, const QVariant& ken) {
    Recordset doppelt(QStringLiteral("SELECT [ID] FROM [E1] WHERE [KEN]=? AND [ID]<>0"), ziel,
                      {ken});
    return !doppelt.Eof();
}

// Writes the record under the key `neu` into the target, inside the
// caller's transaction. Rows left under the new key by an earlier mishap
// would merge into the record: they go first.
void datensatzSchreiben(Connection& quelle, int32_t id, Connection& ziel, int32_t neu) {
    for (qsizetype t = 1; t < tabellen().size(); ++t)
        ziel.Execute(QStringLiteral("DELETE FROM %1 WHERE [ID]=?").arg(SqlName(tabellen()[t])),
                     {neu});
    for (const QString& tabelle : tabellen())
        tabelleKopieren(quelle, ziel, tabelle, id, neu);
}

// Copies one record. False when the user ended the copy at the duplicate
// question. Failures reach the caller, the target as it was before.
bool datensatzKopieren(Connection& quelle, int32_t id, Connection& ziel) {
    const QVariant ken = kennung(quelle, id);
    // The duplicate and the new key are read inside the transaction, which
    // begins as a writer: no other run can store a record of that
    // identifier or take that key before the copy is written. The question
    // cannot wait with the target locked: the transaction ends first.
    Transaction transaktion(ziel);
    if (vorhanden(ziel, ken)) {
        transaktion.Rollback();
        SetMousePointer(vbDefault);
        const int antwort = MsgBox(QStringLiteral("Datensatz ") + TEXT(ken) +
                                       QStringLiteral(" ist bereits vorhanden!"),
                                   vbOKCancel + vbExclamation);
        SetMousePointer(vbHourglass);
        return antwort == vbOK;
    }
    int32_t neu = 1;
    {
        Recordset hoechster(QStringLiteral("SELECT Max([ID]) FROM [E1]"), ziel);
        const QVariant wert = hoechster.Fields(0).Value();
        if (!IsNull(wert)) neu = CLng(wert) + 1;
    }
    datensatzSchreiben(quelle, id, ziel, neu);
    transaktion.Commit();
    return true;
}

} // namespace

void frmEXPIMP::LISTENFUELLEN(Connection& verbindung, QListWidget& liste) {
    liste.clear();
    Recordset rs(QStringLiteral("SELECT [ID],[KEN],[KOM] FROM [E1] WHERE [ID]<>0 ORDER BY [KEN]"),
                 verbindung);
    if (rs.Eof()) {
        // The placeholder carries no key: it can never be copied.
        liste.addItem(QStringLiteral("<leer>"));
        return;
    }
    for (; !rs.Eof(); rs.MoveNext()) {
        auto* item = new QListWidgetItem(TEXT(rs.Value(QStringLiteral("KEN"))) +
                                         QStringLiteral(" (") +
                                         TEXT(rs.Value(QStringLiteral("KOM"))) +
                                         QStringLiteral(")"));
        item->setData(Qt::UserRole, CLng(rs.Value(QStringLiteral("ID"))));
        item->setData(kKENNUNG, TEXT(rs.Value(QStringLiteral("KEN"))));
        item->setData(kKOMMENTAR, TEXT(rs.Value(QStringLiteral("KOM"))));
        liste.addItem(item);
    }
}

void frmEXPIMP::KOPIEREN(Connection& quelle, QListWidget& liste, Connection& ziel,
                         QStringList* ersetzt) {
    SetMousePointer(vbHourglass);
    ErrorHandler eh(kVbError, kEXPIMPTITEL, vbOKCancel);
    for (int n = 0; n < liste.count(); ++n) {
        const QListWidgetItem* item = liste.item(n);
        if (!item->isSelected()) continue;
        const QVariant schluessel = item->data(Qt::UserRole);
        if (!schluessel.isValid()) continue;
        try {
            if (!datensatzKopieren(quelle, schluessel.toInt(), ziel)) break;
        } catch (...) {
            // The record is rolled back whole; OK goes on with the next one.
            const RuntimeError fehler = AKTUELLERFEHLER();
            // But a target that another file took the place of (its owner
            // saved while a box waited) refuses every record that follows:
            // the copy ends, and says so once, not once a record.
            const bool zielErsetzt = fehler.Number() == DatabaseError::Replaced && ziel.HasMoved();
            if (zielErsetzt && ersetzt) {
                for (int m = n; m < liste.count(); ++m)
                    if (liste.item(m)->isSelected() && liste.item(m)->data(Qt::UserRole).isValid())
                        *ersetzt << liste.item(m)->text();
                break;
            }
            SetMousePointer(vbDefault);
            if (!eh.Report(fehler) || zielErsetzt) break;
            SetMousePointer(vbHourglass);
        }
    }
    SetMousePointer(vbDefault);
}

// Both buttons work on the other project's database that is at its path
// when they are pressed.
void frmEXPIMP::cmdEXP_Click() {
    if (lstIMP->selectedItems().isEmpty() || !ANDEREDATENBANKAKTUELL()) return;
    QStringList nichtExportiert;
    KOPIEREN(*frmMAIN().DBPROJEKT(), *lstIMP, *m_andere, &nichtExportiert);
    ErrorHandler eh(kVbError, kEXPIMPTITEL, vbOKCancel);
    eh.Run([&] {
        if (ANDEREDATENBANKAKTUELL()) LISTENFUELLEN(*m_andere, *lstEXP);
    });
    NICHTKOPIERTMELDEN(
        QStringLiteral("Das externe Projekt wurde während des Exports durch eine andere Datei "
                       "ersetzt oder entfernt. Diese Datensätze wurden nicht exportiert:"),
        QStringLiteral("The external project was replaced by another file or removed during "
                       "the export. These records were not exported:"),
        nichtExportiert);
}

void frmEXPIMP::cmdIMP_Click() {
    if (lstEXP->selectedItems().isEmpty()) return;
    QStringList nichtGefunden;
    if (!ANDEREDATENBANKAKTUELL(&nichtGefunden)) return;
    // The records chosen may be gone from a file that took the old one's place.
    if (!lstEXP->selectedItems().isEmpty()) {
        KOPIEREN(*m_andere, *lstEXP, *frmMAIN().DBPROJEKT());
        ErrorHandler eh(kVbError, kEXPIMPTITEL, vbOKCancel);
        eh.Run([&] { LISTENFUELLEN(*frmMAIN().DBPROJEKT(), *lstIMP); });
    }
    NICHTKOPIERTMELDEN(
        QStringLiteral("Das externe Projekt wurde inzwischen durch eine andere Datei ersetzt. "
                       "Diese gewählten Datensätze sind darin nicht eindeutig wiederzufinden und "
                       "wurden nicht importiert:"),
        QStringLiteral("The external project was replaced by another file meanwhile. These "
                       "chosen records cannot be found again unambiguously in it and were not "
                       "imported:"),
        nichtGefunden);
}

int32_t frmEXPIMP::DATENSATZUEBERNEHMEN(Connection& quelle, int32_t id, Connection& ziel) {
    const QVariant ken = kennung(quelle, id);
    // Read inside the writing transaction, as the import reads them.
    Transaction transaktion(ziel);
    if (vorhanden(ziel, ken)) return 0;
    int32_t neu = id;
    {
        Recordset belegt(QStringLiteral("SELECT [ID] FROM [E1] WHERE [ID]=?"), ziel, {id});
        if (!belegt.Eof()) {
            Recordset hoechster(QStringLiteral("SELECT Max([ID]) FROM [E1]"), ziel);
            neu = CLng(hoechster.Fields(0).Value()) + 1;
        }
    }
    datensatzSchreiben(quelle, id, ziel, neu);
    transaktion.Commit();
    return neu;
}
