#include "app/GlobaleVariables.hpp"
#include "support/Fixture.hpp"

namespace varnex::testing {
namespace {

using SelectedAddon = AppTest;

using Details = std::vector<Text>;

TEST_F(SelectedAddon, SizeLineCountsStartedKilobytes) {
    struct Case {
        const char* name;
        std::size_t bytes;
        const char* size;
    };
    const Case cases[] = {
        {"s0000.pbo", 0, " 1"},    {"s0001.pbo", 1, " 1"},    {"s1023.pbo", 1023, " 1"}, {"s1024.pbo", 1024, " 2"},
        {"s2047.pbo", 2047, " 2"}, {"s2048.pbo", 2048, " 3"}, {"s3000.pbx", 3000, " 3"},
    };
    emu.InstallGame();
    for (const auto& c : cases) emu.Write(InAddons(c.name), std::string(c.bytes, 'z'));
    Start();
    for (const auto& c : cases) {
        auto& list = Text(c.name).back() == 'o' ? app->File1 : app->File2;
        ClickOn(list, c.name);
        EXPECT_EQ(Lines(app->List1), (Details{c.name, "", "Size: " + Text(c.size) + "kb"}));
        EXPECT_EQ(app->SelectedSize, c.size);
        EXPECT_EQ(GlobaleVariables::SelectedPath, InAddons(c.name));
    }
    EXPECT_EQ(Lines(app->List1), (Details{"s3000.pbx", "", "Size:  3kb"}));
    EXPECT_EQ(emu.files->OpenHandles(), 0);
}

TEST_F(SelectedAddon, OfficialAddonsShowAccessDeniedAndHideTheCommentAndButtons) {
    emu.InstallGame();
    for (const char* name : {"O.pbo", "a.pbo", "xms.pbo", "a.pbx"}) emu.Write(InAddons(name), "x");
    emu.Write(InAddons("Comments.txt"), "//xmsExtra//aA");
    Start();
    auto expectButtons = [&](bool deactivate, bool activate, bool comment) {
        EXPECT_EQ(app->Command2.Visible(), deactivate);
        EXPECT_EQ(app->Command3.Visible(), activate);
        EXPECT_EQ(app->Text1.Visible(), comment);
        EXPECT_EQ(app->Image2.Visible(), comment);
        EXPECT_FALSE(app->Image3.Visible());
    };

    ClickOn(app->File1, "xms.pbo");  // xms.pbo is official only as XMS.pbo or XMS.PBO
    EXPECT_EQ(Lines(app->List1), (Details{"xms.pbo", "", "Size:  1kb"}));
    EXPECT_EQ(app->CommentKey, "//xms");
    EXPECT_EQ(app->Text1.GetText(), "Extra");
    expectButtons(true, false, true);

    for (const char* official : {"O.pbo", "a.pbo"}) {  // a.pbo lies inside Data.pbo
        ClickOn(app->File1, official);
        EXPECT_EQ(Lines(app->List1),
                  (Details{official, "", "Official Addon/File", "Access denied", "Size:  1kb"}));
        EXPECT_EQ(app->SelectedActive, official);
        EXPECT_EQ(app->CommentKey, "//xms");
        EXPECT_EQ(app->Text1.GetText(), "Extra");
        expectButtons(false, false, false);
    }

    // The inactive list is never tested for official names.
    ClickOn(app->File2, "a.pbx");
    EXPECT_EQ(Lines(app->List1), (Details{"a.pbx", "", "Size:  1kb"}));
    EXPECT_EQ(app->CommentKey, "//a");
    EXPECT_EQ(app->Text1.GetText(), "A");
    expectButtons(false, true, true);
    EXPECT_EQ(app->SelectedActive, "a.pbo");
    EXPECT_EQ(app->SelectedInactive, "a.pbx");
    EXPECT_EQ(app->File1.ListIndex(), 0);

    ClickOn(app->File1, "xms.pbo");
    expectButtons(true, false, true);
    EXPECT_EQ(app->SelectedInactive, "a.pbx");
    EXPECT_EQ(app->File2.ListIndex(), 0);
}

TEST_F(SelectedAddon, WhileAFavoritesListIsWalkedOnlyTheInactiveListAnswers) {
    emu.InstallGame();
    for (const char* name : {"heli.pbo", "tank.pbo", "jeep.pbx"}) emu.Write(InAddons(name), "x");
    emu.Write(InAddons("Comments.txt"), "//heliH//tankT//jeepJ");
    Start();
    ClickOn(app->File1, "heli.pbo");
    app->FavoritesBusy = true;
    ClickOn(app->File1, "tank.pbo");
    EXPECT_EQ(app->SelectedActive, "heli.pbo");
    EXPECT_EQ(GlobaleVariables::SelectedPath, InAddons("heli.pbo"));
    EXPECT_EQ(Lines(app->List1), (Details{"heli.pbo", "", "Size:  1kb"}));
    EXPECT_EQ(app->CommentKey, "//heli");
    EXPECT_EQ(app->Text1.GetText(), "H");

    ClickOn(app->File2, "jeep.pbx");
    EXPECT_EQ(app->SelectedInactive, "jeep.pbx");
    EXPECT_EQ(GlobaleVariables::SelectedPath, InAddons("jeep.pbx"));
    EXPECT_EQ(Lines(app->List1), (Details{"jeep.pbx", "", "Size:  1kb"}));
    EXPECT_EQ(app->Text1.GetText(), "J");
    EXPECT_TRUE(app->Command3.Visible());
    EXPECT_FALSE(app->Command2.Visible());
    app->FavoritesBusy = false;
}

TEST_F(SelectedAddon, AFileGoneBeforeItsClickIsReportedAndNotCreated) {
    emu.InstallGame();
    emu.Write(InAddons("gone.pbo"), std::string(5000, 'z'));
    emu.Write(InAddons("Comments.txt"), "//goneWas here");
    Start();
    std::filesystem::remove(emu.files->HostPath(InAddons("gone.pbo")));
    ClickOn(app->File1, "gone.pbo");
    EXPECT_EQ(Lines(app->List1), (Details{"gone.pbo", "", "Size: file not found"}));
    EXPECT_EQ(app->SelectedSize, "");
    EXPECT_EQ(app->Text1.GetText(), "Was here");
    EXPECT_TRUE(app->Command2.Visible());
    EXPECT_FALSE(emu.Exists(InAddons("gone.pbo")));
    EXPECT_TRUE(emu.desktop.boxes.empty());
}

}  // namespace
}  // namespace varnex::testing
