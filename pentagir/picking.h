// Which sticker is under a window pixel: the camera's ray through the pixel against each face's sticker layout.
#pragma once

#include <cstdint>

#include "pentagir/geometry.h"
#include "scene/camera.h"

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

// Sticker drawn under the pixel (mouseX, mouseY) (origin top-left) with the face frames given, ignoring any turn
// animation; -1 when the pixel shows no sticker. The ray is the drawing camera's own ray through the pixel's
// centre, so the pick agrees with the picture.
int32_t pickSticker(const scene::Camera& camera, const FaceFrames& faces, int32_t mouseX, int32_t mouseY);

}  // namespace pentagir
