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

}  // namespace
}  // namespace varnex::e2e
