#include "favorites/NameMatcher.hpp"

namespace varnex {

namespace {
std::uint64_t Edge(std::int32_t node, unsigned char c) { return (static_cast<std::uint64_t>(node) << 8) | c; }
std::uint64_t Slot(std::uint64_t key) { return (key * 0x9E3779B97F4A7C15ull) >> 20; }
}  // namespace

std::int32_t NameMatcher::Child(std::int32_t node, unsigned char c) const {
    if (node == 0) return rootChildren_[c];
    const std::uint64_t key = Edge(node, c);
    for (std::uint64_t at = Slot(key) & edgeMask_;; at = (at + 1) & edgeMask_) {
        if (edgeKeys_[at] == key) return edgeChildren_[at];
        if (edgeKeys_[at] == 0) return -1;
    }
}

void NameMatcher::AddChild(std::int32_t node, unsigned char c, std::int32_t child) {
    if (node == 0) {
        rootChildren_[c] = child;
    } else {
        const std::uint64_t key = Edge(node, c);
        std::uint64_t at = Slot(key) & edgeMask_;
        while (edgeKeys_[at] != 0) at = (at + 1) & edgeMask_;
        edgeKeys_[at] = key;
        edgeChildren_[at] = child;
    }
    const auto parent = static_cast<std::size_t>(node);
    nextSibling_.push_back(firstChild_[parent]);
    firstChild_[parent] = child;
    label_.push_back(c);
    depth_.push_back(depth_[parent] + 1);
    firstChild_.push_back(-1);
    firstName_.push_back(-1);
}

NameMatcher::NameMatcher(const std::vector<Text>& names) : count_(names.size()) {
    rootChildren_.fill(-1);
    std::size_t characters = 0;
    for (const Text& name : names) characters += name.size();
    std::size_t slots = 1024;
    while (slots < 2 * characters) slots *= 2;  // at most half full
    edgeKeys_.assign(slots, 0);
    edgeChildren_.assign(slots, -1);
    edgeMask_ = slots - 1;
    for (auto* nodes : {&firstChild_, &nextSibling_, &firstName_}) nodes->reserve(characters + 1);
    label_.reserve(characters + 1);
    depth_.reserve(characters + 1);
    firstChild_.push_back(-1), nextSibling_.push_back(-1), label_.push_back(0), firstName_.push_back(-1);
    depth_.push_back(0);
    nextName_.assign(names.size(), -1);

    // A trie of the names, then the failure links breadth first: each node's
    // link is the longest proper suffix of its text that is also a prefix of
    // some name.
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (names[i].empty()) {
            emptyNames_.push_back(static_cast<std::int32_t>(i));
            continue;
        }
        std::int32_t node = 0;
        for (const char ch : names[i]) {
            const auto c = static_cast<unsigned char>(ch);
            std::int32_t next = Child(node, c);
            if (next < 0) {
                next = static_cast<std::int32_t>(firstChild_.size());
                AddChild(node, c, next);
            }
            node = next;
        }
        nextName_[i] = firstName_[static_cast<std::size_t>(node)];
        firstName_[static_cast<std::size_t>(node)] = static_cast<std::int32_t>(i);
    }
    fail_.assign(firstChild_.size(), 0);
    nextTerminal_.assign(firstChild_.size(), -1);
    std::vector<std::int32_t> queue{0};
    queue.reserve(firstChild_.size());
    for (std::size_t head = 0; head < queue.size(); ++head) {
        const std::int32_t node = queue[head];
        for (std::int32_t child = firstChild_[static_cast<std::size_t>(node)]; child >= 0;
             child = nextSibling_[static_cast<std::size_t>(child)]) {
            const unsigned char c = label_[static_cast<std::size_t>(child)];
            std::int32_t link = 0;
            if (node != 0) {
                std::int32_t f = fail_[static_cast<std::size_t>(node)];
                while (f != 0 && Child(f, c) < 0) f = fail_[static_cast<std::size_t>(f)];
                link = Child(f, c);
                if (link < 0) link = 0;
            }
            const auto at = static_cast<std::size_t>(child);
            const auto linked = static_cast<std::size_t>(link);
            fail_[at] = link;
            nextTerminal_[at] = firstName_[linked] < 0 ? nextTerminal_[linked] : link;
            queue.push_back(child);
        }
    }
}

std::vector<bool> NameMatcher::Occurs(std::string_view text) const {
    std::vector<bool> found(count_, false);
    if (text.empty()) return found;
    for (const std::int32_t i : emptyNames_) found[static_cast<std::size_t>(i)] = true;
    // A node whose matches were taken once has had its whole fail chain
    // taken too, so each node is reported at most once.
    std::vector<bool> reported(firstChild_.size(), false);
    // Where letters start; the fail chain is then walked whole, since a
    // name taken at one place says nothing of the shorter ones below it.
    const bool multiByte = SystemLetters().MultiByte();
    const std::vector<bool> starts = multiByte ? LetterStarts(text) : std::vector<bool>();
    std::int32_t node = 0;
    for (std::size_t pos = 0; pos < text.size(); ++pos) {
        const char ch = text[pos];
        const auto c = static_cast<unsigned char>(ch);
        if (node == 0 && rootChildren_[c] < 0) continue;  // nothing starts here
        std::int32_t next = Child(node, c);
        while (next < 0 && node != 0) {
            node = fail_[static_cast<std::size_t>(node)];
            next = Child(node, c);
        }
        node = next < 0 ? 0 : next;
        const auto at = static_cast<std::size_t>(node);
        if (multiByte) {
            if (!starts[pos + 1]) continue;
            for (std::int32_t t = firstName_[at] < 0 ? nextTerminal_[at] : node; t > 0;
                 t = nextTerminal_[static_cast<std::size_t>(t)]) {
                const auto u = static_cast<std::size_t>(t);
                if (reported[u] || !starts[pos + 1 - static_cast<std::size_t>(depth_[u])]) continue;
                reported[u] = true;
                for (auto i = firstName_[u]; i >= 0; i = nextName_[static_cast<std::size_t>(i)])
                    found[static_cast<std::size_t>(i)] = true;
            }
            continue;
        }
        for (std::int32_t t = firstName_[at] < 0 ? nextTerminal_[at] : node;
             t > 0 && !reported[static_cast<std::size_t>(t)]; t = nextTerminal_[static_cast<std::size_t>(t)]) {
            reported[static_cast<std::size_t>(t)] = true;
            for (auto i = firstName_[static_cast<std::size_t>(t)]; i >= 0; i = nextName_[static_cast<std::size_t>(i)])
                found[static_cast<std::size_t>(i)] = true;
        }
    }
    return found;
}

}  // namespace varnex
