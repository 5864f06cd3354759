// The program worked from the keyboard alone, with the system's own key
// presses and mouse clicks: Tab round every control, Escape that closes
// nothing by mistake, the option group as one tab stop with its arrows,
// Enter in the lists, the keyboard kept across a minimise and a switch of
// windows, and the names a screen reader reads.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
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

// A game of three short names and one wider than its list, and the
// program started on it with the keyboard in the active list.
class KeysAlone : public ::testing::Test {
protected:
    void SetUp() override {
        for (const std::string name : {"jeep.pbo", "tank.pbo", "boat.pbx", "Comments.txt", longName_.c_str()})
            game_.Write("ADDONS\\" + name, name == "Comments.txt" ? "" : "a");
        game_.Write("Res\\AddOns\\Comments.txt", "");
        game_.Write("Res\\AddOns\\res.pbo", "r");
        // Its author ended the lines the Unix and the old Mac way.
        game_.Write("ADDONS\\tank.txt", "/x/units\nT-80\rBMP\r\n/x/info");
        varnex_.emplace();
        main_ = varnex_->Window(kMainCaption);
        ASSERT_NE(main_, nullptr);
        file1_ = Control(main_, id::File1);
        text1_ = Control(main_, id::Text1);
        list1_ = Control(main_, id::List1);
        BringToFront(main_);
        ASSERT_TRUE(Eventually([&] { return Focus(main_) == file1_; }));
    }

    // The first active addon chosen from the keyboard, its information shown.
    void ChooseJeep() {
        ASSERT_TRUE(TabTo(main_, id::File1));
        Press(VK_HOME);
        ASSERT_TRUE(Eventually([&] { return !Entries(list1_).empty() && Entries(list1_).front() == "jeep.pbo"; }));
    }

    // "fast", Enter, "loud" typed into the comment box of the chosen addon.
    void TypeTwoLines() {
        ASSERT_TRUE(TabTo(main_, id::Text1));
        PressKeys("fast");
        Press(VK_RETURN);
        PressKeys("loud");
        ASSERT_TRUE(Eventually([&] { return Text(text1_) == "fast\r\nloud"; })) << Text(text1_);
    }

    const std::string longName_ = std::string(200, 'w') + ".pbo";
    GameInstall game_{true, true};
    std::optional<Varnex> varnex_;  // started once the game is written
    HWND main_ = nullptr, file1_ = nullptr, text1_ = nullptr, list1_ = nullptr;
};

// The labels beside the option buttons, which show no text, and what the
// dots mean; the lists and boxes by their frames' captions.
TEST_F(KeysAlone, ScreenReadersHearEveryControlByItsLabel) {
    Lines names;
    for (const int control : {id::Option1, id::Option2, id::Option3, id::Image2, id::Image3, id::File1, id::File2,
                              id::Dir1, id::List1, id::Text1, id::addonsize, id::foldersize})
        names.push_back(AccessibleName(Control(main_, control)));
    EXPECT_EQ(names, (Lines{"OFP/Addons", "OFP:R/Addons", "others", "Comment saved", "Comment changed, not saved",
                            "Active Addons", "Inactive Addons", "Addon Folder", "Information", "Comment",
                            "Size of active addons", "Size of folder"}));
    // A name wider than its list can be scrolled to; a list of short names
    // has nothing to scroll.
    const auto scrolls = [](HWND list) { return (GetWindowLongW(list, GWL_STYLE) & WS_HSCROLL) != 0; };
    EXPECT_TRUE(scrolls(file1_) && !scrolls(Control(main_, id::File2)));
}

// With an active addon chosen, neither Activate nor the folder list is
// shown, and the option group is one stop, at its first button, which stays
// unchosen.
TEST_F(KeysAlone, TabGoesRoundEveryShownControlBothWays) {
    // A box answered, the keyboard is back on the button that opened it.
    ASSERT_TRUE(TabTo(main_, id::Command1));
    Press(VK_SPACE);
    EXPECT_EQ(varnex_->Answer(), "No addon selected");
    EXPECT_TRUE(Eventually([&] { return FocusId(main_) == id::Command1; })) << FocusId(main_);
    ChooseJeep();
    const std::vector<int> stops = {id::File1,     id::File2,      id::Option1,  id::Command2, id::Command6,
                                    id::Command5,  id::Command1,   id::List1,    id::Text1,    id::Save,
                                    id::addonsize, id::foldersize, id::Command4, id::File1};
    for (const bool back : {false, true}) {
        std::vector<int> expected(stops.begin() + 1, stops.end()), reached;
        if (back) expected.assign(stops.rbegin() + 1, stops.rend());
        for (const int next : expected) reached.push_back(PressFor(main_, VK_TAB, next, back));
        EXPECT_EQ(reached, expected) << (back ? "with Shift" : "");
    }
    EXPECT_TRUE(!Checked(main_, id::Option1) && Entries(list1_).front() == "jeep.pbo");
}

// The arrows choose the next folder round the group, as a click would; Tab
// leaves the group and comes back at the chosen button; Enter in the folder
// list opens the folder picked there.
TEST_F(KeysAlone, ArrowsChooseTheFolderAndEnterOpensOneBelow) {
    const HWND dir1 = Control(main_, id::Dir1);
    ASSERT_TRUE(TabTo(main_, id::Option1));
    EXPECT_EQ(PressFor(main_, VK_DOWN, id::Option2), id::Option2);
    EXPECT_TRUE(Eventually([&] { return Entries(file1_) == Lines{"res.pbo"}; }));
    EXPECT_EQ(PressFor(main_, VK_UP, id::Option1), id::Option1);
    EXPECT_EQ(PressFor(main_, VK_UP, id::Option3), id::Option3);
    EXPECT_TRUE(Eventually([&] { return IsWindowVisible(dir1) && Entries(file1_).empty(); }));
    EXPECT_TRUE(Checked(main_, id::Option3) && !Checked(main_, id::Option1) && !Checked(main_, id::Option2));
    EXPECT_EQ(PressFor(main_, VK_TAB, id::Dir1), id::Dir1);
    EXPECT_EQ(PressFor(main_, VK_TAB, id::Option3, true), id::Option3);
    EXPECT_EQ(PressFor(main_, VK_TAB, id::Dir1), id::Dir1);
    for (const std::string sub : {"Res", "AddOns"}) {
        ASSERT_TRUE(Eventually([&] { return !Entries(dir1).empty() && Entries(dir1).back() == sub; })) << Text(dir1);
        Press(VK_END);
        Press(VK_RETURN);
    }
    EXPECT_TRUE(Eventually([&] { return Entries(file1_) == Lines{"res.pbo"}; })) << Text(dir1);
    // A click of the mouse chooses as the arrows do.
    ClickAt(Control(main_, id::Option1));
    EXPECT_TRUE(Eventually([&] { return Checked(main_, id::Option1) && Entries(file1_).size() == 3; }));
}

// The comment box keeps Enter for a new line and lets Tab go on; Escape
// there or anywhere else in the window ends nothing.
TEST_F(KeysAlone, TheCommentBoxKeepsEnterAndEscapeEndsNothing) {
    ChooseJeep();
    TypeTwoLines();
    EXPECT_TRUE(Visible(main_, id::Image3));
    Press(VK_ESCAPE);
    EXPECT_EQ(PressFor(main_, VK_TAB, id::Save), id::Save);
    EXPECT_FALSE(varnex_->WaitForExit(0).has_value());
    Press(VK_SPACE);
    EXPECT_TRUE(Eventually([&] { return Visible(main_, id::Image2); }));
    Press(VK_ESCAPE);
    EXPECT_EQ(PressFor(main_, VK_TAB, id::addonsize), id::addonsize);
    EXPECT_FALSE(varnex_->WaitForExit(0).has_value());
    EXPECT_EQ(Text(text1_), "fast\r\nloud");
}

// The button hides itself and the keyboard goes back to the active list,
// where a second Space moves nothing.
TEST_F(KeysAlone, SpaceOnDeactivateMovesTheChosenAddonOnce) {
    ChooseJeep();
    ASSERT_TRUE(TabTo(main_, id::Command2));
    Press(VK_SPACE);
    EXPECT_TRUE(Eventually([&] { return !Visible(main_, id::Command2) && Focus(main_) == file1_; }));
    Press(VK_SPACE);
    EXPECT_EQ(PressFor(main_, VK_TAB, id::File2), id::File2);
    EXPECT_EQ(game_.Names("ADDONS"),
              (Lines{"Comments.txt", "boat.pbx", "jeep.pbx", "tank.pbo", "tank.txt", longName_}));
}

// Escape closes it from any field, and the main window has its keyboard
// back.
TEST_F(KeysAlone, EnterInAListOpensTheInformationWindow) {
    ChooseJeep();
    Press(VK_DOWN);
    ASSERT_TRUE(Eventually([&] { return !Entries(list1_).empty() && Entries(list1_).front() == "tank.pbo"; }));
    Press(VK_RETURN);
    const HWND info = varnex_->Window("Addon Information");
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(Text(Control(info, id::InfoText1)), "\r\nT-80\r\nBMP\r\n") << "shown as lines on Windows too";
    ASSERT_TRUE(Eventually([&] { return GetForegroundWindow() == info; }));
    // Its six fields, round and back to the first.
    std::set<HWND> fields{Focus(info)};
    for (int press = 0; press < 6; ++press) fields.insert(Tab(info));
    EXPECT_EQ(fields.size(), std::size_t{6});
    Tab(info);
    Press(VK_ESCAPE);
    EXPECT_TRUE(Eventually([&] { return !IsWindowVisible(info); }));
    EXPECT_TRUE(Eventually([&] { return Focus(main_) == file1_; }));
}

TEST_F(KeysAlone, MinimisedAndRestoredTheKeyboardStaysWhereItWas) {
    ASSERT_TRUE(TabTo(main_, id::Save));
    ShowWindow(main_, SW_MINIMIZE);
    ShowWindow(main_, SW_RESTORE);
    BringToFront(main_);
    EXPECT_TRUE(Eventually([&] { return !IsIconic(main_) && FocusId(main_) == id::Save; })) << FocusId(main_);
}

// Alt+F4 still closes, but asks first about the saved comment, and Enter,
// as Escape, answers No and keeps the window. Enter on Exit writes the
// comment.
TEST_F(KeysAlone, AltF4AsksAboutASavedCommentAndEnterOnExitWritesIt) {
    ChooseJeep();
    TypeTwoLines();
    ASSERT_TRUE(TabTo(main_, id::Save));
    Press(VK_SPACE);
    ASSERT_TRUE(Eventually([&] { return Visible(main_, id::Image2); }));
    for (const WORD key : {VK_RETURN, VK_ESCAPE}) {
        BringToFront(main_);
        Press(VK_F4, {VK_MENU});
        const HWND box = varnex_->Window("VARNX", "#32770");
        ASSERT_NE(box, nullptr) << key;
        EXPECT_EQ(Text(GetDlgItem(box, 0xFFFF)),
                  "1 saved comment is not written yet: comments are written only when you leave with Exit.\r\n\r\n"
                  "Close without writing it?");
        ASSERT_TRUE(Eventually([&] { return GetForegroundWindow() == box; })) << key;
        Press(key);
        EXPECT_TRUE(Eventually([&] { return !IsWindowVisible(box); })) << key;
        EXPECT_FALSE(varnex_->WaitForExit(300).has_value()) << key;
    }
    BringToFront(main_);
    ASSERT_TRUE(TabTo(main_, id::Command4));
    Press(VK_RETURN);
    EXPECT_EQ(varnex_->WaitForExit(), 0u);
    EXPECT_EQ(game_.Read("ADDONS\\Comments.txt"), "//jeepfast\r\nloud");
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
