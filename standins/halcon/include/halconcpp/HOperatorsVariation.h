#ifndef HALCONCPP_HOPERATORSVARIATION_H
#define HALCONCPP_HOPERATORSVARIATION_H

#include "halconcpp/HObject.h"
#include "halconcpp/HTuple.h"

// Variation models (HALCON 11.0 "Inspection / Variation Model"): an ideal image and a
// variation image, trained from good images or given directly, turned into two threshold
// images against which new images are compared pixel by pixel.
namespace HalconCpp {

HALCONCPP_API void CreateVariationModel(const HTuple& Width, const HTuple& Height,
                                        const HTuple& Type, const HTuple& Mode, HTuple* ModelID);
HALCONCPP_API void TrainVariationModel(const HObject& Images, const HTuple& ModelID);
HALCONCPP_API void PrepareVariationModel(const HTuple& ModelID, const HTuple& AbsThreshold,
                                         const HTuple& VarThreshold);
HALCONCPP_API void PrepareDirectVariationModel(const HObject& RefImage, const HObject& VarImage,
                                               const HTuple& ModelID, const HTuple& AbsThreshold,
                                               const HTuple& VarThreshold);
HALCONCPP_API void CompareVariationModel(const HObject& Image, HObject* Region,
                                         const HTuple& ModelID);
HALCONCPP_API void CompareExtVariationModel(const HObject& Image, HObject* Region,
                                            const HTuple& ModelID, const HTuple& Mode);
HALCONCPP_API void GetVariationModel(HObject* Image, HObject* VarImage, const HTuple& ModelID);
HALCONCPP_API void GetThreshImagesVariationModel(HObject* MinImage, HObject* MaxImage,
                                                 const HTuple& ModelID);
HALCONCPP_API void ClearTrainDataVariationModel(const HTuple& ModelID);
HALCONCPP_API void ClearVariationModel(const HTuple& ModelID);
HALCONCPP_API void ClearAllVariationModels();
HALCONCPP_API void WriteVariationModel(const HTuple& ModelID, const HTuple& FileName);
HALCONCPP_API void ReadVariationModel(const HTuple& FileName, HTuple* ModelID);
HALCONCPP_API void SerializeVariationModel(const HTuple& ModelID, HTuple* SerializedItemHandle);
HALCONCPP_API void DeserializeVariationModel(const HTuple& SerializedItemHandle, HTuple* ModelID);

}  // namespace HalconCpp

#endif
