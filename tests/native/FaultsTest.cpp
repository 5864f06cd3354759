// Files that vanish, appear, become read-only or locked between two steps of
// a handler: whatever fails, no exception escapes, both flags end false, no
// file is left open, the failure is told in one "VARNX" box (none where the
// shell tells it itself) and the drive changes only as the handler meant.
#include <sstream>

#include "support/Fixture.hpp"

namespace varnex::testing {
namespace {

using emulated::FileOp;
using Drive = std::map<Text, std::string>;
using A = AddonManager;
using Arm = std::function<void(Emulation&)>;

const Text kList = "C:\\Lists\\fav.txtf", kGameComments = InAddons("Comments.txt");
const Text kTank = InAddons("tank.pbo"), kHeli = InAddons("heli.pbx"), kHeliTxt = InAddons("heli.txt");

// The game with its expansion: tank.pbo, the official ABox.pbo, heli.pbx
// with its companion and jeep.pbx in the game's folder, each addon of bytes
// of its own; a comments file in both fixed folders; C:\Mods remembered as
// the other folder; a favorites list naming heli.
void Install(Emulation& emu) {
    emu.InstallGame();
    std::istringstream files("tank.pbo " + Text(1500, 't') +
                             " ABox.pbo official heli.pbx heli heli.txt /x/authorAnn jeep.pbx jeep Comments.txt "
                             "//tankT//heliH C:\\Games\\OFP\\Res\\AddOns\\Comments.txt //modR "
                             "C:\\Games\\OFP\\Res\\AddOns\\mod.pbo mod C:\\Mods\\m1.pbo m1 C:\\Mods\\m2.pbx m2");
    for (Text path, bytes; files >> path >> bytes;)
        emu.Write(path.find(":") != Text::npos ? path : InAddons(path), bytes);
    emu.Write(kList, "heli.pbx ");
    emu.registry.SetString(kGameKey, "VARNX", "C:\\Mods");
}

// A handler: the entry it is pressed with, if any, and the press. Save
// comment before Exit, a double click, and the re-read before Save List are
// the others' steps.
struct Handler {
    const char* name;
    FileListBox A::*list;
    const char* entry;
    void (A::*press)();
};

const Handler kHandlers[] = {
    {"Command6", nullptr, nullptr, &A::AddonManager_Command6_Click},
    {"Command5", nullptr, nullptr, &A::AddonManager_Command5_Click},
    {"Command3", &A::File2, "heli.pbx", &A::AddonManager_Command3_Click},
    {"Command2", &A::File1, "tank.pbo", &A::AddonManager_Command2_Click},
    {"Command1", &A::File2, "heli.pbx", &A::AddonManager_Command1_Click},
    {"File2_DblClick", nullptr, nullptr, nullptr},
    {"Command4", &A::File1, "tank.pbo", &A::AddonManager_Command4_Click},
    {"LoadFavorits", nullptr, nullptr, &A::AddonManager_LoadFavorits_Click},
    {"SaveFavorits, the active list to be re-read", nullptr, nullptr, &A::AddonManager_SaveFavorits_Click},
};

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

struct Case {
    const char* handler;
    Arm arm;
    Text box, changes = {};  // box: a part of the one box's text, "" for none
};

// Runs the case's handler on a fresh installation, the failures armed once
// it is prepared, and checks what must hold after any failure.
void Walk(const Case& c, bool shellReports) {
    const Handler& handler = *std::find_if(std::begin(kHandlers), std::end(kHandlers),
                                           [&](const Handler& h) { return h.name == Text(c.handler); });
    Emulation emu;
    Install(emu);
    emu.shell->reportsOwnErrors = shellReports;
    auto app = emu.Launch();
    (void)(app->File1.ListCount() + app->File2.ListCount());  // the window shows both lists
    emu.desktop.dialogAnswers = {kList};
    if (handler.list) ClickOn((*app).*handler.list, handler.entry);
    if (handler.press == &A::AddonManager_Command4_Click) SaveComment(*app, app->File1, "tank.pbo", "New");
    if (Text(handler.name).ends_with("re-read")) app->File1.Refresh();
    const Drive before = emu.Drive();
    const std::size_t shown = emu.desktop.boxes.size();
    c.arm(emu);
    EXPECT_NO_THROW(handler.press ? ((*app).*handler.press)() : DoubleClick(app->File2, "heli.pbx"));
    EXPECT_FALSE(app->Busy || app->FavoritesBusy);
    EXPECT_EQ(emu.files->OpenHandles() + emu.registry.OpenHandles(), 0);
    EXPECT_EQ(emu.Drive(), Changed(before, c.changes));
    EXPECT_EQ(app->Ended(), Text(c.handler) == "Command4");
    // A shell that reports its own errors leaves Varnex's box out.
    const bool byShell = c.box.find("Varnex could not") != Text::npos || c.box.find("left as") != Text::npos;
    const bool told = !c.box.empty() && !(shellReports && byShell);
    ASSERT_EQ(emu.desktop.boxes.size() - shown, told ? 1u : 0u) << ::testing::PrintToString(emu.Boxes());
    if (!told) return;
    const auto& box = emu.desktop.boxes.back();
    EXPECT_EQ(box.caption, "VARNX");
    EXPECT_NE(("VARNX: " + box.text).find(c.box), Text::npos) << box.text;
}

TEST(Faults, FilesThatVanishAppearOrAreLockedOrReadOnlyBetweenTwoStepsAreToldAndLoseNothing) {
    const Text rename = "VARNX: Varnex could not rename C:\\Games\\OFP\\ADDONS\\";
    const Text inUse = ": the file is in use by another program";
    const Case cases[] = {
        {"Command2", Before(FileOp::Rename, "tank", InAddons("tank.pbx"), "other"),
         rename + "tank.pbo to tank.pbx: a file of that name already exists.", "tank.pbx=other"},
        // The walk goes on past an addon it could not rename, and tells
        // what it left in one box at its end.
        {"Command6", Lock(kHeli, true), "VARNX: 1 addon was left as it was:\r\n\r\nheli.pbx: access is denied",
         "jeep.pbx>jeep.pbo"},
        {"Command2", Fail(FileOp::Rename, 0x81), rename + "tank.pbo to tank.pbx: the name is too long."},
        // A file the game holds open: Wine's shell calls it missing, the
        // file itself tells it is there and in use.
        {"Command3", Lock(kHeli), rename + "heli.pbx to heli.pbo" + inUse + ". Is the game running?"},
        // Load List's "Deactivate all" tells its failures in Load List's box.
        {"LoadFavorits", Lock(kTank),
         "VARNX: 1 addon was left as it was:\r\n\r\ntank.pbo" + inUse + "\r\n\r\nIs the game running?",
         "heli.pbx>heli.pbo"},
        {"Command1", Lock(kHeliTxt), "information file " + kHeliTxt + " could not be removed" + inUse + ".",
         "heli.pbx-"},
        {"Command1", Before(FileOp::Delete, "heli", kHeliTxt), "", "heli.pbx- heli.txt-"},
        {"Command4", Before(FileOp::Replace, "ADDONS", kGameComments), "", "ADDONS/Comments.txt=//tankNew//heliH"},
        {"LoadFavorits", Before(FileOp::FileLength, "fav", kList),
         "favorites list " + kList +
             " was not found.\r\n\r\nEvery addon that is not one of the game's own has been deactivated; none was "
             "activated.",
         "tank.pbo>tank.pbx fav.txtf-"},
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
            Walk(c, shellReports);
        }
}

}  // namespace
}  // namespace varnex::testing
