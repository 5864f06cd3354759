#include "support/Fixture.hpp"

namespace varnex::testing {
namespace {

using platform::emulated::FileOp;

const Text kGameComments = InAddons("Comments.txt");
const Text kResComments = Text(kResAddons) + "\\Comments.txt";
const Text kTryAgain =
    "\r\n\r\nTry Again; Continue to leave Varnex without them; or Cancel to go back to Varnex: the comments you saved "
    "stay in memory, and nothing more is written until you leave with Exit again.";

// tank.pbo (1 kb) and heli.pbx (2 kb) with a comment for heli in the
// game's folder; m1.pbo and m2.pbx (1 kb each) in C:\Mods, remembered for
// "others", and an empty C:\Mods\Sub.
struct FolderChoice : ::testing::Test {
    FolderChoice() {
        emu.Put({"heli.pbx"}, std::string(1024, 'h'));
        for (const char* name : {"m1.pbo", "m2.pbx"}) emu.Write("C:\\Mods\\" + Text(name), "m");
        fs::create_directories(emu.files->HostPath("C:\\Mods\\Sub"));
        emu.registry.SetString(kGameKey, "VARNX", "C:\\Mods");
        app = emu.Game({"tank.pbo"}, "//heliFast");
    }
    Emulation emu;
    std::unique_ptr<AddonManager> app;
};

TEST_F(FolderChoice, AFixedFolderReachedThroughTheListForgetsTheSelection) {
    app->AddonManager_Option3_Click();
    app->File1.SetListIndex(0);
    // Also where it shows no addon; a refresh then selects the first active one.
    for (const Text fixed : {kResAddons, kAddons}) {
        SCOPED_TRACE(fixed);
        app->Dir1.SetPath(fixed);
        EXPECT_EQ(app->OthersFolder, fixed);
        EXPECT_EQ(app->File1.Path(), fixed);
        EXPECT_TRUE(app->Dir1.Visible());
        EXPECT_EQ(app->SelectedActive, fixed == kAddons ? "tank.pbo" : "");
        EXPECT_EQ(app->SelectedInactive, "");
    }
    app->AddonManager_Option2_Click();
    EXPECT_FALSE(app->Dir1.Visible());
    app->AddonManager_Option3_Click();
    EXPECT_EQ(app->AddonFolder, kAddons);
}

TEST_F(FolderChoice, OthersOnAFolderWithoutAddonsForgetsTheSelection) {
    app->AddonManager_Option3_Click();
    app->Dir1.SetPath("C:\\Mods\\Sub");
    app->AddonManager_Option1_Click();
    ClickOn(app->File2, "heli.pbx");
    app->AddonManager_Option3_Click();
    EXPECT_EQ(app->File1.Path(), "C:\\Mods\\Sub");
    EXPECT_EQ(app->SelectedActive, "");
    EXPECT_EQ(app->SelectedInactive, "");
    EXPECT_EQ(emu.registry.Get(kGameKey, "VARNX")->data, Text("C:\\Mods") + '\0');  // only Exit writes it
}

// What the two comments files hold: the game's, then the expansion's.
struct CommentsFiles {
    Text game{};
    Text expansion{};
    bool operator==(const CommentsFiles&) const = default;
    friend std::ostream& operator<<(std::ostream& out, const CommentsFiles& files) {
        return out << "game \"" << files.game << "\", expansion \"" << files.expansion << '"';
    }
};

CommentsFiles Written(const Emulation& emu) { return {emu.Read(kGameComments), emu.Read(kResComments)}; }

// Comments saved for both folders (tank's twice), then Exit with one of
// the files failing to be written.
struct FailedExit : ::testing::Test {
    FailedExit() {
        emu.Write(Text(kResAddons) + "\\res.pbo", "r");
        emu.Write(kResComments, "//resOld");
        app = emu.Game({"tank.pbo"}, "//tankOld");
        EXPECT_TRUE(app->AddonManager_Form_QueryUnload()) << "nothing saved: closing does not ask";
        SaveComment(*app, app->File1, "tank.pbo", "Draft");
        SaveComment(*app, app->File1, "tank.pbo", "New");
        app->AddonManager_Option2_Click();
        SaveComment(*app, app->File1, "res.pbo", "R");
    }
    // Exit with the `failing`-th file write failing with `code`, answered `answer`.
    void Exit(int failing, std::uint32_t code, int answer) {
        emu.files->FailOn(FileOp::Replace, failing, code);
        emu.desktop.boxAnswers = {answer};
        app->Command4.Click();
    }
    // Closing through the frame, its question answered `answer`.
    bool Close(int answer) {
        emu.desktop.boxAnswers = {answer};
        return app->AddonManager_Form_QueryUnload();
    }
    static Text CloseQuestion(const Text& count) {
        return "VARNX MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2: " + count +
               " not written yet: comments are written only when you leave with Exit.\r\n\r\nClose without writing " +
               (count.starts_with("1 ") ? "it?" : "them?");
    }
    Emulation emu;
    std::unique_ptr<AddonManager> app;
};

TEST_F(FailedExit, ClosingThenAsksWithNoAsDefaultAndCountsTheAddons) {
    Exit(1, errc::kAccessDenied, kIdCancel);
    // No, and Cancel (Escape where the system sends it), keep the window;
    // tank's comment saved twice counts once.
    EXPECT_FALSE(Close(kIdNo) || Close(kIdCancel));
    EXPECT_EQ(emu.LastBox(), CloseQuestion("2 saved comments are"));
    EXPECT_TRUE(Close(kIdYes));
}

TEST_F(FailedExit, TheGamesFileStaysWrittenWhenTheExpansionsFails) {
    Exit(2, errc::kSharingViolation, kIdCancel);
    EXPECT_NE(emu.LastBox().find(kResComments + ": the file is in use by another program."), Text::npos);
    EXPECT_EQ(Written(emu), (CommentsFiles{"//tankNew", "//resOld"}));
    EXPECT_FALSE(app->Ended() || Close(kIdNo));
    EXPECT_EQ(emu.LastBox(), CloseQuestion("1 saved comment is"));
    // A comment saved for the game since is written by the next Exit.
    app->AddonManager_Option1_Click();
    SaveComment(*app, app->File1, "tank.pbo", "Newest");
    Exit(2, errc::kSharingViolation, kIdCancel);
    EXPECT_EQ(Written(emu), (CommentsFiles{"//tankNewest", "//resOld"}));
}

TEST_F(FailedExit, TryAgainWritesOnlyTheFileThatFailed) {
    Exit(2, errc::kSharingViolation, kIdCancel);
    // The game's file and VARNX, written before, are not written twice.
    const int before = emu.files->Calls(FileOp::Replace);
    const std::size_t boxes = emu.Boxes().size();
    emu.registry.SetString(kGameKey, "VARNX", "C:\\Elsewhere");
    Exit(1, errc::kSharingViolation, kIdTryAgain);
    EXPECT_EQ(emu.files->Calls(FileOp::Replace) - before, 2);
    EXPECT_EQ(emu.Boxes().size(), boxes + 1);
    EXPECT_EQ(Written(emu), (CommentsFiles{"//tankNew", "//resR"}));
    EXPECT_EQ(emu.registry.Get(kGameKey, "VARNX")->data, "C:\\Elsewhere" + Text(1, '\0'));
    EXPECT_TRUE(app->Ended() && app->AddonManager_Form_QueryUnload());
}

TEST(Exit, ContinueLeavesAfterNamingTheCommentsNotWritten) {
    struct Row {
        int failing;  // 1: the game's file, 2: the expansion's
        CommentsFiles written;
    };
    for (const auto& [failing, written] :
         {Row{1, {"//tankOld//jeepOld", "//resR"}}, Row{2, {"//tankNewer//jeepJ", "//resOld"}}}) {
        Emulation emu;
        emu.Write(Text(kResAddons) + "\\res.pbo", "r");
        emu.Write(kResComments, "//resOld");
        auto app = emu.Game({"tank.pbo", "jeep.pbo"}, "//tankOld//jeepOld");
        for (const auto& [name, comment] : {std::pair{"tank.pbo", "New"}, {"jeep.pbo", "J"}, {"tank.pbo", "Newer"}})
            SaveComment(*app, app->File1, name, comment);
        app->AddonManager_Option2_Click();
        SaveComment(*app, app->File1, "res.pbo", "R");
        emu.files->FailOn(FileOp::Replace, failing, errc::kAccessDenied);
        emu.desktop.boxAnswers = {kIdContinue};
        app->Command4.Click();
        const Text path = failing == 1 ? kGameComments : kResComments;
        EXPECT_EQ(emu.Boxes(),
                  (Strings{"VARNX MB_CANCELTRYCONTINUE|MB_ICONEXCLAMATION: The comments could not be saved to " + path +
                               ": access is denied.\r\n\r\nThe file keeps the content it had before." + kTryAgain,
                           kWarning + "These comments were not written and are lost:\r\n\r\n" + path + ": " +
                               (failing == 1 ? "tank.pbo, jeep.pbo" : "res.pbo")}));
        EXPECT_EQ(Written(emu), written);
        EXPECT_TRUE(app->Ended() && emu.desktop.ended);
    }
}

TEST(Exit, ThisRunsSavesAreReplayedOntoAFileChangedMeanwhile) {
    // The run saves tank, a new entry for jeep, then tank again.
    const std::string inMemory = "lead//tankNewer//heliH//jeepJ";
    struct Row {
        const char* what;
        std::function<void(Emulation&)> change;
        std::string want;
    };
    const Row rows[] = {
        {"unchanged", [](Emulation&) {}, inMemory},
        {"edited by hand", [](Emulation& e) { e.Write(kGameComments, "lead//tankHand//heliHand edit//boatB"); },
         "lead//tankNewer//heliHand edit//boatB//jeepJ"},
        {"written by a second window",
         [](Emulation& e) {
             auto second = e.Launch();
             SaveComment(*second, second->File1, "heli.pbo", "Second");
             second->Command4.Click();
         },
         "lead//tankNewer//heliSecond//jeepJ"},
        {"removed", [](Emulation& e) { fs::remove(e.files->HostPath(kGameComments)); }, inMemory},
        // The player cancels after the game's file was written: what was
        // written is no longer asked about.
        {"expansion's failed",
         [](Emulation& e) {
             e.files->FailOn(FileOp::Replace, 2, errc::kAccessDenied), e.desktop.boxAnswers = {kIdCancel};
         },
         inMemory},
    };
    for (const auto& [what, change, want] : rows) {
        SCOPED_TRACE(what);
        Emulation emu;
        auto app = emu.Game({"tank.pbo", "heli.pbo", "jeep.pbo"}, "lead//tankOld//heliH");
        for (const auto& [name, comment] : {std::pair{"tank.pbo", "New"}, {"jeep.pbo", "J"}, {"tank.pbo", "Newer"}})
            SaveComment(*app, app->File1, name, comment);
        // Only the game's comments are unwritten: closing through the frame asks.
        emu.desktop.boxAnswers = {kIdNo};
        EXPECT_FALSE(app->AddonManager_Form_QueryUnload());
        emu.desktop.boxes.clear();
        change(emu);
        app->Command4.Click();
        // Exit ends quietly, or goes back to the window after the one box.
        EXPECT_EQ(emu.Read(kGameComments) + std::to_string(emu.Boxes().size()), want + (app->Ended() ? "0" : "1"));
        EXPECT_TRUE(app->AddonManager_Form_QueryUnload());
    }
}

}  // namespace
}  // namespace varnex::testing
