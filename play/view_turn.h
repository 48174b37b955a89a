// The view turns. Of the programs whose view is a free rotation, kept as the three rows x, y, z of its basis (a
// model vector m shows in view space as x . m, y . m, z . m; the eye looks along +z): held view keys turn it a little
// every frame, and a right-button drag turns it as far as the pointer moved. Each comes as the angles to turn the
// basis by in three of its planes; the program turns its own basis with them, in this order:
//   the plane of z and x by across (rotatePair(z, x, across)),
//   the plane of z and y by upDown (rotatePair(z, y, upDown)),
//   and, when spins, the plane of x and y by spin (rotatePair(x, y, spin)).
// And of the programs whose view is a pair of whole-degree angles, which a right-button drag moves.
#pragma once

#include <cstdint>

#include "play/input.h"

namespace play {

inline constexpr double viewKeyStep = 2.0;   // times the clock step: 0.002 radian a frame while a view key is held
inline constexpr double viewDragTurn = 8.0;  // radians for a right-button drag across the whole drawing area

// Radians to turn the view basis by in each of its planes, in the order above.
struct ViewTurn {
    double across, upDown, spin;
    bool spins;
};

// The held arrows, X and Z: viewKeyStep times the clock step each, every frame, in all three planes even when no
// key is held. Right, Up and X turn by +, Left, Down and Z by -; of a pair held together Left, Down and Z win. On
// the screen Right moves the near side to the left, Up moves it up, X turns the picture counter-clockwise.
ViewTurn keyViewTurn(const FrameInput& input, double clockStep);

// A right-button drag: the pointer's motion since the frame before, viewDragTurn radians for the whole width or
// height of a drawing area whose largest coordinates are lastX, lastY; the near side follows the pointer. No spin.
ViewTurn dragViewTurn(const Pointer& pointer, int32_t lastX, int32_t lastY);

// The whole-degree view drag: while the right button alone is held (rightButtonAlone: no other button, no Shift or
// Ctrl), adds the pointer's motion since the frame before to across (x) and upDown (y), one degree per pixel, or per
// cell for a program that reads the pointer in cells; returns whether it did. No limit and no wrap: a program that
// keeps its angles in a range wraps them itself.
bool dragDegrees(const Pointer& pointer, int32_t& across, int32_t& upDown);

}  // namespace play
