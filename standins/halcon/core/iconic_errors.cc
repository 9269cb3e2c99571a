// The texts of the error numbers that images, regions, contours and windows raise, added to
// GetErrorText when the library loads.
#include <string>

#include "halconcpp/HException.h"
#include "standin/controls.h"

namespace HalconCpp {
namespace {

const bool iconicErrorsRegistered = [] {
  using Standin::registerErrorText;
  for (int n = 1; n <= 9; ++n) {
    const std::string number = std::to_string(n);
    registerErrorText(1100 + n, ("Wrong object class of iconic parameter " + number).c_str());
    registerErrorText(1500 + n, ("Wrong number of objects of iconic parameter " + number).c_str());
  }
  registerErrorText(H_ERR_SIZES_DIFFER, "Images have different sizes");
  registerErrorText(H_ERR_CHANNELS_DIFFER, "Images have different numbers of channels");
  registerErrorText(H_ERR_CHANNEL_COUNT, "Wrong number of channels");
  registerErrorText(H_ERR_WINDOW_HANDLE, "Invalid window handle");
  registerErrorText(H_ERR_FILE_NOT_FOUND, "File not found");
  registerErrorText(H_ERR_FILE_WRITE, "Cannot write file");
  registerErrorText(H_ERR_FILE_FORMAT, "Unsupported or corrupt image file");
  registerErrorText(H_ERR_NO_MEMORY, "Not enough memory available");
  registerErrorText(H_ERR_WIT, "Image to process has wrong gray value type");
  return true;
}();

}  // namespace
}  // namespace HalconCpp
