#include "support/Fixture.hpp"

namespace varnex::testing {
namespace {

const Text kList = "C:\\Lists\\fav.txtf";

using Favorites = BothShells;

TEST_P(Favorites, SaveListsTheActiveAddonsAndTheDialogsKeepTheName) {
    emu.Write(kList, "old");
    Start({"ABox.pbo", "m1tank.pbo", "Heli.PBO", "jeep.pbx"});
    emu.desktop.dialogAnswers = {"", kList};
    app->SaveFavorits.Click();  // cancelled
    EXPECT_EQ(emu.Read(kList), "old");
    app->File1.SetListIndex(0);
    const Strings details = app->List1.Items();
    app->SaveFavorits.Click();
    // The list shows Heli.PBO first: it sorts names without regard to case.
    EXPECT_EQ(emu.Read(kList), "Heli.pbx m1tank.pbx ");
    // The walk's clicks were ignored; the last entry stays selected.
    EXPECT_EQ(app->List1.Items(), details);
    EXPECT_EQ(std::pair(app->File1.ListIndex(), emu.Boxes()), std::pair(app->File1.ListCount() - 1, Strings{}));
    app->LoadFavorits.Click();  // cancelled, it still deactivates all
    EXPECT_EQ(Names(app->File1), Strings{"ABox.pbo"});
    app->AddonManager_Option3_Click();
    app->SaveFavorits.Click();  // cancelled
    EXPECT_EQ(emu.desktop.dialogWasSave, (std::vector<bool>{true, true, false, true}));
    Strings seen;
    for (const auto& d : emu.desktop.dialogs)
        seen.push_back(d.initDir + "|" + d.fileName + "|" + d.filter + "|" + std::to_string(d.filterIndex) + d.title +
                       d.defaultExt + std::to_string(d.flags));
    const Text alike = "|Favorits (*.txtf)|*.txtf|10", addons = kAddons;
    EXPECT_EQ(seen, (Strings{addons + "|" + alike, addons + "|" + alike, addons + "|" + kList + alike,
                             "C:\\Games\\OFP|" + alike}));
    // A list applied (its Heli.pbx names no file: letter case counts): the
    // lists and their sizes read anew, the first inactive addon's details
    // shown, as after every refresh.
    app->AddonManager_Option1_Click();
    emu.desktop.dialogAnswers = {kList};
    app->LoadFavorits.Click();
    EXPECT_EQ(Names(app->File1), (Strings{"ABox.pbo", "m1tank.pbo"}));
    EXPECT_EQ(Sizes(*app) + std::to_string(app->File2.ListIndex()) + app->List1.Items().front(),
              " 2 kb| 4 kb|0Heli.PBx");
}

VARNEX_ON_BOTH_SHELLS(Favorites);

}  // namespace
}  // namespace varnex::testing
