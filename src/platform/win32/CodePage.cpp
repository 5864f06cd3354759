#include "platform/win32/CodePage.hpp"

// After the program's headers: <windows.h> turns names such as MessageBox
// into macros, which must not rename the program's own declarations.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace varnex::platform::win32 {

namespace {

// The code page's own "?" is asked for by name: its default character
// could be another. UTF-8 (chosen on newer Windows, or by a manifest) takes
// neither the flag nor a default character and holds every letter, but not
// half of one: a lone surrogate, which a file name may hold, is refused
// rather than written as the replacement letter that names no file.
Text Convert(unsigned codePage, std::wstring_view wide, bool& usedDefault) {
    usedDefault = false;
    if (wide.empty()) return {};
    const bool single = codePage != CP_UTF8 && codePage != CP_UTF7;
    const DWORD flags = single ? WC_NO_BEST_FIT_CHARS : codePage == CP_UTF8 ? WC_ERR_INVALID_CHARS : 0;
    BOOL used = FALSE;
    const int length = static_cast<int>(wide.size());
    // A name, as most texts are, fits a buffer of four bytes a unit, the
    // most any code page but UTF-7 takes: converted once, not once to
    // learn the size and again to fill it.
    constexpr std::size_t kShort = 64;
    if (wide.size() <= kShort && codePage != CP_UTF7) {
        char buffer[kShort * 4];
        const int size = ::WideCharToMultiByte(codePage, flags, wide.data(), length, buffer, sizeof buffer,
                                               single ? "?" : nullptr, single ? &used : nullptr);
        usedDefault = used != FALSE || size <= 0;
        return Text(buffer, static_cast<std::size_t>(size > 0 ? size : 0));
    }
    const int size = ::WideCharToMultiByte(codePage, flags, wide.data(), length, nullptr, 0, single ? "?" : nullptr,
                                           single ? &used : nullptr);
    Text text(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        (void)::WideCharToMultiByte(codePage, flags, wide.data(), length, text.data(), size, single ? "?" : nullptr,
                                    single ? &used : nullptr);
    usedDefault = used != FALSE || (size <= 0 && !wide.empty());
    return text;
}

}  // namespace

Text Narrow(std::wstring_view wide, Text* unheld) { return NarrowIn(::GetACP(), wide, unheld); }

Text NarrowIn(unsigned codePage, std::wstring_view wide, Text* unheld) {
    bool usedDefault = false;
    Text text = Convert(codePage, wide, usedDefault);
    if (unheld) unheld->clear();
    if (!usedDefault) return text;
    // A conversion refused as a whole (UTF-8 given half a letter) is done
    // again letter by letter, each refused one as "?".
    const bool refused = text.empty();
    if (!unheld && !refused) return text;
    // Letter by letter, a surrogate pair (an emoji) as one.
    Text rebuilt;
    std::vector<unsigned> named;
    for (std::size_t i = 0; i < wide.size();) {
        const std::size_t n =
            IS_HIGH_SURROGATE(wide[i]) && i + 1 < wide.size() && IS_LOW_SURROGATE(wide[i + 1]) ? 2 : 1;
        bool missing = false;
        const Text letter = Convert(codePage, wide.substr(i, n), missing);
        rebuilt += missing && letter.empty() ? Text("?") : letter;
        const unsigned code = n == 2 ? 0x10000u + ((wide[i] - 0xD800u) << 10) + (wide[i + 1] - 0xDC00u) : wide[i];
        if (unheld && missing && std::find(named.begin(), named.end(), code) == named.end()) {
            named.push_back(code);
            char name[16];
            std::snprintf(name, sizeof name, "%sU+%04X", unheld->empty() ? "" : " ", code);
            unheld->append(name);
        }
        i += n;
    }
    return refused ? rebuilt : text;
}

std::wstring Widen(std::string_view text) {
    if (text.empty()) return {};
    const int length = static_cast<int>(text.size());
    const int size = ::MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size > 0 ? size : 0), L'\0');
    if (size > 0) (void)::MultiByteToWideChar(CP_ACP, 0, text.data(), length, wide.data(), size);
    return wide;
}

}  // namespace varnex::platform::win32
