#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/window_created.hpp"

using namespace proxylist;

namespace {

// Records every call in one journal, so that the order across both seams shows.
struct Journal {
    std::vector<std::string> calls;
};

class RecordingStyle final : public VisualStyle {
  public:
    explicit RecordingStyle(Journal& journal) : journal_(journal) {}
    void switch_on(int style) override {
        journal_.calls.push_back("style " + std::to_string(style));
    }

  private:
    Journal& journal_;
};

class RecordingControls final : public Controls {
  public:
    explicit RecordingControls(Journal& journal) : journal_(journal) {}
    Text edit_text(ControlId id) override {
        journal_.calls.push_back("edit_text " + std::string(control_name(id)));
        return {};
    }
    void set_edit_text(ControlId id, const Text&) override {
        journal_.calls.push_back("set_edit_text " + std::string(control_name(id)));
    }
    std::int32_t combo_current_item(ControlId id) override {
        journal_.calls.push_back("combo_current_item " + std::string(control_name(id)));
        return -1;
    }
    void set_combo_current_item(ControlId id, std::int32_t item) override {
        journal_.calls.push_back("set_combo_current_item " + std::string(control_name(id)) + " " +
                                 std::to_string(item));
    }
    void set_button_caption(ControlId id, const Text&) override {
        journal_.calls.push_back("set_button_caption " + std::string(control_name(id)));
    }
    void set_button_disabled(ControlId id, bool) override {
        journal_.calls.push_back("set_button_disabled " + std::string(control_name(id)));
    }

  private:
    Journal& journal_;
};

TEST(WindowCreated, SwitchesOnStyleTwoThenSelectsTheFirstCarrier) {
    Journal journal;
    RecordingStyle style(journal);
    RecordingControls controls(journal);

    handle_window_created(style, controls);

    EXPECT_EQ(journal.calls,
              (std::vector<std::string>{"style 2", "set_combo_current_item 组合框1 0"}));
}

}  // namespace
