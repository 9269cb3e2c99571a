// The default window a caller can open without any program: 640 x 480, black, its part the
// whole window, registered and active like any window a program opens.
#ifndef QUORVEX_DISPLAY_DEFAULT_WINDOW_H
#define QUORVEX_DISPLAY_DEFAULT_WINDOW_H

#include "display/operator_impl.h"

namespace quorvex::display {

// Opens it through `impl`'s display operations, as the engine would call them. A refused
// opening or part is reported on the standard-error channel only; with verbosity on, one
// line names the new window on the standard-output channel.
void openDefaultWindow(HDevOperatorImplCppNative& impl);

}  // namespace quorvex::display

#endif
