// What a run keeps when its working copy is replaced under it: the Save
// writes nothing over the project and keeps the run's own work in a file of
// its own beside the copy, named in a box.

#include "KOPIELABOR.h"

#include "platform/database/Connection.h"
#include "platform/runtime/ErrorHandler.h"
#include "platform/runtime/MsgBox.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <gtest/gtest.h>

TEST(Abgeloest, TheSaveOfARunWhoseCopyWasReplacedKeepsOnlyWhatItStored) {
    const struct {
        bool gespeichert;
        const char* text;
        const char* abgelegt;
    } faelle[] = {
        {true,
         " wurde ersetzt oder gelöscht, während dieser Lauf mit ihr arbeitete; das Projekt "
         "TE0001.00 wurde nicht überschrieben.\r\nWas dieser Lauf in ihr gespeichert hatte, "
         "liegt unter ",
         "VELD_ersetzt.mdb"},
        {false,
         " wurde ersetzt oder gelöscht, während dieser Lauf mit ihr arbeitete; das Projekt "
         "TE0001.00 wurde nicht überschrieben. Dieser Lauf hat seit seinem letzten Speichern "
         "nichts gespeichert, es wird also nichts abgelegt.",
         ""},
    };
    for (const auto& fall : faelle) {
        KOPIELABOR labor;
        const auto lauf = labor.LAUFEN();
        ErrorHandler eh(QStringLiteral("VB-Error: "), QStringLiteral("VELD"));
        ASSERT_TRUE(lauf->kopie->VORBEREITEN(eh));
        if (fall.gespeichert)
            lauf->verbindung->Execute(
                QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (5,'EIGEN',false)"));
        // Another file takes the copy's place under the live run.
        const QString anderer = labor.ARBEITSKOPIEPFAD() + QStringLiteral(".anderer");
        ASSERT_TRUE(QFile::copy(labor.PROJEKTDATENBANK(), anderer));
        ASSERT_EQ(std::rename(QFile::encodeName(anderer).constData(),
                              QFile::encodeName(labor.ARBEITSKOPIEPFAD()).constData()),
                  0);
        ASSERT_TRUE(lauf->kopie->KOPIEVERSCHOBEN());
        labor.DIALOG.ANTWORTEN({vbOK});
        EXPECT_TRUE(lauf->kopie->SPEICHERN(QStringLiteral("Speichern"), QString(),
                                           [] { return false; }));
        ASSERT_EQ(labor.DIALOG.BOXEN().size(), 1);
        const QString ordner = QFileInfo(labor.ARBEITSKOPIEPFAD()).path();
        QString text = QStringLiteral("Die Arbeitskopie ") +
                       QDir::toNativeSeparators(labor.ARBEITSKOPIEPFAD()) +
                       QString::fromUtf8(fall.text);
        if (fall.gespeichert)
            text += QDir::toNativeSeparators(ordner + QStringLiteral("/VELD_ersetzt.mdb")) +
                    QStringLiteral(".");
        EXPECT_EQ(labor.DIALOG.BOXEN()[0].text, text);
        EXPECT_EQ(labor.DIALOG.BOXEN()[0].stil, vbOKOnly + vbExclamation);
        EXPECT_EQ(labor.DIALOG.BOXEN()[0].titel, QStringLiteral("Speichern"));
        // The project is untouched, and only the run's own work is kept.
        EXPECT_EQ(KOPIELABOR::KENNUNGEN(labor.PROJEKTDATENBANK()), QString());
        const QStringList abgelegt =
            QDir(ordner).entryList({QStringLiteral("VELD_*.mdb")}, QDir::Files);
        if (fall.gespeichert) {
            ASSERT_EQ(abgelegt, QStringList{QString::fromUtf8(fall.abgelegt)});
            EXPECT_EQ(KOPIELABOR::KENNUNGEN(ordner + QLatin1Char('/') + abgelegt[0]),
                      QStringLiteral("EIGEN"));
        } else {
            EXPECT_TRUE(abgelegt.isEmpty());
        }
    }
}
