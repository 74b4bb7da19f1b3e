#include "drawing/FEHLERBOX.h"
#include "platform/runtime/System.h"

#include "platform/runtime/MsgBox.h"

#include <QLocale>

bool FEHLERBOX::MELDEN(const RuntimeError& fehler) {
    if (m_verlassen) return false;
    m_nummer = fehler.Number();
    if (m_gemeldet) return true;
    m_gemeldet = true;
    const QString text = QString::fromUtf8(m_praefix) + QString::number(fehler.Number()) +
                         ErrorHandler::kLineBreak + fehler.Description();
    if (MsgBox(text, ErrorHandler::kStyle, QString::fromUtf8(m_titel)) != vbOK) m_verlassen = true;
    return !m_verlassen;
}

RuntimeError OBJEKTVARIABLEFEHLT() {
    const bool german = GermanTexts();
    return RuntimeError(
        91, german ? QStringLiteral("Objektvariable oder With-Blockvariable nicht festgelegt")
                   : QStringLiteral("Object variable or With block variable not set"));
}
