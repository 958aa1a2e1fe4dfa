#pragma once
// Test-only renditions of the conversion's algorithms in the hardware's 80-bit extended
// type, for differential tests. Available where long double is the x87 format.

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "extended.h"

#if LDBL_MANT_DIG == 64
#define POUND_HAVE_X87 1

namespace pound::x87 {

inline long double ToLongDouble(detail::Extended e) {
    unsigned char bytes[sizeof(long double)] = {};
    std::memcpy(bytes, &e.significand, 8);
    const std::uint16_t signAndExponent =
        static_cast<std::uint16_t>(e.exponent | (e.sign ? 0x8000 : 0));
    std::memcpy(bytes + 8, &signAndExponent, 2);
    long double result;
    std::memcpy(&result, bytes, sizeof result);
    return result;
}

inline detail::Extended FromLongDouble(long double value) {
    unsigned char bytes[sizeof(long double)];
    std::memcpy(bytes, &value, sizeof bytes);
    detail::Extended e;
    std::memcpy(&e.significand, bytes, 8);
    std::uint16_t signAndExponent;
    std::memcpy(&signAndExponent, bytes + 8, 2);
    e.sign = (signAndExponent & 0x8000) != 0;
    e.exponent = signAndExponent & 0x7FFF;
    return e;
}

inline std::string Hex(detail::Extended e) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%c%04X:%016llX", e.sign ? '-' : '+', e.exponent,
                  static_cast<unsigned long long>(e.significand));
    return buffer;
}

// The nearest long double to 10^k, from the C library's correctly rounded reading.
inline long double PowerOfTen(int k) {
    const std::string text = "1e" + std::to_string(k);
    return std::strtold(text.c_str(), nullptr);
}

// Outcome of the reference parser: a value or the class of the error.
struct ParseOutcome {
    enum Kind { kNumber, kNotANumber, kOverflow } kind;
    double value;
};

// The parsing algorithm, step by step, in long double.
inline ParseOutcome Parse(std::string_view text, char mark) {
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    const std::size_t start = i;
    long double acc = 0;
    long long scale = 0;
    for (; i < n && digit(text[i]); ++i)
        acc = acc * 10 + (text[i] - '0');
    if (i < n && text[i] == mark) {
        for (++i; i < n && digit(text[i]); ++i, --scale)
            acc = acc * 10 + (text[i] - '0');
    }
    if (i == start)
        return {ParseOutcome::kNotANumber, 0};
    if (i < n && (text[i] == 'E' || text[i] == 'e')) {
        ++i;
        bool expNegative = false;
        if (i < n && (text[i] == '+' || text[i] == '-'))
            expNegative = text[i++] == '-';
        int exponent = 0;
        while (i < n && digit(text[i])) {
            exponent = exponent * 10 + (text[i++] - '0');
            if (exponent >= 500)
                break;
        }
        scale += expNegative ? -exponent : exponent;
    }
    while (i < n && text[i] == ' ')
        ++i;
    if (i != n)
        return {ParseOutcome::kNotANumber, 0};
    bool beyond = std::isinf(acc);
    if (scale <= -5120) {
        acc = 0;
    } else if (scale != 0) {
        const long long m = scale < 0 ? -scale : scale;
        const int factors[3] = {static_cast<int>(m % 32), static_cast<int>(32 * ((m / 32) % 16)),
                                static_cast<int>(512 * (m / 512))};
        for (int k : factors) {
            if (k == 0)
                continue;
            acc = scale > 0 ? acc * PowerOfTen(k) : acc / PowerOfTen(k);
            beyond = beyond || std::isinf(acc);
        }
    }
    if (beyond)
        return {ParseOutcome::kNotANumber, 0};
    if (negative)
        acc = -acc;
    const double result = static_cast<double>(acc);
    if (std::isinf(result))
        return {ParseOutcome::kOverflow, 0};
    return {ParseOutcome::kNumber, result};
}

// The formatting algorithm, step by step, in long double.
inline std::string Format(double value, int precision, int decimals, char mark) {
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    precision = precision < 2 ? 2 : precision > 18 ? 18 : precision;
    bool negative = false;
    int e = 0;
    std::string digits;  // after rounding, without trailing zeros
    if (value != 0) {
        negative = std::signbit(value);
        int b;
        std::frexp(value, &b);
        --b;  // frexp gives 2^(b-1) <= |v| < 2^b
        e = static_cast<int>(std::floor(b * 19728.0 / 65536.0)) + 1;
        const int n = 18 - e, m = n < 0 ? -n : n;
        long double s = std::fabs(static_cast<long double>(value));
        const auto apply = [&](int k) { s = n > 0 ? s * PowerOfTen(k) : s / PowerOfTen(k); };
        apply(m % 32);
        if (m >= 32)
            apply(32 * (m / 32));
        s = std::rint(s);
        if (s >= 1e18L) {
            s = std::rint(s / 10);
            ++e;
        }
        char buffer[24];
        std::snprintf(buffer, sizeof buffer, "%018llu", static_cast<unsigned long long>(s));
        digits = buffer;
        int keep = e + decimals;
        if (keep < 0) {
            digits.clear();
        } else {
            if (keep > precision)
                keep = precision;
            if (keep < 18) {
                const bool up = digits[static_cast<std::size_t>(keep)] >= '5';
                digits.resize(static_cast<std::size_t>(keep));
                if (up) {
                    int k = keep - 1;
                    while (k >= 0 && digits[static_cast<std::size_t>(k)] == '9') {
                        digits[static_cast<std::size_t>(k--)] = '0';
                    }
                    if (k < 0) {
                        digits = "1";
                        ++e;
                    } else {
                        ++digits[static_cast<std::size_t>(k)];
                    }
                }
            }
        }
        while (!digits.empty() && digits.back() == '0')
            digits.pop_back();
        if (digits.empty()) {
            negative = false;
            e = 0;
        }
    }
    std::string out = negative ? "-" : "";
    if (e > precision) {
        out += digits[0];
        if (digits.size() > 1)
            out += mark + digits.substr(1);
        const int x = e - 1;
        std::string exponent = std::to_string(x < 0 ? -x : x);
        if (decimals <= 4 && static_cast<int>(exponent.size()) < decimals) {
            exponent.insert(0, static_cast<std::size_t>(decimals) - exponent.size(), '0');
        }
        return out + "E" + (x < 0 ? "-" : "") + exponent;
    }
    if (e <= 0) {
        out += '0';
    } else {
        for (int k = 0; k < e; ++k) {
            out += k < static_cast<int>(digits.size()) ? digits[static_cast<std::size_t>(k)] : '0';
        }
    }
    if (decimals == 0)
        return out;
    std::string fraction(static_cast<std::size_t>(e < 0 ? std::min(-e, decimals) : 0), '0');
    if (static_cast<int>(digits.size()) > (e > 0 ? e : 0)) {
        fraction += digits.substr(static_cast<std::size_t>(e > 0 ? e : 0));
    }
    fraction.resize(static_cast<std::size_t>(decimals), '0');
    return out + mark + fraction;
}

}  // namespace pound::x87

#endif
