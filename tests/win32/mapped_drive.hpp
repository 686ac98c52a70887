// A drive letter that names a folder for the life of the object, so that a program can be run
// from the root folder of a drive.
#pragma once

#include <windows.h>
#include <winioctl.h>

#include <cstring>
#include <string>
#include <vector>

#include "wine.hpp"

namespace proxylist::testing {

class MappedDrive {
  public:
    explicit MappedDrive(const std::wstring& folder) {
        const DWORD taken = ::GetLogicalDrives();
        for (wchar_t letter = L'P'; letter <= L'Y'; ++letter) {
            if ((taken & (1u << (letter - L'A'))) == 0) {
                letter_ = letter;
                break;
            }
        }
        if (letter_ == 0) {
            return;
        }
        mapped_ = running_under_wine() ? wine_define(wine_unix_path(folder))
                                       : ::DefineDosDeviceW(0, device().c_str(), folder.c_str());
        target_ = folder;
    }
    ~MappedDrive() {
        if (!mapped_) {
            return;
        }
        if (running_under_wine()) {
            wine_define({});
        } else {
            ::DefineDosDeviceW(DDD_REMOVE_DEFINITION | DDD_EXACT_MATCH_ON_REMOVE, device().c_str(),
                               target_.c_str());
        }
    }
    MappedDrive(const MappedDrive&) = delete;
    MappedDrive& operator=(const MappedDrive&) = delete;

    explicit operator bool() const { return mapped_; }
    // "Q:\", the root folder of the drive.
    [[nodiscard]] std::wstring root() const { return device() + L"\\"; }

  private:
    [[nodiscard]] std::wstring device() const { return std::wstring{letter_, L':'}; }

    // Wine's DefineDosDevice reports success but does not route file names through the new
    // letter; Wine's own mount manager does, as its configuration tool uses it. The request
    // below is Wine's (include/ddk/mountmgr.h there), with an empty Unix path to unmap.
    bool wine_define(const std::string& unix_folder) const {
        struct UnixDrive {
            ULONG size;
            ULONG type;
            ULONG fs_type;
            DWORD serial;
            ULONGLONG unix_dev;
            WCHAR letter;
            USHORT mount_point_offset;
            USHORT device_offset;
            USHORT label_offset;
        };
        const DWORD define_unix_drive =
            CTL_CODE('m', 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);
        std::vector<char> request(sizeof(UnixDrive) + unix_folder.size() + 1, '\0');
        UnixDrive drive{};
        drive.size = static_cast<ULONG>(request.size());
        drive.type = unix_folder.empty() ? DRIVE_NO_ROOT_DIR : DRIVE_FIXED;
        drive.letter = static_cast<WCHAR>(letter_ - L'A' + L'a');
        drive.mount_point_offset = unix_folder.empty() ? 0 : sizeof(UnixDrive);
        std::memcpy(request.data(), &drive, sizeof drive);
        std::memcpy(request.data() + sizeof drive, unix_folder.c_str(), unix_folder.size());

        const HANDLE manager =
            ::CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        if (manager == INVALID_HANDLE_VALUE) {
            return false;
        }
        const BOOL done =
            ::DeviceIoControl(manager, define_unix_drive, request.data(),
                              static_cast<DWORD>(request.size()), nullptr, 0, nullptr, nullptr);
        ::CloseHandle(manager);
        return done != 0;
    }

    wchar_t letter_ = 0;
    std::wstring target_;
    bool mapped_ = false;
};

}  // namespace proxylist::testing
