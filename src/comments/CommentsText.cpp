#include "comments/CommentsText.hpp"

#include <algorithm>

namespace varnex {

Text CommentKeyOf(const Text& fileName) { return "//" + CutRight(fileName, 4); }

bool IsBlankKey(const Text& key) { return key.size() <= 2; }

namespace {

bool KeyLess(const std::pair<Text, Text>& entry, const Text& key) { return entry.first < key; }

}  // namespace

FolderKeys::FolderKeys(const std::vector<Text>& fileNames) {
    sorted_.reserve(fileNames.size());
    for (const Text& name : fileNames) sorted_.emplace_back(CommentKeyOf(name), name);
    std::sort(sorted_.begin(), sorted_.end());
    sorted_.erase(
        std::unique(sorted_.begin(), sorted_.end(), [](const auto& a, const auto& b) { return a.first == b.first; }),
        sorted_.end());
}

std::vector<Text> FolderKeys::LongerThan(const Text& key) const {
    std::vector<Text> longer;
    auto it = std::lower_bound(sorted_.begin(), sorted_.end(), key, KeyLess);
    if (it != sorted_.end() && it->first == key) ++it;
    for (; it != sorted_.end() && it->first.compare(0, key.size(), key) == 0; ++it) longer.push_back(it->first);
    return longer;
}

Text FolderKeys::NameOf(const Text& key) const {
    const auto it = std::lower_bound(sorted_.begin(), sorted_.end(), key, KeyLess);
    return it != sorted_.end() && it->first == key ? it->second : Mid(key, 3);
}

Text ReadsAsOtherKey(const Text& key, const Text& comment, const std::vector<Text>& longer) {
    // A longer key cannot reach past the comment into the next entry: that
    // begins with "//", and no name holds a "/".
    Text found;
    for (const Text& other : longer)
        if (other.size() > found.size() &&
            std::string_view(comment).starts_with(std::string_view(other).substr(key.size())))
            found = other;
    return found;
}

std::size_t FindEntry(const Text& text, const Text& key, const std::vector<Text>& longer) {
    for (std::size_t p = InStr(1, text, key); p != 0; p = InStr(p + 1, text, key)) {
        const bool others = std::any_of(longer.begin(), longer.end(),
                                        [&](const Text& k) { return text.compare(p - 1, k.size(), k) == 0; });
        if (!others) return p;
    }
    return 0;
}

Text LookupComment(const Text& text, const Text& key, const std::vector<Text>& longer) {
    const std::size_t p = FindEntry(text, key, longer);
    if (p == 0) return {};
    const std::size_t start = p + key.size();
    const std::size_t next = InStr(start, text, "//");
    return next == 0 ? Mid(text, start) : Mid(text, start, next - start);
}

Text ReadBack(const Text& key, const Text& comment, const std::vector<Text>& longer) {
    // Whatever stands before the entry cannot reach into it: the key begins
    // with "//" and holds no other "/".
    return LookupComment(key + comment + "//", key, longer);
}

bool ReadsBackAsTyped(const Text& key, const Text& comment, const std::vector<Text>& longer) {
    return ReadBack(key, comment, longer) == comment;
}

void StoreComment(Text& text, const Text& key, const Text& comment, const std::vector<Text>& longer) {
    const std::size_t p = FindEntry(text, key, longer);
    Text before = text;
    Text after;
    if (p != 0) {
        before = Left(text, p - 1);
        const std::size_t next = InStr(p + 1, text, "//");
        if (next != 0) after = Mid(text, next);
    }
    text = before + key + comment + after;
}

}  // namespace varnex
