#include "forms/ControlViews.hpp"

#include <algorithm>

#include "platform/win32/CodePage.hpp"
#include "forms/Accessible.hpp"
#include "forms/Painting.hpp"

namespace varnex::forms {

namespace {

// A colour as the models keep it: a value with the high bit set names a
// system colour by its index, any other is a plain red-green-blue value.
COLORREF ColorOf(std::uint32_t color) {
    return (color & 0x80000000u) != 0 ? GetSysColor(static_cast<int>(color & 0xFFu))
                                      : static_cast<COLORREF>(color & 0xFFFFFFu);
}

}  // namespace

// ---- ControlView

ControlView::ControlView(const ViewSite& site, const Slot& slot, const ViewOptions& options)
    : id_(slot.id), place_(slot.place), dpi_(site.dpi) {
    // Created hidden: the first sync shows what the model says.
    hwnd_ = CreateWindowExA(options.exStyle, options.className, options.text.c_str(),
                            WS_CHILD | WS_CLIPSIBLINGS | options.style, ToPixels(place_.left, dpi_),
                            ToPixels(place_.top, dpi_), ToPixels(place_.width, dpi_), ToPixels(place_.height, dpi_),
                            site.parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id_)),
                            reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(site.parent, GWLP_HINSTANCE)), nullptr);
    Send(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(site.font), /*redraw=*/FALSE);
}

ControlView::~ControlView() {
    if (classProcedure_ && IsWindow(hwnd_) &&
        GetWindowLongPtrW(hwnd_, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&ControlView::Subclassed)) {
        SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(classProcedure_));
        SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
    }
}

// The view is found from the window's user data, which the standard controls
// leave to the program, rather than through the common controls' subclass
// list: under Wine that list is a window property, and every message to the
// control would ask the wineserver for it several times over. The window
// stays a Unicode one, as the common controls' subclass left it: text typed
// in letters the code page cannot hold reaches the control unchanged, and
// the program can name them.
void ControlView::Subclass() {
    if (classProcedure_) return;
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    classProcedure_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ControlView::Subclassed)));
    if (!classProcedure_) SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
}

LRESULT CALLBACK ControlView::Subclassed(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    auto& view = *reinterpret_cast<ControlView*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (message == WM_GETOBJECT && static_cast<LONG>(static_cast<DWORD>(lParam)) == OBJID_CLIENT &&
        view.accessibleName_)
        if (const LRESULT answer = AnswerWithName(hwnd, wParam, view.accessibleName_())) return answer;
    LRESULT result = 0;
    if (view.OnOwnMessage(message, wParam, lParam, result)) return result;
    return view.CallClass(message, wParam, lParam);
}

LRESULT ControlView::CallClass(UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcW(classProcedure_, hwnd_, message, wParam, lParam);
}

bool ControlView::OnKey(WPARAM key) {
    if (key != VK_RETURN || !enter_) return false;
    OnCommand(*enter_);
    return true;
}

void ControlView::SetAccessibleName(std::function<Text()> name) {
    accessibleName_ = std::move(name);
    Subclass();
}

void ControlView::Rescale(const ViewSite& site) {
    dpi_ = site.dpi;
    MoveWindow(hwnd_, ToPixels(place_.left, dpi_), ToPixels(place_.top, dpi_), ToPixels(place_.width, dpi_),
               ToPixels(place_.height, dpi_), /*repaint=*/TRUE);
    Send(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(site.font), /*redraw=*/TRUE);
}

bool ControlView::Changed(std::uint64_t revision) {
    if (revision == seen_) return false;
    seen_ = revision;
    return true;
}

void ControlView::MirrorState(const Control& model) {
    const bool shown = (GetWindowLongPtrA(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0;
    if (shown && (!model.Visible() || !model.Enabled()) && GetFocus() == hwnd_) {
        // The keyboard goes back to the list the action came from, rather
        // than stay with a control nobody can use or pass to a button the
        // next key would press by mistake.
        const HWND parent = GetParent(hwnd_);
        HWND next = home_;
        if (!next || !IsWindowVisible(next) || !IsWindowEnabled(next))
            next = GetNextDlgTabItem(parent, nullptr, /*previous=*/FALSE);
        if (next == hwnd_) next = GetNextDlgTabItem(parent, hwnd_, /*previous=*/FALSE);
        if (next && next != hwnd_) SetFocus(next);
    }
    if (shown != model.Visible()) ShowWindow(hwnd_, model.Visible() ? SW_SHOWNA : SW_HIDE);
    if ((IsWindowEnabled(hwnd_) != FALSE) != model.Enabled()) EnableWindow(hwnd_, model.Enabled() ? TRUE : FALSE);
}

void ControlView::MirrorText(const Text& text) {
    if (WindowText() != text) SetWindowTextA(hwnd_, text.c_str());
}

Text ControlView::WindowText() const {
    Text text(static_cast<std::size_t>(std::max(0, GetWindowTextLengthA(hwnd_))) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(hwnd_, text.data(), static_cast<int>(text.size()))));
    return text;
}

// ---- FrameView

FrameView::FrameView(const ViewSite& site, const Slot& slot, Frame& model)
    : ModelView(site, slot, {.className = "BUTTON", .style = BS_GROUPBOX, .text = model.Caption()}, model) {}

void FrameView::Mirror() { MirrorText(model_.Caption()); }

// ---- LabelView

LabelView::LabelView(const ViewSite& site, const Slot& slot, Label& model)
    : ModelView(site, slot, {.className = "STATIC", .style = SS_LEFT | SS_NOPREFIX, .text = model.Caption()}, model),
      shownColor_(model.ForeColor()) {}

void LabelView::Mirror() {
    MirrorText(model_.Caption());
    if (shownColor_ != model_.ForeColor()) {
        shownColor_ = model_.ForeColor();
        InvalidateRect(hwnd_, nullptr, /*erase=*/TRUE);
    }
}

void LabelView::Caption(HWND control) {
    captioned_ = control;
    Subclass();
}

bool LabelView::OnOwnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message != WM_PAINT || !captioned_) return false;
    result = CallClass(message, wParam, lParam);
    if (GetFocus() == captioned_) PaintCaptionFocus(hwnd_, WindowText());
    return true;
}

HBRUSH LabelView::OnColor(HDC dc) {
    SetTextColor(dc, ColorOf(shownColor_));
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return GetSysColorBrush(COLOR_BTNFACE);
}

// ---- ButtonView

ButtonView::ButtonView(const ViewSite& site, const Slot& slot, CommandButton& model, Gate& gate)
    : GatedView(site, slot, {.className = "BUTTON", .style = BS_PUSHBUTTON | WS_TABSTOP, .text = model.Caption()},
                model, gate) {
    // Enter presses the button that has the keyboard, as Space does.
    ActOnEnter(BN_CLICKED);
}

void ButtonView::Mirror() { MirrorText(model_.Caption()); }

void ButtonView::OnCommand(WORD code) {
    if (code != BN_CLICKED || !TakesInput(model_)) return;
    // Kept, the press is asked again when it runs: the handler before it
    // may have hidden or disabled the button.
    Act(
        [this] {
            if (model_.Click) model_.Click();
        },
        Aim{[this] { return TakesInput(model_); }, changesFiles_});
}

// ---- OptionView

namespace {

// The first button of a group starts it: the arrow keys move among the
// buttons up to the next one that starts a group.
DWORD OptionStyle(bool first) { return BS_RADIOBUTTON | (first ? WS_GROUP : 0); }

}  // namespace

OptionView::OptionView(const ViewSite& site, const Slot& slot, OptionButton& model, std::vector<OptionButton*> group,
                       Gate& gate)
    : GatedView(site, slot, {.className = "BUTTON", .style = OptionStyle(&model == group.front())}, model, gate),
      group_(std::move(group)) {
    Subclass();
}

void OptionView::Sync() {
    // The tab stop follows the other buttons of the group too.
    MirrorTabStop();
    GatedView::Sync();
}

void OptionView::Mirror() {
    // No text: the button is narrower than its caption, and a themed button
    // paints its text in its own colours whatever WM_CTLCOLORSTATIC says, so
    // a sliver of it would show. The label beside it is its caption, and its
    // name for screen readers.
    const WPARAM check = model_.Value() ? BST_CHECKED : BST_UNCHECKED;
    if (static_cast<WPARAM>(Send(hwnd_, BM_GETCHECK)) != check) Send(hwnd_, BM_SETCHECK, check);
}

void OptionView::MirrorTabStop() {
    const LONG_PTR style = GetWindowLongPtrA(hwnd_, GWL_STYLE);
    const LONG_PTR wanted = group_.TabStop() == &model_ ? style | WS_TABSTOP : style & ~WS_TABSTOP;
    if (wanted != style) SetWindowLongPtrA(hwnd_, GWL_STYLE, wanted);
}

bool OptionView::OnOwnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    // The button is narrower than its caption: its label beside it shows
    // where the keyboard is.
    if ((message == WM_SETFOCUS || message == WM_KILLFOCUS) && label_) InvalidateRect(label_, nullptr, /*erase=*/TRUE);
    if (message != WM_SETFOCUS) return false;
    // An option button that is not selected reports a click when it takes
    // the keyboard; a click of the mouse then reports its own, and the
    // keyboard's arrows select by themselves. The folder is chosen once,
    // by the player's click or arrow, never by the focus passing by.
    focusing_ = true;
    result = CallClass(message, wParam, lParam);
    focusing_ = false;
    return true;
}

void OptionView::OnCommand(WORD code) {
    if (code != BN_CLICKED || focusing_ || !TakesInput(model_)) return;
    Act([this] { group_.Choose(model_); }, Aim{[this] { return TakesInput(model_); }});
}

HBRUSH OptionView::OnColor(HDC dc) {
    // The button's background, also where an unthemed button would paint
    // the focus of a text it does not have.
    SetTextColor(dc, GetSysColor(COLOR_BTNFACE));
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return GetSysColorBrush(COLOR_BTNFACE);
}

// ---- TextView

namespace {

DWORD EditStyle(TextStyle style) {
    DWORD bits = WS_TABSTOP | (style.readOnly ? ES_READONLY : 0);
    if (!style.multiLine) return bits | ES_AUTOHSCROLL;
    bits |= ES_MULTILINE | ES_AUTOVSCROLL | (style.scrollBar ? WS_VSCROLL : 0);
    return style.readOnly ? bits : bits | ES_WANTRETURN;
}

}  // namespace

TextView::TextView(const ViewSite& site, const Slot& slot, TextBox& model, TextStyle style, Gate& gate)
    : GatedView(site, slot, {.className = "EDIT", .style = EditStyle(style), .exStyle = WS_EX_CLIENTEDGE}, model, gate),
      style_(style) {
    // Comments may be longer than the few thousand characters typing
    // allows by default.
    if (!style_.readOnly) Send(hwnd_, EM_SETLIMITTEXT, 0);
}

namespace {

// The text with every lone LF and lone CR made a CR LF: Windows' edit
// control shows a line end only there (Wine's breaks the line at either).
Text WithLineEnds(const Text& text) {
    Text shown;
    shown.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            shown += "\r\n";
            ++i;
        } else if (text[i] == '\r' || text[i] == '\n') {
            shown += "\r\n";
        } else {
            shown += text[i];
        }
    }
    return shown;
}

}  // namespace

void TextView::Mirror() {
    // What the information window shows of a companion file may end its
    // lines any way; only the display changes, never the text.
    const Text shown = style_.readOnly && style_.multiLine ? WithLineEnds(model_.GetText()) : model_.GetText();
    if (WindowText() == shown) return;
    mirroring_ = true;
    SetWindowTextA(hwnd_, shown.c_str());
    mirroring_ = false;
}

void TextView::OnCommand(WORD code) {
    if (code != EN_CHANGE || mirroring_ || style_.readOnly) return;
    const Text typed = WindowText();
    // The box holds what the player typed in full; letters the code page
    // cannot hold reach the model as look-alikes or "?", so they are named
    // for it too, and it refuses to store them.
    std::wstring wide(static_cast<std::size_t>(std::max(0, GetWindowTextLengthW(hwnd_))) + 1, L'\0');
    wide.resize(static_cast<std::size_t>(GetWindowTextW(hwnd_, wide.data(), static_cast<int>(wide.size()))));
    Text unheld;
    (void)platform::win32::Narrow(wide, &unheld);
    // Typing kept in the same wait was typed over the typing kept before
    // it. The box goes on showing the typing while it is kept.
    const std::optional<std::uint64_t> wait = CurrentWait();
    const Text under = wait && keptRound_ == *wait ? keptTyped_ : model_.GetText();
    if (Act([this, typed, unheld] { model_.SetTyped(typed, unheld); }, model_.AimOver(under), Waiting::ShowsInput))
        return;
    // Not taken at all (a box keeps the window disabled): the box shows
    // the model's text again.
    if (!IsWindowEnabled(GetAncestor(hwnd_, GA_ROOT))) {
        Invalidate();
        return;
    }
    keptTyped_ = typed;
    keptRound_ = wait.value_or(0);
}

// ---- PictureView

PictureView::PictureView(const ViewSite& site, const Slot& slot, PictureBox& model, Painter painter)
    : ModelView(site, slot, {.className = "STATIC", .style = SS_OWNERDRAW}, model), painter_(std::move(painter)) {}

void PictureView::OnDraw(const DRAWITEMSTRUCT& item) { painter_(item.hDC, item.rcItem, Dpi()); }

}  // namespace varnex::forms
