#include "support/Fixture.hpp"

namespace varnex::testing {
namespace {

using Fields = std::array<Text, 6>;

const Text n = "No entry";
const Fields kPreset{"No entry\r\n", "No entry\r\n", "No entry\r\n", n, "-", "-"};

struct Info : AppTest {
    Fields Shown() {
        Fields shown;
        for (std::size_t i = 0; i < 6; ++i) shown[i] = app->Info()->Fields()[i]->GetText();
        return shown;
    }
};

TEST_F(Info, ADoubleClickShowsTheCompanionCutByPositionAndLoadsOnlyWhenNotLoaded) {
    emu.Put({"tank.pbx.txt"}, "/x/authorMe/x/version2");
    emu.Put({"jeep.txt"}, "");
    Start({"tank.pbx.old", "heli.pbo", "jeep.pbx"});
    // Nothing selected since start-up: the window opens unfilled.
    app->File1.DblClick();
    EXPECT_EQ(emu.Boxes(), Strings{"VARNX 0: No addon selected"});
    EXPECT_EQ(std::pair(app->Info()->Visible(), Shown()), std::pair(true, kPreset));
    app->Info()->Unload();
    DoubleClick(app->File2, "tank.pbx.old");
    EXPECT_EQ(std::pair(app->Info()->Visible(), Shown()), std::pair(true, Fields{n, n, n, "Me", "2", "-"}));
    // Already open: the click runs, the window keeps showing its addon.
    DoubleClick(app->File2, "jeep.pbx");
    EXPECT_EQ(app->SelectedInactive + "|" + Shown()[3], "jeep.pbx|Me");

    // An empty companion is removed, a missing one is not made.
    for (auto* list : {&app->File2, &app->File1}) {
        app->Info()->Unload();
        DoubleClick(*list, list == &app->File1 ? "heli.pbo" : "jeep.pbx");
        EXPECT_EQ(std::pair(app->Info()->Visible(), Shown()), std::pair(true, kPreset));
    }
    EXPECT_EQ(emu.Names(kAddons), (Strings{"Comments.txt", "heli.pbo", "jeep.pbx", "tank.pbx.old", "tank.pbx.txt"}));
    // A folder that is gone holds no companion either; Windows names it
    // "path not found".
    app->Info()->Unload();
    GlobaleVariables::SelectedPath = "C:\\Gone\\mod.pbo";
    app->Info()->Show();
    EXPECT_EQ(Shown(), kPreset);
    EXPECT_FALSE(emu.files->FolderExists("C:\\Gone"));
    EXPECT_EQ(emu.Boxes().size(), 1u);
}

}  // namespace
}  // namespace varnex::testing
