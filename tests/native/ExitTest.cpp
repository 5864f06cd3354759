#include "support/Fixture.hpp"

namespace varnex::testing {
namespace {

const Text kGameComments = Text(kAddons) + "\\Comments.txt";
const Text kResComments = Text(kResAddons) + "\\Comments.txt";

std::unique_ptr<AddonManager> Started(Emulation& emu) {
    auto app = std::make_unique<AddonManager>(emu.platform());
    app->AddonManager_Form_Load();
    return app;
}

TEST(Exit, WritesTheOthersFolderWithoutNulAlsoWhenOthersWasNeverChosen) {
    for (const char* stored : {static_cast<const char*>(nullptr), "D:\\Mods"}) {
        Emulation emu;
        emu.InstallGame();
        if (stored) emu.registry.SetString(kGameKey, "VARNX", stored, /*withNul=*/true);
        auto app = Started(emu);
        app->AddonManager_Command4_Click();
        const auto value = emu.registry.Get(kGameKey, "VARNX");
        ASSERT_TRUE(value);
        EXPECT_EQ(value->type, 1u);
        EXPECT_EQ(value->data, stored ? stored : kGame);
        EXPECT_TRUE(app->Ended() && emu.desktop.ended);
        EXPECT_TRUE(emu.desktop.boxes.empty());
    }
}

TEST(Exit, CommentsFilesHoldExactlyTheTextsInMemoryAndReadBackTheSame) {
    Emulation emu;
    emu.InstallGame();
    std::string every;
    for (int b = 0; b < 256; ++b) every += static_cast<char>(b);
    emu.Write(kGameComments, "//tankBig" + every);
    emu.Write(kResComments, every);
    emu.Write(Text(kAddons) + "\\heli.pbx", "h");
    std::vector<Text> replaced;
    emu.files->Before(emulated::FileOp::Replace, [&](const Text& path) { replaced.push_back(path); });

    auto app = Started(emu);
    app->File2.SetListIndex(0);
    app->Text1.SetText("Fast\r\n");
    app->AddonManager_Save_Click();
    const std::string game = "//tankBig" + every + "//heliFast\r\n";
    ASSERT_EQ(app->CommentsGame, game);
    app->AddonManager_Command4_Click();

    EXPECT_EQ(replaced, (std::vector<Text>{kGameComments, kResComments}));
    EXPECT_EQ(emu.Read(kGameComments), game);
    EXPECT_EQ(emu.Read(kResComments), every);
    EXPECT_EQ(emu.Names(kAddons), (std::vector<Text>{"Comments.txt", "heli.pbx"}));
    auto again = Started(emu);
    EXPECT_EQ(again->CommentsGame, game);
    EXPECT_EQ(again->CommentsRes, every);
}

TEST(Exit, WithoutTheExpansionOnlyTheGamesFileIsWritten) {
    Emulation emu;
    emu.InstallGame(/*expansion=*/false);
    emu.Write(Text(kResAddons) + "\\mod.pbo", "m");
    emu.registry.SetString(kGameKey, "VARNX", kResAddons);
    auto app = Started(emu);
    // Reached through "others", the expansion's folder takes comments for
    // this run only.
    app->AddonManager_Option3_Click();
    app->File1.SetListIndex(0);
    app->Text1.SetText("Mine");
    app->AddonManager_Save_Click();
    ASSERT_EQ(app->CommentsRes, "//modMine");
    app->AddonManager_Command4_Click();
    EXPECT_EQ(emu.files->Calls(emulated::FileOp::Replace), 1);
    EXPECT_EQ(emu.Read(kGameComments), "");
    EXPECT_EQ(emu.Names(kResAddons), std::vector<Text>{"mod.pbo"});
    EXPECT_TRUE(app->Ended());
}

TEST(Exit, AFailedWriteKeepsTheOldFileSaysSoOnceAndTheOtherFileIsStillWritten) {
    for (const bool gameFails : {true, false}) {
        const Text& failing = gameFails ? kGameComments : kResComments;
        Emulation emu;
        emu.InstallGame();
        emu.Write(kGameComments, "//tankOld");
        emu.Write(kResComments, "//tankOld");
        auto app = Started(emu);
        app->CommentsGame = app->CommentsRes = "//tankNew";
        if (gameFails) emu.files->FailOn(emulated::FileOp::Replace, 1, errc::kAccessDenied);
        else emu.files->Protect(failing);
        app->AddonManager_Command4_Click();

        EXPECT_EQ(emu.Read(kGameComments), gameFails ? "//tankOld" : "//tankNew");
        EXPECT_EQ(emu.Read(kResComments), gameFails ? "//tankNew" : "//tankOld");
        ASSERT_EQ(emu.desktop.boxes.size(), 1u) << failing;
        EXPECT_EQ(emu.desktop.boxes[0].text,
                  "The comments could not be saved to " + failing +
                      ": access is denied.\r\n\r\nThe file keeps the content it had before; the comments saved "
                      "in this session are lost.");
        EXPECT_EQ(emu.desktop.boxes[0].caption, "VARNX");
        EXPECT_TRUE(app->Ended());
        EXPECT_EQ(emu.Names(kAddons), std::vector<Text>{"Comments.txt"});
        EXPECT_EQ(emu.Names(kResAddons), std::vector<Text>{"Comments.txt"});
    }
}

TEST(Exit, ACommentsFileUnreadableAtStartUpIsNeverOverwritten) {
    Emulation emu;
    emu.InstallGame();
    emu.Write(kGameComments, "//tankKeep");
    emu.Write(Text(kAddons) + "\\tank.pbo", "t");
    emu.files->FailOn(emulated::FileOp::Read, 1, errc::kSharingViolation);
    auto app = Started(emu);
    ASSERT_EQ(emu.desktop.boxes.size(), 1u);
    app->File1.SetListIndex(0);
    app->Text1.SetText("Lost");
    app->AddonManager_Save_Click();
    EXPECT_EQ(app->Text1.GetText(), "No save possible");
    app->AddonManager_Command4_Click();
    EXPECT_EQ(emu.Read(kGameComments), "//tankKeep");
    EXPECT_EQ(emu.files->Calls(emulated::FileOp::Replace), 1);
    EXPECT_EQ(emu.desktop.boxes.size(), 1u);
    EXPECT_TRUE(app->Ended());
}

TEST(Exit, ClosingThroughTheFrameWritesNothing) {
    Emulation emu;
    emu.InstallGame();
    emu.Write(kGameComments, "//tankOld");
    emu.Write(Text(kAddons) + "\\tank.pbo", "t");
    auto app = Started(emu);
    app->File1.SetListIndex(0);
    app->Text1.SetText("New");
    app->AddonManager_Save_Click();
    app->AddonManager_Option3_Click();
    app.reset();
    EXPECT_FALSE(emu.registry.Get(kGameKey, "VARNX"));
    EXPECT_EQ(emu.Read(kGameComments), "//tankOld");
    EXPECT_EQ(emu.files->Calls(emulated::FileOp::Replace), 0);
    EXPECT_FALSE(emu.desktop.ended);
}

}  // namespace
}  // namespace varnex::testing
