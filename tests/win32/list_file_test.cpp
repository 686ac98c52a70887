// Saving over an ip.txt that another program holds open, that is a folder, or whose path is
// longer than the ANSI calls take.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/files.hpp"
#include "app/save_command.hpp"
#include "fake_controls.hpp"
#include "literal_paths.hpp"
#include "temporary_folder.hpp"
#include "wine_share.hpp"

namespace fs = std::filesystem;
using namespace proxylist;
using proxylist::testing::entries_of;
using proxylist::testing::FakeControls;
using proxylist::testing::file_path_of;
using proxylist::testing::make_folders;
using proxylist::testing::read_file;
using proxylist::testing::remove_tree;
using proxylist::testing::TemporaryFolder;
using proxylist::testing::WineShare;

namespace {

void save(const FilePath& folder, const std::string& box) {
    FakeControls controls;
    controls.put(ControlId::编辑框4, Text(box));
    save_list(controls, folder);
}

}  // namespace

// Windows puts no file in the place of one that is open, whatever the opener shares. An opener
// that allows writing gets the list written into the file it holds; one that denies writing,
// or holds a lock on its bytes, keeps the old list whole.
TEST(SaveList, ListFileThatAnotherProgramHoldsOpen) {
    struct Row {
        const char* name;
        DWORD access;
        DWORD share;
        bool locks_bytes;
        bool replaced;
    };
    constexpr DWORD read = FILE_SHARE_READ;
    constexpr DWORD write = FILE_SHARE_WRITE;
    constexpr DWORD remove = FILE_SHARE_DELETE;
    const Row rows[] = {
        {"reader sharing reading only", GENERIC_READ, read, false, false},
        {"reader sharing reading and deleting", GENERIC_READ, read | remove, false, false},
        {"reader sharing nothing", GENERIC_READ, 0, false, false},
        {"writer sharing reading only", GENERIC_WRITE, read, false, false},
        {"reader sharing reading and writing", GENERIC_READ, read | write, false, true},
        {"reader sharing everything", GENERIC_READ, read | write | remove, false, true},
        {"writer sharing reading and writing", GENERIC_WRITE, read | write, false, true},
        {"reader sharing reading and writing, bytes locked", GENERIC_READ, read | write, true,
         false},
    };
    const std::string old_list = "192.0.2.1:80\r\n198.51.100.7:8080\r\n203.0.113.9:3128";
    const std::string new_lists[] = {"1.2.3.4:5", old_list + "\r\n\xB1\xB1\xBE\xA9 10.0.0.1:81"};
    for (const auto& row : rows) {
        for (const auto& new_list : new_lists) {
            SCOPED_TRACE(std::string(row.name) +
                         (new_list.size() < old_list.size() ? ", shorter list" : ", longer list"));
            const TemporaryFolder folder;
            folder.write("ip.txt", old_list);
            const HANDLE other =
                ::CreateFileW((folder.path() / "ip.txt").c_str(), row.access, row.share, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
            ASSERT_NE(other, INVALID_HANDLE_VALUE);
            OVERLAPPED from_start{};
            if (row.locks_bytes) {
                ASSERT_TRUE(::LockFileEx(other, LOCKFILE_EXCLUSIVE_LOCK, 0, 4, 0, &from_start));
            }

            save(folder.file_path(), new_list);

            if (row.access == GENERIC_READ && row.replaced) {
                // The opener reads the new list through the handle it already held.
                std::string seen(new_list.size() + 16, '\0');
                DWORD n = 0;
                ASSERT_TRUE(
                    ::ReadFile(other, seen.data(), static_cast<DWORD>(seen.size()), &n, nullptr));
                EXPECT_EQ(seen.substr(0, n), new_list);
            }
            if (row.locks_bytes) {
                ::UnlockFileEx(other, 0, 4, 0, &from_start);
            }
            ::CloseHandle(other);
            EXPECT_EQ(folder.read("ip.txt"), row.replaced ? new_list : old_list);
            EXPECT_EQ(folder.entries(), 1u) << "a temporary file was left behind";
        }
    }
}

TEST(SaveList, ListFileThatIsAFolderStaysOne) {
    const TemporaryFolder folder;
    fs::create_directory(folder.path() / "ip.txt");
    folder.write("ip.txt/kept.txt", "kept");
    save(folder.file_path(), "192.0.2.1:80");
    EXPECT_TRUE(fs::is_directory(folder.path() / "ip.txt"));
    EXPECT_EQ(folder.read("ip.txt/kept.txt"), "kept");
    EXPECT_EQ(folder.entries(), 1u) << "a temporary file was left behind";
}

TEST(SaveList, ReadOnlyListFileKeepsItsContentsAndLeavesNoTemporaryFile) {
    const TemporaryFolder folder;
    folder.write("ip.txt", "old list");
    const std::wstring file = (folder.path() / "ip.txt").native();
    ASSERT_TRUE(::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY));
    save(folder.file_path(), "new list");
    EXPECT_EQ(folder.read("ip.txt"), "old list");
    EXPECT_EQ(folder.entries(), 1u);
    ::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// Paths that the ANSI calls cannot take: the seam turns to the wide calls, in the "\\?\" form
// where even those would be too short.
TEST(SaveList, FolderPathsLongerThanTheAnsiCallsTake) {
    const TemporaryFolder root;
    const WineShare share;
    struct Row {
        const char* name;
        FilePath folder;           // as the seam takes it
        std::wstring wide_folder;  // the same folder in UTF-16
    };
    const std::wstring deep =
        L"\\" + std::wstring(120, L'a') + L"\\" + std::wstring(120, L'\u6570');  // 数
    const std::wstring over_260 = root.path().native() + deep + L"\\w";
    // Code page 936 bytes whose list file fits 260 bytes, but not with its temporary file.
    const std::wstring near_limit =
        root.path().native() + L"\\" + std::wstring(245 - root.path().native().size() - 1, L'b');
    std::vector<Row> rows = {
        {"UTF-16 folder of over 260 characters", FilePath{{}, over_260}, over_260},
        {"code page 936 folder of 245 bytes", file_path_of(fs::path(near_limit)), near_limit},
        {"code page 936 folder of over 260 bytes", file_path_of(fs::path(over_260 + L"n")),
         over_260 + L"n"},
    };
    if (proxylist::testing::running_under_wine()) {
        ASSERT_TRUE(share) << "Wine's share folder could not be made";
        rows.push_back({"share path of over 260 characters", FilePath{{}, share.unc() + deep},
                        share.unc() + deep});
    }
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        make_folders(row.wide_folder);
        save(row.folder, "192.0.2.1:80\r\n\xB1\xB1\xBE\xA9");
        EXPECT_EQ(read_file(row.wide_folder + L"\\ip.txt"), "192.0.2.1:80\r\n\xB1\xB1\xBE\xA9");
        EXPECT_EQ(entries_of(row.wide_folder), 1u);
    }
    remove_tree(root.path().native());
}
