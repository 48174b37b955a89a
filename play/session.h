// The end of a recorded or replayed game, and the game's files during one: what every program's main and the save
// file of the cube programs need of the window layer's recordings (window.h), so that neither includes the layer
// for it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace play {

// The last call of every program's main, after its last frame and before its window closes, with the digest of the
// final state (see Digest): finishes the recording (its end line), or prints how the replay went. Returns the
// program's exit status: 0 for a game played or recorded, else what the replay came to (window.h's
// finish_session).
int endSession(uint64_t stateDigest);

// True while a recorded game is played: the game's files are neither read nor written.
bool replayingGame();

// During a replay, in place of reading the game file name: the load the recording holds at this point. 0 with its
// bytes in buffer (at most capacity, their number in size), or the error the recorded load met (notRecorded when
// the recording holds no load here). Touches no file.
int32_t replayedLoad(const char* name, char* buffer, size_t capacity, size_t& size, int32_t notRecorded);

// While recording, after a load of the game file name: 0 and the bytes it read, or the error it met (0 is no
// error; the caller's own codes are negative) and that error in words. Does nothing otherwise.
void recordLoad(const char* name, const char* bytes, size_t size, int32_t error, const char* errorText);

// FNV-1a, 64 bits: the digest of a program's final state, which a recording ends with and a replay must reach.
// Feed it the state's values one by one (never a struct's bytes, whose padding holds anything).
struct Digest {
    uint64_t value = 0xcbf29ce484222325ull;

    void bytes(const void* data, size_t size) {
        const auto* p = static_cast<const unsigned char*>(data);
        for (size_t i = 0; i < size; ++i) value = (value ^ p[i]) * 0x100000001b3ull;
    }
    template <typename T>
    void add(const T& v) {
        static_assert(sizeof(T) <= 8, "add one value at a time");
        bytes(&v, sizeof v);
    }
    template <typename T, size_t N>
    void add(const T (&values)[N]) {
        for (const T& v : values) add(v);
    }
};

}  // namespace play
