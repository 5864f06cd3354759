// Names the system's code page does not hold: every box that tells the
// player so, and the tally of the addons a walk leaves alone, for that
// reason or because the shell could not switch them.
#include "app/AddonManager.hpp"

namespace varnex {

namespace {

// What the player can do about such a name of a "file" or a "folder".
Text WhatToDo(const char* what) {
    return Text("Rename the ") + what +
           " in Explorer, or change Windows' language setting for non-Unicode programs (Control Panel, Region, "
           "Administrative) to one that holds these letters.";
}
const Text kWhatToDo = WhatToDo("file");

}  // namespace

bool AddonManager::HeldOrSaid(const Text& name) {
    if (Held(name) && Switchable(name)) return true;
    Box("Varnex leaves " + name + " as it is: its name has letters that Windows' language setting for non-Unicode " +
        "programs cannot show, so Varnex cannot tell its file from others.\r\n\r\n" + kWhatToDo);
    return false;
}

void AddonManager::SayPathNotHeld(const Text& path) {
    if (!HeldOrSaid(path.substr(FindLastLetterOf(path, "\\") + 1))) return;
    Box("Varnex leaves " + path + " as it is: its folder's name has letters that Windows' language setting for " +
        "non-Unicode programs cannot show, so Varnex cannot tell its file from others.\r\n\r\n" + WhatToDo("folder"));
}

AddonManager::Tally::Tally(AddonManager& app) : app_(app) {
    if (app_.tallies_++ > 0) return;
    app_.notHeldLeft_ = 0;
    app_.leftAsTheyWere_.Clear();
}

AddonManager::Tally::~Tally() { --app_.tallies_; }

bool AddonManager::LeftAlone(const Text& name) {
    if (Held(name) && Switchable(name)) return false;
    ++notHeldLeft_;
    return true;
}

void AddonManager::Tally::Report(const char* done, const char* doneOne) {
    if (app_.tallies_ > 1) return;
    Text text = app_.leftAsTheyWere_.Empty() ? Text() : app_.leftAsTheyWere_.Summary();
    if (const int left = app_.notHeldLeft_; left > 0) {
        if (!text.empty()) text += "\r\n\r\n";
        if (left == 1)
            text += Text("1 addon ") + doneOne + ": its name cannot be shown in this language setting.\r\n\r\n";
        else
            text +=
                Grouped(left) + " addons " + done + ": their names cannot be shown in this language setting.\r\n\r\n";
        text += kWhatToDo;
    }
    app_.notHeldLeft_ = 0;
    app_.leftAsTheyWere_.Clear();
    if (!text.empty()) app_.Box(text);
}

bool AddonManager::CommentHeld(const Text& name) {
    // Two addons whose names differ only in letters shown as "?" would
    // share one comment.
    if (!Held(name)) {
        Box("The comment for " + name + " cannot be saved: its name has letters that Windows' language setting for " +
            "non-Unicode programs cannot show, so its comment could not be told from another addon's.\r\n\r\n" +
            kWhatToDo + " Your text stays in the comment box, not saved.");
        return false;
    }
    if (!Text1.Unheld().empty()) {
        Box("The comment for " + name + " cannot be saved as it stands: it holds letters that Windows' language " +
            "setting for non-Unicode programs cannot show (" + Text1.Unheld() + "); the comments file would get " +
            "other letters in their place.\r\n\r\nPlease write them differently, or change that setting. Your text " +
            "stays in the comment box, not saved.");
        return false;
    }
    return true;
}

void AddonManager::SayFolderNotHeld(const Text& folder) {
    if (Held(folder) || folder == folderSaid_) return;
    folderSaid_ = folder;
    Box("Varnex cannot open the folder " + folder + ": " + DescribeError(errc::kNameNotHeld) +
        ". Its lists stay empty, and the folder remembered for \"others\" is kept as it is.\r\n\r\n" +
        "Choose another folder, rename this one in Explorer, or change Windows' language setting for non-Unicode " +
        "programs (Control Panel, Region, Administrative) to one that holds these letters.");
}

}  // namespace varnex
