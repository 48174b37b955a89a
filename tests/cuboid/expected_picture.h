// What a player should see, worked out from the puzzle's rules alone: where each outer sticker of a solved
// cuboid lies, which of them face the eye, and where their centres land on the screen. Shared by the unit and
// end-to-end tests; it uses nothing of the programs' own code.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace expected {

// Corners of each cubie face, by face number (0 +z, 1 -z, 2 -x, 3 +x, 4 -y, 5 +y); bit 0 of a corner is +x,
// bit 1 +y, bit 2 +z.
inline constexpr int faceCorners[6][4] = {{4, 6, 7, 5}, {0, 1, 3, 2}, {0, 2, 6, 4},
                                          {1, 5, 7, 3}, {0, 4, 5, 1}, {2, 3, 7, 6}};
// Outward normal of each face; index = face number.
inline constexpr int faceNormal[6][3] = {{0, 0, 1}, {0, 0, -1}, {-1, 0, 0}, {1, 0, 0}, {0, -1, 0}, {0, 1, 0}};

struct Sticker {
    int i, j, k, face;
    double x, y;                    // screen centre: mean of the four projected corners
    double minEdge;                 // shortest projected edge, in pixels
    double facing;                  // cosine between the face normal and the direction to the eye
    double cornerX[4], cornerY[4];  // projected corners in the face's corner order

    // A point on the way from the centre toward the middle of edge m (corner m to m + 1). Such points lie off
    // both diagonals, so they are inside one triangle of a face drawn as two.
    void towardEdge(int m, double fraction, double& px, double& py) const {
        const double mx = (cornerX[m] + cornerX[(m + 1) % 4]) / 2, my = (cornerY[m] + cornerY[(m + 1) % 4]) / 2;
        px = x + fraction * (mx - x);
        py = y + fraction * (my - y);
    }
};

struct View {
    int gridSize = 6;
    int dims[3] = {6, 6, 6};
    int angle[3] = {45, 45, 90};
};

// Corner q of cubie (i, j, k): the cuboid centred on the origin, cells 240 / N apart, each cubie inset by 2.
inline void corner(const View& v, int i, int j, int k, int q, double out[3]) {
    const int cell = 240 / v.gridSize;
    const int index[3] = {i, j, k};
    for (int a = 0; a < 3; ++a) {
        const int b = (q >> a) & 1;
        out[a] = (v.gridSize - v.dims[a]) * cell / 2.0 - 120 + (index[a] + b) * cell + (1 - 2 * b) * 2;
    }
}

// Turns a point by the view angles (about x, then y, then z) into eye space; the eye sits at z = 480.
inline void toEye(const View& v, const double p[3], double out[3]) {
    const double r = 3.14159265358979323846 / 180.0;
    const double a = v.angle[0] * r, b = v.angle[1] * r, c = v.angle[2] * r;
    const double y1 = p[1] * std::cos(a) - p[2] * std::sin(a), z1 = p[1] * std::sin(a) + p[2] * std::cos(a);
    const double x2 = p[0] * std::cos(b) - z1 * std::sin(b), z2 = p[0] * std::sin(b) + z1 * std::cos(b);
    out[0] = x2 * std::cos(c) - y1 * std::sin(c);
    out[1] = x2 * std::sin(c) + y1 * std::cos(c);
    out[2] = z2;
}

inline void toScreen(const double e[3], double& x, double& y) {
    x = 319.5 + 480.0 * e[0] / (480.0 - e[2]);
    y = 239.5 - 480.0 * e[1] / (480.0 - e[2]);
}

inline bool outer(const View& v, int i, int j, int k, int face) {
    switch (face) {
        case 0: return k == v.dims[2] - 1;
        case 1: return k == 0;
        case 2: return i == 0;
        case 3: return i == v.dims[0] - 1;
        case 4: return j == 0;
        default: return j == v.dims[1] - 1;
    }
}

// Every outer sticker of the solved cuboid whose face turns toward the eye.
inline std::vector<Sticker> visibleStickers(const View& v) {
    std::vector<Sticker> out;
    for (int i = 0; i < v.dims[0]; ++i)
        for (int j = 0; j < v.dims[1]; ++j)
            for (int k = 0; k < v.dims[2]; ++k)
                for (int f = 0; f < 6; ++f) {
                    if (!outer(v, i, j, k, f)) continue;
                    double sx[4], sy[4], centre[3] = {0, 0, 0};
                    for (int m = 0; m < 4; ++m) {
                        double p[3], e[3];
                        corner(v, i, j, k, faceCorners[f][m], p);
                        toEye(v, p, e);
                        toScreen(e, sx[m], sy[m]);
                        for (int a = 0; a < 3; ++a) centre[a] += e[a] / 4;
                    }
                    const double n0[3] = {double(faceNormal[f][0]), double(faceNormal[f][1]), double(faceNormal[f][2])};
                    double n[3];
                    toEye(v, n0, n);
                    const double toEyeDir[3] = {-centre[0], -centre[1], 480.0 - centre[2]};
                    const double len =
                        std::sqrt(toEyeDir[0] * toEyeDir[0] + toEyeDir[1] * toEyeDir[1] + toEyeDir[2] * toEyeDir[2]);
                    const double facing = (n[0] * toEyeDir[0] + n[1] * toEyeDir[1] + n[2] * toEyeDir[2]) / len;
                    if (facing <= 0) continue;
                    Sticker s{i, j, k, f, 0, 0, 1e9, facing, {}, {}};
                    for (int m = 0; m < 4; ++m) {
                        s.cornerX[m] = sx[m];
                        s.cornerY[m] = sy[m];
                        s.x += sx[m] / 4;
                        s.y += sy[m] / 4;
                        s.minEdge = std::min(s.minEdge, std::hypot(sx[(m + 1) % 4] - sx[m], sy[(m + 1) % 4] - sy[m]));
                    }
                    out.push_back(s);
                }
    return out;
}

// RGB of the palette entries the stickers use (the window layer's default palette).
struct Rgb {
    int r, g, b;
};
inline Rgb paletteRgb(int entry) {
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

// Side colours +z, -z, -x, +x, -y, +y of each program; index = program (0 cuboid-a, 1 cuboid-b, 2 cuboid-c).
// clang-format off
inline constexpr int sideColours[3][6] = {
    {15, 14, 2, 9, 12, 13},
    {15, 14, 2, 9, 12, 13},
    { 9,  2, 14, 15, 13, 12},
};
// clang-format on

}  // namespace expected
