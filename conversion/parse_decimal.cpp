#include "parse_decimal.h"

#include <cstdint>
#include <string>

#include "extended.h"
#include "locale_number_settings.h"
#include "powers_of_ten.h"

namespace pound {
namespace {

using detail::Extended;
using detail::Flags;

// Scales of this magnitude or more (negative) give zero whatever the digits.
constexpr std::int64_t kZeroScale = -5120;
// Reading exponent digits stops right after the one that reaches this.
constexpr int kExponentStop = 500;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

[[noreturn]] void ThrowNotANumber(std::string_view text) {
    std::string message;
    message.reserve(text.size() + 40);
    message += '\'';
    message += text;
    message += "' is not a valid floating point value";
    throw EConvertError(std::move(message));
}

// The digits read so far as the extended value of acc * 10 + digit, each step rounded.
// Held in an integer while that is exact, which gives the same bits faster.
class DigitAccumulator {
public:
    void Push(int digit) {
        if (flags_.overflow) return;  // the text is lost already; only its syntax matters
        if (!wide_) {
            if (exact_ <= kExactLimit) {
                exact_ = exact_ * 10 + static_cast<std::uint64_t>(digit);
                return;
            }
            wide_ = true;
            value_ = detail::FromUint64(exact_);
        }
        value_ = detail::Multiply(value_, detail::SmallPowerOfTen(1), flags_);
        value_ = detail::Add(value_, detail::FromUint64(static_cast<std::uint64_t>(digit)), flags_);
    }

    bool Overflowed() const { return flags_.overflow; }
    Extended Value() const { return wide_ ? value_ : detail::FromUint64(exact_); }

private:
    static constexpr std::uint64_t kExactLimit = (UINT64_MAX - 9) / 10;

    std::uint64_t exact_ = 0;
    bool wide_ = false;
    Extended value_;
    Flags flags_;
};

// value * 10^scale by up to three rounded steps: 10^(m mod 32), 10^(32((m div 32) mod 16)),
// 10^(512(m div 512)), where m = |scale|.
Extended Scale(Extended value, std::int64_t scale, Flags& flags) {
    if (scale == 0) return value;
    if (scale <= kZeroScale) return {};
    const std::int64_t m = scale < 0 ? -scale : scale;
    const auto apply = [&](Extended factor) {
        value = scale > 0 ? detail::Multiply(value, factor, flags)
                          : detail::Divide(value, factor, flags);
    };
    if (const int small = static_cast<int>(m % 32); small != 0) {
        apply(detail::SmallPowerOfTen(small));
    }
    if (const int medium = static_cast<int>((m / 32) % 16); medium != 0) {
        apply(detail::MediumPowerOfTen(medium));
    }
    if (const int large = static_cast<int>(m / 512); large != 0) {
        apply(detail::LargePowerOfTen(large));
    }
    return value;
}

}  // namespace

double ParseDecimalText(std::string_view text) {
    const char mark = LocaleNumberSettings.DecimalMark;
    const std::size_t size = text.size();
    std::size_t i = 0;

    while (i < size && text[i] == ' ') ++i;
    bool negative = false;
    if (i < size && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }

    const std::size_t start = i;
    DigitAccumulator digits;
    for (; i < size && IsDigit(text[i]); ++i) digits.Push(text[i] - '0');
    std::int64_t scale = 0;
    if (i < size && text[i] == mark) {
        for (++i; i < size && IsDigit(text[i]); ++i) {
            digits.Push(text[i] - '0');
            --scale;
        }
    }
    if (i == start) ThrowNotANumber(text);

    if (i < size && (text[i] == 'E' || text[i] == 'e')) {
        ++i;
        bool exponentNegative = false;
        if (i < size && (text[i] == '+' || text[i] == '-')) {
            exponentNegative = text[i] == '-';
            ++i;
        }
        int exponent = 0;
        while (i < size && IsDigit(text[i]) && exponent < kExponentStop) {
            exponent = exponent * 10 + (text[i] - '0');
            ++i;
        }
        scale += exponentNegative ? -exponent : exponent;
    }

    while (i < size && text[i] == ' ') ++i;
    if (i != size || digits.Overflowed()) ThrowNotANumber(text);

    Flags flags;
    Extended value = Scale(digits.Value(), scale, flags);
    if (flags.overflow) ThrowNotANumber(text);
    if (negative) value = detail::Negate(value);

    const double result = detail::ToDouble(value, flags);
    if (flags.overflow) throw EOverflow("Floating point overflow");
    return result;
}

}  // namespace pound
