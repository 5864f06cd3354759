// Names, paths and typed letters the system's code page does not hold: the
// program acts on held ones only, says why in one box otherwise, and never
// hands such a text to the files or the shell.
#include "support/Fixture.hpp"

namespace varnex::testing {
namespace {

const Text kCannotShow = "Windows' language setting for non-Unicode programs cannot show";
const Text kNotHeld = "the name has letters that " + kCannotShow;
const Text kLodz = "?\xF3\x64?";  // the Polish "Lodz" without best fit: only its accented o is held

// The first lines of the boxes shown since the last call.
Strings FirstLines(Emulation& emu) {
    Strings lines;
    for (const auto& box : emu.desktop.boxes) lines.push_back(box.text.substr(0, box.text.find("\r\n")));
    emu.desktop.boxes.clear();
    return lines;
}

using CodePage = BothShells;

TEST_P(CodePage, EachSourceActsOnHeldTextsAndExplainsTheOthers) {
    // Per source, the texts it acts on and those it leaves alone: a listed
    // addon's name, a dialog's answer, a registry value or the comment box's
    // text (whose letters not held the window names, as below).
    enum Source { Activate, Delete, LoadList, SaveList, Others, Typed };
    const Text unheld = "U+0141 U+017A U+0422 U+0430 U+043D U+043A";
    struct Row {
        Source source;
        Strings held, refused;
    };
    const Row rows[] = {
        {Activate, {"Tanks.pbx", "Pz\xE4\xFF.pbx"}, {"?????.pbx", kLodz + ".pbx"}},
        {Delete, {"Tanks.pbx"}, {"?????.pbx"}},
        {LoadList, {"C:\\fav.txtf"}, {"C:\\?????????.txtf", "C:\\*.txtf"}},
        {SaveList, {"C:\\fav.txtf"}, {"C:\\?????.txtf"}},
        {Others, {"C:\\Hry\\Mody"}, {"C:\\Hry\\????"}},
        // A "?" the player typed is a letter like any other.
        {Typed, {"Gr\xF6\xDF\x65 \x96 L\xF3\x64z?"}, {"Gr\xF6\xDF\x65 \x96 " + kLodz + ", ????"}},
    };
    // The first line of the one box that says why.
    const auto why = [&](Source source, const Text& text) -> Text {
        const Text list = "The favorites list " + text + " cannot be ";
        if (source == LoadList) return list + "read: " + kNotHeld + ".";
        if (source == SaveList) return list + "written: " + kNotHeld + ".";
        if (source == Others)
            return "Varnex cannot open the folder " + text + ": " + kNotHeld +
                   ". Its lists stay empty, and the folder remembered for \"others\" is kept as it is.";
        if (source == Typed)
            return "The comment for tank.pbo cannot be saved as it stands: it holds letters that " + kCannotShow +
                   " (" + unheld + "); the comments file would get other letters in their place.";
        return "Varnex leaves " + text + " as it is: its name has letters that " + kCannotShow +
               ", so Varnex cannot tell its file from others.";
    };
    const auto run = [&](Source source, const Text& text, bool held) {
        SCOPED_TRACE(text);
        Emulation emu(GetParam());
        // A sibling the shell's wildcard "?????" would reach as well.
        emu.Put({"Other.pbx"});
        emu.Write("C:\\fav.txtf", "Tanks.pbx Other.pbx");
        emu.Write("C:\\Hry\\Mody\\mod.pbo", "m");
        if (source == Activate || source == Delete) emu.Put({text});
        if (source == Others) emu.registry.SetString(kGameKey, "VARNX", text);
        if (source == LoadList || source == SaveList) emu.desktop.dialogAnswers = {text};
        if (source == Delete) emu.desktop.boxAnswers = {kIdYes};
        auto app = emu.Game({"tank.pbo"}, "//tankOld");
        const auto before = emu.Drive();
        if (source == Activate || source == Delete) ClickOn(app->File2, text);
        if (source == Activate || source == Delete) (source == Activate ? app->Command3 : app->Command1).Click();
        if (source == LoadList) app->LoadFavorits.Click();
        if (source == SaveList) app->SaveFavorits.Click();
        if (source == Others) app->AddonManager_Option3_Click();
        if (source == Typed)
            ClickOn(app->File1, "tank.pbo"), app->Text1.SetTyped(text, held ? "" : unheld), app->Save.Click();
        // A refused comment keeps its typed text and the red dot; no other source shows the dot.
        if (source == Typed) {
            EXPECT_EQ(app->Text1.GetText(), text);
        }
        EXPECT_EQ(app->Image3.Visible(), source == Typed && !held);
        const bool othersShown = Names(app->File1) == Strings{"mod.pbo"};
        // A held addon goes after the question, the shell's or the program's.
        const Text question = DeleteQuestion(*emu.shell, kAddons, text),
                   asked = question.substr(question.find(": ") + 2);
        const Strings told = source == Delete && held ? Strings{asked.substr(0, asked.find("\r\n"))} : Strings{};
        EXPECT_EQ(FirstLines(emu), held ? told : Strings{why(source, text)});
        EXPECT_EQ(emu.files->notHeld, Strings{});
        // Exit keeps the bytes of everything the player did not change: the
        // value stored with its NUL is not written back, which would drop it.
        app->Command4.Click();
        const Text others = source != Others ? Text("C:\\Games\\OFP") : held ? text : text + '\0';
        EXPECT_EQ(emu.registry.Get(kGameKey, "VARNX")->data, others);
        // What it acted on changed; nothing else did (Load List deactivates all first).
        auto after = emu.Drive();
        if (source == LoadList) after.erase("Games/OFP/ADDONS/tank.pbx"), after["Games/OFP/ADDONS/tank.pbo"] = "x";
        EXPECT_EQ(after != before || othersShown, held);
    };
    for (const auto& [source, held, refused] : rows) {
        for (const Text& text : held) run(source, text, true);
        for (const Text& text : refused) run(source, text, false);
    }
}

TEST_P(CodePage, SelectionsKeptIntoAFolderNotHeldReachNoFile) {
    // The folder list shows "\xCC\xEE\xE4\xFB" of code page 1251 as "????" on a
    // Western system. Its files may bear the names still selected from
    // C:\Mods, and the shell would take each "?" for a wildcard.
    for (const Text folder : {"C:\\Mods\\", "C:\\Mods\\????\\"})
        for (const char* name : {"m1.pbo", "m2.pbx", "m2.txt"}) emu.Write(folder + name, "m");
    emu.registry.SetString(kGameKey, "VARNX", "C:\\Mods");
    Start();
    app->AddonManager_Option3_Click();
    ClickOn(app->File1, "m1.pbo");
    ClickOn(app->File2, "m2.pbx");
    app->Dir1.SetPath("C:\\Mods\\????");
    ASSERT_EQ(app->SelectedActive + " " + app->SelectedInactive, "m1.pbo m2.pbx");
    (void)FirstLines(emu);  // the folder's own box
    const auto before = emu.Drive();
    emu.desktop.boxAnswers = {kIdYes, kIdYes, kIdYes};
    for (CommandButton* press : {&app->Command2, &app->Command3, &app->Command1}) press->Click();
    EXPECT_EQ(emu.Drive(), before);
    EXPECT_EQ(emu.shell->calls.size() + emu.files->notHeld.size(), 0u);
    const Text leaves = "Varnex leaves C:\\Mods\\????\\", why = " as it is: its folder's name has letters that " +
                                                                kCannotShow +
                                                                ", so Varnex cannot tell its file from others.";
    EXPECT_EQ(FirstLines(emu), (Strings{leaves + "m1.pbo" + why, leaves + "m2.pbx" + why, leaves + "m2.pbx" + why}));
    // Save List would empty the chosen list: the lists show the folder as
    // empty. A folder that is truly missing saves the empty list it shows.
    emu.Write("C:\\fav.txtf", "Tanks.pbx");
    for (const Text folder : {"C:\\Mods\\????", "C:\\Mods\\Gone"}) {
        app->Dir1.SetPath(folder);
        (void)FirstLines(emu);
        emu.desktop.dialogAnswers = {"C:\\fav.txtf"};
        app->SaveFavorits.Click();
        const bool notHeld = folder.back() == '?';
        EXPECT_EQ(FirstLines(emu), notHeld ? Strings{"The favorites list C:\\fav.txtf was not written: Varnex "
                                                     "cannot read the folder C:\\Mods\\????: " +
                                                     kNotHeld + "."}
                                           : Strings{});
        EXPECT_EQ(emu.Read("C:\\fav.txtf"), notHeld ? "Tanks.pbx" : "");
    }
}

VARNEX_ON_BOTH_SHELLS(CodePage);

}  // namespace
}  // namespace varnex::testing
