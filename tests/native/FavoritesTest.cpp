#include <random>

#include "favorites/NameMatcher.hpp"
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
    struct Case { Strings addons; std::string bytes; bool protect = false; };
    const Case cases[] = {
        // The list shows Heli.PBO first: it sorts names without regard to case.
        {{"ABox.pbo", "m1tank.pbo", "Heli.PBO", "jeep.pbx"}, "Heli.pbx m1tank.pbx "}, {{"Heli.PBO"}, "Heli.pbx "},
        {{"ABox.pbo", "a.pbo", "tank.pbx"}, ""}, {{"m1tank.pbo"}, "old", true},
    };
    for (const auto& c : cases) {
        Emulation emu;
        auto app = Started(emu, c.addons);
        if (c.protect) emu.files->Protect(kList);
        app->File1.SetListIndex(0);
        const Strings details = app->List1.Items();
        app->AddonManager_SaveFavorits_Click();
        EXPECT_EQ(emu.Read(kList), c.bytes);
        // The walk's clicks were ignored; the last entry stays selected.
        EXPECT_EQ(app->List1.Items(), details);
        EXPECT_EQ(app->File1.ListIndex(), app->File1.ListCount() - 1);
        EXPECT_FALSE(app->FavoritesBusy);
        EXPECT_EQ(emu.Boxes(), c.protect ? Strings{"VARNX 48: The favorites list C:\\Lists\\fav.txtf could not be "
                                                   "written: access is denied."}
                                         : Strings{});
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

TEST(Favorites, LoadingActivatesEveryInactiveAddonWhoseNameOccursInTheList) {
    struct Case { Strings addons; std::string list; Strings active, inactive; };
    const Case cases[] = {
        {{"ABox.pbo", "m1tank.pbx", "1tank.pbx", "tank.pbx", "heli.pbo", "jeep.pbx"}, "m1tank.pbx other.pbx ",
         {"1tank.pbo", "ABox.pbo", "m1tank.pbo", "tank.pbo"}, {"heli.pbx", "jeep.pbx"}},
        {{"ABox.pbo", "heli.pbo"}, "", {"ABox.pbo"}, {"heli.pbx"}},
        // Deactivate all makes Heli.PBx, which the list's Heli.pbx does not name.
        {{"Heli.PBO"}, "Heli.pbx ", {}, {"Heli.PBx"}},
    };
    for (const auto& c : cases) {
        Emulation emu;
        auto app = Started(emu, c.addons, c.list);
        app->AddonManager_LoadFavorits_Click();
        EXPECT_EQ(std::pair(Names(app->File1), Names(app->File2)), std::pair(c.active, c.inactive)) << c.list;
        EXPECT_TRUE(emu.desktop.boxes.empty());
    }
}

TEST(Favorites, AListThatIsMissingOrUnreadableIsReportedAfterEverythingWasDeactivated) {
    for (const bool missing : {true, false}) {
        Emulation emu;
        auto app = Started(emu, {"ABox.pbo", "m1tank.pbo"}, "m1tank.pbx ");
        const Text path = missing ? "C:\\Lists\\gone.txtf" : kList;
        if (!missing) emu.files->FailOn(emulated::FileOp::Read, 1, errc::kAccessDenied);
        emu.desktop.dialogAnswers = {path};
        app->AddonManager_LoadFavorits_Click();
        EXPECT_EQ(emu.Boxes(), Strings{"VARNX 48: The favorites list " + path +
                                       (missing ? " was not found" : " cannot be read: access is denied") +
                                       ".\r\n\r\nEvery addon that is not one of the game's own has been "
                                       "deactivated; none was activated."});
        EXPECT_EQ(emu.Names("C:\\Lists"), Strings{"fav.txtf"});
        EXPECT_EQ(std::pair(Names(app->File1), Names(app->File2)), std::pair(Strings{"ABox.pbo"}, Strings{"m1tank.pbx"}));
        EXPECT_FALSE(app->FavoritesBusy);
    }
}

TEST(NameMatcher, FindsWhatAPlainSearchFinds) {
    std::mt19937 random(7);
    const auto word = [&](int maxLength) {
        Text w(std::uniform_int_distribution<int>(0, maxLength)(random), ' ');
        for (char& c : w) c = "ab.\x80\xFF"[std::uniform_int_distribution<int>(0, 4)(random)];
        return w;
    };
    for (int round = 0; round < 300; ++round) {
        Strings some(static_cast<std::size_t>(std::uniform_int_distribution<int>(0, 12)(random)));
        for (Text& name : some) name = word(6);
        const Text text = word(40);
        std::vector<bool> plain;  // what a plain search finds
        for (const Text& name : some) plain.push_back(InStr(1, text, name) != 0);
        ASSERT_EQ(NameMatcher(some).Occurs(text), plain) << text;
    }
}

}  // namespace
}  // namespace varnex::testing
