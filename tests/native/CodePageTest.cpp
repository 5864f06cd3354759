// Names, paths and typed letters the system's code page does not hold: the
// program acts on held ones only, says why in one box otherwise, and never
// hands such a text to the files or the shell.
#include "support/Fixture.hpp"

namespace varnex::testing {
namespace {

const Text kGameComments = InAddons("Comments.txt");
const Text kNotHeld = "the name has letters that Windows' language setting for non-Unicode programs cannot show";

// The first lines of the boxes shown, each followed by "|".
Text FirstLines(const Emulation& emu) {
    Text lines;
    for (const auto& box : emu.desktop.boxes) lines += box.text.substr(0, box.text.find("\r\n")) + "|";
    return lines;
}

TEST(CodePage, EachSourceActsOnHeldTextsAndSaysWhyItLeavesTheOthersAlone) {
    // text: a listed addon's name, a dialog's answer, a registry value or
    // the comment box's text; unheld: for typed text, the letters the window
    // could not hold. acted: what the source's action did to the one thing
    // it names; box: the first line of the one box, "" for none.
    enum Source { Activate, Delete, LoadList, SaveList, Others, Typed };
    struct Row {
        Source source;
        Text text, unheld;
        bool acted;
        Text box;
    };
    const Text leaves = "Varnex leaves ",
               why =
                   " as it is: its name has letters that Windows' language setting for "
                   "non-Unicode programs cannot show, so Varnex cannot tell its file from others.";
    const Row rows[] = {
        {Activate, "Tanks.pbx", "", true, ""},
        {Activate, "Pz\xE4\xFF.pbx", "", true, ""},  // letters of the code page are held
        {Activate, "?????.pbx", "", false, leaves + "?????.pbx" + why},
        {Activate,
         "?\xF3"
         "d?.pbx",
         "", false,
         leaves +
             "?\xF3"
             "d?.pbx" +
             why},  // "Łódź" without best fit
        {Delete, "Tanks.pbx", "", true, ""},
        {Delete, "?????.pbx", "", false, leaves + "?????.pbx" + why},
        {LoadList, "C:\\fav.txtf", "", true, ""},
        {LoadList, "C:\\?????????.txtf", "", false,
         "The favorites list C:\\?????????.txtf cannot be read: " + kNotHeld + "."},
        {LoadList, "C:\\*.txtf", "", false, "The favorites list C:\\*.txtf cannot be read: " + kNotHeld + "."},
        {SaveList, "C:\\fav.txtf", "", true, ""},
        {SaveList, "C:\\?????.txtf", "", false,
         "The favorites list C:\\?????.txtf cannot be written: " + kNotHeld + "."},
        {Others, "C:\\Hry\\Mody", "", true, ""},
        {Others, "C:\\Hry\\????", "", false,
         "Varnex cannot open the folder C:\\Hry\\????: " + kNotHeld +
             ". Its lists stay empty, and the folder remembered for \"others\" is kept as it is."},
        {Typed,
         "Gr\xF6\xDF"
         "e \x96 L\xF3"
         "dz?",
         "", true, ""},  // a "?" the player typed is a letter like any other
        {Typed,
         "Gr\xF6\xDF"
         "e \x96 ?\xF3"
         "d?, ????",
         "U+0141 U+017A U+0422 U+0430 U+043D U+043A", false,
         "The comment for tank.pbo cannot be saved as it stands: it holds letters that Windows' language setting for "
         "non-Unicode programs cannot show (U+0141 U+017A U+0422 U+0430 U+043D U+043A); the comments file would get "
         "other letters in their place."},
    };
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row& r = rows[i];
        Emulation emu;
        // A sibling the shell's wildcard "?????" would reach as well.
        emu.Put({"Other.pbx"});
        emu.Write("C:\\fav.txtf", "Tanks.pbx Other.pbx");
        emu.Write("C:\\Hry\\Mody\\mod.pbo", "m");
        if (r.source == Activate || r.source == Delete) emu.Put({r.text});
        if (r.source == Others) emu.registry.SetString(kGameKey, "VARNX", r.text);
        auto app = emu.Game({"tank.pbo"}, "//tankOld");
        const auto before = emu.Drive();
        bool acted = false;
        Strings untouched = {"Comments.txt", "Other.pbx", r.text, "tank.pbo"};
        std::sort(untouched.begin(), untouched.end());
        switch (r.source) {
            case Activate:
                ClickOn(app->File2, r.text);
                app->Command3.Click();
                acted = emu.Names(kAddons) != untouched;
                break;
            case Delete:
                ClickOn(app->File2, r.text);
                app->Command1.Click();
                acted = emu.Names(kAddons) != untouched;
                break;
            case LoadList:
                emu.desktop.dialogAnswers = {r.text};
                app->AddonManager_LoadFavorits_Click();
                acted = Names(app->File1) == Strings{"Other.pbo"};
                break;
            case SaveList:
                emu.desktop.dialogAnswers = {r.text};
                app->AddonManager_SaveFavorits_Click();
                acted = emu.Read("C:\\fav.txtf") == "tank.pbx ";
                break;
            case Others:
                app->AddonManager_Option3_Click();
                acted = Names(app->File1) == Strings{"mod.pbo"};
                break;
            case Typed:
                ClickOn(app->File1, "tank.pbo");
                app->Text1.SetTyped(r.text, r.unheld);
                app->Save.Click();
                // Refused, the typed text and the red dot stay.
                EXPECT_EQ(app->Text1.GetText(), r.text) << "row " << i;
                EXPECT_EQ(app->Image3.Visible(), !r.acted) << "row " << i;
                acted = !app->Image3.Visible();
                break;
        }
        EXPECT_EQ(acted, r.acted) << "row " << i;
        EXPECT_EQ(FirstLines(emu), r.box.empty() ? "" : r.box + "|") << "row " << i;
        EXPECT_EQ(emu.files->notHeld, Strings{}) << "row " << i;
        // Exit keeps the bytes of everything the player did not change: the
        // value stored with its NUL is not written back, which would drop it.
        app->Command4.Click();
        const Text others = r.source != Others ? Text("C:\\Games\\OFP") : r.acted ? r.text : r.text + '\0';
        EXPECT_EQ(emu.registry.Get(kGameKey, "VARNX")->data, others) << "row " << i;
        if (!r.acted) {
            auto after = emu.Drive();
            if (r.source == LoadList)
                after.erase("Games/OFP/ADDONS/tank.pbx"), after["Games/OFP/ADDONS/tank.pbo"] = "x";
            EXPECT_EQ(after, before) << "row " << i;
        }
    }
}

TEST(CodePage, WalksLeaveNamesNotHeldAsTheyAreAndCountThemInOneBoxAtTheEnd) {
    Emulation emu;
    auto app = emu.Game({"?????.pbx", "??????.pbx", "Tanks.pbx",
                         "?\xF3"
                         "d?.pbo",
                         "Lodz.pbo", "Data.pbo"});
    const auto summary = [&] {
        Text last = emu.desktop.boxes.empty() ? Text() : emu.desktop.boxes.back().text;
        emu.desktop.boxes.clear();
        return last.substr(0, last.find("\r\n"));
    };
    app->Command6.Click();
    EXPECT_EQ(Names(app->File2), (Strings{"?????.pbx", "??????.pbx"}));
    EXPECT_EQ(summary(), "2 addons were left as they are: their names cannot be shown in this language setting.");
    app->Command5.Click();
    EXPECT_EQ(Names(app->File1), (Strings{"?\xF3"
                                          "d?.pbo",
                                          "Data.pbo"}));
    EXPECT_EQ(summary(), "1 addon was left as it is: its name cannot be shown in this language setting.");

    // A list holds no name that is not held.
    app->Command6.Click();
    (void)summary();
    emu.desktop.dialogAnswers = {"C:\\fav.txtf"};
    app->AddonManager_SaveFavorits_Click();
    EXPECT_EQ(emu.Read("C:\\fav.txtf"), "Lodz.pbx Tanks.pbx ");
    EXPECT_EQ(summary(), "1 addon was not written to the list: its name cannot be shown in this language setting.");

    // Load List: what Deactivate all and the list's own walk left alone, in
    // one box. An older list may name "?????.pbx", which must not reach
    // "??????.pbx" or anything else.
    emu.Write("C:\\old.txtf", "?????.pbx Lodz.pbx");
    emu.desktop.dialogAnswers = {"C:\\old.txtf"};
    app->AddonManager_LoadFavorits_Click();
    EXPECT_EQ(Names(app->File1), (Strings{"?\xF3"
                                          "d?.pbo",
                                          "Data.pbo", "Lodz.pbo"}));
    EXPECT_EQ(emu.desktop.boxes.size(), 1u);
    EXPECT_EQ(summary(), "2 addons were left as they are: their names cannot be shown in this language setting.");
    // A cancelled dialog still runs Deactivate all, and still says so.
    app->AddonManager_LoadFavorits_Click();
    EXPECT_EQ(summary(), "1 addon was left as it is: its name cannot be shown in this language setting.");
    EXPECT_EQ(emu.files->notHeld, Strings{});

    // An addon the shell could not switch joins the same one box.
    Emulation other;
    auto held = other.Game({"?????.pbx", "Tanks.pbx"});
    other.files->Lock(InAddons("Tanks.pbx"));
    held->Command6.Click();
    ASSERT_EQ(other.desktop.boxes.size(), 1u);
    const Text box = other.desktop.boxes[0].text;
    EXPECT_EQ(box.substr(0, box.find("\r\n\r\nRename")),
              "1 addon was left as it was:\r\n\r\nTanks.pbx: the file is in use by another program\r\n\r\n"
              "Is the game running?\r\n\r\n"
              "1 addon was left as it is: its name cannot be shown in this language setting.");
}

TEST(CodePage, NamesNotHeldGetNoCommentNoSizeNoInformationAndAGameFolderNotHeldEndsTheProgram) {
    Emulation emu;
    emu.Write(InAddons("?????.txt"), "/x/authorSomeone");
    auto app = emu.Game({"?????.pbx", "?????.pbo", "tank.pbo"}, "//?????Shared");
    // Two addons shown as "?????" would share one comment: none is shown,
    // and none is stored.
    ClickOn(app->File2, "?????.pbx");
    EXPECT_EQ(app->List1.Items(), (Strings{"?????.pbx", "", "Size: " + kNotHeld}));
    EXPECT_EQ(app->Text1.GetText(), "");
    app->Text1.SetText("Mine");
    app->Save.Click();
    EXPECT_EQ(app->Text1.GetText(), "Mine");
    EXPECT_TRUE(app->Image3.Visible());
    app->File2.DblClick();
    EXPECT_EQ(FirstLines(emu),
              "The comment for ?????.pbo cannot be saved: its name has letters that Windows' language setting for "
              "non-Unicode programs cannot show, so its comment could not be told from another addon's.|"
              "The information file " +
                  InAddons("?????.txt") + " cannot be read: " + kNotHeld + ".|");
    EXPECT_EQ(app->Info()->Fields()[3]->GetText(), "No entry");
    app->Command4.Click();
    EXPECT_EQ(emu.Read(kGameComments), "//?????Shared");
    EXPECT_EQ(emu.files->notHeld, Strings{});

    // Start-up: the game's folder itself is not held.
    Emulation game;
    game.InstallGame();
    game.registry.SetString(kGameKey, "Main", "C:\\????\\OFP\\");
    const auto before = game.Drive();
    auto ended = game.Launch();
    EXPECT_TRUE(ended->Ended());
    EXPECT_EQ(FirstLines(game), "The game folder C:\\????\\OFP cannot be opened: " + kNotHeld + ".|");
    EXPECT_EQ(game.Drive(), before);
    EXPECT_EQ(game.files->notHeld, Strings{});
}

}  // namespace
}  // namespace varnex::testing
