#include "support/Fixture.hpp"

namespace varnex::testing {
namespace {

using Fields = std::array<Text, 6>;

const Text n = "No entry";
const Fields kPreset{"No entry\r\n", "No entry\r\n", "No entry\r\n", n, "-", "-"};

TEST(InfoTags, EachTagRunsToTheNextSlashXSlashOrTheEnd) {
    const std::pair<Text, Fields> cases[] = {
        {"/x/units\r\nM1A1 tank\r\n/x/version1.2/x/reqversion1.85\r\n", {"\r\nM1A1 tank\r\n", n, n, n, "1.2", "1.85\r\n"}},
        {"/x/authorBob/x/units", {"", n, n, "Bob", "-", "-"}}, {"/x/commentsee a/x/b here", {n, n, "see a", n, "-", "-"}},
        {"/X/units A /x/Units B /x/AUTHOR C /x/Version 2", {n, n, n, n, "-", "-"}}, {"/x/reqversion1.85", {n, n, n, n, "-", "1.85"}},
        {"/x/authorAnn\r\n/x/authorBob", {n, n, n, "Ann\r\n", "-", "-"}}, {"head/x/info x /x/version 1 /x/reqversion", {n, " x ", n, n, " 1 ", ""}},
    };
    for (const auto& [text, fields] : cases) EXPECT_EQ(ReadTags(text), fields) << text;
}

struct Info : AppTest {
    // The window moves the current item, then the double click's handling runs.
    static void DoubleClick(FileListBox& list, const Text& name) {
        const auto names = Names(list);
        list.Highlight(static_cast<int>(std::find(names.begin(), names.end(), name) - names.begin()));
        list.DblClick();
    }
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
    DoubleClick(app->File2, "tank.pbx.old");
    EXPECT_TRUE(app->Info()->Visible());
    EXPECT_EQ(Shown(), (Fields{n, n, n, "Me", "2", "-"}));
    // Already open: the click runs, the window keeps showing its addon.
    DoubleClick(app->File2, "jeep.pbx");
    EXPECT_EQ(app->SelectedInactive, "jeep.pbx");
    EXPECT_EQ(Shown()[3], "Me");

    // An empty companion is removed, a missing one is not made.
    for (auto* list : {&app->File2, &app->File1}) {
        app->Info()->Unload();
        DoubleClick(*list, list == &app->File1 ? "heli.pbo" : "jeep.pbx");
        EXPECT_TRUE(app->Info()->Visible());
        EXPECT_EQ(Shown(), kPreset);
    }
    EXPECT_EQ(emu.Names(kAddons), (Strings{"Comments.txt", "heli.pbo", "jeep.pbx", "tank.pbx.old", "tank.pbx.txt"}));
    // A folder that is gone holds no companion either; Windows names it
    // "path not found".
    app->Info()->Unload();
    GlobaleVariables::SelectedPath = "C:\\Gone\\mod.pbo";
    app->Info()->Show();
    EXPECT_EQ(Shown(), kPreset);
    EXPECT_FALSE(emu.files->FolderExists("C:\\Gone"));
    EXPECT_TRUE(emu.desktop.boxes.empty());
}

TEST_F(Info, NoAddonSelectedOrAnUnreadableCompanionShowsOneBoxAndAnUnfilledWindow) {
    emu.Put({"heli.txt"}, "/x/authorA");
    Start({"heli.pbx"});
    app->File1.DblClick();  // the active list is empty
    app->Info()->Unload();
    emu.files->FailOn(emulated::FileOp::Read, 1, errc::kAccessDenied);
    DoubleClick(app->File2, "heli.pbx");
    EXPECT_EQ(emu.Boxes(), (Strings{"VARNX 0: No addon selected",
                                    "VARNX 48: The information file C:\\Games\\OFP\\ADDONS\\heli.txt cannot be read: "
                                    "access is denied."}));
    EXPECT_TRUE(app->Info()->Visible());
    EXPECT_EQ(Shown(), kPreset);
    EXPECT_EQ(emu.Read(InAddons("heli.txt")), "/x/authorA");
}

}  // namespace
}  // namespace varnex::testing
