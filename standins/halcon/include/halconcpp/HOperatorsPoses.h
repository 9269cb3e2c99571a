#ifndef HALCONCPP_HOPERATORSPOSES_H
#define HALCONCPP_HOPERATORSPOSES_H

#include "halconcpp/HObject.h"
#include "halconcpp/HTuple.h"

// 3-D transformations, poses, quaternions and the projection of area scan cameras. A
// HomMat3D is twelve reals, the first three rows of a homogeneous 4x4 matrix; a pose is
// seven values, the last its type code; a quaternion four reals, the scalar component first.
namespace HalconCpp {

HALCONCPP_API void HomMat3dIdentity(HTuple* HomMat3DIdentity);
HALCONCPP_API void HomMat3dTranslate(const HTuple& HomMat3D, const HTuple& Tx, const HTuple& Ty,
                                     const HTuple& Tz, HTuple* HomMat3DTranslate);
HALCONCPP_API void HomMat3dTranslateLocal(const HTuple& HomMat3D, const HTuple& Tx,
                                          const HTuple& Ty, const HTuple& Tz,
                                          HTuple* HomMat3DTranslate);
HALCONCPP_API void HomMat3dRotate(const HTuple& HomMat3D, const HTuple& Phi, const HTuple& Axis,
                                  const HTuple& Px, const HTuple& Py, const HTuple& Pz,
                                  HTuple* HomMat3DRotate);
HALCONCPP_API void HomMat3dRotateLocal(const HTuple& HomMat3D, const HTuple& Phi,
                                       const HTuple& Axis, HTuple* HomMat3DRotate);
HALCONCPP_API void HomMat3dScale(const HTuple& HomMat3D, const HTuple& Sx, const HTuple& Sy,
                                 const HTuple& Sz, const HTuple& Px, const HTuple& Py,
                                 const HTuple& Pz, HTuple* HomMat3DScale);
HALCONCPP_API void HomMat3dScaleLocal(const HTuple& HomMat3D, const HTuple& Sx, const HTuple& Sy,
                                      const HTuple& Sz, HTuple* HomMat3DScale);
HALCONCPP_API void HomMat3dInvert(const HTuple& HomMat3D, HTuple* HomMat3DInvert);
HALCONCPP_API void HomMat3dCompose(const HTuple& HomMat3DLeft, const HTuple& HomMat3DRight,
                                   HTuple* HomMat3DCompose);
HALCONCPP_API void HomMat3dToPose(const HTuple& HomMat3D, HTuple* Pose);
HALCONCPP_API void PoseToHomMat3d(const HTuple& Pose, HTuple* HomMat3D);
HALCONCPP_API void AffineTransPoint3d(const HTuple& HomMat3D, const HTuple& Px, const HTuple& Py,
                                      const HTuple& Pz, HTuple* Qx, HTuple* Qy, HTuple* Qz);
HALCONCPP_API void ProjectiveTransPoint3d(const HTuple& HomMat3D, const HTuple& Px,
                                          const HTuple& Py, const HTuple& Pz, HTuple* Qx,
                                          HTuple* Qy, HTuple* Qz);
HALCONCPP_API void ProjectiveTransHomPoint3d(const HTuple& HomMat3D, const HTuple& Px,
                                             const HTuple& Py, const HTuple& Pz, const HTuple& Pw,
                                             HTuple* Qx, HTuple* Qy, HTuple* Qz, HTuple* Qw);
HALCONCPP_API void SerializeHomMat3d(const HTuple& HomMat3D, HTuple* SerializedItemHandle);
HALCONCPP_API void DeserializeHomMat3d(const HTuple& SerializedItemHandle, HTuple* HomMat3D);

HALCONCPP_API void ConvertPoint3dCartToSpher(const HTuple& X, const HTuple& Y, const HTuple& Z,
                                             const HTuple& EquatPlaneNormal,
                                             const HTuple& ZeroMeridian, HTuple* Longitude,
                                             HTuple* Latitude, HTuple* Radius);
HALCONCPP_API void ConvertPoint3dSpherToCart(const HTuple& Longitude, const HTuple& Latitude,
                                             const HTuple& Radius, const HTuple& EquatPlaneNormal,
                                             const HTuple& ZeroMeridian, HTuple* X, HTuple* Y,
                                             HTuple* Z);

HALCONCPP_API void CreatePose(const HTuple& TransX, const HTuple& TransY, const HTuple& TransZ,
                              const HTuple& RotX, const HTuple& RotY, const HTuple& RotZ,
                              const HTuple& OrderOfTransform, const HTuple& OrderOfRotation,
                              const HTuple& ViewOfTransform, HTuple* Pose);
HALCONCPP_API void ConvertPoseType(const HTuple& PoseIn, const HTuple& OrderOfTransform,
                                   const HTuple& OrderOfRotation, const HTuple& ViewOfTransform,
                                   HTuple* PoseOut);
HALCONCPP_API void GetPoseType(const HTuple& Pose, HTuple* OrderOfTransform,
                               HTuple* OrderOfRotation, HTuple* ViewOfTransform);
HALCONCPP_API void SetOriginPose(const HTuple& PoseIn, const HTuple& DX, const HTuple& DY,
                                 const HTuple& DZ, HTuple* PoseNewOrigin);
HALCONCPP_API void PoseInvert(const HTuple& Pose, HTuple* PoseInvert);
HALCONCPP_API void PoseCompose(const HTuple& PoseLeft, const HTuple& PoseRight,
                               HTuple* PoseCompose);
HALCONCPP_API void ReadPose(const HTuple& PoseFile, HTuple* Pose);
HALCONCPP_API void WritePose(const HTuple& Pose, const HTuple& PoseFile);
HALCONCPP_API void SerializePose(const HTuple& Pose, HTuple* SerializedItemHandle);
HALCONCPP_API void DeserializePose(const HTuple& SerializedItemHandle, HTuple* Pose);

HALCONCPP_API void AxisAngleToQuat(const HTuple& AxisX, const HTuple& AxisY, const HTuple& AxisZ,
                                   const HTuple& Angle, HTuple* Quaternion);
HALCONCPP_API void QuatCompose(const HTuple& QuaternionLeft, const HTuple& QuaternionRight,
                               HTuple* QuaternionComposed);
HALCONCPP_API void QuatConjugate(const HTuple& Quaternion, HTuple* ConjugatedQuaternion);
HALCONCPP_API void QuatInterpolate(const HTuple& QuaternionStart, const HTuple& QuaternionEnd,
                                   const HTuple& InterpPos, HTuple* QuaternionInterpolated);
HALCONCPP_API void QuatNormalize(const HTuple& Quaternion, HTuple* NormalizedQuaternion);
HALCONCPP_API void QuatRotatePoint3d(const HTuple& Quaternion, const HTuple& Px, const HTuple& Py,
                                     const HTuple& Pz, HTuple* Qx, HTuple* Qy, HTuple* Qz);
HALCONCPP_API void QuatToHomMat3d(const HTuple& Quaternion, HTuple* RotationMatrix);
HALCONCPP_API void PoseToQuat(const HTuple& Pose, HTuple* Quaternion);
HALCONCPP_API void SerializeQuat(const HTuple& Quaternion, HTuple* SerializedItemHandle);
HALCONCPP_API void DeserializeQuat(const HTuple& SerializedItemHandle, HTuple* Quaternion);

HALCONCPP_API void CamParToCamMat(const HTuple& CameraParam, HTuple* CameraMatrix,
                                  HTuple* ImageWidth, HTuple* ImageHeight);
HALCONCPP_API void CamParPoseToHomMat3d(const HTuple& CameraParam, const HTuple& Pose,
                                        HTuple* HomMat3D);
HALCONCPP_API void ProjectPointHomMat3d(const HTuple& HomMat3D, const HTuple& Px, const HTuple& Py,
                                        const HTuple& Pz, HTuple* Qx, HTuple* Qy);
HALCONCPP_API void ProjectHomPointHomMat3d(const HTuple& HomMat3D, const HTuple& Px,
                                           const HTuple& Py, const HTuple& Pz, const HTuple& Pw,
                                           HTuple* Qx, HTuple* Qy, HTuple* Qw);
HALCONCPP_API void Project3dPoint(const HTuple& X, const HTuple& Y, const HTuple& Z,
                                  const HTuple& CameraParam, HTuple* Row, HTuple* Column);
HALCONCPP_API void GetLineOfSight(const HTuple& Row, const HTuple& Column,
                                  const HTuple& CameraParam, HTuple* PX, HTuple* PY, HTuple* PZ,
                                  HTuple* QX, HTuple* QY, HTuple* QZ);
HALCONCPP_API void ImagePointsToWorldPlane(const HTuple& CameraParam, const HTuple& WorldPose,
                                           const HTuple& Rows, const HTuple& Cols,
                                           const HTuple& Scale, HTuple* X, HTuple* Y);
HALCONCPP_API void ChangeRadialDistortionPoints(const HTuple& Row, const HTuple& Col,
                                                const HTuple& CamParamIn, const HTuple& CamParamOut,
                                                HTuple* RowChanged, HTuple* ColChanged);
HALCONCPP_API void ContourToWorldPlaneXld(const HObject& Contours, HObject* ContoursTrans,
                                          const HTuple& CameraParam, const HTuple& WorldPose,
                                          const HTuple& Scale);
HALCONCPP_API void ChangeRadialDistortionContoursXld(const HObject& Contours,
                                                     HObject* ContoursRectified,
                                                     const HTuple& CamParamIn,
                                                     const HTuple& CamParamOut);
HALCONCPP_API void GenImageToWorldPlaneMap(HObject* Map, const HTuple& CameraParam,
                                           const HTuple& WorldPose, const HTuple& WidthIn,
                                           const HTuple& HeightIn, const HTuple& WidthMapped,
                                           const HTuple& HeightMapped, const HTuple& Scale,
                                           const HTuple& MapType);
HALCONCPP_API void ImageToWorldPlane(const HObject& Image, HObject* ImageWorld,
                                     const HTuple& CameraParam, const HTuple& WorldPose,
                                     const HTuple& Width, const HTuple& Height, const HTuple& Scale,
                                     const HTuple& Interpolation);
HALCONCPP_API void GenRadialDistortionMap(HObject* Map, const HTuple& CamParamIn,
                                          const HTuple& CamParamOut, const HTuple& MapType);
HALCONCPP_API void ChangeRadialDistortionImage(const HObject& Image, const HObject& Region,
                                               HObject* ImageRectified, const HTuple& CamParamIn,
                                               const HTuple& CamParamOut);
HALCONCPP_API void ChangeRadialDistortionCamPar(const HTuple& Mode, const HTuple& CamParamIn,
                                                const HTuple& DistortionCoeffs,
                                                HTuple* CamParamOut);
HALCONCPP_API void ReadCamPar(const HTuple& CamParFile, HTuple* CameraParam);
HALCONCPP_API void WriteCamPar(const HTuple& CameraParam, const HTuple& CamParFile);
HALCONCPP_API void SerializeCamPar(const HTuple& CameraParam, HTuple* SerializedItemHandle);
HALCONCPP_API void DeserializeCamPar(const HTuple& SerializedItemHandle, HTuple* CameraParam);

}  // namespace HalconCpp

#endif
