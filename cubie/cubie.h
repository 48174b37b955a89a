// The cubie model as a cube program uses it: the model with its build and turns (model.h), the save file
// (save_file.h), the drag-to-turn rule (drag.h), the keys the programs share (keys.h) and the painter's order of
// the programs that draw on pages (depth_sort.h). A program defines its own CubieConfig and instantiates
// CubieModel with it.
#pragma once

#include "cubie/depth_sort.h"
#include "cubie/drag.h"
#include "cubie/facets.h"
#include "cubie/keys.h"
#include "cubie/model.h"
#include "cubie/save_file.h"
