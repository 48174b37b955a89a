#include "pentagir/geometry.h"

#include <algorithm>
#include <cassert>
#include <cmath>

namespace pentagir {
namespace {

void buildTemplate(Shape& shape) {
    Vec2* t = shape.faceTemplate;
    for (int32_t i = 0; i < 5; ++i) {
        double theta = 2.0 * pi / 5.0 * (i + 0.25);
        t[i] = {std::cos(theta), std::sin(theta)};
    }
    for (int32_t i = 0; i < 5; ++i) {
        Vec2 a = t[i], b = t[(i + 1) % 5];
        t[5 + i] = {a.x + cutRatio * (b.x - a.x), a.y + cutRatio * (b.y - a.y)};
        t[10 + i] = {a.x + (1.0 - cutRatio) * (b.x - a.x), a.y + (1.0 - cutRatio) * (b.y - a.y)};
    }
    // Inner points make each corner sticker a parallelogram.
    for (int32_t i = 0; i < 5; ++i) {
        Vec2 cut = t[10 + (i + 4) % 5];
        t[15 + i] = {cut.x + t[5 + i].x - t[i].x, cut.y + t[5 + i].y - t[i].y};
    }
}

void buildVertices(Shape& shape) {
    for (int32_t ring = 0; ring < 4; ++ring) {
        for (int32_t i = 0; i < 5; ++i) {
            double a = 2.0 * pi / 5.0 * i;
            Vec3 v{std::cos(a), std::sin(a), 1.0 - phi / 2.0};
            if (ring >= 2) v = {(phi - 1.0) * v.x, (phi - 1.0) * v.y, phi / 2.0};
            if (ring % 2 == 1) v = -1.0 * v;
            shape.vertexPos[5 * ring + i] = v;
        }
    }
}

void buildFaceFrames(Shape& shape) {
    for (int32_t f = 0; f < faceCount; ++f) {
        Vec3 sum{0, 0, 0};
        for (int32_t i = 0; i < 5; ++i) sum = sum + shape.vertexPos[faceVertices[f][i]];
        shape.faceCentre[f] = 0.2 * sum;
        shape.faceAxisY[f] = shape.vertexPos[faceVertices[f][3]] - shape.faceCentre[f];
        shape.faceAxisX[f] = (2.0 / phi) * cross(shape.faceCentre[f], shape.faceAxisY[f]);
    }
}

// Numbers every sticker corner by the point of the solid it lies on, so that stickers meeting at a corner, on one
// face or across an edge, name it alike.
void numberCornerPoints(Shape& shape) {
    Vec3 point[cornerPointCount];
    int32_t count = 0;
    for (int32_t s = 0; s < stickerCount; ++s) {
        int32_t f = s / stickersPerFace, p = s % stickersPerFace;
        for (int32_t i = 0; i < stickerCorners(p); ++i) {
            Vec2 t = shape.faceTemplate[stickerPolygon[p][i]];
            Vec3 q = t.x * shape.faceAxisX[f] + t.y * shape.faceAxisY[f] + shape.faceCentre[f];
            int32_t k = 0;
            while (k < count && length(point[k] - q) > 1e-9) ++k;
            assert(k < cornerPointCount && "pentagir: more distinct sticker corners than the solid has");
            if (k == cornerPointCount) k = 0;
            if (k == count) point[count++] = q;
            shape.cornerPoint[s][i] = static_cast<int16_t>(k);
        }
    }
}

Shape buildShape() {
    Shape shape{};
    buildTemplate(shape);
    buildVertices(shape);
    buildFaceFrames(shape);
    numberCornerPoints(shape);
    return shape;
}

}  // namespace

const Shape shape = buildShape();

void updateFaceFrames(FaceFrames& faces, const ViewFrame& view) {
    for (int32_t f = 0; f < faceCount; ++f) {
        faces.viewAxisX[f] = toView(view, shape.faceAxisX[f]);
        faces.viewAxisY[f] = toView(view, shape.faceAxisY[f]);
        faces.viewCentre[f] = toView(view, shape.faceCentre[f]);
    }
}

LayerRotation stillLayers() {
    LayerRotation r{};
    r.active = false;
    return r;
}

LayerRotation animationRotation(const ViewFrame& view, int32_t layer, int32_t count, double progress) {
    LayerRotation r = stillLayers();
    r.active = true;
    for (int32_t s : turnTable[layer]) r.moving[s] = true;
    r.axis = toView(view, scene::normalized(shape.faceCentre[layer]));
    // Never over-rotate, however late the turn is applied.
    double p = std::min(std::max(progress, 0.0), 1.0);
    double eased = 0.5 - 0.5 * std::cos(pi * p);
    double angle = eased * 2.0 * pi / 5.0;
    r.angle = count == 4 ? -angle : angle;
    return r;
}

void stickerCorner(const FaceFrames& faces, const LayerRotation& rotation, int32_t s, int32_t i, float out[3]) {
    int32_t f = s / stickersPerFace, p = s % stickersPerFace;
    Vec2 t = shape.faceTemplate[stickerPolygon[p][i]];
    Vec3 q = t.x * faces.viewAxisX[f] + t.y * faces.viewAxisY[f] + faces.viewCentre[f];
    if (rotation.active && rotation.moving[s]) rotateAboutAxis(q, rotation.axis, rotation.angle);
    out[0] = static_cast<float>(q.x);
    out[1] = static_cast<float>(q.y);
    out[2] = static_cast<float>(q.z + depthOffset);
}

void setupCamera(scene::Camera& camera, int32_t lastX, int32_t lastY) {
    scene::setOrbitCamera(camera, orbit, static_cast<double>(lastX) / lastY, lastX + 1, lastY + 1);
}

}  // namespace pentagir
