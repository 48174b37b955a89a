#include "window/pages.h"

#include <algorithm>
#include <cmath>

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
    x1 = ox + t0 * dx; y1 = oy + t0 * dy;
    x2 = ox + t1 * dx; y2 = oy + t1 * dy;
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
        if (e2 >= dy) { err += dy; x1 += sx; }
        if (e2 <= dx) { err += dx; y1 += sy; }
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

// One edge of a polygon as fillEvenOdd meets it, from corner a to the next corner b; it crosses the centre lines
// of rows top to bottom - 1.
struct Edge {
    double ax, ay, dx, dy;
    int64_t top, bottom;
};

Edge edgeFrom(const PointType& a, const PointType& b) {
    const double ay = a.y, by = b.y;
    return Edge{static_cast<double>(a.x), ay, static_cast<double>(b.x) - a.x, by - ay, std::min(a.y, b.y),
                std::max(a.y, b.y)};
}

// Where the edge crosses the centre line yc, by fillEvenOdd's very arithmetic, so that both round alike.
double crossing(const Edge& e, double yc) { return e.ax + (yc - e.ay) * e.dx / e.dy; }

// Smallest whole number not below v, as std::ceil gives it, for |v| < 2^63.
int64_t ceilToInt(double v) {
    const int64_t t = static_cast<int64_t>(v);
    return t + (static_cast<double>(t) < v);
}

// The edges from the highest corner to the lowest one way round (step 1) or the other (step count - 1), in the
// order the rows meet them; false unless the corners along the way never rise.
bool descendingChain(const PointType* points, int count, int top, int bottom, int step, Edge* chain, int& length) {
    length = 0;
    for (int i = top; i != bottom; i = (i + step) % count) {
        const int next = (i + step) % count;
        if (points[next].y < points[i].y) return false;
        // The edge keeps the direction it has in the polygon, from corner i to i + 1, whichever way it is walked.
        chain[length++] = step == 1 ? edgeFrom(points[i], points[next]) : edgeFrom(points[next], points[i]);
    }
    return true;
}

// fillEvenOdd for three or four corners, the shapes the cube programs paint a thousand of a frame. When both ways
// round from the highest corner to the lowest descend (every triangle, every convex quadrilateral), each row's
// centre line crosses exactly one edge of either way, so a row needs two crossings and no sort or search. The
// crossings come from the same arithmetic as fillEvenOdd's, so the pixels are the same; rows are clipped to the
// page once, and each run goes straight into its row. Other quadrilaterals take fillEvenOdd itself.
void fillFewCorners(Page& page, const Fill& fill, int count, const PointType* points) {
    int top = 0, bottom = 0;
    for (int i = 1; i < count; ++i) {
        if (points[i].y < points[top].y) top = i;
        if (points[i].y > points[bottom].y) bottom = i;
    }
    Edge left[3], right[3];
    int leftLength = 0, rightLength = 0;
    if (!descendingChain(points, count, top, bottom, 1, left, leftLength) ||
        !descendingChain(points, count, top, bottom, count - 1, right, rightLength)) {
        fillEvenOdd(page, fill, count, points);
        return;
    }
    // Row points[bottom].y has its centre line below every corner; the rows above it down to the page's top.
    const int64_t firstRow = std::max<int64_t>(points[top].y, 0);
    const int64_t lastRow = std::min<int64_t>(int64_t{points[bottom].y} - 1, page.height - 1);
    const int64_t lastColumn = page.width - 1;
    int l = 0, r = 0;
    for (int64_t y = firstRow; y <= lastRow; ++y) {
        // Each way's edges meet the rows one after another, the last one reaching below lastRow.
        while (left[l].bottom <= y) ++l;
        while (right[r].bottom <= y) ++r;
        const double yc = static_cast<double>(y) + 0.5;
        const double a = crossing(left[l], yc), b = crossing(right[r], yc);
        // Pixels whose centres x + 0.5 lie between the two crossings, the first included, on the page.
        const int64_t x1 = std::max<int64_t>(ceilToInt(std::min(a, b) - 0.5), 0);
        const int64_t x2 = std::min<int64_t>(ceilToInt(std::max(a, b) - 0.5) - 1, lastColumn);
        if (x1 > x2) continue;
        fillRun(page.pixels.data() + y * page.width, fill, y, x1, x2);
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
    int64_t top = std::max<int64_t>(y1, 0), bottom = std::min<int64_t>(y2, page.height - 1);
    for (int64_t y = top; y <= bottom; ++y) fillSpan(page, fill, y, x1, x2);
}

void pageLine(Page& page, uint32_t colour, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    bool inside = x1 >= 0 && x2 >= 0 && y1 >= 0 && y2 >= 0 && x1 < page.width && x2 < page.width &&
                  y1 < page.height && y2 < page.height;
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
