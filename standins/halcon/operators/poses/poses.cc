// 3-D poses made, converted, inverted and combined through their homogeneous matrices.
#include <cmath>
#include <string>

#include "core/params.h"
#include "halconcpp/HOperatorsPoses.h"
#include "operators/poses/pose_math.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

void CreatePose(const HTuple& TransX, const HTuple& TransY, const HTuple& TransZ,
                const HTuple& RotX, const HTuple& RotY, const HTuple& RotZ,
                const HTuple& OrderOfTransform, const HTuple& OrderOfRotation,
                const HTuple& ViewOfTransform, HTuple* Pose) {
  ApiScope scope("CreatePose");
  const char* op = "create_pose";
  Standin::Pose pose;
  const HTuple* inputs[6] = {&TransX, &TransY, &TransZ, &RotX, &RotY, &RotZ};
  for (int i = 0; i < 3; ++i) {
    pose.t[i] = oneNumber(*inputs[i], op, i + 1);
    pose.r[i] = oneNumber(*inputs[i + 3], op, i + 4);
  }
  pose.type = poseTypeOf(oneString(OrderOfTransform, op, 7), oneString(OrderOfRotation, op, 8),
                         oneString(ViewOfTransform, op, 9), op, 7);
  if (pose.type.rotation != Rotation::kRodriguez) {
    for (double& angle : pose.r) {
      angle = std::fmod(angle, 360.0);
      if (angle < 0) angle += 360.0;
      if (angle >= 360.0) angle -= 360.0;
      angle += 0.0;
    }
  }
  setOutput(Pose, tupleOf(pose));
}

void ConvertPoseType(const HTuple& PoseIn, const HTuple& OrderOfTransform,
                     const HTuple& OrderOfRotation, const HTuple& ViewOfTransform,
                     HTuple* PoseOut) {
  ApiScope scope("ConvertPoseType");
  const char* op = "convert_pose_type";
  const Standin::Pose pose = poseOf(PoseIn, op, 1);
  const PoseType type =
      poseTypeOf(oneString(OrderOfTransform, op, 2), oneString(OrderOfRotation, op, 3),
                 oneString(ViewOfTransform, op, 4), op, 2);
  setOutput(PoseOut, tupleOf(poseOfMatrix(poseMatrix(pose), type)));
}

void GetPoseType(const HTuple& Pose, HTuple* OrderOfTransform, HTuple* OrderOfRotation,
                 HTuple* ViewOfTransform) {
  ApiScope scope("GetPoseType");
  const PoseType type = poseOf(Pose, "get_pose_type", 1).type;
  const char* rotation = type.rotation == Rotation::kAbg         ? "abg"
                         : type.rotation == Rotation::kRodriguez ? "rodriguez"
                                                                 : "gba";
  setOutput(OrderOfTransform, HTuple(type.pointsFirst ? "R(p-T)" : "Rp+T"));
  setOutput(OrderOfRotation, HTuple(rotation));
  setOutput(ViewOfTransform, HTuple(type.coordinateSystem ? "coordinate_system" : "point"));
}

void SetOriginPose(const HTuple& PoseIn, const HTuple& DX, const HTuple& DY, const HTuple& DZ,
                   HTuple* PoseNewOrigin) {
  ApiScope scope("SetOriginPose");
  const char* op = "set_origin_pose";
  const Standin::Pose pose = poseOf(PoseIn, op, 1);
  // The origin moves along the pose's own axes: the shift acts before the pose.
  const Mat3d shift = {1, 0, 0, oneNumber(DX, op, 2), 0, 1, 0, oneNumber(DY, op, 3),
                       0, 0, 1, oneNumber(DZ, op, 4)};
  setOutput(PoseNewOrigin, tupleOf(poseOfMatrix(compose3d(poseMatrix(pose), shift), pose.type)));
}

void PoseInvert(const HTuple& Pose, HTuple* PoseInvert) {
  ApiScope scope("PoseInvert");
  const char* op = "pose_invert";
  const Standin::Pose pose = poseOf(Pose, op, 1);
  setOutput(PoseInvert, tupleOf(poseOfMatrix(invert3d(poseMatrix(pose), op), pose.type)));
}

void PoseCompose(const HTuple& PoseLeft, const HTuple& PoseRight, HTuple* PoseCompose) {
  ApiScope scope("PoseCompose");
  const char* op = "pose_compose";
  const Standin::Pose left = poseOf(PoseLeft, op, 1);
  const Mat3d right = poseMatrix(poseOf(PoseRight, op, 2));
  setOutput(PoseCompose, tupleOf(poseOfMatrix(compose3d(poseMatrix(left), right), left.type)));
}

void PoseToHomMat3d(const HTuple& Pose, HTuple* HomMat3D) {
  ApiScope scope("PoseToHomMat3d");
  setOutput(HomMat3D, tupleOf(poseMatrix(poseOf(Pose, "pose_to_hom_mat3d", 1))));
}

void HomMat3dToPose(const HTuple& HomMat3D, HTuple* Pose) {
  ApiScope scope("HomMat3dToPose");
  const Mat3d m = homMat3dOf(HomMat3D, "hom_mat3d_to_pose", 1);
  setOutput(Pose, tupleOf(poseOfMatrix(m, PoseType{})));
}

}  // namespace HalconCpp
