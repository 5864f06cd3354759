// The program as a player gets it: the varnex.exe unpacked from this build's
// zip, started under Wine, switches an addon, keeps a note through Exit and
// names the build's version in its version resource.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Driver.hpp"

namespace varnex::e2e {
namespace {

std::string VersionValue(const char* program, const char* name) {
    DWORD ignored = 0;
    std::vector<char> block(GetFileVersionInfoSizeA(program, &ignored));
    if (block.empty() || !GetFileVersionInfoA(program, 0, static_cast<DWORD>(block.size()), block.data()))
        return "<no version resource>";
    char* value = nullptr;
    UINT length = 0;
    const std::string key = std::string("\\StringFileInfo\\040904E4\\") + name;
    if (!VerQueryValueA(block.data(), key.c_str(), reinterpret_cast<void**>(&value), &length) || length == 0)
        return std::string("<no ") + name + ">";
    return std::string(value, length - 1);
}

TEST(Release, TheZippedProgramSwitchesAnAddonAndKeepsANote) {
    EXPECT_EQ(VersionValue(RELEASE_EXE, "FileVersion"), VARNEX_VERSION);
    EXPECT_EQ(VersionValue(RELEASE_EXE, "ProductVersion"), VARNEX_VERSION);

    GameInstall game(true);
    game.Write("ADDONS\\Tank.pbo", "addon");
    game.Write("ADDONS\\Jeep.pbx", "addon");
    Varnex varnex(RELEASE_EXE);
    const HWND main = varnex.Window(kMainCaption);
    ASSERT_NE(main, nullptr) << "no main window of " << RELEASE_EXE;
    const HWND file1 = Control(main, id::File1), file2 = Control(main, id::File2);
    EXPECT_EQ(Entries(file1), (Lines{"Tank.pbo"}));
    EXPECT_EQ(Entries(file2), (Lines{"Jeep.pbx"}));

    ClickEntry(file1, 0);
    Type(Control(main, id::Text1), "Desert camo");
    Click(Control(main, id::Save));
    Click(Control(main, id::Command2));
    EXPECT_EQ(Entries(file1), Lines{});
    EXPECT_EQ(Entries(file2), (Lines{"Jeep.pbx", "Tank.pbx"}));
    EXPECT_EQ(game.Names("ADDONS"), (Lines{"Comments.txt", "Jeep.pbx", "Tank.pbx"}));

    Post(Control(main, id::Command4));
    EXPECT_EQ(varnex.WaitForExit(), 0u);
    EXPECT_EQ(game.Read("ADDONS\\Comments.txt"), "//TankDesert camo");
}

}  // namespace
}  // namespace varnex::e2e
