// Japanese, Chinese and Korean systems, whose code pages spell a letter
// with two bytes, the second of which may be the backslash's or an ASCII
// letter's: every rule of the program sees letters there, and a Western
// system reads the same bytes one by one, as it always did.
#include "favorites/NameMatcher.hpp"
#include "support/Fixture.hpp"

namespace varnex::testing {
namespace {

// Per code page: a letter to end a folder's name with and one inside it
// (both with the backslash's byte second, where the code page has such
// letters; Korean has none, and gets letters ending in "A" and "a"), two
// letters that differ only in the case of their second byte.
struct Page {
    unsigned codePage;
    Text end, inside, upper, lower;
};
const Page kPages[] = {
    {932, "\x95\x5C", "\x83\x5C", "\x83\x41", "\x83\x61"},  // 表 ソ ア ヂ
    {936, "\xDF\x5C", "\xD5\x5C", "\x81\x41", "\x81\x61"},
    {949, "\x81\x41", "\x81\x61", "\x81\x41", "\x81\x61"},
    {950, "\xA5\x5C", "\xB3\x5C", "\xA3\x41", "\xA3\x61"},  // 功 許
    // A Western system given the bytes of the Japanese row.
    {1252, "\x95\x5C", "\x83\x5C", "\x83\x41", "\x83\x61"},
};

// The code page of the emulated system for one row, single-byte again after it.
struct System {
    explicit System(unsigned codePage) { UseSystemLetters(CodePageLetters::Of(codePage)); }
    ~System() { UseSystemLetters(CodePageLetters()); }
};

TEST(Letters, EachRuleOnNamesAndPathsStepsByLettersWhereALetterIsTwoBytes) {
    for (const Page& p : kPages) {
        SCOPED_TRACE(p.codePage);
        const System system(p.codePage);
        const bool two = p.codePage != 1252;
        // Separators: cut between letters only.
        EXPECT_EQ(SplitAtSeparators("C:\\x" + p.inside + "y\\" + p.end),
                  two ? Strings({"C:", "x" + p.inside + "y", p.end})
                      : Strings({"C:", "x" + p.inside.substr(0, 1), "y", p.end.substr(0, 1)}));
        EXPECT_EQ(EndsInSeparator("C:\\" + p.end), p.end[1] == '\\' && !two);
        EXPECT_EQ(FindLastLetterOf("C:\\a\\" + p.end + "b", "\\"), two || p.end[1] != '\\' ? 4u : 6u);
        // Letter case: the second byte of a letter is no letter of its own.
        EXPECT_EQ(EqualIgnoringCase(p.upper + ".pbx", p.lower + ".PBX"), !two);
        EXPECT_EQ(UpperAscii(p.lower + "k"), two ? p.lower + "K" : p.upper + "K");
        // "?" is one letter; ".pbo" is not found in the second byte of a letter.
        EXPECT_EQ(MatchesPattern(p.end + ".pbo", "?.pbo"), two);
        EXPECT_EQ(MatchesPattern(p.lower + ".pbo", p.upper + ".PBO"), !two);
        EXPECT_TRUE(MatchesPattern(p.inside + p.end + ".PBO", "*.pbo*"));
        // The last letter and the four letters cut for the information file.
        EXPECT_EQ(Switchable("tank.pbo" + p.end), !two);
        EXPECT_EQ(ActiveName("tank.pbx" + p.end), two ? Text("tank.pbxo") : "tank.pbx" + p.end.substr(0, 1) + "o");
        EXPECT_EQ(CutRight("z.pbx" + p.end + "AB", 4), two ? "z.pb" : "z.pbx");
        // A lone lead byte at the end spells no name.
        EXPECT_EQ(Held("tank" + p.end.substr(0, 1)), !two);
        // Favorites: a name occurs where a letter starts, not in the second
        // byte of one ("A" after a lead byte) nor from inside a letter.
        const std::vector<Text> names{"Atank.pbx", p.end + ".pbx", "x.pbx"};
        const auto found = [&](const Text& list) {
            Text which;
            const auto occurs = NameMatcher(names).Occurs(list);
            for (std::size_t i = 0; i < names.size(); ++i) which += occurs[i] ? "1" : "0";
            return which;
        };
        EXPECT_EQ(found(p.upper.substr(0, 1) + "Atank.pbx "), two ? "000" : "100");
        EXPECT_EQ(found("x" + p.end + ".pbx x.pbx"), "011");
        EXPECT_EQ(found(p.end.substr(0, 1) + p.end + ".pbx "), two ? "000" : "010");
        EXPECT_EQ(found(p.inside + "x.pbx"), "001");
    }
}

TEST(Letters, TheGameFolderLosesATrailingBackslashButNotTheSecondByteOfItsLastLetter) {
    for (const Page& p : kPages) {
        for (const Text& ending : {Text(), Text("\\")}) {
            SCOPED_TRACE(std::to_string(p.codePage) + (ending.empty() ? "" : " with \\"));
            Emulation emu;
            emu.files->UseCodePage(p.codePage);
            const Text game = "C:\\G" + p.inside + "\\" + p.end;
            emu.registry.SetString(kGameKey, "Main", game + ending);
            const bool two = p.codePage != 1252;
            // A Western system reads the folder as "C:\G\x83\x95" and its
            // last byte as a backslash: the folder is made as it always was.
            const Text folder = two || !ending.empty() || p.end[1] != '\\' ? game : game.substr(0, game.size() - 1);
            fs::create_directories(emu.files->HostPath(folder));
            auto app = emu.Launch();
            EXPECT_EQ(app->AddonFolder, folder + "\\ADDONS");
            EXPECT_TRUE(emu.files->FolderExists(folder + "\\ADDONS"));
            EXPECT_EQ(emu.Drive().size(), 4u) << "no stray folder";  // two folders, ADDONS, Comments.txt
        }
    }
}

using DoubleByte = BothShells;

// A whole session on each double-byte system: the game's folder ends in a
// letter whose second byte is the backslash's, addons carry such letters,
// and each action reaches exactly the file chosen.
TEST_P(DoubleByte, ASessionActsOnExactlyTheFilesChosenAndKeepsEveryByte) {
    for (const Page& p : kPages) {
        if (p.codePage == 1252) continue;
        SCOPED_TRACE(p.codePage);
        Emulation emu(GetParam());
        emu.files->UseCodePage(p.codePage);
        const Text game = "C:\\G" + p.inside + "\\" + p.end, addons = game + "\\ADDONS";
        const Text others = "C:\\S" + p.inside + "\\T" + p.end;
        emu.registry.SetString(kGameKey, "Main", game);
        emu.registry.SetString(kGameKey, "VARNX", others);
        const Text mine = "A" + p.inside + ".pbx", endsTwo = "tank.pbo" + p.end;
        const Text upper = "K" + p.upper + ".pbx", lower = "K" + p.lower + ".pbx", info = "z.pbx" + p.end + "AB";
        for (const Text& name : {mine, endsTwo, upper, lower, info, p.end + ".pbo", Text("Ktank.pbx")}) emu.Write(addons + "\\" + name, "x");
        emu.Write(addons + "\\z.pb.txt", "/x/authorMe");
        emu.Write(addons + "\\Comments.txt", "");
        emu.Write(others + "\\mod.pbo", "m");
        emu.Write(others + "\\U" + p.end + "\\sub.pbx", "s");
        emu.Write("C:\\list.txtf", p.upper.substr(0, 1) + "Ktank.pbx " + mine + " ");
        auto app = emu.Launch();
        ASSERT_EQ(app->AddonFolder, addons);
        EXPECT_EQ(Names(app->File2), (Strings{mine, "Ktank.pbx", upper, lower, info}));
        EXPECT_EQ(Names(app->File1), (Strings{endsTwo, p.end + ".pbo"}));

        // Two names that differ in the second byte of a letter are two files.
        ClickOn(app->File2, upper);
        app->Command3.Click();
        EXPECT_EQ(emu.Read(addons + "\\K" + p.upper + ".pbo") + emu.Read(addons + "\\" + lower), "xx");
        // Its information file is found by cutting four letters.
        DoubleClick(app->File2, info);
        EXPECT_EQ(app->Info()->Fields()[3]->GetText(), "Me");
        // A name ending in a letter of two bytes is left as it is.
        emu.desktop.boxes.clear();
        ClickOn(app->File1, endsTwo);
        app->Command2.Click();
        ASSERT_EQ(emu.desktop.boxes.size(), 1u);
        EXPECT_EQ(emu.desktop.boxes[0].text.substr(0, 14 + endsTwo.size()), "Varnex leaves " + endsTwo);
        emu.desktop.boxes.clear();
        app->Command5.Click();  // Deactivate all: the same name is counted, the others switched
        EXPECT_EQ(Names(app->File1), Strings{endsTwo});
        ASSERT_EQ(emu.desktop.boxes.size(), 1u);
        EXPECT_EQ(emu.desktop.boxes[0].text.substr(0, 7), "1 addon");

        // A comment and a favorites list, read back after a restart.
        const Text comment = "\x82\xA0" + p.inside + "\\" + p.end + " ok";
        SaveComment(*app, app->File2, mine, comment);
        emu.desktop.dialogAnswers = {"C:\\fav" + p.end + ".txtf"};
        ClickOn(app->File2, mine);
        app->Command3.Click();
        app->SaveFavorits.Click();
        EXPECT_EQ(emu.Read("C:\\fav" + p.end + ".txtf"), "A" + p.inside + ".pbx ");
        // The list's "K" follows a lead byte: it names no addon.
        emu.desktop.dialogAnswers = {"C:\\list.txtf"};
        emu.desktop.boxes.clear();
        app->LoadFavorits.Click();
        EXPECT_EQ(Names(app->File1), (Strings{"A" + p.inside + ".pbo", endsTwo}));

        // "Others": the folder list enters folders whose names hold such letters.
        app->AddonManager_Option3_Click();
        EXPECT_EQ(Names(app->File1), Strings{"mod.pbo"});
        const auto lines = app->Dir1.Lines();
        ASSERT_EQ(lines.size(), 4u);
        EXPECT_EQ(lines[2].text + "|" + lines[2].path + "|" + (lines[2].current ? "current" : ""),
                  "T" + p.end + "|" + others + "|current");
        app->Dir1.SetPath(lines[3].path);
        EXPECT_EQ(lines[3].path, others + "\\U" + p.end);
        EXPECT_EQ(Names(app->File2), Strings{"sub.pbx"});
        app->Command4.Click();
        EXPECT_EQ(emu.Read(addons + "\\Comments.txt"), "//A" + p.inside + comment);
        EXPECT_EQ(emu.registry.Get(kGameKey, "VARNX")->data, others + "\\U" + p.end);
        EXPECT_EQ(emu.files->notHeld, Strings{});

        auto again = emu.Launch();
        ClickOn(again->File1, "A" + p.inside + ".pbo");
        EXPECT_EQ(again->Text1.GetText(), comment);
        // Nothing was made that the session did not ask for.
        Strings made;
        for (const auto& [path, bytes] : emu.Drive()) made.push_back(path);
        EXPECT_EQ(made.size(), 19u) << ::testing::PrintToString(made);
    }
}

// Windows set to UTF-8 for programs that are not Unicode: every letter
// outside ASCII is two to four bytes, and a name ending in one cannot be
// switched by its last byte.
TEST_P(DoubleByte, UnderUtf8ANameEndingInALetterOutsideAsciiIsLeftAsItIsAndOthersSwitch) {
    const Text old = "tank.pbo.\xD1\x81\xD1\x82\xD0\xB0\xD1\x80\xD1\x8B\xD0\xB9";  // tank.pbo.старый
    const Text mine = "\xD0\xBC\xD0\xBE\xD0\xB9.pbo";                                  // мой.pbo
    emu.files->UseCodePage(65001);
    const Text emoji = "x.pbx\xF0\x9F\x98\x80";
    Start({old, mine, emoji});
    EXPECT_FALSE(Held("tank\xF0\x9F\x98"));
    ClickOn(app->File1, old);
    app->Command2.Click();
    ASSERT_EQ(emu.desktop.boxes.size(), 1u);
    EXPECT_EQ(emu.desktop.boxes[0].text.substr(0, 14 + old.size()), "Varnex leaves " + old);
    emu.desktop.boxes.clear();
    app->Command5.Click();
    EXPECT_EQ(Names(app->File2), (Strings{emoji, "\xD0\xBC\xD0\xBE\xD0\xB9.pbx"}));
    app->Command6.Click();  // the emoji is a letter of four bytes
    EXPECT_EQ(Names(app->File1), (Strings{old, mine}));
    EXPECT_EQ(Names(app->File2), Strings{emoji});
    ASSERT_EQ(emu.desktop.boxes.size(), 2u);
    for (const auto& box : emu.desktop.boxes) EXPECT_EQ(box.text.substr(0, 7), "1 addon");
    EXPECT_EQ(emu.files->notHeld, Strings{});
}

VARNEX_ON_BOTH_SHELLS(DoubleByte);

}  // namespace
}  // namespace varnex::testing
