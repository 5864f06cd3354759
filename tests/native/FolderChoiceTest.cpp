#include <filesystem>

#include "support/Fixture.hpp"

namespace varnex::testing {
namespace {

using V = std::vector<Text>;

// The game folder holds tank.pbo (1 kb) and heli.pbx (2 kb) with a comment
// for heli; C:\Mods holds m1.pbo and m2.pbx (1 kb each).
std::unique_ptr<AddonManager> Started(Emulation& emu, const char* varnx) {
    emu.InstallGame();
    emu.Write(Text(kAddons) + "\\tank.pbo", "t");
    emu.Write(Text(kAddons) + "\\heli.pbx", std::string(1024, 'h'));
    emu.Write(Text(kAddons) + "\\Comments.txt", "//heliFast");
    emu.Write("C:\\Mods\\m1.pbo", "m");
    emu.Write("C:\\Mods\\m2.pbx", "m");
    if (varnx) emu.registry.SetString(kGameKey, "VARNX", varnx);
    auto app = std::make_unique<AddonManager>(emu.platform());
    app->AddonManager_Form_Load();
    return app;
}

void ExpectSizes(const AddonManager& app, const char* active, const char* folder) {
    EXPECT_EQ(Lines(app.addonsize), V{active});
    EXPECT_EQ(Lines(app.foldersize), V{folder});
}

TEST(FolderChoice, GameOthersGameOthersEndsOnTheOthersFolderThoughTheSecondMoveRaisedNoChange) {
    Emulation emu;
    auto app = Started(emu, "C:\\Mods");
    int changes = 0;
    const Event change = app->Dir1.Change;
    app->Dir1.Change = [&] { ++changes, change(); };

    app->AddonManager_Option1_Click();
    // The size walk ran while Busy, so heli's comment never reached the box.
    EXPECT_EQ(app->Text1.GetText(), "");
    app->AddonManager_Option3_Click();
    app->AddonManager_Option1_Click();
    EXPECT_EQ(app->AddonFolder, kAddons);
    app->AddonManager_Option3_Click();

    EXPECT_EQ(changes, 1);
    EXPECT_EQ(app->OthersFolder, "C:\\Mods");
    EXPECT_EQ(app->AddonFolder, app->OthersFolder);
    EXPECT_EQ(app->File1.Path() + "|" + app->File2.Path(), "C:\\Mods|C:\\Mods");
    EXPECT_EQ(Names(app->File1), V{"m1.pbo"});
    EXPECT_EQ(Names(app->File2), V{"m2.pbx"});
    EXPECT_TRUE(app->Dir1.Visible());
    ExpectSizes(*app, " 1 kb", " 2 kb");
    EXPECT_FALSE(app->Busy);
}

TEST(FolderChoice, OthersWithoutMatchingFilesKeepsTheSizeLinesAndClearsTheSelection) {
    Emulation emu;
    auto app = Started(emu, nullptr);  // others: the installation folder, no addon in it
    app->AddonManager_Option1_Click();
    app->File2.SetListIndex(0);
    app->File1.SetListIndex(0);
    app->AddonManager_Option3_Click();
    EXPECT_EQ(app->AddonFolder, kGame);
    EXPECT_TRUE(app->Dir1.Visible());
    EXPECT_EQ(app->File1.ListCount() + app->File2.ListCount(), 0);
    ExpectSizes(*app, " 1 kb", " 3 kb");
    EXPECT_TRUE(app->List1.Items().empty());
    EXPECT_EQ(app->SelectedActive + app->SelectedInactive, "");
    EXPECT_FALSE(app->Busy);
}

TEST(FolderChoice, OthersOnTheGameFolderUsesTheGameChoiceButALetterCaseVariantIsAnotherFolder) {
    struct Case {
        const char* others;
        bool gameChoice;
    };
    for (const Case c : {Case{"C:\\Games\\OFP\\ADDONS", true}, Case{"C:\\Games\\OFP\\addons", false}}) {
        Emulation emu;
        auto app = Started(emu, c.others);
        app->Option3.SetValue(true);  // the front end selects the clicked button
        app->AddonManager_Option3_Click();
        EXPECT_EQ(app->AddonFolder, c.others);
        EXPECT_TRUE(app->Dir1.Visible()) << c.others;
        EXPECT_TRUE(app->Option3.Value() && !app->Option1.Value());
        EXPECT_EQ(Names(app->File1), V{"tank.pbo"});
        ExpectSizes(*app, " 1 kb", " 3 kb");

        app->File2.SetListIndex(0);
        EXPECT_EQ(app->Text1.GetText(), c.gameChoice ? "Fast" : "") << c.others;
        app->Text1.SetText("Quick");
        app->AddonManager_Save_Click();
        EXPECT_EQ(app->Text1.GetText(), c.gameChoice ? "Quick" : "No save possible") << c.others;
        EXPECT_EQ(app->CommentsGame, c.gameChoice ? "//heliQuick" : "//heliFast") << c.others;
    }
}

TEST(FolderChoice, EveryMoveInTheFolderListUpdatesOthersFolderWhichIsShownOnlyWhileOthersIsChosen) {
    Emulation emu;
    emu.Write(Text(kResAddons) + "\\mod.pbo", "r");
    auto app = Started(emu, "C:\\Mods");
    std::filesystem::create_directories(emu.files->HostPath("C:\\Mods\\Sub"));
    app->Option3.SetValue(true);
    app->AddonManager_Option3_Click();
    app->File1.SetListIndex(0);

    // Nothing to walk in an empty folder: the details and the selection stay.
    app->Dir1.SetPath("C:\\Mods\\Sub");
    EXPECT_EQ(app->OthersFolder, "C:\\Mods\\Sub");
    EXPECT_EQ(app->File2.Path(), "C:\\Mods\\Sub");
    EXPECT_EQ(app->File1.ListCount() + app->File2.ListCount(), 0);
    EXPECT_EQ(Lines(app->List1), (V{"m1.pbo", "", "Size:  1kb"}));
    EXPECT_EQ(app->SelectedActive, "m1.pbo");
    ExpectSizes(*app, " 1 kb", " 2 kb");

    for (const char* fixed : {kResAddons, kAddons}) {
        app->Dir1.SetPath(fixed);
        EXPECT_EQ(app->OthersFolder, fixed);
        EXPECT_EQ(app->File1.Path(), fixed);
        EXPECT_TRUE(app->Dir1.Visible()) << fixed;
    }
    EXPECT_TRUE(app->Option3.Value() && !app->Option1.Value() && !app->Option2.Value());

    app->AddonManager_Option2_Click();
    EXPECT_FALSE(app->Dir1.Visible());
    EXPECT_EQ(app->OthersFolder, kAddons);
    app->AddonManager_Option3_Click();
    EXPECT_TRUE(app->Dir1.Visible());
    EXPECT_EQ(app->AddonFolder, kAddons);
    EXPECT_FALSE(app->Busy);
    // Only Exit writes the folder to the registry.
    EXPECT_EQ(emu.registry.Get(kGameKey, "VARNX")->data, Text("C:\\Mods") + '\0');
}

TEST(FolderChoice, AMissingOthersFolderShowsEmptyListsAndTheNearestExistingFolderWithoutABox) {
    Emulation emu;
    auto app = Started(emu, "C:\\Games\\OFP\\Gone\\Mods");
    app->AddonManager_Option1_Click();
    app->AddonManager_Option3_Click();
    EXPECT_TRUE(emu.desktop.boxes.empty());
    EXPECT_FALSE(app->Busy);
    EXPECT_EQ(app->AddonFolder, "C:\\Games\\OFP\\Gone\\Mods");
    EXPECT_EQ(app->Dir1.Path(), "C:\\Games\\OFP\\Gone\\Mods");
    EXPECT_EQ(app->File1.ListCount() + app->File2.ListCount(), 0);
    ExpectSizes(*app, " 1 kb", " 3 kb");
    V texts;
    Text current;
    for (const auto& line : app->Dir1.Lines()) {
        texts.push_back(line.text);
        if (line.current) current = line.path;
    }
    EXPECT_EQ(texts, (V{"C:\\", "Games", "OFP", "ADDONS", "Res"}));
    EXPECT_EQ(current, kGame);
    EXPECT_FALSE(emu.files->FolderExists("C:\\Games\\OFP\\Gone"));
}

}  // namespace
}  // namespace varnex::testing
