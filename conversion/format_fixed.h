#pragma once
// Writing a result number in fixed-point form.
//
// The number's first 18 significant digits are produced once in the 80-bit extended
// format, then rounded half up to `decimals` places after the decimal mark but at most
// `precision` significant digits. A number that rounds to more than `precision` integer
// digits takes a scientific shape instead. The mark is the current
// LocaleNumberSettings.DecimalMark; no thousands separator is ever written. With "." as
// mark, precision 6 and decimals 3:
//
//   FormatFixedText(4.5359237, 6, 3)  == "4.536"
//   FormatFixedText(0.0625, 6, 3)     == "0.063"        (ties away from zero)
//   FormatFixedText(-0.0004, 6, 3)    == "0.000"        (no minus sign on a zero)
//   FormatFixedText(1234.5678, 6, 3)  == "1234.570"     (six significant digits)
//   FormatFixedText(999999.5, 6, 3)   == "1E006"
//   FormatFixedText(1234567, 6, 3)    == "1.23457E006"
//   FormatFixedText(-INFINITY, 6, 3)  == "-INF"         and NaN gives "NAN"

#include <string>

namespace pound {

// `precision` is taken as 2 to 18 and `decimals` as 0 to 18, values outside being moved to
// the nearer bound. Every double gives a text; nothing fails.
std::string FormatFixedText(double value, int precision, int decimals);

namespace detail {

// A number as sign, digits and decimal exponent: digit k (from 1) stands for
// digit * 10^(exponent - k). No digits means zero.
struct DecimalForm {
    bool negative = false;
    int exponent = 0;
    int length = 0;
    char digits[18] = {};
};

// The first 18 significant digits of a finite non-zero `value`, rounded once.
DecimalForm EighteenDigitForm(double value);

// Rounds half up to `decimals` places but at most `precision` digits, then drops trailing
// zeros; a result without digits is a positive zero.
void RoundForDisplay(DecimalForm& form, int precision, int decimals);

}  // namespace detail
}  // namespace pound
