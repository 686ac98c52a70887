// What the executable carries: a manifest asking for common controls 6 and per-monitor DPI
// awareness and leaving the ANSI code page alone, and its version information.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace proxylist::testing {
namespace {

// Build paths are Linux paths; Wine's drive Z: is the Linux root.
std::wstring windows_path(const char* unix_path) {
    std::wstring path = L"Z:";
    for (const char* c = unix_path; *c != '\0'; ++c) {
        path.push_back(*c == '/' ? L'\\' : static_cast<wchar_t>(*c));
    }
    return path;
}

std::string manifest_of(const std::wstring& program) {
    HMODULE image = LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (image == nullptr) {
        return {};
    }
    std::string text;
    if (HRSRC found = FindResourceW(image, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24))) {
        const auto* bytes = static_cast<const char*>(LockResource(LoadResource(image, found)));
        text.assign(bytes, SizeofResource(image, found));
    }
    FreeLibrary(image);
    return text;
}

std::wstring version_value(const std::wstring& program, const wchar_t* name) {
    DWORD ignored = 0;
    std::vector<char> data(GetFileVersionInfoSizeW(program.c_str(), &ignored));
    if (data.empty() ||
        !GetFileVersionInfoW(program.c_str(), 0, static_cast<DWORD>(data.size()), data.data())) {
        return L"(no version information)";
    }
    const std::wstring key = std::wstring(L"\\StringFileInfo\\080404b0\\") + name;
    wchar_t* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(data.data(), key.c_str(), reinterpret_cast<void**>(&value), &length)) {
        return L"(none)";
    }
    return std::wstring(value, length > 0 ? length - 1 : 0);
}

TEST(ResourcesTest, ManifestAsksForCommonControls6AndPerMonitorDpiAwareness) {
    const std::string manifest = manifest_of(windows_path(PROXY_LIST_TOOL));
    ASSERT_FALSE(manifest.empty());
    EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""),
              std::string::npos);
    EXPECT_NE(manifest.find("PerMonitorV2"), std::string::npos);
    EXPECT_NE(manifest.find("true/pm"), std::string::npos);
    // The texts are code page 936 by design: the manifest must not switch the process to UTF-8.
    EXPECT_EQ(manifest.find("<activeCodePage"), std::string::npos);
    EXPECT_EQ(manifest.find("UTF-8</"), std::string::npos);
}

TEST(ResourcesTest, VersionInformationNamesTheProgram) {
    const std::wstring program = windows_path(PROXY_LIST_TOOL);
    EXPECT_EQ(version_value(program, L"ProductName"), L"Quillmere__Tarnwick工具");
    EXPECT_EQ(version_value(program, L"FileDescription"), L"代理列表提取工具");
    EXPECT_EQ(version_value(program, L"OriginalFilename"), L"proxy-list-tool.exe");
}

}  // namespace
}  // namespace proxylist::testing
