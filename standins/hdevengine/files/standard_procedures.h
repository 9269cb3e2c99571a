// The standard procedures HDevelop installs beside itself (disp_message, set_display_font,
// dev_open_window_fit_image, ...), which users' files call without shipping them. The
// engine searches their folder after the user's procedure paths, so that a user's own
// procedure of the same name wins.
#ifndef QUORVEX_STANDINS_HDEVENGINE_STANDARD_PROCEDURES_H
#define QUORVEX_STANDINS_HDEVENGINE_STANDARD_PROCEDURES_H

#include <string>

namespace HDevEngineCpp {
namespace Standin {

// The environment variable that moves the folder; set but empty, it turns them off.
constexpr const char* kStandardProceduresVariable = "QUORVEX_STANDARD_PROCEDURES";
// The folder's name beside the engine library, where the build and the packages put it.
constexpr const char* kStandardProceduresFolder = "standard_procedures";

// The folder to search last, or empty when there is none.
std::string standardProceduresFolder();

}  // namespace Standin
}  // namespace HDevEngineCpp

#endif
