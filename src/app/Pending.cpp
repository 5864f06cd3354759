// Handlers still to be written; each moves to its subsystem's folder.
#include "app/AddonManager.hpp"

namespace varnex {

void AddonManager::AddonManager_Option1_Click() {}
void AddonManager::AddonManager_Option2_Click() {}
void AddonManager::AddonManager_Option3_Click() {}
void AddonManager::AddonManager_Dir1_Change() {}
void AddonManager::AddonManager_File1_Click() {}
void AddonManager::AddonManager_File2_Click() {}
void AddonManager::AddonManager_File1_DblClick() {}
void AddonManager::AddonManager_File2_DblClick() {}
void AddonManager::AddonManager_Command3_Click() {}
void AddonManager::AddonManager_Command2_Click() {}
void AddonManager::AddonManager_Command6_Click() {}
void AddonManager::AddonManager_Command5_Click() {}
void AddonManager::AddonManager_Command1_Click() {}
void AddonManager::AddonManager_Command4_Click() {}
void AddonManager::AddonManager_Save_Click() {}
void AddonManager::AddonManager_Text1_Change() {}
void AddonManager::AddonManager_LoadFavorits_Click() {}
void AddonManager::AddonManager_SaveFavorits_Click() {}
void AddonManager::RefreshLists() {}
void AddonManager::ShowComment() {}
Text* AddonManager::ChosenComments() { return nullptr; }

}  // namespace varnex
