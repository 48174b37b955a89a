#include "gl_support.h"

#include <GL/gl.h>

namespace xtest {

std::vector<uint8_t> readGlPicture(int width, int height) {
    glFinish();
    std::vector<uint8_t> px(static_cast<size_t>(width) * height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, px.data());
    return px;
}

}  // namespace xtest
