#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>

#include "support/Fixture.hpp"

namespace varnex::testing {
namespace {

using Activation = AppTest;
using Strings = std::vector<Text>;

// A path as the shell is handed it: joined with "/", ending in two zero bytes.
Text ShellPath(const Text& name) { return Text(kAddons) + "/" + name + Text(2, '\0'); }

void ExpectRenames(const emulated::Shell& shell, const std::vector<std::pair<Text, Text>>& renames) {
    ASSERT_EQ(shell.calls.size(), renames.size());
    for (std::size_t i = 0; i < renames.size(); ++i) {
        EXPECT_EQ(shell.calls[i].wFunc, 4u);
        EXPECT_EQ(shell.calls[i].fFlags, 0u);
        EXPECT_EQ(shell.calls[i].pFrom, ShellPath(renames[i].first));
        EXPECT_EQ(shell.calls[i].pTo, ShellPath(renames[i].second));
    }
}

TEST_F(Activation, OneAddonChangesOnlyTheLastLetterOfItsName) {
    struct Case {
        const char* name;
        const char* renamed;  // null: left alone
        Strings active, inactive;
    };
    const Case cases[] = {
        {"Tank.PBX", "Tank.PBo", {"Tank.PBo"}, {}},
        {"abc.pbx", "abc.pbo", {"abc.pbo"}, {}},
        {"ABC.PBO", "ABC.PBx", {}, {"ABC.PBx"}},
        {"xms.pbo", "xms.pbx", {}, {"xms.pbx"}},
        {"DATA.pbo", "DATA.pbx", {}, {"DATA.pbx"}},
        {"tank.pbo.bak", "tank.pbo.bax", {"tank.pbo.bax"}, {}},
        {"a.pbo", nullptr, {"a.pbo"}, {}},  // inside Data.pbo: official
        {"XMS.pbo", nullptr, {"XMS.pbo"}, {}},
    };
    for (const auto& c : cases) {
        Emulation emu;
        emu.InstallGame();
        emu.Write(InAddons(c.name), "content");
        AddonManager app(emu.platform());
        ASSERT_TRUE(app.AddonManager_Form_Load());
        const bool active = Names(app.File1) == Strings{c.name};
        ClickOn(active ? app.File1 : app.File2, c.name);
        (active ? app.Command2 : app.Command3).Click();
        if (c.renamed) ExpectRenames(*emu.shell, {{c.name, c.renamed}});
        else EXPECT_TRUE(emu.shell->calls.empty()) << c.name;
        const Text now = c.renamed ? c.renamed : c.name;
        Strings onDisk{"Comments.txt", now};
        std::sort(onDisk.begin(), onDisk.end());
        EXPECT_EQ(emu.Names(kAddons), onDisk) << c.name;
        EXPECT_EQ(emu.Read(InAddons(now)), "content");
        EXPECT_EQ(Names(app.File1), c.active) << c.name;
        EXPECT_EQ(Names(app.File2), c.inactive) << c.name;
        EXPECT_TRUE(emu.desktop.boxes.empty()) << c.name;
        EXPECT_FALSE(app.Busy) << c.name;
    }
}

TEST_F(Activation, NothingSelectedDoesNothingAndTheLastNameStaysStored) {
    emu.InstallGame();
    emu.Write(InAddons("tank.pbo"), "t");
    emu.Write(InAddons("heli.pbx"), "h");
    Start();
    app->Command3.Click();
    app->Command2.Click();
    app->AddonManager_Option1_Click();  // a refresh leaves SelectedInactive empty
    app->Command3.Click();
    EXPECT_TRUE(emu.shell->calls.empty());
    EXPECT_TRUE(emu.desktop.boxes.empty());
    EXPECT_EQ(emu.Names(kAddons), (Strings{"Comments.txt", "heli.pbx", "tank.pbo"}));

    // Deactivating the last active addon keeps its name: a second press
    // asks for a file that is gone, and the player is told.
    ClickOn(app->File1, "tank.pbo");
    app->Command2.Click();
    EXPECT_EQ(app->SelectedActive, "tank.pbo");
    EXPECT_TRUE(emu.desktop.boxes.empty());
    app->Command2.Click();
    ExpectRenames(*emu.shell, {{"tank.pbo", "tank.pbx"}, {"tank.pbo", "tank.pbx"}});
    ASSERT_EQ(emu.desktop.boxes.size(), 1u);
    EXPECT_EQ(emu.desktop.boxes[0].text,
              "Varnex could not rename C:\\Games\\OFP\\ADDONS/tank.pbo to tank.pbx: the file does not exist.");
    EXPECT_EQ(emu.desktop.boxes[0].caption, "VARNX");
    EXPECT_EQ(emu.Names(kAddons), (Strings{"Comments.txt", "heli.pbx", "tank.pbx"}));
    EXPECT_FALSE(app->Busy);
}

TEST_F(Activation, DeactivateAllPassesOverOfficialNamesAndActivateAllAlwaysRefreshes) {
    emu.InstallGame();
    for (const char* name : {"Data.pbo", "a.pbo", "tank.pbo"}) emu.Write(InAddons(name), std::string(1500, 'z'));
    Start();
    app->Command5.Click();
    ExpectRenames(*emu.shell, {{"tank.pbo", "tank.pbx"}});
    EXPECT_EQ(emu.Names(kAddons), (Strings{"Comments.txt", "Data.pbo", "a.pbo", "tank.pbx"}));
    EXPECT_EQ(Names(app->File1), (Strings{"a.pbo", "Data.pbo"}));
    EXPECT_EQ(Names(app->File2), Strings{"tank.pbx"});
    EXPECT_EQ(app->SelectedInactive, "");
    EXPECT_EQ(Lines(app->foldersize), Strings{" 6 kb"});
    EXPECT_FALSE(app->Busy);

    app->Command6.Click();
    EXPECT_EQ(Lines(app->addonsize), Strings{" 6 kb"});
    emu.Write(InAddons("jeep.pbo"), "j");
    app->Command6.Click();  // nothing inactive left: renames nothing, still refreshes
    ExpectRenames(*emu.shell, {{"tank.pbo", "tank.pbx"}, {"tank.pbx", "tank.pbo"}});
    EXPECT_EQ(emu.Names(kAddons), (Strings{"Comments.txt", "Data.pbo", "a.pbo", "jeep.pbo", "tank.pbo"}));
    EXPECT_EQ(Lines(app->addonsize), Strings{" 7 kb"});
    EXPECT_EQ(Lines(app->foldersize), Strings{});
    EXPECT_EQ(app->File1.ListIndex(), 0);
    EXPECT_TRUE(emu.desktop.boxes.empty());
    EXPECT_FALSE(app->Busy);
}

TEST_F(Activation, AClashChangesNoFileAndTheWalkGoesOn) {
    for (const bool shellReports : {false, true}) {
        Emulation emu;
        emu.InstallGame();
        emu.shell->reportsOwnErrors = shellReports;
        for (const char* name : {"heli.pbo", "tank.pbo", "zulu.pbo"}) emu.Write(InAddons(name), name);
        emu.Write(InAddons("TANK.pbx"), "older");
        AddonManager app(emu.platform());
        ASSERT_TRUE(app.AddonManager_Form_Load());
        app.Command5.Click();
        ExpectRenames(*emu.shell, {{"heli.pbo", "heli.pbx"}, {"tank.pbo", "tank.pbx"}, {"zulu.pbo", "zulu.pbx"}});
        EXPECT_EQ(emu.Names(kAddons), (Strings{"Comments.txt", "TANK.pbx", "heli.pbx", "tank.pbo", "zulu.pbx"}));
        EXPECT_EQ(emu.Read(InAddons("tank.pbo")), "tank.pbo");
        EXPECT_EQ(emu.Read(InAddons("TANK.pbx")), "older");
        if (shellReports) {
            EXPECT_TRUE(emu.desktop.boxes.empty());
        } else {
            ASSERT_EQ(emu.desktop.boxes.size(), 1u);
            EXPECT_EQ(emu.desktop.boxes[0].text,
                      "Varnex could not rename C:\\Games\\OFP\\ADDONS/tank.pbo to tank.pbx: "
                      "a file of that name already exists.");
            EXPECT_EQ(emu.desktop.boxes[0].caption, "VARNX");
            EXPECT_EQ(emu.desktop.boxes[0].style, kMbOk | kMbIconExclamation);
        }
        EXPECT_FALSE(app.Busy);
    }
}

TEST_F(Activation, LongWalksShowTheirProgressAndRestoreTheLabel) {
    emu.InstallGame();
    for (int i = 0; i < 600; ++i) emu.Write(InAddons("a" + std::to_string(1000 + i) + ".pbo"), "z");
    Start();
    app->Label1.SetCaption("Ready.");
    std::vector<Text> captions;
    emu.files->Before(emulated::FileOp::FileLength, [&](const Text&) {
        if (captions.empty() || captions.back() != app->Label1.Caption()) captions.push_back(app->Label1.Caption());
    });
    app->Command5.Click();
    EXPECT_EQ(captions, (Strings{"Ready.", "Deactivating 256 of 600", "Deactivating 512 of 600", "Ready.",
                                "Reading sizes: 256 of 600", "Reading sizes: 512 of 600", "Ready."}));
    EXPECT_EQ(app->Label1.Caption(), "Ready.");
    EXPECT_EQ(emu.desktop.keepResponsiveCalls, 4);
    EXPECT_EQ(emu.shell->calls.size(), 600u);
    EXPECT_EQ(Lines(app->foldersize), Strings{" 600 kb"});
    EXPECT_FALSE(app->Busy);
}

TEST_F(Activation, AWalkStopsAtItsCountersLimitAndSaysSo) {
    emu.InstallGame();
    const auto folder = emu.files->HostPath(kAddons);
    for (int i = 0; i < 32768; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "a%05d.pbo", i);
        ::close(::open((folder / name).c_str(), O_CREAT | O_WRONLY, 0644));
    }
    Start();
    app->Command5.Click();
    ASSERT_EQ(emu.shell->calls.size(), 32767u);
    EXPECT_EQ(emu.shell->calls.back().pFrom, ShellPath("a32766.pbo"));
    EXPECT_EQ(emu.shell->calls.back().pTo, ShellPath("a32766.pbx"));
    EXPECT_EQ(Names(app->File1), Strings{"a32767.pbo"});
    EXPECT_EQ(app->File2.ListCount(), 32767);
    ASSERT_EQ(emu.desktop.boxes.size(), 1u);
    EXPECT_EQ(emu.desktop.boxes[0].text,
              "This folder holds 32,768 addons in that list, more than Varnex walks in one go: the first 32,767 "
              "were deactivated, the others were left as they were.");
    EXPECT_EQ(emu.desktop.boxes[0].caption, "VARNX");
    EXPECT_EQ(Lines(app->addonsize), Strings{" 1 kb"});
    EXPECT_EQ(Lines(app->foldersize), Strings{" 32768 kb"});

    // A name in another letter case appears in the big folder behind the
    // program's back: the rename still clashes, and the inactive list, now
    // longer than a walk, is counted whole.
    ::close(::open((folder / "A32767.PBX").c_str(), O_CREAT | O_WRONLY, 0644));
    ClickOn(app->File1, "a32767.pbo");
    app->Command2.Click();
    ASSERT_EQ(emu.desktop.boxes.size(), 2u);
    EXPECT_EQ(emu.desktop.boxes[1].text,
              "Varnex could not rename C:\\Games\\OFP\\ADDONS/a32767.pbo to a32767.pbx: "
              "a file of that name already exists.");
    EXPECT_TRUE(emu.Exists(InAddons("a32767.pbo")));
    EXPECT_EQ(app->File2.ListCount(), 32768);
    EXPECT_EQ(Lines(app->addonsize), Strings{" 1 kb"});
    EXPECT_EQ(Lines(app->foldersize), Strings{" 32769 kb"});
    EXPECT_FALSE(app->Busy);
}

}  // namespace
}  // namespace varnex::testing
