// Internal parameters of the area scan cameras: the division model, eight values [Focus,
// Kappa, Sx, Sy, Cx, Cy, ImageWidth, ImageHeight], and the polynomial model, twelve values
// [Focus, K1, K2, K3, P1, P2, Sx, Sy, Cx, Cy, ImageWidth, ImageHeight]. Focus 0 is a
// telecentric lens. Both models say how a distorted point (u~, v~) of the image plane
// straightens: division u = u~ / (1 + Kappa r~^2); polynomial
// u = u~ (1 + K1 r~^2 + K2 r~^4 + K3 r~^6) + 2 P1 u~ v~ + P2 (r~^2 + 2 u~^2), and
// v = v~ (1 + ...) + P1 (r~^2 + 2 v~^2) + 2 P2 u~ v~. A pixel is (v~ / Sy + Cy, u~ / Sx + Cx).
#ifndef QUORVEX_STANDINS_HALCON_CAMERA_H
#define QUORVEX_STANDINS_HALCON_CAMERA_H

#include "halconcpp/HTuple.h"
#include "operators/poses/pose_math.h"

namespace HalconCpp {
namespace Standin {

struct CameraParam {
  bool polynomial = false;
  double focus = 0;
  double kappa = 0;         // division model
  double k[3] = {0, 0, 0};  // polynomial model, radial
  double p[2] = {0, 0};     // polynomial model, tangential
  double sx = 0, sy = 0, cx = 0, cy = 0;
  Hlong width = 0, height = 0;

  bool telecentric() const { return focus == 0; }
  bool distorted() const;
};

// The parameters of a control input at n: 1400+n unless 8 or 12 values, 1300+n for a cell
// size not above 0, a negative focus or an image size below 1.
CameraParam cameraParamOf(const HTuple& value, const char* op, int n);
HTuple tupleOf(const CameraParam& camera);

// The image plane, in metres, against pixels.
void pixelToPlane(const CameraParam& camera, double row, double col, double* u, double* v);
void planeToPixel(const CameraParam& camera, double u, double v, double* row, double* col);
// The straight point of a distorted one and back.
void undistort(const CameraParam& camera, double* u, double* v);
void distort(const CameraParam& camera, double* u, double* v);

// The line of sight of a pixel in camera coordinates, through p and q: from the centre of
// projection to the straightened point at z = Focus, or (u, v, 0) to (u, v, 1) through a
// telecentric lens.
void lineOfSight(const CameraParam& camera, double row, double col, double p[3], double q[3]);
// Where the line of sight meets the plane z = 0 of the coordinates `toWorld` takes camera
// coordinates into; false when it runs parallel to the plane (up to rounding).
bool worldPlanePoint(const CameraParam& camera, const Mat3d& toWorld, double row, double col,
                     double* x, double* y);
// The pixel of `out` on the line of sight of `in`'s pixel: pinhole points on the image plane
// scale by out.focus / in.focus. Both cameras are pinhole or both telecentric.
void changePixel(const CameraParam& in, const CameraParam& out, double row, double col,
                 double* rowOut, double* colOut);
// Metres per unit of the output: 'm', 'cm', 'mm', 'microns' ('µm', 'um') or a number above 0;
// 1300+n otherwise.
double worldScaleOf(const HTuple& scale, const char* op, int n);

}  // namespace Standin
}  // namespace HalconCpp

#endif
