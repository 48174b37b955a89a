// Which of the three cuboid programs this build is. The build sets CUBOID_VARIANT (0 cuboid-a, 1 cuboid-b,
// 2 cuboid-c); everything that differs between the three is read from the constexpr table below, so there is no
// runtime switch and each executable carries only its own behaviour.
#pragma once

#include <cstdint>

#include "cubie/cubie.h"
#include "cuboid/configs.h"

#ifndef CUBOID_VARIANT
#error "CUBOID_VARIANT must be set by the build: 0 for cuboid-a, 1 for cuboid-b, 2 for cuboid-c"
#endif

namespace cuboid {

struct Variant {
    const char* name;          // program name, used in the start-up error message
    cubie::CubieConfig model;  // facet shape, side colours, re-filing
    bool hasDiceMode;          // the d key switches the puzzle to dice faces
    bool blackensPressed;      // the facet under the pressed left button is painted black
};

// index = CUBOID_VARIANT
// clang-format off
inline constexpr Variant variants[3] = {
    {.name = "cuboid-a", .model = cuboidAConfig, .hasDiceMode = true,  .blackensPressed = false},
    {.name = "cuboid-b", .model = cuboidBConfig, .hasDiceMode = false, .blackensPressed = true },
    {.name = "cuboid-c", .model = cuboidCConfig, .hasDiceMode = false, .blackensPressed = false},
};
// clang-format on

inline constexpr Variant variant = variants[CUBOID_VARIANT];

using Model = cubie::CubieModel<variant.model>;
using Facet = Model::Facet;

// Corners per facet: 4 for quadrilaterals, 3 for triangles.
inline constexpr int32_t facetCorners = Facet::corners;

}  // namespace cuboid
