// Byte-string helpers with the classic 1-based search and slice rules.
// Every text of the program is a byte string: one byte is one character of
// the system's single-byte code page, so any byte value survives.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace varnex {

using Text = std::string;

// Position (1-based) of the first occurrence of `needle` in `hay` at or after
// position `start`; 0 when there is none. An empty `hay` never matches; an
// empty `needle` matches at `start` when that lies within `hay`. Letter case
// counts.
inline std::size_t InStr(std::size_t start, std::string_view hay, std::string_view needle) {
    if (start < 1 || hay.empty() || start > hay.size()) return 0;
    if (needle.empty()) return start;
    const auto at = hay.find(needle, start - 1);
    return at == std::string_view::npos ? 0 : at + 1;
}

inline std::size_t InStr(std::string_view hay, std::string_view needle) { return InStr(1, hay, needle); }

// The first `count` characters (all of them when `count` is larger).
inline Text Left(std::string_view s, std::size_t count) { return Text(s.substr(0, count)); }

// The characters from 1-based `start` to the end; empty past the end.
inline Text Mid(std::string_view s, std::size_t start) {
    return start < 1 || start > s.size() ? Text() : Text(s.substr(start - 1));
}

// `count` characters from 1-based `start`, fewer near the end.
inline Text Mid(std::string_view s, std::size_t start, std::size_t count) {
    return start < 1 || start > s.size() ? Text() : Text(s.substr(start - 1, count));
}

// All but the last `count` characters; empty when the text is not longer.
inline Text CutRight(std::string_view s, std::size_t count) {
    return s.size() <= count ? Text() : Text(s.substr(0, s.size() - count));
}

// A non-negative number as the classic number-to-text conversion writes it:
// one leading blank for the sign, then the digits.
inline Text SignedText(long long n) {
    Text text = n < 0 ? Text() : Text(" ");
    text += std::to_string(n);
    return text;
}

// Windows compares file, folder and registry names without regard to the
// case of the letters a to z only; other bytes are compared as they are.
inline char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }
inline Text UpperAscii(std::string_view s) {
    Text out(s);
    for (char& c : out) c = UpperAscii(c);
    return out;
}
inline bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (UpperAscii(a[i]) != UpperAscii(b[i])) return false;
    return true;
}

// Both separators Windows accepts in a path.
inline bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// True when `name` matches the wildcard `pattern` ("*" and "?"), letters
// compared without regard to case, as the file lists match their files.
inline bool MatchesPattern(std::string_view name, std::string_view pattern) {
    const auto fold = [](char c) { return UpperAscii(c); };
    // Iterative match with one backtrack point, the last "*".
    std::size_t n = 0, p = 0, star = std::string_view::npos, mark = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || fold(pattern[p]) == fold(name[n]))) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            mark = n;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            n = ++mark;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

}  // namespace varnex
