#include "errors.h"

#include <utility>

namespace pound {

#if defined(_MSC_VER)
extern "C" void* _ReturnAddress();
#pragma intrinsic(_ReturnAddress)
#define POUND_RETURN_ADDRESS() _ReturnAddress()
#else
#define POUND_RETURN_ADDRESS() __builtin_return_address(0)
#endif

// Out of line, so that the return address lies in the code that raised the error.
Exception::Exception(std::string message)
    : message_(std::move(message)), raiseAddress_(POUND_RETURN_ADDRESS()) {}

std::string WithReportFullStop(std::string_view message) {
    std::string text(message);
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.')
        text += '.';
    return text;
}

}  // namespace pound
