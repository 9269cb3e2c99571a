// Contours taken from the image into the world plane, and into the image of a camera with
// other internal parameters, point by point as the point operators take them.
#include <vector>

#include "core/contour.h"
#include "core/image.h"
#include "core/params.h"
#include "halconcpp/HOperatorsPoses.h"
#include "operators/poses/camera.h"
#include "operators/poses/pose_math.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

// A contour of the same attributes whose points `move` places; a point it cannot place
// (false) stops the operator with `error`.
template <typename Move>
HObject movedContours(const HObject& contours, const char* op, Hlong error, Move&& move) {
  std::vector<HObject::Item> items;
  for (const ContourObject* contour : contoursOf(contours, op, 1)) {
    auto result = makeContour({}, {});
    result->attribs = contour->attribs;
    result->globalAttribs = contour->globalAttribs;
    for (std::size_t i = 0; i < contour->size(); ++i) {
      double row, col;
      if (!move(contour->rows[i], contour->cols[i], &row, &col)) fail(op, error);
      result->rows.push_back(row);
      result->cols.push_back(col);
    }
    items.push_back(result);
  }
  return objectOf(items);
}

}  // namespace

// World x is the contour's column, world y its row, as the world plane's images show them.
void ContourToWorldPlaneXld(const HObject& Contours, HObject* ContoursTrans,
                            const HTuple& CameraParam, const HTuple& WorldPose,
                            const HTuple& Scale) {
  ApiScope scope("ContourToWorldPlaneXld");
  const char* op = "contour_to_world_plane_xld";
  const Standin::CameraParam c = cameraParamOf(CameraParam, op, 1);
  const Mat3d toWorld = invert3d(poseMatrix(poseOf(WorldPose, op, 2)), op);
  const double scale = worldScaleOf(Scale, op, 3);
  setOutput(ContoursTrans,
            movedContours(Contours, op, 1302, [&](double r, double col, double* y, double* x) {
              if (!worldPlanePoint(c, toWorld, r, col, x, y)) return false;
              *x /= scale, *y /= scale;
              return true;
            }));
}

void ChangeRadialDistortionContoursXld(const HObject& Contours, HObject* ContoursRectified,
                                       const HTuple& CamParamIn, const HTuple& CamParamOut) {
  ApiScope scope("ChangeRadialDistortionContoursXld");
  const char* op = "change_radial_distortion_contours_xld";
  const Standin::CameraParam in = cameraParamOf(CamParamIn, op, 1);
  const Standin::CameraParam out = cameraParamOf(CamParamOut, op, 2);
  if (in.telecentric() != out.telecentric()) fail(op, 1302);
  setOutput(ContoursRectified,
            movedContours(Contours, op, 1301, [&](double r, double col, double* row, double* c) {
              changePixel(in, out, r, col, row, c);
              return true;
            }));
}

}  // namespace HalconCpp
