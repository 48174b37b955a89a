#include "cubesolve/draw.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "cubesolve/picking.h"
#include "scene/projection.h"
#include "window/window.h"

namespace cubesolve {
namespace {

// The eye 200 units from the origin, 128 cells per unit of the division, the origin at cell (160, 100).
constexpr scene::Perspective perspective{.eyeDistance = 200, .scale = 128, .centreX = 160, .centreY = 100};

int32_t roundToCell(double v) { return static_cast<int32_t>(std::lround(v)); }

const CellPoint& projected(int32_t vertex) { return state.screenVertex[vertex]; }

// Paints the cells x1..x2 (either order) of one row, clipped to the raster.
void paintRun(int32_t row, int32_t x1, int32_t x2, int32_t colour) {
    if (row < 0 || row >= rasterHeight) return;
    if (x1 > x2) std::swap(x1, x2);
    x1 = std::max(x1, 0);
    x2 = std::min(x2, rasterWidth - 1);
    for (int32_t x = x1; x <= x2; ++x) plotCell(x, row, colour);
}

}  // namespace

void projectVertices() {
    const scene::ViewTurn turn = scene::viewTurn(state.viewAngle);
    for (int32_t v = 0; v < Model::vertexCount; ++v) {
        const scene::Vec3 p = scene::projectToScreen(perspective, turn, state.puzzle.worldVertex[v]);
        CellPoint& out = state.screenVertex[v];
        out.x = roundToCell(p.x);
        out.y = roundToCell(p.y);
        out.depth = roundToCell(p.z);
    }
}

void sortFacets() {
    Facet* records = state.puzzle.facets;
    int16_t* key = state.depthKey;
    constexpr int32_t count = Model::recordCount;
    // The depths are whole numbers, so comparing sums decides exactly as comparing means.
    for (int32_t r = 0; r < count; ++r) {
        double sum = 0;
        for (int32_t c = 0; c < 3; ++c) sum += state.screenVertex[records[r].vertex[c]].depth;
        key[r] = static_cast<int16_t>(sum);
    }
    cubie::sortByDepth(records, key, count);
}

double facingCross(const CellPoint& p0, const CellPoint& p1, const CellPoint& p2) {
    return (p2.x - p0.x) * (p1.y - p0.y) - (p1.x - p0.x) * (p2.y - p0.y);
}

void drawFacets() {
    state.pickedCubie = state.pickedFace = -1;
    const bool picking = cubie::pickAllowed(state.puzzle.turning, state.pointer.buttons, state.pointer.previousButtons);
    for (const Facet& f : state.puzzle.facets) {
        const CellPoint p[3] = {projected(f.vertex[0]), projected(f.vertex[1]), projected(f.vertex[2])};
        // Unused records have three equal points: a zero cross, never drawn.
        if (!(facingCross(p[0], p[1], p[2]) < 0)) continue;
        fillTriangle(f.colour, p[0], p[1], p[2]);
        if (picking) pickTriangle(f, p);
    }
}

void drawPicture() {
    projectVertices();
    sortFacets();
    drawFacets();
}

void fillTriangle(int32_t colour, const CellPoint& p0, const CellPoint& p1, const CellPoint& p2) {
    // Ascending y; points of equal y keep their given order.
    const CellPoint* by[3] = {&p0, &p1, &p2};
    if (by[1]->y < by[0]->y) std::swap(by[0], by[1]);
    if (by[2]->y < by[1]->y) std::swap(by[1], by[2]);
    if (by[1]->y < by[0]->y) std::swap(by[0], by[1]);
    const CellPoint &first = *by[0], &middle = *by[1], &last = *by[2];
    auto slope = [](const CellPoint& from, const CellPoint& to) {
        return to.y == from.y ? 0.0 : (to.x - from.x) / (to.y - from.y);
    };
    const double longSlope = slope(first, last), upperSlope = slope(first, middle), lowerSlope = slope(middle, last);

    double longX = first.x, shortX = first.x;
    for (int32_t row = roundToCell(first.y); row <= roundToCell(middle.y); ++row) {
        paintRun(row, roundToCell(longX), roundToCell(shortX), colour);
        longX += longSlope;
        shortX += upperSlope;
    }
    // The short edge restarts at the middle point on the row below it.
    shortX = middle.x;
    for (int32_t row = roundToCell(middle.y + 1); row <= roundToCell(last.y); ++row) {
        paintRun(row, roundToCell(longX), roundToCell(shortX), colour);
        longX += longSlope;
        shortX += lowerSlope;
    }
}

void plotCell(int32_t x, int32_t y, int32_t colour) {
    const int32_t scale = state.cellScale;
    set_fill(fillSolid, colour);
    fill_rect(static_cast<int16_t>(x * scale), static_cast<int16_t>(y * scale), static_cast<int16_t>((x + 1) * scale),
              static_cast<int16_t>((y + 1) * scale));
}

}  // namespace cubesolve
