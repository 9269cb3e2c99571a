// Points of the camera's space projected into its images and pixels traced back into space,
// for the area scan cameras of camera.h.
#include <cmath>

#include "core/params.h"
#include "halconcpp/HOperatorsPoses.h"
#include "operators/poses/camera.h"
#include "operators/poses/pose_math.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

// A matrix of the camera alone describes a camera without distortion only.
CameraParam undistortedCamera(const HTuple& value, const char* op, int n) {
  const CameraParam camera = cameraParamOf(value, op, n);
  if (camera.distorted()) fail(op, 1300 + n);
  return camera;
}

// The 3x4 matrix of a projection: (col w, row w, w) = M (x, y, z, 1).
Mat3d projectionOf(const CameraParam& c, const Mat3d& h) {
  Mat3d m{};
  for (std::size_t i = 0; i < 4; ++i) {
    const double last = i == 3 ? 1.0 : 0.0;
    if (c.telecentric()) {
      m[i] = h[i] / c.sx + c.cx * last;
      m[4 + i] = h[4 + i] / c.sy + c.cy * last;
      m[8 + i] = last;
    } else {
      m[i] = c.focus / c.sx * h[i] + c.cx * h[8 + i];
      m[4 + i] = c.focus / c.sy * h[4 + i] + c.cy * h[8 + i];
      m[8 + i] = h[8 + i];
    }
  }
  return m;
}

void requireSameLength(const HTuple& a, const HTuple& b, const char* op, int nb) {
  requireLength(b, a.Length(), op, nb);
}

}  // namespace

void CamParToCamMat(const HTuple& CameraParam, HTuple* CameraMatrix, HTuple* ImageWidth,
                    HTuple* ImageHeight) {
  ApiScope scope("CamParToCamMat");
  const char* op = "cam_par_to_cam_mat";
  const Standin::CameraParam c = undistortedCamera(CameraParam, op, 1);
  if (c.telecentric()) fail(op, 1301);
  HTuple matrix;
  for (double v : {c.focus / c.sx, 0.0, c.cx, 0.0, c.focus / c.sy, c.cy, 0.0, 0.0, 1.0}) {
    matrix.Append(HTuple(v));
  }
  setOutput(CameraMatrix, matrix);
  setOutput(ImageWidth, HTuple(c.width));
  setOutput(ImageHeight, HTuple(c.height));
}

void CamParPoseToHomMat3d(const HTuple& CameraParam, const HTuple& Pose, HTuple* HomMat3D) {
  ApiScope scope("CamParPoseToHomMat3d");
  const char* op = "cam_par_pose_to_hom_mat3d";
  const Standin::CameraParam c = undistortedCamera(CameraParam, op, 1);
  setOutput(HomMat3D, tupleOf(projectionOf(c, poseMatrix(poseOf(Pose, op, 2)))));
}

void ProjectHomPointHomMat3d(const HTuple& HomMat3D, const HTuple& Px, const HTuple& Py,
                             const HTuple& Pz, const HTuple& Pw, HTuple* Qx, HTuple* Qy,
                             HTuple* Qw) {
  ApiScope scope("ProjectHomPointHomMat3d");
  const char* op = "project_hom_point_hom_mat3d";
  const Mat3d m = homMat3dOf(HomMat3D, op, 1);
  requireSameLength(Px, Py, op, 3);
  requireSameLength(Px, Pz, op, 4);
  requireSameLength(Px, Pw, op, 5);
  HTuple out[3];
  for (Hlong i = 0; i < Px.Length(); ++i) {
    const double p[4] = {numberAt(Px, i, op, 2), numberAt(Py, i, op, 3), numberAt(Pz, i, op, 4),
                         numberAt(Pw, i, op, 5)};
    for (std::size_t r = 0; r < 3; ++r) {
      out[r].Append(HTuple(m[r * 4] * p[0] + m[r * 4 + 1] * p[1] + m[r * 4 + 2] * p[2] +
                           m[r * 4 + 3] * p[3]));
    }
  }
  setOutput(Qx, out[0]);
  setOutput(Qy, out[1]);
  setOutput(Qw, out[2]);
}

void ProjectPointHomMat3d(const HTuple& HomMat3D, const HTuple& Px, const HTuple& Py,
                          const HTuple& Pz, HTuple* Qx, HTuple* Qy) {
  ApiScope scope("ProjectPointHomMat3d");
  const char* op = "project_point_hom_mat3d";
  const Mat3d m = homMat3dOf(HomMat3D, op, 1);
  requireSameLength(Px, Py, op, 3);
  requireSameLength(Px, Pz, op, 4);
  HTuple x, y;
  for (Hlong i = 0; i < Px.Length(); ++i) {
    const double p[3] = {numberAt(Px, i, op, 2), numberAt(Py, i, op, 3), numberAt(Pz, i, op, 4)};
    double q[3];
    for (std::size_t r = 0; r < 3; ++r) {
      q[r] = m[r * 4] * p[0] + m[r * 4 + 1] * p[1] + m[r * 4 + 2] * p[2] + m[r * 4 + 3];
    }
    // A point in the plane through the centre of projection has no image.
    if (q[2] == 0) fail(op, 1302);
    x.Append(HTuple(q[0] / q[2]));
    y.Append(HTuple(q[1] / q[2]));
  }
  setOutput(Qx, x);
  setOutput(Qy, y);
}

void Project3dPoint(const HTuple& X, const HTuple& Y, const HTuple& Z, const HTuple& CameraParam,
                    HTuple* Row, HTuple* Column) {
  ApiScope scope("Project3dPoint");
  const char* op = "project_3d_point";
  requireSameLength(X, Y, op, 2);
  requireSameLength(X, Z, op, 3);
  const Standin::CameraParam c = cameraParamOf(CameraParam, op, 4);
  HTuple rows, cols;
  for (Hlong i = 0; i < X.Length(); ++i) {
    double u = numberAt(X, i, op, 1), v = numberAt(Y, i, op, 2);
    const double z = numberAt(Z, i, op, 3);
    if (!c.telecentric()) {
      if (z == 0) fail(op, 1303);
      u = c.focus * u / z;
      v = c.focus * v / z;
    }
    distort(c, &u, &v);
    double row, col;
    planeToPixel(c, u, v, &row, &col);
    rows.Append(HTuple(row));
    cols.Append(HTuple(col));
  }
  setOutput(Row, rows);
  setOutput(Column, cols);
}

void GetLineOfSight(const HTuple& Row, const HTuple& Column, const HTuple& CameraParam, HTuple* PX,
                    HTuple* PY, HTuple* PZ, HTuple* QX, HTuple* QY, HTuple* QZ) {
  ApiScope scope("GetLineOfSight");
  const char* op = "get_line_of_sight";
  requireSameLength(Row, Column, op, 2);
  const Standin::CameraParam c = cameraParamOf(CameraParam, op, 3);
  HTuple out[6];
  for (Hlong i = 0; i < Row.Length(); ++i) {
    double p[3], q[3];
    lineOfSight(c, numberAt(Row, i, op, 1), numberAt(Column, i, op, 2), p, q);
    for (std::size_t k = 0; k < 3; ++k) {
      out[k].Append(HTuple(p[k]));
      out[3 + k].Append(HTuple(q[k]));
    }
  }
  HTuple* outputs[6] = {PX, PY, PZ, QX, QY, QZ};
  for (std::size_t k = 0; k < 6; ++k) setOutput(outputs[k], out[k]);
}

void ImagePointsToWorldPlane(const HTuple& CameraParam, const HTuple& WorldPose, const HTuple& Rows,
                             const HTuple& Cols, const HTuple& Scale, HTuple* X, HTuple* Y) {
  ApiScope scope("ImagePointsToWorldPlane");
  const char* op = "image_points_to_world_plane";
  const Standin::CameraParam c = cameraParamOf(CameraParam, op, 1);
  // The pose takes world points into the camera; its inverse takes the line there.
  const Mat3d toWorld = invert3d(poseMatrix(poseOf(WorldPose, op, 2)), op);
  requireSameLength(Rows, Cols, op, 4);
  const double scale = worldScaleOf(Scale, op, 5);
  HTuple xs, ys;
  for (Hlong i = 0; i < Rows.Length(); ++i) {
    double x, y;
    if (!worldPlanePoint(c, toWorld, numberAt(Rows, i, op, 3), numberAt(Cols, i, op, 4), &x, &y)) {
      fail(op, 1302);
    }
    xs.Append(HTuple(x / scale));
    ys.Append(HTuple(y / scale));
  }
  setOutput(X, xs);
  setOutput(Y, ys);
}

void ChangeRadialDistortionPoints(const HTuple& Row, const HTuple& Col, const HTuple& CamParamIn,
                                  const HTuple& CamParamOut, HTuple* RowChanged,
                                  HTuple* ColChanged) {
  ApiScope scope("ChangeRadialDistortionPoints");
  const char* op = "change_radial_distortion_points";
  requireSameLength(Row, Col, op, 2);
  const Standin::CameraParam in = cameraParamOf(CamParamIn, op, 3);
  const Standin::CameraParam out = cameraParamOf(CamParamOut, op, 4);
  // The same lines of sight seen by the other camera: both pinhole or both telecentric.
  if (in.telecentric() != out.telecentric()) fail(op, 1304);
  HTuple rows, cols;
  for (Hlong i = 0; i < Row.Length(); ++i) {
    double row, col;
    changePixel(in, out, numberAt(Row, i, op, 1), numberAt(Col, i, op, 2), &row, &col);
    rows.Append(HTuple(row));
    cols.Append(HTuple(col));
  }
  setOutput(RowChanged, rows);
  setOutput(ColChanged, cols);
}

}  // namespace HalconCpp
