// The drag-to-turn rule of the cube programs: which layer a left-button drag from one cubie to another turns, and
// which way.
#pragma once

#include <cstdint>

namespace cubie {

// A layer turn chosen by a drag: axis 0-2 or -1 (a turn period in which nothing moves), layer index, and sense
// +1 or -1 (the sign of turnStep), or 0 when the drag gives no sense and the turn keeps the model's turnStep.
// valid is false when the drag starts no turn at all.
struct DragTurn {
    bool valid;
    int32_t axis;
    int32_t layer;
    int32_t sense;
};

// The left button went down on face startFace of slot startSlot and came up over slot endSlot, in a grid of edge
// n. A drag on one side turns the layer through the start cubie across the drag, so that the pressed sticker
// moves toward the released one. Releasing on the same slot gives valid = false. The turn's turnStep is
// stepSize * sense.
DragTurn turnFromDrag(int32_t startSlot, int32_t startFace, int32_t endSlot, int32_t n);

// The drag gesture of one frame; pickedCubie and pickedFace name the facet under the pointer (either negative:
// nothing). The left button alone going down over a facet records the start; the left button coming up over
// another cubie gives the turn turnFromDrag chooses. buttons are the layer's mouse bits, so Shift, Ctrl or a second
// button spoil a press or a release. A press over nothing records no start (startCubie -1), so its release turns
// nothing, and every frame without the left button alone clears the start: no drag outlives its press.
DragTurn followDrag(int32_t& startCubie, int32_t& startFace, int32_t pickedCubie, int32_t pickedFace, int32_t buttons,
                    int32_t previousButtons, int32_t n);

// Whether a frame picks the facet under the pointer at all: only while no turn runs and the left button alone is
// down now or was down in the previous frame (the press and the release of a drag).
bool pickAllowed(bool turning, int32_t buttons, int32_t previousButtons);

}  // namespace cubie
