// Convex regions of the window, for telling which polygons a convex solid hides: the outline a solid covers on
// screen (the hull of its corners' pixels), a convex polygon clipped to such an outline, and whether a point lies
// inside one with room to spare. Window pixels, x right, y up. Fixed capacities, no allocation.
#pragma once

#include <cstdint>

#include "scene/vec.h"

namespace scene {

// A convex polygon, corners counter-clockwise, and for a hull each edge's line: point p is inside by
// inward[e] . p - offset[e] pixels.
struct ScreenPolygon {
    static constexpr int32_t capacity = 160;
    Vec2 point[capacity];
    int32_t count = 0;
    Vec2 inward[capacity];
    double offset[capacity];
};

// The convex hull of count points (reordered in place; at most ScreenPolygon::capacity - 1 of them), with its
// edges' lines. Points on the hull's edges are left out; fewer than three points that are not in one line give a
// hull with no inside.
void convexHull(Vec2* points, int32_t count, ScreenPolygon& hull);

// Most corners a convex polygon of up to 8 corners clipped to any hull can have: each edge of the hull adds at most
// one.
constexpr int32_t clippedCapacity = ScreenPolygon::capacity + 8;

// The corners of the part of a convex polygon (corners in either turning order, at most 8) inside the hull, into
// out; their count, 0 when the two do not meet.
int32_t clipToHull(const Vec2* corners, int32_t count, const ScreenPolygon& hull, Vec2 out[clippedCapacity]);

// Whether p lies inside the hull at least margin pixels from each of its edges' lines.
bool insideBy(const ScreenPolygon& hull, Vec2 p, double margin);

}  // namespace scene
