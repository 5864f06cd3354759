// The entries of big folders of the emulated platform, indexed by
// upper-cased name: a folder of thousands of addons would otherwise be
// scanned once per rename to resolve a name without regard to letter case,
// and have every file looked at again on each of the re-reads around a
// walk. The kernel's change notices keep the index current whoever changes
// the folder, the program or the test.
#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <unordered_map>
#include <vector>

#include "platform/Platform.hpp"

namespace varnex::platform::emulated {

class FolderIndex {
public:
    // Folders of at least this many entries are worth an index.
    static constexpr std::size_t kFrom = 512;

    // One entry of a folder: its name, and whether its kind and size were
    // looked at since it last changed.
    struct Slot {
        DirEntry entry;
        bool known = false;
    };

    FolderIndex() = default;
    ~FolderIndex();
    FolderIndex(const FolderIndex&) = delete;
    FolderIndex& operator=(const FolderIndex&) = delete;

    // True when `folder` is indexed; `found` is then `name` as the disk
    // spells it: the same spelling where the folder has it, else one that
    // differs only in letter case, or empty when there is none.
    bool Find(const std::filesystem::path& folder, const Text& name, Text& found);
    // True when `folder` is indexed: `take` then gets each of its entries.
    // An entry not looked at since it last changed is looked at through
    // `look` (false: it is gone), and kept until it changes again, as
    // Windows keeps every file's size in the folder's own index.
    bool List(const std::filesystem::path& folder, const std::function<bool(DirEntry& entry)>& look,
              const std::function<void(const DirEntry&)>& take);
    // Watches `folder`, then reads its names into the index.
    void Add(const std::filesystem::path& folder);
    // Watches `folder` before it is read, so that no change can fall between
    // the two: the watch, or -1 when there is none to be had.
    int Watch(const std::filesystem::path& folder);
    // Indexes what the read after `watch` found.
    void Keep(int watch, std::vector<Slot> slots);
    // Gives up `watch`: the folder is small enough to be read whole.
    void Forget(int watch);

private:
    using Slots = std::unordered_multimap<Text, Slot>;  // by upper-cased name
    // What was known of the entry last moved out of a folder, for its
    // arrival under the new name: a rename changes neither kind nor size.
    struct Moved {
        std::uint32_t cookie;
        DirEntry entry;
    };
    // Applies the change notices that came in since the last look.
    void CatchUp();
    void Apply(Slots& slots, std::uint32_t mask, std::uint32_t cookie, const Text& name);
    void Drop();

    int notify_ = -1;
    std::map<std::filesystem::path, Slots> indexes_;
    std::map<int, std::filesystem::path> watched_;
    std::optional<Moved> moved_;
};

}  // namespace varnex::platform::emulated
