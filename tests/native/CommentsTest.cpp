#include <deque>
#include <optional>

#include "support/Fixture.hpp"

namespace varnex::testing {
namespace {

using SelectedAddon = AppTest;
using CommentsText = AppTest;

TEST_F(SelectedAddon, DetailsSizesOfficialNamesAndTheButtonsThatApply) {
    // comment null: official, the comment box hidden.
    struct Case {
        const char* name;
        std::size_t bytes;
        Strings details;
        const char* comment;
    };
    // xms.pbo is official only as XMS.pbo or XMS.PBO; inactive names are never tested for official.
    const Case cases[] = {{"xms.pbo", 1023, {"xms.pbo", "", "Size:  1kb"}, "Extra"},
                          {"big.pbo", 1024, {"big.pbo", "", "Size:  2kb"}, ""},
                          {"a.pbo", 2047, {"a.pbo", "", "Official Addon/File", "Access denied", "Size:  2kb"}, nullptr},
                          {"a.pbx", 2048, {"a.pbx", "", "Size:  3kb"}, "A"}};
    for (const auto& c : cases) emu.Put({c.name}, std::string(c.bytes, 'z'));
    Start({}, "//xmsExtra//aA");
    for (const auto& c : cases) {
        const bool active = Text(c.name).back() == 'o';
        ClickOn(active ? app->File1 : app->File2, c.name);
        EXPECT_EQ(app->List1.Items(), c.details);
        EXPECT_EQ(std::to_string(app->Text1.Visible()) + std::to_string(app->Image2.Visible()) +
                      std::to_string(app->Image3.Visible()) + std::to_string(app->Command2.Visible()) +
                      std::to_string(app->Command3.Visible()),
                  Text(c.comment ? "110" : "000") + (active && c.comment ? "1" : "0") + (active ? "0" : "1"))
            << c.name;
        EXPECT_EQ(app->Text1.GetText(), c.comment ? c.comment : "") << c.name;
    }
    EXPECT_EQ(app->SelectedActive + "|" + app->SelectedInactive, "a.pbo|a.pbx");
}

TEST_F(CommentsText, EntriesAreAppendedAndReplacedInPlace) {
    Start({"Tanks.pbo", "Island.pbx"});
    const auto save = [&](const Text& comment) {
        app->Text1.SetText(comment);
        EXPECT_TRUE(app->Image3.Visible() && !app->Image2.Visible()) << "a red dot for " << comment;
        app->Save.Click();
        EXPECT_TRUE(app->Image2.Visible() && !app->Image3.Visible()) << "a green dot for " << comment;
    };
    ClickOn(app->File1, "Tanks.pbo");
    save("Big tanks");
    ClickOn(app->File2, "Island.pbx");
    app->Save.Click();
    EXPECT_EQ(app->CommentsGame, "//TanksBig tanks//Island");
    save("Nice map");
    EXPECT_EQ(app->CommentsGame, "//TanksBig tanks//IslandNice map");
    // An edit not saved is dropped by a click elsewhere.
    app->Text1.SetText("Huge");
    ClickOn(app->File1, "Tanks.pbo");
    EXPECT_EQ(app->Text1.GetText(), "Big tanks");
    EXPECT_TRUE(app->Image2.Visible() && !app->Image3.Visible());
    // An empty comment keeps its key.
    save("");
    EXPECT_EQ(app->CommentsGame, "//Tanks//IslandNice map");
}

TEST_F(CommentsText, ACommentThatWouldNotReadBackAsTypedIsRefusedAndTheTextStaysUnsaved) {
    const Text stored = "//TanksOld//IslandMap";
    Start({"Tanks.pbo", "Island.pbx"}, stored);
    // readBack: what the box says it would read back as; none: stored.
    struct Row {
        const char* addon;
        Text comment;
        std::optional<Text> readBack;
    };
    const Row rows[] = {
        {"Tanks.pbo", "See http://ofpec.com for docs", "See http:"},
        {"Tanks.pbo", "//", ""},
        // The next entry's "//" would follow the slash, also behind the last
        // entry once a new one is appended.
        {"Island.pbx", "ends in a slash/", "ends in a slash"},
        {"Tanks.pbo", std::string(90, 'a') + "//b", std::string(80, 'a') + "..."},
        {"Tanks.pbo", "a/b / c/ /d", std::nullopt},
        {"Island.pbx", "/starts with a slash\r\n", std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.comment);
        ClickOn(row.addon == Text("Tanks.pbo") ? app->File1 : app->File2, row.addon);
        const Text before = app->CommentsGame;
        app->Text1.SetText(row.comment);
        const std::size_t boxes = emu.Boxes().size();
        app->Save.Click();
        EXPECT_EQ(app->Text1.GetText(), row.comment);
        if (!row.readBack) {
            EXPECT_EQ(emu.Boxes().size(), boxes);
            EXPECT_NE(app->CommentsGame.find(CommentKeyOf(row.addon) + row.comment), Text::npos) << app->CommentsGame;
            continue;
        }
        ASSERT_EQ(emu.Boxes().size(), boxes + 1);
        EXPECT_EQ(emu.Boxes().back(),
                  "VARNX 48: The comment for " + Text(row.addon) +
                      " cannot be saved as it stands: "
                      "in the comments file, two slashes begin the next addon's comment, so it would "
                      "read back as \xAB" +
                      *row.readBack +
                      "\xBB.\r\n\r\nPlease put a blank between two "
                      "slashes, or after a slash at its end. Your text stays in the comment box, not "
                      "saved.");
        EXPECT_EQ(app->CommentsGame, before);
        EXPECT_TRUE(app->Image3.Visible() && !app->Image2.Visible());
    }
    EXPECT_EQ(app->CommentsGame, "//Tanksa/b / c/ /d//Island/starts with a slash\r\n");
}

TEST_F(CommentsText, SaveAfterAWalkAsksBeforeReplacingAStoredCommentTheBoxDidNotShow) {
    const Text note = "Old note " + std::string(80, 'n');
    Start({"Hotel.pbx", "Tank.pbx"}, "//Hotel" + note + "//Tank");
    // Activate all leaves the box empty, Hotel.pbo selected.
    app->Command6.Click();
    ASSERT_EQ(app->CommentKey + "|" + app->Text1.GetText(), "//Hotel|");
    const auto save = [&](const Text& typed, std::deque<int> answers) {
        app->Text1.SetText(typed);
        emu.desktop.boxAnswers = std::move(answers);
        const std::size_t boxes = emu.Boxes().size();
        app->Save.Click();
        return emu.Boxes().size() - boxes;
    };
    // No: the typed text stays with the red dot, the stored note too.
    ASSERT_EQ(save("", {kIdNo}), 1u);
    EXPECT_EQ(emu.Boxes().back(), "VARNX 36: Hotel.pbo already has a comment: \xAB" + Left(note, 80) +
                                      "...\xBB. "
                                      "Replace it?");
    EXPECT_EQ(app->CommentsGame + "|" + app->Text1.GetText(), "//Hotel" + note + "//Tank|");
    EXPECT_TRUE(app->Image3.Visible() && !app->Image2.Visible());
    // The same text as stored replaces nothing: no question.
    EXPECT_EQ(save(note, {}), 0u);
    // Switching to another folder and back empties the box again.
    app->AddonManager_Option3_Click();
    app->AddonManager_Option1_Click();
    EXPECT_EQ(save("Quiet", {kIdYes}), 1u);
    EXPECT_EQ(app->CommentsGame, "//HotelQuiet//Tank");
    // Filled by the save, the box shows what is stored: no question.
    EXPECT_EQ(save("Quieter", {}), 0u);
    // After a click the box shows the stored note; an empty one is never asked about.
    ClickOn(app->File1, "Hotel.pbo");
    EXPECT_EQ(save("Loud", {}), 0u);
    app->Command5.Click();
    ClickOn(app->File2, "Tank.pbx");
    app->AddonManager_Option1_Click();
    EXPECT_EQ(app->CommentKey + "|" + app->Text1.GetText(), "//Hotel|");
    EXPECT_EQ(save("Again", {kIdNo}), 1u);
    EXPECT_EQ(app->CommentsGame, "//HotelLoud//Tank");
}

TEST(CommentsOfPrefixSiblings, ACommentThatWouldReadAsTheSiblingsIsRefusedAndEveryOtherReadsBackAsSaved) {
    // The sibling in the same list or in the other one, its comment saved
    // before or after ww2's.
    for (const Text sibling : {"ww2tanks.pbo", "ww2tanks.pbx"})
        for (const bool siblingFirst : {true, false}) {
            SCOPED_TRACE(sibling + (siblingFirst ? ", saved first" : ", saved last"));
            Emulation emu;
            auto app = emu.Game({"ww2.pbo", sibling});
            FileListBox& siblingList = sibling.back() == 'o' ? app->File1 : app->File2;
            const auto save = [&](FileListBox& list, const Text& name, const Text& comment) {
                ClickOn(list, name);
                app->Text1.SetText(comment);
                app->Save.Click();
            };
            if (siblingFirst) save(siblingList, sibling, "Big");
            const Text before = app->CommentsGame;
            save(app->File1, "ww2.pbo", "tanks of 1944");
            EXPECT_EQ(emu.Boxes(), Strings{"VARNX 48: The comment for ww2.pbo cannot be saved as it stands: in the "
                                           "comments file, ww2 followed by this comment reads as a comment for " +
                                           sibling +
                                           ".\r\n\r\nPlease start the comment differently, for example "
                                           "with a blank. Your text stays in the comment box, not saved."});
            EXPECT_EQ(app->CommentsGame + "|" + app->Text1.GetText(), before + "|tanks of 1944");
            EXPECT_TRUE(app->Image3.Visible() && !app->Image2.Visible());
            // Shorter than the sibling's name, or started differently: one
            // entry, however often it is saved, shown as typed.
            for (const Text comment : {"tank", " tanks of 1944", " tanks of 1944"}) {
                save(app->File1, "ww2.pbo", comment);
                EXPECT_EQ(app->Text1.GetText(), comment);
            }
            if (!siblingFirst) save(siblingList, sibling, "Big");
            EXPECT_EQ(app->CommentsGame,
                      siblingFirst ? "//ww2tanksBig//ww2 tanks of 1944" : "//ww2 tanks of 1944//ww2tanksBig");
            ClickOn(app->File1, "ww2.pbo");
            const Text ww2 = app->Text1.GetText();
            ClickOn(siblingList, sibling);
            EXPECT_EQ(ww2 + "|" + app->Text1.GetText() + "|" + std::to_string(emu.Boxes().size()),
                      " tanks of 1944|Big|1");
        }
}

TEST_F(CommentsText, NoSavePossibleWithoutAKeyOrOutsideTheTwoFixedFolders) {
    emu.Write("C:\\Mods\\m1.pbo", "m");
    emu.registry.SetString(kGameKey, "VARNX", "C:\\Mods");
    Start({".pbx", "ABox.pbo", "Tank.pbo"}, "//TankOld");
    const auto refused = [&](const Text& typed) {
        const Text before = app->CommentsGame + "|" + app->CommentsRes;
        app->Text1.SetText(typed);
        app->Save.Click();
        EXPECT_EQ(app->Text1.GetText() + "|" + app->CommentsGame + "|" + app->CommentsRes,
                  "No save possible|" + before);
        EXPECT_TRUE(app->Image2.Visible() && !app->Image3.Visible()) << typed;
    };
    refused("nothing selected since start-up");
    // A name that is only an extension gives the key "//", which would land
    // on the first entry of the text.
    ClickOn(app->File2, ".pbx");
    EXPECT_EQ(app->Text1.GetText(), "");
    refused("only an extension");

    // Saving after a click on an official addon stores under the key
    // clicked before.
    ClickOn(app->File1, "Tank.pbo");
    app->Text1.SetText("Note");
    ClickOn(app->File1, "ABox.pbo");
    app->Save.Click();
    EXPECT_EQ(app->CommentsGame, "//TankNote");
    EXPECT_EQ(app->Text1.GetText(), "Note");
    EXPECT_TRUE(app->Text1.Visible());

    app->AddonManager_Option3_Click();
    ClickOn(app->File1, "m1.pbo");
    EXPECT_EQ(app->Text1.GetText(), "");
    refused("in another folder");
}

}  // namespace
}  // namespace varnex::testing
