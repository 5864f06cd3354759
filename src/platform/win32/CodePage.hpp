// Texts between the system's wide (UTF-16) form and its single-byte code
// page, the way the program's rule for held texts needs them: a letter the
// code page has no place for becomes "?", never a look-alike ("best fit")
// that may be the name of another file.
#pragma once

#include <string>
#include <string_view>

#include "text/ClassicText.hpp"

namespace varnex::platform::win32 {

// `wide` in the code page. When `unheld` is given, it receives the letters
// that became "?", each as "U+0141", separated by blanks, each named once.
[[nodiscard]] Text Narrow(std::wstring_view wide, Text* unheld = nullptr);
// The same in the code page `codePage`.
[[nodiscard]] Text NarrowIn(unsigned codePage, std::wstring_view wide, Text* unheld = nullptr);

// `text` in the wide form, as the single-byte functions read it.
[[nodiscard]] std::wstring Widen(std::string_view text);

}  // namespace varnex::platform::win32
