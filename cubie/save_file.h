// The save file: the writer, the validated reader, and saving and loading a model.
//
// The file: N, dims[0], dims[1], dims[2], M (the last record index) one per line, then M + 1 records, one per
// line: the vertex indices in polygon order and the colour last, separated by single spaces; every line ends in
// CR LF. Unused records are lines of zeros.
//
// saveState and loadState take any model that has the fields gridSize, dims, facets, loadSpace and the constant
// config (CubieModel does); they touch nothing else of it.
#pragma once

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "cubie/facets.h"
#include "cubie/file_io.h"

namespace cubie {

// The save file in the working directory.
inline constexpr const char* saveFileName = "SALVARE.TXT";

// What a save file holds, validated: the result of parseSaveFile, applied by loadState.
template <CubieConfig C>
struct SaveImage {
    int32_t gridSize;
    int32_t dims[3];
    FacetFor<C> facets[C.recordCount];
};

// The most of a file loadState reads: room for every record with generous blanks. Whatever lies beyond is ignored
// like any text after the last record, so a file whose records do not all lie within it is rejected.
template <CubieConfig C>
inline constexpr size_t maxSaveBytes = (static_cast<size_t>(C.recordCount) + 5) * 64;

// Working space of loadState: the file's bytes and the image parsed from them, which hold nothing between loads,
// and what the last load came to, for the program to report a refused one.
template <CubieConfig C>
struct LoadSpace {
    char bytes[maxSaveBytes<C> + 1];
    SaveImage<C> image;
    FileResult result;
};

namespace detail {

// One line of numbers separated by single spaces, ended by CR LF, into line; returns its length.
inline size_t formatLine(char* line, size_t capacity, const int32_t* values, int32_t count) {
    char* at = line;
    char* const end = line + capacity;
    for (int32_t v = 0; v < count; ++v) {
        if (v > 0 && at < end) *at++ = ' ';
        at = std::to_chars(at, end, values[v]).ptr;
    }
    if (end - at >= 2) *at++ = '\r', *at++ = '\n';
    return static_cast<size_t>(at - line);
}

// A cursor over the file's bytes, read the way the file is written: every number may be preceded by any bytes up to
// 32 (blanks, tabs, line ends, so also empty lines), and after each header value and each record the rest of its
// line is discarded. cut says that bytes are only the start of a longer file: a number that runs into their end
// may go on beyond it, so it cannot be read.
struct Reader {
    const char* at;
    const char* end;
    bool cut;

    // A decimal number 0 to limit; no sign, and never more digits than an int32 can take.
    bool number(int32_t limit, int32_t& out) {
        while (at < end && static_cast<unsigned char>(*at) <= 32) ++at;
        if (at == end || *at < '0' || *at > '9') return false;
        int64_t value = 0;
        while (at < end && *at >= '0' && *at <= '9') {
            value = value * 10 + (*at++ - '0');
            if (value > limit) return false;
        }
        out = static_cast<int32_t>(value);
        return at < end || !cut;
    }

    // Discards the rest of the line, its line feed included.
    void skipLine() {
        while (at < end && *at != '\n') ++at;
        if (at < end) ++at;
    }
};

// One header value 0 to limit, and the rest of its line.
inline bool readValue(Reader& r, int32_t limit, int32_t& out) {
    if (!r.number(limit, out)) return false;
    r.skipLine();
    return true;
}

// One record: the vertex indices, then the colour, and the rest of the line.
template <typename Facet>
bool readRecord(Reader& r, int32_t vertexLimit, Facet& f) {
    for (int32_t c = 0; c < f.corners; ++c)
        if (!r.number(vertexLimit, f.vertex[c])) return false;
    if (!r.number(255, f.colour)) return false;
    r.skipLine();
    return true;
}

// Whether a record names distinct corners of one face of one cubie inside the cuboid. A record of any other colour
// than 0 must: anything else would let picking choose a layer outside the grid.
template <CubieConfig C>
bool recordFits(const SaveImage<C>& image, const FacetFor<C>& f) {
    const int32_t slot = facetSlot(f);
    const int32_t n = image.gridSize;
    if (slot < 0 || slot >= n * n * n || facetFace(f) < 0) return false;
    int32_t at[3];
    slotCoordinates(n, slot, at);
    return at[0] < image.dims[0] && at[1] < image.dims[1] && at[2] < image.dims[2];
}

}  // namespace detail

// Parses and validates file bytes into out. Exactly M + 1 records are read and whatever follows them is ignored.
// Returns false for anything a build could not use safely: a missing or unreadable number (a sign, a letter),
// overflow, fewer than M + 1 records, N, dims or M out of bounds, a vertex index out of range or not of a cubie
// inside the loaded cuboid, a record of a colour other than 0 whose corners are not distinct corners of one face
// of one cubie, a colour outside 0 to 255. A record of colour 0 that names a face of a cubie keeps its corners (it
// is drawn, in the colour that came before it); one naming anything else is unused and stored as zeros. cut says
// that bytes are only the start of a longer file. out is scratch: on false its contents are meaningless.
template <CubieConfig C>
bool parseSaveFile(const char* bytes, size_t size, SaveImage<C>& out, bool cut = false) {
    constexpr int32_t vertexLimit = C.maxGrid * C.maxGrid * C.maxGrid * 8 - 1;
    detail::Reader r{bytes, bytes + size, cut};
    int32_t last = 0;
    if (!detail::readValue(r, C.maxGrid, out.gridSize) || out.gridSize < 2) return false;
    for (int32_t a = 0; a < 3; ++a)
        if (!detail::readValue(r, out.gridSize, out.dims[a]) || out.dims[a] < 1) return false;
    if (!detail::readValue(r, C.recordCount - 1, last)) return false;
    for (int32_t i = 0; i < C.recordCount; ++i) out.facets[i] = {};
    for (int32_t i = 0; i <= last; ++i) {
        FacetFor<C>& f = out.facets[i];
        if (!detail::readRecord(r, vertexLimit, f)) return false;
        if (detail::recordFits(out, f)) continue;
        if (f.colour != 0) return false;
        f = {};
    }
    return true;
}

// Writes the file: first to a new temporary file beside it, flushed and synced, then renamed over it and the
// folder synced, so a failure never destroys the previous save and a finished one survives a power cut. A save
// file that is a link stays one and its target receives the save; a save file the player may not write (or that
// is no regular file) is refused (AtomicFile says how). Fails, with the reason, when the save was refused or
// anything failed (the file is then as it was, or new but perhaps not yet durable). Changes nothing in the model;
// a save during a turn stores the state before that turn. The busy mark and the report are the caller's.
template <typename Model>
FileResult saveState(const Model& m, const char* path = saveFileName) {
    AtomicFile file(path);
    char line[96];
    const int32_t header[5] = {m.gridSize, m.dims[0], m.dims[1], m.dims[2], Model::config.recordCount - 1};
    for (const int32_t& value : header) file.write(line, detail::formatLine(line, sizeof line, &value, 1));
    for (const auto& f : m.facets) {
        int32_t values[5];
        for (int32_t c = 0; c < f.corners; ++c) values[c] = f.vertex[c];
        values[f.corners] = f.colour;
        file.write(line, detail::formatLine(line, sizeof line, values, f.corners + 1));
    }
    return file.commit();
}

// Reads the file (at most its first maxSaveBytes) into the model's loadSpace and validates it there; only when all
// of it is sound does it replace gridSize, dims and facets (the caller, buildPuzzle, then files the points at
// home). Otherwise fails, with the reason, and nothing of the puzzle changed. Either way the result is also kept
// in loadSpace.result.
template <typename Model>
FileResult loadState(Model& m, const char* path = saveFileName) {
    constexpr CubieConfig C = Model::config;
    LoadSpace<C>& space = m.loadSpace;
    size_t size = 0;
    // One byte more than is parsed, to tell a file of that size from a longer one.
    space.result = readFileStart(path, space.bytes, sizeof space.bytes, size);
    if (!space.result) return space.result;
    const bool cut = size > maxSaveBytes<C>;
    if (!parseSaveFile(space.bytes, cut ? maxSaveBytes<C> : size, space.image, cut))
        return space.result = {notSaveFile};
    m.gridSize = space.image.gridSize;
    for (int32_t a = 0; a < 3; ++a) m.dims[a] = space.image.dims[a];
    std::memcpy(m.facets, space.image.facets, sizeof m.facets);
    return space.result;
}

}  // namespace cubie
