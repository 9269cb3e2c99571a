// A whole file read by an operator that decodes its own format (objects, matrices, variation
// models): only a regular file, so that a device or a pipe cannot feed bytes without end, and
// its bytes charged to the pixel bound for as long as they are held, so that a file larger
// than what images may hold fails with 6001 before it is read.
#ifndef QUORVEX_STANDINS_HALCON_FILES_FILE_BYTES_H
#define QUORVEX_STANDINS_HALCON_FILES_FILE_BYTES_H

#include <filesystem>
#include <string>

#include "core/memory_bounds.h"

namespace HalconCpp {
namespace Standin {

struct FileBytes {
  PixelReservation held;
  std::string bytes;
};

// Raises H_ERR_FILE_NOT_FOUND in `op` when `path` names no regular file, H_ERR_FILE_FORMAT
// when it cannot be read whole.
FileBytes readRegularFile(const std::filesystem::path& path, const char* op);

}  // namespace Standin
}  // namespace HalconCpp

#endif
