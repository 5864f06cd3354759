// The "others" folder walked in the folder list, comments typed and saved,
// and what Exit leaves for the next start: the comments file and the
// remembered folder.
#include <gtest/gtest.h>

#include <algorithm>

#include "Driver.hpp"

namespace varnex::e2e {
namespace {

using Lines = std::vector<std::string>;

constexpr int kSaveComment = 1125, kExit = 1130;

bool Visible(HWND main, int controlId) { return IsWindowVisible(Control(main, controlId)) != FALSE; }

// Double-clicks the folder list's line that reads `name`.
void WalkTo(HWND dir1, const std::string& name) {
    const Lines lines = Entries(dir1);
    const auto line = std::find(lines.begin(), lines.end(), name);
    ASSERT_NE(line, lines.end()) << name << " is not in the folder list";
    DoubleClickEntry(dir1, static_cast<int>(line - lines.begin()));
}

// Types `comment` over the box's text and saves it; the box's text after.
std::string SaveComment(HWND main, const std::string& comment) {
    Type(Control(main, id::Text1), comment);
    EXPECT_TRUE(Visible(main, id::Image3));
    Click(Control(main, kSaveComment));
    EXPECT_TRUE(Visible(main, id::Image2));
    EXPECT_FALSE(Visible(main, id::Image3));
    return Text(Control(main, id::Text1));
}

void PressExit(const Varnex& varnex, HWND main) {
    PostMessageW(Control(main, kExit), BM_CLICK, 0, 0);
    EXPECT_EQ(varnex.WaitForExit(), 0u);
}

TEST(FolderAndComments, AWalkThroughOtherFoldersBackToTheAddonsAndSavedCommentsOutliveExit) {
    GameInstall game;
    game.Register(false);
    game.Write("ADDONS\\tank.pbo", "t");
    game.Write("ADDONS\\Island.pbx", "i");
    // An entry of an addon not in the folder, with bytes beyond ASCII: it
    // goes back to the file as it came.
    game.Write("ADDONS\\Comments.txt", "//IslandNice map//Zulu\xE9t\xE9\r\n");
    game.Write("Mods\\jeep.pbo", std::string(3000, 'j'));
    game.Write("Mods\\boat.pbx", std::string(1024, 'b'));
    const std::string addons = game.Folder() + "\\ADDONS";
    {
        Varnex varnex;
        const HWND main = varnex.WaitForWindow(kMainCaption);
        ASSERT_NE(main, nullptr);
        const HWND dir1 = Control(main, id::Dir1), file1 = Control(main, id::File1), file2 = Control(main, id::File2),
                   text1 = Control(main, id::Text1);

        // "others" starts in the game folder: no addon there.
        Click(Control(main, id::Option3));
        EXPECT_EQ(Text(dir1), game.Folder());
        EXPECT_EQ(Entries(dir1).back(), "Mods");
        EXPECT_TRUE(Entries(file1).empty());
        EXPECT_TRUE(Entries(file2).empty());

        // Another folder: its addons, no comments of its own.
        WalkTo(dir1, "Mods");
        EXPECT_EQ(Text(dir1), game.Folder() + "\\Mods");
        EXPECT_EQ(Entries(file1), (Lines{"jeep.pbo"}));
        EXPECT_EQ(Entries(file2), (Lines{"boat.pbx"}));
        EXPECT_EQ(Entries(Control(main, id::addonsize)), (Lines{" 3 kb"}));
        EXPECT_EQ(Entries(Control(main, id::foldersize)), (Lines{" 5 kb"}));
        ClickEntry(file1, 0);
        EXPECT_EQ(Entries(Control(main, id::List1)), (Lines{"jeep.pbo", "", "Size:  3kb"}));
        EXPECT_EQ(Text(text1), "");
        EXPECT_EQ(SaveComment(main, "Fast"), "No save possible");

        // Up to the game folder and down into its addon folder, which is
        // shown as the game's own, with the folder list still offered.
        WalkTo(dir1, "OFP");
        EXPECT_EQ(Text(dir1), game.Folder());
        EXPECT_TRUE(Entries(file1).empty());
        WalkTo(dir1, "ADDONS");
        EXPECT_EQ(Text(dir1), addons);
        EXPECT_EQ(Entries(file1), (Lines{"tank.pbo"}));
        EXPECT_EQ(Entries(file2), (Lines{"Island.pbx"}));
        EXPECT_TRUE(IsWindowVisible(dir1));
        EXPECT_TRUE(Checked(Control(main, id::Option3)));
        EXPECT_FALSE(Checked(Control(main, id::Option1)));

        // A new comment goes to the end, a changed one keeps its place;
        // line breaks are kept.
        ClickEntry(file1, 0);
        EXPECT_EQ(Text(text1), "");
        EXPECT_EQ(SaveComment(main, "Caf\xE9 racer\r\nand loud"), "Caf\xE9 racer\r\nand loud");
        ClickEntry(file2, 0);
        EXPECT_EQ(Text(text1), "Nice map");
        EXPECT_EQ(SaveComment(main, "Big map"), "Big map");
        // Nothing reaches the disk before Exit.
        EXPECT_EQ(game.Read("ADDONS\\Comments.txt"), "//IslandNice map//Zulu\xE9t\xE9\r\n");
        PressExit(varnex, main);
    }
    EXPECT_EQ(game.Read("ADDONS\\Comments.txt"), "//IslandBig map//Zulu\xE9t\xE9\r\n//tankCaf\xE9 racer\r\nand loud");
    EXPECT_EQ(game.GameValue("VARNX"), addons);
    EXPECT_FALSE(std::filesystem::exists(game.Folder() + "\\Res"));

    // The next start shows the comment and returns to the remembered folder.
    Varnex varnex;
    const HWND main = varnex.WaitForWindow(kMainCaption);
    ASSERT_NE(main, nullptr);
    ClickEntry(Control(main, id::File1), 0);
    EXPECT_EQ(Text(Control(main, id::Text1)), "Caf\xE9 racer\r\nand loud");
    Click(Control(main, id::Option3));
    EXPECT_EQ(Text(Control(main, id::Dir1)), addons);
    EXPECT_EQ(Entries(Control(main, id::Dir1)).back(), "ADDONS");
    EXPECT_TRUE(IsWindowVisible(Control(main, id::Dir1)));
    EXPECT_TRUE(Checked(Control(main, id::Option3)));
    EXPECT_EQ(Entries(Control(main, id::File1)), (Lines{"tank.pbo"}));
    ClickEntry(Control(main, id::File2), 0);
    EXPECT_EQ(Text(Control(main, id::Text1)), "Big map");
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(varnex.WaitForExit(), 0u);
}

TEST(FolderAndComments, TheAddonFolderReachedUnderAnotherLetterCaseIsAnotherFolderWithoutComments) {
    GameInstall game;
    game.Register(false);
    // The disk spells the game's addon folder "Addons"; the program's own
    // path to it, "ADDONS", reaches the same folder.
    game.Write("Addons\\tank.pbo", "t");
    game.Write("Addons\\Comments.txt", "//tankFast");

    Varnex varnex;
    const HWND main = varnex.WaitForWindow(kMainCaption);
    ASSERT_NE(main, nullptr);
    const HWND dir1 = Control(main, id::Dir1), file1 = Control(main, id::File1), text1 = Control(main, id::Text1);
    ClickEntry(file1, 0);
    EXPECT_EQ(Text(text1), "Fast");

    Click(Control(main, id::Option3));
    WalkTo(dir1, "Addons");
    EXPECT_EQ(Text(dir1), game.Folder() + "\\Addons");
    EXPECT_EQ(Entries(file1), (Lines{"tank.pbo"}));
    ClickEntry(file1, 0);
    EXPECT_EQ(Text(text1), "");
    EXPECT_EQ(SaveComment(main, "Slow"), "No save possible");

    PressExit(varnex, main);
    EXPECT_EQ(game.Read("Addons\\Comments.txt"), "//tankFast");
    EXPECT_EQ(game.GameValue("VARNX"), game.Folder() + "\\Addons");
}

}  // namespace
}  // namespace varnex::e2e
