// What tetragir says about itself on --help, and so in its manual page. The controls block is the README's too
// (tests/programs/check_controls.sh holds the two together).
#pragma once

#include "play/command_line.h"

namespace tetragir {

inline constexpr play::ProgramText about{
    .name = "tetragir",
    .summary = "Tetrahedron puzzle of 4 faces of 9 stickers, drawn with OpenGL",
    .description = R"(
Opens a 640 x 480 window titled "TETRAGIR" with a solved tetrahedron whose
four faces hold nine stickers each, drawn with OpenGL. Drag from sticker to
sticker to turn a tip or a corner a third of a revolution; turn the view,
scramble the puzzle and reset it.
)",
    .controls = R"controls(
  left drag     From a sticker across its border onto a neighbouring sticker:
                two tips at one corner turn that tip a third of a revolution,
                carrying the first sticker onto the second; two neighbours in
                the ring around a corner's tip turn the tip with that ring a
                third, the first sticker moving towards the second. The two
                edge stickers facing each other across an edge of the
                tetrahedron turn nothing. Turns are animated.
  right drag    Turns the view.
  arrows, x, z  Turn the view while held.
  a             Scrambles the puzzle while held.
  s             Resets the puzzle while held.
  Escape        Ends the program.
)controls",
    .files = "",
};

}  // namespace tetragir
