// The views of the lists: the addon lists, the folder list, and the plain
// lists of the addon's information and of the two sizes.
#pragma once

#include <cstdint>
#include <vector>

#include "forms/ControlViews.hpp"

namespace varnex::forms {

// A file list. Thousands of entries are refilled only when the listing
// changed; a move of the current item only moves the selection.
class FileListView final : public GatedView<FileListBox> {
public:
    FileListView(const ViewSite& site, const Slot& slot, FileListBox& model, Gate& gate);
    void OnCommand(WORD code) override;
    void Rescale(const ViewSite& site) override;

private:
    void Mirror() override;
    void Fill();
    void FitWidth();

    std::uint64_t shownListing_ = ~std::uint64_t{0};
};

// The folder list: the drive root, the folders down to the current one and
// its subfolders, indented by depth and drawn with a folder mark. Its window
// text is the model's path.
class DirListView final : public GatedView<DirListBox> {
public:
    DirListView(const ViewSite& site, const Slot& slot, DirListBox& model, Gate& gate);
    void OnCommand(WORD code) override;
    void OnDraw(const DRAWITEMSTRUCT& item) override;
    void Rescale(const ViewSite& site) override;

private:
    void Mirror() override;
    void SetItemHeight(HFONT font);

    std::vector<FolderLine> lines_;
    std::size_t current_ = 0;  // the line of the current folder
};

// Whether a plain list scrolls when its texts do not fit.
enum class Scrolling : bool { None, Both };

class ListBoxView final : public ModelView<ListBox> {
public:
    ListBoxView(const ViewSite& site, const Slot& slot, ListBox& model, Scrolling scrolling);
    void Rescale(const ViewSite& site) override;

private:
    void Mirror() override;

    Scrolling scrolling_;
};

}  // namespace varnex::forms
