// The path rules of the Windows file seam, row by row.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "app/files.hpp"
#include "app/files_win32.hpp"

using namespace proxylist;
using namespace proxylist::win32_paths;

TEST(LastSeparator, CutsAtTheLastBackslashThatStartsACharacter) {
    struct Row {
        const char* name;
        std::string_view path;
        std::size_t separator;
    };
    constexpr auto none = std::string_view::npos;
    const Row rows[] = {
        {"plain", "C:\\tools\\save.exe", 8},
        {"root folder of a drive", "C:\\save.exe", 2},
        {"share", "\\\\server\\share\\save.exe", 14},
        {"淺 (9C 5C) in the file name", "C:\\tools\\\x9C\x5C.exe", 8},
        {"嘰 (87 5C) ending the folder", "C:\\\x87\x5C\\save.exe", 5},
        {"two 淺 in a row", "C:\\\x9C\x5C\x9C\x5C", 2},
        {"0x80 and 0xFF start characters too", "C:\\\x80\\\xFF\\", 2},
        {"lone lead byte at the end", "C:\\a\\\xB1", 4},
        {"a separator after a single-byte character", "C:\\\xB1\xB1\x41\\save.exe", 6},
        {"no separator", "save.exe", none},
        {"only a trail byte 0x5C", "\xB1\\", none},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(last_separator(row.path), row.separator);
    }
}

TEST(WideCallPath, TakesTheLiteralFormOnlyWhereThePlainOneIsTooShort) {
    // The plain form takes 259 characters; the temporary file adds up to 24.
    const std::wstring fits(235 - 3, L'a');
    const std::wstring too_long(236 - 3, L'a');
    const std::wstring long_name(300, L'b');
    struct Row {
        const char* name;
        std::wstring path;
        std::wstring expected;
    };
    const Row rows[] = {
        {"short path", L"C:\\tools\\ip.txt", L"C:\\tools\\ip.txt"},
        {"235 characters, the most the plain form leaves room for", L"C:\\" + fits, L"C:\\" + fits},
        {"236 characters", L"C:\\" + too_long, L"\\\\?\\C:\\" + too_long},
        {"long share path", L"\\\\server\\share\\" + long_name,
         L"\\\\?\\UNC\\server\\share\\" + long_name},
        {"long path already literal", L"\\\\?\\C:\\" + long_name, L"\\\\?\\C:\\" + long_name},
        {"long path in the device form", L"\\\\.\\C:\\" + long_name, L"\\\\?\\C:\\" + long_name},
        // The literal form takes every character as it stands, so the path is made canonical.
        {"forward slashes and dot folders", L"C:/tools/./x/../" + long_name,
         L"\\\\?\\C:\\tools\\" + long_name},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(wide_call_path(row.path), row.expected);
    }
}

TEST(ListFilePath, StaysInCodePage936WhileTheTemporaryFileFits) {
    // The list file and its temporary file beside it must fit 259 bytes for the ANSI calls.
    const std::string fits = "C:\\" + std::string(228 - 3, 'a');
    const std::string too_long = "C:\\" + std::string(229 - 3, 'a');
    const FilePath ansi = list_file_path(FilePath{Text(fits), {}});
    EXPECT_EQ(ansi.bytes.view(), fits + "\\ip.txt");
    EXPECT_TRUE(ansi.wide.empty());

    const FilePath wide = list_file_path(FilePath{Text(too_long), {}});
    EXPECT_TRUE(wide.bytes.empty());
    EXPECT_EQ(wide.wide, std::wstring(too_long.begin(), too_long.end()) + L"\\ip.txt");

    // 北京 and 淺 keep their characters on the way to UTF-16.
    const std::string chinese = "C:\\" + std::string(230, 'a') + "\\\xB1\xB1\xBE\xA9\x9C\x5C";
    EXPECT_EQ(list_file_path(FilePath{Text(chinese), {}}).wide,
              L"C:\\" + std::wstring(230, L'a') + L"\\\u5317\u4EAC\u6DFA\\ip.txt");

    EXPECT_EQ(list_file_path(FilePath{{}, L"C:\\\u0E17\u0E14"}).wide, L"C:\\\u0E17\u0E14\\ip.txt");
    EXPECT_EQ(list_file_path(FilePath{Text("D:"), {}}).bytes.view(), "D:\\ip.txt");
}
