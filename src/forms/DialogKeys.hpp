// The keyboard of a top-level window, as in a dialog: Tab and Shift+Tab move
// round every control that can take the keyboard, the arrow keys move within
// the option group, Enter acts as a double click in a list, Escape never
// closes a window by the back door; and the control that had the keyboard
// gets it back when the window is active again. In a question whose
// default answer is No, Escape answers No.
#pragma once

#include <functional>
#include <utility>

#include "forms/ControlViews.hpp"
#include "forms/Windows.hpp"

namespace varnex::forms {

class DialogKeys {
public:
    using ViewFinder = std::function<ControlView*(int id)>;
    // `viewOf` finds the window's view of a control ID, or null; `onEscape`
    // is what Escape does in the window.
    DialogKeys(ViewFinder viewOf, std::function<void()> onEscape)
        : viewOf_(std::move(viewOf)), onEscape_(std::move(onEscape)) {}

    // True when `message`, meant for `window` or one of its controls, was handled.
    [[nodiscard]] bool Navigate(HWND window, MSG& message);
    // Remembers the control of `window` that has the keyboard, and gives it back.
    void KeepFocus(HWND window);
    bool RestoreFocus(HWND window);

private:
    bool OnKeyDown(HWND window, const MSG& message);
    static void MoveFocus(HWND window, bool backwards);
    // Which way the arrow keys step round an option group.
    enum class Step : bool { Forwards, Backwards };
    bool StepOption(HWND window, Step step);

    ViewFinder viewOf_;
    std::function<void()> onEscape_;
    HWND focus_ = nullptr;  // given back when the window is activated again
};

// While it lives, a system message box of this thread with the buttons Yes
// and No and No as its default takes Escape for No too, as a box with
// Cancel takes it for Cancel: the player who backs out of a question keeps
// what it is about. The system's own Yes/No box ignores Escape. Any other
// box keeps its keys.
class EscapeAnswersNo {
public:
    // `style` is the box's, as MessageBox takes it.
    explicit EscapeAnswersNo(UINT style);
    ~EscapeAnswersNo();
    EscapeAnswersNo(const EscapeAnswersNo&) = delete;
    EscapeAnswersNo& operator=(const EscapeAnswersNo&) = delete;

private:
    static LRESULT CALLBACK OnCbt(int code, WPARAM wParam, LPARAM lParam) noexcept;
    static LRESULT CALLBACK OnBox(HWND box, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

    HHOOK installed_ = nullptr;
};

}  // namespace varnex::forms
