#pragma once
// Checks shared by the fuzz targets: a failed property aborts, so libFuzzer reports it.

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace pound::fuzz {

[[noreturn]] inline void Fail(const char* what, std::string_view text) {
    std::fprintf(stderr, "property failed: %s\ninput (%zu bytes):", what, text.size());
    for (unsigned char c : text.substr(0, 200))
        std::fprintf(stderr, " %02X", c);
    std::fprintf(stderr, "\n");
    std::abort();
}

inline void Require(bool condition, const char* what, std::string_view text) {
    if (!condition)
        Fail(what, text);
}

}  // namespace pound::fuzz
