// A fresh folder under the system's temporary folder, removed with everything in it.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "app/files.hpp"

#if defined(_WIN32)
#include <windows.h>
#endif

namespace proxylist::testing {

// The path as the file seam takes it: its bytes on POSIX, its code page 936 bytes on Windows
// (the folders of these tests are all written in code page 936 there).
inline FilePath file_path_of(const std::filesystem::path& path) {
#if defined(_WIN32)
    const std::wstring& wide = path.native();
    const int n = ::WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()),
                                        nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<std::size_t>(n), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), ansi.data(), n,
                          nullptr, nullptr);
    return FilePath{Text(ansi), {}};
#else
    return FilePath{Text(path.native()), {}};
#endif
}

class TemporaryFolder {
  public:
    explicit TemporaryFolder(const std::filesystem::path& name_inside = {}) {
        std::random_device entropy;
        for (;;) {
            root_ =
                std::filesystem::temp_directory_path() / ("proxylist-" + std::to_string(entropy()));
            if (std::filesystem::create_directory(root_)) {
                break;
            }
        }
        path_ = name_inside.empty() ? root_ : root_ / name_inside;
        std::filesystem::create_directories(path_);
    }
    ~TemporaryFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    [[nodiscard]] const std::filesystem::path& path() const { return path_; }
    [[nodiscard]] FilePath file_path() const { return file_path_of(path_); }

    [[nodiscard]] std::string read(const std::filesystem::path& file) const {
        std::ifstream in(path_ / file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    void write(const std::filesystem::path& file, const std::string& bytes) const {
        std::ofstream(path_ / file, std::ios::binary) << bytes;
    }
    [[nodiscard]] std::size_t entries() const {
        return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(path_),
                                                      std::filesystem::directory_iterator()));
    }

  private:
    std::filesystem::path root_;
    std::filesystem::path path_;
};

}  // namespace proxylist::testing
