// Which inactive addons a favorites list names, against a slow reference:
// input is list text|name|name...
#include "favorites/NameMatcher.hpp"
#include "FuzzInput.hpp"

namespace {

// A name is listed when it occurs anywhere in the text, letter case
// counting; an empty text lists nothing, and an empty name occurs in any
// other text.
bool Listed(const std::string& text, const std::string& name) {
    if (text.empty()) return false;
    for (std::size_t i = 0; i + name.size() <= text.size(); ++i)
        if (text.compare(i, name.size(), name) == 0) return true;
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto parts = varnex::fuzz::Split(data, size);
    const std::vector<std::string> names(parts.begin() + 1, parts.end());
    const std::vector<bool> found = varnex::NameMatcher(names).Occurs(parts[0]);
    if (found.size() != names.size())
        varnex::fuzz::Differ("answers", std::to_string(found.size()), std::to_string(names.size()));
    for (std::size_t i = 0; i < names.size(); ++i)
        if (found[i] != Listed(parts[0], names[i]))
            varnex::fuzz::Differ(("name " + names[i]).c_str(), found[i] ? "listed" : "not listed",
                                 found[i] ? "not listed" : "listed");
    return 0;
}
