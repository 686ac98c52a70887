#include "service/page_fetch.hpp"

#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>
#include <utility>

#include "service/exchange_thread.hpp"
#include "service/header_block.hpp"
#include "service/http_exchange.hpp"
#include "service/page_text.hpp"
#include "service/url_escape.hpp"

namespace proxylist {
namespace {

// Shared by the caller and the exchange thread, and kept alive by whichever lets go last, so
// that an abandoned exchange still has its request to read. Once the caller has given up the
// exchange writes nothing here any more.
struct ExchangeRecord {
    explicit ExchangeRecord(HttpRequest r) : request(std::move(r)) {}

    const HttpRequest request;
    std::stop_source stop;
    std::mutex mutex;
    bool abandoned = false;            // guarded by mutex
    std::optional<HttpAnswer> answer;  // guarded by mutex
};

void run_exchange(const std::shared_ptr<ExchangeRecord>& record) {
    std::optional<HttpAnswer> answer = http_exchange(record->request, record->stop.get_token());
    const std::lock_guard lock(record->mutex);
    if (!record->abandoned) {
        record->answer = std::move(answer);
    }
}

std::optional<HttpAnswer> exchange_with_bounded_wait(HttpRequest request,
                                                     std::chrono::milliseconds wait) {
    auto record = std::make_shared<ExchangeRecord>(std::move(request));
    const bool ended = run_on_exchange_thread([record] { run_exchange(record); }, wait);
    const std::lock_guard lock(record->mutex);
    if (!ended) {
        record->abandoned = true;
        // The exchange may be blocked anywhere in the client; it is asked to stop and left to
        // end by itself.
        record->stop.request_stop();
        return std::nullopt;
    }
    return std::move(record->answer);
}

}  // namespace

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
