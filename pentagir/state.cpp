#include "pentagir/state.h"

namespace pentagir {

ProgramState state;

}  // namespace pentagir
