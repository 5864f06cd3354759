// The controls' own rules: the folder list's lines from a path as typed, and
// what the file lists keep across a re-read of their folder.
#include "support/Fixture.hpp"

namespace varnex::testing {
namespace {

// Each line as "depth text path", the current one marked with "*".
Text Shown(const std::vector<FolderLine>& lines) {
    Text shown;
    for (const auto& line : lines)
        shown += std::to_string(line.depth) + (line.current ? "*" : "") + " " + line.text + " " + line.path + "; ";
    return shown;
}

TEST(Controls, TheFolderListSpellsThePathAsTheDiskDoes) {
    Emulation emu;
    for (const char* folder : {"C:\\Games\\OFP\\Res", "C:\\Games\\OFP\\beta", "C:\\Games\\OFP\\Alpha"})
        fs::create_directories(emu.files->HostPath(folder));
    emu.Write("C:\\Games\\OFP\\ADDONS.pbo", "x");  // a file is no line
    struct Row {
        const char* what;
        const char* path;
        const char* lines;
    };
    const Row rows[] = {
        {"names of another case, subfolders sorted ignoring case", "C:\\GAMES\\ofp",
         "0 C:\\ C:\\; 1 Games C:\\Games; 2* OFP C:\\Games\\OFP; 3 Alpha C:\\Games\\OFP\\Alpha; "
         "3 beta C:\\Games\\OFP\\beta; 3 Res C:\\Games\\OFP\\Res; "},
        {"either separator, doubled or last", "C:/Games//OFP\\Res\\",
         "0 C:\\ C:\\; 1 Games C:\\Games; 2 OFP C:\\Games\\OFP; 3* Res C:\\Games\\OFP\\Res; "},
        {"a missing folder: the nearest above it", "C:\\Games\\Gone\\OFP",
         "0 C:\\ C:\\; 1* Games C:\\Games; 2 OFP C:\\Games\\OFP; "},
        {"no drive: from the first drive's root", "Games", "0 C:\\ C:\\; 1* Games C:\\Games; 2 OFP C:\\Games\\OFP; "},
    };
    for (const auto& [what, path, lines] : rows) {
        DirListBox list(*emu.files);
        list.SetPath(path);
        EXPECT_EQ(Shown(list.ReadLines()), lines) << what;
    }
}

TEST(Controls, AReReadKeepsTheCurrentAddonAndRaisesNoClick) {
    Emulation emu;
    emu.InstallGame();
    emu.Put({"b.pbo", "C.pbo", "a.pbx"});
    FolderReads reads(*emu.files);
    FileListBox active(reads, "*.pbo"), inactive(reads, "*.pbx");
    int clicks = 0;
    active.Click = [&] { ++clicks; };
    for (FileListBox* list : {&active, &inactive}) list->SetPath(kAddons);
    for (FileListBox* list : {&active, &inactive}) list->ReadPending();
    active.SetListIndex(5);  // below the last entry
    active.SetListIndex(1);
    struct Step {
        const char* what;
        std::function<void()> change;
        const char* current;
        int index;
    };
    const Step steps[] = {
        {"an addon sorted before it", [&] { emu.Put({"A.pbo"}); }, "C.pbo", 2},
        {"a move of the current one from code", [&] { active.Highlight(0); }, "A.pbo", 0},
        {"the current one renamed away",
         [&] { fs::rename(emu.files->HostPath(InAddons("A.pbo")), emu.files->HostPath(InAddons("A.pbx"))); }, "", -1},
    };
    for (const auto& [what, change, current, index] : steps) {
        change();
        for (FileListBox* list : {&active, &inactive}) list->Refresh();
        const int listed = emu.files->Calls(platform::emulated::FileOp::ListFolder);
        for (FileListBox* list : {&active, &inactive}) list->ReadPending();
        EXPECT_EQ(std::pair(active.FileName(), active.ListIndex()), std::pair(Text(current), index)) << what;
        EXPECT_EQ(emu.files->Calls(platform::emulated::FileOp::ListFolder), listed + 1)
            << what << ": both lists from one read";
    }
    EXPECT_EQ(clicks, 1) << "only the click inside the list raised its handling";
    emu.Write(Text(kResAddons) + "\\b.pbo", "x");
    active.SetListIndex(0);
    active.SetPath(kResAddons);
    EXPECT_EQ(active.ListIndex(), -1) << "another folder has no current addon, even of the same name";
}

}  // namespace
}  // namespace varnex::testing
