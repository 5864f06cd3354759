// The real program on a game installation made for each test, driven from
// outside through the automation IDs; files and registry checked after.
#include <gtest/gtest.h>

#include "Driver.hpp"

namespace varnex::e2e {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

// Twips to pixels on the virtual display, as the program converts them.
int Px(int twips) {
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return MulDiv(twips, dpi, 1440);
}

void ExpectPlace(HWND control, int left, int top, int width, int height) {
    const RECT place = ClientRect(control);
    EXPECT_EQ(place.left, Px(left));
    EXPECT_EQ(place.top, Px(top));
    EXPECT_EQ(place.right - place.left, Px(width));
    EXPECT_EQ(place.bottom - place.top, Px(height));
}

bool Visible(HWND main, int controlId) { return IsWindowVisible(Control(main, controlId)) != FALSE; }

const std::string kAddon(3000, 'x');  // 3 kb as the size line counts

// Fields of the standard open and save dialogs.
constexpr int kFileNameField = 0x47C;
constexpr int kFileTypeField = 0x470;

TEST(MainWindow, OpensOnTheGameFolderTakesClicksAndTypingAndClosingThroughTheFrameWritesNothing) {
    GameInstall game;
    game.Register(true);
    for (const char* name : {"Data.pbo", "O.pbo", "XMS.pbo", "tank.pbo", "Zulu.PBO", "Island.pbx", "m1.pbx.old",
                             "readme.txt", "folder.pbo\\inner.pbo"})
        game.Write(std::string("ADDONS\\") + name, kAddon);
    game.Write("ADDONS\\Comments.txt", "//tankFast");
    game.Write("Res\\AddOns\\Comments.txt", "");
    const auto before = game.Snapshot();

    Varnex varnex;
    const HWND main = varnex.WaitForWindow(kMainCaption);
    ASSERT_NE(main, nullptr);
    const HWND file1 = Control(main, id::File1), file2 = Control(main, id::File2);
    EXPECT_EQ(Entries(file1), (Lines{"Data.pbo", "O.pbo", "tank.pbo", "XMS.pbo", "Zulu.PBO"}));
    EXPECT_EQ(Entries(file2), (Lines{"Island.pbx", "m1.pbx.old"}));
    for (const int option : {id::Option1, id::Option2, id::Option3}) {
        EXPECT_TRUE(Visible(main, option)) << option;
        EXPECT_FALSE(Checked(Control(main, option))) << option;
    }
    EXPECT_FALSE(Visible(main, id::Dir1));
    EXPECT_TRUE(Visible(main, id::Image2));
    EXPECT_FALSE(Visible(main, id::Image3));
    EXPECT_EQ(Text(Control(main, id::Text1)), "Varnex\r\nv.0.98b\r\n");
    EXPECT_EQ(Text(Control(main, id::Command3)), "<---  Activate ---");
    EXPECT_EQ(Text(Control(main, id::Command1)), " Delete inactive addon ");
    for (const int list : {id::List1, id::addonsize, id::foldersize})
        EXPECT_TRUE(Entries(Control(main, list)).empty()) << list;

    // The fixed layout in twips, at the display's DPI; controls may sit in
    // their frames, places are measured in the window's client area.
    RECT client{};
    GetClientRect(main, &client);
    EXPECT_EQ(client.right, Px(10305));
    EXPECT_EQ(client.bottom, Px(8865));
    ExpectPlace(Control(main, id::File), 120, 0, 4095, 7695);
    ExpectPlace(Control(main, id::Option3), 4440, 1080, 255, 255);
    ExpectPlace(Control(main, id::Dir1), 4440, 1320, 2055, 1440);

    // The keyboard starts in the active list; Tab leads to the inactive one.
    EXPECT_TRUE(Eventually([&] { return Focus(varnex.ThreadId()) == file1; }));
    PostMessageW(file1, WM_KEYDOWN, VK_TAB, 0);
    EXPECT_TRUE(Eventually([&] { return Focus(varnex.ThreadId()) == file2; }));

    // A click on an addon shows its details and its stored comment.
    ClickEntry(file1, 2);
    EXPECT_EQ(Entries(Control(main, id::List1)), (Lines{"tank.pbo", "", "Size:  3kb"}));
    EXPECT_EQ(Text(Control(main, id::Text1)), "Fast");
    EXPECT_TRUE(Visible(main, id::Command2));
    EXPECT_FALSE(Visible(main, id::Command3));
    EXPECT_TRUE(Visible(main, id::Image2));

    // Typing counts as an edit not yet saved: the red dot replaces the green.
    Type(Control(main, id::Text1), "Slow");
    EXPECT_TRUE(Visible(main, id::Image3));
    EXPECT_FALSE(Visible(main, id::Image2));

    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(varnex.WaitForExit(), 0u);
    EXPECT_EQ(game.Snapshot(), before);
    EXPECT_FALSE(game.GameValue("VARNX").has_value());
}

TEST(MainWindow, WithoutTheGameItSaysSoAndEndsHavingWrittenNothing) {
    for (const char* registered : {static_cast<const char*>(nullptr), "C:"}) {
        SCOPED_TRACE(registered ? registered : "no game key");
        GameInstall game;
        if (registered) game.SetGameValue("Main", registered);
        const bool driveHadAddons = fs::exists("C:\\ADDONS");

        Varnex varnex;
        const HWND box = varnex.WaitForWindow("VARNX", "#32770");
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(BoxText(box), "Cannot find OFP");
        EXPECT_EQ(varnex.FindWindowNow(kMainCaption), nullptr);
        PressOk(box);
        EXPECT_EQ(varnex.WaitForExit(), 0u);

        EXPECT_EQ(game.GameKeyExists(), registered != nullptr);
        EXPECT_EQ(game.GameValueCount(), registered ? 1 : 0);
        EXPECT_TRUE(game.Snapshot().empty());
        EXPECT_EQ(fs::exists("C:\\ADDONS"), driveHadAddons);
    }
}

TEST(MainWindow, WithoutTheExpansionItsChoiceIsHiddenAndOtherFoldersAreWalkedInTheFolderList) {
    GameInstall game;
    game.Register(false);
    game.Write("ADDONS\\tank.pbo", kAddon);

    Varnex varnex;
    const HWND main = varnex.WaitForWindow(kMainCaption);
    ASSERT_NE(main, nullptr);
    const HWND option1 = Control(main, id::Option1), option2 = Control(main, id::Option2),
               option3 = Control(main, id::Option3), dir1 = Control(main, id::Dir1), file1 = Control(main, id::File1);
    EXPECT_FALSE(IsWindowVisible(option2));
    EXPECT_TRUE(Visible(main, id::Label3));
    EXPECT_EQ(Text(Control(main, id::Label3)), "OFP:R/Addons");
    Click(option2);  // a hidden button cannot be clicked
    EXPECT_FALSE(Checked(option2));

    // "others" starts in the game folder itself, which holds no addon.
    Click(option3);
    EXPECT_TRUE(Checked(option3));
    EXPECT_FALSE(Checked(option1));
    EXPECT_TRUE(IsWindowVisible(dir1));
    EXPECT_EQ(Text(dir1), game.Folder());
    const Lines lines = Entries(dir1);
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines.front(), "C:\\");
    EXPECT_EQ(lines[lines.size() - 2], "OFP");
    EXPECT_EQ(lines.back(), "ADDONS");
    EXPECT_TRUE(Entries(file1).empty());

    // A double click walks into a folder; the list stays, as does the choice.
    DoubleClickEntry(dir1, static_cast<int>(lines.size()) - 1);
    EXPECT_EQ(Entries(file1), (Lines{"tank.pbo"}));
    EXPECT_EQ(Entries(dir1).back(), "ADDONS");
    EXPECT_TRUE(IsWindowVisible(dir1));
    EXPECT_TRUE(Checked(option3));

    Click(option1);
    EXPECT_TRUE(Checked(option1));
    EXPECT_FALSE(Checked(option3));
    EXPECT_FALSE(IsWindowVisible(dir1));
    EXPECT_EQ(Entries(file1), (Lines{"tank.pbo"}));

    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(varnex.WaitForExit(), 0u);
    EXPECT_FALSE(fs::exists(game.Folder() + "\\Res"));
    EXPECT_FALSE(game.GameValue("VARNX").has_value());
}

TEST(MainWindow, NoHandlerStartsWhileABoxIsUpAndTheWindowBehindItIsCurrent) {
    GameInstall game;
    game.Register(false);
    game.Write("ADDONS\\Island.pbx", kAddon);

    Varnex varnex;
    const HWND main = varnex.WaitForWindow(kMainCaption);
    ASSERT_NE(main, nullptr);
    const HWND file1 = Control(main, id::File1), file2 = Control(main, id::File2);
    game.Write("ADDONS\\Zulu.pbx", kAddon);

    // Deleting with no inactive addon selected re-reads the lists, then
    // says so in a box.
    PostMessageW(Control(main, id::Command1), BM_CLICK, 0, 0);
    const HWND box = varnex.WaitForWindow("VARNX", "#32770");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(BoxText(box), "No addon selected");
    EXPECT_EQ(Entries(file2), (Lines{"Island.pbx", "Zulu.pbx"}));

    // Input meanwhile starts nothing: not "Activate all", not a click.
    Click(Control(main, id::Command6));
    ClickEntry(file2, 0);
    EXPECT_TRUE(fs::exists(game.Folder() + "\\ADDONS\\Island.pbx"));
    EXPECT_TRUE(Entries(Control(main, id::List1)).empty());

    PressOk(box);
    ASSERT_TRUE(Eventually([&] { return varnex.FindWindowNow("VARNX", "#32770") == nullptr; }));
    EXPECT_EQ(SendMessageW(file2, LB_GETCURSEL, 0, 0), LB_ERR);

    // Afterwards the same button works.
    Click(Control(main, id::Command6));
    EXPECT_EQ(Entries(file1), (Lines{"Island.pbo", "Zulu.pbo"}));
    EXPECT_TRUE(Entries(file2).empty());
}

TEST(MainWindow, FavoritesMenuSavesAndLoadsListsThroughTheStandardDialogs) {
    GameInstall game;
    game.Register(false);
    for (const char* name : {"O.pbo", "tank.pbo", "jeep.pbo", "boat.pbx"}) game.Write(std::string("ADDONS\\") + name, kAddon);
    const std::string list = game.Folder() + "\\mine.txtf";

    Varnex varnex;
    const HWND main = varnex.WaitForWindow(kMainCaption);
    ASSERT_NE(main, nullptr);
    // The dialogs are modal: the menu item is posted, not sent.
    const auto choose = [&](int item, const char* caption) {
        PostMessageW(main, WM_COMMAND, MAKEWPARAM(item, 0), 0);
        const HWND dialog = varnex.WaitForWindow(caption, "#32770");
        ASSERT_NE(dialog, nullptr) << caption;
        EXPECT_NE(Text(Control(dialog, kFileTypeField)).find("Favorits (*.txtf)"), std::string::npos);
        SendMessageW(Control(dialog, kFileNameField), WM_SETTEXT, 0,
                     reinterpret_cast<LPARAM>(std::wstring(list.begin(), list.end()).c_str()));
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        ASSERT_TRUE(Eventually([&] { return varnex.FindWindowNow(caption, "#32770") == nullptr; }));
    };

    choose(1202, "Save As");
    ASSERT_TRUE(Eventually([&] { return fs::exists(list); }));
    EXPECT_EQ(game.Read("mine.txtf"), "jeep.pbx tank.pbx ");

    game.Write("mine.txtf", "boat.pbx ");
    choose(1201, "Open");
    const HWND file1 = Control(main, id::File1);
    EXPECT_TRUE(Eventually([&] { return Entries(file1) == Lines{"boat.pbo", "O.pbo"}; }));
    EXPECT_EQ(Entries(Control(main, id::File2)), (Lines{"jeep.pbx", "tank.pbx"}));
}

TEST(InformationWindow, ShowsTheCompanionFileReloadsAfterClosingAndOutlivesTheMainWindow) {
    GameInstall game;
    game.Register(false);
    game.Write("ADDONS\\m1tank.pbo", kAddon);
    game.Write("ADDONS\\m1tank.txt", "/x/units\r\nM1A1 tank\r\n/x/authorBIS/x/version1.2");

    Varnex varnex;
    const HWND main = varnex.WaitForWindow(kMainCaption);
    ASSERT_NE(main, nullptr);
    const HWND file1 = Control(main, id::File1);
    EXPECT_EQ(varnex.FindWindowNow(kInfoCaption), nullptr);

    DoubleClickEntry(file1, 0);
    const HWND info = varnex.FindWindowNow(kInfoCaption);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(Text(Control(info, id::InfoText1)), "\r\nM1A1 tank\r\n");
    EXPECT_EQ(Text(Control(info, id::InfoText4)), "BIS");
    EXPECT_EQ(Text(Control(info, id::InfoText5)), "1.2");
    EXPECT_EQ(Entries(Control(main, id::List1)).front(), "m1tank.pbo");

    // Closed through its frame, it is loaded anew by the next double click.
    SendMessageW(info, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindowVisible(info));
    game.Write("ADDONS\\m1tank.txt", "/x/authorSomeone");
    DoubleClickEntry(file1, 0);
    EXPECT_TRUE(IsWindowVisible(info));
    EXPECT_EQ(Text(Control(info, id::InfoText4)), "Someone");
    EXPECT_EQ(Text(Control(info, id::InfoText1)), "No entry");

    // The program runs on while one of its windows is open.
    SendMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(main));
    EXPECT_FALSE(varnex.WaitForExit(300).has_value());
    PostMessageW(info, WM_CLOSE, 0, 0);
    EXPECT_EQ(varnex.WaitForExit(), 0u);
    EXPECT_FALSE(game.GameValue("VARNX").has_value());
}

}  // namespace
}  // namespace varnex::e2e
