// The information window "Addon Information": the six values of an addon's
// companion text file in read-only fields. It is not modal, has no owner
// (it stays open when the main window closes) and is shown and hidden as
// its model says.
#pragma once

#include <functional>

#include "info/AddonInfo.hpp"
#include "forms/FormWindow.hpp"

namespace varnex::frontend {

using forms::FormWindow;
using forms::Gate;

class InfoWindow final : public FormWindow {
public:
    // `closed` runs after the player closed the window.
    InfoWindow(AddonInfo& model, Gate& gate, std::function<void()> closed);
    // Mirrors the fields, then shows or hides the window.
    void Sync();
    [[nodiscard]] bool Shown() const { return IsOpen() && IsWindowVisible(Handle()); }

private:
    void OnClose() override;
    // Escape closes the window, whichever field has the keyboard.
    void OnEscape() override { OnClose(); }

    AddonInfo& model_;
    std::function<void()> closed_;
};

}  // namespace varnex::frontend
