// The program's windows over the addon manager: the main window, the
// information window once the model has one to show, the gate every piece
// of input passes, and the message loop.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/AddonManager.hpp"
#include "forms/Gate.hpp"
#include "frontend/InfoWindow.hpp"
#include "frontend/MainWindow.hpp"
#include "forms/Windows.hpp"

namespace varnex::frontend {

using forms::Gate;

class FrontEnd {
public:
    explicit FrontEnd(AddonManager& app);
    ~FrontEnd();
    FrontEnd(const FrontEnd&) = delete;
    FrontEnd& operator=(const FrontEnd&) = delete;

    // Opens the main window; false when it could not be created.
    [[nodiscard]] bool Open(int showCommand);
    // Runs until none of the program's windows is open.
    int Run();

    // Brings every window up to date with its models.
    void Sync();
    // Paints what changed at once, without waiting for the message loop.
    void PaintNow();
    // True when a handler at work has left the windows unpainted long
    // enough that they are due to be brought up to date.
    [[nodiscard]] bool ResponsiveDue() const;
    // Brings the windows up to date and painted in the middle of a handler,
    // and answers what other programs sent. The player's clicks and keys
    // are read against what the window shows and kept for when the handler
    // has ended; only those that would start a loop of their own wait in
    // the queue.
    void KeepResponsive();
    // The window boxes and dialogs belong to: the main window while open.
    [[nodiscard]] HWND Owner() const;
    // The program's windows that are open.
    [[nodiscard]] std::vector<HWND> Windows() const;

private:
    // A window was closed: the program ends when none is left open.
    void Closed();
    // True when `message` is the main window's close that a key pressed
    // for the information window asked for, after that window had gone.
    bool DropsCloseMeantForInfo(const MSG& message);
    // Takes the clicks and keys that came during a handler, up to the first
    // that must wait for its end.
    void TakeAimedInput();
    // A handler threw `what`: the player is told in one box.
    void Failed(const std::string& what);
    // A handler starts, or the last one kept meanwhile has ended.
    void BusyChanged(bool busy);
    // Takes the busy mark off the main window once no handler runs and no
    // input that came meanwhile waits in the queue.
    void MarkBusyUntilInputTaken();

    AddonManager& app_;
    Gate gate_;
    std::unique_ptr<MainWindow> main_;
    std::unique_ptr<InfoWindow> info_;
    ULONGLONG painted_ = 0;  // when a handler last brought the windows up to date
    bool marked_ = false;  // the main window carries the busy mark
    bool infoClosed_ = false;  // the player has closed the information window
    DWORD infoClosedAt_ = 0;  // when, on the clock of the messages' times
    bool closeMeantForInfo_ = false;  // the close that follows is dropped
};

}  // namespace varnex::frontend
