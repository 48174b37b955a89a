#include "scene/polygon_batch.h"

#include <GL/gl.h>

namespace scene {
namespace {

// Outlines get depths a hair nearer than their fills (about 0.005 units at a distance of 30 with near 4 and far
// 900, far below a pixel), or the less-than depth test would hide half their pixels behind the fill at the same
// depth. A constant polygon offset would not do for polygons seen head-on: its unit depends on the depth buffer,
// and with 32 depth bits it is far below the rounding of the interpolated depths.
constexpr double outlineDepthFar = 1.0 - 2e-5;

void fillState() {
    glEnable(GL_DEPTH_TEST);
    // Each polygon has one colour; flat shading stops interpolation from rounding 128/256 to 127 in some pixels
    // and 128 in others.
    glShadeModel(GL_FLAT);
    // Seen at a grazing angle the depth changes fast across a pixel, and a line's depth is sampled along the line
    // rather than at the pixel centre: push fills back by their depth slope as well.
    glEnable(GL_POLYGON_OFFSET_FILL);
    glPolygonOffset(1.0f, 0.0f);
}

// Outlines win ties against fills whichever is drawn first, so the picture does not depend on whether outlines
// come after each fill or after all of them.
void outlineDepth(bool on) {
    glDepthRange(0.0, on ? outlineDepthFar : 1.0);
    glDepthFunc(on ? GL_LEQUAL : GL_LESS);
}

}  // namespace

void drawPolygonsBatched(const PolygonArrays& arrays, const float outlineRgb[3], float lineWidth) {
    fillState();
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, arrays.position);
    glColorPointer(3, GL_FLOAT, 0, arrays.colour);
    glDrawElements(GL_TRIANGLES, arrays.fillCount, GL_UNSIGNED_SHORT, arrays.fill);
    glDisableClientState(GL_COLOR_ARRAY);
    if (outlineRgb) {
        glColor3fv(outlineRgb);
        glLineWidth(lineWidth);
        outlineDepth(true);
        glDepthMask(GL_FALSE);
        glDrawElements(GL_LINES, arrays.lineCount, GL_UNSIGNED_SHORT, arrays.line);
        glDepthMask(GL_TRUE);
        outlineDepth(false);
    }
    glDisableClientState(GL_VERTEX_ARRAY);
}

void drawPolygonsImmediate(const PolygonArrays& arrays, const float outlineRgb[3], float lineWidth) {
    fillState();
    glLineWidth(lineWidth);
    int32_t first = 0;
    for (int32_t p = 0; p < arrays.polygonCount; ++p) {
        int32_t corners = arrays.cornerCount[p];
        glColor3fv(arrays.colour[first]);
        glBegin(GL_POLYGON);
        for (int32_t i = 0; i < corners; ++i) glVertex3fv(arrays.position[first + i]);
        glEnd();
        if (outlineRgb) {
            glColor3fv(outlineRgb);
            outlineDepth(true);
            glBegin(GL_LINE_LOOP);
            for (int32_t i = 0; i < corners; ++i) glVertex3fv(arrays.position[first + i]);
            glEnd();
            outlineDepth(false);
        }
        first += corners;
    }
}

}  // namespace scene
