#include "play/input.h"

#include "window/window.h"

namespace play {

// The reads come in one order in every program: the mouse, then the keys. The layer answers a frame's reads from
// one collection of the window's events, so they all see the same moment.
FrameInput readMouse(int32_t cellScale) {
    const int32_t scale = cellScale > 0 ? cellScale : 1;
    FrameInput in;
    in.mouseX = mouse_x() / scale;
    in.mouseY = mouse_y() / scale;
    in.buttons = mouse_buttons();
    return in;
}

FrameInput readHeldKeys() {
    FrameInput in = readMouse();
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

FrameInput readOneKey() {
    FrameInput in = readMouse();
    in.key = take_key();
    return in;
}

void takeMouse(Pointer& pointer, const FrameInput& input) {
    pointer.mouseX = input.mouseX;
    pointer.mouseY = input.mouseY;
    pointer.buttons = input.buttons;
}

void rememberMouse(Pointer& pointer) {
    pointer.previousX = pointer.mouseX;
    pointer.previousY = pointer.mouseY;
    pointer.previousButtons = pointer.buttons;
}

void trackPress(int32_t& anchor, const Pointer& pointer, int32_t under) {
    if (!held(pointer, buttonLeft)) anchor = -1;
    else if (pressed(pointer, buttonLeft)) anchor = under;
}

}  // namespace play
