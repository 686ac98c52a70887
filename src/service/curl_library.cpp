#include "service/curl_library.hpp"

#include <dlfcn.h>

#include <optional>

namespace proxylist {
namespace {

template <typename Function>
bool load(void* library, const char* name, Function& out) {
    out = reinterpret_cast<Function>(::dlsym(library, name));
    return out != nullptr;
}

std::optional<CurlLibrary> load_curl() {
    // The runtime name of Debian's libcurl4 (OpenSSL flavour), the library the headers are of.
    void* library = ::dlopen("libcurl.so.4", RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        return std::nullopt;
    }
    decltype(&::curl_global_init) global_init = nullptr;
    CurlLibrary c{};
    const bool complete =
        load(library, "curl_global_init", global_init) &&
        load(library, "curl_easy_init", c.easy_init) &&
        load(library, "curl_easy_cleanup", c.easy_cleanup) &&
        load(library, "curl_easy_setopt", c.easy_setopt) &&
        load(library, "curl_easy_getinfo", c.easy_getinfo) &&
        load(library, "curl_multi_init", c.multi_init) &&
        load(library, "curl_multi_cleanup", c.multi_cleanup) &&
        load(library, "curl_multi_add_handle", c.multi_add_handle) &&
        load(library, "curl_multi_remove_handle", c.multi_remove_handle) &&
        load(library, "curl_multi_perform", c.multi_perform) &&
        load(library, "curl_multi_poll", c.multi_poll) &&
        load(library, "curl_multi_wakeup", c.multi_wakeup) &&
        load(library, "curl_multi_info_read", c.multi_info_read) &&
        load(library, "curl_url", c.url) && load(library, "curl_url_cleanup", c.url_cleanup) &&
        load(library, "curl_url_get", c.url_get) && load(library, "curl_url_set", c.url_set) &&
        load(library, "curl_slist_append", c.slist_append) &&
        load(library, "curl_slist_free_all", c.slist_free_all) &&
        load(library, "curl_free", c.free);
    // curl_global_init is not thread-safe; the one-time initialisation of curl_library()'s
    // static makes this the only call, and nothing ever calls curl_global_cleanup.
    if (!complete || global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK) {
        return std::nullopt;
    }
    // Found among libcurl's own dependencies when it was built with OpenSSL.
    if (!load(library, "SSL_CTX_get0_param", c.ssl_ctx_get0_param) ||
        !load(library, "X509_VERIFY_PARAM_set_flags", c.verify_param_set_flags)) {
        c.ssl_ctx_get0_param = nullptr;
        c.verify_param_set_flags = nullptr;
    }
    return c;
}

}  // namespace

const CurlLibrary* curl_library() noexcept {
    static const std::optional<CurlLibrary> library = load_curl();
    return library ? &*library : nullptr;
}

}  // namespace proxylist
