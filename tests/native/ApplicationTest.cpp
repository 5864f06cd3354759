#include "support/Fixture.hpp"

namespace varnex::testing {
namespace {

using platform::emulated::FileOp;

const Text kGameComments = InAddons("Comments.txt");
const Text kResComments = Text(kResAddons) + "\\Comments.txt";
const Text kTryAgain =
    "\r\n\r\nTry Again; Continue to leave Varnex without them; or Cancel to go back to Varnex: the comments you saved "
    "stay in memory, and nothing more is written until you leave with Exit again.";

TEST(FolderChoice, EveryMoveInTheFolderListUpdatesTheOthersFolder) {
    // tank.pbo (1 kb) and heli.pbx (2 kb) with a comment for heli in the
    // game's folder; m1.pbo and m2.pbx (1 kb each) in C:\Mods.
    Emulation emu;
    emu.Put({"heli.pbx"}, std::string(1024, 'h'));
    for (const char* name : {"m1.pbo", "m2.pbx"}) emu.Write("C:\\Mods\\" + Text(name), "m");
    fs::create_directories(emu.files->HostPath("C:\\Mods\\Sub"));
    emu.registry.SetString(kGameKey, "VARNX", "C:\\Mods");
    auto app = emu.Game({"tank.pbo"}, "//heliFast");
    int changes = 0;
    app->Dir1.Change = [&, change = app->Dir1.Change] { ++changes, change(); };
    app->AddonManager_Option1_Click();
    // The size walks run while Busy, so heli's comment never reaches the box.
    EXPECT_EQ(app->Text1.GetText(), "");
    app->AddonManager_Option3_Click();
    app->AddonManager_Option1_Click();
    app->AddonManager_Option3_Click();
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(app->AddonFolder + "|" + app->File1.Path() + "|" + app->File2.Path() + "|" + Sizes(*app),
              "C:\\Mods|C:\\Mods|C:\\Mods| 1 kb| 2 kb|");
    app->File1.SetListIndex(0);
    // Nothing to walk in an empty folder: the selection and the sizes stay.
    app->Dir1.SetPath("C:\\Mods\\Sub");
    EXPECT_EQ(app->OthersFolder + "|" + app->File2.Path() + "|" + app->SelectedActive + "|" + Sizes(*app),
              "C:\\Mods\\Sub|C:\\Mods\\Sub|m1.pbo| 1 kb| 2 kb|");
    // A fixed folder reached through the list forgets the selection, also
    // where it shows no addon; a refresh then selects the first active one.
    for (const Text fixed : {kResAddons, kAddons}) {
        app->Dir1.SetPath(fixed);
        EXPECT_EQ(app->OthersFolder + "|" + app->File1.Path() + "|" + std::to_string(app->Dir1.Visible()) + "|" +
                      app->SelectedActive + "|" + app->SelectedInactive,
                  fixed + "|" + fixed + "|1|" + (fixed == kAddons ? "tank.pbo" : "") + "|");
    }
    app->AddonManager_Option2_Click();
    EXPECT_FALSE(app->Dir1.Visible());
    app->AddonManager_Option3_Click();
    EXPECT_EQ(app->AddonFolder, kAddons);
    // So does "others" on a folder without addons.
    app->Dir1.SetPath("C:\\Mods\\Sub");
    app->AddonManager_Option1_Click();
    ClickOn(app->File2, "heli.pbx");
    app->AddonManager_Option3_Click();
    EXPECT_EQ(app->File1.Path() + "|" + app->SelectedActive + "|" + app->SelectedInactive, "C:\\Mods\\Sub||");
    EXPECT_EQ(emu.registry.Get(kGameKey, "VARNX")->data, Text("C:\\Mods") + '\0');  // only Exit writes it
}

TEST(Exit, AFailedWriteIsOfferedAgainAndCancelKeepsEverything) {
    Emulation emu;
    emu.Write(Text(kResAddons) + "\\res.pbo", "r");
    emu.Write(kResComments, "//resOld");
    auto app = emu.Game({"tank.pbo"}, "//tankOld");
    const auto files = [&] { return emu.Read(kGameComments) + "|" + emu.Read(kResComments); };
    // Exit with `failing` Replace call failing with `code`, answered `answer`.
    const auto exit = [&](int failing, std::uint32_t code, int answer) {
        emu.files->FailOn(FileOp::Replace, failing, code);
        emu.desktop.boxAnswers = {answer};
        app->Command4.Click();
    };
    const auto ask = [&](int answer) {
        emu.desktop.boxAnswers = {answer};
        return app->AddonManager_Form_QueryUnload();
    };
    EXPECT_TRUE(app->AddonManager_Form_QueryUnload());
    SaveComment(*app, app->File1, "tank.pbo", "Draft");
    SaveComment(*app, app->File1, "tank.pbo", "New");
    app->AddonManager_Option2_Click();
    SaveComment(*app, app->File1, "res.pbo", "R");

    // The game's file cannot be written: Cancel goes back to the window
    // with nothing written and the saves still in memory.
    exit(1, errc::kAccessDenied, kIdCancel);
    EXPECT_EQ(
        emu.Boxes(),
        Strings{"VARNX MB_CANCELTRYCONTINUE|MB_ICONEXCLAMATION: The comments could not be saved to " + kGameComments +
                ": access is denied.\r\n\r\nThe file keeps the content it had before." + kTryAgain});
    EXPECT_FALSE(emu.desktop.ended || app->Ended());
    EXPECT_EQ(files() + "|" + app->CommentsGame + "|" + app->CommentsRes + "|" + app->AddonFolder,
              "//tankOld|//resOld|//tankNew|//resR|" + Text(kResAddons));
    EXPECT_EQ(emu.registry.Get(kGameKey, "VARNX")->data, app->OthersFolder);
    // Closing through the frame asks first, with No for Enter, and names
    // how many addons' comments would be lost (tank's twice saved is one);
    // No, and Cancel (Escape where the system sends it), keep the window.
    EXPECT_FALSE(ask(kIdNo) || ask(kIdCancel));
    const Text closeQuestion =
        " not written yet: comments are written only when you leave with Exit.\r\n\r\n"
        "Close without writing ";
    EXPECT_EQ(emu.Boxes().back(),
              "VARNX MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2: 2 saved comments are" + closeQuestion + "them?");
    EXPECT_TRUE(ask(kIdYes));

    // The expansion's file fails after the game's was written: the game's
    // stays written, the expansion's is still asked about.
    exit(2, errc::kSharingViolation, kIdCancel);
    EXPECT_NE(emu.Boxes().back().find(kResComments + ": the file is in use by another program."), Text::npos);
    EXPECT_EQ(files(), "//tankNew|//resOld");
    EXPECT_FALSE(app->Ended() || ask(kIdNo));
    EXPECT_EQ(emu.Boxes().back(),
              "VARNX MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2: 1 saved comment is" + closeQuestion + "it?");

    // A comment saved for the game since is written by the next Exit.
    app->AddonManager_Option1_Click();
    SaveComment(*app, app->File1, "tank.pbo", "Newest");
    exit(2, errc::kSharingViolation, kIdCancel);
    EXPECT_EQ(files(), "//tankNewest|//resOld");

    // Try Again writes the failing file again, and only that one: the
    // game's file and VARNX, written before, are not written twice.
    const int before = emu.files->Calls(FileOp::Replace);
    const std::size_t boxes = emu.Boxes().size();
    emu.registry.SetString(kGameKey, "VARNX", "C:\\Elsewhere");
    exit(1, errc::kSharingViolation, kIdTryAgain);
    EXPECT_EQ(emu.files->Calls(FileOp::Replace) - before, 2);
    EXPECT_EQ(emu.Boxes().size(), boxes + 1);
    EXPECT_EQ(files() + "|" + emu.registry.Get(kGameKey, "VARNX")->data,
              "//tankNewest|//resR|C:\\Elsewhere" + Text(1, '\0'));
    EXPECT_TRUE(app->Ended() && app->AddonManager_Form_QueryUnload());
}

TEST(Exit, ContinueLeavesAfterNamingTheCommentsNotWritten) {
    struct Row {
        int failing;  // 1: the game's file, 2: the expansion's
        Text written;  // what the two comments files then hold
    };
    for (const auto& [failing, written] :
         {Row{1, "//tankOld//jeepOld|//resR"}, Row{2, "//tankNewer//jeepJ|//resOld"}}) {
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
        EXPECT_EQ(emu.Read(kGameComments) + "|" + emu.Read(kResComments), written);
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

TEST(StartUp, ExitWritesTheExpansionsCommentsOnlyIfItsFolderCameBack) {
    const Text noFolder =
        "VARNX MB_CANCELTRYCONTINUE|MB_ICONEXCLAMATION: The comments saved for the expansion's addons cannot be "
        "written: the folder " +
        Text(kResAddons) + " does not exist." + kTryAgain;
    struct Row {
        const char* what;
        bool save, folderBack;
        Text box, written;  // the box at Exit, the expansion's comments file then
    };
    const Row rows[] = {{"nothing saved", false, false, "", "<none>"},
                        {"saved, folder still gone", true, false, noFolder, "<none>"},
                        {"saved, folder back", true, true, "", "//tankR"},
                        {"nothing saved, folder back", false, true, "", ""}};
    for (const auto& [what, save, folderBack, box, written] : rows) {
        SCOPED_TRACE(what);
        Emulation emu;
        emu.InstallGame();
        fs::remove_all(emu.files->HostPath("C:\\Games\\OFP\\Res"));
        emu.Put({"tank.pbo"});
        auto app = emu.Launch();
        EXPECT_TRUE(emu.Boxes().empty() && app->Option2.Visible() && app->CommentsRes.empty() &&
                    !emu.files->FolderExists("C:\\Games\\OFP\\Res"));
        // The expansion's folder takes comments like any other fixed folder.
        ClickOn(app->File1, "tank.pbo");
        app->AddonManager_Option2_Click();
        app->Text1.SetText("R");
        if (save) app->Save.Click();
        if (folderBack) fs::create_directories(emu.files->HostPath(kResAddons));
        app->Command4.Click();
        EXPECT_EQ(emu.Boxes(), box.empty() ? Strings{} : Strings{box});
        EXPECT_EQ(fs::exists(emu.files->HostPath(kResComments)) ? emu.Read(kResComments) : "<none>", written);
        EXPECT_EQ(emu.desktop.ended, box.empty());
    }
}

}  // namespace
}  // namespace varnex::testing
