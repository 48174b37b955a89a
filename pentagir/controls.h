// What the player's input does: the held keys, the left-button drag that turns a layer, and the view turns.
#pragma once

#include "play/input.h"
#include "play/view_turn.h"

namespace pentagir {

using play::FrameInput;

// The view turned as a frame's view turn says.
void turnView(const play::ViewTurn& turn);

// Drags start turns only while no turn is animated; the frame in which an animation ends applies its turn. A press
// or a release counts in every frame, so a drag begun during a turn starts from where it was pressed.
void advanceTurn();

// With the right button held, the view follows the pointer's motion since the last frame.
void rightDragViewTurn();

}  // namespace pentagir
