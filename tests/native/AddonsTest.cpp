#include <fcntl.h>
#include <unistd.h>

#include "support/Fixture.hpp"

namespace varnex::testing {
namespace {

using Lists = BothShells;
using Activation = BothShells;
using Delete = BothShells;

// The shell's calls as "function flags: from -> to", named as Windows names them.
Strings Calls(const platform::emulated::Shell& shell) {
    Strings calls;
    for (const auto& c : shell.calls) {
        const Text function = c.wFunc == Filemanager::FO_RENAME   ? "FO_RENAME"
                              : c.wFunc == Filemanager::FO_DELETE ? "FO_DELETE"
                                                                  : std::to_string(c.wFunc);
        const Text flags = c.fFlags == Filemanager::FOF_ALLOWUNDO ? "FOF_ALLOWUNDO" : std::to_string(c.fFlags);
        calls.push_back(function + " " + flags + ": " + c.pFrom + " -> " + c.pTo);
    }
    return calls;
}

// A name in the addon folder as the shell is handed it: joined with "/",
// ending in two zero bytes.
Text ToShell(const Text& name) { return Text(kAddons) + "/" + name + Text(2, '\0'); }
Text Rename(const Text& from, const Text& to) { return "FO_RENAME 0: " + ToShell(from) + " -> " + ToShell(to); }

TEST_P(Activation, SwitchingChangesTheLastLetterAndSparesOfficialAddons) {
    struct Row {
        const char* name;
        const char* renamed;  // null: left alone
        bool activeAfter;
    };
    const Row rows[] = {
        {"Tank.PBX", "Tank.PBo", true},
        {"ABC.PBO", "ABC.PBx", false},
        {"xms.pbo", "xms.pbx", false},
        {"tank.pbo.bak", "tank.pbo.bax", true},
        {"a.pbo", nullptr, true},
        {"XMS.pbo", nullptr, true},
        // The inactive list knows no official addons: one of the game's own,
        // switched off by hand, is switched on again.
        {"ABox.pbx", "ABox.pbo", true},
    };
    EXPECT_EQ(BuildOfficialAddons().size(), 660u);  // the game's 68 names, joined by blanks
    for (const auto& [name, renamed, activeAfter] : rows) {
        SCOPED_TRACE(name);
        Emulation emu(GetParam());
        auto app = emu.Game({name});
        const bool active = app->File1.ListCount() == 1;
        ClickOn(active ? app->File1 : app->File2, name);
        // The button that applies: Activate for an inactive addon, Deactivate
        // for an active one not of the game's own, neither for those.
        EXPECT_EQ(app->Command3.Visible(), !active);
        EXPECT_EQ(app->Command2.Visible(), active && renamed);
        (active ? app->Command2 : app->Command3).Click();
        EXPECT_EQ(Calls(*emu.shell), renamed ? Strings{Rename(name, renamed)} : Strings{});
        EXPECT_EQ(Names(activeAfter ? app->File1 : app->File2), Strings{renamed ? renamed : name});
        EXPECT_EQ(app->File1.ListCount() + app->File2.ListCount(), 1);
        // A switch refreshes the size summaries; a refused one leaves them.
        EXPECT_EQ(Sizes(*app), !renamed      ? ShownSizes{}
                               : activeAfter ? ShownSizes{.active = Kb(1)}
                                             : ShownSizes{.inactive = Kb(1)});
    }
}

TEST_P(Activation, AWalkStopsAtItsCountersLimitButTheSizesCountEveryFile) {
    emu.InstallGame();
    const auto folder = emu.files->HostPath(kAddons);
    const auto touch = [&](const Text& name) { ::close(::open((folder / name).c_str(), O_CREAT | O_WRONLY, 0644)); };
    for (int i = 0; i < 32768; ++i) touch("a" + std::to_string(10000 + i) + ".pbo");
    Start();
    app->Label1.SetCaption("Ready.");
    Strings captions;
    // The desktop says when: here at every 15,000th entry of a walk.
    emu.desktop.responsiveDue = [&] { return app->LoopIndex % 15000 == 0; };
    emu.desktop.onKeepResponsive = [&] { captions.push_back(app->Label1.Caption()); };
    app->Command5.Click();
    EXPECT_EQ(captions, (Strings{"Deactivating 15,000 of 32,768", "Deactivating 30,000 of 32,768",
                                 "Reading sizes: 15,000 of 32,767", "Reading sizes: 30,000 of 32,767"}));
    EXPECT_EQ(app->Label1.Caption(), "Ready.");
    ASSERT_EQ(emu.shell->calls.size(), 32767u);
    EXPECT_EQ(Calls(*emu.shell).back(), Rename("a42766.pbo", "a42766.pbx"));
    EXPECT_EQ(emu.Boxes(),
              Strings{kWarning + "This folder holds 32,768 addons in that list, more than Varnex walks in "
                                 "one go: the first 32,767 were deactivated, the others were left as they were."});
    EXPECT_EQ(Sizes(*app), (ShownSizes{.active = Kb(1), .inactive = Kb(32768)}));
    // The inactive list, now longer than a walk, is still counted whole.
    touch("b.pbx");
    app->AddonManager_Option1_Click();
    EXPECT_EQ(Sizes(*app), (ShownSizes{.active = Kb(1), .inactive = Kb(32769)}));
}

TEST_P(Delete, DeleteAsksFirstAndTellsOfAnAddonAlreadyGone) {
    // tank.pbo (1 kb), heli.pbx (2 kb) and jeep.pbx (1 kb), the inactive ones
    // with companions, shown through the game's choice so the sizes are up.
    emu.Put({"heli.pbx"}, std::string(1024, 'h'));
    Start({"tank.pbo", "heli.txt", "jeep.pbx", "jeep.txt"});
    app->Command3.Click();
    app->Command2.Click();
    app->AddonManager_Option1_Click();  // a refresh leaves SelectedInactive empty
    app->Command3.Click();
    app->Command1.Click();
    EXPECT_EQ(emu.Boxes(), Strings{kNotice + "No addon selected"});
    // Declined: the companion goes all the same, and nothing is refreshed
    // but the inactive list. Windows' shell asks only while the player has
    // its confirmation on (off by default): the program asks instead, and
    // after a No the shell is not called.
    ClickOn(app->File1, "tank.pbo");
    ClickOn(app->File2, "heli.pbx");
    const auto listings = app->File1.ListingRevision();
    emu.desktop.boxAnswers = {kIdNo};
    app->Command1.Click();
    EXPECT_EQ(Calls(*emu.shell),
              Either(Strings{"FO_DELETE FOF_ALLOWUNDO: " + ToShell("heli.pbx") + " -> "}, Strings{}));
    EXPECT_EQ(emu.Names(kAddons), (Strings{"Comments.txt", "heli.pbx", "jeep.pbx", "jeep.txt", "tank.pbo"}));
    EXPECT_EQ(app->File1.ListingRevision(), listings + 1);
    EXPECT_EQ(Sizes(*app), (ShownSizes{.active = Kb(1), .inactive = Kb(4)}));
    emu.desktop.boxAnswers = {kIdYes};
    app->Command1.Click();
    EXPECT_EQ(std::pair(emu.shell->recycled, Names(app->File2)),
              std::pair(Strings{Text(kAddons) + "/heli.pbx"}, Strings{"jeep.pbx"}));
    app->Command1.Click();  // the addon is gone the second time: told, no one asked
    const Text heli = DeleteQuestion(*emu.shell, kAddons, "heli.pbx");
    EXPECT_EQ(emu.Boxes(),
              (Strings{kNotice + "No addon selected", heli, heli,
                       kWarning + "Varnex could not move C:\\Games\\OFP\\ADDONS\\heli.pbx into the recycle bin: the "
                                  "file does not exist."}));
    EXPECT_EQ(emu.shell->calls.size(), Either(2u, 1u));
}

TEST_P(Lists, AListShowsTheFolderAsItStoodBeforeTheChange) {
    // a.pbo.pbx stands in both lists. Deleting it from the inactive list
    // re-reads only that one afterwards: the active list keeps the listing
    // read before the delete.
    Start({"a.pbo.pbx", "b.pbx", "c.pbx"});
    ClickOn(app->File2, "a.pbo.pbx");
    emu.desktop.boxAnswers = {kIdYes};
    app->Command1.Click();
    EXPECT_EQ(std::pair(Names(app->File1), Names(app->File2)),
              std::pair(Strings{"a.pbo.pbx"}, Strings{"b.pbx", "c.pbx"}));
    // Activate all walks the inactive list; the active list, read with it
    // before the walk, shows the folder as it stood then.
    Strings activeDuringWalk = {"not looked at"};
    int renames = 0;
    emu.files->Before(platform::emulated::FileOp::Rename, [&](const Text&) {
        if (++renames == 2) activeDuringWalk = Names(app->File1);
    });
    app->Command6.Click();
    EXPECT_EQ(activeDuringWalk, Strings{});
    // The refresh selects the first active entry; the inactive list is
    // empty, and SelectedInactive keeps the last name walked.
    EXPECT_EQ(Names(app->File1), (Strings{"b.pbo", "c.pbo"}));
    EXPECT_EQ(app->SelectedActive, "b.pbo");
    EXPECT_EQ(app->SelectedInactive, "c.pbx");
    EXPECT_EQ(app->File2.ListIndex(), -1);
    // With nothing to walk, Activate all still reads the lists and sizes anew.
    emu.Put({"d.pbo"});
    app->Command6.Click();
    EXPECT_EQ(Names(app->File1).size(), 3u);
    EXPECT_EQ(Sizes(*app), ShownSizes{.active = Kb(3)});
}

VARNEX_ON_BOTH_SHELLS(Lists);
VARNEX_ON_BOTH_SHELLS(Activation);
VARNEX_ON_BOTH_SHELLS(Delete);

}  // namespace
}  // namespace varnex::testing
