#include "tests/support/x11_support.h"

#include <cstdlib>
#include <filesystem>

namespace xtest {

::testing::AssertionResult useSharedDisplay() {
    xdrive::XServer& server = xdrive::sharedServer();
    if (!server.ok()) return ::testing::AssertionFailure() << server.error();
    setenv("DISPLAY", server.name().c_str(), 1);
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult ProgramWindow::start(const std::vector<std::string>& argv, const std::string& title,
                                                xdrive::Output output, const std::string& workdir, int timeoutMs) {
    xdrive::XServer& server = xdrive::sharedServer();
    if (!server.ok()) return ::testing::AssertionFailure() << server.error();
    driver_ = std::make_unique<xdrive::Driver>(server.name());
    if (!driver_->connected()) return ::testing::AssertionFailure() << driver_->error();
    if (!driver_->resetInput()) return ::testing::AssertionFailure() << driver_->error();
    if (!program_.start(server.name(), argv, output, workdir)) return ::testing::AssertionFailure() << program_.error();
    if (!driver_->findWindow(title, timeoutMs, program_.pid()))
        return ::testing::AssertionFailure() << driver_->error();
    return ::testing::AssertionSuccess();
}

xdrive::Image ProgramWindow::capture() {
    xdrive::Image image;
    EXPECT_TRUE(driver_->capture(image)) << driver_->error();
    return image;
}

::testing::AssertionResult ProgramWindow::waitForPicture(const Picture& shown, const std::string& what, int timeoutMs,
                                                         xdrive::Image* last) {
    xdrive::Image image;
    const bool seen = driver_->captureUntil(image, shown, timeoutMs);
    if (last) *last = image;
    if (seen) return ::testing::AssertionSuccess();
    ::testing::AssertionResult failure = ::testing::AssertionFailure();
    failure << "the window did not show " << what << " within " << timeoutMs << " ms (" << driver_->error() << ")";
    if (!image.rgb.empty()) {
        const std::string kept = keepCapture(image, what);
        if (!kept.empty()) failure << "; last capture: " << kept;
    }
    return failure;
}

::testing::AssertionResult ProgramWindow::holdUntil(const std::string& key, const Picture& shown,
                                                    const std::string& what, int timeoutMs, xdrive::Image* last) {
    if (!driver_->keyDown(key)) return ::testing::AssertionFailure() << driver_->error();
    ::testing::AssertionResult result = waitForPicture(shown, what, timeoutMs, last);
    if (!driver_->keyUp(key)) return ::testing::AssertionFailure() << driver_->error();
    return result;
}

::testing::AssertionResult ProgramWindow::dragHoldUntil(int button, int x1, int y1, int x2, int y2,
                                                        const Picture& shown, const std::string& what, int timeoutMs,
                                                        xdrive::Image* last) {
    constexpr int steps = 8;
    bool moved = driver_->move(x1, y1) && driver_->press(button);
    for (int i = 1; moved && i <= steps; ++i)
        moved = driver_->move(x1 + (x2 - x1) * i / steps, y1 + (y2 - y1) * i / steps);
    ::testing::AssertionResult result =
        moved ? waitForPicture(shown, what, timeoutMs, last) : ::testing::AssertionFailure() << driver_->error();
    if (!driver_->release(button)) return ::testing::AssertionFailure() << driver_->error();
    return result;
}

::testing::AssertionResult ProgramWindow::endWithEscape(int timeoutMs) {
    // Held, not tapped: a program that looks at key_held only between frames must see it down.
    if (!driver_->keyDown("Escape")) return ::testing::AssertionFailure() << driver_->error();
    int status = -1;
    const bool ended = program_.waitExit(timeoutMs, status);
    driver_->keyUp("Escape");
    if (!ended) return ::testing::AssertionFailure() << "Escape did not end the program: " << program_.error();
    if (status != 0) return ::testing::AssertionFailure() << "the program ended with status " << status;
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult endsForLackOfDisplay(const std::string& path, const std::string& name, int timeoutMs) {
    xdrive::Program program;
    if (!program.start("", {path}, xdrive::Output::StdoutAndStderr))
        return ::testing::AssertionFailure() << program.error();
    std::string line;
    if (!program.readLine(line, timeoutMs))
        return ::testing::AssertionFailure() << "no line naming the cause: " << program.error();
    const std::string prefix = name + ": ";
    if (line.rfind(prefix, 0) != 0 || line.size() <= prefix.size())
        return ::testing::AssertionFailure() << "no line \"" << prefix << "\" and a cause, but: " << line;
    int status = -1;
    if (!program.waitExit(timeoutMs, status)) return ::testing::AssertionFailure() << program.error();
    if (status != 1) return ::testing::AssertionFailure() << "exit status " << status << ", not 1 (" << line << ")";
    return ::testing::AssertionSuccess();
}

std::string keepCapture(const xdrive::Image& image, const std::string& what) {
    std::string name;
    if (const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info())
        name = std::string(test->test_suite_name()) + "." + test->name() + "-";
    name += what;
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '.' && c != '-') c = '_';
    std::error_code ignored;
    std::filesystem::create_directories(TEST_CAPTURE_DIR, ignored);
    const std::string path = std::string(TEST_CAPTURE_DIR) + "/" + name + ".png";
    return xdrive::writePng(image, path) ? path : "";
}

bool centroid(const xdrive::Image& image, const std::function<bool(xdrive::Rgb)>& shows, double& cx, double& cy) {
    double sx = 0, sy = 0;
    int64_t n = 0;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            if (shows(image.pixel(x, y))) {
                sx += x;
                sy += y;
                ++n;
            }
    if (n < 100) return false;
    cx = sx / n;
    cy = sy / n;
    return true;
}

}  // namespace xtest
