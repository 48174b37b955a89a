// What cube3d says about itself on --help, and so in its manual page. The controls block is the README's too
// (tests/programs/check_controls.sh holds the two together).
#pragma once

#include "play/command_line.h"

namespace cube3d {

inline constexpr play::ProgramText about{
    .name = "cube3d",
    .summary = "Cube or cuboid puzzle of up to 10 x 10 x 10 cubies, drawn with OpenGL",
    .description = R"(
Opens a 640 x 480 window titled "ZADOR TOLAN" with a solved cube of
10 x 10 x 10 cubies, drawn with OpenGL from a camera that orbits it. Drag
across its stickers to turn layers; scramble it, change its size from 2 to 10,
make it a cuboid, and save it to a file and load it again.
)",
    .controls = R"controls(
  left drag     From a sticker onto a sticker of another cubie: turns the layer
                through the first cubie across the drag, so that the pressed
                sticker moves toward where you released; while the button is
                held the sticker under the pointer shows dark. A layer whose
                cross-section is not square turns by half a revolution; a
                quarter turn lasts 0.75 s.
  right drag    Orbits the camera, one degree per pixel.
  a             Thirty random turns.
  s             Next size: 2 to 10, then back to 2.
  x, z, c       Make the puzzle one cubie thinner along x, y, z (back to full
                size after 1).
  k             Saves the puzzle to SALVARE.TXT in the working directory.
  l             Loads SALVARE.TXT; a missing or damaged file changes nothing.
  Escape        Ends the program.
  close button  Saves, and leaves the window open.
)controls",
    .files = R"(
  SALVARE.TXT   The puzzle as k or the close button last saved it, in the
                working directory (the folder the program was started in).
)",
};

}  // namespace cube3d
