#include <gtest/gtest.h>

#include "platform/RegAccess.hpp"
#include "platform/win32/CodePage.hpp"
#include "platform/win32/Win32Registry.hpp"

#include <windows.h>

namespace varnex::platform::win32 {
namespace {

// A key of this test's own under HKLM\SOFTWARE, removed from both views
// before and after.
struct Win32RegistryTest : ::testing::Test {
    const Text key = "SOFTWARE\\VarnexTest" + std::to_string(::GetCurrentProcessId());
    Win32Registry registry;
    RegAccess access{registry};

    void SetUp() override { TearDown(); }
    void TearDown() override {
        for (const REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY})
            (void)::RegDeleteKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), view, 0);
    }
    // Sets `name` to raw `data` in the key of `view`, made if missing, and
    // reads it back through the program's registry module.
    RegValue SetAndRead(REGSAM view, DWORD type, const std::string& data, const char* name = "Main") {
        HKEY made = nullptr;
        ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr, &made,
                          nullptr);
        ::RegSetValueExA(made, name, 0, type, reinterpret_cast<const BYTE*>(data.data()),
                         static_cast<DWORD>(data.size()));
        ::RegCloseKey(made);
        return access.ReadRegValue(HKEY_LOCAL_MACHINE_, key, name);
    }
};

TEST_F(Win32RegistryTest, ReadsThe32BitViewAndUnheldLettersAsQuestionMarks) {
    // How a value's bytes read is the decoder's own test; here, that the
    // real registry hands over every byte, the type and the size.
    struct Case {
        const char* value;
        DWORD type;
        std::string data;
        RegValue read;
    };
    const Case cases[] = {
        {"a folder of accented letters", REG_SZ, std::string("C:\\Jeux \xC9t\xE9\0", 12), Text("C:\\Jeux \xC9t\xE9")},
        {"a text written without its NUL", REG_SZ, "C:\\OFP", Text("C:\\OFP")},
        {"an empty text", REG_SZ, "", RegValue{}},
        {"a text of one NUL", REG_SZ, std::string("\0\0", 2), Text(1, '\0')},
        {"a number", REG_DWORD, "\xFE\xFF\xFF\xFF", std::int32_t{-2}},
        {"a text to expand", REG_EXPAND_SZ, std::string("C:\\OFP\0", 7), RegValue{}},
        {"a number of eight bytes", REG_DWORD, std::string("\x07\0\0\0\0\0\0\0", 8), RegValue{}}};
    for (const Case& c : cases) EXPECT_EQ(SetAndRead(KEY_WOW64_32KEY, c.type, c.data), c.read) << c.value;
    TearDown();
    const Text folder = "C:\\Mods \xE9t\xE9";
    access.WriteRegValue(HKEY_LOCAL_MACHINE_, key, "VARNX", folder, REG_SZ_);
    HKEY opened = nullptr;
    EXPECT_NE(::RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ | KEY_WOW64_32KEY, &opened), 0);
    // The game's 32-bit installer never writes the 64-bit view, so a key
    // found only there is not the game's. (The tests run in a 64-bit prefix
    // and in a 32-bit one, which has a single view.)
    BOOL wow = FALSE;
    const bool wow64 = sizeof(void*) == 8 || (::IsWow64Process(::GetCurrentProcess(), &wow) && wow);
    EXPECT_EQ(wow64 ? SetAndRead(KEY_WOW64_64KEY, REG_SZ, std::string("C:\\OFP\0", 7)) : RegValue{}, RegValue{});
    EXPECT_EQ(SetAndRead(KEY_WOW64_32KEY, REG_SZ, "", "VARNX"), RegValue{});
    access.WriteRegValue(HKEY_LOCAL_MACHINE_, key, "VARNX", folder, REG_SZ_);
    EXPECT_EQ(access.ReadRegValue(HKEY_LOCAL_MACHINE_, key, "VARNX"), RegValue(folder));
    // A folder written with letters the code page cannot hold reads with "?"
    // in their place, never with look-alikes that name another folder; one
    // it holds reads byte for byte.
    for (const std::wstring wide : {L"C:\\Hry\\\u041C\u043E\u0434\u044B", L"C:\\\u0141\u00F3d\u017A",
                                    L"C:\\Spiele \u00C4\u00D6", L"C:\\\u6226\u8ECA"}) {
        HKEY made = nullptr;
        ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY, nullptr,
                          &made, nullptr);
        ::RegSetValueExW(made, L"VARNX", 0, REG_SZ, reinterpret_cast<const BYTE*>(wide.c_str()),
                         static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t)));
        ::RegCloseKey(made);
        Text unheld;
        const Text want = Narrow(wide, &unheld);
        const RegValue read = access.ReadRegValue(HKEY_LOCAL_MACHINE_, key, "VARNX");
        EXPECT_EQ(read, RegValue(want));
        EXPECT_EQ(Held(ValueText(read)), unheld.empty()) << want;
        EXPECT_TRUE(wide[3] != L'\u0141' || read == RegValue(Text("C:\\?\xF3\x64?"))) << "a Western system";
    }
    EXPECT_EQ(registry.OpenKeys(), 0);
}

}  // namespace
}  // namespace varnex::platform::win32
