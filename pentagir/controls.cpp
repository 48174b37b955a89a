#include "controls.h"

#include <GL/gl.h>

#include <chrono>
#include <cmath>
#include <cstdio>

#include "geometry.h"
#include "state.h"
#include "window.h"

namespace pentagir {

int32_t areaLastX = 639, areaLastY = 479;
int32_t pointerX, pointerY;
int32_t prevPointerX, prevPointerY;
int32_t buttons, prevButtons;
double clockStep = 0.001;
int32_t hoveredSticker = -1;
int32_t pressedSticker = -1;

namespace {

constexpr double viewStep = 2.0;     // times clockStep: 0.002 rad a frame while an arrow, X or Z is held
constexpr double dragTurn = 8.0;     // radians for a right-button drag across the whole window
constexpr double nearEdge = 0.58;    // edge test value below which a point is near that edge

// Position within face f hit by the ray, -1 for a miss; the ray starts at the origin of the space that centre is
// given in.
int32_t positionOnFace(int32_t f, Vec3 centre, Vec3 d) {
    Vec3 n = cross(viewAxisX[f], viewAxisY[f]);
    if (n.z < 0.0) return -1;  // the face points away from the camera
    double denominator = dot(n, d);
    if (denominator <= 0.0) return -1;
    Vec3 q = cross(centre, d);
    double u = dot(q, viewAxisY[f]) / denominator;
    double v = -dot(q, viewAxisX[f]) / denominator;
    if (std::fmax(std::fabs(u), std::fabs(v)) > 1.0) return -1;
    int32_t mask = 0;
    for (int32_t i = 4; i >= 0; --i) {
        Vec2 a = faceTemplate[i], b = faceTemplate[(i + 1) % 5];
        double e = (b.x - a.x) * (v - a.y) - (b.y - a.y) * (u - a.x);
        if (e < 0.0) return -1;
        if (e < nearEdge) mask |= 1 << i;
    }
    return pickTable[mask];
}

void keyboardViewTurn(const FrameInput& in) {
    int32_t h = 0, v = 0, w = 0;
    if (in.right) h = 1;
    if (in.left) h = -1;
    if (in.up) v = 1;
    if (in.down) v = -1;
    if (in.spinX) w = 1;
    if (in.spinZ) w = -1;
    rotatePair(viewZ, viewX, viewStep * clockStep * h);
    rotatePair(viewZ, viewY, viewStep * clockStep * v);
    rotatePair(viewX, viewY, viewStep * clockStep * w);
}

void handleDrag() {
    if (!(buttons & 1)) return;
    if (!(prevButtons & 1)) pressedSticker = hoveredSticker;
    if (pressedSticker >= 0 && pressedSticker != hoveredSticker) {
        Move move = moveFromDrag(pressedSticker, hoveredSticker);
        animK = move.k;
        if (move.k != 0) {
            animRow = move.row;
            animStart = clock;
        }
    }
    pressedSticker = hoveredSticker;
}

// Drags start turns only while no turn is animated; the frame in which an animation ends applies its turn.
void advanceTurn() {
    if (animStart < 0.0) {
        handleDrag();
    } else if (clock >= animStart + animDuration) {
        turn(animRow, animK);
        animStart = -1.0;
    }
}

void rightDragViewTurn() {
    if (!(buttons & 2)) return;
    rotatePair(viewZ, viewX, dragTurn * (pointerX - prevPointerX) / areaLastX);
    rotatePair(viewZ, viewY, dragTurn * (pointerY - prevPointerY) / areaLastY);
}

FrameInput readInput() {
    FrameInput in{};
    in.mouseX = mouse_x();
    in.mouseY = mouse_y();
    in.buttons = mouse_buttons();
    in.scramble = key_held(keyLetter('A'));
    in.reset = key_held(keyLetter('S'));
    in.right = key_held(keyRight);
    in.left = key_held(keyLeft);
    in.up = key_held(keyUp);
    in.down = key_held(keyDown);
    in.spinX = key_held(keyLetter('X'));
    in.spinZ = key_held(keyLetter('Z'));
    return in;
}

uint32_t tickCount() {
    auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

}  // namespace

int32_t stickerAt(int32_t mouseX, int32_t mouseY) {
    Vec3 origin, d;
    scene::pixelRay(camera, mouseX, mouseY, origin, d);
    int32_t sticker = -1;
    // Ascending face order would let a higher face win; going down lets the lowest-numbered face claim a point
    // that two faces share.
    for (int32_t f = faceCount - 1; f >= 0; --f) {
        Vec3 centre = viewCentre[f] + Vec3{0.0, 0.0, depthOffset} - origin;
        int32_t position = positionOnFace(f, centre, d);
        if (position >= 0) sticker = stickersPerFace * f + position;
    }
    return sticker;
}

void pickSticker() { hoveredSticker = stickerAt(areaLastX - pointerX, areaLastY - pointerY); }

Move moveFromDrag(int32_t pressed, int32_t hovered) {
    for (int32_t row = 0; row < faceCount; ++row) {
        for (int32_t q = 0; q < ringLength; ++q) {
            int32_t a = ringSticker(row, q), b = ringSticker(row, (q + ringLength - 1) % ringLength);
            if (pressed == a && hovered == b) return {row, 1};
            if (pressed == b && hovered == a) return {row, 4};
        }
    }
    return {0, 0};
}

void initLoop(int32_t lastX, int32_t lastY, uint32_t seed) {
    areaLastX = lastX;
    areaLastY = lastY;
    seedRandom(seed);
    pointerX = pointerY = prevPointerX = prevPointerY = 0;
    buttons = prevButtons = 0;
    resetView();
    buildGeometry();
    resetColours();
    pressedSticker = -1;
    hoveredSticker = -1;
    clock = 0.0;
    clockStep = 0.001;
    animRow = -1;
    animK = 0;
    animStart = -1.0;
    animDuration = 2.5;
    setupCamera(lastX, lastY);
}

void stepFrame(const FrameInput& in) {
    pointerX = areaLastX - in.mouseX;
    pointerY = areaLastY - in.mouseY;
    buttons = in.buttons;
    clock += clockStep;
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (in.scramble) scrambleStep();
    if (in.reset) resetColours();  // after the scramble, so A and S together show the solved puzzle
    keyboardViewTurn(in);
    drawPuzzle();
    pickSticker();
    advanceTurn();
    rightDragViewTurn();
    glFlush();
    present_frame(2);
    prevPointerX = pointerX;
    prevPointerY = pointerY;
    prevButtons = buttons;
}

bool startUp() {
    int16_t driver = 3, mode = 4;
    open_window(driver, mode, "PENTAGIR");
    if (graph_status() != grOk) {
        std::fprintf(stderr, "pentagir: %s\n", window_error());
        close_window();  // a window without OpenGL stays open otherwise
        return false;
    }
    set_gl_drawing(true);
    set_frame_rate(0);  // every motion is counted in frames: the turn lasts as long as 2500 frames take to draw
    initLoop(window_last_x(), window_last_y(), tickCount());
    setupProjection();
    return true;
}

bool runFrame() {
    stepFrame(readInput());
    return !key_held(keyEscape);
}

void shutDown() {
    set_gl_drawing(false);
    close_window();
}

}  // namespace pentagir
