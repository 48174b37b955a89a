// Which sticker is under a window pixel: the camera's ray through the pixel against each face's sticker layout.
#pragma once

#include <cstdint>

namespace pentagir {

// Position within a face for a mask of the template edges the picked point is near (bit i: edge from corner i to
// corner i + 1); -1 where no sticker has that shape of neighbourhood.
// clang-format off
constexpr int32_t pickTable[32] = {
    10,  1,  3,  2,  5, -1,  4, -1,
     7, -1, -1, -1,  6, -1, -1, -1,
     9,  0, -1, -1, -1, -1, -1, -1,
     8, -1, -1, -1, -1, -1, -1, -1,
};
// clang-format on

// Sticker drawn under the pixel (mouseX, mouseY) (origin top-left) with this frame's face frames, ignoring any
// turn animation; -1 when the pixel shows no sticker.
int32_t stickerAt(int32_t mouseX, int32_t mouseY);

// state.hoveredSticker from the current pointer.
void pickSticker();

}  // namespace pentagir
