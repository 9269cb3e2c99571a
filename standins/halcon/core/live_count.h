// The live-object monitors' counting, for the stand-ins' own constructors and destructors.
#ifndef QUORVEX_STANDINS_HALCON_LIVE_COUNT_H
#define QUORVEX_STANDINS_HALCON_LIVE_COUNT_H

namespace HalconCpp {
namespace Standin {

// Indices of the monitored kinds, in the order of their names in standin.cc.
constexpr int kLiveTuples = 0;

// countLive by index: no name lookup, and no write to memory that other threads share.
// Internal to the library, so that its callers reach it directly.
#if defined(__ELF__)
__attribute__((visibility("hidden")))
#endif
void countLiveKind(int kind, int delta);

}  // namespace Standin
}  // namespace HalconCpp

#endif
