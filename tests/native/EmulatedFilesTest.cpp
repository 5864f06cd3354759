// The emulated files keep an index of a big folder, and the sizes in it,
// current through the kernel's change notices: a listing or a look-up from
// it must say what the disk says, whoever changed the folder and however.
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/Fixture.hpp"

namespace varnex::testing {
namespace {

using platform::emulated::FolderIndex;

// Every entry as "name/" for a folder or "name size", sorted.
Strings Described(std::vector<DirEntry> entries) {
    Strings described;
    for (const auto& e : entries) described.push_back(e.folder ? e.name + "/" : e.name + " " + std::to_string(e.size));
    std::sort(described.begin(), described.end());
    return described;
}

std::vector<DirEntry> OnDisk(const fs::path& folder) {
    std::vector<DirEntry> entries;
    for (const auto& entry : fs::directory_iterator(folder))
        entries.push_back({.name = entry.path().filename().string(),
                           .folder = entry.is_directory(),
                           .size = entry.is_directory() ? 0 : static_cast<std::int64_t>(entry.file_size())});
    return entries;
}

// The size of the entry named `name` without regard to letter case, or -1.
std::int64_t SizeOnDisk(const fs::path& folder, const Text& name) {
    for (const auto& e : OnDisk(folder))
        if (!e.folder && EqualIgnoringCase(e.name, name)) return e.size;
    return -1;
}

TEST(EmulatedFiles, ABigFolderAnswersAsTheDiskDoesAfterEveryChange) {
    Emulation emu;
    emu.InstallGame();
    for (std::size_t i = 0; i < FolderIndex::kFrom + 10; ++i) emu.Put({"a" + std::to_string(i) + ".pbo"});
    const fs::path host = emu.files->HostPath(kAddons);
    auto at = [&](const char* name) { return host / name; };
    struct Step {
        const char* what;
        std::function<void()> change;
        const char* asked;  // looked up by a spelling of the program's
    };
    const Step steps[] = {
        {"the first read", [] {}, "A1.PBO"},
        {"a file grows", [&] { std::ofstream(at("a1.pbo"), std::ios::app) << Text(100, 'x'); }, "a1.pbo"},
        {"a renamed file keeps its size", [&] { fs::rename(at("a1.pbo"), at("a1.pbx")); }, "a1.pbx"},
        {"its old name is free", [] {}, "a1.pbo"},
        {"shortened after the rename", [&] { fs::resize_file(at("a1.pbx"), 3); }, "A1.pbx"},
        {"a file appears", [&] { std::ofstream(at("new.pbo")) << "12345"; }, "NEW.PBO"},
        {"a file goes", [&] { fs::remove(at("a2.pbo")); }, "a2.pbo"},
        {"renamed over another", [&] { fs::rename(at("a3.pbo"), at("a1.pbx")); }, "a1.pbx"},
        {"a folder named as an addon", [&] { fs::create_directory(at("sub.pbo")); }, "sub.pbo"},
        {"moved out, and another moved in",
         [&] {
             fs::rename(at("a6.pbo"), host.parent_path() / "a6.pbo");
             std::ofstream(host.parent_path() / "in.pbo") << "1234567";
             fs::rename(host.parent_path() / "in.pbo", at("in.pbo"));
         },
         "in.pbo"},
        {"only the letter case changes", [&] { fs::rename(at("a5.pbo"), at("A5.PBO")); }, "a5.pbo"},
    };
    for (const auto& [what, change, asked] : steps) {
        change();
        for (int read = 0; read < 2; ++read) {
            std::vector<DirEntry> listed;
            ASSERT_TRUE(emu.files->ListFolder(kAddons, "*", listed).ok()) << what;
            EXPECT_EQ(Described(listed), Described(OnDisk(host))) << what << ", read " << read;
        }
        std::int64_t length = -1;
        const IoStatus looked = emu.files->FileLength(InAddons(asked), length);
        const std::int64_t expected = SizeOnDisk(host, asked);
        if (fs::is_directory(at(asked)))
            EXPECT_EQ(looked.code, errc::kAccessDenied) << what;
        else if (expected < 0)
            EXPECT_EQ(looked.code, errc::kFileNotFound) << what << ": " << asked;
        else
            EXPECT_EQ(looked.ok() ? length : -1, expected) << what << ": " << asked;
    }
}

}  // namespace
}  // namespace varnex::testing
