#include "pentagir/draw.h"

#include <GL/gl.h>

#include "pentagir/geometry.h"
#include "pentagir/state.h"
#include "pentagir/visibility.h"
#include "play/turn_clock.h"

namespace pentagir {
namespace {

constexpr float outlineRgb[3] = {0.0f, 0.0f, 0.0f};
constexpr float outlineWidth = 1.0f;

// The stickers as this frame shows them, last face first: where two faces' stickers meet, the lower-numbered face
// is drawn last. Without whole, only those the picture needs, in the same order.
void fillBatch(const LayerRotation& rotation, bool whole) {
    chooseShownStickers(rotation, whole);
    state.batch.clear();
    for (int32_t f = faceCount - 1; f >= 0; --f) {
        for (int32_t p = stickersPerFace - 1; p >= 0; --p) {
            int32_t s = stickersPerFace * f + p;
            if (!state.shown[s]) continue;
            const int32_t* rgb = palette[state.colours[s]];
            const float colour[3] = {static_cast<float>(rgb[0] / 256.0), static_cast<float>(rgb[1] / 256.0),
                                     static_cast<float>(rgb[2] / 256.0)};
            state.batch.add(state.corner[s], stickerCorners(p), colour, state.outlineSegments[s], state.filled[s]);
        }
    }
}

}  // namespace

void drawPuzzle(scene::DrawingMode mode) {
    LayerRotation rotation = stillLayers();
    if (play::turnAnimating(state.clock))
        rotation =
            animationRotation(state.view, state.animMove.layer, state.animMove.count, play::turnProgress(state.clock));
    updateFaceFrames(state.faces, state.view);
    fillBatch(rotation, mode != scene::DrawingMode::batched);
    if (mode == scene::DrawingMode::oneAtATime) state.batch.drawImmediate(outlineRgb, outlineWidth);
    else state.batch.drawBatched(outlineRgb, outlineWidth);
}

void drawFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    drawPuzzle(state.drawingMode);
    glFlush();
}

}  // namespace pentagir
