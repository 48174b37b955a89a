// What several pentagir tests need: the colours as one value, and where a sticker's centre is drawn.
#pragma once

#include <algorithm>
#include <array>

#include "pentagir/geometry.h"
#include "pentagir/program.h"
#include "pentagir/state.h"

namespace pentagir {

using Colours = std::array<int32_t, stickerCount>;

inline Colours snapshot() {
    Colours c;
    std::copy(std::begin(state.stickerColour), std::end(state.stickerColour), c.begin());
    return c;
}

// Window pixel (origin top-left) of the centre of sticker s, with no layer turning; false when it cannot be
// projected.
inline bool stickerCentrePixel(int32_t s, int& x, int& y) {
    Vec3 sum{0, 0, 0};
    int32_t n = stickerCorners(s % stickersPerFace);
    for (int32_t i = 0; i < n; ++i) {
        float p[3];
        stickerCorner(s, i, LayerRotation{false, {0, 0, 0}, 0}, p);
        sum = sum + Vec3{p[0], p[1], p[2]};
    }
    double wx, wy;
    if (!projectPoint(state.camera, (1.0 / n) * sum, wx, wy)) return false;
    x = static_cast<int>(wx);
    y = state.camera.height - 1 - static_cast<int>(wy);
    return true;
}

// The end-to-end test still reads these parts of the program state by their own names.
inline int32_t (&stickerColour)[stickerCount] = state.stickerColour;
inline Vec3 (&viewAxisX)[faceCount] = state.viewAxisX;
inline Vec3 (&viewAxisY)[faceCount] = state.viewAxisY;
inline Vec3 (&viewCentre)[faceCount] = state.viewCentre;

}  // namespace pentagir
