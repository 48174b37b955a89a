// Drawing pages and their raster operations. A page holds one stored colour number per pixel (a palette index,
// or a 24-bit RGB value without a palette); every operation clips to the page, so no argument draws out of bounds.
#pragma once

#include <cstdint>
#include <vector>

struct PointType;

namespace win {

struct Page {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;  // row-major, width * height
};

// How insides are filled: pattern 0-9 as set_fill takes them, with stored colour numbers.
struct Fill {
    int pattern = 1;
    uint32_t colour = 15;
    uint32_t background = 0;
};

constexpr int noFillPattern = 9;

void pageResize(Page& page, int width, int height);
void pageClear(Page& page, uint32_t colour);

// True when the fill pattern sets pixel (x, y) to the fill colour rather than the background colour.
bool patternSet(int pattern, int x, int y);

// Inclusive rectangle, clipped; callers reject reversed corners.
void pageFillRect(Page& page, const Fill& fill, int32_t x1, int32_t y1, int32_t x2, int32_t y2);

// One-pixel line from (x1, y1) to (x2, y2), both ends included.
void pageLine(Page& page, uint32_t colour, int32_t x1, int32_t y1, int32_t x2, int32_t y2);

// Most corners a polygon may have: draw_filled_polygon's count is 16-bit.
constexpr int maxPolygonPoints = 32767;

// Closed polygon: pixels whose centres lie inside (even-odd) get the fill, then the edges are drawn in the pen
// colour. 2 <= count <= maxPolygonPoints; any other count draws nothing.
void pageFillPolygon(Page& page, const Fill& fill, uint32_t pen, int count, const PointType* points);

// pageFillPolygon by its plain scanline for every count. pageFillPolygon takes a quicker way for three and four
// corners that must give the very same pixels; this is what that way is checked against.
void pageFillPolygonPlain(Page& page, const Fill& fill, uint32_t pen, int count, const PointType* points);

// Ellipse inscribed in (cx - rx, cy - ry) to (cx + rx, cy + ry): inside in the fill, boundary pixels in the pen.
void pageFillEllipse(Page& page, const Fill& fill, uint32_t pen, int32_t cx, int32_t cy, int32_t rx, int32_t ry);

}  // namespace win
