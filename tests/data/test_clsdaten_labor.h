#pragma once

// What the tests of the data-access object share: a temporary laboratory as
// the main window, the scripted message boxes, and short ways to lay down and
// read back rows of the working copy.

#include "support/ScriptedDialogs.h"
#include "support/TESTHAUPTFENSTER.h"

#include "data/clsDATEN.h"
#include "platform/database/Connection.h"
#include "platform/database/Recordset.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/Variant.h"

#include <QLocale>
#include <QVariantList>
#include <functional>
#include <gtest/gtest.h>

class DatenLabor {
public:
    Connection& db() { return *fenster.DBPROJEKT(); }

    void sql(const QString& anweisung, const QVariantList& werte = {}) {
        db().Execute(anweisung, werte);
    }

    // The first column of every row of a query, in its order.
    QVariantList spalte(const QString& anweisung) {
        QVariantList werte;
        Recordset rs(anweisung, db());
        while (!rs.Eof()) {
            werte << rs.Fields(0).Value();
            rs.MoveNext();
        }
        return werte;
    }

    // Readings of a record: I1 and V (Null for an invalid value).
    void messwerte(int id, const QVariantList& v) {
        for (int i = 0; i < v.size(); ++i)
            sql(QStringLiteral("INSERT INTO [E3] ([ID],[I1],[V]) VALUES (?,?,?)"),
                {id, i, v.at(i)});
    }

    TESTHAUPTFENSTER fenster;
    ScriptedDialogs boxen;
};

class DatenTest : public ::testing::Test, public DatenLabor {
protected:
    void TearDown() override { QLocale::setDefault(QLocale::c()); }
};

// The runtime error that a step raises (0 when it raises none).
inline int Fehlernummer(const std::function<void()>& schritt) {
    try {
        schritt();
    } catch (const RuntimeError& fehler) {
        return fehler.Number();
    }
    return 0;
}
