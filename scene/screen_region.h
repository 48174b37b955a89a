// Convex regions of the window, for telling which polygons a convex solid hides: the outline a solid covers on
// screen (the hull of its corners' pixels), a convex polygon clipped to such an outline, and whether a point lies
// inside one with room to spare. Window pixels, x right, y up. Fixed capacities, no allocation.
#pragma once

#include <cstdint>

#include "scene/vec.h"

namespace scene {

// A convex polygon, corners counter-clockwise.
struct ScreenPolygon {
    static constexpr int32_t capacity = 160;
    Vec2 point[capacity];
    int32_t count = 0;
};

// The convex hull of count points (reordered in place; at most ScreenPolygon::capacity - 1 of them). Points on
// the hull's edges are left out; fewer than three points that are not in one line give a hull with no inside.
void convexHull(Vec2* points, int32_t count, ScreenPolygon& hull);

// The part of a convex polygon (corners in either turning order) inside the region; count 0 when they do not meet.
void clipToRegion(const Vec2* corners, int32_t count, const ScreenPolygon& region, ScreenPolygon& out);

// Whether p lies inside the region at least margin pixels from each of its edges' lines.
bool insideBy(const ScreenPolygon& region, Vec2 p, double margin);

}  // namespace scene
