// The keys the cube programs share: scramble, save, load, the next size and one layer fewer along an axis. What
// each does to the puzzle is the same in every program; the letters are each program's own (cube3d and the cuboid
// programs thin x and y with different letters), and a program without some of these keys leaves their letters 0.
#pragma once

#include <cstdint>

#include "cubie/model.h"
#include "cubie/save_file.h"

namespace cubie {

// Random turns the scramble key queues; pressing it again during them starts the count over.
inline constexpr int32_t scrambleTurns = 30;

enum class KeyAction : int32_t { none, scramble, save, load, size, shapeX, shapeY, shapeZ };

// A program's key byte for each action, 0 for an action it has no key for. Letters are lower case only.
struct KeyLetters {
    uint8_t scramble = 0, save = 0, load = 0, size = 0, shapeX = 0, shapeY = 0, shapeZ = 0;
};

// The action a key byte asks for under a program's letters: none for 0 (no key this frame) and for any byte that
// is no letter of these keys.
constexpr KeyAction keyAction(const KeyLetters& letters, uint8_t key) {
    if (key == 0) return KeyAction::none;
    if (key == letters.scramble) return KeyAction::scramble;
    if (key == letters.save) return KeyAction::save;
    if (key == letters.load) return KeyAction::load;
    if (key == letters.size) return KeyAction::size;
    if (key == letters.shapeX) return KeyAction::shapeX;
    if (key == letters.shapeY) return KeyAction::shapeY;
    if (key == letters.shapeZ) return KeyAction::shapeZ;
    return KeyAction::none;
}

// Does to the puzzle what the action asks: queues the scramble, writes the save file, asks for a load, or sets
// the next size or a thinner shape. Returns true when the puzzle must now be rebuilt (load, size, shape); the
// caller rebuilds, so that after a build that succeeded it can put its own view back, and after a load that
// failed calls reportRefusedLoad. A failed save is reported here, under the program's name.
template <CubieConfig C>
bool applyKeyAction(CubieModel<C>& m, KeyAction action, const char* program) {
    switch (action) {
        case KeyAction::none: return false;
        case KeyAction::scramble: m.scrambleLeft = scrambleTurns; return false;
        // A failed save leaves the previous file as it was; the player is told, and can simply save again.
        case KeyAction::save: reportFailure(program, saveFileName, true, saveState(m)); return false;
        case KeyAction::load: m.loadRequested = true; return true;
        case KeyAction::size: growGrid(m); return true;
        case KeyAction::shapeX: shrinkAxis(m, 0); return true;
        case KeyAction::shapeY: shrinkAxis(m, 1); return true;
        case KeyAction::shapeZ: shrinkAxis(m, 2); return true;
    }
    return false;
}

// Says on standard error why the load that the load key asked for was refused (the puzzle shows no change).
template <CubieConfig C>
void reportRefusedLoad(const CubieModel<C>& m, const char* program) {
    reportFailure(program, saveFileName, false, m.loadSpace.result);
}

}  // namespace cubie
