#include "platform/Status.hpp"

namespace varnex {

Text DescribeError(std::uint32_t code) {
    switch (code) {
        case 0:
            return "no error";
        case errc::kFileNotFound:
            return "the file does not exist";
        case errc::kPathNotFound:
            return "the folder does not exist";
        case errc::kAccessDenied:
            return "access is denied";
        case errc::kWriteProtect:
            return "the medium is write-protected";
        case errc::kSharingViolation:
        case errc::kLockViolation:
            return "the file is in use by another program";
        case errc::kFileExists:
        case errc::kAlreadyExists:
            return "a file of that name already exists";
        case errc::kDiskFull:
            return "the disk is full";
        case errc::kInvalidName:
            return "the name is not valid";
        case errc::kFilenameTooLong:
            return "the path is too long";
        case errc::kTooManyOpenFiles:
            return "too many files are open";
        case errc::kNameNotHeld:
            return "the name has letters that Windows' language setting for non-Unicode programs cannot show";
        case errc::kDriveNotFound:
            return "mapped drives are not visible to programs run as administrator; choose the folder by its network "
                   "path (\\\\server\\share)";
        default:
            return "system error " + std::to_string(code);
    }
}

}  // namespace varnex
