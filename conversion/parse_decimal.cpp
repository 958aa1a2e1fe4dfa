#include "parse_decimal.h"

#include <cstdint>
#include <string>

#include "extended.h"
#include "locale_number_settings.h"
#include "powers_of_ten.h"

namespace pound {
namespace detail {
namespace {

// Scales of this magnitude or more (negative) give zero whatever the digits.
constexpr std::int64_t kZeroScale = -5120;
// Reading exponent digits stops right after the one that reaches this.
constexpr int kExponentStop = 500;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The digits read so far as the extended value of acc * 10 + digit, each step rounded.
// Held in an integer while that is exact, which gives the same bits faster.
class DigitAccumulator {
  public:
    void Push(int digit) {
        if (flags_.overflow)
            return;  // the text is lost already; only its syntax matters
        if (!wide_) {
            if (exact_ <= kExactLimit) {
                exact_ = exact_ * 10 + static_cast<std::uint64_t>(digit);
                return;
            }
            wide_ = true;
            value_ = FromUint64(exact_);
        }
        value_ = Multiply(value_, SmallPowerOfTen(1), flags_);
        value_ = Add(value_, FromUint64(static_cast<std::uint64_t>(digit)), flags_);
    }

    bool Overflowed() const { return flags_.overflow; }
    Extended Value() const { return wide_ ? value_ : FromUint64(exact_); }

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
    if (scale == 0)
        return value;
    if (scale <= kZeroScale)
        return {};
    const std::int64_t m = scale < 0 ? -scale : scale;
    const auto apply = [&](Extended factor) {
        value = scale > 0 ? Multiply(value, factor, flags) : Divide(value, factor, flags);
    };
    if (const int small = static_cast<int>(m % 32); small != 0) {
        apply(SmallPowerOfTen(small));
    }
    if (const int medium = static_cast<int>((m / 32) % 16); medium != 0) {
        apply(MediumPowerOfTen(medium));
    }
    if (const int large = static_cast<int>(m / 512); large != 0) {
        apply(LargePowerOfTen(large));
    }
    return value;
}

}  // namespace

std::string NotANumberMessage(std::string_view text) {
    constexpr std::string_view kTail = "' is not a valid floating point value";
    std::string message;
    message.reserve(text.size() + 1 + kTail.size());
    message += '\'';
    message += text;
    message += kTail;
    return message;
}

ParseStatus ParseDecimal(std::string_view text, char mark, double& result) {
    const std::size_t size = text.size();
    std::size_t i = 0;

    while (i < size && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < size && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }

    const std::size_t start = i;
    DigitAccumulator digits;
    for (; i < size && IsDigit(text[i]); ++i)
        digits.Push(text[i] - '0');
    std::int64_t scale = 0;
    if (i < size && text[i] == mark) {
        for (++i; i < size && IsDigit(text[i]); ++i) {
            digits.Push(text[i] - '0');
            --scale;
        }
    }
    if (i == start)
        return ParseStatus::kNotANumber;

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

    while (i < size && text[i] == ' ')
        ++i;
    if (i != size || digits.Overflowed())
        return ParseStatus::kNotANumber;

    Flags flags;
    Extended value = Scale(digits.Value(), scale, flags);
    if (flags.overflow)
        return ParseStatus::kNotANumber;
    if (negative)
        value = Negate(value);

    const double narrowed = ToDouble(value, flags);
    if (flags.overflow)
        return ParseStatus::kOverflow;
    result = narrowed;
    return ParseStatus::kNumber;
}

}  // namespace detail

double ParseDecimalText(std::string_view text) {
    return detail::ParseOrRaise(text, LocaleNumberSettings.DecimalMark);
}

}  // namespace pound
