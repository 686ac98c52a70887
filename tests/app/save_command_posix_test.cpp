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

namespace {

constexpr uid_t kNobody = 65534;

// Saves `list` with the executable's folder `run_directory` in a child process that runs as a
// user other than root (tests run as root, whom no folder refuses) and whose data folder is
// `data_home`.
void save_as_other_user(const TemporaryFolder& run_directory, const TemporaryFolder& data_home,
                        const std::string& list) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::getuid() == 0 && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) {
            ::_exit(3);
        }
        ::setenv("XDG_DATA_HOME", data_home.path().c_str(), 1);
        FakeControls controls;
        controls.put(ControlId::编辑框4, Text(list));
        save_list(controls, run_directory.file_path());
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

}  // namespace

// An installed program lives in a folder its users may not write to (/usr/bin): the list then
// goes to the user's data folder instead of being lost.
TEST(ListFileFolder, FolderTheUserMayNotWriteSendsTheListToTheUsersDataFolder) {
    const TemporaryFolder program_folder;
    const TemporaryFolder data_home;
    ::chmod(program_folder.path().c_str(), 0555);
    ::chmod(data_home.path().c_str(), 0777);
    save_as_other_user(program_folder, data_home, "192.0.2.1:80\r\n");
    EXPECT_EQ(program_folder.entries(), 0u);
    EXPECT_EQ(data_home.read("proxy-list-tool/ip.txt"), "192.0.2.1:80\r\n");
}

TEST(ListFileFolder, FolderTheUserMayWriteKeepsTheListBesideTheProgram) {
    const TemporaryFolder program_folder;
    const TemporaryFolder data_home;
    ::chmod(program_folder.path().c_str(), 0777);
    ::chmod(data_home.path().c_str(), 0777);
    save_as_other_user(program_folder, data_home, "198.51.100.7:808");
    EXPECT_EQ(program_folder.read("ip.txt"), "198.51.100.7:808");
    EXPECT_EQ(data_home.entries(), 0u);
}
