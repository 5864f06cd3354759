// Long handlers and boxes under the player's own mouse: the window stays
// painted and marked busy while a walk works and closes after it, and while
// a box is up the program's windows take no click but bring the box forward.
#include <gtest/gtest.h>

#include <algorithm>

#include "Driver.hpp"

namespace varnex::e2e {
namespace {

TEST(LongOperations, ActivateAllPaintsTheWindowAndShowsItBusyWithTheWaitCursorOnlyWhileItWorks) {
    constexpr int kAddons = 1500;
    GameInstall game(true);
    for (int i = 0; i < kAddons; ++i) game.Write("ADDONS\\a" + std::to_string(10000 + i) + ".pbx", "addon");
    Varnex varnex;
    const HWND main = varnex.Window(kMainCaption);
    ASSERT_NE(main, nullptr);
    const HWND label1 = Control(main, id::Label1);
    ASSERT_EQ(Entries(Control(main, id::File2)).size(), static_cast<std::size_t>(kAddons));
    MouseClick(Control(main, id::Command6));  // Activate all
    ASSERT_TRUE(Eventually([&] { return Busy(main); }));
    EXPECT_TRUE(Eventually([&] { return Text(label1).rfind("Activating ", 0) == 0; }));
    const RECT corner{0, 0, 4, 4};  // no control lies there
    InvalidateRect(main, &corner, FALSE);
    EXPECT_TRUE(Eventually([&] { return !GetUpdateRect(main, nullptr, FALSE); }) && Busy(main));
    CURSORINFO cursor{sizeof cursor, 0, nullptr, {}};
    GetCursorInfo(&cursor);
    const HCURSOR busyCursor = cursor.hCursor;
    // The player's click on the close box meanwhile closes the window after
    // the walk, every addon switched on.
    ClickCloseBox(main);
    EXPECT_TRUE(Busy(main));
    ASSERT_TRUE(varnex.WaitForExit(240000).has_value()) << Text(label1);
    const Lines names = game.Names("ADDONS");
    EXPECT_EQ(std::count_if(names.begin(), names.end(), [](const std::string& n) { return n.ends_with(".pbo"); }),
              kAddons);
    GetCursorInfo(&cursor);
    EXPECT_NE(busyCursor, cursor.hCursor) << "the wait cursor only while busy";
}

// True when the box lies over every other window at its middle.
bool OnTop(HWND box) {
    RECT area{};
    GetWindowRect(box, &area);
    const POINT middle{(area.left + area.right) / 2, (area.top + area.bottom) / 2};
    return GetAncestor(WindowFromPoint(middle), GA_ROOT) == box;
}

TEST(LongOperations, WhileTheShellsPromptIsUpTheMainWindowTakesNoClickButBringsThePromptForward) {
    GameInstall game(true);
    for (const char* name : {"jeep.pbo", "tank.pbo", "heli.pbx"}) game.Write(std::string("ADDONS\\") + name, "addon");
    ASSERT_FALSE(TrashWithout("heli.pbx").empty()) << "XDG_DATA_HOME names no Unix folder";
    Varnex varnex;
    const HWND main = varnex.Window(kMainCaption);
    ASSERT_NE(main, nullptr);
    const HWND file1 = Control(main, id::File1), file2 = Control(main, id::File2), list1 = Control(main, id::List1);
    // The shell's prompt has no owner, unlike the program's own boxes, which
    // Windows keeps in front: raised over it from outside, as a taskbar
    // would, the main window takes no click but brings it back to the front.
    ClickEntry(file2, 0);
    ASSERT_EQ(Entries(list1).front(), "heli.pbx");
    Post(Control(main, id::Command1));
    const HWND prompt = varnex.Window("Confirm file deletion", "#32770");
    ASSERT_NE(prompt, nullptr);
    EXPECT_FALSE(IsWindowEnabled(main));
    SetWindowPos(main, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ASSERT_TRUE(Eventually([&] { return !OnTop(prompt); }, 10000)) << "the prompt lies under the main window";
    const auto covered = [&](POINT spot) {
        ClientToScreen(file1, &spot);
        return GetAncestor(WindowFromPoint(spot), GA_ROOT) == prompt;
    };
    POINT spot{10, 5};  // on the active list, where the prompt leaves it free
    while (covered(spot)) spot.y += 20;
    MouseClick(file1, spot);
    EXPECT_TRUE(Eventually([&] { return OnTop(prompt) && GetForegroundWindow() == prompt; }, 3000));
    varnex.Answer("Confirm file deletion", IDNO);
    EXPECT_TRUE(IsWindowEnabled(main) && Eventually([&] { return GetForegroundWindow() == main; }));
    EXPECT_EQ(Entries(list1).front(), "heli.pbx") << "the click on the list was not taken";
    EXPECT_EQ(game.Names("ADDONS"), (Lines{"Comments.txt", "heli.pbx", "jeep.pbo", "tank.pbo"}));
}

}  // namespace
}  // namespace varnex::e2e
