// The shell's rename and recycle-bin delete over the emulated files, and a
// desktop whose boxes and dialogs answer from scripts.
#pragma once

#include <deque>
#include <functional>
#include <vector>

#include "platform/emulated/Files.hpp"

namespace varnex::emulated {

class Shell : public ShellApi {
public:
    explicit Shell(Files& files) : files_(files) {}

    struct Call {
        std::uint32_t wFunc;
        Text pFrom, pTo;
        std::uint16_t fFlags;
        int result;
    };
    std::vector<Call> calls;
    // Answer to the recycle-bin confirmation: true for Yes.
    bool confirmDelete = true;
    // Files moved into the recycle bin, by their original Windows path.
    std::vector<Text> recycled;
    bool reportsOwnErrors = false;
    // Off as on Windows since 8: the shell then moves the file without
    // asking, whatever confirmDelete says.
    bool confirmsDelete = true;
    std::filesystem::path recycleBin;  // where deleted files go; empty: removed

    int SHFileOperationA(const ShellFileOp& op) override;
    bool ReportsOwnErrors() const override { return reportsOwnErrors; }
    bool ConfirmsDelete() const override { return confirmsDelete; }

private:
    Files& files_;
};

class Desktop : public varnex::Desktop {
public:
    struct Box {
        Text text, caption;
        std::uint32_t style;
    };
    std::vector<Box> boxes;
    std::deque<int> boxAnswers;  // IDOK when none is scripted
    std::deque<Text> dialogAnswers;  // "" (cancel) when none is scripted
    std::vector<FileDialogSetup> dialogs;  // the setups shown, open and save
    std::vector<bool> dialogWasSave;
    int keepResponsiveCalls = 0;
    bool ended = false;
    // Runs while a box is up, for tests that look at the state then.
    std::function<void(const Box&)> onBox;

    int MessageBox(const Text& text, const Text& caption, std::uint32_t style) override;
    Text ShowOpenDialog(const FileDialogSetup& setup) override;
    Text ShowSaveDialog(const FileDialogSetup& setup) override;
    // Whether a walk is due to keep the window responsive; by default
    // every 256th time it asks.
    std::function<bool()> responsiveDue;
    bool ResponsiveDue() override { return responsiveDue ? responsiveDue() : ++responsiveAsked_ % 256 == 0; }
    // Runs at every KeepResponsive, for tests that look at the window then.
    std::function<void()> onKeepResponsive;
    void KeepResponsive() override {
        ++keepResponsiveCalls;
        if (onKeepResponsive) onKeepResponsive();
    }
    void EndProgram() override { ended = true; }

private:
    Text ShowFileDialog(const FileDialogSetup& setup, bool save);
    long long responsiveAsked_ = 0;
};

}  // namespace varnex::emulated
