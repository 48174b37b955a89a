#include "window/recording.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace win::recording {
namespace {

// The letter each query is stored under, by Query.
constexpr char queryLetter[queryCount] = {'x', 'y', 'b', 'w', 'n', 't', 'h', 'c'};

// The answers each query can give, by Query: what its return type in the layer holds.
struct Range {
    int64_t low, high;
};
constexpr Range valueRange[queryCount] = {
    {-32768, 32767},    // mouseX
    {-32768, 32767},    // mouseY
    {-32768, 32767},    // mouseButtons
    {0, 1},             // keyWaiting
    {0, 255},           // nextKeyByte
    {0, 255},           // takeKey
    {0, 1},             // keyHeld
    {0, 4294967295LL},  // tickCount
};
constexpr int32_t maxKeyNumber = 255;
constexpr int32_t bytesPerLine = 64;
constexpr uint32_t flushIntervalMs = 1000;
// The reader's room for a loaded file at first: above the largest save file of the family (about 70 KB).
constexpr uint32_t initialFileBytes = 128 * 1024;
// Bound of the end line's frame count: far beyond any game, small enough never to overflow a count.
constexpr uint64_t maxFrames = 1000000000000000000ULL;

bool sameAnswer(const Answer& a, const Answer& b) {
    return a.query == b.query && a.argument == b.argument && a.value == b.value;
}

// Program names and versions go into the header as single words.
bool headerWord(const char* text) {
    const size_t length = strnlen(text, 32);
    if (length == 0 || length > 31) return false;
    for (size_t i = 0; i < length; ++i) {
        const char c = text[i];
        const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
                        c == '_' || c == '+' || c == '-';
        if (!ok) return false;
    }
    return true;
}

// Bytes a name or reason keeps as they are: printable ASCII, without the escape character, and for a name
// without the space that ends it.
bool keptAsIs(uint8_t c, bool isName) { return c >= (isName ? 0x21 : 0x20) && c <= 0x7e && c != '%'; }

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

constexpr char hexDigits[] = "0123456789abcdef";

// A line under construction; its capacity is the reader's line limit, and no line the writer makes comes near it.
struct LineBuilder {
    char text[maxLineBytes];
    size_t size = 0;

    // The bounds checks never fire for the lines the writer makes; they keep a mistake from writing past the end.
    void put(char c) {
        if (size < sizeof text) text[size++] = c;
    }
    void put(const char* s) {
        const size_t n = std::min(std::strlen(s), sizeof text - size);
        std::memcpy(text + size, s, n);
        size += n;
    }
    template <typename T>
    void number(T value) {
        size = static_cast<size_t>(std::to_chars(text + size, text + sizeof text, value).ptr - text);
    }
    // name or reason text, escaped as %XX where it must be, cut at maxNameBytes source bytes
    void escaped(const char* s, bool isName) {
        for (size_t i = 0; s[i] != '\0' && i < static_cast<size_t>(maxNameBytes); ++i) {
            const uint8_t c = static_cast<uint8_t>(s[i]);
            if (keptAsIs(c, isName)) {
                put(static_cast<char>(c));
            } else {
                put('%');
                put(hexDigits[c >> 4]);
                put(hexDigits[c & 15]);
            }
        }
    }
    void entry(const Entry& e) {
        put(queryLetter[static_cast<int>(e.answer.query)]);
        if (e.answer.query == Query::keyHeld) number(e.answer.argument);
        put('=');
        number(e.answer.value);
        if (e.times > 1) {
            put('*');
            number(e.times);
        }
    }
};

// Reads the fields of one line, left to right; every read checks what it takes.
struct Scanner {
    const char* at;
    const char* end;

    bool atEnd() const { return at == end; }
    bool take(char c) {
        if (at == end || *at != c) return false;
        ++at;
        return true;
    }
    bool word(const char* w) {
        const size_t n = std::strlen(w);
        if (static_cast<size_t>(end - at) < n || std::memcmp(at, w, n) != 0) return false;
        at += n;
        return true;
    }
    // Decimal digits (at least one) whose value is at most max.
    bool unsignedNumber(uint64_t& value, uint64_t max) {
        if (at == end || *at < '0' || *at > '9') return false;
        value = 0;
        while (at != end && *at >= '0' && *at <= '9') {
            const uint64_t digit = static_cast<uint64_t>(*at - '0');
            if (value > (max - digit) / 10) return false;
            value = value * 10 + digit;
            ++at;
        }
        return true;
    }
    bool signedNumber(int64_t& value, int64_t low, int64_t high) {
        const bool negative = take('-');
        uint64_t magnitude = 0;
        if (!unsignedNumber(magnitude, negative ? static_cast<uint64_t>(-low) : static_cast<uint64_t>(high)))
            return false;
        if (negative && magnitude == 0) return false;  // "-0": not how a number is written here
        value = negative ? -static_cast<int64_t>(magnitude) : static_cast<int64_t>(magnitude);
        return value >= low && value <= high;
    }
    // Text up to the next space (a name) or to the end of the line (a reason), %XX escapes decoded.
    bool text(char* out, bool isName) {
        int32_t size = 0;
        while (at != end && !(isName && *at == ' ')) {
            uint8_t c = static_cast<uint8_t>(*at++);
            if (c == '%') {
                if (end - at < 2 || hexDigit(at[0]) < 0 || hexDigit(at[1]) < 0) return false;
                c = static_cast<uint8_t>(hexDigit(at[0]) * 16 + hexDigit(at[1]));
                at += 2;
                if (c == 0) return false;
            } else if (!keptAsIs(c, isName)) {
                return false;
            }
            if (size == maxNameBytes) return false;
            out[size++] = static_cast<char>(c);
        }
        out[size] = '\0';
        return !isName || size > 0;
    }
};

bool looksLikeFormatLine(const char* line, size_t size) {
    const size_t nameSize = std::strlen(formatName);
    if (size <= nameSize + 1 || std::memcmp(line, formatName, nameSize) != 0 || line[nameSize] != ' ') return false;
    for (size_t i = nameSize + 1; i < size; ++i)
        if (line[i] < '0' || line[i] > '9') return false;
    return size - nameSize - 1 <= 9;
}

// True when a first line cut after size bytes could have been a recording's first line.
bool couldStartFormatLine(const char* line, size_t size) {
    const size_t nameSize = std::strlen(formatName);
    for (size_t i = 0; i < size; ++i) {
        const bool ok = i < nameSize    ? line[i] == formatName[i]
                        : i == nameSize ? line[i] == ' '
                                        : line[i] >= '0' && line[i] <= '9';
        if (!ok) return false;
    }
    return true;
}

// True when the regular file at path starts with a recording's first line, of any format version.
bool isRecording(const char* path) {
    const int fd = ::open(path, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    char start[64];
    size_t size = 0;
    struct stat info;
    if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        while (size < sizeof start) {
            const ssize_t n = ::read(fd, start + size, sizeof start - size);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            size += static_cast<size_t>(n);
        }
    }
    ::close(fd);
    const void* newline = std::memchr(start, '\n', size);
    return newline && looksLikeFormatLine(start, static_cast<size_t>(static_cast<const char*>(newline) - start));
}

}  // namespace

bool answerValid(const Answer& answer) {
    const int index = static_cast<int>(answer.query);
    if (index < 0 || index >= queryCount) return false;
    if (answer.query == Query::keyHeld ? answer.argument < 0 || answer.argument > maxKeyNumber : answer.argument != 0)
        return false;
    return answer.value >= valueRange[index].low && answer.value <= valueRange[index].high;
}

const Answer* nextAnswer(const Frame& frame, Cursor& cursor) {
    while (cursor.entry < frame.count) {
        const Entry& e = frame.entries[cursor.entry];
        if (cursor.used < e.times) {
            ++cursor.used;
            return &e.answer;
        }
        ++cursor.entry;
        cursor.used = 0;
    }
    return nullptr;
}

// ---- Writer

Writer::Writer() = default;

Writer::~Writer() { closeUnfinished(); }

// Keeps what the frames so far wrote, without an end line: the file replays as a recording cut short.
void Writer::closeUnfinished() {
    if (fd_ < 0) return;
    writeRun();
    if (writeOut()) closeFile(true);
}

void Writer::fail(const char* what, int errorNumber) {
    if (errorNumber != 0) std::snprintf(error_, sizeof error_, "%s: %s: %s", path_, what, std::strerror(errorNumber));
    else std::snprintf(error_, sizeof error_, "%s: %s", path_, what);
    failed_ = true;
    used_ = 0;
    closeFile(true);
}

void Writer::closeFile(bool sync) {
    if (fd_ < 0) return;
    if (sync) fsync(fd_);
    ::close(fd_);
    fd_ = -1;
}

bool Writer::open(const char* path, const Header& header) {
    closeUnfinished();
    failed_ = false;
    error_[0] = '\0';
    current_.count = previous_.count = 0;
    previousValid_ = split_ = flushedOnce_ = false;
    run_ = frames_ = fileSize_ = 0;
    used_ = 0;
    std::snprintf(path_, sizeof path_, "%s", path);
    if (std::strlen(path) >= sizeof path_) {
        fail("the name is too long", 0);
        return false;
    }
    if (!headerWord(header.program) || !headerWord(header.version)) {
        fail("the program's name or version cannot be stored in a recording", 0);
        return false;
    }
    // Look before opening: only a recording may be replaced, and nothing is written through a link.
    struct stat before;
    const bool exists = lstat(path, &before) == 0;
    if (!exists && errno != ENOENT) {
        fail("cannot look at it", errno);
        return false;
    }
    if (exists) {
        const char* refusal = S_ISLNK(before.st_mode)   ? "is a symbolic link; a recording is never written through one"
                              : S_ISDIR(before.st_mode) ? "is a folder"
                              : !S_ISREG(before.st_mode) ? "is not a regular file (a FIFO, a device or a socket)"
                              : !isRecording(path)       ? "exists and is not a recording; it is left alone"
                                                         : nullptr;
        if (refusal) {
            fail(refusal, 0);
            return false;
        }
    }
    // O_EXCL for a new file and a check of the inode for an old one: whatever took the name since the look
    // above is refused too. O_NONBLOCK keeps a FIFO put there from blocking the open.
    const int flags = O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | (exists ? 0 : O_CREAT | O_EXCL);
    fd_ = ::open(path, flags, 0666);
    if (fd_ < 0) {
        const int error = errno;
        if (error == ELOOP) fail("is a symbolic link; a recording is never written through one", 0);
        else fail(exists ? "cannot be opened for writing" : "cannot be created", error);
        return false;
    }
    struct stat now;
    if (fstat(fd_, &now) != 0 || !S_ISREG(now.st_mode) ||
        (exists && (now.st_dev != before.st_dev || now.st_ino != before.st_ino))) {
        fail("changed while it was being opened", 0);
        return false;
    }
    if ((exists && ftruncate(fd_, 0) != 0) || fcntl(fd_, F_SETFL, 0) != 0) {
        fail("cannot be written", errno);
        return false;
    }
    LineBuilder line;
    line.put(formatName);
    line.put(' ');
    line.number(formatVersion);
    line.put("\nprogram ");
    line.put(header.program);
    line.put("\nversion ");
    line.put(header.version);
    line.put("\nseed ");
    line.number(header.seed);
    line.put('\n');
    append(line.text, line.size);
    return writeOut();
}

void Writer::answer(const Answer& a) {
    if (fd_ < 0) return;
    if (!answerValid(a)) {
        fail("an answer outside what the window layer can give cannot be recorded", 0);
        return;
    }
    Part& p = current_;
    if (p.count > 0) {
        Entry& last = p.entries[p.count - 1];
        if (sameAnswer(last.answer, a) && last.times < maxTimes) {
            ++last.times;
            return;
        }
    }
    if (p.count == maxAnswers) {
        endSplitPart();
        if (fd_ < 0) return;
    }
    p.entries[p.count++] = Entry{a, 1};
}

// Writes the current frame's answers so far as a part line: the frame goes on in the lines after it.
void Writer::endSplitPart() {
    if (!split_) {
        writeRun();
        previousValid_ = false;
        split_ = true;
    }
    if (current_.count > 0) writePart('P', current_);
    current_.count = 0;
}

void Writer::loadedFile(const char* name, const uint8_t* bytes, size_t size) {
    if (fd_ < 0) return;
    if (name[0] == '\0' || size > maxFileBytes) {
        fail(size > maxFileBytes ? "a loaded file larger than 4 MiB cannot be recorded"
                                 : "a load of a file without a name cannot be recorded",
             0);
        return;
    }
    endSplitPart();
    LineBuilder line;
    line.put("L ");
    line.escaped(name, true);
    line.put(' ');
    line.number(size);
    line.put('\n');
    append(line.text, line.size);
    for (size_t at = 0; at < size; at += bytesPerLine) {
        const size_t n = size - at < bytesPerLine ? size - at : bytesPerLine;
        line.size = 0;
        line.put("B ");
        for (size_t i = 0; i < n; ++i) {
            line.put(hexDigits[bytes[at + i] >> 4]);
            line.put(hexDigits[bytes[at + i] & 15]);
        }
        line.put('\n');
        append(line.text, line.size);
    }
}

void Writer::loadFailed(const char* name, const char* reason) {
    if (fd_ < 0) return;
    if (name[0] == '\0') {
        fail("a load of a file without a name cannot be recorded", 0);
        return;
    }
    endSplitPart();
    LineBuilder line;
    line.put("N ");
    line.escaped(name, true);
    if (reason[0] != '\0') {
        line.put(' ');
        line.escaped(reason, false);
    }
    line.put('\n');
    append(line.text, line.size);
}

bool Writer::frameEnd(uint32_t nowMs) {
    if (fd_ < 0) return false;
    endCurrentFrame();
    // Unsigned difference: right across the wrap of the millisecond clock.
    if (!flushedOnce_ || nowMs - lastFlushMs_ >= flushIntervalMs) {
        writeRun();
        writeOut();
        flushedOnce_ = true;
        lastFlushMs_ = nowMs;
    }
    return !failed_;
}

// A frame equal to the one before only adds to the run; one of the same shape is written as its changed values;
// any other as a whole line.
void Writer::endCurrentFrame() {
    Part& c = current_;
    if (split_) {
        writePart('F', c);
        split_ = false;
        previousValid_ = false;
    } else {
        const Part& p = previous_;
        bool sameShape = previousValid_ && c.count == p.count;
        bool same = sameShape;
        for (int32_t i = 0; i < c.count && sameShape; ++i) {
            const Entry &a = c.entries[i], &b = p.entries[i];
            sameShape =
                a.answer.query == b.answer.query && a.answer.argument == b.answer.argument && a.times == b.times;
            same = same && a.answer.value == b.answer.value;
        }
        if (sameShape && same) {
            if (++run_ == maxTimes) writeRun();
        } else {
            writeRun();
            if (sameShape) writeChanges();
            else writePart('F', c);
            std::memcpy(previous_.entries, c.entries, sizeof(Entry) * static_cast<size_t>(c.count));
            previous_.count = c.count;
            previousValid_ = true;
        }
    }
    c.count = 0;
    ++frames_;
}

void Writer::writeRun() {
    if (run_ == 0 || fd_ < 0) return;
    LineBuilder line;
    line.put("R ");
    line.number(run_);
    line.put('\n');
    run_ = 0;
    append(line.text, line.size);
}

void Writer::writePart(char kind, const Part& part) {
    LineBuilder line;
    line.put(kind);
    for (int32_t i = 0; i < part.count; ++i) {
        line.put(' ');
        line.entry(part.entries[i]);
    }
    line.put('\n');
    append(line.text, line.size);
}

void Writer::writeChanges() {
    LineBuilder line;
    line.put('D');
    for (int32_t i = 0; i < current_.count; ++i) {
        const int64_t value = current_.entries[i].answer.value;
        if (value == previous_.entries[i].answer.value) continue;
        line.put(' ');
        line.number(i);
        line.put('=');
        line.number(value);
    }
    line.put('\n');
    append(line.text, line.size);
}

void Writer::append(const char* text, size_t size) {
    if (fd_ < 0) return;
    if (used_ + size > sizeof buffer_ && !writeOut()) return;
    std::memcpy(buffer_ + used_, text, size);
    used_ += size;
}

// Hands the collected lines to the kernel. A write cut short goes on from where it stopped; one that fails
// ends the recording, and the file is cut back to its last whole line so that it still replays.
bool Writer::writeOut() {
    if (fd_ < 0) return false;
    size_t done = 0;
    while (done < used_) {
        const ssize_t n = ::write(fd_, buffer_ + done, used_ - done);
        if (n > 0) {
            done += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        const int errorNumber = n < 0 ? errno : EIO;
        size_t whole = done;
        while (whole > 0 && buffer_[whole - 1] != '\n') --whole;
        if (whole != done && ftruncate(fd_, static_cast<off_t>(fileSize_ + whole)) != 0) {
            // The cut line stays; a reader takes it as a recording cut short, which it is.
        }
        fail("the recording stopped: writing failed", errorNumber);
        return false;
    }
    fileSize_ += used_;
    used_ = 0;
    return true;
}

bool Writer::finish(uint64_t digest) {
    if (fd_ < 0) return false;
    if (current_.count > 0 || split_) endCurrentFrame();
    writeRun();
    LineBuilder line;
    line.put("end ");
    line.number(frames_);
    line.put(' ');
    for (int shift = 60; shift >= 0; shift -= 4) line.put(hexDigits[(digest >> shift) & 15]);
    line.put('\n');
    append(line.text, line.size);
    if (!writeOut()) return false;
    if (fsync(fd_) != 0) {
        fail("the recording could not be synced", errno);
        return false;
    }
    const int closed = ::close(fd_);
    fd_ = -1;
    if (closed != 0) {
        fail("the recording could not be closed", errno);
        return false;
    }
    return true;
}

// ---- Reader

Reader::Reader() = default;

Reader::~Reader() { closeFile(); }

void Reader::closeFile() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

// Ends the reading with a failure: "FILE:LINE: what", or "FILE: what" when no line is concerned.
Outcome Reader::failAt(uint64_t line, const char* format, ...) {
    int n = line > 0
                ? std::snprintf(message_, sizeof message_, "%s:%llu: ", path_, static_cast<unsigned long long>(line))
                : std::snprintf(message_, sizeof message_, "%s: ", path_);
    if (n < 0) n = 0;
    if (static_cast<size_t>(n) < sizeof message_) {
        va_list args;
        va_start(args, format);
        std::vsnprintf(message_ + n, sizeof message_ - static_cast<size_t>(n), format, args);
        va_end(args);
    }
    return stop(Outcome::failed);
}

Outcome Reader::stop(Outcome outcome) {
    finished_ = true;
    finalOutcome_ = outcome;
    closeFile();
    return outcome;
}

// The file stops early: what came before it was handed out whole.
Outcome Reader::incomplete(const char* where) {
    const uint64_t line = cutShort_ ? lineNumber_ : lineNumber_ + 1;
    std::snprintf(message_, sizeof message_, "%s:%llu: the recording is incomplete (%s); it plays to frame %llu", path_,
                  static_cast<unsigned long long>(line), where, static_cast<unsigned long long>(framesRead_));
    return stop(Outcome::incomplete);
}

Reader::LineRead Reader::readLine() {
    for (;;) {
        const char* newline = static_cast<const char*>(std::memchr(buffer_ + start_, '\n', end_ - start_));
        if (newline && newline - (buffer_ + start_) >= maxLineBytes) {
            ++lineNumber_;
            return LineRead::tooLong;
        }
        if (newline) {
            line_ = buffer_ + start_;
            lineSize_ = static_cast<int32_t>(newline - line_);
            start_ = static_cast<size_t>(newline - buffer_) + 1;
            ++lineNumber_;
            return LineRead::line;
        }
        if (end_ - start_ >= static_cast<size_t>(maxLineBytes)) {
            ++lineNumber_;
            return LineRead::tooLong;
        }
        if (atEof_) {
            if (end_ == start_) return LineRead::endOfFile;
            ++lineNumber_;
            cutShort_ = true;
            line_ = buffer_ + start_;
            lineSize_ = static_cast<int32_t>(end_ - start_);
            return LineRead::cutShort;
        }
        if (start_ > 0) {
            std::memmove(buffer_, buffer_ + start_, end_ - start_);
            end_ -= start_;
            start_ = 0;
        }
        const ssize_t n = ::read(fd_, buffer_ + end_, sizeof buffer_ - end_);
        if (n < 0) {
            if (errno == EINTR) continue;
            readErrno_ = errno;
            ++lineNumber_;
            return LineRead::readError;
        }
        if (n == 0) atEof_ = true;
        else end_ += static_cast<size_t>(n);
    }
}

// The outcome of a read that brought no line: the end of the file, or why there is none.
Outcome Reader::noLine(LineRead read, const char* where) {
    switch (read) {
        case LineRead::endOfFile:
        case LineRead::cutShort: return incomplete(where);
        case LineRead::tooLong: return failAt(lineNumber_, "a line longer than %d bytes", maxLineBytes - 1);
        case LineRead::readError: return failAt(lineNumber_, "cannot be read: %s", std::strerror(readErrno_));
        case LineRead::line: break;
    }
    return failAt(lineNumber_, "unreadable");
}

Outcome Reader::open(const char* path, const char* expectedProgram) {
    closeFile();
    std::snprintf(path_, sizeof path_, "%s", path);
    message_[0] = '\0';
    header_ = Header{};
    frame_.count = 0;
    frame_.endsFrame = true;
    frame_.hasLoad = false;
    frame_.number = 0;
    footer_ = Footer{};
    previousValid_ = insideFrame_ = finished_ = false;
    finalOutcome_ = Outcome::ok;
    runLeft_ = framesRead_ = lineNumber_ = 0;
    atEof_ = cutShort_ = false;
    start_ = end_ = 0;
    // Room for a loaded file taken before the first frame, so that a replay's frames need not allocate.
    if (fileCapacity_ < initialFileBytes) {
        fileCapacity_ = initialFileBytes;
        fileBytes_.reset(new uint8_t[fileCapacity_]);
    }
    // O_NONBLOCK: opening a FIFO to read would otherwise wait for a writer.
    fd_ = ::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0) return failAt(0, "cannot be opened: %s", std::strerror(errno));
    struct stat info;
    if (fstat(fd_, &info) != 0) return failAt(0, "cannot be examined: %s", std::strerror(errno));
    if (S_ISDIR(info.st_mode)) return failAt(0, "is a folder, not a recording");
    if (!S_ISREG(info.st_mode)) return failAt(0, "is not a regular file, so not a recording");
    return readHeader(expectedProgram);
}

Outcome Reader::readHeader(const char* expectedProgram) {
    const size_t nameSize = std::strlen(formatName);
    LineRead read = readLine();
    if (read == LineRead::endOfFile) return incomplete("it is empty");
    if (read == LineRead::cutShort) {
        // A first line cut short that could still grow into a recording's first line is a recording cut short.
        if (couldStartFormatLine(line_, static_cast<size_t>(lineSize_))) return incomplete("it ends inside its header");
        return failAt(1, "not a recording (it does not start with '%s')", formatName);
    }
    if (read != LineRead::line) return noLine(read, "");
    if (!looksLikeFormatLine(line_, static_cast<size_t>(lineSize_)))
        return failAt(1, "not a recording (it does not start with '%s VERSION')", formatName);
    uint64_t version = 0;
    Scanner s{line_ + nameSize + 1, line_ + lineSize_};
    s.unsignedNumber(version, 999999999);
    if (version > static_cast<uint64_t>(formatVersion))
        return failAt(1, "made by a newer program: recording format %llu, this program reads format %d",
                      static_cast<unsigned long long>(version), formatVersion);
    if (version == 0) return failAt(1, "not a recording (format version 0)");
    header_.formatVersion = static_cast<int32_t>(version);

    // program NAME, version TEXT, seed NUMBER
    const char* keys[3] = {"program ", "version ", "seed "};
    for (int32_t field = 0; field < 3; ++field) {
        read = readLine();
        if (read == LineRead::endOfFile || read == LineRead::cutShort) return incomplete("it ends inside its header");
        if (read != LineRead::line) return noLine(read, "");
        Scanner f{line_, line_ + lineSize_};
        if (!f.word(keys[field])) return failAt(lineNumber_, "damaged header: expected '%sVALUE'", keys[field]);
        if (field < 2) {
            char* out = field == 0 ? header_.program : header_.version;
            const size_t n = static_cast<size_t>(f.end - f.at);
            if (n == 0 || n > 31)
                return failAt(lineNumber_, "damaged header: a %.7s of 1 to 31 characters", keys[field]);
            std::memcpy(out, f.at, n);
            out[n] = '\0';
            if (!headerWord(out)) return failAt(lineNumber_, "damaged header: unexpected characters");
            if (field == 0 && std::strcmp(header_.program, expectedProgram) != 0)
                return failAt(lineNumber_, "a recording of %s, not of %s", header_.program, expectedProgram);
        } else {
            uint64_t seed = 0;
            if (!f.unsignedNumber(seed, 4294967295ULL) || !f.atEnd())
                return failAt(lineNumber_, "damaged header: the seed is not a number from 0 to 4294967295");
            header_.seed = static_cast<uint32_t>(seed);
        }
    }
    return Outcome::ok;
}

Outcome Reader::next() {
    if (finished_) return finalOutcome_;
    if (fd_ < 0) return failAt(0, "no recording is open");
    if (runLeft_ > 0) {
        --runLeft_;
        frame_.number = framesRead_++;
        return Outcome::ok;
    }
    const LineRead read = readLine();
    if (read != LineRead::line) return noLine(read, insideFrame_ ? "its last frame is cut short" : "no end line");
    return parseLine();
}

Outcome Reader::parseLine() {
    if (lineSize_ == 0) return failAt(lineNumber_, "an empty line");
    const char kind = line_[0];
    if (lineSize_ > 1 && line_[1] != ' ') {
        if (lineSize_ >= 4 && std::memcmp(line_, "end ", 4) == 0) return parseEnd();
        return failAt(lineNumber_, "not a line of a recording");
    }
    switch (kind) {
        case 'F': return parseEntries(true);
        case 'P': return parseEntries(false);
        case 'D': return parseChanges();
        case 'R': return parseRun();
        case 'L': return parseLoad(true);
        case 'N': return parseLoad(false);
        case 'B': return failAt(lineNumber_, "a line of file bytes outside a loaded file");
        default: return failAt(lineNumber_, "not a line of a recording");
    }
}

// "F" or "P" and the entries: query letter, the key number for h, '=', the answer, '*' and a count when repeated.
Outcome Reader::parseEntries(bool endsFrame) {
    Frame& f = frame_;
    f.count = 0;
    f.hasLoad = false;
    Scanner s{line_ + 1, line_ + lineSize_};
    while (!s.atEnd()) {
        if (!s.take(' ')) return failAt(lineNumber_, "damaged frame line");
        if (f.count == maxAnswers) return failAt(lineNumber_, "more than %d answers on one line", maxAnswers);
        if (s.atEnd()) return failAt(lineNumber_, "damaged frame line");
        const char letter = *s.at++;
        const char* found = static_cast<const char*>(std::memchr(queryLetter, letter, queryCount));
        if (!found) return failAt(lineNumber_, "answer %d: not a query", f.count + 1);
        Entry& e = f.entries[f.count];
        e.answer.query = static_cast<Query>(found - queryLetter);
        e.answer.argument = 0;
        e.times = 1;
        if (e.answer.query == Query::keyHeld) {
            uint64_t key = 0;
            if (!s.unsignedNumber(key, maxKeyNumber))
                return failAt(lineNumber_, "answer %d: a key number from 0 to %d is missing", f.count + 1,
                              maxKeyNumber);
            e.answer.argument = static_cast<int32_t>(key);
        }
        const Range& range = valueRange[static_cast<int>(e.answer.query)];
        if (!s.take('=') || !s.signedNumber(e.answer.value, range.low, range.high))
            return failAt(lineNumber_, "answer %d: not an answer from %lld to %lld", f.count + 1,
                          static_cast<long long>(range.low), static_cast<long long>(range.high));
        if (s.take('*')) {
            uint64_t times = 0;
            if (!s.unsignedNumber(times, maxTimes) || times == 0)
                return failAt(lineNumber_, "answer %d: a repeat count from 1 to %u is missing", f.count + 1, maxTimes);
            e.times = static_cast<uint32_t>(times);
        }
        ++f.count;
    }
    if (!endsFrame && f.count == 0) return failAt(lineNumber_, "a part line without answers");
    f.endsFrame = endsFrame;
    f.number = framesRead_;
    if (endsFrame) {
        ++framesRead_;
        previousValid_ = !insideFrame_;
        insideFrame_ = false;
    } else {
        insideFrame_ = true;
        previousValid_ = false;
    }
    return Outcome::ok;
}

// "D" and the changed answers of a frame shaped like the one before: position '=' answer.
Outcome Reader::parseChanges() {
    if (!previousValid_) return failAt(lineNumber_, "a change line without a whole frame before it");
    Frame& f = frame_;
    Scanner s{line_ + 1, line_ + lineSize_};
    int64_t lastPosition = -1;
    while (!s.atEnd()) {
        uint64_t position = 0;
        if (!s.take(' ') || !s.unsignedNumber(position, maxAnswers) || !s.take('='))
            return failAt(lineNumber_, "damaged change line");
        if (static_cast<int64_t>(position) <= lastPosition || position >= static_cast<uint64_t>(f.count))
            return failAt(lineNumber_, "change of answer %llu: no such answer, or out of order",
                          static_cast<unsigned long long>(position));
        Answer& a = f.entries[position].answer;
        const Range& range = valueRange[static_cast<int>(a.query)];
        if (!s.signedNumber(a.value, range.low, range.high))
            return failAt(lineNumber_, "change of answer %llu: not an answer from %lld to %lld",
                          static_cast<unsigned long long>(position), static_cast<long long>(range.low),
                          static_cast<long long>(range.high));
        lastPosition = static_cast<int64_t>(position);
    }
    if (lastPosition < 0) return failAt(lineNumber_, "a change line without changes");
    f.number = framesRead_++;
    return Outcome::ok;
}

// "R" and how many more times the frame before comes.
Outcome Reader::parseRun() {
    if (!previousValid_) return failAt(lineNumber_, "a run line without a whole frame before it");
    Scanner s{line_ + 1, line_ + lineSize_};
    uint64_t count = 0;
    if (!s.take(' ') || !s.unsignedNumber(count, maxTimes) || !s.atEnd() || count == 0)
        return failAt(lineNumber_, "damaged run line: a count from 1 to %u", maxTimes);
    runLeft_ = count - 1;
    frame_.number = framesRead_++;
    return Outcome::ok;
}

// "L NAME SIZE" and its bytes lines, or "N NAME REASON": a load made in the frame, a part of its own.
Outcome Reader::parseLoad(bool loaded) {
    Load& load = frame_.load;
    Scanner s{line_ + 1, line_ + lineSize_};
    if (!s.take(' ') || !s.text(load.name, true)) return failAt(lineNumber_, "damaged file name");
    load.loaded = loaded;
    load.reason[0] = '\0';
    load.size = 0;
    load.bytes = nullptr;
    if (loaded) {
        uint64_t size = 0;
        if (!s.take(' ') || !s.unsignedNumber(size, maxFileBytes) || !s.atEnd())
            return failAt(lineNumber_, "damaged load line: a size from 0 to %u bytes", maxFileBytes);
        load.size = static_cast<uint32_t>(size);
        const Outcome bytes = readLoadBytes();
        if (bytes != Outcome::ok) return bytes;
    } else if (!s.atEnd() && (!s.take(' ') || !s.text(load.reason, false))) {
        return failAt(lineNumber_, "damaged reason");
    }
    frame_.count = 0;
    frame_.hasLoad = true;
    frame_.endsFrame = false;
    frame_.number = framesRead_;
    insideFrame_ = true;
    previousValid_ = false;
    return Outcome::ok;
}

// The loaded file's bytes: "B" and 64 bytes in lower-case hex a line, the last line holding the rest.
Outcome Reader::readLoadBytes() {
    Load& load = frame_.load;
    // Only a file larger than any save file of the family grows the buffer, in the frame that loads it.
    if (load.size > fileCapacity_) {
        fileCapacity_ = load.size;
        fileBytes_.reset(new uint8_t[fileCapacity_]);
    }
    uint8_t* bytes = fileBytes_.get();
    for (uint32_t got = 0; got < load.size;) {
        const LineRead read = readLine();
        if (read != LineRead::line) return noLine(read, "its last frame is cut short");
        const uint32_t n = load.size - got < bytesPerLine ? load.size - got : bytesPerLine;
        if (lineSize_ != static_cast<int32_t>(2 + 2 * n) || line_[0] != 'B' || line_[1] != ' ')
            return failAt(lineNumber_, "damaged file bytes: %u bytes expected", n);
        for (uint32_t i = 0; i < n; ++i) {
            const char high = line_[2 + 2 * i], low = line_[3 + 2 * i];
            const bool lower = (high < 'A' || high > 'F') && (low < 'A' || low > 'F');
            if (!lower || hexDigit(high) < 0 || hexDigit(low) < 0)
                return failAt(lineNumber_, "damaged file bytes: not lower-case hex");
            bytes[got + i] = static_cast<uint8_t>(hexDigit(high) * 16 + hexDigit(low));
        }
        got += n;
    }
    load.bytes = bytes;
    return Outcome::ok;
}

// "end FRAMES DIGEST": the last line; nothing may follow it.
Outcome Reader::parseEnd() {
    if (insideFrame_) return failAt(lineNumber_, "the end line comes inside a frame");
    Scanner s{line_ + 4, line_ + lineSize_};
    uint64_t frames = 0, digest = 0;
    if (!s.unsignedNumber(frames, maxFrames) || !s.take(' '))
        return failAt(lineNumber_, "damaged end line: expected 'end FRAMES DIGEST'");
    for (int32_t i = 0; i < 16; ++i) {
        const int d = s.atEnd() ? -1 : hexDigit(*s.at);
        if (d < 0 || (*s.at >= 'A' && *s.at <= 'F'))
            return failAt(lineNumber_, "damaged end line: the digest is 16 lower-case hex digits");
        digest = digest << 4 | static_cast<uint64_t>(d);
        ++s.at;
    }
    if (!s.atEnd()) return failAt(lineNumber_, "damaged end line: the digest is 16 lower-case hex digits");
    if (frames != framesRead_)
        return failAt(lineNumber_, "the end line counts %llu frames, the recording holds %llu",
                      static_cast<unsigned long long>(frames), static_cast<unsigned long long>(framesRead_));
    footer_.frames = frames;
    footer_.digest = digest;
    const uint64_t endLine = lineNumber_;
    if (readLine() != LineRead::endOfFile) return failAt(endLine + 1, "more after the end line");
    return stop(Outcome::end);
}

}  // namespace win::recording
