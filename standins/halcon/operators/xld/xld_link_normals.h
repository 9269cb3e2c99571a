// The contours' normals as linkPoints hands them out (edges_sub_pix, lines_gauss).
#ifndef QUORVEX_STANDINS_HALCON_XLD_LINK_NORMALS_H
#define QUORVEX_STANDINS_HALCON_XLD_LINK_NORMALS_H

#include <string>
#include <vector>

#include "core/contour.h"

namespace HalconCpp {
namespace Standin {

// The attribute 'angle' among `names`, at each point of `contour`, turned to point to the right
// of the way the contour runs, its 'width_left' and 'width_right' swapped where it turns; `values`
// holds each attribute's values in the order of `names`.
void orientNormals(const ContourObject& contour, const std::vector<std::string>& names,
                   std::vector<std::vector<double>>& values);

}  // namespace Standin
}  // namespace HalconCpp

#endif
