// Where the programs that paint on pages put a point of the puzzle, worked out from the rules alone: the point is
// turned by three whole-degree view angles, about x, then y, then z, and divided by its distance from an eye on
// the z axis. The tests hold the programs to this and never call the programs' own projection.
#pragma once

#include <cmath>
#include <cstdint>

#include "tests/support/degree.h"

namespace oracle {

// The eye on the +z axis eyeDistance from the origin, looking at it; scale turns the division's result into page
// units, and the origin lands on (centreX, centreY), y downward.
struct PageView {
    double eyeDistance, scale, centreX, centreY;
};

// The cuboid programs: pixels of the 640 x 480 page, centred on half the last pixel (a real division).
inline constexpr PageView cuboidPage{480, 480, 639 / 2.0, 479 / 2.0};
// cubesolve: cells of its 320 x 200 raster.
inline constexpr PageView cubesolvePage{200, 128, 160, 100};

// View angles of both programs at start and after every rebuild: about x, then y, then z.
inline constexpr int32_t startView[3] = {45, 45, 90};

// The point p turned by the view angles; the third coordinate is the depth, larger nearer the eye.
inline void toEye(const int32_t angle[3], const double p[3], double e[3]) {
    const double sx = std::sin(angle[0] * degree), cx = std::cos(angle[0] * degree);
    const double sy = std::sin(angle[1] * degree), cy = std::cos(angle[1] * degree);
    const double sz = std::sin(angle[2] * degree), cz = std::cos(angle[2] * degree);
    const double y1 = p[1] * cx - p[2] * sx, z1 = p[1] * sx + p[2] * cx;
    const double x2 = p[0] * cy - z1 * sy, z2 = p[0] * sy + z1 * cy;
    e[0] = x2 * cz - y1 * sz;
    e[1] = x2 * sz + y1 * cz;
    e[2] = z2;
}

// Where a turned point lands on the page, unrounded. Each coordinate is divided as the rule writes it, scale
// times the coordinate over the distance, so that a point half a unit off a whole one rounds the rule's way.
inline void toPage(const PageView& view, const double e[3], double& x, double& y) {
    x = view.centreX + view.scale * e[0] / (view.eyeDistance - e[2]);
    y = view.centreY - view.scale * e[1] / (view.eyeDistance - e[2]);
}

// What the programs store for a point: page x, page y and depth, each rounded to the nearest whole number.
inline void projectRounded(const PageView& view, const int32_t angle[3], const double p[3], double out[3]) {
    double e[3];
    toEye(angle, p, e);
    toPage(view, e, out[0], out[1]);
    out[0] = std::round(out[0]);
    out[1] = std::round(out[1]);
    out[2] = std::round(e[2]);
}

// The cell (or pixel) the point p lands in.
inline void projectToCell(const PageView& view, const int32_t angle[3], const double p[3], int32_t& x, int32_t& y) {
    double rounded[3];
    projectRounded(view, angle, p, rounded);
    x = static_cast<int32_t>(rounded[0]);
    y = static_cast<int32_t>(rounded[1]);
}

}  // namespace oracle
