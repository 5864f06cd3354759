// Input files and registry values of odd shapes: empty, binary, every byte
// value, 100 MB, lines of 1 MB, thousands of separators, odd names and paths
// past MAX_PATH. Each row gives what the window shows; every row also checks
// that nothing the player wrote is lost and that no unexpected box appears.
#include "support/Fixture.hpp"

namespace varnex::testing {
namespace {

using namespace std::string_literals;
using Fields = std::array<Text, 6>;

const Text kNo = "No entry";
const Text kGameComments = InAddons("Comments.txt");

std::string Repeat(const std::string& unit, std::size_t times) {
    std::string s;
    while (times--) s += unit;
    return s;
}

const std::string kEvery = [] {
    std::string s;
    for (int b = 0; b < 256; ++b) s += static_cast<char>(b);
    return s;
}();

// 100 MB of every byte value but "/": no "//", no "/x/" and no addon name
// occurs in it. Made once for the whole file.
const std::string& Huge() {
    static const std::string huge = [] {
        std::string unit = kEvery;
        unit.erase(unit.find('/'), 1);
        std::string s = Repeat(unit, (100u << 20) / unit.size() + 1);
        s.resize(100u << 20);
        return s;
    }();
    return huge;
}

const std::string kLine(1u << 20, 'L');  // one line of 1 MB

// Compares without printing megabytes when it fails.
::testing::AssertionResult Same(const std::string& got, const std::string& want) {
    if (got == want) return ::testing::AssertionSuccess();
    const auto at = std::mismatch(got.begin(), got.end(), want.begin(), want.end()).first - got.begin();
    return ::testing::AssertionFailure() << "differs at byte " << at << ": got " << got.size() << " bytes ("
                                         << got.substr(0, 120) << "), want " << want.size() << " ("
                                         << want.substr(0, 120) << ")";
}

FileListBox& ListOf(AddonManager& app, const Text& name) { return name.back() == 'o' ? app.File1 : app.File2; }

TEST(BadComments, EveryShapeShowsItsEntryAndComesBackByteForByteAfterExit) {
    // shown: the comment box after a click on `addon`; saved: the file after
    // saving "New" for it and leaving through Exit. Unless `saveOnly`, a run
    // that saves nothing first gets the file back unchanged.
    struct Row {
        Text addon;
        std::string file, shown, saved;
        bool saveOnly = false;
    };
    // How each shape reads is the fuzzer's to check against its reference;
    // here, that the program shows it and writes it back whole.
    const Row rows[] = {
        {"tank.pbo", "", "", "//tankNew"},
        {"tank.pbo", kEvery, "", kEvery + "//tankNew"},
        {"tank.pbo", "notes without a key\r\n", "", "notes without a key\r\n//tankNew"},
        {"tank.pbo", Huge() + "//tankEnd", "End", Huge() + "//tankNew", true},
        {"tank.pbo", "\0//TANK\0//tank\0x\xFF"s, "\0x\xFF"s, "\0//TANK\0//tankNew"s},
        // Bytes past 0x7F have no letter case: \xC4 is not \xE4.
        {"Pz\xE4 \xFF.pbx", "//Pz\xC4 \xFFx//Pz\xE4 \xFFy", "y", "//Pz\xC4 \xFFx//Pz\xE4 \xFFNew"},
    };
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row& r = rows[i];
        for (const bool save : {false, true}) {
            if (!save && r.saveOnly) continue;
            Emulation emu;
            auto app = emu.Game({r.addon}, r.file);
            ClickOn(ListOf(*app, r.addon), r.addon);
            EXPECT_TRUE(Same(app->Text1.GetText(), r.shown)) << "row " << i;
            if (save) {
                app->Text1.SetText("New");
                app->Save.Click();
                EXPECT_EQ(app->Text1.GetText(), "New") << "row " << i;
            }
            app->Command4.Click();
            EXPECT_TRUE(Same(emu.Read(kGameComments), save ? r.saved : r.file)) << "row " << i << " save " << save;
            EXPECT_TRUE(emu.desktop.ended && emu.desktop.boxes.empty()) << "row " << i;
        }
    }
}

TEST(BadCompanion, EveryShapeFillsTheSixFieldsAndStaysAsItWas) {
    struct Row {
        Text addon;
        std::string file;
        Fields shown;
    };
    const Row rows[] = {
        {"tank.pbx", kEvery, {kNo, kNo, kNo, kNo, "-", "-"}},
        {"tank.pbx", "\0/x/author\0A\r\n\0"s, {kNo, kNo, kNo, "\0A\r\n\0"s, "-", "-"}},
        {"tank.pbx", "/x/units" + Huge() + "/x/reqversion9", {Huge(), kNo, kNo, kNo, "-", "9"}},
        // A name that is only its extension has the companion ".txt".
        {".pbx", "/x/authorShort", {kNo, kNo, kNo, "Short", "-", "-"}},
        {"Pz\xE4 \xFF.pbo", "/x/version\xFF", {kNo, kNo, kNo, kNo, "\xFF", "-"}},
    };
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row& r = rows[i];
        Emulation emu;
        const Text companion = InAddons(CutRight(r.addon, 4) + ".txt");
        emu.Write(companion, r.file);
        auto app = emu.Game({r.addon});
        ClickOn(ListOf(*app, r.addon), r.addon);
        ListOf(*app, r.addon).DblClick();
        for (std::size_t f = 0; f < 6; ++f)
            EXPECT_TRUE(Same(app->Info()->Fields()[f]->GetText(), r.shown[f])) << "row " << i << " field " << f + 1;
        EXPECT_TRUE(Same(emu.Read(companion), r.file)) << "row " << i;
        EXPECT_TRUE(emu.desktop.boxes.empty()) << "row " << i;
    }
}

TEST(BadFavorites, ListsOfEveryShapeActivateExactlyTheNamesTheyHold) {
    const Strings addons = {"ABox.pbo", "heli.pbo", "my heli.pbo", "Pz\xE4\xFF.pbo", "tank.pbo", ".pbx"};
    // Saving first: names with blanks and bytes past 0x7F are written as
    // they are; ".pbx" is inactive and "ABox.pbo" official.
    {
        Emulation emu;
        emu.desktop.dialogAnswers = {"C:\\fav.txtf"};
        emu.Game(addons)->AddonManager_SaveFavorits_Click();
        EXPECT_EQ(emu.Read("C:\\fav.txtf"), "heli.pbx my heli.pbx Pz\xE4\xFF.pbx tank.pbx ");
    }
    // Every name is searched inside the whole text, so ".pbx" comes along
    // with any list that names an inactive addon, and heli.pbx with
    // "my heli.pbx".
    struct Row {
        std::string list;
        Strings active;
    };
    const Row rows[] = {
        {"", {"ABox.pbo"}},
        {kEvery, {"ABox.pbo"}},
        {Repeat("//", 5000) + "TANK.PBX", {"ABox.pbo"}},
        {"\0tank.pbx\0"s, {".pbo", "ABox.pbo", "tank.pbo"}},
        {kLine + "\r\nPz\xE4\xFF.pbx\r\n", {".pbo", "ABox.pbo", "Pz\xE4\xFF.pbo"}},
        {Huge() + "my heli.pbx", {".pbo", "ABox.pbo", "heli.pbo", "my heli.pbo"}},
    };
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        Emulation emu;
        emu.Write("C:\\fav.txtf", rows[i].list);
        emu.desktop.dialogAnswers = {"C:\\fav.txtf"};
        auto app = emu.Game(addons);
        app->AddonManager_LoadFavorits_Click();
        EXPECT_EQ(Names(app->File1), rows[i].active) << "row " << i;
        EXPECT_EQ(app->File1.ListCount() + app->File2.ListCount(), 6) << "row " << i;
        EXPECT_TRUE(Same(emu.Read("C:\\fav.txtf"), rows[i].list)) << "row " << i;
        EXPECT_TRUE(emu.desktop.boxes.empty()) << "row " << i;
    }
}

TEST(BadRegistry, EveryShapeOfTheThreeValuesStartsAsDesignedAndExitWritesTheFolderBack) {
    const Text kOfp = "C:\\Games\\OFP", kSpiele = "C:\\Spi\xE9le Neu\\OFP";
    const auto dword = [](std::int32_t n) { return std::string(reinterpret_cast<const char*>(&n), 4); };
    const auto noFolder = [](const Text& folder) {
        return "VARNX 48: The addon folder " + folder +
               "\\ADDONS does not exist and cannot be created: the folder does not exist.";
    };
    const Text cannot = "VARNX 0: Cannot find OFP";
    // want: the first lines of the boxes shown, then, when the program goes
    // on, GameFolder, "R" when the expansion counts as installed (its choice
    // shown, its label not grayed), and OthersFolder. A program that ends
    // has written nothing.
    struct Row {
        const char *key, *value;
        std::uint32_t type;
        std::string data;
        Text want;
    };
    const char* game = kGameKey;
    // The game found without and with the expansion, OthersFolder the game's.
    const Text bare = "|" + kOfp + "||" + kOfp, res = "|" + kOfp + "|R|" + kOfp,
               spiele = "|" + kSpiele + "|R|" + kSpiele;
    const Row rows[] = {
        {game, "Main", REG_SZ_, "", cannot},
        {game, "Main", REG_SZ_, "C:", cannot},
        {game, "Main", REG_SZ_, "C:\0"s, cannot},
        {game, "Main", REG_DWORD_, dword(99), cannot},
        {game, "Main", 2, kOfp + '\0', cannot},
        // Two bytes of a number are the number 0x3A43.
        {game, "Main", REG_DWORD_, "C:", noFolder("14915")},
        {game, "Main", REG_SZ_, "\0\0\0\0"s, noFolder("???")},  // a box would end at a NUL
        {game, "Main", REG_SZ_, kSpiele + "\\", spiele},
        {game, "Main", REG_SZ_, kSpiele + "\\\0"s, spiele},
        {game, "Main", REG_SZ_, "C:\\", "|C:|R|C:"},
        {kExpansionKey, "Main", REG_SZ_, "", bare},
        {kExpansionKey, "Main", REG_SZ_, "\0\0"s, bare},
        {kExpansionKey, "Main", REG_SZ_, "C:", res},
        {kExpansionKey, "Main", REG_DWORD_, dword(9), bare},
        {kExpansionKey, "Main", REG_DWORD_, dword(10), res},
        {kExpansionKey, "Main", 3, "C:\\Res", bare},
        {game, "VARNX", REG_SZ_, "ab\0"s, res},
        {game, "VARNX", REG_SZ_, "D:\\", "|" + kOfp + "|R|D:\\"},
        {game, "VARNX", REG_SZ_, "\0\0\0\0"s, "|" + kOfp + "|R|\0\0\0"s},
        {game, "VARNX", REG_DWORD_, dword(-12), "|" + kOfp + "|R|-12"},
        {game, "VARNX", 7, "C:\\Mods\0\0"s, res},
        {game, "VARNX", REG_SZ_, "C:\\" + kLine, "|" + kOfp + "|R|C:\\" + kLine},
    };
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row& r = rows[i];
        Emulation emu;
        emu.InstallGame();
        for (const Text& folder : {kSpiele, Text("C:")})
            fs::create_directories(emu.files->HostPath(folder + "\\Res\\AddOns"));
        emu.registry.SetRaw(r.key, r.value, r.type, r.data);
        const auto before = emu.Drive();
        auto app = emu.Launch();
        const bool installed = app->Option2.Visible() && app->Label3.ForeColor() == kColorButtonText;
        Text got;
        for (const auto& box : emu.Boxes()) got += box.substr(0, box.find("\r\n"));
        if (!app->Ended()) got += "|" + app->GameFolder + "|" + (installed ? "R" : "") + "|" + app->OthersFolder;
        EXPECT_TRUE(Same(got, r.want)) << "row " << i;
        if (app->Ended()) {
            EXPECT_EQ(emu.Drive(), before) << "row " << i;
            continue;
        }
        // Nothing chosen, nothing measured yet.
        EXPECT_EQ(Sizes(*app) + std::to_string(app->File1.ListIndex() + app->Dir1.Visible() + app->Image3.Visible()),
                  "||-1");
        // The "others" choice takes whatever was read, and Exit writes it
        // back as a string, and the expansion's comments only if installed.
        app->AddonManager_Option3_Click();
        app->Command4.Click();
        const auto written = emu.registry.Get(kGameKey, "VARNX");
        EXPECT_TRUE(written && written->type == REG_SZ_ && Same(written->data, app->OthersFolder)) << "row " << i;
        EXPECT_EQ(fs::exists(emu.files->HostPath(app->GameFolder + "\\Res\\AddOns\\Comments.txt")), installed) << i;
        EXPECT_EQ(emu.desktop.boxes.size(), 0u) << "row " << i;
    }
}

TEST(BadPaths, PathsOfMaxPathOrMoreAreNamedInABoxAndTheirFilesKeptAsTheyWere) {
    for (const std::size_t length : {259u, 260u, 261u}) {  // of the comments file's path
        Emulation emu;
        const Text game = "C:\\" + Text(120, 'g') + "\\" + Text(length - 144, 'o');
        const Text addons = game + "\\ADDONS", comments = addons + "\\Comments.txt";
        const Text deep = addons + "\\" + Text(259 - addons.size(), 'd');  // a folder of 260 characters
        emu.registry.SetString(kGameKey, "Main", game);
        emu.registry.SetString(kGameKey, "VARNX", deep);
        emu.Write(comments, "//tankOld");
        emu.Write(addons + "\\tank.pbo", "t");
        emu.Write(addons + "\\" + Text(20, 'n') + ".pbo", "n");
        emu.Write(deep + "\\deep.pbo", "d");
        const bool readable = length < 260;
        auto app = emu.Launch();
        ClickOn(app->File1, Text(20, 'n') + ".pbo");
        EXPECT_EQ(app->List1.Items().back(), "Size: the path is too long") << length;
        ClickOn(app->File1, "tank.pbo");
        EXPECT_EQ(app->Text1.GetText(), readable ? "Old" : "") << length;
        app->Text1.SetText("New");
        app->Save.Click();
        EXPECT_EQ(app->Text1.GetText(), readable ? "New" : "No save possible") << length;
        // The folder past the bound shows empty lists.
        app->AddonManager_Option3_Click();
        EXPECT_EQ(app->File1.ListCount() + app->File2.ListCount(), 0) << length;
        emu.desktop.dialogAnswers = {deep + "\\f.txtf", deep + "\\f.txtf"};
        app->AddonManager_SaveFavorits_Click();
        app->AddonManager_LoadFavorits_Click();
        app->Command4.Click();
        EXPECT_EQ(emu.Read(comments), readable ? "//tankNew" : "//tankOld") << length;
        EXPECT_EQ(emu.registry.Get(kGameKey, "VARNX")->data, deep);
        Strings boxes = {"The favorites list " + deep + "\\f.txtf could not be written: the path is too long.",
                         "The favorites list " + deep + "\\f.txtf cannot be read: the path is too long."};
        if (!readable)
            boxes.insert(boxes.begin(), "The comments file " + comments + " cannot be read: the path is too long.");
        Strings got;
        for (const auto& box : emu.desktop.boxes) got.push_back(box.text.substr(0, box.text.find("\r\n")));
        EXPECT_EQ(got, boxes) << length;
    }
}

}  // namespace
}  // namespace varnex::testing
