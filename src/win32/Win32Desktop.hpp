// Boxes, the open and save dialogs, keeping the windows painted during
// long walks, and the end of the program, for the real desktop. Every box
// and dialog first brings the windows up to date, so what the player sees
// behind it is what the handler has done so far.
#pragma once

#include "platform/Platform.hpp"

namespace varnex::win32 {

class FrontEnd;

class Win32Desktop final : public Desktop {
public:
    // The windows to bring up to date; none before the main window exists.
    void Attach(FrontEnd* frontEnd) { frontEnd_ = frontEnd; }

    int MessageBox(const Text& text, const Text& caption, std::uint32_t style) override;
    Text ShowOpenDialog(const FileDialogSetup& setup) override;
    Text ShowSaveDialog(const FileDialogSetup& setup) override;
    void KeepResponsive() override;
    void EndProgram() override;

private:
    Text ShowFileDialog(const FileDialogSetup& setup, bool save);

    FrontEnd* frontEnd_ = nullptr;
};

}  // namespace varnex::win32
