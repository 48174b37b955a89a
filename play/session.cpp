#include "play/session.h"

#include <cstdio>
#include <cstdlib>

#include "window/window.h"

namespace play {

int endSession(uint64_t stateDigest) {
    const int status = finish_session(stateDigest);
    std::fflush(stdout);
    return status;
}

bool replayingGame() { return replaying(); }

// A failed load is recorded as its error number, a space and its words: the number is what a replay gives back,
// the words are for whoever reads the recording.
int32_t replayedLoad(const char* name, char* buffer, size_t capacity, size_t& size, int32_t notRecorded) {
    char reason[256] = "";
    if (replayed_load(name, reinterpret_cast<uint8_t*>(buffer), capacity, size, reason, sizeof reason)) return 0;
    char* end = reason;
    const long error = std::strtol(reason, &end, 10);
    const bool numbered =
        end != reason && (*end == ' ' || *end == '\0') && error != 0 && error >= INT32_MIN && error <= INT32_MAX;
    return numbered ? static_cast<int32_t>(error) : notRecorded;
}

void recordLoad(const char* name, const char* bytes, size_t size, int32_t error, const char* errorText) {
    if (error == 0) {
        record_load(name, reinterpret_cast<const uint8_t*>(bytes), size, nullptr);
        return;
    }
    char reason[256];
    std::snprintf(reason, sizeof reason, "%d %s", static_cast<int>(error), errorText ? errorText : "");
    record_load(name, nullptr, 0, reason);
}

}  // namespace play
