// The window, drawing and input layer: the one face every program sees.
//
// One window per program, four off-screen drawing pages of colour numbers, a 256-entry palette, a 32-byte key
// ring, the mouse state and an OpenGL context on the window. Everything runs on the caller's thread.
//
// Input is collected from the windowing system once a frame: the first input query after a frame is shown
// (present_frame, select_shown_page) collects the pending events, in order, and the frame's other queries answer
// from that collection while it is under a millisecond old, so a frame's questions see one consistent moment. A
// frame that asks nothing collects when it is shown. A loop that polls the input without showing frames gets a
// new collection at least every millisecond, and next_key_byte collects at each look while it waits: no loop
// waits in vain for input that has come.
//
// Every operation sets graph_status(): 0 on success, -1 when no window is open (and then does nothing else), or
// one of the codes below. No operation crashes on any argument.
#pragma once

#include <cstddef>
#include <cstdint>

struct PointType {
    int32_t x, y;
};

// graph_status() codes.
enum : int16_t {
    grOk = 0,
    grNoWindow = -1,
    grInvalidDriver = -2,
    grInvalidMode = -3,
    grWindowNotCreated = -4,
    grInvalidParameter = -7,
    grNoPalette = -8,
    grNoOpenGL = -9,
    grAlreadyOpen = -10,
};

// Colour number of an RGB value (0xRRGGBB) in the window: with drivers 1 to 3 the entry nearest to it of the palette
// open_window loads, with driver 9 the value itself. Without a window, as for driver 3. Leaves graph_status()
// alone, since a named colour calls it wherever it is used.
int32_t colour_number(uint32_t rgb);

// A colour by its RGB value that stands for its colour number wherever one is wanted (set_pen_color, set_fill, a
// comparison with get_pixel): the number is looked up when used, so it always suits the open window's driver.
struct NamedColour {
    uint32_t rgb;  // 0xRRGGBB
    operator int32_t() const { return colour_number(rgb); }
};

// The five named colours the programs use; constants, so no program can change what they stand for. With the
// default palette black and dark grey are entries 0 and 8 exactly.
inline constexpr NamedColour colourBlack{0x000000};
inline constexpr NamedColour colourDarkGrey{0x545454};
inline constexpr NamedColour colourWhite{0xFFFFFF};
inline constexpr NamedColour colourRed{0xFF0000};
inline constexpr NamedColour colourGreen{0x008000};

// Colour drivers of open_window: how many colours a pixel can take.
enum : int16_t {
    driverDetect = 0,  // picks driverRgb and sizeDefault
    driverTwoColours = 1,
    driverSixteenColours = 2,
    driverPalette = 3,  // 256 palette entries: what every program of the family opens
    driverRgb = 9,      // 24-bit RGB, no palette
};

// Size modes of open_window.
enum : int16_t {
    size320x200 = 1,
    size640x200 = 2,
    size640x350 = 3,
    size640x480 = 4,  // what every program of the family opens
    size720x350 = 5,
    size800x600 = 6,
    size1024x768 = 7,
    size1280x1024 = 8,
    sizeDefault = 10,        // the layer's default size (three quarters of the screen)
    sizeLargestFramed = 11,  // the largest that fits in a window frame on the desktop's usable area
    sizeWholeScreen = 12,
    sizeCustom = 13,  // set_custom_size's size
};

// Opens the window with the colour driver and size mode above (driverDetect writes back driverRgb and
// sizeDefault). The window gets a frame when it fits with one in the usable area (the screen less panels and
// docks), else it is borderless when it fits on the whole screen. Pen and fill start white, the background black.
// On failure graph_status() is negative and window_error() names the cause.
void open_window(int16_t& driver, int16_t& mode, const char* title);

// Closes the window; afterwards every operation is a no-op with status -1 until the next open_window.
void close_window();

// Result of the last operation.
int16_t graph_status();

// One line naming why the last open_window failed ("" when it did not).
const char* window_error();

// Size used by sizeCustom; call before open_window.
void set_custom_size(int16_t width, int16_t height);

// Call before open_window: the window shows the drawing area n times larger, each of its pixels an n x n block
// (n from 1 to 8; 1 is the default), while the drawing area, its coordinates and the mouse stay in drawing-area
// terms. 0 picks the largest n whose framed window fits on the desktop's usable area. A scale that does not fit
// there falls back to the largest that does, or 1; window_scale() tells which the window got. Status -7, and
// nothing changed, for any other n. Callable with or without a window; a window already open keeps its scale.
void set_window_scale(int16_t n);

// The scale of the open window (1 without one); on the null backend the scale asked for, 0 taken as 1.
int16_t window_scale();

// On: OpenGL output goes to the window's back buffer. Off: no GL context is current, so later GL calls are
// harmless no-ops that never reach the window. Status -9 when the window has no GL context.
void set_gl_drawing(bool on);

// present_frame's modes.
enum : int16_t {
    presentDirectOff = 0,  // direct refresh off: drawing on the shown page waits for the next presentation
    presentDirectOn = 1,   // direct refresh on, and the shown page is copied into the window
    presentSwap = 2,       // swap the GL buffers when GL drawing is on, else copy the shown page into the window
};

// Presents as the mode says; presentDirectOn and presentSwap are paced to set_frame_rate's rate.
void present_frame(int16_t mode);

// Upper bound on shown frames a second for present_frame and select_shown_page; 0 leaves them unpaced.
// Callable with or without a window.
void set_frame_rate(int16_t framesPerSecond);

// Largest x and y of the drawing area (639 and 479 in mode 4).
int16_t window_last_x();
int16_t window_last_y();

// Mouse state as of the last mouse event inside the drawing area, in its coordinates (a window position divided by
// the window's scale, so the whole block of a pixel is on that pixel): bit 0 left, bit 1 right, bit 2 middle button,
// bit 3 Shift, bit 4 Ctrl as they stood at that event. A release outside the window still clears its button.
int16_t mouse_buttons();
int16_t mouse_x();
int16_t mouse_y();

// True when the key ring holds at least one byte. Never waits.
bool key_waiting();

// Oldest byte of the key ring, waiting (10 ms looks) until there is one. A key without a character arrives as 0
// followed by its code. Returns 0 at once when no window is open.
uint8_t next_key_byte();

// The key of this frame for a program that takes at most one key a frame: 0 when the ring is empty, else its
// oldest byte, or for a key that arrives as 0 and a code, the code. Never waits.
uint8_t take_key();

// Milliseconds on a steady clock, with or without a window; the programs seed their random generators from it.
uint32_t tick_count();

// Key numbers key_held answers for: a letter by its upper-case code (keyLetter('A') to keyLetter('Z')), Escape and
// the four arrows.
inline constexpr int32_t keyEscape = 27;
inline constexpr int32_t keyLeft = 37;
inline constexpr int32_t keyUp = 38;
inline constexpr int32_t keyRight = 39;
inline constexpr int32_t keyDown = 40;
constexpr int32_t keyLetter(char upperCase) { return upperCase; }

// True while the key is down: letters by upper-case code 65-90, Escape 27, Left 37, Up 38, Right 39, Down 40.
bool key_held(int32_t keyNumber);

// Fills the drawing page with the background colour.
void clear_page();

// Page 0-3 that drawing goes to / that the window shows; 4 or more is taken as 0.
void select_draw_page(int16_t page);
void select_shown_page(int16_t page);

// Fill patterns of set_fill.
enum : int16_t {
    fillBackground = 0,  // solid background colour
    fillSolid = 1,
    fillHorizontalLines = 2,
    fillVerticalLines = 3,
    fillCross = 4,
    fillBackDiagonals = 5,
    fillForwardDiagonals = 6,
    fillDiagonalCross = 7,
    fillChecker = 8,  // the user pattern
    fillNone = 9,     // outline only
};

// Pen colour (outlines) and fill pattern with its colour.
void set_pen_color(int32_t colour);
void set_fill(int16_t pattern, int32_t colour);

// Palette entry of drivers 1-3 (status -8 with driver 9).
void set_palette_entry(int16_t index, uint8_t red, uint8_t green, uint8_t blue);

// Fills x1 <= x <= x2, y1 <= y <= y2 with the fill; status -7 and nothing drawn when reversed.
void fill_rect(int16_t x1, int16_t y1, int16_t x2, int16_t y2);

// Ellipse in the box (x - rx, y - ry) to (x + rx, y + ry), corners inclusive: outline in the pen colour, inside
// in the fill.
void draw_filled_ellipse(int16_t x, int16_t y, uint16_t xRadius, uint16_t yRadius);

// Closed polygon through the points: outline in the pen colour, inside in the fill; status -7 when count < 2.
void draw_filled_polygon(int16_t count, const PointType* points);

// Colour number at (x, y) of the drawing page; 0 and status -7 off the page.
int32_t get_pixel(int16_t x, int16_t y);

// ---- recordings and replays (docs/recording.md) ----
//
// A game is fully determined by what each frame read from the input queries above (mouse_x, mouse_y,
// mouse_buttons, key_waiting, next_key_byte, take_key, key_held, tick_count), so the layer can write those answers
// down while a game is played and give them back later in the same order. A frame ends where one is shown
// (present_frame with presentDirectOn or presentSwap, select_shown_page).

// Call before open_window. Creates the recording at path (or replaces it when it is itself a recording; never
// through a link) with a header naming the program, its version and the seed, and from then on writes every input
// query's answer as it is given; the first tick_count answer is the seed. The lines reach the file at least once a
// second, so a crash leaves a recording that plays to its last whole frame. A write that fails later ends the
// recording with one line on standard error and the game goes on. False with one line in error when the file is
// refused.
bool start_recording(const char* path, const char* program, const char* version, char* error, size_t errorSize);

// How start_replay shows the game.
enum : int16_t {
    replayInWindow = 0,  // in the window, at the program's own pace
    replayHeadless = 1,  // without a display (the null backend), as fast as the machine allows
    replayTimed = 2,     // in the window, unpaced, and timed
};

// Call before open_window. Opens the recording at path, checks every line of it, and from then on answers every
// input query from it; queries that differ from the recording (another query, another key) get a neutral answer
// (0, false) and are remembered. Live input is ignored but for Escape and the close button, which stop the replay.
// Once the replay is stopped or the recording has run out, the queries answer as if Escape were held and waiting,
// so every program ends its own way. False with one line in error ("FILE:LINE: what is wrong") when it is not a
// recording of program, of a newer format, or damaged; a recording cut short is played to its last whole frame.
bool start_replay(const char* path, const char* program, int16_t how, char* error, size_t errorSize);

// True while a recording is played: files are neither read nor written then.
bool replaying();

// The end of a recording or replay, after the program's last frame, with the digest of the final state. A
// recording gets its end line (frames and digest) and is synced and closed; a replay prints on standard output
// whether the final state matches the recorded digest (with the frame count and digest; replayTimed also the
// frames per second). Returns the exit status: 0, or for a replay 1 when it did not match, ran short or was
// stopped, and 2 when the recording turned out damaged on the way. A recording that cannot be finished says so in
// one line on standard error and still returns 0: the game itself ended as usual.
int32_t finish_session(uint64_t digest);

// Call before open_window: the window to open is the null backend's, made without any display. Its pages work in
// memory, presenting shows nothing, set_gl_drawing succeeds without a context (GL calls are then no-ops), and the
// input is what a replay answers, or none (next_key_byte then returns 0 at once rather than wait for ever).
void use_null_backend();

// While recording: a load of the file name that the program made at this point of the frame, with the bytes it
// read, or when bytes is null the reason it read none. Does nothing otherwise.
void record_load(const char* name, const uint8_t* bytes, size_t size, const char* reason);

// While replaying: the load the recording holds at this point of the frame, in place of reading the file. True with
// its bytes in buffer (at most capacity, their number in size); false with the reason in reason: the one recorded,
// or why the recording holds no load here.
bool replayed_load(const char* name, uint8_t* buffer, size_t capacity, size_t& size, char* reason, size_t reasonSize);
