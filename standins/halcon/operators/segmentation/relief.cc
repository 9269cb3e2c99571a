// Segmentation by the grey values' relief: regions grown over a raster of rectangles, the
// basins of a flooding from the regional minima and the watersheds between them, and the
// image's strict local extrema. Every working plane is charged to the pixel bound first.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <queue>
#include <tuple>
#include <vector>

#include "core/image.h"
#include "core/image_results.h"
#include "core/memory_bounds.h"
#include "core/params.h"
#include "core/region.h"
#include "core/run_sets.h"
#include "halconcpp/HOperatorsSegmentation.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

constexpr int kDr[] = {-1, -1, -1, 0, 0, 1, 1, 1};
constexpr int kDc[] = {-1, 0, 1, -1, 1, -1, 0, 1};
// The 4-neighbours among kDr/kDc, for set_system('neighborhood', 4).
constexpr int kFour[] = {1, 3, 4, 6};

// Labels of the pixels of an image: kOutsideDomain off the domain, 0 not yet reached.
constexpr std::int32_t kOutsideDomain = -2;
constexpr std::int32_t kWatershed = -1;

struct Labels {
  std::int32_t width, height;
  PixelReservation reservation;
  std::vector<std::int32_t> label;

  Labels(const ImageObject& image, std::uint64_t bytesPerPixel, const char* op)
      : width(image.width),
        height(image.height),
        reservation(std::uint64_t(image.width) * std::uint64_t(image.height) * bytesPerPixel, op),
        label(std::size_t(image.width) * std::size_t(image.height), kOutsideDomain) {
    for (const Run& run : *image.domain) {
      if (run.row < 0 || run.row >= height) continue;
      const std::int32_t from = std::max(run.begin, 0), to = std::min(run.end, width - 1);
      for (std::int32_t col = from; col <= to; ++col) label[index(run.row, col)] = 0;
    }
  }
  std::size_t index(std::int32_t row, std::int32_t col) const {
    return std::size_t(row) * std::size_t(width) + std::size_t(col);
  }
  bool inside(std::int32_t row, std::int32_t col) const {
    return row >= 0 && col >= 0 && row < height && col < width &&
           label[index(row, col)] != kOutsideDomain;
  }
  // Runs of the pixels whose label `keep` accepts, one list per label 1..count (index 0 unused)
  std::vector<Runs> regions(std::int32_t count) const {
    std::vector<Runs> out(std::size_t(count) + 1);
    for (std::int32_t row = 0; row < height; ++row) {
      for (std::int32_t col = 0; col < width; ++col) {
        const std::int32_t l = label[index(row, col)];
        if (l <= 0) continue;
        Runs& runs = out[std::size_t(l)];
        if (!runs.empty() && runs.back().row == row && runs.back().end == col - 1) {
          runs.back().end = col;
        } else {
          runs.push_back(Run{row, col, col});
        }
      }
    }
    return out;
  }
  Runs where(std::int32_t value) const {
    Runs out;
    for (std::int32_t row = 0; row < height; ++row) {
      for (std::int32_t col = 0; col < width; ++col) {
        if (label[index(row, col)] != value) continue;
        if (!out.empty() && out.back().row == row && out.back().end == col - 1) {
          out.back().end = col;
        } else {
          out.push_back(Run{row, col, col});
        }
      }
    }
    return out;
  }
};

// Meyer's flooding: the regional minima (8-connected plateaus with no lower neighbour) are
// the basins' seeds, numbered in the order their first pixel is met; pixels are flooded in
// order of grey value, first come first served, and a pixel that two basins reach is a
// watershed. Different basins are therefore never 8-neighbours.
std::int32_t flood(const ImageObject& image, Labels& labels) {
  const std::uint8_t* g = image.pixels(0);
  std::vector<std::uint8_t> seen(labels.label.size(), 0);
  std::vector<std::size_t> plateau;
  std::vector<std::vector<std::size_t>> buckets(256);
  std::int32_t count = 0;
  const auto neighbours = [&](std::size_t i, auto&& visit) {
    const auto row = std::int32_t(i / std::size_t(labels.width));
    const auto col = std::int32_t(i % std::size_t(labels.width));
    for (int k = 0; k < 8; ++k) {
      if (labels.inside(row + kDr[k], col + kDc[k])) {
        visit(labels.index(row + kDr[k], col + kDc[k]));
      }
    }
  };
  for (std::size_t start = 0; start < labels.label.size(); ++start) {
    if (labels.label[start] == kOutsideDomain || seen[start]) continue;
    plateau.assign(1, start);
    seen[start] = 1;
    bool minimum = true;
    for (std::size_t n = 0; n < plateau.size(); ++n) {
      neighbours(plateau[n], [&](std::size_t j) {
        if (g[j] < g[start]) minimum = false;
        if (g[j] == g[start] && !seen[j]) {
          seen[j] = 1;
          plateau.push_back(j);
        }
      });
    }
    if (!minimum) continue;
    ++count;
    for (std::size_t i : plateau) labels.label[i] = count;
  }
  // seen now marks every pixel of the domain; it marks the queued ones from here on.
  std::fill(seen.begin(), seen.end(), 0);
  for (std::size_t i = 0; i < labels.label.size(); ++i) {
    if (labels.label[i] <= 0) continue;
    neighbours(i, [&](std::size_t j) {
      if (labels.label[j] == 0 && !seen[j]) {
        seen[j] = 1;
        buckets[g[j]].push_back(j);
      }
    });
  }
  for (int level = 0; level < 256; ++level) {
    for (std::size_t n = 0; n < buckets[std::size_t(level)].size(); ++n) {
      const std::size_t i = buckets[std::size_t(level)][n];
      std::int32_t basin = 0;
      neighbours(i, [&](std::size_t j) {
        const std::int32_t l = labels.label[j];
        if (l > 0) basin = basin == 0 || basin == l ? l : kWatershed;
      });
      labels.label[i] = basin;
      if (basin <= 0) continue;
      neighbours(i, [&](std::size_t j) {
        if (labels.label[j] == 0 && !seen[j]) {
          seen[j] = 1;
          buckets[std::max<std::size_t>(g[j], std::size_t(level))].push_back(j);
        }
      });
    }
    std::vector<std::size_t>().swap(buckets[std::size_t(level)]);
  }
  return count;
}

ImagePtr reliefImage(const HObject& Image, const char* op) {
  const ImagePtr image = oneImage(Image, op, 1);
  if (image->channels.empty()) fail(op, H_ERR_CHANNEL_COUNT);
  return image;
}

// Basins merge, lowest dam first, while the dam between two rises less than `threshold` above
// the higher of their minima; every watershed pixel then joins the lowest basin beside it.
std::vector<Runs> mergedBasins(const ImageObject& image, Labels& labels, std::int32_t count,
                               double threshold) {
  const std::uint8_t* g = image.pixels(0);
  std::vector<std::int32_t> parent(std::size_t(count) + 1), lowest(std::size_t(count) + 1, 255);
  for (std::int32_t l = 0; l <= count; ++l) parent[std::size_t(l)] = l;
  for (std::size_t i = 0; i < labels.label.size(); ++i) {
    const std::int32_t l = labels.label[i];
    if (l > 0) lowest[std::size_t(l)] = std::min<std::int32_t>(lowest[std::size_t(l)], g[i]);
  }
  // The dams: the lowest watershed pixel beside both basins.
  std::vector<std::map<std::int32_t, std::int32_t>> dams(std::size_t(count) + 1);
  std::vector<std::int32_t> beside;
  for (std::size_t i = 0; i < labels.label.size(); ++i) {
    if (labels.label[i] != kWatershed) continue;
    const auto row = std::int32_t(i / std::size_t(labels.width));
    const auto col = std::int32_t(i % std::size_t(labels.width));
    beside.clear();
    for (int k = 0; k < 8; ++k) {
      if (!labels.inside(row + kDr[k], col + kDc[k])) continue;
      const std::int32_t l = labels.label[labels.index(row + kDr[k], col + kDc[k])];
      if (l > 0) beside.push_back(l);
    }
    for (std::int32_t a : beside) {
      for (std::int32_t b : beside) {
        if (a == b) continue;
        auto [it, added] = dams[std::size_t(a)].emplace(b, g[i]);
        if (!added) it->second = std::min<std::int32_t>(it->second, g[i]);
      }
    }
  }
  const auto root = [&](std::int32_t l) {
    while (parent[std::size_t(l)] != l)
      l = parent[std::size_t(l)] = parent[std::size_t(parent[std::size_t(l)])];
    return l;
  };
  using Entry = std::tuple<std::int32_t, std::int32_t, std::int32_t>;  // height, a, b
  std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> queue;
  const auto height = [&](std::int32_t a, std::int32_t b, std::int32_t dam) {
    return dam - std::max(lowest[std::size_t(a)], lowest[std::size_t(b)]);
  };
  for (std::int32_t a = 1; a <= count; ++a) {
    for (const auto& [b, dam] : dams[std::size_t(a)]) {
      if (a < b) queue.emplace(height(a, b, dam), a, b);
    }
  }
  while (!queue.empty()) {
    const auto [h, a0, b0] = queue.top();
    queue.pop();
    const std::int32_t a = root(a0), b = root(b0);
    if (a == b) continue;
    const auto dam = dams[std::size_t(a)].find(b);
    if (dam == dams[std::size_t(a)].end()) continue;
    const std::int32_t now = height(a, b, dam->second);
    if (now != h) {
      queue.emplace(now, a, b);
      continue;
    }
    if (h >= threshold) break;
    // b joins a; a keeps the lower of each pair of dams.
    parent[std::size_t(b)] = a;
    lowest[std::size_t(a)] = std::min(lowest[std::size_t(a)], lowest[std::size_t(b)]);
    dams[std::size_t(a)].erase(b);
    for (const auto& [c, w] : dams[std::size_t(b)]) {
      if (c == a) continue;
      auto [it, added] = dams[std::size_t(a)].emplace(c, w);
      if (!added) it->second = std::min(it->second, w);
      dams[std::size_t(c)].erase(b);
      auto [back, fresh] = dams[std::size_t(c)].emplace(a, it->second);
      if (!fresh) back->second = it->second;
      queue.emplace(height(a, c, it->second), a, c);
    }
    dams[std::size_t(b)].clear();
  }
  for (std::int32_t& l : labels.label) {
    if (l > 0) l = root(l);
  }
  for (std::size_t i = 0; i < labels.label.size(); ++i) {
    if (labels.label[i] != kWatershed) continue;
    const auto row = std::int32_t(i / std::size_t(labels.width));
    const auto col = std::int32_t(i % std::size_t(labels.width));
    std::int32_t best = 0;
    for (int k = 0; k < 8; ++k) {
      if (!labels.inside(row + kDr[k], col + kDc[k])) continue;
      const std::int32_t l = labels.label[labels.index(row + kDr[k], col + kDc[k])];
      if (l <= 0) continue;
      if (best == 0 || lowest[std::size_t(l)] < lowest[std::size_t(best)] ||
          (lowest[std::size_t(l)] == lowest[std::size_t(best)] && l < best)) {
        best = l;
      }
    }
    // Written as a basin's negative, so that the pixels still to come see only basins.
    labels.label[i] = best > 0 ? -2 - best : kWatershed;
  }
  for (std::int32_t& l : labels.label) {
    if (l < -2) l = -2 - l;
  }
  std::vector<Runs> basins = labels.regions(count);
  std::vector<Runs> out;
  for (std::int32_t l = 1; l <= count; ++l) {
    if (root(l) == l) out.push_back(std::move(basins[std::size_t(l)]));
  }
  return out;
}

// Strict local extrema: pixels above (or below) every neighbour in the domain.
Runs extrema(const ImageObject& image, bool maxima) {
  const std::uint8_t* g = image.pixels(0);
  const int neighbourhood = systemNeighbourhood();
  Runs out;
  for (const Run& run : clipRuns(*image.domain, image.height, image.width)) {
    for (std::int32_t col = run.begin; col <= run.end; ++col) {
      const int value = g[image.offset(run.row, col)];
      bool extreme = true;
      for (int n = 0; n < 8 && extreme; ++n) {
        const int k = neighbourhood == 4 ? (n < 4 ? kFour[n] : -1) : n;
        if (k < 0) break;
        const std::int32_t r = run.row + kDr[k], c = col + kDc[k];
        if (r < 0 || c < 0 || r >= image.height || c >= image.width) continue;
        if (!runsContain(*image.domain, r, c)) continue;
        const int other = g[image.offset(r, c)];
        extreme = maxima ? value > other : value < other;
      }
      if (!extreme) continue;
      if (!out.empty() && out.back().row == run.row && out.back().end == col - 1) {
        out.back().end = col;
      } else {
        out.push_back(Run{run.row, col, col});
      }
    }
  }
  return out;
}

void localExtrema(const HObject& Image, HObject* Extrema, bool maxima, const char* op) {
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : imagesWithChannels(Image, op, 1)) {
    items.push_back(makeRegion(extrema(*image, maxima)));
  }
  setOutput(Extrema, objectOf(items));
}

}  // namespace

void Regiongrowing(const HObject& Image, HObject* Regions, const HTuple& Row, const HTuple& Column,
                   const HTuple& Tolerance, const HTuple& MinSize) {
  ApiScope scope("Regiongrowing");
  const char* op = "regiongrowing";
  Hlong rasterHeight = oneInteger(Row, op, 1), rasterWidth = oneInteger(Column, op, 2);
  if (rasterHeight < 1 || rasterHeight > 99) fail(op, 1301);
  if (rasterWidth < 1 || rasterWidth > 99) fail(op, 1302);
  const double tolerance = oneNumber(Tolerance, op, 3);
  if (!(tolerance >= 0)) fail(op, 1303);
  const Hlong minSize = oneInteger(MinSize, op, 4);
  if (minSize < 1) fail(op, 1304);
  // "converted to odd values if necessary": an even side grows by one, so that its centre is
  // a pixel.
  rasterHeight |= 1;
  rasterWidth |= 1;
  const ImagePtr image = reliefImage(Image, op);
  const std::uint8_t* g = image->pixels(0);
  const Runs domain = clipRuns(*image->domain, image->height, image->width);
  std::int32_t row1, col1, row2, col2;
  std::vector<HObject::Item> items;
  if (!runsBox(domain, &row1, &col1, &row2, &col2)) {
    setOutput(Regions, objectOf(items));
    return;
  }
  // The raster is laid from the domain's upper left corner; a rectangle takes part when its
  // centre lies in the domain, and holds its pixels in the domain.
  const auto h = std::int32_t(rasterHeight), w = std::int32_t(rasterWidth);
  const std::int32_t rows = (row2 - row1) / h + 1, cols = (col2 - col1) / w + 1;
  const PixelReservation reservation(std::uint64_t(rows) * std::uint64_t(cols) * 8, op);
  std::vector<std::int32_t> parent(std::size_t(rows) * std::size_t(cols), -1);
  const auto cell = [&](std::int32_t i, std::int32_t j) { return std::size_t(i) * cols + j; };
  const auto centre = [&](std::int32_t i, std::int32_t j) {
    return std::make_pair(row1 + i * h + h / 2, col1 + j * w + w / 2);
  };
  for (std::int32_t i = 0; i < rows; ++i) {
    for (std::int32_t j = 0; j < cols; ++j) {
      const auto [r, c] = centre(i, j);
      if (r <= row2 && c <= col2 && runsContain(domain, r, c)) {
        parent[cell(i, j)] = std::int32_t(cell(i, j));
      }
    }
  }
  const auto root = [&](std::size_t x) {
    while (parent[x] != std::int32_t(x))
      x = std::size_t(parent[x] = parent[std::size_t(parent[x])]);
    return x;
  };
  // |g1 - g2| < Tolerance, the page's formula (its prose says "less than or equal").
  const auto join = [&](std::int32_t i, std::int32_t j, std::int32_t k, std::int32_t l) {
    if (parent[cell(i, j)] < 0 || parent[cell(k, l)] < 0) return;
    const auto [r1, c1] = centre(i, j);
    const auto [r2, c2] = centre(k, l);
    const double difference =
        std::fabs(double(g[image->offset(r1, c1)]) - double(g[image->offset(r2, c2)]));
    if (difference >= tolerance) return;
    const std::size_t a = root(cell(i, j)), b = root(cell(k, l));
    if (a != b) parent[std::max(a, b)] = std::int32_t(std::min(a, b));
  };
  for (std::int32_t i = 0; i < rows; ++i) {
    for (std::int32_t j = 0; j < cols; ++j) {
      if (j + 1 < cols) join(i, j, i, j + 1);
      if (i + 1 < rows) join(i, j, i + 1, j);
    }
  }
  // Each region's rectangles, row of rectangles by row, in the order of its first rectangle.
  std::map<std::size_t, Runs> grown;
  std::vector<std::size_t> order;
  for (std::int32_t i = 0; i < rows; ++i) {
    for (std::int32_t y = row1 + i * h; y < row1 + (i + 1) * h && y <= row2; ++y) {
      for (std::int32_t j = 0; j < cols; ++j) {
        if (parent[cell(i, j)] < 0) continue;
        const std::size_t r = root(cell(i, j));
        auto [it, added] = grown.emplace(r, Runs{});
        if (added) order.push_back(r);
        const std::int32_t x1 = col1 + j * w, x2 = std::min(col2, x1 + w - 1);
        Runs& runs = it->second;
        if (!runs.empty() && runs.back().row == y && runs.back().end == x1 - 1) {
          runs.back().end = x2;
        } else {
          runs.push_back(Run{y, x1, x2});
        }
      }
    }
  }
  for (std::size_t r : order) {
    Runs region = intersectRuns(grown[r], domain);
    if (runsArea(region) >= minSize) items.push_back(makeRegion(std::move(region)));
  }
  setOutput(Regions, objectOf(items));
}

void Watersheds(const HObject& Image, HObject* Basins, HObject* Watersheds) {
  ApiScope scope("Watersheds");
  const char* op = "watersheds";
  const ImagePtr image = reliefImage(Image, op);
  Labels labels(*image, 4 + 1 + 8, op);
  const std::int32_t count = flood(*image, labels);
  std::vector<Runs> basins = labels.regions(count);
  std::vector<HObject::Item> items;
  for (std::int32_t l = 1; l <= count; ++l)
    items.push_back(makeRegion(std::move(basins[std::size_t(l)])));
  setOutput(Basins, objectOf(items));
  setOutput(Watersheds, objectOf({makeRegion(labels.where(kWatershed))}));
}

void WatershedsThreshold(const HObject& Image, HObject* Basins, const HTuple& Threshold) {
  ApiScope scope("WatershedsThreshold");
  const char* op = "watersheds_threshold";
  const double threshold = oneNumber(Threshold, op, 1);
  if (!(threshold >= 0)) fail(op, 1301);
  const ImagePtr image = reliefImage(Image, op);
  Labels labels(*image, 4 + 1 + 8, op);
  const std::int32_t count = flood(*image, labels);
  std::vector<HObject::Item> items;
  for (Runs& basin : mergedBasins(*image, labels, count, threshold)) {
    items.push_back(makeRegion(std::move(basin)));
  }
  setOutput(Basins, objectOf(items));
}

void LocalMax(const HObject& Image, HObject* LocalMaxima) {
  ApiScope scope("LocalMax");
  localExtrema(Image, LocalMaxima, true, "local_max");
}

void LocalMin(const HObject& Image, HObject* LocalMinima) {
  ApiScope scope("LocalMin");
  localExtrema(Image, LocalMinima, false, "local_min");
}

}  // namespace HalconCpp
