// Registry values of odd shapes: the wrong type, empty, binary, lines of
// 1 MB, mapped drives. Each row gives what the window shows; every row also
// checks that nothing the player wrote is lost and that no unexpected box
// appears.
#include <optional>

#include "support/Fixture.hpp"

namespace varnex::testing {
namespace {

using namespace std::string_literals;

const Text kNo = "No entry";
const std::string kEvery = [] {
    std::string s;
    for (int b = 0; b < 256; ++b) s += static_cast<char>(b);
    return s;
}();
const std::string kLine(1u << 20, 'L');  // one line of 1 MB

// Compares without printing megabytes when it fails.
::testing::AssertionResult Same(const std::string& got, const std::string& want) {
    if (got == want) return ::testing::AssertionSuccess();
    const auto at = std::mismatch(got.begin(), got.end(), want.begin(), want.end()).first - got.begin();
    return ::testing::AssertionFailure() << "differs at byte " << at << ": got " << got.size() << " bytes ("
                                         << got.substr(0, 120) << "), want " << want.size() << " ("
                                         << want.substr(0, 120) << ")";
}

TEST(BadCompanion, EveryShapeFillsTheSixFieldsAndStaysAsItWas) {
    struct Row {
        Text addon;
        std::string file;  // its companion's bytes
        std::array<std::string, 6> shown;  // the information window's six fields
    };
    const Row rows[] = {
        {"tank.pbx", kEvery, {kNo, kNo, kNo, kNo, "-", "-"}},
        {"tank.pbx", "\0/x/author\0A\r\n\0"s, {kNo, kNo, kNo, "\0A\r\n\0"s, "-", "-"}},
        {"tank.pbx", "/x/units" + kLine + "/x/reqversion9", {kLine, kNo, kNo, kNo, "-", "9"}},
        // A name that is only its extension has the companion ".txt".
        {".pbx", "/x/authorShort", {kNo, kNo, kNo, "Short", "-", "-"}},
        {"Pz\xE4 \xFF.pbo", "/x/version\xFF", {kNo, kNo, kNo, kNo, "\xFF", "-"}},
        // An empty companion is removed, the fields left as the window
        // presets them: the first three end in a line break.
        {"jeep.pbx", "", {kNo + "\r\n", kNo + "\r\n", kNo + "\r\n", kNo, "-", "-"}},
    };
    for (const auto& [addon, file, shown] : rows) {
        SCOPED_TRACE(addon + ": " + file.substr(0, 40));
        Emulation emu;
        const Text companion = InAddons(CutRight(addon, 4) + ".txt");
        emu.Write(companion, file);
        auto app = emu.Game({addon});
        DoubleClick(addon.back() == 'o' ? app->File1 : app->File2, addon);
        for (std::size_t f = 0; f < 6; ++f)
            EXPECT_TRUE(Same(app->Info()->Fields()[f]->GetText(), shown[f])) << "field " << f + 1;
        EXPECT_TRUE(Same(emu.Read(companion), file) && emu.desktop.boxes.empty());
        EXPECT_EQ(emu.Names(kAddons).size(), file.empty() ? 2u : 3u) << "the addon, the comments file, the companion";
    }
}

TEST(BadRegistry, EveryShapeOfTheThreeValuesStartsAndIsWrittenBack) {
    const Text kOfp = "C:\\Games\\OFP", kSpiele = "C:\\Spi\xE9le Neu\\OFP";
    const auto dword = [](std::int32_t n) { return std::string(reinterpret_cast<const char*>(&n), 4); };
    const Text absent = "\\ADDONS does not exist and cannot be created: the folder does not exist.";
    const Text cannot = kNotice + "Cannot find OFP";
    // Drive C: alone is there: Q: and D: stand for drives the player
    // mapped, which a program run as administrator does not see.
    const Text unseen =
        ": mapped drives are not visible to programs run as administrator; choose the folder by its "
        "network path (\\\\server\\share).";
    const char *game = kGameKey, *res = kExpansionKey;
    // Where the program goes on: its GameFolder, whether the expansion
    // counts as installed (its choice shown, its label not grayed), and its
    // OthersFolder.
    struct Started {
        Text game;
        bool expansion;
        Text others;
    };
    // The game found without and with the expansion, OthersFolder the game's
    // unless the row says otherwise.
    const Started bare{kOfp, false, kOfp}, both{kOfp, true, kOfp};
    const auto others = [&](const Text& folder) { return Started{kOfp, true, folder}; };
    struct Row {
        const char *key, *value;
        std::uint32_t type;
        std::string data;
        Text boxes;  // the first lines of the boxes shown at start-up
        std::optional<Started> started{};  // none: the program ends, having written nothing
    };
    const Row rows[] = {
        {game, "Main", REG_SZ_, "", cannot},
        {game, "Main", REG_SZ_, "C:", cannot},
        {game, "Main", REG_DWORD_, dword(99), cannot},
        {game, "Main", 2, kOfp + '\0', cannot},
        // Two bytes of a number are the number 0x3A43.
        {game, "Main", REG_DWORD_, "C:", kWarning + "The addon folder 14915" + absent},
        {game, "Main", REG_SZ_, "\0\0\0\0"s, kWarning + "The addon folder ???" + absent},  // a box would end at a NUL
        {game, "Main", REG_SZ_, kSpiele + "\\", "", Started{kSpiele, true, kSpiele}},
        {game, "Main", REG_SZ_, "C:\\", "", Started{"C:", true, "C:"}},
        {game, "Main", REG_SZ_, kOfp + "\\\\", "", Started{kOfp + "\\", true, kOfp + "\\"}},  // one backslash is cut
        {game, "Main", REG_SZ_, "Q:\\OFP",
         kWarning + "The addon folder Q:\\OFP\\ADDONS does not exist and cannot be created" + unseen},
        {res, "Main", REG_SZ_, "", "", bare},
        {res, "Main", REG_SZ_, "C:", "", both},
        {res, "Main", REG_DWORD_, dword(9), "", bare},
        {res, "Main", REG_DWORD_, dword(10), "", both},
        {res, "Main", 3, "C:\\Res", "", bare},
        {game, "VARNX", REG_SZ_, "ab\0"s, "", both},
        {game, "VARNX", REG_SZ_, "D:\\", "", others("D:\\")},
        {game, "VARNX", REG_SZ_, "\0\0\0\0"s, "", others("\0\0\0"s)},
        {game, "VARNX", REG_DWORD_, dword(-12), "", others("-12")},
        {game, "VARNX", 7, "C:\\Mods\0\0"s, "", both},
        {game, "VARNX", REG_SZ_, "C:\\" + kLine, "", others("C:\\" + kLine)},
    };
    for (const auto& [key, value, type, data, boxes, started] : rows) {
        SCOPED_TRACE(Text(key) + " " + value + ": " + data.substr(0, 40));
        Emulation emu;
        emu.InstallGame();
        for (const Text& folder : {kSpiele, Text("C:")})
            fs::create_directories(emu.files->HostPath(folder + "\\Res\\AddOns"));
        emu.registry.SetRaw(key, value, type, data);
        const auto before = emu.Drive();
        auto app = emu.Launch();
        const bool installed = app->Label3.ForeColor() == kColorButtonText;
        EXPECT_EQ(app->Option2.Visible(), installed || app->Ended());
        Text shown;
        for (const auto& box : emu.Boxes()) shown += box.substr(0, box.find("\r\n"));
        EXPECT_EQ(shown, boxes);
        ASSERT_EQ(app->Ended(), !started);
        if (!started) {
            EXPECT_EQ(emu.Drive(), before);
            continue;
        }
        EXPECT_EQ(app->GameFolder, started->game);
        EXPECT_EQ(installed, started->expansion);
        EXPECT_TRUE(Same(app->OthersFolder, started->others));
        // Nothing chosen, nothing measured yet.
        EXPECT_EQ(Sizes(*app), ShownSizes{});
        EXPECT_EQ(app->File1.ListIndex(), -1);
        EXPECT_FALSE(app->Dir1.Visible() || app->Image3.Visible());
        // The "others" choice takes whatever was read, and Exit writes it
        // back as a string, and the expansion's comments only if installed.
        app->AddonManager_Option3_Click();
        app->Command4.Click();
        const auto written = emu.registry.Get(kGameKey, "VARNX");
        EXPECT_TRUE(written && written->type == REG_SZ_ && Same(written->data, app->OthersFolder));
        EXPECT_EQ(fs::exists(emu.files->HostPath(app->GameFolder + "\\Res\\AddOns\\Comments.txt")), installed);
        // The lists of D:\\ stay empty, and a box says why.
        const Strings told{kWarning + "The addon folder D:\\ cannot be read" + unseen};
        EXPECT_EQ(emu.Boxes(), app->OthersFolder == "D:\\" ? told : Strings{});
    }
}

}  // namespace
}  // namespace varnex::testing
