#pragma once

// The laboratory of the exchange tests: the test main window with its
// working copy, a second project PROJEKTE/TE0001.00 with its own database,
// the scripted boxes, and helpers that lay down whole records and read rows.

#include "support/ScriptedDialogs.h"
#include "support/TESTHAUPTFENSTER.h"

#include "data/SCHEMA.h"
#include "platform/database/Connection.h"
#include "platform/database/DatabaseFile.h"
#include "platform/database/Recordset.h"

#include <QDir>
#include <QListWidget>
#include <QLocale>
#include <QVariantList>
#include <gtest/gtest.h>
#include <memory>

class AustauschTest : public ::testing::Test {
protected:
    AustauschTest() {
        QDir().mkpath(andererOrdner());
        PROJEKTDATENBANKANLEGEN(andereDatei());
        andere = std::make_shared<Connection>(andereDatei());
    }
    ~AustauschTest() override {
        andere->Close();
        QLocale::setDefault(QLocale::c());
    }

    Connection& arbeit() { return *fenster.DBPROJEKT(); }
    QString andererOrdner() { return fenster.PROJEKTSPFAD() + QStringLiteral("/TE0001.00"); }
    QString andereDatei() { return andererOrdner() + QStringLiteral("/VELD.mdb"); }

    // A record with rows in every table: general data, `messungen`
    // readings with their curve rows, and (when evaluated) its result and
    // its diagram layout.
    static void datensatz(Connection& db, int id, const QString& ken, const QVariant& kom,
                          int messungen = 3, bool ausgewertet = true) {
        db.Execute(QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[KOM],[AKT]) VALUES (?,?,?,?)"),
                   {id, ken, kom, id % 2 == 1});
        db.Execute(QStringLiteral("INSERT INTO [E2] ([ID],[VT],[DMAX],[MS],[TMAX]) "
                                  "VALUES (?,?,?,?,1440)"),
                   {id, id % 2, 2.0 + id, 0.5 * id});
        for (int i = 0; i < messungen; ++i) {
            db.Execute(QStringLiteral("INSERT INTO [E3] ([ID],[I1],[DATUM],[UHRZEIT],[DET],[V],"
                                      "[TEMP]) VALUES (?,?,'12.03.02',?,?,?,?)"),
                       {id, i, QStringLiteral("08:%1").arg(10 + i), 1.5 * i, 0.125 * (i + id),
                        20.25 + i});
            if (ausgewertet)
                db.Execute(QStringLiteral("INSERT INTO [A2] ([ID],[I],[W]) VALUES (?,?,?)"),
                           {id, i, 2.5 * i + id});
        }
        if (!ausgewertet) return;
        db.Execute(QStringLiteral("INSERT INTO [A1] ([ID],[BONEU],[VELD]) VALUES (?,?,?)"),
                   {id, true, 40.5 + id});
        db.Execute(QStringLiteral("INSERT INTO [G0] ([ID],[IDOBJEKT],[OX],[OY],[RL],[XMIN],"
                                  "[XMAX],[YMIN],[YMAX]) VALUES (?,11,1,1,20,0,1440,0,?)"),
                   {id, 60 + id});
    }

    // Every row of a table for one key, all columns but ID, in row order.
    static QList<QVariantList> zeilen(Connection& db, const QString& tabelle, int id) {
        QList<QVariantList> ergebnis;
        Recordset rs(QStringLiteral("SELECT * FROM [%1] WHERE [ID]=? ORDER BY rowid").arg(tabelle),
                     db, {id});
        for (; !rs.Eof(); rs.MoveNext()) {
            QVariantList zeile;
            for (int j = 0; j < rs.FieldCount(); ++j)
                if (rs.Fields(j).Name() != QLatin1String("ID")) zeile << rs.Fields(j).Value();
            ergebnis << zeile;
        }
        return ergebnis;
    }
    static QVariantList spalte(Connection& db, const QString& sql) {
        QVariantList werte;
        Recordset rs(sql, db);
        for (; !rs.Eof(); rs.MoveNext())
            werte << rs.Fields(0).Value();
        return werte;
    }
    static QStringList texte(const QListWidget& liste) {
        QStringList t;
        for (int i = 0; i < liste.count(); ++i)
            t << liste.item(i)->text();
        return t;
    }
    // Chooses the list items with these texts' identifiers (text up to " (").
    static void waehlen(QListWidget& liste, const QStringList& kennungen) {
        liste.clearSelection();
        for (int i = 0; i < liste.count(); ++i)
            if (kennungen.contains(liste.item(i)->text().section(QStringLiteral(" ("), 0, 0)))
                liste.item(i)->setSelected(true);
    }

    TESTHAUPTFENSTER fenster;
    ScriptedDialogs boxen;
    std::shared_ptr<Connection> andere;
};
