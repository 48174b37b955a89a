// The layer's recording or replay of a game, as the backend sees it: the input queries pass their answers through
// here, and each shown frame is reported. Not part of the programs' face (window.h holds the operations that
// start and finish a session); only the backend includes this.
#pragma once

#include <cstdint>

#include "window/recording.h"

namespace win::session {

bool recording();
bool replaying();
// A headless or timed replay: frames are shown as fast as they come.
bool unpaced();

// While recording: writes the live answer down and returns it (the first tick_count answer is the seed the header
// holds). Otherwise the live answer as it is. Not for a replay.
int64_t answer(recording::Query query, int32_t argument, int64_t live);

// While replaying: the recorded answer of the query (see start_replay for a query that differs, or a replay that
// has stopped or run out).
int64_t replayed(recording::Query query, int32_t argument);

// The watcher of a windowed replay pressed Escape or the close button: the replay stops.
void watcherStopped();

// The window was opened (a timed replay counts from here).
void windowOpened();

// A frame was shown.
void frameShown();

}  // namespace win::session
