// Switching addons: one at a time or all at once, by renaming the last
// letter of the file name through the shell.
#include "app/AddonManager.hpp"

namespace varnex {

void AddonManager::ReadPendingLists() {
    File2.ReadPending();
    File1.ReadPending();
}

bool AddonManager::NameTaken(const Text& shellPath) {
    Text path = shellPath;
    path[path.find_last_of('/')] = '\\';
    std::int64_t length = 0;
    const IoStatus found = platform_.files.FileLength(path, length);
    return found.ok() || (!found.gone() && platform_.files.FolderExists(path));
}

void AddonManager::RunShell(const Filemanager::SHFILEOPSTRUCTA& record) {
    ReadPendingLists();
    // Windows' shell offers to replace a file that already has the new name,
    // or to keep both under a third name the game would load as well. A
    // name already taken is refused here instead, on every system alike,
    // before the shell is asked, and the player is told as for any refusal.
    // A missing source is the shell's to report first, as it always was.
    const bool taken = record.wFunc == Filemanager::FO_RENAME && !EqualIgnoringCase(record.pFrom, record.pTo) &&
                       NameTaken(record.pTo) && NameTaken(record.pFrom);
    const int result =
        taken ? static_cast<int>(errc::kAlreadyExists) : Filemanager::SHFileOperation(platform_.shell, record);
    if (result == 0 || Filemanager::CancelledByPlayer(result) || (!taken && platform_.shell.ReportsOwnErrors())) return;
    // The shell's paths join folder and name with "/"; the player reads them
    // the Windows way.
    Text from = record.pFrom;
    const std::size_t slash = from.find_last_of('/');
    from[slash] = '\\';
    // Wine's shell says "not found" for a file the game holds open: the
    // file itself tells whether it is there and held.
    const bool inUse = result == static_cast<int>(errc::kSharingViolation) ||
                       result == static_cast<int>(errc::kLockViolation) || platform_.files.InUse(from);
    const Text reason = inUse ? DescribeError(errc::kSharingViolation) : Filemanager::DescribeShellResult(result);
    const Text advice = inUse ? "Is the game running?" : "";
    if (tallies_ > 0) {
        leftAsTheyWere_.Add(from.substr(slash + 1), reason, advice);
        return;
    }
    const Text ending = ": " + reason + "." + (advice.empty() ? "" : " " + advice);
    if (record.wFunc == Filemanager::FO_RENAME) {
        const Text to = record.pTo.substr(record.pTo.find_last_of('/') + 1);
        Box("Varnex could not rename " + from + " to " + to + ending);
    } else {
        Box("Varnex could not move " + from + " into the recycle bin" + ending);
    }
}

void AddonManager::Rename(Filemanager::SHFILEOPSTRUCTA& record, const Text& from, const Text& to) {
    record.wFunc = Filemanager::FO_RENAME;
    record.pFrom = AddonFolder + "/" + from;
    record.pTo = AddonFolder + "/" + to;
    record.fFlags = 0;
    RunShell(record);
}

void AddonManager::SwitchSelected(const Text& name, bool allowed, Text (*newName)(const Text&)) {
    Busy = true;
    File2.Refresh();
    File1.Refresh();
    if (allowed && HeldOrSaid(name)) {
        Filemanager::SHFILEOPSTRUCTA record;
        Rename(record, name, newName(name));
        File2.Refresh();
        File1.Refresh();
        RefreshLists();
    }
    Busy = false;
}

void AddonManager::AddonManager_Command3_Click() {
    SwitchSelected(SelectedInactive, !SelectedInactive.empty(), ActiveName);
}

void AddonManager::AddonManager_Command2_Click() {
    SwitchSelected(SelectedActive, !IsOfficial(OfficialAddons, SelectedActive), InactiveName);
}

void AddonManager::SwitchAll(FileListBox& list, const char* verb, const Text& done,
                             const std::function<bool(Filemanager::SHFILEOPSTRUCTA&)>& visit) {
    Busy = true;
    Tally tally(*this);
    File2.Refresh();
    File1.Refresh();
    if (Readable(list) && list.ListCount() >= 1) {
        Filemanager::SHFILEOPSTRUCTA record;
        if (!WalkBySelection(list, verb, [&] { return visit(record); })) ReportWalkLimit(list, done);
        File2.Refresh();
        File1.Refresh();
    }
    RefreshLists();
    tally.Report("were left as they are", "was left as it is");
    Busy = false;
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
