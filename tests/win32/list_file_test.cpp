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
#include "temporary_folder.hpp"
#include "wine_share.hpp"

namespace fs = std::filesystem;
using namespace proxylist;
using proxylist::testing::FakeControls;
using proxylist::testing::file_path_of;
using proxylist::testing::TemporaryFolder;
using proxylist::testing::WineShare;

namespace {

void save(const FilePath& folder, const std::string& box) {
    FakeControls controls;
    controls.put(ControlId::编辑框4, Text(box));
    save_list(controls, folder);
}

// The bytes of a file by a path in any form the wide calls take.
std::string read_file(const std::wstring& path) {
    const HANDLE file =
        ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return "<cannot open, error " + std::to_string(::GetLastError()) + ">";
    }
    std::string bytes(1 << 16, '\0');
    DWORD read = 0;
    ::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    ::CloseHandle(file);
    bytes.resize(read);
    return bytes;
}

// Makes every folder of an absolute path in the "\\?\" form, which takes any length.
void make_folders(const std::wstring& literal_path) {
    for (std::size_t at = literal_path.find(L'\\', 7); at != std::wstring::npos;
         at = literal_path.find(L'\\', at + 1)) {
        ::CreateDirectoryW(literal_path.substr(0, at).c_str(), nullptr);
    }
    ::CreateDirectoryW(literal_path.c_str(), nullptr);
}

std::size_t entries_of(const std::wstring& literal_folder) {
    WIN32_FIND_DATAW found{};
    const HANDLE search = ::FindFirstFileW((literal_folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return 0;
    }
    std::size_t n = 0;
    do {
        const std::wstring name = found.cFileName;
        n += name != L"." && name != L"..";
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return n;
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
        FilePath folder;
        std::wstring literal_folder;  // the same folder in the "\\?\" form
    };
    const std::wstring drive_path = root.path().native() + L"\\" + std::wstring(120, L'a') + L"\\" +
                                    std::wstring(120, L'\u6570');  // 数
    std::vector<Row> rows = {
        {"UTF-16 folder of over 260 characters", FilePath{{}, drive_path + L"\\w"},
         L"\\\\?\\" + drive_path + L"\\w"},
    };
    // Code page 936 bytes whose list file fits 260 bytes, but not with its temporary file.
    const std::wstring near_limit =
        root.path().native() + L"\\" + std::wstring(245 - root.path().native().size() - 1, L'b');
    rows.push_back({"code page 936 folder of 245 bytes", file_path_of(fs::path(near_limit)),
                    L"\\\\?\\" + near_limit});
    rows.push_back({"code page 936 folder of over 260 bytes",
                    file_path_of(fs::path(drive_path + L"\\n")), L"\\\\?\\" + drive_path + L"\\n"});
    if (share) {
        const std::wstring deep = L"\\" + std::wstring(120, L'c') + L"\\" + std::wstring(120, L'd');
        rows.push_back({"share path of over 260 characters", FilePath{{}, share.unc() + deep},
                        L"\\\\?\\" + share.local().native() + deep});
    }
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        make_folders(row.literal_folder);
        save(row.folder, "192.0.2.1:80\r\n\xB1\xB1\xBE\xA9");
        EXPECT_EQ(read_file(row.literal_folder + L"\\ip.txt"), "192.0.2.1:80\r\n\xB1\xB1\xBE\xA9");
        EXPECT_EQ(entries_of(row.literal_folder), 1u);
    }
}
