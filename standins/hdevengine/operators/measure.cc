// 1-D measuring operators a program line can call; each calls the image-processing stand-in's
// function of the same name.
#include "operators/binding.h"
#include "operators/table.h"

namespace HDevEngineCpp {
namespace Standin {
namespace {

namespace H = HalconCpp;

constexpr OperatorSpec kMeasureOperators[] = {
    bind<&H::GenMeasureRectangle2>("gen_measure_rectangle2"),
    bind<&H::GenMeasureArc>("gen_measure_arc"),
    bind<&H::TranslateMeasure>("translate_measure"),
    bind<&H::CloseMeasure>("close_measure"),
    bind<&H::CloseAllMeasures>("close_all_measures"),
    bind<&H::MeasureProjection>("measure_projection"),
    bind<&H::MeasurePos>("measure_pos"),
    bind<&H::MeasurePairs>("measure_pairs"),
    bind<&H::MeasureThresh>("measure_thresh"),
};

}  // namespace

OperatorGroup measureOperators() {
  return {kMeasureOperators, sizeof kMeasureOperators / sizeof kMeasureOperators[0]};
}

}  // namespace Standin
}  // namespace HDevEngineCpp
