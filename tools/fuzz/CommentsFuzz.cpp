// The comments lookup and store against a slow reference: input is
// text|comment|selected name|other names of the folder...
#include <algorithm>

#include "comments/CommentsText.hpp"
#include "FuzzInput.hpp"

namespace {

using varnex::Text;
constexpr std::size_t kNone = Text::npos;

// True when `piece` stands in `text` from index `i` on.
bool At(const Text& text, std::size_t i, const Text& piece) {
    if (i + piece.size() > text.size()) return false;
    for (std::size_t j = 0; j < piece.size(); ++j)
        if (text[i + j] != piece[j]) return false;
    return true;
}

std::size_t SlashesFrom(const Text& text, std::size_t i) {
    for (; i + 1 < text.size(); ++i)
        if (text[i] == '/' && text[i + 1] == '/') return i;
    return kNone;
}

Text KeyOf(const Text& name) { return "//" + (name.size() > 4 ? name.substr(0, name.size() - 4) : Text()); }

// The first place where the key stands and no longer key of another addon
// of the folder that begins with it (Tanks for Tank) stands too.
std::size_t Entry(const Text& text, const Text& key, const std::vector<Text>& names) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!At(text, i, key)) continue;
        bool others = false;
        for (const Text& name : names) {
            const Text longer = KeyOf(name);
            if (longer.size() > key.size() && At(longer, 0, key) && At(text, i, longer)) others = true;
        }
        if (!others) return i;
    }
    return kNone;
}

Text Lookup(const Text& text, const Text& key, const std::vector<Text>& names) {
    const std::size_t i = Entry(text, key, names);
    if (i == kNone) return {};
    const std::size_t start = i + key.size();
    const std::size_t next = SlashesFrom(text, start);
    return next == kNone ? text.substr(start) : text.substr(start, next - start);
}

// The longest key of another addon of the folder that `key` followed by
// `comment` begins with: such a comment would read as that addon's.
Text Shadowing(const Text& key, const Text& comment, const std::vector<Text>& names) {
    Text longest;
    for (const Text& name : names) {
        const Text longer = KeyOf(name);
        if (longer.size() > key.size() && At(longer, 0, key) && At(key + comment, 0, longer) &&
            longer.size() > longest.size())
            longest = longer;
    }
    return longest;
}

Text Store(const Text& text, const Text& key, const Text& comment, const std::vector<Text>& names) {
    const std::size_t i = Entry(text, key, names);
    if (i == kNone) return text + key + comment;
    const std::size_t next = SlashesFrom(text, i + 1);
    return text.substr(0, i) + key + comment + (next == kNone ? Text() : text.substr(next));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace varnex;
    using fuzz::Same;
    auto parts = fuzz::Split(data, size);
    if (parts.size() < 3) return 0;
    const Text text = parts[0], comment = parts[1];
    // A few names make every case of keys that begin one another; more only
    // slow the reference down.
    std::vector<Text> names(parts.begin() + 2,
                            parts.begin() + static_cast<std::ptrdiff_t>(std::min<std::size_t>(parts.size(), 10)));
    // File names hold no '/'.
    for (Text& name : names)
        for (char& c : name)
            if (c == '/') c = '_';
    const FolderKeys keys(names);
    const Text key = CommentKeyOf(names[0]);
    Same("key", key, KeyOf(names[0]));
    // A key without a name is never looked up or stored.
    if (IsBlankKey(key) != (names[0].size() <= 4)) fuzz::Differ("blank key", key, "");
    if (IsBlankKey(key)) return 0;
    Same("lookup", LookupComment(text, key, keys.LongerThan(key)), Lookup(text, key, names));
    const Text shadowing = ReadsAsOtherKey(key, comment, keys.LongerThan(key));
    Same("shadowing key", shadowing, Shadowing(key, comment, names));
    if (!shadowing.empty()) return 0;  // refused: nothing is stored
    // A comment is stored only when it reads back as typed, also once a
    // further entry follows it: no "//" in it, no "/" at its end.
    const bool cut = comment.find("//") != Text::npos || (!comment.empty() && comment.back() == '/');
    if (ReadsBackAsTyped(key, comment, keys.LongerThan(key)) == cut) fuzz::Differ("reads back as typed", comment, key);
    if (cut) return 0;  // refused: nothing is stored
    Text stored = text;
    StoreComment(stored, key, comment, keys.LongerThan(key));
    Same("store", stored, Store(text, key, comment, names));
    Same("stored comment read back", LookupComment(stored, key, keys.LongerThan(key)), comment);
    for (const Text& name : names)
        if (const Text next = CommentKeyOf(name); next != key && !IsBlankKey(next))
            Same("stored comment read back behind a further entry",
                 LookupComment(stored + next + "x", key, keys.LongerThan(key)), comment);
    // The lookup finds the entry just stored, not another one.
    const std::size_t entry = Entry(text, key, names);
    if (FindEntry(stored, key, keys.LongerThan(key)) != (entry == kNone ? text.size() : entry) + 1)
        fuzz::Differ("entry found after the store", stored, key);
    for (const Text& name : names) {
        const Text other = CommentKeyOf(name);
        if (!IsBlankKey(other))
            Same("lookup after the store", LookupComment(stored, other, keys.LongerThan(other)),
                 Lookup(stored, other, names));
    }
    return 0;
}
