#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <future>
#include <iterator>
#include <thread>

#include "platform/win32/LateBound.hpp"
#include "platform/win32/CodePage.hpp"
#include "platform/win32/Win32Files.hpp"
#include "platform/win32/Win32Shell.hpp"

namespace varnex::platform::win32 {
namespace {

using Strings = std::vector<Text>;

// A fresh folder under the Windows temporary folder, removed with what it
// holds (files and empty folders). Its helpers use the C runtime and the A
// functions directly, not the services under test, so a fault there cannot
// hide itself.
struct TempFolder {
    const Text path = [] {  // "C:\...\varnex-<process>-<n>", without a closing backslash
        static int count = 0;
        char base[MAX_PATH + 1] = {};
        ::GetTempPathA(sizeof base, base);
        return Text(base) + "varnex-" + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(++count);
    }();
    TempFolder() { ::CreateDirectoryA(path.c_str(), nullptr); }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    [[nodiscard]] Text At(const Text& name) const { return path + "\\" + name; }
    void Write(const Text& name, std::string_view bytes) const { std::ofstream(At(name), std::ios::binary) << bytes; }
    [[nodiscard]] std::string Read(const Text& name) const {
        std::ifstream in(At(name), std::ios::binary);
        return in ? std::string(std::istreambuf_iterator<char>(in), {}) : "<missing>";
    }
    // Names of files and folders as the disk spells them, sorted.
    [[nodiscard]] Strings Names() const {
        Strings names;
        WIN32_FIND_DATAA found{};
        const HANDLE find = ::FindFirstFileA(At("*").c_str(), &found);
        for (bool more = find != INVALID_HANDLE_VALUE; more; more = ::FindNextFileA(find, &found))
            if (Text(found.cFileName) != "." && Text(found.cFileName) != "..") names.emplace_back(found.cFileName);
        if (find != INVALID_HANDLE_VALUE) ::FindClose(find);
        std::sort(names.begin(), names.end());
        return names;
    }
};

struct Win32FilesTest : ::testing::Test {
    TempFolder dir;
    Win32Files files;
};

TEST_F(Win32FilesTest, AReplaceSwapsInEveryByteOrNone) {
    FileHandle handle = 0;
    for (const auto mode : {OpenMode::Read, OpenMode::Write}) {
        ASSERT_TRUE(files.Open(dir.At(mode == OpenMode::Read ? "r.txt" : "w.txt"), mode, handle).ok());
        EXPECT_TRUE(files.Close(handle).ok() && files.Close(handle).code == errc::kInvalidHandle);
    }
    // A write over a longer file keeps its tail: nothing is shortened.
    const Text path = dir.At("Comments.txt");
    dir.Write("Comments.txt", "abcdef");
    ASSERT_TRUE(files.Open(path, OpenMode::Write, handle).ok());
    EXPECT_TRUE(files.Write(handle, "XY").ok() && files.Write(handle, "Z").ok() && files.Close(handle).ok());
    ASSERT_TRUE(files.Open(path, OpenMode::Read, handle).ok());
    std::int64_t length = 0;
    Text text(10, '\0');
    std::size_t got = 0;
    EXPECT_TRUE(files.Length(handle, length).ok() && files.Read(handle, text.data(), text.size(), got).ok() &&
                files.Close(handle).ok());
    EXPECT_EQ(text.substr(0, got) + " " + std::to_string(length), "ZYcdef 6");
    // Every byte value swapped in over a longer file; a read-only or an
    // unreachable one keeps the old comments and gains nothing.
    std::string content(256, '\0');
    for (int i = 0; i < 256; ++i) content[i] = char(i);
    dir.Write("Comments.txt", std::string(5000, 'o'));
    EXPECT_TRUE(files.ReplaceContent(path, content).ok() && dir.Read("Comments.txt") == content);
    dir.Write("Comments.txt", "old comments");
    ASSERT_TRUE(::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(files.ReplaceContent(path, "new").code, errc::kAccessDenied);
    ASSERT_TRUE(::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(files.ReplaceContent(dir.At("None\\Comments.txt"), "x").code, errc::kPathNotFound);
    EXPECT_EQ(dir.Read("Comments.txt"), "old comments");
    EXPECT_EQ(dir.Names(), (Strings{"Comments.txt", "r.txt", "w.txt"}));
}

// Another program (a virus scanner) holds the file without sharing it from
// before the call on, and lets go after `ms` milliseconds.
class Held {
public:
    Held(const Text& path, DWORD ms) {
        std::promise<void> opened;
        const auto ready = opened.get_future();
        thread_ = std::thread([path, ms, &opened] {
            const HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
            opened.set_value();
            ::Sleep(ms);
            if (file != INVALID_HANDLE_VALUE) ::CloseHandle(file);
        });
        ready.wait();
    }
    ~Held() { thread_.join(); }
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;

private:
    std::thread thread_;
};

TEST_F(Win32FilesTest, AFileHeldForAMomentIsUsedOnceFree) {
    const Text path = dir.At("Comments.txt");
    dir.Write("Comments.txt", "old");
    ASSERT_TRUE(::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN));
    const auto read = [&] {
        FileHandle handle = 0;
        Text text(16, '\0');
        std::size_t got = 0;
        const IoStatus opened = files.Open(path, OpenMode::Read, handle);
        if (!opened.ok()) return "error " + std::to_string(opened.code);
        EXPECT_TRUE(files.Read(handle, text.data(), text.size(), got).ok() && files.Close(handle).ok());
        return text.substr(0, got);
    };
    {
        const Held scanner(path, 150);
        EXPECT_TRUE(files.ReplaceContent(path, "new").ok());
    }
    EXPECT_EQ(dir.Read("Comments.txt"), "new");
    EXPECT_EQ(::GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_HIDDEN, DWORD{FILE_ATTRIBUTE_HIDDEN});
    {
        const Held scanner(path, 150);
        EXPECT_EQ(read(), "new");
    }
    {
        const Held scanner(path, 2500);
        EXPECT_EQ(files.ReplaceContent(path, "newer").code, errc::kSharingViolation);
        EXPECT_EQ(read(), "error 32");
    }
    EXPECT_EQ(read(), "new");
    // A file not there yet is made by the rename, with no attribute of its own.
    EXPECT_TRUE(files.ReplaceContent(dir.At("New.txt"), "made").ok() && dir.Read("New.txt") == "made");
    EXPECT_EQ(::GetFileAttributesA(dir.At("New.txt").c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
    EXPECT_EQ(dir.Names(), (Strings{"Comments.txt", "New.txt"}));
}

// A drive letter this session lacks, as a run with administrator rights
// lacks the drives the player mapped, is told apart from a missing folder.
TEST_F(Win32FilesTest, APathOnAMissingDriveSaysSo) {
    char letter = 'Q';
    while (letter < 'Y' && ::GetDriveTypeA((Text(1, letter) + ":\\").c_str()) != DRIVE_NO_ROOT_DIR) ++letter;
    const Text mods = Text(1, letter) + ":\\Mods";
    ASSERT_EQ(::GetDriveTypeA((mods.substr(0, 2) + "\\").c_str()), UINT{DRIVE_NO_ROOT_DIR});
    std::vector<DirEntry> entries;
    FileHandle handle = 0;
    std::int64_t length = 0;
    const IoStatus found[] = {files.CreateFolder(mods),
                              files.ListFolder(mods, "*", entries),
                              files.Open(mods + "\\Comments.txt", OpenMode::Read, handle),
                              files.ReplaceContent(mods + "\\Comments.txt", "x"),
                              files.FileLength(mods + "\\a.pbo", length),
                              files.Delete(mods + "\\a.pbo")};
    for (const IoStatus status : found) EXPECT_EQ(status.code, errc::kDriveNotFound);
    EXPECT_FALSE(files.FolderExists(mods));
    EXPECT_EQ(files.CreateFolder(dir.At("None\\Mods")).code, errc::kPathNotFound) << "a folder, not a drive";
}

// Names the code page cannot hold list with "?" in their place, never as
// look-alikes that name another file, and are refused before the system
// could take "?" as a wildcard.
TEST_F(Win32FilesTest, NamesTheCodePageCannotHoldListWithQuestionMarks) {
    ASSERT_EQ(::GetACP(), 1252u) << "a Western system (LANG=C.UTF-8)";
    dir.Write("Tank.PBO", std::string(3000, 't'));
    dir.Write("\xC9l\xE8ve.pbx", "");
    // Polish and its look-alike, written with the wide calls as Explorer would.
    for (const std::wstring name : {L"\u0141\u00F3d\u017A.pbx", L"L\u00F3dz.pbx"}) {
        const HANDLE made =
            ::CreateFileW((Widen(dir.path) + L"\\" + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        ASSERT_NE(made, INVALID_HANDLE_VALUE) << "Wine makes such names only in a UTF-8 locale (LANG)";
        ::CloseHandle(made);
    }
    ASSERT_TRUE(files.CreateFolder(dir.At("Res")).ok());
    EXPECT_TRUE(files.FolderExists(dir.At("rES")) && !files.FolderExists(dir.At("Tank.PBO")));
    std::vector<DirEntry> entries;
    const auto listed = [&](const Text& pattern) {
        entries.clear();
        EXPECT_TRUE(files.ListFolder(dir.path, pattern, entries).ok());
        Strings names;
        for (const auto& e : entries) names.push_back(e.name + "|" + std::to_string(e.folder) + std::to_string(e.size));
        std::sort(names.begin(), names.end());
        return names;
    };
    EXPECT_EQ(listed("*"),
              (Strings{"?\xF3\x64?.pbx|00", "L\xF3\x64z.pbx|00", "Res|10", "Tank.PBO|03000", "\xC9l\xE8ve.pbx|00"}));
    EXPECT_EQ(listed("*.pbo*"), (Strings{"Res|10", "Tank.PBO|03000"}));
    FileHandle handle = 0;
    std::int64_t length = -1;
    EXPECT_TRUE(files.FileLength(dir.At("tank.pbo"), length).ok() && length == 3000);
    EXPECT_TRUE(files.FileLength(dir.At("L\xF3\x64z.pbx"), length).ok() && length == 0);
    const Text unheld = dir.At("?\xF3\x64?.pbx");
    EXPECT_EQ(files.FileLength(unheld, length).code, errc::kNameNotHeld);
    EXPECT_EQ(files.Delete(unheld).code, errc::kNameNotHeld);
    EXPECT_EQ(files.Open(unheld, OpenMode::Read, handle).code, errc::kNameNotHeld);
    EXPECT_EQ(files.ListFolder(dir.path + "\\?", "*", entries).code, errc::kNameNotHeld);
    EXPECT_EQ(files.FileLength(dir.At("Gone.pbo"), length).code, errc::kFileNotFound);
    EXPECT_EQ(files.FileLength(dir.At("Res"), length).code, errc::kAccessDenied);
    EXPECT_EQ(files.Open(dir.At("None\\a.txt"), OpenMode::Read, handle).code, errc::kPathNotFound);
    EXPECT_EQ(files.Delete(dir.At("Gone.pbo")).code, errc::kFileNotFound);
    EXPECT_EQ(files.ListFolder(dir.At("None"), "*", entries).code, errc::kPathNotFound);
    EXPECT_EQ(dir.Names().size(), 5u) << "nothing made or removed";
}

TEST(CodePageLetters, LeadBytesAreWindowsOwnAndUtf8RefusesHalfALetter) {
    // The table the native tests run on, and the system's answer for this one.
    for (const unsigned codePage : {932u, 936u, 949u, 950u, 1252u, 1250u}) {
        const CodePageLetters letters = CodePageLetters::Of(codePage);
        Text differ;
        for (unsigned b = 0; b < 256; ++b)
            if ((letters.Length(static_cast<char>(b)) == 2) !=
                (::IsDBCSLeadByteEx(codePage, static_cast<BYTE>(b)) != 0))
                differ += std::to_string(b) + " ";
        EXPECT_EQ(differ, "") << codePage;
    }
    const CodePageLetters system = Win32Files().Letters();
    for (unsigned b = 0; b < 256; ++b)
        EXPECT_EQ(system.Length(static_cast<char>(b)) == 2, ::IsDBCSLeadByte(static_cast<BYTE>(b)) != 0) << b;
    // A lone surrogate, which a file name may hold, is no letter of UTF-8.
    Text unheld;
    EXPECT_EQ(NarrowIn(CP_UTF8, L"a\xD800\u0436.pbo", &unheld), "a?\xD0\xB6.pbo");
    EXPECT_EQ(unheld, "U+D800");
    EXPECT_EQ(NarrowIn(CP_UTF8, L"\xDC00"), "?");
    EXPECT_EQ(NarrowIn(CP_UTF8, L"\u0436\U0001F600", &unheld), "\xD0\xB6\xF0\x9F\x98\x80");
    EXPECT_EQ(unheld, "");
}

// A rename as the program hands it over: the folder as it writes it, with
// "\", joined to the name with "/", each path closed by two zero bytes.
int Rename(const TempFolder& dir, const Text& from, const Text& to) {
    const auto path = [&](const Text& name) { return dir.path + "/" + name + Text(2, '\0'); };
    return Win32Shell().SHFileOperationA(ShellFileOp{4, path(from), path(to), 0});  // FO_RENAME
}

TEST_F(Win32FilesTest, TheShellRenamesInPlaceAndRefusesAClash) {
    for (const Text from : {"My Addon.PBO", "\xC9l\xE8ve.pbx"}) {
        TempFolder dir;  // one of its own for each name
        dir.Write(from, "addon");
        const Text to = from.substr(0, from.size() - 1) + (from.back() == 'x' ? "o" : "x");
        EXPECT_TRUE(Rename(dir, from, to) == 0 && dir.Names() == Strings{to} && dir.Read(to) == "addon") << from;
    }
    dir.Write("Tank.pbo", "active");
    dir.Write("Tank.pbx", "inactive");
    EXPECT_NE(Rename(dir, "Tank.pbo", "Tank.pbx"), 0) << "target exists";
    EXPECT_NE(Rename(dir, "Gone.pbo", "Gone.pbx"), 0) << "source missing";
    EXPECT_EQ(dir.Read("Tank.pbo") + "|" + dir.Read("Tank.pbx") + "|" + std::to_string(dir.Names().size()),
              "active|inactive|2");
    EXPECT_TRUE(Win32Shell().ConfirmsDelete()) << "Wine's shell always asks before the recycle bin";
    // Held as the game holds its archives (others may read, not delete):
    // in use, and the rename fails; held with delete sharing, or not held:
    // not in use.
    dir.Write("Held.pbo", "held");
    const Text held = dir.At("Held.pbo");
    for (const DWORD sharing : {DWORD{FILE_SHARE_READ}, DWORD{FILE_SHARE_READ | FILE_SHARE_DELETE}}) {
        const HANDLE file = ::CreateFileA(held.c_str(), GENERIC_READ, sharing, nullptr, OPEN_EXISTING, 0, nullptr);
        EXPECT_EQ(files.InUse(held), sharing == FILE_SHARE_READ) << sharing;
        EXPECT_TRUE(sharing != FILE_SHARE_READ || Rename(dir, "Held.pbo", "Held.pbx") != 0);
        ::CloseHandle(file);
    }
    EXPECT_FALSE(files.InUse(held) || files.InUse(dir.At("Gone.pbo")) || files.InUse(dir.path));
    EXPECT_EQ(Rename(dir, "Held.pbo", "Held.pbx"), 0);
}

TEST(LateBound, ADllBesideTheProgramIsNeverTheOneLoaded) {
    // The build puts varnexplanted.dll beside this program: found by its
    // bare name, never from the system folder.
    const HMODULE bare = ::LoadLibraryA("varnexplanted.dll");
    EXPECT_NE(bare, nullptr);
    if (bare) ::FreeLibrary(bare);  // else a load by any path would hand back this one
    EXPECT_EQ(SystemLibrary("varnexplanted.dll"), nullptr);
    ASSERT_NE(LateBound<void()>("oleacc.dll", "CreateStdAccessibleObject"), nullptr);
    char system[MAX_PATH] = {}, loaded[MAX_PATH] = {};
    ::GetSystemDirectoryA(system, MAX_PATH);
    ::GetModuleFileNameA(::GetModuleHandleA("oleacc.dll"), loaded, MAX_PATH);
    EXPECT_TRUE(EqualIgnoringCase(Text(loaded).substr(0, std::strlen(system)), system)) << loaded;
}

}  // namespace
}  // namespace varnex::platform::win32
