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
    if (biased != 0)
        return biased - 1023;
    const std::uint64_t fraction = bits & ((1ull << 52) - 1);
    return 63 - std::countl_zero(fraction) - 1074;
}

constexpr std::uint64_t kNineDigits = 1'000'000'000;

// "00" to "99": two digits per division.
constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// `value` below 10^9 as exactly nine digits, with leading zeros.
void WriteNineDigits(char* out, std::uint32_t value) {
    for (int k = 7; k >= 1; k -= 2) {
        const std::uint32_t pair = value % 100;
        value /= 100;
        out[k] = kDigitPairs[2 * pair];
        out[k + 1] = kDigitPairs[2 * pair + 1];
    }
    out[0] = static_cast<char>('0' + value);
}

void MakeZero(DecimalForm& form) {
    form = DecimalForm{};
}

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
    if (m % 32 != 0)
        apply(SmallPowerOfTen(m % 32));
    if (m >= 32)
        apply(MediumPowerOfTen(m / 32));
    s = RoundToIntegral(s);
    const Extended limit = SmallPowerOfTen(kFormDigits);
    if (Compare(s, limit) >= 0) {
        s = RoundToIntegral(Divide(s, SmallPowerOfTen(1), flags));
        ++form.exponent;
    }

    // Two halves of nine digits, each written in 32-bit arithmetic.
    const std::uint64_t integer = ToUint64(s);
    WriteNineDigits(form.digits, static_cast<std::uint32_t>(integer / kNineDigits));
    WriteNineDigits(form.digits + 9, static_cast<std::uint32_t>(integer % kNineDigits));
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
            for (; k >= 0 && form.digits[k] == '9'; --k)
                form.digits[k] = '0';
            if (k >= 0) {
                ++form.digits[k];
            } else {  // the carry ran past the first kept digit
                form.digits[0] = '1';
                form.length = 1;
                ++form.exponent;
            }
        }
    }
    while (form.length > 0 && form.digits[form.length - 1] == '0')
        --form.length;
    if (form.length == 0)
        MakeZero(form);
}

namespace {

// Room for the longest text: 18 integer digits, the mark and 18 decimals, or the
// scientific shape with a sign, 18 digits and a three-digit exponent.
class TextBuffer {
  public:
    void Put(char c) { data_[size_++] = c; }
    void Put(int count, char c) {
        for (int k = 0; k < count; ++k)
            data_[size_++] = c;
    }
    std::string Text() const { return std::string(data_, static_cast<std::size_t>(size_)); }

  private:
    char data_[48];
    int size_ = 0;
};

void WriteFixed(TextBuffer& out, const DecimalForm& form, int decimals, char mark) {
    if (form.negative)
        out.Put('-');
    if (form.exponent <= 0) {
        out.Put('0');
    } else {
        for (int k = 0; k < form.exponent; ++k)
            out.Put(k < form.length ? form.digits[k] : '0');
    }
    if (decimals == 0)
        return;
    out.Put(mark);
    int written = 0;
    if (form.exponent < 0) {
        written = std::min(-form.exponent, decimals);
        out.Put(written, '0');
    }
    for (int k = std::max(form.exponent, 0); k < form.length && written < decimals; ++k) {
        out.Put(form.digits[k]);
        ++written;
    }
    out.Put(decimals - written, '0');
}

void WriteScientific(TextBuffer& out, const DecimalForm& form, int decimals, char mark) {
    if (form.negative)
        out.Put('-');
    out.Put(form.digits[0]);
    if (form.length > 1) {
        out.Put(mark);
        for (int k = 1; k < form.length; ++k)
            out.Put(form.digits[k]);
    }
    out.Put('E');
    const int x = form.exponent - 1;
    if (x < 0)
        out.Put('-');
    char reversed[12];
    int count = 0;
    for (unsigned magnitude = static_cast<unsigned>(x < 0 ? -x : x); magnitude != 0 || count == 0;
         magnitude /= 10) {
        reversed[count++] = static_cast<char>('0' + magnitude % 10);
    }
    if (decimals <= kMaxPaddedExponentDigits)
        out.Put(decimals - count, '0');
    while (count > 0)
        out.Put(reversed[--count]);
}

}  // namespace
}  // namespace detail

std::string FormatFixedText(double value, int precision, int decimals) {
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    precision = std::clamp(precision, detail::kMinPrecision, detail::kMaxPrecision);
    decimals = std::clamp(decimals, 0, detail::kMaxDecimals);

    detail::DecimalForm form;
    if (value != 0) {
        form = detail::EighteenDigitForm(value);
        detail::RoundForDisplay(form, precision, decimals);
    }
    const char mark = LocaleNumberSettings.DecimalMark;
    detail::TextBuffer out;
    if (form.exponent > precision) {
        detail::WriteScientific(out, form, decimals, mark);
    } else {
        detail::WriteFixed(out, form, decimals, mark);
    }
    return out.Text();
}

}  // namespace pound
