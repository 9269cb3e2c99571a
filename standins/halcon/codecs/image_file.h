// Image files for ReadImage, WriteImage, DumpWindow and the file acquisition interface.
#ifndef QUORVEX_STANDINS_HALCON_IMAGE_FILE_H
#define QUORVEX_STANDINS_HALCON_IMAGE_FILE_H

#include <cstdint>
#include <string>
#include <vector>

#include "core/image.h"

namespace HalconCpp {
namespace Standin {

// The name a PNG is written under: ".png" is appended unless the name already ends with it,
// as the vendor does.
std::string pngFileName(const std::string& fileName);

// Writes 1 to 4 planes of width x height bytes as a grey, grey+alpha, RGB or RGBA PNG.
// Raises HException 5201 in `op` when the file cannot be written.
void writePng(const std::string& fileName, std::int32_t width, std::int32_t height,
              const std::vector<const std::uint8_t*>& planes, const char* op);

// The image a name denotes, found as read_image finds it. Raises 5200 in `op` when there is
// no such file, 5202 when it is no image the stand-in can read.
ImagePtr readImageFile(const std::string& name, const char* op);

}  // namespace Standin
}  // namespace HalconCpp

#endif
