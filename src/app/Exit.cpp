// Exit: the only way out that keeps what was done during the run.
#include "app/AddonManager.hpp"

namespace varnex {

void AddonManager::WriteCommentsFile(const Text& path, const Text& comments, bool unreadable) {
    // A file that could not be read at start-up holds comments this run
    // never saw: writing the empty text over it would lose them.
    if (unreadable) return;
    // The new text is written beside the file and swapped in, so a failure
    // leaves the file as it was instead of empty or half-written.
    const IoStatus status = platform_.files.ReplaceContent(path, comments);
    if (!status.ok())
        Box("The comments could not be saved to " + path + ": " + DescribeError(status.code) +
            ".\r\n\r\nThe file keeps the content it had before; the comments saved in this session are lost.");
}

void AddonManager::AddonManager_Command4_Click() {
    regAccess_.WriteRegValue(HKEY_LOCAL_MACHINE_, kGameKey, "VARNX", OthersFolder, REG_SZ_);
    AddonFolder = GameFolder + "\\ADDONS\\Comments.txt";
    WriteCommentsFile(AddonFolder, CommentsGame, commentsGameUnreadable_);
    if (Label3.ForeColor() != kColorGrayText) {
        AddonFolder = GameFolder + "\\Res\\AddOns\\Comments.txt";
        WriteCommentsFile(AddonFolder, CommentsRes, commentsResUnreadable_);
    }
    EndProgram();
}

}  // namespace varnex
