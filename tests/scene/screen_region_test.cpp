// Convex regions of the window: hulls, clipping and room to spare, against shapes whose answers are plain to see.
#include <gtest/gtest.h>

#include <cmath>

#include "scene/screen_region.h"

namespace scene {
namespace {

double area(const ScreenPolygon& p) {  // positive for counter-clockwise corners
    double twice = 0.0;
    for (int32_t i = 0; i < p.count; ++i) {
        Vec2 a = p.point[i], b = p.point[(i + 1) % p.count];
        twice += a.x * b.y - a.y * b.x;
    }
    return twice / 2.0;
}

// The square from (0, 0) to (10, 10).
ScreenPolygon square() {
    Vec2 points[] = {{10, 10}, {0, 0}, {5, 5}, {10, 0}, {5, 0}, {0, 10}, {3, 7}};
    ScreenPolygon hull;
    convexHull(points, 7, hull);
    return hull;
}

TEST(ScreenRegion, HullKeepsTheCornersCounterClockwise) {
    ScreenPolygon hull = square();
    EXPECT_EQ(hull.count, 4) << "points inside and on an edge are left out";
    EXPECT_DOUBLE_EQ(area(hull), 100.0);
    Vec2 line[] = {{0, 0}, {1, 1}, {2, 2}};
    ScreenPolygon flat;
    convexHull(line, 3, flat);
    EXPECT_EQ(area(flat), 0.0) << "points in one line enclose nothing";
}

TEST(ScreenRegion, ClippingKeepsThePartInside) {
    struct Case {
        const char* name;
        Vec2 corners[4];
        int32_t count;
        double area;  // of the part inside the square
    };
    const Case cases[] = {
        {"inside", {{1, 1}, {4, 1}, {4, 4}, {1, 4}}, 4, 9.0},
        {"across the right edge", {{8, 2}, {14, 2}, {14, 6}, {8, 6}}, 4, 8.0},
        {"the same, clockwise", {{8, 6}, {14, 6}, {14, 2}, {8, 2}}, 4, 8.0},
        {"over a corner, cut off by its long side", {{-5, -5}, {15, -5}, {-5, 15}, {0, 0}}, 3, 50.0},
        {"outside", {{11, 11}, {20, 11}, {20, 20}, {0, 0}}, 3, 0.0},
    };
    ScreenPolygon hull = square();
    for (const Case& c : cases) {
        ScreenPolygon part;
        part.count = clipToHull(c.corners, c.count, hull, part.point);
        EXPECT_NEAR(std::fabs(area(part)), c.area, 1e-9) << c.name;
        if (c.area == 0.0) {
            EXPECT_EQ(part.count, 0) << c.name;
        }
    }
}

TEST(ScreenRegion, InsideByNeedsTheMarginToEveryEdge) {
    struct Case {
        Vec2 p;
        double margin;
        bool inside;
    };
    // clang-format off
    const Case cases[] = {
        {{5, 5}, 4.9, true}, {{5, 5}, 5.1, false}, {{2, 8}, 1.9, true}, {{2, 8}, 2.1, false},
        {{-1, 5}, 0.0, false}, {{-1, 5}, -1.5, true},
    };
    // clang-format on
    ScreenPolygon region = square();
    for (const Case& c : cases)
        EXPECT_EQ(insideBy(region, c.p, c.margin), c.inside)
            << "(" << c.p.x << ", " << c.p.y << ") with margin " << c.margin;
    EXPECT_FALSE(insideBy(ScreenPolygon{}, {0, 0}, -100.0)) << "an empty region holds nothing";
}

}  // namespace
}  // namespace scene
