// What the player's input does: the view keys, the left-button drag that turns a layer, and the right-button drag
// that turns the view.
#pragma once

#include <cstdint>

namespace tetragir {

// Input of one frame, read once at its start.
struct FrameInput {
    int32_t mouseX, mouseY;  // drawing-area pixels, origin top-left
    int32_t buttons;         // bit 0 left, bit 1 right
    bool scramble, reset;    // A, S
    bool right, left, up, down, spinX, spinZ;
};

// Held arrows, X and Z turn the view a little every frame; of a pair held together Left, Down and Z win.
void keyboardViewTurn(const FrameInput& input);

// Drags start turns only while no turn is animated; the first frame whose clock reaches the end of the animation
// applies its turn. A press or a release counts in every frame, so a drag begun during a turn starts from where it
// was pressed.
void advanceTurn(const FrameInput& input);

// With the right button held, the view follows the pointer's motion since the last frame.
void rightDragViewTurn(const FrameInput& input);

}  // namespace tetragir
