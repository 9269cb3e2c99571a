// Region objects and the operators that make and measure them.
#include "core/region.h"

#include <cmath>

#include "core/empty_results.h"
#include "core/image.h"
#include "core/params.h"
#include "core/pixel_access.h"
#include "core/run_sets.h"
#include "core/threads.h"
#include "halconcpp/HOperatorsIconic.h"
#include "standin/controls.h"

namespace HalconCpp {
namespace Standin {

std::shared_ptr<RegionObject> makeRegion(Runs runs) {
  return std::make_shared<RegionObject>(std::move(runs));
}

std::vector<const Runs*> regionsOf(const HObject& object, const char* op, int n) {
  objectCount(object, op, n);
  checkNoObjects(object, op, n);
  std::vector<const Runs*> regions;
  for (const HObject::Item& item : object.Items()) {
    if (const auto* region = dynamic_cast<const RegionObject*>(item.get())) {
      regions.push_back(&region->runs);
    } else if (const auto* image = dynamic_cast<const ImageObject*>(item.get())) {
      regions.push_back(image->domain.get());
    } else {
      fail(op, 1100 + n);
    }
  }
  return regions;
}

std::vector<const Runs*> measuredRegions(const HObject& regions, const char* op) {
  std::vector<const Runs*> runs = regionsOf(regions, op, 1);
  if (skipEmptyRegions(runs, op)) runs.clear();
  return runs;
}

}  // namespace Standin

using namespace Standin;

namespace {

// threshold of the types beyond byte: the values as the type holds them, compared in doubles.
Runs typedThresholdRuns(const ImageObject& image, double minGray, double maxGray) {
  const PixelReader read = readerOf(image.type());
  const std::uint8_t* pixels = image.pixels(0);
  Runs runs;
  for (const Run& run : *image.domain) {
    const std::size_t row = image.offset(run.row, 0);
    for (std::int32_t col = run.begin; col <= run.end; ++col) {
      const double g = read(pixels, row + std::size_t(col));
      if (g < minGray || g > maxGray) continue;
      if (!runs.empty() && runs.back().row == run.row && runs.back().end == col - 1) {
        runs.back().end = col;
      } else {
        runs.push_back(Run{run.row, col, col});
      }
    }
  }
  return runs;
}

std::int32_t coordinateAt(const HTuple& value, Hlong i, const char* op, int n) {
  const double coordinate = std::round(numberAt(value, i, op, n));
  if (!(std::fabs(coordinate) <= kMaxRegionCoordinate)) fail(op, 1300 + n);  // NaN too
  return static_cast<std::int32_t>(coordinate);
}

}  // namespace

void GenRectangle1(HObject* Rectangle, const HTuple& Row1, const HTuple& Column1,
                   const HTuple& Row2, const HTuple& Column2) {
  ApiScope scope("GenRectangle1");
  const char* op = "gen_rectangle1";
  const HTuple* corners[] = {&Row1, &Column1, &Row2, &Column2};
  for (int n = 2; n <= 4; ++n) requireLength(*corners[n - 1], Row1.Length(), op, n);
  std::vector<HObject::Item> items;
  for (Hlong i = 0; i < Row1.Length(); ++i) {
    std::int32_t c[4];
    for (int n = 1; n <= 4; ++n) c[n - 1] = coordinateAt(*corners[n - 1], i, op, n);
    if (c[2] < c[0]) fail(op, 1303);
    if (c[3] < c[1]) fail(op, 1304);
    items.push_back(makeRegion(rectangleRuns(c[0], c[1], c[2], c[3])));
  }
  setOutput(Rectangle, objectOf(items));
}

void GenCircle(HObject* Circle, const HTuple& Row, const HTuple& Column, const HTuple& Radius) {
  ApiScope scope("GenCircle");
  const char* op = "gen_circle";
  requireLength(Column, Row.Length(), op, 2);
  requireLength(Radius, Row.Length(), op, 3);
  std::vector<HObject::Item> items;
  for (Hlong i = 0; i < Row.Length(); ++i) {
    const double row = numberAt(Row, i, op, 1);
    const double col = numberAt(Column, i, op, 2);
    const double radius = numberAt(Radius, i, op, 3);
    if (!(std::fabs(row) <= kMaxRegionCoordinate)) fail(op, 1301);
    if (!(std::fabs(col) <= kMaxRegionCoordinate)) fail(op, 1302);
    if (!(radius > 0 && radius <= kMaxRegionCoordinate)) fail(op, 1303);
    items.push_back(makeRegion(circleRuns(row, col, radius)));
  }
  setOutput(Circle, objectOf(items));
}

void Threshold(const HObject& Image, HObject* Region, const HTuple& MinGray,
               const HTuple& MaxGray) {
  ApiScope scope("Threshold");
  const char* op = "threshold";
  const double minGray = oneNumber(MinGray, op, 1);
  const double maxGray = oneNumber(MaxGray, op, 2);
  // Which grey values pass, decided once by the same comparisons in doubles.
  bool passes[256];
  for (int g = 0; g < 256; ++g) passes[g] = !(g < minGray || g > maxGray);
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : imagesOf(Image, op, 1, kRealValuedTypes)) {
    if (image->channels.empty()) fail(op, H_ERR_CHANNEL_COUNT);
    if (image->type() != PixelType::Byte) {
      items.push_back(makeRegion(typedThresholdRuns(*image, minGray, maxGray)));
      continue;
    }
    const std::uint8_t* pixels = image->pixels(0);
    const Runs& domain = *image->domain;
    // Bands of the domain's runs; runs of one row never touch, so neither do the runs found
    // in them, and the bands' runs join in order.
    const auto count = static_cast<std::int64_t>(domain.size());
    const int bands = bandsFor(count, runsArea(domain));
    std::vector<Runs> parts(static_cast<std::size_t>(bands));
    forBands(count, bands, [&](int band, std::int64_t first, std::int64_t last) {
      Runs& runs = parts[static_cast<std::size_t>(band)];
      for (auto i = static_cast<std::size_t>(first); i < static_cast<std::size_t>(last); ++i) {
        const Run& run = domain[i];
        const std::uint8_t* row = pixels + image->offset(run.row, 0);
        for (std::int32_t col = run.begin; col <= run.end;) {
          if (!passes[row[col]]) {
            ++col;
            continue;
          }
          const std::int32_t begin = col;
          while (col <= run.end && passes[row[col]]) ++col;
          runs.push_back(Run{run.row, begin, col - 1});
        }
      }
    });
    if (bands == 1) {
      items.push_back(makeRegion(std::move(parts[0])));
      continue;
    }
    std::size_t total = 0;
    for (const Runs& part : parts) total += part.size();
    Runs runs;
    runs.reserve(total);
    for (const Runs& part : parts) runs.insert(runs.end(), part.begin(), part.end());
    items.push_back(makeRegion(std::move(runs)));
  }
  setOutput(Region, objectOf(items));
}

void Connection(const HObject& Region, HObject* ConnectedRegions) {
  ApiScope scope("Connection");
  std::vector<HObject::Item> items;
  const int neighbourhood = systemNeighbourhood();
  for (const Runs* region : regionsOf(Region, "connection", 1)) {
    for (Runs& component : connectedRuns(*region, neighbourhood)) {
      items.push_back(makeRegion(std::move(component)));
    }
  }
  setOutput(ConnectedRegions, objectOf(items));
}

void AreaCenter(const HObject& Regions, HTuple* Area, HTuple* Row, HTuple* Column) {
  ApiScope scope("AreaCenter");
  HTuple areas, rows, cols;
  std::vector<const Runs*> regions = regionsOf(Regions, "area_center", 1);
  if (skipEmptyRegions(regions, "area_center")) regions.clear();
  for (const Runs* region : regions) {
    double row, col;
    runsCenter(*region, &row, &col);
    areas.Append(HTuple(static_cast<Hlong>(runsArea(*region))));
    rows.Append(HTuple(row));
    cols.Append(HTuple(col));
  }
  setOutput(Area, std::move(areas));
  setOutput(Row, std::move(rows));
  setOutput(Column, std::move(cols));
}

}  // namespace HalconCpp
