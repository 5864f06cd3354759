#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <tuple>

#include "TempFolder.hpp"
#include "platform/win32/Win32Files.hpp"

#include <windows.h>

namespace varnex {
namespace {

class Win32FilesTest : public ::testing::Test {
protected:
    testing::TempFolder dir_;
    Win32Files files_;
};

TEST_F(Win32FilesTest, BothOpensCreateAMissingFileAndNeitherShortensOne) {
    for (const auto& [name, mode] : {std::pair{"read.txt", OpenMode::Read}, std::pair{"write.txt", OpenMode::Write}}) {
        FileHandle handle = 0;
        ASSERT_TRUE(files_.Open(dir_.At(name), mode, handle).ok()) << name;
        EXPECT_TRUE(files_.Close(handle).ok()) << name;
        EXPECT_EQ(files_.Close(handle).code, errc::kInvalidHandle) << name;
    }
    EXPECT_EQ(dir_.Names(), (std::vector<Text>{"read.txt", "write.txt"}));

    dir_.Write("Comments.txt", "abcdef");
    const Text path = dir_.At("Comments.txt");
    FileHandle writer = 0, reader = 0;
    ASSERT_TRUE(files_.Open(path, OpenMode::Write, writer).ok());
    EXPECT_TRUE(files_.Write(writer, "XY").ok());
    EXPECT_TRUE(files_.Write(writer, "Z").ok());  // again from the first byte
    EXPECT_TRUE(files_.Close(writer).ok());
    EXPECT_EQ(dir_.Read("Comments.txt"), "ZYcdef");

    ASSERT_TRUE(files_.Open(path, OpenMode::Read, reader).ok());
    std::int64_t length = 0;
    EXPECT_TRUE(files_.Length(reader, length).ok());
    EXPECT_EQ(length, 6);
    for (const std::size_t want : {10, 2}) {  // again from the first byte
        Text text(want, '\0');
        std::size_t got = 0;
        EXPECT_TRUE(files_.Read(reader, text.data(), text.size(), got).ok());
        EXPECT_EQ(text.substr(0, got), Text("ZYcdef").substr(0, want));
    }
    EXPECT_TRUE(files_.Close(reader).ok());

    {  // a handle the program left open goes with the service
        Win32Files forgetful;
        ASSERT_TRUE(forgetful.Open(path, OpenMode::Read, reader).ok());
        EXPECT_FALSE(::DeleteFileA(path.c_str()));
    }
    EXPECT_TRUE(::DeleteFileA(path.c_str()));
}

TEST_F(Win32FilesTest, FailuresGiveWindowsCodesAndCreateNothing) {
    dir_.Write("Tank.pbo", "x");
    FileHandle handle = 0;
    std::int64_t length = -1;
    std::vector<DirEntry> entries;
    const std::tuple<const char*, IoStatus, std::uint32_t> cases[] = {
        {"open in a missing folder", files_.Open(dir_.At("None\\a.txt"), OpenMode::Read, handle), 3},
        {"open a folder", files_.Open(dir_.path(), OpenMode::Read, handle), 5},
        {"length of a missing file", files_.FileLength(dir_.At("Gone.pbo"), length), 2},
        {"length of a folder", files_.FileLength(dir_.path(), length), 5},
        {"delete a missing file", files_.Delete(dir_.At("Gone.pbo")), 2},
        {"folder under a missing one", files_.CreateFolder(dir_.At("None\\Sub")), 3},
        {"list a missing folder", files_.ListFolder(dir_.At("None"), entries), 3},
    };
    for (const auto& [what, status, want] : cases) EXPECT_EQ(status.code, want) << what;
    EXPECT_EQ(length, -1);
    EXPECT_EQ(dir_.Names(), std::vector<Text>{"Tank.pbo"});
}

TEST_F(Win32FilesTest, ListsFilesAndFoldersAsTheDiskSpellsThem) {
    dir_.Write("Tank.PBO", std::string(3000, 't'));
    dir_.Write("my addon.pbx", "");
    dir_.Write("\xC9l\xE8ve.pbo", "abc");
    ASSERT_TRUE(files_.CreateFolder(dir_.At("Res")).ok());
    EXPECT_TRUE(files_.FolderExists(dir_.At("rES")));
    EXPECT_FALSE(files_.FolderExists(dir_.At("Tank.PBO")));
    std::int64_t length = 0;
    EXPECT_TRUE(files_.FileLength(dir_.At("tank.pbo"), length).ok());
    EXPECT_EQ(length, 3000);

    std::vector<DirEntry> entries;
    ASSERT_TRUE(files_.ListFolder(dir_.path(), entries).ok());
    std::vector<std::tuple<Text, bool, std::int64_t>> got;
    for (const auto& e : entries) got.emplace_back(e.name, e.folder, e.size);
    std::sort(got.begin(), got.end());
    const std::vector<std::tuple<Text, bool, std::int64_t>> want = {
        {"Res", true, 0}, {"Tank.PBO", false, 3000}, {"my addon.pbx", false, 0}, {"\xC9l\xE8ve.pbo", false, 3}};
    EXPECT_EQ(got, want);
}

TEST_F(Win32FilesTest, ReplaceContentSwapsInEveryByteValue) {
    std::string content;
    for (int i = 0; i < 512; ++i) content += static_cast<char>(i);
    dir_.Write("Comments.txt", std::string(5000, 'o'));
    ASSERT_TRUE(files_.ReplaceContent(dir_.At("Comments.txt"), content).ok());
    ASSERT_TRUE(files_.ReplaceContent(dir_.At("New.txt"), "").ok());
    EXPECT_EQ(dir_.Read("Comments.txt"), content);
    EXPECT_EQ(dir_.Read("New.txt"), "");
    EXPECT_EQ(dir_.Names(), (std::vector<Text>{"Comments.txt", "New.txt"}));
}

TEST_F(Win32FilesTest, ReplaceContentThatFailsLeavesTheOldFileAndNothingElse) {
    const Text path = dir_.At("Comments.txt");
    const std::pair<const char*, std::function<winapi::UniqueHandle()>> cases[] = {
        {"read-only",
         [&] {
             EXPECT_TRUE(::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
             return winapi::UniqueHandle();
         }},
        {"open elsewhere without sharing",
         [&] {
             return winapi::OwnedFile(
                 ::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
         }},
    };
    for (const auto& [what, hold] : cases) {
        dir_.Write("Comments.txt", "old comments");
        {
            const auto held = hold();
            EXPECT_FALSE(files_.ReplaceContent(path, "new comments").ok()) << what;
        }
        (void)::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        EXPECT_EQ(dir_.Read("Comments.txt"), "old comments") << what;
        EXPECT_EQ(dir_.Names(), std::vector<Text>{"Comments.txt"}) << what;
    }
    EXPECT_EQ(files_.ReplaceContent(dir_.At("None\\Comments.txt"), "x").code, errc::kPathNotFound);
}

}  // namespace
}  // namespace varnex
