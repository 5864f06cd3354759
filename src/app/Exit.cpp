// Exit: the only way out that keeps what was done during the run.
#include "app/AddonManager.hpp"

namespace varnex {

void AddonManager::WriteCommentsFile(const Text& path, const Text& comments) {
    const CommentsFileState& file = StateOf(comments);
    // A file that could not be read at start-up holds comments this run
    // never saw: writing the empty text over it would lose them.
    if (file.unreadable) return;
    // Another writer (a second Varnex, a text editor) may have changed the
    // file since start-up. Its text then takes the place of the one read at
    // start-up, and this run's saves are stored into it again, in order, so
    // that each wins for its own addon and everything else the other writer
    // wrote stays. A file that is gone gets this run's text back.
    Text text = comments;
    std::int64_t length = 0;
    IoStatus status = platform_.files.FileLength(path, length);
    Text now;
    if (status.ok()) status = fileNumbers_.ReadWhole(FileNumber, path, now);
    if (!status.ok() && !status.gone()) {
        Box("The comments file " + path + " cannot be read again: " + DescribeError(status.code) +
            ".\r\n\r\nVarnex leaves it as it is; the comments saved in this session are lost.");
        return;
    }
    if (status.ok() && now != file.readAtStart) {
        text = now;
        for (const auto& save : file.saves) StoreComment(text, save.key, save.comment, save.keys->LongerThan(save.key));
    }
    // The new text is written beside the file and swapped in, so a failure
    // leaves the file as it was instead of empty or half-written.
    status = platform_.files.ReplaceContent(path, text);
    if (!status.ok())
        Box("The comments could not be saved to " + path + ": " + DescribeError(status.code) +
            ".\r\n\r\nThe file keeps the content it had before; the comments saved in this session are lost.");
}

void AddonManager::AddonManager_Command4_Click() {
    // A folder that is not held would overwrite the player's setting with "?".
    if (Held(OthersFolder)) regAccess_.WriteRegValue(HKEY_LOCAL_MACHINE_, kGameKey, "VARNX", OthersFolder, REG_SZ_);
    AddonFolder = GameAddons() + "\\Comments.txt";
    WriteCommentsFile(AddonFolder, CommentsGame);
    if (Label3.ForeColor() != kColorGrayText) {
        AddonFolder = ExpansionAddons() + "\\Comments.txt";
        // The expansion's addon folder may be missing (an uninstall left its
        // key behind): no file is made there, and only comments saved for it
        // during the run need a word.
        if (platform_.files.FolderExists(ExpansionAddons()))
            WriteCommentsFile(AddonFolder, CommentsRes);
        else if (!resFile_.saves.empty())
            Box("The comments saved for the expansion's addons cannot be written: the folder " + ExpansionAddons() +
                " does not exist.");
    }
    EndProgram();
}

}  // namespace varnex
