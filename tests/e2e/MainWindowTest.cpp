// The real program without the game: one box, and an end that wrote nothing.
// With the game holding addons open: one box for a whole walk. Closing through
// the frame with saved comments unwritten: a question first. A folder a list
// was saved in is not kept open.
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
    EXPECT_TRUE(!game.GameKeyExists() && game.Snapshot().empty());
    EXPECT_EQ(std::filesystem::exists("C:\\ADDONS"), driveHadAddons);
}

TEST(MainWindow, HeldFilesAreToldInOneBoxAndClosingAsksFirst) {
    GameInstall game(true);
    game.Write("ADDONS\\Comments.txt", "//freeOld");
    game.Write("ADDONS\\free.pbo", "addon");
    game.Write("ADDONS\\Weekend.txtf", "free.pbx held1.pbx ");
    // Five addons held open as the game holds them: others may read them,
    // not rename or delete them.
    std::vector<HANDLE> held;
    for (int i = 1; i <= 5; ++i) {
        const std::string name = std::string("ADDONS\\held").append(std::to_string(i)).append(".pbo");
        game.Write(name, "addon");
        held.push_back(CreateFileA((game.Folder() + "\\" + name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                   OPEN_EXISTING, 0, nullptr));
    }
    Varnex varnex;
    const HWND main = varnex.Window(kMainCaption), file1 = Control(main, id::File1), text1 = Control(main, id::Text1);
    ASSERT_NE(main, nullptr);
    // Load List's "Deactivate all" cannot rename the five: one box at the
    // end says so, and free.pbo is back on.
    varnex.ChooseFile(id::LoadFavorits, "Open", game.Folder() + "\\ADDONS\\Weekend.txtf");
    const std::string told = varnex.Answer();
    EXPECT_TRUE(told.starts_with("5 addons were left as they were:") && told.ends_with("Is the game running?") &&
                told.find("held5.pbo: the file is in use by another program") != std::string::npos)
        << told;
    WaitWhileBusy(main);
    EXPECT_EQ(BoxOf(main), nullptr) << "one box for the whole walk";
    for (const HANDLE file : held) CloseHandle(file);
    EXPECT_EQ(Entries(file1), (Lines{"free.pbo", "held1.pbo", "held2.pbo", "held3.pbo", "held4.pbo", "held5.pbo"}));

    // A comment saved: the system menu's Close asks, and No keeps the window.
    ClickEntry(file1, 0);
    ASSERT_EQ(Text(text1), "Old");
    Type(text1, "New");
    Click(Control(main, id::Save));
    PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(varnex.Answer("VARNX", IDNO),
              "1 saved comment is not written yet: comments are written only when you leave with Exit.\r\n\r\n"
              "Close without writing it?");
    EXPECT_FALSE(varnex.WaitForExit(300).has_value());
    // Windows ending its session is not held up by a question.
    DWORD_PTR answer = 0;
    EXPECT_TRUE(SendMessageTimeoutW(main, WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer) && answer);
    EXPECT_EQ(BoxOf(main), nullptr);
    // The close box asks too; Yes closes, and nothing is written.
    BringToFront(main);
    ClickCloseBox(main);
    EXPECT_NE(varnex.Answer("VARNX", IDYES).find("Close without writing it?"), std::string::npos);
    EXPECT_EQ(varnex.WaitForExit(), 0u);
    EXPECT_EQ(game.Read("ADDONS\\Comments.txt"), "//freeOld");
}

// The open and save dialogs make the folder they show the program's current
// folder, which keeps it open: a USB stick could not be ejected.
TEST(MainWindow, TheFavoritesDialogsKeepNoFolderOpen) {
    GameInstall game(true);
    const std::string stick = game.Folder() + "\\Stick", list = stick + "\\Weekend.txtf";
    ASSERT_TRUE(CreateDirectoryA(stick.c_str(), nullptr));
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Codemasters\\Operation Flashpoint", 0,
                            KEY_SET_VALUE | KEY_WOW64_32KEY, &key),
              ERROR_SUCCESS);
    RegSetValueExA(key, "VARNX", 0, REG_SZ, reinterpret_cast<const BYTE*>(stick.c_str()),
                   static_cast<DWORD>(stick.size() + 1));
    RegCloseKey(key);
    Varnex varnex;
    const HWND main = varnex.Window(kMainCaption);
    ASSERT_NE(main, nullptr);
    Click(Control(main, id::Option3));  // the stick's folder, where both dialogs start
    varnex.ChooseFile(id::SaveFavorits, "Save As", list);
    ASSERT_TRUE(std::filesystem::exists(list));
    varnex.ChooseFile(id::LoadFavorits, "Open", list);
    EXPECT_TRUE(DeleteFileA(list.c_str()) && RemoveDirectoryA(stick.c_str())) << GetLastError();
    SendMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(varnex.WaitForExit(), 0u);
}

}  // namespace
}  // namespace varnex::e2e
