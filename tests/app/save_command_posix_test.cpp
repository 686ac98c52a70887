// The save command on POSIX: what only a POSIX file system can show.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "app/files.hpp"
#include "app/replacing_file.hpp"
#include "app/save_command.hpp"
#include "child_process.hpp"
#include "deep_folder.hpp"
#include "fake_controls.hpp"
#include "temporary_folder.hpp"

using namespace proxylist;
using proxylist::testing::become_nobody;
using proxylist::testing::DeepFolder;
using proxylist::testing::FakeControls;
using proxylist::testing::file_path_of;
using proxylist::testing::run_in_child;
using proxylist::testing::TemporaryFolder;
namespace fs = std::filesystem;

namespace {

void save(FakeControls& controls, const TemporaryFolder& folder, const std::string& box) {
    controls.put(ControlId::编辑框4, Text(box));
    save_list(controls, folder.file_path());
}

void save_to(const fs::path& folder, const std::string& box) {
    FakeControls controls;
    controls.put(ControlId::编辑框4, Text(box));
    save_list(controls, file_path_of(folder));
}

// What a folder holds, one entry a line, in name order: a file with its mode and bytes, a
// link with where it points, a folder with what it holds. Equal descriptions before and after
// a save mean the save left the folder alone.
std::string describe_folder(const fs::path& folder, const std::string& indent = {}) {
    std::vector<fs::path> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename());
    }
    std::sort(names.begin(), names.end());
    std::string description;
    for (const auto& name : names) {
        const fs::path path = folder / name;
        const fs::file_status status = fs::symlink_status(path);
        description += indent + name.string();
        if (fs::is_symlink(status)) {
            description += " -> " + fs::read_symlink(path).string() + "\n";
        } else if (fs::is_directory(status)) {
            description += "/\n" + describe_folder(path, indent + "  ");
        } else if (fs::is_regular_file(status)) {
            std::ifstream in(path, std::ios::binary);
            char mode[8];
            std::snprintf(mode, sizeof mode, "%o", static_cast<unsigned>(status.permissions()));
            description += std::string(" file ") + mode + " \"" +
                           std::string(std::istreambuf_iterator<char>(in), {}) + "\"\n";
        } else {
            description += " (neither file, folder nor link)\n";
        }
    }
    return description;
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
}

// An unknown run directory must not turn into the root folder: "" joined with "/ip.txt" would
// be /ip.txt, and a save run by root would write there.
TEST(ListFilePath, UnknownFolderNamesNoFile) {
    EXPECT_TRUE(list_file_path(FilePath{}).empty());
    // Unknown run directory and no data folder either: a user without a home.
    const int exit_code = run_in_child([] {
        ::unsetenv("XDG_DATA_HOME");
        ::unsetenv("HOME");
        if (::getuid() == 0 && (::setgid(54321) != 0 || ::setuid(54321) != 0)) {
            return 3;  // 54321: a user id that /etc/passwd does not know
        }
        return list_file_path(list_file_folder(FilePath{})).empty() ? 0 : 1;
    });
    EXPECT_EQ(exit_code, 0);
}

namespace {

// Saves `list` with the executable's folder `run_directory`, as user nobody (tests run as
// root, whom no folder refuses), with `data_home` as the user's data folder.
int save_as_other_user(const fs::path& run_directory, const fs::path& data_home,
                       const std::string& list) {
    return run_in_child([&] {
        if (!become_nobody()) {
            return 3;
        }
        ::setenv("XDG_DATA_HOME", data_home.c_str(), 1);
        save_to(run_directory, list);
        return 0;
    });
}

}  // namespace

// An installed program lives in a folder its users may not write to (/usr/bin): the list then
// goes to the user's data folder instead of being lost, and the folder is not touched.
TEST(ListFileFolder, FolderTheUserMayNotWriteSendsTheListToTheUsersDataFolder) {
    struct Row {
        const char* name;
        std::function<void(const TemporaryFolder&)> fill;
        bool data_folder_writable;
    };
    const Row rows[] = {
        {"empty folder", [](const TemporaryFolder&) {}, true},
        {"folder holding an ip.txt that anyone may write",
         [](const TemporaryFolder& folder) {
             folder.write("ip.txt", "old list");
             ::chmod((folder.path() / "ip.txt").c_str(), 0666);
         },
         true},
        {"folder holding a temporary file of a killed save",
         [](const TemporaryFolder& folder) { folder.write("ip.txt.tmp-1-0badf00d", "half"); },
         true},
        {"data folder that cannot be made either", [](const TemporaryFolder&) {}, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const TemporaryFolder program_folder;
        const TemporaryFolder data_home;
        row.fill(program_folder);
        ::chmod(program_folder.path().c_str(), 0555);
        ::chmod(data_home.path().c_str(), row.data_folder_writable ? 0777 : 0555);
        const std::string untouched = describe_folder(program_folder.path());

        EXPECT_EQ(save_as_other_user(program_folder.path(), data_home.path(), "192.0.2.1:80\r\n"),
                  0);
        EXPECT_EQ(describe_folder(program_folder.path()), untouched);
        if (row.data_folder_writable) {
            EXPECT_EQ(data_home.read("proxy-list-tool/ip.txt"), "192.0.2.1:80\r\n");
            EXPECT_EQ(data_home.entries(), 1u);
            EXPECT_EQ(fs::status(data_home.path() / "proxy-list-tool").permissions(),
                      fs::perms::owner_all)
                << "the data folder is the user's alone";
        } else {
            EXPECT_EQ(data_home.entries(), 0u);
        }
    }
}

TEST(ListFileFolder, FolderTheUserMayWriteKeepsTheListBesideTheProgram) {
    const TemporaryFolder program_folder;
    const TemporaryFolder data_home;
    ::chmod(program_folder.path().c_str(), 0777);
    ::chmod(data_home.path().c_str(), 0777);
    EXPECT_EQ(save_as_other_user(program_folder.path(), data_home.path(), "198.51.100.7:808"), 0);
    EXPECT_EQ(program_folder.read("ip.txt"), "198.51.100.7:808");
    EXPECT_EQ(data_home.entries(), 0u);
}

// A link named ip.txt is the user's way of keeping the list elsewhere: the save replaces the
// file the link points to, with the temporary file beside that file, and the link stays.
TEST(SaveList, WritesThroughALinkAndKeepsTheLink) {
    struct Row {
        const char* name;
        // The links to make in the program's folder, ip.txt first; "@" stands for the folder
        // that holds the real file.
        std::vector<std::pair<std::string, std::string>> links;
    };
    const Row rows[] = {
        {"absolute link", {{"ip.txt", "@/list.txt"}}},
        {"relative link", {{"ip.txt", "../elsewhere/list.txt"}}},
        {"chain of two links", {{"ip.txt", "hop"}, {"hop", "../elsewhere/list.txt"}}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const TemporaryFolder root;
        const fs::path program_folder = root.path() / "program";
        const fs::path elsewhere = root.path() / "elsewhere";
        fs::create_directories(program_folder);
        fs::create_directories(elsewhere);
        std::ofstream(elsewhere / "list.txt", std::ios::binary) << "old list";
        ::chmod((elsewhere / "list.txt").c_str(), 0640);
        for (auto [name, target] : row.links) {
            if (target.starts_with('@')) {
                target = elsewhere.string() + target.substr(1);
            }
            fs::create_symlink(target, program_folder / name);
        }
        const std::string links = describe_folder(program_folder);

        save_to(program_folder, "203.0.113.9:3128");
        EXPECT_EQ(describe_folder(program_folder), links) << "the links stay as they were";
        EXPECT_EQ(describe_folder(elsewhere), "list.txt file 640 \"203.0.113.9:3128\"\n")
            << "the file is replaced, keeps its mode, and no temporary file is left";
    }
}

// The temporary file lies beside the file the link points to: a rename cannot move a file
// from one file system to another, so a temporary file beside the link would fail here.
TEST(SaveList, WritesThroughALinkToAnotherFileSystem) {
    const fs::path shared_memory = "/dev/shm";
    const TemporaryFolder program_folder;
    struct stat here {};
    struct stat there {};
    if (::stat(shared_memory.c_str(), &there) != 0 || ::access(shared_memory.c_str(), W_OK) != 0 ||
        ::stat(program_folder.path().c_str(), &here) != 0 || here.st_dev == there.st_dev) {
        GTEST_SKIP() << "no second file system at " << shared_memory;
    }
    const fs::path elsewhere = shared_memory / ("proxylist-" + std::to_string(::getpid()));
    fs::create_directory(elsewhere);
    std::ofstream(elsewhere / "list.txt", std::ios::binary) << "old list";
    fs::create_symlink(elsewhere / "list.txt", program_folder.path() / "ip.txt");

    save_to(program_folder.path(), "203.0.113.9:3128");
    const std::string result = describe_folder(elsewhere);
    fs::remove_all(elsewhere);
    EXPECT_EQ(result, "list.txt file 644 \"203.0.113.9:3128\"\n");
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(program_folder.path() / "ip.txt")));
}

// Only a plain file is replaced, and nothing is created where ip.txt names no file: each of
// these saves fails and leaves both folders exactly as they were, with no temporary file.
TEST(SaveList, LeavesWhatIsNotAPlainFileAlone) {
    using Fill = std::function<void(const fs::path& program_folder, const fs::path& elsewhere)>;
    const auto link = [](std::string target) {
        return [target](const fs::path& program_folder, const fs::path& elsewhere) {
            const std::string resolved =
                target.starts_with('@') ? elsewhere.string() + target.substr(1) : target;
            fs::create_symlink(resolved, program_folder / "ip.txt");
        };
    };
    struct Row {
        const char* name;
        Fill fill;
    };
    const Row rows[] = {
        {"a folder named ip.txt",
         [](const fs::path& program_folder, const fs::path&) {
             fs::create_directory(program_folder / "ip.txt");
             std::ofstream(program_folder / "ip.txt" / "inside.txt") << "kept";
         }},
        {"a link to a folder",
         [&](const fs::path& program_folder, const fs::path& elsewhere) {
             std::ofstream(elsewhere / "inside.txt") << "kept";
             link("@")(program_folder, elsewhere);
         }},
        {"a dangling link", link("missing.txt")},
        {"a link into a missing folder", link("@/missing/ip.txt")},
        {"a chain of links that ends nowhere",
         [&](const fs::path& program_folder, const fs::path& elsewhere) {
             fs::create_symlink("missing.txt", elsewhere / "hop");
             link("@/hop")(program_folder, elsewhere);
         }},
        {"a link to itself", link("ip.txt")},
        {"a FIFO named ip.txt",
         [](const fs::path& program_folder, const fs::path&) {
             ::mkfifo((program_folder / "ip.txt").c_str(), 0666);
         }},
        {"a link to a FIFO",
         [&](const fs::path& program_folder, const fs::path& elsewhere) {
             ::mkfifo((elsewhere / "fifo").c_str(), 0666);
             link("@/fifo")(program_folder, elsewhere);
         }},
        {"a link to a read-only file",
         [&](const fs::path& program_folder, const fs::path& elsewhere) {
             std::ofstream(elsewhere / "list.txt") << "old list";
             ::chmod((elsewhere / "list.txt").c_str(), 0444);
             link("@/list.txt")(program_folder, elsewhere);
         }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const TemporaryFolder root;
        const fs::path program_folder = root.path() / "program";
        const fs::path elsewhere = root.path() / "elsewhere";
        fs::create_directories(program_folder);
        fs::create_directories(elsewhere);
        row.fill(program_folder, elsewhere);
        const std::string before = describe_folder(root.path());

        FakeControls controls;
        controls.put(ControlId::编辑框4, "new list");
        save_list(controls, file_path_of(program_folder));
        EXPECT_EQ(describe_folder(root.path()), before);
        EXPECT_EQ(controls.log().back(), "read 编辑框4") << "the box is read all the same";
    }
}

// A killed save leaves its temporary file behind: nothing can remove it at the moment of the
// kill. The next save removes every temporary file of this naming that no live save holds,
// whatever process id its name carries, and nothing else.
TEST(SaveList, RemovesTheTemporaryFilesThatKilledSavesLeft) {
    const TemporaryFolder folder;
    folder.write("ip.txt", "old list");
    // A save killed part way, for real.
    const int killed = run_in_child([&] {
        auto file = ReplacingFile::create(file_path_of(folder.path() / "ip.txt"));
        if (!file || !file->write("half a li")) {
            return 3;
        }
        ::raise(SIGKILL);
        return 4;
    });
    ASSERT_EQ(killed, -1);
    ASSERT_EQ(folder.entries(), 2u) << "the killed save left its temporary file";

    // Its name carries a process id that is alive (init); its lock is free all the same.
    folder.write("ip.txt.tmp-1-0badf00d", "half");
    // Held by a live save (here this test), though its id is none of this system's: kept.
    folder.write("ip.txt.tmp-999999999-abcdef01", "being written");
    const int held =
        ::open((folder.path() / "ip.txt.tmp-999999999-abcdef01").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    // Names that merely look alike: not this program's, kept.
    const std::set<std::string> look_alike = {
        "ip.txt.tmp-1-0badf00",   "ip.txt.tmp-1-0BADF00D",      "ip.txt.tmp--0badf00d",
        "ip.txt.tmp-x1-0badf00d", "ip.txt.tmp-1-0badf00d.keep", "other.txt.tmp-1-0badf00d",
        "ip.txt.tmp-1-0badf00d0", "xip.txt.tmp-1-0badf00d",
    };
    for (const auto& name : look_alike) {
        folder.write(name, "not a temporary file");
    }
    fs::create_directory(folder.path() / "ip.txt.tmp-2-0badf00d");
    fs::create_symlink("ip.txt", folder.path() / "ip.txt.tmp-3-0badf00d");

    FakeControls controls;
    save(controls, folder, "new list");
    ::close(held);

    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder.path())) {
        names.insert(entry.path().filename().string());
    }
    std::set<std::string> expected = look_alike;
    expected.insert({"ip.txt", "ip.txt.tmp-999999999-abcdef01", "ip.txt.tmp-2-0badf00d",
                     "ip.txt.tmp-3-0badf00d"});
    EXPECT_EQ(names, expected);
    EXPECT_EQ(folder.read("ip.txt"), "new list");
}

// Two copies of the program saving into one folder at once: neither takes the other's
// temporary file for abandoned, and the save that finishes last wins whole.
TEST(SaveList, TemporaryFileOfASaveStillRunningIsKept) {
    const TemporaryFolder folder;
    int ready[2];
    int go[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(go), 0);
    const pid_t other = ::fork();
    ASSERT_GE(other, 0);
    if (other == 0) {
        auto file = ReplacingFile::create(file_path_of(folder.path() / "ip.txt"));
        const bool written = file && file->write("the other copy's list");
        char byte = written ? 'r' : 'x';
        if (::write(ready[1], &byte, 1) != 1 || ::read(go[0], &byte, 1) != 1) {
            ::_exit(3);
        }
        ::_exit(written && file->commit() ? 0 : 4);
    }
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    ASSERT_EQ(byte, 'r');

    FakeControls controls;
    save(controls, folder, "this copy's list");
    EXPECT_EQ(folder.read("ip.txt"), "this copy's list");
    EXPECT_EQ(folder.entries(), 2u) << "the other save's temporary file was taken";

    ASSERT_EQ(::write(go[1], &byte, 1), 1);
    int status = 0;
    ASSERT_EQ(::waitpid(other, &status, 0), other);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(folder.read("ip.txt"), "the other copy's list");
    EXPECT_EQ(folder.entries(), 1u);
    for (const int fd : {ready[0], ready[1], go[0], go[1]}) {
        ::close(fd);
    }
}

namespace {

std::string read_data_list(const TemporaryFolder& data_home) {
    return data_home.read("proxy-list-tool/ip.txt");
}

}  // namespace

// The system's path calls refuse a path longer than PATH_MAX, so the folder beside the
// program cannot be used: the list goes to the data folder, and the deep folder is not
// touched.
TEST(SaveList, RunDirectoryDeeperThanPathMaxSendsTheListToTheDataFolder) {
    const TemporaryFolder root;
    const TemporaryFolder data_home;
    const DeepFolder deep(root.path());
    ASSERT_TRUE(deep.made());
    const int exit_code = run_in_child([&] {
        ::setenv("XDG_DATA_HOME", data_home.path().c_str(), 1);
        FakeControls controls;
        controls.put(ControlId::编辑框4, "192.0.2.1:80");
        save_list(controls, FilePath{Text(deep.path()), {}});
        return 0;
    });
    EXPECT_EQ(exit_code, 0);
    EXPECT_TRUE(deep.leaf_entries().empty());
    EXPECT_EQ(read_data_list(data_home), "192.0.2.1:80");
}

// The program itself in such a folder: the system cannot even tell it its own path, and the
// list goes to the data folder.
TEST(SaveList, ProgramDeeperThanPathMaxSavesToTheDataFolder) {
    const TemporaryFolder root;
    const TemporaryFolder data_home;
    const DeepFolder deep(root.path());
    ASSERT_TRUE(deep.made());
    {
        std::ifstream program(SAVE_ONCE_HELPER, std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(program), {}};
        const int copy = ::openat(deep.leaf(), "save_once_helper",
                                  O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0755);
        ASSERT_GE(copy, 0);
        ASSERT_EQ(::write(copy, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
        ::close(copy);
    }
    const int exit_code = run_in_child([&] {
        ::setenv("XDG_DATA_HOME", data_home.path().c_str(), 1);
        if (::fchdir(deep.leaf()) != 0) {
            return 3;
        }
        char name[] = "./save_once_helper";
        char list[] = "198.51.100.7:808";
        char* const argv[] = {name, list, nullptr};
        ::execv(name, argv);
        return 4;
    });
    EXPECT_EQ(exit_code, 0);
    EXPECT_EQ(deep.leaf_entries(), std::vector<std::string>{"save_once_helper"});
    EXPECT_EQ(read_data_list(data_home), "198.51.100.7:808");
}
