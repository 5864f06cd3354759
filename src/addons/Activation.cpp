// Switching addons: one at a time or all at once, by renaming the last
// letter of the file name through the shell.
#include "app/AddonManager.hpp"

namespace varnex {

void AddonManager::ReadPendingLists() {
    File2.ReadPending();
    File1.ReadPending();
}

void AddonManager::RunShell(const Filemanager::SHFILEOPSTRUCTA& record) {
    ReadPendingLists();
    const int result = Filemanager::SHFileOperation(platform_.shell, record);
    if (result == 0 || Filemanager::CancelledByPlayer(result) || platform_.shell.ReportsOwnErrors()) return;
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
    if (walkReports_ > 0) {
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

void AddonManager::BeginWalkReport() { ++walkReports_; }

void AddonManager::EndWalkReport() {
    if (--walkReports_ > 0 || leftAsTheyWere_.Empty()) return;
    const Text summary = leftAsTheyWere_.Summary();
    leftAsTheyWere_.Clear();
    Box(summary);
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
    if (allowed) {
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
    BeginWalkReport();
    File2.Refresh();
    File1.Refresh();
    if (Readable(list) && list.ListCount() >= 1) {
        Filemanager::SHFILEOPSTRUCTA record;
        if (!WalkBySelection(list, verb, [&] { return visit(record); })) ReportWalkLimit(list, done);
        File2.Refresh();
        File1.Refresh();
    }
    RefreshLists();
    EndWalkReport();
    Busy = false;
}

void AddonManager::AddonManager_Command6_Click() {
    SwitchAll(File2, "Activating", "activated", [this](Filemanager::SHFILEOPSTRUCTA& record) {
        SelectedInactive = File2.FileName();
        if (SelectedInactive.empty()) return false;
        Rename(record, SelectedInactive, ActiveName(SelectedInactive));
        return true;
    });
}

void AddonManager::AddonManager_Command5_Click() {
    SwitchAll(File1, "Deactivating", "deactivated", [this](Filemanager::SHFILEOPSTRUCTA& record) {
        SelectedActive = File1.FileName();
        if (!IsOfficial(OfficialAddons, SelectedActive)) Rename(record, SelectedActive, InactiveName(SelectedActive));
        return true;
    });
}

}  // namespace varnex
