#pragma once

// The diagram object: draws one figure on an output object (a picture box of
// a page or the printer) in millimetres. A page creates one per drawing of a
// figure, sets EOBJEKT, the figure's place and size (EXDL, EYDO, ELX, ELY),
// the axis properties and lists, pen and font, and then calls SKALEN and the
// drawing operations.
//
// Operations are spread over several files by concern:
//   clsGRAFIK.cpp             creation, properties, measuring, LININT, MINIMUM
//   clsGRAFIK_Einstellungen   LINIENEINSTELLUNGEN, SCHRIFTEINSTELLUNGEN
//   clsGRAFIK_Text            TEXT, DREHTEXT
//   clsGRAFIK_Geometrie       KOORDTRANS(INV), LOG10, MASSSTAB, KREISSCHNITTX/Y,
//                             WINKEL, PFEIL
//   clsGRAFIK_Linie           LINIE
//   clsGRAFIK_Skalen          SKALEN: layout row, ranges, scale factors, scroll bars
//   clsGRAFIK_Achswerte       ACHSWERTE, the range search of one axis
//   clsGRAFIK_Achsen          the axis lines, ticks, grid, numbers and titles
//   clsGRAFIK_Polygon         POLYGON: the curve forms and markers
//   clsGRAFIK_Beschriftung    POLYGON's point numbers, label and arrow heads
//   clsGRAFIK_Kreis           KREIS: circles and arcs clipped to the plot area
//   clsGRAFIK_Symbole         GELAENDESCHRAFFUR, KOTENDREIECK, LASTFLAECHEN,
//                             SCHNITTKRAFT: symbols of structural sketches
//
// The output object and the scroll bars are not owned: the page keeps them
// alive as long as the object draws on them.

#include "drawing/SCHRIFTSATZ.h"

#include <QString>
#include <QVariant>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class FEHLERBOX;
class OutputObject;
class ScrollBar;

class clsGRAFIK {
public:
    // A read-only view of an array of Singles with its bounds, as POLYGON
    // takes its coordinates: indices from 0, or from -1 for a curve whose
    // element -1 carries its base point. The caller's array must outlive the
    // view (a call of POLYGON).
    class SINGLEFELD {
    public:
        SINGLEFELD(const std::vector<float>& werte, int untergrenze = 0)
            : m_daten(werte.data()), m_anzahl(int(werte.size())), m_untergrenze(untergrenze) {}
        SINGLEFELD(const float* daten, int anzahl, int untergrenze = 0)
            : m_daten(daten), m_anzahl(anzahl), m_untergrenze(untergrenze) {}
        int LBOUND() const { return m_untergrenze; }
        int UBOUND() const { return m_untergrenze + m_anzahl - 1; }
        // Element `index` (LBOUND to UBOUND).
        float operator()(int index) const { return m_daten[index - m_untergrenze]; }

    private:
        const float* m_daten;
        int m_anzahl;
        int m_untergrenze;
    };

    // Takes its record key from the first active record of E1 of the working
    // copy (0 when none is active). A failing query raises its error here.
    clsGRAFIK();
    ~clsGRAFIK();
    clsGRAFIK(const clsGRAFIK&) = delete;
    clsGRAFIK& operator=(const clsGRAFIK&) = delete;

    // ------------------------------------------------------------ properties
    int32_t EID() const { return m_EID; }
    void setEID(int32_t wert) { m_EID = wert; }
    int16_t EIDOBJEKT() const { return m_EIDOBJEKT; }
    void setEIDOBJEKT(int16_t wert) { m_EIDOBJEKT = wert; }
    // True: the drawing only reads its layout row (a print, a redraw that
    // may keep nothing): SKALEN computes the scale factors from the ranges,
    // as for a row whose MX, MY and MYMX are 0, and writes nothing into the
    // row; what it settled stays in the layout members. False (the
    // default): the row's scales count, and what SKALEN settles is written.
    bool EBONURLESEN() const { return m_EBONURLESEN; }
    void setEBONURLESEN(bool wert) { m_EBONURLESEN = wert; }

    OutputObject* EOBJEKT() const { return m_EOBJEKT; }
    // Stores the object; a picture box or the printer is measured (pixels
    // per unit; ELX and ELY become its Width and Height in millimetres, which
    // resets the lists); every object gets the default font "Arial" 8 pt,
    // black. Errors of the measuring reach the caller.
    void setEOBJEKT(OutputObject* objekt);

    ScrollBar* EXBALKEN() const { return m_EXBALKEN; }
    void setEXBALKEN(ScrollBar* balken) { m_EXBALKEN = balken; }
    ScrollBar* EYBALKEN() const { return m_EYBALKEN; }
    void setEYBALKEN(ScrollBar* balken) { m_EYBALKEN = balken; }

    float EXDL() const { return m_EXDL; }
    void setEXDL(float wert) { m_EXDL = wert; }
    float EYDO() const { return m_EYDO; }
    void setEYDO(float wert) { m_EYDO = wert; }
    // Width and height of the figure in mm; setting one resets the lists of
    // that axis (ELXMIN 0 and the width, ELXDIFF the width, ELXIT 1, ELXGIT
    // and ELXZL 0).
    float ELX() const { return m_ELX; }
    void setELX(float wert);
    float ELY() const { return m_ELY; }
    void setELY(float wert);

    int16_t EAXEX() const { return m_EAXEX; }
    void setEAXEX(int16_t wert) { m_EAXEX = wert; }
    int16_t EAXEY() const { return m_EAXEY; }
    void setEAXEY(int16_t wert) { m_EAXEY = wert; }
    int16_t ESKTX() const { return m_ESKTX; }
    void setESKTX(int16_t wert) { m_ESKTX = wert; }
    int16_t ESKTY() const { return m_ESKTY; }
    void setESKTY(int16_t wert) { m_ESKTY = wert; }
    bool EBOXMIN() const { return m_EBOXMIN; }
    void setEBOXMIN(bool wert) { m_EBOXMIN = wert; }
    bool EBOXMAX() const { return m_EBOXMAX; }
    void setEBOXMAX(bool wert) { m_EBOXMAX = wert; }
    bool EBOYMIN() const { return m_EBOYMIN; }
    void setEBOYMIN(bool wert) { m_EBOYMIN = wert; }
    bool EBOYMAX() const { return m_EBOYMAX; }
    void setEBOYMAX(bool wert) { m_EBOYMAX = wert; }

    // Candidate lists: a QVariantList of numbers, or Empty (an invalid
    // QVariant) before ELX / ELY set them. Writing ELXGIT (ELYGIT) writes
    // the same list into ELXZL (ELYZL).
    QVariant ELXMIN() const { return m_ELXMIN; }
    void setELXMIN(const QVariant& liste) { m_ELXMIN = liste; }
    QVariant ELYMIN() const { return m_ELYMIN; }
    void setELYMIN(const QVariant& liste) { m_ELYMIN = liste; }
    QVariant ELXDIFF() const { return m_ELXDIFF; }
    void setELXDIFF(const QVariant& liste) { m_ELXDIFF = liste; }
    QVariant ELYDIFF() const { return m_ELYDIFF; }
    void setELYDIFF(const QVariant& liste) { m_ELYDIFF = liste; }
    QVariant ELXIT() const { return m_ELXIT; }
    void setELXIT(const QVariant& liste) { m_ELXIT = liste; }
    QVariant ELYIT() const { return m_ELYIT; }
    void setELYIT(const QVariant& liste) { m_ELYIT = liste; }
    QVariant ELXGIT() const { return m_ELXGIT; }
    void setELXGIT(const QVariant& liste);
    QVariant ELYGIT() const { return m_ELYGIT; }
    void setELYGIT(const QVariant& liste);
    QVariant ELXZL() const { return m_ELXZL; }
    void setELXZL(const QVariant& liste) { m_ELXZL = liste; }
    QVariant ELYZL() const { return m_ELYZL; }
    void setELYZL(const QVariant& liste) { m_ELYZL = liste; }
    // A list for the properties above.
    static QVariant LISTE(std::initializer_list<double> werte);

    QString ETEXTX() const { return m_ETEXTX; }
    void setETEXTX(const QString& wert) { m_ETEXTX = wert; }
    QString ETEXTY() const { return m_ETEXTY; }
    void setETEXTY(const QString& wert) { m_ETEXTY = wert; }
    QString ESKZX() const { return m_ESKZX; }
    void setESKZX(const QString& wert) { m_ESKZX = wert; }
    QString ESKZY() const { return m_ESKZY; }
    void setESKZY(const QString& wert) { m_ESKZY = wert; }

    // Kept as a whole number (halves to the even neighbour); overflow (6)
    // beyond the 16-bit range.
    float EXYIT() const { return float(m_EXYIT); }
    void setEXYIT(float wert);

    int16_t EPTYP() const { return m_EPTYP; }
    void setEPTYP(int16_t wert) { m_EPTYP = wert; }

    // Pixels per unit of the output object, measured by setEOBJEKT (0 until
    // then); the horizontal one turns pen widths into pixels.
    float PIXELPROEINHEITX() const { return m_pixelX; }
    float PIXELPROEINHEITY() const { return m_pixelY; }

    // The five-font set (slot 0 belongs to TEXT).
    SCHRIFTSATZ& SATZ() { return m_SCHRIFTSATZ; }

    // ------------------------------------------------------------ pen, font
    // LINIENBREITE in mm comes back as the width in pixels handed over.
    void LINIENEINSTELLUNGEN(int16_t LINIENART, float& LINIENBREITE, int32_t FARBE);
    void LINIENEINSTELLUNGEN(int16_t LINIENART = 0, float&& LINIENBREITE = 0, int32_t FARBE = 0);
    void SCHRIFTEINSTELLUNGEN(const QString& SCHRIFTART = QString(), int16_t SCHRIFTGROESSE = 0,
                              bool FETT = false, bool UNTERSTRICHEN = false, bool KURSIV = false,
                              int32_t FARBE = 0);

    // ------------------------------------------------------------ text
    // Marked-up text at (X, Y) in the unit that KO names (1 world
    // coordinates, 2 mm from the drawing's corner, other values page mm),
    // turned by AL degrees, aligned by ARX (0 left, 1 centre, 2 right) and
    // ARY (0 top, 1 middle, 2 foot). A number in E notation is rewritten in
    // the caller's variable (2.5E+03 -> 2.5*10{h,3}+03).
    void TEXT(float X, float Y, QString& TEXT, int16_t KO = 0, int16_t AL = 0, int16_t ARX = 0,
              int16_t ARY = 0);
    void TEXT(float X, float Y, const QString& TEXT, int16_t KO = 0, int16_t AL = 0,
              int16_t ARX = 0, int16_t ARY = 0);
    // Prints a text turned by WINKEL degrees with the top left corner of its
    // cell at (X, Y), through a clsROTATOR; the output object keeps the font
    // name, size and transparent text set here.
    void DREHTEXT(const QString& TEXT, int16_t WINKEL, float X, float Y, uint8_t GROESSE,
                  const QString& SCHRIFTNAME);

    // ------------------------------------------------------------ geometry
    // World coordinates (decimal logarithms on a logarithmic axis) to page
    // mm; a failure (a scale factor of 0, an overflow) shows its box and
    // leaves the non-finite value in the result. A layout that SKALEN has
    // reported gives no number and no box.
    void KOORDTRANS(float X, float Y, float& XP, float& YP);
    // The inverse; SKTX / SKTY 1 turn that coordinate into 10 raised to it.
    void KOORDTRANSINV(float XP, float YP, float& X, float& Y, int16_t SKTX = 0, int16_t SKTY = 0);
    // KOORDTRANS without a box: raises the failure (for the drawing routines
    // that report one failure per call).
    void KOORDTRANSROH(float X, float Y, float& XP, float& YP);

    // The visible part of a segment in page mm: BOSK 1 clips to the whole
    // drawing, other values to the plot area. With a colour the ends are
    // moved into the rectangle instead (exact for horizontal and vertical
    // lines).
    void LINIE(float XP1, float YP1, float XP2, float YP2, std::optional<int32_t> FB = std::nullopt,
               int16_t BOSK = 0);
    // LINIE without a box: raises the failure.
    void LINIEROH(float XP1, float YP1, float XP2, float YP2,
                  std::optional<int32_t> FB = std::nullopt, int16_t BOSK = 0);

    // An open arrow head at (XP2, YP2) for the segment from (XP1, YP1).
    void PFEIL(float XP1, float YP1, float XP2, float YP2);

    // The ordinate at x on the line through (x1, y1) and (x2, y2); equal
    // abscissas show "Division durch Null!" and give 0.
    float LININT(float x1, float x2, float x, float y1, float y2);
    float MINIMUM(float a, float b);

    static void LOG10(float WERT, float& ERGEBNIS);
    static float LOG10(float WERT);
    // Scale factors in units per mm; raises division by zero or overflow.
    static void MASSSTAB(float XMIN, float XMAX, float YMIN, float YMAX, float ELX, float ELY,
                         float RL, float RR, float RU, float RO, float MYMX, float& MX, float& MY);
    // Crossings of the circle with the line x = XG (y values, ascending) or
    // y = YG (x values); GEFUNDEN false leaves S unchanged.
    static void KREISSCHNITTX(float XM, float YM, float R, float XG, std::array<float, 2>& S,
                              bool& GEFUNDEN);
    static void KREISSCHNITTY(float XM, float YM, float R, float YG, std::array<float, 2>& S,
                              bool& GEFUNDEN);
    // Direction of the vector from (X1, Y1) to (X2, Y2) in radians, 0 to 2 pi,
    // from +x towards +y of the coordinates given.
    static void WINKEL(float X1, float Y1, float X2, float Y2, float& W);

    // ------------------------------------------------------------ axes
    // Prepares the figure and draws its axes: reads the figure's layout row
    // of G0 (ID = EID, IDOBJEKT = EIDOBJEKT), settles the ranges (from the
    // data where the range switches are on, through the candidate lists),
    // writes switched-on ranges back, couples the scales (EXYIT), computes
    // and writes the scale factors, drives the scroll bars and draws the
    // axes. NR: -1 and 0 settle and draw (-1 takes switched-on ends from the
    // data alone, 0 widens the stored ends by the data); 1 and 2 only settle
    // and write the ranges. X and Y: missing (an invalid QVariant) or an
    // array of Single (std::vector<float> or QList<float>); anything else is
    // refused with a message. A layout that cannot place a point (a scale or
    // a range of width 0) is reported once; the curves then draw nothing.
    void SKALEN(int16_t NR, const QVariant& X = QVariant(), const QVariant& Y = QVariant());
    void SKALEN(int16_t NR, const std::vector<float>& X, const std::vector<float>& Y);

    // The range search of one axis, as SKALEN runs it: widens the switched-on
    // ends MIN and MAX to the data (mode -1 and 1 from the data alone),
    // snaps them to the candidate bounds LMIN and picks the length from
    // LDIFF; on a linear axis (SKT 0) WERTE gets the NIT + 1 tick values
    // (and one trailing 0), NGIT and NZL the grid and label counts of the
    // chosen length; on a logarithmic axis (SKT 1) the tick values and the
    // grid values LOGWERTE (last index NLOG) are decimal logarithms and the
    // first elements of LIT, LGIT and LZL are codes. Failures (a list that is
    // no list, a tick count of 0, an empty data array) are raised.
    static void ACHSWERTE(int16_t MODUS, bool BOMIN, bool BOMAX, int16_t SKT,
                          const std::vector<float>& DATEN, float& MIN, float& MAX,
                          std::vector<float>& WERTE, std::vector<float>& LOGWERTE, int16_t& NIT,
                          int16_t& NLOG, int16_t& NGIT, int16_t& NZL, const QVariant& LMIN,
                          const QVariant& LDIFF, const QVariant& LIT, const QVariant& LGIT,
                          const QVariant& LZL);

    // ------------------------------------------------------------ curves
    // One curve in the layout that SKALEN left, in the form EPTYP (0
    // polyline, 1 and 2/7 histogram outlines along x and y, 3 dots, 4 and 5
    // closed step curves, 6 open step curve, 8 treads along y), every line
    // clipped to the plot area; then markers of shape PSTYP (0 to 6) on the
    // points PSIT chooses, the numbers of the points PNR chooses, the label
    // TEXT placed by LAGETEXT (0 to 14) and arrow heads by LAGEPFEIL (0 to
    // 6). FARBEN true draws in the colour of PSTYP; the pen colour is given
    // back afterwards. BOL (a list of flags, polyline only) draws the segment
    // from point i - 1 to i only where element i - 1 is the number 1.
    // Logarithmic axes take the logarithm of copies: the caller's arrays stay
    // as they are. Y must have every index of X; arrays too short for the
    // form are reported once and nothing is drawn. A label in E notation
    // comes back rewritten in TEXT.
    void POLYGON(const SINGLEFELD& X, const SINGLEFELD& Y, int16_t PSIT, int16_t PSTYP, int16_t PNR,
                 QString& TEXT, int16_t LAGETEXT, int16_t LAGEPFEIL, bool FARBEN,
                 const QVariant& BOL = QVariant());
    void POLYGON(const SINGLEFELD& X, const SINGLEFELD& Y, int16_t PSIT = 0, int16_t PSTYP = 0,
                 int16_t PNR = 0, const QString& TEXT = QString(), int16_t LAGETEXT = 0,
                 int16_t LAGEPFEIL = 0, bool FARBEN = false, const QVariant& BOL = QVariant());

    // The pen colour of the curves drawn with FARBEN: PSTYP 0 to 7 choose
    // the palette colours 1, 2, 3, 4, 5, 10, 9 and 0; other values none.
    static std::optional<int32_t> KURVENFARBE(int16_t PSTYP);
    // The points of a curve of n points that PSIT (or PNR) chooses, in
    // ascending order: 0 none, -1 the first, 1 the last, 2 the first and
    // the last, others every k-th from the first.
    static std::vector<int> PUNKTAUSWAHL(int16_t PSIT, int n);

    // ------------------------------------------------------------ circles
    // A circle or an arc of it, clipped to the plot area. KO (missing: 1)
    // says what XM, YM and R are: 0 page mm, 1 world coordinates (the page
    // radius is the distance to the transformed start point), 2 mm from the
    // drawing's corner; other kinds draw nothing. AL1 and AL2 are radians of
    // the diagram, counter-clockwise as seen when both axes run the usual
    // way; an AL2 of 0 stands for a whole turn and comes back as 2 pi. An arc
    // of length 0 draws nothing. BOKREISP draws the arc as chords of at most
    // 10 degrees, each clipped as a line, else with the output object's
    // Circle, clipped exactly. LAGEPFEIL marks the ends: 1 arrow head at the
    // end, 2 at the start, 3 at both, 4 dot at the start and head at the
    // end, 5 head at the start and dot at the end; any positive value leaves
    // the fill style transparent and the fill colour white.
    void KREIS(float XM, float YM, float R, float AL1, float& AL2, int16_t LAGEPFEIL, bool BOKREISP,
               const QVariant& KO = QVariant());
    void KREIS(float XM, float YM, float R, float AL1, float&& AL2, int16_t LAGEPFEIL,
               bool BOKREISP, const QVariant& KO = QVariant());

    // ------------------------------------------------------------ symbols
    // Hatching below a ground line from the world point (X1, Y1) in the
    // direction BE (degrees): ANS repeats of six strokes of length H1 at 45
    // degrees, drawn as two-point polylines whatever EPTYP says. KO 2: H1 is
    // page mm, other values world units.
    void GELAENDESCHRAFFUR(float X1, float Y1, float H1, int16_t ANS, float BE, int16_t KO = 0);
    // A level triangle with its apex on the world point (X, Y): the level
    // line in the direction RIWI (degrees, clockwise on the page) and a
    // triangle DH (world units of y) high; GW 1 adds two lines below the
    // level line, VOLL fills the right half (1), the left half (2) or both
    // (3) with a fan of lines.
    void KOTENDREIECK(float X, float Y, float DH, float RIWI, int16_t GW, int16_t VOLL);
    // Load ordinates P(j, i) as P[j][i]: i the end of the segment (0, 1), j
    // the component (0 first load across y, 1 first load across x, 2 and 3
    // the second load, measured from the first).
    using LASTORDINATEN = std::array<std::array<float, 2>, 4>;
    // Two load areas stacked on the segment from (X(0), Y(0)) to (X(1),
    // Y(1)), IT + 1 arrows each; the load scale (units per mm) is kept in
    // the column MSP of the figure's layout row, fixed by the first call so
    // that the larger resultant of both loads at either end is 15 mm long.
    void LASTFLAECHEN(const SINGLEFELD& X, const SINGLEFELD& Y, const LASTORDINATEN& P, int16_t IT);
    // A member between two world points and, with SY 1, a double arrow SHHH
    // mm long at its middle: TYP 1 across the member, 2 and 3 along it,
    // 1.25 mm to its side.
    void SCHNITTKRAFT(float X1, float Y1, float X2, float Y2, float SHHH, int16_t TYP, int16_t SY);

    // ------------------------------------------------------------ layout
    // The layout of the current figure, left by SKALEN and used by every
    // drawing operation: orientation, margins, ranges (decimal logarithms on
    // a logarithmic axis), scale factors in units per mm, the shift of the
    // plotted content by the scroll bars, and the counts of the axes.
    int16_t OX = 0, OY = 0;
    float RL = 0, RR = 0, RO = 0, RU = 0;
    float XMIN = 0, XMAX = 0, YMIN = 0, YMAX = 0;
    float MYMX = 0, MX = 0, MY = 0;
    float XVERSCHIEBUNG = 0, YVERSCHIEBUNG = 0;
    int16_t NXIT = 0, NYIT = 0, NXGIT = 0, NYGIT = 0, NXZL = 0, NYZL = 0;

private:
    OutputObject& Objekt() const;

    // True when the layout can place a point: finite members, scale factors
    // other than 0 and ranges of a width other than 0.
    bool LAYOUTGUELTIG() const;
    // True after SKALEN has reported the layout as one that cannot place a
    // point, as long as it still cannot: the figure then draws nothing more
    // and says nothing more about it.
    bool LAYOUTVERWORFEN() const { return m_LAYOUTGEMELDET && !LAYOUTGUELTIG(); }
    // SKALEN's steps after the range search.
    void BALKEN(FEHLERBOX& fehler);
    void ACHSEN(FEHLERBOX& fehler);
    void XACHSE(FEHLERBOX& fehler);
    void YACHSE(FEHLERBOX& fehler);
    // POLYGON's steps.
    void KURVENFORM(FEHLERBOX& fehler, const std::vector<float>& xp, const std::vector<float>& yp,
                    float xB, float yB, const QVariant& BOL);
    void MARKIEREN(FEHLERBOX& fehler, const std::vector<float>& xp, const std::vector<float>& yp,
                   int16_t PSIT, int16_t PSTYP);
    void PUNKTNUMMERN(FEHLERBOX& fehler, const std::vector<float>& xp, const std::vector<float>& yp,
                      int16_t PNR);
    void KURVENTEXT(FEHLERBOX& fehler, const std::vector<float>& xp, const std::vector<float>& yp,
                    QString& TEXT, int16_t LAGETEXT);
    void KURVENPFEILE(FEHLERBOX& fehler, const std::vector<float>& xp, const std::vector<float>& yp,
                      int16_t LAGEPFEIL);
    // KREIS's steps: the visible arcs of a circle that crosses the border of
    // the plot area, each drawn where it meets the requested arc (from page
    // angle ths downwards, WEITE radians long) by STUECK (false: KREIS
    // ends); false when KREIS ends without end marks. Then the marks at the
    // ends of the requested arc.
    bool BOGENSTUECKE(FEHLERBOX& fehler, float xm, float ym, float r, float ths, float the,
                      double weite, const std::function<bool(float, float)>& STUECK);
    void ENDMARKEN(FEHLERBOX& fehler, float xm, float ym, float r, float ths, float the,
                   float weite, int16_t LAGEPFEIL);

    // The working lists of one SKALEN call: tick values of each axis and,
    // on a logarithmic axis, the grid values with the index of the last one
    // (-1: none).
    std::vector<float> m_XWERTE, m_YWERTE, m_XLOGWERTE, m_YLOGWERTE;
    int16_t m_NXLOG = -1, m_NYLOG = -1;
    // SKALEN has reported the layout it left (see LAYOUTVERWORFEN).
    bool m_LAYOUTGEMELDET = false;

    int32_t m_EID = 0;
    int16_t m_EIDOBJEKT = 11;
    bool m_EBONURLESEN = false;
    OutputObject* m_EOBJEKT = nullptr;
    ScrollBar* m_EXBALKEN = nullptr;
    ScrollBar* m_EYBALKEN = nullptr;
    float m_EXDL = 0, m_EYDO = 0, m_ELX = 0, m_ELY = 0;
    int16_t m_EAXEX = 1, m_EAXEY = 1, m_ESKTX = 0, m_ESKTY = 0;
    bool m_EBOXMIN = false, m_EBOXMAX = false, m_EBOYMIN = false, m_EBOYMAX = false;
    QVariant m_ELXMIN, m_ELYMIN, m_ELXDIFF, m_ELYDIFF, m_ELXIT, m_ELYIT, m_ELXGIT, m_ELYGIT,
        m_ELXZL, m_ELYZL;
    QString m_ETEXTX, m_ETEXTY;
    QString m_ESKZX = QStringLiteral("####0");
    QString m_ESKZY = QStringLiteral("####0");
    int16_t m_EXYIT = 0;
    int16_t m_EPTYP = 0;
    float m_pixelX = 0, m_pixelY = 0;
    SCHRIFTSATZ m_SCHRIFTSATZ;
};
