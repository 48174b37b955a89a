// Which sticker is under a window pixel: the drawing camera's ray through the pixel against each face.
#pragma once

#include <cstdint>

#include "scene/camera.h"
#include "tetragir/geometry.h"

namespace tetragir {

// Place on a face for face coordinates a, b (0 <= a, b and a + b <= 1, in whole edges).
int32_t placeAt(double a, double b);

// Sticker drawn under the pixel (mouseX, mouseY) (origin top-left) with the stickers unturned, or -1. The ray is
// the drawing camera's own ray through the pixel's centre, so the pick agrees with the picture.
int32_t pickSticker(const scene::Camera& camera, const ViewFrame& view, int32_t mouseX, int32_t mouseY);

}  // namespace tetragir
