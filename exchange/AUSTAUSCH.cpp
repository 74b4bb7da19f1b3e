#include "exchange/AUSTAUSCH.h"

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

} // namespace austausch
