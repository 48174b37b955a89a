#include "tetragir/state.h"

namespace tetragir {

ProgramState state;

}  // namespace tetragir
