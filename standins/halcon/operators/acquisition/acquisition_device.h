// One open device of the 'File' acquisition interface: its images, its place in them and
// its parameters; and what the interface answers about itself. A camera interface replayed
// from a folder (QUORVEX_ACQUISITION_REPLAY) is such a device under the camera's name.
#ifndef QUORVEX_STANDINS_HALCON_ACQUISITION_DEVICE_H
#define QUORVEX_STANDINS_HALCON_ACQUISITION_DEVICE_H

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "core/image.h"
#include "halconcpp/HTuple.h"

namespace HalconCpp {
namespace Standin {

struct FileGrabber {
  std::vector<std::string> files;  // in grab order, each found when the device was opened
  std::size_t next = 0;
  bool loop = true;        // 'do_loop'
  bool exhausted = false;  // the last image was grabbed while not looping

  // The open parameters as given.
  Hlong horizontalResolution = 1;
  Hlong verticalResolution = 1;
  Hlong imageWidth = 0;  // 0: all that remains right of startColumn
  Hlong imageHeight = 0;
  Hlong startRow = 0;
  Hlong startColumn = 0;
  std::string field = "default";
  Hlong bitsPerChannel = -1;
  std::string colorSpace = "default";
  HTuple generic;
  std::string externalTrigger = "false";
  std::string cameraType;
  std::string device = "default";
  HTuple port;
  Hlong lineIn = -1;

  // The interface open_framegrabber named; another than 'File' is replayed.
  std::string interfaceName = "File";
  // A replayed camera's parameters that the File interface lacks, as the program set them.
  std::map<std::string, HTuple> cameraParams;

  // Kept for the program to read back; files are at hand at once, so neither changes a grab.
  Hlong grabTimeout = 5000;
  std::string volatileMode = "disable";

  // The size of the latest image delivered (of the first one before any grab).
  std::int32_t width = 0;
  std::int32_t height = 0;
};

// What QUORVEX_ACQUISITION_REPLAY names (a folder or a .seq file), or "" when unset.
std::string replaySource();

bool isReplayed(const FileGrabber& grabber);
bool isSubsampling(Hlong resolution);
bool isColorSpace(const std::string& colorSpace);

// The image as the device delivers it: every n-th pixel for a resolution of n, then the
// image part, then the colour space ('gray' weighs red, green and blue .299, .587, .114;
// 'rgb' repeats a grey channel). Raises 5331 when the part does not fit the image.
ImagePtr shapeGrabbed(const FileGrabber& grabber, const ImagePtr& image, const char* op);

// Raises 5330 for a name the interface does not have or cannot set, 5331 for a wrong value.
// A replayed camera remembers a name the File interface lacks and gives back its value.
void setGrabberParam(FileGrabber& grabber, const std::string& name, const HTuple& value,
                     const char* op);
HTuple grabberParam(const FileGrabber& grabber, const std::string& name, const char* op);

// info_framegrabber's answers; raises 1302 for an unknown query.
void interfaceInfo(const std::string& query, HTuple* information, HTuple* values, const char* op);

}  // namespace Standin
}  // namespace HalconCpp

#endif
