// 3-D transformation, pose, quaternion and camera projection operators a program line can
// call; each calls the image-processing stand-in's function of the same name.
#include "operators/binding.h"
#include "operators/table.h"

namespace HDevEngineCpp {
namespace Standin {
namespace {

namespace H = HalconCpp;

constexpr OperatorSpec kPoseOperators[] = {
    bind<&H::HomMat3dIdentity>("hom_mat3d_identity"),
    bind<&H::HomMat3dTranslate>("hom_mat3d_translate"),
    bind<&H::HomMat3dTranslateLocal>("hom_mat3d_translate_local"),
    bind<&H::HomMat3dRotate>("hom_mat3d_rotate"),
    bind<&H::HomMat3dRotateLocal>("hom_mat3d_rotate_local"),
    bind<&H::HomMat3dScale>("hom_mat3d_scale"),
    bind<&H::HomMat3dScaleLocal>("hom_mat3d_scale_local"),
    bind<&H::HomMat3dInvert>("hom_mat3d_invert"),
    bind<&H::HomMat3dCompose>("hom_mat3d_compose"),
    bind<&H::HomMat3dToPose>("hom_mat3d_to_pose"),
    bind<&H::PoseToHomMat3d>("pose_to_hom_mat3d"),
    bind<&H::AffineTransPoint3d>("affine_trans_point_3d"),
    bind<&H::ProjectiveTransPoint3d>("projective_trans_point_3d"),
    bind<&H::ProjectiveTransHomPoint3d>("projective_trans_hom_point_3d"),
    bind<&H::SerializeHomMat3d>("serialize_hom_mat3d"),
    bind<&H::DeserializeHomMat3d>("deserialize_hom_mat3d"),
    bind<&H::ConvertPoint3dCartToSpher>("convert_point_3d_cart_to_spher"),
    bind<&H::ConvertPoint3dSpherToCart>("convert_point_3d_spher_to_cart"),
    bind<&H::CreatePose>("create_pose"),
    bind<&H::ConvertPoseType>("convert_pose_type"),
    bind<&H::GetPoseType>("get_pose_type"),
    bind<&H::SetOriginPose>("set_origin_pose"),
    bind<&H::PoseInvert>("pose_invert"),
    bind<&H::PoseCompose>("pose_compose"),
    bind<&H::ReadPose>("read_pose"),
    bind<&H::WritePose>("write_pose"),
    bind<&H::SerializePose>("serialize_pose"),
    bind<&H::DeserializePose>("deserialize_pose"),
    bind<&H::AxisAngleToQuat>("axis_angle_to_quat"),
    bind<&H::QuatCompose>("quat_compose"),
    bind<&H::QuatConjugate>("quat_conjugate"),
    bind<&H::QuatInterpolate>("quat_interpolate"),
    bind<&H::QuatNormalize>("quat_normalize"),
    bind<&H::QuatRotatePoint3d>("quat_rotate_point_3d"),
    bind<&H::QuatToHomMat3d>("quat_to_hom_mat3d"),
    bind<&H::PoseToQuat>("pose_to_quat"),
    bind<&H::SerializeQuat>("serialize_quat"),
    bind<&H::DeserializeQuat>("deserialize_quat"),
    bind<&H::CamParToCamMat>("cam_par_to_cam_mat"),
    bind<&H::CamParPoseToHomMat3d>("cam_par_pose_to_hom_mat3d"),
    bind<&H::ProjectPointHomMat3d>("project_point_hom_mat3d"),
    bind<&H::ProjectHomPointHomMat3d>("project_hom_point_hom_mat3d"),
    bind<&H::Project3dPoint>("project_3d_point"),
    bind<&H::GetLineOfSight>("get_line_of_sight"),
    bind<&H::ImagePointsToWorldPlane>("image_points_to_world_plane"),
    bind<&H::ChangeRadialDistortionPoints>("change_radial_distortion_points"),
    bind<&H::ContourToWorldPlaneXld>("contour_to_world_plane_xld"),
    bind<&H::ChangeRadialDistortionContoursXld>("change_radial_distortion_contours_xld"),
    bind<&H::GenImageToWorldPlaneMap>("gen_image_to_world_plane_map"),
    bind<&H::ImageToWorldPlane>("image_to_world_plane"),
    bind<&H::GenRadialDistortionMap>("gen_radial_distortion_map"),
    bind<&H::ChangeRadialDistortionImage>("change_radial_distortion_image"),
    bind<&H::ChangeRadialDistortionCamPar>("change_radial_distortion_cam_par"),
    bind<&H::ReadCamPar>("read_cam_par"),
    bind<&H::WriteCamPar>("write_cam_par"),
    bind<&H::SerializeCamPar>("serialize_cam_par"),
    bind<&H::DeserializeCamPar>("deserialize_cam_par"),
};

}  // namespace

OperatorGroup poseOperators() {
  return {kPoseOperators, sizeof kPoseOperators / sizeof kPoseOperators[0]};
}

}  // namespace Standin
}  // namespace HDevEngineCpp
