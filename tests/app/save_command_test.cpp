#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/files.hpp"
#include "app/open_files.hpp"
#include "app/save_command.hpp"
#include "fake_controls.hpp"
#include "temporary_folder.hpp"

using namespace proxylist;
using proxylist::testing::FakeControls;
using proxylist::testing::file_path_of;
using proxylist::testing::TemporaryFolder;

namespace {

void save(FakeControls& controls, const TemporaryFolder& folder, const std::string& box) {
    controls.put(ControlId::编辑框4, Text(box));
    save_list(controls, folder.file_path());
}

}  // namespace

TEST(SaveList, WritesExactlyTheBytesOfTheBox) {
    struct Row {
        const char* name;
        std::string old_file;  // empty: no ip.txt before
        std::string box;
    };
    const Row rows[] = {
        {"two entries", "", "192.0.2.1:80\r\n198.51.100.7:808"},
        {"chinese as code page 936, no byte-order mark", "", "\xB1\xB1\xBE\xA9\r\n"},
        {"shorter after longer leaves no trace", std::string(5000, 'x'), "1.2.3.4:5"},
        {"empty box gives 0 bytes", "192.0.2.1:80\r\n", ""},
        {"lone CR and LF as they are", "", "a\rb\nc\r\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TemporaryFolder folder;
        if (!row.old_file.empty()) {
            folder.write("ip.txt", row.old_file);
        }
        FakeControls controls;
        save(controls, folder, row.box);
        EXPECT_EQ(folder.read("ip.txt"), row.box);
        EXPECT_EQ(folder.entries(), 1u) << "a temporary file was left behind";
    }
}

TEST(SaveList, SavingTwiceGivesTheSameFile) {
    TemporaryFolder folder;
    FakeControls controls;
    save(controls, folder, "192.0.2.1:80\r\n");
    const std::string first = folder.read("ip.txt");
    save_list(controls, folder.file_path());
    EXPECT_EQ(folder.read("ip.txt"), first);
}

TEST(SaveList, FolderWithChineseNameIsNotCut) {
    TemporaryFolder folder(std::filesystem::path(u8"数据目录"));
    FakeControls controls;
    save(controls, folder, "203.0.113.9:3128");
    EXPECT_EQ(folder.read("ip.txt"), "203.0.113.9:3128");
}

TEST(SaveList, MissingFolderCreatesNothingAndStillReadsTheBox) {
    TemporaryFolder folder;
    FakeControls controls;
    controls.put(ControlId::编辑框4, "new");
    save_list(controls, file_path_of(folder.path() / "missing"));
    EXPECT_EQ(folder.entries(), 0u);
    // The box is still read when the open failed.
    EXPECT_EQ(controls.log().back(), "read 编辑框4");
}

TEST(SaveList, ReadOnlyListFileKeepsItsContents) {
    TemporaryFolder folder;
    folder.write("ip.txt", "old list");
    // Marked read-only: kept for every user, root and administrators included.
    std::filesystem::permissions(folder.path() / "ip.txt",
                                 std::filesystem::perms::owner_write |
                                     std::filesystem::perms::group_write |
                                     std::filesystem::perms::others_write,
                                 std::filesystem::perm_options::remove);
    FakeControls controls;
    save(controls, folder, "new list");
    EXPECT_EQ(folder.read("ip.txt"), "old list");
    EXPECT_EQ(folder.entries(), 1u);
    std::filesystem::permissions(folder.path() / "ip.txt", std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
}

TEST(OpenFiles, ZeroAndUnknownNumbersAreNeverOpen) {
    TemporaryFolder folder;
    OpenFiles files;
    EXPECT_EQ(files.file_open(FilePath{}), 0);
    EXPECT_FALSE(files.file_write_text(0, "x"));
    EXPECT_FALSE(files.file_write_text(12345, "x"));
    files.file_close(0);
    files.file_close(-1);

    const FileNumber first = files.file_open(file_path_of(folder.path() / "a.txt"));
    const FileNumber second = files.file_open(file_path_of(folder.path() / "b.txt"));
    EXPECT_NE(first, 0);
    EXPECT_NE(second, 0);
    EXPECT_NE(first, second);
    EXPECT_TRUE(files.file_write_text(first, "ab"));
    EXPECT_TRUE(files.file_write_text(first, "cd"));
    files.file_close(first);
    EXPECT_FALSE(files.file_write_text(first, "late")) << "a closed number is no longer valid";
    EXPECT_EQ(folder.read("a.txt"), "abcd");
}

TEST(OpenFiles, AFileLeftOpenIsGivenUp) {
    TemporaryFolder folder;
    folder.write("ip.txt", "old");
    {
        OpenFiles files;
        const FileNumber file = files.file_open(file_path_of(folder.path() / "ip.txt"));
        ASSERT_NE(file, 0);
        files.file_write_text(file, "half");
    }
    EXPECT_EQ(folder.read("ip.txt"), "old");
    EXPECT_EQ(folder.entries(), 1u);
}
