// Switching addons off and on in the real program: what a click shows, the
// renames on disk after each button, and a rename the file system refuses.
#include <gtest/gtest.h>

#include <algorithm>

#include "Driver.hpp"

namespace varnex::e2e {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

constexpr int kDeactivateAll = 1116;

bool Visible(HWND main, int controlId) { return IsWindowVisible(Control(main, controlId)) != FALSE; }

// The file names in the game's addon folder, as the disk holds them.
Lines OnDisk(const GameInstall& game) {
    Lines names;
    for (const auto& entry : fs::directory_iterator(game.Folder() + "\\ADDONS"))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Both addon lists and both size lines at once, so a failure shows them all.
struct Shown {
    Lines active, inactive, activeSize, folderSize;
    bool operator==(const Shown&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Shown& shown) {
    for (const Lines* lines : {&shown.active, &shown.inactive, &shown.activeSize, &shown.folderSize}) {
        out << "{";
        for (const auto& line : *lines) out << " \"" << line << "\"";
        out << " } ";
    }
    return out;
}

Shown Lists(HWND main) {
    return {Entries(Control(main, id::File1)), Entries(Control(main, id::File2)),
            Entries(Control(main, id::addonsize)), Entries(Control(main, id::foldersize))};
}

TEST(Switching, ClicksShowDetailsAndOneOrAllAddonsGoOffAndOnWhileOfficialOnesStay) {
    GameInstall game;
    game.Register(false);
    game.Write("ADDONS\\Data.pbo", std::string(2000, 'd'));  // 2 kb
    game.Write("ADDONS\\O.pbo", "");                          // 1 kb
    game.Write("ADDONS\\a.pbo", std::string(1024, 'a'));      // 2 kb, official inside "Data.pbo"
    game.Write("ADDONS\\M1A1_Abrams.pbo", std::string(3000, 'm'));
    game.Write("ADDONS\\T80_Tank.pbo", std::string(5000, 't'));
    game.Write("ADDONS\\Jungle_Map.pbx", std::string(2048, 'j'));
    game.Write("ADDONS\\Comments.txt", "//M1A1_AbramsHeavy tank\r\nfast//Jungle_MapBig island");

    Varnex varnex;
    const HWND main = varnex.WaitForWindow(kMainCaption);
    ASSERT_NE(main, nullptr);
    const HWND file1 = Control(main, id::File1), file2 = Control(main, id::File2), list1 = Control(main, id::List1),
               text1 = Control(main, id::Text1);
    // Which of Deactivate, Activate, the comment box and its green and red
    // dots can be seen.
    const auto buttons = [&] {
        return std::vector<bool>{Visible(main, id::Command2), Visible(main, id::Command3), Visible(main, id::Text1),
                                 Visible(main, id::Image2), Visible(main, id::Image3)};
    };
    const std::vector<bool> deactivateShown{true, false, true, true, false};
    const std::vector<bool> activateShown{false, true, true, true, false}, noneShown(5, false);
    ASSERT_EQ(Entries(file1), (Lines{"a.pbo", "Data.pbo", "M1A1_Abrams.pbo", "O.pbo", "T80_Tank.pbo"}));

    // The game's own addons are marked and offer neither move nor comment.
    ClickEntry(file1, 3);
    EXPECT_EQ(Entries(list1), (Lines{"O.pbo", "", "Official Addon/File", "Access denied", "Size:  1kb"}));
    EXPECT_EQ(buttons(), noneShown);
    ClickEntry(file1, 2);
    EXPECT_EQ(Entries(list1), (Lines{"M1A1_Abrams.pbo", "", "Size:  3kb"}));
    EXPECT_EQ(Text(text1), "Heavy tank\r\nfast");
    EXPECT_EQ(buttons(), deactivateShown);
    ClickEntry(file1, 0);
    EXPECT_EQ(Entries(list1), (Lines{"a.pbo", "", "Official Addon/File", "Access denied", "Size:  2kb"}));
    EXPECT_EQ(buttons(), noneShown);
    EXPECT_EQ(Text(text1), "Heavy tank\r\nfast");  // hidden, not emptied
    ClickEntry(file2, 0);
    EXPECT_EQ(Entries(list1), (Lines{"Jungle_Map.pbx", "", "Size:  3kb"}));
    EXPECT_EQ(Text(text1), "Big island");
    EXPECT_EQ(buttons(), activateShown);

    // One addon off: the refresh leaves the first entry of each list
    // selected, the details of the inactive one shown and, while it ran,
    // no comment looked up.
    ClickEntry(file1, 4);
    Click(Control(main, id::Command2));
    EXPECT_EQ(OnDisk(game), (Lines{"Comments.txt", "Data.pbo", "Jungle_Map.pbx", "M1A1_Abrams.pbo", "O.pbo",
                                   "T80_Tank.pbx", "a.pbo"}));
    EXPECT_EQ(Lists(main), (Shown{{"a.pbo", "Data.pbo", "M1A1_Abrams.pbo", "O.pbo"},
                                  {"Jungle_Map.pbx", "T80_Tank.pbx"},
                                  {" 8 kb"},
                                  {" 16 kb"}}));
    EXPECT_EQ(SendMessageW(file1, LB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(SendMessageW(file2, LB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(Entries(list1), (Lines{"Jungle_Map.pbx", "", "Size:  3kb"}));
    EXPECT_EQ(Text(text1), "");
    EXPECT_EQ(buttons(), activateShown);

    // The refresh forgot the inactive selection: Activate does nothing
    // until an addon is clicked.
    Click(Control(main, id::Command3));
    EXPECT_TRUE(fs::exists(game.Folder() + "\\ADDONS\\T80_Tank.pbx"));
    EXPECT_TRUE(fs::exists(game.Folder() + "\\ADDONS\\Jungle_Map.pbx"));
    ClickEntry(file2, 1);
    EXPECT_EQ(Entries(list1), (Lines{"T80_Tank.pbx", "", "Size:  5kb"}));
    Click(Control(main, id::Command3));
    EXPECT_EQ(OnDisk(game), (Lines{"Comments.txt", "Data.pbo", "Jungle_Map.pbx", "M1A1_Abrams.pbo", "O.pbo",
                                   "T80_Tank.pbo", "a.pbo"}));
    EXPECT_EQ(Lists(main), (Shown{{"a.pbo", "Data.pbo", "M1A1_Abrams.pbo", "O.pbo", "T80_Tank.pbo"},
                                  {"Jungle_Map.pbx"},
                                  {" 13 kb"},
                                  {" 16 kb"}}));

    // All off: the official ones, a.pbo among them, stay active.
    Click(Control(main, kDeactivateAll));
    EXPECT_EQ(OnDisk(game), (Lines{"Comments.txt", "Data.pbo", "Jungle_Map.pbx", "M1A1_Abrams.pbx", "O.pbo",
                                   "T80_Tank.pbx", "a.pbo"}));
    EXPECT_EQ(Lists(main), (Shown{{"a.pbo", "Data.pbo", "O.pbo"},
                                  {"Jungle_Map.pbx", "M1A1_Abrams.pbx", "T80_Tank.pbx"},
                                  {" 5 kb"},
                                  {" 16 kb"}}));

    // All on: no inactive addon is left, so the folder's size line stays
    // empty; the details are those of the first active addon.
    Click(Control(main, id::Command6));
    EXPECT_EQ(OnDisk(game), (Lines{"Comments.txt", "Data.pbo", "Jungle_Map.pbo", "M1A1_Abrams.pbo", "O.pbo",
                                   "T80_Tank.pbo", "a.pbo"}));
    EXPECT_EQ(Lists(main), (Shown{{"a.pbo", "Data.pbo", "Jungle_Map.pbo", "M1A1_Abrams.pbo", "O.pbo", "T80_Tank.pbo"},
                                  {},
                                  {" 16 kb"},
                                  {}}));
    EXPECT_EQ(Entries(list1), (Lines{"a.pbo", "", "Official Addon/File", "Access denied", "Size:  2kb"}));
    EXPECT_EQ(buttons(), noneShown);
    EXPECT_EQ(game.Read("ADDONS\\Comments.txt"), "//M1A1_AbramsHeavy tank\r\nfast//Jungle_MapBig island");
}

TEST(Switching, ARenameOntoAnExistingFileIsReportedOnceLeavesBothFilesAndTheProgramGoesOn) {
    GameInstall game;
    game.Register(false);
    const std::string active(3000, 'o'), inactive(1000, 'x');
    game.Write("ADDONS\\tank.pbo", active);
    game.Write("ADDONS\\tank.pbx", inactive);
    game.Write("ADDONS\\jeep.pbo", "jeep");
    const std::string folder = game.Folder() + "\\ADDONS";

    Varnex varnex;
    const HWND main = varnex.WaitForWindow(kMainCaption);
    ASSERT_NE(main, nullptr);
    // The handler waits in the box: the press is posted, the box answered,
    // and no second box may follow once the handler has gone on.
    const auto pressExpectingOneBox = [&](int button, const std::string& text) {
        PostMessageW(Control(main, button), BM_CLICK, 0, 0);
        const HWND box = varnex.WaitForWindow("VARNX", "#32770");
        if (!box) return false;
        EXPECT_EQ(BoxText(box), text);
        PressOk(box);
        if (!Eventually([&] { return varnex.FindWindowNow("VARNX", "#32770") == nullptr; })) return false;
        EXPECT_EQ(varnex.WaitForWindow("VARNX", "#32770", 300), nullptr) << "a second box after " << text;
        return true;
    };
    const auto clash = [&](const std::string& from, const std::string& to) {
        return "Varnex could not rename " + folder + "/" + from + " to " + to + ": a file of that name already exists.";
    };

    ClickEntry(Control(main, id::File1), 1);
    ASSERT_EQ(Entries(Control(main, id::List1)).front(), "tank.pbo");
    ASSERT_TRUE(pressExpectingOneBox(id::Command2, clash("tank.pbo", "tank.pbx")));
    EXPECT_EQ(game.Read("ADDONS\\tank.pbo"), active);
    EXPECT_EQ(game.Read("ADDONS\\tank.pbx"), inactive);
    EXPECT_EQ(Lists(main), (Shown{{"jeep.pbo", "tank.pbo"}, {"tank.pbx"}, {" 4 kb"}, {" 5 kb"}}));

    // The walks report the clash and still switch every other addon.
    ASSERT_TRUE(pressExpectingOneBox(kDeactivateAll, clash("tank.pbo", "tank.pbx")));
    EXPECT_EQ(OnDisk(game), (Lines{"Comments.txt", "jeep.pbx", "tank.pbo", "tank.pbx"}));
    EXPECT_EQ(Lists(main), (Shown{{"tank.pbo"}, {"jeep.pbx", "tank.pbx"}, {" 3 kb"}, {" 5 kb"}}));
    ASSERT_TRUE(pressExpectingOneBox(id::Command6, clash("tank.pbx", "tank.pbo")));
    EXPECT_EQ(OnDisk(game), (Lines{"Comments.txt", "jeep.pbo", "tank.pbo", "tank.pbx"}));
    EXPECT_EQ(game.Read("ADDONS\\tank.pbo"), active);
    EXPECT_EQ(game.Read("ADDONS\\tank.pbx"), inactive);
    EXPECT_EQ(game.Read("ADDONS\\jeep.pbo"), "jeep");

    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(varnex.WaitForExit(), 0u);
}

}  // namespace
}  // namespace varnex::e2e
