// The controls of the main window, in creation order, by their layout names.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace proxylist {

enum class ControlId {
    标签1,
    标签2,
    标签3,
    编辑框1,
    编辑框2,
    编辑框3,
    编辑框4,
    按钮1,
    按钮2,
    标签4,
    编辑框5,
    标签5,
    组合框1,
    标签6,
};

inline constexpr std::size_t control_count = 14;

[[nodiscard]] constexpr std::string_view control_name(ControlId id) noexcept {
    constexpr std::array<std::string_view, control_count> names = {
        "标签1", "标签2", "标签3", "编辑框1", "编辑框2", "编辑框3", "编辑框4",
        "按钮1", "按钮2", "标签4", "编辑框5", "标签5", "组合框1", "标签6",
    };
    return names[static_cast<std::size_t>(id)];
}

}  // namespace proxylist
