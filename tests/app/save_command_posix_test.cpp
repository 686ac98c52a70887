// The save command on POSIX: what only a POSIX file system can show.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <string>

#include "app/files.hpp"
#include "app/save_command.hpp"
#include "fake_controls.hpp"
#include "temporary_folder.hpp"

using namespace proxylist;
using proxylist::testing::FakeControls;
using proxylist::testing::TemporaryFolder;

namespace {

void save(FakeControls& controls, const TemporaryFolder& folder, const std::string& box) {
    controls.put(ControlId::编辑框4, Text(box));
    save_list(controls, folder.file_path());
}

}  // namespace

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

TEST(RunDirectory, IsTheFolderOfTheExecutable) {
    const auto executable = std::filesystem::read_symlink("/proc/self/exe");
    EXPECT_EQ(run_directory().bytes.to_string(), executable.parent_path().string());
}

TEST(ListFilePath, JoinsWithASlash) {
    EXPECT_EQ(list_file_path(FilePath{"/opt/tool", {}}).bytes, Text("/opt/tool/ip.txt"));
    EXPECT_EQ(list_file_path(FilePath{}).bytes, Text("/ip.txt"));
}
