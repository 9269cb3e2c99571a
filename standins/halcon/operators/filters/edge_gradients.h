// The gradients the edge operators share (edges_image, edges_sub_pix): one filter each for the
// row and the column derivative, built from a smoothing kernel across and a derivative kernel
// along, in doubles.
#ifndef QUORVEX_STANDINS_HALCON_EDGE_GRADIENTS_H
#define QUORVEX_STANDINS_HALCON_EDGE_GRADIENTS_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace HalconCpp {
namespace Standin {

// 'canny': derivatives of a Gaussian of standard deviation Alpha, the image mirrored at its
// edges. 'sobel_fast': the 3 x 3 Sobel masks, mirrored. The recursive filters sample their
// impulse responses, r = exp(-Alpha), and read zeros beyond the image's edges:
// 'deriche1' / 'lanser1' smooth with (1 + Alpha |n|) r^|n| and differentiate with n r^|n|;
// 'deriche2' / 'lanser2' with (sin Alpha|n| + cos Alpha|n|) r^|n| and sgn(n) sin(Alpha|n|) r^|n|;
// 'shen' / 'mshen' with r^|n| and sgn(n) r^|n|.
enum class EdgeFilter { Canny, SobelFast, Deriche1, Deriche2, Shen };
// false for a name the stand-in does not know.
bool edgeFilterOf(const std::string& name, EdgeFilter* filter);

// How far the filters reach along a line: the whole kernel up to the image's larger side.
struct EdgeKernels {
  std::vector<double> smooth, derive;  // taps -half ... half, derive odd
  bool zeroBorder = false;
};
// Every smoothing kernel sums to 1 and every derivative kernel is scaled so that a ramp of
// slope 1 gives 1. Alpha above 30 filters as 30: what more would change weighs below 10^-12.
EdgeKernels edgeKernels(EdgeFilter filter, double alpha, std::int32_t largestSide);

// One pass of a 1-D correlation of a plane of doubles, along the rows (alongCols false: the
// kernel runs down each column) or along each row, the edges mirrored or read as zeros.
std::vector<double> correlateLines(const std::vector<double>& src, std::int32_t w, std::int32_t h,
                                   const std::vector<double>& kernel, bool alongCols,
                                   bool zeroBorder);

struct Gradients {
  std::int32_t width = 0, height = 0;
  std::vector<double> gr, gc, amp;  // down the rows, along the columns, and the magnitude
  std::size_t at(std::int32_t r, std::int32_t c) const {
    return static_cast<std::size_t>(r) * static_cast<std::size_t>(width) +
           static_cast<std::size_t>(c);
  }
};
Gradients gradientsOf(const std::vector<double>& plane, std::int32_t width, std::int32_t height,
                      EdgeFilter filter, double alpha);

}  // namespace Standin
}  // namespace HalconCpp

#endif
