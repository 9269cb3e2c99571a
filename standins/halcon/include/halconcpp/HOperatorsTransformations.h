#ifndef HALCONCPP_HOPERATORSTRANSFORMATIONS_H
#define HALCONCPP_HOPERATORSTRANSFORMATIONS_H

#include "halconcpp/HObject.h"
#include "halconcpp/HTuple.h"

// 2-D transformations. A HomMat2D is a tuple of six reals, the first two rows of a
// homogeneous 3x3 matrix; x is the row coordinate and y the column.
namespace HalconCpp {

HALCONCPP_API void HomMat2dIdentity(HTuple* HomMat2DIdentity);
HALCONCPP_API void HomMat2dTranslate(const HTuple& HomMat2D, const HTuple& Tx, const HTuple& Ty,
                                     HTuple* HomMat2DTranslate);
HALCONCPP_API void HomMat2dTranslateLocal(const HTuple& HomMat2D, const HTuple& Tx,
                                          const HTuple& Ty, HTuple* HomMat2DTranslate);
HALCONCPP_API void HomMat2dRotate(const HTuple& HomMat2D, const HTuple& Phi, const HTuple& Px,
                                  const HTuple& Py, HTuple* HomMat2DRotate);
HALCONCPP_API void HomMat2dRotateLocal(const HTuple& HomMat2D, const HTuple& Phi,
                                       HTuple* HomMat2DRotate);
HALCONCPP_API void HomMat2dScale(const HTuple& HomMat2D, const HTuple& Sx, const HTuple& Sy,
                                 const HTuple& Px, const HTuple& Py, HTuple* HomMat2DScale);
HALCONCPP_API void HomMat2dScaleLocal(const HTuple& HomMat2D, const HTuple& Sx, const HTuple& Sy,
                                      HTuple* HomMat2DScale);
HALCONCPP_API void HomMat2dSlant(const HTuple& HomMat2D, const HTuple& Theta, const HTuple& Axis,
                                 const HTuple& Px, const HTuple& Py, HTuple* HomMat2DSlant);
HALCONCPP_API void HomMat2dSlantLocal(const HTuple& HomMat2D, const HTuple& Theta,
                                      const HTuple& Axis, HTuple* HomMat2DSlant);
HALCONCPP_API void HomMat2dCompose(const HTuple& HomMat2DLeft, const HTuple& HomMat2DRight,
                                   HTuple* HomMat2DCompose);
HALCONCPP_API void HomMat2dInvert(const HTuple& HomMat2D, HTuple* HomMat2DInvert);
HALCONCPP_API void HomMat2dTranspose(const HTuple& HomMat2D, HTuple* HomMat2DTranspose);
HALCONCPP_API void HomMat2dDeterminant(const HTuple& HomMat2D, HTuple* Determinant);
HALCONCPP_API void HomMat2dToAffinePar(const HTuple& HomMat2D, HTuple* Sx, HTuple* Sy, HTuple* Phi,
                                       HTuple* Theta, HTuple* Tx, HTuple* Ty);
HALCONCPP_API void VectorAngleToRigid(const HTuple& Row1, const HTuple& Column1,
                                      const HTuple& Angle1, const HTuple& Row2,
                                      const HTuple& Column2, const HTuple& Angle2,
                                      HTuple* HomMat2D);
HALCONCPP_API void VectorToRigid(const HTuple& Px, const HTuple& Py, const HTuple& Qx,
                                 const HTuple& Qy, HTuple* HomMat2D);
HALCONCPP_API void VectorToSimilarity(const HTuple& Px, const HTuple& Py, const HTuple& Qx,
                                      const HTuple& Qy, HTuple* HomMat2D);

// Points (x, y) and pixels (Row, Col): affine_trans_pixel takes pixel centres at whole
// numbers, as affine_trans_image and affine_trans_region do.
HALCONCPP_API void AffineTransPoint2d(const HTuple& HomMat2D, const HTuple& Px, const HTuple& Py,
                                      HTuple* Qx, HTuple* Qy);
HALCONCPP_API void AffineTransPixel(const HTuple& HomMat2D, const HTuple& Row, const HTuple& Col,
                                    HTuple* RowTrans, HTuple* ColTrans);
HALCONCPP_API void AffineTransRegion(const HObject& Region, HObject* RegionAffineTrans,
                                     const HTuple& HomMat2D, const HTuple& Interpolate);
HALCONCPP_API void AffineTransImage(const HObject& Image, HObject* ImageAffinTrans,
                                    const HTuple& HomMat2D, const HTuple& Interpolation,
                                    const HTuple& AdaptImageSize);
HALCONCPP_API void AffineTransImageSize(const HObject& Image, HObject* ImageAffinTrans,
                                        const HTuple& HomMat2D, const HTuple& Interpolation,
                                        const HTuple& Width, const HTuple& Height);

}  // namespace HalconCpp

#endif
