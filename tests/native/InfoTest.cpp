#include "support/Fixture.hpp"

namespace varnex::testing {
namespace {

using Info = AppTest;

const Text kPreset = "shown|No entry\r\n|No entry\r\n|No entry\r\n|No entry|-|-|";

// Whether the window is shown, then its six fields, each followed by "|".
Text Shown(AddonManager& app) {
    Text shown = app.Info()->Visible() ? "shown|" : "hidden|";
    for (const TextBox* field : app.Info()->Fields()) shown += field->GetText() + "|";
    return shown;
}

TEST_F(Info, ADoubleClickShowsTheCompanionCutByPosition) {
    emu.Put({"tank.pbx.txt"}, "/x/authorMe/x/version2");
    emu.Put({"jeep.txt"}, "");
    Start({"tank.pbx.old", "heli.pbo", "jeep.pbx"});
    // Nothing selected since start-up: the window opens unfilled.
    app->File1.DblClick();
    EXPECT_EQ(emu.Boxes(), Strings{kNotice + "No addon selected"});
    EXPECT_EQ(Shown(*app), kPreset);
    app->Info()->Unload();
    DoubleClick(app->File2, "tank.pbx.old");
    EXPECT_EQ(Shown(*app), "shown|No entry|No entry|No entry|Me|2|-|");
    // Already open: the click runs, the window keeps showing its addon.
    DoubleClick(app->File2, "jeep.pbx");
    EXPECT_EQ(app->SelectedInactive + "|" + Shown(*app), "jeep.pbx|shown|No entry|No entry|No entry|Me|2|-|");
    // An empty companion is removed, a missing one is not made.
    for (const Text name : {"jeep.pbx", "heli.pbo"}) {
        app->Info()->Unload();
        DoubleClick(name.back() == 'o' ? app->File1 : app->File2, name);
        EXPECT_EQ(Shown(*app), kPreset);
    }
    EXPECT_EQ(emu.Names(kAddons), (Strings{"Comments.txt", "heli.pbo", "jeep.pbx", "tank.pbx.old", "tank.pbx.txt"}));
    // A folder that is gone holds no companion either (Windows names it
    // "path not found"): the fields as preset, no box, no folder made.
    app->Info()->Unload();
    GlobaleVariables::SelectedPath = "C:\\Gone\\mod.pbo";
    app->Info()->Show();
    EXPECT_TRUE(Shown(*app) == kPreset && emu.Boxes().size() == 1 && !emu.files->FolderExists("C:\\Gone"));
}

}  // namespace
}  // namespace varnex::testing
