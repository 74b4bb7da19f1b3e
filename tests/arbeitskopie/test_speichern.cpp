// The Save: the copy over the project, and the question before it
// overwrites what someone else wrote into the project since.

#include "KOPIELABOR.h"

#include "arbeitskopie/PROJEKTABDRUCK.h"
#include "platform/database/Connection.h"
#include "platform/runtime/ErrorHandler.h"
#include "platform/runtime/MsgBox.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
bool speichern(ARBEITSKOPIE& kopie) {
    return kopie.SPEICHERN(QStringLiteral("Speichern"), QStringLiteral("/VELD.HLP"), [] {
        ADD_FAILURE() << "a small copy is compacted";
        return false;
    });
}

void neu(Connection& kopie, int id, const char* ken) {
    kopie.Execute(QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (?,?,false)"),
                  {id, QString::fromUtf8(ken)});
}
} // namespace

TEST(Speichern, TheCopyReplacesTheProjectAndItsMarksAndDigestFollow) {
    KOPIELABOR labor;
    const auto lauf = labor.LAUFEN();
    ErrorHandler eh(QStringLiteral("VB-Error: "), QStringLiteral("VELD"));
    ASSERT_TRUE(lauf->kopie->VORBEREITEN(eh));
    neu(*lauf->verbindung, 5, "NEU");
    ASSERT_EQ(labor.ZUSTANDSDATEIEN(QStringLiteral("*.geaendert")).size(), 1);
    EXPECT_TRUE(speichern(*lauf->kopie));
    EXPECT_TRUE(labor.DIALOG.BOXEN().isEmpty());
    EXPECT_EQ(KOPIELABOR::KENNUNGEN(labor.PROJEKTDATENBANK()), QStringLiteral("NEU"));
    EXPECT_TRUE(labor.ZUSTANDSDATEIEN(QStringLiteral("*.geaendert")).isEmpty());
    EXPECT_FALSE(lauf->kopie->BOGEAENDERT());
    const QList<DatabaseMark> abdruecke = PROJEKTABDRUCK::ABDRUECKE(labor.HERKUNFT());
    ASSERT_EQ(abdruecke.size(), 1);
    EXPECT_TRUE(abdruecke[0].Same(MarkOfDatabase(labor.PROJEKTDATENBANK())));
}

TEST(Speichern, AProjectChangedByAnotherIsOverwrittenOnlyAfterYes) {
    const struct {
        int antwort;
        bool gespeichert;
        const char* projekt;
    } faelle[] = {{vbNo, false, "FREMD"}, {vbYes, true, "NEU"}};
    for (const auto& fall : faelle) {
        KOPIELABOR labor;
        const auto lauf = labor.LAUFEN();
        ErrorHandler eh(QStringLiteral("VB-Error: "), QStringLiteral("VELD"));
        ASSERT_TRUE(lauf->kopie->VORBEREITEN(eh));
        KOPIELABOR::DATENSATZ(labor.PROJEKTDATENBANK(), 7, QStringLiteral("FREMD"));
        neu(*lauf->verbindung, 5, "NEU");
        labor.DIALOG.ANTWORTEN({fall.antwort});
        EXPECT_EQ(speichern(*lauf->kopie), fall.gespeichert);
        ASSERT_EQ(labor.DIALOG.BOXEN().size(), 1);
        const KOPIEDIALOG::BOX box = labor.DIALOG.BOXEN()[0];
        EXPECT_EQ(box.text,
                  QStringLiteral("Das Projekt TE0001.00 (") +
                      QDir::toNativeSeparators(labor.PROJEKTDATENBANK()) +
                      QString::fromUtf8(
                          ") wurde seit dem Anlegen der Arbeitskopie von einem anderen "
                          "Benutzer oder Programm geändert. Wird jetzt gespeichert, gehen im "
                          "Projekt diese Datensätze verloren, die die Arbeitskopie nicht oder "
                          "anders enthält: FREMD.\r\nUm beides zu behalten, wählen Sie Nein und "
                          "dann Datei, Export-Import: entweder die Datensätze des Projekts in die "
                          "Arbeitskopie importieren und danach speichern, oder die eigenen "
                          "Datensätze in das Projekt exportieren und danach ohne Speichern "
                          "beenden (Nein auf die Frage nach dem Speichern).\r\nSoll das Projekt "
                          "trotzdem überschrieben werden?"));
        EXPECT_EQ(box.stil, vbYesNo + vbExclamation + vbDefaultButton2);
        EXPECT_EQ(box.titel, QStringLiteral("Speichern"));
        EXPECT_EQ(KOPIELABOR::KENNUNGEN(labor.PROJEKTDATENBANK()), QString::fromUtf8(fall.projekt));
        // Unsaved, the change stays marked.
        EXPECT_EQ(lauf->kopie->BOGEAENDERT(), !fall.gespeichert);
    }
}

TEST(Speichern, SizesRoundHalvesToEven) {
    QTemporaryDir ordner;
    auto mb = [&](qint64 bytes) {
        QFile datei(ordner.filePath(QStringLiteral("g")));
        datei.open(QIODevice::WriteOnly);
        datei.resize(bytes);
        datei.close();
        return ARBEITSKOPIE::GROESSEMB(datei.fileName());
    };
    EXPECT_EQ(mb(10040000), 10.0f);
    EXPECT_EQ(mb(10060000), 10.1f);
    EXPECT_EQ(mb(12340000), 12.3f);
    EXPECT_EQ(mb(10050000), 10.0f);
    EXPECT_EQ(mb(10150000), 10.2f);
    EXPECT_EQ(mb(49000), 0.0f);
}
