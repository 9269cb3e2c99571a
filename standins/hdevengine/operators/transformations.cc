// 2-D transformation operators a program line can call; each calls the image-processing
// stand-in's function of the same name.
#include "operators/binding.h"
#include "operators/table.h"

namespace HDevEngineCpp {
namespace Standin {
namespace {

namespace H = HalconCpp;

constexpr OperatorSpec kTransformationOperators[] = {
    bind<&H::HomMat2dIdentity>("hom_mat2d_identity"),
    bind<&H::HomMat2dTranslate>("hom_mat2d_translate"),
    bind<&H::HomMat2dTranslateLocal>("hom_mat2d_translate_local"),
    bind<&H::HomMat2dRotate>("hom_mat2d_rotate"),
    bind<&H::HomMat2dRotateLocal>("hom_mat2d_rotate_local"),
    bind<&H::HomMat2dScale>("hom_mat2d_scale"),
    bind<&H::HomMat2dScaleLocal>("hom_mat2d_scale_local"),
    bind<&H::HomMat2dSlant>("hom_mat2d_slant"),
    bind<&H::HomMat2dSlantLocal>("hom_mat2d_slant_local"),
    bind<&H::HomMat2dReflect>("hom_mat2d_reflect"),
    bind<&H::HomMat2dReflectLocal>("hom_mat2d_reflect_local"),
    bind<&H::HomMat2dCompose>("hom_mat2d_compose"),
    bind<&H::HomMat2dInvert>("hom_mat2d_invert"),
    bind<&H::HomMat2dTranspose>("hom_mat2d_transpose"),
    bind<&H::HomMat2dDeterminant>("hom_mat2d_determinant"),
    bind<&H::HomMat2dToAffinePar>("hom_mat2d_to_affine_par"),
    bind<&H::VectorAngleToRigid>("vector_angle_to_rigid"),
    bind<&H::VectorToRigid>("vector_to_rigid"),
    bind<&H::VectorToSimilarity>("vector_to_similarity"),
    bind<&H::VectorToHomMat2d>("vector_to_hom_mat2d"),
    bind<&H::VectorToAniso>("vector_to_aniso"),
    bind<&H::AffineTransPoint2d>("affine_trans_point_2d"),
    bind<&H::AffineTransPixel>("affine_trans_pixel"),
    bind<&H::AffineTransRegion>("affine_trans_region"),
    bind<&H::AffineTransImage>("affine_trans_image"),
    bind<&H::AffineTransImageSize>("affine_trans_image_size"),
    bind<&H::ProjectiveTransPoint2d>("projective_trans_point_2d"),
    bind<&H::ProjectiveTransPixel>("projective_trans_pixel"),
    bind<&H::HomVectorToProjHomMat2d>("hom_vector_to_proj_hom_mat2d"),
    bind<&H::VectorToProjHomMat2d>("vector_to_proj_hom_mat2d"),
    bind<&H::ProjectiveTransImage>("projective_trans_image"),
    bind<&H::ProjectiveTransImageSize>("projective_trans_image_size"),
    bind<&H::ProjectiveTransRegion>("projective_trans_region"),
    bind<&H::ProjectiveTransContourXld>("projective_trans_contour_xld"),
    bind<&H::PolarTransImageExt>("polar_trans_image_ext"),
    bind<&H::PolarTransImageInv>("polar_trans_image_inv"),
    bind<&H::PolarTransImage>("polar_trans_image"),
    bind<&H::PolarTransRegion>("polar_trans_region"),
    bind<&H::PolarTransRegionInv>("polar_trans_region_inv"),
    bind<&H::PolarTransContourXld>("polar_trans_contour_xld"),
    bind<&H::PolarTransContourXldInv>("polar_trans_contour_xld_inv"),
    bind<&H::MapImage>("map_image"),
    bind<&H::ConvertMapType>("convert_map_type"),
};

}  // namespace

OperatorGroup transformationOperators() {
  return {kTransformationOperators,
          sizeof kTransformationOperators / sizeof kTransformationOperators[0]};
}

}  // namespace Standin
}  // namespace HDevEngineCpp
