// Double clicks on an addon open the information window.
#include "app/AddonManager.hpp"

namespace varnex {

void AddonManager::ShowInfo() {
    if (!addonInfo_) addonInfo_ = std::make_unique<AddonInfo>(platform_.files, fileNumbers_, platform_.desktop);
    addonInfo_->Show();
}

void AddonManager::AddonManager_File1_DblClick() {
    AddonManager_File1_Click();
    ShowInfo();
}

void AddonManager::AddonManager_File2_DblClick() {
    AddonManager_File2_Click();
    ShowInfo();
}

}  // namespace varnex
