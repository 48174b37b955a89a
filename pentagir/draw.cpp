#include "pentagir/draw.h"

#include <GL/gl.h>

#include <cmath>

#include "pentagir/geometry.h"
#include "pentagir/state.h"
#include "pentagir/visibility.h"

namespace pentagir {
namespace {

constexpr double fieldOfView = 4.0;  // degrees, vertical
constexpr double nearPlane = 4.0;
constexpr double farPlane = 900.0;  // the camera distance squared
constexpr double cameraDistance = 30.0;
constexpr double cameraAzimuth = 180.0;
constexpr double cameraElevation = 0.0;
constexpr float outlineColour[3] = {0.0f, 0.0f, 0.0f};
constexpr float outlineWidth = 1.0f;

// The stickers as this frame shows them, last face first: where two faces' stickers meet, the lower-numbered face
// is drawn last. Without whole, only those the picture needs, in the same order.
void fillBatch(bool whole) {
    LayerRotation rotation = animationRotation();
    updateFaceFrames();
    chooseShownStickers(rotation, whole);
    state.batch.clear();
    for (int32_t f = faceCount - 1; f >= 0; --f) {
        for (int32_t p = stickersPerFace - 1; p >= 0; --p) {
            int32_t s = stickersPerFace * f + p;
            if (!state.shown[s]) continue;
            const int32_t* rgb = palette[state.stickerColour[s]];
            const float colour[3] = {static_cast<float>(rgb[0] / 256.0), static_cast<float>(rgb[1] / 256.0),
                                     static_cast<float>(rgb[2] / 256.0)};
            state.batch.add(state.corner[s], stickerCorners(p), colour, state.outlineSegments[s], state.filled[s]);
        }
    }
}

}  // namespace

Vec3 eyePosition() {
    double a = cameraAzimuth * pi / 180.0, e = cameraElevation * pi / 180.0;
    return {-cameraDistance * std::sin(a) * std::cos(e), cameraDistance * std::sin(e),
            cameraDistance * std::cos(a) * std::cos(e)};
}

void setupCamera(int32_t lastX, int32_t lastY) {
    double e = cameraElevation * pi / 180.0;
    Vec3 eye = eyePosition();
    double perspective[16], lookAt[16];
    scene::perspectiveMatrix(perspective, fieldOfView, static_cast<double>(lastX) / lastY, nearPlane, farPlane);
    scene::lookAtMatrix(lookAt, eye, {0.0, 0.0, 0.0}, {0.0, std::cos(e), 0.0});
    scene::setCamera(state.camera, perspective, lookAt, lastX + 1, lastY + 1);
}

void setupProjection() { scene::applyCamera(state.camera); }

void drawPuzzle() {
    fillBatch(!state.batchedDrawing || state.everySticker);
    if (state.batchedDrawing) state.batch.drawBatched(outlineColour, outlineWidth);
    else state.batch.drawImmediate(outlineColour, outlineWidth);
}

void drawPuzzleImmediate() {
    fillBatch(true);
    state.batch.drawImmediate(outlineColour, outlineWidth);
}

void drawFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    drawPuzzle();
    glFlush();
}

}  // namespace pentagir
