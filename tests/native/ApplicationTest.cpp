#include "support/Fixture.hpp"

namespace varnex::testing {
namespace {

const Text kGameComments = InAddons("Comments.txt");
const Text kResComments = Text(kResAddons) + "\\Comments.txt";

// tank.pbo (1 kb) and heli.pbx (2 kb) with a comment for heli in the game's
// folder; m1.pbo and m2.pbx (1 kb each) in C:\Mods.
std::unique_ptr<AddonManager> Started(Emulation& emu, const char* others) {
    emu.Put({"heli.pbx"}, std::string(1024, 'h'));
    emu.Write("C:\\Mods\\m1.pbo", "m");
    emu.Write("C:\\Mods\\m2.pbx", "m");
    emu.registry.SetString(kGameKey, "VARNX", others);
    return emu.Game({"tank.pbo"}, "//heliFast");
}

TEST(FolderChoice, GameOthersGameOthersEndsOnTheOthersFolderWhereEveryMoveInTheFolderListUpdatesOthersFolder) {
    Emulation emu;
    auto app = Started(emu, "C:\\Mods");
    fs::create_directories(emu.files->HostPath("C:\\Mods\\Sub"));
    int changes = 0;
    app->Dir1.Change = [&, change = app->Dir1.Change] { ++changes, change(); };
    const int listings = emu.files->Calls(emulated::FileOp::ListFolder);
    app->AddonManager_Option1_Click();
    // A list is read when next looked at, and one read of the folder serves
    // both lists: one listing for the size walks; the last re-read waits
    // for the window to look.
    EXPECT_EQ(emu.files->Calls(emulated::FileOp::ListFolder) - listings, 1);
    // The size walk ran while Busy, so heli's comment never reached the box.
    EXPECT_EQ(app->Text1.GetText(), "");
    app->AddonManager_Option3_Click();
    app->AddonManager_Option1_Click();
    app->AddonManager_Option3_Click();
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(app->AddonFolder + "|" + app->File1.Path() + "|" + app->File2.Path(), "C:\\Mods|C:\\Mods|C:\\Mods");
    EXPECT_EQ(Sizes(*app), " 1 kb| 2 kb|");

    app->File1.SetListIndex(0);
    // Nothing to walk in an empty folder: the selection and the sizes stay.
    app->Dir1.SetPath("C:\\Mods\\Sub");
    EXPECT_EQ(app->OthersFolder + "|" + app->File2.Path() + "|" + app->SelectedActive, "C:\\Mods\\Sub|C:\\Mods\\Sub|m1.pbo");
    EXPECT_EQ(Sizes(*app), " 1 kb| 2 kb|");
    for (const Text fixed : {kResAddons, kAddons}) {
        app->Dir1.SetPath(fixed);
        EXPECT_EQ(app->OthersFolder + "|" + app->File1.Path(), fixed + "|" + fixed);
        EXPECT_TRUE(app->Dir1.Visible()) << fixed;
    }
    app->AddonManager_Option2_Click();
    EXPECT_FALSE(app->Dir1.Visible());
    app->AddonManager_Option3_Click();
    EXPECT_EQ(app->AddonFolder, kAddons);
    EXPECT_EQ(emu.registry.Get(kGameKey, "VARNX")->data, Text("C:\\Mods") + '\0');  // only Exit writes it
}

TEST(FolderChoice, OthersOnTheGameFolderUsesTheGameChoiceButALetterCaseVariantIsAnotherFolder) {
    for (const bool sameFolder : {true, false}) {
        const char* others = sameFolder ? "C:\\Games\\OFP\\ADDONS" : "C:\\Games\\OFP\\addons";
        Emulation emu;
        auto app = Started(emu, others);
        app->AddonManager_Option3_Click();
        EXPECT_EQ(app->AddonFolder, others);
        EXPECT_EQ(Sizes(*app), " 1 kb| 3 kb|");
        app->File2.SetListIndex(0);
        EXPECT_EQ(app->Text1.GetText(), sameFolder ? "Fast" : "") << others;
        app->Text1.SetText("Quick");
        app->Save.Click();
        EXPECT_EQ(app->Text1.GetText(), sameFolder ? "Quick" : "No save possible") << others;
        EXPECT_EQ(app->CommentsGame, sameFolder ? "//heliQuick" : "//heliFast") << others;
    }
}

TEST(FolderChoice, AMissingOthersFolderShowsEmptyListsAndTheNearestExistingFolderWithoutABox) {
    Emulation emu;
    auto app = Started(emu, "C:\\Games\\OFP\\Gone\\Mods");
    app->AddonManager_Option1_Click();
    app->File2.SetListIndex(0);
    app->File1.SetListIndex(0);
    app->AddonManager_Option3_Click();
    EXPECT_EQ(app->AddonFolder + "|" + app->Dir1.Path(), "C:\\Games\\OFP\\Gone\\Mods|C:\\Games\\OFP\\Gone\\Mods");
    EXPECT_EQ(Sizes(*app), " 1 kb| 3 kb|");
    EXPECT_EQ(app->File1.ListCount() + app->File2.ListCount() + app->List1.ListCount() + app->SelectedActive.size() +
                  app->SelectedInactive.size(), 0u);
    Strings lines;
    for (const auto& line : app->Dir1.Lines()) lines.push_back(line.current ? "[" + line.path + "]" : line.text);
    EXPECT_EQ(lines, (Strings{"C:\\", "Games", "[C:\\Games\\OFP]", "ADDONS", "Res"}));
    EXPECT_TRUE(!emu.files->FolderExists("C:\\Games\\OFP\\Gone") && emu.desktop.boxes.empty());
}

TEST(Exit, AFileThatFailsItsWriteOrItsReadAtStartUpKeepsItsContentAndIsNamedInOneBox) {
    struct Case { emulated::FileOp op; std::uint32_t code; Text box, shown; };
    const Case cases[] = {
        {emulated::FileOp::Replace, errc::kAccessDenied,
         "VARNX 48: The comments could not be saved to " + kGameComments +
             ": access is denied.\r\n\r\nThe file keeps the content it had before; the comments saved in this "
             "session are lost.",
         "New"},
        {emulated::FileOp::Read, errc::kSharingViolation,
         "VARNX 48: The comments file " + kGameComments +
             " cannot be read: the file is in use by another program.\r\n\r\nIts comments are not shown in this "
             "session, and Varnex will leave the file as it is.",
         "No save possible"},
    };
    for (const auto& c : cases) {
        Emulation emu;
        emu.Write(kResComments, "//tankOld");
        emu.files->FailOn(c.op, 1, c.code);
        auto app = emu.Game({"tank.pbo"}, "//tankOld");
        app->CommentsRes = "//tankNew";
        app->File1.SetListIndex(0);
        app->Text1.SetText("New");
        app->Save.Click();
        EXPECT_EQ(app->Text1.GetText(), c.shown);
        app->Command4.Click();
        EXPECT_EQ(emu.Read(kGameComments) + "|" + emu.Read(kResComments), "//tankOld|//tankNew");
        EXPECT_EQ(emu.Boxes(), Strings{c.box});
    }
}

TEST(Exit, ThisRunsSavesAreReplayedOntoAFileAnotherWriterChangedAndAnUnchangedFileGetsTheTextInMemory) {
    const std::string atStart = "lead//tankOld//heliH";
    // The run saves tank, a new entry for jeep, then tank again.
    const std::string inMemory = "lead//tankNewer//heliH//jeepJ";
    struct Case { const char* meanwhile; std::function<void(Emulation&)> change; std::string want; };
    const Case cases[] = {
        {"nothing", [](Emulation&) {}, inMemory},
        {"a hand edit", [](Emulation& e) { e.Write(kGameComments, "lead//tankHand//heliHand edit//boatB"); },
         "lead//tankNewer//heliHand edit//boatB//jeepJ"},
        {"a second window that saved heli and left first",
         [](Emulation& e) {
             auto second = e.Launch();
             ClickOn(second->File1, "heli.pbo");
             second->Text1.SetText("Second");
             second->Save.Click();
             second->Command4.Click();
         },
         "lead//tankNewer//heliSecond//jeepJ"},
        {"the file deleted", [](Emulation& e) { fs::remove(e.files->HostPath(kGameComments)); }, inMemory},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.meanwhile);
        Emulation emu;
        auto app = emu.Game({"tank.pbo", "heli.pbo", "jeep.pbo"}, atStart);
        for (const auto& [name, comment] : {std::pair{"tank.pbo", "New"}, {"jeep.pbo", "J"}, {"tank.pbo", "Newer"}}) {
            ClickOn(app->File1, name);
            app->Text1.SetText(comment);
            app->Save.Click();
        }
        c.change(emu);
        app->Command4.Click();
        EXPECT_EQ(emu.Read(kGameComments) + std::to_string(emu.Boxes().size()), c.want + "0");
    }
}

TEST(StartUp, AnExpansionWithoutItsAddonFolderStartsQuietlyAndExitWritesThereOnlyIfTheFolderCameBack) {
    const Text noFolder = "VARNX 48: The comments saved for the expansion's addons cannot be written: the folder " +
                          Text(kResAddons) + " does not exist.";
    struct Case { bool save, folderBack; Text box; const char* written; };
    const Case cases[] = {{false, false, "", nullptr}, {true, false, noFolder, nullptr}, {true, true, "", "//tankR"},
                          {false, true, "", ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.save) + std::to_string(c.folderBack));
        Emulation emu;
        emu.InstallGame();
        fs::remove_all(emu.files->HostPath("C:\\Games\\OFP\\Res"));
        emu.Put({"tank.pbo"});
        auto app = emu.Launch();
        EXPECT_EQ(emu.Boxes(), Strings{});
        EXPECT_TRUE(app->Option2.Visible() && app->CommentsRes.empty());
        EXPECT_FALSE(emu.files->FolderExists("C:\\Games\\OFP\\Res"));
        // The expansion's folder takes comments like any other fixed folder.
        ClickOn(app->File1, "tank.pbo");
        app->AddonManager_Option2_Click();
        app->Text1.SetText("R");
        if (c.save) app->Save.Click();
        EXPECT_EQ(app->CommentsRes, c.save ? "//tankR" : "");
        if (c.folderBack) fs::create_directories(emu.files->HostPath(kResAddons));
        app->Command4.Click();
        EXPECT_EQ(emu.Boxes(), c.box.empty() ? Strings{} : Strings{c.box});
        const bool written = fs::exists(emu.files->HostPath(kResComments));
        EXPECT_EQ(written ? emu.Read(kResComments) : "<none>", c.written ? c.written : "<none>");
        EXPECT_TRUE(emu.desktop.ended);
    }
}

}  // namespace
}  // namespace varnex::testing
