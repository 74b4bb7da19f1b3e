#pragma once

// A laboratory for the main window's tests, laid out as an installation:
//   <root>/DATENBANK/ARCHIV.mdb   with the ADMIN row of user TESTER
//   <root>/DATENBANK/VORGABE.mdb
//   <root>/PROJEKTE/TE0001.00/VELD.mdb   the project database
//   <root>/PROGRAMM/VELD/VELD.mdb        the empty template beside the program
//   <root>/PROGRAMM/BENUTZER/TESTER/     the working copy's folder (made by the program)
// The settings value points at DATENBANK; the login name, the program's
// directory and the locale are set through SystemOverrides; started
// programs and opened documents are recorded; pauses are skipped. A German
// laboratory runs under the de_DE locale (decimal comma), any other under C.

#include "platform/runtime/System.h"

#include <QString>
#include <QTemporaryDir>
#include <QVariant>
#include <memory>

class SHELLLABOR {
public:
    // programmordner: the folder of the program's directory under the root
    // ("PROGRAMM" for an installed run; one containing "source" for a
    // development run).
    explicit SHELLLABOR(const QString& sprache = QStringLiteral("de"),
                        const QString& programmordner = QStringLiteral("PROGRAMM"));
    // A laboratory that another process made, at its root, for the run of
    // another process (of the same or another login name).
    struct VORHANDEN {
        QString wurzel;
        QString anmeldename = QStringLiteral("tester");
    };
    explicit SHELLLABOR(const VORHANDEN& vorhanden);
    // Restores the C locale of the tests and removes the documents that the
    // program wrote into the temporary folder for the desktop to open (no
    // desktop program opens, and so removes, them in a test).
    ~SHELLLABOR();
    SHELLLABOR(const SHELLLABOR&) = delete;
    SHELLLABOR& operator=(const SHELLLABOR&) = delete;

    QString WURZEL() const { return m_wurzel ? m_wurzel->path() : m_vorhanden; }
    QString DATENBANK() const { return WURZEL() + QStringLiteral("/DATENBANK"); }
    QString ARCHIV() const { return DATENBANK() + QStringLiteral("/ARCHIV.mdb"); }
    QString PROJEKTSPFAD() const { return WURZEL() + QStringLiteral("/PROJEKTE"); }
    QString PROJEKT() const { return QStringLiteral("TE0001.00"); }
    QString PROJEKTDATENBANK() const {
        return PROJEKTSPFAD() + QStringLiteral("/TE0001.00/VELD.mdb");
    }
    QString PROGRAMM() const { return m_programm; }
    QString ARBEITSKOPIE() const;
    QString HERKUNFT() const;

    // ADMIN.PROG of the user's row (Empty when there is no row).
    QVariant ADMINPROG(const QString& benutzer = QStringLiteral("TESTER")) const;
    // The records of a database: "KEN" of E1 in ID order, joined by ",".
    static QString KENNUNGEN(const QString& datenbank);
    // The comment (KOM) of a record.
    static QString KOMMENTAR(const QString& datenbank, int id);
    // Adds a record to a database.
    static void DATENSATZ(const QString& datenbank, int id, const QString& ken, bool akt = false,
                          const QString& kom = QString());
    // The same into a working copy, through a connection of its own that
    // keeps the copy's base as the program's does.
    static void KOPIEDATENSATZ(const QString& arbeitskopie, int id, const QString& ken);
    // A stand-in frame program KORVA beside the program's directory.
    QString RAHMENPROGRAMMANLEGEN() const;

    SystemOverrides SYSTEM;

private:
    void EINSTELLEN(const QString& sprache, const QString& anmeldename);

    // Only a laboratory of its own has a folder to remove: a child process
    // that is killed would leave one behind.
    std::unique_ptr<QTemporaryDir> m_wurzel;
    QString m_vorhanden;
    QString m_programm;
};
