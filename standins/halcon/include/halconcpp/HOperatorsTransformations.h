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
// The reflection about the axis through P and Q (the local one: through the origin and P).
HALCONCPP_API void HomMat2dReflect(const HTuple& HomMat2D, const HTuple& Px, const HTuple& Py,
                                   const HTuple& Qx, const HTuple& Qy, HTuple* HomMat2DReflect);
HALCONCPP_API void HomMat2dReflectLocal(const HTuple& HomMat2D, const HTuple& Px, const HTuple& Py,
                                        HTuple* HomMat2DReflect);
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
// Least-squares fits over at least three point pairs: any affine map; a rotation after
// scalings of its own along x and y.
HALCONCPP_API void VectorToHomMat2d(const HTuple& Px, const HTuple& Py, const HTuple& Qx,
                                    const HTuple& Qy, HTuple* HomMat2D);
HALCONCPP_API void VectorToAniso(const HTuple& Px, const HTuple& Py, const HTuple& Qx,
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

// Projective transformations: a HomMat2D of nine values, the 3x3 matrix row by row (six
// values are an affine matrix). Images and regions use pixel coordinates as affine_trans_pixel.
HALCONCPP_API void ProjectiveTransPoint2d(const HTuple& HomMat2D, const HTuple& Px,
                                          const HTuple& Py, const HTuple& Pw, HTuple* Qx,
                                          HTuple* Qy, HTuple* Qw);
HALCONCPP_API void ProjectiveTransPixel(const HTuple& HomMat2D, const HTuple& Row,
                                        const HTuple& Col, HTuple* RowTrans, HTuple* ColTrans);
HALCONCPP_API void HomVectorToProjHomMat2d(const HTuple& Px, const HTuple& Py, const HTuple& Pw,
                                           const HTuple& Qx, const HTuple& Qy, const HTuple& Qw,
                                           const HTuple& Method, HTuple* HomMat2D);
HALCONCPP_API void VectorToProjHomMat2d(const HTuple& Px, const HTuple& Py, const HTuple& Qx,
                                        const HTuple& Qy, const HTuple& Method,
                                        const HTuple& CovXX1, const HTuple& CovYY1,
                                        const HTuple& CovXY1, const HTuple& CovXX2,
                                        const HTuple& CovYY2, const HTuple& CovXY2,
                                        HTuple* HomMat2D, HTuple* Covariance);
HALCONCPP_API void ProjectiveTransImage(const HObject& Image, HObject* TransImage,
                                        const HTuple& HomMat2D, const HTuple& Interpolation,
                                        const HTuple& AdaptImageSize,
                                        const HTuple& TransformDomain);
HALCONCPP_API void ProjectiveTransImageSize(const HObject& Image, HObject* TransImage,
                                            const HTuple& HomMat2D, const HTuple& Interpolation,
                                            const HTuple& Width, const HTuple& Height,
                                            const HTuple& TransformDomain);
HALCONCPP_API void ProjectiveTransRegion(const HObject& Regions, HObject* TransRegions,
                                         const HTuple& HomMat2D, const HTuple& Interpolation);
HALCONCPP_API void ProjectiveTransContourXld(const HObject& Contours, HObject* ContoursProjTrans,
                                             const HTuple& HomMat2D);

// Polar transformations of an annular arc: the polar image's row 0 lies on RadiusStart and
// its last row on RadiusEnd, column 0 on AngleStart and its last column on AngleEnd; angles
// turn counterclockwise as the image shows them. Interpolation: 'nearest_neighbor' or
// 'bilinear'.
HALCONCPP_API void PolarTransImageExt(const HObject& Image, HObject* PolarTransImage,
                                      const HTuple& Row, const HTuple& Column,
                                      const HTuple& AngleStart, const HTuple& AngleEnd,
                                      const HTuple& RadiusStart, const HTuple& RadiusEnd,
                                      const HTuple& Width, const HTuple& Height,
                                      const HTuple& Interpolation);
HALCONCPP_API void PolarTransImageInv(const HObject& PolarImage, HObject* XYTransImage,
                                      const HTuple& Row, const HTuple& Column,
                                      const HTuple& AngleStart, const HTuple& AngleEnd,
                                      const HTuple& RadiusStart, const HTuple& RadiusEnd,
                                      const HTuple& Width, const HTuple& Height,
                                      const HTuple& Interpolation);
HALCONCPP_API void PolarTransImage(const HObject& ImageXY, HObject* ImagePolar, const HTuple& Row,
                                   const HTuple& Column, const HTuple& Width, const HTuple& Height);
HALCONCPP_API void PolarTransRegion(const HObject& Region, HObject* PolarTransRegion,
                                    const HTuple& Row, const HTuple& Column,
                                    const HTuple& AngleStart, const HTuple& AngleEnd,
                                    const HTuple& RadiusStart, const HTuple& RadiusEnd,
                                    const HTuple& Width, const HTuple& Height,
                                    const HTuple& Interpolation);
HALCONCPP_API void PolarTransRegionInv(const HObject& PolarRegion, HObject* XYTransRegion,
                                       const HTuple& Row, const HTuple& Column,
                                       const HTuple& AngleStart, const HTuple& AngleEnd,
                                       const HTuple& RadiusStart, const HTuple& RadiusEnd,
                                       const HTuple& WidthIn, const HTuple& HeightIn,
                                       const HTuple& Width, const HTuple& Height,
                                       const HTuple& Interpolation);
HALCONCPP_API void PolarTransContourXld(const HObject& Contour, HObject* PolarTransContour,
                                        const HTuple& Row, const HTuple& Column,
                                        const HTuple& AngleStart, const HTuple& AngleEnd,
                                        const HTuple& RadiusStart, const HTuple& RadiusEnd,
                                        const HTuple& Width, const HTuple& Height);
HALCONCPP_API void PolarTransContourXldInv(const HObject& PolarContour, HObject* XYTransContour,
                                           const HTuple& Row, const HTuple& Column,
                                           const HTuple& AngleStart, const HTuple& AngleEnd,
                                           const HTuple& RadiusStart, const HTuple& RadiusEnd,
                                           const HTuple& WidthIn, const HTuple& HeightIn,
                                           const HTuple& Width, const HTuple& Height);

// Maps: two real channels of the source row and column of each pixel ('coord_map_sub_pix',
// bilinear) or one int4 channel of the source pixel's index row * width + column.
HALCONCPP_API void MapImage(const HObject& Image, const HObject& Map, HObject* ImageMapped);
HALCONCPP_API void ConvertMapType(const HObject& Map, HObject* MapConverted, const HTuple& NewType,
                                  const HTuple& ImageWidth);

}  // namespace HalconCpp

#endif
