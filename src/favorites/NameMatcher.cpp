#include "favorites/NameMatcher.hpp"

#include <deque>

namespace varnex {

namespace {
std::uint64_t Edge(std::int32_t node, unsigned char c) { return (static_cast<std::uint64_t>(node) << 8) | c; }
}  // namespace

std::int32_t NameMatcher::Child(std::int32_t node, unsigned char c) const {
    if (node == 0) return rootChildren_[c];
    const auto it = children_.find(Edge(node, c));
    return it == children_.end() ? -1 : it->second;
}

NameMatcher::NameMatcher(const std::vector<Text>& names) : count_(names.size()) {
    rootChildren_.fill(-1);
    // A trie of the names, then the failure links breadth first: each node's
    // link is the longest proper suffix of its text that is also a prefix of
    // some name.
    namesAt_.emplace_back();
    std::vector<std::vector<unsigned char>> edges(1);  // the labels leaving each node
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
                next = static_cast<std::int32_t>(namesAt_.size());
                if (node == 0) rootChildren_[c] = next;
                else children_.emplace(Edge(node, c), next);
                edges[static_cast<std::size_t>(node)].push_back(c);
                namesAt_.emplace_back();
                edges.emplace_back();
            }
            node = next;
        }
        namesAt_[static_cast<std::size_t>(node)].push_back(static_cast<std::int32_t>(i));
    }
    fail_.assign(namesAt_.size(), 0);
    nextTerminal_.assign(namesAt_.size(), -1);
    std::deque<std::int32_t> queue{0};
    while (!queue.empty()) {
        const std::int32_t node = queue.front();
        queue.pop_front();
        for (const unsigned char c : edges[static_cast<std::size_t>(node)]) {
            const std::int32_t child = Child(node, c);
            std::int32_t link = 0;
            if (node != 0) {
                std::int32_t f = fail_[static_cast<std::size_t>(node)];
                while (f != 0 && Child(f, c) < 0) f = fail_[static_cast<std::size_t>(f)];
                link = Child(f, c);
                if (link < 0) link = 0;
            }
            fail_[static_cast<std::size_t>(child)] = link;
            nextTerminal_[static_cast<std::size_t>(child)] =
                namesAt_[static_cast<std::size_t>(link)].empty() ? nextTerminal_[static_cast<std::size_t>(link)] : link;
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
    std::vector<bool> reported(namesAt_.size(), false);
    std::int32_t node = 0;
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (node == 0 && rootChildren_[c] < 0) continue;  // nothing starts here
        std::int32_t next = Child(node, c);
        while (next < 0 && node != 0) {
            node = fail_[static_cast<std::size_t>(node)];
            next = Child(node, c);
        }
        node = next < 0 ? 0 : next;
        for (std::int32_t t = namesAt_[static_cast<std::size_t>(node)].empty() ? nextTerminal_[static_cast<std::size_t>(node)] : node;
             t > 0 && !reported[static_cast<std::size_t>(t)]; t = nextTerminal_[static_cast<std::size_t>(t)]) {
            reported[static_cast<std::size_t>(t)] = true;
            for (const std::int32_t i : namesAt_[static_cast<std::size_t>(t)]) found[static_cast<std::size_t>(i)] = true;
        }
    }
    return found;
}

}  // namespace varnex
