#include "support/Fixture.hpp"

namespace varnex::testing {
namespace {

const Text kList = "C:\\Lists\\fav.txtf";

using Favorites = BothShells;

const Strings kAddonsFound = {"ABox.pbo", "m1tank.pbo", "Heli.PBO", "jeep.pbx"};

TEST_P(Favorites, SaveListWritesTheActiveAddonsInTheListsOrder) {
    emu.Write(kList, "old");
    Start(kAddonsFound);
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
    EXPECT_EQ(app->File1.ListIndex(), app->File1.ListCount() - 1);
    EXPECT_EQ(emu.Boxes(), Strings{});
}

TEST_P(Favorites, LoadListActivatesWhatItNamesAndReadsTheListsAnew) {
    emu.Write(kList, "Heli.pbx m1tank.pbx ");
    Start(kAddonsFound);
    emu.desktop.dialogAnswers = {kList};
    app->LoadFavorits.Click();
    // Heli.pbx names no file: letter case counts. The lists and their sizes
    // are read anew, the first inactive addon's details shown, as after
    // every refresh.
    EXPECT_EQ(Names(app->File1), (Strings{"ABox.pbo", "m1tank.pbo"}));
    EXPECT_EQ(Sizes(*app), (ShownSizes{.active = Kb(2), .inactive = Kb(4)}));
    EXPECT_EQ(app->File2.ListIndex(), 0);
    EXPECT_EQ(app->List1.Items().front(), "Heli.PBx");
}

VARNEX_ON_BOTH_SHELLS(Favorites);

}  // namespace
}  // namespace varnex::testing
