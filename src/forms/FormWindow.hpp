// A top-level window of the program with its control views. One window
// procedure serves every such window: `this` travels in lpCreateParams, is
// kept in GWLP_USERDATA, and each message goes to a member function; a
// control's notification goes back to that control's view.
#pragma once

#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

#include "forms/ControlViews.hpp"
#include "forms/DialogKeys.hpp"
#include "forms/Handles.hpp"
#include "forms/Menus.hpp"
#include "forms/Windows.hpp"

namespace varnex::forms {

class FormWindow {
public:
    virtual ~FormWindow();
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;

    [[nodiscard]] HWND Handle() const { return hwnd_.get(); }
    [[nodiscard]] bool IsOpen() const { return hwnd_ != nullptr; }
    // Mirrors every model that changed into its control.
    void SyncViews();
    // Mirrors every model whole at the next sync: dropped input may have
    // left a control showing what its model never said.
    void InvalidateViews();
    // The window's keyboard, as in a dialog (DialogKeys). True when
    // `message` was handled.
    [[nodiscard]] bool Navigate(MSG& message);
    // Moves the window beside `other` (right, else left) where its monitor's
    // work area has room; otherwise inside the work area, clear of
    // `keepClear` (a control of `other` that must stay in sight) where
    // there is room for that.
    void PlaceBeside(HWND other, HWND keepClear);

protected:
    explicit FormWindow(Gate& gate) : gate_(gate) {}

    // Creates the window, with the icon of the program's resource `icon` and
    // the menus added to `menuBar_`, with a client area of `clientTwips`, at
    // the DPI of the monitor it appears on, or smaller where that would not
    // fit the monitor's work area.
    void Create(const char* className, int icon, const Text& caption, SIZE clientTwips, DWORD style);

    template <class View, class... Args>
    View& Add(const Slot& slot, Args&&... args) {
        auto view =
            std::make_unique<View>(ViewSite{Handle(), layoutDpi_, font_.get()}, slot, std::forward<Args>(args)...);
        View& added = *view;
        byId_[slot.id] = view.get();
        views_.push_back(std::move(view));
        return added;
    }

    // The view of the control `id`, or null.
    ControlView* View(int id) { return ViewOf(id); }

    // The player asked to close the window through its frame.
    virtual void OnClose() = 0;
    // The player pressed Escape in the window.
    virtual void OnEscape() {}
    // The window is gone.
    virtual void OnDestroyed() {}
    // Windows is ending the session: the program goes without a word.
    virtual void OnSessionEnding() {}

    Gate& gate_;
    MenuBar menuBar_;

private:
    // No exception crosses the system's frames: the gate catches what a
    // handler throws.
    static LRESULT CALLBACK Trampoline(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    ControlView* ViewOf(int id);
    // Lays the window out anew for a monitor of `dpi` with `workArea`;
    // false when nothing changed.
    bool Rescale(UINT dpi, const RECT& workArea);
    // The window's size with its layout at `layoutDpi` and its frame at `dpi`.
    [[nodiscard]] SIZE OuterSize(UINT layoutDpi, UINT dpi) const;
    // Sizes the window so that its client area holds the layout exactly.
    void FitClientToLayout();
    // Moves the window by as little as it takes to lie inside `workArea`.
    void KeepInside(const RECT& workArea);

    UniqueWindow hwnd_;
    SIZE clientTwips_{};
    DWORD style_ = 0;
    bool hasMenu_ = false;
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;  // the monitor's
    UINT layoutDpi_ = USER_DEFAULT_SCREEN_DPI;  // the layout's: lower where the window would not fit
    UniqueFont font_;
    std::vector<std::unique_ptr<ControlView>> views_;
    std::unordered_map<int, ControlView*> byId_;
    DialogKeys keys_{[this](int id) { return ViewOf(id); }, [this] { OnEscape(); }};
};

}  // namespace varnex::forms
