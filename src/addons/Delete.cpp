// Deleting an inactive addon into the recycle bin, with its companion text
// file removed for good.
#include "app/AddonManager.hpp"

namespace varnex {

void AddonManager::AddonManager_Command1_Click() {
    const Raised busy(Busy);
    ReReadLists();
    if (SelectedInactive.empty()) {
        (void)platform_.desktop.MessageBox("No addon selected", kProgramTitle, kMbOk);
    } else if (HeldOrSaid(SelectedInactive)) {
        // Only a held name stands for this one file: the shell takes a "?"
        // as a wildcard and would move every addon it matches.
        DeleteSelected();
        File2.Refresh();
        File2.ReadPending();
    }
}

void AddonManager::DeleteSelected() {
    Filemanager::SHFILEOPSTRUCTA record;
    record.wFunc = Filemanager::FO_DELETE;
    record.pFrom = AddonFolder + "/" + SelectedInactive;
    record.fFlags = Filemanager::FOF_ALLOWUNDO;
    const Text addon = AddonFolder + "\\" + SelectedInactive;
    const Text companion = AddonFolder + "\\" + CutRight(SelectedInactive, 4) + ".txt";
    // A folder the code page does not hold may hold other files that its
    // "?" would match, the companion's among them.
    if (!Held(addon)) return SayPathNotHeld(addon);
    // The name kept from another folder, or a file gone since the list was
    // read: the companion that stands here belongs to no addon the player
    // chose, and stays.
    std::int64_t length = 0;
    if (platform_.files.FileLength(addon, length).gone()) {
        const bool companionHere = platform_.files.FileLength(companion, length).ok();
        Box("Varnex could not move " + addon + " into the recycle bin: " + DescribeError(errc::kFileNotFound) + "." +
            (companionHere ? " Its information file " + companion + " is left as it is." : ""));
        return;
    }
    // The player is asked before anything goes: by the shell, or here when
    // the shell would not ask. What the program refuses itself (a file held
    // open) is refused before anyone is asked.
    int result = static_cast<int>(errc::kCancelled);
    if (Refusal(record) != 0 || platform_.shell.ConfirmsDelete() ||
        Box("Move " + addon + " into the recycle bin?\r\n\r\nIts information file " + companion +
                " is removed for good either way.",
            kMbYesNo | kMbIconQuestion) == kIdYes)
        result = RunShell(record);
    // The companion goes whatever the shell did, also when the player kept
    // the addon; not when the addon vanished before the shell reached it.
    if (result != 0 && !Filemanager::CancelledByPlayer(result) && platform_.files.FileLength(addon, length).gone())
        return;
    const IoStatus removed = platform_.files.Delete(companion);
    if (!removed.ok() && !removed.gone())
        Box("The information file " + companion + " could not be removed: " + DescribeError(removed.code) + ".");
}

}  // namespace varnex
