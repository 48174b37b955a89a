// What a player should see on a page, predicted from the tests' sticker model and page projection alone: which
// outer stickers face the eye, where their corners and centres land, and the colours of the default palette.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "tests/support/page_projection.h"
#include "tests/support/sticker_model.h"

namespace oracle {

// An outer sticker that faces the eye, as the page shows it.
struct SeenSticker {
    int32_t i, j, k, face;
    int32_t colour;                 // what the cube model shows there; -1 when no model was given
    double x, y;                    // centre: mean of the four projected corners
    double minEdge;                 // shortest projected edge
    double facing;                  // cosine between the face's normal and the direction to the eye
    double cornerX[4], cornerY[4];  // projected corners, in the order faceCorners gives them

    // A point on the way from the centre toward the middle of edge m (corner m to m + 1). Such points lie off
    // both diagonals, so they are inside one triangle of a face drawn as two.
    void towardEdge(int32_t m, double fraction, double& px, double& py) const {
        const double mx = (cornerX[m] + cornerX[(m + 1) % 4]) / 2, my = (cornerY[m] + cornerY[(m + 1) % 4]) / 2;
        px = x + fraction * (mx - x);
        py = y + fraction * (my - y);
    }

    // The least distance from (px, py) to an edge of the outline; negative outside.
    double depthInside(double px, double py) const {
        double area = 0;
        for (int32_t c = 0; c < 4; ++c) area += cornerX[c] * cornerY[(c + 1) % 4] - cornerX[(c + 1) % 4] * cornerY[c];
        const double turn = area < 0 ? -1 : 1;
        double least = 1e9;
        for (int32_t c = 0; c < 4; ++c) {
            const double ex = cornerX[(c + 1) % 4] - cornerX[c], ey = cornerY[(c + 1) % 4] - cornerY[c];
            least = std::min(least, turn * (ex * (py - cornerY[c]) - ey * (px - cornerX[c])) / std::hypot(ex, ey));
        }
        return least;
    }
};

// Every outer sticker of the layout whose face turns toward the eye under the view angles, coloured as the cube
// model shows it when one is given.
inline std::vector<SeenSticker> visibleStickers(const Layout& layout, const PageView& view, const int32_t angle[3],
                                                const Cube* cube = nullptr) {
    std::vector<SeenSticker> out;
    for (int32_t i = 0; i < layout.dims[0]; ++i)
        for (int32_t j = 0; j < layout.dims[1]; ++j)
            for (int32_t k = 0; k < layout.dims[2]; ++k)
                for (int32_t face = 0; face < 6; ++face) {
                    const Vec slot{i, j, k};
                    if (!outer(layout, slot, face)) continue;
                    SeenSticker s{i, j, k, face, cube ? cube->colourAt(slot, face) : -1, 0, 0, 1e9, 0, {}, {}};
                    double centre[3] = {0, 0, 0};
                    for (int32_t m = 0; m < 4; ++m) {
                        double p[3], e[3];
                        cornerPoint(layout, slot, faceCorners[face][m], p);
                        toEye(angle, p, e);
                        toPage(view, e, s.cornerX[m], s.cornerY[m]);
                        for (int32_t a = 0; a < 3; ++a) centre[a] += e[a] / 4;
                    }
                    double normal[3] = {0, 0, 0}, n[3];
                    normal[faceAxis[face]] = faceSide[face];
                    toEye(angle, normal, n);
                    const double toEyeDir[3] = {-centre[0], -centre[1], view.eyeDistance - centre[2]};
                    s.facing =
                        (n[0] * toEyeDir[0] + n[1] * toEyeDir[1] + n[2] * toEyeDir[2]) /
                        std::sqrt(toEyeDir[0] * toEyeDir[0] + toEyeDir[1] * toEyeDir[1] + toEyeDir[2] * toEyeDir[2]);
                    if (s.facing <= 0) continue;
                    for (int32_t m = 0; m < 4; ++m) {
                        s.x += s.cornerX[m] / 4;
                        s.y += s.cornerY[m] / 4;
                        s.minEdge = std::min(s.minEdge, std::hypot(s.cornerX[(m + 1) % 4] - s.cornerX[m],
                                                                   s.cornerY[(m + 1) % 4] - s.cornerY[m]));
                    }
                    out.push_back(s);
                }
    return out;
}

struct Rgb {
    int r, g, b;
};

// Red, green, blue of the default palette's entries the puzzles show; {-1, -1, -1}, which no pixel has, for others.
inline Rgb paletteRgb(int32_t entry) {
    switch (entry) {
        case 0: return {0, 0, 0};
        case 2: return {0, 168, 0};
        case 8: return {84, 84, 84};
        case 9: return {132, 132, 252};
        case 12: return {252, 84, 84};
        case 13: return {252, 84, 252};
        case 14: return {252, 252, 84};
        case 15: return {252, 252, 252};
        default: return {-1, -1, -1};
    }
}

}  // namespace oracle
