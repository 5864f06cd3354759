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

TEST(Letters, NamesAndPathsStepOverLettersOfTwoBytes) {
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

// "*.pbo" lists every extension that begins with ".pbo", as Windows lists
// them: the walks leave a name ending in a letter of two bytes alone.
TEST(Letters, WalksLeaveANameEndingInATwoByteLetter) {
    for (const Page& p : kPages) {
        if (p.codePage == 1252) continue;
        SCOPED_TRACE(p.codePage);
        Emulation emu;
        emu.files->UseCodePage(p.codePage);
        const System system(p.codePage);
        auto app = emu.Game({"tank.pbo" + p.end, "jeep.pbo", "heli.pbx" + p.end});
        const Text leftAlone = kWarning + "1 addon was left as it is: its name cannot be shown";
        for (CommandButton* walk : {&app->Command5, &app->Command6}) {
            emu.desktop.boxes.clear();
            walk->Click();
            const Text jeep = walk == &app->Command5 ? "jeep.pbx" : "jeep.pbo";
            EXPECT_EQ(emu.Names(kAddons), (Strings{"Comments.txt", "heli.pbx" + p.end, jeep, "tank.pbo" + p.end}));
            const Strings boxes = emu.Boxes();
            ASSERT_EQ(boxes.size(), 1u);
            EXPECT_TRUE(boxes[0].starts_with(leftAlone)) << boxes[0];
        }
    }
}

TEST(Letters, TheGameFolderLosesOnlyAWholeTrailingBackslash) {
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
            // The folder list joins names behind such a letter with a backslash.
            app->Dir1.SetPath(folder);
            if (two) {
                EXPECT_EQ(app->Dir1.ReadLines().back().path, folder + "\\ADDONS");
            }
        }
    }
}

}  // namespace
}  // namespace varnex::testing
