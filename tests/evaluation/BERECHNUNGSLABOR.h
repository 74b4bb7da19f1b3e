#pragma once

// A project with one active record for the evaluation tests: its general
// data, readings and earlier results are written straight into the working
// copy, and what the evaluation stored is read back.

#include "support/ScriptedDialogs.h"
#include "support/TESTHAUPTFENSTER.h"

#include "platform/database/Connection.h"
#include "platform/database/Recordset.h"
#include "platform/runtime/Variant.h"

#include <QVariant>
#include <cstdint>
#include <cstring>
#include <map>
#include <optional>

class BERECHNUNGSLABOR {
public:
    explicit BERECHNUNGSLABOR(int id = 1) : m_id(id)
    {
        haupt.DATENSATZANLEGEN(id, QStringLiteral("P-%1").arg(id), QStringLiteral("Probe"), true);
        // As the Recalculate command leaves it: a fresh A1 row, flag set.
        haupt.DBPROJEKT()->Execute(QStringLiteral("INSERT INTO [A1] ([ID],[BONEU]) VALUES (?,1)"), {id});
    }

    void allgemein(float ms, float tmax) { haupt.ALLGEMEINEDATENANLEGEN(m_id, 0, 2.0f, ms, tmax); }

    // A reading; an invalid QVariant stands for an empty cell.
    void messwert(int i1, const QVariant& det, const QVariant& v)
    {
        haupt.DBPROJEKT()->Execute(QStringLiteral("INSERT INTO [E3] ([ID],[I1],[DET],[V]) VALUES (?,?,?,?)"),
                                   {m_id, i1, wert(det), wert(v)});
    }

    // A curve row as an earlier run left it.
    void kurve(const QVariant& i, float w)
    {
        haupt.DBPROJEKT()->Execute(QStringLiteral("INSERT INTO [A2] ([ID],[I],[W]) VALUES (?,?,?)"),
                                   {m_id, wert(i), double(w)});
    }

    QVariant veld() { return haupt.WERT(QStringLiteral("SELECT [VELD] FROM [A1] WHERE [ID]=?"), {m_id}); }
    bool boneu() { return CBool(haupt.WERT(QStringLiteral("SELECT [BONEU] FROM [A1] WHERE [ID]=?"), {m_id})); }

    // The curve rows of the record by I (rows with an empty I under -1000).
    std::multimap<int, float> kurven()
    {
        std::multimap<int, float> ergebnis;
        Recordset rs(QStringLiteral("SELECT [I],[W] FROM [A2] WHERE [ID]=? ORDER BY [I]"), *haupt.DBPROJEKT(),
                     {m_id});
        for (; !rs.Eof(); rs.MoveNext()) {
            const QVariant i = rs.Fields(0).Value();
            ergebnis.emplace(IsNull(i) ? -1000 : i.toInt(), CSng(rs.Fields(1).Value()));
        }
        return ergebnis;
    }

    static uint32_t bits(float f)
    {
        uint32_t b;
        std::memcpy(&b, &f, sizeof b);
        return b;
    }

    TESTHAUPTFENSTER haupt;
    ScriptedDialogs boxen;

private:
    static QVariant wert(const QVariant& v)
    {
        if (!v.isValid()) return VNull();
        if (v.typeId() == QMetaType::Float) return double(v.toFloat());
        return v;
    }
    int m_id;
};
