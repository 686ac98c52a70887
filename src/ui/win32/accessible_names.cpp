#include "ui/win32/accessible_names.hpp"

#include <optional>

namespace proxylist {
namespace {

constexpr std::string_view full_width_colon = "：";

std::string without_colon(std::string_view caption) {
    if (caption.ends_with(full_width_colon)) {
        caption.remove_suffix(full_width_colon.size());
    } else if (caption.ends_with(':')) {
        caption.remove_suffix(1);
    }
    return std::string(caption);
}

bool rows_overlap(const Placement& a, const Placement& b) {
    return a.top < b.top + b.height && b.top < a.top + a.height;
}

// The control right in front of this one: of those in the same row that end left of it, the
// one that ends nearest to it. When that is a label, it names this control.
std::optional<std::string_view> label_in_front_of(const ControlLayout& control) {
    const ControlLayout* nearest = nullptr;
    for (const ControlLayout& candidate : main_window_controls()) {
        const Placement& place = candidate.place;
        const int right = place.left + place.width;
        if (&candidate == &control || right > control.place.left ||
            !rows_overlap(place, control.place)) {
            continue;
        }
        if (nearest == nullptr || right > nearest->place.left + nearest->place.width) {
            nearest = &candidate;
        }
    }
    if (nearest == nullptr || nearest->kind != ControlKind::label) {
        return std::nullopt;
    }
    return nearest->text;
}

}  // namespace

std::string accessible_name(ControlId id) {
    const ControlLayout& control = control_layout(id);
    switch (control.kind) {
        case ControlKind::label:
        case ControlKind::button:
            return std::string(control.text);
        case ControlKind::edit_box:
        case ControlKind::combo_box:
            break;
    }
    if (const auto label = label_in_front_of(control)) {
        return without_colon(*label);
    }
    return std::string(list_box_accessible_name);
}

}  // namespace proxylist
