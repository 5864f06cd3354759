// The letters of the system's code page. In a single-byte code page every
// byte is a letter. In the double-byte code pages of Japanese, Chinese and
// Korean systems a lead byte and the byte after it make one letter, and
// that second byte may be "\" or an ASCII letter; under UTF-8 a letter
// outside ASCII takes two to four bytes. Whatever looks for a separator,
// folds letter case or takes the last letter of a name steps from letter
// to letter, so that it never reads the second half of a letter as a
// letter of its own. The platform says which code page the system has; the
// program uses its letters from start-up on.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

namespace varnex {

class CodePageLetters {
public:
    // Every byte a letter of its own.
    CodePageLetters() { lengths_.fill(1); }

    // A double-byte code page given by its lead byte ranges, as Windows
    // reports them: pairs of first and last lead byte.
    static CodePageLetters DoubleByte(const std::vector<std::pair<unsigned, unsigned>>& leadRanges) {
        CodePageLetters letters;
        for (const auto& [first, last] : leadRanges)
            for (unsigned b = first; b <= last && b < 256; ++b) letters.lengths_[b] = 2;
        letters.multiByte_ = !leadRanges.empty();
        return letters;
    }

    // UTF-8: the length a lead byte announces; a byte that cannot start a
    // letter stands for one, as the system shows it.
    static CodePageLetters Utf8() {
        CodePageLetters letters;
        for (unsigned b = 0xC2; b <= 0xDF; ++b) letters.lengths_[b] = 2;
        for (unsigned b = 0xE0; b <= 0xEF; ++b) letters.lengths_[b] = 3;
        for (unsigned b = 0xF0; b <= 0xF4; ++b) letters.lengths_[b] = 4;
        letters.multiByte_ = true;
        return letters;
    }

    // The code pages a Windows system may have: the four double-byte ones
    // and UTF-8 by their lead bytes, every other one single-byte. The
    // Windows platform asks the system itself; this is what it answers.
    static CodePageLetters Of(unsigned codePage) {
        switch (codePage) {
            case 932:
                return DoubleByte({{0x81, 0x9F}, {0xE0, 0xFC}});
            case 936:
            case 949:
            case 950:
                return DoubleByte({{0x81, 0xFE}});
            case 65001:
                return Utf8();
            default:
                return {};
        }
    }

    // Bytes of the letter that starts with `b`.
    [[nodiscard]] std::size_t Length(char b) const { return lengths_[static_cast<unsigned char>(b)]; }
    [[nodiscard]] bool MultiByte() const { return multiByte_; }

private:
    std::array<std::uint8_t, 256> lengths_{};
    bool multiByte_ = false;
};

namespace detail {
inline CodePageLetters& SystemLettersStore() {
    static CodePageLetters letters;
    return letters;
}
}  // namespace detail

// The letters of the code page the program runs in (single-byte until the
// platform says otherwise).
inline const CodePageLetters& SystemLetters() { return detail::SystemLettersStore(); }
inline void UseSystemLetters(const CodePageLetters& letters) { detail::SystemLettersStore() = letters; }

// Bytes of the letter at `at` in `s`; a letter cut off by the end of the
// text counts only the bytes that are there.
inline std::size_t LetterAt(std::string_view s, std::size_t at) {
    const std::size_t length = SystemLetters().Length(s[at]);
    return length <= s.size() - at ? length : s.size() - at;
}

// True when no letter of `s` is cut off by its end (a lone lead byte).
inline bool WholeLetters(std::string_view s) {
    if (!SystemLetters().MultiByte()) return true;
    std::size_t i = 0;
    while (i < s.size()) i += SystemLetters().Length(s[i]);
    return i == s.size();
}

// Where the last letter of `s` starts; 0 for an empty text.
inline std::size_t LastLetterStart(std::string_view s) {
    if (s.empty()) return 0;
    if (!SystemLetters().MultiByte()) return s.size() - 1;
    std::size_t last = 0;
    for (std::size_t i = 0; i < s.size(); i += LetterAt(s, i)) last = i;
    return last;
}

// The number of bytes of the last letter of `s`.
inline std::size_t LastLetterLength(std::string_view s) { return s.size() - LastLetterStart(s); }

// Where the first letter `c` (a single-byte one) stands at or after `from`,
// counting from 0; npos when there is none.
inline std::size_t FindLetter(std::string_view s, char c, std::size_t from = 0) {
    if (!SystemLetters().MultiByte()) return s.find(c, from);
    for (std::size_t i = 0; i < s.size(); i += LetterAt(s, i))
        if (i >= from && s[i] == c) return i;
    return std::string_view::npos;
}

// Where the last of the single-byte letters in `set` stands; npos when
// there is none.
inline std::size_t FindLastLetterOf(std::string_view s, std::string_view set) {
    if (!SystemLetters().MultiByte()) return s.find_last_of(set);
    std::size_t found = std::string_view::npos;
    for (std::size_t i = 0; i < s.size(); i += LetterAt(s, i))
        if (LetterAt(s, i) == 1 && set.find(s[i]) != std::string_view::npos) found = i;
    return found;
}

// Where the letter starts that lies `count` letters before the end of `s`
// (so that cutting there leaves all but the last `count` letters); 0 when
// `s` has no more than `count` letters.
inline std::size_t StartOfLastLetters(std::string_view s, std::size_t count) {
    if (!SystemLetters().MultiByte()) return s.size() <= count ? 0 : s.size() - count;
    std::size_t letters = 0;
    for (std::size_t i = 0; i < s.size(); i += LetterAt(s, i)) ++letters;
    if (letters <= count) return 0;
    std::size_t i = 0;
    for (std::size_t n = 0; n < letters - count; ++n) i += LetterAt(s, i);
    return i;
}

// For each byte of `s`, and for its end: whether a letter starts there.
inline std::vector<bool> LetterStarts(std::string_view s) {
    std::vector<bool> starts(s.size() + 1, !SystemLetters().MultiByte());
    if (SystemLetters().MultiByte())
        for (std::size_t i = 0; i <= s.size(); i += i < s.size() ? LetterAt(s, i) : 1) starts[i] = true;
    return starts;
}

}  // namespace varnex
