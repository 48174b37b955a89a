#include "cubesolve/state.h"

namespace cubesolve {

ProgramState state;

}  // namespace cubesolve
