// What the player's input does: the view keys, the left-button drag that turns a layer, and the right-button drag
// that turns the view.
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

// Row and k (1 or 4) when pressed and hovered are neighbours in the ring of a row, k = 0 otherwise.
struct Move {
    int32_t row, k;
};
Move moveFromDrag(int32_t pressed, int32_t hovered);

// Held arrows, X and Z turn the view a little every frame; of a pair held together the second wins.
void keyboardViewTurn(const FrameInput& input);

// Drags start turns only while no turn is animated; the frame in which an animation ends applies its turn. A press
// or a release counts in every frame, so a drag begun during a turn starts from where it was pressed.
void advanceTurn();

// With the right button held, the view follows the pointer's motion since the last frame.
void rightDragViewTurn();

}  // namespace pentagir
