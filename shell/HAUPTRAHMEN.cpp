#include "shell/HAUPTRAHMEN.h"

HAUPTRAHMEN::HAUPTRAHMEN(QWidget* flaeche) : m_flaeche(flaeche) {
    SetScaleMode(1);
    MESSEN();
}

void HAUPTRAHMEN::MESSEN() {
    if (!m_flaeche) return;
    const double dpiX = m_flaeche->logicalDpiX();
    const double dpiY = m_flaeche->logicalDpiY();
    const int breite = std::max(1, m_flaeche->width());
    const int hoehe = std::max(1, m_flaeche->height());
    SetDevice(breite, hoehe, dpiX, dpiY, float(breite * 1440.0 / dpiX),
              float(hoehe * 1440.0 / dpiY));
}
