// What several pentagir tests need: where a sticker's centre is drawn, and the program state by the names the
// end-to-end test reads it by.
#pragma once

#include "pentagir/geometry.h"
#include "pentagir/program.h"
#include "pentagir/state.h"

namespace pentagir {

inline Colours snapshot() { return state.colours; }

// Window pixel (origin top-left) of the centre of sticker s, with no layer turning, on this frame's face frames;
// false when it cannot be projected.
inline bool stickerCentrePixel(int32_t s, int& x, int& y) {
    Vec3 sum{0, 0, 0};
    int32_t n = stickerCorners(s % stickersPerFace);
    for (int32_t i = 0; i < n; ++i) {
        float p[3];
        stickerCorner(state.faces, stillLayers(), s, i, p);
        sum = sum + Vec3{p[0], p[1], p[2]};
    }
    double wx, wy;
    if (!projectPoint(state.camera, (1.0 / n) * sum, wx, wy)) return false;
    x = static_cast<int>(wx);
    y = state.camera.height - 1 - static_cast<int>(wy);
    return true;
}

// The end-to-end test still reads the program state by these names.
inline Colours& stickerColour = state.colours;
inline Vec3 (&viewAxisX)[faceCount] = state.faces.viewAxisX;
inline Vec3 (&viewAxisY)[faceCount] = state.faces.viewAxisY;
inline Vec3 (&viewCentre)[faceCount] = state.faces.viewCentre;
inline void updateFaceFrames() { updateFaceFrames(state.faces, state.view); }
inline void resetColours() { resetColours(state.colours); }
inline void turn(int32_t layer, int32_t count) { turn(state.colours, layer, count); }

}  // namespace pentagir
