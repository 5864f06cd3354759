#include <filesystem>

#include "app/GlobaleVariables.hpp"
#include "support/Fixture.hpp"

namespace varnex::testing {
namespace {

using Fields = std::array<Text, 6>;

const Fields kPreset{"No entry\r\n", "No entry\r\n", "No entry\r\n", "No entry", "-", "-"};
const Text kExample = "/x/units\r\nM1A1 tank\r\n/x/version1.2/x/reqversion1.85\r\n";
const Fields kExampleFields{"\r\nM1A1 tank\r\n", "No entry", "No entry", "No entry", "1.2", "1.85\r\n"};

TEST(InfoTags, EachTagRunsToTheNextSlashXSlashOrTheEnd) {
    struct Case {
        Text text;
        Fields fields;
    };
    const Text n = "No entry";
    const Case cases[] = {
        {kExample, kExampleFields},
        {"/x/authorBob/x/units", {"", n, n, "Bob", "-", "-"}},
        {"/x/units/x/infoTanks", {"", "Tanks", n, n, "-", "-"}},
        {"/x/commentsee a/x/b here", {n, n, "see a", n, "-", "-"}},
        {"/X/units A /x/Units B /x/AUTHOR C /x/Version 2", {n, n, n, n, "-", "-"}},
        {"/x/unitsA", {"A", n, n, n, "-", "-"}},
        {"/x/reqversion1.85", {n, n, n, n, "-", "1.85"}},
        {"/x/authorAnn\r\n/x/authorBob", {n, n, n, "Ann\r\n", "-", "-"}},
        {"just some text", {n, n, n, n, "-", "-"}},
        {"head/x/info x /x/version 1 /x/reqversion", {n, " x ", n, n, " 1 ", ""}},
    };
    for (const auto& c : cases) EXPECT_EQ(ReadTags(c.text), c.fields) << c.text;
}

class Info : public AppTest {
protected:
    void SetUp() override { emu.InstallGame(); }
    void Put(const Text& name, const std::string& bytes) { emu.Write(Text(kAddons) + "\\" + name, bytes); }
    // The window moves the current item, then the double click's handling runs.
    void DoubleClick(FileListBox& list, const Text& name) {
        const auto names = Names(list);
        const auto at = std::find(names.begin(), names.end(), name);
        ASSERT_NE(at, names.end()) << name;
        list.Highlight(static_cast<int>(at - names.begin()));
        list.DblClick();
    }
    Fields Shown() {
        Fields shown;
        const auto fields = app->Info()->Fields();
        for (std::size_t i = 0; i < 6; ++i) shown[i] = fields[i]->GetText();
        return shown;
    }
};

TEST_F(Info, ADoubleClickSelectsTheAddonAndShowsItsCompanionCutByPosition) {
    Put("m1tank.pbo", "a");
    Put("m1tank.txt", kExample);
    Put("tank.pbx.old", "b");
    Put("tank.pbx.txt", "/x/authorMe/x/version2");
    Start();
    DoubleClick(app->File1, "m1tank.pbo");
    EXPECT_EQ(Lines(app->List1)[0], "m1tank.pbo");
    ASSERT_TRUE(app->Info());
    EXPECT_TRUE(app->Info()->Visible());
    EXPECT_EQ(app->Info()->Caption(), "Addon Information");
    EXPECT_EQ(Shown(), kExampleFields);

    app->Info()->Unload();
    DoubleClick(app->File2, "tank.pbx.old");
    EXPECT_EQ(Shown(), (Fields{"No entry", "No entry", "No entry", "Me", "2", "-"}));
    EXPECT_TRUE(emu.desktop.boxes.empty());
}

TEST_F(Info, TheWindowLoadsOnlyWhenNotLoadedAndEmptyOrMissingCompanionsLeaveNoFile) {
    Put("heli.pbx", "h");
    Put("heli.txt", "/x/authorA");
    Put("jeep.pbx", "j");
    Put("jeep.txt", "");
    Put("tank.pbo", "t");
    Start();
    DoubleClick(app->File2, "heli.pbx");
    EXPECT_EQ(Shown()[3], "A");
    // Already open: the click runs, the window keeps showing its addon.
    DoubleClick(app->File2, "jeep.pbx");
    EXPECT_EQ(app->SelectedInactive, "jeep.pbx");
    EXPECT_EQ(Shown()[3], "A");
    EXPECT_TRUE(emu.Exists(Text(kAddons) + "\\jeep.txt"));

    app->Info()->Unload();
    EXPECT_FALSE(app->Info()->Visible());
    DoubleClick(app->File2, "jeep.pbx");
    EXPECT_TRUE(app->Info()->Visible());
    EXPECT_EQ(Shown(), kPreset);
    app->Info()->Unload();
    DoubleClick(app->File1, "tank.pbo");
    EXPECT_EQ(Shown(), kPreset);
    EXPECT_EQ(emu.Names(kAddons), (std::vector<Text>{"Comments.txt", "heli.pbx", "heli.txt", "jeep.pbx", "tank.pbo"}));
    EXPECT_TRUE(emu.desktop.boxes.empty());
}

TEST_F(Info, ACompanionInAFolderThatVanishedIsMissingLikeAnyOther) {
    Put("tank.pbo", "t");
    emu.Write("C:\\Mods\\mod.pbo", "m");
    emu.registry.SetString(kGameKey, "VARNX", "C:\\Mods");
    Start();
    app->AddonManager_Option3_Click();
    std::filesystem::remove_all(emu.files->HostPath("C:\\Mods"));
    // Windows names a missing folder "path not found"; the first look measures
    // the addon for the details, the second looks for its companion.
    emu.files->FailOn(emulated::FileOp::FileLength, 2, errc::kPathNotFound);
    DoubleClick(app->File1, "mod.pbo");
    EXPECT_EQ(Lines(app->List1), (std::vector<Text>{"mod.pbo", "", "Size: file not found"}));
    EXPECT_EQ(Shown(), kPreset);
    EXPECT_TRUE(emu.desktop.boxes.empty());
    EXPECT_FALSE(emu.files->FolderExists("C:\\Mods"));
}

TEST_F(Info, NoAddonSelectedOrAnUnreadableCompanionShowsOneBoxAndAnUnfilledWindow) {
    Put("heli.pbx", "h");
    Put("heli.txt", "/x/authorA");
    Start();
    app->AddonManager_File1_DblClick();  // the active list is empty
    ASSERT_EQ(GlobaleVariables::SelectedPath, "");
    emu.files->FailOn(emulated::FileOp::Read, 1, errc::kAccessDenied);
    app->Info()->Unload();
    DoubleClick(app->File2, "heli.pbx");
    ASSERT_EQ(emu.desktop.boxes.size(), 2u);
    EXPECT_EQ(emu.desktop.boxes[0].text, "No addon selected");
    EXPECT_EQ(emu.desktop.boxes[0].style, 0u);
    EXPECT_EQ(emu.desktop.boxes[1].text,
              "The information file C:\\Games\\OFP\\ADDONS\\heli.txt cannot be read: access is denied.");
    for (const auto& box : emu.desktop.boxes) EXPECT_EQ(box.caption, "VARNX");
    EXPECT_TRUE(app->Info()->Visible());
    EXPECT_EQ(Shown(), kPreset);
    EXPECT_EQ(emu.Read(Text(kAddons) + "\\heli.txt"), "/x/authorA");
    EXPECT_EQ(emu.files->OpenHandles(), 0);
}

}  // namespace
}  // namespace varnex::testing
