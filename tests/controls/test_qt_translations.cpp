// Qt's own dialogs in the user's language: the print dialog of a German run
// is German; C, English and a language without a catalogue keep English.

#include "platform/runtime/System.h"

#include <QCoreApplication>
#include <QLocale>
#include <gtest/gtest.h>

TEST(QtTranslations, ThePrintDialogSpeaksTheUsersLanguage) {
    const struct {
        const char* locale;
        bool katalog;
        const char* drucken; // the print dialog's Print button
    } faelle[] = {{"de_DE", true, "Drucken"},
                  {"C", false, "Print"},
                  {"en_US", false, "Print"},
                  {"is_IS", false, "Print"}}; // no catalogue on the machine
    for (const auto& fall : faelle) {
        SCOPED_TRACE(fall.locale);
        EXPECT_EQ(InstallQtTranslations(QLocale(QString::fromLatin1(fall.locale))), fall.katalog);
        EXPECT_EQ(QCoreApplication::translate("QPrintDialog", "Print"),
                  QString::fromLatin1(fall.drucken));
    }
    InstallQtTranslations(QLocale::c());
}
