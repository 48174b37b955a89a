#include "program.h"

#include <chrono>
#include <cstdio>

#include "controls.h"
#include "window.h"

namespace tetragir {

namespace {

uint32_t tickCount() {
    auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
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

}  // namespace

bool startUp() {
    int16_t driver = 3, mode = 4;
    open_window(driver, mode, "TETRAGIR");
    if (graph_status() == grOk) set_gl_drawing(true);
    if (graph_status() != grOk) {
        // Without a window or its OpenGL the loop could neither be seen nor ended.
        std::fprintf(stderr, "tetragir: %s\n", window_error()[0] != '\0' ? window_error() : "no OpenGL drawing");
        close_window();
        return false;
    }
    set_frame_rate(0);  // every motion is counted in frames: a turn lasts as long as 2500 frames take to draw
    initLoop(window_last_x(), window_last_y(), tickCount());
    setupView(game.camera);
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

}  // namespace tetragir
