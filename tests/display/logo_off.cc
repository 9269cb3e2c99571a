// The display programs that run with the logo off: hinit mode 0.
#include "display/display_fixture.h"

namespace quorvex::test {

int hinitMode() {
  return 0;
}

}  // namespace quorvex::test
