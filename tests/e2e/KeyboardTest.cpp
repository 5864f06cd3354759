// The program worked from the keyboard alone, with the system's own key
// presses and mouse clicks: Tab round every control, Escape that closes
// nothing by mistake, the option group as one tab stop with its arrows,
// Enter in the lists, the keyboard kept across a minimise and a switch of
// windows, and the names a screen reader reads.
#include <gtest/gtest.h>

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

// Presses Tab until the control has the keyboard.
bool TabTo(HWND main, int control) {
    for (int presses = 0; presses < 20 && FocusId(main) != control; ++presses) {
        const HWND before = Focus(main);
        Press(VK_TAB);
        Eventually([&] { return Focus(main) != before; }, 2000);
    }
    return FocusId(main) == control;
}

TEST(Keyboard, TabGoesRoundEscapeClosesNothingAndAMovedAddonKeepsTheKeyboardInItsList) {
    GameInstall game(true, true);
    for (const char* name : {"jeep.pbo", "tank.pbo", "boat.pbx"}) game.Write(std::string("ADDONS\\") + name, "a");
    game.Write("ADDONS\\Comments.txt", "");
    game.Write("Res\\AddOns\\Comments.txt", "");
    // Its author ended the lines the Unix and the old Mac way.
    game.Write("ADDONS\\tank.txt", "/x/units\nT-80\rBMP\r\n/x/info");

    Varnex varnex;
    const HWND main = varnex.Window(kMainCaption);
    ASSERT_NE(main, nullptr);
    const HWND file1 = Control(main, id::File1), text1 = Control(main, id::Text1), list1 = Control(main, id::List1);
    EXPECT_EQ(Text(text1) + Text(Control(main, id::Command3)), "Varnex\r\nv.0.98b\r\n<---  Activate ---");
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
    // option group is one stop, at its chosen button.
    const std::vector<int> stops = {id::File1,     id::File2,      id::Option1, id::Command2, id::Command6,
                                    id::Command5,  id::Command1,   id::List1,   id::Text1,    id::Save,
                                    id::addonsize, id::foldersize, id::Command4};
    std::vector<int> expected(stops.begin() + 1, stops.end()), reached;
    expected.push_back(stops.front());
    for (const int next : expected) reached.push_back(PressFor(main, VK_TAB, next));
    EXPECT_EQ(reached, expected);
    expected.assign(stops.rbegin(), stops.rend());
    reached.clear();
    for (const int next : expected) reached.push_back(PressFor(main, VK_TAB, next, true));
    EXPECT_EQ(reached, expected);

    // The comment box keeps Enter for a new line and lets Tab go on; Escape
    // there or anywhere else in the window ends nothing.
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
    ASSERT_TRUE(TabTo(main, id::File1));
    ASSERT_EQ(Entries(list1).front(), "jeep.pbo");
    ASSERT_TRUE(TabTo(main, id::Command2));
    Press(VK_SPACE);
    EXPECT_TRUE(Eventually([&] { return !Visible(main, id::Command2) && Focus(main) == file1; }));
    Press(VK_SPACE);
    EXPECT_EQ(PressFor(main, VK_TAB, id::File2), id::File2);
    EXPECT_EQ(game.Names("ADDONS"), (Lines{"Comments.txt", "boat.pbx", "jeep.pbx", "tank.pbo", "tank.txt"}));
    EXPECT_EQ(std::pair(Entries(Control(main, id::addonsize)), Entries(Control(main, id::foldersize))),
              std::pair(Lines{" 1 kb"}, Lines{" 3 kb"}));

    // Enter in an addon list opens the information window; Escape closes
    // it from any field, and the main window has its keyboard back.
    ASSERT_TRUE(TabTo(main, id::File1));
    Press(VK_RETURN);
    const HWND info = varnex.Window("Addon Information");
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(Entries(list1).front(), "tank.pbo");
    EXPECT_EQ(Text(Control(info, id::InfoText1)), "\r\nT-80\r\nBMP\r\n") << "shown as lines on Windows too";
    EXPECT_EQ(game.Read("ADDONS\\tank.txt"), "/x/units\nT-80\rBMP\r\n/x/info");
    ASSERT_TRUE(Eventually([&] { return GetForegroundWindow() == info; }));
    // Its six fields, round and back to the first.
    const HWND first = Focus(info);
    std::set<HWND> fields;
    for (int press = 0; press < 6; ++press) {
        const HWND before = Focus(info);
        fields.insert(before);
        Press(VK_TAB);
        Eventually([&] { return Focus(info) != before; }, 2000);
    }
    EXPECT_EQ(std::pair(fields.size(), Focus(info)), std::pair(std::size_t{6}, first));
    Press(VK_TAB);
    Press(VK_ESCAPE);
    EXPECT_TRUE(Eventually([&] { return !IsWindowVisible(info); }));
    EXPECT_TRUE(Eventually([&] { return Focus(main) == file1; }));

    // Minimised and restored, the window has the keyboard where it was.
    ASSERT_TRUE(TabTo(main, id::Save));
    ShowWindow(main, SW_MINIMIZE);
    ASSERT_TRUE(Eventually([&] { return IsIconic(main) != FALSE; }));
    ShowWindow(main, SW_RESTORE);
    BringToFront(main);
    ASSERT_TRUE(Eventually([&] { return !IsIconic(main); }));
    EXPECT_TRUE(Eventually([&] { return FocusId(main) == id::Save; })) << FocusId(main);

    // Enter on Exit writes the comment typed before the Escapes.
    ASSERT_TRUE(TabTo(main, id::Command4));
    Press(VK_RETURN);
    EXPECT_EQ(varnex.WaitForExit(), 0u);
    EXPECT_EQ(game.Read("ADDONS\\Comments.txt"), "//jeepfast\r\nloud");
}

TEST(Keyboard, TheOptionGroupIsOneTabStopItsArrowsChooseEnterOpensAFolderReadersHearTheLabelsAndAltF4StillCloses) {
    GameInstall game(true, true);
    const std::string longName(200, 'w');
    game.Write("ADDONS\\" + longName + ".pbo", "a");
    game.Write("ADDONS\\jeep.pbo", "a");
    game.Write("ADDONS\\boat.pbx", "a");
    game.Write("Res\\AddOns\\res.pbo", "r");

    Varnex varnex;
    const HWND main = varnex.Window(kMainCaption);
    ASSERT_NE(main, nullptr);
    const HWND file1 = Control(main, id::File1), file2 = Control(main, id::File2), dir1 = Control(main, id::Dir1),
               list1 = Control(main, id::List1);

    // What a screen reader reads: the labels beside the option buttons, and
    // what the dots mean; the lists and boxes by their frames' captions.
    // The option buttons themselves show no text.
    EXPECT_EQ((Lines{AccessibleName(Control(main, id::Option1)), AccessibleName(Control(main, id::Option2)),
                     AccessibleName(Control(main, id::Option3)), AccessibleName(Control(main, id::Image2)),
                     AccessibleName(Control(main, id::Image3))}),
              (Lines{"OFP/Addons", "OFP:R/Addons", "others", "Comment saved", "Comment changed, not saved"}));
    Lines framed;
    for (const int control : {id::File1, id::File2, id::Dir1, id::List1, id::Text1, id::addonsize, id::foldersize})
        framed.push_back(AccessibleName(Control(main, control)));
    EXPECT_EQ(framed, (Lines{"Active Addons", "Inactive Addons", "Addon Folder", "Information", "Comment",
                             "Size of active addons", "Size of folder"}));
    EXPECT_EQ(Text(Control(main, id::Option1)) + Text(Control(main, id::Option2)) + Text(Control(main, id::Option3)),
              "");

    // A name wider than its list can be scrolled to; a list of short names
    // has nothing to scroll.
    const auto scrolls = [](HWND list) {  // wider than its list, and a scroll bar
        RECT client{};
        GetClientRect(list, &client);
        return std::to_string(SendMessageW(list, LB_GETHORIZONTALEXTENT, 0, 0) > client.right) +
               std::to_string((GetWindowLongW(list, GWL_STYLE) & WS_HSCROLL) != 0);
    };
    EXPECT_EQ(scrolls(file1) + scrolls(file2), "1100");

    // Tab reaches the group at its first button, which stays unchosen: the
    // addon picked before stays shown.
    BringToFront(main);
    ASSERT_TRUE(Eventually([&] { return Focus(main) == file1; }));
    Press(VK_DOWN);
    ASSERT_TRUE(Eventually([&] { return !Entries(list1).empty() && Entries(list1).front() == "jeep.pbo"; }));
    ASSERT_TRUE(TabTo(main, id::Option1));
    EXPECT_EQ(PressFor(main, VK_TAB, id::Command2), id::Command2);
    EXPECT_EQ(PressFor(main, VK_TAB, id::Option1, true), id::Option1);
    EXPECT_FALSE(Checked(main, id::Option1));
    EXPECT_EQ(Entries(list1).front(), "jeep.pbo");

    // The arrows choose the next folder round the group, as a click would.
    const auto chosen = [&] {
        return std::vector<bool>{Checked(main, id::Option1), Checked(main, id::Option2), Checked(main, id::Option3)};
    };
    EXPECT_EQ(PressFor(main, VK_DOWN, id::Option2), id::Option2);
    EXPECT_TRUE(Eventually([&] { return Entries(file1) == Lines{"res.pbo"}; }));
    EXPECT_EQ(chosen(), (std::vector<bool>{false, true, false}));
    EXPECT_EQ(PressFor(main, VK_RIGHT, id::Option3), id::Option3);
    EXPECT_TRUE(Eventually([&] { return IsWindowVisible(dir1) != FALSE; }));
    EXPECT_EQ(chosen(), (std::vector<bool>{false, false, true}));
    EXPECT_TRUE(Entries(file1).empty());
    EXPECT_EQ(PressFor(main, VK_DOWN, id::Option1), id::Option1);
    EXPECT_TRUE(Eventually([&] { return Entries(file1).size() == 2; }));
    EXPECT_FALSE(IsWindowVisible(dir1));
    EXPECT_EQ(PressFor(main, VK_UP, id::Option3), id::Option3);
    EXPECT_TRUE(Eventually([&] { return IsWindowVisible(dir1) != FALSE; }));
    EXPECT_EQ(chosen(), (std::vector<bool>{false, false, true}));

    // Leaving and coming back by Tab lands on the chosen button.
    EXPECT_EQ(PressFor(main, VK_TAB, id::Dir1), id::Dir1);
    EXPECT_EQ(PressFor(main, VK_TAB, id::Option3, true), id::Option3);

    // Enter in the folder list opens the folder picked there.
    EXPECT_EQ(PressFor(main, VK_TAB, id::Dir1), id::Dir1);
    ASSERT_EQ(Text(dir1), game.Folder());
    ASSERT_EQ(Entries(dir1).back(), "Res");
    Press(VK_END);
    Press(VK_RETURN);
    EXPECT_TRUE(Eventually([&] { return Text(dir1) == game.Folder() + "\\Res"; })) << Text(dir1);
    ASSERT_EQ(Entries(dir1).back(), "AddOns");
    Press(VK_END);
    Press(VK_RETURN);
    EXPECT_TRUE(Eventually([&] { return Entries(file1) == Lines{"res.pbo"}; }));

    // A click of the mouse chooses as the arrows do.
    ClickAt(Control(main, id::Option1));
    EXPECT_TRUE(Eventually([&] { return Checked(main, id::Option1); }));
    EXPECT_TRUE(Eventually([&] { return Entries(file1).size() == 2; }));
    EXPECT_EQ(Focus(main), Control(main, id::Option1));

    // Alt+F4 still closes: the information window, then the main window,
    // which asks first and writes nothing, not even the comment saved last.
    const auto before = game.Snapshot();
    ClickAt(file1);
    Press(VK_RETURN);
    const HWND info = varnex.Window("Addon Information");
    ASSERT_NE(info, nullptr);
    ASSERT_TRUE(Eventually([&] { return GetForegroundWindow() == info; }));
    Press(VK_F4, {VK_MENU});
    EXPECT_TRUE(Eventually([&] { return !IsWindowVisible(info); }));
    EXPECT_FALSE(varnex.WaitForExit(300).has_value());
    Type(Control(main, id::Text1), "Slow");
    Click(Control(main, id::Save));
    ASSERT_TRUE(Eventually([&] { return GetForegroundWindow() == main; }));
    Press(VK_F4, {VK_MENU});
    EXPECT_NE(varnex.Answer("VARNX", IDYES).find("Close without writing them?"), std::string::npos);
    EXPECT_EQ(varnex.WaitForExit(), 0u);
    EXPECT_EQ(game.Snapshot(), before);
    EXPECT_FALSE(game.GameValue("VARNX").has_value());
}

}  // namespace
}  // namespace varnex::e2e
