#include "platform/emulated/ShellAndDesktop.hpp"

#include "platform/Filemanager.hpp"

namespace varnex::platform::emulated {

namespace fs = std::filesystem;
using namespace Filemanager;

namespace {

constexpr std::size_t kMaxPath = 260;

Text NameOf(const Text& path) { return path.substr(FindLastLetterOf(path, "\\/") + 1); }

// Windows takes no name holding these, nor a control character; the colon
// after the drive letter is the path's own.
bool ValidOnWindows(const Text& path) {
    for (std::size_t i = 2; i < path.size(); ++i) {
        const auto c = static_cast<unsigned char>(path[i]);
        if (c < 0x20 || Text("<>:\"|").find(static_cast<char>(c)) != Text::npos) return false;
    }
    return true;
}

// "tank (2).pbo" for tank.pbo, the first such name still free.
fs::path KeptBeside(const fs::path& taken) {
    const Text name = taken.filename().string();
    const std::size_t dot = FindLastLetterOf(name, ".");
    const Text stem = name.substr(0, dot), extension = dot == Text::npos ? Text() : name.substr(dot);
    std::error_code ec;
    for (int n = 2;; ++n) {
        fs::path free = taken.parent_path() / (stem + " (" + std::to_string(n) + ")" + extension);
        if (!fs::exists(free, ec)) return free;
    }
}

}  // namespace

int Shell::Ask(const Text& caption, const Text& text, int unanswered) {
    return desktop_ ? desktop_->ShellBox(text, caption, unanswered) : unanswered;
}

int Shell::SHFileOperationA(const ShellFileOp& op) {
    auto single = [](const Text& list) { return Text(list.c_str()); };
    const int result =
        op.wFunc == FO_RENAME || op.wFunc == FO_DELETE ? Operate(op.wFunc, single(op.pFrom), single(op.pTo)) : 0;
    calls.push_back({op.wFunc, op.pFrom, op.pTo, op.fFlags, result});
    return result;
}

int Shell::Operate(std::uint32_t wFunc, const Text& from, const Text& to) {
    const bool windows = kind == Kind::Windows;
    // What stands in the way, in the order the shell meets it: an injected
    // failure, the paths themselves, a missing source, for a rename a name
    // already taken, the player's answer, then a lock or protection.
    if (const auto code = files_.Enter(wFunc == FO_RENAME ? FileOp::Rename : FileOp::Recycle, from))
        return static_cast<int>(code);
    if (windows && (from.size() >= kMaxPath || to.size() >= kMaxPath)) return DE_PATHTOODEEP;
    if (windows && !(ValidOnWindows(from) && ValidOnWindows(to))) return static_cast<int>(errc::kInvalidName);
    const fs::path source = files_.HostPath(from);
    std::error_code ec;
    if (source.empty() || !fs::exists(source, ec))
        return windows ? static_cast<int>(errc::kFileNotFound) : kSourceMissing;
    // Keep the spelling asked for, also when only letter case changes.
    fs::path target = source.parent_path() / NameOf(to);
    bool replace = false;
    if (wFunc == FO_RENAME) {
        const fs::path existing = files_.HostPath(to);
        if (fs::exists(existing, ec) && !fs::equivalent(source, existing, ec)) {
            if (!windows) return static_cast<int>(errc::kAlreadyExists);
            const int answer = Ask("Replace or Skip Files",
                                   "The destination already has a file named \"" + existing.filename().string() +
                                       "\".\r\n\r\nReplace the file in the destination, or keep both files?",
                                   kIdCancel);
            if (answer == kReplace) {
                target = existing;
                replace = true;
            } else if (answer == kKeepBoth) {
                target = KeptBeside(existing);
            } else {
                return static_cast<int>(errc::kCancelled);
            }
        }
    } else if (confirmsDelete) {
        const int answer =
            windows ? Ask("Delete File",
                          "Are you sure you want to move this file to the Recycle Bin?\r\n\r\n" + NameOf(from), kIdYes)
                    : Ask("Confirm file deletion",
                          "Are you sure that you want to send '" + NameOf(from) + "' to the Trash?", kIdYes);
        if (answer != kIdYes) return static_cast<int>(errc::kCancelled);
    }
    for (std::uint32_t refused; (refused = files_.Refusal(source, Files::Use::Change)) != 0;) {
        // Wine's shell answers a file another program holds open with "file
        // not found"; Windows' asks the player to close it, as often as he
        // tries again.
        if (refused != errc::kSharingViolation) return static_cast<int>(refused);
        if (!windows) return static_cast<int>(errc::kFileNotFound);
        if (Ask("File In Use",
                "The action can't be completed because the file is open in another program.\r\n\r\nClose the file "
                "and try again.\r\n\r\n" +
                    NameOf(from),
                kIdCancel) != kTryAgain)
            return static_cast<int>(errc::kCancelled);
    }
    if (wFunc == FO_RENAME) {
        if (replace) fs::remove(target, ec);
        fs::rename(source, target, ec);
        return ec ? static_cast<int>(errc::kAccessDenied) : 0;
    }
    if (!recycleBin.empty()) {
        fs::create_directories(recycleBin, ec);
        fs::rename(source, recycleBin / source.filename(), ec);
    } else {
        fs::remove(source, ec);
    }
    if (ec) return static_cast<int>(errc::kAccessDenied);
    recycled.push_back(from);
    return 0;
}

// ----------------------------------------------------------------- Desktop

int Desktop::MessageBox(const Text& text, const Text& caption, std::uint32_t style) {
    return Show({text, caption, style}, kIdOk);
}

int Desktop::ShellBox(const Text& text, const Text& caption, int unanswered) {
    return Show({text, caption, 0}, unanswered);
}

int Desktop::Show(Box box, int unanswered) {
    boxes.push_back(std::move(box));
    if (onBox) onBox(boxes.back());
    if (boxAnswers.empty()) return unanswered;
    const int answer = boxAnswers.front();
    boxAnswers.pop_front();
    return answer;
}

Text Desktop::ShowOpenDialog(const FileDialogSetup& setup) { return ShowFileDialog(setup, Dialog::Open); }

Text Desktop::ShowSaveDialog(const FileDialogSetup& setup) { return ShowFileDialog(setup, Dialog::Save); }

Text Desktop::ShowFileDialog(const FileDialogSetup& setup, Dialog dialog) {
    dialogs.push_back(setup);
    dialogWasSave.push_back(dialog == Dialog::Save);
    if (dialogAnswers.empty()) return {};
    Text answer = dialogAnswers.front();
    dialogAnswers.pop_front();
    return answer;
}

}  // namespace varnex::platform::emulated
