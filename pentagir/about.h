// What pentagir says about itself on --help, and so in its manual page. The controls block is the README's too
// (tests/programs/check_controls.sh holds the two together).
#pragma once

#include "play/command_line.h"

namespace pentagir {

inline constexpr play::ProgramText about{
    .name = "pentagir",
    .summary = "Dodecahedron puzzle of 12 faces of 11 stickers, drawn with OpenGL",
    .description = R"(
Opens a 640 x 480 window titled "PENTAGIR" with a solved dodecahedron whose
twelve faces hold eleven stickers each, drawn with OpenGL. Drag from sticker
to sticker to turn a layer a fifth of a revolution; turn the view, scramble
the puzzle and reset it.
)",
    .controls = R"controls(
  left drag     From a sticker across the border onto the next sticker of a
                ring: turns that layer a fifth of a revolution, the way the
                drag went, with an eased animation.
  right drag    Turns the view.
  arrows, x, z  Turn the view while held.
  a             Scrambles the puzzle while held.
  s             Resets the puzzle while held.
  Escape        Ends the program.
)controls",
    .files = "",
};

}  // namespace pentagir
