// The run directory, shown the only way it can be: a program that saves beside itself is copied
// into folders and a drive's root folder whose names test the cut, and run there. (Not from a
// share: Wine names a program started from \\server\share "UNC\server\share\..." where
// Windows gives the share's own name, so list_file_test.cpp shows share paths in process.)
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "mapped_drive.hpp"
#include "run_program.hpp"
#include "saved_list.hpp"
#include "temporary_folder.hpp"

namespace fs = std::filesystem;
using namespace proxylist::testing;

namespace {

std::size_t cp936_size(const std::wstring& text) {
    return static_cast<std::size_t>(::WideCharToMultiByte(
        CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr));
}

std::size_t entries_of(const fs::path& folder) {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

std::string read_file(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Copies the saving program to `program` and runs it with another folder as its working folder,
// so that a file it wrongly saved relative to that folder would show there.
std::optional<DWORD> run_copy_at(const std::wstring& program, const fs::path& working_folder) {
    const std::wstring built = own_folder() + L"\\save_beside_self.exe";
    if (!::CopyFileW(built.c_str(), program.c_str(), FALSE)) {
        ADD_FAILURE() << "cannot copy the saving program, error " << ::GetLastError();
        return std::nullopt;
    }
    return run_to_end(program, working_folder.native());
}

// The saving program, run from `folder` under `name`, leaves exactly the list in ip.txt
// there, next to itself and nothing else.
void expect_saves_beside_itself(const fs::path& folder, const std::wstring& name) {
    const TemporaryFolder elsewhere;
    const auto exit_code = run_copy_at((folder / name).native(), elsewhere.path());
    ASSERT_EQ(exit_code, std::optional<DWORD>(0));
    EXPECT_EQ(read_file(folder / "ip.txt"), saved_list);
    EXPECT_EQ(entries_of(folder), 2u) << "a file other than the program and ip.txt is there";
    EXPECT_EQ(elsewhere.entries(), 0u) << "something was saved in the working folder";
}

}  // namespace

TEST(RunDirectory, ProgramSavesBesideItselfWhateverTheNames) {
    struct Row {
        const char* name;
        std::wstring folder;
        std::wstring program;
    };
    const Row rows[] = {
        {"folder ending in 淺 (9C 5C)", L"数据淺", L"save.exe"},
        // A cut at the last 0x5C byte would take 淺's second byte for the separator here.
        {"program named 淺 (9C 5C)", L"数据", L"淺.exe"},
        {"folder and program ending in 嘰 (87 5C)", L"嘰", L"嘰嘰.exe"},
        {"Thai folder, which code page 936 cannot write", L"ทดสอบ", L"save.exe"},
        {"Thai program name in a folder ending in 淺", L"淺", L"ทดสอบ.exe"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const TemporaryFolder folder{fs::path(row.folder)};
        expect_saves_beside_itself(folder.path(), row.program);
    }
}

// The executable's path goes into 260 bytes; one that needs more is taken in UTF-16 instead.
TEST(RunDirectory, PathsAroundTheRoomOfTheAnsiBuffer) {
    struct Row {
        const char* name;
        std::size_t path_bytes;     // the program's path in code page 936
        std::size_t chinese_chars;  // how many of them are two-byte characters
    };
    const Row rows[] = {
        {"well inside", 120, 0},
        {"the most the buffer holds", 259, 0},
        {"one byte too many", 260, 1},
        {"two bytes too many", 261, 2},
        // Wide calls start a program only below 260 characters; two-byte characters go further.
        {"400 bytes in 259 characters", 400, 141},
    };
    const std::wstring program = L"save.exe";
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const TemporaryFolder root;
        // Folders of 40 two-byte characters, then of up to 100 letters, to the byte wanted;
        // each folder adds its name and a separator.
        fs::path inside;
        const auto path_bytes = [&] {
            return cp936_size((root.path() / inside / program).native());
        };
        for (std::size_t left = row.chinese_chars; left > 0;) {
            const std::size_t n = std::min<std::size_t>(left, 40);
            inside /= std::wstring(n, L'\u6570');  // 数
            left -= n;
        }
        ASSERT_LE(path_bytes() + 2, row.path_bytes);
        for (std::size_t left = row.path_bytes - path_bytes(); left > 0;) {
            std::size_t n = std::min<std::size_t>(left - 1, 100);
            if (left - (n + 1) == 1) {
                --n;  // leave room for a separator and one more letter
            }
            inside /= std::wstring(n, L'd');
            left -= n + 1;
        }
        const fs::path folder = root.path() / inside;
        fs::create_directories(folder);
        const std::wstring path = (folder / program).native();
        ASSERT_EQ(cp936_size(path), row.path_bytes);
        ASSERT_LT(path.size(), std::size_t{MAX_PATH});
        expect_saves_beside_itself(folder, program);
    }
}

TEST(RunDirectory, ProgramInTheRootFolderOfADriveSavesThere) {
    const TemporaryFolder folder;
    const MappedDrive drive(folder.path().native());
    ASSERT_TRUE(drive) << "no drive letter could be mapped";
    const TemporaryFolder elsewhere;
    const auto exit_code = run_copy_at(drive.root() + L"save.exe", elsewhere.path());
    ASSERT_EQ(exit_code, std::optional<DWORD>(0));
    EXPECT_EQ(folder.read("ip.txt"), saved_list);
    EXPECT_EQ(folder.entries(), 2u);
    EXPECT_EQ(elsewhere.entries(), 0u);
}
