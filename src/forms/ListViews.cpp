#include "forms/ListViews.hpp"

#include <algorithm>
#include <array>

#include "forms/Handles.hpp"
#include "forms/Painting.hpp"

namespace varnex::forms {

namespace {

// Fills a list box with `count` texts, painting once at the end rather
// than once per entry. The entries go straight to the list box's own
// procedure: the views' handlers have nothing to do with them, and under
// Wine every message through a subclass costs several round trips to the
// wineserver, which a thousand addons turn into much of the start-up. An
// empty list that stays empty is left as it is: turning its painting off
// and on again costs round trips too.
void FillList(HWND list, std::size_t count, const std::function<const Text&(std::size_t)>& text) {
    if (count > 0 || Send(list, LB_GETCOUNT) != 0) {
        Send(list, WM_SETREDRAW, FALSE);
        Send(list, LB_RESETCONTENT);
        std::size_t bytes = 0;
        for (std::size_t i = 0; i < count; ++i) bytes += text(i).size() + 1;
        Send(list, LB_INITSTORAGE, count, static_cast<LPARAM>(bytes));
        const auto listBox = reinterpret_cast<WNDPROC>(GetClassLongPtrA(list, GCLP_WNDPROC));
        for (std::size_t i = 0; i < count; ++i)
            CallWindowProcA(listBox, list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text(i).c_str()));
        Send(list, WM_SETREDRAW, TRUE);
        InvalidateRect(list, nullptr, /*erase=*/TRUE);
    }
    // Every entry is new: a screen reader reads the list again.
    NotifyWinEvent(EVENT_OBJECT_REORDER, list, OBJID_CLIENT, CHILDID_SELF);
}

// Lets a list scroll sideways as far as its widest text reaches. A text's
// width is the sum of its letters' widths, so each text has a bound from
// the font's 256 widths, asked for once, and texts are measured from the
// widest bound down, only while a bound could still beat the widest found:
// thousands of names cost a measurement or two. In a code page of two-byte
// letters a byte says nothing of its letter, and each counts as the
// font's widest letter.
void FitExtent(HWND list, std::size_t count, const std::function<const Text&(std::size_t)>& text) {
    int widest = 0;
    if (count > 0) {
        const ScopedDC window(list);
        const HDC dc = window.get();
        const Selected font(dc, reinterpret_cast<HGDIOBJ>(Send(list, WM_GETFONT)));
        TEXTMETRICA metrics{};
        GetTextMetricsA(dc, &metrics);
        std::array<long long, 256> letter{};
        letter.fill(metrics.tmMaxCharWidth);
        long long overhang = 0;
        CPINFO codePage{};
        INT widths[256] = {};
        if (GetCPInfo(CP_ACP, &codePage) && codePage.MaxCharSize == 1 && GetCharWidth32A(dc, 0, 255, widths)) {
            for (std::size_t b = 0; b < letter.size(); ++b) letter[b] = std::max(0, widths[b]);
            overhang = std::max<LONG>(0, metrics.tmOverhang);
        }
        std::vector<std::pair<long long, std::size_t>> order;  // bound, index
        order.reserve(count);
        for (std::size_t i = 0; i < count; ++i) {
            long long bound = overhang;
            for (const char c : text(i)) bound += letter[static_cast<unsigned char>(c)];
            order.emplace_back(bound, i);
        }
        std::sort(order.begin(), order.end(), std::greater<>());
        for (const auto& [bound, i] : order) {
            if (bound <= widest) break;
            const Text& line = text(i);
            SIZE size{};
            if (GetTextExtentPoint32A(dc, line.c_str(), static_cast<int>(line.size()), &size))
                widest = std::max<int>(widest, size.cx);
        }
    }
    // The list box leaves a little room before the text. Texts that fit
    // the list scroll no more with their extent than without it, and the
    // list, which lays its scroll bars out anew at each change, is told only
    // when it scrolls or did.
    const LRESULT wanted = widest > 0 ? widest + 2 * GetSystemMetrics(SM_CXEDGE) : 0;
    const LRESULT told = Send(list, LB_GETHORIZONTALEXTENT);
    RECT client{};
    GetClientRect(list, &client);
    if (wanted != told && (wanted > client.right || told > client.right))
        Send(list, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(wanted));
}

int CurrentSelection(HWND list) { return static_cast<int>(Send(list, LB_GETCURSEL)); }

// The text the list shows at `index`, as the player saw it.
Text ShownText(HWND list, int index) {
    const LRESULT length = index < 0 ? LB_ERR : Send(list, LB_GETTEXTLEN, static_cast<WPARAM>(index));
    if (length == LB_ERR) return {};
    Text text(static_cast<std::size_t>(length) + 1, '\0');
    const LRESULT got = Send(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(got == LB_ERR ? 0 : static_cast<std::size_t>(got));
    return text;
}

void Select(HWND list, int index) {
    if (CurrentSelection(list) != index) Send(list, LB_SETCURSEL, static_cast<WPARAM>(index));
}

}  // namespace

// ---- FileListView

FileListView::FileListView(const ViewSite& site, const Slot& slot, FileListBox& model, Gate& gate)
    : GatedView(site, slot,
                {.className = "LISTBOX",
                 .style = LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP,
                 .exStyle = WS_EX_CLIENTEDGE},
                model, gate) {
    // Enter opens the addon's information, as a double click does.
    ActOnEnter(LBN_DBLCLK);
}

void FileListView::Fill() {
    const auto& entries = model_.Entries();
    FillList(hwnd_, entries.size(), [&](std::size_t i) -> const Text& { return entries[i].name; });
    FitWidth();
    shownListing_ = model_.ListingRevision();
}

void FileListView::FitWidth() {
    const auto& entries = model_.Entries();
    FitExtent(hwnd_, entries.size(), [&](std::size_t i) -> const Text& { return entries[i].name; });
}

void FileListView::Rescale(const ViewSite& site) {
    ControlView::Rescale(site);
    FitWidth();
}

void FileListView::Mirror() {
    if (shownListing_ != model_.ListingRevision()) Fill();
    Select(hwnd_, model_.ListIndex());
}

void FileListView::OnCommand(WORD code) {
    const int index = CurrentSelection(hwnd_);
    Aim aim = model_.AimAt(index, ShownText(hwnd_, index));
    if (code == LBN_SELCHANGE) {
        Act([this, index] { model_.SetListIndex(index); }, std::move(aim));
    } else if (code == LBN_DBLCLK && index >= 0) {
        Act(
            [this, index] {
                model_.Highlight(index);
                if (model_.DblClick) model_.DblClick();
            },
            std::move(aim));
    }
}

// ---- DirListView

DirListView::DirListView(const ViewSite& site, const Slot& slot, DirListBox& model, Gate& gate)
    : GatedView(site, slot,
                {.className = "LISTBOX",
                 .style = LBS_NOTIFY | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT | WS_VSCROLL |
                          WS_TABSTOP | WS_GROUP,
                 .exStyle = WS_EX_CLIENTEDGE,
                 .text = model.Path()},
                model, gate) {
    SetItemHeight(site.font);
    // Enter opens the folder, as a double click does.
    ActOnEnter(LBN_DBLCLK);
}

void DirListView::SetItemHeight(HFONT font) {
    TEXTMETRICA metrics{};
    {
        const ScopedDC window(hwnd_);
        const Selected selected(window.get(), font);
        GetTextMetricsA(window.get(), &metrics);
    }
    const int height = std::max<int>(metrics.tmHeight, ToPixels(150, Dpi())) + ToPixels(45, Dpi());
    Send(hwnd_, LB_SETITEMHEIGHT, 0, height);
}

void DirListView::Rescale(const ViewSite& site) {
    ControlView::Rescale(site);
    SetItemHeight(site.font);
}

void DirListView::Mirror() {
    MirrorText(model_.Path());
    // The folders are read only while the list can be seen.
    lines_ = model_.Visible() ? model_.ReadLines() : std::vector<FolderLine>{};
    FillList(hwnd_, lines_.size(), [&](std::size_t i) -> const Text& { return lines_[i].text; });
    current_ = static_cast<std::size_t>(
        std::find_if(lines_.begin(), lines_.end(), [](const FolderLine& line) { return line.current; }) -
        lines_.begin());
    Select(hwnd_, current_ < lines_.size() ? static_cast<int>(current_) : -1);
}

void DirListView::OnCommand(WORD code) {
    const int index = CurrentSelection(hwnd_);
    if (code != LBN_DBLCLK || index < 0 || static_cast<std::size_t>(index) >= lines_.size()) return;
    const Text path = lines_[static_cast<std::size_t>(index)].path;
    Act([this, path] { model_.SetPath(path); }, model_.AimHere());
}

void DirListView::OnDraw(const DRAWITEMSTRUCT& item) {
    if (item.itemID >= lines_.size()) return;
    // Folders on the way down to the current one are open; its subfolders
    // are closed.
    PaintFolderLine(item, lines_[item.itemID], item.itemID <= current_, Dpi());
}

// ---- ListBoxView

namespace {

DWORD PlainListStyle(Scrolling scrolling) {
    return LBS_NOINTEGRALHEIGHT | WS_TABSTOP | (scrolling == Scrolling::Both ? WS_VSCROLL | WS_HSCROLL : 0);
}

}  // namespace

ListBoxView::ListBoxView(const ViewSite& site, const Slot& slot, ListBox& model, Scrolling scrolling)
    : ModelView(site, slot, {.className = "LISTBOX", .style = PlainListStyle(scrolling), .exStyle = WS_EX_CLIENTEDGE},
                model),
      scrolling_(scrolling) {}

void ListBoxView::Mirror() {
    const auto& items = model_.Items();
    FillList(hwnd_, items.size(), [&](std::size_t i) -> const Text& { return items[i]; });
    if (scrolling_ == Scrolling::Both)
        FitExtent(hwnd_, items.size(), [&](std::size_t i) -> const Text& { return items[i]; });
}

void ListBoxView::Rescale(const ViewSite& site) {
    ControlView::Rescale(site);
    const auto& items = model_.Items();
    if (scrolling_ == Scrolling::Both)
        FitExtent(hwnd_, items.size(), [&](std::size_t i) -> const Text& { return items[i]; });
}

}  // namespace varnex::forms
