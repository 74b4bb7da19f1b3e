#pragma once

// Pen and font settings of an output object, shared by the diagram, the
// table and the header, which differ only in the prefix and title of their
// error box.

#include <QString>
#include <cstdint>

class OutputObject;
class SCHRIFTSATZ;

// Line style, width and colour: a width of 0 mm gives one pixel, any other
// is turned into pixels by the pixel factor (pixels per unit); a width that
// would round to less than one pixel is drawn one pixel wide. LINIENBREITE
// comes back holding the width in pixels handed to the output object. The
// drawing mode is always 13 (copy pen).
void STIFTEINSTELLEN(OutputObject* objekt, float pixelProEinheit, int16_t LINIENART,
                     float& LINIENBREITE, int32_t FARBE, const char* praefix, const char* titel);

// Font of the output object ("Arial" for an empty name, 8 pt for a size of
// 0 or less), its colour (black for 0 or less), and the five-font set built
// from the font as the object then reports it.
void SCHRIFTEINSTELLEN(OutputObject* objekt, SCHRIFTSATZ& satz, const QString& SCHRIFTART,
                       int16_t SCHRIFTGROESSE, bool FETT, bool UNTERSTRICHEN, bool KURSIV,
                       int32_t FARBE, const char* praefix, const char* titel);
