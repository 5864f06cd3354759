#include "support/Fixture.hpp"

namespace varnex::testing {
namespace {

const Text kStored = "//tankBig//heliFast";

// File1: ABox.pbo (official), tank.pbo; File2: heli.pbx; "others" is C:\Mods.
class CommentEditing : public AppTest {
protected:
    void SetUp() override {
        emu.InstallGame();
        for (const char* name : {"ABox.pbo", "tank.pbo", "heli.pbx"}) emu.Write(Text(kAddons) + "\\" + name, "x");
        emu.Write(Text(kAddons) + "\\Comments.txt", kStored);
        emu.Write("C:\\Mods\\m1.pbo", "m");
        emu.registry.SetString(kGameKey, "VARNX", "C:\\Mods");
        Start();
    }
    void ClickTank() { app->File1.SetListIndex(1); }
    void ClickHeli() { app->File2.SetListIndex(0); }
    void Type(const Text& text) {
        app->Text1.SetText(text);
        EXPECT_TRUE(Red());
    }
    [[nodiscard]] bool Green() const { return app->Image2.Visible() && !app->Image3.Visible(); }
    [[nodiscard]] bool Red() const { return !app->Image2.Visible() && app->Image3.Visible(); }
};

TEST_F(CommentEditing, AnEditTurnsTheDotRedUntilSavedInMemoryAndAClickElsewhereDropsIt) {
    ClickTank();
    EXPECT_EQ(app->Text1.GetText(), "Big");
    EXPECT_TRUE(Green());
    Type("Huge");
    ClickHeli();
    EXPECT_EQ(app->Text1.GetText(), "Fast");
    EXPECT_TRUE(Green());
    ClickTank();
    EXPECT_EQ(app->Text1.GetText(), "Big");
    Type("Bigg");
    app->AddonManager_Save_Click();
    EXPECT_TRUE(Green());
    EXPECT_EQ(app->CommentsGame, "//tankBigg//heliFast");
    EXPECT_EQ(emu.Read(Text(kAddons) + "\\Comments.txt"), kStored);
}

TEST_F(CommentEditing, AfterSavingTheBoxShowsWhatALaterLookupFinds) {
    struct Case {
        Text typed, stored, shown;
    };
    const Case cases[] = {
        {"Line 1\r\nLine 2\r\n", "//tankLine 1\r\nLine 2\r\n//heliFast", "Line 1\r\nLine 2\r\n"},
        {"see http://ofp.info", "//tanksee http://ofp.info//heliFast", "see http:"},
        {"", "//tank//heliFast", ""},
    };
    for (const auto& c : cases) {
        app->CommentsGame = kStored;
        ClickTank();
        Type(c.typed);
        app->AddonManager_Save_Click();
        EXPECT_EQ(app->CommentsGame, c.stored);
        EXPECT_EQ(app->Text1.GetText(), c.shown);
        EXPECT_TRUE(Green()) << c.typed;
        ClickHeli();
        ClickTank();
        EXPECT_EQ(app->Text1.GetText(), c.shown);
    }
}

TEST_F(CommentEditing, SavingAfterAnOfficialAddonStoresUnderTheKeyClickedBefore) {
    ClickTank();
    Type("Note");
    app->File1.SetListIndex(0);
    ASSERT_EQ(Lines(app->List1)[2], "Official Addon/File");
    EXPECT_FALSE(app->Text1.Visible() || app->Image2.Visible() || app->Image3.Visible());
    app->AddonManager_Save_Click();
    EXPECT_EQ(app->CommentsGame, "//tankNote//heliFast");
    EXPECT_TRUE(app->Text1.Visible());
    EXPECT_EQ(app->Text1.GetText(), "Note");
    EXPECT_TRUE(Green());
}

TEST_F(CommentEditing, NoSavePossibleWithoutAKeyOrOutsideTheTwoFixedFolders) {
    const auto expectRefused = [&] {
        app->AddonManager_Save_Click();
        EXPECT_EQ(app->Text1.GetText(), "No save possible");
        EXPECT_TRUE(Green());
        EXPECT_EQ(app->CommentsGame, kStored);
        EXPECT_EQ(app->CommentsRes, "");
    };
    // Nothing clicked since start-up: the key is empty.
    expectRefused();

    // A name that is only an extension gives the key "//", which would land
    // on the first entry of the text.
    emu.Write(Text(kAddons) + "\\.pbx", "x");
    app->AddonManager_Option1_Click();
    app->File2.SetListIndex(0);
    ASSERT_EQ(app->SelectedInactive, ".pbx");
    EXPECT_EQ(app->Text1.GetText(), "");
    Type("x");
    expectRefused();

    app->AddonManager_Option3_Click();
    app->File1.SetListIndex(0);
    ASSERT_EQ(app->SelectedActive, "m1.pbo");
    EXPECT_EQ(app->Text1.GetText(), "");
    Type("Mine");
    expectRefused();
}

}  // namespace
}  // namespace varnex::testing
