// Reading and writing PNG files with Debian's header-only stb codecs. The stand-in reads the
// file itself and hands stb memory, so that file names behave the same on every platform.
#include "image_file.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdio>
#include <cstring>
#include <memory>

#include "halconcpp/HOperatorsIconic.h"
#include "halconcpp/HStandin.h"
#include "image.h"
#include "params.h"

#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>
#define STBI_WRITE_NO_STDIO
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

namespace HalconCpp {
namespace Standin {

namespace {

bool readFile(const std::string& fileName, std::string* contents) {
  std::FILE* file = std::fopen(fileName.c_str(), "rb");
  if (!file) return false;
  char buffer[65536];
  std::size_t got;
  contents->clear();
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) contents->append(buffer, got);
  const bool ok = !std::ferror(file);
  std::fclose(file);
  return ok;
}

bool endsWithPng(const std::string& name) {
  if (name.size() < 4) return false;
  std::string tail = name.substr(name.size() - 4);
  std::transform(tail.begin(), tail.end(), tail.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return tail == ".png";
}

ImagePtr readPng(const std::string& fileName, const char* op) {
  std::string contents;
  if (!readFile(fileName, &contents) && !readFile(fileName + ".png", &contents)) {
    fail(op, H_ERR_FILE_NOT_FOUND);
  }
  // stb takes the length as an int; no PNG the stand-in accepts comes near that size.
  if (contents.size() > static_cast<std::size_t>(INT_MAX)) fail(op, H_ERR_FILE_FORMAT);
  int width = 0, height = 0, channels = 0;
  std::unique_ptr<stbi_uc, void (*)(void*)> pixels(
      stbi_load_from_memory(reinterpret_cast<const stbi_uc*>(contents.data()),
                            static_cast<int>(contents.size()), &width, &height, &channels, 0),
      &stbi_image_free);
  if (!pixels || width < 1 || height < 1 || width > kMaxImageSide || height > kMaxImageSide ||
      channels < 1 || channels > 4) {
    fail(op, H_ERR_FILE_FORMAT);
  }
  ImagePtr image = newImage(width, height, static_cast<std::size_t>(channels), op);
  const std::size_t count = image->offset(height, 0);
  const auto stride = static_cast<std::size_t>(channels);
  for (std::size_t c = 0; c < stride; ++c) {
    std::uint8_t* plane = image->pixels(c);
    for (std::size_t i = 0; i < count; ++i) plane[i] = pixels.get()[i * stride + c];
  }
  return image;
}

void appendBytes(void* context, void* data, int size) {
  static_cast<std::string*>(context)->append(static_cast<const char*>(data),
                                             static_cast<std::size_t>(size));
}

}  // namespace

std::string pngFileName(const std::string& fileName) {
  return endsWithPng(fileName) ? fileName : fileName + ".png";
}

void writePng(const std::string& fileName, std::int32_t width, std::int32_t height,
              const std::vector<const std::uint8_t*>& planes, const char* op) {
  const std::size_t channels = planes.size();
  const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  std::vector<std::uint8_t> interleaved(count * channels);
  for (std::size_t c = 0; c < channels; ++c) {
    for (std::size_t i = 0; i < count; ++i) interleaved[i * channels + c] = planes[c][i];
  }
  std::string encoded;
  const int stride = width * static_cast<int>(channels);
  if (!stbi_write_png_to_func(&appendBytes, &encoded, width, height, static_cast<int>(channels),
                              interleaved.data(), stride)) {
    fail(op, H_ERR_FILE_WRITE);
  }
  std::FILE* file = std::fopen(fileName.c_str(), "wb");
  if (!file) fail(op, H_ERR_FILE_WRITE);
  const bool written = std::fwrite(encoded.data(), 1, encoded.size(), file) == encoded.size();
  if (std::fclose(file) != 0 || !written) fail(op, H_ERR_FILE_WRITE);
}

}  // namespace Standin

using namespace Standin;

void ReadImage(HObject* Image, const HTuple& FileName) {
  ApiScope scope("ReadImage");
  const char* op = "read_image";
  if (FileName.Length() < 1) fail(op, 1401);
  std::vector<HObject::Item> items;
  for (Hlong i = 0; i < FileName.Length(); ++i) {
    if (FileName[i].Type() != eElementTypeString) fail(op, 1201);
    items.push_back(readPng(FileName[i].S().str(), op));
  }
  setOutput(Image, objectOf(items));
}

void WriteImage(const HObject& Image, const HTuple& Format, const HTuple& FillColor,
                const HTuple& FileName) {
  ApiScope scope("WriteImage");
  const char* op = "write_image";
  const ImagePtr image = oneImage(Image, op, 1);
  if (oneString(Format, op, 1) != "png") fail(op, 1301);
  oneInteger(FillColor, op, 2);
  const std::string fileName = oneString(FileName, op, 3);
  if (image->channels.empty() || image->channels.size() > 4) fail(op, H_ERR_CHANNEL_COUNT);

  // FillColor is for pixels outside the domain; every operator of the stand-in keeps the
  // full domain, so it is checked and has nothing to fill.
  std::vector<const std::uint8_t*> planes;
  for (std::size_t c = 0; c < image->channels.size(); ++c) planes.push_back(image->pixels(c));
  writePng(pngFileName(fileName), image->width, image->height, planes, op);
}

}  // namespace HalconCpp
