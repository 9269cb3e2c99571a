// Grey values mapped through tables: lut_trans and equ_histo_image.
#include <cmath>
#include <vector>

#include "core/params.h"
#include "halconcpp/HOperatorsPixels.h"
#include "operators/image/typed_images.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

// Table index of a value; -1 for values the table does not reach, which become 0.
std::int64_t lutIndex(PixelType type, std::int64_t g, std::int64_t length) {
  if (type == PixelType::Int2 && length == 65536) return g + 32768;
  return g >= 0 && g < length ? g : -1;
}

}  // namespace

void LutTrans(const HObject& Image, HObject* ImageResult, const HTuple& Lut) {
  ApiScope scope("LutTrans");
  const char* op = "lut_trans";
  const Hlong length = Lut.Length();
  std::vector<double> table(static_cast<std::size_t>(length));
  for (Hlong i = 0; i < length; ++i) table[std::size_t(i)] = double(integerAt(Lut, i, op, 1));
  std::vector<HObject::Item> items;
  const PixelTypes types{PixelType::Byte, PixelType::Int2, PixelType::Uint2};
  for (const ImagePtr& image : imagesWithChannels(Image, op, 1, types)) {
    const PixelType type = image->type();
    // Byte images take exactly 256 entries; int2 up to 32768 (from 0) or exactly 65536 (from
    // -32768); uint2 256 ... 65536.
    const bool fits = type == PixelType::Byte ? length == 256
                      : type == PixelType::Int2
                          ? (length >= 256 && length <= 32768) || length == 65536
                          : length >= 256 && length <= 65536;
    if (!fits) fail(op, 1401);
    ImagePtr result = imageLike(image, image->channels.size(), op, type);
    const PixelReader read = readerOf(type);
    const PixelWriter write = writerOf(type);
    for (std::size_t c = 0; c < image->channels.size(); ++c) {
      for (std::size_t i = 0, n = pixelCount(*image); i < n; ++i) {
        const std::int64_t at = lutIndex(type, std::int64_t(read(image->pixels(c), i)), length);
        write(result->pixels(c), i, at < 0 ? 0.0 : table[std::size_t(at)]);
      }
    }
    items.push_back(std::move(result));
  }
  setOutput(ImageResult, objectOf(items));
}

// f(g) = top * (h(0) + ... + h(g)) with h the relative frequencies within the domain, per
// channel, top 255 for byte and 65535 for uint2 (16 significant bits); the whole image is
// mapped. A domain without pixels leaves the values as they are.
void EquHistoImage(const HObject& Image, HObject* ImageEquHisto) {
  ApiScope scope("EquHistoImage");
  const char* op = "equ_histo_image";
  std::vector<HObject::Item> items;
  for (const ImagePtr& image :
       imagesWithChannels(Image, op, 1, {PixelType::Byte, PixelType::Uint2})) {
    const PixelType type = image->type();
    const double top = type == PixelType::Byte ? 255 : 65535;
    ImagePtr result = imageLike(image, image->channels.size(), op, type);
    const PixelReader read = readerOf(type);
    const PixelWriter write = writerOf(type);
    const Runs domain = clipRuns(*image->domain, image->height, image->width);
    for (std::size_t c = 0; c < image->channels.size(); ++c) {
      std::vector<double> table(std::size_t(top) + 1, 0.0);
      double total = 0;
      for (const Run& run : domain) {
        for (std::int32_t col = run.begin; col <= run.end; ++col) {
          table[std::size_t(read(image->pixels(c), image->offset(run.row, col)))] += 1;
          total += 1;
        }
      }
      double sum = 0;
      for (std::size_t g = 0; g < table.size(); ++g) {
        sum += table[g];
        table[g] = total > 0 ? top * sum / total : double(g);
      }
      for (std::size_t i = 0, n = pixelCount(*image); i < n; ++i) {
        write(result->pixels(c), i, table[std::size_t(read(image->pixels(c), i))]);
      }
    }
    items.push_back(std::move(result));
  }
  setOutput(ImageEquHisto, objectOf(items));
}

}  // namespace HalconCpp
