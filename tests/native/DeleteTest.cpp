#include "support/Fixture.hpp"

namespace varnex::testing {
namespace {

using V = std::vector<Text>;

const Text kHeliFrom = Text(kAddons) + "/heli.pbx";
const V kAll{"Comments.txt", "heli.pbx", "heli.txt", "jeep.pbx", "jeep.txt", "tank.pbo"};

// tank.pbo (1 kb), heli.pbx (2 kb) and jeep.pbx (1 kb), the inactive ones
// with companions, shown through the game's choice so the sizes are up.
std::unique_ptr<AddonManager> Started(Emulation& emu) {
    emu.InstallGame();
    for (const Text& name : kAll) emu.Write(Text(kAddons) + "\\" + name, name == "heli.pbx" ? Text(1024, 'h') : name);
    auto app = std::make_unique<AddonManager>(emu.platform());
    app->AddonManager_Form_Load();
    app->AddonManager_Option1_Click();
    return app;
}

V Without(V names, const V& gone) {
    for (const Text& name : gone) std::erase(names, name);
    return names;
}

TEST(Delete, RightAfterARefreshNothingIsSelected) {
    Emulation emu;
    auto app = Started(emu);
    app->AddonManager_Command1_Click();
    ASSERT_EQ(emu.desktop.boxes.size(), 1u);
    EXPECT_EQ(emu.desktop.boxes[0].text, "No addon selected");
    EXPECT_EQ(emu.desktop.boxes[0].caption, "VARNX");
    EXPECT_EQ(emu.desktop.boxes[0].style, 0u);
    EXPECT_TRUE(emu.shell->calls.empty());
    EXPECT_EQ(emu.Names(kAddons), kAll);
    EXPECT_FALSE(app->Busy);
}

TEST(Delete, TheCompanionGoesWhetherThePlayerAcceptsOrDeclinesAndNothingIsRefreshed) {
    for (const bool accept : {true, false}) {
        Emulation emu;
        auto app = Started(emu);
        emu.shell->confirmDelete = accept;
        app->File1.SetListIndex(0);
        app->File2.SetListIndex(0);
        const auto listings1 = app->File1.ListingRevision();
        app->AddonManager_Command1_Click();

        ASSERT_EQ(emu.shell->calls.size(), 1u);
        const auto& call = emu.shell->calls[0];
        EXPECT_EQ(call.wFunc, 3u);
        EXPECT_EQ(call.fFlags, 0x40);
        EXPECT_EQ(call.pFrom, kHeliFrom + Text(2, '\0'));
        EXPECT_EQ(call.pTo, "");
        EXPECT_EQ(emu.shell->recycled, accept ? V{kHeliFrom} : V{});
        const V gone = accept ? V{"heli.pbx", "heli.txt"} : V{"heli.txt"};
        EXPECT_EQ(emu.Names(kAddons), Without(kAll, gone));
        EXPECT_EQ(Names(app->File2), Without({"heli.pbx", "jeep.pbx"}, gone));
        // The active list is read once, before the delete; the sizes stay.
        EXPECT_EQ(app->File1.ListingRevision(), listings1 + 1);
        EXPECT_EQ(Lines(app->addonsize), V{" 1 kb"});
        EXPECT_EQ(Lines(app->foldersize), V{" 4 kb"});
        EXPECT_EQ(app->SelectedInactive, "heli.pbx");
        EXPECT_EQ(app->SelectedActive, "tank.pbo");
        EXPECT_TRUE(emu.desktop.boxes.empty()) << accept;
        EXPECT_FALSE(app->Busy);
    }
}

TEST(Delete, ACompanionThatCannotBeRemovedIsNamedInOneBoxAndTheProgramGoesOn) {
    for (const bool protect : {true, false}) {
        Emulation emu;
        auto app = Started(emu);
        if (protect) emu.files->Protect(Text(kAddons) + "\\heli.txt");
        else emu.files->FailOn(emulated::FileOp::Delete, 1, errc::kSharingViolation);
        app->File2.SetListIndex(0);
        app->AddonManager_Command1_Click();
        EXPECT_EQ(emu.shell->recycled, V{kHeliFrom});
        EXPECT_EQ(emu.Names(kAddons), Without(kAll, {"heli.pbx"}));
        ASSERT_EQ(emu.desktop.boxes.size(), 1u);
        EXPECT_EQ(emu.desktop.boxes[0].text, "The information file C:\\Games\\OFP\\ADDONS\\heli.txt could not be removed: " +
                                                 Text(protect ? "access is denied." : "the file is in use by another program."));
        EXPECT_EQ(emu.desktop.boxes[0].caption, "VARNX");
        EXPECT_FALSE(app->Ended());
        EXPECT_FALSE(app->Busy);
    }
}

TEST(Delete, PressingTwiceFindsTheAddonGoneTheSecondTime) {
    Emulation emu;
    auto app = Started(emu);
    app->File2.SetListIndex(0);
    app->AddonManager_Command1_Click();
    app->AddonManager_Command1_Click();
    ASSERT_EQ(emu.shell->calls.size(), 2u);
    EXPECT_EQ(emu.shell->calls[1].pFrom, kHeliFrom + Text(2, '\0'));
    EXPECT_EQ(emu.shell->recycled, V{kHeliFrom});
    ASSERT_EQ(emu.desktop.boxes.size(), 1u);
    EXPECT_EQ(emu.desktop.boxes[0].text,
              "Varnex could not move C:\\Games\\OFP\\ADDONS/heli.pbx into the recycle bin: the file does not exist.");
    EXPECT_EQ(emu.Names(kAddons), Without(kAll, {"heli.pbx", "heli.txt"}));
    EXPECT_FALSE(app->Busy);
}

}  // namespace
}  // namespace varnex::testing
