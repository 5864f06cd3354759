// Systems whose code page cannot hold every name. On a Czech one (1250,
// LANG=cs_CZ.UTF-8) a Russian addon's name lists as "?????", and nothing the
// player does with it reaches the Latin addon of the same length; a Czech
// comment and a Russian "others" folder keep every byte through Exit. On a
// Japanese (932, ja_JP.UTF-8) and a Chinese one (936, zh_CN.UTF-8) the second
// byte of many letters is the backslash's: the game's folder and the "others"
// folder end in such a letter, addons carry them, and a session's switches,
// comments, lists and folder walks reach exactly the files chosen, byte for
// byte on the disk. Each system is a test entry of its own (tests/e2e).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <set>

#include "Driver.hpp"

namespace varnex::e2e {
namespace {

namespace fs = std::filesystem;
constexpr const wchar_t* kGameKey = L"SOFTWARE\\Codemasters\\Operation Flashpoint";

void SetValue(const wchar_t* name, const std::wstring& value) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kGameKey, 0, nullptr, 0, KEY_SET_VALUE | KEY_WOW64_32KEY, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

// The game's value as the wide registry call reads it.
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
    if (fs::is_directory(file)) return "<folder>";
    std::ifstream in(file, std::ios::binary);
    return in ? std::string(std::istreambuf_iterator<char>(in), {}) : "<missing>";
}

// What a folder holds, by the names as the disk spells them, read with the
// wide calls.
using Folder = std::map<std::wstring, std::string>;
Folder Files(const fs::path& folder) {
    Folder files;
    for (const auto& entry : fs::directory_iterator(folder)) files[entry.path().filename().wstring()] = Bytes(entry);
    return files;
}

// Clicks the entry of `list` that reads `text`.
bool Pick(HWND list, const std::string& text, WORD code = LBN_SELCHANGE) {
    const Lines entries = Entries(list);
    const auto found = std::find(entries.begin(), entries.end(), text);
    if (found != entries.end()) ClickEntry(list, static_cast<int>(found - entries.begin()), code);
    return found != entries.end();
}

const std::string kCzech =
    "P\xF8\xEDli\x9A \x9Elu\x9Dou\xE8k\xFD k\xF9\xF2 \xFAp\xECl \xEF\xE1\x62\x65lsk\xE9 \xF3\x64y";

// A Czech system with a Latin addon and a Russian one of the same length,
// and a Russian "others" folder: the program started on them.
class CodePage : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(GetACP(), 1250u) << "run with LANG=cs_CZ.UTF-8, the locale generated (tools/packages.sh)";
        game_.Write("ADDONS\\Tanks.pbx", "latin");
        game_.Write("ADDONS\\Comments.txt", "");
        // "Tanki", as long as "Tanks"
        ASSERT_TRUE(std::ofstream(addons_ / L"\u0422\u0430\u043D\u043A\u0438.pbx") << "cyrillic")
            << "Wine makes such names only in a UTF-8 locale";
        SetValue(L"VARNX", L"C:\\Hry\\\u041C\u043E\u0434\u044B");
        varnx_ = Value(L"VARNX");
        expected_ = Files(addons_);
        varnex_.emplace();
        main_ = varnex_->Window(kMainCaption);
        ASSERT_NE(main_, nullptr);
        file2_ = Control(main_, id::File2);
        ASSERT_EQ(Entries(file2_), (Lines{"?????.pbx", "Tanks.pbx"}));
    }

    // Exit, which writes the comments and keeps the Russian folder's value.
    void Exit() {
        Post(Control(main_, id::Command4));
        EXPECT_EQ(varnex_->WaitForExit(), 0u);
        EXPECT_EQ(Files(addons_), expected_);
        EXPECT_TRUE(Value(L"VARNX") == varnx_) << "VARNX was written over";
    }

    GameInstall game_{true};
    const fs::path addons_ = game_.Folder() + "\\ADDONS";  // a name of plain letters
    std::wstring varnx_;
    Folder expected_;
    std::optional<Varnex> varnex_;  // started once the game is written
    HWND main_ = nullptr, file2_ = nullptr;
};

TEST_F(CodePage, OnACzechSystemARussianNameReachesNoOtherFile) {
    const std::string leaves =
        "Varnex leaves ?????.pbx as it is: its name has letters that Windows' language setting "
        "for non-Unicode programs cannot show";
    for (const int command : {id::Command1, id::Command3}) {  // Delete, Activate: "?" would be a wildcard
        ClickEntry(file2_, 0);
        Post(Control(main_, command));
        EXPECT_EQ(varnex_->Answer().substr(0, leaves.size()), leaves) << command;
        EXPECT_EQ(Files(addons_), expected_) << command;
    }
    Exit();
}

TEST_F(CodePage, OnACzechSystemRussianLettersTypedAreNamedNotStored) {
    const HWND comment = Control(main_, id::Text1);
    ClickEntry(file2_, 1);
    SendMessageW(comment, EM_SETSEL, 0, -1);
    SendMessageW(comment, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"\u0422\u0430\u043D\u043A"));
    WaitWhileBusy(comment);
    Post(Control(main_, id::Save));
    EXPECT_NE(varnex_->Answer().find("(U+0422 U+0430 U+043D U+043A)"), std::string::npos);
    EXPECT_TRUE(Visible(main_, id::Image3)) << "the red dot stays";
    // A Czech comment keeps every byte through Exit.
    Type(comment, kCzech);
    Click(Control(main_, id::Save));
    expected_[L"Comments.txt"] = "//Tanks" + kCzech;
    Exit();
}

struct Scene {
    UINT codePage;
    std::wstring top, game, othersTop, others, sub;
    std::wstring off1, on1, commented, endsTwo;  // addons: two to switch, one to comment, one left alone
    std::wstring comment, list;
};

const Scene kJapanese{932,
                      L"C:\\\u30B2\u30FC\u30E0",  // C:\ゲーム
                      L"C:\\\u30B2\u30FC\u30E0\\\u8868",  // C:\ゲーム\表
                      L"C:\\\u30BD\u30D5\u30C8",  // C:\ソフト
                      L"C:\\\u30BD\u30D5\u30C8\\\u8868",  // C:\ソフト\表
                      L"\u5341",  // 十
                      L"\u30BD.pbx",  // ソ.pbx
                      L"\u8868.pbo",  // 表.pbo
                      L"\u80FD.pbx",  // 能.pbx
                      L"tank.pbo\u8868",  // tank.pbo表
                      L"\u65E5\u672C\u8A9E\u306E\u30E1\u30E2 \u8868\u30BD",  // 日本語のメモ 表ソ
                      L"C:\\\u30BD\u30D5\u30C8\\\u8868\\\u8868.txtf"};  // C:\ソフト\表\表.txtf
const Scene kChinese{936,
                     L"C:\\\u6E38\u620F",  // C:\游戏
                     L"C:\\\u6E38\u620F\\\u904B",  // C:\游戏\運
                     L"C:\\\u8F6F\u4EF6",  // C:\软件
                     L"C:\\\u8F6F\u4EF6\\\u8AA0",  // C:\软件\誠
                     L"\u904B",  // 運
                     L"\u8AA0.pbx",  // 誠.pbx
                     L"\u904B.pbo",  // 運.pbo
                     L"\u4E2D.pbx",  // 中.pbx
                     L"tank.pbo\u904B",  // tank.pbo運
                     L"\u4E2D\u6587\u8BF4\u660E \u904B\u8AA0",  // 中文说明 運誠
                     L"C:\\\u8F6F\u4EF6\\\u8AA0\\\u904B.txtf"};  // C:\软件\誠\運.txtf

std::set<std::string> Set(const Lines& lines) { return {lines.begin(), lines.end()}; }

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
std::wstring Off(const std::wstring& name) { return name.substr(0, name.size() - 1) + L"x"; }

// The game's folder and the "others" folder, each ending in a letter whose
// second byte is the backslash's, with addons named in the system's letters:
// the program started on them. Every test ends with Exit, and nothing may
// be made beside the folders the player chose.
class DoubleByte : public ::testing::TestWithParam<Scene> {
protected:
    void SetUp() override {
        ASSERT_EQ(GetACP(), s.codePage) << "run in the locale of this system, generated (tools/packages.sh)";
        ASSERT_EQ(a(s.game).back(), '\\');
        RemoveFolders();
        fs::create_directories(addons);
        fs::create_directories(fs::path(s.others) / s.sub);
        for (const auto& name : {s.off1, s.on1, s.commented, s.endsTwo}) std::ofstream(addons / name) << "x";
        std::ofstream(addons / L"Comments.txt");
        std::ofstream(fs::path(s.others) / L"mod.pbo") << "m";
        std::ofstream(fs::path(s.others) / s.sub / L"sub.pbx") << "s";
        SetValue(L"Main", s.game);
        SetValue(L"VARNX", s.others);
        Start();
        EXPECT_EQ(Set(Entries(file2)), (std::set<std::string>{a(s.off1), a(s.commented)}));
        EXPECT_EQ(Set(Entries(file1)), (std::set<std::string>{a(s.on1), a(s.endsTwo)}));
    }
    void TearDown() override {
        varnex.reset();
        EXPECT_EQ(Files(s.top), (Folder{{fs::path(s.game).filename().wstring(), "<folder>"}}))
            << "a folder made beside";
        EXPECT_EQ(Files(s.game), (Folder{{L"ADDONS", "<folder>"}}));
        RemoveFolders();
    }

    void Start() {
        varnex.emplace();
        main = varnex->Window(kMainCaption);
        ASSERT_NE(main, nullptr);
        file1 = Control(main, id::File1), file2 = Control(main, id::File2);
    }
    void Exit() {
        Post(Control(main, id::Command4));
        EXPECT_EQ(varnex->WaitForExit(), 0u);
    }
    void RemoveFolders() const {
        std::error_code ignored;
        for (const auto& top : {s.top, s.othersTop}) fs::remove_all(top, ignored);
    }
    static std::string a(const std::wstring& wide) { return Narrow(wide); }
    // The addons folder as Exit leaves it, with `changed` in place of the
    // names it replaces and the comments file holding `comments`.
    Folder Addons(const Folder& changed, const std::string& comments = "") const {
        Folder files{{s.off1, "x"}, {s.on1, "x"}, {s.commented, "x"}, {s.endsTwo, "x"}, {L"Comments.txt", comments}};
        for (const auto& [name, bytes] : changed) {
            files.erase(name.back() == L'o' ? Off(name) : On(name));
            files[name] = bytes;
        }
        return files;
    }

    const Scene& s = GetParam();
    const fs::path addons = s.game + L"\\ADDONS";
    GameInstall cleanKeys{false};  // the game's keys removed now and after the test
    std::optional<Varnex> varnex;
    HWND main = nullptr, file1 = nullptr, file2 = nullptr;
};

TEST_P(DoubleByte, SwitchesRenameOnlyTheAddonsChosen) {
    ASSERT_TRUE(Pick(file2, a(s.off1)));
    Click(Control(main, id::Command3));
    ASSERT_TRUE(Pick(file1, a(s.on1)));
    Click(Control(main, id::Command2));
    // Its last letter is two bytes: not switched, said why.
    ASSERT_TRUE(Pick(file1, a(s.endsTwo)));
    Post(Control(main, id::Command2));
    EXPECT_EQ(varnex->Answer().substr(0, 14 + a(s.endsTwo).size()), "Varnex leaves " + a(s.endsTwo));
    Exit();
    EXPECT_EQ(Files(addons), Addons({{On(s.off1), "x"}, {Off(s.on1), "x"}}));
}

TEST_P(DoubleByte, ACommentInTheSystemsLettersReadsBackAfterARestart) {
    ASSERT_TRUE(Pick(file2, a(s.commented)));
    Type(Control(main, id::Text1), a(s.comment));
    Click(Control(main, id::Save));
    Exit();
    const std::wstring stem = s.commented.substr(0, s.commented.size() - 4);
    EXPECT_EQ(Files(addons), Addons({}, "//" + a(stem) + a(s.comment)));
    Start();
    ASSERT_TRUE(Pick(file2, a(s.commented)));
    EXPECT_EQ(Text(Control(main, id::Text1)), a(s.comment));
    Exit();
}

TEST_P(DoubleByte, AListSavedInTheOthersFolderSwitchesBackWhatItNames) {
    ASSERT_TRUE(Pick(file2, a(s.off1)));
    Click(Control(main, id::Command3));
    ASSERT_TRUE(Pick(file1, a(s.on1)));
    Click(Control(main, id::Command2));
    // The name ending in a two-byte letter is not written to the list.
    Choose(main, id::SaveFavorits, s.list);
    EXPECT_EQ(varnex->Answer().substr(0, 11), "1 addon was");
    EXPECT_EQ(Bytes(s.list), a(s.off1) + " ");
    // Deactivate all, then the list switches back on what it names.
    Choose(main, id::LoadFavorits, s.list);
    const std::string leftAlone = "1 addon was left as it is: its name cannot be shown in this language setting.";
    EXPECT_EQ(varnex->Answer().substr(0, leftAlone.size()), leftAlone);
    EXPECT_EQ(Set(Entries(file1)), (std::set<std::string>{a(On(s.off1)), a(s.endsTwo)}));
    Exit();
    EXPECT_EQ(Files(addons), Addons({{On(s.off1), "x"}, {Off(s.on1), "x"}}));
}

TEST_P(DoubleByte, TheOthersFolderAndTheOneBelowListTheirOwnFiles) {
    Click(Control(main, id::Option3));
    EXPECT_EQ(Entries(file1), Lines{"mod.pbo"});
    ASSERT_TRUE(Pick(Control(main, id::Dir1), a(s.sub), LBN_DBLCLK));
    EXPECT_EQ(Entries(file2), Lines{"sub.pbx"});
    Exit();
    EXPECT_EQ(Value(L"VARNX"), s.others + L"\\" + s.sub);
    EXPECT_EQ(Files(addons), Addons({}));
}

// The systems' names are in the test names: each runs in its own locale.
std::string CodePageName(const ::testing::TestParamInfo<Scene>& info) {
    return "CodePage" + std::to_string(info.param.codePage);
}
INSTANTIATE_TEST_SUITE_P(OnAJapaneseSystem, DoubleByte, ::testing::Values(kJapanese), CodePageName);
INSTANTIATE_TEST_SUITE_P(OnAChineseSystem, DoubleByte, ::testing::Values(kChinese), CodePageName);

}  // namespace
}  // namespace varnex::e2e
