// plateaus, plateaus_center, lowlands and lowlands_center (HALCON 11.0 reference): the pixels at
// least as high (or low) as each of their 8-neighbours in the domain, one region per connected set
// of them, or its centre.
#include <cmath>
#include <cstdint>
#include <vector>

#include "core/image.h"
#include "core/params.h"
#include "core/pixel_access.h"
#include "core/region.h"
#include "core/region_geometry.h"
#include "halconcpp/HOperatorsSegmentation.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

Runs flatExtrema(const ImageObject& image, bool highest) {
  const PixelReader read = readerOf(image.type());
  const std::uint8_t* g = image.pixels(0);
  const Runs domain = clipRuns(*image.domain, image.height, image.width);
  Runs out;
  for (const Run& run : domain) {
    for (std::int32_t col = run.begin; col <= run.end; ++col) {
      const double value = read(g, image.offset(run.row, col));
      bool kept = true;
      for (std::int32_t dr = -1; dr <= 1 && kept; ++dr) {
        for (std::int32_t dc = -1; dc <= 1 && kept; ++dc) {
          const std::int32_t r = run.row + dr, c = col + dc;
          if ((dr == 0 && dc == 0) || !runsContain(domain, r, c)) continue;
          const double other = read(g, image.offset(r, c));
          kept = highest ? value >= other : value <= other;
        }
      }
      if (!kept) continue;
      if (!out.empty() && out.back().row == run.row && out.back().end == col - 1) {
        out.back().end = col;
      } else {
        out.push_back(Run{run.row, col, col});
      }
    }
  }
  return out;
}

// A centre of gravity rounds to the pixel that holds it, halves down and right.
void flats(const HObject& Image, HObject* Flats, bool highest, bool centres, const char* op) {
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : imagesOf(Image, op, 1, kRealValuedTypes)) {
    for (const Runs& part : connectedRuns(flatExtrema(*image, highest), 8)) {
      if (!centres) {
        items.push_back(makeRegion(part));
        continue;
      }
      const Moments m = momentsOf(part);
      const auto r = static_cast<std::int32_t>(std::floor(m.row + 0.5));
      const auto c = static_cast<std::int32_t>(std::floor(m.col + 0.5));
      items.push_back(makeRegion(Runs{Run{r, c, c}}));
    }
  }
  setOutput(Flats, objectOf(items));
}

}  // namespace

void Plateaus(const HObject& Image, HObject* Plateaus) {
  ApiScope scope("Plateaus");
  flats(Image, Plateaus, true, false, "plateaus");
}

void PlateausCenter(const HObject& Image, HObject* Plateaus) {
  ApiScope scope("PlateausCenter");
  flats(Image, Plateaus, true, true, "plateaus_center");
}

void Lowlands(const HObject& Image, HObject* Lowlands) {
  ApiScope scope("Lowlands");
  flats(Image, Lowlands, false, false, "lowlands");
}

void LowlandsCenter(const HObject& Image, HObject* Lowlands) {
  ApiScope scope("LowlandsCenter");
  flats(Image, Lowlands, false, true, "lowlands_center");
}

}  // namespace HalconCpp
