#include "comments/CommentsText.hpp"

#include <algorithm>

namespace varnex {

Text CommentKeyOf(const Text& fileName) { return "//" + CutRight(fileName, 4); }

bool IsBlankKey(const Text& key) { return key.size() <= 2; }

FolderKeys::FolderKeys(const std::vector<Text>& fileNames) {
    sorted_.reserve(fileNames.size());
    for (const Text& name : fileNames) sorted_.push_back(CommentKeyOf(name));
    std::sort(sorted_.begin(), sorted_.end());
    sorted_.erase(std::unique(sorted_.begin(), sorted_.end()), sorted_.end());
}

std::vector<Text> FolderKeys::LongerThan(const Text& key) const {
    std::vector<Text> longer;
    for (auto it = std::upper_bound(sorted_.begin(), sorted_.end(), key);
         it != sorted_.end() && it->compare(0, key.size(), key) == 0; ++it)
        longer.push_back(*it);
    return longer;
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
