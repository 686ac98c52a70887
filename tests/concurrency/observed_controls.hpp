// The fake controls behind a window that can close while a worker still uses them, as the
// front-ends' controls are: once the window is gone every call returns at once (reads give the
// absent text or -1, writes are dropped). The test learns when the worker has made the button
// ready again, and what had been done when the last owner let go of the controls.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <future>
#include <mutex>
#include <string>
#include <vector>

#include "fake_controls.hpp"

namespace proxylist::testing {

class ObservedControls final : public FakeControls {
  public:
    explicit ObservedControls(std::promise<std::vector<std::string>> released)
        : released_(std::move(released)) {}
    ~ObservedControls() override { released_.set_value(log()); }
    ObservedControls(const ObservedControls&) = delete;
    ObservedControls& operator=(const ObservedControls&) = delete;

    void window_gone() noexcept { gone_.store(true); }

    // Whether a worker has made 按钮1 usable again within `timeout`.
    [[nodiscard]] bool ready_within(std::chrono::milliseconds timeout) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, timeout, [this] { return ready_; });
    }

    Text edit_text(ControlId id) override {
        return gone_.load() ? Text() : FakeControls::edit_text(id);
    }
    void set_edit_text(ControlId id, const Text& text) override {
        if (!gone_.load()) {
            FakeControls::set_edit_text(id, text);
        }
    }
    std::int32_t combo_current_item(ControlId id) override {
        return gone_.load() ? -1 : FakeControls::combo_current_item(id);
    }
    void set_combo_current_item(ControlId id, std::int32_t item) override {
        if (!gone_.load()) {
            FakeControls::set_combo_current_item(id, item);
        }
    }
    void set_button_caption(ControlId id, const Text& caption) override {
        if (!gone_.load()) {
            FakeControls::set_button_caption(id, caption);
        }
    }
    void set_button_disabled(ControlId id, bool disabled) override {
        if (gone_.load()) {
            return;
        }
        FakeControls::set_button_disabled(id, disabled);
        const std::lock_guard lock(mutex_);
        ready_ = !disabled;
        changed_.notify_all();
    }

  private:
    std::promise<std::vector<std::string>> released_;
    std::atomic<bool> gone_{false};
    std::mutex mutex_;
    std::condition_variable changed_;
    bool ready_ = false;  // guarded by mutex_
};

}  // namespace proxylist::testing
