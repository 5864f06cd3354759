// The companion-file tag reader against a slow reference: input is the
// whole companion text.
#include "info/AddonInfo.hpp"
#include "FuzzInput.hpp"

namespace {

using varnex::Text;
constexpr std::size_t kNone = Text::npos;

std::size_t Find(const Text& text, const Text& piece, std::size_t from) {
    for (std::size_t i = from; i + piece.size() <= text.size(); ++i) {
        bool here = true;
        for (std::size_t j = 0; j < piece.size() && here; ++j) here = text[i + j] == piece[j];
        if (here) return i;
    }
    return kNone;
}

// The value runs from right after the first occurrence of its tag up to the
// next "/x/" of any kind, or to the end; nothing is trimmed.
Text Value(const Text& text, const Text& tag, const Text& fallback) {
    const std::size_t at = Find(text, tag, 0);
    if (at == kNone) return fallback;
    const std::size_t start = at + tag.size();
    const std::size_t end = Find(text, "/x/", start);
    return text.substr(start, (end == kNone ? text.size() : end) - start);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Text text(reinterpret_cast<const char*>(data), size);
    const Text tags[6] = {"/x/units", "/x/info", "/x/comment", "/x/author", "/x/version", "/x/reqversion"};
    const Text fallbacks[6] = {"No entry", "No entry", "No entry", "No entry", "-", "-"};
    const auto values = varnex::ReadTags(text);
    for (int i = 0; i < 6; ++i) varnex::fuzz::Same(tags[i].c_str(), values[i], Value(text, tags[i], fallbacks[i]));
    return 0;
}
