// Boxes that hold off input, the information window, and deleting an
// inactive addon through the shell's own confirmation into the trash.
#include <gtest/gtest.h>

#include <filesystem>

#include "Driver.hpp"

namespace varnex::e2e {
namespace {

namespace fs = std::filesystem;

// Text1 to Text6 of the information window.
Lines InfoFields(HWND info) {
    Lines fields;
    for (int field = id::InfoText1; field < id::InfoText1 + 6; ++field) fields.push_back(Text(Control(info, field)));
    return fields;
}

TEST(InfoAndDelete, ABoxHoldsOffInputTheInfoWindowKeepsItsAddonAndDeletingDropsTheCompanionOnYesAndNo) {
    GameInstall game(true);
    for (const char* name : {"jeep.pbo", "m1tank.pbo", "boat.pbx", "heli.pbx"})
        game.Write(std::string("ADDONS\\") + name, std::string(3000, 'a'));
    game.Write("ADDONS\\m1tank.txt", "Read me\r\n/x/units\r\nM1A1\r\n/x/infoHeavy/x/comment\r\nSee /x/readme\r\n"
                                     "/x/authorSomeone/x/version1.2/x/reqversion1.85\r\n");
    game.Write("ADDONS\\heli.txt", "/x/authorPilot/x/version2.0");
    game.Write("ADDONS\\boat.txt", "/x/authorSailor");
    const fs::path trash = TrashWithout("heli.pbx");
    ASSERT_FALSE(trash.empty()) << "XDG_DATA_HOME names no Unix folder";

    Varnex varnex;
    const HWND main = varnex.Window(kMainCaption);
    ASSERT_NE(main, nullptr);
    const HWND file1 = Control(main, id::File1), file2 = Control(main, id::File2), list1 = Control(main, id::List1);

    // Nothing selected: the lists are re-read (a file added meanwhile shows)
    // before the box, and while it is up, clicks start nothing.
    game.Write("ADDONS\\Zulu.pbx", "z");
    Post(Control(main, id::Command1));
    ASSERT_NE(varnex.Window("VARNX", "#32770"), nullptr);
    EXPECT_EQ(Entries(file2), (Lines{"boat.pbx", "heli.pbx", "Zulu.pbx"}));
    Click(Control(main, id::Command6));
    ClickEntry(file2, 0);
    EXPECT_TRUE(Entries(list1).empty());
    EXPECT_EQ(varnex.Answer(), "No addon selected");
    EXPECT_EQ(game.Names("ADDONS"), (Lines{"Comments.txt", "Zulu.pbx", "boat.pbx", "boat.txt", "heli.pbx", "heli.txt",
                                           "jeep.pbo", "m1tank.pbo", "m1tank.txt"}));
    ClickEntry(file2, 0);
    EXPECT_EQ(Entries(list1).front(), "boat.pbx");

    ClickEntry(file1, 1, LBN_DBLCLK);
    const HWND info = varnex.Window("Addon Information");
    ASSERT_NE(info, nullptr);
    const Lines m1tank{"\r\nM1A1\r\n", "Heavy", "\r\nSee ", "Someone", "1.2", "1.85\r\n"};
    EXPECT_EQ(InfoFields(info), m1tank);
    // Open, it stays with its addon, though the double click selects.
    ClickEntry(file2, 1, LBN_DBLCLK);
    EXPECT_EQ(Entries(list1).front(), "heli.pbx");
    EXPECT_EQ(InfoFields(info), m1tank);
    // Closed through its frame, it is loaded anew by the next double click.
    SendMessageW(info, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindowVisible(info));
    ClickEntry(file2, 1, LBN_DBLCLK);
    EXPECT_TRUE(IsWindowVisible(info));
    EXPECT_EQ(InfoFields(info), (Lines{"No entry", "No entry", "No entry", "Pilot", "2.0", "-"}));

    // Yes: the addon goes to the trash, its companion is gone for good.
    ClickEntry(file2, 1);
    Post(Control(main, id::Command1));
    varnex.Answer("Confirm file deletion", IDYES);
    EXPECT_EQ(Entries(file2), (Lines{"boat.pbx", "Zulu.pbx"}));
    EXPECT_EQ(fs::file_size(trash / "files" / "heli.pbx"), 3000u);
    EXPECT_FALSE(fs::exists(trash / "files" / "heli.txt"));
    // No: the addon stays, its companion goes all the same.
    ClickEntry(file2, 0);
    Post(Control(main, id::Command1));
    varnex.Answer("Confirm file deletion", IDNO);
    EXPECT_EQ(game.Names("ADDONS"), (Lines{"Comments.txt", "Zulu.pbx", "boat.pbx", "jeep.pbo", "m1tank.pbo",
                                           "m1tank.txt"}));

    // The program runs on while one of its windows is open.
    SendMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_FALSE(varnex.WaitForExit(300).has_value());
    SendMessageW(info, WM_CLOSE, 0, 0);
    EXPECT_EQ(varnex.WaitForExit(), 0u);
}

}  // namespace
}  // namespace varnex::e2e
