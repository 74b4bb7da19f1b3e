#include "KOPIELABOR.h"

#include "data/SCHEMA.h"
#include "platform/database/Connection.h"
#include "platform/database/Recordset.h"
#include "platform/runtime/ErrorHandler.h"
#include "platform/runtime/Variant.h"
#include "support/PROJEKTLESEN.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <stdexcept>
#include <utility>

KOPIEDIALOG::KOPIEDIALOG(QString projektdatenbank, QString arbeitskopie)
    : m_projektdatenbank(std::move(projektdatenbank)), m_arbeitskopie(std::move(arbeitskopie)) {}

int KOPIEDIALOG::FRAGEN(const QString& text, int stil, const QString& titel, const QString&, int) {
    m_boxen.append({text, stil, titel});
    if (m_waehrendFrage) m_waehrendFrage(text);
    if (m_antworten.isEmpty()) {
        ADD_FAILURE() << "unexpected box: " << text.toStdString();
        return 1;
    }
    return m_antworten.takeFirst();
}

QString KOPIEDIALOG::XMDBPFAD() {
    // As the main window: the folder is made when it is missing.
    QDir().mkpath(QFileInfo(m_arbeitskopie).path());
    return m_arbeitskopie;
}

KOPIELABOR::KOPIELABOR()
    : DIALOG(PROJEKTDATENBANK(), ARBEITSKOPIEPFAD()),
      ANDERERDIALOG(PROJEKTDATENBANK(),
                    m_wurzel.path() + QStringLiteral("/BENUTZER/ANDERER/VELD.mdb")) {
    if (!m_wurzel.isValid()) throw std::runtime_error("no temporary folder");
    QDir().mkpath(QFileInfo(PROJEKTDATENBANK()).path());
    PROJEKTDATENBANKANLEGEN(PROJEKTDATENBANK());
}

KOPIELABOR::~KOPIELABOR() = default;

QString KOPIELABOR::PROJEKTDATENBANK() const {
    return m_wurzel.path() + QStringLiteral("/PROJEKTE/TE0001.00/VELD.mdb");
}

QString KOPIELABOR::ARBEITSKOPIEPFAD() const {
    return m_wurzel.path() + QStringLiteral("/BENUTZER/TESTER/VELD.mdb");
}

QString KOPIELABOR::HERKUNFT() const {
    return m_wurzel.path() + QStringLiteral("/BENUTZER/TESTER/VELD.projekt");
}

QString KOPIELABOR::ZUSTAND() const {
    return m_wurzel.path() + QStringLiteral("/BENUTZER/TESTER/VELD.zustand");
}

QStringList KOPIELABOR::ZUSTANDSDATEIEN(const QString& muster) const {
    return QDir(ZUSTAND()).entryList(QStringList{muster}, QDir::Files);
}

QString KOPIELABOR::KENNUNGEN(const QString& datenbank) {
    return KENNUNGENLESEN(datenbank);
}

QString KOPIELABOR::KOMMENTAR(const QString& datenbank) {
    return KOMMENTARLESEN(datenbank, 1);
}

void KOPIELABOR::DATENSATZ(const QString& datenbank, int id, const QString& ken) {
    Connection verbindung(datenbank);
    verbindung.Execute(QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (?,?,?)"),
                       {id, ken, false});
}

std::unique_ptr<KOPIELABOR::LAUF> KOPIELABOR::LAUFEN(KOPIEDIALOG* dialog) {
    auto lauf = std::make_unique<LAUF>();
    lauf->verbindung = std::make_shared<Connection>();
    lauf->kopie = std::make_unique<ARBEITSKOPIE>(dialog ? *dialog : DIALOG, lauf->verbindung);
    return lauf;
}

std::unique_ptr<KOPIELABOR::LAUF> KOPIELABOR::GESTARTET(KOPIEDIALOG* dialog) {
    auto lauf = LAUFEN(dialog);
    ErrorHandler eh(QStringLiteral("VB-Error: "), QStringLiteral("VELD"));
    EXPECT_TRUE(lauf->kopie->VORBEREITEN(eh));
    EXPECT_FALSE(eh.Left());
    return lauf;
}

KOPIELABOR::LAUF::~LAUF() {
    kopie.reset();
    verbindung->Close();
}
