// Qt's own dialogs in the user's language: the print dialog of a German run
// is German; C, English and a language without a catalogue keep English.

#include "platform/runtime/System.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(QtTranslations, ThePrintDialogSpeaksTheUsersLanguage) {
    // A folder without catalogues stands for a language that Qt has none of.
    QTemporaryDir leer;
    const struct {
        const char* locale;
        QString ordner;
        bool katalog;
        const char* drucken; // the print dialog's Print button
    } faelle[] = {{"de_DE", QString(), true, "Drucken"},
                  {"C", QString(), false, "Print"},
                  {"en_US", QString(), false, "Print"},
                  {"de_DE", leer.path(), false, "Print"}};
    for (const auto& fall : faelle) {
        SCOPED_TRACE(fall.locale + fall.ordner.toStdString());
        EXPECT_EQ(InstallQtTranslations(QLocale(QString::fromLatin1(fall.locale)), fall.ordner),
                  fall.katalog);
        EXPECT_EQ(QCoreApplication::translate("QPrintDialog", "Print"),
                  QString::fromLatin1(fall.drucken));
    }
    InstallQtTranslations(QLocale::c());
}
