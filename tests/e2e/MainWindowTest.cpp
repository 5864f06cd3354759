// The real program on a game installation made for each test, driven from
// outside through the automation IDs; files and registry checked after.
#include <gtest/gtest.h>

#include <filesystem>

#include "Driver.hpp"

namespace varnex::e2e {
namespace {

TEST(MainWindow, WithoutTheGameItSaysSoAndEndsHavingWrittenNothing) {
    GameInstall game(false);
    const bool driveHadAddons = std::filesystem::exists("C:\\ADDONS");
    Varnex varnex;
    ASSERT_NE(varnex.Window("VARNX", "#32770"), nullptr);
    EXPECT_EQ(varnex.Window(kMainCaption, nullptr, 0), nullptr);
    EXPECT_EQ(varnex.Answer(), "Cannot find OFP");
    EXPECT_EQ(varnex.WaitForExit(), 0u);
    EXPECT_FALSE(game.GameKeyExists());
    EXPECT_TRUE(game.Snapshot().empty());
    EXPECT_EQ(std::filesystem::exists("C:\\ADDONS"), driveHadAddons);
}

TEST(MainWindow, ShowsTheGameFolderSwitchesAddonsReportsAClashOnceAndClosingThroughTheFrameWritesNothing) {
    GameInstall game(true, true);
    game.Write("ADDONS\\Data.pbo", std::string(2000, 'd'));  // 2 kb, one of the game's own
    game.Write("ADDONS\\jeep.pbo", std::string(5000, 'j'));  // 5 kb
    game.Write("ADDONS\\tank.pbo", "active");
    game.Write("ADDONS\\tank.pbx", "inactive");  // in the way of renaming tank.pbo
    game.Write("ADDONS\\Island.pbx", std::string(2048, 'i'));
    game.Write("ADDONS\\Comments.txt", "//jeepFast");
    game.Write("Res\\AddOns\\Comments.txt", "");

    Varnex varnex;
    const HWND main = varnex.Window(kMainCaption);
    ASSERT_NE(main, nullptr);
    const HWND file1 = Control(main, id::File1), file2 = Control(main, id::File2), list1 = Control(main, id::List1),
               text1 = Control(main, id::Text1);
    EXPECT_EQ(Entries(file1), (Lines{"Data.pbo", "jeep.pbo", "tank.pbo"}));
    EXPECT_EQ(Entries(file2), (Lines{"Island.pbx", "tank.pbx"}));
    EXPECT_TRUE(Visible(main, id::Option2) && !Visible(main, id::Dir1));
    EXPECT_EQ(Text(text1) + Text(Control(main, id::Command3)), "Varnex\r\nv.0.98b\r\n<---  Activate ---");

    // Which of Deactivate, Activate and the comment box a click offers.
    const auto offered = [&] {
        return std::vector<bool>{Visible(main, id::Command2), Visible(main, id::Command3), Visible(main, id::Text1)};
    };
    ClickEntry(file1, 0);
    EXPECT_EQ(Entries(list1), (Lines{"Data.pbo", "", "Official Addon/File", "Access denied", "Size:  2kb"}));
    EXPECT_EQ(offered(), (std::vector<bool>{false, false, false}));
    ClickEntry(file1, 1);
    EXPECT_EQ(Text(text1), "Fast");
    EXPECT_EQ(offered(), (std::vector<bool>{true, false, true}));
    Click(Control(main, id::Command2));
    EXPECT_EQ(Entries(file2), (Lines{"Island.pbx", "jeep.pbx", "tank.pbx"}));
    EXPECT_EQ(std::pair(Entries(Control(main, id::addonsize)), Entries(Control(main, id::foldersize))),
              std::pair(Lines{" 3 kb"}, Lines{" 12 kb"}));
    ClickEntry(file2, 1);
    EXPECT_EQ(offered(), (std::vector<bool>{false, true, true}));
    Click(Control(main, id::Command3));
    EXPECT_EQ(game.Names("ADDONS"), (Lines{"Comments.txt", "Data.pbo", "Island.pbx", "jeep.pbo", "tank.pbo", "tank.pbx"}));

    // A rename onto an existing file: one box, both files kept.
    ClickEntry(file1, 2);
    Post(Control(main, id::Command2));
    EXPECT_EQ(varnex.Answer(), "Varnex could not rename " + game.Folder() +
                                   "\\ADDONS\\tank.pbo to tank.pbx: a file of that name already exists.");
    EXPECT_EQ(varnex.Window("VARNX", "#32770", 300), nullptr) << "a second box";
    EXPECT_EQ(game.Read("ADDONS\\tank.pbo") + game.Read("ADDONS\\tank.pbx"), "activeinactive");

    // A comment typed and saved stays in memory; closing through the frame
    // instead of Exit leaves files and registry as they were.
    const auto before = game.Snapshot();
    ClickEntry(file1, 1);
    Type(text1, "Slow");
    EXPECT_TRUE(Visible(main, id::Image3) && !Visible(main, id::Image2));
    Click(Control(main, id::Save));
    EXPECT_TRUE(Visible(main, id::Image2));
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(varnex.WaitForExit(), 0u);
    EXPECT_EQ(game.Snapshot(), before);
    EXPECT_FALSE(game.GameValue("VARNX").has_value());
}

}  // namespace
}  // namespace varnex::e2e
