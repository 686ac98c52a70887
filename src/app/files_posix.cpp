#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

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

namespace {

// The user's data folder (XDG base directories): $XDG_DATA_HOME when it is an absolute path,
// else the home folder's .local/share. Empty when there is no home to be found.
std::string user_data_folder() {
    const char* data_home = std::getenv("XDG_DATA_HOME");
    if (data_home != nullptr && data_home[0] == '/') {
        return data_home;
    }
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] != '/') {
        const passwd* entry = ::getpwuid(::getuid());
        home = entry != nullptr ? entry->pw_dir : nullptr;
    }
    if (home == nullptr || home[0] != '/') {
        return {};
    }
    return std::string(home) + "/.local/share";
}

// Makes the folder and its parents where missing; the leaf is the user's alone.
void make_folders(const std::string& path) {
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
        ::mkdir(path.substr(0, slash).c_str(), 0755);
    }
    ::mkdir(path.c_str(), 0700);
}

}  // namespace

FilePath list_file_folder(const FilePath& run_directory) {
    // A folder too deep for the system's path calls (past PATH_MAX) fails this test as well
    // and sends the list to the data folder.
    if (!run_directory.empty() && ::access(run_directory.bytes.c_str(), W_OK | X_OK) == 0) {
        return run_directory;
    }
    const std::string data = user_data_folder();
    if (data.empty()) {
        return run_directory;
    }
    const std::string folder = data + "/proxy-list-tool";
    make_folders(folder);
    return {Text(folder), {}};
}

FilePath list_file_path(const FilePath& folder) {
    // An unknown folder stays unknown: joined, it would name the root folder's /ip.txt.
    if (folder.empty()) {
        return {};
    }
    return {.bytes = text_join(folder.bytes, "/ip.txt"), .wide = {}};
}

namespace {

class FileDescriptor {
  public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) noexcept : fd_(fd) {}
    ~FileDescriptor() { close(); }
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept {
        if (this != &other) {
            close();
            fd_ = std::exchange(other.fd_, -1);
        }
        return *this;
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    [[nodiscard]] int get() const noexcept { return fd_; }
    [[nodiscard]] bool valid() const noexcept { return fd_ >= 0; }
    void close() noexcept {
        if (fd_ >= 0) {
            ::close(fd_);
        }
        fd_ = -1;
    }

  private:
    int fd_ = -1;
};

struct FolderAndName {
    std::string folder;
    std::string name;
};

FolderAndName split_path(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) {
        return {".", path};
    }
    return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

std::optional<std::string> link_content(const std::string& link) {
    std::string content(256, '\0');
    for (;;) {
        const ssize_t n = ::readlink(link.c_str(), content.data(), content.size());
        if (n < 0) {
            return std::nullopt;
        }
        if (static_cast<std::size_t>(n) < content.size()) {
            content.resize(static_cast<std::size_t>(n));
            return content;
        }
        content.resize(content.size() * 2);
    }
}

// As many links as the kernel itself follows in one path.
constexpr int kMostLinksFollowed = 40;

// The file a save to `path` replaces: the path itself, or where it is a symbolic link the file
// at the end of its chain of links, so that the link stays a link. Nothing where the chain
// ends at no file (a save through it would create a file the user never named), loops, or
// cannot be read.
std::optional<std::string> file_behind_links(std::string path) {
    for (int followed = 0; followed <= kMostLinksFollowed; ++followed) {
        struct stat entry {};
        if (::lstat(path.c_str(), &entry) != 0) {
            if (errno == ENOENT && followed == 0) {
                return path;  // a first save: the file is made
            }
            return std::nullopt;
        }
        if (!S_ISLNK(entry.st_mode)) {
            return path;
        }
        auto content = link_content(path);
        if (!content || content->empty()) {
            return std::nullopt;
        }
        // A relative link is read from the folder that holds the link.
        path = content->front() == '/' ? *std::move(content)
                                       : split_path(path).folder + "/" + *content;
    }
    return std::nullopt;
}

// Temporary files are named "<target>.tmp-<process id>-<8 hex digits>".
constexpr std::string_view kTemporaryMark = ".tmp-";
constexpr std::size_t kTemporaryHexDigits = 8;

std::string temporary_name_for(const std::string& name) {
    static constexpr char hex[] = "0123456789abcdef";
    std::random_device entropy;
    std::string temporary = name + std::string(kTemporaryMark) + std::to_string(::getpid()) + "-";
    unsigned bits = entropy();
    for (std::size_t i = 0; i < kTemporaryHexDigits; ++i, bits >>= 4) {
        temporary.push_back(hex[bits & 0xF]);
    }
    return temporary;
}

bool is_temporary_name_of(std::string_view candidate, std::string_view name) {
    if (!candidate.starts_with(name)) {
        return false;
    }
    candidate.remove_prefix(name.size());
    if (!candidate.starts_with(kTemporaryMark)) {
        return false;
    }
    candidate.remove_prefix(kTemporaryMark.size());
    const auto dash = candidate.find('-');
    if (dash == 0 || dash == std::string_view::npos) {
        return false;
    }
    for (const char c : candidate.substr(0, dash)) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    const std::string_view digits = candidate.substr(dash + 1);
    if (digits.size() != kTemporaryHexDigits) {
        return false;
    }
    for (const char c : digits) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) {
            return false;
        }
    }
    return true;
}

// A save holds a lock on its temporary file from its creation until it has been renamed or
// removed, and the kernel drops the lock with the process however the process ends. So a
// temporary file whose lock is free was left by a save that was killed. The lock decides, not
// the process id in the name: ids are reused, and an id from another pid namespace (a
// container sharing the folder) means nothing here.
void remove_if_abandoned(int folder, const std::string& temporary) {
    struct stat named {};
    // Only plain files are opened: opening a device or a FIFO can have effects of its own.
    if (::fstatat(folder, temporary.c_str(), &named, AT_SYMLINK_NOFOLLOW) != 0 ||
        !S_ISREG(named.st_mode)) {
        return;
    }
    constexpr int kFlags = O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    FileDescriptor file(::openat(folder, temporary.c_str(), O_RDONLY | kFlags));
    if (!file.valid()) {
        // A save may have given the file a mode without read permission (that of the list it
        // replaces); the lock can be taken through a descriptor open for writing as well.
        file = FileDescriptor(::openat(folder, temporary.c_str(), O_WRONLY | kFlags));
    }
    struct stat opened {};
    if (!file.valid() || ::fstat(file.get(), &opened) != 0 || !S_ISREG(opened.st_mode) ||
        ::flock(file.get(), LOCK_EX | LOCK_NB) != 0) {
        return;
    }
    // Remove the name only while it still names the file whose lock is held here.
    if (::fstatat(folder, temporary.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
        named.st_dev == opened.st_dev && named.st_ino == opened.st_ino) {
        ::unlinkat(folder, temporary.c_str(), 0);
    }
}

void remove_abandoned_temporaries(int folder, const std::string& name) {
    std::vector<std::string> candidates;
    {
        const int listing_fd = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (listing_fd < 0) {
            return;
        }
        DIR* listing = ::fdopendir(listing_fd);
        if (listing == nullptr) {
            ::close(listing_fd);
            return;
        }
        while (const dirent* entry = ::readdir(listing)) {
            if (is_temporary_name_of(entry->d_name, name)) {
                candidates.emplace_back(entry->d_name);
            }
        }
        ::closedir(listing);
    }
    for (const auto& candidate : candidates) {
        remove_if_abandoned(folder, candidate);
    }
}

// Takes the lock that marks the new temporary file as a live save's. False when the file
// must be given up for another name: a sweep of abandoned files by another save found it
// before the lock was taken and holds it or has removed it.
bool lock_new_temporary(int folder, const std::string& temporary, int file) {
    if (::flock(file, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EWOULDBLOCK) {
            ::unlinkat(folder, temporary.c_str(), 0);
            return false;
        }
        // No locks on this file system: no sweep can lock the file either, so none removes it.
        return true;
    }
    struct stat opened {};
    return ::fstat(file, &opened) == 0 && opened.st_nlink > 0;
}

class PosixReplacingFile final : public ReplacingFile {
  public:
    PosixReplacingFile(FileDescriptor folder, std::string target, std::string temporary,
                       FileDescriptor file)
        : folder_(std::move(folder)),
          target_(std::move(target)),
          temporary_(std::move(temporary)),
          file_(std::move(file)) {}

    ~PosixReplacingFile() override {
        if (!committed_) {
            // Removed while its lock is still held, so that no sweep takes it for abandoned.
            ::unlinkat(folder_.get(), temporary_.c_str(), 0);
        }
    }
    PosixReplacingFile(const PosixReplacingFile&) = delete;
    PosixReplacingFile& operator=(const PosixReplacingFile&) = delete;

    bool write(std::string_view bytes) override {
        while (!bytes.empty()) {
            const ssize_t n = ::write(file_.get(), bytes.data(), bytes.size());
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
        if (committed_ || !file_.valid()) {
            return false;
        }
        // The bytes must be on the disk before the name points at them, or a crash of the
        // system could leave an empty ip.txt where the old list was.
        if (::fsync(file_.get()) != 0 ||
            ::renameat(folder_.get(), temporary_.c_str(), folder_.get(), target_.c_str()) != 0) {
            return false;
        }
        committed_ = true;
        // And the new name must reach the disk, or a crash could bring back the old list. A
        // file system that cannot sync a folder has made the rename all the same.
        ::fsync(folder_.get());
        file_.close();
        return true;
    }

  private:
    FileDescriptor folder_;
    std::string target_;
    std::string temporary_;
    FileDescriptor file_;
    bool committed_ = false;
};

}  // namespace

std::unique_ptr<ReplacingFile> ReplacingFile::create(const FilePath& path) {
    if (path.bytes.empty()) {
        return nullptr;
    }
    const auto target = file_behind_links(path.bytes.to_string());
    if (!target) {
        return nullptr;
    }
    auto [folder_path, name] = split_path(*target);
    if (name.empty()) {
        return nullptr;
    }
    FileDescriptor folder(::open(folder_path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder.valid()) {
        return nullptr;
    }
    struct stat existing {};
    const bool exists = ::fstatat(folder.get(), name.c_str(), &existing, AT_SYMLINK_NOFOLLOW) == 0;
    if (!exists && errno != ENOENT) {
        return nullptr;
    }
    // Only a plain file is replaced: a folder, a device or a FIFO in its place stays as it is.
    // A file that nobody may write to is read-only by intent: kept for every user, root
    // included, as the other platform does.
    if (exists && (!S_ISREG(existing.st_mode) || (existing.st_mode & 0222) == 0)) {
        return nullptr;
    }
    remove_abandoned_temporaries(folder.get(), name);
    for (int attempt = 0; attempt < 16; ++attempt) {
        std::string temporary = temporary_name_for(name);
        FileDescriptor file(::openat(folder.get(), temporary.c_str(),
                                     O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
        if (!file.valid()) {
            if (errno == EEXIST) {
                continue;
            }
            return nullptr;
        }
        if (!lock_new_temporary(folder.get(), temporary, file.get())) {
            continue;
        }
        if (exists) {
            ::fchmod(file.get(), existing.st_mode & 07777);
        }
        return std::make_unique<PosixReplacingFile>(std::move(folder), std::move(name),
                                                    std::move(temporary), std::move(file));
    }
    return nullptr;
}

}  // namespace proxylist
