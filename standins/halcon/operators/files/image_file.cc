// ReadImage and WriteImage: names resolved as the vendor does, formats by their content on
// reading and by the vendor's format names on writing.
#include "codecs/image_file.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <sstream>

#include "codecs/image_codecs.h"
#include "codecs/image_search.h"
#include "core/image.h"
#include "core/params.h"
#include "halconcpp/HOperatorsIconic.h"
#include "standin/controls.h"

namespace HalconCpp {
namespace Standin {

namespace {

std::string lowerCase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

bool endsWithAny(const std::string& name, const std::vector<std::string>& extensions) {
  const std::string lower = lowerCase(name);
  for (const std::string& extension : extensions) {
    if (lower.size() > extension.size() &&
        lower.compare(lower.size() - extension.size(), extension.size(), extension) == 0) {
      return true;
    }
  }
  return false;
}

// A write_image format: its name, an optional setting after a space ('jpeg 90',
// 'tiff lzw'), and the extensions that count as already given; the first is appended.
struct WriteFormat {
  std::string name;
  std::string setting;
  std::vector<std::string> extensions;
};

WriteFormat parseFormat(const std::string& format, const char* op) {
  std::istringstream words(format);
  WriteFormat parsed;
  words >> parsed.name >> parsed.setting;
  std::string extra;
  if (words >> extra) fail(op, 1301);
  if (parsed.name == "png") {
    parsed.extensions = {".png"};
  } else if (parsed.name == "bmp") {
    parsed.extensions = {".bmp"};
  } else if (parsed.name == "jpeg") {
    parsed.extensions = {".jpg", ".jpeg"};
  } else if (parsed.name == "tiff") {
    parsed.extensions = {".tif", ".tiff"};
  } else {
    fail(op, 1301);
  }
  return parsed;
}

// 'png N' names a compression level, 'jpeg N' a quality, 'tiff NAME' a compression.
int settingNumber(const std::string& setting, int low, int high, const char* op) {
  char* end = nullptr;
  const long value = std::strtol(setting.c_str(), &end, 10);
  if (setting.empty() || *end != '\0' || value < low || value > high) fail(op, 1301);
  return static_cast<int>(value);
}

}  // namespace

std::string pngFileName(const std::string& fileName) {
  return endsWithAny(fileName, {".png"}) ? fileName : fileName + ".png";
}

void writePng(const std::string& fileName, std::int32_t width, std::int32_t height,
              const std::vector<const std::uint8_t*>& planes, const char* op) {
  writeWholeFile(fileName, encodePng(PlaneView{width, height, planes}, op), op);
}

ImagePtr readImageFile(const std::string& name, const char* op) {
  const std::string path = findImageFile(name);
  std::string contents;
  if (path.empty() || !readWholeFile(path, &contents)) fail(op, H_ERR_FILE_NOT_FOUND);
  return decodeImageFile(path, contents, op);
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
    items.push_back(readImageFile(FileName[i].S().str(), op));
  }
  setOutput(Image, objectOf(items));
}

void WriteImage(const HObject& Image, const HTuple& Format, const HTuple& FillColor,
                const HTuple& FileName) {
  ApiScope scope("WriteImage");
  const char* op = "write_image";
  const ImagePtr image = oneImage(Image, op, 1, {PixelType::Byte, PixelType::Uint2});
  const WriteFormat format = parseFormat(oneString(Format, op, 1), op);
  // Of the formats written, TIFF alone holds 16-bit samples.
  if (image->type() == PixelType::Uint2 && format.name != "tiff") fail(op, H_ERR_WIT);
  oneInteger(FillColor, op, 2);
  std::string fileName = oneString(FileName, op, 3);
  if (image->channels.empty() || image->channels.size() > 4) fail(op, H_ERR_CHANNEL_COUNT);
  if (!endsWithAny(fileName, format.extensions)) fileName += format.extensions.front();

  // FillColor is for pixels outside the domain; every operator of the stand-in keeps the
  // full domain, so it is checked and has nothing to fill.
  PlaneView view{image->width, image->height, {}, elementSize(image->type())};
  for (std::size_t c = 0; c < image->channels.size(); ++c) view.planes.push_back(image->pixels(c));
  if (format.name == "tiff") {
    const std::string& compression = format.setting.empty() ? "none" : format.setting;
    if (compression != "none" && compression != "lzw" && compression != "deflate" &&
        compression != "packbits") {
      fail(op, 1301);
    }
    writeTiff(fileName, view, compression, op);
    return;
  }
  std::string encoded;
  if (format.name == "png") {
    // stb chooses its own compression level; the level only changes the file's size.
    if (!format.setting.empty()) settingNumber(format.setting, 0, 9, op);
    encoded = encodePng(view, op);
  } else if (format.name == "bmp") {
    if (!format.setting.empty()) fail(op, 1301);
    encoded = encodeBmp(view, op);
  } else {
    const int quality = format.setting.empty() ? 75 : settingNumber(format.setting, 0, 100, op);
    encoded = encodeJpeg(view, std::max(quality, 1), op);
  }
  writeWholeFile(fileName, encoded, op);
}

}  // namespace HalconCpp
