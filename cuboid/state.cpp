#include "cuboid/state.h"

namespace cuboid {

ProgramState state;

}  // namespace cuboid
