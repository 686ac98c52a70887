// A fresh folder under the system's temporary folder, removed with everything in it.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace proxylist::testing {

class TemporaryFolder {
  public:
    explicit TemporaryFolder(const std::string& name_inside = "") {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "proxylist-XXXXXX").string();
        root_ = ::mkdtemp(pattern.data());
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

    [[nodiscard]] std::string read(const std::string& file) const {
        std::ifstream in(path_ / file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    void write(const std::string& file, const std::string& bytes) const {
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
