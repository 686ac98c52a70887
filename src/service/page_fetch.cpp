#include "service/page_fetch.hpp"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>
#include <thread>
#include <utility>

#include "service/gzip_members.hpp"
#include "service/header_block.hpp"
#include "service/url_escape.hpp"
#include "text/codepage.hpp"

namespace proxylist {
namespace {

// Shared by the caller and the exchange thread, and kept alive by whichever lets go last, so
// that an abandoned exchange still has its request to read. Once the caller has given up it
// writes nothing here any more.
struct ExchangeRecord {
    explicit ExchangeRecord(HttpRequest r) : request(std::move(r)) {}

    const HttpRequest request;
    std::stop_source stop;
    std::mutex mutex;
    std::condition_variable ended_signal;
    bool ended = false;                // guarded by mutex
    bool abandoned = false;            // guarded by mutex
    std::optional<HttpAnswer> answer;  // guarded by mutex
};

void run_exchange(const std::shared_ptr<ExchangeRecord>& record) {
    std::optional<HttpAnswer> answer = http_exchange(record->request, record->stop.get_token());
    const std::lock_guard lock(record->mutex);
    if (record->abandoned) {
        return;
    }
    record->answer = std::move(answer);
    record->ended = true;
    record->ended_signal.notify_one();
}

std::optional<HttpAnswer> exchange_with_bounded_wait(HttpRequest request,
                                                     std::chrono::milliseconds wait) {
    auto record = std::make_shared<ExchangeRecord>(std::move(request));
    std::thread exchange_thread([record] { run_exchange(record); });
    std::unique_lock lock(record->mutex);
    if (!record->ended_signal.wait_for(lock, wait, [&] { return record->ended; })) {
        record->abandoned = true;
        lock.unlock();
        // The exchange may be blocked anywhere in the client; it is asked to stop and left to
        // end by itself.
        record->stop.request_stop();
        exchange_thread.detach();
        return std::nullopt;
    }
    std::optional<HttpAnswer> answer = std::move(record->answer);
    lock.unlock();
    exchange_thread.join();
    return answer;
}

[[nodiscard]] bool names_utf8(std::string_view content_type) {
    std::string lower(content_type);
    for (char& c : lower) {
        c = ascii_lower(c);
    }
    return lower.find("utf-8") != std::string::npos;
}

}  // namespace

Text page_text(HttpAnswer answer) {
    std::string body = answer.coding == ContentCoding::none
                           ? std::move(answer.body)
                           : unpack_gzip_members(answer.body, max_unpacked_body_bytes);
    if (names_utf8(answer.content_type)) {
        return cp936_from_utf8(body);
    }
    return Text(std::string_view(body));
}

Text fetch_page(const Text& url, FetchTimeouts timeouts) noexcept {
    try {
        const std::string_view request_url = cut_leading_white_space(url.view());
        if (request_url.empty()) {
            return {};
        }
        HttpRequest request{
            .canonical_url = canonical_url(request_url),
            .header_block = header_block({}, request_url),
            .timeouts = {.connect = timeouts.connect,
                         .send = timeouts.send,
                         .receive = timeouts.receive},
            .max_body_bytes = max_fetched_body_bytes,
        };
        std::optional<HttpAnswer> answer =
            exchange_with_bounded_wait(std::move(request), timeouts.wait);
        if (!answer) {
            return {};
        }
        return page_text(std::move(*answer));
    } catch (...) {
        // No thread to be had, or no memory for the request: a failure like any other.
        return {};
    }
}

}  // namespace proxylist
