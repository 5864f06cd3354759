// The two addon lists and their size summaries, and the walk by selection
// that every bulk action shares.
#include <limits>
#include <stdexcept>

#include "app/AddonManager.hpp"
#include "app/GlobaleVariables.hpp"
#include "app/LeftAsTheyWere.hpp"

namespace varnex {

bool AddonManager::WalkBySelection(FileListBox& list, const char* verb, const std::function<bool()>& visit) {
    list.SetListIndex(0);
    const int count = list.ListCount();
    const Text before = Label1.Caption();
    const bool outerWalk = walking_;
    walking_ = true;
    LoopIndex = 0;
    while (LoopIndex <= count - 1 && LoopIndex < kWalkLimit) {
        if (LoopIndex > 0 && platform_.desktop.ResponsiveDue()) {
            Label1.SetCaption(Text(verb) + " " + Grouped(LoopIndex) + " of " + Grouped(count));
            platform_.desktop.KeepResponsive();
        }
        if (visit() && list.ListIndex() < list.ListCount() - 1) list.SetListIndex(list.ListIndex() + 1);
        // A 16-bit counter stepped past its top is an overflow: the action
        // stops and the player is told, rather than the counter wrapping
        // round to a negative entry and the walk going on for ever.
        if (LoopIndex == std::numeric_limits<std::int16_t>::max())
            throw std::overflow_error("the walk's counter went past " + Grouped(kWalkLimit));
        ++LoopIndex;
    }
    Label1.SetCaption(before);
    walking_ = outerWalk;
    return count <= kWalkLimit;
}

bool AddonManager::Readable(FileListBox& list) {
    // A folder that is gone, or lies past the longest path Windows reaches,
    // shows as empty lists without a word, as a missing "others" folder does.
    const IoStatus read{list.ReadError()};
    if (read.ok() || read.gone() || read.code == errc::kFilenameTooLong) return true;
    Box("The addon folder " + list.Path() + " cannot be read: " + DescribeError(read.code) + ".");
    return false;
}

void AddonManager::ReportWalkLimit(FileListBox& list, const Text& done) {
    Box("This folder holds " + Grouped(list.ListCount()) + " addons in that list, more than Varnex walks in one go: " +
        "the first " + Grouped(kWalkLimit) + " were " + done + ", the others were left as they were.");
}

void AddonManager::RefreshLists() {
    ReReadLists();
    addonsize.Clear();
    foldersize.Clear();
    std::int32_t total = 0;
    // Sizes come from the listing just read; a total past the 32-bit range
    // stays at its largest value. The walk's counter stops short of a longer
    // list: the entries past it are not walked, but still counted.
    auto addSizes = [&](FileListBox& list, int from, int to) {
        for (int i = from; i < to; ++i) {
            const std::int64_t sum = total + SizeInKilobytes(list.ListedSize(i));
            total = static_cast<std::int32_t>(std::min<std::int64_t>(sum, std::numeric_limits<std::int32_t>::max()));
        }
    };
    // Each entry is read from the selection into the list's own variable,
    // as a click would set it.
    auto walk = [&](FileListBox& list, Text& selected) {
        (void)WalkBySelection(list, "Reading sizes:", [&] {
            selected = list.FileName();
            GlobaleVariables::SelectedPath = AddonFolder + "\\" + selected;
            addSizes(list, list.ListIndex(), list.ListIndex() + 1);
            return true;
        });
        addSizes(list, kWalkLimit, list.ListCount());
    };
    if (File1.ListCount() >= 1) {
        walk(File1, SelectedActive);
        addonsize.AddItem(SignedText(total) + " kb");
        SelectedActive = "";
        File1.SetListIndex(0);
    }
    if (File2.ListCount() == 0) return;
    walk(File2, SelectedInactive);
    File2.SetListIndex(0);
    foldersize.AddItem(SignedText(total) + " kb");
    SelectedInactive = "";
}

}  // namespace varnex
