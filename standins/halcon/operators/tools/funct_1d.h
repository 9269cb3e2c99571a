// One-dimensional functions as the vendor passes them, a control tuple: [0, dx, x0, y...] for
// samples at x0, x0 + dx, ... (create_funct_1d_array), or [1, x..., y...] for pairs with
// ascending x (create_funct_1d_pairs), both of the HALCON 11.0 chapter "Tools / Function".
#ifndef QUORVEX_STANDINS_HALCON_FUNCT_1D_H
#define QUORVEX_STANDINS_HALCON_FUNCT_1D_H

#include <vector>

#include "halconcpp/HTuple.h"

namespace HalconCpp {
namespace Standin {

struct Function1d {
  std::vector<double> x, y;  // ascending x, at least one point
  bool equidistant = false;  // written back as samples, else as pairs
};

// The function of a control input at position n: 1300+n for an unknown layout or x values
// that do not ascend, 1400+n for a tuple of the wrong length or without points.
Function1d functionOf(const HTuple& value, const char* op, int n);
// The tuple of f: samples when f is equidistant, else pairs.
HTuple functionTuple(const Function1d& f);
Function1d samples(double x0, double dx, std::vector<double> y);
Function1d pairs(std::vector<double> x, std::vector<double> y);

// How a function goes on outside its x range.
enum class Border { Zero, Constant, Mirror, Cyclic, Error };
// 'zero', 'constant', 'mirror', 'cyclic' (and 'error' where `withError`); else 1300+n.
Border borderOf(const HTuple& value, const char* op, int n, bool withError);
// The value at x, linear between the points; false for Border::Error outside the range.
bool valueAt(const Function1d& f, double x, Border border, double* y);

}  // namespace Standin
}  // namespace HalconCpp

#endif
