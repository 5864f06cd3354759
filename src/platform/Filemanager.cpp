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

bool CancelledByPlayer(int result) { return result == 1223 || result == 0x75; }

Text DescribeShellResult(int result) {
    switch (result) {
        case 0x402:
        case 0x7C: return "the file does not exist";
        case 0x71: return "the names are the same";
        case 0x78: return "access is denied";
        case 0x81: return "the name is too long";
        default: return DescribeError(static_cast<std::uint32_t>(result));
    }
}

}  // namespace varnex::Filemanager
