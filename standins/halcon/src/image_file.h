// PNG files for ReadImage, WriteImage and DumpWindow.
#ifndef QUORVEX_STANDINS_HALCON_IMAGE_FILE_H
#define QUORVEX_STANDINS_HALCON_IMAGE_FILE_H

#include <cstdint>
#include <string>
#include <vector>

namespace HalconCpp {
namespace Standin {

// The name a PNG is written under: ".png" is appended unless the name already ends with it,
// as the vendor does.
std::string pngFileName(const std::string& fileName);

// Writes 1 to 4 planes of width x height bytes as a grey, grey+alpha, RGB or RGBA PNG.
// Raises HException 5201 in `op` when the file cannot be written.
void writePng(const std::string& fileName, std::int32_t width, std::int32_t height,
              const std::vector<const std::uint8_t*>& planes, const char* op);

}  // namespace Standin
}  // namespace HalconCpp

#endif
