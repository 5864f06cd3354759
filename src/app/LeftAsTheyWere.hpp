// The addons a walk (Activate all, Deactivate all, Load List) could not
// switch, each with its reason, told in one box when the walk has ended
// instead of one box per addon.
#pragma once

#include <cstddef>
#include <vector>

#include "text/ClassicText.hpp"

namespace varnex {

// 12345 as "12,345".
Text Grouped(long long n);

class LeftAsTheyWere {
public:
    // Names shown in the box; the others are counted.
    static constexpr std::size_t kNamesShown = 10;

    // `advice` (a question that may help, such as whether the game runs) is
    // said once at the end, however many addons it applies to.
    void Add(const Text& name, const Text& reason, const Text& advice = {});
    [[nodiscard]] bool Empty() const { return left_.empty(); }
    // How many were left, the first names with their reasons, "and N more",
    // then the advice.
    [[nodiscard]] Text Summary() const;
    void Clear();

private:
    struct Left {
        Text name, reason;
    };
    std::vector<Left> left_;
    std::vector<Text> advice_;
};

}  // namespace varnex
