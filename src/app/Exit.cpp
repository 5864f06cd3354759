// Exit: the only way out that keeps what was done during the run.
#include <algorithm>

#include "app/AddonManager.hpp"

#include <set>
#include <string>

namespace varnex {

AddonManager::ExitWrite AddonManager::AskAfterFailure(const Text& failure) {
    // The player's notes are still in memory: leaving now would lose them,
    // so leaving is the player's choice, and so is going back to copy them.
    const int answer = Box(failure +
                               "Try Again; Continue to leave Varnex without them; or Cancel to go back to Varnex: "
                               "the comments you saved stay in memory, and nothing more is written until you leave "
                               "with Exit again.",
                           kMbCancelTryContinue | kMbIconExclamation);
    if (answer == kIdTryAgain) return ExitWrite::tryAgain;
    return answer == kIdContinue ? ExitWrite::givenUp : ExitWrite::cancelled;
}

AddonManager::ExitWrite AddonManager::WriteCommentsFile(const Text& path, Text& comments) {
    CommentsFileState& file = StateOf(comments);
    // A file that could not be read at start-up holds comments this run
    // never saw: writing the empty text over it would lose them.
    if (file.unreadable) return ExitWrite::written;
    for (;;) {
        // Another writer (a second Varnex, a text editor) may have changed
        // the file since start-up. Its text then takes the place of the one
        // read at start-up, and this run's saves are stored into it again,
        // in order, so that each wins for its own addon and everything else
        // the other writer wrote stays. A file that is gone gets this run's
        // text back.
        Text text = comments;
        std::int64_t length = 0;
        IoStatus status = platform_.files.FileLength(path, length);
        Text now;
        if (status.ok()) status = fileNumbers_.ReadWhole(FileNumber, path, now);
        if (!status.ok() && !status.gone()) {
            const ExitWrite answer =
                AskAfterFailure("The comments file " + path + " cannot be read again: " + DescribeError(status.code) +
                                ".\r\n\r\nVarnex has not written it.\r\n\r\n");
            if (answer == ExitWrite::tryAgain) continue;
            return answer;
        }
        // One that an earlier Exit wrote, the player then going back to the
        // window, already holds everything saved for it, as long as it still
        // reads as written.
        if (file.written && status.ok() && now == file.readAtStart) return ExitWrite::written;
        if (status.ok() && now != file.readAtStart) {
            text = now;
            for (const auto* saves : {&file.writtenSaves, &file.saves})
                for (const auto& save : *saves)
                    StoreComment(text, save.key, save.comment, save.keys->LongerThan(save.key));
        }
        // The new text is written beside the file and swapped in, so a
        // failure leaves the file as it was instead of empty or half-written.
        status = platform_.files.ReplaceContent(path, text);
        if (status.ok()) {
            // Written: should the player come back (a later file failed),
            // the file holds this run's saves, and what is in memory is what
            // the file holds.
            comments = text;
            file.readAtStart = text;
            file.writtenSaves.insert(file.writtenSaves.end(), file.saves.begin(), file.saves.end());
            file.saves.clear();
            file.written = true;
            return ExitWrite::written;
        }
        const ExitWrite answer =
            AskAfterFailure("The comments could not be saved to " + path + ": " + DescribeError(status.code) +
                            ".\r\n\r\nThe file keeps the content it had before.\r\n\r\n");
        if (answer != ExitWrite::tryAgain) return answer;
    }
}

std::size_t AddonManager::UnwrittenSaves() const {
    // An addon whose comment was saved twice has one comment to lose.
    const auto addons = [](const CommentsFileState& file) {
        std::set<Text> keys;
        for (const auto& save : file.saves) keys.insert(save.key);
        return keys.size();
    };
    // The expansion's comments are written only when it was found at start-up.
    return addons(gameFile_) + (Label3.ForeColor() != kColorGrayText ? addons(resFile_) : 0);
}

Text AddonManager::SavedNames(const CommentsFileState& file) {
    Text names;
    std::vector<Text> said;
    for (const auto& save : file.saves) {
        const Text name = save.keys->NameOf(save.key);
        if (std::find(said.begin(), said.end(), name) != said.end()) continue;
        said.push_back(name);
        names += (names.empty() ? "" : ", ") + name;
    }
    return names;
}

void AddonManager::AddonManager_Command4_Click() {
    // A folder that is not held would overwrite the player's setting with
    // "?"; one this run already wrote is not written again.
    if (Held(OthersFolder) && othersWritten_ != OthersFolder) {
        regAccess_.WriteRegValue(HKEY_LOCAL_MACHINE_, kGameKey, "VARNX", OthersFolder, REG_SZ_);
        othersWritten_ = OthersFolder;
    }
    // The player who cancels comes back to the folder the window shows.
    const Text folder = AddonFolder;
    // The notes of the files the player chose to leave unwritten, told in
    // one box before the program ends.
    Text lost;
    const auto giveUp = [&](const Text& path, const CommentsFileState& file) {
        if (file.saves.empty()) return;
        lost += "\r\n" + path + ": " + SavedNames(file);
    };
    AddonFolder = GameAddons() + "\\Comments.txt";
    ExitWrite outcome = WriteCommentsFile(AddonFolder, CommentsGame);
    if (outcome == ExitWrite::givenUp) giveUp(AddonFolder, gameFile_);
    // The game's file comes first; the expansion's follows it, also when
    // the player gave the game's up.
    if (outcome != ExitWrite::cancelled && Label3.ForeColor() != kColorGrayText) {
        AddonFolder = ExpansionAddons() + "\\Comments.txt";
        outcome = ExitWrite::written;
        // The expansion's addon folder may be missing (an uninstall left its
        // key behind): no file is made there, and only comments saved for it
        // during the run need a word.
        while (outcome == ExitWrite::written && !platform_.files.FolderExists(ExpansionAddons()) &&
               !resFile_.saves.empty()) {
            outcome = AskAfterFailure("The comments saved for the expansion's addons cannot be written: the folder " +
                                      ExpansionAddons() + " does not exist.\r\n\r\n");
            if (outcome == ExitWrite::tryAgain) outcome = ExitWrite::written;
        }
        if (outcome == ExitWrite::written && platform_.files.FolderExists(ExpansionAddons()))
            outcome = WriteCommentsFile(AddonFolder, CommentsRes);
        if (outcome == ExitWrite::givenUp) giveUp(AddonFolder, resFile_);
    }
    if (outcome == ExitWrite::cancelled) {
        AddonFolder = folder;
        return;
    }
    if (!lost.empty()) Box("These comments were not written and are lost:\r\n" + lost);
    EndProgram();
}

bool AddonManager::AddonManager_Form_QueryUnload() {
    const std::size_t unwritten = ended_ ? 0 : UnwrittenSaves();
    if (unwritten == 0) return true;
    // No is the answer to Enter and to Escape: a key pressed out of habit
    // keeps the notes.
    const bool one = unwritten == 1;
    const Text question = std::to_string(unwritten) + (one ? " saved comment is" : " saved comments are") +
                          " not written yet: comments are written only when you leave with Exit.\r\n\r\n" +
                          (one ? "Close without writing it?" : "Close without writing them?");
    return Box(question, kMbYesNo | kMbIconQuestion | kMbDefButton2) == kIdYes;
}

}  // namespace varnex
