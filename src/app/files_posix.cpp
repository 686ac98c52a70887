#include <unistd.h>

#include <string>

#include "app/files.hpp"

namespace proxylist {

Text run_directory() {
    // Linux paths are UTF-8, so the cut is a plain search for the last '/', not a walk by
    // code page 936 characters (which could take a UTF-8 byte for a lead byte).
    std::string path(4096, '\0');
    for (;;) {
        const ssize_t n = ::readlink("/proc/self/exe", path.data(), path.size());
        if (n < 0) {
            return {};
        }
        if (static_cast<std::size_t>(n) < path.size()) {
            path.resize(static_cast<std::size_t>(n));
            break;
        }
        path.resize(path.size() * 2);
    }
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) {
        return {};
    }
    return Text(std::string_view(path).substr(0, slash));
}

}  // namespace proxylist
