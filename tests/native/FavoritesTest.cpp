#include <filesystem>

#include "support/Fixture.hpp"

namespace varnex::testing {
namespace {

using V = std::vector<Text>;

const Text kList = "C:\\Lists\\fav.txtf";

// The game's addon folder holding `addons`, and C:\Lists.
std::unique_ptr<AddonManager> Started(Emulation& emu, const V& addons) {
    emu.InstallGame();
    for (const Text& name : addons) emu.Write(Text(kAddons) + "\\" + name, name);
    std::filesystem::create_directories(emu.files->HostPath("C:\\Lists"));
    auto app = std::make_unique<AddonManager>(emu.platform());
    app->AddonManager_Form_Load();
    return app;
}

TEST(Favorites, SavingReplacesTheFileWithTheNonOfficialActiveAddonsInListOrder) {
    enum Fault { kNone, kProtected, kDiskFull };
    struct Case {
        V addons;
        std::string bytes;
        Fault fault = kNone;
        Text reason = {};
    };
    const std::string old(100, 'x');  // a longer list from before
    const Case cases[] = {
        // The list shows Heli.PBO first: it sorts names without regard to case.
        {{"ABox.pbo", "m1tank.pbo", "Heli.PBO", "jeep.pbx"}, "Heli.pbx m1tank.pbx "},
        {{"m1tank.pbo"}, "m1tank.pbx "},
        {{"Heli.PBO"}, "Heli.pbx "},
        {{"ABox.pbo", "a.pbo", "tank.pbx"}, ""},
        {{}, ""},
        {{"m1tank.pbo"}, old, kProtected, "access is denied"},
        {{"m1tank.pbo"}, old, kDiskFull, "the disk is full"},
    };
    for (const auto& c : cases) {
        Emulation emu;
        auto app = Started(emu, c.addons);
        emu.Write(kList, old);
        if (c.fault == kProtected) emu.files->Protect(kList);
        if (c.fault == kDiskFull) emu.files->FailOn(emulated::FileOp::Replace, 1, errc::kDiskFull);
        app->File1.SetListIndex(0);
        const V details = Lines(app->List1);
        const Text selected = app->SelectedActive;
        emu.desktop.dialogAnswers = {kList};
        app->AddonManager_SaveFavorits_Click();
        EXPECT_EQ(emu.Read(kList), c.bytes);
        EXPECT_EQ(emu.Names("C:\\Lists"), V{"fav.txtf"});
        // The walk's clicks were ignored; the last entry stays selected.
        EXPECT_EQ(Lines(app->List1), details);
        EXPECT_EQ(app->SelectedActive, selected);
        EXPECT_EQ(app->File1.ListIndex(), app->File1.ListCount() - 1);
        EXPECT_FALSE(app->FavoritesBusy);
        EXPECT_TRUE(emu.shell->calls.empty());
        V boxes;
        for (const auto& box : emu.desktop.boxes) boxes.push_back(box.caption + ": " + box.text);
        EXPECT_EQ(boxes, c.reason.empty() ? V{}
                                          : V{"VARNX: The favorites list C:\\Lists\\fav.txtf could not be written: " +
                                              c.reason + "."});
    }
}

TEST(Favorites, BothDialogsAreSetUpAlikeKeepTheLastNameAndCancellingLoadStillDeactivates) {
    Emulation emu;
    auto app = Started(emu, {"ABox.pbo", "m1tank.pbo"});
    app->AddonManager_SaveFavorits_Click();  // cancelled
    EXPECT_TRUE(emu.Names("C:\\Lists").empty());
    EXPECT_EQ(app->File1.ListIndex(), -1);
    emu.desktop.dialogAnswers = {kList};
    app->AddonManager_SaveFavorits_Click();
    app->AddonManager_LoadFavorits_Click();  // cancelled
    app->AddonManager_Option3_Click();
    app->AddonManager_SaveFavorits_Click();  // cancelled

    EXPECT_EQ(emu.desktop.dialogWasSave, (std::vector<bool>{true, true, false, true}));
    const Text names[] = {"", "", kList, ""};
    const Text folders[] = {kAddons, kAddons, kAddons, kGame};
    for (std::size_t i = 0; i < 4; ++i) {
        const auto& d = emu.desktop.dialogs.at(i);
        EXPECT_EQ(d.initDir, folders[i]) << i;
        EXPECT_EQ(d.filter, "Favorits (*.txtf)|*.txtf");
        EXPECT_EQ(d.filterIndex, 1);
        EXPECT_EQ(d.fileName, names[i]) << i;
        EXPECT_EQ(d.title + d.defaultExt, "");
        EXPECT_EQ(d.flags, 0u);
    }
    EXPECT_EQ(emu.Read(kList), "m1tank.pbx ");
    EXPECT_EQ(emu.Names(kAddons), (V{"ABox.pbo", "Comments.txt", "m1tank.pbx"}));
    EXPECT_TRUE(emu.desktop.boxes.empty());
}

TEST(Favorites, LoadingActivatesEveryInactiveAddonWhoseNameOccursInTheList) {
    struct Case {
        V addons;
        std::string list;
        V active, inactive;
    };
    const Case cases[] = {
        {{"ABox.pbo", "m1tank.pbx", "1tank.pbx", "tank.pbx", "heli.pbo", "jeep.pbx"},
         "m1tank.pbx ",
         {"1tank.pbo", "ABox.pbo", "m1tank.pbo", "tank.pbo"},
         {"heli.pbx", "jeep.pbx"}},
        {{"m1tank.pbo", "heli.pbo"}, "m1tank.pbx other.pbx zz.pbx ", {"m1tank.pbo"}, {"heli.pbx"}},
        {{"ABox.pbo", "heli.pbo"}, "", {"ABox.pbo"}, {"heli.pbx"}},
        // Deactivate all makes Heli.PBx, which the list's Heli.pbx does not name.
        {{"Heli.PBO"}, "Heli.pbx ", {}, {"Heli.PBx"}},
    };
    for (const auto& c : cases) {
        Emulation emu;
        auto app = Started(emu, c.addons);
        emu.Write(kList, c.list);
        emu.desktop.dialogAnswers = {kList};
        app->AddonManager_LoadFavorits_Click();
        EXPECT_EQ(Names(app->File1), c.active) << c.list;
        EXPECT_EQ(Names(app->File2), c.inactive) << c.list;
        EXPECT_EQ(emu.Names(kAddons).size(), c.addons.size() + 1);
        EXPECT_EQ(emu.Read(kList), c.list);
        EXPECT_FALSE(app->FavoritesBusy);
        EXPECT_TRUE(emu.desktop.boxes.empty());
    }
}

TEST(Favorites, AListThatIsMissingOrUnreadableIsReportedAfterEverythingWasDeactivated) {
    for (const bool missing : {true, false}) {
        Emulation emu;
        auto app = Started(emu, {"ABox.pbo", "m1tank.pbo"});
        emu.Write(kList, "m1tank.pbx ");
        const Text path = missing ? "C:\\Lists\\gone.txtf" : kList;
        if (!missing) emu.files->FailOn(emulated::FileOp::Read, 1, errc::kAccessDenied);
        emu.desktop.dialogAnswers = {path};
        app->AddonManager_LoadFavorits_Click();
        ASSERT_EQ(emu.desktop.boxes.size(), 1u);
        EXPECT_EQ(emu.desktop.boxes[0].text,
                  "The favorites list " + path + (missing ? " was not found" : " cannot be read: access is denied") +
                      ".\r\n\r\nEvery addon that is not one of the game's own has been deactivated; none was "
                      "activated.");
        EXPECT_EQ(emu.desktop.boxes[0].caption, "VARNX");
        EXPECT_EQ(emu.Names("C:\\Lists"), V{"fav.txtf"});
        EXPECT_EQ(emu.Read(kList), "m1tank.pbx ");
        EXPECT_EQ(Names(app->File1), V{"ABox.pbo"});
        EXPECT_EQ(Names(app->File2), V{"m1tank.pbx"});
        EXPECT_FALSE(app->FavoritesBusy);
    }
}

TEST(Favorites, LoadingASavedListBringsBackTheSavedSet) {
    Emulation emu;
    auto app = Started(emu, {"ABox.pbo", "a.pbo", "m1tank.pbo", "heli.pbo", "jeep.pbx", "zulu.pbo"});
    const V saved = Names(app->File1);
    emu.desktop.dialogAnswers = {kList, kList};
    app->AddonManager_SaveFavorits_Click();
    ASSERT_EQ(emu.Read(kList), "heli.pbx m1tank.pbx zulu.pbx ");

    app->AddonManager_Command6_Click();
    app->File1.SetListIndex(4);
    ASSERT_EQ(app->SelectedActive, "m1tank.pbo");
    app->AddonManager_Command2_Click();
    ASSERT_NE(Names(app->File1), saved);

    app->AddonManager_LoadFavorits_Click();
    EXPECT_EQ(Names(app->File1), saved);
    EXPECT_EQ(Names(app->File2), V{"jeep.pbx"});
}

}  // namespace
}  // namespace varnex::testing
