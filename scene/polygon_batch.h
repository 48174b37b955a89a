// A fixed-capacity batch of flat-coloured convex polygons, drawn as fills and then outlines: batched in two
// OpenGL calls, or one primitive at a time as the reference the batched path must match pixel for pixel.
#pragma once

#include <cassert>
#include <cstdint>

namespace scene {

// How a program draws its frame: batched, leaving out what no pixel of the picture needs (what a player sees);
// batched, everything; or everything one primitive at a time, the reference the other two must match.
enum class DrawingMode : uint8_t { batched, batchedWhole, oneAtATime };

// How outlines keep in front of their own fills.
enum class Outlines : uint8_t {
    // On the fills' own corners: fills are pushed back by their depth slope and outlines drawn a hair nearer,
    // winning ties, which suits thin lines. The reference draws each polygon's fill and then its outline.
    onFills,
    // On the corners the program put in outlinePosition (a wide line pulled towards the eye, say), under the plain
    // less-than depth test. The reference draws all fills, then all outlines.
    placed,
};

// A batch's contents as the drawing functions read them.
struct PolygonArrays {
    const float (*position)[3];
    const float (*outlinePosition)[3];  // position itself unless the outlines are placed
    const float (*colour)[3];           // per vertex: every corner of a polygon carries its fill colour
    const uint8_t* cornerCount;         // per polygon, in list order
    int32_t polygonCount;
    const uint16_t* fill;  // fill triangles, three vertex numbers each
    int32_t fillCount;
    const uint16_t* line;  // outline segments, two vertex numbers each
    int32_t lineCount;
};

// The drawing behind PolygonBatch, kept out of the template so that only one file sees OpenGL. Both leave the
// depth test and flat shading enabled, and for outlines on the fills the fills' polygon offset too. outlineRgb
// nullptr draws the fills only.
void drawPolygonsBatched(const PolygonArrays& arrays, const float outlineRgb[3], float lineWidth, Outlines outlines);
void drawPolygonsImmediate(const PolygonArrays& arrays, const float outlineRgb[3], float lineWidth, Outlines outlines);

template <int32_t MaxPolygons, int32_t MaxCorners, Outlines outlines = Outlines::onFills>
struct PolygonBatch {
    static_assert(MaxPolygons > 0 && MaxCorners >= 3 && MaxCorners <= 255, "convex polygons of 3 to 255 corners");
    static_assert(MaxPolygons * MaxCorners <= 65536, "vertex numbers are 16-bit");
    static constexpr int32_t maxVertices = MaxPolygons * MaxCorners;

    // Starts a new frame's list.
    void clear() { polygonCount = vertexCount = fillCount = lineCount = 0; }

    // Appends one convex polygon (corners in drawing order, already in the space the camera expects) with its fill
    // colour (r, g, b in 0..1). Asserts on overflow; a release build drops the polygon rather than write past the
    // arrays.
    // segments: bit i draws the outline's segment from corner i to the next, and filled draws the fill, in the
    // batched drawing; the immediate one draws every polygon whole.
    void add(const float corners[][3], int32_t cornerCount, const float rgb[3], uint32_t segments = ~0u,
             bool filled = true) {
        assert(polygonCount < MaxPolygons && "PolygonBatch: more polygons than its capacity");
        assert(cornerCount >= 3 && cornerCount <= MaxCorners && "PolygonBatch: corner count out of range");
        if (polygonCount >= MaxPolygons || cornerCount < 3 || cornerCount > MaxCorners) return;
        // Triangles fan out from the first corner; each outline is a closed chain of segments.
        for (int32_t i = 1; filled && i + 1 < cornerCount; ++i) {
            fill[fillCount++] = static_cast<uint16_t>(vertexCount + i);
            fill[fillCount++] = static_cast<uint16_t>(vertexCount + i + 1);
            fill[fillCount++] = static_cast<uint16_t>(vertexCount);
        }
        for (int32_t i = 0; i < cornerCount; ++i) {
            if (segments >> i & 1u) {
                line[lineCount++] = static_cast<uint16_t>(vertexCount + i);
                line[lineCount++] = static_cast<uint16_t>(vertexCount + (i + 1) % cornerCount);
            }
            for (int32_t c = 0; c < 3; ++c) {
                position[vertexCount + i][c] = corners[i][c];
                colour[vertexCount + i][c] = rgb[c];
            }
        }
        vertexCount += cornerCount;
        cornerCounts[polygonCount++] = static_cast<uint8_t>(cornerCount);
    }

    // All fills in one glDrawElements(GL_TRIANGLES), then all outlines (colour outlineRgb, lineWidth pixels wide)
    // in one glDrawElements(GL_LINES). Outlines on the fills show solid over their own fills at every view, grazing
    // angles included, and never over a nearer fill. Outlines leave the depth buffer as the fills left it: only
    // outlines of the same colour come after an outline, so the depth it would write decides no pixel.
    void drawBatched(const float outlineRgb[3], float lineWidth) const {
        drawPolygonsBatched(arrays(), outlineRgb, lineWidth, outlines);
    }

    // The same picture one primitive at a time (GL_POLYGON and GL_LINE_LOOP, in list order).
    void drawImmediate(const float outlineRgb[3], float lineWidth) const {
        drawPolygonsImmediate(arrays(), outlineRgb, lineWidth, outlines);
    }

    // Fills only, no outlines, with the same depth state as the fills above: batched, and its reference.
    void drawFillsBatched() const { drawPolygonsBatched(arrays(), nullptr, 1.0f, outlines); }
    void drawFillsImmediate() const { drawPolygonsImmediate(arrays(), nullptr, 1.0f, outlines); }

    int32_t size() const { return polygonCount; }

    PolygonArrays arrays() const {
        const float(*outline)[3] = outlines == Outlines::placed ? outlinePosition : position;
        return {position, outline, colour, cornerCounts, polygonCount, fill, fillCount, line, lineCount};
    }

    float position[maxVertices][3] = {};
    float colour[maxVertices][3] = {};
    // Where placed outlines run, vertex for vertex: the program writes them after the polygons are added.
    float outlinePosition[outlines == Outlines::placed ? maxVertices : 1][3] = {};
    uint8_t cornerCounts[MaxPolygons] = {};
    uint16_t fill[MaxPolygons * (MaxCorners - 2) * 3] = {};
    uint16_t line[maxVertices * 2] = {};
    int32_t polygonCount = 0, vertexCount = 0, fillCount = 0, lineCount = 0;
};

}  // namespace scene
