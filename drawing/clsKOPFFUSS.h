#pragma once

// The header and footer of an output page, texts only: the title, the
// identifiers of the records shown, their comment, the project and the page
// number above; the person in charge, the date and time, the developers and
// the copyright line below. A page creates one object per drawing, gives it
// the frame object and the output object (AUSGABEOBJEKT), optionally other
// margins (RANDABSTAND), the texts, and calls KOPFFUSSZEILE.
//
// The frame object gives the page's width and height; on the screen it is the
// main window (in its own units, twips), on the printer the printer itself.
// Its size is turned into the output object's units before anything is
// placed, so the footer lies on the page whatever units the frame uses.
//
// The output and frame objects are not owned.

#include "drawing/SCHRIFTSATZ.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <cstdint>

class OutputObject;

class clsKOPFFUSS {
public:
    clsKOPFFUSS();
    ~clsKOPFFUSS();
    clsKOPFFUSS(const clsKOPFFUSS&) = delete;
    clsKOPFFUSS& operator=(const clsKOPFFUSS&) = delete;

    // Measures the output object (millimetres per unit, its scale restored
    // exactly), sets all four margins to 15 mm and the default font "Arial"
    // 8 pt, black. A scale width or height of 0 raises division by zero.
    void setAUSGABEOBJEKT(OutputObject* RAHMENOBJEKT, OutputObject* EOBJEKT);

    // A margin in millimetres: LAGE "oben", "unten", "links" or "rechts"
    // (exactly so written), any other side all four. Before AUSGABEOBJEKT it
    // raises division by zero.
    void setRANDABSTAND(float BREITE) { setRANDABSTAND(QString(), BREITE); }
    void setRANDABSTAND(const QString& LAGE, float BREITE);

    // One value, or a QVariantList / QStringList of them, each turned into
    // text. A list without an element 0 raises subscript out of range.
    void setKENNZEICHNUNG(const QVariant& wert);

    QString BEARBEITER() const { return m_BEARBEITER; }
    void setBEARBEITER(const QString& wert) { m_BEARBEITER = wert; }
    QString COPYRIGHT() const { return m_COPYRIGHT; }
    void setCOPYRIGHT(const QString& wert) { m_COPYRIGHT = wert; }
    bool EBOKFS() const { return m_EBOKFS; }
    void setEBOKFS(bool wert) { m_EBOKFS = wert; }
    QDateTime DATUM() const { return m_DATUM; }
    void setDATUM(const QDateTime& wert) { m_DATUM = wert; }
    QString KOMMENTAR() const { return m_KOMMENTAR; }
    void setKOMMENTAR(const QString& wert) { m_KOMMENTAR = wert; }
    QString UEBERSCHRIFT() const { return m_UEBERSCHRIFT; }
    void setUEBERSCHRIFT(const QString& wert) { m_UEBERSCHRIFT = wert; }
    QString PROGRAMMIERER() const { return m_PROGRAMMIERER; }
    void setPROGRAMMIERER(const QString& wert) { m_PROGRAMMIERER = wert; }
    QString PROJEKT() const { return m_PROJEKT; }
    void setPROJEKT(const QString& wert) { m_PROJEKT = wert; }
    int16_t SEITE() const { return m_SEITE; }
    void setSEITE(int16_t wert) { m_SEITE = wert; }
    int16_t SEITENANZAHL() const { return m_SEITENANZAHL; }
    void setSEITENANZAHL(int16_t wert) { m_SEITENANZAHL = wert; }
    // 1 English, 3 German; any other value leaves the fixed texts out.
    int16_t SPRACHE() const { return m_SPRACHE; }
    void setSPRACHE(int16_t wert) { m_SPRACHE = wert; }
    QDateTime UHRZEIT() const { return m_UHRZEIT; }
    void setUHRZEIT(const QDateTime& wert) { m_UHRZEIT = wert; }

    // Draws header and footer with the values set. A failure shows
    // "VB-Error: " with the title "Kopffuß-Zeile"; OK goes on, Cancel leaves
    // what is drawn so far. Afterwards the output object's font is Arial
    // 7 pt, regular, black.
    void KOPFFUSSZEILE();

    // What the last KOPFFUSSZEILE built, and the margins in output units
    // (top, bottom, left, right).
    QString DATENSATZTEXT() const { return m_DATENSATZTEXT; }
    QString KENNZEILE() const { return m_KENNZEILE; }
    float RANDOBEN() const { return m_randOben; }
    float RANDUNTEN() const { return m_randUnten; }
    float RANDLINKS() const { return m_randLinks; }
    float RANDRECHTS() const { return m_randRechts; }

private:
    void SCHRIFTEINSTELLUNGEN(const QString& SCHRIFTART, int16_t SCHRIFTGROESSE, bool FETT,
                              bool UNTERSTRICHEN, bool KURSIV, int32_t FARBE);
    void TEXT(float X, float Y, const QVariant& TXT, int16_t horizontal, int16_t vertikal);
    // Width and height of the frame in the output object's units.
    float RAHMENBREITE();
    float RAHMENHOEHE();

    OutputObject* m_EOBJEKT = nullptr;
    OutputObject* m_RAHMENOBJEKT = nullptr;
    float m_mmX = 0, m_mmY = 0; // millimetres per unit of the output object
    float m_randOben = 0, m_randUnten = 0, m_randLinks = 0, m_randRechts = 0;
    QStringList m_KENNZEICHNUNG{QString()};
    QString m_DATENSATZTEXT = QStringLiteral("Datensatz ");
    QString m_KENNZEILE;

    QString m_BEARBEITER, m_COPYRIGHT, m_KOMMENTAR, m_UEBERSCHRIFT, m_PROGRAMMIERER;
    QString m_PROJEKT = QStringLiteral("TE0000.00");
    bool m_EBOKFS = true;
    QDateTime m_DATUM, m_UHRZEIT;
    int16_t m_SEITE = 1, m_SEITENANZAHL = 1, m_SPRACHE = 3;
    SCHRIFTSATZ m_SCHRIFTSATZ;
};
