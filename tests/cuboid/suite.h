// Test suites are named after the program the test binary is built for, so ctest lists each program's cases
// apart.
#pragma once

#if CUBOID_VARIANT == 0
#define SUITE(name) CuboidA_##name
#elif CUBOID_VARIANT == 1
#define SUITE(name) CuboidB_##name
#else
#define SUITE(name) CuboidC_##name
#endif
