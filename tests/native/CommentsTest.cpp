#include "support/Fixture.hpp"

namespace varnex::testing {
namespace {

using CommentsText = AppTest;

// Clicks `name` in the list that shows it: the active one for ".pbo".
void Select(AddonManager& app, const Text& name) { ClickOn(name.back() == 'o' ? app.File1 : app.File2, name); }

// The dot beside the comment box: green for saved, red for not saved.
Text Dot(const AddonManager& a) { return Text(a.Image2.Visible() ? "green" : "") + (a.Image3.Visible() ? "red" : ""); }

// The comment box's text and the dot beside it.
struct ShownComment {
    Text text{};
    Text dot{};
    bool operator==(const ShownComment&) const = default;
    friend std::ostream& operator<<(std::ostream& out, const ShownComment& c) {
        return out << '"' << c.text << "\" with the dot \"" << c.dot << '"';
    }
};

ShownComment Shown(const AddonManager& app) { return {app.Text1.GetText(), Dot(app)}; }

TEST_F(CommentsText, EntriesAreStoredInPlaceAndCutAtSlashesWhenAsked) {
    Start({"Tanks.pbo", "Island.pbx"});
    // Per save: the player's answer to saving as typed (0: not asked), the
    // comments text after it ("": unchanged), and what the box then shows,
    // or what the question says the comment would read back as (the box up
    // to its first slash, either way).
    struct Row {
        Text addon, comment;
        int answer;
        Text stored, shown;
    };
    const Row rows[] = {
        {"Tanks.pbo", "Big tanks", 0, "//TanksBig tanks", "Big tanks"},
        {"Island.pbx", "", 0, "//TanksBig tanks//Island", ""},
        {"Island.pbx", "Nice map", 0, "//TanksBig tanks//IslandNice map", "Nice map"},
        {"Tanks.pbo", "", 0, "//Tanks//IslandNice map", ""},  // an empty comment keeps its key
        {"Tanks.pbo", "See http://ofpec.com for docs", kIdNo, "", "See http:"},
        {"Tanks.pbo", "//", kIdNo, "", ""},
        {"Tanks.pbo", std::string(90, 'a') + "//b", kIdNo, "", std::string(80, 'a') + "..."},
        // The next entry's "//" would follow the slash, also behind the last
        // entry once a new one is appended.
        {"Island.pbx", "ends in a slash/", kIdNo, "", "ends in a slash"},
        // Saved as typed, the part behind "//" is an entry of its own, which
        // a later save of the addon leaves where it is.
        {"Tanks.pbo", "See http://ofpec.com for docs", kIdYes, "//TanksSee http://ofpec.com for docs//IslandNice map",
         "See http:"},
        {"Tanks.pbo", "a/b / c/ /d", 0, "//Tanksa/b / c/ /d//ofpec.com for docs//IslandNice map", "a/b / c/ /d"},
        {"Island.pbx", "/starts with a slash\r\n", 0,
         "//Tanksa/b / c/ /d//ofpec.com for docs//Island/starts with a slash\r\n", "/starts with a slash\r\n"},
        {"Island.pbx", "ends in a slash/", kIdYes, "//Tanksa/b / c/ /d//ofpec.com for docs//Islandends in a slash/",
         "ends in a slash/"},
    };
    for (const auto& [addon, comment, answer, stored, shown] : rows) {
        SCOPED_TRACE(comment);
        Select(*app, addon);
        const Text before = app->CommentsGame;
        app->Text1.SetText(comment);
        emu.desktop.boxes.clear();
        emu.desktop.boxAnswers = {answer};
        app->Save.Click();
        EXPECT_EQ(Shown(*app), (stored.empty() ? ShownComment{comment, "red"} : ShownComment{shown, "green"}));
        EXPECT_EQ(app->CommentsGame, stored.empty() ? before : stored);
        EXPECT_EQ(emu.Boxes(), answer == 0 ? Strings{}
                                           : Strings{"VARNX MB_YESNO|MB_ICONQUESTION: The comment for " + addon +
                                                     " will not read back as typed: in the comments file, two "
                                                     "slashes begin the next addon's comment, so it would read back "
                                                     "as \xAB" +
                                                     shown.substr(0, shown.find('/')) + "\xBB. Save it as typed?"});
    }
}

// Typed into the box and saved where no comment could be read back: the
// box says so and keeps the green dot, and no comments text changes.
void Refused(AddonManager& app, const Text& typed) {
    SCOPED_TRACE(typed);
    const Text game = app.CommentsGame, expansion = app.CommentsRes;
    app.Text1.SetText(typed);
    app.Save.Click();
    EXPECT_EQ(app.Text1.GetText(), "No save possible");
    EXPECT_EQ(app.CommentsGame, game);
    EXPECT_EQ(app.CommentsRes, expansion);
    EXPECT_EQ(Dot(app), "green");
}

TEST_F(CommentsText, NoCommentIsStoredWhereItCouldNotBeReadBack) {
    emu.Write("C:\\Mods\\m1.pbo", "m");
    emu.registry.SetString(kGameKey, "VARNX", "C:\\Mods");
    Start({"Tanks.pbo", ".pbx"}, "//TanksOld");
    Refused(*app, "nothing selected since start-up");
    // A name that is only an extension gives the key "//", which would land
    // on the first entry of the text.
    ClickOn(app->File2, ".pbx");
    Refused(*app, "only an extension");
    app->AddonManager_Option3_Click();
    ClickOn(app->File1, "m1.pbo");
    Refused(*app, "in another folder");
    // The game's folder spelt otherwise is another folder: no comment shown.
    app->Dir1.SetPath("C:\\Games\\OFP\\addons");
    ClickOn(app->File1, "Tanks.pbo");
    EXPECT_EQ(app->Text1.GetText(), "");
    Refused(*app, "the game's folder spelt otherwise");
}

TEST_F(CommentsText, SaveAsksBeforeReplacingACommentTheBoxDidNotShow) {
    const Text note = "Old note " + std::string(80, 'n');
    Start({"Hotel.pbx", "Tank.pbx"}, "//Hotel" + note + "//Tank");
    // Activate all leaves the box empty, Hotel.pbo selected.
    app->Command6.Click();
    ASSERT_EQ(app->CommentKey, "//Hotel");
    ASSERT_EQ(app->Text1.GetText(), "");
    // How many boxes a save of `typed` asks.
    const auto save = [&](const Text& typed, decltype(emu.desktop.boxAnswers) answers) {
        app->Text1.SetText(typed);
        emu.desktop.boxAnswers = std::move(answers);
        emu.desktop.boxes.clear();
        app->Save.Click();
        return emu.Boxes().size();
    };
    // No: the typed text stays with the red dot, the stored note too.
    ASSERT_EQ(save("", {kIdNo}), 1u);
    EXPECT_EQ(emu.LastBox(), "VARNX MB_YESNO|MB_ICONQUESTION: Hotel.pbo already has a comment: \xAB" + Left(note, 80) +
                                 "...\xBB. Replace it?");
    EXPECT_EQ(app->CommentsGame, "//Hotel" + note + "//Tank");
    EXPECT_EQ(Shown(*app), (ShownComment{"", "red"}));
    // The same text as stored replaces nothing: no question.
    EXPECT_EQ(save(note, {}), 0u);
    // Switching to another folder and back empties the box again.
    app->AddonManager_Option3_Click();
    app->AddonManager_Option1_Click();
    EXPECT_EQ(save("Quiet", {kIdYes}), 1u);
    EXPECT_EQ(app->CommentsGame, "//HotelQuiet//Tank");
    // Filled by the save, the box shows what is stored: no question.
    EXPECT_EQ(save("Quieter", {}), 0u);
    EXPECT_EQ(app->CommentsGame, "//HotelQuieter//Tank");
}

TEST(CommentsOfPrefixSiblings, ACommentReadingAsTheSiblingsIsRefused) {
    // The sibling in the same list or in the other one, its comment saved
    // before or after ww2's.
    for (const Text sibling : {"ww2tanks.pbo", "ww2tanks.pbx"})
        for (const bool siblingFirst : {true, false}) {
            SCOPED_TRACE(sibling + (siblingFirst ? ", saved first" : ", saved last"));
            Emulation emu;
            auto app = emu.Game({"ww2.pbo", sibling});
            const auto save = [&](const Text& name, const Text& comment) {
                Select(*app, name), app->Text1.SetText(comment), app->Save.Click();
            };
            if (siblingFirst) save(sibling, "Big");
            const Text before = app->CommentsGame;
            save("ww2.pbo", "tanks of 1944");
            EXPECT_EQ(emu.Boxes(), Strings{kWarning +
                                           "The comment for ww2.pbo cannot be saved as it stands: in the "
                                           "comments file, ww2 followed by this comment reads as a comment for " +
                                           sibling +
                                           ".\r\n\r\nPlease start the comment differently, for example "
                                           "with a blank. Your text stays in the comment box, not saved."});
            EXPECT_EQ(app->CommentsGame, before);
            EXPECT_EQ(Shown(*app), (ShownComment{"tanks of 1944", "red"}));
            // Shorter than the sibling's name, or started differently: one
            // entry, however often it is saved, shown as typed.
            for (const Text comment : {"tank", " tanks of 1944", " tanks of 1944"}) {
                save("ww2.pbo", comment);
                EXPECT_EQ(app->Text1.GetText(), comment);
            }
            if (!siblingFirst) save(sibling, "Big");
            EXPECT_EQ(app->CommentsGame,
                      siblingFirst ? "//ww2tanksBig//ww2 tanks of 1944" : "//ww2 tanks of 1944//ww2tanksBig");
            Select(*app, "ww2.pbo");
            const Text ww2 = app->Text1.GetText();
            Select(*app, sibling);
            EXPECT_EQ(ww2, " tanks of 1944");
            EXPECT_EQ(app->Text1.GetText(), "Big");
            EXPECT_EQ(emu.Boxes().size(), 1u);
        }
}

}  // namespace
}  // namespace varnex::testing
