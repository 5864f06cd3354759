// Switching addons: one at a time or all at once, by renaming the last
// letter of the file name through the shell.
#include "app/AddonManager.hpp"

namespace varnex {

void AddonManager::ReReadLists() {
    // Both lists are asked first and read after, so that they share one
    // listing of the folder.
    File2.Refresh();
    File1.Refresh();
    File2.ReadPending();
    File1.ReadPending();
}

bool AddonManager::NameTaken(const Text& shellPath) {
    Text path = shellPath;
    path[FindLastLetterOf(path, "/")] = '\\';
    std::int64_t length = 0;
    const IoStatus found = platform_.files.FileLength(path, length);
    return found.ok() || (!found.gone() && platform_.files.FolderExists(path));
}

int AddonManager::Refusal(const Filemanager::SHFILEOPSTRUCTA& record) {
    // A path the code page does not hold names no one file: the shell would
    // take its "?" for a wildcard, in the folder's part as in the name.
    if (!Held(record.pFrom) || !Held(record.pTo)) return static_cast<int>(errc::kNameNotHeld);
    // A file the game holds open cannot be switched while it runs. Windows'
    // shell would put up a box of its own for each such file, and a walk
    // over a folder the game holds would bring one per addon.
    if (platform_.files.InUse(ForThePlayer(record.pFrom))) return static_cast<int>(errc::kSharingViolation);
    // Windows' shell offers to replace a file that already has the new name,
    // or to keep both under a third name the game would load as well. A
    // name already taken is refused here instead, on every system alike. A
    // missing source is the shell's to report first, as it always was.
    const bool taken = record.wFunc == Filemanager::FO_RENAME && !EqualIgnoringCase(record.pFrom, record.pTo) &&
                       NameTaken(record.pTo) && NameTaken(record.pFrom);
    return taken ? static_cast<int>(errc::kAlreadyExists) : 0;
}

Text AddonManager::ForThePlayer(const Text& shellPath) {
    Text path = shellPath;
    if (const std::size_t slash = FindLastLetterOf(path, "/"); slash != Text::npos) path[slash] = '\\';
    return path;
}

int AddonManager::RunShell(const Filemanager::SHFILEOPSTRUCTA& record) {
    const int refused = Refusal(record);
    const int result = refused != 0 ? refused : Filemanager::SHFileOperation(platform_.shell, record);
    // Only the player's own cancel goes untold: whether the shell showed a
    // box of its own for a failure cannot be known, and a failure it did
    // not show would be told to nobody.
    if (result == 0 || Filemanager::CancelledByPlayer(result)) return result;
    const Text from = ForThePlayer(record.pFrom);
    const Text name = from.substr(FindLastLetterOf(from, "\\") + 1);
    if (result == static_cast<int>(errc::kNameNotHeld)) {
        if (tallies_ > 0)
            ++notHeldLeft_;
        else
            SayPathNotHeld(from);
        return result;
    }
    // Wine's shell says "not found" for a file the game holds open: the
    // file itself tells whether it is there and held.
    const bool inUse = result == static_cast<int>(errc::kSharingViolation) ||
                       result == static_cast<int>(errc::kLockViolation) || platform_.files.InUse(from);
    const Text reason = inUse ? DescribeError(errc::kSharingViolation) : Filemanager::DescribeShellResult(result);
    const Text advice = inUse ? "Is the game running?" : "";
    if (tallies_ > 0) {
        leftAsTheyWere_.Add(name, reason, advice);
        return result;
    }
    const Text ending = ": " + reason + "." + (advice.empty() ? "" : " " + advice);
    if (record.wFunc == Filemanager::FO_RENAME) {
        const Text to = record.pTo.substr(FindLastLetterOf(record.pTo, "/") + 1);
        Box("Varnex could not rename " + from + " to " + to + ending);
    } else {
        Box("Varnex could not move " + from + " into the recycle bin" + ending);
    }
    return result;
}

void AddonManager::Rename(Filemanager::SHFILEOPSTRUCTA& record, const Text& from, const Text& to) {
    record.wFunc = Filemanager::FO_RENAME;
    record.pFrom = AddonFolder + "/" + from;
    record.pTo = AddonFolder + "/" + to;
    record.fFlags = 0;
    RunShell(record);
}

void AddonManager::SwitchSelected(const Text& name, bool allowed, Text (*newName)(const Text&)) {
    const Raised busy(Busy);
    ReReadLists();
    if (allowed && HeldOrSaid(name)) {
        Filemanager::SHFILEOPSTRUCTA record;
        Rename(record, name, newName(name));
        ReReadLists();
        RefreshLists();
    }
}

void AddonManager::AddonManager_Command3_Click() {
    SwitchSelected(SelectedInactive, !SelectedInactive.empty(), ActiveName);
}

void AddonManager::AddonManager_Command2_Click() {
    SwitchSelected(SelectedActive, !IsOfficial(OfficialAddons, SelectedActive), InactiveName);
}

void AddonManager::SwitchAll(FileListBox& list, const char* verb, const Text& done,
                             const std::function<bool(Filemanager::SHFILEOPSTRUCTA&)>& visit) {
    const Raised busy(Busy);
    Tally tally(*this);
    ReReadLists();
    if (Readable(list) && list.ListCount() >= 1) {
        Filemanager::SHFILEOPSTRUCTA record;
        if (!WalkBySelection(list, verb, [&] { return visit(record); })) ReportWalkLimit(list, done);
        ReReadLists();
    }
    RefreshLists();
    tally.Report("were left as they are", "was left as it is");
}

void AddonManager::AddonManager_Command6_Click() {
    SwitchAll(File2, "Activating", "activated", [this](Filemanager::SHFILEOPSTRUCTA& record) {
        SelectedInactive = File2.FileName();
        if (SelectedInactive.empty()) return false;
        if (LeftAlone(SelectedInactive)) return true;
        Rename(record, SelectedInactive, ActiveName(SelectedInactive));
        return true;
    });
}

void AddonManager::AddonManager_Command5_Click() {
    SwitchAll(File1, "Deactivating", "deactivated", [this](Filemanager::SHFILEOPSTRUCTA& record) {
        SelectedActive = File1.FileName();
        if (!IsOfficial(OfficialAddons, SelectedActive) && !LeftAlone(SelectedActive))
            Rename(record, SelectedActive, InactiveName(SelectedActive));
        return true;
    });
}

}  // namespace varnex
