#include "state.h"

namespace cuboid {

ProgramState state;

}  // namespace cuboid
