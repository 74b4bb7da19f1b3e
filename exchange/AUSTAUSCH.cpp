#include "exchange/AUSTAUSCH.h"

#include "platform/controls/StdFont.h"
#include "platform/controls/TWIPS.h"
#include "platform/runtime/ErrorHandler.h"
#include "platform/runtime/Variant.h"

#include <exception>

namespace austausch {

RuntimeError AKTUELLERFEHLER() {
    try {
        throw;
    } catch (const std::exception& e) {
        return ErrorHandler::Translate(e);
    } catch (...) {
        return StandardError(51);
    }
}

QString TEXT(const QVariant& wert) {
    return IsNull(wert) || IsEmpty(wert) ? QString() : CStr(wert);
}

QFont ARIAL(double punkte, bool fett) {
    QFont f(FontFamily(QStringLiteral("Arial")));
    f.setPointSizeF(punkte);
    f.setBold(fett);
    return f;
}

QRect TWIPSORT(const QWidget* widget, double links, double oben, double breite, double hoehe) {
    return QRect(PIXEL(links, widget), PIXEL(oben, widget), PIXEL(breite, widget),
                 PIXEL(hoehe, widget));
}

} // namespace austausch
