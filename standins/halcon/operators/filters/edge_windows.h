// The gradients of edge_gradients.h over a window of a byte image: the same values
// gradientsOf gives at the window's pixels, from the lines those pixels read alone, so that an
// operator that needs a few rows at a time (edges_sub_pix) holds no image-sized planes and a
// small domain costs what it covers.
#ifndef QUORVEX_STANDINS_HALCON_EDGE_WINDOWS_H
#define QUORVEX_STANDINS_HALCON_EDGE_WINDOWS_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "operators/filters/edge_bounds.h"
#include "operators/filters/edge_gradients.h"

namespace HalconCpp {
namespace Standin {

// Rows [r0, r1) and columns [c0, c1) of an image of width x height.
struct GradientWindow {
  std::int32_t width = 0, height = 0;
  std::int32_t r0 = 0, r1 = 0, c0 = 0, c1 = 0;
  // amp: a row of zeros after the window's rows.
  std::vector<double> gr, gc, amp;
  // The passes' own, kept from window to window.
  std::vector<double> source, lines, extended, zeros;
  // Per row a flag for each group of eight columns where an amplitude may reach the floor, the
  // bytes that find them, and a tile's flags by vector block (its rows', then its lines').
  std::vector<std::uint8_t> need, bounds, blocks;
  std::size_t at(std::int32_t r, std::int32_t c) const {
    return static_cast<std::size_t>(r - r0) * static_cast<std::size_t>(c1 - c0) +
           static_cast<std::size_t>(c - c0);
  }
};

class EdgeWindows {
 public:
  EdgeWindows(const std::uint8_t* pixels, std::int32_t width, std::int32_t height,
              EdgeFilter filter, double alpha);
  // How far beyond a window the filters read: what a window's rows cost in lines read.
  std::int32_t reach() const { return static_cast<std::int32_t>(k_.smooth.size() / 2); }
  // Fills `out` (its buffers reused) for rows [r0, r1) and columns [c0, c1), all within the
  // image. Where no amplitude within a pixel can reach `floor`, by the range of the grey values
  // the filters read there, the amplitudes are left 0 and the gradients unset: edges_sub_pix
  // reads them only at its candidates (at `floor` and above) and beside them. `follows`: `out`
  // holds this image's window computed last, whose rows this one shares (at its top or bottom)
  // are taken from it rather than worked out again.
  void compute(std::int32_t r0, std::int32_t r1, std::int32_t c0, std::int32_t c1, double floor,
               GradientWindow* out, bool follows = false) const;

 private:
  const std::uint8_t* pixels_;
  std::int32_t width_, height_;
  EdgeKernels k_;
  bool smoothOdd_, deriveOdd_;
  // A gradient's amplitude is at most this times the range of the grey values it reads; 0 where
  // the filters give no such bound (weights of both signs, the zero border).
  double slope_ = 0;
};

}  // namespace Standin
}  // namespace HalconCpp

#endif
