// The comments text of an addon folder: entries of a key ("//" and the
// addon's file name less its last four characters) followed directly by the
// comment, which runs up to the next "//" or the end of the text.
#pragma once

#include <vector>

#include "text/ClassicText.hpp"

namespace varnex {

// "//" and the file name less its last four characters.
Text CommentKeyOf(const Text& fileName);

// A key that names no addon ("//" alone, or nothing): it would match the
// start of every entry, so it has no entry of its own.
bool IsBlankKey(const Text& key);

// The keys of a folder's addons, sorted, so that those beginning with
// another addon's key are found without reading them all.
class FolderKeys {
public:
    FolderKeys() = default;
    explicit FolderKeys(const std::vector<Text>& fileNames);
    // Keys that begin with `key` and are longer (Tanks for Tank): an entry
    // of theirs is not one of `key`'s.
    [[nodiscard]] std::vector<Text> LongerThan(const Text& key) const;
    // A file name of the folder whose key is `key`; the key's name when no
    // listed file has it.
    [[nodiscard]] Text NameOf(const Text& key) const;

private:
    std::vector<std::pair<Text, Text>> sorted_;  // key, file name
};

// Position (1-based) of the entry of `key`: its first occurrence that does
// not begin one of the `longer` keys. 0 when there is none.
std::size_t FindEntry(const Text& text, const Text& key, const std::vector<Text>& longer);

// The comment stored under `key`, empty when there is none.
Text LookupComment(const Text& text, const Text& key, const std::vector<Text>& longer);

// The comments text has no mark between a key and its comment, so `key`
// followed by `comment` may begin a longer key of the folder ("//ww2" and
// "tanks of 1944" read as "//ww2tanks..."): such an entry would be read
// back as the other addon's. Returns the longest such key, or "" when the
// entry reads back as `key`'s own.
Text ReadsAsOtherKey(const Text& key, const Text& comment, const std::vector<Text>& longer);

// The lookup ends a comment at the first "//", so one that holds "//", or
// ends in "/" (which the next entry's "//" follows sooner or later), would
// be read back cut short. True when `comment`, stored under `key` and
// followed by any further entry, reads back exactly as typed; a comment that
// begins a longer key does not either (ReadsAsOtherKey says whose it reads as).
bool ReadsBackAsTyped(const Text& key, const Text& comment, const std::vector<Text>& longer);
// What `comment` stored under `key` would read back as.
Text ReadBack(const Text& key, const Text& comment, const std::vector<Text>& longer);

// Puts `comment` under `key`: an existing entry keeps its place and gets the
// new comment, a new one is appended; the rest of the text is unchanged.
// A comment holding "//" is stored as it stands: from then on the part
// behind that "//" reads as an entry of its own.
void StoreComment(Text& text, const Text& key, const Text& comment, const std::vector<Text>& longer);

}  // namespace varnex
