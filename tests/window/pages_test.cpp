#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <limits>
#include <random>
#include <string>

#include "window/pages.h"
#include "window/window.h"

namespace {

constexpr uint32_t background = 0, fillColour = 4, pen = 15, untouched = 200;

struct Canvas {
    win::Page page;
    Canvas(int w = 64, int h = 48) {
        win::pageResize(page, w, h);
        win::pageClear(page, untouched);
    }
    uint32_t at(int x, int y) const { return page.pixels[static_cast<size_t>(y) * page.width + x]; }
    int count(uint32_t colour) const {
        int n = 0;
        for (uint32_t p : page.pixels) n += p == colour;
        return n;
    }
};

win::Fill solid(uint32_t colour = fillColour) { return win::Fill{1, colour, background}; }

}  // namespace

TEST(Pages, RectangleCornersAreInclusive) {
    Canvas c;
    win::pageFillRect(c.page, solid(), 0, 0, 2, 2);
    EXPECT_EQ(c.count(fillColour), 9) << "(0,0)-(2,2) colours 3 x 3 pixels";
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(c.at(x, y), fillColour) << x << "," << y;
    EXPECT_EQ(c.at(3, 0), untouched);
    EXPECT_EQ(c.at(0, 3), untouched);
}

TEST(Pages, RectangleIsClippedToThePage) {
    Canvas c(64, 48);
    win::pageFillRect(c.page, solid(), -30000, -30000, 30000, 30000);
    EXPECT_EQ(c.count(fillColour), 64 * 48);
    Canvas off;
    win::pageFillRect(off.page, solid(), 100, 100, 200, 200);
    win::pageFillRect(off.page, solid(), -20, -20, -1, -1);
    EXPECT_EQ(off.count(fillColour), 0) << "rectangles off the page draw nothing";
}

TEST(Pages, SolidPatternsAndNoFill) {
    Canvas c;
    win::pageFillRect(c.page, win::Fill{0, fillColour, background}, 0, 0, 9, 9);
    EXPECT_EQ(c.count(background), 100) << "pattern 0 fills with the background colour";
    Canvas none;
    win::pageFillRect(none.page, win::Fill{9, fillColour, background}, 0, 0, 9, 9);
    EXPECT_EQ(none.count(untouched), 64 * 48) << "pattern 9 fills nothing";
}

// Hatches look as their names say, judged on a 16 x 16 block of set pixels.
TEST(Pages, HatchPatternsRunTheirWay) {
    auto set = [](int pattern, int x, int y) { return win::patternSet(pattern, x, y); };
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            if (set(2, x, y)) {
                EXPECT_TRUE(set(2, x + 1, y)) << "horizontal lines continue sideways";
            }
            if (set(3, x, y)) {
                EXPECT_TRUE(set(3, x, y + 1)) << "vertical lines continue downward";
            }
            if (set(5, x, y)) {
                EXPECT_TRUE(set(5, x + 1, y + 1)) << "backward diagonal runs down to the right";
            }
            if (set(6, x, y) && y > 0) {
                EXPECT_TRUE(set(6, x + 1, y - 1)) << "forward diagonal runs up to the right";
            }
            EXPECT_EQ(set(4, x, y), set(2, x, y) || set(3, x, y)) << "cross is both line sets";
            EXPECT_EQ(set(7, x, y), set(5, x, y) || set(6, x, y)) << "diagonal cross is both diagonals";
        }
    }
    for (int pattern = 2; pattern <= 8; ++pattern) {
        int on = 0;
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) on += set(pattern, x, y);
        EXPECT_GT(on, 0) << "pattern " << pattern << " sets some pixels";
        EXPECT_LT(on, 64) << "pattern " << pattern << " leaves some background";
    }
}

TEST(Pages, HatchedFillUsesBothColours) {
    Canvas c;
    win::pageFillRect(c.page, win::Fill{2, fillColour, background}, 0, 0, 15, 15);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            EXPECT_EQ(c.at(x, y), win::patternSet(2, x, y) ? fillColour : background) << x << "," << y;
}

TEST(Pages, SquarePolygonOutlineAndInside) {
    Canvas c;
    const PointType square[4] = {{10, 10}, {20, 10}, {20, 20}, {10, 20}};
    win::pageFillPolygon(c.page, solid(), pen, 4, square);
    for (int y = 0; y < 48; ++y) {
        for (int x = 0; x < 64; ++x) {
            bool inBox = x >= 10 && x <= 20 && y >= 10 && y <= 20;
            bool onEdge = inBox && (x == 10 || x == 20 || y == 10 || y == 20);
            uint32_t expected = onEdge ? pen : inBox ? fillColour : untouched;
            ASSERT_EQ(c.at(x, y), expected) << "pixel " << x << "," << y;
        }
    }
}

// Every pixel whose centre lies well inside the triangle is filled, nothing beyond its edges is touched, and the
// three corners carry the pen.
TEST(Pages, TriangleCoversItsInside) {
    Canvas c(120, 100);
    const PointType tri[3] = {{5, 5}, {110, 30}, {40, 95}};
    win::pageFillPolygon(c.page, solid(), pen, 3, tri);
    auto side = [&](int i, double x, double y) {
        const PointType& a = tri[i];
        const PointType& b = tri[(i + 1) % 3];
        double ex = b.x - a.x, ey = b.y - a.y;
        return (ex * (y - a.y) - ey * (x - a.x)) / std::hypot(ex, ey);  // signed distance, positive inside
    };
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 120; ++x) {
            double d = std::min({side(0, x, y), side(1, x, y), side(2, x, y)});
            if (d > 1.0) {
                ASSERT_EQ(c.at(x, y), fillColour) << "inside pixel " << x << "," << y;
            }
            if (d < -1.0) {
                ASSERT_EQ(c.at(x, y), untouched) << "outside pixel " << x << "," << y;
            }
            if (std::fabs(d) < 0.3) {
                ASSERT_NE(c.at(x, y), untouched) << "edge pixel " << x << "," << y;
            }
        }
    }
    for (const PointType& p : tri) EXPECT_EQ(c.at(p.x, p.y), pen);
}

TEST(Pages, TwoPointPolygonIsALine) {
    Canvas c;
    const PointType line[2] = {{0, 0}, {30, 30}};
    win::pageFillPolygon(c.page, solid(), pen, 2, line);
    for (int i = 0; i <= 30; ++i) EXPECT_EQ(c.at(i, i), pen) << i;
    EXPECT_EQ(c.count(pen), 31);
    EXPECT_EQ(c.count(fillColour), 0);
}

TEST(Pages, FarOffPolygonsAreClippedNotWalked) {
    Canvas c;
    const PointType huge[4] = {
        {-2000000000, -2000000000}, {2000000000, -2000000000}, {2000000000, 2000000000}, {-2000000000, 2000000000}};
    win::pageFillPolygon(c.page, solid(), pen, 4, huge);
    EXPECT_EQ(c.count(fillColour), 64 * 48) << "a polygon around the page fills all of it";
    Canvas d;
    const PointType diagonal[2] = {{-1000000000, -1000000000}, {1000000000, 1000000000}};
    win::pageFillPolygon(d.page, solid(), pen, 2, diagonal);
    for (int i = 0; i < 48; ++i) EXPECT_EQ(d.at(i, i), pen) << "the visible part of a far line, at " << i;
    Canvas e;
    const PointType away[3] = {{1000, 1000}, {2000, 1000}, {1500, 3000}};
    win::pageFillPolygon(e.page, solid(), pen, 3, away);
    EXPECT_EQ(e.count(untouched), 64 * 48) << "a polygon off the page draws nothing";
}

TEST(Pages, EllipseFitsItsBox) {
    struct Row {
        int cx, cy, rx, ry;
    };
    const Row rows[] = {{30, 24, 10, 10}, {30, 24, 20, 6}, {30, 24, 3, 15},
                        {30, 24, 1, 1},   {30, 24, 12, 0}, {30, 24, 0, 9}};
    for (const Row& r : rows) {
        Canvas c;
        win::pageFillEllipse(c.page, solid(), pen, r.cx, r.cy, r.rx, r.ry);
        char name[48];
        std::snprintf(name, sizeof name, "ellipse %dx%d", r.rx, r.ry);
        int minX = 999, maxX = -1, minY = 999, maxY = -1;
        for (int y = 0; y < 48; ++y) {
            for (int x = 0; x < 64; ++x) {
                uint32_t p = c.at(x, y);
                if (p == untouched) continue;
                minX = std::min(minX, x), maxX = std::max(maxX, x), minY = std::min(minY, y), maxY = std::max(maxY, y);
                // The mirror images of a drawn pixel are drawn alike.
                EXPECT_EQ(c.at(2 * r.cx - x, y), p) << name << " symmetric left-right at " << x << "," << y;
                EXPECT_EQ(c.at(x, 2 * r.cy - y), p) << name << " symmetric top-bottom at " << x << "," << y;
                // A pixel is in the pen exactly when one of its four neighbours is not drawn.
                bool border = c.at(x - 1, y) == untouched || c.at(x + 1, y) == untouched ||
                              c.at(x, y - 1) == untouched || c.at(x, y + 1) == untouched;
                EXPECT_EQ(p, border ? pen : fillColour) << name << " at " << x << "," << y;
            }
        }
        EXPECT_EQ(minX, r.cx - r.rx) << name;
        EXPECT_EQ(maxX, r.cx + r.rx) << name;
        EXPECT_EQ(minY, r.cy - r.ry) << name;
        EXPECT_EQ(maxY, r.cy + r.ry) << name;
    }
}

TEST(Pages, HugeEllipseCoversThePage) {
    Canvas c;
    win::pageFillEllipse(c.page, solid(), pen, 32, 24, 65535, 65535);
    EXPECT_EQ(c.count(fillColour), 64 * 48) << "an ellipse around the page fills all of it";
    Canvas off;
    win::pageFillEllipse(off.page, solid(), pen, -30000, -30000, 100, 100);
    EXPECT_EQ(off.count(untouched), 64 * 48);
}

// pageFillPolygon takes a quicker way for three and four corners; it must give exactly the plain scanline's pixels
// for any corners at all, in every fill pattern.
namespace {

// Pixels where the two ways differ, the first one in where; the plain way's picture first, over the same page.
int differingPixels(int count, const PointType* corners, int pattern, std::string& where) {
    const win::Fill fill{pattern, fillColour, background};
    Canvas plain, quick;
    win::pageFillPolygonPlain(plain.page, fill, pen, count, corners);
    win::pageFillPolygon(quick.page, fill, pen, count, corners);
    int differ = 0;
    for (int y = 0; y < plain.page.height; ++y) {
        for (int x = 0; x < plain.page.width; ++x) {
            if (plain.at(x, y) == quick.at(x, y)) continue;
            if (differ++ == 0)
                where = "at " + std::to_string(x) + "," + std::to_string(y) + ": plain " +
                        std::to_string(plain.at(x, y)) + ", quick " + std::to_string(quick.at(x, y));
        }
    }
    return differ;
}

std::string describe(int count, const PointType* corners, int pattern) {
    std::string s = "pattern " + std::to_string(pattern) + ", corners";
    for (int i = 0; i < count; ++i) s += " (" + std::to_string(corners[i].x) + "," + std::to_string(corners[i].y) + ")";
    return s;
}

}  // namespace

TEST(Pages, FewCornersFillAsThePlainScanline) {
    constexpr int32_t big = 2000000000;
    struct Row {
        const char* name;
        int count;
        PointType corners[4];
    };
    const Row rows[] = {
        {"triangle", 3, {{5, 5}, {60, 20}, {20, 44}}},
        {"triangle the other way round", 3, {{20, 44}, {60, 20}, {5, 5}}},
        {"sticker quadrilateral", 4, {{30, 10}, {48, 16}, {46, 35}, {27, 30}}},
        {"square on whole pixels", 4, {{10, 10}, {20, 10}, {20, 20}, {10, 20}}},
        {"dart (not convex)", 4, {{10, 5}, {50, 25}, {10, 45}, {25, 25}}},
        {"dart pointing up", 4, {{32, 2}, {60, 44}, {32, 30}, {4, 44}}},
        {"bow tie (edges cross)", 4, {{5, 5}, {55, 40}, {55, 5}, {5, 40}}},
        {"flat quadrilateral", 4, {{3, 20}, {30, 20}, {60, 20}, {10, 20}}},
        {"collinear slant", 3, {{0, 0}, {20, 15}, {40, 30}}},
        {"one point", 4, {{12, 12}, {12, 12}, {12, 12}, {12, 12}}},
        {"corner given twice", 4, {{5, 5}, {40, 8}, {40, 8}, {15, 40}}},
        {"needle", 3, {{0, 0}, {63, 47}, {62, 47}}},
        {"edges meeting rows halfway between pixels", 4, {{2, 2}, {32, 12}, {42, 42}, {12, 32}}},
        {"partly off the page", 4, {{-20, -10}, {40, -30}, {90, 30}, {20, 70}}},
        {"off the page", 3, {{70, 50}, {90, 60}, {80, 90}}},
        {"left of the page", 3, {{-30, 5}, {-1, 20}, {-20, 40}}},
        {"around the page", 4, {{-big, -big}, {big, -big}, {big, big}, {-big, big}}},
        {"huge sliver", 3, {{-big, -big}, {big, big - 7}, {big, big}}},
        {"huge and not convex", 4, {{-big, 0}, {big, -big}, {30, 20}, {big, big}}},
    };
    for (const Row& r : rows) {
        for (int pattern = -1; pattern <= 10; ++pattern) {
            std::string where;
            EXPECT_EQ(differingPixels(r.count, r.corners, pattern, where), 0)
                << r.name << ", " << describe(r.count, r.corners, pattern) << ": first " << where;
        }
    }
}

// Random corners at every scale: over the page, around it, far beyond it, up to the ends of the 32-bit range. Every
// third polygon has an edge from far away that passes through the page along a diagonal of odd steps, so that it
// meets centre lines exactly halfway between pixel centres, where rounding decides.
TEST(Pages, FewCornersFillAsThePlainScanlineOnRandomCorners) {
    std::mt19937 random(20240613);
    const int64_t spans[] = {8, 64, 200, 5000, 1 << 21, 1 << 22, 1 << 24, std::numeric_limits<int32_t>::max()};
    auto pick = [&](int64_t lo, int64_t hi) { return std::uniform_int_distribution<int64_t>(lo, hi)(random); };
    auto corner = [](int64_t x, int64_t y) {
        return PointType{static_cast<int32_t>(std::clamp<int64_t>(x, INT32_MIN, INT32_MAX)),
                         static_cast<int32_t>(std::clamp<int64_t>(y, INT32_MIN, INT32_MAX))};
    };
    int failures = 0;
    for (int trial = 0; trial < 30000 && failures < 5; ++trial) {
        const int64_t span = spans[trial % std::size(spans)];
        // Small spans lie over the page, large ones around it.
        const int64_t centreX = span <= 64 ? 32 : 0, centreY = span <= 64 ? 24 : 0;
        const int count = static_cast<int>(pick(3, 4));
        PointType corners[4];
        for (int i = 0; i < count; ++i) corners[i] = corner(centreX + pick(-span, span), centreY + pick(-span, span));
        if (trial % 3 == 0) {
            const int64_t x = pick(0, 63), y = pick(0, 47), ux = 2 * pick(-3, 2) + 1, uy = 2 * pick(-3, 2) + 1;
            const int64_t reach = pick(1, span) / 8 + 1;
            corners[0] = corner(x - reach * ux, y - reach * uy);
            corners[1] = corner(x + reach * ux, y + reach * uy);
        }
        const int pattern = static_cast<int>(pick(0, 9));
        std::string where;
        const int differ = differingPixels(count, corners, pattern, where);
        EXPECT_EQ(differ, 0) << describe(count, corners, pattern) << ": first " << where;
        failures += differ != 0;
    }
}
