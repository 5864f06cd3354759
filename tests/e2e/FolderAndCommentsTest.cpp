// The "others" folder walked in the folder list, a comment typed and saved,
// and what Exit leaves for the next start: the comments file and the
// remembered folder.
#include <gtest/gtest.h>

#include "Driver.hpp"

namespace varnex::e2e {
namespace {

TEST(FolderAndComments, OthersWalksTheFolderListAndExitKeepsTheCommentAndTheFolderForTheNextStart) {
    GameInstall game(true);
    // The disk spells the addon folder "Addons": the game's path to it,
    // "ADDONS", reaches it, but as "others" it is another folder.
    game.Write("Addons\\tank.pbo", "t");
    game.Write("Addons\\Island.pbx", "i");
    game.Write("Addons\\Comments.txt", "//IslandNice map");
    const std::string addons = game.Folder() + "\\Addons", comment = "Caf\xE9 racer\r\nand loud";
    {
        Varnex varnex;
        const HWND main = varnex.Window(kMainCaption);
        ASSERT_NE(main, nullptr);
        const HWND dir1 = Control(main, id::Dir1), file1 = Control(main, id::File1), text1 = Control(main, id::Text1);
        // Without the expansion its choice is hidden and takes no click.
        EXPECT_FALSE(Visible(main, id::Option2));
        Click(Control(main, id::Option2));
        EXPECT_FALSE(Checked(main, id::Option2));

        ClickEntry(Control(main, id::File2), 0);
        EXPECT_EQ(Text(text1), "Nice map");
        ClickEntry(file1, 0);
        EXPECT_EQ(Text(text1), "");
        Type(text1, comment);
        Click(Control(main, id::Save));
        EXPECT_EQ(Text(text1), comment);

        // "others" starts in the game folder, which holds no addon.
        Click(Control(main, id::Option3));
        EXPECT_TRUE(Checked(main, id::Option3));
        EXPECT_TRUE(IsWindowVisible(dir1));
        EXPECT_EQ(Text(dir1), game.Folder());
        const Lines lines = Entries(dir1);
        ASSERT_GE(lines.size(), 3u);
        EXPECT_EQ((Lines{lines.front(), lines[lines.size() - 2], lines.back()}), (Lines{"C:\\", "OFP", "Addons"}));
        EXPECT_TRUE(Entries(file1).empty());

        ClickEntry(dir1, static_cast<int>(lines.size()) - 1, LBN_DBLCLK);
        EXPECT_EQ(Text(dir1), addons);
        EXPECT_EQ(Entries(file1), (Lines{"tank.pbo"}));
        ClickEntry(file1, 0);
        EXPECT_EQ(Text(text1), "");
        Type(text1, "Slow");
        Click(Control(main, id::Save));
        EXPECT_EQ(Text(text1), "No save possible");
        // Nothing reaches the disk before Exit.
        EXPECT_EQ(game.Read("Addons\\Comments.txt"), "//IslandNice map");
        Post(Control(main, id::Command4));
        EXPECT_EQ(varnex.WaitForExit(), 0u);
    }
    EXPECT_EQ(game.Read("Addons\\Comments.txt"), "//IslandNice map//tank" + comment);
    EXPECT_EQ(game.GameValue("VARNX"), addons);

    Varnex varnex;
    const HWND main = varnex.Window(kMainCaption);
    ASSERT_NE(main, nullptr);
    ClickEntry(Control(main, id::File1), 0);
    EXPECT_EQ(Text(Control(main, id::Text1)), comment);
    Click(Control(main, id::Option3));
    EXPECT_EQ(Text(Control(main, id::Dir1)), addons);
    EXPECT_EQ(Entries(Control(main, id::File1)), (Lines{"tank.pbo"}));
}

// A comment that the comments file would hand to ww2tanks.pbo is refused
// for ww2.pbo with the typed text kept; started differently it is saved,
// and Exit keeps an edit made by hand in the file meanwhile.
TEST(FolderAndComments, ASiblingsCommentIsRefusedAndAHandEditMadeDuringTheRunSurvivesExit) {
    GameInstall game(true);
    game.Write("ADDONS\\ww2.pbo", "w");
    game.Write("ADDONS\\ww2tanks.pbo", "t");
    game.Write("ADDONS\\Comments.txt", "//ww2tanksOld");
    Varnex varnex;
    const HWND main = varnex.Window(kMainCaption);
    ASSERT_NE(main, nullptr);
    const HWND file1 = Control(main, id::File1), text1 = Control(main, id::Text1);
    ASSERT_EQ(Entries(file1), (Lines{"ww2.pbo", "ww2tanks.pbo"}));
    ClickEntry(file1, 0);
    Type(text1, "tanks of 1944");
    Post(Control(main, id::Save));
    EXPECT_NE(varnex.Answer().find("reads as a comment for ww2tanks.pbo"), std::string::npos);
    EXPECT_EQ(Text(text1), "tanks of 1944");
    EXPECT_TRUE(Visible(main, id::Image3) && !Visible(main, id::Image2));

    Type(text1, " tanks of 1944");
    Click(Control(main, id::Save));
    EXPECT_EQ(Text(text1), " tanks of 1944");
    ClickEntry(file1, 1);
    EXPECT_EQ(Text(text1), "Old");
    game.Write("ADDONS\\Comments.txt", "//ww2tanksEdited by hand//boatB");
    Post(Control(main, id::Command4));
    EXPECT_EQ(varnex.WaitForExit(), 0u);
    EXPECT_EQ(game.Read("ADDONS\\Comments.txt"), "//ww2tanksEdited by hand//boatB//ww2 tanks of 1944");
}

}  // namespace
}  // namespace varnex::e2e
