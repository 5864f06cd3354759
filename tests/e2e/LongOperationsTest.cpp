// Long handlers and boxes under the player's own mouse: what is clicked
// while a walk works is handled after it, in order, only while what it aimed
// at still stands; the window stays painted meanwhile, and while a box is up
// the program's windows take no click but bring the box forward.
#include <gtest/gtest.h>

#include <algorithm>

#include "Driver.hpp"

namespace varnex::e2e {
namespace {

TEST(LongOperations, InputDuringActivateAllIsDroppedWhenItsTargetWentButTheCloseBoxStillClosesAfterIt) {
    constexpr int kAddons = 1500;
    GameInstall game(true);
    for (int i = 0; i < kAddons; ++i) game.Write("ADDONS\\a" + std::to_string(10000 + i) + ".pbx", "addon");

    Varnex varnex;
    const HWND main = varnex.Window(kMainCaption);
    ASSERT_NE(main, nullptr);
    ASSERT_EQ(Entries(Control(main, id::File2)).size(), static_cast<std::size_t>(kAddons));
    const HWND label1 = Control(main, id::Label1), activateAll = Control(main, id::Command6),
               deactivateAll = Control(main, id::Command5), file2 = Control(main, id::File2);
    const auto active = [&] {
        const Lines names = game.Names("ADDONS");
        return std::count_if(names.begin(), names.end(),
                             [](const std::string& name) { return name.ends_with(".pbo"); });
    };

    // The player clicks Activate all; while it works, an inactive addon,
    // then Deactivate all.
    MouseClick(activateAll);
    ASSERT_TRUE(Eventually([&] { return Busy(main); }));
    // The walk shows how far it is while it works, and paints the window.
    EXPECT_TRUE(Eventually([&] { return Text(label1).rfind("Activating ", 0) == 0; }));
    const RECT corner{0, 0, 4, 4};  // no control lies there
    InvalidateRect(main, &corner, FALSE);
    EXPECT_TRUE(Eventually([&] { return !GetUpdateRect(main, nullptr, FALSE); }) && Busy(main));
    CURSORINFO cursor{};
    cursor.cbSize = sizeof cursor;
    GetCursorInfo(&cursor);
    const HCURSOR busyCursor = cursor.hCursor;
    const int height = static_cast<int>(SendMessageW(file2, LB_GETITEMHEIGHT, 0, 0));
    const int third = 2 - static_cast<int>(SendMessageW(file2, LB_GETTOPINDEX, 0, 0));
    MouseClick(file2, POINT{10, third * height + height / 2});
    MouseClick(deactivateAll);
    const int activeMidway = active();
    EXPECT_TRUE(Busy(main));
    EXPECT_GT(activeMidway, 0) << "Activate all is under way";
    EXPECT_LT(activeMidway, kAddons);
    // Activate all ends and reads the lists anew: the addon clicked is no
    // longer in its list, so the click is dropped, and the press after it
    // with it.
    EXPECT_TRUE(Eventually([&] { return active() == kAddons; }, 120000));
    WaitWhileBusy(main);
    EXPECT_EQ(active(), kAddons) << "Deactivate all came while the lists changed";
    EXPECT_TRUE(Entries(file2).empty());
    GetCursorInfo(&cursor);
    EXPECT_NE(busyCursor, cursor.hCursor) << "the wait cursor only while busy";

    // Deactivate all, then a script's click on Activate all and the player's
    // on the close box, both while it works: Activate all is dropped, and
    // the window closes after the walk.
    PostMessageW(deactivateAll, BM_CLICK, 0, 0);
    ASSERT_TRUE(Eventually([&] { return Busy(main); }));
    DWORD_PTR ignored = 0;
    EXPECT_TRUE(SendMessageTimeoutW(activateAll, BM_CLICK, 0, 0, SMTO_NORMAL, 5000, &ignored));
    ClickCloseBox(main);
    EXPECT_TRUE(Busy(main));
    ASSERT_TRUE(varnex.WaitForExit(240000).has_value()) << Text(label1);
    EXPECT_EQ(active(), 0);
}

// The middle of a window in screen coordinates.
POINT Middle(HWND window) {
    RECT area{};
    GetWindowRect(window, &area);
    return {(area.left + area.right) / 2, (area.top + area.bottom) / 2};
}

// True when the box lies over every other window at its middle.
bool OnTop(HWND box) { return GetAncestor(WindowFromPoint(Middle(box)), GA_ROOT) == box; }

TEST(LongOperations, WhileABoxOrTheShellsPromptIsUpTheWindowsTakeNoClickButBringTheBoxForward) {
    GameInstall game(true);
    for (const char* name : {"jeep.pbo", "tank.pbo", "heli.pbx"}) game.Write(std::string("ADDONS\\") + name, "addon");
    ASSERT_FALSE(TrashWithout("heli.pbx").empty()) << "XDG_DATA_HOME names no Unix folder";

    Varnex varnex;
    const HWND main = varnex.Window(kMainCaption);
    ASSERT_NE(main, nullptr);
    const HWND file1 = Control(main, id::File1), file2 = Control(main, id::File2), list1 = Control(main, id::List1);

    // A box of the program (nothing selected), the shell's prompt, which
    // has no owner, and a file dialog: a click on the main window takes
    // nothing, and the box is in front, the prompt brought there from
    // behind the window.
    const auto clickOnMain = [&](HWND box) {
        RECT list{};
        GetClientRect(file1, &list);
        for (POINT spot{10, 5}; spot.y < list.bottom; spot.y += 20) {
            POINT screen = spot;
            ClientToScreen(file1, &screen);
            if (GetAncestor(WindowFromPoint(screen), GA_ROOT) == box) continue;
            MouseClick(file1, spot);
            return Eventually([&] { return OnTop(box) && GetForegroundWindow() == box; }, 3000);
        }
        return false;
    };

    // Without the expansion its choice is hidden and takes no click.
    Click(Control(main, id::Option2));
    EXPECT_FALSE(Checked(main, id::Option2));

    // The lists are read again before the box: an addon added meanwhile
    // shows. A script's click meanwhile starts nothing either.
    game.Write("ADDONS\\Zulu.pbx", "z");
    Post(Control(main, id::Command1));
    const HWND box = varnex.Window("VARNX", "#32770");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(Entries(file2), (Lines{"heli.pbx", "Zulu.pbx"}));
    EXPECT_FALSE(IsWindowEnabled(main));
    EXPECT_TRUE(clickOnMain(box));
    Click(Control(main, id::Command6));
    EXPECT_EQ(varnex.Answer(), "No addon selected");
    EXPECT_TRUE(Entries(list1).empty()) << "the click on the list was not taken";

    ClickEntry(file2, 0);
    ASSERT_EQ(Entries(list1).front(), "heli.pbx");
    Post(Control(main, id::Command1));
    const HWND prompt = varnex.Window("Confirm file deletion", "#32770");
    ASSERT_NE(prompt, nullptr);
    EXPECT_FALSE(IsWindowEnabled(main));
    // Raised over it from outside, as a taskbar would.
    SetWindowPos(main, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ASSERT_TRUE(Eventually([&] { return !OnTop(prompt); }, 1000)) << "the prompt lies under the main window";
    EXPECT_TRUE(clickOnMain(prompt));
    varnex.Answer("Confirm file deletion", IDNO);
    EXPECT_TRUE(IsWindowEnabled(main));
    EXPECT_TRUE(Eventually([&] { return GetForegroundWindow() == main; }));
    EXPECT_EQ(Entries(list1).front(), "heli.pbx") << "the click on the list was not taken";
    EXPECT_EQ(game.Names("ADDONS"), (Lines{"Comments.txt", "Zulu.pbx", "heli.pbx", "jeep.pbo", "tank.pbo"}));

    PostMessageW(main, WM_COMMAND, MAKEWPARAM(id::SaveFavorits, 0), 0);
    const HWND dialog = varnex.Window("Save As", "#32770");
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(IsWindowEnabled(main));
    EXPECT_TRUE(clickOnMain(dialog));
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    WaitWhileBusy(main);
    EXPECT_TRUE(Eventually([&] { return IsWindowEnabled(main) != FALSE; }));
    EXPECT_EQ(Entries(list1).front(), "heli.pbx") << "the click on the list was not taken";

    // A rename onto a name already taken: the program's own box, not the
    // shell's offer to replace or keep both, and nothing renamed.
    game.Write("ADDONS\\tank.pbx", "other");
    ClickEntry(file1, 1);
    ASSERT_EQ(Entries(list1).front(), "tank.pbo");
    Post(Control(main, id::Command2));
    ASSERT_NE(varnex.Window("VARNX", "#32770"), nullptr);
    EXPECT_FALSE(IsWindowEnabled(main));
    EXPECT_EQ(varnex.Answer(), "Varnex could not rename " + game.Folder() +
                                   "\\ADDONS\\tank.pbo to tank.pbx: a file of that name already exists.");
    WaitWhileBusy(main);
    EXPECT_EQ(game.Read("ADDONS\\tank.pbo") + "|" + game.Read("ADDONS\\tank.pbx"), "addon|other");
}

}  // namespace
}  // namespace varnex::e2e
