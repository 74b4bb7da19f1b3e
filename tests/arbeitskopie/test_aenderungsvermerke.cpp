// The copy's change marks: a write is marked before it is written, and a
// rolled back write takes back the mark it made.

#include "KOPIELABOR.h"

#include "platform/database/Connection.h"
#include "platform/runtime/ErrorHandler.h"

#include <functional>
#include <gtest/gtest.h>

TEST(Aenderungsvermerke, AWriteIsMarkedAndARollbackTakesItsMarkBack) {
    const struct {
        const char* name;
        std::function<void(Connection&, ARBEITSKOPIE&)> schreiben;
        int vermerke;
        bool geaendert;
    } faelle[] = {
        {"a store",
         [](Connection& c, ARBEITSKOPIE&) {
             c.Execute(QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (5,'N',false)"));
         },
         1, true},
        {"a store rolled back",
         [](Connection& c, ARBEITSKOPIE&) {
             c.BeginTrans();
             c.Execute(QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (5,'N',false)"));
             c.RollbackTrans();
         },
         0, false},
        {"a command's word without a write",
         [](Connection&, ARBEITSKOPIE& k) { k.SETZEBOGEAENDERT(true); }, 1, true},
        {"two stores",
         [](Connection& c, ARBEITSKOPIE&) {
             c.Execute(QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (5,'N',false)"));
             c.Execute(QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (6,'M',false)"));
         },
         1, true},
        {"a command's word that its change is settled",
         [](Connection&, ARBEITSKOPIE& k) { k.SETZEBOGEAENDERT(false); }, 0, false},
    };
    for (const auto& fall : faelle) {
        KOPIELABOR labor;
        const auto lauf = labor.GESTARTET();
        fall.schreiben(*lauf->verbindung, *lauf->kopie);
        EXPECT_EQ(labor.ZUSTANDSDATEIEN(QStringLiteral("*.geaendert")).size(), fall.vermerke)
            << fall.name;
        EXPECT_EQ(lauf->kopie->BOGEAENDERT(), fall.geaendert) << fall.name;
        EXPECT_TRUE(labor.DIALOG.BOXEN().isEmpty()) << fall.name;
    }
}
