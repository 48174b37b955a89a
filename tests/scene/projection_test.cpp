// The inside test of a screen polygon, on integer corners and on whole numbers held as doubles.
#include <gtest/gtest.h>

#include <cstdint>

#include "scene/projection.h"

namespace scene {
namespace {

struct IntegerCorner {
    int32_t x, y;
};
struct RealCorner {
    double x, y;
};

TEST(SceneProjection, InsideTakesTheOutlineToo) {
    // Corners in the order a facet turned to the viewer has them on a y-down screen.
    const IntegerCorner square[4] = {{10, 10}, {20, 10}, {20, 20}, {10, 20}};
    const IntegerCorner triangle[3] = {{10, 10}, {20, 10}, {20, 20}};
    struct Case {
        const char* name;
        const IntegerCorner* polygon;
        int32_t count, x, y;
        bool inside;
    } cases[] = {
        {"square middle", square, 4, 15, 15, true},
        {"square just inside a corner", square, 4, 11, 19, true},
        {"square left edge", square, 4, 10, 15, true},
        {"square bottom edge", square, 4, 15, 20, true},
        {"square corner", square, 4, 20, 10, true},
        {"square just outside an edge", square, 4, 21, 15, false},
        {"square outside", square, 4, 25, 15, false},
        {"triangle inside", triangle, 3, 17, 12, true},
        {"triangle on its diagonal", triangle, 3, 15, 15, true},
        {"triangle just beyond its diagonal", triangle, 3, 14, 15, false},
        {"triangle beyond its diagonal", triangle, 3, 12, 17, false},
    };
    for (const Case& c : cases) {
        RealCorner real[4];
        for (int32_t m = 0; m < c.count; ++m) real[m] = {double(c.polygon[m].x), double(c.polygon[m].y)};
        EXPECT_EQ(cursorInside(c.polygon, c.count, c.x, c.y), c.inside) << c.name << ", integer corners";
        EXPECT_EQ(cursorInside(real, c.count, c.x, c.y), c.inside) << c.name << ", real corners";
    }
}

// Corners far apart, as a point near the eye can throw them: the products exceed 32 bits and must not wrap.
TEST(SceneProjection, InsideHoldsForCornersFarApart) {
    const IntegerCorner wide[3] = {{-100000, -100000}, {100000, -100000}, {100000, 100000}};
    EXPECT_TRUE(cursorInside(wide, 3, 50000, -50000));
    EXPECT_FALSE(cursorInside(wide, 3, -50000, 50000));
}

}  // namespace
}  // namespace scene
