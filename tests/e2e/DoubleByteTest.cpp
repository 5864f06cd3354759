// A Japanese system (code page 932, LANG=ja_JP.UTF-8) and a Chinese one
// (936, zh_CN.UTF-8), where the second byte of many letters is the
// backslash's: the game's folder and the "others" folder end in such a
// letter, addons carry them, and a session's switches, comments, lists and
// folder walks reach exactly the files chosen, byte for byte on the disk.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "Driver.hpp"

namespace varnex::e2e {
namespace {

namespace fs = std::filesystem;
constexpr const wchar_t* kGameKey = L"SOFTWARE\\Codemasters\\Operation Flashpoint";

struct Scene {
    UINT codePage;
    std::wstring top, game, othersTop, others, sub;
    std::wstring off1, on1, commented, endsTwo;  // addons: two to switch, one to comment, one left alone
    std::wstring comment, list;
};

const Scene kJapanese{932,
                      L"C:\\\u30B2\u30FC\u30E0",           // C:\ゲーム
                      L"C:\\\u30B2\u30FC\u30E0\\\u8868",   // C:\ゲーム\表
                      L"C:\\\u30BD\u30D5\u30C8",           // C:\ソフト
                      L"C:\\\u30BD\u30D5\u30C8\\\u8868",   // C:\ソフト\表
                      L"\u5341",                           // 十
                      L"\u30BD.pbx",                       // ソ.pbx
                      L"\u8868.pbo",                       // 表.pbo
                      L"\u80FD.pbx",                       // 能.pbx
                      L"tank.pbo\u8868",                   // tank.pbo表
                      L"\u65E5\u672C\u8A9E\u306E\u30E1\u30E2 \u8868\u30BD",  // 日本語のメモ 表ソ
                      L"C:\\\u30BD\u30D5\u30C8\\\u8868\\\u8868.txtf"};  // C:\ソフト\表\表.txtf
const Scene kChinese{936,
                     L"C:\\\u6E38\u620F",               // C:\游戏
                     L"C:\\\u6E38\u620F\\\u904B",       // C:\游戏\運
                     L"C:\\\u8F6F\u4EF6",               // C:\软件
                     L"C:\\\u8F6F\u4EF6\\\u8AA0",       // C:\软件\誠
                     L"\u904B",                         // 運
                     L"\u8AA0.pbx",                     // 誠.pbx
                     L"\u904B.pbo",                     // 運.pbo
                     L"\u4E2D.pbx",                     // 中.pbx
                     L"tank.pbo\u904B",                 // tank.pbo運
                     L"\u4E2D\u6587\u8BF4\u660E \u904B\u8AA0",  // 中文说明 運誠
                     L"C:\\\u8F6F\u4EF6\\\u8AA0\\\u904B.txtf"};  // C:\软件\誠\運.txtf

void SetValue(const wchar_t* name, const std::wstring& value) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kGameKey, 0, nullptr, 0, KEY_SET_VALUE | KEY_WOW64_32KEY, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

std::wstring Value(const wchar_t* name) {
    HKEY key = nullptr;
    wchar_t value[512] = {};
    DWORD size = sizeof value - sizeof(wchar_t);
    const bool read = RegOpenKeyExW(HKEY_LOCAL_MACHINE, kGameKey, 0, KEY_READ | KEY_WOW64_32KEY, &key) == 0 &&
                      RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size) == 0;
    RegCloseKey(key);
    return read ? std::wstring(value) : L"<none>";
}

std::string Bytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return in ? std::string(std::istreambuf_iterator<char>(in), {}) : "<missing>";
}

// The names in `folder`, in the code page.
std::set<std::string> Names(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.insert(Narrow(entry.path().filename().wstring()));
    return names;
}

std::set<std::string> Set(const Lines& lines) { return {lines.begin(), lines.end()}; }

// Clicks the entry of `list` that reads `text`.
bool Pick(HWND list, const std::string& text, WORD code = LBN_SELCHANGE) {
    const Lines entries = Entries(list);
    const auto found = std::find(entries.begin(), entries.end(), text);
    if (found != entries.end()) ClickEntry(list, static_cast<int>(found - entries.begin()), code);
    return found != entries.end();
}

// Opens the file dialog of `menuItem`, enters `path` and presses OK. Found
// by its class: on these systems Wine shows its dialogs' captions in the
// system's language.
void Choose(HWND main, int menuItem, const std::wstring& path) {
    PostMessageW(main, WM_COMMAND, MAKEWPARAM(menuItem, 0), 0);
    HWND dialog = nullptr;
    ASSERT_TRUE(Eventually([&] { return (dialog = BoxOf(main)) != nullptr; }, 10000));
    constexpr int kFileNameField = 0x47C;
    ASSERT_TRUE(Eventually([&] { return Control(dialog, kFileNameField) != nullptr; }));
    SendMessageW(Control(dialog, kFileNameField), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    Eventually([&] { return !IsWindowVisible(dialog); });
    WaitWhileBusy(main);
}

std::wstring On(const std::wstring& name) { return name.substr(0, name.size() - 1) + L"o"; }

void RunSession(const Scene& s) {
    ASSERT_EQ(GetACP(), s.codePage) << "run in the locale of this system, generated (tools/packages.sh)";
    const auto a = [](const std::wstring& wide) { return Narrow(wide); };
    // A letter whose second byte is the backslash's ends the game's folder.
    ASSERT_EQ(a(s.game).back(), '\\');
    std::error_code ignored;
    for (const auto& top : {s.top, s.othersTop}) fs::remove_all(top, ignored);
    const fs::path addons = s.game + L"\\ADDONS";
    fs::create_directories(addons);
    fs::create_directories(fs::path(s.others) / s.sub);
    for (const auto& name : {s.off1, s.on1, s.commented, s.endsTwo}) std::ofstream(addons / name) << "x";
    std::ofstream(addons / L"Comments.txt");
    std::ofstream(fs::path(s.others) / L"mod.pbo") << "m";
    std::ofstream(fs::path(s.others) / s.sub / L"sub.pbx") << "s";
    GameInstall cleanKeys(false);  // the game's keys removed now and after the test
    SetValue(L"Main", s.game);
    SetValue(L"VARNX", s.others);
    const std::wstring& list = s.list;
    const std::string leftAlone = "1 addon was left as it is: its name cannot be shown in this language setting.";
    {
        Varnex varnex;
        const HWND main = varnex.Window(kMainCaption);
        ASSERT_NE(main, nullptr);
        const HWND file1 = Control(main, id::File1), file2 = Control(main, id::File2), text1 = Control(main, id::Text1);
        EXPECT_EQ(Set(Entries(file2)), (std::set<std::string>{a(s.off1), a(s.commented)}));
        EXPECT_EQ(Set(Entries(file1)), (std::set<std::string>{a(s.on1), a(s.endsTwo)}));
        ASSERT_TRUE(Pick(file2, a(s.off1)));
        Click(Control(main, id::Command3));
        ASSERT_TRUE(Pick(file1, a(s.on1)));
        Click(Control(main, id::Command2));
        // Its last letter is two bytes: not switched, said why.
        ASSERT_TRUE(Pick(file1, a(s.endsTwo)));
        Post(Control(main, id::Command2));
        EXPECT_EQ(varnex.Answer().substr(0, 14 + a(s.endsTwo).size()), "Varnex leaves " + a(s.endsTwo));
        // A comment in the system's letters.
        ASSERT_TRUE(Pick(file2, a(s.commented)));
        Type(text1, a(s.comment));
        Click(Control(main, id::Save));
        // The list of active addons, in the "others" folder.
        Choose(main, id::SaveFavorits, list);
        EXPECT_EQ(varnex.Answer().substr(0, 11), "1 addon was");
        // "others": the folder ending in such a letter lists its own files,
        // and the folder list enters the one below it.
        Click(Control(main, id::Option3));
        EXPECT_EQ(Entries(file1), Lines{"mod.pbo"});
        ASSERT_TRUE(Pick(Control(main, id::Dir1), a(s.sub), LBN_DBLCLK));
        EXPECT_EQ(Entries(file2), Lines{"sub.pbx"});
        Click(Control(main, id::Option1));
        // Deactivate all, then the list switches back on what it names.
        Choose(main, id::LoadFavorits, list);
        EXPECT_EQ(varnex.Answer().substr(0, leftAlone.size()), leftAlone);
        EXPECT_EQ(Set(Entries(file1)), (std::set<std::string>{a(On(s.off1)), a(s.endsTwo)}));
        Post(Control(main, id::Command4));
        EXPECT_EQ(varnex.WaitForExit(), 0u);
    }
    // Every byte on the disk as the session left it, nothing made beside.
    const std::wstring stem = s.commented.substr(0, s.commented.size() - 4);
    EXPECT_EQ(Bytes(addons / L"Comments.txt"), "//" + a(stem) + a(s.comment));
    EXPECT_EQ(Bytes(list), a(s.off1) + " ");
    const std::wstring on = On(s.off1), off = s.on1.substr(0, s.on1.size() - 1) + L"x";
    EXPECT_EQ(Names(s.top), std::set<std::string>{a(fs::path(s.game).filename().wstring())}) << "a folder made beside";
    EXPECT_EQ(Names(s.game), std::set<std::string>{"ADDONS"});
    EXPECT_EQ(Names(addons), (std::set<std::string>{a(on), a(off), a(s.commented), a(s.endsTwo), "Comments.txt"}));
    EXPECT_EQ(Value(L"VARNX"), s.others + L"\\" + s.sub);
    // The comment reads back after a restart.
    {
        Varnex varnex;
        const HWND main = varnex.Window(kMainCaption);
        ASSERT_NE(main, nullptr);
        ASSERT_TRUE(Pick(Control(main, id::File2), a(s.commented)));
        EXPECT_EQ(Text(Control(main, id::Text1)), a(s.comment));
        Post(Control(main, id::Command4));
        EXPECT_EQ(varnex.WaitForExit(), 0u);
    }
    for (const auto& top : {s.top, s.othersTop}) fs::remove_all(top, ignored);
}

TEST(DoubleByte, OnAJapaneseSystemASessionReachesExactlyTheFilesChosenAndKeepsEveryByte) { RunSession(kJapanese); }

TEST(DoubleByte, OnAChineseSystemASessionReachesExactlyTheFilesChosenAndKeepsEveryByte) { RunSession(kChinese); }

}  // namespace
}  // namespace varnex::e2e
