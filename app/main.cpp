#include "platform/runtime/System.h"
#include "shell/SIGNALWAECHTER.h"
#include "shell/frmMAINFENSTER.h"

#include <QApplication>
#include <QLocale>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("VELD"));
    // Set once, every window of the run shows it.
    QApplication::setWindowIcon(frmMAINFENSTER::PROGRAMMSYMBOL());
    // The platform's dialogs (printing, colours) speak the user's language.
    InstallQtTranslations(QLocale());
    SIGNALWAECHTER waechter;
    frmMAINFENSTER fenster;
    // A session end during the start-up is kept for its end; only a start
    // that waits for another run stops at once.
    QObject::connect(&waechter, &SIGNALWAECHTER::BEENDEN, &fenster, &frmMAINFENSTER::SITZUNGSENDE);
    waechter.AKTIVIEREN();
    if (!fenster.MDIForm_Load()) return 0;
    // The start-up has chosen the program's language; the platform's dialogs
    // speak it too, whatever the locale.
    InstallQtTranslations(GermanTexts() ? QLocale(QLocale::German, QLocale::Germany)
                                        : QLocale(QLocale::English));
    // For checking an installed run from outside: the state of the window
    // after the start-up.
    if (const QString zustand = qEnvironmentVariable("VELD_ZUSTANDSDATEI"); !zustand.isEmpty())
        fenster.ZUSTANDSCHREIBEN(zustand);
    return app.exec();
}
