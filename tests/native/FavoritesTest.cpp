#include "support/Fixture.hpp"

namespace varnex::testing {
namespace {

const Text kList = "C:\\Lists\\fav.txtf";

// The game's addon folder holding `addons`, and C:\Lists holding `list`.
std::unique_ptr<AddonManager> Started(Emulation& emu, const Strings& addons, const std::string& list = "old") {
    emu.Write(kList, list);
    emu.desktop.dialogAnswers = {kList};
    return emu.Game(addons);
}

TEST(Favorites, SavingReplacesTheFileWithTheNonOfficialActiveAddonsInListOrder) {
    struct Case {
        Strings addons;
        std::string bytes;
    };
    const Case cases[] = {
        // The list shows Heli.PBO first: it sorts names without regard to case.
        {{"ABox.pbo", "m1tank.pbo", "Heli.PBO", "jeep.pbx"}, "Heli.pbx m1tank.pbx "},
        {{"Heli.PBO"}, "Heli.pbx "},
        {{"ABox.pbo", "a.pbo", "tank.pbx"}, ""},
    };
    for (const auto& c : cases) {
        Emulation emu;
        auto app = Started(emu, c.addons);
        app->File1.SetListIndex(0);
        const Strings details = app->List1.Items();
        app->AddonManager_SaveFavorits_Click();
        EXPECT_EQ(emu.Read(kList), c.bytes);
        // The walk's clicks were ignored; the last entry stays selected.
        EXPECT_EQ(app->List1.Items(), details);
        EXPECT_EQ(std::pair(app->File1.ListIndex(), emu.Boxes()), std::pair(app->File1.ListCount() - 1, Strings{}));
    }
}

TEST(Favorites, BothDialogsAreSetUpAlikeKeepTheLastNameAndCancellingLoadStillDeactivates) {
    Emulation emu;
    auto app = Started(emu, {"ABox.pbo", "m1tank.pbo"});
    emu.desktop.dialogAnswers = {"", kList};
    app->AddonManager_SaveFavorits_Click();  // cancelled
    EXPECT_EQ(emu.Read(kList), "old");
    app->AddonManager_SaveFavorits_Click();
    app->AddonManager_LoadFavorits_Click();  // cancelled
    app->AddonManager_Option3_Click();
    app->AddonManager_SaveFavorits_Click();  // cancelled
    EXPECT_EQ(emu.desktop.dialogWasSave, (std::vector<bool>{true, true, false, true}));
    const Text names[] = {"", "", kList, ""};
    const Text folders[] = {kAddons, kAddons, kAddons, "C:\\Games\\OFP"};
    for (std::size_t i = 0; i < 4; ++i) {
        const auto& d = emu.desktop.dialogs.at(i);
        EXPECT_EQ(d.initDir + "|" + d.fileName + "|" + d.filter + "|" + std::to_string(d.filterIndex) + d.title +
                      d.defaultExt + std::to_string(d.flags),
                  folders[i] + "|" + names[i] + "|Favorits (*.txtf)|*.txtf|10");
    }
    EXPECT_EQ(emu.Read(kList), "m1tank.pbx ");
    EXPECT_EQ(emu.Names(kAddons), (Strings{"ABox.pbo", "Comments.txt", "m1tank.pbx"}));
}

TEST(Favorites, ALoadWhoseListIsMissingEndsAsTheLoadOfAnEmptyList) {
    // What a load leaves in the window, whatever its list.
    const auto window = [](AddonManager& app) {
        return Sizes(app) + app.Text1.GetText() + "|" + app.SelectedActive + "|" + app.SelectedInactive + "|" +
               std::to_string(app.File1.ListIndex()) + std::to_string(app.File2.ListIndex()) +
               std::to_string(app.FavoritesBusy) + std::to_string(app.Image2.Visible());
    };
    for (const bool missing : {false, true}) {
        Emulation emu;
        auto app = Started(emu, {"ABox.pbo", "tank.pbo", "heli.pbx"}, "");
        app->CommentsGame = "//tankT//heliH";
        if (missing) fs::remove(emu.files->HostPath(kList));
        ClickOn(app->File1, "tank.pbo");
        app->AddonManager_LoadFavorits_Click();
        EXPECT_EQ(window(*app), " 1 kb| 3 kb|H|ABox.pbo||0001") << missing;
        EXPECT_EQ(emu.Boxes().size(), missing ? 1u : 0u);
    }
}

}  // namespace
}  // namespace varnex::testing
