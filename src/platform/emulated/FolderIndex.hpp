// The names of big folders of the emulated platform, indexed by upper-cased
// name: a folder of thousands of addons would otherwise be scanned once per
// rename to resolve a name without regard to letter case. The kernel's
// change notices keep the index current whoever changes the folder, the
// program or the test.
#pragma once

#include <filesystem>
#include <map>
#include <unordered_map>

#include "text/ClassicText.hpp"

namespace varnex::platform::emulated {

class FolderIndex {
public:
    // Folders of at least this many entries are worth an index.
    static constexpr std::size_t kFrom = 512;

    FolderIndex() = default;
    ~FolderIndex();
    FolderIndex(const FolderIndex&) = delete;
    FolderIndex& operator=(const FolderIndex&) = delete;

    // True when `folder` is indexed; `found` is then the name that equals
    // `upperName` without regard to letter case, as the disk spells it, or
    // empty when there is none.
    bool Find(const std::filesystem::path& folder, const Text& upperName, Text& found);
    // Watches `folder`, then reads it into the index.
    void Add(const std::filesystem::path& folder);

private:
    using Names = std::unordered_multimap<Text, Text>;  // upper-cased -> as the disk spells it
    // Applies the change notices that came in since the last look.
    void CatchUp();
    void Drop();

    int notify_ = -1;
    std::map<std::filesystem::path, Names> indexes_;
    std::map<int, std::filesystem::path> watched_;
};

}  // namespace varnex::platform::emulated
