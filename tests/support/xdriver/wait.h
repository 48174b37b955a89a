// Waiting: for a state that is not a picture, and for the length of an action. Every part of the driver measures
// time on the monotonic clock.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>

namespace xdrive {

// Asks done() every everyMs milliseconds until it holds; false when it still does not after timeoutMs. For
// waiting on a state that is not a picture: a file a program writes, a line of output, a process ending.
bool waitUntil(const std::function<bool()>& done, int timeoutMs, int everyMs = 10);

// Sleeps for ms milliseconds. Only for the length of an action (a key held down for a while); to wait for a
// program, wait for what it shows (Driver::captureUntil) or does (waitUntil).
void pause(int ms);

// Milliseconds from start to now on the monotonic clock.
int64_t msSince(std::chrono::steady_clock::time_point start);

}  // namespace xdrive
