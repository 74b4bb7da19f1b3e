#pragma once

// A laboratory for the working copy without a main window: in a temporary
// folder a project database PROJEKTE/TE0001.00/VELD.mdb and the user's
// folder BENUTZER/TESTER for the copy. Its dialog stands in for the main
// window: it records every box and answers from a queue, and a box that no
// answer waits for fails the test.

#include "arbeitskopie/ARBEITSKOPIE.h"
#include "arbeitskopie/ARBEITSKOPIEDIALOG.h"
#include "support/ScriptedDialogs.h"

#include <QList>
#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

class Connection;

class KOPIEDIALOG : public ARBEITSKOPIEDIALOG {
public:
    struct BOX {
        QString text;
        int stil = 0;
        QString titel;
    };
    explicit KOPIEDIALOG(QString projektdatenbank, QString arbeitskopie);

    // The answers of the next boxes, in order.
    void ANTWORTEN(const QList<int>& antworten) { m_antworten += antworten; }
    QList<BOX> BOXEN() const { return m_boxen; }
    // The language: 1 English, 3 German.
    int16_t m_sprache = 3;
    bool m_entladen = false;

    int FRAGEN(const QString& text, int stil, const QString& titel, const QString& hilfedatei,
               int kontext) override;
    bool GELADEN() override { return true; }
    bool ENTLADEN() const override { return m_entladen; }
    bool SITZUNGENDET() const override { return false; }
    int16_t SPRACHE() override { return m_sprache; }
    QString PROJEKT() override { return QStringLiteral("TE0001.00"); }
    QString PROJEKTDATENBANK() const override { return m_projektdatenbank; }
    QString XMDBPFAD() override;
    void HINWEISEN(const QString& zeile, const QString&) override { m_hinweise << zeile; }
    // The lines the copy left for the status bar.
    QStringList m_hinweise;
    // The steps left for the event loop's next turn, run when a test says.
    void SPAETER(std::function<void()> schritt) override { m_spaeter.push_back(schritt); }
    void SPAETERAUSFUEHREN() {
        const auto schritte = std::exchange(m_spaeter, {});
        for (const auto& schritt : schritte)
            schritt();
    }
    std::vector<std::function<void()>> m_spaeter;
    // Called with each box's text while the box waits, before its answer.
    std::function<void(const QString&)> m_waehrendFrage;

private:
    QString m_projektdatenbank;
    QString m_arbeitskopie;
    QList<int> m_antworten;
    QList<BOX> m_boxen;
};

class KOPIELABOR {
    // First, as the paths of the dialog are in it.
    QTemporaryDir m_wurzel;

public:
    KOPIELABOR();
    ~KOPIELABOR();
    KOPIELABOR(const KOPIELABOR&) = delete;
    KOPIELABOR& operator=(const KOPIELABOR&) = delete;

    QString PROJEKTDATENBANK() const;
    QString ARBEITSKOPIEPFAD() const;
    QString HERKUNFT() const;
    QString ZUSTAND() const;
    // The files of the copy's state folder that match `muster`.
    QStringList ZUSTANDSDATEIEN(const QString& muster) const;
    // The records of a database: "KEN" of E1 in ID order, joined by ",".
    static QString KENNUNGEN(const QString& datenbank);
    // The comment (KOM) of the record with the key 1.
    static QString KOMMENTAR(const QString& datenbank);
    static void DATENSATZ(const QString& datenbank, int id, const QString& ken);

    // A run's copy as the main window holds it: its connection, guarded by
    // the copy's marks, and the copy itself. A second run is a second one.
    struct LAUF {
        std::shared_ptr<Connection> verbindung;
        std::unique_ptr<ARBEITSKOPIE> kopie;
        ~LAUF();
    };
    // Of the user TESTER, or of the user whose dialog is given.
    std::unique_ptr<LAUF> LAUFEN(KOPIEDIALOG* dialog = nullptr);
    // A run whose start went through.
    std::unique_ptr<LAUF> GESTARTET(KOPIEDIALOG* dialog = nullptr);

    // Error boxes of the platform (ErrorHandler) fail the test unless a
    // test expects them.
    ScriptedDialogs PLATTFORMBOXEN;
    KOPIEDIALOG DIALOG;
    // Another user of the project, with a copy in BENUTZER/ANDERER.
    KOPIEDIALOG ANDERERDIALOG;
};
