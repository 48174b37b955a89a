#include "scene/polygon_batch.h"

#include <GL/gl.h>

namespace scene {
namespace {

// Outlines on the fills get depths a hair nearer than their fills (about 0.005 units at a distance of 30 with near
// 4 and far 900, far below a pixel), or the less-than depth test would hide half their pixels behind the fill at
// the same depth. A constant polygon offset would not do for polygons seen head-on: its unit depends on the depth
// buffer, and with 32 depth bits it is far below the rounding of the interpolated depths.
constexpr double outlineDepthFar = 1.0 - 2e-5;

void fillState(Outlines outlines) {
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    // Each polygon has one colour; flat shading stops interpolation from rounding 128/256 to 127 in some pixels
    // and 128 in others.
    glShadeModel(GL_FLAT);
    if (outlines == Outlines::placed) {
        glDisable(GL_POLYGON_OFFSET_FILL);
        return;
    }
    // Seen at a grazing angle the depth changes fast across a pixel, and a line's depth is sampled along the line
    // rather than at the pixel centre: push fills back by their depth slope as well.
    glEnable(GL_POLYGON_OFFSET_FILL);
    glPolygonOffset(1.0f, 0.0f);
}

// Outlines on the fills win ties against fills whichever is drawn first, so the picture does not depend on whether
// outlines come after each fill or after all of them.
void outlineDepth(Outlines outlines, bool on) {
    if (outlines == Outlines::placed) return;
    glDepthRange(0.0, on ? outlineDepthFar : 1.0);
    glDepthFunc(on ? GL_LEQUAL : GL_LESS);
}

void drawPrimitive(GLenum mode, const float (*corner)[3], int32_t count) {
    glBegin(mode);
    for (int32_t i = 0; i < count; ++i) glVertex3fv(corner[i]);
    glEnd();
}

}  // namespace

void drawPolygonsBatched(const PolygonArrays& arrays, const float outlineRgb[3], float lineWidth, Outlines outlines) {
    fillState(outlines);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, arrays.position);
    glColorPointer(3, GL_FLOAT, 0, arrays.colour);
    glDrawElements(GL_TRIANGLES, arrays.fillCount, GL_UNSIGNED_SHORT, arrays.fill);
    glDisableClientState(GL_COLOR_ARRAY);
    if (outlineRgb) {
        glColor3fv(outlineRgb);
        glLineWidth(lineWidth);
        glVertexPointer(3, GL_FLOAT, 0, arrays.outlinePosition);
        outlineDepth(outlines, true);
        glDepthMask(GL_FALSE);
        glDrawElements(GL_LINES, arrays.lineCount, GL_UNSIGNED_SHORT, arrays.line);
        glDepthMask(GL_TRUE);
        outlineDepth(outlines, false);
    }
    glDisableClientState(GL_VERTEX_ARRAY);
}

void drawPolygonsImmediate(const PolygonArrays& arrays, const float outlineRgb[3], float lineWidth, Outlines outlines) {
    fillState(outlines);
    glLineWidth(lineWidth);
    const int32_t passes = outlines == Outlines::placed ? 2 : 1;
    for (int32_t pass = 0; pass < passes; ++pass) {
        int32_t first = 0;
        for (int32_t p = 0; p < arrays.polygonCount; first += arrays.cornerCount[p++]) {
            const int32_t corners = arrays.cornerCount[p];
            if (pass == 0) {
                glColor3fv(arrays.colour[first]);
                drawPrimitive(GL_POLYGON, arrays.position + first, corners);
            }
            if (!outlineRgb || pass + 1 < passes) continue;
            glColor3fv(outlineRgb);
            outlineDepth(outlines, true);
            drawPrimitive(GL_LINE_LOOP, arrays.outlinePosition + first, corners);
            outlineDepth(outlines, false);
        }
    }
}

}  // namespace scene
