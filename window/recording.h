// Recordings of a game: the writer that stores what every frame read from the window layer, and the reader that
// hands it back. A program measures all motion in frames and seeds its one random generator once, from the clock,
// so a game is fully determined by its seed and by these answers; playing them back replays the game.
//
// A recording is a text file, one record a line (docs/recording.md describes it line by line). Both sides work in
// fixed-size buffers: nothing here allocates once a recording is open, except that the reader's buffer for a
// loaded file's bytes (128 KiB from open on) grows for a file larger than that, up to maxFileBytes. No exceptions, no
// virtual functions.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace win::recording {

// The first line of every recording is this name, a space and the format version.
inline constexpr const char* formatName = "twisty-recording";
inline constexpr int32_t formatVersion = 1;

// Most answers one part of a frame holds; a frame that asks more is stored and read back in several parts.
inline constexpr int32_t maxAnswers = 256;
// Most times in a row one answer is counted as a single entry, and most frames one run line repeats.
inline constexpr uint32_t maxTimes = 1000000000;
// Largest loaded file a recording stores (the largest save file of the family is about 70 KB).
inline constexpr uint32_t maxFileBytes = 4u << 20;
// Longest file name and failure reason a recording stores, in bytes.
inline constexpr int32_t maxNameBytes = 255;
// Longest line the reader takes, its newline included; the writer's longest (256 entries) stays well below it.
inline constexpr int32_t maxLineBytes = 8192;

// The window layer's input queries, each answered from the recording during a replay.
enum class Query : uint8_t { mouseX, mouseY, mouseButtons, keyWaiting, nextKeyByte, takeKey, keyHeld, tickCount };
inline constexpr int32_t queryCount = 8;

// One call of a query: its argument (the key number of keyHeld, 0 for the others) and what it answered.
// tick_count's answer is unsigned 32-bit, so the value is wider than the argument.
struct Answer {
    Query query = Query::mouseX;
    int32_t argument = 0;
    int64_t value = 0;
};

// True when the argument and the value are ones the layer can give for that query: key numbers 0-255 for
// keyHeld and 0 for the others; 16-bit mouse values, 0 or 1 for the yes-or-no queries, a byte for the key bytes,
// an unsigned 32-bit tick count. A recording holds nothing else.
bool answerValid(const Answer& answer);

// An answer given `times` times in a row (a loop polling key_waiting gives the same answer thousands of times).
struct Entry {
    Answer answer;
    uint32_t times = 1;
};

// What a recording says about the program that made it.
struct Header {
    int32_t formatVersion = recording::formatVersion;  // as read; the writer always writes its own
    char program[32] = {};                             // the command, e.g. "cube3d": letters, digits and . _ + -
    char version[32] = {};                             // the program's version, same characters
    uint32_t seed = 0;
};

// A load of a file made during the frame: the bytes it read, or why it read none.
struct Load {
    bool loaded = false;               // false: the file was missing or refused, and reason says why
    char name[maxNameBytes + 1] = {};  // as the program named it
    char reason[maxNameBytes + 1] = {};
    uint32_t size = 0;
    const uint8_t* bytes = nullptr;  // size bytes, valid until the reader's next call of next()
};

// One part of a frame as the reader hands it out: the answers in the order the program asked for them. A frame
// that asked at most maxAnswers different entries and loaded no file is one part. Otherwise the parts follow each
// other in order: parts with answers, and a part of its own (without answers) for each load, at the place where
// the load came among the frame's questions; endsFrame is set on the frame's last part only.
struct Frame {
    Entry entries[maxAnswers];
    int32_t count = 0;
    bool endsFrame = true;
    bool hasLoad = false;
    Load load;
    uint64_t number = 0;  // which frame this part belongs to, from 0
};

// Walks through a frame part's answers one call at a time, for the layer that compares each call of a replay
// with the recording.
struct Cursor {
    int32_t entry = 0;
    uint32_t used = 0;  // calls already answered from entries[entry]
};

// The next answer of the part, or nullptr when its answers are used up.
const Answer* nextAnswer(const Frame& frame, Cursor& cursor);

// Writes a recording while the game is played. Lines are collected in memory and handed to the kernel when a
// frame ends at least a second after the last time (or when the buffer fills), so a crash, a kill or a power cut
// leaves a file that replays to its last complete frame. Only whole lines ever reach the file. Every operation
// after a failure does nothing; failed() and error() say what went wrong.
class Writer {
public:
    Writer();
    ~Writer();  // writes out what is collected and closes, without an end line, when finish() was not called
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    // Creates the file, or replaces it when it is itself a recording, and writes the header. Refuses a symbolic
    // link (never written through, whatever it leads to), a folder, a FIFO, a device, every other existing file,
    // and a header whose names hold characters a recording cannot store. False with error() set to one line
    // naming the file and the reason.
    bool open(const char* path, const Header& header);

    // One query of the current frame and its answer. One that answerValid refuses ends the recording: no recording
    // could hold it.
    void answer(const Answer& answer);
    // A load of a file made in the current frame, in its place among the frame's questions. The name and reason
    // keep their first maxNameBytes bytes; a file larger than maxFileBytes ends the recording.
    void loadedFile(const char* name, const uint8_t* bytes, size_t size);
    void loadFailed(const char* name, const char* reason);
    // The current frame was shown; nowMs is a steady clock in milliseconds. Returns false once the recording has
    // failed (at this call or before).
    bool frameEnd(uint32_t nowMs);
    // Stores what was asked since the last shown frame as the last frame, writes the end line with the number of
    // frames and the digest of the final puzzle state, and syncs and closes the file. False on failure.
    bool finish(uint64_t digest);

    bool isOpen() const { return fd_ >= 0; }
    bool failed() const { return failed_; }
    const char* error() const { return error_; }
    uint64_t frames() const { return frames_; }

private:
    struct Part {
        Entry entries[maxAnswers];
        int32_t count = 0;
    };

    void fail(const char* what, int errorNumber);
    void endCurrentFrame();
    void writeRun();
    void writePart(char kind, const Part& part);
    void writeChanges();
    void endSplitPart();
    void append(const char* text, size_t size);
    bool writeOut();
    void closeFile(bool sync);
    void closeUnfinished();

    int fd_ = -1;
    bool failed_ = false;
    char path_[4096] = {};
    char error_[4096 + 256] = {};
    Part current_;
    Part previous_;
    bool previousValid_ = false;  // previous_ is a whole one-part frame that a change or run line may refer to
    bool split_ = false;          // the current frame has parts written already
    uint64_t run_ = 0;            // frames equal to previous_ that no line holds yet
    uint64_t frames_ = 0;
    bool flushedOnce_ = false;
    uint32_t lastFlushMs_ = 0;
    uint64_t fileSize_ = 0;  // bytes in the file, all of them whole lines
    size_t used_ = 0;
    char buffer_[65536];
};

// What a reader call found.
enum class Outcome : uint8_t {
    ok,          // open: the header is read; next: frame() holds the next part
    end,         // the end line: footer() holds it
    incomplete,  // the file stops early (a crash, a kill): everything before it was handed out
    failed,      // not a recording of this program, a newer format, a damaged line, an unreadable file
};

// What the end line says.
struct Footer {
    uint64_t frames = 0;
    uint64_t digest = 0;
};

// Reads a recording a line at a time through a fixed buffer, so a file of any size streams and any input ends in
// an outcome: nothing waits, nothing grows without bound, every number is checked against its limits.
class Reader {
public:
    Reader();
    ~Reader();
    Reader(const Reader&) = delete;
    Reader& operator=(const Reader&) = delete;

    // Opens the file and reads its header; a recording of any other program than expectedProgram is refused.
    // On incomplete or failed, message() names the file, the line and what is wrong.
    Outcome open(const char* path, const char* expectedProgram);
    const Header& header() const { return header_; }

    // The next frame part: ok with frame() set, end after the end line, incomplete or failed with message() set.
    // A run of equal frames gives the same part again, one frame at a time; only its number changes.
    Outcome next();
    const Frame& frame() const { return frame_; }
    const Footer& footer() const { return footer_; }
    // Frames handed out whole so far.
    uint64_t framesRead() const { return framesRead_; }
    const char* message() const { return message_; }

private:
    enum class LineRead : uint8_t { line, endOfFile, cutShort, tooLong, readError };

    LineRead readLine();
    Outcome failAt(uint64_t line, const char* format, ...) __attribute__((format(printf, 3, 4)));
    Outcome incomplete(const char* where);
    Outcome noLine(LineRead read, const char* where);
    Outcome stop(Outcome outcome);
    Outcome readHeader(const char* expectedProgram);
    Outcome parseLine();
    Outcome parseEntries(bool endsFrame);
    Outcome parseChanges();
    Outcome parseRun();
    Outcome parseLoad(bool loaded);
    Outcome readLoadBytes();
    Outcome parseEnd();
    void closeFile();

    int fd_ = -1;
    char path_[4096] = {};
    char message_[4096 + 512] = {};
    Header header_;
    Frame frame_;
    Footer footer_;
    bool previousValid_ = false;  // frame_ holds a whole one-part frame that a change or run line may refer to
    bool insideFrame_ = false;    // parts of a frame came and its last part has not
    bool finished_ = false;
    Outcome finalOutcome_ = Outcome::ok;
    uint64_t runLeft_ = 0;
    uint64_t framesRead_ = 0;
    std::unique_ptr<uint8_t[]> fileBytes_;
    uint32_t fileCapacity_ = 0;
    // The line being parsed, and the stream it comes from.
    const char* line_ = nullptr;
    int32_t lineSize_ = 0;
    uint64_t lineNumber_ = 0;
    bool atEof_ = false;
    bool cutShort_ = false;  // the file ends inside a line
    int readErrno_ = 0;
    size_t start_ = 0, end_ = 0;
    char buffer_[65536];
};

}  // namespace win::recording
