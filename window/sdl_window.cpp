// The SDL2 backend of the layer: the only file that talks to the platform.
//
// Sections, in order:
//   layer state   constants, LayerState and its one instance `layer`, status and error helpers
//   presenting    the shown page into the window, direct refresh, frame pacing
//   input         SDL's key, text, mouse and window events into the key ring, held keys and mouse state
//   opening       size modes, SDL's video, the window and its GL context, the layer's state for a new window
//   operations    window.h's operations: opening and closing, status and colours, GL and frames, input,
//                 drawing
//
// There is no window thread: the calls that read input or present drain SDL's event queue into the layer's own
// state (key ring, held keys, mouse), in order, so nothing is shared between threads and a Shift+click keeps the
// Shift state it had at its own event rather than at the end of the pump. A frame drains the queue once, at its
// first input query (or at its presentation when it asks nothing); its other queries read the layer's state.
//
// The null backend (use_null_backend) is this file with SDL left out: the window is the layer's state alone, so
// pages, drawing and frames work in memory and nothing is shown. Every input query's answer passes through the
// session (session.h), which writes it down while recording and gives the recorded one while replaying.
#include <SDL.h>
#include <SDL_opengl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <type_traits>
#include <vector>

#include "window/key_codes.h"
#include "window/key_queue.h"
#include "window/pages.h"
#include "window/palette.h"
#include "window/server_scaling.h"
#include "window/session.h"
#include "window/window.h"

namespace {

// ---- layer state ----

using Clock = std::chrono::steady_clock;
using win::recording::Query;

constexpr int pageCount = 4;
constexpr int heldKeyCount = 128;
// Room the window frame and title bar take, for deciding whether a framed window fits on the screen.
constexpr int frameWidth = 16;
constexpr int frameHeight = 39;
// Colours that have their numbers worked out at open_window, so that drawing with them costs no palette search.
constexpr NamedColour knownColours[] = {colourBlack, colourDarkGrey, colourWhite, colourRed, colourGreen};
constexpr int knownColourCount = sizeof knownColours / sizeof knownColours[0];
// How long one collection of events answers input queries. A frame asks its questions together, within
// microseconds of each other, so they all see one collection; a loop that polls without presenting a frame gets a
// new one at least this often, so whatever it waits for reaches it.
constexpr auto collectionLife = std::chrono::milliseconds(1);

constexpr int largestScale = 8;

// What the layer needs of OpenGL to show a scaled window's picture, looked up through SDL once a context exists, so
// that the layer links no OpenGL library and the page programs need none; and the drawing area's pixels as read
// back, allocated once when the window's OpenGL drawing starts.
struct ScaledGl {
    bool loaded = false;
    std::vector<uint32_t> pixels;
#define PUZZLES_GL_FUNCTIONS(X)                                                  \
    X(glReadPixels, void(GLint, GLint, GLsizei, GLsizei, GLenum, GLenum, void*)) \
    X(glReadBuffer, void(GLenum))                                                \
    X(glPushAttrib, void(GLbitfield))                                            \
    X(glPopAttrib, void())                                                       \
    X(glPushClientAttrib, void(GLbitfield))                                      \
    X(glPopClientAttrib, void())                                                 \
    X(glPixelStorei, void(GLenum, GLint))
#define PUZZLES_GL_POINTER(name, ...) std::add_pointer_t<__VA_ARGS__> name = nullptr;
    PUZZLES_GL_FUNCTIONS(PUZZLES_GL_POINTER)
#undef PUZZLES_GL_POINTER
};

struct LayerState {
    bool open = false;
    bool nullBackend = false;  // windows are made without a display, see use_null_backend
    int16_t status = 0;
    int16_t driver = 0, mode = 0;
    int width = 0, height = 0;
    int paletteEntries = 256;                     // 2, 16, 256, or 0 for driver 9
    int32_t knownNumbers[knownColourCount] = {};  // colour numbers of knownColours for paletteEntries

    win::Page pages[pageCount];
    int drawPage = 0, shownPage = 0;
    bool directRefresh = true;
    uint32_t pen = 15;
    win::Fill fill;
    win::Palette palette{};
    // The palette in the window's pixel format, made again only when the palette or that format changes.
    uint32_t paletteLut[win::paletteSize] = {};
    uint32_t paletteLutFormat = SDL_PIXELFORMAT_UNKNOWN;

    SDL_Window* window = nullptr;
    SDL_GLContext gl = nullptr;
    // At a scale above 1, the hidden window of the drawing area's size that OpenGL draws in (see createWindow);
    // else none, and OpenGL draws in the window.
    SDL_Window* glWindow = nullptr;
    bool glDrawing = false;
    SDL_Surface* shadow = nullptr;  // 32-bit staging image when the window surface is not 32-bit

    win::KeyQueue keys;
    // Bytes of the latest key-down, held back until the next event: a text event right after it comes from the
    // same press. Always empty between pumps.
    win::KeyBytes pressBytes;
    bool pressPending = false;
    bool held[heldKeyCount] = {};
    bool shift = false, ctrl = false, alt = false;
    int16_t mouseButtons = 0, mouseX = 0, mouseY = 0;
    int16_t beforeMotionX = 0, beforeMotionY = 0;  // position before the latest motion event
    bool lastWasMotion = false;                    // the latest event was a motion event

    // Events were collected since the last presented frame, the latest collection at collectedAt.
    bool collectedThisFrame = false;
    Clock::time_point collectedAt{};

    int16_t frameRate = 0;
    Clock::time_point nextFrame{};

    int customWidth = 640, customHeight = 480;
    int requestedScale = 1;  // set_window_scale's n, 0 for the largest that fits
    int scale = 1;           // the open window's: each drawing-area pixel is a scale x scale block of the window
    ScaledGl scaledGl;
    // The values the window shows, width x height, and whether all of them are true of the surface shownSurface.
    std::vector<uint32_t> shown;
    bool shownValid = false;
    SDL_Surface* shownSurface = nullptr;
    char error[256] = "";
};

// Everything the layer holds from open_window to close_window, and the few settings that outlive a window.
LayerState layer;

// Sets the status for an operation that needs an open window; false when there is none.
bool ready() {
    layer.status = layer.open ? grOk : grNoWindow;
    return layer.open;
}

win::Page& drawingPage() { return layer.pages[layer.drawPage]; }

uint32_t stored(int32_t colour) { return win::colourIndex(colour, layer.paletteEntries); }

void setError(const char* what, const char* detail) {
    std::snprintf(layer.error, sizeof layer.error, "%s%s%s", what, detail && *detail ? ": " : "", detail ? detail : "");
}

// ---- presenting ----

// Pictures reach the window as rows of 32-bit values in drawing-area pixels, top row first: a page's pixels, or the
// OpenGL picture read back, whose rows run bottom to top (a negative stride). `layer.shown` keeps the values the
// window shows, so a frame sends only the rows and columns that changed: at a scale of 2 or more, moving the
// window's pixels costs more than drawing them.
struct PictureRows {
    const uint32_t* top;  // the top row
    ptrdiff_t stride;     // values from one row to the next one down
    const uint32_t* row(int y) const { return top + stride * y; }
};

// How a value becomes a pixel of the window's 32-bit surface.
enum class ValueKind { paletteIndex, rgb };

// The surface frames are written into: the window's own when it has 32-bit pixels, else the shadow that is then
// blitted into it. Null when there is none; when the window's surface is not the one the shown values were
// written to, they are forgotten.
SDL_Surface* frameTarget(SDL_Surface*& surface) {
    surface = SDL_GetWindowSurface(layer.window);
    if (surface == nullptr) return nullptr;
    if (surface != layer.shownSurface) {
        layer.shownSurface = surface;
        layer.shownValid = false;
    }
    return surface->format->BytesPerPixel == 4 ? surface : layer.shadow;
}

// Narrows columns 0..right of rows 0..bottom to those that differ from what the window shows: left..right,
// top..bottom, empty (left > right) when nothing does.
void narrowToChanges(const PictureRows& rows, int& left, int& top, int& right, int& bottom) {
    const int width = right + 1, height = bottom + 1;
    left = width;
    top = height;
    right = bottom = -1;
    for (int y = 0; y < height; ++y) {
        const uint32_t* now = rows.row(y);
        const uint32_t* before = layer.shown.data() + static_cast<size_t>(y) * layer.width;
        if (std::memcmp(now, before, static_cast<size_t>(width) * sizeof(uint32_t)) == 0) continue;
        int first = 0, last = width - 1;
        while (now[first] == before[first]) ++first;
        while (now[last] == before[last]) --last;
        left = std::min(left, first);
        right = std::max(right, last);
        top = std::min(top, y);
        bottom = y;
    }
}

// Writes columns left..right of rows top..bottom into the pixels at `base`, `pitch` bytes to a row, each value as a
// scale x scale block, and remembers them as shown. `pixel` turns a value into a pixel there.
template <class Pixel>
void writeBlocks(const PictureRows& rows, int left, int top, int right, int bottom, uint8_t* base, ptrdiff_t pitch,
                 int scale, Pixel pixel) {
    const size_t count = static_cast<size_t>(right - left + 1);
    for (int y = top; y <= bottom; ++y) {
        const uint32_t* src = rows.row(y) + left;
        std::memcpy(layer.shown.data() + static_cast<size_t>(y) * layer.width + left, src, count * sizeof(uint32_t));
        auto* dst = reinterpret_cast<uint32_t*>(base + y * scale * pitch) + static_cast<ptrdiff_t>(left) * scale;
        if (scale == 1) {
            for (size_t x = 0; x < count; ++x) dst[x] = pixel(src[x]);
            continue;
        }
        if (scale == 2) {
            for (size_t x = 0; x < count; ++x) dst[2 * x] = dst[2 * x + 1] = pixel(src[x]);
        } else {
            for (size_t x = 0; x < count; ++x) std::fill_n(dst + x * scale, scale, pixel(src[x]));
        }
        // The block's other rows are the first one again.
        for (int k = 1; k < scale; ++k)
            std::memcpy(reinterpret_cast<uint8_t*>(dst) + k * pitch, dst, count * scale * sizeof(uint32_t));
    }
}

// Writes the values of `kind` into pixels of `format` (0x00RRGGBB when null) at `base`, as writeBlocks does.
void writePicture(const PictureRows& rows, ValueKind kind, int left, int top, int right, int bottom, uint8_t* base,
                  ptrdiff_t pitch, int scale, const SDL_PixelFormat* format) {
    const auto write = [&](auto pixel) { writeBlocks(rows, left, top, right, bottom, base, pitch, scale, pixel); };
    const uint32_t formatName = format != nullptr ? format->format : uint32_t{SDL_PIXELFORMAT_RGB888};
    if (kind == ValueKind::paletteIndex) {
        uint32_t* lut = layer.paletteLut;
        if (layer.paletteLutFormat != formatName) {
            for (int i = 0; i < win::paletteSize; ++i) {
                const win::Rgb& e = layer.palette.entries[i];
                lut[i] = format != nullptr ? SDL_MapRGB(format, e.r, e.g, e.b)
                                           : uint32_t{e.r} << 16 | uint32_t{e.g} << 8 | e.b;
            }
            layer.paletteLutFormat = formatName;
        }
        write([lut](uint32_t v) { return lut[v & 0xFF]; });
    } else if (format == nullptr || (format->Rmask == 0xFF0000 && format->Gmask == 0xFF00 && format->Bmask == 0xFF)) {
        write([](uint32_t v) { return v & 0xFFFFFF; });
    } else {
        write([format](uint32_t v) { return SDL_MapRGB(format, (v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF); });
    }
}

// Shows columns left..right of rows top..bottom of a picture whose values are of `kind`, clipped to the drawing
// area and, when the layer enlarges the picture itself, to the window's surface (a window manager may have made it
// smaller). `onlyChanged` (with left and top 0) narrows them first to what differs from what the window shows.
void showPicture(const PictureRows& rows, ValueKind kind, int left, int top, int right, int bottom, bool onlyChanged) {
    const bool byServer = win::serverScaling();
    const int scale = layer.scale;
    SDL_Surface* surface = nullptr;
    SDL_Surface* target = nullptr;
    if (!byServer) {
        target = frameTarget(surface);
        if (target == nullptr) return;
        right = std::min(right, surface->w / scale - 1);
        bottom = std::min(bottom, surface->h / scale - 1);
    }
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, layer.width - 1);
    bottom = std::min(bottom, layer.height - 1);
    if (onlyChanged && layer.shownValid) narrowToChanges(rows, left, top, right, bottom);
    if (left > right || top > bottom) return;
    if (byServer) {
        auto* pixels = reinterpret_cast<uint8_t*>(win::serverScalingPixels());
        writePicture(rows, kind, left, top, right, bottom, pixels, ptrdiff_t{layer.width} * 4, 1, nullptr);
    } else {
        if (SDL_MUSTLOCK(target)) SDL_LockSurface(target);
        writePicture(rows, kind, left, top, right, bottom, static_cast<uint8_t*>(target->pixels), target->pitch, scale,
                     target->format);
        if (SDL_MUSTLOCK(target)) SDL_UnlockSurface(target);
    }
    // Only a whole picture written makes every remembered value true.
    if (!layer.shownValid)
        layer.shownValid = left == 0 && top == 0 && right == layer.width - 1 && bottom == layer.height - 1;
    if (byServer) {
        win::serverScalingShow(left, top, right, bottom);
        return;
    }
    SDL_Rect rect{left * scale, top * scale, (right - left + 1) * scale, (bottom - top + 1) * scale};
    if (target == layer.shadow) SDL_BlitSurface(layer.shadow, &rect, surface, &rect);
    SDL_UpdateWindowSurfaceRects(layer.window, &rect, 1);
}

// Shows rows top..bottom, columns left..right of the shown page.
void showRegion(int left, int top, int right, int bottom, bool onlyChanged = false) {
    if (layer.glDrawing || layer.window == nullptr) return;
    const win::Page& page = layer.pages[layer.shownPage];
    showPicture(PictureRows{page.pixels.data(), page.width},
                layer.paletteEntries > 0 ? ValueKind::paletteIndex : ValueKind::rgb, left, top, right, bottom,
                onlyChanged);
}

// Shows the shown page's changes since the window last showed it.
void showPage() { showRegion(0, 0, layer.width - 1, layer.height - 1, true); }

// Shows the whole page again, as after the window's picture was lost or its colours changed.
void showWholePage() {
    layer.shownValid = false;
    showPage();
}

// Shows a drawing operation at once when the window is showing the page it drew on.
void refreshAfterDrawing(int64_t left, int64_t top, int64_t right, int64_t bottom) {
    if (!layer.directRefresh || layer.drawPage != layer.shownPage) return;
    auto clampX = [](int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, -1, layer.width)); };
    auto clampY = [](int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, -1, layer.height)); };
    showRegion(clampX(left), clampY(top), clampX(right), clampY(bottom));
}

// Waits until the next frame may be shown, so that motion counted in frames runs at the program's speed.
void paceFrame() {
    if (layer.frameRate <= 0 || win::session::unpaced()) return;
    const auto period = std::chrono::nanoseconds(1'000'000'000LL / layer.frameRate);
    auto now = Clock::now();
    if (layer.nextFrame > now) std::this_thread::sleep_until(layer.nextFrame);
    now = Clock::now();
    // After a stall, start counting again instead of racing to catch up.
    layer.nextFrame = (now - layer.nextFrame > period) ? now + period : layer.nextFrame + period;
}

// ---- OpenGL pictures in a scaled window ----

// Readies a scaled window's OpenGL drawing, with its context current: the functions and the buffer the picture is
// read back into. False when OpenGL does not offer what it takes.
bool startScaledGl() {
    ScaledGl& g = layer.scaledGl;
    if (g.loaded) return true;
#define PUZZLES_GL_LOAD(name, ...)                                                            \
    g.name = reinterpret_cast<std::add_pointer_t<__VA_ARGS__>>(SDL_GL_GetProcAddress(#name)); \
    if (g.name == nullptr) return false;
    PUZZLES_GL_FUNCTIONS(PUZZLES_GL_LOAD)
#undef PUZZLES_GL_LOAD
    g.pixels.assign(static_cast<size_t>(layer.width) * layer.height, 0);
    g.loaded = true;
    return true;
}

// In place of the swap of a scaled window: the picture is read back (the very pixels a swap would show at scale
// 1) and shown like a page. The pixel-transfer state this touches is put back.
void showGlPicture() {
    ScaledGl& g = layer.scaledGl;
    if (!g.loaded) return;
    g.glPushAttrib(GL_PIXEL_MODE_BIT);
    g.glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    g.glPixelStorei(GL_PACK_ALIGNMENT, 4);
    g.glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    g.glPixelStorei(GL_PACK_SKIP_ROWS, 0);
    g.glPixelStorei(GL_PACK_SKIP_PIXELS, 0);
    g.glPixelStorei(GL_PACK_SWAP_BYTES, GL_FALSE);
    g.glPixelStorei(GL_PACK_LSB_FIRST, GL_FALSE);
    g.glReadBuffer(GL_BACK);
    g.glReadPixels(0, 0, layer.width, layer.height, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, g.pixels.data());
    g.glPopClientAttrib();
    g.glPopAttrib();
    // Values 0xAARRGGBB, bottom row first.
    const PictureRows rows{g.pixels.data() + static_cast<ptrdiff_t>(layer.height - 1) * layer.width, -layer.width};
    showPicture(rows, ValueKind::rgb, 0, 0, layer.width - 1, layer.height - 1, true);
}

// ---- input ----

// key_held number of a key, -1 for keys it does not answer for. The keypad's arrows without Num Lock are arrows,
// as in the key ring; their release always counts, so turning Num Lock on meanwhile cannot leave one held.
int heldKeyNumber(const SDL_Keysym& k, bool down) {
    const SDL_Keycode sym = k.sym;
    if (sym >= SDLK_a && sym <= SDLK_z) return 'A' + (sym - SDLK_a);
    const bool padArrows = !down || (k.mod & KMOD_NUM) == 0;
    switch (sym) {
        case SDLK_ESCAPE: return keyEscape;
        case SDLK_LEFT: return keyLeft;
        case SDLK_UP: return keyUp;
        case SDLK_RIGHT: return keyRight;
        case SDLK_DOWN: return keyDown;
        case SDLK_KP_4: return padArrows ? keyLeft : -1;
        case SDLK_KP_8: return padArrows ? keyUp : -1;
        case SDLK_KP_6: return padArrows ? keyRight : -1;
        case SDLK_KP_2: return padArrows ? keyDown : -1;
        default: return -1;
    }
}

// The keypad's keys by digit, and what they are without Num Lock: Insert, End, Down, Page Down, Left, (5), Right,
// Home, Up, Page Up.
constexpr SDL_Keycode keypadDigits[10] = {SDLK_KP_0, SDLK_KP_1, SDLK_KP_2, SDLK_KP_3, SDLK_KP_4,
                                          SDLK_KP_5, SDLK_KP_6, SDLK_KP_7, SDLK_KP_8, SDLK_KP_9};
// clang-format off
constexpr win::KeyId keypadMoves[10] = {
    win::KeyId::Insert, win::KeyId::End, win::KeyId::Down, win::KeyId::PageDown, win::KeyId::Left,
    win::KeyId::None, win::KeyId::Right, win::KeyId::Home, win::KeyId::Up, win::KeyId::PageUp};
// clang-format on

win::KeyId keypadKey(SDL_Keycode sym, bool numLock, uint8_t& digit) {
    for (uint8_t d = 0; d < 10; ++d) {
        if (keypadDigits[d] != sym) continue;
        digit = d;
        return numLock ? win::KeyId::Digit : keypadMoves[d];
    }
    if (sym == SDLK_KP_PERIOD && !numLock) return win::KeyId::Delete;
    return win::KeyId::None;
}

win::KeyPress describeKey(const SDL_Keysym& k) {
    win::KeyPress p;
    p.shift = layer.shift;
    p.ctrl = layer.ctrl;
    p.alt = layer.alt;
    p.capsLock = (k.mod & KMOD_CAPS) != 0;
    SDL_Keycode sym = k.sym;
    if (sym >= SDLK_a && sym <= SDLK_z) {
        p.id = win::KeyId::Letter;
        p.letter = static_cast<char>(sym);
    } else if (sym >= SDLK_0 && sym <= SDLK_9) {
        p.id = win::KeyId::Digit;
        p.digit = static_cast<uint8_t>(sym - SDLK_0);
    } else if (sym >= SDLK_F1 && sym <= SDLK_F12) {
        p.id = win::KeyId::Function;
        p.function = static_cast<uint8_t>(1 + sym - SDLK_F1);
    } else {
        switch (sym) {
            case SDLK_SPACE: p.id = win::KeyId::Space; break;
            case SDLK_RETURN:
            case SDLK_KP_ENTER: p.id = win::KeyId::Enter; break;
            case SDLK_ESCAPE: p.id = win::KeyId::Escape; break;
            case SDLK_BACKSPACE: p.id = win::KeyId::Backspace; break;
            case SDLK_TAB: p.id = win::KeyId::Tab; break;
            case SDLK_UP: p.id = win::KeyId::Up; break;
            case SDLK_DOWN: p.id = win::KeyId::Down; break;
            case SDLK_LEFT: p.id = win::KeyId::Left; break;
            case SDLK_RIGHT: p.id = win::KeyId::Right; break;
            case SDLK_HOME: p.id = win::KeyId::Home; break;
            case SDLK_END: p.id = win::KeyId::End; break;
            case SDLK_PAGEUP: p.id = win::KeyId::PageUp; break;
            case SDLK_PAGEDOWN: p.id = win::KeyId::PageDown; break;
            case SDLK_INSERT: p.id = win::KeyId::Insert; break;
            case SDLK_DELETE: p.id = win::KeyId::Delete; break;
            case SDLK_APPLICATION:
            case SDLK_MENU: p.id = win::KeyId::Menu; break;
            default: p.id = keypadKey(sym, (k.mod & KMOD_NUM) != 0, p.digit); break;
        }
    }
    return p;
}

void pushBytes(const win::KeyBytes& b) {
    for (int i = 0; i < b.count; ++i) win::keyQueuePush(layer.keys, b.bytes[i]);
}

// Modifier state after this key event. Every key event, a modifier's own included, carries the state with that
// key counted, and either key of a pair holds its modifier down.
void trackModifiers(const SDL_KeyboardEvent& e) {
    layer.shift = (e.keysym.mod & KMOD_SHIFT) != 0;
    layer.ctrl = (e.keysym.mod & KMOD_CTRL) != 0;
    layer.alt = (e.keysym.mod & KMOD_ALT) != 0;
}

void flushPress() {
    if (layer.pressPending) pushBytes(layer.pressBytes);
    layer.pressPending = false;
}

void onKey(const SDL_KeyboardEvent& e) {
    trackModifiers(e);
    const bool down = e.type == SDL_KEYDOWN;
    const int number = heldKeyNumber(e.keysym, down);
    if (number >= 0) layer.held[number] = down;
    if (!down) return;
    layer.pressBytes = win::keyBytesForPress(describeKey(e.keysym));
    layer.pressPending = true;
}

// Next code point of UTF-8 text; advances s.
uint32_t nextCodePoint(const unsigned char*& s) {
    uint32_t cp = *s;
    int extra = cp >= 0xF0 ? 3 : cp >= 0xE0 ? 2 : cp >= 0xC0 ? 1 : 0;
    if (extra) cp &= 0x3Fu >> extra;
    ++s;
    for (int i = 0; i < extra && (*s & 0xC0) == 0x80; ++i, ++s) cp = (cp << 6) | (*s & 0x3F);
    return cp;
}

// Text of a key press. When the key-down already gave bytes the text is that same press: one composed character
// (a dead key, then e) replaces the key's own character, anything else adds nothing. Otherwise each character
// the key-down could not name goes into the ring.
void onText(const char* text) {
    const auto* s = reinterpret_cast<const unsigned char*>(text);
    if (*s == 0) return;
    if (layer.pressPending && layer.pressBytes.count > 0) {
        const uint32_t cp = nextCodePoint(s);
        const win::KeyBytes typed = win::keyBytesForText(cp, layer.ctrl, layer.alt);
        const bool keyTyped = layer.pressBytes.count == 1 && layer.pressBytes.bytes[0] >= 32;
        if (*s == 0 && keyTyped && typed.count == 1) layer.pressBytes = typed;
        return;
    }
    while (*s) pushBytes(win::keyBytesForText(nextCodePoint(s), layer.ctrl, layer.alt));
}

int16_t buttonBit(uint8_t button) {
    switch (button) {
        case SDL_BUTTON_LEFT: return 1;
        case SDL_BUTTON_RIGHT: return 2;
        case SDL_BUTTON_MIDDLE: return 4;
        default: return 0;
    }
}

// Records one mouse event: buttons always (a release outside the window must not leave a button held), the
// position only when it lies in the drawing area.
void onMouse(int x, int y, int16_t pressed, int16_t released) {
    int16_t buttons = static_cast<int16_t>(((layer.mouseButtons & 7) | pressed) & ~released);
    layer.mouseButtons = static_cast<int16_t>(buttons | (layer.shift ? 8 : 0) | (layer.ctrl ? 16 : 0));
    if (x < 0 || y < 0) return;
    // A pointer anywhere on a pixel's block is on that pixel.
    x /= layer.scale;
    y /= layer.scale;
    if (x >= layer.width || y >= layer.height) return;
    layer.mouseX = static_cast<int16_t>(x);
    layer.mouseY = static_cast<int16_t>(y);
}

void onWindowEvent(const SDL_WindowEvent& e) {
    switch (e.event) {
        case SDL_WINDOWEVENT_CLOSE:
            win::keyQueuePush(layer.keys, 0);
            win::keyQueuePush(layer.keys, win::closeButtonCode);
            break;
        // The window's picture was lost, or its surface made anew.
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_SIZE_CHANGED: showWholePage(); break;
        case SDL_WINDOWEVENT_LEAVE:
            // The pointer leaving without a button arrives as a motion to the nearest edge pixel, then this
            // event: the pointer never was at that edge, so the position goes back to where it was inside.
            if (layer.lastWasMotion) {
                layer.mouseX = layer.beforeMotionX;
                layer.mouseY = layer.beforeMotionY;
            }
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST: std::fill(std::begin(layer.held), std::end(layer.held), false); break;
        default: break;
    }
}

// During a replay the live input is not the game's: only the watcher's Escape or close button counts, and stops
// the replay. The rest is dropped, so that the ring never fills.
void watchLiveInput() {
    bool stop = layer.held[keyEscape];
    while (!win::keyQueueEmpty(layer.keys)) {
        const uint8_t byte = win::keyQueuePop(layer.keys);
        if (byte == keyEscape) stop = true;
        if (byte == 0 && win::keyQueuePop(layer.keys) == win::closeButtonCode) stop = true;
    }
    if (stop) win::session::watcherStopped();
}

void pumpEvents() {
    if (!layer.open) return;
    if (layer.nullBackend) {
        layer.collectedThisFrame = true;
        layer.collectedAt = Clock::now();
        return;
    }
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        if (e.type != SDL_TEXTINPUT) flushPress();
        if (e.type == SDL_MOUSEMOTION) {
            layer.beforeMotionX = layer.mouseX;
            layer.beforeMotionY = layer.mouseY;
        }
        switch (e.type) {
            case SDL_KEYDOWN:
            case SDL_KEYUP: onKey(e.key); break;
            case SDL_TEXTINPUT: onText(e.text.text); break;
            case SDL_MOUSEMOTION: onMouse(e.motion.x, e.motion.y, 0, 0); break;
            case SDL_MOUSEBUTTONDOWN: onMouse(e.button.x, e.button.y, buttonBit(e.button.button), 0); break;
            case SDL_MOUSEBUTTONUP: onMouse(e.button.x, e.button.y, 0, buttonBit(e.button.button)); break;
            case SDL_MOUSEWHEEL: onMouse(e.wheel.mouseX, e.wheel.mouseY, 0, 0); break;
            case SDL_WINDOWEVENT: onWindowEvent(e.window); break;
            default: break;  // SDL_QUIT included: the close button is a key, never an ending
        }
        layer.lastWasMotion = e.type == SDL_MOUSEMOTION;
    }
    flushPress();
    if (win::session::replaying()) watchLiveInput();
    layer.collectedThisFrame = true;
    layer.collectedAt = Clock::now();
}

// Brings the input state up to date for a query: the frame's first query collects the events, later ones read
// what it collected while that is fresh.
void collectForQuery() {
    if (layer.collectedThisFrame && Clock::now() - layer.collectedAt < collectionLife) return;
    pumpEvents();
}

// Before a frame is shown: a frame that asked for no input still collects the events once, so that window events
// (a resize, a repaint) are acted on and the queue never grows.
void collectForPresent() {
    if (!layer.collectedThisFrame) pumpEvents();
}

// The answer of an input query: the recorded one during a replay, else the live one (written down while
// recording).
int64_t answered(win::recording::Query query, int32_t argument, int64_t live) {
    if (win::session::replaying()) return win::session::replayed(query, argument);
    return win::session::answer(query, argument, live);
}

// The oldest byte of the key ring, waiting for one. Events are collected only while the ring is empty, so the
// second byte of a pair is never pushed out by an overflow between the two reads of a pair.
uint8_t waitForKeyByte() {
    // The null backend has no keyboard: nothing would ever come.
    if (layer.nullBackend) return win::keyQueuePop(layer.keys);
    while (win::keyQueueEmpty(layer.keys)) {
        pumpEvents();
        if (!win::keyQueueEmpty(layer.keys)) break;
        SDL_Delay(10);
    }
    return win::keyQueuePop(layer.keys);
}

// After a frame is shown: the next frame's first query collects anew.
void endFrame() {
    layer.collectedThisFrame = false;
    win::session::frameShown();
}

// ---- opening ----

// Width and height of size modes 1 to 8, by mode.
constexpr int modeSizes[9][2] = {
    {0, 0}, {320, 200}, {640, 200}, {640, 350}, {640, 480}, {720, 350}, {800, 600}, {1024, 768}, {1280, 1024},
};

// Drawing-area size of a size mode; `usable` is the screen less the desktop's panels, `whole` the whole screen.
bool areaForMode(int mode, const SDL_Rect& usable, const SDL_Rect& whole, int& w, int& h) {
    if (mode >= size320x200 && mode <= size1280x1024) {
        w = modeSizes[mode][0];
        h = modeSizes[mode][1];
    } else if (mode == sizeDefault) {  // the window system's habit: three quarters of the screen
        w = usable.w * 3 / 4;
        h = usable.h * 3 / 4;
    } else if (mode == sizeLargestFramed) {
        w = usable.w - frameWidth;
        h = usable.h - frameHeight;
    } else if (mode == sizeWholeScreen) {
        w = whole.w;
        h = whole.h;
    } else if (mode == sizeCustom) {
        w = layer.customWidth;
        h = layer.customHeight;
    } else {
        return false;
    }
    return w > 0 && h > 0;
}

// Depth-buffer bits to ask for, deepest first.
constexpr int depthBufferBits[3] = {32, 24, 16};

// Creates a window for OpenGL and, when `withContext`, its context, asking for the deepest depth buffer the display
// offers, and for an alpha channel when `alpha`; null, with no context, when the display offers no such window.
SDL_Window* createGlWindow(const char* title, int x, int y, int w, int h, Uint32 flags, bool alpha,
                           bool withContext = true) {
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, alpha ? 8 : 0);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    for (int depth : depthBufferBits) {
        SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, depth);
        SDL_Window* window = SDL_CreateWindow(title, x, y, w, h, flags | SDL_WINDOW_OPENGL);
        if (window == nullptr) continue;
        if (!withContext) return window;
        layer.gl = SDL_GL_CreateContext(window);
        if (layer.gl == nullptr) {
            SDL_DestroyWindow(window);
            continue;
        }
        // Frame pacing is the layer's: a swap waiting for the display's refresh would slow an unpaced program
        // to the refresh rate. A driver that refuses keeps its own interval.
        SDL_GL_SetSwapInterval(0);
        return window;
    }
    return nullptr;
}

// Creates the window of a drawing area of w x h shown at the layer's scale, with OpenGL when the display offers it;
// without, the pages still work. At scale 1 OpenGL draws in the window. At a larger scale it draws in a hidden
// window of the drawing area's size, with the very pixels and at the cost of a window of scale 1, whose pictures
// are read back and shown enlarged; an alpha channel there lets them be read back as they are, without
// conversion. The shown window is then made as for OpenGL all the same, without a context: it gets the pixel
// format of a window of scale 1, which on a screen of fewer colours has more than the screen's own.
SDL_Window* createWindow(const char* title, int w, int h, Uint32 flags) {
    constexpr int centred = SDL_WINDOWPOS_CENTERED;
    const int scale = layer.scale;
    if (scale == 1) {
        if (SDL_Window* window = createGlWindow(title, centred, centred, w, h, flags, false)) return window;
        return SDL_CreateWindow(title, centred, centred, w, h, flags);
    }
    SDL_Window* window = createGlWindow(title, centred, centred, w * scale, h * scale, flags, false, false);
    if (window == nullptr) window = SDL_CreateWindow(title, centred, centred, w * scale, h * scale, flags);
    if (window == nullptr) return nullptr;
    for (const bool alpha : {true, false}) {
        constexpr int anywhere = SDL_WINDOWPOS_UNDEFINED;
        layer.glWindow = createGlWindow("", anywhere, anywhere, w, h, SDL_WINDOW_HIDDEN, alpha);
        if (layer.glWindow != nullptr) break;
    }
    return window;
}

void setKnownColours() {
    for (int i = 0; i < knownColourCount; ++i)
        layer.knownNumbers[i] = win::namedColourNumber(knownColours[i].rgb, layer.paletteEntries);
}

void resetDrawingState() {
    for (auto& page : layer.pages) win::pageResize(page, layer.width, layer.height);
    layer.drawPage = layer.shownPage = 0;
    layer.directRefresh = true;
    // White: entry 15 of a palette, but with driver 9 a colour number is an RGB value and 15 a near-black blue.
    layer.pen = layer.paletteEntries == 0 ? 0xFFFFFF : stored(15);
    layer.fill = win::Fill{1, layer.pen, stored(0)};
    win::keyQueueClear(layer.keys);
    std::fill(std::begin(layer.held), std::end(layer.held), false);
    layer.shift = layer.ctrl = layer.alt = false;
    layer.mouseButtons = layer.mouseX = layer.mouseY = 0;
    layer.lastWasMotion = false;
    layer.collectedThisFrame = false;
    layer.glDrawing = false;
    layer.nextFrame = Clock::now();
}

int16_t failOpen(int16_t status, const char* what, const char* detail) {
    setError(what, detail);
    return status;
}

bool knownMode(int16_t mode) {
    return (mode >= size320x200 && mode <= size1280x1024) || (mode >= sizeDefault && mode <= sizeCustom);
}

// Starts SDL's video on the real display: grOk, or the failure's status with its cause in window_error().
int16_t startVideo() {
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_PING, "0");
    // Only a real display will do: SDL's stand-in drivers would give a window nobody sees and no way to end it.
    if (std::getenv("SDL_VIDEODRIVER") == nullptr) {
        const char* display = std::getenv("DISPLAY");
        const char* wayland = std::getenv("WAYLAND_DISPLAY");
        bool x11 = display && *display, way = wayland && *wayland;
        if (!x11 && !way)
            return failOpen(grWindowNotCreated, "cannot open the window: no display (DISPLAY is not set)", nullptr);
        SDL_SetHint(SDL_HINT_VIDEODRIVER, x11 && way ? "x11,wayland" : x11 ? "x11" : "wayland");
    }
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        return failOpen(grWindowNotCreated, "cannot open the window", SDL_GetError());
    return grOk;
}

// The scale a window of drawing area w x h gets on a desktop whose usable area is `usable`: the one asked for, 0
// meaning the largest, when its framed window fits there, else the largest that fits, or 1.
int scaleThatFits(int requested, int w, int h, const SDL_Rect& usable) {
    int largest = 1;
    for (int n = 2; n <= largestScale; ++n)
        if (int64_t{w} * n + frameWidth <= usable.w && int64_t{h} * n + frameHeight <= usable.h) largest = n;
    return requested == 0 ? largest : std::min(requested, largest);
}

// Drawing-area size of a size mode and the window flags with which it fits on the screen; false when it fits
// neither framed nor borderless.
bool placeOnScreen(int16_t mode, int& w, int& h, Uint32& flags) {
    // A framed window must fit where the desktop places windows (the usable area); a borderless one may cover the
    // whole screen, panels included, as the whole-screen mode does.
    SDL_Rect whole{0, 0, 0, 0}, usable{0, 0, 0, 0};
    SDL_GetDisplayBounds(0, &whole);
    if (SDL_GetDisplayUsableBounds(0, &usable) != 0) usable = whole;
    if (!areaForMode(mode, usable, whole, w, h)) return false;
    layer.scale = 1;
    if (mode != sizeWholeScreen) layer.scale = scaleThatFits(layer.requestedScale, w, h, usable);
    if (layer.scale > 1) {
        flags = 0;  // it fits framed, or it would not have been chosen
        return true;
    }
    if (mode != sizeWholeScreen && w + frameWidth <= usable.w && h + frameHeight <= usable.h) flags = 0;
    else if (w <= whole.w && h <= whole.h) flags = SDL_WINDOW_BORDERLESS;
    else return false;
    return true;
}

// Palette entries of a colour driver: 2, 16 or 256, 0 for driver 9 (no palette), -1 for an unknown driver.
int paletteEntriesOf(int16_t driver) {
    switch (driver) {
        case driverTwoColours: return 2;
        case driverSixteenColours: return 16;
        case driverPalette: return 256;
        case driverRgb: return 0;
        default: return -1;
    }
}

// Makes the layer's window, hidden until the layer's state is ready for it.
int16_t makeWindow(const char* title, int w, int h, Uint32 flags) {
    char caption[256];
    std::snprintf(caption, sizeof caption, "%s", title && *title ? title : "Window");
    layer.window = createWindow(caption, w, h, flags | SDL_WINDOW_HIDDEN);
    if (layer.window != nullptr) return grOk;
    setError("cannot create the window", SDL_GetError());
    return grWindowNotCreated;
}

// The layer's state for its new window: open, with the defaults every window starts with.
void adoptWindow(int16_t driver, int16_t mode, int w, int h, int entries) {
    layer.driver = driver;
    layer.mode = mode;
    layer.width = w;
    layer.height = h;
    layer.paletteEntries = entries;
    layer.palette = win::defaultPalette();
    layer.paletteLutFormat = SDL_PIXELFORMAT_UNKNOWN;
    layer.shadow =
        layer.nullBackend || win::serverScaling()
            ? nullptr
            : SDL_CreateRGBSurfaceWithFormat(0, w * layer.scale, h * layer.scale, 32, SDL_PIXELFORMAT_RGB888);
    layer.shown.assign(static_cast<size_t>(w) * h, 0);
    layer.shownValid = false;
    layer.shownSurface = nullptr;
    layer.open = true;
    resetDrawingState();
    setKnownColours();
    if (layer.gl != nullptr) SDL_GL_MakeCurrent(layer.window, nullptr);
}

// Shows the new window with its first page; grNoOpenGL when it has no GL context.
int16_t showNewWindow() {
    SDL_ShowWindow(layer.window);
    SDL_RaiseWindow(layer.window);
    pumpEvents();
    showPage();
    if (layer.gl != nullptr) {
        layer.error[0] = '\0';
        return grOk;
    }
    setError("OpenGL is not available on this display", SDL_GetError());
    return grNoOpenGL;
}

// The null backend's window: the layer's state for a screen of nullScreenWidth x nullScreenHeight, no SDL.
constexpr int nullScreenWidth = 1024, nullScreenHeight = 768;

int16_t openNullWindow(int16_t driver, int16_t mode) {
    const SDL_Rect screen{0, 0, nullScreenWidth, nullScreenHeight};
    int w = 0, h = 0;
    const int entries = paletteEntriesOf(driver);
    if (!areaForMode(mode, screen, screen, w, h) || w > screen.w || h > screen.h)
        return failOpen(grInvalidMode, "the window does not fit on the screen", nullptr);
    if (entries < 0) return failOpen(grInvalidDriver, "invalid colour driver", nullptr);
    // Nothing is shown, so the scale changes nothing; it is kept for window_scale() alone.
    layer.scale = std::max(layer.requestedScale, 1);
    adoptWindow(driver, mode, w, h, entries);
    layer.error[0] = '\0';
    return grOk;
}

int16_t openWindow(int16_t& driver, int16_t& mode, const char* title) {
    if (driver == driverDetect) {
        driver = driverRgb;
        mode = sizeDefault;
    }
    // The size mode is judged before the driver; whether the size fits needs the screen.
    if (!knownMode(mode)) return failOpen(grInvalidMode, "invalid size mode", nullptr);
    if (layer.nullBackend) return openNullWindow(driver, mode);
    if (const int16_t status = startVideo(); status != grOk) return status;
    int w = 0, h = 0;
    Uint32 flags = 0;
    const int entries = paletteEntriesOf(driver);
    int16_t status = grOk;
    if (!placeOnScreen(mode, w, h, flags))
        status = failOpen(grInvalidMode, "the window does not fit on the screen", nullptr);
    else if (entries < 0) status = failOpen(grInvalidDriver, "invalid colour driver", nullptr);
    else status = makeWindow(title, w, h, flags);
    if (status != grOk) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return status;
    }
    // Without the server's enlarging, the layer writes the blocks into the window's surface itself.
    if (layer.scale > 1) win::startServerScaling(layer.window, w, h, layer.scale);
    adoptWindow(driver, mode, w, h, entries);
    return showNewWindow();
}

}  // namespace

// ---- operations ----

void open_window(int16_t& driver, int16_t& mode, const char* title) {
    if (layer.open) {
        layer.status = grAlreadyOpen;
        return;
    }
    layer.status = openWindow(driver, mode, title);
    if (layer.open) win::session::windowOpened();
}

void close_window() {
    if (!ready()) return;
    layer.open = false;
    if (layer.nullBackend) {
        layer.glDrawing = false;
        win::keyQueueClear(layer.keys);
        for (auto& page : layer.pages) page = win::Page{};
        layer.paletteEntries = win::paletteSize;
        return;
    }
    if (layer.gl != nullptr) {
        SDL_GL_MakeCurrent(layer.window, nullptr);
        SDL_GL_DeleteContext(layer.gl);
        layer.gl = nullptr;
    }
    if (layer.glWindow != nullptr) SDL_DestroyWindow(layer.glWindow);
    layer.glWindow = nullptr;
    if (layer.shadow != nullptr) SDL_FreeSurface(layer.shadow);
    layer.shadow = nullptr;
    layer.scaledGl = ScaledGl{};  // its functions went with the context
    win::stopServerScaling();
    layer.shownSurface = nullptr;
    layer.shownValid = false;
    SDL_DestroyWindow(layer.window);
    layer.window = nullptr;
    layer.glDrawing = false;
    win::keyQueueClear(layer.keys);
    for (auto& page : layer.pages) page = win::Page{};
    // Colour numbers without a window are those of driver 3 again, whichever driver this window had.
    layer.paletteEntries = win::paletteSize;
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

int16_t graph_status() { return layer.status; }

int32_t colour_number(uint32_t rgb) {
    for (int i = 0; i < knownColourCount && layer.open; ++i)
        if (knownColours[i].rgb == rgb) return layer.knownNumbers[i];
    return win::namedColourNumber(rgb, layer.paletteEntries);
}

const char* window_error() { return layer.error; }

void set_custom_size(int16_t width, int16_t height) {
    layer.status = grOk;
    if (width <= 0 || height <= 0) {
        layer.status = grInvalidParameter;
        return;
    }
    layer.customWidth = width;
    layer.customHeight = height;
}

void set_window_scale(int16_t n) {
    layer.status = grOk;
    if (n < 0 || n > largestScale) {
        layer.status = grInvalidParameter;
        return;
    }
    layer.requestedScale = n;
}

int16_t window_scale() { return layer.open ? static_cast<int16_t>(layer.scale) : 1; }

void use_null_backend() {
    layer.status = layer.open ? grAlreadyOpen : grOk;
    if (!layer.open) layer.nullBackend = true;
}

void set_gl_drawing(bool on) {
    if (!ready()) return;
    if (layer.nullBackend) {
        // No context is ever current, so GL calls do nothing.
        layer.glDrawing = on;
        return;
    }
    if (layer.gl == nullptr) {
        layer.status = grNoOpenGL;
        return;
    }
    // Off releases the context: later GL calls reach no window and change nothing.
    SDL_GL_MakeCurrent(layer.glWindow != nullptr ? layer.glWindow : layer.window, on ? layer.gl : nullptr);
    if (on && layer.scale > 1 && !startScaledGl()) {
        SDL_GL_MakeCurrent(layer.window, nullptr);
        setError("OpenGL cannot show the picture at the window's scale", nullptr);
        layer.status = grNoOpenGL;
        return;
    }
    // What the window shows came from the other kind of picture.
    if (on != layer.glDrawing) layer.shownValid = false;
    layer.glDrawing = on;
}

void present_frame(int16_t mode) {
    if (!ready()) return;
    switch (mode) {
        case presentDirectOff: layer.directRefresh = false; return;  // shows nothing, so it ends no frame
        case presentDirectOn: layer.directRefresh = true; break;
        case presentSwap: break;
        default: layer.status = grInvalidParameter; return;
    }
    collectForPresent();
    paceFrame();
    if (mode == presentSwap && layer.glDrawing) {
        if (!layer.nullBackend) {
            if (layer.scale > 1) showGlPicture();
            else SDL_GL_SwapWindow(layer.window);
        }
    } else showPage();
    endFrame();
}

void set_frame_rate(int16_t framesPerSecond) {
    layer.status = grOk;
    layer.frameRate = std::max<int16_t>(framesPerSecond, 0);
    layer.nextFrame = Clock::now();
}

int16_t window_last_x() { return ready() ? static_cast<int16_t>(layer.width - 1) : 0; }
int16_t window_last_y() { return ready() ? static_cast<int16_t>(layer.height - 1) : 0; }

int16_t mouse_buttons() {
    if (!ready()) return 0;
    collectForQuery();
    return static_cast<int16_t>(answered(Query::mouseButtons, 0, layer.mouseButtons));
}

int16_t mouse_x() {
    if (!ready()) return 0;
    collectForQuery();
    return static_cast<int16_t>(answered(Query::mouseX, 0, layer.mouseX));
}

int16_t mouse_y() {
    if (!ready()) return 0;
    collectForQuery();
    return static_cast<int16_t>(answered(Query::mouseY, 0, layer.mouseY));
}

bool key_waiting() {
    if (!ready()) return false;
    collectForQuery();
    return answered(Query::keyWaiting, 0, !win::keyQueueEmpty(layer.keys)) != 0;
}

uint8_t next_key_byte() {
    if (!ready()) return 0;
    if (win::session::replaying()) {
        collectForQuery();
        return static_cast<uint8_t>(win::session::replayed(Query::nextKeyByte, 0));
    }
    return static_cast<uint8_t>(win::session::answer(Query::nextKeyByte, 0, waitForKeyByte()));
}

uint8_t take_key() {
    if (!ready()) return 0;
    collectForQuery();
    if (win::session::replaying()) return static_cast<uint8_t>(win::session::replayed(Query::takeKey, 0));
    uint8_t key = 0;
    if (!win::keyQueueEmpty(layer.keys)) {
        const uint8_t first = waitForKeyByte();
        key = first != 0 ? first : waitForKeyByte();
    }
    return static_cast<uint8_t>(win::session::answer(Query::takeKey, 0, key));
}

uint32_t tick_count() {
    if (win::session::replaying()) return static_cast<uint32_t>(win::session::replayed(Query::tickCount, 0));
    const auto now = Clock::now().time_since_epoch();
    const auto ms = static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
    return static_cast<uint32_t>(win::session::answer(Query::tickCount, 0, ms));
}

bool key_held(int32_t keyNumber) {
    if (!ready()) return false;
    // No key number outside the table is ever held; such a question is neither recorded nor replayed.
    if (keyNumber < 0 || keyNumber >= heldKeyCount) return false;
    collectForQuery();
    return answered(Query::keyHeld, keyNumber, layer.held[keyNumber]) != 0;
}

void clear_page() {
    if (!ready()) return;
    win::pageClear(drawingPage(), layer.fill.background);
    refreshAfterDrawing(0, 0, layer.width - 1, layer.height - 1);
}

void select_draw_page(int16_t page) {
    if (!ready()) return;
    layer.drawPage = (page >= 0 && page < pageCount) ? page : 0;
}

void select_shown_page(int16_t page) {
    if (!ready()) return;
    layer.shownPage = (page >= 0 && page < pageCount) ? page : 0;
    collectForPresent();
    paceFrame();
    showPage();
    endFrame();
}

void set_pen_color(int32_t colour) {
    if (!ready()) return;
    layer.pen = stored(colour);
}

void set_fill(int16_t pattern, int32_t colour) {
    if (!ready()) return;
    if (pattern < fillBackground || pattern > fillNone) {
        layer.status = grInvalidParameter;
        return;
    }
    layer.fill.pattern = pattern;
    layer.fill.colour = stored(colour);
}

void set_palette_entry(int16_t index, uint8_t red, uint8_t green, uint8_t blue) {
    if (!ready()) return;
    if (layer.paletteEntries == 0) {
        layer.status = grNoPalette;
        return;
    }
    if (index < 0 || index >= win::paletteSize) {
        layer.status = grInvalidParameter;
        return;
    }
    layer.palette.entries[index] = win::Rgb{red, green, blue};
    layer.paletteLutFormat = SDL_PIXELFORMAT_UNKNOWN;
    showWholePage();
}

void fill_rect(int16_t x1, int16_t y1, int16_t x2, int16_t y2) {
    if (!ready()) return;
    if (x1 > x2 || y1 > y2) {
        layer.status = grInvalidParameter;
        return;
    }
    win::pageFillRect(drawingPage(), layer.fill, x1, y1, x2, y2);
    refreshAfterDrawing(x1, y1, x2, y2);
}

void draw_filled_ellipse(int16_t x, int16_t y, uint16_t xRadius, uint16_t yRadius) {
    if (!ready()) return;
    win::pageFillEllipse(drawingPage(), layer.fill, layer.pen, x, y, xRadius, yRadius);
    refreshAfterDrawing(int64_t{x} - xRadius, int64_t{y} - yRadius, int64_t{x} + xRadius, int64_t{y} + yRadius);
}

void draw_filled_polygon(int16_t count, const PointType* points) {
    if (!ready()) return;
    if (count < 2 || points == nullptr) {
        layer.status = grInvalidParameter;
        return;
    }
    win::pageFillPolygon(drawingPage(), layer.fill, layer.pen, count, points);
    int64_t left = points[0].x, right = left, top = points[0].y, bottom = top;
    for (int i = 1; i < count; ++i) {
        left = std::min<int64_t>(left, points[i].x);
        right = std::max<int64_t>(right, points[i].x);
        top = std::min<int64_t>(top, points[i].y);
        bottom = std::max<int64_t>(bottom, points[i].y);
    }
    refreshAfterDrawing(left, top, right, bottom);
}

int32_t get_pixel(int16_t x, int16_t y) {
    if (!ready()) return 0;
    const win::Page& page = drawingPage();
    if (x < 0 || y < 0 || x >= page.width || y >= page.height) {
        layer.status = grInvalidParameter;
        return 0;
    }
    return static_cast<int32_t>(page.pixels[static_cast<size_t>(y) * page.width + x]);
}
