// The export to the information system: the lists, new entries and
// overwritten ones, the result column by device, exact project matching,
// the transfer as one transaction, and the progress bar.

#include "AUSTAUSCHLABOR.h"

#include "exchange/frmEXPINF.h"
#include "platform/runtime/System.h"
#include "platform/runtime/Variant.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace {

class ExpInf : public AustauschTest {
protected:
    QString talvirPfad() { return fenster.DATENBANKPFAD() + QStringLiteral("/TALVIR.mdb"); }
    void talvirAnlegen() {
        INFORMATIONSDATENBANKANLEGEN(talvirPfad());
        talvir = std::make_shared<Connection>(talvirPfad());
    }
    ~ExpInf() override {
        if (talvir) talvir->Close();
    }
    // A project record with its device, reference time and (unless Null)
    // result.
    void datensatz(int id, const QString& ken, const QVariant& kom, const QVariant& vt,
                   const QVariant& veld) {
        arbeit().Execute("INSERT INTO [E1] ([ID],[KEN],[KOM]) VALUES (?,?,?)", {id, ken, kom});
        if (!IsNull(vt))
            arbeit().Execute("INSERT INTO [E2] ([ID],[VT],[TMAX]) VALUES (?,?,1440)", {id, vt});
        if (!IsNull(veld))
            arbeit().Execute("INSERT INTO [A1] ([ID],[VELD]) VALUES (?,?)", {id, veld});
    }
    // Chooses the project record and applies with Yes.
    void uebernehmen(frmEXPINF& d, int zeile, const QString& frage) {
        d.lstPROJ->setCurrentRow(zeile);
        boxen.expect(vbYes, frage);
        d.cmdUEBERNEHMEN_Click();
    }
    QList<QVariantList> alle(const QString& tabelle) {
        QList<QVariantList> z;
        Recordset rs(QStringLiteral("SELECT * FROM [%1] ORDER BY [ID]").arg(tabelle), *talvir);
        for (; !rs.Eof(); rs.MoveNext()) {
            QVariantList zeile;
            for (int j = 0; j < rs.FieldCount(); ++j)
                zeile << rs.Fields(j).Value();
            z << zeile;
        }
        return z;
    }
    static QVariantList daten(const QListWidget& liste) {
        QVariantList d;
        for (int i = 0; i < liste.count(); ++i)
            d << liste.item(i)->data(Qt::UserRole);
        return d;
    }
    const QString kNeu = QStringLiteral("Neuen Datensatz anlegen ?");
    std::shared_ptr<Connection> talvir;
};

const QVariant kNull = VNull();

} // namespace

TEST_F(ExpInf, WithoutTheInformationSystemTheListsStayEmpty) {
    datensatz(1, "A", "a", 0, 10.0);
    boxen.expect(vbOK, QStringLiteral("Informationssystem TALVIR ist nicht installiert!"));
    frmEXPINF d;
    ASSERT_EQ(boxen.boxes().size(), 1);
    EXPECT_EQ(boxen.boxes()[0].style, 48);
    EXPECT_EQ(boxen.boxes()[0].title, QStringLiteral("VELD"));
    EXPECT_EQ(d.lstPROJ->count(), 0);
    EXPECT_EQ(d.lstINF->count(), 0);
    EXPECT_FALSE(fenster.FORTSCHRITTSICHTBAR());
    boxen.expect(vbOK, QStringLiteral("Auswahl eines Datensatzes des aktuellen Projektes fehlt !"));
    d.cmdUEBERNEHMEN_Click();
    EXPECT_EQ(boxen.boxes().last().style, 0);
}

TEST_F(ExpInf, NewEntriesTakeConsecutiveKeysAndTheEntryTexts) {
    talvirAnlegen();
    datensatz(2, "P'2", "it's", 0, 12.5);
    frmEXPINF d;
    EXPECT_EQ(d.lstINF->count(), 0);
    fenster.PROTOKOLLLOESCHEN();
    uebernehmen(d, 0, kNeu);
    uebernehmen(d, 0, kNeu);
    EXPECT_EQ(boxen.boxes().size(), 2);
    EXPECT_EQ(boxen.boxes()[0].style, 4);
    const QVariant datum = frmEXPINF::DATUMSTEXT(QDate::currentDate());
    EXPECT_EQ(alle("E0"), QList<QVariantList>({{1, short(0), "TE0000.00", "QX", "Prüfer", datum},
                                               {2, short(0), "TE0000.00", "QX", "Prüfer", datum}}));
    EXPECT_EQ(alle("E1"), QList<QVariantList>({{1, "P'2", "it's"}, {2, "P'2", "it's"}}));
    EXPECT_EQ(alle("E2"),
              QList<QVariantList>({{1, 12.5f, kNull, 1440.0f}, {2, 12.5f, kNull, 1440.0f}}));
    EXPECT_EQ(texte(*d.lstINF), QStringList({"P'2", "P'2"}));
    EXPECT_EQ(daten(*d.lstINF), QVariantList({1, 2}));
    EXPECT_TRUE(d.lstINF->selectedItems().isEmpty());
    EXPECT_EQ(fenster.FORTSCHRITTE(), std::vector<int>({100, 0, 100, 0}));
    EXPECT_FALSE(fenster.FORTSCHRITTSICHTBAR());
}

TEST_F(ExpInf, TheResultGoesIntoTheColumnOfTheDevice) {
    talvirAnlegen();
    // Key, device (Null: no E2 row), result (Null: never evaluated), and the
    // E2 row that arrives.
    struct Fall {
        int id;
        QVariant vt, veld;
        QVariantList e2;
    };
    const Fall faelle[] = {
        {1, 0, 11.0, {1, 11.0f, kNull, 1440.0f}},
        {2, 1, 22.0, {2, kNull, 22.0f, 1440.0f}},
        {3, 2, 33.0, {3, kNull, kNull, 1440.0f}},
        {4, kNull, 44.0, {4, 44.0f, kNull, kNull}}, // no E2 row: Enslin
        {5, 0, kNull, {5, kNull, kNull, 1440.0f}},
    };
    for (const Fall& fall : faelle)
        datensatz(fall.id, QStringLiteral("R%1").arg(fall.id), kNull, fall.vt, fall.veld);
    frmEXPINF d;
    for (int i = 0; i < 5; ++i)
        uebernehmen(d, i, kNeu);
    QList<QVariantList> erwartet;
    for (const Fall& fall : faelle)
        erwartet << fall.e2;
    EXPECT_EQ(alle("E2"), erwartet);
    EXPECT_EQ(alle("E1")[4], QVariantList({5, "R5", kNull}));
}

TEST_F(ExpInf, OverwritingKeepsTheEntryAndTheOtherResult) {
    talvirAnlegen();
    talvir->Execute("ALTER TABLE [E2] ADD COLUMN [BEMERKUNG] TEXT");
    talvir->Execute("INSERT INTO [E0] VALUES (7,3,'TE0000.00','QY','Alt','01.01.01')");
    talvir->Execute("INSERT INTO [E1] VALUES (7,'ALT','alter Kommentar')");
    talvir->Execute("INSERT INTO [E2] VALUES (7,5.5,NULL,10,'bleibt')");
    datensatz(1, "NEU", "anderer", 1, 33.0);
    frmEXPINF d;
    ASSERT_EQ(texte(*d.lstINF), QStringList({"ALT"}));
    const auto e0 = alle("E0");
    const auto e1 = alle("E1");
    // Choosing the entry is its Click.
    d.lstINF->setCurrentRow(0);
    uebernehmen(d, 0, QString::fromUtf8("Ausgewählten Datensatz überschreiben ?"));
    EXPECT_EQ(alle("E0"), e0);
    EXPECT_EQ(alle("E1"), e1);
    EXPECT_EQ(alle("E2"), QList<QVariantList>({{7, 5.5f, 33.0f, 1440.0f, "bleibt"}}));
    EXPECT_EQ(texte(*d.lstINF), QStringList({"ALT"}));

    // A second click deselects: Apply asks for a new entry.
    d.lstINF_Click();
    EXPECT_TRUE(d.lstINF->selectedItems().isEmpty());
    d.lstPROJ->setCurrentRow(0);
    boxen.expect(vbNo, kNeu);
    d.cmdUEBERNEHMEN_Click();
    EXPECT_EQ(alle("E1").size(), 1); // No writes nothing
}

TEST_F(ExpInf, OnlyTheProjectsOwnEntriesAreListed) {
    talvirAnlegen();
    const char* projekte[] = {"O'Brien", "TE%", "TE0000.00", "te%", "TEX"};
    int id = 0;
    for (const char* projekt : projekte) {
        ++id;
        talvir->Execute("INSERT INTO [E0] ([ID],[PROJ]) VALUES (?,?)", {id, projekt});
        talvir->Execute("INSERT INTO [E1] ([ID],[KEN]) VALUES (?,?)",
                        {id, QStringLiteral("K%1").arg(id)});
    }
    struct Fall {
        const char* projekt;
        QStringList eintraege;
    };
    // Letter case aside, as every key of the databases compares.
    const Fall faelle[] = {{"O'Brien", {"K1"}}, {"TE%", {"K2", "K4"}}, {"TE0000.00", {"K3"}}};
    for (const Fall& fall : faelle) {
        fenster.SETZEPROJEKT(QString::fromUtf8(fall.projekt));
        frmEXPINF d;
        EXPECT_EQ(texte(*d.lstINF), fall.eintraege) << fall.projekt;
    }
    EXPECT_TRUE(boxen.boxes().isEmpty());
}

TEST_F(ExpInf, AFailedWriteLeavesTheInformationSystemAsItWas) {
    talvirAnlegen();
    talvir->Execute("CREATE TRIGGER zeit BEFORE UPDATE OF [ZEIT] ON [E2] "
                    "BEGIN SELECT RAISE(ABORT,'gesperrt'); END");
    datensatz(1, "A", "a", 0, 10.0);
    frmEXPINF d;
    d.lstPROJ->setCurrentRow(0);
    boxen.expect(vbYes, kNeu);
    boxen.expect(vbOK, QStringLiteral("kann nicht in die Spalte ZEIT der Tabelle E2"));
    d.cmdUEBERNEHMEN_Click();
    ASSERT_EQ(boxen.boxes().size(), 2);
    EXPECT_EQ(boxen.boxes()[1].title, QStringLiteral("Datenfehler"));
    for (const char* tabelle : {"E0", "E1", "E2"})
        EXPECT_TRUE(alle(tabelle).isEmpty()) << tabelle;
    EXPECT_EQ(d.lstINF->count(), 0);
    EXPECT_EQ(fenster.FORTSCHRITT(), 0);
    EXPECT_FALSE(fenster.FORTSCHRITTSICHTBAR());
    EXPECT_EQ(MousePointer(), vbDefault);
    // The next transfer takes key 1 again: nothing of the failed one stayed.
    talvir->Execute("DROP TRIGGER zeit");
    uebernehmen(d, 0, kNeu);
    EXPECT_EQ(daten(*d.lstINF), QVariantList({1}));
}

TEST_F(ExpInf, CancelOnTheTransferBoxLeavesTheInformationSystemAsItWas) {
    talvirAnlegen();
    datensatz(1, "A", "a", 0, 10.0);
    // A device code beyond an Integer: its read fails with overflow (6).
    arbeit().Execute("UPDATE [E2] SET [VT]=70000");
    frmEXPINF d;
    d.lstPROJ->setCurrentRow(0);
    boxen.expect(vbYes, kNeu);
    // Asked inside the transfer's writing transaction, the box answers
    // Cancel at once and waits only after the rollback, with OK alone.
    boxen.expect(vbOK, QStringLiteral("VB-Error: 6\r\n"));
    d.cmdUEBERNEHMEN_Click();
    ASSERT_EQ(boxen.boxes().size(), 2);
    EXPECT_TRUE(boxen.boxes()[1].held);
    EXPECT_EQ(boxen.boxes()[1].style, 0);
    EXPECT_EQ(boxen.boxes()[1].title, QStringLiteral("Export Informationssystem"));
    for (const char* tabelle : {"E0", "E1", "E2"})
        EXPECT_TRUE(alle(tabelle).isEmpty()) << tabelle;
    EXPECT_EQ(d.lstINF->count(), 0);
    EXPECT_FALSE(fenster.FORTSCHRITTSICHTBAR());
}

TEST_F(ExpInf, TheBarFollowsTheListsAndTheMultipleEvaluationIsListed) {
    talvirAnlegen();
    datensatz(2, "B", kNull, 0, kNull);
    datensatz(0, "M", "Mehrfachauswertung", kNull, kNull);
    datensatz(1, "A", kNull, 0, kNull);
    frmEXPINF d;
    EXPECT_EQ(texte(*d.lstPROJ), QStringList({"M", "A", "B"}));
    EXPECT_EQ(daten(*d.lstPROJ), QVariantList({0, 1, 2}));
    EXPECT_EQ(fenster.FORTSCHRITTE(), std::vector<int>({0, 33, 67, 0}));
    EXPECT_EQ(fenster.SICHTBARKEITEN(), std::vector<bool>({true, false}));
    uebernehmen(d, 0, kNeu);
    EXPECT_EQ(alle("E1"), QList<QVariantList>({{1, "M", "Mehrfachauswertung"}}));
}

TEST_F(ExpInf, CaptionsFollowTheLanguageAndTheDateIsFixed) {
    talvirAnlegen();
    fenster.SETZESPRACHE(1);
    {
        frmEXPINF d;
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Export Informationssystem"));
        EXPECT_EQ(d.lblAKTP1->text(), QStringLiteral("Files"));
        EXPECT_EQ(d.lblAKTI2->text(), QStringLiteral("from current project"));
        EXPECT_EQ(d.lblAKTI3->text(), QStringLiteral("in the information system"));
        EXPECT_EQ(d.fraPROJ->title(), QString());
        EXPECT_EQ(d.cmdUEBERNEHMEN->text(), QStringLiteral("Apply"));
        EXPECT_EQ(d.cmdSCHLIESSEN->text(), QStringLiteral("Quit"));
    }
    fenster.SETZESPRACHE(3);
    frmEXPINF d;
    EXPECT_EQ(d.lblAKTP2->text(), QStringLiteral("des aktuellen Projektes"));
    EXPECT_EQ(d.fraPROJ->title(), QStringLiteral("Aktuelles Projekt"));
    EXPECT_EQ(d.fraINF->title(), QStringLiteral("Informations System"));
    EXPECT_EQ(d.cmdUEBERNEHMEN->text(), QStringLiteral("Übernehmen"));
    for (const char* sprache : {"de_DE", "en_US", "C"}) {
        QLocale::setDefault(QLocale(QString::fromLatin1(sprache)));
        EXPECT_EQ(frmEXPINF::DATUMSTEXT(QDate(2004, 12, 24)), QStringLiteral("24.12.04"));
    }
}

// Every label shows its whole text, in both languages.
TEST_F(ExpInf, EveryLabelShowsItsWholeText) {
    talvirAnlegen();
    for (int sprache : {1, 3}) {
        fenster.SETZESPRACHE(sprache);
        frmEXPINF d;
        for (const QLabel* l : d.findChildren<QLabel*>()) {
            EXPECT_LE(l->fontMetrics().horizontalAdvance(l->text()), l->width())
                << l->objectName().toStdString() << " " << sprache;
            EXPECT_LE(l->geometry().right(), l->parentWidget()->width())
                << l->objectName().toStdString() << " " << sprache;
        }
    }
}

// The entry list's Click follows the keyboard as well as the mouse.
TEST_F(ExpInf, TheEntryListFollowsTheKeyboardAsWellAsTheMouse) {
    talvirAnlegen();
    for (int id : {1, 2}) {
        talvir->Execute("INSERT INTO [E0] ([ID],[PROJ]) VALUES (?,'TE0000.00')", {id});
        talvir->Execute("INSERT INTO [E1] ([ID],[KEN]) VALUES (?,?)", {id, QString::number(id)});
    }
    datensatz(1, "R", "r", 0, 10.0);
    frmEXPINF d;
    d.show();
    d.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
    QListWidget& liste = *d.lstINF;
    const auto klick = [&](int zeile) {
        QTest::mouseClick(liste.viewport(), Qt::LeftButton, {},
                          liste.visualItemRect(liste.item(zeile)).center());
    };
    const auto taste = [](Qt::Key k) { QTest::keyClick(QApplication::focusWidget(), k); };
    // The entry chosen by the keyboard is the one a second click deselects.
    klick(1);
    ASSERT_EQ(QApplication::focusWidget(), &liste);
    taste(Qt::Key_Up);
    klick(0);
    EXPECT_TRUE(liste.selectedItems().isEmpty());
    // Click, Down, click on the first entry again: it is chosen.
    klick(0);
    taste(Qt::Key_Down);
    klick(0);
    uebernehmen(d, 0, QString::fromUtf8("Ausgewählten Datensatz überschreiben ?"));
    EXPECT_EQ(alle("E2"), QList<QVariantList>({{1, 10.0f, kNull, 1440.0f}}));
}
