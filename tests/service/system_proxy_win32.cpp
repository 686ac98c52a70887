#include <windows.h>
#include <wininet.h>

#include <array>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "system_proxy.hpp"

namespace proxylist::test_support {
namespace {

constexpr const char* settings_key =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
constexpr std::array<const char*, 3> setting_names{"ProxyEnable", "ProxyServer", "ProxyOverride"};
// Wine's WinINet takes these from the environment while the registry names no proxy; Windows
// never reads them.
constexpr std::array<const char*, 2> wine_variables{"http_proxy", "no_proxy"};

struct RegistryValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> bytes;
};

std::optional<RegistryValue> read_value(HKEY key, const char* name) {
    RegistryValue value;
    DWORD size = 0;
    if (::RegQueryValueExA(key, name, nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    value.bytes.resize(size);
    if (::RegQueryValueExA(key, name, nullptr, &value.type, value.bytes.data(), &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    value.bytes.resize(size);
    return value;
}

void write_dword(HKEY key, const char* name, DWORD value) {
    ::RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

void write_string(HKEY key, const char* name, const std::string& value) {
    ::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>(value.size() + 1));
}

// WinINet reads the settings anew once told they changed.
void announce_change() {
    ::InternetSetOptionA(nullptr, INTERNET_OPTION_SETTINGS_CHANGED, nullptr, 0);
    ::InternetSetOptionA(nullptr, INTERNET_OPTION_REFRESH, nullptr, 0);
}

}  // namespace

struct SystemProxy::Saved {
    HKEY key = nullptr;
    std::array<std::optional<RegistryValue>, setting_names.size()> settings;
    std::array<std::optional<std::string>, wine_variables.size()> variables;
};

SystemProxy::SystemProxy() : SystemProxy({}, {}) {}

SystemProxy::SystemProxy(std::string_view host_and_port, std::string_view bypass)
    : saved_(std::make_unique<Saved>()) {
    for (std::size_t i = 0; i < wine_variables.size(); ++i) {
        if (const char* value = std::getenv(wine_variables[i])) {
            saved_->variables[i] = value;
        }
        _putenv((std::string(wine_variables[i]) + "=").c_str());
    }
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, settings_key, 0, nullptr, 0,
                          KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &saved_->key,
                          nullptr) != ERROR_SUCCESS) {
        saved_->key = nullptr;
        return;
    }
    for (std::size_t i = 0; i < setting_names.size(); ++i) {
        saved_->settings[i] = read_value(saved_->key, setting_names[i]);
    }
    write_dword(saved_->key, "ProxyEnable", host_and_port.empty() ? 0 : 1);
    write_string(saved_->key, "ProxyServer", std::string(host_and_port));
    // Windows goes round the proxy for loopback addresses of its own accord; "<-loopback>" asks
    // it not to, so that a loopback origin can be reached through a loopback proxy.
    write_string(saved_->key, "ProxyOverride",
                 bypass.empty() ? "<-loopback>" : std::string(bypass));
    announce_change();
}

SystemProxy::~SystemProxy() {
    if (saved_->key != nullptr) {
        for (std::size_t i = 0; i < setting_names.size(); ++i) {
            const auto& value = saved_->settings[i];
            if (value) {
                ::RegSetValueExA(saved_->key, setting_names[i], 0, value->type, value->bytes.data(),
                                 static_cast<DWORD>(value->bytes.size()));
            } else {
                ::RegDeleteValueA(saved_->key, setting_names[i]);
            }
        }
        ::RegCloseKey(saved_->key);
        announce_change();
    }
    for (std::size_t i = 0; i < wine_variables.size(); ++i) {
        if (saved_->variables[i]) {
            _putenv((std::string(wine_variables[i]) + "=" + *saved_->variables[i]).c_str());
        }
    }
}

}  // namespace proxylist::test_support
