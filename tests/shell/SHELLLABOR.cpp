#include "SHELLLABOR.h"

#include "arbeitskopie/KOPIEBASIS.h"
#include "data/SCHEMA.h"
#include "platform/database/Connection.h"
#include "platform/database/Recordset.h"
#include "platform/runtime/Variant.h"
#include "support/PROJEKTLESEN.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <stdexcept>

SHELLLABOR::SHELLLABOR(const QString& sprache, const QString& programmordner)
    : m_wurzel(std::make_unique<QTemporaryDir>()) {
    if (!m_wurzel->isValid()) throw std::runtime_error("no temporary folder");
    m_programm = WURZEL() + QLatin1Char('/') + programmordner + QStringLiteral("/VELD");
    QDir().mkpath(DATENBANK());
    QDir().mkpath(PROJEKTSPFAD() + QStringLiteral("/TE0001.00"));
    QDir().mkpath(m_programm);
    ARCHIVDATENBANKANLEGEN(ARCHIV());
    VORGABEDATENBANKANLEGEN(DATENBANK() + QStringLiteral("/VORGABE.mdb"));
    PROJEKTDATENBANKANLEGEN(PROJEKTDATENBANK());
    PROJEKTDATENBANKANLEGEN(m_programm + QStringLiteral("/VELD.mdb"));
    {
        Connection archiv(ARCHIV());
        archiv.Execute(
            QStringLiteral(
                "INSERT INTO [ADMIN] ([BENUTZER],[PROG],[PROJEKTSPFAD],[PROJEKT],[BEARBEITER]) "
                "VALUES (?,?,?,?,?)"),
            {QStringLiteral("TESTER"), QStringLiteral("KORVA"), PROJEKTSPFAD(), PROJEKT(),
             QString::fromUtf8("Grete Prüfer")});
        archiv.Execute(
            QStringLiteral(
                "INSERT INTO [ADMIN] ([BENUTZER],[PROG],[PROJEKTSPFAD],[PROJEKT],[BEARBEITER]) "
                "VALUES (?,?,?,?,?)"),
            {QStringLiteral("ANDERER"), QStringLiteral("KORVA"), PROJEKTSPFAD(), PROJEKT(),
             QStringLiteral("Jemand")});
    }
    SaveSetting(QStringLiteral("KORVA"), QStringLiteral("Extras"), QStringLiteral("Datenbankpfad"),
                DATENBANK());
    EINSTELLEN(sprache, QStringLiteral("tester"));
}

SHELLLABOR::SHELLLABOR(const VORHANDEN& vorhanden) : m_vorhanden(vorhanden.wurzel) {
    m_programm = WURZEL() + QStringLiteral("/PROGRAMM/VELD");
    EINSTELLEN(QStringLiteral("de"), vorhanden.anmeldename);
}

void SHELLLABOR::EINSTELLEN(const QString& sprache, const QString& anmeldename) {
    SYSTEM.SetLoginName(anmeldename);
    SYSTEM.SetProgramDirectory(m_programm);
    SYSTEM.SetLanguageName(sprache);
    const bool deutsch = sprache == QLatin1String("de");
    QLocale::setDefault(deutsch ? QLocale(QLocale::German, QLocale::Germany) : QLocale::c());
    SYSTEM.SetDecimalSeparator(deutsch ? QStringLiteral(",") : QStringLiteral("."));
    SYSTEM.RecordStartedPrograms();
    SYSTEM.SkipSleeps();
}

SHELLLABOR::~SHELLLABOR() {
    const QString temp = QDir(QDir::tempPath()).canonicalPath();
    for (const QString& dokument : SYSTEM.OpenedDocuments())
        if (QFileInfo(dokument).canonicalPath() == temp) QFile::remove(dokument);
    QLocale::setDefault(QLocale::c());
}

QString SHELLLABOR::ARBEITSKOPIE() const {
    return QFileInfo(m_programm).path() + QStringLiteral("/BENUTZER/TESTER/VELD.mdb");
}

QString SHELLLABOR::HERKUNFT() const {
    return QFileInfo(m_programm).path() + QStringLiteral("/BENUTZER/TESTER/VELD.projekt");
}

QVariant SHELLLABOR::ADMINPROG(const QString& benutzer) const {
    Connection archiv(ARCHIV());
    Recordset zeile(QStringLiteral("SELECT [PROG] FROM [ADMIN] WHERE [BENUTZER]=?"), archiv,
                    {benutzer});
    if (zeile.Eof()) return QVariant();
    return zeile.Value(QStringLiteral("PROG"));
}

QString SHELLLABOR::KOMMENTAR(const QString& datenbank, int id) {
    return KOMMENTARLESEN(datenbank, id);
}

QString SHELLLABOR::KENNUNGEN(const QString& datenbank) {
    return KENNUNGENLESEN(datenbank);
}

void SHELLLABOR::DATENSATZ(const QString& datenbank, int id, const QString& ken, bool akt,
                           const QString& kom) {
    Connection verbindung(datenbank);
    verbindung.Execute(QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[KOM],[AKT]) VALUES (?,?,?,?)"),
                       {id, ken, kom.isNull() ? VNull() : QVariant(kom), akt});
}

void SHELLLABOR::KOPIEDATENSATZ(const QString& arbeitskopie, int id, const QString& ken) {
    Connection verbindung(arbeitskopie);
    KOPIEBASIS::EINRICHTEN(verbindung);
    verbindung.Execute(QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (?,?,false)"),
                       {id, ken});
}

QString SHELLLABOR::RAHMENPROGRAMMANLEGEN() const {
    const QString pfad = QFileInfo(m_programm).path() + QStringLiteral("/KORVA");
    QFile datei(pfad);
    datei.open(QIODevice::WriteOnly);
    datei.write("#!/bin/sh\nexit 0\n");
    datei.close();
    datei.setPermissions(datei.permissions() | QFileDevice::ExeOwner);
    return pfad;
}
