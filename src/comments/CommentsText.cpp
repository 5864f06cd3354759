#include "comments/CommentsText.hpp"

#include <algorithm>

namespace varnex {

Text CommentKeyOf(const Text& fileName) { return "//" + CutRight(fileName, 4); }

bool IsBlankKey(const Text& key) { return key.size() <= 2; }

std::vector<Text> LongerKeys(const Text& key, const std::vector<Text>& fileNames) {
    std::vector<Text> longer;
    for (const Text& name : fileNames) {
        Text other = CommentKeyOf(name);
        if (other.size() > key.size() && other.compare(0, key.size(), key) == 0 &&
            std::find(longer.begin(), longer.end(), other) == longer.end())
            longer.push_back(std::move(other));
    }
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
