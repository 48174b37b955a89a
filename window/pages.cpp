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

// Horizontal run of the fill on row y from x1 to x2 inclusive, clipped.
void fillSpan(Page& page, const Fill& fill, int64_t y, int64_t x1, int64_t x2) {
    if (fill.pattern == noFillPattern || y < 0 || y >= page.height) return;
    x1 = std::max<int64_t>(x1, 0);
    x2 = std::min<int64_t>(x2, page.width - 1);
    if (x1 > x2) return;
    uint32_t* row = page.pixels.data() + y * page.width;
    if (fill.pattern == 0 || fill.pattern == 1) {
        std::fill(row + x1, row + x2 + 1, fill.pattern == 1 ? fill.colour : fill.background);
        return;
    }
    for (int64_t x = x1; x <= x2; ++x)
        row[x] = patternSet(fill.pattern, static_cast<int>(x), static_cast<int>(y)) ? fill.colour : fill.background;
}

void penSpan(Page& page, uint32_t pen, int64_t y, int64_t x1, int64_t x2) {
    Fill solid{1, pen, 0};
    fillSpan(page, solid, y, x1, x2);
}

void putPixel(Page& page, uint32_t colour, int64_t x, int64_t y) {
    if (x < 0 || y < 0 || x >= page.width || y >= page.height) return;
    page.pixels[y * page.width + x] = colour;
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

void bresenham(Page& page, uint32_t colour, int64_t x1, int64_t y1, int64_t x2, int64_t y2) {
    int64_t dx = std::llabs(x2 - x1), dy = -std::llabs(y2 - y1);
    int64_t sx = x1 < x2 ? 1 : -1, sy = y1 < y2 ? 1 : -1, err = dx + dy;
    for (;;) {
        putPixel(page, colour, x1, y1);
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

}  // namespace

void pageResize(Page& page, int width, int height) {
    page.width = width;
    page.height = height;
    page.pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
}

void pageClear(Page& page, uint32_t colour) { std::fill(page.pixels.begin(), page.pixels.end(), colour); }

bool patternSet(int pattern, int x, int y) {
    if (pattern == 1) return true;
    if (pattern < 2 || pattern > 8) return false;
    return (patternRows[pattern - 2][y & 7] >> (7 - (x & 7))) & 1;
}

void pageFillRect(Page& page, const Fill& fill, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    int64_t top = std::max<int64_t>(y1, 0), bottom = std::min<int64_t>(y2, page.height - 1);
    for (int64_t y = top; y <= bottom; ++y) fillSpan(page, fill, y, x1, x2);
}

void pageLine(Page& page, uint32_t colour, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    bool inside = x1 >= 0 && x2 >= 0 && y1 >= 0 && y2 >= 0 && x1 < page.width && x2 < page.width && y1 < page.height &&
                  y2 < page.height;
    if (inside) {
        bresenham(page, colour, x1, y1, x2, y2);
        return;
    }
    // Far-off ends would make the walk long; walk only the part that can touch the page.
    double ax = x1, ay = y1, bx = x2, by = y2;
    if (!clipSegment(ax, ay, bx, by, -1, -1, page.width, page.height)) return;
    bresenham(page, colour, std::llround(ax), std::llround(ay), std::llround(bx), std::llround(by));
}

void pageFillPolygon(Page& page, const Fill& fill, uint32_t pen, int count, const PointType* points) {
    if (count < 2 || count > maxPolygonPoints || points == nullptr) return;
    if (fill.pattern != noFillPattern) {
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
    for (int i = 0; i < count; ++i) {
        const PointType& a = points[i];
        const PointType& b = points[(i + 1) % count];
        pageLine(page, pen, a.x, a.y, b.x, b.y);
    }
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
