// Stand-in for the vendor's image-processing library: the same names, types and calling
// shapes, so that code written against it builds unchanged against the real library.
#ifndef HALCONCPP_HALCONCPP_H
#define HALCONCPP_HALCONCPP_H

#include "halconcpp/HException.h"
#include "halconcpp/HImage.h"
#include "halconcpp/HObject.h"
#include "halconcpp/HOperatorsAcquisition.h"
#include "halconcpp/HOperatorsDrawing.h"
#include "halconcpp/HOperatorsFeatures.h"
#include "halconcpp/HOperatorsFft.h"
#include "halconcpp/HOperatorsFile.h"
#include "halconcpp/HOperatorsFilters.h"
#include "halconcpp/HOperatorsGeometry.h"
#include "halconcpp/HOperatorsIconic.h"
#include "halconcpp/HOperatorsImage.h"
#include "halconcpp/HOperatorsMatrix.h"
#include "halconcpp/HOperatorsMeasure.h"
#include "halconcpp/HOperatorsMorphology.h"
#include "halconcpp/HOperatorsPixels.h"
#include "halconcpp/HOperatorsPoses.h"
#include "halconcpp/HOperatorsRegion.h"
#include "halconcpp/HOperatorsSegmentation.h"
#include "halconcpp/HOperatorsSystem.h"
#include "halconcpp/HOperatorsText.h"
#include "halconcpp/HOperatorsTools.h"
#include "halconcpp/HOperatorsTransformations.h"
#include "halconcpp/HOperatorsTypes.h"
#include "halconcpp/HOperatorsVariation.h"
#include "halconcpp/HOperatorsWindow.h"
#include "halconcpp/HOperatorsXld.h"
#include "halconcpp/HString.h"
#include "halconcpp/HTuple.h"
#include "halconcpp/HalconCppBase.h"

#endif
