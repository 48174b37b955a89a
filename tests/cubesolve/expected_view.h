// Where the rules put a world point on the screen, and the palette's colours, for the tests' expected pictures.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

namespace expected_view {

// Eye-space position of a world point under the view angles: about x, then y, then z; larger z is nearer the
// eye, which sits 200 units out.
inline void toEye(const double w[3], const int32_t angle[3], double e[3]) {
    const double d = 0.017453292519943295;
    const double s0 = std::sin(angle[0] * d), c0 = std::cos(angle[0] * d), s1 = std::sin(angle[1] * d),
                 c1 = std::cos(angle[1] * d), s2 = std::sin(angle[2] * d), c2 = std::cos(angle[2] * d);
    const double y1 = w[1] * c0 - w[2] * s0, z1 = w[1] * s0 + w[2] * c0;
    const double x2 = w[0] * c1 - z1 * s1, z2 = w[0] * s1 + z1 * c1;
    e[0] = x2 * c2 - y1 * s2;
    e[1] = x2 * s2 + y1 * c2;
    e[2] = z2;
}

// Where a world point lands on the cell raster, unrounded: perspective with scale 128, centred on cell (160, 100).
inline void projectExact(const double w[3], const int32_t angle[3], double& x, double& y) {
    double e[3];
    toEye(w, angle, e);
    x = 160 + 128 * e[0] / (200 - e[2]);
    y = 100 - 128 * e[1] / (200 - e[2]);
}

// Cell of a world point under the view angles. A cell covers window pixels 2x to 2x + 2.
inline void projectPoint(const double w[3], const int32_t angle[3], int32_t& x, int32_t& y) {
    double fx, fy;
    projectExact(w, angle, fx, fy);
    x = int32_t(std::lround(fx));
    y = int32_t(std::lround(fy));
}

// An outer sticker of the N-cube as the rules build it: the cube spans -60 to 60, cubies sit 120 div N apart and
// are inset by 2, so a sticker lies in the plane 58 out along its axis.
struct StickerOutline {
    int32_t slot[3];     // grid index along each axis
    int32_t axis, side;  // the axis it faces along, and -1 or +1
    double x[4], y[4];   // projected corners, unrounded, in order round the sticker
};

// Every outer sticker of an N-cube whose face turns toward the eye, under the view angles.
inline std::vector<StickerOutline> facingStickers(int32_t n, const int32_t angle[3]) {
    std::vector<StickerOutline> out;
    const double pitch = 120 / n;  // a whole number: the rules divide in integers
    for (int32_t axis = 0; axis < 3; ++axis)
        for (int32_t side : {-1, 1})
            for (int32_t a = 0; a < n; ++a)
                for (int32_t b = 0; b < n; ++b) {
                    StickerOutline s{};
                    s.axis = axis, s.side = side;
                    const int32_t u = (axis + 1) % 3, v = (axis + 2) % 3;
                    s.slot[axis] = side < 0 ? 0 : n - 1;
                    s.slot[u] = a, s.slot[v] = b;
                    const double lowU = a * pitch - 58, highU = (a + 1) * pitch - 62;
                    const double lowV = b * pitch - 58, highV = (b + 1) * pitch - 62;
                    const double cornerU[4] = {lowU, highU, highU, lowU}, cornerV[4] = {lowV, lowV, highV, highV};
                    double centre[3] = {}, normal[3] = {}, eyeCentre[3], eyeNormal[3];
                    for (int32_t c = 0; c < 4; ++c) {
                        double w[3];
                        w[axis] = 58 * side, w[u] = cornerU[c], w[v] = cornerV[c];
                        projectExact(w, angle, s.x[c], s.y[c]);
                    }
                    centre[axis] = 58 * side, centre[u] = (lowU + highU) / 2, centre[v] = (lowV + highV) / 2;
                    normal[axis] = side;
                    toEye(centre, angle, eyeCentre);
                    toEye(normal, angle, eyeNormal);
                    // Faces the eye when the normal points from the sticker toward (0, 0, 200).
                    const double toward = -eyeNormal[0] * eyeCentre[0] - eyeNormal[1] * eyeCentre[1] +
                                          eyeNormal[2] * (200 - eyeCentre[2]);
                    if (toward > 0) out.push_back(s);
                }
    return out;
}

// View angles a player sees at start and after the size key: about x, then y, then z, in degrees.
inline constexpr int32_t startView[3] = {45, 45, 90};

struct Rgb {
    int r, g, b;
};

// The default palette's entries the cube shows.
inline Rgb paletteRgb(int entry) {
    switch (entry) {
        case 2: return {0, 168, 0};
        case 8: return {84, 84, 84};
        case 9: return {132, 132, 252};
        case 12: return {252, 84, 84};
        case 13: return {252, 84, 252};
        case 14: return {252, 252, 84};
        case 15: return {252, 252, 252};
        default: return {0, 0, 0};
    }
}

}  // namespace expected_view
