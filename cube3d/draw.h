// The picture: the orbiting camera, each record's colour resolved in record order, and the OpenGL drawing of the
// frame, with the pick (picking.h) between the camera and the colours.
#pragma once

#include <cstdint>

#include "scene/polygon_batch.h"

namespace cube3d {

// The camera of this frame from cameraYaw and cameraPitch: eye (-720 sin yaw cos pitch, 720 sin pitch,
// 720 cos yaw cos pitch) looking at the origin with up (0, cos pitch, 0), composed in double precision, so that a
// pitch of 90 degrees, where up all but vanishes, still gives a whole picture and a working pick.
void composeCamera();

// Resolves every record's colour in record order, after the pick: its code's colour, the colour before it for a
// code without one, the highlight when darkened.
void resolveColours();

// Drawing one frame, after resolveColours. Batched, it leaves out what no pixel needs: records whose corners
// coincide, the faces of each closed cubie box that turn away from the eye (its own front faces cover them), and
// front faces that the next layer of cubies towards the eye hides from every ray; batchedWhole sends every record.
// One at a time, all records go in one immediate quad list in record order. All give the same pixels, except where
// the immediate drawing lets a hidden back face win a pixel on its own box's outline by depth rounding; the tests
// hold them to that.
void drawPuzzle(scene::DrawingMode mode);

// Number of quads the batched drawing sent in its last frame.
int32_t batchedQuadCount();

// One frame's picture: camera, pick and colours, the drawing the way state.drawingMode says, glFlush and
// present_frame(presentSwap). Leaves pickedCubie and pickedFace for the gestures.
void drawCube(bool pickActive, int32_t mouseX, int32_t mouseY);

}  // namespace cube3d
