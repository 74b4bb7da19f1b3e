#pragma once

// The text painter of the drawing classes: texts with an inline markup, drawn
// piece by piece on an output object in millimetres.
//
// A group "{code,count}" styles the count characters that follow it (its
// run): "t" subscript, "h" superscript, "g" Symbol-font characters, "gt" and
// "gh" Symbol-font subscript and superscript; "c" inserts the character of
// code page 1252 whose code is the count and consumes nothing; "s" draws the
// point symbol whose number the run gives (diagram only). Codes are compared
// with their letter case; an unknown code prints its run in the font of the
// piece before, unshifted.
//
// A brace that does not open a well-formed group (no comma before the first
// closing brace, no closing brace, a count that is not a whole number of 0
// or more, a "c" code that is no printable character of the code page) is
// plain text, drawn and measured as written: a comment such as "Probe {A}"
// is never cut.
//
// The diagram's painter (clsGRAFIK.TEXT) adds coordinate kinds, a visibility
// test, rotation and the rewrite of numbers in E notation on top of the
// pieces drawn here; the table and the header use the short form TEXT below.

#include <QList>
#include <QString>
#include <QStringView>
#include <QVariant>
#include <cstdint>
#include <functional>

class FEHLERBOX;
class OutputObject;
class SCHRIFTSATZ;
class StdFont;

// What sets the three painters apart.
struct TEXTVARIANTE {
    bool PUNKTSYMBOLE = true;     // code "s" draws a point symbol
    bool GHEBUNG = true;          // "g" pieces sit 0.1 x TextHeight("g") higher
    bool CDRUCKERVERSATZ = false; // on the printer the pen moves right by 0.35 x
                                  // TextHeight of an inserted character first
    bool NULLALSLEER = true;      // a Null text counts as "" (else error 94)
    const char* PRAEFIX = "VB-Fehler: ";
    const char* TITEL = "Text";

    static TEXTVARIANTE GRAFIK();
    static TEXTVARIANTE TABELLE();
    static TEXTVARIANTE KOPFFUSS();
};

// A piece views the characters of the text it was cut from (or, for "c", a
// table of the code page), so that splitting a long text copies nothing: it
// is valid while that text lives.
struct TEXTSTUECK {
    // The group's code; a plain piece has none at all (a null view), while
    // a group's code, even an empty one, views its characters in the text.
    QStringView CODE;
    QStringView TEXT; // the characters drawn (the inserted character for "c")
    bool GRUPPE() const { return !CODE.isNull(); } // false: plain text
};

class TEXTMALER {
public:
    // The pieces of a text, viewing its characters; a text that would be
    // gone before its pieces are used is refused at compile time.
    static QList<TEXTSTUECK> ZERLEGEN(const QString& text);
    static QList<TEXTSTUECK> ZERLEGEN(QString&& text) = delete;
    // The text as it is measured: the markup of every group left out, runs
    // at full length, inserted characters not counted.
    static QString MESSKOPIE(const QString& text);
    // A whole number text with an E becomes mantissa "*10{h," length "}"
    // exponent: 2.5E+03 -> 2.5*10{h,3}+03. Returns whether it was rewritten.
    static bool ZAHLUMSCHREIBEN(QString& text);
    // Font slot of a code: 2 plain and "c", 4 "t"/"h", 3 "g", 5 "gt"/"gh",
    // -1 unchanged (the slot of the piece before).
    static int SCHRIFTSLOT(const TEXTSTUECK& stueck);
    // The numeric value at the start of a text (0 when there is none), as
    // the point symbols read their number.
    static double ZAHLWERT(const QString& text);

    // Draws the pieces of a text from the pen (x0, y0), the top left corner
    // of the text, along the angle a (radians, counter-clockwise on the page).
    // drehtext draws a piece at an angle other than 0 (diagram only): the
    // piece, the top left corner of its cell and its font. Slot 0 of the set
    // must hold the output object's own font; the object has it back after
    // every piece. Failures go to the caller's box.
    using DREHTEXTAUFRUF =
        std::function<void(const QString& stueck, float px, float py, const StdFont& schrift)>;
    static void STUECKEZEICHNEN(OutputObject& objekt, SCHRIFTSATZ& satz,
                                const TEXTVARIANTE& variante, const QString& text, float x0,
                                float y0, float a, const DREHTEXTAUFRUF& drehtext,
                                FEHLERBOX& fehler);

    // The painter of the table and of the header: page millimetres, upright,
    // no visibility test, no number rewrite, no point symbols. Horizontal
    // alignment 0 left, 1 centre, 2 right; vertical 0 top, 1 middle, 2 foot.
    // An empty text draws nothing.
    static void TEXT(OutputObject* objekt, SCHRIFTSATZ& satz, const TEXTVARIANTE& variante, float x,
                     float y, const QVariant& text, int16_t horizontal, int16_t vertikal);
};
