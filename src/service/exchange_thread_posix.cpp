#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "service/exchange_thread.hpp"

namespace proxylist {
namespace {

struct Ending {
    std::mutex mutex;
    std::condition_variable signal;
    bool ended = false;  // guarded by mutex
};

}  // namespace

bool run_on_exchange_thread(std::function<void()> exchange, std::chrono::milliseconds wait) {
    auto ending = std::make_shared<Ending>();
    std::thread thread([ending, exchange = std::move(exchange)] {
        exchange();
        const std::lock_guard lock(ending->mutex);
        ending->ended = true;
        ending->signal.notify_one();
    });
    std::unique_lock lock(ending->mutex);
    if (!ending->signal.wait_for(lock, wait, [&] { return ending->ended; })) {
        thread.detach();
        return false;
    }
    lock.unlock();
    thread.join();
    return true;
}

}  // namespace proxylist
