#include "scene/screen_region.h"

#include <algorithm>
#include <cmath>

namespace scene {
namespace {

// Twice the signed area of the triangle o, a, b: positive when they turn counter-clockwise.
double turn(Vec2 o, Vec2 a, Vec2 b) { return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x); }

}  // namespace

void convexHull(Vec2* points, int32_t count, ScreenPolygon& hull) {
    hull.count = 0;
    count = std::min(count, ScreenPolygon::capacity - 1);
    std::sort(points, points + count, [](Vec2 a, Vec2 b) { return a.x < b.x || (a.x == b.x && a.y < b.y); });
    // Andrew's monotone chain: the lower chain left to right, then the upper one back.
    Vec2* h = hull.point;
    int32_t n = 0;
    for (int32_t i = 0; i < count; ++i) {
        while (n >= 2 && turn(h[n - 2], h[n - 1], points[i]) <= 0.0) --n;
        h[n++] = points[i];
    }
    for (int32_t i = count - 2, lower = n + 1; i >= 0; --i) {
        while (n >= lower && turn(h[n - 2], h[n - 1], points[i]) <= 0.0) --n;
        h[n++] = points[i];
    }
    hull.count = n > 1 ? n - 1 : n;  // the last point repeats the first
    for (int32_t e = 0; e < hull.count; ++e) {
        Vec2 a = h[e], b = h[(e + 1) % hull.count];
        double length = std::sqrt((b.x - a.x) * (b.x - a.x) + (b.y - a.y) * (b.y - a.y));
        hull.inward[e] = length > 0.0 ? Vec2{(a.y - b.y) / length, (b.x - a.x) / length} : Vec2{0.0, 0.0};
        hull.offset[e] = hull.inward[e].x * a.x + hull.inward[e].y * a.y;
    }
}

int32_t clipToHull(const Vec2* corners, int32_t count, const ScreenPolygon& hull, Vec2 out[clippedCapacity]) {
    // Sutherland-Hodgman, one edge of the hull at a time: each edge adds at most one corner.
    Vec2 other[clippedCapacity];
    Vec2* from = out;
    Vec2* to = other;
    int32_t n = std::min(count, clippedCapacity);
    std::copy(corners, corners + n, from);
    for (int32_t e = 0; e < hull.count && n > 0; ++e) {
        Vec2 inward = hull.inward[e];
        int32_t kept = 0;
        for (int32_t i = 0; i < n; ++i) {
            Vec2 p = from[i], q = from[(i + 1) % n];
            double sp = inward.x * p.x + inward.y * p.y - hull.offset[e];
            double sq = inward.x * q.x + inward.y * q.y - hull.offset[e];
            if (sp >= 0.0 && kept < clippedCapacity) to[kept++] = p;
            if ((sp >= 0.0) != (sq >= 0.0) && kept < clippedCapacity) {
                double t = sp / (sp - sq);
                to[kept++] = {p.x + t * (q.x - p.x), p.y + t * (q.y - p.y)};
            }
        }
        n = kept;
        std::swap(from, to);
    }
    if (from != out) std::copy(from, from + n, out);
    return n;
}

bool insideBy(const ScreenPolygon& hull, Vec2 p, double margin) {
    if (hull.count < 3) return false;
    for (int32_t e = 0; e < hull.count; ++e)
        if (hull.inward[e].x * p.x + hull.inward[e].y * p.y - hull.offset[e] < margin) return false;
    return true;
}

}  // namespace scene
