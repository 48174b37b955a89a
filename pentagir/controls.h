// Picking, drag recognition, keys and the frame loop of the dodecahedron puzzle.
#pragma once

#include <cstdint>

namespace pentagir {

// Input of one frame, read once at its start.
struct FrameInput {
    int32_t mouseX, mouseY;  // drawing-area pixels, origin top-left
    int32_t buttons;         // bit 0 left, bit 1 right
    bool scramble, reset;    // A, S
    bool right, left, up, down, spinX, spinZ;
};

// Loop state.
extern int32_t areaLastX, areaLastY;        // largest coordinates of the drawing area
extern int32_t pointerX, pointerY;          // mouse position measured from the right and bottom edges
extern int32_t prevPointerX, prevPointerY;
extern int32_t buttons, prevButtons;
extern double clockStep;
extern int32_t hoveredSticker;
extern int32_t pressedSticker;

// Position within a face for a mask of the template edges the picked point is near (bit i: edge from corner i to
// corner i + 1); -1 where no sticker has that shape of neighbourhood.
constexpr int32_t pickTable[32] = {
    10,  1,  3,  2,  5, -1,  4, -1,
     7, -1, -1, -1,  6, -1, -1, -1,
     9,  0, -1, -1, -1, -1, -1, -1,
     8, -1, -1, -1, -1, -1, -1, -1,
};

// Sticker drawn under the pixel (mouseX, mouseY) with this frame's face frames, ignoring any turn animation;
// -1 when the pixel shows no sticker.
int32_t stickerAt(int32_t mouseX, int32_t mouseY);

// hoveredSticker from the current pointer.
void pickSticker();

// Row and k (1 or 4) when pressed and hovered are neighbours in the ring of a row, k = 0 otherwise.
struct Move {
    int32_t row, k;
};
Move moveFromDrag(int32_t pressed, int32_t hovered);

// The whole start state for a drawing area with the given largest coordinates (no window needed).
void initLoop(int32_t lastX, int32_t lastY, uint32_t seed);

// One frame for the given input: keys, view turns, drawing, picking, drags, the animated turn, presentation.
void stepFrame(const FrameInput& input);

// Opens the window and prepares everything; on failure prints "pentagir: <cause>" on stderr and returns false.
bool startUp();

// One frame of the loop with the live mouse and keys; false once Escape is held.
bool runFrame();

void shutDown();

}  // namespace pentagir
