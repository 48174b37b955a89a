// The page flip of the programs that draw with the layer's own operations: a frame is drawn on a hidden page while
// the page drawn the frame before is shown, alternating pages 0 and 1.
#pragma once

#include <cstdint>

namespace play {

// Draws from now on on page drawPage and shows the other one; drawPage then names the page on show, so the next
// flip draws on that one. Clears nothing: a program clears its drawing page where its frame needs it.
void flipPages(int16_t& drawPage);

}  // namespace play
