#include "platform/Filemanager.hpp"

namespace varnex::Filemanager {

namespace {
Text PathList(const Text& path) { return path.empty() ? Text() : path + Text(2, '\0'); }
}  // namespace

int SHFileOperation(ShellApi& shell, const SHFILEOPSTRUCTA& record) {
    ShellFileOp op;
    op.wFunc = record.wFunc;
    op.pFrom = PathList(record.pFrom);
    op.pTo = PathList(record.pTo);
    op.fFlags = record.fFlags;
    return shell.SHFileOperationA(op);
}

bool CancelledByPlayer(int result) { return result == static_cast<int>(errc::kCancelled) || result == DE_OPCANCELLED; }

Text DescribeShellResult(int result) {
    switch (result) {
        case kSourceMissing:
        case DE_INVALIDFILES:
            return "the file does not exist";
        case DE_SAMEFILE:
            return "the names are the same";
        case DE_ACCESSDENIEDSRC:
            return "access is denied";
        case DE_PATHTOODEEP:
            return "the path is too long";
        case DE_FILENAMETOOLONG:
            return "the name is too long";
        default:
            return DescribeError(static_cast<std::uint32_t>(result));
    }
}

}  // namespace varnex::Filemanager
