#include "tetragir/geometry.h"

#include <algorithm>
#include <cmath>

namespace tetragir {

FaceFrame faceFrame(const ViewFrame& view, int32_t f) {
    Vec3 p0 = toView(view, cornerPosition[tetraFaces[f][0]]);
    return {p0, toView(view, cornerPosition[tetraFaces[f][1]]) - p0,
            toView(view, cornerPosition[tetraFaces[f][2]]) - p0};
}

LayerRotation stillLayers() {
    LayerRotation r{};
    r.active = false;
    return r;
}

LayerRotation animationRotation(const ViewFrame& view, int32_t layer, int32_t count, double progress) {
    LayerRotation r = stillLayers();
    r.active = true;
    int32_t v = layer % 4;
    if (layer < 8) {
        for (int32_t s : tipCycle[v]) r.moving[s] = true;
        if (layer >= 4)
            for (const auto& row : middleBand[v])
                for (int32_t s : row) r.moving[s] = true;
    } else {
        for (const auto& row : sideBand[v])
            for (int32_t s : row) r.moving[s] = true;
        for (const auto& row : baseCycle[v])
            for (int32_t s : row) r.moving[s] = true;
    }
    Vec3 axis = count == 2 ? -1.0 * cornerAxis[v] : cornerAxis[v];
    r.axis = toView(view, axis);
    // Never over-rotate, however late the turn is applied.
    double p = std::min(std::max(progress, 0.0), 1.0);
    double eased = 0.5 - 0.5 * std::cos(pi * p);
    r.angle = 2.0 * pi / 3.0 * eased;
    return r;
}

void stickerCorner(const ViewFrame& view, const LayerRotation& rotation, int32_t s, int32_t i, float out[3]) {
    FaceFrame frame = faceFrame(view, s / placesPerFace);
    const int32_t* ab = stickerCorners[s % placesPerFace][i];
    Vec3 q = frame.p0 + (ab[0] / 3.0) * frame.e1 + (ab[1] / 3.0) * frame.e2;
    if (rotation.active && rotation.moving[s]) scene::rotateAboutAxis(q, rotation.axis, rotation.angle);
    out[0] = static_cast<float>(q.x);
    out[1] = static_cast<float>(q.y);
    out[2] = static_cast<float>(q.z + depthOffset);
}

void setupCamera(scene::Camera& camera, int32_t lastX, int32_t lastY) {
    scene::setOrbitCamera(camera, orbit, static_cast<double>(lastX) / lastY, lastX + 1, lastY + 1);
}

}  // namespace tetragir
