// The picture and the pick: the orbiting camera, the ray under the pointer tested against every facet, each
// record's colour resolved in record order, and the OpenGL drawing of the frame.
#pragma once

#include <cstdint>

#include "scene/vec.h"
#include "cube3d/state.h"

namespace cube3d {

// The camera of this frame from cameraYaw and cameraPitch: eye (-720 sin yaw cos pitch, 720 sin pitch,
// 720 cos yaw cos pitch) looking at the origin with up (0, cos pitch, 0), composed in double precision, so that a
// pitch of 90 degrees, where up all but vanishes, still gives a whole picture and a working pick.
void composeCamera();

// Where the ray meets the facet Q0..Q3 (corners in record order): true with the distance from R0 when it meets the
// facet's plane between R0 and R1 strictly inside all four edges. A point exactly on an edge misses, and so does
// every facet whose corners coincide (no plane).
bool rayMeetsFacet(const scene::Vec3 q[4], scene::Vec3 r0, scene::Vec3 r1, double& distance);

// Resets the pick; when pickActive, casts the ray under the mouse pixel and picks the nearest facet it meets,
// darkening every facet that was the nearest so far when its turn in record order came. Resolves every record's
// colour in record order: its code's colour, the colour before it for a code without one, the highlight when
// darkened.
void pickAndResolve(bool pickActive, int32_t mouseX, int32_t mouseY);

// Drawing one frame, after pickAndResolve. The quick way leaves out what no pixel needs: records whose corners
// coincide, the faces of each closed cubie box that turn away from the eye (its own front faces cover them), and
// front faces that the next layer of cubies towards the eye hides from every ray. The reference way sends all
// records in one quad list in record order. Both give the same pixels, except where the reference lets a hidden
// back face win a pixel on its own box's outline by depth rounding; the tests hold them to that.
void drawQuick();
void drawReference();

// Number of quads the quick way drew in its last frame.
int32_t quickQuadCount();

// False makes drawCube draw the reference way (for measuring and tests).
extern bool quickDrawing;

// One frame's picture: camera, pick and colours, the drawing, glFlush and present_frame(presentSwap). Leaves pickedCubie
// and pickedFace for the gestures.
void drawCube(bool pickActive, int32_t mouseX, int32_t mouseY);

}  // namespace cube3d
