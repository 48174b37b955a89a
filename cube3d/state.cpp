#include "cube3d/state.h"

namespace cube3d {

ProgramState state;

}  // namespace cube3d
