// Everything a whole session of Varnex writes: the drive, the recycle bin
// and the registry are listed with a checksum of every file and value before
// and after a run through every feature, and any difference that is not one
// of the few the player asked for fails.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <map>
#include <regex>

#include "Driver.hpp"

namespace varnex::e2e {
namespace {

namespace fs = std::filesystem;

// Every file and registry value by its path, with an FNV-1a 64 checksum of
// its bytes (and type); folders, links and keys with a small number.
using Listing = std::map<std::string, std::uint64_t>;

std::uint64_t Fnv1a(const void* data, std::size_t size, std::uint64_t hash = 14695981039346656037ull) {
    for (std::size_t i = 0; i < size; ++i)
        hash = (hash ^ static_cast<const unsigned char*>(data)[i]) * 1099511628211ull;
    return hash;
}

// Names as UTF-8: every name keeps its own key, whatever the code page.
std::string Utf8(const std::wstring& wide) { return Narrow(wide, CP_UTF8); }

std::uint64_t FileSum(const std::wstring& path) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;  // unreadable
    std::uint64_t sum = Fnv1a(nullptr, 0);
    static std::vector<char> buffer(1 << 20);
    for (DWORD got = 0; ReadFile(file, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr) && got > 0;)
        sum = Fnv1a(buffer.data(), got, sum);
    CloseHandle(file);
    return sum;
}

// Every folder and file below `folder`, by `label` and the path below it.
// Links are listed but not followed: the ones Wine puts in a drive lead to
// the host's home folder, which is no part of it.
void ListFiles(const std::wstring& folder, const std::string& label, Listing& listing) {
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileExW((folder + L"\\*").c_str(), FindExInfoBasic, &found, FindExSearchNameMatch,
                                           nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const std::wstring name = found.cFileName, path = folder + L"\\" + name;
        const std::string key = label + "\\" + Utf8(name);
        const DWORD kind = found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT);
        if (name == L"." || name == L"..") continue;
        if (kind == FILE_ATTRIBUTE_DIRECTORY) ListFiles(path, key, listing);
        listing[key] = kind ? kind : FileSum(path);
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

// The registry as the wineserver holds it now: every key, and every value
// with its type and data, by path. Read live rather than from the prefix's
// .reg files, which the server writes only now and then and when it ends,
// and whose timestamps change on every save.
void ListKeys(HKEY parent, const std::wstring& name, const std::string& label, Listing& listing) {
    HKEY key = nullptr;
    listing[label + "\\"] = RegOpenKeyExW(parent, name.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, &key) != 0;
    if (!key) return;
    // Shared by every level: each name is taken before the next call fills them.
    static std::wstring text(16384, L'\0');  // the longest name a key or value may have
    static std::vector<BYTE> data(1 << 20);
    for (DWORD i = 0;; ++i) {
        DWORD nameSize = static_cast<DWORD>(text.size()), size = static_cast<DWORD>(data.size()), type = 0;
        const LONG got = RegEnumValueW(key, i, text.data(), &nameSize, nullptr, &type, data.data(), &size);
        if (got != ERROR_SUCCESS && got != ERROR_MORE_DATA) break;
        listing[label + " : " + (nameSize ? Utf8(text.substr(0, nameSize)) : "@")] =
            got ? 2 : Fnv1a(data.data(), size, Fnv1a(&type, sizeof type));
    }
    for (DWORD i = 0, size = 16384; RegEnumKeyExW(key, i, text.data(), &size, nullptr, nullptr, nullptr, nullptr) == 0;
         ++i, size = 16384)
        ListKeys(key, text.substr(0, size), label + "\\" + Utf8(text.substr(0, size)), listing);
    RegCloseKey(key);
}

// What Wine and the shell write on behalf of the standard dialogs and the
// shell operations that Varnex uses, never Varnex itself. A start and close
// of Varnex, or of a program that shows a bare window, changes nothing at
// all in the drive, the bin or the registry.
bool SystemWrite(const std::string& path) {
    static const std::regex written(
        // Wine's service manager counts the service processes it has started,
        // in a volatile value; the dialogs and the shell start some on first
        // use.
        R"(HKLM\\System\\CurrentControlSet\\Control\\ServiceCurrent : @)"
        // Wine's device manager marks in volatile keys which device interfaces
        // are enabled; those of the virtual mouse and keyboard (HID) come and
        // go with the display's input devices in a fresh prefix.
        R"(|HKLM\\System\\CurrentControlSet\\Control\\DeviceClasses\\.*#hid#.*\\#\\Control(\\| : Linked))"
        // The open and save dialogs remember, for each program, the folder
        // last chosen in them, as they do on Windows; the folder view of the
        // open dialog creates the key Advanced, empty, as it reads how to
        // show hidden files.
        R"(|HKU\\S-1-5-21-[^\\]*\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\(ComDlg32\\.*|Advanced\\))"
        // The shell's delete confirmation creates keys, empty, in Wine's
        // volatile copy of the system parameters as it reads the mouse
        // settings; that copy is never saved.
        R"(|HKU\\S-1-5-21-[^\\]*\\Software\\Wine\\Temporary System Parameters\\(.*\\)?)");
    return std::regex_match(path, written);
}

// The whole drive C:, which holds the game installation too, the recycle
// bin, and the whole registry. Drive Z: is the host's root folder, with this
// build and everything else on the machine: of it only the recycle bin
// counts, which the test session keeps in its own folder.
Listing TakeListing(const std::wstring& trash) {
    Listing listing;
    ListFiles(L"C:", "C:", listing);
    ListFiles(trash, "Trash", listing);
    ListKeys(HKEY_LOCAL_MACHINE, L"", "HKLM", listing);
    ListKeys(HKEY_USERS, L"", "HKU", listing);
    std::erase_if(listing, [](const auto& entry) { return SystemWrite(entry.first); });
    return listing;
}

// What the player asked for, and nothing else, each as the path before and
// after: an addon renamed (or moved into the bin), a file removed ("" after),
// added ("" before) or changed (the same path), a value written.
using Allowed = std::vector<std::pair<std::string, std::string>>;

// The differences between the listings that are not allowed, and the allowed
// ones that did not happen. A renamed file keeps its checksum.
Lines Unexpected(Listing before, Listing after, const Allowed& allowed) {
    Lines lines;
    for (const auto& [from, to] : allowed) {
        const bool was = before.count(from), is = after.count(to);
        const bool happened = from.empty() ? !before.count(to) && is
                              : to.empty() ? was && !after.count(from)
                              : from == to
                                  ? was && is && before[from] != after[to]
                                  : was && is && !after.count(from) && !before.count(to) && before[from] == after[to];
        if (!happened) lines.push_back("did not happen: " + from + " -> " + to);
        for (Listing* listing : {&before, &after}) listing->erase(from), listing->erase(to);
    }
    for (const auto& [path, sum] : before)
        if (!after.count(path) || after[path] != sum) lines.push_back((after.count(path) ? "~ " : "- ") + path);
    for (const auto& [path, sum] : after)
        if (!before.count(path)) lines.push_back("+ " + path);
    return lines;
}

// Much like the demo installation of the game and its expansion: some of
// the game's own addons, some of a player's (a few switched off), their
// authors' information files and both comments files. Each addon begins
// with its own name, so that each has its own checksum.
void InstallDemo(const GameInstall& game) {
    for (const std::string name : {"6G30.pbo", "ABox.pbo", "Data.pbo", "XMS.pbo", "M1A1_Abrams.pbo", "T80_Tank.pbo",
                                   "Delta_Force.pbo", "Jungle_Map.pbx", "Police_Cars.pbx", "Sound_Mod.pbx"})
        game.Write("ADDONS\\" + name, name + std::string(200000, '.'));
    for (const std::string name : {"Noe.pbo", "Winter_Camo.pbo", "Kolgujev_Extra.pbx"})
        game.Write("Res\\AddOns\\" + name, name + std::string(200000, '.'));
    game.Write("ADDONS\\M1A1_Abrams.txt",
               "/x/units\r\nM1A1 Abrams (West)\r\n/x/author\r\nThe Varnex demo\r\n/x/version1.2");
    game.Write("ADDONS\\Jungle_Map.txt", "/x/info\r\nA large jungle island.\r\n/x/version2.0");
    game.Write("ADDONS\\Comments.txt",
               "//M1A1_AbramsThe best tank for the campaign.//Jungle_MapOnly for the weekend missions.");
    game.Write("Res\\AddOns\\Comments.txt", "//Winter_CamoGoes with Kolgujev_Extra.");
}

// Clicks the last entry of `list` that reads `text`.
bool Pick(HWND list, const std::string& text, WORD code = LBN_SELCHANGE) {
    const Lines entries = Entries(list);
    const auto found = std::find(entries.rbegin(), entries.rend(), text);
    if (found != entries.rend()) ClickEntry(list, static_cast<int>(entries.rend() - found) - 1, code);
    return found != entries.rend();
}

TEST(WriteAudit, EveryFeatureChangesOnlyWhatThePlayerAskedFor) {
    const fs::path trash = TrashWithout("Jungle_Map.pbx");
    ASSERT_FALSE(trash.empty()) << "XDG_DATA_HOME names no Unix folder";
    GameInstall game(true, true);
    InstallDemo(game);
    const std::string folder = game.Folder(), favorites = folder + "\\Weekend.txtf";

    const Listing before = TakeListing(trash.wstring());
    {
        Varnex varnex;
        const HWND main = varnex.Window(kMainCaption);
        ASSERT_NE(main, nullptr);
        const HWND file1 = Control(main, id::File1), file2 = Control(main, id::File2), text1 = Control(main, id::Text1);

        // Clicks: one of the game's own addons, one with a comment; a comment
        // typed and saved; one addon off, one on.
        for (const char* name : {"Data.pbo", "M1A1_Abrams.pbo", "T80_Tank.pbo"}) ASSERT_TRUE(Pick(file1, name));
        Type(text1, "Pairs well with the M1A1.");
        Click(Control(main, id::Save));
        ASSERT_TRUE(Pick(file1, "Delta_Force.pbo"));
        Click(Control(main, id::Command2));
        ASSERT_TRUE(Pick(file2, "Police_Cars.pbx"));
        Click(Control(main, id::Command3));

        // The favorites saved, all off, all on, the favorites loaded.
        varnex.ChooseFile(id::SaveFavorits, "Save As", favorites);
        Click(Control(main, id::Command5));
        Click(Control(main, id::Command6));
        varnex.ChooseFile(id::LoadFavorits, "Open", favorites);

        // Deleting: No keeps the addon, Yes moves it into the bin.
        for (const auto& [name, answer] : {std::pair{"Sound_Mod.pbx", IDNO}, std::pair{"Jungle_Map.pbx", IDYES}}) {
            ASSERT_TRUE(Pick(file2, name));
            Post(Control(main, id::Command1));
            varnex.Answer("Confirm file deletion", answer);
        }

        // The expansion's folder: a comment changed, an addon switched on.
        Click(Control(main, id::Option2));
        ASSERT_TRUE(Pick(file1, "Winter_Camo.pbo"));
        Type(text1, "Only for winter islands.");
        Click(Control(main, id::Save));
        ASSERT_TRUE(Pick(file2, "Kolgujev_Extra.pbx"));
        Click(Control(main, id::Command3));

        // "others": a walk in the folder list, then back to the game.
        Click(Control(main, id::Option3));
        ASSERT_TRUE(Pick(Control(main, id::Dir1), "Res", LBN_DBLCLK));
        Click(Control(main, id::Option1));
        Post(Control(main, id::Command4));
        EXPECT_EQ(varnex.WaitForExit(), 0u);
    }
    const Listing after = TakeListing(trash.wstring());

    const std::string addons = folder + "\\ADDONS\\", res = folder + "\\Res\\AddOns\\";
    const Allowed allowed = {
        {addons + "Delta_Force.pbo", addons + "Delta_Force.pbx"},
        {addons + "Police_Cars.pbx", addons + "Police_Cars.pbo"},
        {res + "Kolgujev_Extra.pbx", res + "Kolgujev_Extra.pbo"},
        {addons + "Jungle_Map.pbx", "Trash\\files\\Jungle_Map.pbx"},
        {"", "Trash\\info\\Jungle_Map.pbx.trashinfo"},
        {addons + "Jungle_Map.txt", ""},
        {addons + "Comments.txt", addons + "Comments.txt"},
        {res + "Comments.txt", res + "Comments.txt"},
        {"", favorites},
        {"", "HKLM\\Software\\Wow6432Node\\Codemasters\\Operation Flashpoint : VARNX"},
    };
    EXPECT_EQ(Unexpected(before, after, allowed), Lines{});
    EXPECT_EQ(game.GameValue("VARNX"), folder + "\\Res");

    (void)TrashWithout("Jungle_Map.pbx");  // the bin left as it was found
}

}  // namespace
}  // namespace varnex::e2e
