// The main window "Varnex v0.98b": every control of the addon manager at
// its fixed place, and the favorites menu.
#pragma once

#include <functional>

#include "app/AddonManager.hpp"
#include "forms/FormWindow.hpp"

namespace varnex::frontend {

using forms::FormWindow;
using forms::Gate;

class MainWindow final : public FormWindow {
public:
    // `gone` runs once the window has been closed.
    MainWindow(AddonManager& app, Gate& gate, std::function<void()> gone);
    // Shows the window with the keyboard in the active list.
    void Show(int showCommand);

private:
    void OnClose() override;
    void OnDestroyed() override;
    void OnSessionEnding() override { sessionEnding_ = true; }

    AddonManager& app_;
    std::function<void()> gone_;
    HWND firstFocus_ = nullptr;
    bool sessionEnding_ = false;
};

}  // namespace varnex::frontend
