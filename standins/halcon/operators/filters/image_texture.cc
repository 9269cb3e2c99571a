// texture_laws on byte images: Laws' masks, the outer product of two of the reference's
// vectors, over every channel of the whole image mirrored at its edges, shifted right by Shift
// and clipped to bytes.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "core/image.h"
#include "core/params.h"
#include "halconcpp/HOperatorsFilters.h"
#include "operators/filters/filter_images.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

// The reference's vectors by size, in the order of their letters.
constexpr char kLetters[] = "leswruo";
constexpr int kVectors3[3][3] = {{1, 2, 1}, {-1, 0, 1}, {-1, 2, -1}};
constexpr int kVectors5[5][5] = {
    {1, 4, 6, 4, 1}, {-1, -2, 0, 2, 1}, {-1, 0, 2, 0, -1}, {-1, 2, 0, -2, 1}, {1, -4, 6, -4, 1}};
constexpr int kVectors7[7][7] = {{1, 6, 15, 20, 15, 6, 1},    {-1, -4, -5, 0, 5, 4, 1},
                                 {-1, -2, 1, 4, 1, -2, -1},   {-1, 0, 3, 0, -3, 0, 1},
                                 {1, -2, -1, 4, -1, -2, 1},   {1, -4, 5, 0, -5, 4, -1},
                                 {-1, 6, -15, 20, -15, 6, -1}};

std::vector<int> lawsVector(char letter, Hlong size) {
  const char* found = std::strchr(kLetters, letter);
  const auto index = found && letter ? static_cast<std::size_t>(found - kLetters) : 7;
  if (index >= static_cast<std::size_t>(size)) return {};
  const int* row = size == 3 ? kVectors3[index] : size == 5 ? kVectors5[index] : kVectors7[index];
  return std::vector<int>(row, row + size);
}

// The mask as written: its first weight meets the pixel above (left of) the centre. Sums reach
// 64 * 64 * 255, well within 32 bits.
void lawsPlane(const std::uint8_t* src, PlaneSize size, const std::vector<int>& down,
               const std::vector<int>& across, int shift, std::uint8_t* dst) {
  const std::int32_t w = size.width, h = size.height;
  const auto half = static_cast<std::int32_t>(down.size() / 2);
  const auto width = static_cast<std::size_t>(w);
  std::vector<std::int32_t> extended(width + 2 * static_cast<std::size_t>(half)), sums(width);
  std::int32_t* column = extended.data() + half;
  for (std::int32_t y = 0; y < h; ++y) {
    std::fill(column, column + w, 0);
    for (std::int32_t k = -half; k <= half; ++k) {
      const int weight = down[static_cast<std::size_t>(k + half)];
      const std::uint8_t* row = src + rowStart(mirroredIndex(y + k, h), w);
      for (std::size_t x = 0; x < width; ++x) column[x] += weight * row[x];
    }
    for (std::int32_t i = 1; i <= half; ++i) {
      column[-i] = column[mirroredIndex(-i, w)];
      column[w - 1 + i] = column[mirroredIndex(w - 1 + i, w)];
    }
    std::fill(sums.begin(), sums.end(), 0);
    for (std::size_t k = 0; k < across.size(); ++k) {
      const int weight = across[k];
      const std::int32_t* e = extended.data() + k;
      for (std::size_t x = 0; x < width; ++x) sums[x] += weight * e[x];
    }
    std::uint8_t* out = dst + rowStart(y, w);
    for (std::size_t x = 0; x < width; ++x) {
      const std::int32_t v = sums[x] < 0 ? 0 : sums[x] >> shift;
      out[x] = static_cast<std::uint8_t>(v > 255 ? 255 : v);
    }
  }
}

}  // namespace

void TextureLaws(const HObject& Image, HObject* ImageTexture, const HTuple& FilterTypes,
                 const HTuple& Shift, const HTuple& FilterSize) {
  ApiScope scope("TextureLaws");
  const char* op = "texture_laws";
  const std::string types = oneString(FilterTypes, op, 1);
  const Hlong shift = oneInteger(Shift, op, 2);
  const Hlong size = oneInteger(FilterSize, op, 3);
  if (size != 3 && size != 5 && size != 7) fail(op, 1303);
  if (shift < 0 || shift > 9) fail(op, 1302);
  // Two letters: the first filters down the columns, the second along the rows.
  if (types.size() != 2) fail(op, 1301);
  const std::vector<int> down = lawsVector(types[0], size), across = lawsVector(types[1], size);
  if (down.empty() || across.empty()) fail(op, 1301);
  const int bits = static_cast<int>(shift);
  setOutput(ImageTexture,
            filterImages(Image, op, [&](const std::uint8_t* in, PlaneSize s, std::uint8_t* out) {
              lawsPlane(in, s, down, across, bits, out);
            }));
}

}  // namespace HalconCpp
