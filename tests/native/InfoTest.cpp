#include "support/Fixture.hpp"

namespace varnex::testing {
namespace {

using Info = AppTest;

// The window's visibility and its six fields, in the order of their frames.
struct ShownInfo {
    bool shown = true;
    Text units = "No entry", unitsInfo = "No entry", general = "No entry", author = "No entry", version = "-",
         required = "-";
    bool operator==(const ShownInfo&) const = default;
    friend std::ostream& operator<<(std::ostream& out, const ShownInfo& i) {
        return out << (i.shown ? "shown" : "hidden") << " units \"" << i.units << "\" units info \"" << i.unitsInfo
                   << "\" general \"" << i.general << "\" author \"" << i.author << "\" version \"" << i.version
                   << "\" required \"" << i.required << '"';
    }
};

// The texts the window is loaded with before any companion is read: the
// first three end in a line break.
const ShownInfo kPreset{.units = "No entry\r\n", .unitsInfo = "No entry\r\n", .general = "No entry\r\n"};

ShownInfo Shown(AddonManager& app) {
    const auto f = app.Info()->Fields();
    return {app.Info()->Visible(), f[0]->GetText(), f[1]->GetText(), f[2]->GetText(),
            f[3]->GetText(),       f[4]->GetText(), f[5]->GetText()};
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
    const ShownInfo tank{.author = "Me", .version = "2"};
    EXPECT_EQ(Shown(*app), tank);
    // Already open: the click runs, the window keeps showing its addon.
    DoubleClick(app->File2, "jeep.pbx");
    EXPECT_EQ(app->SelectedInactive, "jeep.pbx");
    EXPECT_EQ(Shown(*app), tank);
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
    EXPECT_EQ(Shown(*app), kPreset);
    EXPECT_EQ(emu.Boxes(), Strings{kNotice + "No addon selected"});
    EXPECT_FALSE(emu.files->FolderExists("C:\\Gone"));
}

}  // namespace
}  // namespace varnex::testing
