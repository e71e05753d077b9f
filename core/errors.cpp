#include "core/errors.h"

#include <new>

namespace orvelo {

std::string ErrorMessage(const std::exception& e) {
    if (dynamic_cast<const std::bad_alloc*>(&e) != nullptr) return kOutOfMemoryMessage;
    return e.what();
}

}  // namespace orvelo
