#include <gtest/gtest.h>

#include "TempFolder.hpp"
#include "platform/win32/Win32Shell.hpp"

namespace varnex {
namespace {

using testing::TempFolder;

// A rename as the program hands it over: the folder as it writes it, with
// "\", joined to the name with "/", each path closed by two zero bytes.
ShellFileOp Rename(const TempFolder& dir, const Text& from, const Text& to) {
    ShellFileOp op;
    op.wFunc = 4;  // FO_RENAME
    op.pFrom = dir.path() + "/" + from + Text(2, '\0');
    op.pTo = dir.path() + "/" + to + Text(2, '\0');
    op.fFlags = 0;
    return op;
}

TEST(Win32Shell, RenamesInPlaceToTheSpellingAskedFor) {
    const std::pair<Text, Text> cases[] = {
        {"Tank.pbo", "Tank.pbx"},
        {"Tank.pbx", "Tank.pbo"},
        {"My Addon.PBO", "My Addon.PBx"},
        {"\xC9l\xE8ve.pbo", "\xC9l\xE8ve.pbx"},
    };
    for (const auto& [from, to] : cases) {
        TempFolder dir;
        dir.Write(from, "addon " + from);
        Win32Shell shell;
        EXPECT_EQ(shell.SHFileOperationA(Rename(dir, from, to)), 0) << from;
        EXPECT_EQ(dir.Names(), std::vector<Text>{to}) << from;
        EXPECT_EQ(dir.Read(to), "addon " + from) << from;
    }
}

TEST(Win32Shell, RefusedRenamesReportAndChangeNothing) {
    TempFolder dir;
    dir.Write("Tank.pbo", "active");
    dir.Write("Tank.pbx", "inactive");
    Win32Shell shell;
    EXPECT_NE(shell.SHFileOperationA(Rename(dir, "Tank.pbo", "Tank.pbx")), 0) << "target exists";
    EXPECT_NE(shell.SHFileOperationA(Rename(dir, "Gone.pbo", "Gone.pbx")), 0) << "source missing";
    EXPECT_EQ(dir.Names(), (std::vector<Text>{"Tank.pbo", "Tank.pbx"}));
    EXPECT_EQ(dir.Read("Tank.pbo"), "active");
    EXPECT_EQ(dir.Read("Tank.pbx"), "inactive");
}

TEST(Win32Shell, UnderWineTheProgramReportsFailedRenamesItself) {
    EXPECT_FALSE(Win32Shell().ReportsOwnErrors()) << "these tests run under Wine";
}

}  // namespace
}  // namespace varnex
