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

}  // namespace HalconCpp

#endif
