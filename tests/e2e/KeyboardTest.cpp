// The program worked from the keyboard alone, with the system's own key
// presses and mouse clicks: Tab round every control, Escape that closes
// nothing by mistake, the option group as one tab stop with its arrows,
// Enter in the lists, the keyboard kept across a minimise and a switch of
// windows, and the names a screen reader reads.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>

#include "Driver.hpp"

namespace varnex::e2e {
namespace {

int FocusId(HWND main) { return GetDlgCtrlID(Focus(main)); }

// Presses the key and waits until the keyboard is on `expected`; where the
// keyboard went.
int PressFor(HWND main, WORD key, int expected, bool shift = false) {
    shift ? Press(key, {VK_SHIFT}) : Press(key);
    Eventually([&] { return FocusId(main) == expected; }, 2000);
    return FocusId(main);
}

// Presses Tab and waits until the keyboard moved; where it went.
HWND Tab(HWND window) {
    const HWND before = Focus(window);
    Press(VK_TAB);
    Eventually([&] { return Focus(window) != before; }, 2000);
    return Focus(window);
}

// Presses Tab until the control has the keyboard.
bool TabTo(HWND main, int control) {
    for (int presses = 0; presses < 20 && FocusId(main) != control; ++presses) Tab(main);
    return FocusId(main) == control;
}

TEST(Keyboard, EveryControlIsReachedAndWorkedByKeysAlone) {
    GameInstall game(true, true);
    const std::string longName = std::string(200, 'w') + ".pbo";
    for (const std::string name : {"jeep.pbo", "tank.pbo", "boat.pbx", "Comments.txt", longName.c_str()})
        game.Write("ADDONS\\" + name, name == "Comments.txt" ? "" : "a");
    game.Write("Res\\AddOns\\Comments.txt", "");
    game.Write("Res\\AddOns\\res.pbo", "r");
    // Its author ended the lines the Unix and the old Mac way.
    game.Write("ADDONS\\tank.txt", "/x/units\nT-80\rBMP\r\n/x/info");

    Varnex varnex;
    const HWND main = varnex.Window(kMainCaption);
    ASSERT_NE(main, nullptr);
    const HWND file1 = Control(main, id::File1), text1 = Control(main, id::Text1), list1 = Control(main, id::List1),
               dir1 = Control(main, id::Dir1);

    // What a screen reader reads: the labels beside the option buttons,
    // which show no text, and what the dots mean; the lists and boxes by
    // their frames' captions.
    Lines names;
    for (const int control : {id::Option1, id::Option2, id::Option3, id::Image2, id::Image3, id::File1, id::File2,
                              id::Dir1, id::List1, id::Text1, id::addonsize, id::foldersize})
        names.push_back(AccessibleName(Control(main, control)));
    EXPECT_EQ(names, (Lines{"OFP/Addons", "OFP:R/Addons", "others", "Comment saved", "Comment changed, not saved",
                            "Active Addons", "Inactive Addons", "Addon Folder", "Information", "Comment",
                            "Size of active addons", "Size of folder"}));
    // A name wider than its list can be scrolled to; a list of short names
    // has nothing to scroll.
    const auto scrolls = [](HWND list) { return (GetWindowLongW(list, GWL_STYLE) & WS_HSCROLL) != 0; };
    EXPECT_TRUE(scrolls(file1) && !scrolls(Control(main, id::File2)));

    BringToFront(main);
    ASSERT_TRUE(Eventually([&] { return Focus(main) == file1; }));
    // A box answered, the keyboard is back on the button that opened it.
    ASSERT_TRUE(TabTo(main, id::Command1));
    Press(VK_SPACE);
    EXPECT_EQ(varnex.Answer(), "No addon selected");
    EXPECT_TRUE(Eventually([&] { return FocusId(main) == id::Command1; })) << FocusId(main);
    ASSERT_TRUE(TabTo(main, id::File1));
    Press(VK_DOWN);
    ASSERT_TRUE(Eventually([&] { return !Entries(list1).empty() && Entries(list1).front() == "jeep.pbo"; }));

    // Round every control and back to the first, both ways: with an active
    // addon chosen, neither Activate nor the folder list is shown, and the
    // option group is one stop, at its first button, which stays unchosen.
    const std::vector<int> stops = {id::File1,     id::File2,      id::Option1,  id::Command2, id::Command6,
                                    id::Command5,  id::Command1,   id::List1,    id::Text1,    id::Save,
                                    id::addonsize, id::foldersize, id::Command4, id::File1};
    for (const bool back : {false, true}) {
        std::vector<int> expected(stops.begin() + 1, stops.end()), reached;
        if (back) expected.assign(stops.rbegin() + 1, stops.rend());
        for (const int next : expected) reached.push_back(PressFor(main, VK_TAB, next, back));
        EXPECT_EQ(reached, expected) << (back ? "with Shift" : "");
    }
    EXPECT_TRUE(!Checked(main, id::Option1) && Entries(list1).front() == "jeep.pbo");

    // The arrows choose the next folder round the group, as a click would;
    // Tab leaves the group and comes back at the chosen button.
    ASSERT_TRUE(TabTo(main, id::Option1));
    EXPECT_EQ(PressFor(main, VK_DOWN, id::Option2), id::Option2);
    EXPECT_TRUE(Eventually([&] { return Entries(file1) == Lines{"res.pbo"}; }));
    EXPECT_EQ(PressFor(main, VK_UP, id::Option1), id::Option1);
    EXPECT_EQ(PressFor(main, VK_UP, id::Option3), id::Option3);
    EXPECT_TRUE(Eventually([&] { return IsWindowVisible(dir1) && Entries(file1).empty(); }));
    EXPECT_TRUE(Checked(main, id::Option3) && !Checked(main, id::Option1) && !Checked(main, id::Option2));
    EXPECT_EQ(PressFor(main, VK_TAB, id::Dir1), id::Dir1);
    EXPECT_EQ(PressFor(main, VK_TAB, id::Option3, true), id::Option3);
    // Enter in the folder list opens the folder picked there.
    EXPECT_EQ(PressFor(main, VK_TAB, id::Dir1), id::Dir1);
    for (const std::string sub : {"Res", "AddOns"}) {
        ASSERT_TRUE(Eventually([&] { return !Entries(dir1).empty() && Entries(dir1).back() == sub; })) << Text(dir1);
        Press(VK_END);
        Press(VK_RETURN);
    }
    EXPECT_TRUE(Eventually([&] { return Entries(file1) == Lines{"res.pbo"}; })) << Text(dir1);
    // A click of the mouse chooses as the arrows do.
    ClickAt(Control(main, id::Option1));
    EXPECT_TRUE(Eventually([&] { return Checked(main, id::Option1) && Entries(file1).size() == 3; }));

    // The comment box keeps Enter for a new line and lets Tab go on; Escape
    // there or anywhere else in the window ends nothing.
    ASSERT_TRUE(TabTo(main, id::File1));
    Press(VK_HOME);
    ASSERT_TRUE(Eventually([&] { return !Entries(list1).empty() && Entries(list1).front() == "jeep.pbo"; }));
    ASSERT_TRUE(TabTo(main, id::Text1));
    PressKeys("fast");
    Press(VK_RETURN);
    PressKeys("loud");
    EXPECT_TRUE(Eventually([&] { return Text(text1) == "fast\r\nloud"; })) << Text(text1);
    EXPECT_TRUE(Visible(main, id::Image3));
    Press(VK_ESCAPE);
    EXPECT_EQ(PressFor(main, VK_TAB, id::Save), id::Save);
    EXPECT_FALSE(varnex.WaitForExit(0).has_value());
    Press(VK_SPACE);
    EXPECT_TRUE(Eventually([&] { return Visible(main, id::Image2); }));
    Press(VK_ESCAPE);
    EXPECT_EQ(PressFor(main, VK_TAB, id::addonsize), id::addonsize);
    EXPECT_FALSE(varnex.WaitForExit(0).has_value());
    EXPECT_EQ(Text(text1), "fast\r\nloud");

    // Space on Deactivate moves the selected addon; the button hides itself
    // and the keyboard goes back to the active list, where a second Space
    // moves nothing.
    ASSERT_TRUE(TabTo(main, id::Command2));
    Press(VK_SPACE);
    EXPECT_TRUE(Eventually([&] { return !Visible(main, id::Command2) && Focus(main) == file1; }));
    Press(VK_SPACE);
    EXPECT_EQ(PressFor(main, VK_TAB, id::File2), id::File2);
    EXPECT_EQ(game.Names("ADDONS"), (Lines{"Comments.txt", "boat.pbx", "jeep.pbx", "tank.pbo", "tank.txt", longName}));

    // Enter in an addon list opens the information window; Escape closes
    // it from any field, and the main window has its keyboard back.
    ASSERT_TRUE(TabTo(main, id::File1));
    Press(VK_RETURN);
    const HWND info = varnex.Window("Addon Information");
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(Entries(list1).front(), "tank.pbo");
    EXPECT_EQ(Text(Control(info, id::InfoText1)), "\r\nT-80\r\nBMP\r\n") << "shown as lines on Windows too";
    ASSERT_TRUE(Eventually([&] { return GetForegroundWindow() == info; }));
    // Its six fields, round and back to the first.
    std::set<HWND> fields{Focus(info)};
    for (int press = 0; press < 6; ++press) fields.insert(Tab(info));
    EXPECT_EQ(fields.size(), std::size_t{6});
    Tab(info);
    Press(VK_ESCAPE);
    EXPECT_TRUE(Eventually([&] { return !IsWindowVisible(info); }));
    EXPECT_TRUE(Eventually([&] { return Focus(main) == file1; }));

    // Minimised and restored, the window has the keyboard where it was.
    ASSERT_TRUE(TabTo(main, id::Save));
    ShowWindow(main, SW_MINIMIZE);
    ShowWindow(main, SW_RESTORE);
    BringToFront(main);
    EXPECT_TRUE(Eventually([&] { return !IsIconic(main) && FocusId(main) == id::Save; })) << FocusId(main);

    // Alt+F4 still closes, but asks first about the saved comment, and
    // Enter, as Escape, answers No and keeps the window. Enter on Exit
    // writes the comment.
    for (const WORD key : {VK_RETURN, VK_ESCAPE}) {
        BringToFront(main);
        Press(VK_F4, {VK_MENU});
        const HWND box = varnex.Window("VARNX", "#32770");
        ASSERT_NE(box, nullptr) << key;
        EXPECT_EQ(Text(GetDlgItem(box, 0xFFFF)),
                  "1 saved comment is not written yet: comments are written only when you leave with Exit.\r\n\r\n"
                  "Close without writing it?");
        ASSERT_TRUE(Eventually([&] { return GetForegroundWindow() == box; })) << key;
        Press(key);
        EXPECT_TRUE(Eventually([&] { return !IsWindowVisible(box); })) << key;
        EXPECT_FALSE(varnex.WaitForExit(300).has_value()) << key;
    }
    BringToFront(main);
    ASSERT_TRUE(TabTo(main, id::Command4));
    Press(VK_RETURN);
    EXPECT_EQ(varnex.WaitForExit(), 0u);
    EXPECT_EQ(game.Read("ADDONS\\Comments.txt"), "//jeepfast\r\nloud");
}


// A player closes the information window with Escape and, out of habit,
// with Alt+F4 at once: the keys come before the program has taken the
// first, and the second reaches the main window once the information
// window is gone. The program stays, and the next click and Deactivate
// work, round after round; Alt+F4 pressed for the main window closes it.
TEST(Keyboard, AltF4AfterEscapeClosedTheInfoWindowKeepsTheProgram) {
    GameInstall game(true);
    Lines active;
    for (int i = 10; i < 60; ++i) {
        active.push_back("addon" + std::to_string(i));
        game.Write("ADDONS\\" + active.back() + ".pbo", "a");
        game.Write("ADDONS\\" + active.back() + ".txt", "/x/authorMe");
    }
    game.Write("ADDONS\\Comments.txt", "//addon10.pboOld");
    Varnex varnex;
    const HWND main = varnex.Window(kMainCaption);
    ASSERT_NE(main, nullptr);
    const HWND file1 = Control(main, id::File1), deactivate = Control(main, id::Command2);
    const POINT first{30, 6};  // inside the list's first entry
    const char* repeat = std::getenv("VARNEX_REPEAT");
    const int rounds = repeat ? std::atoi(repeat) : 12;
    ASSERT_LE(rounds, 50);
    for (int round = 0; round < rounds; ++round) {
        BringToFront(main);
        MouseClick(file1, first);
        MouseClick(file1, first);
        const HWND info = varnex.Window("Addon Information");
        ASSERT_NE(info, nullptr) << round;
        ASSERT_TRUE(Eventually([&] { return GetForegroundWindow() == info; })) << round;
        MouseClick(Control(info, id::InfoText1));
        Press(VK_ESCAPE);
        Press(VK_F4, {VK_MENU});
        EXPECT_TRUE(Eventually([&] { return !IsWindowVisible(info); })) << round;
        ASSERT_FALSE(varnex.WaitForExit(300).has_value()) << "the program ended in round " << round;
        WaitWhileBusy(main);
        EXPECT_EQ(BoxOf(main), nullptr);
        BringToFront(main);
        MouseClick(file1, first);
        ASSERT_TRUE(Eventually([&] { return IsWindowVisible(deactivate); })) << round;
        ClickAt(deactivate);
        const std::string off = "ADDONS\\" + active[static_cast<std::size_t>(round)] + ".pbx";
        ASSERT_TRUE(Eventually([&] { return !game.Read(off).empty(); })) << round;
    }
    WaitWhileBusy(main);
    BringToFront(main);
    Press(VK_F4, {VK_MENU});
    EXPECT_EQ(varnex.WaitForExit(), 0u);
    EXPECT_EQ(game.Read("ADDONS\\Comments.txt"), "//addon10.pboOld");
}

}  // namespace
}  // namespace varnex::e2e
