// libcurl, loaded on the first exchange rather than when the program starts: with the libraries
// it pulls in (TLS, Kerberos, LDAP, ...) it would cost the window about 5 MiB and a few
// milliseconds before anything is fetched. Only the libcurl exchange uses this.
#pragma once

#include <curl/curl.h>
#include <openssl/ssl.h>

namespace proxylist {

struct CurlLibrary {
    decltype(&::curl_easy_init) easy_init;
    decltype(&::curl_easy_cleanup) easy_cleanup;
    decltype(&::curl_easy_setopt) easy_setopt;
    decltype(&::curl_easy_getinfo) easy_getinfo;
    decltype(&::curl_multi_init) multi_init;
    decltype(&::curl_multi_cleanup) multi_cleanup;
    decltype(&::curl_multi_add_handle) multi_add_handle;
    decltype(&::curl_multi_remove_handle) multi_remove_handle;
    decltype(&::curl_multi_perform) multi_perform;
    decltype(&::curl_multi_poll) multi_poll;
    decltype(&::curl_multi_wakeup) multi_wakeup;
    decltype(&::curl_multi_info_read) multi_info_read;
    decltype(&::curl_url) url;
    decltype(&::curl_url_cleanup) url_cleanup;
    decltype(&::curl_url_get) url_get;
    decltype(&::curl_url_set) url_set;
    decltype(&::curl_slist_append) slist_append;
    decltype(&::curl_slist_free_all) slist_free_all;
    decltype(&::curl_free) free;
    // OpenSSL's, for the certificate date rule; null when libcurl uses another TLS library.
    decltype(&::SSL_CTX_get0_param) ssl_ctx_get0_param;
    decltype(&::X509_VERIFY_PARAM_set_flags) verify_param_set_flags;
};

// Loaded and initialised (curl_global_init) once, by the first call, from any thread; null when
// libcurl cannot be had, and every exchange then fails. It is never unloaded: exchanges may
// still run while the process ends.
[[nodiscard]] const CurlLibrary* curl_library() noexcept;

}  // namespace proxylist
