// What several tetragir tests need: where stickers lie, where they are drawn, and the pick the window's own
// pinhole model would give (the one that disagrees with the picture).
#pragma once

#include <cmath>

#include "scene/camera.h"
#include "tetragir/geometry.h"
#include "tetragir/picking.h"
#include "tetragir/puzzle.h"

namespace tetragir {

// Centre of sticker s in model space, from the corner positions and the lattice corners of its place.
inline Vec3 modelCentre(int32_t s) {
    const int32_t* face = tetraFaces[s / placesPerFace];
    Vec3 p0 = cornerPosition[face[0]];
    Vec3 e1 = cornerPosition[face[1]] - p0, e2 = cornerPosition[face[2]] - p0;
    Vec3 sum{0, 0, 0};
    for (const auto& ab : stickerCorners[s % placesPerFace]) sum = sum + (ab[0] / 3.0) * e1 + (ab[1] / 3.0) * e2;
    return p0 + (1.0 / 3.0) * sum;
}

// Cosine between face f's outward normal and the direction to the eye (at the view-space origin's -z side).
inline double facingCosine(const ViewFrame& view, int32_t f) {
    Vec3 centre = toView(
        view, modelCentre(placesPerFace * f + 4) + modelCentre(placesPerFace * f + 8) + modelCentre(placesPerFace * f));
    centre = (1.0 / 3.0) * centre;
    Vec3 outward = scene::normalized(centre);  // a face's centre lies along its outward normal
    Vec3 toEye = scene::normalized(Vec3{0, 0, -44.0 - depthOffset} - centre);
    return scene::dot(outward, toEye);
}

// Window pixel (origin top-left, y down) whose centre lies nearest the drawn centre of sticker s, unturned.
inline bool centrePixel(const scene::Camera& camera, const ViewFrame& view, int32_t s, int32_t& x, int32_t& y) {
    Vec3 sum{0, 0, 0};
    for (int32_t i = 0; i < 3; ++i) {
        float p[3];
        stickerCorner(view, stillLayers(), s, i, p);
        sum = sum + Vec3{p[0], p[1], p[2]};
    }
    double wx, wy, wz;
    if (!scene::projectPoint(camera, (1.0 / 3.0) * sum, wx, wy, wz)) return false;
    x = static_cast<int32_t>(std::floor(wx));
    y = camera.height - 1 - static_cast<int32_t>(std::floor(wy));
    return true;
}

// The pick through a pinhole of its own: the eye at the view origin, the model's centre 4 units before it and
// 0.75 W pixels of focal length. It is not the inverse of the drawing's projection; tests use it to find places
// where it names another sticker than the one drawn.
inline int32_t pinholePick(const ViewFrame& view, int32_t mouseX, int32_t mouseY, int32_t lastX, int32_t lastY) {
    Vec3 d{lastX / 2.0 - mouseX, lastY / 2.0 - mouseY, 0.75 * lastX};
    int32_t sticker = -1;
    for (int32_t f = 0; f < faceCount; ++f) {
        const int32_t* face = tetraFaces[f];
        Vec3 p0 = toView(view, cornerPosition[face[0]]);
        Vec3 e1 = toView(view, cornerPosition[face[1]]) - p0, e2 = toView(view, cornerPosition[face[2]]) - p0;
        p0.z += 4.0;
        double det = scene::dot(d, scene::cross(e1, e2));
        if (!(det > 0.0)) continue;
        Vec3 w = scene::cross(p0, d);
        double a = scene::dot(e2, w) / det, b = -scene::dot(e1, w) / det;
        if (a >= 0.0 && b >= 0.0 && a + b <= 1.0) sticker = placesPerFace * f + placeAt(a, b);
    }
    return sticker;
}

}  // namespace tetragir
