// What cuboid-a, cuboid-b and cuboid-c say about themselves on --help, and so in their manual pages. The three
// share the controls block, which is the README's too (tests/programs/check_controls.sh holds the two together).
#pragma once

#include <string_view>

#include "cuboid/variant.h"
#include "play/command_line.h"

namespace cuboid {

inline constexpr std::string_view controls = R"controls(
  left drag     From a sticker onto a sticker of another cubie: turns the layer
                through the first cubie across the drag; the pressed sticker
                moves toward where you released. A layer whose cross-section is
                not square turns by half a revolution. cuboid-b paints the
                sticker under the pressed button black.
  right drag    Turns the view, one degree per pixel.
  a             Thirty random turns.
  s             Next size: 2 to 6, then back to 2.
  z, x, c       Make the puzzle one cubie thinner along x, y, z (back to full
                size after 1).
  k             Saves the puzzle to SALVARE.TXT in the working directory.
  l             Loads SALVARE.TXT.
  d             Shows the puzzle as dice (cuboid-a only).
  Escape        Ends the program.
  close button  Saves, and leaves the window open.
)controls";

inline constexpr std::string_view files = R"(
  SALVARE.TXT   The puzzle as k or the close button last saved it, in the
                working directory (the folder the program was started in).
)";

// index = CUBOID_VARIANT
inline constexpr play::ProgramText abouts[3] = {
    {
        .name = variants[0].name,
        .summary = "Cube or cuboid puzzle of up to 6 x 6 x 6 cubies, with a dice mode",
        .description = R"(
Opens a 640 x 480 window titled "ZADOR TOLAN" with a solved cube of 6 x 6 x 6
cubies, drawn by its own perspective projection. Drag across its stickers to
turn layers; scramble it, change its size from 2 to 6, make it a cuboid, show
it as dice, and save it to a file and load it again. Its save file loads in
cuboid-b too, and cuboid-b's in it.
)",
        .controls = controls,
        .files = files,
    },
    {
        .name = variants[1].name,
        .summary = "Cube or cuboid puzzle of up to 6 x 6 x 6 cubies that marks the pressed sticker",
        .description = R"(
Opens a 640 x 480 window titled "ZADOR TOLAN" with a solved cube of 6 x 6 x 6
cubies, drawn by its own perspective projection. Drag across its stickers to
turn layers, the pressed sticker painted black while the button is held;
scramble it, change its size from 2 to 6, make it a cuboid, and save it to a
file and load it again. Its save file loads in cuboid-a too, and cuboid-a's in
it.
)",
        .controls = controls,
        .files = files,
    },
    {
        .name = variants[2].name,
        .summary = "Cube or cuboid puzzle of up to 6 x 6 x 6 cubies with triangle stickers",
        .description = R"(
Opens a 640 x 480 window titled "ZADOR TOLAN" with a solved cube of 6 x 6 x 6
cubies, drawn by its own perspective projection, each sticker as two triangles
and in side colours of its own. Drag across its stickers to turn layers;
scramble it, change its size from 2 to 6, make it a cuboid, and save it to a
file and load it again.
)",
        .controls = controls,
        .files = files,
    },
};

inline constexpr play::ProgramText about = abouts[CUBOID_VARIANT];

}  // namespace cuboid
