#include "exchange/AUSTAUSCH.h"

#include "platform/runtime/ErrorHandler.h"

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

} // namespace austausch
