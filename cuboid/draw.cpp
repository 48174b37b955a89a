#include "cuboid/draw.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "cuboid/picking.h"
#include "cuboid/state.h"
#include "scene/projection.h"

namespace cuboid {
namespace {

// Outline and solid fill colours of the next shape.
void setPaint(int32_t pen, int32_t fill) {
    set_pen_color(pen);
    set_fill(fillSolid, fill);
}

struct Spot {
    double x, y;
};

// The point sixths/6 of the way from corner a to corner b.
Spot along(const PointType& a, const PointType& b, int32_t sixths) {
    return Spot{a.x + sixths * (b.x - a.x) / 6.0, a.y + sixths * (b.y - a.y) / 6.0};
}

Spot midpoint(const Spot& a, const Spot& b) { return Spot{(a.x + b.x) / 2.0, (a.y + b.y) / 2.0}; }

void drawPip(const Spot& at, int32_t radius) {
    draw_filled_ellipse(static_cast<int16_t>(std::lround(at.x)), static_cast<int16_t>(std::lround(at.y)),
                        static_cast<uint16_t>(radius), static_cast<uint16_t>(radius));
}

// Pips of one dice face on the quadrilateral p: one in the middle for odd counts, pairs near the corners along
// the diagonals, and for six the middles between them. The count travels with the sticker colour.
void drawPips(int32_t colour, const PointType* p) {
    const int32_t n = pipCount(colour);
    if (n == 0) return;
    const int32_t wx = std::max(std::abs(p[0].x - p[1].x), std::abs(p[0].x - p[3].x));
    const int32_t wy = std::max(std::abs(p[0].y - p[1].y), std::abs(p[0].y - p[3].y));
    const int32_t radius = (wy < wx ? wy : wx) / 9;
    const int32_t colourOfPips = n % 2 == 1 ? colourWhite : colourRed;
    setPaint(colourOfPips, colourOfPips);
    if (n % 2 == 1) {
        // The mean of the corners, truncated toward zero.
        const int32_t cx = (p[0].x + p[1].x + p[2].x + p[3].x) / 4, cy = (p[0].y + p[1].y + p[2].y + p[3].y) / 4;
        drawPip(Spot{double(cx), double(cy)}, radius);
    }
    const Spot a = along(p[0], p[2], 1), b = along(p[0], p[2], 5);
    const Spot c = along(p[1], p[3], 1), d = along(p[1], p[3], 5);
    if (n > 1) {
        drawPip(a, radius);
        drawPip(b, radius);
    }
    if (n > 3) {
        drawPip(c, radius);
        drawPip(d, radius);
    }
    if (n > 5) {
        drawPip(midpoint(a, d), radius);
        drawPip(midpoint(c, b), radius);
    }
}

void paintFacet(const Facet& facet, const PointType* corners, bool pressed) {
    const bool dice = variant.hasDiceMode && state.diceMode;
    if (dice) setPaint(colourBlack, colourDarkGrey);
    else if (pressed) setPaint(colourBlack, colourBlack);
    else setPaint(facet.colour, facet.colour);
    draw_filled_polygon(static_cast<int16_t>(facetCorners), corners);
    if constexpr (facetCorners == 4) {
        if (dice && facet.colour != cubie::innerColour) drawPips(facet.colour, corners);
    }
}

}  // namespace

void resetView() {
    for (int32_t a = 0; a < 3; ++a) state.viewAngle[a] = startViewAngle[a];
}

void projectVertices() {
    const scene::ViewTurn turn = scene::viewTurn(state.viewAngle);
    const scene::Perspective view{
        .eyeDistance = eyeDistance, .scale = eyeDistance, .centreX = state.centreX, .centreY = state.centreY};
    for (int32_t v = 0; v < Model::vertexCount; ++v) {
        // Every point lies within 120 * sqrt(3) of the origin, so the eye is never reached.
        const scene::Vec3 p = scene::projectToScreen(view, turn, state.puzzle.worldVertex[v]);
        double* out = state.screenVertex[v];
        out[0] = std::round(p.x);
        out[1] = std::round(p.y);
        out[2] = std::round(p.z);
    }
}

int32_t depthSum(const Facet& facet) {
    int32_t sum = 0;
    for (int32_t m = 0; m < facetCorners; ++m) sum += static_cast<int32_t>(state.screenVertex[facet.vertex[m]][2]);
    return sum;
}

// Comparing sums compares the means, since every record has the same number of corners.
void sortFacets() {
    Facet* facets = state.puzzle.facets;
    for (int32_t r = 0; r < Model::recordCount; ++r) state.depthKey[r] = depthSum(facets[r]);
    cubie::sortByDepth(facets, state.depthKey, Model::recordCount);
}

void facetScreenCorners(const Facet& facet, PointType* corners) {
    for (int32_t m = 0; m < facetCorners; ++m) {
        const double* v = state.screenVertex[facet.vertex[m]];
        corners[m] = PointType{static_cast<int32_t>(v[0]), static_cast<int32_t>(v[1])};
    }
}

bool frontFacing(const PointType* p) {
    const int64_t cross = int64_t{p[2].x - p[0].x} * (p[1].y - p[0].y) - int64_t{p[1].x - p[0].x} * (p[2].y - p[0].y);
    return cross < 0;
}

void drawFacets() {
    state.pickedCubie = -1;
    state.pickedFace = -1;
    const bool picking = cubie::pickAllowed(state.puzzle.turning, state.pointer.buttons, state.pointer.previousButtons);
    for (int32_t r = 0; r < Model::recordCount; ++r) {
        const Facet& facet = state.puzzle.facets[r];
        PointType corners[facetCorners];
        facetScreenCorners(facet, corners);
        if (!frontFacing(corners)) continue;
        // The highlighting program picks first, so that the facet under the pressed button is painted black.
        const bool pressed = variant.blackensPressed && picking && pickFacet(facet, corners);
        paintFacet(facet, corners, pressed);
        if (!variant.blackensPressed && picking) pickFacet(facet, corners);
    }
}

void drawPicture() {
    projectVertices();
    sortFacets();
    drawFacets();
}

int32_t pipCount(int32_t colour) {
    for (int32_t f = 0; f < 6; ++f)
        if (variant.model.faceColours[f] == colour) return f + 1;
    return 0;
}

void showBusyMark(int32_t colour) {
    select_shown_page(static_cast<int16_t>(1 - state.drawPage));
    setPaint(colour, colour);
    draw_filled_ellipse(40, 40, 30, 30);
}

}  // namespace cuboid
