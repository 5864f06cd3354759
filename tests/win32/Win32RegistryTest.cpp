#include <gtest/gtest.h>

#include "platform/RegAccess.hpp"
#include "platform/win32/CodePage.hpp"
#include "platform/win32/Win32Registry.hpp"

#include <windows.h>

#include <optional>

namespace varnex {
namespace {

// The tests run in a 64-bit Wine prefix, as on 64-bit Windows, and in a
// 32-bit one, as on 32-bit Windows, which has a single registry view.
bool SixtyFourBitSystem() {
    SYSTEM_INFO system{};
    ::GetNativeSystemInfo(&system);
    return system.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64;
}

// A value as the 64-bit view sees it (on a 32-bit system: the only view).
std::optional<std::string> RawValue(const std::string& path, const char* name) {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, &key) != ERROR_SUCCESS)
        return std::nullopt;
    char value[256] = {};
    DWORD size = sizeof value - 1;
    const bool found = ::RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size) == 0;
    ::RegCloseKey(key);
    return found ? std::optional<std::string>(value) : std::nullopt;
}

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

// Reads strings with or without their NUL and numbers but no other type.
TEST_F(Win32RegistryTest, UsesOnlyTheThirtyTwoBitViewNeverCreatesAKeyAndReadsStringsAndNumbersOnly) {
    // How a value's bytes read is the decoder's own test; here, that the
    // real registry hands over every byte, the type and the size.
    const std::tuple<DWORD, std::string, RegValue> cases[] = {
        {REG_SZ, std::string("C:\\Jeux \xC9t\xE9\0", 12), Text("C:\\Jeux \xC9t\xE9")},
        {REG_SZ, "C:\\OFP", Text("C:\\OFP")},
        {REG_SZ, "", RegValue{}},
        {REG_SZ, std::string("\0\0", 2), Text(1, '\0')},
        {REG_DWORD, "\xFE\xFF\xFF\xFF", std::int32_t{-2}},
        {REG_EXPAND_SZ, std::string("C:\\OFP\0", 7), RegValue{}},
        {REG_BINARY, "C:\\OFP", RegValue{}},
        {REG_DWORD, "C:", std::int32_t{0x3A43}},
        {REG_DWORD, std::string("\x07\0\0\0\0\0\0\0", 8), RegValue{}}};
    for (const auto& [type, data, want] : cases) EXPECT_EQ(SetAndRead(KEY_WOW64_32KEY, type, data), want) << data;
    TearDown();
    const Text folder = "C:\\Mods \xE9t\xE9";
    access.WriteRegValue(HKEY_LOCAL_MACHINE_, key, "VARNX", folder, REG_SZ_);
    HKEY opened = nullptr;
    EXPECT_NE(::RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ | KEY_WOW64_32KEY, &opened), 0);
    // The game's 32-bit installer never writes the 64-bit view, so a key
    // found only there is not the game's. A 32-bit system has no other view.
    const bool wow64 = SixtyFourBitSystem();
    if (wow64) {
        EXPECT_EQ(SetAndRead(KEY_WOW64_64KEY, REG_SZ, std::string("C:\\OFP\0", 7)), RegValue{});
    }
    EXPECT_EQ(SetAndRead(KEY_WOW64_32KEY, REG_SZ, "C:\\OFP", "Main"), RegValue(Text("C:\\OFP")));
    EXPECT_EQ(SetAndRead(KEY_WOW64_32KEY, REG_SZ, "", "VARNX"), RegValue{});
    access.WriteRegValue(HKEY_LOCAL_MACHINE_, key, "VARNX", folder, REG_SZ_);
    EXPECT_EQ(access.ReadRegValue(HKEY_LOCAL_MACHINE_, key, "VARNX"), RegValue(folder));
    EXPECT_EQ(registry.OpenKeys(), 0);
    // Where the values are: under Wow6432Node on a 64-bit system, where the
    // key of the 64-bit view kept its own value and got no VARNX; in the
    // one view of a 32-bit system.
    const std::string wowNode = "SOFTWARE\\Wow6432Node" + key.substr(8);
    const std::string thirtyTwoBitView = wow64 ? wowNode : key, otherView = wow64 ? key : wowNode;
    EXPECT_EQ(RawValue(thirtyTwoBitView, "Main"), "C:\\OFP");
    EXPECT_EQ(RawValue(thirtyTwoBitView, "VARNX"), folder);
    EXPECT_EQ(RawValue(otherView, "VARNX"), std::nullopt);
    if (wow64) {
        EXPECT_EQ(RawValue(key, "Main"), "C:\\OFP");
    }
}

// A folder written with letters the code page cannot hold reads with "?"
// in their place, never with look-alikes that name another folder; one it
// holds reads byte for byte.
TEST_F(Win32RegistryTest, StringsTheCodePageCannotHoldReadWithQuestionMarksNeverAsLookAlikes) {
    const std::wstring folders[] = {L"C:\\Hry\\\u041C\u043E\u0434\u044B", L"C:\\\u0141\u00F3d\u017A",
                                    L"C:\\Spiele \u00C4\u00D6", L"C:\\\u6226\u8ECA"};
    for (const auto& folder : folders) {
        HKEY made = nullptr;
        ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY, nullptr,
                          &made, nullptr);
        ::RegSetValueExW(made, L"VARNX", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                         static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t)));
        ::RegCloseKey(made);
        Text unheld;
        const Text want = winapi::Narrow(folder, &unheld);
        const RegValue read = access.ReadRegValue(HKEY_LOCAL_MACHINE_, key, "VARNX");
        EXPECT_EQ(read, RegValue(want));
        EXPECT_EQ(Held(ValueText(read)), unheld.empty()) << want;
        if (::GetACP() == 1252 && folder[3] == L'\u0141') {
            EXPECT_EQ(read, RegValue(Text("C:\\?\xF3"
                                          "d?")));
        }
    }
    EXPECT_EQ(registry.OpenKeys(), 0);
}

}  // namespace
}  // namespace varnex
