// edges_sub_pix: gradients of a byte image (operators/filters/edge_windows.h), maxima of the
// gradient amplitude along the gradient found to a fraction of a pixel, hysteresis between Low and
// High, and the maxima linked into contours through their 8-neighbours.
#include <algorithm>
#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <utility>

#include "core/contour.h"
#include "core/image.h"
#include "core/params.h"
#include "core/runs.h"
#include "core/threads.h"
#include "halconcpp/HOperatorsXld.h"
#include "operators/filters/edge_gradients.h"
#include "operators/filters/edge_windows.h"
#include "operators/xld/xld_edge_maxima.h"
#include "operators/xld/xld_link.h"
#include "operators/xld/xld_link_tables.h"
#include "operators/xld/xld_params.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

// The cells of the largest window a thread keeps: a 4096-column image's, with room.
constexpr std::size_t kKeptWindow = std::size_t{1} << 18;

// The points of one image's domain, in the order of its runs, in parts. The gradients are computed
// in windows of a few rows over the domain's columns, with the rows and columns around them that
// the interpolation reads (a pixel's neighbour along the gradient, |u| <= 1, and the one after
// it). Of the rows only the one before and the one after: the interpolation never reaches
// further back, and the row after that it reads at a weight of exactly 0 (the window's row of
// zeros, edge_windows.h).
// `alone`: set where the windows were shared out and no other thread took part.
std::vector<std::vector<LinkPoint>> edgePoints(const ImagePtr& image, EdgeFilter filter,
                                               double alpha, double low, double high, bool* alone) {
  *alone = false;
  const std::int32_t w = image->width, h = image->height;
  const Runs runs = clipRuns(*image->domain, h, w);
  if (runs.empty()) return {};
  std::int32_t c0 = w, c1 = -1;
  for (const Run& run : runs) c0 = std::min(c0, run.begin), c1 = std::max(c1, run.end);
  if (!vectorPathsEnabled()) {
    // The portable path: the whole image's planes, the reference the windows give again.
    const std::size_t n = static_cast<std::size_t>(w) * static_cast<std::size_t>(h);
    Gradients whole = gradientsOf(std::vector<double>(image->pixels(0), image->pixels(0) + n), w, h,
                                  filter, alpha);
    GradientWindow g;
    g.width = w, g.height = h, g.r1 = h, g.c1 = w;
    g.gr = std::move(whole.gr), g.gc = std::move(whole.gc), g.amp = std::move(whole.amp);
    std::vector<LinkPoint> points;
    std::vector<std::int32_t> candidates;
    for (const Run& run : runs) edgeMaximaOfRun(g, run, low, high, candidates, points);
    return {std::move(points)};
  }
  const std::int32_t top = runs.front().row, bottom = runs.back().row + 1;
  const EdgeWindows windows(image->pixels(0), w, h, filter, alpha);
  // Rows enough that the lines a window reads beyond its own stay a small part of its work.
  const std::int32_t step = std::max<std::int32_t>(32, 4 * windows.reach());
  // A pixel costs four passes of the filters' taps: a 640 x 480 image is shared out.
  const std::int64_t work = std::int64_t{bottom - top} * (c1 - c0 + 1) * (1 + windows.reach());
  // The windows' first rows. The threads take windows from both ends and meet in the middle,
  // where the first to run out waits for the other's last window: the one there is split in
  // halves, which halves that wait (splitting its neighbours too cost a disc domain more rows
  // worked twice than it saved).
  std::vector<std::int32_t> starts;
  for (std::int32_t r = top; r < bottom; r += step) starts.push_back(r);
  // On one thread nothing waits: no window is split.
  const int bands = bandsFor(static_cast<std::int64_t>(starts.size()), work);
  if (bands > 1 && starts.size() >= 4) {
    const std::size_t middle = starts.size() / 2;
    const std::int32_t half = step / 2;
    // A whole window: `middle` + 1 is still a window's first row.
    starts.insert(starts.begin() + static_cast<std::ptrdiff_t>(middle) + 1, starts[middle] + half);
  }
  starts.push_back(bottom);
  const auto chunks = static_cast<std::int32_t>(starts.size() - 1);
  // The runs each window starts at.
  std::vector<std::size_t> first(static_cast<std::size_t>(chunks) + 1, runs.size());
  for (std::size_t i = runs.size(); i-- > 0;) {
    const auto k = std::upper_bound(starts.begin(), starts.end(), runs[i].row) - starts.begin() - 1;
    first[static_cast<std::size_t>(k)] = i;
  }
  for (std::size_t k = first.size() - 1; k-- > 0;) first[k] = std::min(first[k], first[k + 1]);
  std::vector<std::vector<LinkPoint>> found(static_cast<std::size_t>(chunks));
  // Each thread takes the next window not yet taken, the calling thread from the top, the
  // others from the bottom (as the linking then takes the rows, with these points in their
  // caches), so that one the machine holds up leaves the rest to the others; a window's points
  // go to its own list, whichever thread finds them.
  linking::TakenFromEnds taken(static_cast<std::uint32_t>(chunks));
  // Whether a thread of the pool took part: where none did, through all the windows, it is held
  // up (a busy machine, a wake-up through the kernel that came late), and the linking runs on
  // the calling thread alone rather than share out work and then wait for it.
  const std::thread::id caller = std::this_thread::get_id();
  std::atomic<bool> joined{false};
  forBands(bands, bands, [&](int, std::int64_t, std::int64_t) {
    if (std::this_thread::get_id() != caller) joined.store(true, std::memory_order_relaxed);
    // Each thread's window kept from call to call: fresh planes would cost a page fault and the
    // zeroing of every page, the window's whole size again on each call.
    thread_local std::unique_ptr<GradientWindow> window;
    GradientWindow& g = keptOnThread(window);
    std::vector<std::int32_t> candidates;
    // A window's points are about as many as the last one's: room for them spares the copies
    // of a growing list.
    std::size_t expected = 0;
    // Whether the thread's window holds one of this call's: the next, its neighbour where the
    // thread takes windows in turn, takes the rows they share from it, two rows fewer to work out.
    bool computed = false;
    for (std::int64_t taking = taken.next(); taking >= 0; taking = taken.next()) {
      const auto k = static_cast<std::size_t>(taking);
      if (first[k] == first[k + 1]) continue;
      found[k].reserve(expected + expected / 4);
      const std::int32_t r0 = starts[k], r1 = starts[k + 1];
      windows.compute(std::max(0, r0 - 1), std::min(h, r1 + 1), std::max(0, c0 - 2),
                      std::min(w, c1 + 3), low, &g, computed);
      computed = true;
      for (std::size_t i = first[k]; i < first[k + 1]; ++i) {
        edgeMaximaOfRun(g, runs[i], low, high, candidates, found[k]);
      }
      expected = found[k].size();
    }
    // A window as tall as the image, which the slow recursive filters take, is not kept.
    if (g.amp.capacity() > kKeptWindow) g = GradientWindow();
  });
  *alone = bands > 1 && !joined.load(std::memory_order_relaxed);
  return found;
}

}  // namespace

void EdgesSubPix(const HObject& Image, HObject* Edges, const HTuple& Filter, const HTuple& Alpha,
                 const HTuple& Low, const HTuple& High) {
  ApiScope scope("EdgesSubPix");
  const char* op = "edges_sub_pix";
  EdgeFilter filter = EdgeFilter::Canny;
  if (!edgeFilterOf(oneString(Filter, op, 1), &filter)) fail(op, 1301);
  const double alpha = oneNumber(Alpha, op, 2);
  if (filter != EdgeFilter::SobelFast && !(alpha > 0)) fail(op, 1302);
  if (filter == EdgeFilter::Canny && !(alpha <= 50)) fail(op, 1302);
  const double low = oneNumber(Low, op, 3), high = oneNumber(High, op, 4);
  if (!(low >= 0)) fail(op, 1303);
  if (!(high >= low)) fail(op, 1304);
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : imagesOf(Image, op, 1)) {
    if (image->channels.empty() || image->width < 1 || image->height < 1) continue;
    bool alone = false;
    const std::vector<std::vector<LinkPoint>> points =
        edgePoints(image, filter, alpha, low, high, &alone);
    for (ContourPtr& contour : linkPoints(points, image->width, image->height,
                                          {"edge_direction", "angle", "response"}, alone)) {
      items.push_back(std::move(contour));
    }
  }
  setOutput(Edges, objectOf(items));
}

}  // namespace HalconCpp
