// The records of the two lists and the copy of whole records between the
// working copy and the other project's database.

#include "exchange/frmEXPIMP.h"

#include "data/DATENSATZKOPIE.h"
#include "data/HAUPTFENSTER.h"
#include "exchange/AUSTAUSCH.h"
#include "platform/database/Connection.h"
#include "platform/database/DatabaseError.h"
#include "platform/database/Recordset.h"
#include "platform/database/Sql.h"
#include "platform/database/Transaction.h"
#include "platform/runtime/ErrorHandler.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/System.h"
#include "platform/runtime/Variant.h"

#include <QListWidget>

using namespace austausch;

namespace {

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
    DATENSATZSCHREIBEN(quelle, id, ziel, neu);
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
    DATENSATZSCHREIBEN(quelle, id, ziel, neu);
    transaktion.Commit();
    return neu;
}
