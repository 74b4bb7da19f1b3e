// Qt's own dialogs in the user's language: the print dialog of a German run
// is German; C, English and a language without a catalogue keep English.

#include "platform/runtime/System.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QLocale>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

// The text of the print dialog's own Print button, on a dialog made here.
QString druckknopf() {
    QPrinter drucker;
    QPrintDialog dialog(&drucker);
    const auto* knoepfe = dialog.findChild<QDialogButtonBox*>();
    if (!knoepfe || !knoepfe->button(QDialogButtonBox::Ok)) return QString();
    return knoepfe->button(QDialogButtonBox::Ok)->text();
}

} // namespace

TEST(QtTranslations, ThePrintDialogSpeaksTheUsersLanguage) {
    struct Fall {
        const char* locale;
        bool katalog;
        const char* drucken; // the dialog's context, "Print"
        const char* knopf;
    };
    const Fall faelle[] = {
        {"de_DE", true, "Drucken", "&Drucken"},
        {"C", false, "Print", "&Print"},
        {"en_US", false, "Print", "&Print"},
        {"is_IS", false, "Print", "&Print"}, // no catalogue on the machine
    };
    for (const Fall& fall : faelle) {
        SCOPED_TRACE(fall.locale);
        EXPECT_EQ(InstallQtTranslations(QLocale(QString::fromLatin1(fall.locale))), fall.katalog);
        EXPECT_EQ(QCoreApplication::translate("QPrintDialog", "Print"),
                  QString::fromUtf8(fall.drucken));
        EXPECT_EQ(druckknopf(), QString::fromUtf8(fall.knopf));
    }
    InstallQtTranslations(QLocale::c());
}
