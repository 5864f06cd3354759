// Every handler walked through the failures its file operations can meet:
// each call of each operation failing in turn, and files that vanish,
// appear, become read-only or locked between two steps. Whatever fails, no
// exception escapes, both flags end false, no file is left open, a failure
// that changes the outcome is told in a "VARNX" box (none where the shell
// tells it itself), and every byte on the drive is either as it was or as
// the handler meant it to be.
#include <iostream>
#include <set>
#include <sstream>

#include "support/Fixture.hpp"

namespace varnex::testing {
namespace {

using emulated::FileOp;
using emulated::kFileOps;
using Drive = std::map<Text, std::string>;
using A = AddonManager;
using Step = std::function<void(A&, Emulation&)>;
using Arm = std::function<void(Emulation&)>;

const Text kList = "C:\\Lists\\fav.txtf", kGameComments = InAddons("Comments.txt");
const Text kTank = InAddons("tank.pbo"), kHeli = InAddons("heli.pbx"), kHeliTxt = InAddons("heli.txt");
const char* const kOpNames[kFileOps] = {"Open",       "Length",  "Read",         "Write",      "Close",  "Delete",
                                        "FileLength", "Replace", "CreateFolder", "ListFolder", "Rename", "Recycle"};

// The game with its expansion: tank.pbo, the official ABox.pbo, heli.pbx
// with its companion and jeep.pbx in the game's folder, each addon of bytes
// of its own; a comments file in both fixed folders; C:\Mods remembered as
// the other folder; a favorites list naming heli.
void Install(Emulation& emu) {
    emu.InstallGame();
    const Strings pathsAndBytes = {kTank,
                                   Text(1500, 't'),
                                   InAddons("ABox.pbo"),
                                   "official",
                                   kHeli,
                                   "heli",
                                   kHeliTxt,
                                   "/x/authorAnn",
                                   InAddons("jeep.pbx"),
                                   "jeep",
                                   kGameComments,
                                   "//tankT//heliH",
                                   Text(kResAddons) + "\\Comments.txt",
                                   "//modR",
                                   Text(kResAddons) + "\\mod.pbo",
                                   "mod",
                                   "C:\\Mods\\m1.pbo",
                                   "m1",
                                   "C:\\Mods\\m2.pbx",
                                   "m2",
                                   kList,
                                   "heli.pbx "};
    for (std::size_t i = 0; i < pathsAndBytes.size(); i += 2) emu.Write(pathsAndBytes[i], pathsAndBytes[i + 1]);
    emu.registry.SetString(kGameKey, "VARNX", "C:\\Mods");
}

Step Call(void (A::*handler)()) {
    return [handler](A& app, Emulation&) { (app.*handler)(); };
}
Step Select(FileListBox A::*list, const char* name, bool twice = false) {
    return [=](A& app, Emulation&) { twice ? DoubleClick(app.*list, name) : ClickOn(app.*list, name); };
}
Step Type(const char* text) {
    return [=](A& app, Emulation&) { app.Text1.SetText(text); };
}
Step Steps(std::vector<Step> steps) {
    return [=](A& app, Emulation& emu) {
        for (const Step& step : steps) step(app, emu);
    };
}
const Step kStart = [](A& app, Emulation&) { app.AddonManager_Form_Load(); };
const Step kListAnswered = [](A&, Emulation& emu) { emu.desktop.dialogAnswers = {kList}; };

struct Handler {
    const char* name;
    Step prepare, act;  // the failures are armed between the two
    bool started = true;  // false: start-up is the handler
};

const Handler kHandlers[] = {
    {"Form_Load", {}, kStart, false},
    {"Form_Load, no addon folder", [](A&, Emulation& emu) { fs::remove_all(emu.files->HostPath(kAddons)); }, kStart,
     false},
    {"Option1", {}, Call(&A::AddonManager_Option1_Click)},
    {"Option2", {}, Call(&A::AddonManager_Option2_Click)},
    {"Option3", {}, Call(&A::AddonManager_Option3_Click)},
    {"Dir1_Change", Call(&A::AddonManager_Option3_Click), [](A& app, Emulation&) { app.Dir1.SetPath(kAddons); }},
    {"File1_Click", {}, Select(&A::File1, "tank.pbo")},
    {"File2_Click", {}, Select(&A::File2, "heli.pbx")},
    {"File1_DblClick", {}, Select(&A::File1, "tank.pbo", true)},
    {"File2_DblClick", {}, Select(&A::File2, "heli.pbx", true)},
    {"Command3", Select(&A::File2, "heli.pbx"), Call(&A::AddonManager_Command3_Click)},
    {"Command2", Select(&A::File1, "tank.pbo"), Call(&A::AddonManager_Command2_Click)},
    {"Command6", {}, Call(&A::AddonManager_Command6_Click)},
    {"Command5", {}, Call(&A::AddonManager_Command5_Click)},
    {"Command1, yes", Select(&A::File2, "heli.pbx"), Call(&A::AddonManager_Command1_Click)},
    {"Command1, no",
     Steps({Select(&A::File2, "heli.pbx"), [](A&, Emulation& emu) { emu.shell->confirmDelete = false; }}),
     Call(&A::AddonManager_Command1_Click)},
    {"Save_Click", Steps({Select(&A::File1, "tank.pbo"), Type("New")}), Call(&A::AddonManager_Save_Click)},
    {"Text1_Change", Select(&A::File1, "tank.pbo"), Type("typed")},
    {"Command4", Steps({Select(&A::File1, "tank.pbo"), Type("New"), Call(&A::AddonManager_Save_Click)}),
     Call(&A::AddonManager_Command4_Click)},
    {"LoadFavorits", kListAnswered, Call(&A::AddonManager_LoadFavorits_Click)},
    {"SaveFavorits", kListAnswered, Call(&A::AddonManager_SaveFavorits_Click)},
    {"SaveFavorits, the active list to be re-read",
     Steps({kListAnswered, [](A& app, Emulation&) { app.File1.Refresh(); }}),
     Call(&A::AddonManager_SaveFavorits_Click)},
};

// The boxes are the handler's, each as "caption: text"; the calls too.
struct Outcome {
    Drive before, after;
    Strings boxes;
    std::array<int, kFileOps> calls{};
    bool ended = false;
};

// Runs `handler` on a fresh installation, `arm` setting up the failures
// once it is prepared, and checks what must hold after any failure.
Outcome Walk(const Handler& handler, const Arm& arm, bool shellReports = false) {
    Emulation emu;
    Install(emu);
    emu.shell->reportsOwnErrors = shellReports;
    auto app = std::make_unique<A>(Platform{emu.registry, *emu.files, *emu.shell, emu.desktop});
    // The window shows both lists once it has started.
    if (handler.started) (void)(app->AddonManager_Form_Load(), app->File1.ListCount() + app->File2.ListCount());
    if (handler.prepare) handler.prepare(*app, emu);
    Outcome out;
    out.before = emu.Drive();
    const std::size_t shown = emu.desktop.boxes.size();
    const auto count = [&](int sign) {
        for (int op = 0; op < kFileOps; ++op) out.calls[op] += sign * emu.files->Calls(static_cast<FileOp>(op));
    };
    count(-1);
    if (arm) arm(emu);
    EXPECT_NO_THROW(handler.act(*app, emu));
    count(1);
    EXPECT_FALSE(app->Busy || app->FavoritesBusy);
    EXPECT_EQ(emu.files->OpenHandles() + emu.registry.OpenHandles(), 0);
    for (std::size_t i = shown; i < emu.desktop.boxes.size(); ++i) {
        const auto& box = emu.desktop.boxes[i];
        out.boxes.push_back(box.caption + ": " + box.text);
        EXPECT_TRUE(box.caption == "VARNX" && !box.text.empty()) << out.boxes.back();
    }
    out.after = emu.Drive();
    out.ended = app->Ended();
    return out;
}

// Paths whose bytes are neither those they had nor those the handler meant
// them to have, and bytes of a file that are gone from the drive although
// the handler meant to keep them.
Strings Damage(const Drive& before, const Drive& meant, const Drive& after) {
    std::set<Text> paths;
    for (const Drive* drive : {&before, &meant, &after})
        for (const auto& [path, bytes] : *drive) paths.insert(path);
    const auto at = [](const Drive& drive, const Text& path) {
        return drive.contains(path) ? drive.at(path) : "<none>";
    };
    const auto holds = [](const Drive& drive, const std::string& bytes) {
        return std::any_of(drive.begin(), drive.end(), [&](const auto& entry) { return entry.second == bytes; });
    };
    Strings damage;
    for (const Text& path : paths)
        if (const auto now = at(after, path); now != at(before, path) && now != at(meant, path))
            damage.push_back(path + " holds " + now);
    for (const auto& [path, bytes] : before)
        if (bytes != "<folder>" && holds(meant, bytes) && !holds(after, bytes))
            damage.push_back(path + " lost its bytes");
    return damage;
}

TEST(Faults, EveryCallOfEveryFileOperationFailingInTurnLosesNothingAndIsToldUnlessTheShellTellsIt) {
    int cases = 0;
    for (const Handler& handler : kHandlers) {
        SCOPED_TRACE(handler.name);
        const Outcome clean = Walk(handler, {});
        EXPECT_EQ(clean.boxes, Strings{});
        for (int op = 0; op < kFileOps; ++op) {
            const auto fileOp = static_cast<FileOp>(op);
            const bool byShell = fileOp == FileOp::Rename || fileOp == FileOp::Recycle;
            for (int n = 1; n <= clean.calls[op]; ++n)
                for (const bool shellReports : {false, true}) {
                    if (shellReports && !byShell) continue;
                    SCOPED_TRACE(std::string(kOpNames[op]) + " call " + std::to_string(n) +
                                 (shellReports ? ", the shell showing its own box" : ""));
                    const std::uint32_t code = n % 2 ? errc::kAccessDenied : errc::kSharingViolation;
                    const Outcome o = Walk(
                        handler, [&](Emulation& emu) { emu.files->FailOn(fileOp, n, code); }, shellReports);
                    ++cases;
                    EXPECT_GE(o.calls[op], n) << "the failure was never met";
                    EXPECT_EQ(o.before, clean.before);
                    EXPECT_EQ(Damage(o.before, clean.after, o.after), Strings{});
                    if (byShell && shellReports) {
                        EXPECT_EQ(o.boxes, clean.boxes);
                    } else if (o.after != clean.after || o.ended != clean.ended) {
                        EXPECT_GT(o.boxes.size(), clean.boxes.size()) << "a failure that changed the outcome is untold";
                    }
                }
        }
    }
    std::cout << "[ FAULTS   ] " << cases << " failure cases run over " << std::size(kHandlers) << " handlers\n";
}

Arm Fail(FileOp op, std::uint32_t code) {
    return [=](Emulation& emu) { emu.files->FailOn(op, 1, code); };
}
Arm Lock(Text path, bool readOnly = false) {
    return [=](Emulation& emu) { readOnly ? emu.files->Protect(path) : emu.files->Lock(path); };
}
// `path` vanishes, or appears holding `bytes`, just before the first call
// of `op` on a path holding `when`.
Arm Before(FileOp op, Text when, Text path, const char* bytes = nullptr) {
    return [=](Emulation& emu) {
        emu.files->Before(op, [=, &emu, done = false](const Text& at) mutable {
            if (done || at.find(when) == Text::npos) return;
            done = true;
            bytes ? emu.Write(path, bytes) : (void)fs::remove_all(emu.files->HostPath(path));
        });
    };
}

// The drive after `changes`, words that name a file by the end of its path:
// "a>b" renames it to b, "a-" removes it, "a=bytes" gives it those bytes (a
// new file goes into the game's addon folder).
Drive Changed(Drive drive, const Text& changes) {
    std::istringstream words(changes);
    for (Text word; words >> word;) {
        const auto op = word.find_first_of(">-=");
        const Text name = word.substr(0, op), arg = word.substr(op + 1);
        const auto at =
            std::find_if(drive.begin(), drive.end(), [&](auto& e) { return e.first.ends_with("/" + name); });
        const Text path = at != drive.end() ? at->first : "Games/OFP/ADDONS/" + name;
        const std::string bytes = drive[path];
        drive.erase(path);
        if (word[op] == '>') drive[path.substr(0, path.rfind('/') + 1) + arg] = bytes;
        if (word[op] == '=') drive[path] = arg;
    }
    return drive;
}

TEST(Faults, FilesThatVanishAppearOrAreLockedOrReadOnlyBetweenTwoStepsAreToldAndLoseNothing) {
    struct Case {
        const char* handler;
        Arm arm;
        Text box, changes = {};  // box: a part of the one box's text, "" for none
    };
    const Text rename = "VARNX: Varnex could not rename C:\\Games\\OFP\\ADDONS\\";
    const Text inUse = ": the file is in use by another program";
    const Case cases[] = {
        {"Command2", Before(FileOp::Rename, "tank", InAddons("tank.pbx"), "other"),
         rename + "tank.pbo to tank.pbx: a file of that name already exists.", "tank.pbx=other"},
        // The walk goes on past an addon it could not rename, and tells
        // what it left in one box at its end.
        {"Command6", Lock(kHeli, true), "VARNX: 1 addon was left as it was:\r\n\r\nheli.pbx: access is denied",
         "jeep.pbx>jeep.pbo"},
        {"Command2", Fail(FileOp::Rename, 0x79), rename + "tank.pbo to tank.pbx: the path is too long."},
        {"Command2", Fail(FileOp::Rename, 0x81), rename + "tank.pbo to tank.pbx: the name is too long."},
        // A file the game holds open: Wine's shell calls it missing, the
        // file itself tells it is there and in use.
        {"Command3", Lock(kHeli), rename + "heli.pbx to heli.pbo" + inUse + ". Is the game running?"},
        // Load List's "Deactivate all" tells its failures in Load List's box.
        {"LoadFavorits", Lock(kTank),
         "VARNX: 1 addon was left as it was:\r\n\r\ntank.pbo" + inUse + "\r\n\r\nIs the game running?",
         "heli.pbx>heli.pbo"},
        {"Command1, yes", Lock(kHeliTxt), "information file " + kHeliTxt + " could not be removed" + inUse + ".",
         "heli.pbx-"},
        {"Command1, yes", Before(FileOp::Delete, "heli", kHeliTxt), "", "heli.pbx- heli.txt-"},
        {"Command4", Before(FileOp::Replace, "ADDONS", kGameComments), "", "ADDONS/Comments.txt=//tankNew//heliH"},
        {"SaveFavorits", Lock(kList), "favorites list " + kList + " could not be written" + inUse},
        {"LoadFavorits", Before(FileOp::FileLength, "fav", kList),
         "favorites list " + kList +
             " was not found.\r\n\r\nEvery addon that is not one of the game's own has been deactivated; none was "
             "activated.",
         "tank.pbo>tank.pbx fav.txtf-"},
        {"LoadFavorits", Lock(kList), "favorites list " + kList + " cannot be read" + inUse + ".", "tank.pbo>tank.pbx"},
        {"File2_DblClick", Lock(kHeliTxt), "information file " + kHeliTxt + " cannot be read" + inUse + "."},
        // Gone after it was measured: the read makes it anew, empty, and
        // it is removed again.
        {"File2_DblClick", Before(FileOp::Open, "heli", kHeliTxt), "", "heli.txt-"},
        // A folder that cannot be read is told before a walk would pass
        // over its addons, and no empty list is written for it.
        {"Command5", Fail(FileOp::ListFolder, errc::kAccessDenied),
         "VARNX: The addon folder C:\\Games\\OFP\\ADDONS cannot be read: access is denied."},
        {"SaveFavorits, the active list to be re-read", Fail(FileOp::ListFolder, errc::kSharingViolation),
         "addon folder C:\\Games\\OFP\\ADDONS cannot be read" + inUse + "."},
    };
    for (const Case& c : cases)
        for (const bool shellReports : {false, true}) {
            SCOPED_TRACE(c.handler + Text(shellReports ? ", the shell's box: " : ": ") + c.box);
            const Outcome o = Walk(*std::find_if(std::begin(kHandlers), std::end(kHandlers),
                                                 [&](const Handler& h) { return h.name == Text(c.handler); }),
                                   c.arm, shellReports);
            EXPECT_EQ(o.after, Changed(o.before, c.changes));
            // A shell that reports its own errors leaves Varnex's box out.
            const bool byShell = c.box.find("Varnex could not") != Text::npos || c.box.find("left as") != Text::npos;
            const bool told = !c.box.empty() && !(shellReports && byShell);
            EXPECT_EQ(o.boxes.size(), told ? 1u : 0u) << ::testing::PrintToString(o.boxes);
            EXPECT_TRUE(!told || o.boxes.empty() || o.boxes[0].find(c.box) != Text::npos) << o.boxes[0];
            EXPECT_EQ(o.ended, Text(c.handler) == "Command4");
        }
}

}  // namespace
}  // namespace varnex::testing
