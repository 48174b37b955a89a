#include "play/program_window.h"

#include <cstdio>

#include "window/window.h"

namespace play {

namespace {
int16_t askedScale = 1;
}  // namespace

void askWindowScale(int16_t scale) {
    askedScale = scale;
    set_window_scale(scale);
}

bool openProgramWindow(const char* program, const char* title, int16_t framesPerSecond, Drawing drawing) {
    set_frame_rate(framesPerSecond);
    int16_t driver = driverPalette, mode = size640x480;
    open_window(driver, mode, title);
    bool usable = graph_status() == grOk || (drawing == Drawing::pages && graph_status() == grNoOpenGL);
    if (usable && drawing == Drawing::openGl) {
        set_gl_drawing(true);
        usable = graph_status() == grOk;
    }
    if (!usable) {
        std::fprintf(stderr, "%s: %s\n", program, window_error()[0] != '\0' ? window_error() : "no OpenGL drawing");
        close_window();  // a window without OpenGL stays open otherwise
        return false;
    }
    if (askedScale > window_scale())
        std::fprintf(stderr, "%s: scale %d does not fit on the screen; the window has scale %d\n", program,
                     static_cast<int>(askedScale), static_cast<int>(window_scale()));
    return true;
}

void closeProgramWindow(Drawing drawing) {
    if (drawing == Drawing::openGl) set_gl_drawing(false);
    close_window();
}

}  // namespace play
