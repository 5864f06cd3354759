// Files that vanish, appear, become read-only or locked between two steps of
// a handler: whatever fails, no exception escapes, both flags end false, no
// file is left open, the failure is told in one box (the program's, or on
// Windows the shell's own where it asks the player) and the drive changes
// only as the handler meant.
#include <optional>
#include <sstream>

#include "support/Fixture.hpp"

namespace varnex::testing {
namespace {

using platform::emulated::FileOp;
using Drive = std::map<Text, std::string>;
using A = AddonManager;
using Arm = std::function<void(A&, Emulation&)>;

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

// The buttons and menu entries the races are run on.
using Press = void (A::*)();
const Press kOn = &A::AddonManager_Command3_Click, kOff = &A::AddonManager_Command2_Click;
const Press kAllOn = &A::AddonManager_Command6_Click, kAllOff = &A::AddonManager_Command5_Click;
const Press kDelete = &A::AddonManager_Command1_Click, kExit = &A::AddonManager_Command4_Click;
const Press kLoad = &A::AddonManager_LoadFavorits_Click, kSave = &A::AddonManager_SaveFavorits_Click;

Arm Fail(FileOp op, std::uint32_t code) {
    return [=](A&, Emulation& emu) { emu.files->FailOn(op, 1, code); };
}
Arm Lock(Text path, bool readOnly = false) {
    return [=](A&, Emulation& emu) { readOnly ? emu.files->Protect(path) : emu.files->Lock(path); };
}
// `path` vanishes, or appears holding `bytes`, just before the first call
// of `op` on a path holding `when`.
Arm Before(FileOp op, Text when, Text path, const char* bytes = nullptr) {
    return [=](A&, Emulation& emu) {
        emu.files->Before(op, [=, &emu, done = false](const Text& at) mutable {
            if (done || at.find(when) == Text::npos) return;
            done = true;
            bytes ? emu.Write(path, bytes) : (void)fs::remove_all(emu.files->HostPath(path));
        });
    };
}

// `step` of the player's, then `arm`.
Arm After(std::function<void(A&)> step, Arm arm) {
    return [=](A& app, Emulation& emu) { step(app), arm(app, emu); };
}

// `arm`, then the active list read again, as the last handler leaves it.
Arm ReReadAfter(Arm arm) {
    return [=](A& app, Emulation& emu) { arm(app, emu), app.File1.Refresh(), app.File1.ReadPending(); };
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
    Press press;  // none: a double click on the entry
    const char* entry;  // the entry selected first, if any
    Arm arm;
    // A part of the one box's text as "caption: text", "" for none; and
    // what Windows' shell shows instead, where it does.
    Text box, changes = {};
    std::optional<Text> onWindows = {};
};

using Faults = BothShells;

// Runs the case's handler on a fresh installation, the failures armed once
// it is prepared, and checks what must hold after any failure. The question
// before a delete, answered Yes, is not counted.
void Walk(const Case& c, ShellKind kind) {
    Emulation emu(kind);
    Install(emu);
    auto app = emu.Launch();
    emu.desktop.dialogAnswers = {kList};
    if (c.press == kDelete) emu.desktop.boxAnswers = {kIdYes};
    if (c.entry && c.press) ClickOn(Text(c.entry).ends_with("o") ? app->File1 : app->File2, c.entry);
    const Drive before = emu.Drive();
    const std::size_t shown = emu.desktop.boxes.size();
    c.arm(*app, emu);
    EXPECT_NO_THROW(c.press ? ((*app).*c.press)() : DoubleClick(app->File2, c.entry));
    EXPECT_FALSE(app->Busy || app->FavoritesBusy);
    EXPECT_EQ(emu.files->OpenHandles() + emu.registry.OpenHandles(), 0);
    EXPECT_EQ(emu.Drive(), Changed(before, c.changes));
    EXPECT_EQ(app->Ended(), c.press == kExit);
    Strings told;
    for (std::size_t i = shown; i < emu.desktop.boxes.size(); ++i) {
        const auto& box = emu.desktop.boxes[i];
        const bool question = box.style == (kMbYesNo | kMbIconQuestion) || box.caption == "Delete File" ||
                              box.caption == "Confirm file deletion";
        if (c.press != kDelete || !question) told.push_back(box.caption + ": " + box.text);
    }
    const Text want = kind == ShellKind::Windows && c.onWindows ? *c.onWindows : c.box;
    ASSERT_EQ(told.size(), want.empty() ? 0u : 1u) << ::testing::PrintToString(told);
    if (!want.empty()) {
        EXPECT_NE(told[0].find(want), Text::npos) << told[0];
    }
}

TEST_P(Faults, FilesChangedBetweenTwoStepsAreToldAndLoseNothing) {
    const Text rename = "VARNX: Varnex could not rename C:\\Games\\OFP\\ADDONS\\";
    const Text inUse = ": the file is in use by another program";
    const Text fileInUse = "File In Use: The action can't be completed because the file is open in another program.";
    const Case cases[] = {
        // After the program looked: Windows' shell offers to replace the
        // other file or keep both, and the player's Cancel is his own.
        {kOff, "tank.pbo", Before(FileOp::Rename, "tank", InAddons("tank.pbx"), "other"),
         rename + "tank.pbo to tank.pbx: a file of that name already exists.", "tank.pbx=other",
         "Replace or Skip Files: The destination already has a file named \"tank.pbx\"."},
        // The game takes the file after the program looked: Wine's shell
        // calls it missing, Windows' asks to close it.
        {kOff, "tank.pbo",
         [](A&, Emulation& emu) { emu.files->Before(FileOp::Rename, [&emu](const Text&) { emu.files->Lock(kTank); }); },
         rename + "tank.pbo to tank.pbx" + inUse + ". Is the game running?", "", fileInUse},
        // The walk goes on past an addon it could not rename, and tells
        // what it left in one box at its end.
        {kAllOn, nullptr, Lock(kHeli, true), "VARNX: 1 addon was left as it was:\r\n\r\nheli.pbx: access is denied",
         "jeep.pbx>jeep.pbo"},
        {kOff, "tank.pbo", Fail(FileOp::Rename, 0x81), rename + "tank.pbo to tank.pbx: the name is too long."},
        // A file the game holds open: Wine's shell calls it missing, the
        // file itself tells it is there and in use.
        {kOn, "heli.pbx", Lock(kHeli), rename + "heli.pbx to heli.pbo" + inUse + ". Is the game running?"},
        // Load List's "Deactivate all" tells its failures in Load List's box.
        {kLoad, nullptr, Lock(kTank),
         "VARNX: 1 addon was left as it was:\r\n\r\ntank.pbo" + inUse + "\r\n\r\nIs the game running?",
         "heli.pbx>heli.pbo"},
        {kDelete, "heli.pbx", Lock(kHeliTxt), "information file " + kHeliTxt + " could not be removed" + inUse + ".",
         "heli.pbx-"},
        {kDelete, "heli.pbx", Before(FileOp::Delete, "heli", kHeliTxt), "", "heli.pbx- heli.txt-"},
        // Held by the game: refused before anyone is asked, on both shells;
        // its companion goes, as after any delete that did not happen.
        {kDelete, "heli.pbx", Lock(kHeli),
         "Varnex could not move " + kHeli + " into the recycle bin" + inUse + ". Is the game running?", "heli.txt-"},
        // Gone before the shell reached it: its companion stays.
        {kDelete, "heli.pbx", Before(FileOp::Recycle, "heli", kHeli),
         "Varnex could not move " + kHeli + " into the recycle bin: the file does not exist.", "heli.pbx-"},
        {kExit, nullptr,
         After([](A& app) { SaveComment(app, app.File1, "tank.pbo", "New"); },
               Before(FileOp::Replace, "ADDONS", kGameComments)),
         "", "ADDONS/Comments.txt=//tankNew//heliH"},
        {kLoad, nullptr, Before(FileOp::FileLength, "fav", kList),
         "favorites list " + kList +
             " was not found.\r\n\r\nEvery addon that is not one of the game's own has been deactivated; none was "
             "activated.",
         "tank.pbo>tank.pbx fav.txtf-"},
        {nullptr, "heli.pbx", Lock(kHeliTxt), "information file " + kHeliTxt + " cannot be read" + inUse + "."},
        // Gone after it was measured: the read makes it anew, empty, and
        // it is removed again.
        {nullptr, "heli.pbx", Before(FileOp::Open, "heli", kHeliTxt), "", "heli.txt-"},
        // A folder that cannot be read is told before a walk would pass
        // over its addons, and no empty list is written for it.
        {kAllOff, nullptr, Fail(FileOp::ListFolder, errc::kAccessDenied),
         "VARNX: The addon folder C:\\Games\\OFP\\ADDONS cannot be read: access is denied."},
        {kSave, nullptr, ReReadAfter(Fail(FileOp::ListFolder, errc::kSharingViolation)),
         "addon folder C:\\Games\\OFP\\ADDONS cannot be read" + inUse + "."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.box + " " + c.changes);
        Walk(c, GetParam());
    }
}

VARNEX_ON_BOTH_SHELLS(Faults);

}  // namespace
}  // namespace varnex::testing
