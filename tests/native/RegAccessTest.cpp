#include <gtest/gtest.h>

#include "app/AddonManager.hpp"
#include "platform/emulated/Registry.hpp"

namespace varnex::testing {
TEST(RegAccess, ReadsThe32BitViewAndWritesOnlyKeysItOpens) {
    platform::emulated::Registry registry;
    RegAccess access(registry);
    const auto read = [&] { return access.ReadRegValue(HKEY_LOCAL_MACHINE_, kGameKey, "VARNX"); };
    const auto write = [&](const Text& v) { access.WriteRegValue(HKEY_LOCAL_MACHINE_, kGameKey, "VARNX", v, REG_SZ_); };
    write("C:\\Mods");
    EXPECT_FALSE(registry.HasKey(kGameKey));
    // The game's 32-bit installer never writes the 64-bit view.
    registry.SetRaw(kGameKey, "VARNX", 1, "C:\\OFP", /*view64=*/true);
    EXPECT_EQ(read(), RegValue{});
    registry.SetRaw(kGameKey, "VARNX", 4, "Mods");
    write("C:\\Mods");
    EXPECT_EQ(std::to_string(registry.Get(kGameKey, "VARNX")->type) + registry.Get(kGameKey, "VARNX")->data,
              "1C:\\Mods");
    // A key the user may read but not change cannot be opened with the
    // program's rights: it reads empty and is not written.
    registry.SetReadOnly(kGameKey);
    write("D:\\");
    EXPECT_TRUE(read() == RegValue{} && registry.Get(kGameKey, "VARNX")->data == "C:\\Mods");
    EXPECT_EQ(registry.OpenHandles(), 0);
}

}  // namespace varnex::testing
