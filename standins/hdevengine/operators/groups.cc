// Every operator group the engine knows. A module that brings operators adds its group
// function here.
#include "operators/table.h"

namespace HDevEngineCpp {
namespace Standin {

OperatorGroup systemOperators();
OperatorGroup tupleOperators();
OperatorGroup exceptionOperators();
OperatorGroup iconicOperators();
OperatorGroup imageOperators();
OperatorGroup filterOperators();
OperatorGroup rankFilterOperators();
OperatorGroup segmentationOperators();
OperatorGroup regionOperators();
OperatorGroup featureOperators();
OperatorGroup morphologyOperators();
OperatorGroup windowOperators();
OperatorGroup textOperators();
OperatorGroup drawingOperators();
OperatorGroup fileOperators();
OperatorGroup textFileOperators();
OperatorGroup acquisitionOperators();
OperatorGroup transformationOperators();
OperatorGroup typeOperators();
OperatorGroup xldOperators();
OperatorGroup measureOperators();
OperatorGroup geometryOperators();
OperatorGroup toolOperators();
OperatorGroup poseOperators();
OperatorGroup inspectionOperators();
OperatorGroup informationOperators();
OperatorGroup matrixOperators();

std::vector<OperatorGroup> allOperatorGroups() {
  return {
      systemOperators(),       tupleOperators(),          exceptionOperators(),
      iconicOperators(),       imageOperators(),          filterOperators(),
      segmentationOperators(), regionOperators(),         featureOperators(),
      morphologyOperators(),   windowOperators(),         textOperators(),
      drawingOperators(),      fileOperators(),           textFileOperators(),
      acquisitionOperators(),  transformationOperators(), typeOperators(),
      xldOperators(),          measureOperators(),        geometryOperators(),
      toolOperators(),         rankFilterOperators(),     poseOperators(),
      inspectionOperators(),   informationOperators(),    matrixOperators(),
  };
}

}  // namespace Standin
}  // namespace HDevEngineCpp
