// Recording and replaying a game: window.h's session operations, and the answers the backend's input queries pass
// through (session.h). One session a process, in fixed storage: the writer or the reader and where the replay
// stands. Nothing here allocates after the session has started.
#include "window/session.h"

#include <chrono>
#include <cstdio>
#include <cstring>

#include "window/window.h"

namespace win::session {
namespace {

using recording::Answer;
using recording::Outcome;
using recording::Query;
using Clock = std::chrono::steady_clock;

enum class Mode : uint8_t { live, recording, replaying };

struct Session {
    Mode mode = Mode::live;
    int16_t how = replayInWindow;
    char program[32] = {};
    char path[4096] = {};

    // Recording.
    bool seedPending = false;  // the next tick_count answer is the header's seed
    uint32_t seed = 0;
    bool writeFailureShown = false;

    // Replay: the part of the recorded frame being answered, and how far.
    bool havePart = false;
    recording::Cursor cursor;
    bool loadUsed = false;      // the part's load was given to the program
    bool frameTouched = false;  // the program asked something since the last shown frame
    uint64_t frames = 0;        // recorded frames played whole
    uint64_t totalFrames = 0;   // frames the recording holds
    bool cutShort = false;      // the recording stops early: frames after totalFrames are not whole
    bool exhausted = false;     // no part left: the end line, or the recording stops early
    Outcome final = Outcome::ok;
    bool diverged = false;
    uint64_t divergedAt = 0;
    bool stopped = false;  // by the watcher
    uint64_t stoppedAt = 0;
    int64_t lastMouse[3] = {};  // x, y, buttons as last answered, kept once the replay has stopped

    Clock::time_point openedAt{};
    uint64_t shownFrames = 0;
};

Session state;
recording::Writer writer;
recording::Reader reader;

uint32_t nowMs() {
    const auto now = Clock::now().time_since_epoch();
    return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

void copyText(char* out, size_t size, const char* text) {
    if (out != nullptr && size > 0) std::snprintf(out, size, "%s", text);
}

// ---- recording

void reportWriteFailure() {
    if (!writer.failed() || state.writeFailureShown) return;
    state.writeFailureShown = true;
    std::fprintf(stderr, "%s: %s\n", state.program, writer.error());
    std::fflush(stderr);
}

// ---- replay

void diverge() {
    if (state.diverged) return;
    state.diverged = true;
    state.divergedAt = state.frames;
}

// Reads the next part of the recording; at the end line or where the recording stops, the replay has run out. A
// recording cut short ends before the frame it cuts: a frame is played whole or not at all.
void fetch() {
    const Outcome outcome = state.cutShort && state.frames >= state.totalFrames ? Outcome::incomplete : reader.next();
    state.havePart = outcome == Outcome::ok;
    state.cursor = {};
    state.loadUsed = false;
    if (state.havePart) return;
    state.exhausted = true;
    state.final = outcome;
}

bool answersLeft() {
    const recording::Frame& f = reader.frame();
    const recording::Cursor& c = state.cursor;
    if (c.entry >= f.count) return false;
    return c.used < f.entries[c.entry].times || c.entry + 1 < f.count;
}

bool partUnused() { return answersLeft() || (reader.frame().hasLoad && !state.loadUsed); }

// What a query answers once the replay has stopped or run out: Escape held and waiting, the mouse where it was.
int64_t escapeAnswer(Query query, int32_t argument) {
    switch (query) {
        case Query::mouseX: return state.lastMouse[0];
        case Query::mouseY: return state.lastMouse[1];
        case Query::mouseButtons: return state.lastMouse[2];
        case Query::keyWaiting: return 1;
        case Query::nextKeyByte:
        case Query::takeKey: return keyEscape;
        case Query::keyHeld: return argument == keyEscape ? 1 : 0;
        case Query::tickCount: return nowMs();
    }
    return 0;
}

bool over() { return state.stopped || state.exhausted; }

// The recorded answer of the next query, or nullptr (and the divergence noted) when the recording asked something
// else here.
const Answer* nextRecorded(Query query, int32_t argument) {
    for (;;) {
        const recording::Frame& f = reader.frame();
        if (f.hasLoad && !state.loadUsed) {
            diverge();  // the recording loaded a file here
            return nullptr;
        }
        if (const Answer* a = recording::nextAnswer(f, state.cursor)) {
            if (a->query != query || a->argument != argument) diverge();
            return a->query == query ? a : nullptr;
        }
        if (f.endsFrame) {
            diverge();  // the recorded frame asked no more
            return nullptr;
        }
        fetch();
        if (!state.havePart) return nullptr;
    }
}

int64_t replayAnswer(Query query, int32_t argument) {
    if (over()) {
        // A recording that ends with its end line asked nothing more: a program that does has gone another way.
        if (!state.stopped && state.final == Outcome::end) diverge();
        return escapeAnswer(query, argument);
    }
    state.frameTouched = true;
    const Answer* a = nextRecorded(query, argument);
    if (a == nullptr) return over() ? escapeAnswer(query, argument) : 0;
    return a->value;
}

// The end of the recorded frame: what the program left unasked is a divergence; the next frame's first part is
// read.
void endRecordedFrame() {
    while (state.havePart) {
        if (partUnused()) diverge();
        if (reader.frame().endsFrame) break;
        fetch();
    }
    if (!state.havePart) return;
    ++state.frames;
    state.frameTouched = false;
    fetch();
}

// Reads the whole recording once, so that a damaged line is refused before the game starts and the frame count is
// known; then opens it again at its first frame.
bool checkRecording(char* error, size_t errorSize) {
    Outcome outcome = reader.open(state.path, state.program);
    while (outcome == Outcome::ok) outcome = reader.next();
    if (outcome == Outcome::failed) {
        copyText(error, errorSize, reader.message());
        return false;
    }
    state.totalFrames = outcome == Outcome::end ? reader.footer().frames : reader.framesRead();
    state.cutShort = outcome == Outcome::incomplete;
    outcome = reader.open(state.path, state.program);
    if (outcome == Outcome::failed) {
        copyText(error, errorSize, reader.message());
        return false;
    }
    if (outcome == Outcome::ok) {
        fetch();
    } else {
        state.exhausted = true;
        state.final = outcome;
    }
    return true;
}

void printDigest(const char* text, uint64_t digest) {
    std::printf("%s%016llx", text, static_cast<unsigned long long>(digest));
}

int32_t finishReplay(uint64_t digest) {
    if (state.frameTouched) endRecordedFrame();
    // A program that ended before the recording did went another way at its last frame.
    if (!state.stopped && !state.exhausted) diverge();
    if (state.final == Outcome::failed) {
        // The file changed since it was checked at the start.
        std::fprintf(stderr, "%s\n", reader.message());
        return 2;
    }
    if (state.how == replayTimed) {
        const double seconds = std::chrono::duration<double>(Clock::now() - state.openedAt).count();
        const double rate = seconds > 0 ? static_cast<double>(state.shownFrames) / seconds : 0.0;
        std::printf("%llu frames in %.3f s: %.1f frames per second\n",
                    static_cast<unsigned long long>(state.shownFrames), seconds, rate);
    }
    const unsigned long long frames = state.frames;
    int32_t status = 1;
    if (state.stopped) {
        std::printf("replay %s: stopped by the watcher at frame %llu of %llu\n", state.path,
                    static_cast<unsigned long long>(state.stoppedAt),
                    static_cast<unsigned long long>(state.totalFrames));
    } else if (state.final == Outcome::incomplete) {
        std::printf("replay %s: incomplete: played %llu frames, ", state.path, frames);
        printDigest("digest ", digest);
        std::printf("\n");
    } else if (digest == reader.footer().digest && !state.diverged) {
        std::printf("replay %s: %llu frames, ", state.path, frames);
        printDigest("digest ", digest);
        std::printf(" matches\n");
        status = 0;
    } else {
        std::printf("replay %s: %llu frames, ", state.path, frames);
        printDigest("digest ", digest);
        printDigest(digest == reader.footer().digest ? " matches the recorded " : " does not match the recorded ",
                    reader.footer().digest);
        if (state.diverged)
            std::printf("; first difference at frame %llu", static_cast<unsigned long long>(state.divergedAt));
        std::printf("\n");
    }
    if (state.diverged && (state.stopped || state.final == Outcome::incomplete))
        std::printf("replay %s: first difference at frame %llu\n", state.path,
                    static_cast<unsigned long long>(state.divergedAt));
    std::fflush(stdout);
    return status;
}

}  // namespace

bool recording() { return state.mode == Mode::recording; }
bool replaying() { return state.mode == Mode::replaying; }
bool unpaced() { return replaying() && state.how != replayInWindow; }

int64_t answer(Query query, int32_t argument, int64_t live) {
    if (state.mode != Mode::recording) return live;
    if (query == Query::tickCount && state.seedPending) {
        state.seedPending = false;
        live = state.seed;
    }
    writer.answer(Answer{query, argument, live});
    return live;
}

int64_t replayed(Query query, int32_t argument) {
    const int64_t value = replayAnswer(query, argument);
    if (query == Query::mouseX) state.lastMouse[0] = value;
    if (query == Query::mouseY) state.lastMouse[1] = value;
    if (query == Query::mouseButtons) state.lastMouse[2] = value;
    return value;
}

void watcherStopped() {
    if (state.stopped || !replaying()) return;
    state.stopped = true;
    state.stoppedAt = state.frames;
}

void windowOpened() {
    state.openedAt = Clock::now();
    state.shownFrames = 0;
}

void frameShown() {
    ++state.shownFrames;
    if (state.mode == Mode::recording) {
        writer.frameEnd(nowMs());
        reportWriteFailure();
    } else if (state.mode == Mode::replaying && !over()) {
        endRecordedFrame();
    }
}

}  // namespace win::session

using namespace win::session;

bool start_recording(const char* path, const char* program, const char* version, char* error, size_t errorSize) {
    if (state.mode != Mode::live) {
        copyText(error, errorSize, "a recording or replay has already started");
        return false;
    }
    state = Session{};
    win::recording::Header header;
    copyText(header.program, sizeof header.program, program ? program : "");
    copyText(header.version, sizeof header.version, version ? version : "");
    header.seed = nowMs();
    if (!writer.open(path, header)) {
        copyText(error, errorSize, writer.error());
        return false;
    }
    copyText(state.program, sizeof state.program, header.program);
    copyText(state.path, sizeof state.path, path);
    state.seed = header.seed;
    state.seedPending = true;
    state.mode = Mode::recording;
    return true;
}

bool start_replay(const char* path, const char* program, int16_t how, char* error, size_t errorSize) {
    if (state.mode != Mode::live) {
        copyText(error, errorSize, "a recording or replay has already started");
        return false;
    }
    if (how < replayInWindow || how > replayTimed) {
        copyText(error, errorSize, "no such way of replaying");
        return false;
    }
    state = Session{};
    copyText(state.program, sizeof state.program, program ? program : "");
    copyText(state.path, sizeof state.path, path ? path : "");
    if (!checkRecording(error, errorSize)) return false;
    state.how = how;
    state.mode = Mode::replaying;
    if (how == replayHeadless) use_null_backend();
    return true;
}

bool replaying() { return win::session::replaying(); }

int32_t finish_session(uint64_t digest) {
    const Mode mode = state.mode;
    state.mode = Mode::live;
    if (mode == Mode::replaying) return finishReplay(digest);
    if (mode != Mode::recording) return 0;
    // A recording that could not be finished has said so on standard error; the game itself ended as usual.
    writer.finish(digest);
    reportWriteFailure();
    return 0;
}

void record_load(const char* name, const uint8_t* bytes, size_t size, const char* reason) {
    if (state.mode != Mode::recording) return;
    if (bytes != nullptr) writer.loadedFile(name ? name : "", bytes, size);
    else writer.loadFailed(name ? name : "", reason ? reason : "");
}

bool replayed_load(const char* name, uint8_t* buffer, size_t capacity, size_t& size, char* reason, size_t reasonSize) {
    size = 0;
    if (state.mode != Mode::replaying) {
        copyText(reason, reasonSize, "no recording is playing");
        return false;
    }
    if (over()) {
        if (!state.stopped && state.final == Outcome::end) diverge();
        copyText(reason, reasonSize, "the replay has ended");
        return false;
    }
    state.frameTouched = true;
    while (!over()) {
        const win::recording::Frame& f = reader.frame();
        if (f.hasLoad && !state.loadUsed) {
            state.loadUsed = true;
            const win::recording::Load& load = f.load;
            if (std::strcmp(load.name, name ? name : "") != 0) diverge();
            if (!load.loaded) {
                copyText(reason, reasonSize, load.reason);
                return false;
            }
            size = load.size < capacity ? load.size : capacity;
            if (size > 0) std::memcpy(buffer, load.bytes, size);
            return true;
        }
        if (answersLeft() || f.endsFrame) break;
        fetch();
    }
    diverge();
    copyText(reason, reasonSize, "the recording holds no load here");
    return false;
}
