// The comment box: filling it with the stored comment of the selected addon,
// the green and red dots, and storing an edited comment in memory.
#include "app/AddonManager.hpp"
#include "comments/CommentsText.hpp"

namespace varnex {

namespace {

// A comment quoted in a box: its first 80 characters.
Text Quoted(const Text& comment) {
    constexpr std::size_t kShown = 80;
    return Text("\xAB").append(Left(comment, kShown)) + (comment.size() > kShown ? "..." : "") + "\xBB";
}

}  // namespace

Text* AddonManager::ChosenComments() {
    if (Busy) return nullptr;
    const Text& folder = File1.Path();
    // A comments file that could not be read at start-up takes no comments:
    // they could never reach it.
    if (folder == GameAddons()) return gameFile_.unreadable ? nullptr : &CommentsGame;
    if (folder == ExpansionAddons()) return resFile_.unreadable ? nullptr : &CommentsRes;
    return nullptr;
}

std::shared_ptr<const FolderKeys> AddonManager::CurrentFolderKeys() {
    // The folder's keys are sorted once per listing, not once per click: a
    // walk clicks every entry.
    const std::pair revisions{File1.ListingRevision(), File2.ListingRevision()};
    if (!folderKeys_ || revisions != folderKeysRevisions_) {
        std::vector<Text> names;
        names.reserve(static_cast<std::size_t>(File1.ListCount() + File2.ListCount()));
        for (auto* list : {&File1, &File2})
            for (const auto& entry : list->Entries()) names.push_back(entry.name);
        folderKeys_ = std::make_shared<const FolderKeys>(names);
        folderKeysRevisions_ = revisions;
    }
    return folderKeys_;
}

void AddonManager::ShowComment() {
    Text1.SetVisible(true);
    const Text* comments = ChosenComments();
    // A key not held may stand for several addons: none of them shows
    // another's comment.
    if (!comments || IsBlankKey(CommentKey) || !Held(CommentKey)) {
        Text1.SetText("");
        shownFrom_ = nullptr;
        shownKey_.clear();
    } else {
        // The keys as the lists show them at the click; only a text that is
        // looked at is searched.
        Text1.SetTextLater([comments, key = CommentKey, keys = CurrentFolderKeys()] {
            return LookupComment(*comments, key, keys->LongerThan(key));
        });
        shownFrom_ = comments;
        shownKey_ = CommentKey;
    }
    Image2.SetVisible(true);
    Image3.SetVisible(false);
}

void AddonManager::AddonManager_Text1_Change() {
    Image2.SetVisible(false);
    Image3.SetVisible(true);
}

bool AddonManager::SaveAsTyped(const Text& name, const Text& comment, const std::vector<Text>& longer) {
    // A web address is the usual case: the player may want it kept whole in
    // the file even though the box will show it cut at its "//".
    if (Box("The comment for " + name + " will not read back as typed: in the comments file, two slashes begin the " +
                "next addon's comment, so it would read back as " + Quoted(ReadBack(CommentKey, comment, longer)) +
                ". Save it as typed?",
            kMbYesNo | kMbIconQuestion) == kIdYes)
        return true;
    // The typed text stays, and is not what is stored.
    Image2.SetVisible(false);
    Image3.SetVisible(true);
    return false;
}

bool AddonManager::MayReplace(const Text& comments, const FolderKeys& keys) {
    // The box was filled with this very comment: the player saw it.
    if (shownFrom_ == &comments && shownKey_ == CommentKey) return true;
    const Text stored = LookupComment(comments, CommentKey, keys.LongerThan(CommentKey));
    if (stored.empty() || stored == Text1.GetText()) return true;
    if (Box(keys.NameOf(CommentKey) + " already has a comment: " + Quoted(stored) + ". Replace it?",
            kMbYesNo | kMbIconQuestion) == kIdYes)
        return true;
    // The typed text stays, and is not what is stored.
    Image2.SetVisible(false);
    Image3.SetVisible(true);
    return false;
}

void AddonManager::AddonManager_Save_Click() {
    // Nothing selected since start-up, or an addon whose name is only its
    // extension: a key without a name would land on unrelated entries.
    Text* comments = IsBlankKey(CommentKey) ? nullptr : ChosenComments();
    if (comments) {
        const auto keys = CurrentFolderKeys();
        const std::vector<Text> longer = keys->LongerThan(CommentKey);
        const Text comment = Text1.GetText();
        if (!CommentHeld(keys->NameOf(CommentKey))) return;  // the typed text and the red dot stay
        if (const Text other = ReadsAsOtherKey(CommentKey, comment, longer); !other.empty()) {
            // Stored, it would be shown for the other addon and never again
            // for this one. The typed text and the red dot stay, unsaved.
            Box("The comment for " + keys->NameOf(CommentKey) +
                " cannot be saved as it stands: in the comments file, " + Mid(CommentKey, 3) +
                " followed by this comment reads as a comment for " + keys->NameOf(other) +
                ".\r\n\r\nPlease start the comment differently, for example with a blank. Your text stays in the " +
                "comment box, not saved.");
            return;
        }
        if (!ReadsBackAsTyped(CommentKey, comment, longer) && !SaveAsTyped(keys->NameOf(CommentKey), comment, longer))
            return;
        if (!MayReplace(*comments, *keys)) return;
        StoreComment(*comments, CommentKey, comment, longer);
        CommentsFileState& file = StateOf(*comments);
        file.saves.push_back({CommentKey, comment, keys});
        file.written = false;
    } else {
        Text1.SetText("No save possible");
    }
    Image2.SetVisible(true);
    Image3.SetVisible(false);
    if (comments) ShowComment();
}

}  // namespace varnex
