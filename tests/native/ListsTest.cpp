#include "app/GlobaleVariables.hpp"
#include "support/Fixture.hpp"

namespace varnex::testing {
namespace {

using Lists = AppTest;
using Strings = std::vector<Text>;

TEST_F(Lists, ListsMatchTheirPatternsAndSummariesAddStartedKilobytes) {
    struct File {
        const char* name;
        std::size_t bytes;
    };
    struct Case {
        const char* what;
        std::vector<File> files;
        Strings active, inactive, addonsize, foldersize;
    };
    const Case cases[] = {
        {"5000, 0 and 1024 bytes",
         {{"a.pbo", 5000}, {"b.pbo", 0}, {"c.pbx", 1024}},
         {"a.pbo", "b.pbo"}, {"c.pbx"}, {" 6 kb"}, {" 8 kb"}},
        {"a name in both lists counts twice",
         {{"a.pbo.pbx", 2048}, {"x.pbo", 0}},
         {"a.pbo.pbx", "x.pbo"}, {"a.pbo.pbx"}, {" 4 kb"}, {" 7 kb"}},
        {"no active addon", {{"c.pbx", 1024}, {"d.pbx", 1}}, {}, {"c.pbx", "d.pbx"}, {}, {" 3 kb"}},
        {"no inactive addon", {{"a.pbo", 5000}}, {"a.pbo"}, {}, {" 5 kb"}, {}},
        {"no addon", {{"readme.txt", 10}}, {}, {}, {}, {}},
        {"patterns and order without regard to case",
         {{"TANK.PBO", 0}, {"b.Pbo", 0}, {"a.pBo.bak", 0}, {"Heli.PBX", 0}, {"x.pbx.OLD", 0},
          {"B2.pbo", 0}, {"apbo", 0}, {"readme.txt", 0}, {"pbo.pbx.txt", 0}},
         {"a.pBo.bak", "b.Pbo", "B2.pbo", "TANK.PBO"}, {"Heli.PBX", "pbo.pbx.txt", "x.pbx.OLD"},
         {" 4 kb"}, {" 7 kb"}},
    };
    for (const auto& c : cases) {
        Emulation emu;
        emu.InstallGame();
        for (const auto& f : c.files) emu.Write(InAddons(f.name), std::string(f.bytes, 'z'));
        std::filesystem::create_directories(emu.files->HostPath(InAddons("folder.pbo")));
        AddonManager app(emu.platform());
        ASSERT_TRUE(app.AddonManager_Form_Load());
        app.AddonManager_Option1_Click();
        EXPECT_EQ(Names(app.File1), c.active) << c.what;
        EXPECT_EQ(Names(app.File2), c.inactive) << c.what;
        EXPECT_EQ(Lines(app.addonsize), c.addonsize) << c.what;
        EXPECT_EQ(Lines(app.foldersize), c.foldersize) << c.what;
        EXPECT_FALSE(app.Busy) << c.what;
        EXPECT_EQ(emu.files->OpenHandles(), 0);
    }
}

TEST_F(Lists, ARefreshSelectsTheFirstEntriesAndShowsNoCommentWhileItWalks) {
    emu.InstallGame();
    for (const char* name : {"Data.pbo", "Anim.pbo", "heli.pbx", "tank.pbx"}) emu.Write(InAddons(name), "x");
    emu.Write(InAddons("Comments.txt"), "//heliH//tankT");
    Start();
    ClickOn(app->File2, "tank.pbx");
    EXPECT_EQ(app->Text1.GetText(), "T");
    std::vector<Text> shown;  // every text the comment box takes
    app->Text1.Change = [&, inner = app->Text1.Change] {
        shown.push_back(app->Text1.GetText());
        inner();
    };

    // Both active addons are official: Deactivate all renames nothing and
    // refreshes the lists.
    app->Command5.Click();
    EXPECT_TRUE(emu.shell->calls.empty());
    EXPECT_EQ(app->File1.ListIndex(), 0);
    EXPECT_EQ(app->File2.ListIndex(), 0);
    EXPECT_EQ(app->SelectedActive, "Anim.pbo");
    EXPECT_EQ(app->SelectedInactive, "");
    EXPECT_EQ(GlobaleVariables::SelectedPath, InAddons("heli.pbx"));
    EXPECT_EQ(Lines(app->List1), (Strings{"heli.pbx", "", "Size:  1kb"}));
    EXPECT_EQ(shown, Strings{""});
    EXPECT_EQ(app->Text1.GetText(), "");
    EXPECT_TRUE(app->Image2.Visible());
    EXPECT_FALSE(app->Image3.Visible());
    EXPECT_EQ(Lines(app->addonsize), Strings{" 2 kb"});
    EXPECT_EQ(Lines(app->foldersize), Strings{" 4 kb"});
    EXPECT_FALSE(app->Busy);

    // After Activate all the inactive list is empty: SelectedInactive keeps
    // the last name walked and the folder line stays empty.
    app->Command6.Click();
    EXPECT_EQ(Names(app->File2), Strings{});
    EXPECT_EQ(app->SelectedInactive, "tank.pbx");
    EXPECT_EQ(app->SelectedActive, "Anim.pbo");
    EXPECT_EQ(app->File1.ListIndex(), 0);
    EXPECT_EQ(Lines(app->addonsize), Strings{" 4 kb"});
    EXPECT_EQ(Lines(app->foldersize), Strings{});
    EXPECT_EQ(shown, Strings{""});
    EXPECT_FALSE(app->Busy);

    // Only the player's click shows a comment again.
    ClickOn(app->File1, "tank.pbo");
    EXPECT_EQ(app->Text1.GetText(), "T");
}

TEST_F(Lists, AFileThatVanishesDuringTheWalkCountsNothingAndIsNotCreated) {
    emu.InstallGame();
    emu.Write(InAddons("a.pbo"), std::string(3000, 'z'));
    emu.Write(InAddons("b.pbo"), std::string(9000, 'z'));
    emu.Write(InAddons("c.pbx"), "z");
    Start();
    emu.files->Before(emulated::FileOp::FileLength, [&](const Text& path) {
        if (path == InAddons("b.pbo")) std::filesystem::remove(emu.files->HostPath(path));
    });
    app->AddonManager_Option1_Click();
    EXPECT_EQ(Lines(app->addonsize), Strings{" 3 kb"});
    EXPECT_EQ(Lines(app->foldersize), Strings{" 4 kb"});
    EXPECT_FALSE(emu.Exists(InAddons("b.pbo")));
    EXPECT_TRUE(emu.desktop.boxes.empty());
    EXPECT_FALSE(app->Busy);
}

}  // namespace
}  // namespace varnex::testing

namespace varnex::testing {
namespace {

// Re-reading a list keeps its highlighted entry while that file is still
// there, so the highlight goes on matching the details shown for it.
TEST_F(AppTest, ReReadingAListKeepsItsCurrentEntryWhileTheFileIsThere) {
    emu.InstallGame();
    for (const char* name : {"alpha.pbo", "beta.pbo", "gamma.pbx"}) emu.Write(InAddons(name), "x");
    Start();
    app->AddonManager_Option1_Click();
    EXPECT_EQ(app->File1.FileName(), "alpha.pbo");
    EXPECT_EQ(app->File2.FileName(), "gamma.pbx");

    ClickOn(app->File1, "beta.pbo");
    emu.Write(InAddons("aaa.pbo"), "x");
    app->File1.Refresh();
    EXPECT_EQ(app->File1.FileName(), "beta.pbo");
    EXPECT_EQ(app->File1.ListIndex(), 2);

    std::filesystem::remove(emu.files->HostPath(InAddons("beta.pbo")));
    app->File1.Refresh();
    EXPECT_EQ(app->File1.ListIndex(), -1);
}

}  // namespace
}  // namespace varnex::testing
