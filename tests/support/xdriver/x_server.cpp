#include "tests/support/xdriver/x_server.h"

#include <X11/Xlib.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "tests/support/xdriver/process.h"
#include "tests/support/xdriver/wait.h"

namespace xdrive {

namespace {

bool pathExists(const std::string& path) {
    struct stat st;
    return lstat(path.c_str(), &st) == 0;
}

// Process id written in the X server lock file of display number n; -1 when there is none yet.
pid_t lockOwner(const std::string& n) {
    FILE* file = std::fopen(("/tmp/.X" + n + "-lock").c_str(), "r");
    if (!file) return -1;
    long pid = -1;
    if (std::fscanf(file, "%ld", &pid) != 1) pid = -1;
    std::fclose(file);
    return static_cast<pid_t>(pid);
}

}  // namespace

XServer::XServer(const std::string& screen, const std::vector<std::string>& options) {
    for (int number = 90; number < 400; ++number) {
        const std::string n = std::to_string(number);
        if (pathExists("/tmp/.X" + n + "-lock") || pathExists("/tmp/.X11-unix/X" + n)) continue;
        const std::string candidate = ":" + n;
        const pid_t pid = fork();
        if (pid < 0) {
            error_ = std::string("XServer: fork failed: ") + std::strerror(errno);
            return;
        }
        if (pid == 0) {
            // A test process that crashes or is killed by a timeout runs no destructor: the server must not
            // outlive it.
            prctl(PR_SET_PDEATHSIG, SIGTERM);
            const int devNull = open("/dev/null", O_RDWR);
            if (devNull >= 0) {
                dup2(devNull, 0);
                dup2(devNull, 1);
                dup2(devNull, 2);
            }
            std::vector<const char*> argv = {"Xvfb", candidate.c_str(), "-screen",  "0",    screen.c_str(), "-nolisten",
                                             "tcp",  "-noreset",        "-ardelay", "10000"};
            for (const std::string& option : options) argv.push_back(option.c_str());
            argv.push_back(nullptr);
            execvp("Xvfb", const_cast<char* const*>(argv.data()));
            _exit(127);
        }
        // Wait until it answers; if it ends first, another process probably took the number: try the next.
        const auto start = std::chrono::steady_clock::now();
        int status = 0;
        bool ended = false;
        Display* probe = nullptr;
        while (msSince(start) < 10000) {
            if ((ended = reapChild(pid, status, false))) {
                if (status == 127) {
                    error_ = "XServer: cannot run Xvfb (is it installed?)";
                    return;
                }
                break;
            }
            // Answering is not enough: a server started a moment earlier by another test may answer on this
            // number while ours is still finding out that it lost the race. The lock file names the winner.
            if (lockOwner(n) == pid && (probe = XOpenDisplay(candidate.c_str()))) {
                XCloseDisplay(probe);
                pid_ = pid;
                name_ = candidate;
                error_.clear();
                return;
            }
            pause(20);
        }
        if (!ended) {  // alive but silent for 10 s: give up on it
            kill(pid, SIGKILL);
            reapChild(pid, status, true);
            error_ = "XServer: Xvfb " + candidate + " did not answer within 10 s";
        }
    }
    if (error_.empty()) error_ = "XServer: no free display number";
}

XServer::~XServer() {
    if (pid_ <= 0) return;
    int status = 0;
    kill(pid_, SIGTERM);
    const auto start = std::chrono::steady_clock::now();
    while (!reapChild(pid_, status, false)) {
        if (msSince(start) > 3000) {
            kill(pid_, SIGKILL);
            reapChild(pid_, status, true);
            break;
        }
        pause(10);
    }
}

namespace {
std::string& sharedScreen() {
    static std::string screen = "1024x768x24";
    return screen;
}
std::vector<std::string>& sharedOptions() {
    static std::vector<std::string> options;
    return options;
}
}  // namespace

void setSharedScreen(const std::string& screen, const std::vector<std::string>& options) {
    sharedScreen() = screen;
    sharedOptions() = options;
}

XServer& sharedServer() {
    // Never destroyed: statics that still hold connections to it (a driver, a program's window) may be destroyed
    // after it at exit, and Xlib ends the process with an error when a connection's server has gone. The server
    // stops when this process has ended, by the death signal it asked for.
    static XServer* server = new XServer(sharedScreen(), sharedOptions());
    return *server;
}

}  // namespace xdrive
