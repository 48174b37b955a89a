#include "tests/support/gl_support.h"

#include <GL/gl.h>

#include <cstdio>

namespace xtest {

std::vector<uint8_t> readGlPicture(int width, int height) {
    glFinish();
    std::vector<uint8_t> px(static_cast<size_t>(width) * height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, px.data());
    return px;
}

int32_t differingPixels(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b, std::string& first) {
    int32_t count = 0;
    for (size_t i = 0; i + 2 < a.size() && i + 2 < b.size(); i += 3) {
        if (a[i] == b[i] && a[i + 1] == b[i + 1] && a[i + 2] == b[i + 2]) continue;
        if (count++ == 0) {
            char text[120];
            std::snprintf(text, sizeof text, "first at (%d, %d): %02x%02x%02x against %02x%02x%02x",
                          static_cast<int>(i / 3 % 640), static_cast<int>(479 - i / 3 / 640), a[i], a[i + 1], a[i + 2],
                          b[i], b[i + 1], b[i + 2]);
            first = text;
        }
    }
    return count;
}

}  // namespace xtest
