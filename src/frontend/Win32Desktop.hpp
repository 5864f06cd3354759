// Boxes, the open and save dialogs, keeping the windows painted during
// long walks, and the end of the program, for the real desktop. Every box
// and dialog first brings the windows up to date, so what the player sees
// behind it is what the handler has done so far, and keeps the program's
// windows disabled while it is up.
#pragma once

#include <functional>

#include "platform/Platform.hpp"

namespace varnex::frontend {

class FrontEnd;

class Win32Desktop final : public Desktop {
public:
    // The windows to bring up to date; none before the main window exists.
    void Attach(FrontEnd* frontEnd) { frontEnd_ = frontEnd; }

    int MessageBox(const Text& text, const Text& caption, std::uint32_t style) override;
    Text ShowOpenDialog(const FileDialogSetup& setup) override;
    Text ShowSaveDialog(const FileDialogSetup& setup) override;
    bool ResponsiveDue() override;
    void KeepResponsive() override;
    void EndProgram() override;

    // Runs `show`, which puts up a box that has no owner (the shell's
    // prompts), with the program's windows up to date and disabled.
    int WithoutOwner(const std::function<int()>& show);
    // Runs `call`, which may put up a box without owner, with the program's
    // windows disabled, but without bringing them up to date first: a walk
    // makes thousands of such calls.
    int Disabled(const std::function<int()>& call);

private:
    enum class FileDialog : bool { Open, Save };
    Text ShowFileDialog(const FileDialogSetup& setup, FileDialog kind);

    FrontEnd* frontEnd_ = nullptr;
};

// The shell's file operations, each with the program's windows disabled:
// any of them may put up a box of the shell's own, which has no owner (the
// recycle bin's "Confirm file deletion"; on Windows also "File In Use" or
// "Replace or Skip" during a rename), and may lie behind the main window.
class PromptingShell final : public ShellApi {
public:
    PromptingShell(ShellApi& shell, Win32Desktop& desktop) : shell_(shell), desktop_(desktop) {}
    int SHFileOperationA(const ShellFileOp& op) override;
    bool ConfirmsDelete() const override { return shell_.ConfirmsDelete(); }

private:
    ShellApi& shell_;
    Win32Desktop& desktop_;
};

}  // namespace varnex::frontend
