#pragma once

// Prints one line of text at an angle on an output object: a GDI font is
// made from the object's current font with the escapement set to the angle,
// selected into the object's device context, the text written at the pixel
// position of the object's current position, and the font deleted again.
// Used as: Device, Angle, Label.

#include "platform/controls/Gdi.h"

#include <QString>
#include <cstdint>

class OutputObject;

class clsROTATOR {
public:
    // Binds the rotator to an output object and measures its scale.
    void setDevice(OutputObject* objDevice);
    OutputObject* Device() const { return m_device; }

    void setAngle(int16_t nAngle) { m_angle = nAngle; }
    int16_t Angle() const { return m_angle; }

    // Prints the text at the device's current position, turned by Angle, in
    // the device's current font. The current position does not move.
    void Label(const QString& sText);

    // The font record as the last Label filled it.
    const LOGFONT& FontRecord() const { return m_logFont; }

private:
    int32_t ScaleToPixelX(float x) const;
    int32_t ScaleToPixelY(float y) const;

    OutputObject* m_device = nullptr;
    float m_scaleLeft = 0;
    float m_scaleTop = 0;
    float m_pixelX = 0;
    float m_pixelY = 0;
    int16_t m_angle = 0;
    LOGFONT m_logFont;
};
