// Which of many addon names occur anywhere in a favorites list text, letter
// case counting, found in one pass over the text however many names there
// are (a name-by-name search would read a 32,767-name list 32,767 times).
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "text/ClassicText.hpp"

namespace varnex {

class NameMatcher {
public:
    explicit NameMatcher(const std::vector<Text>& names);
    // For each name, in the order given: whether it occurs in `text`, as a
    // plain substring search from the first character would find it. In a
    // code page of several bytes a letter, an occurrence starts and ends
    // where letters of `text` do: the second byte of a letter and the bytes
    // after it spell no name.
    [[nodiscard]] std::vector<bool> Occurs(std::string_view text) const;

private:
    [[nodiscard]] std::int32_t Child(std::int32_t node, unsigned char c) const;
    void AddChild(std::int32_t node, unsigned char c, std::int32_t child);

    // The trie's edges below the root in one open-addressed table, keyed by
    // node and byte: sized once for every character of every name, so it
    // never grows and a lookup is a multiply and a short probe.
    std::vector<std::uint64_t> edgeKeys_;  // 0: free
    std::vector<std::int32_t> edgeChildren_;
    std::uint64_t edgeMask_ = 0;
    // The root's children by byte: most bytes of a list start no name, and
    // the scan passes them with one look here.
    std::array<std::int32_t, 256> rootChildren_;
    // Per node: its children as a chain (for the breadth-first pass), its
    // failure link, the nearest node on the failure chain where a name
    // ends (-1: none), and the first name ending at it (-1: none).
    std::vector<std::int32_t> firstChild_, nextSibling_;
    std::vector<unsigned char> label_;
    std::vector<std::int32_t> depth_;  // per node: the bytes of its text
    std::vector<std::int32_t> fail_, nextTerminal_, firstName_;
    std::vector<std::int32_t> nextName_;  // per name: the next name of the same text
    std::vector<std::int32_t> emptyNames_;
    std::size_t count_ = 0;
};

}  // namespace varnex
