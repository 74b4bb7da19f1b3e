// The check of a value typed into an overlay editor before it enters its
// cell: by the column's type and limits, each refusal explained in a box.

#include "input/clsFLX.h"

#include "input/clsFLX_Intern.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/Variant.h"

#include <cmath>

using namespace flx;

bool clsFLX::WERTPRUEFEN(QString& WERT, float MIN, float MAX, bool GANZ, bool DATUM,
                         const QString& SPALTE) {
    const QString titel = QStringLiteral("MSFlexGrid / ") + SPALTE;
    // Blanks only, as the store trims: what passes here is what is stored.
    WERT = Trim(WERT);
    if (WERT.isEmpty()) return true;
    if (DATUM) {
        if (IsDate(QVariant(WERT))) return true;
        MsgBox(QStringLiteral("Eingegeber Wert ist kein gültiges Datums- oder Zeitformat!"),
               vbExclamation, titel);
        return false;
    }
    double zahl = 0;
    if (!ParseNumberText(WERT, zahl)) {
        MsgBox(QStringLiteral("Eingegeber Wert ist kein gültiges Zahlenformat!"), vbExclamation,
               titel);
        return false;
    }
    // Beyond the range of a Single the conversion fails (overflow) and the
    // caller's handler reports it.
    const float wert = CheckedSingle(zahl);
    if (wert < MIN || wert > MAX) {
        MsgBox(QStringLiteral("Zahlenwert außerhalb der vorgegeben Schranken:\r\nMinimum: ") +
                   SingleText(MIN) + QStringLiteral(", Maximum: ") + SingleText(MAX),
               vbExclamation, titel);
        return false;
    }
    if (GANZ && wert != std::floor(wert)) {
        MsgBox(QStringLiteral("Eingegeber Wert ist keine ganze Zahl!"), vbExclamation, titel);
        return false;
    }
    return true;
}

bool clsFLX::pruefen(const QString& text, bool kombination) {
    // The limits of the column; an error value in either leaves both at 0,
    // which switches the check of numbers off.
    float unten = 0.0f;
    float oben = 0.0f;
    const QVariant min = Eintrag(m_ELMIN, m_ESNR);
    const QVariant max = Eintrag(m_ELMAX, m_ESNR);
    if (!ISTFEHLER(min) && !ISTFEHLER(max)) {
        unten = CSng(min);
        oben = CSng(max);
    }
    const QString kopf = CStr(Eintrag(m_ELST1, m_ESNR));
    // The check trims its own copy: the cell receives the text as typed.
    QString wert = text;
    if (kombination) {
        if (!(unten < oben)) return true;
        return WERTPRUEFEN(wert, unten, oben, false, false, QStringLiteral("Spalte ") + kopf);
    }
    switch (CInt(Eintrag(m_ELSTYP, m_ESNR))) {
    case 1:
    case 2:
    case 3:
        if (!(unten < oben)) return true;
        return WERTPRUEFEN(wert, unten, oben, true, false, QStringLiteral("Indexspalte ") + kopf);
    case 4:
        return WERTPRUEFEN(wert, unten, oben, false, true, QStringLiteral("Datumsspalte ") + kopf);
    case 5:
        return WERTPRUEFEN(wert, unten, oben, false, true, QStringLiteral("Uhrzeitspalte ") + kopf);
    default:
        if (!(unten < oben)) return true;
        return WERTPRUEFEN(wert, unten, oben, false, false, QStringLiteral("Spalte ") + kopf);
    }
}
