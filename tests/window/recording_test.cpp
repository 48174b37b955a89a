#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "window/recording.h"

namespace rec = win::recording;
using rec::Answer;
using rec::Outcome;
using rec::Query;

namespace {

// One thing a frame did, as the program saw it: a query and its answer, or a load of a file.
struct Call {
    bool isLoad = false;
    Answer answer;
    bool loaded = false;
    std::string name, text;  // a load's file name, and its bytes or the reason it read none

    bool operator==(const Call& o) const {
        if (isLoad != o.isLoad) return false;
        if (!isLoad)
            return answer.query == o.answer.query && answer.argument == o.answer.argument &&
                   answer.value == o.answer.value;
        return loaded == o.loaded && name == o.name && text == o.text;
    }
};
using Frame = std::vector<Call>;

std::ostream& operator<<(std::ostream& out, const Call& c) {
    if (c.isLoad) return out << (c.loaded ? "load " : "failed load ") << c.name << " (" << c.text.size() << " bytes)";
    return out << "query " << static_cast<int>(c.answer.query) << "(" << c.answer.argument << ")=" << c.answer.value;
}

Call ask(Query q, int64_t value, int32_t argument = 0) {
    return Call{false, Answer{q, argument, value}, false, {}, {}};
}
Call loadOf(const std::string& name, const std::string& bytes) { return Call{true, {}, true, name, bytes}; }
Call refusedLoad(const std::string& name, const std::string& reason) { return Call{true, {}, false, name, reason}; }

// What pentagir reads each frame: the mouse and nine held keys.
Frame pentagirFrame(int64_t x, int64_t y, int64_t buttons, int64_t heldA = 0) {
    Frame f{ask(Query::mouseX, x), ask(Query::mouseY, y), ask(Query::mouseButtons, buttons)};
    for (int32_t key : {65, 83, 39, 37, 38, 40, 88, 90}) f.push_back(ask(Query::keyHeld, key == 65 ? heldA : 0, key));
    f.push_back(ask(Query::keyHeld, 0, 27));
    return f;
}

class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "recording_test.XXXXXX").string();
        path_ = mkdtemp(pattern.data());
    }
    ~TempDir() { std::filesystem::remove_all(path_); }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// A new file each time: truncating a file that holds data can make the file system write it back at once.
void writeFile(const std::string& path, const std::string& text) {
    std::filesystem::remove(path);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

rec::Header header(const char* program = "pentagir", uint32_t seed = 4242) {
    rec::Header h;
    std::snprintf(h.program, sizeof h.program, "%s", program);
    std::snprintf(h.version, sizeof h.version, "1.0.0");
    h.seed = seed;
    return h;
}

void play(rec::Writer& w, const Frame& frame) {
    for (const Call& c : frame) {
        if (!c.isLoad) w.answer(c.answer);
        else if (c.loaded) w.loadedFile(c.name.c_str(), reinterpret_cast<const uint8_t*>(c.text.data()), c.text.size());
        else w.loadFailed(c.name.c_str(), c.text.c_str());
    }
}

// Records the frames, shown at framesPerSecond; with lastUnshown the last frame is left for finish to store, as
// the questions a program asks after its last shown frame are.
std::string record(const std::string& path, const std::vector<Frame>& frames, int framesPerSecond = 120,
                   bool lastUnshown = false, uint64_t digest = 0x0123456789abcdefULL) {
    rec::Writer w;
    if (!w.open(path.c_str(), header())) return w.error();
    for (size_t i = 0; i < frames.size(); ++i) {
        play(w, frames[i]);
        if (i + 1 < frames.size() || !lastUnshown) w.frameEnd(static_cast<uint32_t>(i * 1000 / framesPerSecond));
    }
    return w.finish(digest) ? "" : w.error();
}

struct Replay {
    Outcome opened = Outcome::failed;
    Outcome last = Outcome::failed;
    std::string message;
    rec::Header header;
    rec::Footer footer;
    std::vector<Frame> frames;  // whole frames only
    bool partsNumberedRight = true;
};

// Reads the recording to its end the way a replay does, the answers walked call by call.
Replay replay(const std::string& path, const char* program = "pentagir", size_t maxParts = 10000000) {
    auto reader = std::make_unique<rec::Reader>();
    Replay r;
    r.opened = r.last = reader->open(path.c_str(), program);
    r.message = reader->message();
    if (r.opened != Outcome::ok) return r;
    r.header = reader->header();
    Frame current;
    for (size_t part = 0; part < maxParts; ++part) {
        r.last = reader->next();
        if (r.last != Outcome::ok) break;
        const rec::Frame& f = reader->frame();
        if (f.number != r.frames.size()) r.partsNumberedRight = false;
        if (f.hasLoad) {
            const std::string bytes(reinterpret_cast<const char*>(f.load.bytes), f.load.bytes ? f.load.size : 0);
            current.push_back(Call{true, {}, f.load.loaded, f.load.name, f.load.loaded ? bytes : f.load.reason});
        }
        rec::Cursor cursor;
        while (const Answer* a = rec::nextAnswer(f, cursor)) current.push_back(Call{false, *a, false, {}, {}});
        if (f.endsFrame) {
            r.frames.push_back(current);
            current.clear();
        }
    }
    r.message = reader->message();
    r.footer = reader->footer();
    return r;
}

// A game of random frames: mostly repeats of the frame before, some moves of the mouse, changes of what is asked,
// polling loops, loads, frames that ask nothing and frames too big for one line.
std::vector<Frame> randomGame(uint32_t seed, int count) {
    std::mt19937 rng(seed);
    std::vector<Frame> frames;
    Frame last = pentagirFrame(320, 240, 0);
    for (int i = 0; i < count; ++i) {
        const int pick = static_cast<int>(rng() % 100);
        Frame f = last;
        if (pick < 55) {
            // the same again
        } else if (pick < 75) {
            f = pentagirFrame(rng() % 640, rng() % 480, rng() % 32, rng() % 2);
        } else if (pick < 85) {
            f = {ask(Query::takeKey, rng() % 256), ask(Query::mouseX, -32768), ask(Query::tickCount, 4294967295LL)};
            for (int k = 0; k < static_cast<int>(rng() % 4); ++k) f.push_back(ask(Query::nextKeyByte, rng() % 256));
        } else if (pick < 89) {
            f = {};
            const int polls = 1 + static_cast<int>(rng() % 3000);
            for (int k = 0; k < polls; ++k) f.push_back(ask(Query::keyWaiting, k + 1 == polls));
            f.push_back(ask(Query::nextKeyByte, 'k'));
        } else if (pick < 93) {
            std::string bytes(rng() % 300, '\0');
            for (char& b : bytes) b = static_cast<char>(rng());
            f.insert(f.begin() + static_cast<long>(rng() % (f.size() + 1)), loadOf("SALVARE.TXT", bytes));
            if (rng() % 2) f.push_back(refusedLoad("my save%file.txt", "No such file or directory"));
        } else if (pick < 96) {
            f = {};
        } else {
            f = {};
            for (int k = 0; k < 600; ++k) f.push_back(ask(Query::keyHeld, k % 2, k % 256));
        }
        frames.push_back(f);
        last = f;
    }
    return frames;
}

}  // namespace

TEST(Recording, RandomGamesReadBackExactly) {
    TempDir dir;
    for (uint32_t seed = 1; seed <= 12; ++seed) {
        const std::vector<Frame> game = randomGame(seed, 400);
        const std::string path = dir.file("game.rec");
        ASSERT_EQ(record(path, game, seed % 2 ? 1000 : 120, seed % 3 == 0, seed), "") << "seed " << seed;
        const Replay r = replay(path);
        ASSERT_EQ(r.opened, Outcome::ok) << r.message;
        EXPECT_EQ(r.last, Outcome::end) << "seed " << seed << ": " << r.message;
        EXPECT_STREQ(r.header.program, "pentagir");
        EXPECT_STREQ(r.header.version, "1.0.0");
        EXPECT_EQ(r.header.seed, 4242u);
        EXPECT_EQ(r.footer.frames, game.size());
        EXPECT_EQ(r.footer.digest, seed);
        EXPECT_TRUE(r.partsNumberedRight) << "each part carries the number of its frame";
        ASSERT_EQ(r.frames.size(), game.size()) << "seed " << seed;
        for (size_t i = 0; i < game.size(); ++i) ASSERT_EQ(r.frames[i], game[i]) << "seed " << seed << ", frame " << i;
    }
}

// Loads of every size a line split can get wrong, up to the largest a recording holds, read back byte for byte;
// a larger one cannot be recorded, and says so.
TEST(Recording, LoadsOfEverySizeReadBack) {
    TempDir dir;
    const std::string path = dir.file("loads.rec");
    std::vector<Frame> game;
    for (size_t size : {0u, 1u, 63u, 64u, 65u, 200000u, rec::maxFileBytes}) {
        std::string bytes(size, '\0');
        for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 7 + size);
        game.push_back({ask(Query::takeKey, 108), loadOf("SALVARE.TXT", bytes)});
    }
    ASSERT_EQ(record(path, game), "");
    const Replay r = replay(path);
    EXPECT_EQ(r.last, Outcome::end) << r.message;
    ASSERT_EQ(r.frames.size(), game.size());
    for (size_t i = 0; i < game.size(); ++i) EXPECT_EQ(r.frames[i], game[i]) << "load of " << game[i][1].text.size();

    rec::Writer w;
    ASSERT_TRUE(w.open(path.c_str(), header()));
    const std::string tooBig(rec::maxFileBytes + 1, 'x');
    w.loadedFile("SALVARE.TXT", reinterpret_cast<const uint8_t*>(tooBig.data()), tooBig.size());
    EXPECT_TRUE(w.failed());
    EXPECT_NE(std::string(w.error()).find("larger than 4 MiB"), std::string::npos) << w.error();
}

// The lines of a short game, written out by hand from the format: a frame that reads the clock, a frame, two
// repeats of it, a move of the mouse, a load amid a frame's questions, a refused load in a frame that asks
// nothing else, a frame polling key_waiting, and the questions asked after the last shown frame.
TEST(Recording, LinesAreTheDocumentedFormat) {
    TempDir dir;
    const std::string path = dir.file("short.rec");
    Frame poll;
    for (int i = 0; i < 40; ++i) poll.push_back(ask(Query::keyWaiting, 0));
    poll.push_back(ask(Query::keyWaiting, 1));
    poll.push_back(ask(Query::nextKeyByte, 0));
    poll.push_back(ask(Query::nextKeyByte, 75));
    const std::vector<Frame> game = {
        {ask(Query::tickCount, 4242)},
        {ask(Query::mouseX, 100), ask(Query::mouseY, 50), ask(Query::keyHeld, 0, 27)},
        {ask(Query::mouseX, 100), ask(Query::mouseY, 50), ask(Query::keyHeld, 0, 27)},
        {ask(Query::mouseX, 100), ask(Query::mouseY, 50), ask(Query::keyHeld, 0, 27)},
        {ask(Query::mouseX, 101), ask(Query::mouseY, 50), ask(Query::keyHeld, 0, 27)},
        {ask(Query::takeKey, 108), loadOf("SALVARE.TXT", "2\r\n"), ask(Query::keyHeld, 0, 27)},
        {refusedLoad("a b", "100% gone")},
        poll,
        {ask(Query::keyHeld, 1, 27)},
    };
    ASSERT_EQ(record(path, game, 120, true, 0xfedcba9876543210ULL), "");
    EXPECT_EQ(readFile(path),
              "twisty-recording 1\n"
              "program pentagir\n"
              "version 1.0.0\n"
              "seed 4242\n"
              "F c=4242\n"
              "F x=100 y=50 h27=0\n"
              "R 2\n"
              "D 0=101\n"
              "P t=108\n"
              "L SALVARE.TXT 3\n"
              "B 320d0a\n"
              "F h27=0\n"
              "N a%20b 100%25 gone\n"
              "F\n"
              "F w=0*40 w=1 n=0 n=75\n"
              "F h27=1\n"
              "end 9 fedcba9876543210\n");
}

// The writer hands lines to the kernel at the first frame and then once a second, not at every frame; what it
// handed over replays while the game still runs (or after the program was killed).
TEST(Recording, FlushesOnceASecondAndWhatIsFlushedReplays) {
    TempDir dir;
    const std::string path = dir.file("live.rec");
    rec::Writer w;
    ASSERT_TRUE(w.open(path.c_str(), header()));
    auto size = [&] {
        struct stat info;
        return stat(path.c_str(), &info) == 0 ? info.st_size : -1;
    };
    play(w, pentagirFrame(1, 1, 0));
    w.frameEnd(5000);
    const auto afterFirst = size();
    for (uint32_t t = 1; t < 100; ++t) {
        play(w, pentagirFrame(t, 1, 0));
        w.frameEnd(5000 + t * 10);
    }
    EXPECT_EQ(size(), afterFirst) << "frames within a second of the last flush stay in memory";
    play(w, pentagirFrame(500, 1, 0));
    w.frameEnd(6000);
    EXPECT_GT(size(), afterFirst) << "a frame a second after the last flush hands the lines over";
    play(w, pentagirFrame(600, 1, 0));  // asked, but its frame never ends: not in the file
    const Replay r = replay(path);
    EXPECT_EQ(r.last, Outcome::incomplete) << r.message;
    EXPECT_NE(r.message.find("incomplete"), std::string::npos) << r.message;
    ASSERT_EQ(r.frames.size(), 101u);
    EXPECT_EQ(r.frames.back(), pentagirFrame(500, 1, 0));
}

// The size limits: an idle minute of cube3d (120 frames a second, a flush every second) adds under 1 KB, and an
// hour of busy play of pentagir (1000 frames a second) stays under 20 MB. Busy: the pointer moves at each mouse
// event, 250 events a second (twice a common mouse's rate), a button goes down and up every second and a key is
// held every few seconds; cube3d gets a move at every one of its frames.
TEST(Recording, IdleMinuteAndBusyHourStayWithinTheirSizes) {
    TempDir dir;
    const std::string path = dir.file("size.rec");
    struct Case {
        const char* name;
        int framesPerSecond, seconds;
        bool busy;
        int64_t maxBytesPerHour;
    } cases[] = {
        {"idle, 120 frames a second", 120, 61, false, 60 * 1024},  // under 1 KB a minute
        {"busy pentagir", 1000, 20, true, 20 << 20},
        {"busy cube3d", 120, 30, true, 20 << 20},
    };
    for (const Case& c : cases) {
        rec::Writer w;
        ASSERT_TRUE(w.open(path.c_str(), header()));
        const int frames = c.framesPerSecond * c.seconds;
        const int framesPerMove = c.framesPerSecond >= 250 ? c.framesPerSecond / 250 : 1;
        off_t afterFirstSecond = 0;
        for (int i = 0; i < frames; ++i) {
            const int second = i / c.framesPerSecond;
            const int move = i / framesPerMove;
            if (c.busy)
                play(w, pentagirFrame(100 + move % 400, 100 + (move * 7) % 300, (i % c.framesPerSecond) < 300,
                                      second % 5 == 0));
            else play(w, pentagirFrame(320, 240, 0));
            w.frameEnd(static_cast<uint32_t>(static_cast<int64_t>(i) * 1000 / c.framesPerSecond));
            if (i + 1 == c.framesPerSecond) afterFirstSecond = std::filesystem::file_size(path);
        }
        ASSERT_TRUE(w.finish(0)) << w.error();
        const auto grown = static_cast<int64_t>(std::filesystem::file_size(path)) - afterFirstSecond;
        const int64_t perHour = grown * 3600 / (c.seconds - 1);
        EXPECT_LT(perHour, c.maxBytesPerHour) << c.name << ": " << grown << " bytes in " << c.seconds - 1 << " s";
        const Replay r = replay(path);
        EXPECT_EQ(r.last, Outcome::end) << c.name << ": " << r.message;
        EXPECT_EQ(r.frames.size(), static_cast<size_t>(frames)) << c.name;
    }
}

// What the reader refuses, with the file and line it names.
TEST(Recording, ReaderRefusesWhatIsNotARecordingOfThisProgram) {
    TempDir dir;
    const std::string start = "twisty-recording 1\nprogram pentagir\nversion 1.0.0\nseed 7\n";
    const std::string frame = "F x=1 y=2 h27=0\n";
    struct Case {
        const char* name;
        std::string text;
        const char* where;  // line number, after the file name
        const char* what;
    } cases[] = {
        {"another program's recording",
         "twisty-recording 1\nprogram cube3d\nversion 1.0.0\nseed 7\nend 0 0000000000000000\n",
         ":2:", "a recording of cube3d, not of pentagir"},
        {"a newer format", "twisty-recording 2\nprogram pentagir\n", ":1:", "newer"},
        {"a save file", "3\n3\n3\n3\n53\n", ":1:", "not a recording"},
        {"binary junk",
         std::string("\x7f"
                     "ELF\x02\x01\x01\0\0\n\xff\xfe",
                     12),
         ":1:", "not a recording"},
        {"a damaged header", "twisty-recording 1\nprogram pentagir\nversion 1.0.0\nseed -1\n", ":4:", "seed"},
        {"an unknown line", start + frame + "Q 1\n", ":6:", "not a line of a recording"},
        {"an absurd run", start + frame + "R 99999999999\n", ":6:", "run"},
        {"a run with nothing before it", start + "R 5\n", ":5:", "without a whole frame"},
        {"an absurd file size", start + "L SALVARE.TXT 99999999\n", ":5:", "size"},
        {"bytes short of the size", start + "L SALVARE.TXT 3\nB 3132\n", ":6:", "3 bytes expected"},
        {"an absurd key number", start + "F h300=1\n", ":5:", "key number"},
        {"an answer out of range", start + "F x=40000\n", ":5:", "answer 1"},
        {"a change of a missing answer", start + frame + "D 3=5\n", ":6:", "no such answer"},
        {"a line too long", start + "F" + std::string(10000, ' ') + "\n", ":5:", "longer than"},
        {"more answers than a line holds",
         start + "F" +
             [] {
                 std::string s;
                 for (int i = 0; i < 257; ++i) s += " w=0";
                 return s;
             }() +
             "\n",
         ":5:", "more than 256"},
        {"an end line that miscounts", start + frame + "end 2 0000000000000000\n", ":6:", "counts 2 frames"},
        {"an end line inside a frame", start + "P x=1\nend 0 0000000000000000\n", ":6:", "inside a frame"},
        {"lines after the end", start + frame + "end 1 0000000000000000\nF\n", ":7:", "after the end"},
    };
    for (const Case& c : cases) {
        const std::string path = dir.file("bad.rec");
        writeFile(path, c.text);
        const Replay r = replay(path);
        EXPECT_EQ(r.last, Outcome::failed) << c.name << ": " << r.message;
        EXPECT_EQ(r.message.rfind(path + c.where, 0), 0u) << c.name << ": " << r.message;
        EXPECT_NE(r.message.find(c.what), std::string::npos) << c.name << ": " << r.message;
        EXPECT_EQ(r.message.find('\n'), std::string::npos) << c.name << ": one line";
    }
}

TEST(Recording, ReaderRefusesWhatIsNotARegularFile) {
    TempDir dir;
    ASSERT_EQ(mkfifo(dir.file("fifo").c_str(), 0600), 0);
    std::filesystem::create_directory(dir.file("folder"));
    struct Case {
        std::string path;
        const char* what;
    } cases[] = {
        {dir.file("fifo"), "not a regular file"},  // opened without waiting for a writer
        {dir.file("folder"), "is a folder"},
        {"/dev/zero", "not a regular file"},
        {dir.file("missing"), "cannot be opened"},
    };
    for (const Case& c : cases) {
        const Replay r = replay(c.path);
        EXPECT_EQ(r.opened, Outcome::failed) << c.path;
        EXPECT_EQ(r.message.rfind(c.path + ": ", 0), 0u) << r.message;
        EXPECT_NE(r.message.find(c.what), std::string::npos) << r.message;
    }
}

// The writer replaces only a recording, and never writes through a link or into anything but a regular file.
TEST(Recording, WriterRefusesToReplaceWhatIsNotARecording) {
    TempDir dir;
    const std::string recording = dir.file("old.rec"), save = dir.file("SALVARE.TXT");
    ASSERT_EQ(record(recording, {pentagirFrame(1, 2, 0)}), "");
    writeFile(save, "3\n3\n3\n3\n53\n");
    ASSERT_EQ(symlink(recording.c_str(), dir.file("link").c_str()), 0);
    ASSERT_EQ(symlink(dir.file("nowhere").c_str(), dir.file("dangling").c_str()), 0);
    ASSERT_EQ(mkfifo(dir.file("fifo").c_str(), 0600), 0);
    std::filesystem::create_directory(dir.file("folder"));
    writeFile(dir.file("empty"), "");
    struct Case {
        std::string path;
        const char* what;
    } cases[] = {
        {save, "is not a recording"},
        {dir.file("empty"), "is not a recording"},
        {dir.file("link"), "symbolic link"},
        {dir.file("dangling"), "symbolic link"},
        {dir.file("fifo"), "not a regular file"},
        {dir.file("folder"), "is a folder"},
        {"/dev/full", "not a regular file"},
        {dir.file("no/such/folder.rec"), "cannot be created"},
    };
    const std::string recordingBefore = readFile(recording);
    for (const Case& c : cases) {
        rec::Writer w;
        EXPECT_FALSE(w.open(c.path.c_str(), header())) << c.path;
        EXPECT_TRUE(w.failed());
        EXPECT_EQ(std::string(w.error()).rfind(c.path + ": ", 0), 0u) << w.error();
        EXPECT_NE(std::string(w.error()).find(c.what), std::string::npos) << w.error();
    }
    EXPECT_EQ(readFile(save), "3\n3\n3\n3\n53\n") << "a file that is not a recording is left alone";
    EXPECT_EQ(readFile(recording), recordingBefore) << "nothing is written through a link";
    EXPECT_FALSE(std::filesystem::exists(dir.file("nowhere"))) << "a dangling link creates nothing";

    rec::Writer named;
    EXPECT_FALSE(named.open(dir.file("x.rec").c_str(), header("cube 3d"))) << "a name a header cannot hold";

    ASSERT_EQ(record(recording, {pentagirFrame(7, 8, 0), pentagirFrame(7, 8, 0)}), "") << "a recording is replaced";
    EXPECT_EQ(replay(recording).frames.size(), 2u);
}

// A recording cut at any byte (a crash, a kill, a power cut) plays its whole frames and says it is incomplete;
// nothing is refused and no frame is made up.
TEST(Recording, CutAtEveryByteItPlaysItsWholeFrames) {
    TempDir dir;
    const std::string full = dir.file("full.rec"), cut = dir.file("cut.rec");
    std::vector<Frame> game = {pentagirFrame(1, 2, 0),
                               pentagirFrame(1, 2, 0),
                               pentagirFrame(1, 2, 0),
                               pentagirFrame(3, 2, 1),
                               {ask(Query::takeKey, 108), loadOf("S", std::string(70, 'z'))},
                               {ask(Query::takeKey, 0)}};
    for (int k = 0; k < 300; ++k) game[5].push_back(ask(Query::keyHeld, k % 2, k % 200));  // a frame of two lines
    game.push_back({});
    ASSERT_EQ(record(full, game), "");
    const std::string text = readFile(full);
    for (size_t size = 0; size < text.size(); ++size) {
        writeFile(cut, text.substr(0, size));
        const Replay r = replay(cut);
        ASSERT_EQ(r.last, Outcome::incomplete) << "cut after " << size << " bytes: " << r.message;
        ASSERT_NE(r.message.find("incomplete"), std::string::npos) << r.message;
        // The frames whose last line is whole: a frame line, a change line, or a run line's count of frames.
        size_t whole = 0;
        for (size_t at = 0, next; (next = text.find('\n', at)) < size; at = next + 1) {
            const char kind = text[at];
            if (kind == 'F' || kind == 'D') ++whole;
            if (kind == 'R') whole += std::stoul(text.substr(at + 2, next - at - 2));
        }
        ASSERT_EQ(r.frames.size(), whole) << "cut after " << size << " bytes";
        for (size_t i = 0; i < whole; ++i) ASSERT_EQ(r.frames[i], game[i]) << "cut after " << size << ", frame " << i;
    }
    EXPECT_EQ(replay(full).last, Outcome::end);
}

// A write that fails (here a file size limit, which also cuts a write short) ends the recording with one line
// the program can print; the game goes on, and the file holds only whole lines that replay.
TEST(Recording, AFailedWriteEndsTheRecordingAndKeepsWholeLines) {
    TempDir dir;
    const std::string path = dir.file("full.rec");
    struct rlimit before;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &before), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = before;
    small.rlim_cur = 3000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    rec::Writer w;
    const bool opened = w.open(path.c_str(), header());
    bool stillRecording = true;
    int frame = 0;
    for (; frame < 2000 && stillRecording; ++frame) {
        play(w, pentagirFrame(frame % 640, frame % 480, frame % 3));
        stillRecording = w.frameEnd(static_cast<uint32_t>(frame * 100));
    }
    for (int more = 0; more < 10; ++more) {  // the game goes on: calls after the failure do nothing
        play(w, pentagirFrame(5, 5, 5));
        w.frameEnd(static_cast<uint32_t>(frame++ * 100));
    }
    const bool finished = w.finish(0);
    setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, oldHandler);
    ASSERT_TRUE(opened);
    EXPECT_FALSE(stillRecording);
    EXPECT_FALSE(finished);
    EXPECT_TRUE(w.failed());
    const std::string error = w.error();
    EXPECT_EQ(error.rfind(path + ": ", 0), 0u) << error;
    EXPECT_NE(error.find("File too large"), std::string::npos) << error;
    const std::string text = readFile(path);
    EXPECT_LE(text.size(), 3000u);
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text.back(), '\n') << "a write cut short leaves no piece of a line behind";
    const Replay r = replay(path);
    EXPECT_EQ(r.last, Outcome::incomplete) << r.message;
    ASSERT_GT(r.frames.size(), 10u);
    for (size_t i = 0; i < r.frames.size(); ++i) {
        const auto n = static_cast<int>(i);
        ASSERT_EQ(r.frames[i], pentagirFrame(n % 640, n % 480, n % 3)) << "frame " << i;
    }
}

// A stream of junk and absurd numbers that would make a careless reader loop for ever: runs of a billion frames
// are handed out one at a time (so a caller can stop), and a two-gigabyte file is never read whole.
TEST(Recording, HugeRunsAndHugeFilesStream) {
    TempDir dir;
    const std::string path = dir.file("big.rec");
    writeFile(path, "twisty-recording 1\nprogram pentagir\nversion 1\nseed 0\nF\nR 1000000000\n");
    const Replay runs = replay(path, "pentagir", 1000);
    EXPECT_EQ(runs.last, Outcome::ok) << "still handing out the run";
    EXPECT_EQ(runs.frames.size(), 1000u);

    writeFile(path, "twisty-recording 1\nprogram pentagir\nversion 1\nseed 0\nF\n");
    ASSERT_EQ(truncate(path.c_str(), 2LL << 30), 0) << "a sparse file: two gigabytes of zero bytes after a frame";
    const Replay zeros = replay(path);
    EXPECT_EQ(zeros.last, Outcome::failed);
    EXPECT_NE(zeros.message.find(":6: a line longer than"), std::string::npos) << zeros.message;
}
