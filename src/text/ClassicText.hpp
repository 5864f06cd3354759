// Byte-string helpers with the classic 1-based search and slice rules.
// Every text of the program is a byte string: one byte is one character of
// the system's single-byte code page, so any byte value survives.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "text/Letters.hpp"

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
// A character is a letter of the code page, one or more bytes.
inline Text CutRight(std::string_view s, std::size_t count) { return Text(s.substr(0, StartOfLastLetters(s, count))); }

// A non-negative number as the classic number-to-text conversion writes it:
// one leading blank for the sign, then the digits.
inline Text SignedText(long long n) {
    Text text = n < 0 ? Text() : Text(" ");
    text += std::to_string(n);
    return text;
}

// Windows compares file, folder and registry names without regard to the
// case of the letters a to z only; other letters are compared as they are,
// and the second byte of a double-byte letter is never taken for one.
inline char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }
inline Text UpperAscii(std::string_view s) {
    Text out(s);
    for (std::size_t i = 0; i < out.size(); i += LetterAt(out, i)) out[i] = UpperAscii(out[i]);
    return out;
}
inline bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    // A lead byte folds to itself and no folded ASCII letter equals one, so
    // equal texts have their letters at the same places.
    for (std::size_t i = 0; i < a.size();) {
        const std::size_t length = LetterAt(a, i);
        if (length == 1 ? UpperAscii(a[i]) != UpperAscii(b[i]) : a.compare(i, length, b, i, length) != 0) return false;
        i += length;
    }
    return true;
}

// Both separators Windows accepts in a path.
inline bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// True when the last letter of `s` is a separator.
inline bool EndsInSeparator(std::string_view s) {
    return !s.empty() && LastLetterLength(s) == 1 && IsSeparator(s.back());
}

// The names between the separators of `path` from byte `from` on, empty
// ones left out.
inline std::vector<Text> SplitAtSeparators(std::string_view path, std::size_t from = 0) {
    std::vector<Text> parts;
    Text part;
    for (std::size_t i = from; i < path.size();) {
        const std::size_t length = LetterAt(path, i);
        if (length == 1 && IsSeparator(path[i])) {
            if (!part.empty()) parts.push_back(std::move(part));
            part.clear();
        } else {
            part.append(path.substr(i, length));
        }
        i += length;
    }
    if (!part.empty()) parts.push_back(std::move(part));
    return parts;
}

// True when `name` matches the wildcard `pattern` ("*" and "?", each "?"
// one letter), letters compared without regard to case, as the file lists
// match their files.
inline bool MatchesPattern(std::string_view name, std::string_view pattern) {
    // The letter of `name` at `n` equals that of `pattern` at `p`.
    const auto same = [&](std::size_t n, std::size_t p) {
        const std::size_t length = LetterAt(name, n);
        if (length != LetterAt(pattern, p)) return false;
        return length == 1 ? UpperAscii(name[n]) == UpperAscii(pattern[p])
                           : name.compare(n, length, pattern.substr(p, length)) == 0;
    };
    // Iterative match with one backtrack point, the last "*".
    std::size_t n = 0, p = 0, star = std::string_view::npos, mark = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || same(n, p))) {
            const bool any = pattern[p] == '?';
            p += any ? 1 : LetterAt(pattern, p);
            n += LetterAt(name, n);
        } else if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            mark = n;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            mark += LetterAt(name, mark);
            n = mark;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

}  // namespace varnex
