// Choosing the addon folder: the game's, the expansion's, or any other one
// picked in the folder list.
#include "app/AddonManager.hpp"

namespace varnex {

void AddonManager::ShowFixedFolder(const Text& folder) {
    const Raised busy(Busy);
    AddonFolder = folder;
    File1.SetPath(AddonFolder);
    File2.SetPath(AddonFolder);
    Dir1.SetVisible(false);
    SelectedActive = "";
    SelectedInactive = "";
    List1.Clear();
    RefreshLists();
    ReReadLists();
}

bool AddonManager::ShowOwnHandling(const Text& folder) {
    if (folder == GameAddons())
        AddonManager_Option1_Click();
    else if (folder == ExpansionAddons())
        AddonManager_Option2_Click();
    else
        return false;
    Dir1.SetVisible(true);
    return true;
}

void AddonManager::ListOtherFolder() {
    SayFolderNotHeld(AddonFolder);
    ReReadLists();
    // A folder without addons keeps the size boxes as they were.
    if (File1.ListCount() + File2.ListCount() >= 1) RefreshLists();
}

void AddonManager::AddonManager_Option1_Click() { ShowFixedFolder(GameAddons()); }

void AddonManager::AddonManager_Option2_Click() { ShowFixedFolder(ExpansionAddons()); }

void AddonManager::AddonManager_Option3_Click() {
    const Raised busy(Busy);
    Dir1.SetPath(OthersFolder);
    File1.SetPath(OthersFolder);
    File2.SetPath(OthersFolder);
    Dir1.SetVisible(true);
    if (!ShowOwnHandling(OthersFolder)) {
        AddonFolder = OthersFolder;
        SelectedActive = "";
        SelectedInactive = "";
        List1.Clear();
        ListOtherFolder();
        // A folder that is gone shows as empty lists without a word; one on
        // a drive this run of Varnex cannot see is told once, as the player
        // sees the drive elsewhere and could not guess why.
        if (File1.ReadError() == errc::kDriveNotFound) (void)Readable(File1);
    }
}

void AddonManager::AddonManager_Dir1_Change() {
    const Raised busy(Busy);
    OthersFolder = Dir1.Path();
    if (!ShowOwnHandling(OthersFolder)) {
        AddonFolder = OthersFolder;
        File1.SetPath(OthersFolder);
        File2.SetPath(OthersFolder);
        ListOtherFolder();
    }
}

}  // namespace varnex
