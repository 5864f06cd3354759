// Which of many addon names occur anywhere in a favorites list text, letter
// case counting, found in one pass over the text however many names there
// are (a name-by-name search would read a 32,767-name list 32,767 times).
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "text/ClassicText.hpp"

namespace varnex {

class NameMatcher {
public:
    explicit NameMatcher(const std::vector<Text>& names);
    // For each name, in the order given: whether it occurs in `text`, as a
    // plain substring search from the first character would find it.
    [[nodiscard]] std::vector<bool> Occurs(std::string_view text) const;

private:
    [[nodiscard]] std::int32_t Child(std::int32_t node, unsigned char c) const;

    std::unordered_map<std::uint64_t, std::int32_t> children_;
    // The root's children by byte: most bytes of a list start no name, and
    // the scan passes them with one look here instead of a hash lookup.
    std::array<std::int32_t, 256> rootChildren_;
    std::vector<std::int32_t> fail_;
    std::vector<std::int32_t> nextTerminal_;  // nearest terminal node on the fail chain, or -1
    std::vector<std::vector<std::int32_t>> namesAt_;  // names ending at each node
    std::vector<std::int32_t> emptyNames_;
    std::size_t count_ = 0;
};

}  // namespace varnex
