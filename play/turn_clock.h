// The clock by which the programs with an eased turn animation count it: a frame counter in thousandths rather
// than wall time, so that a turn lasts a number of frames whatever the frame rate.
#pragma once

#include <algorithm>

namespace play {

struct TurnClock {
    double frameClock = 0.0;  // grows by clockStep every frame
    double clockStep = 0.0;
    double animStart = -1.0;    // frameClock when the running turn animation began; < 0 while none runs
    double animDuration = 0.0;  // frameClock units a turn animation lasts
};

// Once a frame, at its start.
inline void tickClock(TurnClock& clock) { clock.frameClock += clock.clockStep; }

inline bool turnAnimating(const TurnClock& clock) { return clock.animStart >= 0.0; }

inline void startTurnAnimation(TurnClock& clock) { clock.animStart = clock.frameClock; }

// The first frame whose clock reaches the end of the animation is the one that applies its turn.
inline bool turnAnimationDue(const TurnClock& clock) {
    return clock.frameClock >= clock.animStart + clock.animDuration;
}

inline void endTurnAnimation(TurnClock& clock) { clock.animStart = -1.0; }

// How far the running animation has come, 0 to 1; clamped, so that a turn applied late never over-rotates.
inline double turnProgress(const TurnClock& clock) {
    double progress = (clock.frameClock - clock.animStart) / clock.animDuration;
    return std::min(std::max(progress, 0.0), 1.0);
}

}  // namespace play
