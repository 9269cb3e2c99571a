// Rank filters and the smoothing filters that choose which grey values to average, which a
// program line can call; each calls the image-processing stand-in's function of the same name.
#include "operators/binding.h"
#include "operators/table.h"

namespace HDevEngineCpp {
namespace Standin {
namespace {

namespace H = HalconCpp;

constexpr OperatorSpec kRankFilterOperators[] = {
    bind<&H::MedianRect>("median_rect"),
    bind<&H::RankRect>("rank_rect"),
    bind<&H::RankImage>("rank_image"),
    bind<&H::DualRank>("dual_rank"),
    bind<&H::TrimmedMean>("trimmed_mean"),
    bind<&H::MedianWeighted>("median_weighted"),
    bind<&H::MedianSeparate>("median_separate"),
    bind<&H::MeanSp>("mean_sp"),
    bind<&H::EliminateSp>("eliminate_sp"),
    bind<&H::SigmaImage>("sigma_image"),
    bind<&H::EliminateMinMax>("eliminate_min_max"),
    bind<&H::MeanN>("mean_n"),
    bind<&H::RankN>("rank_n"),
    bind<&H::RankRegion>("rank_region"),
};

}  // namespace

OperatorGroup rankFilterOperators() {
  return {kRankFilterOperators, sizeof kRankFilterOperators / sizeof kRankFilterOperators[0]};
}

}  // namespace Standin
}  // namespace HDevEngineCpp
