#pragma once

// The table object: draws a table in millimetres on an output object (a
// picture box of a page or the printer). The columns are described by lists
// (widths, alignments, format patterns, grid lines, statistics flags), the
// cells are handed to TABELLE block by block: the head (0), the body (1) and
// a summary block (2), stacked from the top. A page then reads HOEHE to place
// what follows the table.
//
// The usual order: create; EOBJEKT, EXDL, EYDO; EYBALKEN; ERZ, ELSB (which
// resets ELGIT, ELGITLEER and ELMW), the other lists, ERO, ERU;
// LINIENEINSTELLUNGEN, SCHRIFTEINSTELLUNGEN; TABELLE for head, body and
// summary.
//
// Operations are spread over several files by concern:
//   clsTABELLE.cpp                 creation, properties, measuring, cells
//   clsTABELLE_Zeichnen.cpp        TABELLE: head, body with scrolling, summary
//   clsTABELLE_Einstellungen.cpp   pen and font, TITEL, FUSSNOTE,
//                                  KURVENSYMBOL, TEXT
//
// The output object and the scroll bar are not owned: the page keeps them
// alive as long as the object draws on them.

#include "drawing/SCHRIFTSATZ.h"

#include <QList>
#include <QString>
#include <QVariant>
#include <cstdint>

class FEHLERBOX;
class OutputObject;
class ScrollBar;

// The cells of one block of a table: first index the column, second the row,
// both from 0. A cell holds a number, a text or nothing (Empty).
class TABELLENZELLEN {
public:
    TABELLENZELLEN() = default;
    TABELLENZELLEN(int spalten, int zeilen);

    int SPALTEN() const { return m_spalten; }
    int ZEILEN() const { return m_zeilen; }
    // Upper bounds of the two dimensions (-1 for none).
    int OBERGRENZESPALTE() const { return m_spalten - 1; }
    int OBERGRENZEZEILE() const { return m_zeilen - 1; }

    // A cell; outside the bounds raises subscript out of range (9).
    QVariant& operator()(int spalte, int zeile);
    const QVariant& operator()(int spalte, int zeile) const;

private:
    int m_spalten = 0;
    int m_zeilen = 0;
    QList<QVariant> m_werte;
};

class clsTABELLE {
public:
    clsTABELLE();
    ~clsTABELLE();
    clsTABELLE(const clsTABELLE&) = delete;
    clsTABELLE& operator=(const clsTABELLE&) = delete;

    // ------------------------------------------------------------ properties
    OutputObject* EOBJEKT() const { return m_EOBJEKT; }
    // Stores the object, measures its pixels per unit (its scale is restored
    // exactly) and sets the default font "Arial" 8 pt, black. Errors of the
    // measuring reach the caller.
    void setEOBJEKT(OutputObject* objekt);

    // The vertical scroll bar of an on-screen table (none: no scrolling).
    // The body call places, configures, shows and hides it.
    ScrollBar* EYBALKEN() const { return m_EYBALKEN; }
    void setEYBALKEN(ScrollBar* balken) { m_EYBALKEN = balken; }

    // Reference corner, room above (title) and below, left indent, vertical
    // cell margin of each block, in the output object's units.
    float EXDL() const { return m_EXDL; }
    void setEXDL(float wert) { m_EXDL = wert; }
    float EYDO() const { return m_EYDO; }
    void setEYDO(float wert) { m_EYDO = wert; }
    float ERO() const { return m_ERO; }
    void setERO(float wert) { m_ERO = wert; }
    float ERU() const { return m_ERU; }
    void setERU(float wert) { m_ERU = wert; }
    float ERL() const { return m_ERL; }
    void setERL(float wert) { m_ERL = wert; }
    float ERZ() const { return m_ERZ; }
    void setERZ(float wert) { m_ERZ = wert; }
    // Row spacing factor and text row height; a height of 0 or less is
    // measured (TextHeight of "X") by the next TABELLE and kept.
    float EZA() const { return m_EZA; }
    void setEZA(float wert) { m_EZA = wert; }
    float EZH() const { return m_EZH; }
    void setEZH(float wert) { m_EZH = wert; }

    // Column lists: a QVariantList whose entries may be Empty, numbers or
    // texts. ELSB (widths) must be a QVariantList; writing it re-creates
    // ELGIT and ELMW with one Empty entry per column and ELGITLEER with one
    // per inner line (one entry for a single column). A value that is no
    // list is stored and then raises type mismatch (13).
    QVariant ELSB() const { return m_ELSB; }
    void setELSB(const QVariant& liste);
    QVariant ELGIT() const { return m_ELGIT; }
    void setELGIT(const QVariant& liste) { m_ELGIT = liste; }
    QVariant ELGITLEER() const { return m_ELGITLEER; }
    void setELGITLEER(const QVariant& liste) { m_ELGITLEER = liste; }
    QVariant ELA() const { return m_ELA; }
    void setELA(const QVariant& liste) { m_ELA = liste; }
    QVariant ELFORMAT() const { return m_ELFORMAT; }
    void setELFORMAT(const QVariant& liste) { m_ELFORMAT = liste; }
    QVariant ELMW() const { return m_ELMW; }
    void setELMW(const QVariant& liste) { m_ELMW = liste; }
    // A list for the properties above.
    static QVariant LISTE(std::initializer_list<QVariant> werte);

    // First and last body row shown; written by the body call. A table may
    // have any number of rows.
    int EEZ() const { return m_EEZ; }
    void setEEZ(int wert) { m_EEZ = wert; }
    int ELZ() const { return m_ELZ; }
    void setELZ(int wert) { m_ELZ = wert; }

    // Head height + body height of the last head and body drawn (without
    // the summary block and the outer frame lines).
    float HOEHE() const { return m_H0 + m_H1; }

    // Pixels per unit of the output object, measured by setEOBJEKT.
    float PIXELPROEINHEITX() const { return m_pixelX; }
    float PIXELPROEINHEITY() const { return m_pixelY; }

    // ------------------------------------------------------------ settings
    // LINIENBREITE in mm comes back as the width in pixels handed over.
    void LINIENEINSTELLUNGEN(int16_t LINIENART, float& LINIENBREITE, int32_t FARBE);
    void LINIENEINSTELLUNGEN(int16_t LINIENART = 0, float&& LINIENBREITE = 0, int32_t FARBE = 0);
    // Note the order: bold, underline, italic.
    void SCHRIFTEINSTELLUNGEN(const QString& SCHRIFTART = QString(), int16_t SCHRIFTGROESSE = 0,
                              bool FETT = false, bool UNTERSTRICHEN = false, bool KURSIV = false,
                              int32_t FARBE = 0);

    // ------------------------------------------------------------ drawing
    // Draws one block: POSITION 0 (and any value other than 1 and 2) the
    // head, 1 the body, 2 the summary block, which receives the statistics
    // of the flagged columns into its cells.
    void TABELLE(TABELLENZELLEN& X, int16_t POSITION = 0);

    // A text flush with the frame's left edge, its foot ERZ + 1.5 above the
    // frame; and one indented 1.5, its top ERZ + 1.5 below the blocks drawn.
    void TITEL(const QVariant& TXT);
    void FUSSNOTE(const QVariant& TXT);

    SCHRIFTSATZ& SATZ() { return m_SCHRIFTSATZ; }

private:
    OutputObject& Objekt() const;
    void KOPFZEICHNEN(const TABELLENZELLEN& X, const QList<float>& breiten, float W,
                      FEHLERBOX& fehler);
    void RUMPFZEICHNEN(const TABELLENZELLEN& X, const QList<float>& breiten, float W,
                       FEHLERBOX& fehler);
    void BLOCKZEICHNEN(TABELLENZELLEN& X, const QList<float>& breiten, float W, FEHLERBOX& fehler);
    void RUMPFZEILEN(int& EEZ, int& ELZ, float& H1, int U, float W);
    void INNENLINIEN(const QList<float>& breiten, float oben, float hoehe, FEHLERBOX& fehler);
    void ZELLTEXT(const QVariant& wert, int spalte, const QList<float>& breiten, float y,
                  bool symbole);
    void STATISTIKBERECHNEN(const TABELLENZELLEN& X, int n, FEHLERBOX& fehler);

    // The curve marker of a "SYMBOL" cell, centred on (X, Y).
    void KURVENSYMBOL(float X, float Y, const QVariant& index);
    void TEXT(float X, float Y, const QVariant& TXT, int16_t horizontal, int16_t vertikal);

    OutputObject* m_EOBJEKT = nullptr;
    ScrollBar* m_EYBALKEN = nullptr;
    float m_EXDL = 0, m_EYDO = 0;
    float m_ERO = 2.5f, m_ERU = 2.5f, m_ERL = 2.5f, m_ERZ = 1.5f;
    float m_EZA = 1, m_EZH = 0;
    QVariant m_ELSB, m_ELGIT, m_ELGITLEER, m_ELA, m_ELFORMAT, m_ELMW;
    int m_EEZ = 0, m_ELZ = 0;
    float m_pixelX = 0, m_pixelY = 0;
    SCHRIFTSATZ m_SCHRIFTSATZ;

    // Kept between the calls of one table: the width drawn, the heights of
    // head, body and summary, and the statistics of the last body per
    // column (Singles, or "-").
    float m_W = 0, m_H0 = 0, m_H1 = 0, m_H2 = 0;
    QList<QVariant> m_mittel, m_abweichung, m_variation;
};
