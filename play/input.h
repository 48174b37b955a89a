// The frame's input as every program's loop reads it: the mouse once a frame, the keys a program polls while they
// are held, or the one key a frame of the programs that take keys from the ring; and the pointer as this frame and
// the frame before saw it, whose difference the gestures follow.
#pragma once

#include <cstdint>

namespace play {

// Bits of mouse_buttons() the programs react to.
inline constexpr int32_t buttonLeft = 1;
inline constexpr int32_t buttonRight = 2;

// Whole button masks that the cube programs' gestures compare with: the one button, with no other button and no
// Shift or Ctrl held. Any other combination is neither.
inline constexpr int32_t leftButtonAlone = buttonLeft;
inline constexpr int32_t rightButtonAlone = buttonRight;

// What one frame reads from the window layer, once, at its start.
struct FrameInput {
    int32_t mouseX = 0, mouseY = 0;  // drawing-area pixels (or cells, see readMouse), origin top-left
    int32_t buttons = 0;             // mouse_buttons()
    uint8_t key = 0;                 // take_key(), for a program that takes one key a frame; 0 for none
    // Keys down as the frame starts, for the programs that act for as long as a key is held.
    bool scramble = false, reset = false;                        // A, S
    bool right = false, left = false, up = false, down = false;  // the arrows
    bool spinX = false, spinZ = false;                           // X, Z
};

// The mouse as the layer last saw it, the position in cells of cellScale pixels (1, or anything below 1: pixels);
// no keys.
FrameInput readMouse(int32_t cellScale = 1);

// The mouse, then the held keys: the frame's input of a program that acts while a key is down.
FrameInput readHeldKeys();

// The mouse, then the frame's one key (take_key): the frame's input of a program that takes one key a frame.
FrameInput readOneKey();

// The pointer as this frame and the frame before saw it.
struct Pointer {
    int32_t mouseX = 0, mouseY = 0, buttons = 0;
    int32_t previousX = 0, previousY = 0, previousButtons = 0;
};

// This frame's mouse from its input; the previous frame's stays for the gestures to compare with.
void takeMouse(Pointer& pointer, const FrameInput& input);

// At the end of a frame: this frame's mouse becomes the previous one.
void rememberMouse(Pointer& pointer);

// The button (a bit above) is down in this frame.
constexpr bool held(const Pointer& pointer, int32_t button) { return (pointer.buttons & button) != 0; }

// The edges: down in this frame but not in the one before (pressed), or the other way round (released).
constexpr bool pressed(const Pointer& pointer, int32_t button) {
    return (pointer.buttons & button) != 0 && (pointer.previousButtons & button) == 0;
}
constexpr bool released(const Pointer& pointer, int32_t button) {
    return (pointer.buttons & button) == 0 && (pointer.previousButtons & button) != 0;
}

// The anchor of a left-button drag that goes on from one item under the pointer to the next (a sticker, say): a
// press anchors it on the item under the pointer, a release ends it (-1). Call it in every frame, even one that
// does not follow drags, so that a drag never outlives its button or starts from an earlier press.
void trackPress(int32_t& anchor, const Pointer& pointer, int32_t under);

}  // namespace play
