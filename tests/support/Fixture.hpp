// A game installation on the emulated platform: drive C: is a fresh host
// folder, the registry holds the game's keys, the shell behaves as Wine's or
// as Windows', boxes and dialogs answer from scripts.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <ostream>
#include <numeric>

#include "app/AddonManager.hpp"
#include "app/GlobaleVariables.hpp"
#include "platform/emulated/Emulated.hpp"

namespace varnex::testing {

namespace fs = std::filesystem;
using Strings = std::vector<Text>;

inline constexpr const char* kAddons = "C:\\Games\\OFP\\ADDONS";
inline constexpr const char* kResAddons = "C:\\Games\\OFP\\Res\\AddOns";

// A message box's style as Windows' names for its parts: "MB_OK" alone,
// else its buttons (none for MB_OK), icon and default button.
inline Text StyleName(std::uint32_t style) {
    static const std::pair<std::uint32_t, const char*> kParts[] = {
        {0x1, "MB_OKCANCEL"},      {0x3, "MB_YESNOCANCEL"},       {0x4, "MB_YESNO"},
        {0x5, "MB_RETRYCANCEL"},   {0x6, "MB_CANCELTRYCONTINUE"}, {0x10, "MB_ICONHAND"},
        {0x20, "MB_ICONQUESTION"}, {0x30, "MB_ICONEXCLAMATION"},  {0x40, "MB_ICONASTERISK"},
        {0x100, "MB_DEFBUTTON2"},  {0x200, "MB_DEFBUTTON3"}};
    Text name;
    for (const auto& [value, part] : kParts) {
        const std::uint32_t field = value < 0x10 ? 0xF : value < 0x100 ? 0xF0 : 0xF00;
        if ((style & field) == value) name += (name.empty() ? "" : "|") + Text(part);
    }
    return name.empty() ? "MB_OK" : name;
}

// The start of the program's boxes as Boxes() prints them: a warning, and a
// plain notice.
inline const Text kWarning = "VARNX MB_ICONEXCLAMATION: ";
inline const Text kNotice = "VARNX MB_OK: ";

// The Windows path of a file in the game's addon folder.
inline Text InAddons(const Text& name) { return Text(kAddons) + "\\" + name; }

using ShellKind = platform::emulated::Shell::Kind;

}  // namespace varnex::testing

namespace varnex::platform::emulated {
// The tests' names say which shell they ran on.
inline void PrintTo(Shell::Kind kind, std::ostream* out) { *out << (kind == Shell::Kind::Wine ? "Wine" : "Windows"); }
}  // namespace varnex::platform::emulated

namespace varnex::testing {

struct Emulation {
    explicit Emulation(ShellKind kind = ShellKind::Wine)
        : shell(std::make_unique<platform::emulated::Shell>(*files, kind, &desktop)) {
        GlobaleVariables::SelectedPath.clear();
    }
    ~Emulation() { fs::remove_all(root); }

    // The game and the expansion registered and their folders made.
    void InstallGame() {
        registry.SetString(kGameKey, "Main", "C:\\Games\\OFP\\");
        registry.SetString(kExpansionKey, "Main", "C:\\Games\\OFP\\Res");
        for (const char* folder : {kResAddons, kAddons}) fs::create_directories(files->HostPath(folder));
    }
    // Files in the game's addon folder, each holding `bytes`.
    void Put(const Strings& names, const std::string& bytes = "x") {
        for (const Text& n : names) Write(InAddons(n), bytes);
    }
    // Writes a file given by its Windows path, making its folders.
    void Write(const Text& windowsPath, const std::string& bytes) {
        fs::create_directories(files->HostPath(windowsPath).parent_path());
        std::ofstream(files->HostPath(windowsPath), std::ios::binary) << bytes;
    }
    // The bytes of a file, read in one go; "" for a file that is not there.
    [[nodiscard]] std::string Read(const Text& windowsPath) const {
        std::ifstream in(files->HostPath(windowsPath), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    // The files of a folder, sorted by name as the disk spells them.
    [[nodiscard]] Strings Names(const Text& windowsFolder) const {
        Strings names;
        for (const auto& entry : fs::directory_iterator(files->HostPath(windowsFolder)))
            if (entry.is_regular_file()) names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    // Every file and folder of drive C: by its path below the root, files
    // with their bytes, folders as "<folder>".
    [[nodiscard]] std::map<Text, std::string> Drive() const {
        std::map<Text, std::string> tree;
        for (const auto& entry : fs::recursive_directory_iterator(root)) {
            const Text rel = fs::relative(entry.path(), root).string();
            tree[rel] = entry.is_regular_file() ? Read("C:\\" + rel) : "<folder>";
        }
        return tree;
    }
    // The boxes shown so far, the program's and the shell's, each as
    // "caption style: text", the style spelled as Windows names it.
    [[nodiscard]] Strings Boxes() const {
        Strings boxes;
        for (const auto& b : desktop.boxes) boxes.push_back(b.caption + " " + StyleName(b.style) + ": " + b.text);
        return boxes;
    }
    // The last box shown, "<no box>" before the first.
    [[nodiscard]] Text LastBox() const {
        const Strings boxes = Boxes();
        return boxes.empty() ? "<no box>" : boxes.back();
    }
    // A main window on this platform after its start-up.
    [[nodiscard]] std::unique_ptr<AddonManager> Launch() {
        auto app = std::make_unique<AddonManager>(Platform{registry, *files, *shell, desktop});
        app->AddonManager_Form_Load();
        return app;
    }
    // The game installed with `addons` (one byte each) and the game's
    // comments file, then started.
    [[nodiscard]] std::unique_ptr<AddonManager> Game(const Strings& addons = {}, const std::string& comments = "") {
        InstallGame();
        Put(addons);
        Write(InAddons("Comments.txt"), comments);
        return Launch();
    }

    fs::path root = [] {  // the host folder behind C:
        Text templ = (fs::temp_directory_path() / "varnex-test-XXXXXX").string();
        return fs::path(::mkdtemp(templ.data()));
    }();
    platform::emulated::Registry registry;
    std::unique_ptr<platform::emulated::Files> files =
        std::make_unique<platform::emulated::Files>(std::map<char, fs::path>{{'C', root}});
    platform::emulated::Desktop desktop;
    std::unique_ptr<platform::emulated::Shell> shell;
};

// The question the player answers before an addon goes into the recycle
// bin: the shell's own where it asks (always under Wine), else the
// program's, naming the companion that goes either way.
inline Text DeleteQuestion(const platform::emulated::Shell& shell, const Text& folder, const Text& name) {
    const Text companion = folder + "\\" + CutRight(name, 4) + ".txt";
    if (!shell.confirmsDelete)
        return "VARNX MB_YESNO|MB_ICONQUESTION: Move " + folder + "\\" + name +
               " into the recycle bin?\r\n\r\nIts information file " + companion + " is removed for good either way.";
    if (shell.kind == ShellKind::Windows)
        return "Delete File MB_OK: Are you sure you want to move this file to the Recycle Bin?\r\n\r\n" + name;
    return "Confirm file deletion MB_OK: Are you sure that you want to send '" + name + "' to the Trash?";
}

// The game on Wine's shell.
struct AppTest : ::testing::Test {
    AddonManager& Start(const Strings& addons = {}, const std::string& comments = "") {
        return *(app = emu.Game(addons, comments));
    }
    Emulation emu;
    std::unique_ptr<AddonManager> app;
};

// The game on each shell in turn: every test of a handler that calls the
// shell runs on both, and says what the player sees on each.
struct BothShells : ::testing::TestWithParam<ShellKind> {
    AddonManager& Start(const Strings& addons = {}, const std::string& comments = "") {
        return *(app = emu.Game(addons, comments));
    }
    [[nodiscard]] static bool OnWindows() { return GetParam() == ShellKind::Windows; }
    // What the player sees under Wine, and on Windows.
    template <class T>
    [[nodiscard]] static T Either(T wine, T windows) {
        return OnWindows() ? windows : wine;
    }
    Emulation emu{GetParam()};
    std::unique_ptr<AddonManager> app;
};
#define VARNEX_ON_BOTH_SHELLS(Suite)                                                               \
    INSTANTIATE_TEST_SUITE_P(Shell, Suite, ::testing::Values(ShellKind::Wine, ShellKind::Windows), \
                             [](const auto& info) { return info.param == ShellKind::Wine ? "Wine" : "Windows"; })

inline Strings Names(FileListBox& list) {
    Strings names;
    for (const auto& e : list.Entries()) names.push_back(e.name);
    return names;
}

// Makes the entry `name` the list's current item, as the player's click does.
inline void ClickOn(FileListBox& list, const Text& name) {
    const auto names = Names(list);
    const auto at = std::find(names.begin(), names.end(), name);
    ASSERT_NE(at, names.end()) << name << " is not listed";
    list.SetListIndex(static_cast<int>(at - names.begin()));
}

// The window moves the current item, then the double click's handling runs.
inline void DoubleClick(FileListBox& list, const Text& name) {
    const auto names = Names(list);
    list.Highlight(static_cast<int>(std::find(names.begin(), names.end(), name) - names.begin()));
    list.DblClick();
}

// Clicks `name` in `list`, types `comment` and presses Save comment.
inline void SaveComment(AddonManager& app, FileListBox& list, const Text& name, const Text& comment) {
    ClickOn(list, name);
    app.Text1.SetText(comment);
    app.Save.Click();
}

// What the two size summaries show: the active addons' total above the
// inactive ones'. An empty one shows nothing at all, not " 0 kb".
struct ShownSizes {
    Text active{};
    Text inactive{};
    bool operator==(const ShownSizes&) const = default;
    friend std::ostream& operator<<(std::ostream& out, const ShownSizes& sizes) {
        return out << "active \"" << sizes.active << "\", inactive \"" << sizes.inactive << '"';
    }
};

// A total as the summaries write it.
inline Text Kb(unsigned long kilobytes) { return " " + std::to_string(kilobytes) + " kb"; }

inline ShownSizes Sizes(const AddonManager& app) {
    const auto shown = [](const ListBox& box) {
        return std::accumulate(box.Items().begin(), box.Items().end(), Text());
    };
    return {shown(app.addonsize), shown(app.foldersize)};
}

}  // namespace varnex::testing
