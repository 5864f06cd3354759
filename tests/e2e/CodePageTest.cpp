// A Czech system (code page 1250; the test runs with LANG=cs_CZ.UTF-8): a
// Russian addon's name lists as "?????", and nothing the player does with it
// reaches the Latin addon of the same length; a Czech comment and a Russian
// "others" folder keep every byte through Exit.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "Driver.hpp"

namespace varnex::e2e {
namespace {

const std::string kCzech =
    "P\xF8\xEDli\x9A \x9Elu\x9Dou\xE8k\xFD k\xF9\xF2 \xFAp\xECl \xEF\xE1\x62\x65lsk\xE9 \xF3\x64y";
const std::wstring kRussianAddon = L"\u0422\u0430\u043D\u043A\u0438.pbx";  // "Tanki", as long as "Tanks"
const std::wstring kRussianFolder = L"C:\\Hry\\\u041C\u043E\u0434\u044B";
constexpr const wchar_t* kGameKey = L"SOFTWARE\\Codemasters\\Operation Flashpoint";

// The game's VARNX value as the wide registry call reads it, NUL and all.
std::wstring Varnx() {
    HKEY key = nullptr;
    wchar_t value[256] = {};
    DWORD size = sizeof value - sizeof(wchar_t);
    const bool read = RegOpenKeyExW(HKEY_LOCAL_MACHINE, kGameKey, 0, KEY_READ | KEY_WOW64_32KEY, &key) == 0 &&
                      RegQueryValueExW(key, L"VARNX", nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size) == 0;
    RegCloseKey(key);
    return read ? std::wstring(value, size / sizeof(wchar_t)) : L"<none>";
}

// The addon folder's names and contents, read with the wide calls.
std::map<std::wstring, std::string> Folder(const std::filesystem::path& folder) {
    std::map<std::wstring, std::string> files;
    for (const auto& file : std::filesystem::directory_iterator(folder)) {
        std::ifstream in(file.path(), std::ios::binary);
        files[file.path().filename().wstring()] = std::string(std::istreambuf_iterator<char>(in), {});
    }
    return files;
}

TEST(CodePage, OnACzechSystemARussianNameReachesNoOtherFileWhileCzechTextsAndARussianFolderKeepTheirBytes) {
    ASSERT_EQ(GetACP(), 1250u) << "run with LANG=cs_CZ.UTF-8, the locale generated (tools/packages.sh)";
    GameInstall game(true);
    game.Write("ADDONS\\Tanks.pbx", "latin");
    game.Write("ADDONS\\Comments.txt", "");
    const std::filesystem::path addons = game.Folder() + "\\ADDONS";  // a name of plain letters
    ASSERT_TRUE(std::ofstream(addons / kRussianAddon) << "cyrillic") << "Wine makes such names only in a UTF-8 locale";
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, kGameKey, 0, KEY_SET_VALUE | KEY_WOW64_32KEY, &key), ERROR_SUCCESS);
    RegSetValueExW(key, L"VARNX", 0, REG_SZ, reinterpret_cast<const BYTE*>(kRussianFolder.c_str()),
                   static_cast<DWORD>((kRussianFolder.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    const std::wstring varnx = Varnx();
    const auto before = Folder(addons);
    const std::string leaves =
        "Varnex leaves ?????.pbx as it is: its name has letters that Windows' language setting "
        "for non-Unicode programs cannot show";
    {
        Varnex varnex;
        const HWND main = varnex.Window(kMainCaption);
        ASSERT_NE(main, nullptr);
        const HWND file2 = Control(main, id::File2), comment = Control(main, id::Text1);
        ASSERT_EQ(Entries(file2), (Lines{"?????.pbx", "Tanks.pbx"}));
        for (const int command : {id::Command1, id::Command3}) {  // Delete, Activate: "?" would be a wildcard
            ClickEntry(file2, 0);
            Post(Control(main, command));
            EXPECT_EQ(varnex.Answer().substr(0, leaves.size()), leaves) << command;
            EXPECT_EQ(Folder(addons), before) << command;
        }
        // Russian letters typed into a Czech comment are named, not stored.
        ClickEntry(file2, 1);
        SendMessageW(comment, EM_SETSEL, 0, -1);
        SendMessageW(comment, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"\u0422\u0430\u043D\u043A"));
        WaitWhileBusy(comment);
        Post(Control(main, id::Save));
        EXPECT_NE(varnex.Answer().find("(U+0422 U+0430 U+043D U+043A)"), std::string::npos);
        EXPECT_TRUE(Visible(main, id::Image3)) << "the red dot stays";
        Type(comment, kCzech);
        Click(Control(main, id::Save));
        Post(Control(main, id::Command4));
        EXPECT_EQ(varnex.WaitForExit(), 0u);
    }
    EXPECT_EQ(game.Read("ADDONS\\Comments.txt"), "//Tanks" + kCzech);
    EXPECT_TRUE(Varnx() == varnx) << "VARNX was written over";
    auto after = Folder(addons);
    after[L"Comments.txt"] = "";  // checked above
    EXPECT_TRUE(after == before) << "the addons are as they were";
}

}  // namespace
}  // namespace varnex::e2e
