// A scaled window's pictures enlarged by the X server: the drawing area's pixels live in memory shared with the
// server as a pixmap of the drawing area's size, and the server draws it into the window with each pixel as an
// n x n block. Sending a quarter or less of the window's pixels, and letting the server enlarge them while the
// program draws its next frame, keeps a scaled window about as fast as one of scale 1.
#pragma once

#include <SDL.h>

#include <cstdint>

namespace win {

// Starts the server's enlarging for `window`, whose drawing area is width x height shown `scale` times larger.
// False, with nothing held, when the window is not on an X server that offers shared pixmaps and picture
// transforms for its 24-bit true-colour pixels: the caller then enlarges the pictures itself.
bool startServerScaling(SDL_Window* window, int width, int height, int scale);

// Whether the server enlarges the open window's pictures.
bool serverScaling();

// The drawing area's pixels as the server has them, 0x00RRGGBB, `width` to a row, top row first, for the next
// picture's changes to be written into; waits until the server is done with the last picture shown.
uint32_t* serverScalingPixels();

// Has the server show rows top..bottom, columns left..right of the pixels, enlarged, without waiting for it.
void serverScalingShow(int left, int top, int right, int bottom);

// Lets go of everything the enlarging holds; call before the window is destroyed.
void stopServerScaling();

}  // namespace win
