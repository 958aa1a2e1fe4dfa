#include "format_fixed.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "extended.h"
#include "locale_number_settings.h"
#include "powers_of_ten.h"

namespace pound {
namespace detail {
namespace {

constexpr int kFormDigits = 18;
constexpr int kMinPrecision = 2;
constexpr int kMaxPrecision = 18;
constexpr int kMaxDecimals = 18;
// Exponents up to this many digits are padded to `decimals` digits.
constexpr int kMaxPaddedExponentDigits = 4;

// b with 2^b <= |value| < 2^(b+1), for a finite non-zero double.
int BinaryExponent(double value) {
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    const int biased = static_cast<int>((bits >> 52) & 0x7FF);
    if (biased != 0) return biased - 1023;
    const std::uint64_t fraction = bits & ((1ull << 52) - 1);
    return 63 - std::countl_zero(fraction) - 1074;
}

void MakeZero(DecimalForm& form) { form = DecimalForm{}; }

}  // namespace

DecimalForm EighteenDigitForm(double value) {
    DecimalForm form;
    form.negative = std::signbit(value);
    const int b = BinaryExponent(value);
    // 19728 / 65536 lies just below log10(2); the shift floors, also for negative b.
    form.exponent = ((b * 19728) >> 16) + 1;

    const int n = kFormDigits - form.exponent;
    const int m = n < 0 ? -n : n;
    Flags flags;  // a double scaled to 18 digits cannot overflow
    Extended s = FromDouble(std::fabs(value));
    const auto apply = [&](Extended factor) {
        s = n > 0 ? Multiply(s, factor, flags) : Divide(s, factor, flags);
    };
    if (m % 32 != 0) apply(SmallPowerOfTen(m % 32));
    if (m >= 32) apply(MediumPowerOfTen(m / 32));
    s = RoundToIntegral(s);
    const Extended limit = SmallPowerOfTen(kFormDigits);
    if (Compare(s, limit) >= 0) {
        s = RoundToIntegral(Divide(s, SmallPowerOfTen(1), flags));
        ++form.exponent;
    }

    std::uint64_t integer = ToUint64(s);
    for (int k = kFormDigits - 1; k >= 0; --k) {
        form.digits[k] = static_cast<char>('0' + integer % 10);
        integer /= 10;
    }
    form.length = kFormDigits;
    return form;
}

void RoundForDisplay(DecimalForm& form, int precision, int decimals) {
    int keep = form.exponent + decimals;
    if (keep < 0) {
        MakeZero(form);
        return;
    }
    keep = std::min(keep, precision);
    if (keep < form.length) {
        const bool roundUp = form.digits[keep] >= '5';
        form.length = keep;
        if (roundUp) {
            int k = keep - 1;
            for (; k >= 0 && form.digits[k] == '9'; --k) form.digits[k] = '0';
            if (k >= 0) {
                ++form.digits[k];
            } else {  // the carry ran past the first kept digit
                form.digits[0] = '1';
                form.length = 1;
                ++form.exponent;
            }
        }
    }
    while (form.length > 0 && form.digits[form.length - 1] == '0') --form.length;
    if (form.length == 0) MakeZero(form);
}

namespace {

void AppendFixed(std::string& out, const DecimalForm& form, int decimals, char mark) {
    if (form.negative) out += '-';
    if (form.exponent <= 0) {
        out += '0';
    } else {
        for (int k = 0; k < form.exponent; ++k) out += k < form.length ? form.digits[k] : '0';
    }
    if (decimals == 0) return;
    out += mark;
    int written = 0;
    if (form.exponent < 0) {
        const int zeros = std::min(-form.exponent, decimals);
        out.append(static_cast<std::size_t>(zeros), '0');
        written = zeros;
    }
    for (int k = std::max(form.exponent, 0); k < form.length && written < decimals; ++k) {
        out += form.digits[k];
        ++written;
    }
    out.append(static_cast<std::size_t>(decimals - written), '0');
}

void AppendScientific(std::string& out, const DecimalForm& form, int decimals, char mark) {
    if (form.negative) out += '-';
    out += form.digits[0];
    if (form.length > 1) {
        out += mark;
        out.append(form.digits + 1, static_cast<std::size_t>(form.length - 1));
    }
    out += 'E';
    const int x = form.exponent - 1;
    if (x < 0) out += '-';
    char buffer[12];
    int count = 0;
    for (unsigned magnitude = static_cast<unsigned>(x < 0 ? -x : x); magnitude != 0 || count == 0;
         magnitude /= 10) {
        buffer[count++] = static_cast<char>('0' + magnitude % 10);
    }
    if (decimals <= kMaxPaddedExponentDigits && count < decimals) {
        out.append(static_cast<std::size_t>(decimals - count), '0');
    }
    while (count > 0) out += buffer[--count];
}

}  // namespace
}  // namespace detail

std::string FormatFixedText(double value, int precision, int decimals) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
    precision = std::clamp(precision, detail::kMinPrecision, detail::kMaxPrecision);
    decimals = std::clamp(decimals, 0, detail::kMaxDecimals);

    detail::DecimalForm form;
    if (value != 0) {
        form = detail::EighteenDigitForm(value);
        detail::RoundForDisplay(form, precision, decimals);
    }
    const char mark = LocaleNumberSettings.DecimalMark;
    std::string out;
    if (form.exponent > precision) {
        detail::AppendScientific(out, form, decimals, mark);
    } else {
        detail::AppendFixed(out, form, decimals, mark);
    }
    return out;
}

}  // namespace pound
