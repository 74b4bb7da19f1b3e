// The program started as a user would: installed by `cmake --install` into a
// fresh prefix, with an administration row, a project and the settings
// value, started on the offscreen platform and ended by SIGTERM.

#include "data/SCHEMA.h"
#include "platform/database/Connection.h"
#include "platform/database/Recordset.h"
#include "platform/runtime/System.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>
#include <gtest/gtest.h>

namespace {
QVariant prog(const QString& archiv, const QString& benutzer) {
    Connection verbindung(archiv);
    Recordset zeile(QStringLiteral("SELECT [PROG] FROM [ADMIN] WHERE [BENUTZER]=?"), verbindung,
                    {benutzer});
    return zeile.Eof() ? QVariant() : zeile.Value(QStringLiteral("PROG"));
}

QMap<QString, QString> zustandLesen(const QString& datei) {
    QMap<QString, QString> werte;
    QFile lesen(datei);
    if (!lesen.open(QIODevice::ReadOnly | QIODevice::Text)) return werte;
    for (const QByteArray& zeile : lesen.readAll().split('\n')) {
        const qsizetype gleich = zeile.indexOf('=');
        if (gleich > 0)
            werte.insert(QString::fromUtf8(zeile.left(gleich)),
                         QString::fromUtf8(zeile.mid(gleich + 1)));
    }
    return werte;
}
} // namespace

TEST(Installation, StartedAsAUserWouldAndEndedBySigterm) {
    const QString cmake = QStandardPaths::findExecutable(QStringLiteral("cmake"));
    ASSERT_FALSE(cmake.isEmpty()) << "cmake is needed to install the program";
    const QString bau = QFileInfo(QStringLiteral(VELD_PROGRAM_DIR)).path();
    QTemporaryDir wurzel;
    ASSERT_TRUE(wurzel.isValid());
    const QString praefix = wurzel.filePath(QStringLiteral("Labor"));

    QProcess installieren;
    installieren.start(cmake,
                       {QStringLiteral("--install"), bau, QStringLiteral("--prefix"), praefix});
    ASSERT_TRUE(installieren.waitForFinished(60000));
    ASSERT_EQ(installieren.exitCode(), 0) << installieren.readAllStandardError().toStdString();
    for (const char* datei : {"VELD", "VELD.mdb", "VELD.HLP", "VELD.doc", "VELD_H.doc"})
        ASSERT_TRUE(QFileInfo::exists(praefix + QStringLiteral("/VELD/") + QLatin1String(datei)))
            << datei;

    // The laboratory as the frame program leaves it.
    const QString benutzer = UserName();
    const QString datenbank = wurzel.filePath(QStringLiteral("Datenbank"));
    const QString projekte = wurzel.filePath(QStringLiteral("Projekte"));
    QDir().mkpath(datenbank);
    QDir().mkpath(projekte + QStringLiteral("/TE0001.00"));
    ARCHIVDATENBANKANLEGEN(datenbank + QStringLiteral("/ARCHIV.mdb"));
    VORGABEDATENBANKANLEGEN(datenbank + QStringLiteral("/VORGABE.mdb"));
    PROJEKTDATENBANKANLEGEN(projekte + QStringLiteral("/TE0001.00/VELD.mdb"));
    {
        Connection archiv(datenbank + QStringLiteral("/ARCHIV.mdb"));
        archiv.Execute(
            QStringLiteral(
                "INSERT INTO [ADMIN] ([BENUTZER],[PROG],[PROJEKTSPFAD],[PROJEKT],[BEARBEITER]) "
                "VALUES (?,'KORVA',?,'TE0001.00','Prüfer')"),
            {benutzer, projekte});
    }
    const QString einstellungen = wurzel.filePath(QStringLiteral("config"));
    {
        QSettings korva(einstellungen + QStringLiteral("/KORVA.conf"), QSettings::IniFormat);
        korva.setValue(QStringLiteral("Extras/Datenbankpfad"), datenbank);
    }
    // A frame program that leaves a trace when it is started.
    const QString spur = wurzel.filePath(QStringLiteral("korva-gestartet"));
    {
        QFile rahmen(praefix + QStringLiteral("/KORVA"));
        rahmen.open(QIODevice::WriteOnly);
        rahmen.write(("#!/bin/sh\ntouch '" + spur + "'\n").toUtf8());
        rahmen.close();
        rahmen.setPermissions(rahmen.permissions() | QFileDevice::ExeOwner);
    }

    const QString zustand = wurzel.filePath(QStringLiteral("zustand.txt"));
    QProcessEnvironment umgebung = QProcessEnvironment::systemEnvironment();
    umgebung.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    umgebung.insert(QStringLiteral("XDG_CONFIG_HOME"), einstellungen);
    umgebung.insert(QStringLiteral("HOME"), wurzel.path());
    umgebung.insert(QStringLiteral("VELD_ZUSTANDSDATEI"), zustand);
    QProcess programm;
    programm.setProcessEnvironment(umgebung);
    programm.setProcessChannelMode(QProcess::MergedChannels);
    programm.start(praefix + QStringLiteral("/VELD/VELD"), {});
    ASSERT_TRUE(programm.waitForStarted(10000));

    QElapsedTimer uhr;
    uhr.start();
    while (!QFileInfo::exists(zustand) && programm.state() == QProcess::Running &&
           uhr.elapsed() < 30000)
        programm.waitForFinished(50);
    if (!QFileInfo::exists(zustand)) {
        programm.kill();
        programm.waitForFinished(5000);
        FAIL() << "no start-up state; output: " << programm.readAll().toStdString();
    }

    const QMap<QString, QString> werte = zustandLesen(zustand);
    EXPECT_EQ(werte.value(QStringLiteral("Caption")), QStringLiteral("Korvalind"));
    EXPECT_EQ(werte.value(QStringLiteral("Panel2")), QStringLiteral("TE0001.00"));
    EXPECT_EQ(werte.value(QStringLiteral("Panel2.ToolTipText")), QString::fromUtf8("Prüfer"));
    EXPECT_EQ(werte.value(QStringLiteral("Panel4")), QStringLiteral("VELD"));
    EXPECT_EQ(prog(datenbank + QStringLiteral("/ARCHIV.mdb"), benutzer),
              QVariant(QStringLiteral("VELD")));
    const QString arbeitskopie =
        praefix + QStringLiteral("/BENUTZER/") + benutzer + QStringLiteral("/VELD.mdb");
    EXPECT_TRUE(QFileInfo::exists(arbeitskopie));

    ASSERT_EQ(::kill(pid_t(programm.processId()), SIGTERM), 0);
    const bool beendet = programm.waitForFinished(30000);
    if (!beendet) programm.kill();
    ASSERT_TRUE(beendet) << programm.readAll().toStdString();
    EXPECT_EQ(programm.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(programm.exitCode(), 0);
    EXPECT_EQ(prog(datenbank + QStringLiteral("/ARCHIV.mdb"), benutzer),
              QVariant(QStringLiteral("KORVA")));
    EXPECT_FALSE(QFileInfo::exists(arbeitskopie));
    // The session ended: the frame program is not started again.
    QThread::msleep(100);
    EXPECT_FALSE(QFileInfo::exists(spur));
}
