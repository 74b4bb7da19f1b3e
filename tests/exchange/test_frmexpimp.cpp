// The export/import dialog: the lists, the choice of the other project's
// database, the copy of whole records in both directions (keys, every row
// and column, duplicates, failures inside a record) and the answer to the
// main window.

#include "AUSTAUSCHLABOR.h"

#include "exchange/frmEXPIMP.h"
#include "platform/runtime/Variant.h"

#include <QFile>
#include <QGroupBox>
#include <QPushButton>
#include <QTreeWidget>
#include <filesystem>
#include <functional>

namespace {

class ExpImp : public AustauschTest {
protected:
    // The dialog with the other project's folder chosen.
    std::unique_ptr<frmEXPIMP> dialog(bool andererOrdnerWaehlen = true) {
        auto d = std::make_unique<frmEXPIMP>();
        if (andererOrdnerWaehlen) d->dirEXP_SetPath(andererOrdner());
        return d;
    }
    // The other project's owner saves: a copy under another name, changed,
    // renamed over the database that the dialog opened.
    void speichern(const std::function<void(Connection&)>& aendern) {
        const QString neu = andererOrdner() + QStringLiteral("/VELD.neu");
        CopyDatabase(andereDatei(), neu);
        aendern(*std::make_unique<Connection>(neu));
        std::filesystem::rename(neu.toStdString(), andereDatei().toStdString());
    }
};

const QStringList kTabellen = {"E1", "E2", "E3", "A1", "A2", "G0"};

} // namespace

TEST_F(ExpImp, ExportIntoAnEmptyProjectRenumbersOnlyTheKeys) {
    datensatz(arbeit(), 7, QStringLiteral("B-2"), QStringLiteral("zweiter"));
    datensatz(arbeit(), 5, QStringLiteral("A-1"), QStringLiteral("erster"));
    datensatz(arbeit(), 9, QStringLiteral("C-3"), QVariant(), 2, false); // never evaluated
    auto d = dialog();
    EXPECT_EQ(texte(*d->lstIMP),
              QStringList({"A-1 (erster)", "B-2 (zweiter)", "C-3 ()"}));
    EXPECT_EQ(texte(*d->lstEXP), QStringList({"<leer>"}));
    waehlen(*d->lstIMP, {"A-1", "B-2", "C-3"});
    d->cmdEXP_Click();

    EXPECT_TRUE(boxen.boxes().isEmpty());
    // In list order, each taking the then highest key plus 1.
    EXPECT_EQ(spalte(*andere, "SELECT [KEN] FROM [E1] ORDER BY [ID]"),
              QVariantList({"A-1", "B-2", "C-3"}));
    EXPECT_EQ(spalte(*andere, "SELECT [ID] FROM [E1] ORDER BY [ID]"), QVariantList({1, 2, 3}));
    const std::pair<int, int> paare[] = {{5, 1}, {7, 2}, {9, 3}};
    for (const auto& [alt, neu] : paare)
        for (const QString& tabelle : kTabellen) {
            SCOPED_TRACE(tabelle.toStdString() + " " + std::to_string(alt));
            EXPECT_EQ(zeilen(*andere, tabelle, neu), zeilen(arbeit(), tabelle, alt));
        }
    EXPECT_EQ(zeilen(*andere, "A1", 3).size(), 0);
    EXPECT_EQ(zeilen(*andere, "E3", 3).size(), 2);
    EXPECT_EQ(zeilen(*andere, "A1", 1), QList<QVariantList>({{true, 45.5f}})); // BONEU kept
    // The other list shows what arrived.
    EXPECT_EQ(texte(*d->lstEXP), QStringList({"A-1 (erster)", "B-2 (zweiter)", "C-3 ()"}));
}

TEST_F(ExpImp, ImportGoesIntoTheWorkingCopyAfterItsHighestKey) {
    datensatz(arbeit(), 4, QStringLiteral("EIGEN"), QStringLiteral("x"));
    datensatz(*andere, 1, QStringLiteral("FREMD"), QStringLiteral("y"), 4);
    auto d = dialog();
    waehlen(*d->lstEXP, {"FREMD"});
    d->cmdIMP_Click();
    EXPECT_EQ(spalte(arbeit(), "SELECT [KEN] FROM [E1] WHERE [ID]=5"), QVariantList({"FREMD"}));
    for (const QString& tabelle : kTabellen)
        EXPECT_EQ(zeilen(arbeit(), tabelle, 5), zeilen(*andere, tabelle, 1)) << tabelle.toStdString();
    EXPECT_EQ(texte(*d->lstIMP), QStringList({"EIGEN (x)", "FREMD (y)"}));
}

TEST_F(ExpImp, AnIdentifierTheTargetHoldsIsRefusedByTheDuplicateBox) {
    struct Fall {
        const char* name;
        int antwort;
        QStringList gewaehlt;
        QVariantList danach; // identifiers in the target afterwards
    };
    const Fall faelle[] = {
        {"OK on the last item ends normally", vbOK, {"A", "probe"}, {"PROBE", "A"}},
        {"OK goes on with the next item", vbOK, {"A", "probe", "Z"}, {"PROBE", "A", "Z"}},
        {"Cancel keeps those before and copies none after", vbCancel, {"A", "probe", "Z"},
         {"PROBE", "A"}},
    };
    for (const Fall& fall : faelle) {
        SCOPED_TRACE(fall.name);
        andere->Execute("DELETE FROM [E1]");
        datensatz(*andere, 1, QStringLiteral("PROBE"), QStringLiteral("alt"));
        arbeit().Execute("DELETE FROM [E1]");
        arbeit().Execute("INSERT INTO [E1] ([ID],[KEN]) VALUES (1,'A'),(2,'probe'),(3,'Z')");
        auto d = dialog();
        waehlen(*d->lstIMP, fall.gewaehlt);
        boxen.clear();
        boxen.expect(fall.antwort, QStringLiteral("Datensatz probe ist bereits vorhanden!"));
        d->cmdEXP_Click();
        ASSERT_EQ(boxen.boxes().size(), 1);
        EXPECT_EQ(boxen.boxes()[0].style, 49);
        EXPECT_EQ(boxen.boxes()[0].title, QStringLiteral("VELD"));
        EXPECT_EQ(spalte(*andere, "SELECT [KEN] FROM [E1] ORDER BY [ID]"), fall.danach);
    }
}

TEST_F(ExpImp, AFailureInsideARecordRollsItBackWhole) {
    for (int antwort : {vbOK, vbCancel}) {
        SCOPED_TRACE(antwort);
        for (const QString& tabelle : kTabellen) {
            arbeit().Execute(QStringLiteral("DELETE FROM [%1]").arg(tabelle));
            andere->Execute(QStringLiteral("DELETE FROM [%1]").arg(tabelle));
        }
        andere->Execute("DROP TRIGGER IF EXISTS fuenfte");
        datensatz(arbeit(), 1, "R1", "eins", 4);
        datensatz(arbeit(), 2, "R2", "zwei", 2);
        datensatz(arbeit(), 3, "R3", "drei", 5);
        datensatz(arbeit(), 4, "R4", "vier", 4);
        // Orphans under the keys the records will get.
        andere->Execute("INSERT INTO [E3] ([ID],[I1]) VALUES (1,90),(3,91),(4,92)");
        andere->Execute("CREATE TRIGGER fuenfte BEFORE INSERT ON [E3] WHEN "
                        "(SELECT count(*) FROM [E3] WHERE [ID]=NEW.[ID])>=4 "
                        "BEGIN SELECT RAISE(ABORT,'zu viele Messwerte'); END");
        auto d = dialog();
        waehlen(*d->lstIMP, {"R1", "R2", "R3", "R4"});
        boxen.clear();
        boxen.expect(antwort, QStringLiteral("zu viele Messwerte"));
        d->cmdEXP_Click();
        ASSERT_EQ(boxen.boxes().size(), 1);
        EXPECT_TRUE(boxen.boxes()[0].prompt.startsWith(QStringLiteral("VB-Error: ")));
        EXPECT_TRUE(boxen.boxes()[0].prompt.contains(QStringLiteral("\r\n")));
        EXPECT_EQ(boxen.boxes()[0].style, 1);
        EXPECT_EQ(boxen.boxes()[0].title, QStringLiteral("Export/Import"));

        const QVariantList kennungen =
            antwort == vbOK ? QVariantList{"R1", "R2", "R4"} : QVariantList{"R1", "R2"};
        EXPECT_EQ(spalte(*andere, "SELECT [KEN] FROM [E1] ORDER BY [ID]"), kennungen);
        EXPECT_EQ(zeilen(*andere, "E3", 1), zeilen(arbeit(), "E3", 1)); // no orphan merged in
        EXPECT_EQ(zeilen(*andere, "E3", 2), zeilen(arbeit(), "E3", 2));
        if (antwort == vbOK) {
            EXPECT_EQ(zeilen(*andere, "E3", 3), zeilen(arbeit(), "E3", 4));
            EXPECT_EQ(zeilen(*andere, "A1", 3), zeilen(arbeit(), "A1", 4));
        } else {
            // Record three left nothing behind, not even its E1 row.
            for (const char* tabelle : {"E1", "E2", "A1", "A2", "G0"})
                EXPECT_EQ(zeilen(*andere, tabelle, 3).size(), 0) << tabelle;
        }
    }
}

// The other project's owner saves while the dialog is open: a new file takes
// the place of the database that the dialog opened. Both buttons work on the
// file that is at the path when they are pressed; a record chosen in the list
// is found there by what the list showed of it, not by a key of the old file.
TEST_F(ExpImp, TheButtonsWorkOnTheDatabaseThatIsAtThePathWhenPressed) {
    datensatz(arbeit(), 1, QStringLiteral("EIGEN"), QStringLiteral("x"));
    datensatz(*andere, 1, QStringLiteral("FREMD"), QStringLiteral("y"));
    datensatz(*andere, 2, QStringLiteral("ALT"), QStringLiteral("z"));
    auto d = dialog();
    speichern([](Connection& db) { datensatz(db, 3, QStringLiteral("NEU"), QStringLiteral("n")); });
    waehlen(*d->lstIMP, {"EIGEN"});
    d->cmdEXP->click();
    EXPECT_TRUE(boxen.boxes().isEmpty());
    Connection jetzt(andereDatei());
    EXPECT_EQ(spalte(jetzt, "SELECT [KEN] FROM [E1] ORDER BY [ID]"),
              QVariantList({"FREMD", "ALT", "NEU", "EIGEN"}));
    EXPECT_EQ(texte(*d->lstEXP), QStringList({"ALT (z)", "EIGEN (x)", "FREMD (y)", "NEU (n)"}));

    // The owner removed ALT, and another record took its key: ALT is told.
    waehlen(*d->lstEXP, {"ALT", "FREMD"});
    speichern([](Connection& db) {
        for (const QString& tabelle : kTabellen)
            db.Execute(QStringLiteral("DELETE FROM [%1] WHERE [ID]=2").arg(tabelle));
        datensatz(db, 2, QStringLiteral("ANDERS"), QStringLiteral("a"));
    });
    boxen.expect(vbOK, QStringLiteral("\r\nALT (z): nicht mehr vorhanden"));
    d->cmdIMP->click();
    EXPECT_EQ(boxen.boxes().size(), 1);
    EXPECT_EQ(spalte(arbeit(), "SELECT [KEN] FROM [E1] ORDER BY [ID]"),
              QVariantList({"EIGEN", "FREMD"}));
    EXPECT_EQ(texte(*d->lstEXP), QStringList({"ANDERS (a)", "EIGEN (x)", "FREMD (y)", "NEU (n)"}));
}

// The new file may hold an identifier twice (written by another program) and
// other keys: a chosen record is copied only where one record shows all the
// list showed; the rest, and what an export whose target was saved over
// midway could not copy, is named in one box a press.
TEST_F(ExpImp, AfterTheOtherProjectWasSavedOverOnlyTheChosenRecordIsCopiedTheRestTold) {
    struct Fall {
        int16_t sprache;
        const char *importiert, *exportiert; // the box after each press
    };
    const Fall faelle[] = {
        {3,
         "Das externe Projekt wurde inzwischen durch eine andere Datei ersetzt. Diese gewählten "
         "Datensätze sind darin nicht eindeutig wiederzufinden und wurden nicht importiert:\r\n"
         "WEG (w): nicht mehr vorhanden\r\nY (gleich): mehrfach vorhanden",
         "Das externe Projekt wurde während des Exports durch eine andere Datei ersetzt oder "
         "entfernt. Diese Datensätze wurden nicht exportiert:\r\nE (e)\r\nF ()"},
        {1,
         "The external project was replaced by another file meanwhile. These chosen records "
         "cannot be found again unambiguously in it and were not imported:\r\n"
         "WEG (w): no longer there\r\nY (gleich): there more than once",
         "The external project was replaced by another file or removed during the export. "
         "These records were not exported:\r\nE (e)\r\nF ()"},
    };
    // Records keyed 1, 2, ... from "KEN KOM".
    const auto anlegen = [](Connection& db, std::initializer_list<const char*> datensaetze) {
        int id = 0;
        for (const QString d : datensaetze)
            datensatz(db, ++id, d.section(' ', 0, 0), d.section(' ', 1));
    };
    for (const Fall& fall : faelle) {
        fenster.SETZESPRACHE(fall.sprache);
        andere->Reopen();
        for (const QString& tabelle : kTabellen)
            for (Connection* db : {&arbeit(), andere.get()})
                db->Execute(QStringLiteral("DELETE FROM [%1]").arg(tabelle));
        anlegen(*andere, {"X erster", "X zweiter", "WEG w", "Y gleich", "Y gleich", "DUP d"});
        anlegen(arbeit(), {"A a", "DUP d", "E e", "F"});
        auto d = dialog();
        for (const auto& [text, welcher] :
             {std::pair{"X (zweiter)", 0}, {"WEG (w)", 0}, {"Y (gleich)", 1}})
            d->lstEXP->findItems(text, Qt::MatchExactly).at(welcher)->setSelected(true);
        speichern([](Connection& db) { // WEG is removed, the two X swap their keys
            for (const QString& t : kTabellen)
                db.Execute(QStringLiteral("DELETE FROM [%1] WHERE [ID]=3; UPDATE [%1] SET [ID]=9 "
                                          "WHERE [ID]=1; UPDATE [%1] SET [ID]=1 WHERE [ID]=2; "
                                          "UPDATE [%1] SET [ID]=2 WHERE [ID]=9")
                               .arg(t));
        });
        boxen.clear();
        boxen.expect(vbOK, QString::fromUtf8(fall.importiert));
        d->cmdIMP->click();
        ASSERT_EQ(boxen.prompts(), QStringList({QString::fromUtf8(fall.importiert)}));
        EXPECT_EQ(boxen.boxes()[0].style, 48);
        EXPECT_EQ(spalte(arbeit(), "SELECT [KEN] || [KOM] FROM [E1] WHERE [ID]>4"),
                  QVariantList({"Xzweiter"}));

        // Saved over while the duplicate question waits: E and F are left.
        waehlen(*d->lstIMP, {"A", "DUP", "E", "F"});
        boxen.clear();
        boxen.expect(vbOK, QStringLiteral("Datensatz DUP ist bereits vorhanden!"));
        boxen.waehrend = [&] { speichern([](Connection&) {}); };
        boxen.expect(vbOK, QString::fromUtf8(fall.exportiert));
        d->cmdEXP->click();
        EXPECT_EQ(boxen.prompts(), QStringList({"Datensatz DUP ist bereits vorhanden!",
                                                QString::fromUtf8(fall.exportiert)}));
        andere->Reopen();
        EXPECT_EQ(spalte(*andere, "SELECT [KEN] FROM [E1] WHERE [KEN] IN ('A','E','F')"),
                  QVariantList({"A"})); // went in before the Save, which took it along
    }
}

TEST_F(ExpImp, ThePlaceholderAndTheMultipleEvaluationAreNoRecords) {
    // Row 0 "M" is never listed; a user's record named "m" is.
    arbeit().Execute("INSERT INTO [E1] ([ID],[KEN],[KOM]) VALUES (0,'M','Mehrfachauswertung')");
    datensatz(arbeit(), 3, QStringLiteral("m"), QStringLiteral("eigener"));
    datensatz(*andere, 0, QStringLiteral("M"), QStringLiteral("Mehrfachauswertung"));
    auto d = dialog();
    EXPECT_EQ(texte(*d->lstIMP), QStringList({"m (eigener)"}));
    EXPECT_EQ(texte(*d->lstEXP), QStringList({"<leer>"}));
    EXPECT_FALSE(d->lstEXP->item(0)->data(Qt::UserRole).isValid());

    // "<leer>" chosen: nothing, not even the multiple evaluation, is copied.
    d->lstEXP->item(0)->setSelected(true);
    d->cmdIMP_Click();
    EXPECT_EQ(spalte(arbeit(), "SELECT [ID] FROM [E1] ORDER BY [ID]"), QVariantList({0, 3}));

    // The user's "m" is no duplicate of the target's row 0.
    waehlen(*d->lstIMP, {"m"});
    d->cmdEXP_Click();
    EXPECT_TRUE(boxen.boxes().isEmpty());
    EXPECT_EQ(spalte(*andere, "SELECT [KEN] FROM [E1] WHERE [ID]=1"), QVariantList({"m"}));
}

TEST_F(ExpImp, AnApostropheInAnIdentifierIsCopiedAndFoundAsDuplicate) {
    datensatz(arbeit(), 1, QStringLiteral("O'Brien"), QStringLiteral("it's"));
    auto d = dialog();
    waehlen(*d->lstIMP, {"O'Brien"});
    d->cmdEXP_Click();
    EXPECT_EQ(spalte(*andere, "SELECT [KOM] FROM [E1] WHERE [KEN]='O''Brien'"),
              QVariantList({"it's"}));
    boxen.expect(vbOK, QStringLiteral("Datensatz O'Brien ist bereits vorhanden!"));
    d->cmdEXP_Click();
    EXPECT_EQ(spalte(*andere, "SELECT count(*) FROM [E1]"), QVariantList({1}));
}

TEST_F(ExpImp, ColumnsAreCopiedByNameIntoAnyOrder) {
    andere->Close();
    QFile::remove(andereDatei());
    {
        CreateDatabase(andereDatei());
        Connection db(andereDatei());
        for (const TABELLE& t : PROJEKTTABELLEN()) {
            TABELLE umgekehrt = t;
            std::reverse(umgekehrt.SPALTEN.begin(), umgekehrt.SPALTEN.end());
            db.Execute(TABELLENANWEISUNG(umgekehrt));
        }
    }
    andere->Open(andereDatei());
    datensatz(arbeit(), 2, QStringLiteral("R"), QStringLiteral("kom"), 3);
    auto d = dialog();
    waehlen(*d->lstIMP, {"R"});
    d->cmdEXP_Click();
    EXPECT_TRUE(boxen.boxes().isEmpty());
    for (const QString& tabelle : kTabellen) {
        const QString sql = QStringLiteral("SELECT [KEN],[KOM],[AKT] FROM [E1] WHERE [ID]=%1");
        EXPECT_EQ(spalte(*andere, sql.arg(1)), spalte(arbeit(), sql.arg(2)));
        QList<QVariantList> erwartet = zeilen(arbeit(), tabelle, 2);
        for (QVariantList& zeile : erwartet)
            std::reverse(zeile.begin(), zeile.end());
        EXPECT_EQ(zeilen(*andere, tabelle, 1), erwartet) << tabelle.toStdString();
    }
}

TEST_F(ExpImp, TheButtonsWaitForAnotherProjectsDatabase) {
    datensatz(arbeit(), 1, QStringLiteral("R"), QStringLiteral("k"));
    auto d = dialog(false);
    // The view starts at the folder that holds the project folders.
    EXPECT_EQ(d->dirEXP_Path(), QDir::cleanPath(fenster.PROJEKTSPFAD()));
    EXPECT_EQ(d->drvEXP_Drive(), frmEXPIMP::LAUFWERK(fenster.PROJEKTSPFAD()));
    EXPECT_FALSE(d->cmdEXP->isEnabled());
    EXPECT_FALSE(d->cmdIMP->isEnabled());
    waehlen(*d->lstIMP, {"R"});
    d->cmdEXP_Click(); // nothing to copy into
    EXPECT_TRUE(boxen.boxes().isEmpty());
    d->dirEXP_SetPath(andererOrdner());
    EXPECT_TRUE(d->cmdEXP->isEnabled());
    EXPECT_TRUE(d->cmdIMP->isEnabled());
}

TEST_F(ExpImp, TheFolderListShowsTheWayAndTheFoldersInItAndOpensAChosenOne) {
    auto d = dialog(false);
    QTreeWidgetItem* aktuell = d->dirEXP->currentItem();
    ASSERT_NE(aktuell, nullptr);
    EXPECT_EQ(aktuell->text(0), QStringLiteral("PROJEKTE"));
    ASSERT_EQ(aktuell->childCount(), 2);
    EXPECT_EQ(aktuell->child(0)->text(0), QStringLiteral("TE0000.00"));
    EXPECT_EQ(aktuell->child(1)->text(0), QStringLiteral("TE0001.00"));
    // Its parents lead up to the drive's root, folder by folder.
    QString pfad = d->dirEXP_Path();
    QTreeWidgetItem* oben = aktuell;
    for (; oben->parent(); oben = oben->parent()) {
        EXPECT_EQ(oben->data(0, Qt::UserRole).toString(), pfad);
        pfad = QFileInfo(pfad).absolutePath();
    }
    EXPECT_EQ(oben->data(0, Qt::UserRole).toString(), QDir::cleanPath(d->drvEXP_Drive()));
    emit d->dirEXP->itemActivated(aktuell->child(1), 0);
    EXPECT_EQ(d->dirEXP_Path(), andererOrdner());
    EXPECT_TRUE(d->ANDEREDATENBANK()->IsOpen());
    EXPECT_EQ(d->dirEXP->currentItem()->text(0), QStringLiteral("TE0001.00"));
}

TEST_F(ExpImp, TheWorkingCopyIsNeverOfferedTheProjectsOwnDatabaseIs) {
    const QString kopienordner = QFileInfo(fenster.XMDBPFAD()).absolutePath();
    const QString verweis = fenster.WURZEL() + QStringLiteral("/VERWEIS");
    ASSERT_TRUE(QFile::link(kopienordner, verweis));
    auto d = dialog(false);
    for (const QString& ordner : {kopienordner, verweis, kopienordner + QStringLiteral("/./")}) {
        d->dirEXP_SetPath(ordner);
        EXPECT_EQ(d->lstEXP->count(), 0) << ordner.toStdString();
        EXPECT_FALSE(d->ANDEREDATENBANK()->IsOpen());
    }
    datensatz(arbeit(), 1, QStringLiteral("NEU"), QStringLiteral("ungespeichert"));
    d->dirEXP_SetPath(fenster.PROJEKTSPFAD() + QStringLiteral("/TE0000.00"));
    EXPECT_TRUE(d->ANDEREDATENBANK()->IsOpen());
    EXPECT_EQ(texte(*d->lstEXP), QStringList({"<leer>"})); // the saved state
    EXPECT_EQ(d->fraEXP->title(), QStringLiteral("Projekt TE0000"));
}

TEST_F(ExpImp, AFileThatIsNoProjectDatabaseShowsTheBoxAndLeavesNothingOpen) {
    const QString fremd = fenster.WURZEL() + QStringLiteral("/TEXT");
    QDir().mkpath(fremd);
    QFile datei(fremd + QStringLiteral("/VELD.mdb"));
    ASSERT_TRUE(datei.open(QIODevice::WriteOnly));
    datei.write("Dies ist keine Datenbank.\n");
    datei.close();
    const QString ohneE1 = fenster.WURZEL() + QStringLiteral("/LEER");
    QDir().mkpath(ohneE1);
    INFORMATIONSDATENBANKANLEGEN(ohneE1 + QStringLiteral("/VELD.mdb")); // a database, no E1 of ours
    Connection(ohneE1 + QStringLiteral("/VELD.mdb")).Execute("DROP TABLE [E1]");

    auto d = dialog();
    for (const QString& ordner : {fremd, ohneE1}) {
        SCOPED_TRACE(ordner.toStdString());
        d->dirEXP_SetPath(andererOrdner());
        ASSERT_TRUE(d->ANDEREDATENBANK()->IsOpen());
        boxen.clear();
        boxen.expect(vbOK, QStringLiteral("VB-Error: "));
        d->dirEXP_SetPath(ordner);
        ASSERT_EQ(boxen.boxes().size(), 1);
        EXPECT_EQ(boxen.boxes()[0].style, 1);
        EXPECT_EQ(boxen.boxes()[0].title, QStringLiteral("Export/Import"));
        EXPECT_FALSE(d->ANDEREDATENBANK()->IsOpen());
        EXPECT_FALSE(d->cmdEXP->isEnabled());
        EXPECT_EQ(d->lstEXP->count(), 0);
        EXPECT_EQ(d->fraEXP->title(), QStringLiteral("Externes Projekt"));
    }
}

TEST_F(ExpImp, AFolderWithoutADatabaseKeepsTheEarlierOneAsTarget) {
    datensatz(arbeit(), 1, QStringLiteral("R"), QStringLiteral("k"));
    auto d = dialog();
    d->dirEXP_SetPath(fenster.WURZEL());
    EXPECT_EQ(d->lstEXP->count(), 0);
    EXPECT_EQ(d->fraEXP->title(), QStringLiteral("Projekt TE0001"));
    waehlen(*d->lstIMP, {"R"});
    d->cmdEXP_Click();
    EXPECT_EQ(spalte(*andere, "SELECT [KEN] FROM [E1]"), QVariantList({"R"}));
    EXPECT_EQ(texte(*d->lstEXP), QStringList({"R (k)"}));
}

TEST_F(ExpImp, CaptionsFollowTheLanguage) {
    struct Fall {
        int16_t sprache;
        const char *imp, *exp, *geoeffnet, *schliessen;
    };
    const Fall faelle[] = {
        {1, "Selected Projekt: TE0000.00", "External Project", "Project TE0001", "Quit"},
        {3, "Aktuelles Projekt: TE0000.00", "Externes Projekt", "Projekt TE0001", "Schließen"},
        {2, "Aktuelles Projekt #", "Externes Projekt", "Externes Projekt", "Schließen"},
    };
    for (const Fall& fall : faelle) {
        fenster.SETZESPRACHE(fall.sprache);
        auto d = dialog(false);
        EXPECT_EQ(d->windowTitle(), QStringLiteral("Export/Import"));
        EXPECT_EQ(d->fraIMP->title(), QString::fromUtf8(fall.imp));
        EXPECT_EQ(d->fraEXP->title(), QString::fromUtf8(fall.exp));
        EXPECT_EQ(d->cmdSCHLIESSEN->text(), QString::fromUtf8(fall.schliessen));
        d->dirEXP_SetPath(andererOrdner());
        EXPECT_EQ(d->fraEXP->title(), QString::fromUtf8(fall.geoeffnet));
        EXPECT_EQ(d->cmdEXP->toolTip(), QStringLiteral("Export"));
        EXPECT_EQ(d->cmdIMP->toolTip(), QStringLiteral("Import"));
        EXPECT_EQ(d->cmdEXP->text(), QStringLiteral("◀"));
        EXPECT_EQ(d->cmdIMP->text(), QStringLiteral("▶"));
    }
}

TEST_F(ExpImp, ClosingAfterOpeningADatabaseAnswersOk) {
    fenster.SETZEAUSWAHLMODUS(QStringLiteral("O"));
    {
        auto d = dialog(false);
        d->cmdSCHLIESSEN_Click();
    }
    EXPECT_EQ(fenster.AUSWAHLMODUS(), QStringLiteral("O")); // nothing opened
    auto d = dialog();
    const std::shared_ptr<Connection> verbindung = d->ANDEREDATENBANK();
    d->cmdSCHLIESSEN_Click(); // nothing copied
    EXPECT_EQ(fenster.AUSWAHLMODUS(), QStringLiteral("OK"));
    EXPECT_FALSE(verbindung->IsOpen());
}

TEST(ExpImpPfade, BaseNamesAndDrives) {
    EXPECT_EQ(frmEXPIMP::BASISNAME("/p/TE0000.00"), QStringLiteral("TE0000"));
    EXPECT_EQ(frmEXPIMP::BASISNAME("/p/a.b.c/"), QStringLiteral("a.b"));
    EXPECT_EQ(frmEXPIMP::BASISNAME("/p/PROJEKT"), QStringLiteral("PROJEKT"));
    EXPECT_TRUE(frmEXPIMP::LAUFWERKE().contains(frmEXPIMP::LAUFWERK(QDir::tempPath())));
    EXPECT_EQ(frmEXPIMP::LAUFWERK(QDir::tempPath() + "/gibt/es/nicht"),
              frmEXPIMP::LAUFWERK(QDir::tempPath()));
}
