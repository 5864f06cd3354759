#include "app/AddonManager.hpp"

#include <algorithm>

#include "app/GlobaleVariables.hpp"

namespace varnex {

AddonManager::AddonManager(Platform platform)
    : folderReads_(platform.files),
      File1(folderReads_, "*.pbo*"),
      File2(folderReads_, "*.pbx*"),
      Dir1(platform.files),
      platform_(platform),
      regAccess_(platform.registry),
      fileNumbers_(platform.files) {
    UseSystemLetters(platform.files.Letters());
    Text1.SetText("Varnex\r\nv.0.98b\r\n");

    File1.Click = [this] { AddonManager_File1_Click(); };
    File2.Click = [this] { AddonManager_File2_Click(); };
    File1.DblClick = [this] { AddonManager_File1_DblClick(); };
    File2.DblClick = [this] { AddonManager_File2_DblClick(); };
    Option1.Click = [this] { AddonManager_Option1_Click(); };
    Option2.Click = [this] { AddonManager_Option2_Click(); };
    Option3.Click = [this] { AddonManager_Option3_Click(); };
    Dir1.Change = [this] { AddonManager_Dir1_Change(); };
    Command3.Click = [this] { AddonManager_Command3_Click(); };
    Command2.Click = [this] { AddonManager_Command2_Click(); };
    Command6.Click = [this] { AddonManager_Command6_Click(); };
    Command5.Click = [this] { AddonManager_Command5_Click(); };
    Command1.Click = [this] { AddonManager_Command1_Click(); };
    Command4.Click = [this] { AddonManager_Command4_Click(); };
    Save.Click = [this] { AddonManager_Save_Click(); };
    LoadFavorits.Click = [this] { AddonManager_LoadFavorits_Click(); };
    SaveFavorits.Click = [this] { AddonManager_SaveFavorits_Click(); };
    Text1.Change = [this] { AddonManager_Text1_Change(); };
}

AddonManager::~AddonManager() = default;

int AddonManager::Box(const Text& text, std::uint32_t style) {
    // A box ends its text at a NUL character; a path read from the registry
    // may hold some, and the rest of the message must still be seen.
    Text shown = text;
    std::replace(shown.begin(), shown.end(), '\0', '?');
    return platform_.desktop.MessageBox(shown, kProgramTitle, style);
}

void AddonManager::EndProgram() {
    ended_ = true;
    platform_.desktop.EndProgram();
}

}  // namespace varnex
