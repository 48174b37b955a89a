#include "window/pages.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "window/window.h"

namespace win {

namespace {

// 8 x 8 masks of patterns 2 to 8, one byte a row, bit 7 the leftmost pixel.
constexpr uint8_t patternRows[7][8] = {
    {0xFF, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00},  // 2 horizontal lines
    {0x88, 0x88, 0x88, 0x88, 0x88, 0x88, 0x88, 0x88},  // 3 vertical lines
    {0xFF, 0x88, 0x88, 0x88, 0xFF, 0x88, 0x88, 0x88},  // 4 cross
    {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01},  // 5 backward diagonal, like a backslash
    {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80},  // 6 forward diagonal, like a slash
    {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81},  // 7 diagonal cross
    {0xCC, 0xCC, 0x33, 0x33, 0xCC, 0xCC, 0x33, 0x33},  // 8 user pattern: a 2-pixel checker
};

// Where one row crosses the edges of the polygon being filled; one polygon is filled at a time, on one thread.
double rowCrossings[maxPolygonPoints];

// The pattern's mask for row y, bit 7 the pixel at x = 0 mod 8: all set for the solid fill, none for pattern 0
// and for numbers that name no pattern.
uint8_t patternRow(int pattern, int64_t y) {
    if (pattern == 1) return 0xFF;
    if (pattern < 2 || pattern > 8) return 0x00;
    return patternRows[pattern - 2][y & 7];
}

// Pixels x1 to x2 of one row, already clipped, in the fill: solid rows are one run of a single value.
void fillRun(uint32_t* row, const Fill& fill, int64_t y, int64_t x1, int64_t x2) {
    const uint8_t mask = patternRow(fill.pattern, y);
    if (mask == 0xFF || mask == 0x00) {
        std::fill(row + x1, row + x2 + 1, mask == 0xFF ? fill.colour : fill.background);
        return;
    }
    for (int64_t x = x1; x <= x2; ++x) row[x] = (mask >> (7 - (x & 7))) & 1 ? fill.colour : fill.background;
}

// Horizontal run of the fill on row y from x1 to x2 inclusive, clipped.
void fillSpan(Page& page, const Fill& fill, int64_t y, int64_t x1, int64_t x2) {
    if (fill.pattern == noFillPattern || y < 0 || y >= page.height) return;
    x1 = std::max<int64_t>(x1, 0);
    x2 = std::min<int64_t>(x2, page.width - 1);
    if (x1 > x2) return;
    fillRun(page.pixels.data() + y * page.width, fill, y, x1, x2);
}

void penSpan(Page& page, uint32_t pen, int64_t y, int64_t x1, int64_t x2) {
    Fill solid{1, pen, 0};
    fillSpan(page, solid, y, x1, x2);
}

// Shrinks the segment to the part inside [lo, hi] on both axes (Liang-Barsky); false when nothing is left.
bool clipSegment(double& x1, double& y1, double& x2, double& y2, double loX, double loY, double hiX, double hiY) {
    double t0 = 0, t1 = 1, dx = x2 - x1, dy = y2 - y1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x1 - loX, hiX - x1, y1 - loY, hiY - y1};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false;
            continue;
        }
        double t = q[i] / p[i];
        if (p[i] < 0) t0 = std::max(t0, t);
        else t1 = std::min(t1, t);
        if (t0 > t1) return false;
    }
    double ox = x1, oy = y1;
    x1 = ox + t0 * dx;
    y1 = oy + t0 * dy;
    x2 = ox + t1 * dx;
    y2 = oy + t1 * dy;
    return true;
}

// The walk stays in the box of its two ends, so a line with both ends on the page needs no test per pixel
// (onPage); the ends of a clipped line may lie one pixel off the page, and those pixels are left out.
template <bool onPage>
void bresenham(Page& page, uint32_t colour, int64_t x1, int64_t y1, int64_t x2, int64_t y2) {
    int64_t dx = std::llabs(x2 - x1), dy = -std::llabs(y2 - y1);
    int64_t sx = x1 < x2 ? 1 : -1, sy = y1 < y2 ? 1 : -1, err = dx + dy;
    for (;;) {
        if (onPage || (x1 >= 0 && y1 >= 0 && x1 < page.width && y1 < page.height))
            page.pixels[y1 * page.width + x1] = colour;
        if (x1 == x2 && y1 == y2) return;
        int64_t e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x1 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y1 += sy;
        }
    }
}

// Half-widths of the ellipse rows: row dy (|dy| <= ry) covers cx - w .. cx + w; -1 outside.
int64_t ellipseHalfWidth(int64_t rx, int64_t ry, int64_t dy) {
    if (dy < -ry || dy > ry) return -1;
    if (ry == 0) return rx;
    double f = static_cast<double>(dy) / static_cast<double>(ry);
    return static_cast<int64_t>(std::floor(static_cast<double>(rx) * std::sqrt(std::max(0.0, 1.0 - f * f)) + 0.5));
}

// The inside of a closed polygon by the even-odd rule: on each row, the pixels whose centres lie between the
// first and second crossing of an edge with the row's centre line, the third and fourth, and so on.
void fillEvenOdd(Page& page, const Fill& fill, int count, const PointType* points) {
    int64_t minY = points[0].y, maxY = points[0].y;
    for (int i = 1; i < count; ++i) {
        minY = std::min<int64_t>(minY, points[i].y);
        maxY = std::max<int64_t>(maxY, points[i].y);
    }
    minY = std::max<int64_t>(minY, 0);
    maxY = std::min<int64_t>(maxY, page.height - 1);
    for (int64_t y = minY; y <= maxY; ++y) {
        double yc = static_cast<double>(y) + 0.5;
        int crossingCount = 0;
        for (int i = 0; i < count; ++i) {
            const PointType& a = points[i];
            const PointType& b = points[(i + 1) % count];
            double ay = a.y, by = b.y;
            if ((ay <= yc && yc < by) || (by <= yc && yc < ay))
                rowCrossings[crossingCount++] = a.x + (yc - ay) * (static_cast<double>(b.x) - a.x) / (by - ay);
        }
        std::sort(rowCrossings, rowCrossings + crossingCount);
        for (int k = 0; k + 1 < crossingCount; k += 2) {
            // Pixels whose centres x + 0.5 lie in [left, right).
            double left = std::ceil(rowCrossings[k] - 0.5), right = std::ceil(rowCrossings[k + 1] - 0.5) - 1;
            left = std::max(left, -1.0);
            right = std::min(right, static_cast<double>(page.width));
            if (left <= right) fillSpan(page, fill, y, static_cast<int64_t>(left), static_cast<int64_t>(right));
        }
    }
}

// Corners at most this far from the origin on either axis let fillFewCorners find its crossings in whole numbers.
constexpr int64_t wholeNumberReach = int64_t{1} << 22;

// n / d rounded up and down, for d > 0.
int64_t divideUp(int64_t n, int64_t d) {
    const int64_t q = n / d;
    return q * d < n ? q + 1 : q;
}

int64_t divideDown(int64_t n, int64_t d) {
    const int64_t q = n / d;
    return q * d > n ? q - 1 : q;
}

// Where one edge crosses the rows' centre lines, walked down a row at a time in whole numbers. On row y the edge
// from its upper end (ax, ay) to its lower end (bx, by) crosses the centre line at
// X = ax + (y + 0.5 - ay) (bx - ax) / (by - ay), and the first pixel whose centre is not left of X is column
// ceil(X - 0.5) = ceil(m / d), with d = 2 (by - ay) and m = d ax - (by - ay) + (2 (y - ay) + 1) (bx - ax); each row
// down adds 2 (bx - ax) to m.
//
// fillEvenOdd finds the same column in doubles, from whichever end the polygon names first. With every corner
// within wholeNumberReach of the origin its rounding errors stay below 2^-27, while an X - 0.5 that is not a whole
// number lies at least 1 / d >= 2^-24 from one, and one that is comes out exact (the quotient is then a
// half-integer, exact in a double): so both take the same column on every row.
struct EdgeWalk {
    int64_t column = 0;                                    // ceil(m / d) on the current row
    int64_t excess = 0;                                    // m - column * d, in (-d, 0]
    int64_t d = 1, stepColumns = 0, stepExcess = 0;        // a row's step of m is stepColumns * d + stepExcess
    int64_t bottom = std::numeric_limits<int64_t>::min();  // the lower end's row, the first the edge does not cross

    // Starts on row y, one of the rows the edge crosses: upper.y <= y < lower.y.
    void start(const PointType& upper, const PointType& lower, int64_t y) {
        const int64_t height = int64_t{lower.y} - upper.y, dx = int64_t{lower.x} - upper.x;
        d = 2 * height;
        const int64_t m = d * upper.x - height + (2 * (y - upper.y) + 1) * dx;
        column = divideUp(m, d);
        excess = m - column * d;
        stepColumns = divideDown(2 * dx, d);
        stepExcess = 2 * dx - stepColumns * d;
        bottom = lower.y;
    }

    // Without a branch: whether the excess passes 0 follows the slope's fraction, which no predictor guesses.
    void step() {
        excess += stepExcess;
        const int64_t over = -static_cast<int64_t>(excess > 0);
        column += stepColumns - over;
        excess -= d & over;
    }
};

// One way round the polygon from its highest corner to its lowest: the corners in the order the rows meet them.
struct Chain {
    PointType corners[4];
    int length = 0;
    int next = 1;  // the lower end of the edge being walked
    EdgeWalk walk;

    // Onto row y: the same edge a row further down, or the next edge that crosses row y.
    void advance(int64_t y) {
        if (y < walk.bottom) {
            walk.step();
            return;
        }
        while (corners[next].y <= y) ++next;
        walk.start(corners[next - 1], corners[next], y);
    }
};

// The corners from the highest (top) to the lowest (bottom), one step at a time round the polygon; false unless
// they never rise.
bool descendingChain(const PointType* points, int count, int top, int bottom, int step, Chain& chain) {
    for (int i = top;; i = (i + step) % count) {
        if (chain.length > 0 && points[i].y < chain.corners[chain.length - 1].y) return false;
        chain.corners[chain.length++] = points[i];
        if (i == bottom) return true;
    }
}

bool withinWholeNumberReach(int count, const PointType* points) {
    for (int i = 0; i < count; ++i) {
        if (std::abs(int64_t{points[i].x}) > wholeNumberReach || std::abs(int64_t{points[i].y}) > wholeNumberReach)
            return false;
    }
    return true;
}

// fillEvenOdd for three or four corners, the shapes the cube programs paint a thousand of a frame. When both ways
// round from the highest corner to the lowest descend (every triangle, every convex quadrilateral), each row's
// centre line crosses exactly one edge of either way, so a row is two crossings, no sort and no search, and each
// crossing is a step of EdgeWalk rather than a division. Rows are clipped to the page once, and each run goes
// straight into its row. Other quadrilaterals, and corners far off the page, take fillEvenOdd itself.
void fillFewCorners(Page& page, const Fill& fill, int count, const PointType* points) {
    int top = 0, bottom = 0;
    for (int i = 1; i < count; ++i) {
        if (points[i].y < points[top].y) top = i;
        if (points[i].y > points[bottom].y) bottom = i;
    }
    Chain left, right;
    if (!withinWholeNumberReach(count, points) || !descendingChain(points, count, top, bottom, 1, left) ||
        !descendingChain(points, count, top, bottom, count - 1, right)) {
        fillEvenOdd(page, fill, count, points);
        return;
    }
    // The lowest corner's row has its centre line below every corner.
    const int64_t firstRow = std::max<int64_t>(points[top].y, 0);
    const int64_t lastRow = std::min<int64_t>(int64_t{points[bottom].y} - 1, page.height - 1);
    const int64_t lastColumn = page.width - 1;
    for (int64_t y = firstRow; y <= lastRow; ++y) {
        left.advance(y);
        right.advance(y);
        // Pixels whose centres lie between the two crossings, the first included, on the page.
        const int64_t x1 = std::max<int64_t>(std::min(left.walk.column, right.walk.column), 0);
        const int64_t x2 = std::min<int64_t>(std::max(left.walk.column, right.walk.column) - 1, lastColumn);
        if (x1 <= x2) fillRun(page.pixels.data() + y * page.width, fill, y, x1, x2);
    }
}

// The edges in the pen, each corner to the next and the last back to the first, over the fill.
void drawOutline(Page& page, uint32_t pen, int count, const PointType* points) {
    for (int i = 0; i < count; ++i) {
        const PointType& a = points[i];
        const PointType& b = points[i + 1 == count ? 0 : i + 1];
        pageLine(page, pen, a.x, a.y, b.x, b.y);
    }
}

}  // namespace

void pageResize(Page& page, int width, int height) {
    page.width = width;
    page.height = height;
    page.pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
}

void pageClear(Page& page, uint32_t colour) { std::fill(page.pixels.begin(), page.pixels.end(), colour); }

bool patternSet(int pattern, int x, int y) { return (patternRow(pattern, y) >> (7 - (x & 7))) & 1; }

void pageFillRect(Page& page, const Fill& fill, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    if (fill.pattern == noFillPattern) return;
    const int64_t top = std::max<int64_t>(y1, 0), bottom = std::min<int64_t>(y2, page.height - 1);
    const int64_t left = std::max<int64_t>(x1, 0), right = std::min<int64_t>(x2, page.width - 1);
    if (left > right) return;
    for (int64_t y = top; y <= bottom; ++y) fillRun(page.pixels.data() + y * page.width, fill, y, left, right);
}

void pageLine(Page& page, uint32_t colour, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    bool inside = x1 >= 0 && x2 >= 0 && y1 >= 0 && y2 >= 0 && x1 < page.width && x2 < page.width && y1 < page.height &&
                  y2 < page.height;
    if (inside) {
        bresenham<true>(page, colour, x1, y1, x2, y2);
        return;
    }
    // Far-off ends would make the walk long; walk only the part that can touch the page.
    double ax = x1, ay = y1, bx = x2, by = y2;
    if (!clipSegment(ax, ay, bx, by, -1, -1, page.width, page.height)) return;
    bresenham<false>(page, colour, std::llround(ax), std::llround(ay), std::llround(bx), std::llround(by));
}

void pageFillPolygon(Page& page, const Fill& fill, uint32_t pen, int count, const PointType* points) {
    if (count < 2 || count > maxPolygonPoints || points == nullptr) return;
    if (fill.pattern != noFillPattern) {
        if (count == 3 || count == 4) fillFewCorners(page, fill, count, points);
        else fillEvenOdd(page, fill, count, points);
    }
    drawOutline(page, pen, count, points);
}

void pageFillPolygonPlain(Page& page, const Fill& fill, uint32_t pen, int count, const PointType* points) {
    if (count < 2 || count > maxPolygonPoints || points == nullptr) return;
    if (fill.pattern != noFillPattern) fillEvenOdd(page, fill, count, points);
    drawOutline(page, pen, count, points);
}

void pageFillEllipse(Page& page, const Fill& fill, uint32_t pen, int32_t cx, int32_t cy, int32_t rx, int32_t ry) {
    if (rx < 0 || ry < 0) return;
    int64_t top = std::max<int64_t>(int64_t{cy} - ry, 0), bottom = std::min<int64_t>(int64_t{cy} + ry, page.height - 1);
    for (int64_t y = top; y <= bottom; ++y) {
        int64_t dy = y - cy;
        int64_t w = ellipseHalfWidth(rx, ry, dy);
        int64_t inner = std::min(ellipseHalfWidth(rx, ry, dy - 1), ellipseHalfWidth(rx, ry, dy + 1));
        // A pixel is on the outline when a horizontal or vertical neighbour lies outside the ellipse.
        int64_t edge = std::min(inner + 1, w);
        fillSpan(page, fill, y, cx - w, cx + w);
        penSpan(page, pen, y, cx - w, cx - edge);
        penSpan(page, pen, y, cx + edge, cx + w);
    }
}

}  // namespace win
