#include "support/KINDPROZESS.h"

#include "platform/controls/PrinterTarget.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Every test executable runs headless, with its own HOME and settings folder,
// so that no test reads or writes the user's own settings. Whatever the
// machine has, a test sees one printer installed (its documents go to the
// PDF files the tests name); a test of a machine without printers says so.
// Whatever a run leaves in the temporary folder is a fault of its test.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    PrinterTarget::SetInstalledPrinters(QStringList{QStringLiteral("Testdrucker")});
    if (KINDPROZESS::ISTKIND(argc, argv)) {
        QApplication app(argc, argv);
        QApplication::setApplicationName(QStringLiteral("VELD"));
        QLocale::setDefault(QLocale::c());
        return KINDPROZESS::AUSFUEHREN(argc, argv);
    }
    QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home.path() + "/.config").toLocal8Bit());
    // Qt's runtime folder too, or it makes one in the temporary folder that
    // outlives the run.
    const QString laufzeit = home.path() + QStringLiteral("/runtime");
    QDir().mkdir(laufzeit);
    QFile::setPermissions(laufzeit, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", laufzeit.toLocal8Bit());
    qputenv("LC_ALL", "C");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("VELD"));
    QLocale::setDefault(QLocale::c());
    return RUN_ALL_TESTS();
}
