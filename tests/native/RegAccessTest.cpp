#include <gtest/gtest.h>

#include "platform/RegAccess.hpp"
#include "platform/emulated/Emulated.hpp"

namespace varnex {
namespace {

constexpr const char* kKey = "SOFTWARE\\Codemasters\\Operation Flashpoint";

TEST(RegAccess, ReadsStringsWithOrWithoutTheirNulAndNothingElse) {
    struct Case {
        const char* what;
        std::uint32_t type;
        std::string data;
        RegValue want;
    };
    const Case cases[] = {
        {"string with NUL", 1, std::string("C:\\OFP\0", 7), Text("C:\\OFP")},
        {"string without NUL", 1, "C:\\OFP", Text("C:\\OFP")},
        {"empty string data", 1, "", RegValue{}},
        {"only a NUL", 1, std::string("\0", 1), Text("")},
        {"one character", 1, "D", Text("D")},
        {"inner NUL kept", 1, std::string("a\0b", 3), Text(std::string("a\0b", 3))},
        {"bytes 0x80-0xFF", 1, "\x80\xE9\xFF", Text("\x80\xE9\xFF")},
        {"number", 4, std::string("\x39\x30\0\0", 4), std::int32_t{12345}},
        {"negative number", 4, std::string("\xFF\xFF\xFF\xFF", 4), std::int32_t{-1}},
        {"expandable string", 2, std::string("C:\\OFP\0", 7), RegValue{}},
        {"binary", 3, "C:\\OFP", RegValue{}},
        {"multi string", 7, std::string("a\0\0", 3), RegValue{}},
    };
    for (const auto& c : cases) {
        emulated::Registry registry;
        registry.SetRaw(kKey, "Main", c.type, c.data);
        RegAccess access(registry);
        EXPECT_EQ(access.ReadRegValue(HKEY_LOCAL_MACHINE_, kKey, "Main"), c.want) << c.what;
        EXPECT_EQ(registry.OpenHandles(), 0) << c.what;
    }
}

TEST(RegAccess, MissingOrUnopenableKeysReadEmptyAndWritesCreateNothing) {
    emulated::Registry registry;
    RegAccess access(registry);
    EXPECT_EQ(access.ReadRegValue(HKEY_LOCAL_MACHINE_, kKey, "Main"), RegValue{});
    access.WriteRegValue(HKEY_LOCAL_MACHINE_, kKey, "VARNX", Text("C:\\Mods"), REG_SZ_);
    EXPECT_FALSE(registry.HasKey(kKey));

    // Only the 64-bit view holds the key: a 64-bit program asking for the
    // 32-bit view does not see it.
    registry.SetRaw(kKey, "Main", 1, "C:\\OFP", /*view64=*/true);
    EXPECT_EQ(access.ReadRegValue(HKEY_LOCAL_MACHINE_, kKey, "Main"), RegValue{});

    // A key the user may read but not change cannot be opened with the
    // program's rights: it reads empty and is not written.
    registry.SetString(kKey, "Main", "C:\\OFP");
    registry.SetReadOnly(kKey);
    EXPECT_EQ(access.ReadRegValue(HKEY_LOCAL_MACHINE_, kKey, "Main"), RegValue{});
    access.WriteRegValue(HKEY_LOCAL_MACHINE_, kKey, "VARNX", Text("C:\\Mods"), REG_SZ_);
    EXPECT_FALSE(registry.Get(kKey, "VARNX"));
    EXPECT_EQ(registry.OpenHandles(), 0);
}

TEST(RegAccess, WritesStringsWithoutNulAndNumbersAsFourBytes) {
    emulated::Registry registry;
    registry.CreateKey(kKey);
    RegAccess access(registry);
    access.WriteRegValue(HKEY_LOCAL_MACHINE_, kKey, "VARNX", Text("C:\\Mods \xE9"), REG_SZ_);
    EXPECT_EQ(registry.Get(kKey, "VARNX")->data, "C:\\Mods \xE9");
    EXPECT_EQ(registry.Get(kKey, "VARNX")->type, 1u);
    EXPECT_EQ(access.ReadRegValue(HKEY_LOCAL_MACHINE_, kKey, "VARNX"), RegValue(Text("C:\\Mods \xE9")));

    access.WriteRegValue(HKEY_LOCAL_MACHINE_, kKey, "Count", std::int32_t{-2}, REG_DWORD_);
    EXPECT_EQ(registry.Get(kKey, "Count")->data, std::string("\xFE\xFF\xFF\xFF", 4));

    access.WriteRegValue(HKEY_LOCAL_MACHINE_, kKey, "Other", Text("x"), 3);
    EXPECT_FALSE(registry.Get(kKey, "Other"));
    EXPECT_EQ(ValueText(std::int32_t{12345}), "12345");
}

}  // namespace
}  // namespace varnex
