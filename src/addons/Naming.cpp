// The naming rule and the official test. An addon's state lies in the last
// character of its file name alone: "o" is active, "x" is inactive.
#include "app/AddonManager.hpp"

namespace varnex {

bool IsOfficial(const Text& officialAddons, const Text& name) { return InStr(1, officialAddons, name) != 0; }

namespace {
// The last letter, which the callers have made sure is one byte (see
// Switchable); were it two, the whole letter would go, not half of it.
Text WithLast(const Text& name, char last) {
    return name.empty() ? name : name.substr(0, LastLetterStart(name)) + last;
}
}  // namespace

bool Switchable(const Text& name) { return LastLetterLength(name) <= 1; }

Text ActiveName(const Text& name) { return WithLast(name, 'o'); }
Text InactiveName(const Text& name) { return WithLast(name, 'x'); }

std::int64_t SizeInKilobytes(std::int64_t length) { return length / 1024 + 1; }

}  // namespace varnex
