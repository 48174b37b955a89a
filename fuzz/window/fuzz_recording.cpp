// libFuzzer target for the recording reader. Whatever the bytes, reading must end in an outcome without a crash,
// a hang or unbounded memory, and every part it hands out must hold only what a recording can hold.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

#include "window/recording.h"

namespace {

namespace rec = win::recording;

// Parts read from one input at most: a run line may repeat a frame a billion times, one part a call.
constexpr int32_t maxParts = 20000;

// One file name for the process, removed when it ends.
const char* inputPath() {
    static char path[] = "/tmp/fuzz_recording.XXXXXX";
    static const bool made = [] {
        const int fd = mkstemp(path);
        if (fd < 0) std::abort();
        ::close(fd);
        return std::atexit([] { unlink(path); }) == 0;
    }();
    (void)made;
    return path;
}

bool sound(const rec::Frame& f) {
    if (f.count < 0 || f.count > rec::maxAnswers) return false;
    for (int32_t i = 0; i < f.count; ++i)
        if (!rec::answerValid(f.entries[i].answer) || f.entries[i].times == 0) return false;
    if (f.hasLoad) {
        if (f.count != 0 || f.endsFrame) return false;
        if (std::strlen(f.load.name) == 0 || std::strlen(f.load.name) > rec::maxNameBytes) return false;
        if (f.load.loaded && (f.load.size > rec::maxFileBytes || (f.load.size > 0 && !f.load.bytes))) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static rec::Reader reader;
    const char* path = inputPath();
    // A new file each time: truncating one that holds data can make the file system write it back at once.
    unlink(path);
    const int fd = ::open(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0 || (size > 0 && ::write(fd, data, size) != static_cast<ssize_t>(size))) std::abort();
    ::close(fd);
    rec::Outcome outcome = reader.open(path, "pentagir");
    uint64_t wholeFrames = 0;
    for (int32_t part = 0; outcome == rec::Outcome::ok && part < maxParts; ++part) {
        outcome = reader.next();
        if (outcome != rec::Outcome::ok) break;
        if (!sound(reader.frame()) || reader.frame().number != wholeFrames) std::abort();
        if (reader.frame().endsFrame) ++wholeFrames;
        rec::Cursor cursor;
        for (int32_t calls = 0; calls < 1000 && rec::nextAnswer(reader.frame(), cursor); ++calls) {
        }
    }
    if (outcome == rec::Outcome::end && reader.footer().frames != wholeFrames) std::abort();
    const bool stopped = outcome == rec::Outcome::incomplete || outcome == rec::Outcome::failed;
    if (stopped && std::strlen(reader.message()) == 0) std::abort();
    if (std::strchr(reader.message(), '\n')) std::abort();
    return 0;
}
