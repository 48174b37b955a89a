#include "tetragir/picking.h"

namespace tetragir {

int32_t placeAt(double a, double b) {
    int32_t i = static_cast<int32_t>(3.0 * a), j = static_cast<int32_t>(3.0 * b);
    int32_t k = static_cast<int32_t>(3.0 * (a + b));
    if (j >= 2) return 4;
    if (j == 1) return k == 1 ? 1 : i == 0 ? 5 : 6;
    if (k == 0) return 0;
    if (i == 0) return 2;
    if (k == 1) return 3;
    return i == 1 ? 7 : 8;
}

int32_t pickSticker(const scene::Camera& camera, const ViewFrame& view, int32_t mouseX, int32_t mouseY) {
    Vec3 origin, d;
    scene::pixelRay(camera, mouseX, mouseY, origin, d);
    int32_t sticker = -1;
    // Two faces meet a ray only along their common edge; there the later face wins.
    for (int32_t f = 0; f < faceCount; ++f) {
        FaceFrame frame = faceFrame(view, f);
        double det = scene::dot(d, scene::cross(frame.e1, frame.e2));
        if (!(det > 0.0)) continue;  // turned away from the eye, or met edge-on
        Vec3 w = scene::cross(frame.p0 + Vec3{0.0, 0.0, depthOffset} - origin, d);
        double a = scene::dot(frame.e2, w) / det, b = -scene::dot(frame.e1, w) / det;
        if (a >= 0.0 && b >= 0.0 && a + b <= 1.0) sticker = placesPerFace * f + placeAt(a, b);
    }
    return sticker;
}

}  // namespace tetragir
