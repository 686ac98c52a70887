// Saves killed at random moments. After every kill ip.txt holds one whole list, the one the
// last finished save wrote or the one the killed save was writing, never a torn or mixed
// file; and the temporary file a killed save leaves does not outlive the next save.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/save_command.hpp"
#include "fake_controls.hpp"
#include "recognisable_list.hpp"
#include "temporary_folder.hpp"

using namespace proxylist;
using proxylist::testing::check_list;
using proxylist::testing::FakeControls;
using proxylist::testing::ListName;
using proxylist::testing::TemporaryFolder;

namespace {

constexpr int kKills = 200;
// The kill comes at a random moment up to this long after the first save has begun: time for
// a few saves of the longest lists, so that kills land in every step of a save.
constexpr std::chrono::microseconds kLatestKill{40'000};

// save_loop_helper, running; killed at the latest when this goes.
class SaveLoop {
  public:
    SaveLoop(const std::filesystem::path& folder, std::uint32_t seed) {
        int ends[2];
        if (::pipe2(ends, O_CLOEXEC) != 0) {
            return;
        }
        std::string program = SAVE_LOOP_HELPER;
        std::string folder_argument = folder.string();
        std::string seed_argument = std::to_string(seed);
        char* const argv[] = {program.data(), folder_argument.data(), seed_argument.data(),
                              nullptr};
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(ends[1], STDOUT_FILENO);
            ::execv(argv[0], argv);
            ::_exit(127);
        }
        ::close(ends[1]);
        output_ = ends[0];
    }
    ~SaveLoop() {
        if (pid_ > 0) {
            kill();
        }
        ::close(output_);
    }
    SaveLoop(const SaveLoop&) = delete;
    SaveLoop& operator=(const SaveLoop&) = delete;

    // Waits until the first save has begun; false when the helper ended before.
    bool wait_until_saving() {
        while (said_.find('\n') == std::string::npos) {
            if (!read_some()) {
                return false;
            }
        }
        return true;
    }

    // Kills the helper and gives its wait status.
    int kill() {
        ::kill(pid_, SIGKILL);
        int status = 0;
        while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
        }
        pid_ = -1;
        while (read_some()) {
        }
        return status;
    }

    // The last save that had begun and the last that had returned, by serial (0: none).
    [[nodiscard]] std::pair<std::uint32_t, std::uint32_t> begun_and_done() const {
        std::istringstream lines(said_);
        std::uint32_t begun = 0;
        std::uint32_t done = 0;
        char what = 0;
        std::uint32_t serial = 0;
        while (lines >> what >> serial) {
            (what == 'b' ? begun : done) = serial;
        }
        return {begun, done};
    }

  private:
    bool read_some() {
        char buffer[4096];
        for (;;) {
            const ssize_t n = ::read(output_, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                return false;
            }
            said_.append(buffer, static_cast<std::size_t>(n));
            return true;
        }
    }

    pid_t pid_ = -1;
    int output_ = -1;
    std::string said_;
};

std::optional<std::string> list_file(const TemporaryFolder& folder) {
    if (!std::filesystem::exists(folder.path() / "ip.txt")) {
        return std::nullopt;
    }
    return folder.read("ip.txt");
}

std::string describe(const std::optional<std::string>& file) {
    if (!file) {
        return "no file";
    }
    const auto check = check_list(*file);
    if (!check.name) {
        return check.fault + " (" + std::to_string(file->size()) + " bytes)";
    }
    return "list " + std::to_string(check.name->seed) + "/" + std::to_string(check.name->serial);
}

}  // namespace

TEST(SaveList, KilledAtRandomMomentsLeavesOneWholeList) {
    TemporaryFolder folder;
    const unsigned random_seed = std::random_device{}();
    SCOPED_TRACE("random seed " + std::to_string(random_seed));
    std::mt19937 random(random_seed);
    std::uniform_int_distribution<long> wait(0, kLatestKill.count());

    const auto start = std::chrono::steady_clock::now();
    std::optional<std::string> before;  // ip.txt before the helper ran
    int saves_returned = 0;
    int kills_leaving_a_temporary = 0;
    int kills_after_rename = 0;
    std::size_t longest_saved = 0;
    for (int kill = 0; kill < kKills; ++kill) {
        const auto seed = static_cast<std::uint32_t>(kill + 1);
        SaveLoop loop(folder.path(), seed);
        ASSERT_TRUE(loop.wait_until_saving()) << "kill " << kill << ": the helper did not start";
        std::this_thread::sleep_for(std::chrono::microseconds(wait(random)));
        const int status = loop.kill();
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
            << "kill " << kill << ": the helper ended by itself, status " << status;

        const auto [begun, done] = loop.begun_and_done();
        const auto after = list_file(folder);
        const auto check = after ? check_list(*after) : proxylist::testing::ListCheck{};
        const bool last_returned = done > 0 && check.name == ListName{seed, done};
        const bool cut_short = begun > done && check.name == ListName{seed, begun};
        const bool unchanged = done == 0 && after == before;
        ASSERT_TRUE(last_returned || cut_short || unchanged)
            << "kill " << kill << " (save " << done << " had returned, save " << begun
            << " had begun): ip.txt holds " << describe(after) << ", before: " << describe(before);

        std::size_t temporaries = 0;
        for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
            temporaries += entry.path().filename() != "ip.txt";
        }
        // Every save sweeps the files of the killed ones, so only the killed save's own remains.
        ASSERT_LE(temporaries, 1u) << "kill " << kill << ": temporary files of earlier kills";

        saves_returned += static_cast<int>(done);
        kills_leaving_a_temporary += temporaries == 1;
        kills_after_rename += cut_short;
        for (std::uint32_t serial = 1; serial <= done; ++serial) {
            longest_saved =
                std::max(longest_saved, proxylist::testing::list_length({seed, serial}));
        }
        before = after;
    }

    // The next save, as the program makes it, leaves ip.txt alone in the folder.
    FakeControls controls;
    controls.put(ControlId::编辑框4, "192.0.2.1:80\r\n");
    save_list(controls, folder.file_path());
    EXPECT_EQ(folder.read("ip.txt"), "192.0.2.1:80\r\n");
    EXPECT_EQ(folder.entries(), 1u);

    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    std::printf(
        "%d kills in %.1f s; %d saves returned before them (longest list %zu bytes); %d kills "
        "left the killed save's temporary file, %d came between a save's rename and its "
        "return\n",
        kKills, took.count(), saves_returned, longest_saved, kills_leaving_a_temporary,
        kills_after_rename);
}
