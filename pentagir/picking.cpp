#include "pentagir/picking.h"

#include <cmath>

#include "pentagir/geometry.h"

namespace pentagir {
namespace {

constexpr double nearEdge = 0.58;  // edge test value below which a point is near that edge

// Position within face f hit by the ray, -1 for a miss; the ray starts at the origin of the space that centre is
// given in.
int32_t positionOnFace(const FaceFrames& faces, int32_t f, Vec3 centre, Vec3 d) {
    Vec3 axisX = faces.viewAxisX[f], axisY = faces.viewAxisY[f];
    Vec3 n = cross(axisX, axisY);
    if (n.z < 0.0) return -1;  // the face points away from the camera
    double denominator = dot(n, d);
    if (denominator <= 0.0) return -1;
    Vec3 q = cross(centre, d);
    double u = dot(q, axisY) / denominator;
    double v = -dot(q, axisX) / denominator;
    if (std::fmax(std::fabs(u), std::fabs(v)) > 1.0) return -1;
    int32_t mask = 0;
    for (int32_t i = 4; i >= 0; --i) {
        Vec2 a = shape.faceTemplate[i], b = shape.faceTemplate[(i + 1) % 5];
        double e = (b.x - a.x) * (v - a.y) - (b.y - a.y) * (u - a.x);
        if (e < 0.0) return -1;
        if (e < nearEdge) mask |= 1 << i;
    }
    return pickTable[mask];
}

}  // namespace

int32_t pickSticker(const scene::Camera& camera, const FaceFrames& faces, int32_t mouseX, int32_t mouseY) {
    Vec3 origin, d;
    scene::pixelRay(camera, mouseX, mouseY, origin, d);
    int32_t sticker = -1;
    // Ascending face order would let a higher face win; going down lets the lowest-numbered face claim a point
    // that two faces share.
    for (int32_t f = faceCount - 1; f >= 0; --f) {
        Vec3 centre = faces.viewCentre[f] + Vec3{0.0, 0.0, depthOffset} - origin;
        int32_t position = positionOnFace(faces, f, centre, d);
        if (position >= 0) sticker = stickersPerFace * f + position;
    }
    return sticker;
}

}  // namespace pentagir
