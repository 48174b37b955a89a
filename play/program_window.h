// The one window every program of the family opens, and the start-up failure they all report the same way.
#pragma once

#include <cstdint>

namespace play {

// What a program draws with: OpenGL on the window, or the layer's own pages (which need no OpenGL context).
enum class Drawing { openGl, pages };

// The scale the window is to open at (window.h's set_window_scale: 1 to 8, 0 for the largest that fits), as the
// command line or TWISTY_SCALE asked for it.
void askWindowScale(int16_t scale);

// Opens the window with 256 palette colours at 640 x 480 under the title, presentation paced to framesPerSecond
// (0: unpaced); with Drawing::openGl, OpenGL drawing then goes to the window. When the window, or the OpenGL that
// the program draws with, cannot be had: prints "<program>: <cause>" on standard error, leaves nothing open and
// returns false. A program without its window could neither be seen nor ended. When the scale asked for does not
// fit on the screen, one line on standard error says which the window got.
bool openProgramWindow(const char* program, const char* title, int16_t framesPerSecond, Drawing drawing);

// The end of every program: turns OpenGL drawing off (Drawing::openGl) and closes the window.
void closeProgramWindow(Drawing drawing);

}  // namespace play
