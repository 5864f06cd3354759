// One walk through the program's main paths in a 32-bit Wine prefix, where
// many players keep the game: start-up on the game's registry keys, an addon
// switched each way, a comment saved, a favorites list saved and loaded
// through the real dialogs, an addon deleted into the trash, and Exit
// writing the comments file and the remembered folder. A 32-bit system has
// one registry view: the game's keys and VARNX are where the game's
// installer put them, with no Wow6432Node.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "Driver.hpp"

namespace varnex::e2e {
namespace {

namespace fs = std::filesystem;

// Clicks the entry of `list` that reads `text`.
bool Pick(HWND list, const std::string& text, WORD code = LBN_SELCHANGE) {
    const Lines entries = Entries(list);
    const auto found = std::find(entries.begin(), entries.end(), text);
    if (found == entries.end()) return false;
    ClickEntry(list, static_cast<int>(found - entries.begin()), code);
    return true;
}

bool SixtyFourBitSystem() {
    SYSTEM_INFO system{};
    GetNativeSystemInfo(&system);
    return system.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64;
}

// A value of the game's key as the 64-bit view, or a 32-bit system's only
// view, sees it under `software`.
std::optional<std::string> RawGameValue(const char* software, const char* name) {
    const std::string path = std::string(software) + "\\Codemasters\\Operation Flashpoint";
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, &key) != ERROR_SUCCESS)
        return std::nullopt;
    char value[1024] = {};
    DWORD size = sizeof value - 1;
    const bool found = RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size) == 0;
    RegCloseKey(key);
    return found ? std::optional<std::string>(value) : std::nullopt;
}

TEST(ThirtyTwoBitPrefix, StartSwitchCommentFavoritesDeleteAndExitAsInAGamesOwnPrefix) {
    ASSERT_FALSE(SixtyFourBitSystem()) << "this walk belongs in a 32-bit prefix";
    const fs::path trash = TrashWithout("tank.pbx");
    ASSERT_FALSE(trash.empty()) << "XDG_DATA_HOME names no Unix folder";

    GameInstall game(true);
    for (const char* name : {"Data.pbo", "tank.pbo", "jeep.pbx", "heli.pbx"})
        game.Write(std::string("ADDONS\\") + name, std::string(2048, 'a'));
    game.Write("ADDONS\\Comments.txt", "//heliLoud");
    game.Write("Maps\\readme.txt", "");
    const std::string folder = game.Folder(), favorites = folder + "\\set.txtf";
    // The key the test made is the one a 32-bit installer makes: no
    // Wow6432Node on a 32-bit system.
    EXPECT_EQ(RawGameValue("SOFTWARE", "Main"), folder);
    EXPECT_EQ(RawGameValue("SOFTWARE\\Wow6432Node", "Main"), std::nullopt);
    {
        Varnex varnex;
        const HWND main = varnex.Window(kMainCaption);
        ASSERT_NE(main, nullptr) << "varnex.exe did not start in the 32-bit prefix";
        const HWND file1 = Control(main, id::File1), file2 = Control(main, id::File2), text1 = Control(main, id::Text1),
                   dir1 = Control(main, id::Dir1);
        EXPECT_EQ(Entries(file1), (Lines{"Data.pbo", "tank.pbo"}));
        EXPECT_EQ(Entries(file2), (Lines{"heli.pbx", "jeep.pbx"}));

        // One addon off, one on.
        ASSERT_TRUE(Pick(file1, "tank.pbo"));
        Click(Control(main, id::Command2));
        ASSERT_TRUE(Pick(file2, "jeep.pbx"));
        Click(Control(main, id::Command3));
        EXPECT_EQ(game.Names("ADDONS"), (Lines{"Comments.txt", "Data.pbo", "heli.pbx", "jeep.pbo", "tank.pbx"}));
        EXPECT_EQ(Entries(file1), (Lines{"Data.pbo", "jeep.pbo"}));

        // A comment typed and saved; the file is written only at Exit.
        ASSERT_TRUE(Pick(file1, "jeep.pbo"));
        EXPECT_EQ(Text(text1), "");
        Type(text1, "Fast in the desert");
        Click(Control(main, id::Save));
        ASSERT_TRUE(Pick(file2, "heli.pbx"));
        EXPECT_EQ(Text(text1), "Loud");
        ASSERT_TRUE(Pick(file1, "jeep.pbo"));
        EXPECT_EQ(Text(text1), "Fast in the desert");
        EXPECT_EQ(game.Read("ADDONS\\Comments.txt"), "//heliLoud");

        // The favorites saved through the Save As dialog, another addon
        // switched on, and the list loaded through the Open dialog.
        EXPECT_EQ(varnex.ChooseFile(id::SaveFavorits, "Save As", favorites), "Favorits (*.txtf)");
        EXPECT_EQ(game.Read("set.txtf"), "jeep.pbx ");
        ASSERT_TRUE(Pick(file2, "heli.pbx"));
        Click(Control(main, id::Command3));
        EXPECT_EQ(Entries(file1), (Lines{"Data.pbo", "heli.pbo", "jeep.pbo"}));
        EXPECT_EQ(varnex.ChooseFile(id::LoadFavorits, "Open", favorites), "Favorits (*.txtf)");
        EXPECT_EQ(Entries(file1), (Lines{"Data.pbo", "jeep.pbo"}));
        EXPECT_EQ(game.Names("ADDONS"), (Lines{"Comments.txt", "Data.pbo", "heli.pbx", "jeep.pbo", "tank.pbx"}));

        // An inactive addon deleted through the shell's confirmation: into
        // the trash, whole.
        ASSERT_TRUE(Pick(file2, "tank.pbx"));
        Post(Control(main, id::Command1));
        varnex.Answer("Confirm file deletion", IDYES);
        EXPECT_EQ(Entries(file2), (Lines{"heli.pbx"}));
        EXPECT_EQ(fs::file_size(trash / "files" / "tank.pbx"), 2048u);

        // A folder of "others" chosen, back to the game, and Exit.
        Click(Control(main, id::Option3));
        ASSERT_TRUE(Pick(dir1, "Maps", LBN_DBLCLK));
        EXPECT_EQ(Text(dir1), folder + "\\Maps");
        Click(Control(main, id::Option1));
        Post(Control(main, id::Command4));
        EXPECT_EQ(varnex.WaitForExit(), 0u);
    }
    EXPECT_EQ(game.Read("ADDONS\\Comments.txt"), "//heliLoud//jeepFast in the desert");
    EXPECT_EQ(game.GameValue("VARNX"), folder + "\\Maps");
    EXPECT_EQ(RawGameValue("SOFTWARE", "VARNX"), folder + "\\Maps");
    EXPECT_EQ(RawGameValue("SOFTWARE\\Wow6432Node", "VARNX"), std::nullopt);
    EXPECT_EQ(game.Names("ADDONS"), (Lines{"Comments.txt", "Data.pbo", "heli.pbx", "jeep.pbo"}));

    fs::remove(trash / "files" / "tank.pbx");
    fs::remove(trash / "info" / "tank.pbx.trashinfo");
}

}  // namespace
}  // namespace varnex::e2e
