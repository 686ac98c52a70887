// The application's icon as shapes on a 16 x 16 grid, which scale to any size: a lake-blue
// rounded tile with three list lines, each behind a dot, for a list of addresses. The program
// draws the icon from these shapes, and the icon files under assets/icon are written from them.
#pragma once

#include <array>
#include <cstdint>

namespace proxylist {

struct IconColour {
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
};

enum class IconShapeKind { rounded_rectangle, circle };

// In grid units. A circle fills its square; a rounded rectangle has corners of the radius.
struct IconShape {
    IconShapeKind kind;
    double left;
    double top;
    double width;
    double height;
    double corner_radius;
    IconColour colour;
};

inline constexpr double icon_grid = 16.0;

inline constexpr std::array<IconShape, 7> icon_shapes = [] {
    constexpr IconColour lake_blue{0x2B, 0x6C, 0xB0};
    constexpr IconColour white{0xFF, 0xFF, 0xFF};
    constexpr double dot_radius = 1.1;
    std::array<IconShape, 7> shapes{};
    shapes[0] = {IconShapeKind::rounded_rectangle, 0.5, 0.5, 15, 15, 3, lake_blue};
    for (int row = 0; row < 3; ++row) {
        const double top = 4 + row * 3.5;
        const double line_middle = top + 0.75;
        shapes[1 + 2 * row] = {IconShapeKind::circle,
                               4 - dot_radius,
                               line_middle - dot_radius,
                               2 * dot_radius,
                               2 * dot_radius,
                               0,
                               white};
        shapes[2 + 2 * row] = {IconShapeKind::rounded_rectangle, 6.5, top, 6.5, 1.5, 0.7, white};
    }
    return shapes;
}();

// The sizes the icon is drawn and shipped at, in pixels.
inline constexpr std::array<int, 7> icon_sizes = {16, 24, 32, 48, 64, 128, 256};

}  // namespace proxylist
