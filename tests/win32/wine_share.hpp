// A share, \\server\share, for the life of the object. Wine serves \\server\share from the
// folder dosdevices/unc/server/share of its prefix, so under Wine no network is involved.
#pragma once

#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "literal_paths.hpp"
#include "wine.hpp"

namespace proxylist::testing {

class WineShare {
  public:
    WineShare() {
        const char* prefix = std::getenv("WINEPREFIX");
        if (!running_under_wine() || prefix == nullptr) {
            return;
        }
        server_ = L"proxylist-" + std::to_wstring(::GetCurrentProcessId());
        const std::wstring servers = wine_windows_path(std::string(prefix) + "/dosdevices/unc");
        if (servers.empty()) {
            return;
        }
        folder_ = std::filesystem::path(servers) / server_;
        std::error_code failed;
        std::filesystem::create_directories(folder_ / L"share", failed);
        if (failed) {
            folder_.clear();
        }
    }
    ~WineShare() {
        if (!folder_.empty()) {
            remove_tree(folder_.native());
        }
    }
    WineShare(const WineShare&) = delete;
    WineShare& operator=(const WineShare&) = delete;

    explicit operator bool() const { return !folder_.empty(); }
    // \\server\share
    [[nodiscard]] std::wstring unc() const { return L"\\\\" + server_ + L"\\share"; }
    // The same folder under its local name.
    [[nodiscard]] std::filesystem::path local() const { return folder_ / L"share"; }

  private:
    std::wstring server_;
    std::filesystem::path folder_;
};

}  // namespace proxylist::testing
