#include "controls/Controls.hpp"

#include <algorithm>

namespace varnex {

namespace {

// Folder names in the order the folder list shows them.
bool LessIgnoringCase(const Text& a, const Text& b) {
    const int order = UpperAscii(a).compare(UpperAscii(b));
    return order != 0 ? order < 0 : a < b;  // names that differ only in case: a stable order all the same
}

// "C:\a\b" -> root "C:\" and the names a, b. Cut at separator letters
// only: a folder such as "ソフト" has the backslash's byte inside its first
// letter.
std::vector<Text> SplitPath(const Text& path, Text& root) {
    root.clear();
    std::size_t i = 0;
    if (path.size() >= 2 && LetterAt(path, 0) == 1 && path[1] == ':') {
        root = path.substr(0, 2) + "\\";
        i = 2;
    }
    return SplitAtSeparators(path, i);
}

Text JoinPath(const Text& folder, const Text& name) {
    return EndsInSeparator(folder) ? folder + name : folder + "\\" + name;
}

}  // namespace

void Control::SetVisible(bool visible) { Change(visible_, visible); }

void Control::SetEnabled(bool enabled) { Change(enabled_, enabled); }

void Control::SetCaption(const Text& caption) { Change(caption_, caption); }

void Label::SetForeColor(std::uint32_t color) { Change(foreColor_, color); }

void OptionButton::SetValue(bool value) { Change(value_, value); }

void ListBox::AddItem(const Text& item) {
    items_.push_back(item);
    Touch();
}

void ListBox::Clear() {
    if (!items_.empty()) Touch();
    items_.clear();
}

const Text& TextBox::GetText() const {
    if (pending_) {
        text_ = pending_();
        pending_ = nullptr;
    }
    return text_;
}

Aim TextBox::AimOver(Text under) const {
    return Aim{[this, under = std::move(under)] { return GetText() == under; }};
}

void TextBox::SetTextLater(std::function<Text()> compute) {
    unheld_.clear();
    pending_ = std::move(compute);
    Touch();
}

void TextBox::SetText(const Text& text) { SetTyped(text, {}); }

void TextBox::SetTyped(const Text& text, const Text& unheld) {
    if (unheld != unheld_) {
        unheld_ = unheld;
        Touch();
    }
    if (text == GetText()) return;
    text_ = text;
    Touch();
    if (Change) Change();
}

IoStatus FolderReads::Read(const Text& folder, std::uint64_t since, const std::vector<DirEntry>*& entries) {
    if (reads_ <= since || folder != folder_) {
        entries_.clear();
        // A folder whose name the code page does not hold is never listed:
        // its "?" would list whatever folders match it. It shows as a
        // missing one does.
        status_ = Held(folder) ? files_.ListFolder(folder, "*", entries_) : IoStatus{errc::kPathNotFound};
        folder_ = folder;
        ++reads_;
    }
    entries = &entries_;
    return status_;
}

void FileListBox::SetPath(const Text& path) {
    path_ = path;
    listIndex_ = -1;
    unread_ = true;
    readAfter_ = reads_.Now();
    Touch();
}

void FileListBox::Refresh() {
    unread_ = true;
    readAfter_ = reads_.Now();
    Touch();
}

void FileListBox::ReadPending() {
    if (!unread_) return;
    const Text current = listIndex_ < 0 ? Text() : entries_[static_cast<std::size_t>(listIndex_)].name;
    const std::vector<DirEntry>* all = nullptr;
    entries_.clear();
    readError_ = reads_.Read(path_, readAfter_, all).code;
    if (readError_ == 0) {
        // Each name is folded once, not in every comparison: a folder of
        // thousands of addons is compared hundreds of thousands of times.
        // The entries are sorted by position, so a swap moves no text.
        std::vector<Text> folded;
        std::vector<const DirEntry*> shown;
        for (const auto& entry : *all) {
            if (entry.folder || !MatchesPattern(entry.name, pattern_)) continue;
            folded.push_back(UpperAscii(entry.name));
            shown.push_back(&entry);
        }
        std::vector<std::uint32_t> order(shown.size());
        for (std::uint32_t i = 0; i < order.size(); ++i) order[i] = i;
        std::sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
            const int compared = folded[a].compare(folded[b]);
            return compared != 0 ? compared < 0 : shown[a]->name < shown[b]->name;
        });
        entries_.reserve(order.size());
        for (const std::uint32_t i : order) entries_.push_back(*shown[i]);
    }
    const auto kept =
        std::find_if(entries_.begin(), entries_.end(), [&](const DirEntry& e) { return e.name == current; });
    listIndex_ = current.empty() || kept == entries_.end() ? -1 : static_cast<int>(kept - entries_.begin());
    unread_ = false;
    ++listingRevision_;
}

void FileListBox::SetListIndex(int index) {
    if (index < 0 || index >= ListCount()) return;
    if (listIndex_ != index) Touch();
    listIndex_ = index;
    if (Click) Click();
}

Aim FileListBox::AimAt(int index, Text name) {
    return Aim{
        [this, index, name = std::move(name)] { return index < 0 || (index < ListCount() && List(index) == name); }};
}

void FileListBox::Highlight(int index) {
    if (index < 0 || index >= ListCount() || index == listIndex_) return;
    listIndex_ = index;
    Touch();
}

Aim DirListBox::AimHere() const {
    return Aim{[this, from = path_] { return Visible() && Enabled() && path_ == from; }};
}

void DirListBox::SetPath(const Text& path) {
    if (path == path_) return;
    path_ = path;
    Touch();
    if (Change) Change();
}

std::vector<FolderLine> DirListBox::ReadLines() const {
    Text root;
    const std::vector<Text> names = SplitPath(path_, root);
    if (root.empty() || !Held(root)) root = "C:\\";
    std::vector<FolderLine> lines{{.text = root, .path = root}};
    Text folder = root;
    std::vector<DirEntry> entries;
    for (const Text& name : names) {
        if (!Held(name)) break;  // shown as the nearest folder above, as a missing one is
        entries.clear();
        if (!files_.ListFolder(folder, {}, entries).ok()) break;
        const auto found = std::find_if(entries.begin(), entries.end(),
                                        [&](const DirEntry& e) { return e.folder && EqualIgnoringCase(e.name, name); });
        if (found == entries.end()) break;
        folder = JoinPath(folder, found->name);
        lines.push_back({.text = found->name, .path = folder, .depth = static_cast<int>(lines.size())});
    }
    lines.back().current = true;
    const int depth = static_cast<int>(lines.size());
    entries.clear();
    std::vector<Text> subfolders;
    if (files_.ListFolder(folder, {}, entries).ok())
        for (const auto& e : entries)
            if (e.folder) subfolders.push_back(e.name);
    std::sort(subfolders.begin(), subfolders.end(), LessIgnoringCase);
    for (const Text& name : subfolders) lines.push_back({.text = name, .path = JoinPath(folder, name), .depth = depth});
    return lines;
}

FileDialogSetup CommonDialog::Setup() const {
    return {.initDir = InitDir,
            .filter = Filter,
            .filterIndex = FilterIndex,
            .fileName = FileName,
            .title = DialogTitle,
            .defaultExt = DefaultExt,
            .flags = Flags};
}

void CommonDialog::ShowOpen(Desktop& desktop) { FileName = desktop.ShowOpenDialog(Setup()); }

void CommonDialog::ShowSave(Desktop& desktop) { FileName = desktop.ShowSaveDialog(Setup()); }

}  // namespace varnex
