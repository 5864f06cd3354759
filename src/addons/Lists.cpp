// The two addon lists and their size summaries, and the walk by selection
// that every bulk action shares.
#include <limits>

#include "app/AddonManager.hpp"
#include "app/GlobaleVariables.hpp"

namespace varnex {

namespace {

// 12345 as "12,345".
Text Grouped(long long n) {
    const Text digits = std::to_string(n);
    Text out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return out;
}

}  // namespace

bool AddonManager::WalkBySelection(FileListBox& list, const char* verb, const std::function<bool()>& visit) {
    list.SetListIndex(0);
    const int count = list.ListCount();
    const Text before = Label1.Caption();
    LoopIndex = 0;
    while (LoopIndex <= count - 1 && LoopIndex < kWalkLimit) {
        if (LoopIndex > 0 && LoopIndex % kProgressEvery == 0) {
            Label1.SetCaption(Text(verb) + " " + Grouped(LoopIndex) + " of " + Grouped(count));
            platform_.desktop.KeepResponsive();
        }
        if (visit() && list.ListIndex() < list.ListCount() - 1) list.SetListIndex(list.ListIndex() + 1);
        ++LoopIndex;
    }
    Label1.SetCaption(before);
    return count <= kWalkLimit;
}

void AddonManager::ReportWalkLimit(const FileListBox& list, const Text& done) {
    Box("This folder holds " + Grouped(list.ListCount()) + " addons in that list, more than Varnex walks in one go: " +
        "the first " + Grouped(kWalkLimit) + " were " + done + ", the others were left as they were.");
}

void AddonManager::RefreshLists() {
    File2.Refresh();
    File1.Refresh();
    addonsize.Clear();
    foldersize.Clear();
    std::int32_t total = 0;
    // A file that vanished since the list was read adds nothing; a total
    // past the 32-bit range stays at its largest value.
    auto addSize = [&](const Text& path) {
        std::int64_t length = 0;
        if (!platform_.files.FileLength(path, length).ok()) return;
        const std::int64_t sum = total + SizeInKilobytes(length);
        total = static_cast<std::int32_t>(std::min<std::int64_t>(sum, std::numeric_limits<std::int32_t>::max()));
    };
    // The walk's counter stops short of a longer list; the entries past it
    // are not walked, but the summary still counts them.
    auto addBeyondWalk = [&](const FileListBox& list) {
        for (int i = kWalkLimit; i < list.ListCount(); ++i) addSize(AddonFolder + "\\" + list.List(i));
    };
    // Each entry is read from the selection into the list's own variable,
    // as a click would set it.
    auto walk = [&](FileListBox& list, Text& selected) {
        (void)WalkBySelection(list, "Reading sizes:", [&] {
            selected = list.FileName();
            GlobaleVariables::SelectedPath = AddonFolder + "\\" + selected;
            addSize(GlobaleVariables::SelectedPath);
            return true;
        });
        addBeyondWalk(list);
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
