// linear_trans_color and cfa_to_rgb: colour values mapped through an affine matrix, and the
// Bayer mosaic of a single-chip camera spread over three channels.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/image_results.h"
#include "core/params.h"
#include "core/pixel_access.h"
#include "core/pixel_type.h"
#include "halconcpp/HOperatorsFilters.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

// Which colour the mosaic has at (row, column): 0 red, 1 green, 2 blue. The type names the
// first two pixels of row 0; the 2 x 2 pattern repeats.
int mosaicColour(const std::string& type, std::int32_t row, std::int32_t col) {
  const bool greenFirst = type == "bayer_gb" || type == "bayer_gr";
  // Along the green diagonal every other pixel is green.
  if (((row + col) % 2 == 0) == greenFirst) return 1;
  // Row 0 holds the colour named second in 'bayer_gb'/'bayer_gr', first in the others.
  const char rowZero = greenFirst ? type[7] : type[6];
  const bool blueRowZero = rowZero == 'b';
  return (row % 2 == 0) == blueRowZero ? 2 : 0;
}

// Positions beyond an edge reflected across the edge pixel, which keeps the mosaic's colours in
// place (-1 reads row 1); an image of one row or column reads that one.
std::int32_t reflected(std::int32_t i, std::int32_t n) {
  if (i < 0) i = -i;
  if (i >= n) i = 2 * (n - 1) - i;
  return i < 0 ? 0 : (i >= n ? n - 1 : i);
}

}  // namespace

void LinearTransColor(const HObject& Image, HObject* ImageTrans, const HTuple& TransMat) {
  ApiScope scope("LinearTransColor");
  const char* op = "linear_trans_color";
  const std::vector<ImagePtr> images = imagesWithChannels(Image, op, 1, kRealValuedTypes);
  std::vector<double> matrix;
  for (Hlong i = 0; i < TransMat.Length(); ++i) matrix.push_back(numberAt(TransMat, i, op, 1));
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : images) {
    const std::size_t n = image->channels.size(), columns = n + 1;
    // m whole rows of n + 1 values, m at least 1.
    if (matrix.empty() || matrix.size() % columns != 0) fail(op, 1401);
    const std::size_t m = matrix.size() / columns;
    ImagePtr result = imageLike(image, m, op, PixelType::Real);
    const PixelReader read = readerOf(image->type());
    std::vector<double> values(n);
    for (const Run& run : *image->domain) {
      for (std::int32_t col = run.begin; col <= run.end; ++col) {
        const std::size_t at = image->offset(run.row, col);
        for (std::size_t k = 0; k < n; ++k) values[k] = read(image->pixels(k), at);
        for (std::size_t r = 0; r < m; ++r) {
          double sum = matrix[r * columns + n];
          for (std::size_t k = 0; k < n; ++k) sum += matrix[r * columns + k] * values[k];
          result->channels[r]->as<float>()[at] = static_cast<float>(sum);
        }
      }
    }
    items.push_back(result);
  }
  setOutput(ImageTrans, objectOf(items));
}

void CfaToRgb(const HObject& CFAImage, HObject* RGBImage, const HTuple& CFAType,
              const HTuple& Interpolation) {
  ApiScope scope("CfaToRgb");
  const char* op = "cfa_to_rgb";
  const std::string type = oneString(CFAType, op, 1);
  if (type != "bayer_gb" && type != "bayer_gr" && type != "bayer_bg" && type != "bayer_rg") {
    fail(op, 1301);
  }
  // 'bilinear_dir' has no definition to compute it by (docs/standins.md).
  if (oneString(Interpolation, op, 2) != "bilinear") fail(op, 1302);
  std::vector<HObject::Item> items;
  for (const ImagePtr& image :
       imagesWithChannels(CFAImage, op, 1, {PixelType::Byte, PixelType::Uint2})) {
    const PixelReader read = readerOf(image->type());
    const PixelWriter write = writerOf(image->type());
    ImagePtr result = imageLike(image, 3, op, image->type());
    const std::int32_t w = image->width, h = image->height;
    const auto at = [&](std::int32_t r, std::int32_t c) {
      return read(image->pixels(0), image->offset(reflected(r, h), reflected(c, w)));
    };
    for (const Run& run : *image->domain) {
      const std::int32_t row = run.row;
      for (std::int32_t col = run.begin; col <= run.end; ++col) {
        const int own = mosaicColour(type, row, col);
        double rgb[3] = {0, 0, 0};
        rgb[own] = at(row, col);
        const double cross =
            (at(row - 1, col) + at(row + 1, col) + at(row, col - 1) + at(row, col + 1)) / 4;
        const double diagonal = (at(row - 1, col - 1) + at(row - 1, col + 1) +
                                 at(row + 1, col - 1) + at(row + 1, col + 1)) /
                                4;
        if (own == 1) {
          // A green pixel has its row's other colour left and right, the other above and below.
          const double across = (at(row, col - 1) + at(row, col + 1)) / 2;
          const double down = (at(row - 1, col) + at(row + 1, col)) / 2;
          const int rowColour = mosaicColour(type, row, col + 1);
          rgb[rowColour] = across;
          rgb[2 - rowColour] = down;
        } else {
          rgb[1] = cross;
          rgb[2 - own] = diagonal;
        }
        const std::size_t i = image->offset(row, col);
        for (std::size_t k = 0; k < 3; ++k) write(result->pixels(k), i, rgb[k]);
      }
    }
    items.push_back(result);
  }
  setOutput(RGBImage, objectOf(items));
}

}  // namespace HalconCpp
