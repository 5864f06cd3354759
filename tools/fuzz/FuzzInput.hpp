// What the fuzz targets share: cutting one input into the arguments of the
// code under test, and stopping with both answers shown when the program and
// its slow reference disagree.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace varnex::fuzz {

// The pieces between '|' characters. No file name can hold a '|', and no
// rule of the program gives it a meaning.
inline std::vector<std::string> Split(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> parts(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == '|')
            parts.emplace_back();
        else
            parts.back() += static_cast<char>(data[i]);
    }
    return parts;
}

inline std::string Shown(std::string_view s) {
    std::string out = "\"";
    for (const char c : s) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 32 && u < 127 && c != '\\')
            out += c;
        else {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02X", u);
            out += hex;
        }
    }
    return out + "\"";
}

[[noreturn]] inline void Differ(const char* what, std::string_view program, std::string_view reference) {
    std::fprintf(stderr, "%s differs\n  program:   %s\n  reference: %s\n", what, Shown(program).c_str(),
                 Shown(reference).c_str());
    __builtin_trap();
}

inline void Same(const char* what, std::string_view program, std::string_view reference) {
    if (program != reference) Differ(what, program, reference);
}

}  // namespace varnex::fuzz
