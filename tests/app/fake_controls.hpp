// Controls held in memory, for the commands' tests. Records every write in order.
#pragma once

#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "app/controls.hpp"

namespace proxylist::testing {

class FakeControls : public Controls {
  public:
    Text edit_text(ControlId id) override {
        std::lock_guard lock(mutex_);
        log_.push_back("read " + std::string(control_name(id)));
        return edits_[id];
    }
    void set_edit_text(ControlId id, const Text& text) override {
        std::lock_guard lock(mutex_);
        log_.push_back("set " + std::string(control_name(id)));
        edits_[id] = text;
    }
    std::int32_t combo_current_item(ControlId id) override {
        std::lock_guard lock(mutex_);
        log_.push_back("read " + std::string(control_name(id)));
        return combo_;
    }
    void set_combo_current_item(ControlId, std::int32_t item) override {
        std::lock_guard lock(mutex_);
        combo_ = item > 3 ? 3 : (item < -1 ? -1 : item);
    }
    void set_button_caption(ControlId id, const Text& caption) override {
        std::lock_guard lock(mutex_);
        log_.push_back("caption " + std::string(control_name(id)) + " " + caption.to_string());
        captions_[id] = caption;
    }
    void set_button_disabled(ControlId id, bool disabled) override {
        std::lock_guard lock(mutex_);
        log_.push_back(std::string(disabled ? "disable " : "enable ") +
                       std::string(control_name(id)));
        disabled_[id] = disabled;
    }

    void put(ControlId id, const Text& text) {
        std::lock_guard lock(mutex_);
        edits_[id] = text;
    }
    Text text(ControlId id) {
        std::lock_guard lock(mutex_);
        return edits_[id];
    }
    void select(std::int32_t item) {
        std::lock_guard lock(mutex_);
        combo_ = item;
    }
    Text caption(ControlId id) {
        std::lock_guard lock(mutex_);
        return captions_[id];
    }
    bool disabled(ControlId id) {
        std::lock_guard lock(mutex_);
        return disabled_[id];
    }
    std::vector<std::string> log() {
        std::lock_guard lock(mutex_);
        return log_;
    }

  private:
    std::mutex mutex_;
    std::map<ControlId, Text> edits_;
    std::map<ControlId, Text> captions_;
    std::map<ControlId, bool> disabled_;
    std::int32_t combo_ = 0;
    std::vector<std::string> log_;
};

}  // namespace proxylist::testing
