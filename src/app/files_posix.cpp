#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>
#include <string>

#include "app/files.hpp"
#include "app/replacing_file.hpp"

namespace proxylist {

FilePath run_directory() {
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
    return {.bytes = Text(std::string_view(path).substr(0, slash)), .wide = {}};
}

FilePath list_file_path(const FilePath& folder) {
    return {.bytes = text_join(folder.bytes, "/ip.txt"), .wide = {}};
}

namespace {

class PosixReplacingFile final : public ReplacingFile {
  public:
    PosixReplacingFile(std::string target, std::string temporary, int fd)
        : target_(std::move(target)), temporary_(std::move(temporary)), fd_(fd) {}

    ~PosixReplacingFile() override {
        if (fd_ >= 0) {
            ::close(fd_);
        }
        if (!committed_) {
            ::unlink(temporary_.c_str());
        }
    }
    PosixReplacingFile(const PosixReplacingFile&) = delete;
    PosixReplacingFile& operator=(const PosixReplacingFile&) = delete;

    bool write(std::string_view bytes) override {
        while (!bytes.empty()) {
            const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                return false;
            }
            bytes.remove_prefix(static_cast<std::size_t>(n));
        }
        return true;
    }

    bool commit() override {
        // The bytes must be on the disk before the name points at them, or a crash could
        // leave an empty ip.txt where the old list was.
        const bool synced = ::fsync(fd_) == 0;
        const bool closed = ::close(fd_) == 0;
        fd_ = -1;
        if (!synced || !closed || ::rename(temporary_.c_str(), target_.c_str()) != 0) {
            return false;
        }
        committed_ = true;
        return true;
    }

  private:
    std::string target_;
    std::string temporary_;
    int fd_;
    bool committed_ = false;
};

std::string temporary_name_for(const std::string& target) {
    static constexpr char hex[] = "0123456789abcdef";
    std::random_device entropy;
    std::string name = target + ".tmp-" + std::to_string(::getpid()) + "-";
    for (unsigned bits = entropy(), i = 0; i < 8; ++i, bits >>= 4) {
        name.push_back(hex[bits & 0xF]);
    }
    return name;
}

}  // namespace

std::unique_ptr<ReplacingFile> ReplacingFile::create(const FilePath& path) {
    const std::string target = path.bytes.to_string();
    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    // A target that nobody may write to is read-only by intent: keep it, for every user (root
    // included), as the other platform does.
    if (exists && (S_ISDIR(existing.st_mode) || (existing.st_mode & 0222) == 0)) {
        return nullptr;
    }
    for (int attempt = 0; attempt < 16; ++attempt) {
        std::string temporary = temporary_name_for(target);
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST) {
                continue;
            }
            return nullptr;
        }
        if (exists) {
            ::fchmod(fd, existing.st_mode & 07777);
        }
        return std::make_unique<PosixReplacingFile>(target, std::move(temporary), fd);
    }
    return nullptr;
}

}  // namespace proxylist
