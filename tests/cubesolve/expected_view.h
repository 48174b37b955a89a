// Where the rules put a world point on the screen, and the palette's colours, for the tests' expected pictures.
#pragma once

#include <cmath>
#include <cstdint>

namespace expected_view {

// Cell of a world point under the view angles: about x, then y, then z, then perspective with the eye 200 units
// away and scale 128, centred on cell (160, 100). A cell covers window pixels 2x to 2x + 2.
inline void projectPoint(const double w[3], const int32_t angle[3], int32_t& x, int32_t& y) {
    const double d = 0.017453292519943295;
    const double s0 = std::sin(angle[0] * d), c0 = std::cos(angle[0] * d), s1 = std::sin(angle[1] * d),
                 c1 = std::cos(angle[1] * d), s2 = std::sin(angle[2] * d), c2 = std::cos(angle[2] * d);
    const double y1 = w[1] * c0 - w[2] * s0, z1 = w[1] * s0 + w[2] * c0;
    const double x2 = w[0] * c1 - z1 * s1, z2 = w[0] * s1 + z1 * c1;
    const double x3 = x2 * c2 - y1 * s2, y3 = x2 * s2 + y1 * c2;
    x = int32_t(std::lround(160 + 128 * x3 / (200 - z2)));
    y = int32_t(std::lround(100 - 128 * y3 / (200 - z2)));
}

// View angles a player sees at start and after the size key: about x, then y, then z, in degrees.
inline constexpr int32_t startView[3] = {45, 45, 90};

struct Rgb {
    int r, g, b;
};

// The default palette's entries the cube shows.
inline Rgb paletteRgb(int entry) {
    switch (entry) {
        case 2: return {0, 168, 0};
        case 8: return {84, 84, 84};
        case 9: return {132, 132, 252};
        case 12: return {252, 84, 84};
        case 13: return {252, 84, 252};
        case 14: return {252, 252, 84};
        case 15: return {252, 252, 252};
        default: return {0, 0, 0};
    }
}

}  // namespace expected_view
