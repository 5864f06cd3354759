// Long handlers and boxes under the player's own mouse: the window stays
// painted and marked busy while a walk works and closes after it, and while
// a box is up the program's windows take no click but bring the box forward.
#include <gtest/gtest.h>

#include "Driver.hpp"

namespace varnex::e2e {
namespace {

// During the walk the player presses Delete, double-clicks the second
// active addon and clicks the close box. Delete was aimed at lists the walk
// has read anew: it is dropped, and so is the double click kept after it;
// only the close runs. No box, no information window: the program ends.
TEST(LongOperations, ActivateAllStaysPaintedAndRunsOnlyAKeptClose) {
    constexpr int kAddons = 1500;
    GameInstall game(true);
    for (const char* name : {"a.pbo", "b.pbo", "b.txt"}) game.Write(std::string("ADDONS\\") + name, "addon");
    game.Write("ADDONS\\Comments.txt", "");
    for (int i = 0; i < kAddons; ++i) game.Write("ADDONS\\z" + std::to_string(10000 + i) + ".pbx", "addon");
    auto expected = game.Snapshot();
    for (int i = 0; i < kAddons; ++i) {
        const std::string name = "ADDONS\\z" + std::to_string(10000 + i);
        expected[name + ".pbo"] = expected[name + ".pbx"];
        expected.erase(name + ".pbx");
    }
    Varnex varnex;
    const HWND main = varnex.Window(kMainCaption);
    ASSERT_NE(main, nullptr);
    const HWND label1 = Control(main, id::Label1), file1 = Control(main, id::File1);
    MouseClick(Control(main, id::Command6));  // Activate all
    ASSERT_TRUE(Eventually([&] { return Busy(main); }));
    EXPECT_TRUE(Eventually([&] { return Text(label1).rfind("Activating ", 0) == 0; }));
    const RECT corner{0, 0, 4, 4};  // no control lies there
    InvalidateRect(main, &corner, FALSE);
    EXPECT_TRUE(Eventually([&] { return !GetUpdateRect(main, nullptr, FALSE); }) && Busy(main));
    CURSORINFO cursor{sizeof cursor, 0, nullptr, {}};
    GetCursorInfo(&cursor);
    const HCURSOR busyCursor = cursor.hCursor;
    MouseClick(Control(main, id::Command1));
    const int row = static_cast<int>(SendMessageW(file1, LB_GETITEMHEIGHT, 0, 0));
    for (int click = 0; click < 2; ++click) MouseClick(file1, POINT{20, row + row / 2});
    ClickCloseBox(main);
    EXPECT_TRUE(Busy(main)) << "the walk ended before the player's input";
    WaitWhileBusy(main, 240000);
    ASSERT_TRUE(varnex.WaitForExit().has_value()) << Text(label1);
    EXPECT_EQ(game.Snapshot(), expected);
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

TEST(LongOperations, WhileTheShellsPromptIsUpAClickBringsItForward) {
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
