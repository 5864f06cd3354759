// A click on an addon: its name and size in the details list, whether it is
// one of the game's own, its comment, and the move button that applies.
//
// The handlers belong to the addon lists, but live with the comments: what
// a click is for is to show the addon's comment, and it sets the key the
// comment box edits under, as a double click lives with the information
// window it opens. The lists themselves, their walks and their sizes, need
// nothing of the comments.
#include "app/AddonManager.hpp"
#include "app/GlobaleVariables.hpp"
#include "comments/CommentsText.hpp"

namespace varnex {

Text AddonManager::MeasureSelected(FileListBox& list) {
    // A walk re-read its list just before and takes each size from that
    // listing; a player's click measures the file as it is now, without
    // opening it, so a file that vanished is not created again as an empty
    // addon.
    std::int64_t length = 0;
    if (walking_) {
        length = list.ListedSize(list.ListIndex());
    } else if (const IoStatus measured = Held(GlobaleVariables::SelectedPath)
                                             ? platform_.files.FileLength(GlobaleVariables::SelectedPath, length)
                                             : IoStatus{errc::kNameNotHeld};
               !measured.ok()) {
        SelectedSize.clear();
        // Only a file that vanished is "not found"; a path past the system's
        // bound or a file kept from us is still there, and says why.
        return "Size: " + (measured.gone() ? Text("file not found") : DescribeError(measured.code));
    }
    SelectedSize = SignedText(SizeInKilobytes(length));
    return "Size: " + SelectedSize + "kb";
}

void AddonManager::AddonManager_File1_Click() {
    if (FavoritesBusy || File1.ListIndex() < 0) return;
    SelectedActive = File1.FileName();
    GlobaleVariables::SelectedPath = AddonFolder + "\\" + SelectedActive;
    const Text sizeLine = MeasureSelected(File1);
    List1.Clear();
    List1.AddItem(SelectedActive);
    if (IsOfficial(OfficialAddons, SelectedActive)) {
        for (const char* line : {"", "Official Addon/File", "Access denied"}) List1.AddItem(line);
        List1.AddItem(sizeLine);
        for (Control* control : std::initializer_list<Control*>{&Text1, &Command3, &Command2, &Image2, &Image3})
            control->SetVisible(false);
        return;
    }
    List1.AddItem("");
    List1.AddItem(sizeLine);
    CommentKey = CommentKeyOf(File1.FileName());
    ShowComment();
    Command3.SetVisible(false);
    Command2.SetVisible(true);
}

void AddonManager::AddonManager_File2_Click() {
    if (File2.ListIndex() < 0) return;
    SelectedInactive = File2.FileName();
    GlobaleVariables::SelectedPath = AddonFolder + "\\" + SelectedInactive;
    const Text sizeLine = MeasureSelected(File2);
    List1.Clear();
    List1.AddItem(SelectedInactive);
    List1.AddItem("");
    List1.AddItem(sizeLine);
    CommentKey = CommentKeyOf(File2.FileName());
    ShowComment();
    Command2.SetVisible(false);
    Command3.SetVisible(true);
}

}  // namespace varnex
