// Deleting an inactive addon into the recycle bin, with its companion text
// file removed for good.
#include "app/AddonManager.hpp"

namespace varnex {

void AddonManager::AddonManager_Command1_Click() {
    Busy = true;
    File2.Refresh();
    File1.Refresh();
    if (SelectedInactive.empty()) {
        (void)platform_.desktop.MessageBox("No addon selected", kProgramTitle, kMbOk);
    } else if (HeldOrSaid(SelectedInactive)) {
        // Only a held name stands for this one file: the shell takes a "?"
        // as a wildcard and would move every addon it matches.
        Filemanager::SHFILEOPSTRUCTA record;
        record.wFunc = Filemanager::FO_DELETE;
        record.pFrom = AddonFolder + "/" + SelectedInactive;
        record.fFlags = Filemanager::FOF_ALLOWUNDO;
        const Text companion = AddonFolder + "\\" + CutRight(SelectedInactive, 4) + ".txt";
        // The player is asked before anything goes: by the shell, or here
        // when the shell would not ask.
        if (platform_.shell.ConfirmsDelete() ||
            platform_.desktop.MessageBox("Move " + AddonFolder + "\\" + SelectedInactive +
                                             " into the recycle bin?\r\n\r\nIts information file " + companion +
                                             " is removed for good either way.",
                                         kProgramTitle, kMbYesNo | kMbIconQuestion) == kIdYes)
            RunShell(record);
        // The companion goes whatever the shell did, also when the player
        // kept the addon.
        const IoStatus removed = platform_.files.Delete(companion);
        if (!removed.ok() && !removed.gone())
            Box("The information file " + companion + " could not be removed: " + DescribeError(removed.code) + ".");
        File2.Refresh();
    }
    Busy = false;
}

}  // namespace varnex
