#include "operators/files/file_bytes.h"

#include <cstddef>
#include <fstream>
#include <system_error>

#include "core/params.h"
#include "halconcpp/HException.h"

namespace HalconCpp {
namespace Standin {

FileBytes readRegularFile(const std::filesystem::path& path, const char* op) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) fail(op, H_ERR_FILE_NOT_FOUND);
  const auto size = std::filesystem::file_size(path, error);
  if (error) fail(op, H_ERR_FILE_NOT_FOUND);
  FileBytes file{PixelReservation(size, op), {}};
  if (size != static_cast<std::size_t>(size)) fail(op, H_ERR_NO_MEMORY);
  file.bytes.resize(static_cast<std::size_t>(size));
  std::ifstream in(path, std::ios::binary);
  if (!in || !in.read(file.bytes.data(), static_cast<std::streamsize>(size))) {
    fail(op, H_ERR_FILE_FORMAT);
  }
  return file;
}

}  // namespace Standin
}  // namespace HalconCpp
