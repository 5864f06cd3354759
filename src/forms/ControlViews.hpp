// Views: one real control per control model. A view mirrors its model into
// the window when the model's revision moved, and turns the player's input
// on the control into the model call a handler would make, through the
// gate. Views decide nothing.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "controls/Controls.hpp"
#include "controls/OptionGroup.hpp"
#include "forms/Dpi.hpp"
#include "forms/Gate.hpp"
#include "forms/Windows.hpp"

namespace varnex::forms {

// A control's ID and its place in its window's client area.
struct Slot {
    int id;
    TwipsRect place;
};

// A message to a control, answered before the call returns.
inline LRESULT Send(HWND hwnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return SendMessageA(hwnd, message, wParam, lParam);
}

// A place given within a container, as a window's design gives it.
constexpr TwipsRect In(const TwipsRect& container, int left, int top, int width, int height) {
    return {container.left + left, container.top + top, width, height};
}

// What every view is created with.
struct ViewSite {
    HWND parent;
    UINT dpi;
    HFONT font;
};

// How a view's control is made: its window class, its styles besides those
// of a hidden child window, and the text it starts with.
struct ViewOptions {
    const char* className;
    DWORD style = 0;
    DWORD exStyle = 0;
    Text text = {};
};

class ControlView {
public:
    virtual ~ControlView();
    ControlView(const ControlView&) = delete;
    ControlView& operator=(const ControlView&) = delete;

    [[nodiscard]] HWND Handle() const { return hwnd_; }
    [[nodiscard]] int Id() const { return id_; }

    // Mirrors the model, when it changed since the last time.
    virtual void Sync() = 0;
    virtual void OnCommand(WORD /*code*/) {}
    // The brush for WM_CTLCOLOR*, or null for the system's colours.
    virtual HBRUSH OnColor(HDC /*dc*/) { return nullptr; }
    virtual void OnDraw(const DRAWITEMSTRUCT& /*item*/) {}
    // The window moved to a monitor of another DPI.
    virtual void Rescale(const ViewSite& site);
    // The control may show what the model never said (the player's input
    // was dropped): mirror it whole at the next sync.
    void Invalidate() { seen_ = 0; }
    // A key pressed while the control has the keyboard that the control's
    // own class would not act on as the player expects (Enter in a list or
    // on a button); true when the view took it.
    bool OnKey(WPARAM key);
    // The control the keyboard goes to when this one hides itself while it
    // has the keyboard: the list its action came from.
    void SetFocusHome(HWND home) { home_ = home; }
    [[nodiscard]] HWND FocusHome() const { return home_; }
    // The name screen readers announce for the control, where its window
    // text is not what the player sees beside it.
    void SetAccessibleName(std::function<Text()> name);

protected:
    ControlView(const ViewSite& site, const Slot& slot, const ViewOptions& options);

    // True when `revision` is not the one mirrored last; remembers it.
    bool Changed(std::uint64_t revision);
    // Visible and enabled.
    void MirrorState(const Control& model);
    // The window text, set only when it differs.
    void MirrorText(const Text& text);
    [[nodiscard]] Text WindowText() const;
    [[nodiscard]] UINT Dpi() const { return dpi_; }
    // Enter, pressed while the control has the keyboard, acts as the
    // control's notification `code` (a click, a double click) would.
    void ActOnEnter(WORD code) { enter_ = code; }
    // Sends the control's own messages through OnOwnMessage first.
    void Subclass();
    // A message to the control itself, before its class sees it; true when
    // `result` answers it. CallClass hands it on to the class.
    virtual bool OnOwnMessage(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/, LRESULT& /*result*/) {
        return false;
    }
    LRESULT CallClass(UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;

private:
    static LRESULT CALLBACK Subclassed(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

    int id_;
    TwipsRect place_;
    UINT dpi_;
    std::uint64_t seen_ = 0;
    HWND home_ = nullptr;
    std::optional<WORD> enter_;
    std::function<Text()> accessibleName_;
    WNDPROC classProcedure_ = nullptr;  // the class's own, once subclassed
};

// The part every view of a model shares: it keeps the model, and its sync
// does nothing while the model's revision stands where it was mirrored
// last; otherwise it mirrors whether the control is shown and enabled, and
// then what is the view's own (Mirror).
template <class Model>
class ModelView : public ControlView {
public:
    void Sync() override {
        if (!Changed(model_.Revision())) return;
        MirrorState(model_);
        Mirror();
    }

protected:
    ModelView(const ViewSite& site, const Slot& slot, const ViewOptions& options, Model& model)
        : ControlView(site, slot, options), model_(model) {}

    // What the control shows of its model besides being shown and enabled.
    virtual void Mirror() {}

    Model& model_;
};

// A view the player acts through: it keeps the gate its actions pass.
template <class Model>
class GatedView : public ModelView<Model> {
protected:
    GatedView(const ViewSite& site, const Slot& slot, const ViewOptions& options, Model& model, Gate& gate)
        : ModelView<Model>(site, slot, options, model), gate_(gate) {}

    // What the control shows while its input waits for the handler under
    // way, or after the input was not taken.
    enum class Waiting : bool {
        // What the model says: the control is mirrored whole at the next
        // sync, as it may show what the model never said.
        ShowsModel,
        // The input itself (typing stays in the box while it is kept): the
        // view mirrors what it needs on its own.
        ShowsInput,
    };

    // Runs the player's action through the gate; true when it ran now. A
    // kept action runs only while `aim` holds.
    bool Act(const std::function<void()>& action, Aim aim = {}, Waiting waiting = Waiting::ShowsModel) {
        const bool ran = gate_.Run(action, std::move(aim));
        if (!ran && waiting == Waiting::ShowsModel) this->Invalidate();
        return ran;
    }

    // The number of the wait under way, while a handler runs: input kept in
    // the same wait shares it.
    [[nodiscard]] std::optional<std::uint64_t> CurrentWait() const {
        return gate_.Busy() ? std::optional<std::uint64_t>(gate_.Round()) : std::nullopt;
    }

private:
    Gate& gate_;
};

class FrameView final : public ModelView<Frame> {
public:
    FrameView(const ViewSite& site, const Slot& slot, Frame& model);

private:
    void Mirror() override;
};

class LabelView final : public ModelView<Label> {
public:
    LabelView(const ViewSite& site, const Slot& slot, Label& model);
    HBRUSH OnColor(HDC dc) override;
    // The label is the visible caption of `control`, and shows the focus
    // rectangle while that control has the keyboard.
    void Caption(HWND control);

protected:
    bool OnOwnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void Mirror() override;

    std::uint32_t shownColor_ = 0;
    HWND captioned_ = nullptr;
};

class ButtonView final : public GatedView<CommandButton> {
public:
    ButtonView(const ViewSite& site, const Slot& slot, CommandButton& model, Gate& gate);
    void OnCommand(WORD code) override;
    // The button renames, deletes or writes: a press kept during a handler
    // is dropped when the lists changed meanwhile.
    ButtonView& ChangesFiles() {
        changesFiles_ = true;
        return *this;
    }

private:
    void Mirror() override;

    bool changesFiles_ = false;
};

// One button of a group: a click chooses it in its group, and the group's
// one tab stop is mirrored. The keyboard reaching a button selects nothing
// (the arrow keys select, as a click does).
class OptionView final : public GatedView<OptionButton> {
public:
    OptionView(const ViewSite& site, const Slot& slot, OptionButton& model, std::vector<OptionButton*> group,
               Gate& gate);
    void Sync() override;
    void OnCommand(WORD code) override;
    HBRUSH OnColor(HDC dc) override;
    // The label that shows the button's caption, and its focus.
    void SetCaptionLabel(HWND label) { label_ = label; }

protected:
    bool OnOwnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void Mirror() override;
    void MirrorTabStop();

    OptionGroup group_;
    bool focusing_ = false;  // the button is taking the keyboard
    HWND label_ = nullptr;
};

struct TextStyle {
    bool multiLine = false;
    bool scrollBar = false;
    bool readOnly = false;
};

// A text box. The player's typing sets the model's text (which runs its
// change handling); the view's own mirroring does not count as typing.
class TextView final : public GatedView<TextBox> {
public:
    TextView(const ViewSite& site, const Slot& slot, TextBox& model, TextStyle style, Gate& gate);
    void OnCommand(WORD code) override;

private:
    void Mirror() override;

    TextStyle style_;
    bool mirroring_ = false;
    // The typing last kept, and the wait it was kept in.
    Text keptTyped_;
    std::uint64_t keptRound_ = 0;
};

// Paints a picture into `area` of `dc` at the window's DPI.
using Painter = std::function<void(HDC dc, const RECT& area, UINT dpi)>;

class PictureView final : public ModelView<PictureBox> {
public:
    PictureView(const ViewSite& site, const Slot& slot, PictureBox& model, Painter painter);
    void OnDraw(const DRAWITEMSTRUCT& item) override;

private:
    Painter painter_;
};

}  // namespace varnex::forms
