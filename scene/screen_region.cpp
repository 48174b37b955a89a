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
}

void clipToRegion(const Vec2* corners, int32_t count, const ScreenPolygon& region, ScreenPolygon& out) {
    // Sutherland-Hodgman, one region edge at a time; a convex polygon clipped to a convex region stays convex and
    // never has more corners than both together.
    ScreenPolygon other;
    ScreenPolygon* from = &out;
    ScreenPolygon* to = &other;
    from->count = std::min(count, ScreenPolygon::capacity);
    std::copy(corners, corners + from->count, from->point);
    for (int32_t e = 0; e < region.count && from->count > 0; ++e) {
        Vec2 a = region.point[e], b = region.point[(e + 1) % region.count];
        to->count = 0;
        for (int32_t i = 0; i < from->count; ++i) {
            Vec2 p = from->point[i], q = from->point[(i + 1) % from->count];
            double sp = turn(a, b, p), sq = turn(a, b, q);
            if (sp >= 0.0 && to->count < ScreenPolygon::capacity) to->point[to->count++] = p;
            if ((sp >= 0.0) != (sq >= 0.0) && to->count < ScreenPolygon::capacity) {
                double t = sp / (sp - sq);
                to->point[to->count++] = {p.x + t * (q.x - p.x), p.y + t * (q.y - p.y)};
            }
        }
        std::swap(from, to);
    }
    if (from != &out) out = *from;
}

bool insideBy(const ScreenPolygon& region, Vec2 p, double margin) {
    if (region.count < 3) return false;
    for (int32_t e = 0; e < region.count; ++e) {
        Vec2 a = region.point[e], b = region.point[(e + 1) % region.count];
        double length = std::hypot(b.x - a.x, b.y - a.y);
        if (turn(a, b, p) < margin * length) return false;
    }
    return true;
}

}  // namespace scene
