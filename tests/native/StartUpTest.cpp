#include <filesystem>

#include "support/Fixture.hpp"

namespace varnex::testing {
namespace {

namespace fs = std::filesystem;

// Every file and folder below the emulated drive, with content.
std::map<Text, std::string> Snapshot(const Emulation& emu) {
    std::map<Text, std::string> tree;
    for (const auto& entry : fs::recursive_directory_iterator(emu.root)) {
        const Text rel = fs::relative(entry.path(), emu.root).string();
        tree[rel] = entry.is_regular_file() ? emu.Read("C:\\" + rel) : "<folder>";
    }
    return tree;
}

using StartUp = AppTest;

TEST_F(StartUp, OfficialAddonsAreSixtyEightNamesInSixHundredSixtyCharacters) {
    const Text official = BuildOfficialAddons();
    EXPECT_EQ(official.size(), 660u);
    EXPECT_EQ(std::count(official.begin(), official.end(), ' '), 67);
    EXPECT_NE(official.front(), ' ');
    EXPECT_NE(official.back(), ' ');
    EXPECT_EQ(official.substr(0, 9), "6G30.PBO ");
    EXPECT_NE(official.find("XMS.PBO 6G30.pbo"), Text::npos);
    EXPECT_NE(official.find("XMS.pbo 1985.pbo"), Text::npos);
    EXPECT_TRUE(IsOfficial(official, "a.pbo"));
    EXPECT_TRUE(IsOfficial(official, "XMS.PBO"));
    EXPECT_FALSE(IsOfficial(official, "xms.pbo"));
    EXPECT_FALSE(IsOfficial(official, "DATA.pbo"));
    EXPECT_TRUE(IsOfficial(official, ""));
}

TEST_F(StartUp, GameFolderLosesOneFinalBackslashAndRegistryBoundsHold) {
    struct Case {
        const char* main;
        const char* gameFolder;  // null: "Cannot find OFP"
    };
    const Case cases[] = {
        {"C:\\Games\\OFP\\", "C:\\Games\\OFP"},
        {"C:\\Games\\OFP", "C:\\Games\\OFP"},
        {"C:\\Games\\OFP\\\\", "C:\\Games\\OFP\\"},
        {"C:\\", "C:"},
        {"C:", nullptr},
        {"C", nullptr},
        {"", nullptr},
    };
    for (const auto& c : cases) {
        Emulation emu;
        emu.registry.SetString(kGameKey, "Main", c.main, /*withNul=*/false);
        fs::create_directories(emu.root / "Games" / "OFP");
        AddonManager app(emu.platform());
        const bool started = app.AddonManager_Form_Load();
        if (!c.gameFolder) {
            EXPECT_FALSE(started) << c.main;
            EXPECT_TRUE(emu.desktop.ended) << c.main;
            continue;
        }
        EXPECT_TRUE(started) << c.main;
        EXPECT_EQ(app.GameFolder, c.gameFolder) << c.main;
        EXPECT_EQ(app.AddonFolder, app.GameFolder + "\\ADDONS") << c.main;
        EXPECT_EQ(app.File1.Path(), app.AddonFolder);
        EXPECT_EQ(app.File2.Path(), app.AddonFolder);
        EXPECT_EQ(app.OthersFolder, app.GameFolder) << c.main;
    }
}

TEST_F(StartUp, CannotFindOfpSaysSoOnceAndEndsHavingWrittenNothing) {
    for (const bool keyExists : {false, true}) {
        Emulation emu;
        if (keyExists) emu.registry.SetString(kGameKey, "Main", "C:");
        emu.Write("C:\\Games\\OFP\\ADDONS\\Comments.txt", "//TankOld");
        const auto before = Snapshot(emu);
        AddonManager app(emu.platform());
        EXPECT_FALSE(app.AddonManager_Form_Load());
        ASSERT_EQ(emu.desktop.boxes.size(), 1u);
        EXPECT_EQ(emu.desktop.boxes[0].text, "Cannot find OFP");
        EXPECT_EQ(emu.desktop.boxes[0].caption, "VARNX");
        EXPECT_EQ(emu.desktop.boxes[0].style, 0u);
        EXPECT_TRUE(app.Ended());
        EXPECT_EQ(Snapshot(emu), before);
        EXPECT_EQ(emu.registry.HasKey(kGameKey), keyExists);
        EXPECT_FALSE(emu.registry.Get(kGameKey, "VARNX"));
    }
}

TEST_F(StartUp, CreatesTheAddonFolderAndAnEmptyCommentsFile) {
    emu.registry.SetString(kGameKey, "Main", "C:\\Games\\OFP");
    fs::create_directories(emu.root / "Games" / "OFP");
    Start();
    EXPECT_TRUE(emu.files->FolderExists(kAddons));
    EXPECT_TRUE(emu.Exists("C:\\Games\\OFP\\ADDONS\\Comments.txt"));
    EXPECT_EQ(emu.Read("C:\\Games\\OFP\\ADDONS\\Comments.txt"), "");
    EXPECT_EQ(app->CommentsGame, "");
    EXPECT_TRUE(emu.desktop.boxes.empty());
}

TEST_F(StartUp, ReadsBothCommentsFilesByteForByte) {
    emu.InstallGame();
    std::string every;
    for (int b = 0; b < 256; ++b) every += static_cast<char>(b);
    emu.Write("C:\\Games\\OFP\\ADDONS\\Comments.txt", "//Tank\r\nBig\0//" + every);
    emu.Write("C:\\Games\\OFP\\Res\\AddOns\\Comments.txt", every + every);
    Start();
    EXPECT_EQ(app->CommentsGame, "//Tank\r\nBig\0//" + every);
    EXPECT_EQ(app->CommentsRes, every + every);
    EXPECT_TRUE(app->Option2.Visible());
    EXPECT_EQ(app->Label3.ForeColor(), kColorButtonText);
    EXPECT_EQ(emu.files->OpenHandles(), 0);
}

TEST_F(StartUp, LeavesTheWindowAsThePlayerFirstSeesIt) {
    emu.InstallGame();
    emu.Write("C:\\Games\\OFP\\ADDONS\\tank.pbo", "x");
    emu.Write("C:\\Games\\OFP\\ADDONS\\heli.pbx", "x");
    Start();
    EXPECT_EQ(Names(app->File1), std::vector<Text>{"tank.pbo"});
    EXPECT_EQ(Names(app->File2), std::vector<Text>{"heli.pbx"});
    EXPECT_EQ(app->File1.ListIndex(), -1);
    EXPECT_FALSE(app->Dir1.Visible());
    EXPECT_FALSE(app->Image3.Visible());
    EXPECT_TRUE(app->Image2.Visible());
    EXPECT_FALSE(app->Option1.Value() || app->Option2.Value() || app->Option3.Value());
    EXPECT_TRUE(app->List1.Items().empty());
    EXPECT_TRUE(app->addonsize.Items().empty());
    EXPECT_TRUE(app->foldersize.Items().empty());
    EXPECT_EQ(app->Text1.GetText(), "Varnex\r\nv.0.98b\r\n");
    EXPECT_FALSE(app->Busy);
    EXPECT_EQ(app->Dir1.Path(), "");
    EXPECT_GT(app->FileNumber, 0);
    for (auto* button : {&app->Command1, &app->Command2, &app->Command3, &app->Command4, &app->Command5,
                         &app->Command6, &app->Save})
        EXPECT_TRUE(button->Visible());
}

TEST_F(StartUp, ExpansionBoundsAndTheRememberedFolder) {
    struct Case {
        const char* expansion;  // null: key missing
        bool installed;
        const char* varnx;  // null: value missing
        const char* others;
    };
    const Case cases[] = {
        {"C:\\Games\\OFP\\Res", true, "D:\\", "D:\\"},
        {"C:", true, nullptr, "C:\\Games\\OFP"},
        {"C", false, "ab", "C:\\Games\\OFP"},
        {"", false, "D:\\Mods\\", "D:\\Mods\\"},
        {nullptr, false, "", "C:\\Games\\OFP"},
    };
    for (const auto& c : cases) {
        Emulation emu;
        emu.InstallGame(false);
        if (c.expansion) emu.registry.SetString(kExpansionKey, "Main", c.expansion);
        if (c.varnx) emu.registry.SetString(kGameKey, "VARNX", c.varnx);
        fs::create_directories(emu.files->HostPath(kResAddons));
        AddonManager app(emu.platform());
        ASSERT_TRUE(app.AddonManager_Form_Load());
        EXPECT_EQ(app.Option2.Visible(), c.installed) << c.expansion;
        EXPECT_EQ(app.Label3.ForeColor(), c.installed ? kColorButtonText : kColorGrayText);
        EXPECT_EQ(emu.Exists("C:\\Games\\OFP\\Res\\AddOns\\Comments.txt"), c.installed);
        EXPECT_EQ(app.OthersFolder, c.others);
        EXPECT_EQ(app.AddonFolder, "C:\\Games\\OFP\\ADDONS");
    }
}

TEST_F(StartUp, AnUnreadableCommentsFileIsReportedOnceAndTheProgramGoesOn) {
    // The expansion is registered while its addon folder does not exist.
    emu.registry.SetString(kGameKey, "Main", "C:\\Games\\OFP");
    emu.registry.SetString(kExpansionKey, "Main", "C:\\Games\\OFP\\Res");
    fs::create_directories(emu.files->HostPath(kAddons));
    Start();
    ASSERT_EQ(emu.desktop.boxes.size(), 1u);
    EXPECT_NE(emu.desktop.boxes[0].text.find("C:\\Games\\OFP\\Res\\AddOns\\Comments.txt"), Text::npos);
    EXPECT_NE(emu.desktop.boxes[0].text.find("the folder does not exist"), Text::npos);
    EXPECT_EQ(emu.desktop.boxes[0].caption, "VARNX");
    EXPECT_FALSE(app->Ended());
    EXPECT_EQ(app->CommentsRes, "");
    EXPECT_TRUE(app->Option2.Visible());
}

TEST_F(StartUp, AnAddonFolderThatCannotBeCreatedEndsTheProgramWritingNothing) {
    emu.registry.SetString(kGameKey, "Main", "C:\\Games\\OFP");
    fs::create_directories(emu.root / "Games" / "OFP");
    emu.files->FailOn(emulated::FileOp::CreateFolder, 1, errc::kAccessDenied);
    const auto before = Snapshot(emu);
    Start();
    EXPECT_TRUE(app->Ended());
    ASSERT_EQ(emu.desktop.boxes.size(), 1u);
    EXPECT_NE(emu.desktop.boxes[0].text.find("C:\\Games\\OFP\\ADDONS"), Text::npos);
    EXPECT_NE(emu.desktop.boxes[0].text.find("access is denied"), Text::npos);
    EXPECT_EQ(Snapshot(emu), before);
    EXPECT_FALSE(emu.registry.Get(kGameKey, "VARNX"));
}

}  // namespace
}  // namespace varnex::testing
