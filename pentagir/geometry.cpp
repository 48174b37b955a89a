#include "geometry.h"

#include <algorithm>
#include <cmath>

#include "scene/polygon_batch.h"

namespace pentagir {

Vec2 faceTemplate[templatePointCount];
Vec3 vertexPos[vertexCount];
Vec3 faceCentre[faceCount];
Vec3 faceAxisX[faceCount];
Vec3 faceAxisY[faceCount];
Vec3 viewX, viewY, viewZ;
Vec3 viewAxisX[faceCount];
Vec3 viewAxisY[faceCount];
Vec3 viewCentre[faceCount];
double clock = 0.0;
double animStart = -1.0;
double animDuration = 2.5;
int32_t animRow = -1;
int32_t animK = 0;
scene::Camera camera;
bool batchedDrawing = true;
bool movingSticker[stickerCount];

namespace {

constexpr double pi = 3.14159265358979323846;
constexpr double fieldOfView = 4.0;  // degrees, vertical
constexpr double nearPlane = 4.0;
constexpr double farPlane = 900.0;   // the camera distance squared
constexpr double cameraDistance = 30.0;
constexpr double cameraAzimuth = 180.0;
constexpr double cameraElevation = 0.0;
// All 132 stickers: 120 quadrilaterals and 12 pentagons.
scene::PolygonBatch<stickerCount, 5> batch;
constexpr float outlineColour[3] = {0.0f, 0.0f, 0.0f};

Vec3 toView(Vec3 m) { return {dot(viewX, m), dot(viewY, m), dot(viewZ, m)}; }

void buildTemplate() {
    for (int32_t i = 0; i < 5; ++i) {
        double theta = 2.0 * pi / 5.0 * (i + 0.25);
        faceTemplate[i] = {std::cos(theta), std::sin(theta)};
    }
    for (int32_t i = 0; i < 5; ++i) {
        Vec2 a = faceTemplate[i], b = faceTemplate[(i + 1) % 5];
        faceTemplate[5 + i] = {a.x + cutRatio * (b.x - a.x), a.y + cutRatio * (b.y - a.y)};
        faceTemplate[10 + i] = {a.x + (1.0 - cutRatio) * (b.x - a.x), a.y + (1.0 - cutRatio) * (b.y - a.y)};
    }
    // Inner points make each corner sticker a parallelogram.
    for (int32_t i = 0; i < 5; ++i) {
        Vec2 cut = faceTemplate[10 + (i + 4) % 5];
        faceTemplate[15 + i] = {cut.x + faceTemplate[5 + i].x - faceTemplate[i].x,
                                cut.y + faceTemplate[5 + i].y - faceTemplate[i].y};
    }
}

void buildVertices() {
    for (int32_t ring = 0; ring < 4; ++ring) {
        for (int32_t i = 0; i < 5; ++i) {
            double a = 2.0 * pi / 5.0 * i;
            Vec3 v{std::cos(a), std::sin(a), 1.0 - phi / 2.0};
            if (ring >= 2) v = {(phi - 1.0) * v.x, (phi - 1.0) * v.y, phi / 2.0};
            if (ring % 2 == 1) v = -1.0 * v;
            vertexPos[5 * ring + i] = v;
        }
    }
}

void buildFaceFrames() {
    for (int32_t f = 0; f < faceCount; ++f) {
        Vec3 sum{0, 0, 0};
        for (int32_t i = 0; i < 5; ++i) sum = sum + vertexPos[faceVertices[f][i]];
        faceCentre[f] = 0.2 * sum;
        faceAxisY[f] = vertexPos[faceVertices[f][3]] - faceCentre[f];
        faceAxisX[f] = (2.0 / phi) * cross(faceCentre[f], faceAxisY[f]);
    }
}

// The stickers as this frame shows them, last face first: where two faces' stickers meet, the lower-numbered face
// is drawn last.
void fillBatch(const LayerRotation& rotation) {
    batch.clear();
    for (int32_t f = faceCount - 1; f >= 0; --f) {
        for (int32_t p = stickersPerFace - 1; p >= 0; --p) {
            int32_t s = stickersPerFace * f + p;
            float corner[5][3];
            for (int32_t i = 0; i < stickerCorners(p); ++i) stickerCorner(s, i, rotation, corner[i]);
            const int32_t* rgb = palette[stickerColour[s]];
            const float colour[3] = {static_cast<float>(rgb[0] / 256.0), static_cast<float>(rgb[1] / 256.0),
                                     static_cast<float>(rgb[2] / 256.0)};
            batch.add(corner, stickerCorners(p), colour);
        }
    }
}

}  // namespace

void buildGeometry() {
    buildTemplate();
    buildVertices();
    buildFaceFrames();
}

void resetView() {
    viewX = {1, 0, 0};
    viewY = {0, 1, 0};
    viewZ = {0, 0, 1};
}

void setupCamera(int32_t lastX, int32_t lastY) {
    double a = cameraAzimuth * pi / 180.0, e = cameraElevation * pi / 180.0;
    Vec3 eye{-cameraDistance * std::sin(a) * std::cos(e), cameraDistance * std::sin(e),
             cameraDistance * std::cos(a) * std::cos(e)};
    double perspective[16], lookAt[16];
    scene::perspectiveMatrix(perspective, fieldOfView, static_cast<double>(lastX) / lastY, nearPlane, farPlane);
    scene::lookAtMatrix(lookAt, eye, {0.0, 0.0, 0.0}, {0.0, std::cos(e), 0.0});
    scene::setCamera(camera, perspective, lookAt, lastX + 1, lastY + 1);
}

void updateFaceFrames() {
    for (int32_t f = 0; f < faceCount; ++f) {
        viewAxisX[f] = toView(faceAxisX[f]);
        viewAxisY[f] = toView(faceAxisY[f]);
        viewCentre[f] = toView(faceCentre[f]);
    }
}

LayerRotation animationRotation() {
    if (animStart < 0.0) return {false, {0, 0, 0}, 0.0};
    for (bool& moving : movingSticker) moving = false;
    for (int32_t s : turnTable[animRow]) movingSticker[s] = true;
    Vec3 centre = faceCentre[animRow];
    Vec3 axis = toView((1.0 / std::sqrt(dot(centre, centre))) * centre);
    double progress = (clock - animStart) / animDuration;
    progress = std::min(std::max(progress, 0.0), 1.0);  // never over-rotate, however late the turn is applied
    double eased = 0.5 - 0.5 * std::cos(pi * progress);
    double angle = eased * 2.0 * pi / 5.0;
    return {true, axis, animK == 4 ? -angle : angle};
}

void stickerCorner(int32_t s, int32_t i, const LayerRotation& rotation, float out[3]) {
    int32_t f = s / stickersPerFace, p = s % stickersPerFace;
    Vec2 t = faceTemplate[stickerPolygon[p][i]];
    Vec3 q = t.x * viewAxisX[f] + t.y * viewAxisY[f] + viewCentre[f];
    if (rotation.active && movingSticker[s]) rotateAboutAxis(q, rotation.axis, rotation.angle);
    out[0] = static_cast<float>(q.x);
    out[1] = static_cast<float>(q.y);
    out[2] = static_cast<float>(q.z + depthOffset);
}

void setupProjection() { scene::applyCamera(camera); }

void drawPuzzle() {
    if (!batchedDrawing) {
        drawPuzzleImmediate();
        return;
    }
    LayerRotation rotation = animationRotation();
    updateFaceFrames();
    fillBatch(rotation);
    batch.drawBatched(outlineColour, 1.0f);
}

void drawPuzzleImmediate() {
    LayerRotation rotation = animationRotation();
    updateFaceFrames();
    fillBatch(rotation);
    batch.drawImmediate(outlineColour, 1.0f);
}

}  // namespace pentagir
