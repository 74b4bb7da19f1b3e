#pragma once

// The main window of the tests: a temporary laboratory with a database
// directory (ARCHIV.mdb with the user's ADMIN row, VORGABE.mdb), a project
// directory PROJEKTE/TE0000.00 with a fresh project database VELD.mdb, a
// program directory PROGRAMM/VELD with the empty template VELD.mdb and the
// user's working copy PROGRAMM/BENUTZER/<user>/VELD.mdb, opened as DBPROJEKT;
// DBVORGABE is opened on VORGABE.mdb. It makes itself the program's main
// window (frmMAIN()) while it lives.
//
// It records what the lower parts ask of the main window: the status-bar
// panels pressed, every value and visibility given to the progress bar, and
// the calls of mnuBEENDEN_Click, mnuHILFE_Click and DATENSATZANZEIGE, and
// the state given to menus and panels. Every property can be set by the test.

#include "data/HAUPTFENSTER.h"

#include <QMap>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>
#include <QVariantList>
#include <functional>
#include <memory>
#include <vector>

class Connection;
class RecordingSurface;

class TESTHAUPTFENSTER : public HAUPTFENSTER {
public:
    TESTHAUPTFENSTER();
    ~TESTHAUPTFENSTER() override;
    TESTHAUPTFENSTER(const TESTHAUPTFENSTER&) = delete;
    TESTHAUPTFENSTER& operator=(const TESTHAUPTFENSTER&) = delete;

    // HAUPTFENSTER
    std::shared_ptr<Connection> DBPROJEKT() override { return m_dbprojekt; }
    std::shared_ptr<Connection> DBVORGABE() override { return m_dbvorgabe; }
    QString BENUTZER() override { return m_benutzer; }
    QString DATENBANKPFAD() override { return m_datenbankpfad; }
    QString XMDBPFAD() override { return m_xmdbpfad; }
    QString PROJEKT() override { return m_projekt; }
    QString PROJEKTSPFAD() override { return m_projektspfad; }
    QString BEARBEITER() override { return m_bearbeiter; }
    int16_t SPRACHE() override { return m_sprache; }
    QString DEZIMALPUNKT() override { return m_dezimalpunkt; }
    QString PROGRAMMPFAD() override { return m_programmpfad; }
    QString AUSWAHLMODUS() override { return m_auswahlmodus; }
    void SETZEAUSWAHLMODUS(const QString& modus) override { m_auswahlmodus = modus; }
    bool BOGEAENDERT() override { return m_bogeaendert; }
    void SETZEBOGEAENDERT(bool geaendert) override { m_bogeaendert = geaendert; }
    void mnuBEENDEN_Click() override;
    void mnuHILFE_Click() override;
    void stbMAIN_PanelClick(int panel) override;
    QRect GEOMETRIE() override { return m_geometrie; }
    QWidget* FENSTER() override { return m_fenster; }
    void SETZEFORTSCHRITT(int wert) override;
    int FORTSCHRITT() override { return m_fortschritt; }
    void SETZEFORTSCHRITTSICHTBAR(bool sichtbar) override;
    bool FORTSCHRITTSICHTBAR() override { return m_sichtbar; }
    // Menus count as enabled until switched; panels as hidden until shown.
    void SETZEMENUAKTIV(const QString& name, bool aktiv) override { m_menus[name] = aktiv; }
    bool MENUAKTIV(const QString& name) override { return m_menus.value(name, true); }
    void SETZEPANELSICHTBAR(int panel, bool sichtbar) override {
        m_panelsichtbar[panel] = sichtbar;
    }
    bool PANELSICHTBAR(int panel) override { return m_panelsichtbar.value(panel, false); }
    QString PANELTEXT(int panel) override { return m_paneltexte.value(panel); }
    void DATENSATZANZEIGE() override { ++m_datensatzanzeigen; }
    void SETZEPANELBEVEL(int panel, int bevel) override { m_panelbevel[panel] = bevel; }
    int PANELBEVEL(int panel) override { return m_panelbevel.value(panel, 0); }
    void SETZEAKTIV(bool aktiv) override;
    bool AKTIV() override { return m_aktiv; }
    QString AKTIVESKIND() override { return m_aktiveskind; }
    // A recording surface of the kind Form, 1024 by 700 pixels at 96 dpi.
    OutputObject* RAHMENOBJEKT() override;
    // Loads through BEISEITELADEN (which makes and loads the page) unless a
    // form of that name is loaded or, without it, the name was loaded
    // before. Showing makes the page the active child.
    bool SEITELADEN(const QString& name) override;
    void SEITEZEIGEN(const QString& name) override;
    // A loaded form of that name, or without BEISEITELADEN a name loaded.
    bool SEITEGELADEN(const QString& name) override;

    // Setters of the test. The defaults: user "TESTER", operator "Prüfer",
    // language 3 (German), the decimal separator of the default locale at
    // construction, geometry 0,0 1024x768, no parent window.
    void SETZEBENUTZER(const QString& wert) { m_benutzer = wert; }
    void SETZEDATENBANKPFAD(const QString& wert) { m_datenbankpfad = wert; }
    void SETZEXMDBPFAD(const QString& wert) { m_xmdbpfad = wert; }
    void SETZEPROJEKT(const QString& wert) { m_projekt = wert; }
    void SETZEPROJEKTSPFAD(const QString& wert) { m_projektspfad = wert; }
    void SETZEBEARBEITER(const QString& wert) { m_bearbeiter = wert; }
    void SETZESPRACHE(int16_t wert) { m_sprache = wert; }
    void SETZEDEZIMALPUNKT(const QString& wert) { m_dezimalpunkt = wert; }
    void SETZEPROGRAMMPFAD(const QString& wert) { m_programmpfad = wert; }
    void SETZEGEOMETRIE(const QRect& wert) { m_geometrie = wert; }
    void SETZEFENSTER(QWidget* wert) { m_fenster = wert; }
    void SETZEDBPROJEKT(std::shared_ptr<Connection> wert) { m_dbprojekt = std::move(wert); }
    void SETZEDBVORGABE(std::shared_ptr<Connection> wert) { m_dbvorgabe = std::move(wert); }
    void SETZEPANELTEXT(int panel, const QString& text) { m_paneltexte[panel] = text; }
    void SETZEAKTIVESKIND(const QString& name) { m_aktiveskind = name; }
    RecordingSurface& RAHMEN();

    // What was asked of the main window.
    const std::vector<int>& PANELS() const { return m_panels; }
    const std::vector<int>& FORTSCHRITTE() const { return m_fortschritte; }
    const std::vector<bool>& SICHTBARKEITEN() const { return m_sichtbarkeiten; }
    int BEENDENAUFRUFE() const { return m_beenden; }
    int HILFEAUFRUFE() const { return m_hilfe; }
    int DATENSATZANZEIGEN() const { return m_datensatzanzeigen; }
    const QMap<QString, bool>& MENUS() const { return m_menus; }
    const std::vector<bool>& AKTIVIERUNGEN() const { return m_aktivierungen; }
    const QStringList& GELADENESEITEN() const { return m_geladeneSeiten; }
    const QStringList& GEZEIGTESEITEN() const { return m_gezeigteSeiten; }
    void PROTOKOLLLOESCHEN();
    // Run after the call is recorded, when set: what the real main window
    // would do (for a panel, the test's stand-in of the command).
    std::function<void(int)> BEIPANEL;
    std::function<void()> BEIBEENDEN;
    std::function<void()> BEIHILFE;
    std::function<void(const QString&)> BEISEITELADEN;

    // Paths of the temporary laboratory.
    QString WURZEL() const { return m_wurzel.path(); }
    QString ARCHIVPFAD() const;       // DATENBANK/ARCHIV.mdb
    QString VORGABEPFAD() const;      // DATENBANK/VORGABE.mdb
    QString PROJEKTDATENBANK() const; // PROJEKTE/TE0000.00/VELD.mdb
    QString VORLAGE() const;          // the empty template beside the program

    // Rows for tests, written to the working copy (DBPROJEKT).
    void DATENSATZANLEGEN(int id, const QString& ken, const QString& kom = QString(),
                          bool akt = false);
    void ALLGEMEINEDATENANLEGEN(int id, int16_t vt, float dmax, float ms, float tmax);
    void MESSWERTANLEGEN(int id, int16_t i1, const QString& datum, const QString& uhrzeit,
                         const QVariant& det, const QVariant& v, const QVariant& temp = QVariant());
    // The rows of a table in the working copy (optionally with a condition
    // such as "[ID]=3"), and the first column of the first row of a query
    // (Empty when there is none).
    int ZEILEN(const QString& tabelle, const QString& bedingung = QString());
    QVariant WERT(const QString& sql, const QVariantList& parameter = {});

private:
    QTemporaryDir m_wurzel;
    std::shared_ptr<Connection> m_dbprojekt;
    std::shared_ptr<Connection> m_dbvorgabe;
    QString m_benutzer = QStringLiteral("TESTER");
    QString m_datenbankpfad;
    QString m_xmdbpfad;
    QString m_projekt = QStringLiteral("TE0000.00");
    QString m_projektspfad;
    QString m_bearbeiter = QStringLiteral("Prüfer");
    int16_t m_sprache = 3;
    QString m_dezimalpunkt;
    QString m_programmpfad;
    QString m_auswahlmodus;
    bool m_bogeaendert = false;
    QRect m_geometrie{0, 0, 1024, 768};
    QWidget* m_fenster = nullptr;
    int m_fortschritt = 0;
    bool m_sichtbar = false;
    std::vector<int> m_panels;
    std::vector<int> m_fortschritte;
    std::vector<bool> m_sichtbarkeiten;
    int m_beenden = 0;
    int m_hilfe = 0;
    int m_datensatzanzeigen = 0;
    QMap<QString, bool> m_menus;
    QMap<int, bool> m_panelsichtbar;
    QMap<int, QString> m_paneltexte;
    QMap<int, int> m_panelbevel;
    bool m_aktiv = true;
    std::vector<bool> m_aktivierungen;
    QString m_aktiveskind;
    QStringList m_geladeneSeiten;
    QStringList m_gezeigteSeiten;
    std::unique_ptr<RecordingSurface> m_rahmen;
};
