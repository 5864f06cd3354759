// The comment box: filling it with the stored comment of the selected addon,
// the green and red dots, and storing an edited comment in memory.
#include "app/AddonManager.hpp"
#include "comments/CommentsText.hpp"

namespace varnex {

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
    if (!comments || IsBlankKey(CommentKey) || !Held(CommentKey)) Text1.SetText("");
    else
        // The keys as the lists show them at the click; only a text that is
        // looked at is searched.
        Text1.SetTextLater([comments, key = CommentKey, keys = CurrentFolderKeys()] {
            return LookupComment(*comments, key, keys->LongerThan(key));
        });
    Image2.SetVisible(true);
    Image3.SetVisible(false);
}

void AddonManager::AddonManager_Text1_Change() {
    Image2.SetVisible(false);
    Image3.SetVisible(true);
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
            Box("The comment for " + keys->NameOf(CommentKey) + " cannot be saved as it stands: in the comments file, " +
                Mid(CommentKey, 3) + " followed by this comment reads as a comment for " + keys->NameOf(other) +
                ".\r\n\r\nPlease start the comment differently, for example with a blank. Your text stays in the " +
                "comment box, not saved.");
            return;
        }
        StoreComment(*comments, CommentKey, comment, longer);
        StateOf(*comments).saves.push_back({CommentKey, comment, keys});
    } else {
        Text1.SetText("No save possible");
    }
    Image2.SetVisible(true);
    Image3.SetVisible(false);
    if (comments) ShowComment();
}

}  // namespace varnex
