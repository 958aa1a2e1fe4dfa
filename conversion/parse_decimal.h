#pragma once
// Reading an entered number.
//
// Accepted: blanks, an optional sign, decimal digits with at most one decimal mark (the
// current LocaleNumberSettings.DecimalMark), an optional exponent ("E" or "e", an optional
// sign, digits), blanks. Blank means the space character alone. Anything else anywhere
// makes the whole text invalid.
//
// The digits are accumulated and scaled in the 80-bit extended format, each step rounded
// to nearest, ties to even, and the result is narrowed to a double once. With "." as mark:
//
//   ParseDecimalText("  7  ")      ==  7.0
//   ParseDecimalText(".5")         ==  0.5
//   ParseDecimalText("-.")         == -0.0
//   ParseDecimalText("5e+")        ==  5.0      (an exponent marker without digits is 0)
//   ParseDecimalText("1E-400")     ==  0.0      (underflow is no error)
//   ParseDecimalText("1E400")      throws EOverflow       "Floating point overflow"
//   ParseDecimalText("1,000")      throws EConvertError   "'1,000' is not a valid floating
//                                                          point value"
//   ParseDecimalText("1E4933")     throws EConvertError   (beyond the extended range)

#include <string>
#include <string_view>

#include "errors.h"

namespace pound {

// Throws EConvertError when `text` is not a number and EOverflow when its magnitude rounds
// beyond the largest double. Allocates only to build an error.
double ParseDecimalText(std::string_view text);

namespace detail {

enum class ParseStatus { kNumber, kNotANumber, kOverflow };

// The parser without exceptions: `value` is set for kNumber only.
ParseStatus ParseDecimal(std::string_view text, char mark, double& value);

// The messages of EConvertError and EOverflow.
std::string NotANumberMessage(std::string_view text);
inline constexpr const char* kOverflowMessage = "Floating point overflow";

#if defined(__GNUC__)
#define POUND_ALWAYS_INLINE [[gnu::always_inline]] inline
#else
#define POUND_ALWAYS_INLINE __forceinline
#endif

// ParseDecimal with the errors raised. Always inlined, so that unwinding an error starts in
// the caller's own frame: the exceptions dominate the cost of invalid entries.
POUND_ALWAYS_INLINE double ParseOrRaise(std::string_view text, char mark) {
    double value = 0;
    switch (ParseDecimal(text, mark, value)) {
        case ParseStatus::kNumber:
            return value;
        case ParseStatus::kOverflow:
            throw EOverflow(kOverflowMessage);
        case ParseStatus::kNotANumber:
            break;
    }
    throw EConvertError(NotANumberMessage(text));
}

}  // namespace detail
}  // namespace pound
