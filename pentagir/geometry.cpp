#include "pentagir/geometry.h"

#include <cassert>
#include <cmath>

#include "pentagir/state.h"
#include "play/turn_clock.h"

namespace pentagir {
namespace {

Vec3 toView(Vec3 m) { return {dot(state.viewX, m), dot(state.viewY, m), dot(state.viewZ, m)}; }

void buildTemplate() {
    Vec2* t = state.faceTemplate;
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

void buildVertices() {
    for (int32_t ring = 0; ring < 4; ++ring) {
        for (int32_t i = 0; i < 5; ++i) {
            double a = 2.0 * pi / 5.0 * i;
            Vec3 v{std::cos(a), std::sin(a), 1.0 - phi / 2.0};
            if (ring >= 2) v = {(phi - 1.0) * v.x, (phi - 1.0) * v.y, phi / 2.0};
            if (ring % 2 == 1) v = -1.0 * v;
            state.vertexPos[5 * ring + i] = v;
        }
    }
}

void buildFaceFrames() {
    for (int32_t f = 0; f < faceCount; ++f) {
        Vec3 sum{0, 0, 0};
        for (int32_t i = 0; i < 5; ++i) sum = sum + state.vertexPos[faceVertices[f][i]];
        state.faceCentre[f] = 0.2 * sum;
        state.faceAxisY[f] = state.vertexPos[faceVertices[f][3]] - state.faceCentre[f];
        state.faceAxisX[f] = (2.0 / phi) * cross(state.faceCentre[f], state.faceAxisY[f]);
    }
}

// Numbers every sticker corner by the point of the solid it lies on, so that stickers meeting at a corner, on one
// face or across an edge, name it alike.
void numberCornerPoints() {
    Vec3 point[cornerPointCount];
    int32_t count = 0;
    for (int32_t s = 0; s < stickerCount; ++s) {
        int32_t f = s / stickersPerFace, p = s % stickersPerFace;
        for (int32_t i = 0; i < stickerCorners(p); ++i) {
            Vec2 t = state.faceTemplate[stickerPolygon[p][i]];
            Vec3 q = t.x * state.faceAxisX[f] + t.y * state.faceAxisY[f] + state.faceCentre[f];
            int32_t k = 0;
            while (k < count && length(point[k] - q) > 1e-9) ++k;
            assert(k < cornerPointCount && "pentagir: more distinct sticker corners than the solid has");
            if (k == cornerPointCount) k = 0;
            if (k == count) point[count++] = q;
            state.cornerPoint[s][i] = static_cast<int16_t>(k);
        }
    }
}

}  // namespace

void buildGeometry() {
    buildTemplate();
    buildVertices();
    buildFaceFrames();
    numberCornerPoints();
}

void resetView() {
    state.viewX = {1, 0, 0};
    state.viewY = {0, 1, 0};
    state.viewZ = {0, 0, 1};
}

void updateFaceFrames() {
    for (int32_t f = 0; f < faceCount; ++f) {
        state.viewAxisX[f] = toView(state.faceAxisX[f]);
        state.viewAxisY[f] = toView(state.faceAxisY[f]);
        state.viewCentre[f] = toView(state.faceCentre[f]);
    }
}

LayerRotation animationRotation() {
    if (!play::turnAnimating(state.clock)) return {false, {0, 0, 0}, 0.0};
    for (bool& moving : state.movingSticker) moving = false;
    for (int32_t s : turnTable[state.animRow]) state.movingSticker[s] = true;
    Vec3 axis = toView(scene::normalized(state.faceCentre[state.animRow]));
    double progress = play::turnProgress(state.clock);
    double eased = 0.5 - 0.5 * std::cos(pi * progress);
    double angle = eased * 2.0 * pi / 5.0;
    return {true, axis, state.animK == 4 ? -angle : angle};
}

void stickerCorner(int32_t s, int32_t i, const LayerRotation& rotation, float out[3]) {
    int32_t f = s / stickersPerFace, p = s % stickersPerFace;
    Vec2 t = state.faceTemplate[stickerPolygon[p][i]];
    Vec3 q = t.x * state.viewAxisX[f] + t.y * state.viewAxisY[f] + state.viewCentre[f];
    if (rotation.active && state.movingSticker[s]) rotateAboutAxis(q, rotation.axis, rotation.angle);
    out[0] = static_cast<float>(q.x);
    out[1] = static_cast<float>(q.y);
    out[2] = static_cast<float>(q.z + depthOffset);
}

}  // namespace pentagir
