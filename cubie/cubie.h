// The cubie model as a cube program uses it: the model with its build and turns (model.h), the save file
// (save_file.h) and the drag-to-turn rule (drag.h). A program defines its own CubieConfig and instantiates
// CubieModel with it.
#pragma once

#include "drag.h"
#include "facets.h"
#include "model.h"
#include "save_file.h"
