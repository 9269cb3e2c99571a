// The fullscreen mode: every window opened while it is on loses its frame and covers the
// monitor that holds it.
#ifndef QUORVEX_DISPLAY_FULLSCREEN_H
#define QUORVEX_DISPLAY_FULLSCREEN_H

#include "engine/vendor.h"

namespace quorvex::display {

void setFullscreen(bool on);
bool fullscreenEnabled();

// Removes the window's caption, sizing frame and edges and gives it exactly its monitor's
// rectangle, without activating it or changing its stacking order. Never throws: a failure
// is reported on the standard-error channel and the window keeps what it had reached.
void changeWindowFullscreen(const engine::HTuple& window) noexcept;

}  // namespace quorvex::display

#endif
