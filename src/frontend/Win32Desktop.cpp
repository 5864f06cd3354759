#include "frontend/Win32Desktop.hpp"

#include <algorithm>
#include <vector>

#include "forms/DialogKeys.hpp"
#include "frontend/Foreground.hpp"
#include "frontend/FrontEnd.hpp"
#include "forms/Windows.hpp"

#include <commdlg.h>
#include <shellapi.h>

#include "platform/win32/CodePage.hpp"
#include "platform/win32/LateBound.hpp"

namespace varnex::frontend {

using forms::EscapeAnswersNo;

namespace {

// While a box or dialog is up, its owner is disabled by the box itself;
// the program's other windows (all of them, for a box without owner) are
// disabled here, so that no click on them reaches a handler through the
// box's modal loop and a click on them brings the box forward instead.
class OthersDisabled {
public:
    OthersDisabled(const FrontEnd* frontEnd, HWND owner) {
        if (!frontEnd) return;
        for (const HWND window : frontEnd->Windows())
            if (window != owner && IsWindowEnabled(window)) {
                EnableWindow(window, FALSE);
                disabled_.push_back(window);
            }
    }
    ~OthersDisabled() {
        for (const HWND window : disabled_) EnableWindow(window, TRUE);
    }
    OthersDisabled(const OthersDisabled&) = delete;
    OthersDisabled& operator=(const OthersDisabled&) = delete;

private:
    std::vector<HWND> disabled_;
};

// Around a shell call the program's windows take no click, as around a
// box, but they keep the keyboard: only their style is marked disabled.
// EnableWindow would take the keyboard from the control that has it at
// every rename of a walk, and keys typed meanwhile would reach no control.
class InputRefused {
public:
    explicit InputRefused(const FrontEnd* frontEnd) {
        if (!frontEnd) return;
        for (const HWND window : frontEnd->Windows()) {
            const LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
            if ((style & WS_DISABLED) != 0) continue;
            SetWindowLongPtrA(window, GWL_STYLE, style | WS_DISABLED);
            refused_.push_back(window);
        }
    }
    ~InputRefused() {
        for (const HWND window : refused_)
            if (IsWindow(window))
                SetWindowLongPtrA(window, GWL_STYLE, GetWindowLongPtrA(window, GWL_STYLE) & ~WS_DISABLED);
    }
    InputRefused(const InputRefused&) = delete;
    InputRefused& operator=(const InputRefused&) = delete;

private:
    std::vector<HWND> refused_;
};

// The open and save dialogs make the folder they show the process's current
// folder, which Windows keeps open: a USB stick a list was saved on could
// not be ejected while Varnex runs. The folder the program had is put back.
class CurrentFolderKept {
public:
    CurrentFolderKept() {
        const DWORD size = GetCurrentDirectoryW(0, nullptr);
        folder_.resize(size);
        if (size == 0 || GetCurrentDirectoryW(size, folder_.data()) >= size) folder_.clear();
    }
    ~CurrentFolderKept() {
        if (!folder_.empty()) (void)SetCurrentDirectoryW(folder_.data());
    }
    CurrentFolderKept(const CurrentFolderKept&) = delete;
    CurrentFolderKept& operator=(const CurrentFolderKept&) = delete;

private:
    std::vector<wchar_t> folder_;
};

const wchar_t* OrNull(const std::wstring& text) { return text.empty() ? nullptr : text.c_str(); }

// "label|pattern|label|pattern" as the dialogs want it: each part ended by
// a zero byte, the whole by a second one.
Text FilterList(const Text& filter) {
    if (filter.empty()) return {};
    Text list = filter;
    std::replace(list.begin(), list.end(), '|', '\0');
    list.push_back('\0');
    list.push_back('\0');
    return list;
}

}  // namespace

int Win32Desktop::MessageBox(const Text& text, const Text& caption, std::uint32_t style) {
    HWND owner = nullptr;
    if (frontEnd_) {
        frontEnd_->Sync();
        owner = frontEnd_->Owner();
    }
    const OthersDisabled others(frontEnd_, owner);
    const EscapeAnswersNo escape(style);
    return MessageBoxA(owner, text.c_str(), caption.c_str(), style);
}

Text Win32Desktop::ShowOpenDialog(const FileDialogSetup& setup) { return ShowFileDialog(setup, FileDialog::Open); }

Text Win32Desktop::ShowSaveDialog(const FileDialogSetup& setup) { return ShowFileDialog(setup, FileDialog::Save); }

Text Win32Desktop::ShowFileDialog(const FileDialogSetup& setup, FileDialog kind) {
    HWND owner = nullptr;
    if (frontEnd_) {
        frontEnd_->Sync();
        owner = frontEnd_->Owner();
    }
    // The wide dialogs: the single-byte ones would hand a chosen name over
    // with best-fit letters, the name of another file. The answer comes in
    // the code page with "?" for each letter it cannot hold, which the
    // program knows it cannot open (see Held).
    const std::wstring filter = platform::win32::Widen(FilterList(setup.filter));
    const std::wstring fileName = platform::win32::Widen(setup.fileName);
    const std::wstring initDir = platform::win32::Widen(setup.initDir), title = platform::win32::Widen(setup.title),
                       defaultExt = platform::win32::Widen(setup.defaultExt);
    std::vector<wchar_t> file(32768, L'\0');
    std::copy_n(fileName.begin(), std::min(fileName.size(), file.size() - 1), file.begin());

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
    dialog.nFilterIndex = static_cast<DWORD>(std::max(0, setup.filterIndex));
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrInitialDir = OrNull(initDir);
    dialog.lpstrTitle = OrNull(title);
    dialog.lpstrDefExt = OrNull(defaultExt);
    dialog.Flags = setup.flags;

    const CurrentFolderKept folder;
    const OthersDisabled others(frontEnd_, owner);
    static const auto getSave =
        platform::win32::LateBound<decltype(::GetSaveFileNameW)>("comdlg32.dll", "GetSaveFileNameW");
    static const auto getOpen =
        platform::win32::LateBound<decltype(::GetOpenFileNameW)>("comdlg32.dll", "GetOpenFileNameW");
    const auto show = kind == FileDialog::Save ? getSave : getOpen;
    const BOOL chosen = show && show(&dialog);
    return chosen ? platform::win32::Narrow(file.data()) : Text();
}

bool Win32Desktop::ResponsiveDue() { return frontEnd_ && frontEnd_->ResponsiveDue(); }

void Win32Desktop::KeepResponsive() {
    if (frontEnd_) frontEnd_->KeepResponsive();
}

int Win32Desktop::WithoutOwner(const std::function<int()>& show) {
    if (!frontEnd_) return show();
    frontEnd_->Sync();
    frontEnd_->PaintNow();
    // Closing, the box hands the activation to a window behind it while
    // the program's own are disabled: the player was working here.
    const ForegroundKept front(frontEnd_->Windows(), 0);
    const OthersDisabled all(frontEnd_, nullptr);
    return show();
}

int Win32Desktop::Disabled(const std::function<int()>& call) {
    if (!frontEnd_) return call();
    // Windows' shell may show a box of its own during a rename ("File In
    // Use", "Replace or Skip"); Wine's never does.
    const ForegroundKept front(frontEnd_->Windows(), ForegroundKept::kAnsweredMs);
    const InputRefused all(frontEnd_);
    return call();
}

int PromptingShell::SHFileOperationA(const ShellFileOp& op) {
    const auto call = [&] { return shell_.SHFileOperationA(op); };
    const bool asks = op.wFunc == FO_DELETE && (op.fFlags & FOF_NOCONFIRMATION) == 0 && shell_.ConfirmsDelete();
    return asks ? desktop_.WithoutOwner(call) : desktop_.Disabled(call);
}

void Win32Desktop::EndProgram() { ExitProcess(0); }

}  // namespace varnex::frontend
