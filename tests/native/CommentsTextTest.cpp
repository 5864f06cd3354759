#include "support/Fixture.hpp"

namespace varnex::testing {
namespace {

const Text kCommentsFile = InAddons("Comments.txt");

class CommentsText : public AppTest {
protected:
    // The game installed with `addons` (1 byte each) and the comments file.
    AddonManager& StartWith(const std::vector<Text>& addons, const std::string& comments) {
        emu.InstallGame();
        for (const Text& name : addons) emu.Write(InAddons(name), "x");
        emu.Write(kCommentsFile, comments);
        return Start();
    }
    void SaveComment(const Text& comment) {
        app->Text1.SetText(comment);
        app->Save.Click();
    }
};

TEST_F(CommentsText, EntriesAreAppendedAndReplacedInPlaceAndReachTheFileAtExit) {
    StartWith({"Tanks.pbo", "Island.pbx"}, "");
    ClickOn(app->File1, "Tanks.pbo");
    EXPECT_EQ(app->Text1.GetText(), "");
    SaveComment("Big tanks");
    EXPECT_EQ(app->CommentsGame, "//TanksBig tanks");
    ClickOn(app->File2, "Island.pbx");
    EXPECT_EQ(app->Text1.GetText(), "");
    app->Save.Click();
    EXPECT_EQ(app->CommentsGame, "//TanksBig tanks//Island");
    SaveComment("Nice map");
    EXPECT_EQ(app->CommentsGame, "//TanksBig tanks//IslandNice map");
    ClickOn(app->File1, "Tanks.pbo");
    EXPECT_EQ(app->Text1.GetText(), "Big tanks");
    SaveComment("Small");
    EXPECT_EQ(app->CommentsGame, "//TanksSmall//IslandNice map");
    ClickOn(app->File2, "Island.pbx");
    EXPECT_EQ(app->Text1.GetText(), "Nice map");
    EXPECT_TRUE(app->Image2.Visible());
    EXPECT_FALSE(app->Image3.Visible());

    // An empty comment keeps its key.
    ClickOn(app->File1, "Tanks.pbo");
    SaveComment("");
    EXPECT_EQ(app->CommentsGame, "//Tanks//IslandNice map");
    EXPECT_EQ(app->Text1.GetText(), "");
    app->Command4.Click();
    EXPECT_EQ(emu.Read(kCommentsFile), "//Tanks//IslandNice map");
}

TEST_F(CommentsText, CommentsAreStoredAsTypedAndEveryByteSurvivesExitAndStartUp) {
    std::string everyByte;
    for (int b = 0; b < 256; ++b) everyByte += static_cast<char>(b);
    StartWith({"Tank.pbo", "Heli.pbo"}, "//HeliFast");
    ClickOn(app->File1, "Tank.pbo");
    for (const std::string& comment : {std::string("line one\r\nline two\r\n"), std::string("\r\n"), everyByte}) {
        SaveComment(comment);
        EXPECT_EQ(app->CommentsGame, "//HeliFast//Tank" + comment);
        EXPECT_EQ(app->Text1.GetText(), comment);
    }
    app->Command4.Click();
    EXPECT_EQ(emu.Read(kCommentsFile), "//HeliFast//Tank" + everyByte);

    Start();
    ClickOn(app->File1, "Tank.pbo");
    EXPECT_EQ(app->Text1.GetText(), everyByte);
    ClickOn(app->File1, "Heli.pbo");
    EXPECT_EQ(app->Text1.GetText(), "Fast");

    // Two slashes typed into a comment start a further entry: the box shows
    // the comment up to them, and a later save replaces only that part.
    ClickOn(app->File1, "Tank.pbo");
    SaveComment("see http://ofp.info");
    EXPECT_EQ(app->CommentsGame, "//HeliFast//Tanksee http://ofp.info");
    EXPECT_EQ(app->Text1.GetText(), "see http:");
    SaveComment("new");
    EXPECT_EQ(app->CommentsGame, "//HeliFast//Tanknew//ofp.info");
    EXPECT_EQ(app->Text1.GetText(), "new");
}

TEST_F(CommentsText, AKeyThatBeginsAnotherAddonsKeyFindsOnlyItsOwnEntry) {
    struct Case {
        const char* text;
        const char* tank;   // shown for Tank.pbo
        const char* saved;  // the text after saving "New" for Tank.pbo
        const char* both;   // and then "S" for Tanks.pbx
    };
    const Case cases[] = {
        {"//TankA//TanksB", "A", "//TankNew//TanksB", "//TankNew//TanksS"},
        {"//TanksB//TankA", "A", "//TanksB//TankNew", "//TanksS//TankNew"},
        {"//TanksB", "", "//TanksB//TankNew", "//TanksS//TankNew"},
        // Letter case counts: tank is not Tank.
        {"//tankA//TanksB", "", "//tankA//TanksB//TankNew", "//tankA//TanksS//TankNew"},
    };
    for (const auto& c : cases) {
        Emulation emu;
        emu.InstallGame();
        emu.Write(InAddons("Tank.pbo"), "x");
        emu.Write(InAddons("Tanks.pbx"), "x");
        emu.Write(kCommentsFile, c.text);
        AddonManager app(emu.platform());
        ASSERT_TRUE(app.AddonManager_Form_Load());
        ClickOn(app.File1, "Tank.pbo");
        EXPECT_EQ(app.Text1.GetText(), c.tank) << c.text;
        ClickOn(app.File2, "Tanks.pbx");
        EXPECT_EQ(app.Text1.GetText(), "B") << c.text;
        ClickOn(app.File1, "Tank.pbo");
        app.Text1.SetText("New");
        app.Save.Click();
        EXPECT_EQ(app.CommentsGame, c.saved) << c.text;
        EXPECT_EQ(app.Text1.GetText(), "New") << c.text;
        ClickOn(app.File2, "Tanks.pbx");
        EXPECT_EQ(app.Text1.GetText(), "B") << c.text;
        app.Text1.SetText("S");
        app.Save.Click();
        EXPECT_EQ(app.CommentsGame, c.both) << c.text;
    }
}

TEST_F(CommentsText, PositionsPastSixteenBitsAreFoundAndStored) {
    const std::string filler = "//Filler" + std::string(70000, 'f');
    StartWith({"Tank.pbo", "Heli.pbo", "Jeep.pbo"}, filler + "//TankOld//HeliFast");
    ClickOn(app->File1, "Tank.pbo");
    EXPECT_EQ(app->Text1.GetText(), "Old");
    SaveComment("New");
    ClickOn(app->File1, "Jeep.pbo");
    EXPECT_EQ(app->Text1.GetText(), "");
    SaveComment("Jeep");
    EXPECT_EQ(app->CommentsGame, filler + "//TankNew//HeliFast//JeepJeep");
    ClickOn(app->File1, "Heli.pbo");
    EXPECT_EQ(app->Text1.GetText(), "Fast");
    ClickOn(app->File1, "Tank.pbo");
    EXPECT_EQ(app->Text1.GetText(), "New");
}

TEST_F(CommentsText, AKeyWithoutANameShowsAndStoresNothing) {
    StartWith({".pbo", ".pbx", "Tank.pbo"}, "//TankOld");
    // Nothing selected since start-up.
    app->Save.Click();
    EXPECT_EQ(app->Text1.GetText(), "No save possible");
    EXPECT_EQ(app->CommentsGame, "//TankOld");

    // ".pbo" lies inside the official names: no comment box at all.
    ClickOn(app->File1, ".pbo");
    EXPECT_FALSE(app->Text1.Visible());
    EXPECT_EQ(app->CommentKey, "");
    app->Save.Click();
    EXPECT_EQ(app->CommentsGame, "//TankOld");

    ClickOn(app->File2, ".pbx");
    EXPECT_EQ(app->CommentKey, "//");
    EXPECT_TRUE(app->Text1.Visible());
    EXPECT_EQ(app->Text1.GetText(), "");
    SaveComment("lost");
    EXPECT_EQ(app->Text1.GetText(), "No save possible");
    EXPECT_TRUE(app->Image2.Visible());
    EXPECT_FALSE(app->Image3.Visible());
    app->Command4.Click();
    EXPECT_EQ(emu.Read(kCommentsFile), "//TankOld");
}

}  // namespace
}  // namespace varnex::testing
