#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <string>

#include "app/files.hpp"
#include "app/open_files.hpp"
#include "app/save_command.hpp"
#include "fake_controls.hpp"
#include "temporary_folder.hpp"

using namespace proxylist;
using proxylist::testing::FakeControls;
using proxylist::testing::TemporaryFolder;

namespace {

Text folder_text(const TemporaryFolder& folder) {
    return Text(folder.path().string());
}

void save(FakeControls& controls, const TemporaryFolder& folder, const std::string& box) {
    controls.put(ControlId::编辑框4, Text(box));
    save_list(controls, folder_text(folder));
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
    save_list(controls, folder_text(folder));
    EXPECT_EQ(folder.read("ip.txt"), first);
}

TEST(SaveList, FolderWithChineseNameIsNotCut) {
    TemporaryFolder folder(
        "\xE6\x95\xB0\xE6\x8D\xAE\xE7\x9B\xAE\xE5\xBD\x95");  // 数据目录 in UTF-8
    FakeControls controls;
    save(controls, folder, "203.0.113.9:3128");
    EXPECT_EQ(folder.read("ip.txt"), "203.0.113.9:3128");
}

TEST(SaveList, FailedOpenKeepsTheOldFileAndCreatesNothing) {
    TemporaryFolder folder;
    FakeControls controls;

    // A folder that does not exist.
    controls.put(ControlId::编辑框4, "new");
    save_list(controls, Text((folder.path() / "missing").string()));
    EXPECT_EQ(folder.entries(), 0u);

    // ip.txt marked read-only keeps its contents, for root too.
    folder.write("ip.txt", "old list");
    ::chmod((folder.path() / "ip.txt").c_str(), 0444);
    save(controls, folder, "new list");
    EXPECT_EQ(folder.read("ip.txt"), "old list");
    EXPECT_EQ(folder.entries(), 1u);

    // The box is still read when the open failed.
    EXPECT_EQ(controls.log().back(), "read 编辑框4");
}

// A save that fails part way must not cost the user the list saved before.
TEST(SaveList, WriteThatFailsPartWayKeepsTheOldFileWhole) {
    TemporaryFolder folder;
    const std::string old_list = "192.0.2.1:80\r\n198.51.100.7:808\r\n";
    folder.write("ip.txt", old_list);
    const std::string big(1 << 20, '7');

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // The limit makes the write stop short, as a full disk would.
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        FakeControls controls;
        save(controls, folder, big);
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(folder.read("ip.txt"), old_list);
    EXPECT_EQ(folder.entries(), 1u) << "the temporary file was not removed";

    // Without the limit the same save replaces the file.
    FakeControls controls;
    save(controls, folder, big);
    EXPECT_EQ(folder.read("ip.txt"), big);
}

TEST(SaveList, KeepsTheModeOfTheFileItReplaces) {
    TemporaryFolder folder;
    folder.write("ip.txt", "old");
    ::chmod((folder.path() / "ip.txt").c_str(), 0640);
    FakeControls controls;
    save(controls, folder, "new");
    struct stat st {};
    ASSERT_EQ(::stat((folder.path() / "ip.txt").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST(OpenFiles, ZeroAndUnknownNumbersAreNeverOpen) {
    TemporaryFolder folder;
    OpenFiles files;
    EXPECT_EQ(files.file_open(Text()), 0);
    EXPECT_FALSE(files.file_write_text(0, "x"));
    EXPECT_FALSE(files.file_write_text(12345, "x"));
    files.file_close(0);
    files.file_close(-1);

    const Text path((folder.path() / "a.txt").string());
    const FileNumber first = files.file_open(path);
    const FileNumber second = files.file_open(Text((folder.path() / "b.txt").string()));
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
        const FileNumber file = files.file_open(Text((folder.path() / "ip.txt").string()));
        ASSERT_NE(file, 0);
        files.file_write_text(file, "half");
    }
    EXPECT_EQ(folder.read("ip.txt"), "old");
    EXPECT_EQ(folder.entries(), 1u);
}

TEST(RunDirectory, IsTheFolderOfTheExecutable) {
    const auto executable = std::filesystem::read_symlink("/proc/self/exe");
    EXPECT_EQ(run_directory().to_string(), executable.parent_path().string());
}
