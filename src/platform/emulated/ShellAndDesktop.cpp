#include "platform/emulated/ShellAndDesktop.hpp"

#include "platform/Filemanager.hpp"

namespace varnex::emulated {

namespace fs = std::filesystem;
using namespace Filemanager;

int Shell::SHFileOperationA(const ShellFileOp& op) {
    auto single = [](const Text& list) { return Text(list.c_str()); };
    const Text from = single(op.pFrom);
    const Text to = single(op.pTo);
    const fs::path source = files_.HostPath(from);
    std::error_code ec;
    // What stands in the way of the operation, in the order the shell meets
    // it: an injected failure, a missing source, and for a rename a name
    // already taken; then the player's answer; then a lock or protection.
    const auto obstacle = [&]() -> int {
        if (const auto code = files_.Enter(op.wFunc == FO_RENAME ? FileOp::Rename : FileOp::Recycle, from))
            return static_cast<int>(code);
        if (source.empty() || !fs::exists(source, ec)) return kSourceMissing;
        if (op.wFunc == FO_RENAME) {
            const fs::path target = files_.HostPath(to);
            if (fs::exists(target, ec) && !fs::equivalent(source, target, ec))
                return static_cast<int>(errc::kAlreadyExists);
        } else if (confirmsDelete && !confirmDelete) {
            return static_cast<int>(errc::kCancelled);  // the player said No
        }
        // Wine's shell answers a file another program holds open with "file
        // not found", where Windows' own calls say "sharing violation".
        const std::uint32_t refused = files_.Refusal(source, true);
        return static_cast<int>(refused == errc::kSharingViolation ? errc::kFileNotFound : refused);
    };
    int result = 0;
    if (op.wFunc == FO_RENAME || op.wFunc == FO_DELETE) result = obstacle();
    if (result == 0 && op.wFunc == FO_RENAME) {
        // Keep the spelling asked for, also when only letter case changes.
        const fs::path wanted = source.parent_path() / fs::path(to.substr(to.find_last_of("\\/") + 1));
        fs::rename(source, wanted, ec);
        result = ec ? static_cast<int>(errc::kAccessDenied) : 0;
    } else if (result == 0 && op.wFunc == FO_DELETE) {
        if (!recycleBin.empty()) {
            fs::create_directories(recycleBin, ec);
            fs::rename(source, recycleBin / source.filename(), ec);
        } else {
            fs::remove(source, ec);
        }
        result = ec ? static_cast<int>(errc::kAccessDenied) : 0;
        if (!ec) recycled.push_back(from);
    }
    calls.push_back({op.wFunc, op.pFrom, op.pTo, op.fFlags, result});
    return result;
}

// ----------------------------------------------------------------- Desktop

int Desktop::MessageBox(const Text& text, const Text& caption, std::uint32_t style) {
    boxes.push_back({text, caption, style});
    if (onBox) onBox(boxes.back());
    if (boxAnswers.empty()) return kIdOk;
    const int answer = boxAnswers.front();
    boxAnswers.pop_front();
    return answer;
}

Text Desktop::ShowOpenDialog(const FileDialogSetup& setup) { return ShowFileDialog(setup, false); }

Text Desktop::ShowSaveDialog(const FileDialogSetup& setup) { return ShowFileDialog(setup, true); }

Text Desktop::ShowFileDialog(const FileDialogSetup& setup, bool save) {
    dialogs.push_back(setup);
    dialogWasSave.push_back(save);
    if (dialogAnswers.empty()) return {};
    Text answer = dialogAnswers.front();
    dialogAnswers.pop_front();
    return answer;
}

}  // namespace varnex::emulated
