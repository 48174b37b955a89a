// Child processes: a program started on a given X display, its output read line by line, and how it ended.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace xdrive {

// What Program::start captures for readLine; the rest goes where the caller's own output goes.
enum class Output { Inherit, Stdout, StdoutAndStderr };

// A program started with DISPLAY set to a given server, in a process group of its own; the group is killed
// (SIGKILL) when this object is destroyed while the program still runs.
class Program {
public:
    Program() = default;
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // argv[0] is the program: a path (a relative one is taken from the caller's directory, not the workdir) or a
    // name looked up in PATH. An exec failure shows up as exit status 127, a bad workdir as 126.
    // workdir "" keeps the current directory.
    bool start(const std::string& display, const std::vector<std::string>& argv, Output output = Output::Inherit,
               const std::string& workdir = "");
    pid_t pid() const { return pid_; }

    // Next line of captured output, without its newline; false on timeout or end of output (error() says which).
    bool readLine(std::string& line, int timeoutMs);

    // Waits for the program to end; status is its exit code, or 128 + the signal that ended it. Once it has
    // ended, every later call gives the same status at once.
    bool waitExit(int timeoutMs, int& status);
    bool running();
    // The signal that ended the program, 0 while it runs or when it exited by itself (whatever its exit code):
    // tells a crash from an exit code above 128.
    int endSignal() const { return endSignal_; }
    // Sends SIGKILL to the program's process group and reaps the program.
    void kill();

    const std::string& error() const { return error_; }

private:
    pid_t pid_ = -1;
    bool live_ = false;    // started and not yet reaped
    int exitStatus_ = -1;  // once reaped
    int endSignal_ = 0;    // once reaped
    int outFd_ = -1;
    std::string pending_;  // output read but not yet returned as a line
    bool outputEnded_ = false;
    std::string error_;
};

// Reaps child pid when it has ended (block: waits for that); status as Program::waitExit gives it, and *signal
// (when given) the signal that ended it or 0. False while it runs.
bool reapChild(pid_t pid, int& status, bool block, int* signal = nullptr);

}  // namespace xdrive
