#include "cubie/drag.h"

#include "cubie/facets.h"
#include "play/input.h"

namespace cubie {
namespace {

using play::leftButtonAlone;

int32_t signOf(int32_t v) { return (v > 0) - (v < 0); }

}  // namespace

// Later coordinates override earlier ones, so a diagonal drag is decided by the last coordinate that differs in
// the order z, y, x. For a start on an x side (face 2 or 3) a difference in x picks no axis and no sense: the
// sense stays with the coordinate that chose the axis, and when only x differs there is none (sense 0), so the
// period with nothing moving runs at the previous turnStep and the scramble keeps going the way it went.
DragTurn turnFromDrag(int32_t startSlot, int32_t startFace, int32_t endSlot, int32_t n) {
    constexpr DragTurn none{false, -1, -1, 0};
    if (n < 1 || startSlot == endSlot || startFace < 0 || startFace > 5) return none;
    if (startSlot < 0 || endSlot < 0 || startSlot >= n * n * n || endSlot >= n * n * n) return none;
    int32_t s[3], e[3];
    slotCoordinates(n, startSlot, s);
    slotCoordinates(n, endSlot, e);
    const int32_t group = startFace / 2;  // 0: z sides, 1: x sides, 2: y sides
    const int32_t sgn = startFace % 2 == 0 ? 1 : -1;
    DragTurn turn{true, -1, -1, 0};
    if (s[2] != e[2]) {
        if (group == 2) turn.axis = 0, turn.layer = s[0];
        if (group == 1) turn.axis = 1, turn.layer = s[1];
        turn.sense = sgn * signOf(s[2] - e[2]);
    }
    if (s[1] != e[1]) {
        if (group == 1) turn.axis = 2, turn.layer = s[2];
        if (group == 0) turn.axis = 0, turn.layer = s[0];
        turn.sense = sgn * signOf(s[1] - e[1]);
    }
    if (s[0] != e[0] && group != 1) {
        const int32_t factor = group == 0 ? 1 : -1;
        if (group == 0) turn.axis = 1, turn.layer = s[1];
        if (group == 2) turn.axis = 2, turn.layer = s[2];
        turn.sense = sgn * factor * signOf(s[0] - e[0]);
    }
    return turn;
}

// The start lives only while the left button is held alone after the press that recorded it: a press over
// nothing (or while a turn runs, when nothing is picked) records no start, and any frame without the left button
// alone ends the drag. Otherwise a later release would turn the layer of a cubie pressed long ago.
DragTurn followDrag(int32_t& startCubie, int32_t& startFace, int32_t pickedCubie, int32_t pickedFace, int32_t buttons,
                    int32_t previousButtons, int32_t n) {
    constexpr DragTurn none{false, -1, -1, 0};
    const bool picked = pickedCubie >= 0 && pickedFace >= 0;
    if (buttons == leftButtonAlone) {
        if (previousButtons == 0) {
            startCubie = picked ? pickedCubie : -1;
            startFace = picked ? pickedFace : -1;
        }
        return none;
    }
    const bool released = previousButtons == leftButtonAlone && buttons == 0;
    const DragTurn turn = released && picked ? turnFromDrag(startCubie, startFace, pickedCubie, n) : none;
    startCubie = startFace = -1;
    return turn;
}

bool pickAllowed(bool turning, int32_t buttons, int32_t previousButtons) {
    return !turning && (buttons == leftButtonAlone || previousButtons == leftButtonAlone);
}

}  // namespace cubie
