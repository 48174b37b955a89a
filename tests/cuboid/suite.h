// Test suites are named after the program the test binary is built for, so ctest lists each program's cases
// apart.
#pragma once

#if CUBOID_VARIANT == 0
#define SUITE(name) CuboidA##name
#elif CUBOID_VARIANT == 1
#define SUITE(name) CuboidB##name
#else
#define SUITE(name) CuboidC##name
#endif
