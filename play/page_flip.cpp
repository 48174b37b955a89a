#include "play/page_flip.h"

#include "window/window.h"

namespace play {

void flipPages(int16_t& drawPage) {
    select_draw_page(drawPage);
    drawPage = static_cast<int16_t>(1 - drawPage);
    select_shown_page(drawPage);
}

}  // namespace play
