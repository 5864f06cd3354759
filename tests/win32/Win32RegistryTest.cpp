#include <gtest/gtest.h>

#include "platform/RegAccess.hpp"
#include "platform/win32/Win32Registry.hpp"

#include <windows.h>

namespace varnex {
namespace {

// A key of this test's own under HKLM\SOFTWARE, removed from both views
// before and after.
class Win32RegistryTest : public ::testing::Test {
protected:
    const Text key_ = "SOFTWARE\\VarnexTest" + std::to_string(::GetCurrentProcessId());
    const Text missing_ = key_ + "\\Missing";

    void SetUp() override { TearDown(); }
    void TearDown() override {
        for (const REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY})
            for (const Text& key : {missing_, key_}) (void)::RegDeleteKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), view, 0);
    }
    [[nodiscard]] HKEY Create(REGSAM view) {
        HKEY key = nullptr;
        EXPECT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, key_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr,
                                    &key, nullptr),
                  ERROR_SUCCESS);
        created_.emplace_back(key);
        return key;
    }
    [[nodiscard]] static bool Exists(const Text& path, REGSAM view) {
        HKEY key = nullptr;
        const bool found = ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ | view, &key) == 0;
        const winapi::UniqueKey owner(key);
        return found;
    }
    RegValue Read(const Text& key, const char* name) { return access_.ReadRegValue(HKEY_LOCAL_MACHINE_, key, name); }

    std::vector<winapi::UniqueKey> created_;
    Win32Registry registry_;
    RegAccess access_{registry_};
};

TEST_F(Win32RegistryTest, ReadsStringsWithOrWithoutTheirNulAndNumbersButNoOtherType) {
    struct Case {
        const char* name;
        DWORD type;
        std::string data;
        RegValue want;
    };
    const Case cases[] = {
        {"with NUL", REG_SZ, std::string("C:\\OFP\0", 7), Text("C:\\OFP")},
        {"without NUL", REG_SZ, "C:\\OFP", Text("C:\\OFP")},
        {"empty data", REG_SZ, "", RegValue{}},
        {"only a NUL", REG_SZ, std::string("\0", 1), Text("")},
        {"code page bytes", REG_SZ, "C:\\Jeux \xC9t\xE9", Text("C:\\Jeux \xC9t\xE9")},
        {"number", REG_DWORD, std::string("\x39\x30\0\0", 4), std::int32_t{12345}},
        {"negative number", REG_DWORD, "\xFE\xFF\xFF\xFF", std::int32_t{-2}},
        {"expandable string", REG_EXPAND_SZ, std::string("C:\\OFP\0", 7), RegValue{}},
        {"binary", REG_BINARY, "C:\\OFP", RegValue{}},
    };
    const HKEY key = Create(KEY_WOW64_32KEY);
    for (const auto& c : cases) {
        ASSERT_EQ(::RegSetValueExA(key, c.name, 0, c.type, reinterpret_cast<const BYTE*>(c.data.data()),
                                   static_cast<DWORD>(c.data.size())),
                  ERROR_SUCCESS);
        EXPECT_EQ(Read(key_, c.name), c.want) << c.name;
    }
    EXPECT_EQ(registry_.OpenKeys(), 0);
}

TEST_F(Win32RegistryTest, WritesIntoTheThirtyTwoBitViewWhatItReadsBack) {
    const HKEY key = Create(KEY_WOW64_32KEY);
    const Text folder = "C:\\Mods \xE9t\xE9";
    access_.WriteRegValue(HKEY_LOCAL_MACHINE_, key_, "VARNX", folder, REG_SZ_);
    access_.WriteRegValue(HKEY_LOCAL_MACHINE_, key_, "Count", std::int32_t{-2}, REG_DWORD_);

    char text[64] = {};
    DWORD type = 0, size = sizeof text;
    ASSERT_EQ(::RegQueryValueExA(key, "VARNX", nullptr, &type, reinterpret_cast<BYTE*>(text), &size), 0);
    EXPECT_EQ(type, DWORD{REG_SZ});
    EXPECT_EQ(Text(text), folder);
    EXPECT_EQ(Read(key_, "VARNX"), RegValue(folder));
    EXPECT_EQ(Read(key_, "Count"), RegValue(std::int32_t{-2}));
    EXPECT_EQ(registry_.OpenKeys(), 0);
}

TEST_F(Win32RegistryTest, MissingKeysAndTheSixtyFourBitViewReadEmptyAndWritesCreateNothing) {
    EXPECT_EQ(Read(missing_, "Main"), RegValue{});
    access_.WriteRegValue(HKEY_LOCAL_MACHINE_, missing_, "VARNX", Text("C:\\Mods"), REG_SZ_);
    EXPECT_FALSE(Exists(missing_, KEY_WOW64_32KEY));
    EXPECT_FALSE(Exists(missing_, KEY_WOW64_64KEY));

    // The game's 32-bit installer never writes the 64-bit view, so a key
    // found only there is not the game's.
    const HKEY key64 = Create(KEY_WOW64_64KEY);
    ASSERT_EQ(::RegSetValueExA(key64, "Main", 0, REG_SZ, reinterpret_cast<const BYTE*>("C:\\OFP"), 7), 0);
    EXPECT_EQ(Read(key_, "Main"), RegValue{});
    EXPECT_FALSE(Exists(key_, KEY_WOW64_32KEY));

    // Wine takes a root whose low 32 bits match, so only this shows the
    // root as the Windows headers define it.
    EXPECT_EQ(Win32Registry::PredefinedRoot(HKEY_LOCAL_MACHINE_), static_cast<void*>(HKEY_LOCAL_MACHINE));
    // What a failed open leaves behind is refused, not handed on.
    EXPECT_EQ(registry_.RegCloseKey(0), ERROR_INVALID_HANDLE);
    EXPECT_EQ(registry_.OpenKeys(), 0);
}

}  // namespace
}  // namespace varnex
