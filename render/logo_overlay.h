// The logo blended into the corners of every window the library opens, clears or displays
// in, once hinit switched it on.
#ifndef QUORVEX_RENDER_LOGO_OVERLAY_H
#define QUORVEX_RENDER_LOGO_OVERLAY_H

#include "engine/vendor.h"

namespace quorvex::render {

// Set by hinit with mode 1; nothing ever switches it off again.
void enableLogo();
bool logoEnabled();

// Builds the two process-wide logo images over the embedded planes (no copy) when the logo
// is enabled; otherwise does nothing.
void buildLogo();

// Reads the window back, blends one or four logo copies into it in memory and redraws it.
// The window's part and the system parameters "width" and "height" are as before; every
// failure is swallowed without a word.
void overlayLogo(const engine::HTuple& window) noexcept;

}  // namespace quorvex::render

#endif
