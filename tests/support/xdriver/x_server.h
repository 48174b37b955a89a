// A private X server for tests and captures, and the one such server a test process shares among its cases.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace xdrive {

// A private Xvfb (1024 x 768 x 24 unless another screen is named, e.g. "2048x1536x24"; no TCP, no reset between
// clients, no key repeat; more options after these, e.g. {"-extension", "MIT-SHM"} for a server without one) on a free
// display number, stopped when this object is destroyed, and also when the process that started it dies without
// cleaning up. The constructor waits until the server answers (at most 10 s).
class XServer {
public:
    explicit XServer(const std::string& screen = "1024x768x24", const std::vector<std::string>& options = {});
    ~XServer();
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    bool ok() const { return pid_ > 0; }
    const std::string& name() const { return name_; }  // ":N", the value for DISPLAY
    const std::string& error() const { return error_; }

private:
    pid_t pid_ = -1;
    std::string name_;
    std::string error_;
};

// The one private server of this process, started at the first call and stopped once the process has ended. Test
// cases share it rather than start a server each; check ok() before use, since a failed start is kept too.
XServer& sharedServer();

// The screen the shared server gets, for a test process whose windows need more room than 1024 x 768, and more
// options for it; takes effect only when called before the first sharedServer().
void setSharedScreen(const std::string& screen, const std::vector<std::string>& options = {});

}  // namespace xdrive
