#include "support/TESTHAUPTFENSTER.h"

#include "data/SCHEMA.h"
#include "platform/database/Connection.h"
#include "platform/database/DatabaseFile.h"
#include "platform/database/Recordset.h"
#include "platform/controls/Forms.h"
#include "platform/controls/RecordingSurface.h"

#include <QDir>
#include <QLocale>
#include <stdexcept>

TESTHAUPTFENSTER::TESTHAUPTFENSTER() {
    if (!m_wurzel.isValid())
        throw std::runtime_error("no temporary folder for the test laboratory");
    const QString wurzel = m_wurzel.path();
    m_datenbankpfad = wurzel + QStringLiteral("/DATENBANK");
    m_projektspfad = wurzel + QStringLiteral("/PROJEKTE");
    m_programmpfad = wurzel + QStringLiteral("/PROGRAMM/VELD");
    const QString benutzerordner = wurzel + QStringLiteral("/PROGRAMM/BENUTZER/") + m_benutzer;
    m_xmdbpfad = benutzerordner + QStringLiteral("/VELD.mdb");
    m_dezimalpunkt = QLocale().decimalPoint();
    for (const QString& ordner : {m_datenbankpfad, m_projektspfad + QLatin1Char('/') + m_projekt,
                                  m_programmpfad, benutzerordner})
        QDir().mkpath(ordner);

    ARCHIVDATENBANKANLEGEN(ARCHIVPFAD());
    VORGABEDATENBANKANLEGEN(VORGABEPFAD());
    PROJEKTDATENBANKANLEGEN(PROJEKTDATENBANK());
    PROJEKTDATENBANKANLEGEN(VORLAGE());
    {
        Connection archiv(ARCHIVPFAD());
        archiv.Execute(
            QStringLiteral(
                "INSERT INTO [ADMIN] ([BENUTZER],[PROG],[PROJEKTSPFAD],[PROJEKT],[BEARBEITER]) "
                "VALUES (?,?,?,?,?)"),
            {m_benutzer, QStringLiteral("KORVA"), m_projektspfad, m_projekt, m_bearbeiter});
    }
    CopyDatabase(PROJEKTDATENBANK(), m_xmdbpfad);
    m_dbprojekt = std::make_shared<Connection>(m_xmdbpfad);
    m_dbvorgabe = std::make_shared<Connection>(VORGABEPFAD());
    SETZEHAUPTFENSTER(this);
}

TESTHAUPTFENSTER::~TESTHAUPTFENSTER() {
    if (HAUPTFENSTERGESETZT() && &frmMAIN() == this) SETZEHAUPTFENSTER(nullptr);
    // Others may still hold the connections; the files go with the folder.
    if (m_dbprojekt) m_dbprojekt->Close();
    if (m_dbvorgabe) m_dbvorgabe->Close();
}

QString TESTHAUPTFENSTER::ARCHIVPFAD() const {
    return m_wurzel.path() + QStringLiteral("/DATENBANK/ARCHIV.mdb");
}
QString TESTHAUPTFENSTER::VORGABEPFAD() const {
    return m_wurzel.path() + QStringLiteral("/DATENBANK/VORGABE.mdb");
}
QString TESTHAUPTFENSTER::PROJEKTDATENBANK() const {
    return m_wurzel.path() + QStringLiteral("/PROJEKTE/TE0000.00/VELD.mdb");
}
QString TESTHAUPTFENSTER::VORLAGE() const {
    return m_wurzel.path() + QStringLiteral("/PROGRAMM/VELD/VELD.mdb");
}

void TESTHAUPTFENSTER::mnuBEENDEN_Click() {
    ++m_beenden;
    if (BEIBEENDEN) BEIBEENDEN();
}

void TESTHAUPTFENSTER::mnuHILFE_Click() {
    ++m_hilfe;
    if (BEIHILFE) BEIHILFE();
}

void TESTHAUPTFENSTER::stbMAIN_PanelClick(int panel) {
    m_panels.push_back(panel);
    if (BEIPANEL) BEIPANEL(panel);
}

void TESTHAUPTFENSTER::SETZEFORTSCHRITT(int wert) {
    m_fortschritt = wert;
    m_fortschritte.push_back(wert);
}

void TESTHAUPTFENSTER::SETZEFORTSCHRITTSICHTBAR(bool sichtbar) {
    m_sichtbar = sichtbar;
    m_sichtbarkeiten.push_back(sichtbar);
}

void TESTHAUPTFENSTER::SETZEAKTIV(bool aktiv) {
    m_aktiv = aktiv;
    m_aktivierungen.push_back(aktiv);
}

RecordingSurface& TESTHAUPTFENSTER::RAHMEN() {
    if (!m_rahmen)
        m_rahmen = std::make_unique<RecordingSurface>(1024 * 25.4 / 96, 700 * 25.4 / 96, 96.0,
                                                      RecordingSurface::Kind::Form);
    return *m_rahmen;
}

OutputObject* TESTHAUPTFENSTER::RAHMENOBJEKT() {
    return &RAHMEN();
}

bool TESTHAUPTFENSTER::SEITELADEN(const QString& name) {
    const bool geladen =
        Forms::Find(name) || (!BEISEITELADEN && m_geladeneSeiten.contains(name));
    m_geladeneSeiten.append(name);
    if (geladen) return false;
    if (BEISEITELADEN) BEISEITELADEN(name);
    return true;
}

bool TESTHAUPTFENSTER::SEITEGELADEN(const QString& name) {
    return Forms::Find(name) || (!BEISEITELADEN && m_geladeneSeiten.contains(name));
}

void TESTHAUPTFENSTER::SEITEZEIGEN(const QString& name) {
    m_gezeigteSeiten.append(name);
    m_aktiveskind = name;
}

void TESTHAUPTFENSTER::PROTOKOLLLOESCHEN() {
    m_aktivierungen.clear();
    m_geladeneSeiten.clear();
    m_gezeigteSeiten.clear();
    m_panels.clear();
    m_fortschritte.clear();
    m_sichtbarkeiten.clear();
    m_beenden = 0;
    m_hilfe = 0;
    m_datensatzanzeigen = 0;
}

void TESTHAUPTFENSTER::DATENSATZANLEGEN(int id, const QString& ken, const QString& kom, bool akt) {
    m_dbprojekt->Execute(
        QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[KOM],[AKT]) VALUES (?,?,?,?)"),
        {id, ken, kom.isNull() ? QVariant::fromValue(nullptr) : QVariant(kom), akt});
}

void TESTHAUPTFENSTER::ALLGEMEINEDATENANLEGEN(int id, int16_t vt, float dmax, float ms,
                                              float tmax) {
    m_dbprojekt->Execute(
        QStringLiteral("INSERT INTO [E2] ([ID],[VT],[DMAX],[MS],[TMAX]) VALUES (?,?,?,?,?)"),
        {id, int(vt), double(dmax), double(ms), double(tmax)});
}

void TESTHAUPTFENSTER::MESSWERTANLEGEN(int id, int16_t i1, const QString& datum,
                                       const QString& uhrzeit, const QVariant& det,
                                       const QVariant& v, const QVariant& temp) {
    // Through a row set, so the values are converted as the program's
    // writes convert them (a Single stays a Single).
    Recordset zeilen(QStringLiteral("SELECT * FROM [E3] WHERE [ID]=? AND [I1]=?"), *m_dbprojekt,
                     {id, int(i1)});
    zeilen.AddNew();
    zeilen.Fields("ID") = id;
    zeilen.Fields("I1") = int(i1);
    zeilen.Fields("DATUM") = datum;
    zeilen.Fields("UHRZEIT") = uhrzeit;
    zeilen.Fields("DET") = det;
    zeilen.Fields("V") = v;
    zeilen.Fields("TEMP") = temp;
    zeilen.Update();
}

int TESTHAUPTFENSTER::ZEILEN(const QString& tabelle, const QString& bedingung) {
    QString sql = QStringLiteral("SELECT count(*) FROM [%1]").arg(tabelle);
    if (!bedingung.isEmpty()) sql += QStringLiteral(" WHERE ") + bedingung;
    return WERT(sql).toInt();
}

QVariant TESTHAUPTFENSTER::WERT(const QString& sql, const QVariantList& parameter) {
    Recordset zeilen(sql, *m_dbprojekt, parameter);
    if (zeilen.Eof()) return QVariant();
    return zeilen.Fields(0).Value();
}
