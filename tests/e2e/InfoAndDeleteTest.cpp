// The information window, deleting an inactive addon, and favorites lists
// going round through the standard dialogs: the real program driven from
// outside, with the game folder and the trash checked afterwards.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

#include "Driver.hpp"

namespace varnex::e2e {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

const std::string kAddon(3000, 'x');

constexpr int kDeactivateAll = 1116;
constexpr int kLoadList = 1201, kSaveList = 1202;
constexpr int kYes = 6, kNo = 7;

// Text1 to Text6 of the information window, top to bottom as the IDs go.
Lines InfoFields(HWND info) {
    Lines fields;
    for (int field = 1311; field <= 1316; ++field) fields.push_back(Text(Control(info, field)));
    return fields;
}

// The names in the game's addon folder, but for the comments file that the
// program creates there at start.
std::set<std::string> AddonFolder(const GameInstall& game) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(game.Folder() + "\\ADDONS"))
        if (entry.path().filename() != "Comments.txt") names.insert(entry.path().filename().string());
    return names;
}

// The freedesktop trash the test session keeps inside the build folder,
// where the shell moves what it deletes undoably.
fs::path TrashFiles() {
    const char* data = std::getenv("XDG_DATA_HOME");
    if (!data || *data != '/') return {};
    return fs::path(std::string("Z:") + data) / "Trash" / "files";
}

// Leaves no earlier run's file under `name` in the trash, so that the shell
// files the next one under that very name.
void ClearFromTrash(const std::string& name) {
    const fs::path files = TrashFiles();
    std::error_code ignored;
    fs::remove(files / name, ignored);
    fs::remove(files.parent_path() / "info" / (name + ".trashinfo"), ignored);
}

// Waits until a handler the test posted has returned or has opened a box or
// dialog: the program takes a sent message only while it waits for input.
void Settle(HWND main) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored);
}

// A double click posted rather than sent: should it open a box, the test
// sees the box instead of waiting on it.
void PostDoubleClick(HWND main, HWND list, int index) {
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    PostMessageW(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), LBN_DBLCLK),
                 reinterpret_cast<LPARAM>(list));
    Settle(main);
}

TEST(InformationWindow, KeepsTheAddonItWasOpenedForAndShowsPresetsWithoutACompanionFile) {
    GameInstall game;
    game.Register(false);
    for (const char* name : {"jeep.pbo", "m1tank.pbo", "boat.pbx", "heli.pbx"})
        game.Write(std::string("ADDONS\\") + name, kAddon);
    // Text before the first tag is not shown; any "/x/" ends a value.
    game.Write("ADDONS\\m1tank.txt",
               "Read me\r\n/x/units\r\nM1A1\r\nM1A2\r\n/x/info\r\nHeavy tank.\r\n/x/comment\r\nSee /x/readme\r\n"
               "/x/author\r\nSomeone\r\n/x/version1.2/x/reqversion1.85\r\n");
    game.Write("ADDONS\\heli.txt", "/x/authorPilot/x/version2.0");
    game.Write("ADDONS\\boat.txt", "");

    Varnex varnex;
    const HWND main = varnex.WaitForWindow(kMainCaption);
    ASSERT_NE(main, nullptr);
    const HWND file1 = Control(main, id::File1), file2 = Control(main, id::File2);
    ASSERT_EQ(Entries(file1), (Lines{"jeep.pbo", "m1tank.pbo"}));
    ASSERT_EQ(Entries(file2), (Lines{"boat.pbx", "heli.pbx"}));

    DoubleClickEntry(file1, 1);
    const HWND info = varnex.FindWindowNow(kInfoCaption);
    ASSERT_NE(info, nullptr);
    const Lines m1tank{"\r\nM1A1\r\nM1A2\r\n", "\r\nHeavy tank.\r\n", "\r\nSee ", "\r\nSomeone\r\n", "1.2", "1.85\r\n"};
    EXPECT_EQ(InfoFields(info), m1tank);

    // Open, it stays with its addon; the double click still selects.
    DoubleClickEntry(file2, 1);
    EXPECT_EQ(Entries(Control(main, id::List1)), (Lines{"heli.pbx", "", "Size:  3kb"}));
    EXPECT_TRUE(IsWindowVisible(info));
    EXPECT_EQ(InfoFields(info), m1tank);

    // Reopened on another addon: a missing tag gives its fallback text.
    SendMessageW(info, WM_CLOSE, 0, 0);
    DoubleClickEntry(file2, 1);
    ASSERT_TRUE(IsWindowVisible(info));
    EXPECT_EQ(InfoFields(info), (Lines{"No entry", "No entry", "No entry", "Pilot", "2.0", "-"}));

    // No companion file, or an empty one: the preset texts, no box, and no
    // companion file left behind.
    const Lines preset{"No entry\r\n", "No entry\r\n", "No entry\r\n", "No entry", "-", "-"};
    for (const auto& [list, index] : {std::pair{file1, 0}, std::pair{file2, 0}}) {
        SCOPED_TRACE(Entries(list)[static_cast<std::size_t>(index)]);
        SendMessageW(info, WM_CLOSE, 0, 0);
        PostDoubleClick(main, list, index);
        if (const HWND box = varnex.FindWindowNow("VARNX", "#32770")) {
            ADD_FAILURE() << BoxText(box);
            PressOk(box);
        }
        ASSERT_TRUE(Eventually([&] { return IsWindowVisible(info) != FALSE; }));
        EXPECT_EQ(InfoFields(info), preset);
    }
    EXPECT_EQ(AddonFolder(game), (std::set<std::string>{"boat.pbx", "heli.pbx", "heli.txt", "jeep.pbo", "m1tank.pbo",
                                                         "m1tank.txt"}));
}

TEST(DeleteInactiveAddon, SaysNothingIsSelectedAfterARefreshTrashesOnYesKeepsOnNoAndDropsTheCompanionEitherWay) {
    GameInstall game;
    game.Register(false);
    for (const char* name : {"tank.pbo", "heli.pbx", "m1.pbx.old"}) game.Write(std::string("ADDONS\\") + name, kAddon);
    game.Write("ADDONS\\heli.txt", "/x/authorPilot");
    // The companion of m1.pbx.old; the inactive list's pattern shows it too.
    game.Write("ADDONS\\m1.pbx.txt", "/x/authorGunner");
    game.Write("ADDONS\\m1.txt", "/x/authorSomeone else");
    const fs::path trash = TrashFiles();
    ASSERT_FALSE(trash.empty()) << "XDG_DATA_HOME names no Unix folder";
    for (const char* name : {"heli.pbx", "heli.txt", "m1.pbx.old", "m1.pbx.txt"}) ClearFromTrash(name);

    Varnex varnex;
    const HWND main = varnex.WaitForWindow(kMainCaption);
    ASSERT_NE(main, nullptr);
    const HWND file2 = Control(main, id::File2), command1 = Control(main, id::Command1);
    const auto expectNothingSelected = [&] {
        PostMessageW(command1, BM_CLICK, 0, 0);
        const HWND box = varnex.WaitForWindow("VARNX", "#32770");
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(BoxText(box), "No addon selected");
        PressOk(box);
        ASSERT_TRUE(Eventually([&] { return varnex.FindWindowNow("VARNX", "#32770") == nullptr; }));
        Settle(main);
    };

    // A click selects an inactive addon; choosing the folder, or switching
    // all addons, refreshes the lists and forgets it.
    ClickEntry(file2, 0);
    Click(Control(main, id::Option1));
    expectNothingSelected();
    ClickEntry(file2, 0);
    Click(Control(main, kDeactivateAll));
    ASSERT_EQ(Entries(file2), (Lines{"heli.pbx", "m1.pbx.old", "m1.pbx.txt", "tank.pbx"}));
    expectNothingSelected();
    EXPECT_EQ(AddonFolder(game),
              (std::set<std::string>{"heli.pbx", "heli.txt", "m1.pbx.old", "m1.pbx.txt", "m1.txt", "tank.pbx"}));

    const auto deleteAnswering = [&](int index, int answer) {
        ClickEntry(file2, index);
        PostMessageW(command1, BM_CLICK, 0, 0);
        const HWND confirm = varnex.WaitForWindow("Confirm file deletion", "#32770");
        ASSERT_NE(confirm, nullptr);
        PressButton(confirm, answer);
        ASSERT_TRUE(Eventually([&] { return varnex.FindWindowNow("Confirm file deletion", "#32770") == nullptr; }));
        Settle(main);
    };

    // Yes: the addon goes into the trash, its companion file is gone for good.
    deleteAnswering(0, kYes);
    EXPECT_EQ(Entries(file2), (Lines{"m1.pbx.old", "m1.pbx.txt", "tank.pbx"}));
    EXPECT_EQ(AddonFolder(game), (std::set<std::string>{"m1.pbx.old", "m1.pbx.txt", "m1.txt", "tank.pbx"}));
    EXPECT_TRUE(fs::exists(trash / "heli.pbx"));
    EXPECT_EQ(fs::file_size(trash / "heli.pbx"), kAddon.size());
    EXPECT_TRUE(fs::exists(trash.parent_path() / "info" / "heli.pbx.trashinfo"));
    EXPECT_FALSE(fs::exists(trash / "heli.txt"));

    // No: the addon stays, its companion goes all the same. The companion
    // is cut from the name by position, so m1.txt belongs to no addon here.
    deleteAnswering(0, kNo);
    EXPECT_EQ(Entries(file2), (Lines{"m1.pbx.old", "tank.pbx"}));
    EXPECT_EQ(AddonFolder(game), (std::set<std::string>{"m1.pbx.old", "m1.txt", "tank.pbx"}));
    EXPECT_FALSE(fs::exists(trash / "m1.pbx.old"));
    EXPECT_FALSE(fs::exists(trash / "m1.pbx.txt"));
    EXPECT_EQ(game.Read("ADDONS\\m1.txt"), "/x/authorSomeone else");
}

TEST(Favorites, ASavedListBringsTheFolderBackAndAMissingListLeavesOnlyTheGamesOwnAddonsActive) {
    GameInstall game;
    game.Register(false);
    for (const char* name : {"Data.pbo", "O.pbo", "tank.pbo", "jeep.pbo", "Heli.PBO", "boat.pbx"})
        game.Write(std::string("ADDONS\\") + name, kAddon);
    game.Write("mine.txtf", std::string(100, '#'));  // longer than the list that replaces it
    const std::string mine = game.Folder() + "\\mine.txtf", gone = game.Folder() + "\\gone.txtf";

    Varnex varnex;
    const HWND main = varnex.WaitForWindow(kMainCaption);
    ASSERT_NE(main, nullptr);
    const HWND file1 = Control(main, id::File1), file2 = Control(main, id::File2);
    // The dialogs are modal: the menu item is posted, not sent.
    const auto choose = [&](int item, const char* caption, const std::string& path) {
        PostMessageW(main, WM_COMMAND, MAKEWPARAM(item, 0), 0);
        const HWND dialog = varnex.WaitForWindow(caption, "#32770");
        ASSERT_NE(dialog, nullptr) << caption;
        ChooseFile(dialog, path);
        ASSERT_TRUE(Eventually([&] { return varnex.FindWindowNow(caption, "#32770") == nullptr; }));
    };

    // In list order, official addons left out, every name written inactive
    // with a lower-case extension; nothing of the older file remains.
    choose(kSaveList, "Save As", mine);
    Settle(main);
    EXPECT_EQ(game.Read("mine.txtf"), "Heli.pbx jeep.pbx tank.pbx ");

    Click(Control(main, id::Command6));
    ASSERT_EQ(Entries(file1), (Lines{"boat.pbo", "Data.pbo", "Heli.PBO", "jeep.pbo", "O.pbo", "tank.pbo"}));
    ClickEntry(file1, 3);
    Click(Control(main, id::Command2));
    ASSERT_EQ(AddonFolder(game),
              (std::set<std::string>{"Data.pbo", "O.pbo", "tank.pbo", "jeep.pbx", "Heli.PBO", "boat.pbo"}));

    // Loading switches the saved set back on; Heli.PBO came back from
    // "Deactivate all" as Heli.PBx, which the list does not name.
    choose(kLoadList, "Open", mine);
    Settle(main);
    EXPECT_EQ(AddonFolder(game),
              (std::set<std::string>{"Data.pbo", "O.pbo", "tank.pbo", "jeep.pbo", "Heli.PBx", "boat.pbx"}));
    EXPECT_EQ(Entries(file1), (Lines{"Data.pbo", "jeep.pbo", "O.pbo", "tank.pbo"}));
    EXPECT_EQ(Entries(file2), (Lines{"boat.pbx", "Heli.PBx"}));
    EXPECT_EQ(game.Read("mine.txtf"), "Heli.pbx jeep.pbx tank.pbx ");

    // A list that is not there: one box says so, and the addons stay as
    // "Deactivate all" left them.
    choose(kLoadList, "Open", gone);
    const HWND box = varnex.WaitForWindow("VARNX", "#32770");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(BoxText(box), "The favorites list " + gone +
                                " was not found.\r\n\r\nEvery addon that is not one of the game's own has been "
                                "deactivated; none was activated.");
    PressOk(box);
    ASSERT_TRUE(Eventually([&] { return varnex.FindWindowNow("VARNX", "#32770") == nullptr; }));
    Settle(main);
    EXPECT_EQ(varnex.FindWindowNow("VARNX", "#32770"), nullptr);
    EXPECT_FALSE(fs::exists(gone));
    EXPECT_EQ(AddonFolder(game),
              (std::set<std::string>{"Data.pbo", "O.pbo", "tank.pbx", "jeep.pbx", "Heli.PBx", "boat.pbx"}));
    EXPECT_EQ(Entries(file1), (Lines{"Data.pbo", "O.pbo"}));
}

}  // namespace
}  // namespace varnex::e2e
