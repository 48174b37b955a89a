#include "controls.h"

#include <GL/gl.h>

#include "window.h"

namespace tetragir {

Tetragir game;

namespace {

constexpr double viewStep = 2.0;  // times clockStep: 0.002 radian a frame while an arrow, X or Z is held
constexpr double dragTurn = 8.0;  // radians for a right-button drag across the whole drawing area

void keyboardViewTurn(const FrameInput& in) {
    int32_t h = 0, v = 0, r = 0;
    if (in.right) h = 1;
    if (in.left) h = -1;  // Left wins when both are held, as do Down and Z
    if (in.up) v = 1;
    if (in.down) v = -1;
    if (in.spinX) r = 1;
    if (in.spinZ) r = -1;
    ViewFrame& f = game.view;
    scene::rotatePair(f.e2, f.e0, viewStep * game.clockStep * h);
    scene::rotatePair(f.e2, f.e1, viewStep * game.clockStep * v);
    scene::rotatePair(f.e0, f.e1, viewStep * game.clockStep * r);
}

// A drag turns a layer each time the pointer crosses from one sticker onto a neighbour the drag rule accepts;
// any other crossing, or leaving the model, only moves the drag on.
void followDrag(int32_t buttons) {
    if (!(buttons & 1)) return;
    if (!(game.prevButtons & 1)) game.dragSticker = game.pickedSticker;
    if (game.dragSticker != -1 && game.dragSticker != game.pickedSticker) {
        Move m = moveFromDrag(game.dragSticker, game.pickedSticker);
        if (m.count != 0) {
            game.animMove = m.move;
            game.animCount = m.count;
            game.animStart = game.clock;
        }
    }
    game.dragSticker = game.pickedSticker;
}

// While a turn is animated drags are not followed; the first frame whose clock reaches its end applies it, and
// that frame's picture already showed the layer a full third on.
void advanceTurn(int32_t buttons) {
    if (game.animStart < 0.0) {
        followDrag(buttons);
    } else if (game.clock >= game.animStart + game.animDuration) {
        turn(game.colours, game.animMove, game.animCount);
        game.animStart = -1.0;
    }
}

void rightDragViewTurn(const FrameInput& in) {
    if (!(in.buttons & 2)) return;
    scene::rotatePair(game.view.e2, game.view.e0, -dragTurn * (in.mouseX - game.prevMouseX) / game.lastX);
    scene::rotatePair(game.view.e2, game.view.e1, -dragTurn * (in.mouseY - game.prevMouseY) / game.lastY);
}

void drawFrame() {
    LayerRotation rotation = stillLayers();
    if (game.animStart >= 0.0)
        rotation = animationRotation(game.view, game.animMove, game.animCount,
                                     (game.clock - game.animStart) / game.animDuration);
    fillBatch(game.batch, game.colours, game.view, rotation);
    drawPuzzle(game.batch, game.camera, game.batched);
}

}  // namespace

void initLoop(int32_t lastX, int32_t lastY, uint32_t seed) {
    seedRandom(seed);
    game.view = identityView;
    resetColours(game.colours);
    game.lastX = lastX;
    game.lastY = lastY;
    game.clock = 0.0;
    game.clockStep = 0.001;
    game.animStart = -1.0;
    game.animDuration = 2.5;
    game.animMove = -1;
    game.animCount = 0;
    game.dragSticker = -1;
    game.pickedSticker = -1;
    game.prevMouseX = game.prevMouseY = game.prevButtons = 0;
    game.batched = true;
    setupCamera(game.camera, lastX, lastY);
}

void stepFrame(const FrameInput& in) {
    game.clock += game.clockStep;
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    // Neither key looks at a running turn: it is still applied, at its end, to whatever colours stand there then.
    if (in.scramble) scrambleStep(game.colours);
    if (in.reset) resetColours(game.colours);  // after the scramble, so A and S together show the solved puzzle
    keyboardViewTurn(in);
    drawFrame();
    game.pickedSticker = pickSticker(game.camera, game.view, in.mouseX, in.mouseY);
    advanceTurn(in.buttons);
    rightDragViewTurn(in);
    glFlush();
    present_frame(2);
    game.prevMouseX = in.mouseX;
    game.prevMouseY = in.mouseY;
    game.prevButtons = in.buttons;
}

}  // namespace tetragir
