// tetragir as a program: start-up, one frame of the loop with the live mouse and keys, the end.
#pragma once

namespace tetragir {

// Opens the window with OpenGL and prepares everything; when either cannot be had it prints
// "tetragir: <cause>" on standard error, leaves nothing open and returns false.
bool startUp();

// One frame; false once Escape is held, after the frame has been shown.
bool runFrame();

void shutDown();

}  // namespace tetragir
