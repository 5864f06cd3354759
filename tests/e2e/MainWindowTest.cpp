// The real program without the game: one box, and an end that wrote nothing.
#include <gtest/gtest.h>

#include <filesystem>

#include "Driver.hpp"

namespace varnex::e2e {
namespace {

TEST(MainWindow, WithoutTheGameItSaysSoAndEndsHavingWrittenNothing) {
    GameInstall game(false);
    const bool driveHadAddons = std::filesystem::exists("C:\\ADDONS");
    Varnex varnex;
    ASSERT_NE(varnex.Window("VARNX", "#32770"), nullptr);
    EXPECT_EQ(varnex.Window(kMainCaption, nullptr, 0), nullptr);
    EXPECT_EQ(varnex.Answer(), "Cannot find OFP");
    EXPECT_EQ(varnex.WaitForExit(), 0u);
    EXPECT_FALSE(game.GameKeyExists());
    EXPECT_TRUE(game.Snapshot().empty());
    EXPECT_EQ(std::filesystem::exists("C:\\ADDONS"), driveHadAddons);
}

}  // namespace
}  // namespace varnex::e2e
