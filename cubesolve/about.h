// What cubesolve says about itself on --help, and so in its manual page. The controls block is the README's too
// (tests/programs/check_controls.sh holds the two together).
#pragma once

#include "play/command_line.h"

namespace cubesolve {

inline constexpr play::ProgramText about{
    .name = "cubesolve",
    .summary = "Cube puzzle of 2 to 5 cubies a side that plays patterns and solves itself",
    .description = R"(
Opens a 640 x 480 window titled "ZADOR LUI TOLAN" with a solved cube of
3 x 3 x 3 cubies, drawn by its own projection in cells of 2 x 2 pixels. Drag
across its stickers to turn layers; scramble it, change its size from 2 to 5,
watch one of eight patterns played turn by turn, and let it solve the
3 x 3 x 3 cube layer by layer.
)",
    .controls = R"controls(
  left drag     From a sticker onto a sticker of another cubie: turns the layer
                through the first cubie a quarter turn across the drag; the
                pressed sticker moves toward where you released.
  right drag    Turns the view, one degree per two pixels.
  a             Thirty random quarter turns, one after another.
  m             Plays one of eight patterns, every turn shown.
  r             Solves the cube layer by layer, every turn shown (3 x 3 x 3
                only).
  s, Ctrl+Left  Next size: 2 to 5, then back to 2.
  Escape        Ends the program.
  close button  Does nothing.

  Keys are read between turns, patterns and solves. A key pressed during a
  solve ends it early, after the step it is in, and then takes effect.
)controls",
    .files = "",
};

}  // namespace cubesolve
