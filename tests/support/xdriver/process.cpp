#include "tests/support/xdriver/process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "tests/support/xdriver/wait.h"

namespace xdrive {

bool reapChild(pid_t pid, int& status, bool block, int* signal) {
    int raw = 0;
    pid_t got;
    do {
        got = waitpid(pid, &raw, block ? 0 : WNOHANG);
    } while (got < 0 && errno == EINTR);
    if (got != pid) return false;
    status = WIFEXITED(raw) ? WEXITSTATUS(raw) : WIFSIGNALED(raw) ? 128 + WTERMSIG(raw) : 255;
    if (signal) *signal = WIFSIGNALED(raw) ? WTERMSIG(raw) : 0;
    return true;
}

Program::~Program() {
    kill();
    if (outFd_ >= 0) close(outFd_);
}

bool Program::start(const std::string& display, const std::vector<std::string>& argv, Output output,
                    const std::string& workdir) {
    if (pid_ > 0) {
        error_ = "Program: already started; use one Program a run";
        return false;
    }
    if (argv.empty()) {
        error_ = "Program: no program given";
        return false;
    }
    const bool capture = output != Output::Inherit;
    int fds[2] = {-1, -1};
    if (capture && pipe2(fds, O_CLOEXEC) != 0) {  // no other child may hold the write end open
        error_ = std::string("Program: pipe failed: ") + std::strerror(errno);
        return false;
    }
    // Built before fork: the child only calls async-signal-safe functions.
    std::string path = argv[0];
    if (path.find('/') != std::string::npos && path[0] != '/') {
        char here[4096];
        if (!getcwd(here, sizeof here)) {
            error_ = std::string("Program: getcwd failed: ") + std::strerror(errno);
            return false;
        }
        path = std::string(here) + "/" + path;
    }
    std::vector<char*> args;
    args.push_back(const_cast<char*>(path.c_str()));
    for (size_t i = 1; i < argv.size(); ++i) args.push_back(const_cast<char*>(argv[i].c_str()));
    args.push_back(nullptr);
    const pid_t pid = fork();
    if (pid < 0) {
        error_ = std::string("Program: fork failed: ") + std::strerror(errno);
        if (capture) {
            close(fds[0]);
            close(fds[1]);
        }
        return false;
    }
    if (pid == 0) {
        setpgid(0, 0);  // its own process group, so kill() also ends whatever it started
        if (capture) {
            dup2(fds[1], 1);
            if (output == Output::StdoutAndStderr) dup2(fds[1], 2);
            close(fds[0]);
            close(fds[1]);
        }
        if (!workdir.empty() && chdir(workdir.c_str()) != 0) _exit(126);
        setenv("DISPLAY", display.c_str(), 1);
        execvp(args[0], args.data());
        _exit(127);
    }
    setpgid(pid, pid);  // also here, so that the group exists before start returns, whoever runs first
    pid_ = pid;
    live_ = true;
    if (capture) {
        close(fds[1]);
        outFd_ = fds[0];
        fcntl(outFd_, F_SETFL, fcntl(outFd_, F_GETFL) | O_NONBLOCK);
    }
    return true;
}

bool Program::readLine(std::string& line, int timeoutMs) {
    if (outFd_ < 0) {
        error_ = "Program: output not captured";
        return false;
    }
    const auto start = std::chrono::steady_clock::now();
    for (;;) {
        const size_t newline = pending_.find('\n');
        if (newline != std::string::npos) {
            line = pending_.substr(0, newline);
            pending_.erase(0, newline + 1);
            return true;
        }
        if (outputEnded_) {
            if (!pending_.empty()) {  // a last line without its newline
                line = pending_;
                pending_.clear();
                return true;
            }
            error_ = "Program: end of output";
            return false;
        }
        const int64_t left = timeoutMs - msSince(start);
        if (left <= 0) {
            error_ = "Program: no line within " + std::to_string(timeoutMs) + " ms";
            return false;
        }
        pollfd p{outFd_, POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(left)) <= 0) continue;
        char buffer[4096];
        const ssize_t got = read(outFd_, buffer, sizeof buffer);
        if (got > 0) pending_.append(buffer, static_cast<size_t>(got));
        else if (got == 0 || (errno != EAGAIN && errno != EINTR)) outputEnded_ = true;
    }
}

bool Program::waitExit(int timeoutMs, int& status) {
    if (pid_ <= 0) {
        error_ = "Program: never started";
        return false;
    }
    const auto start = std::chrono::steady_clock::now();
    while (live_ && !reapChild(pid_, exitStatus_, false, &endSignal_)) {
        if (msSince(start) >= timeoutMs) {
            error_ = "Program: still running after " + std::to_string(timeoutMs) + " ms";
            return false;
        }
        pause(10);
    }
    live_ = false;
    status = exitStatus_;
    return true;
}

bool Program::running() {
    if (live_ && reapChild(pid_, exitStatus_, false, &endSignal_)) live_ = false;
    return live_;
}

void Program::kill() {
    if (!live_) return;  // a reaped id may already belong to another process
    ::kill(-pid_, SIGKILL);
    ::kill(pid_, SIGKILL);  // in case it had not yet made its own group
    reapChild(pid_, exitStatus_, true, &endSignal_);
    live_ = false;
}

}  // namespace xdrive
