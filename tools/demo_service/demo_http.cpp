#include "demo_http.hpp"

#include <arpa/inet.h>
#include <microhttpd.h>
#include <netinet/in.h>

#include <cstring>
#include <memory>
#include <string>
#include <thread>

namespace demo {
namespace {

// The query's values as the service sees them: the library has decoded the escapes; the
// first of repeated keys wins.
MHD_Result collect_value(void* values, MHD_ValueKind, const char* key, const char* value) {
    static_cast<QueryValues*>(values)->try_emplace(key, value == nullptr ? "" : value);
    return MHD_YES;
}

struct ResponseFree {
    void operator()(MHD_Response* r) const noexcept { MHD_destroy_response(r); }
};

MHD_Result answer(void* service, MHD_Connection* connection, const char* url, const char* method,
                  const char*, const char*, std::size_t*, void** request_state) {
    if (std::strcmp(method, "GET") != 0 && std::strcmp(method, "HEAD") != 0) {
        return MHD_NO;  // the library closes the connection
    }
    // The first call only announces the request's head; answering right then would make the
    // library close the connection after the answer instead of keeping it alive.
    if (*request_state == nullptr) {
        *request_state = connection;  // any mark will do: the next call answers
        return MHD_YES;
    }
    const ServiceOptions& options = static_cast<const DemoService*>(service)->options();
    if (options.delay.count() > 0) {
        std::this_thread::sleep_for(options.delay);  // this connection's own thread
    }
    QueryValues query;
    MHD_get_connection_values(connection, MHD_GET_ARGUMENT_KIND, collect_value, &query);
    const DemoReply reply = demo_reply(url, query, options);
    const std::string body = reply.gzip ? gzip_member(reply.body) : reply.body;
    const std::unique_ptr<MHD_Response, ResponseFree> response(MHD_create_response_from_buffer(
        body.size(), const_cast<char*>(body.data()), MHD_RESPMEM_MUST_COPY));
    if (!response) {
        return MHD_NO;
    }
    MHD_add_response_header(response.get(), "Content-Type", reply.content_type.c_str());
    if (reply.gzip) {
        MHD_add_response_header(response.get(), "Content-Encoding", "gzip");
    }
    return MHD_queue_response(connection, static_cast<unsigned int>(reply.status), response.get());
}

}  // namespace

DemoService::~DemoService() {
    if (daemon_ != nullptr) {
        MHD_stop_daemon(daemon_);
    }
}

bool DemoService::start() {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(options_.port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);  // never reachable from elsewhere
    // A thread per connection, so that a slow answer holds up nobody else.
    daemon_ = MHD_start_daemon(MHD_USE_INTERNAL_POLLING_THREAD | MHD_USE_THREAD_PER_CONNECTION,
                               options_.port, nullptr, nullptr, answer, this, MHD_OPTION_SOCK_ADDR,
                               &address, MHD_OPTION_END);
    if (daemon_ == nullptr) {
        return false;
    }
    const MHD_DaemonInfo* info = MHD_get_daemon_info(daemon_, MHD_DAEMON_INFO_BIND_PORT);
    port_ = info != nullptr ? info->port : options_.port;
    return true;
}

}  // namespace demo
