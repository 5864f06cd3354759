// The shell's rename and recycle-bin delete over the emulated files, as
// Wine's shell or as Windows' behaves, and a desktop whose boxes and dialogs
// answer from scripts.
#pragma once

#include <deque>
#include <functional>
#include <vector>

#include "platform/emulated/Files.hpp"

namespace varnex::platform::emulated {

class Desktop : public varnex::Desktop {
public:
    struct Box {
        Text text, caption;
        std::uint32_t style;
    };
    // Every box the player saw, the program's and the shell's, in order.
    std::vector<Box> boxes;
    std::deque<int> boxAnswers;  // for the program's boxes IDOK when none is scripted
    std::deque<Text> dialogAnswers;  // "" (cancel) when none is scripted
    std::vector<FileDialogSetup> dialogs;  // the setups shown, open and save
    std::vector<bool> dialogWasSave;
    int keepResponsiveCalls = 0;
    bool ended = false;
    // Runs while a box is up, for tests that look at the state then.
    std::function<void(const Box&)> onBox;

    int MessageBox(const Text& text, const Text& caption, std::uint32_t style) override;
    // A box of the shell's own, shown among the program's and answered from
    // the same script: the player answers them in the order they come.
    int ShellBox(const Text& text, const Text& caption, int unanswered);
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
    int Show(Box box, int unanswered);
    enum class Dialog : std::uint8_t { Open, Save };
    Text ShowFileDialog(const FileDialogSetup& setup, Dialog dialog);
    long long responsiveAsked_ = 0;
};

class Shell : public ShellApi {
public:
    // Wine's shell shows no box of its own for a failure, answers a file
    // held open as missing, refuses a name already taken and always asks
    // before the recycle bin. Windows' shell (Vista and later) asks the
    // player about a file held open and about a name already taken, returns
    // its other failures without a word, and asks before the recycle bin
    // only while the player has its confirmation on.
    enum class Kind { Wine, Windows };
    // Answers to the shell's own boxes besides Yes, No and Cancel.
    static constexpr int kTryAgain = 10, kReplace = 100, kKeepBoth = 101;

    explicit Shell(Files& files, Kind kind = Kind::Wine, Desktop* desktop = nullptr)
        : kind(kind), confirmsDelete(kind == Kind::Wine), files_(files), desktop_(desktop) {}

    struct Call {
        std::uint32_t wFunc;
        Text pFrom, pTo;
        std::uint16_t fFlags;
        int result;
    };
    const Kind kind;
    std::vector<Call> calls;
    // Files moved into the recycle bin, by their original Windows path.
    std::vector<Text> recycled;
    // The recycle bin's "Display delete confirmation dialog": off by
    // default since Windows 8, always on under Wine.
    bool confirmsDelete;
    std::filesystem::path recycleBin;  // where deleted files go; empty: removed

    int SHFileOperationA(const ShellFileOp& op) override;
    bool ConfirmsDelete() const override { return confirmsDelete; }

private:
    int Operate(std::uint32_t wFunc, const Text& from, const Text& to);
    // Shows a box of the shell's own; `unanswered` when nothing is scripted.
    int Ask(const Text& caption, const Text& text, int unanswered);

    Files& files_;
    Desktop* desktop_;
};

}  // namespace varnex::platform::emulated
