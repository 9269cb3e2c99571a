#ifndef HALCONCPP_HOPERATORSTYPES_H
#define HALCONCPP_HOPERATORSTYPES_H

#include "halconcpp/HObject.h"
#include "halconcpp/HTuple.h"

// Operators that carry every pixel type ('byte', 'int1', 'int2', 'uint2', 'int4', 'real',
// 'direction', 'cyclic', 'complex'): type queries, copies and pixelwise arithmetic.
namespace HalconCpp {

HALCONCPP_API void GetImageType(const HObject& Image, HTuple* Type);
HALCONCPP_API void CopyImage(const HObject& Image, HObject* DupImage);
HALCONCPP_API void GenImageProto(const HObject& Image, HObject* ImageCleared,
                                 const HTuple& Grayval);

HALCONCPP_API void AbsImage(const HObject& Image, HObject* ImageAbs);
HALCONCPP_API void MaxImage(const HObject& Image1, const HObject& Image2, HObject* ImageMax);
HALCONCPP_API void MinImage(const HObject& Image1, const HObject& Image2, HObject* ImageMin);

}  // namespace HalconCpp

#endif
