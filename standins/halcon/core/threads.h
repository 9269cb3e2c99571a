// The operators' threads: large images are cut into bands of rows (or of runs) that the
// calling thread and a small pool work on at once, as the vendor's engine parallelises its
// operators over the domain. Each band writes only its own part of the result, so the result
// is the same for any number of threads.
//   "parallelize_operators": 'true' (default) or 'false', which runs every operator on the
//       calling thread.
//   "thread_num": the threads an operator may use, the caller's included (default: the
//       processor's cores; 1 or more, at most kMaxOperatorThreads are started).
// The pool starts when an operator first needs it. Work of fewer than kMinPixelsPerBand
// pixels a band stays on the calling thread: waking a thread costs more than such a band.
// An operator called while the pool works for another runs on its own thread alone.
//   "standin_band_pixels": the stand-in's own, the least work a band is given (default
//       kMinPixelsPerBand; 1 or more), so that tests cut small images into many bands.
//   "standin_simd": the stand-in's own switch, 'true' (default) or 'false', which keeps every
//       operator on its portable path: the reference its vector paths are tested against;
//       'avx2' keeps the vector paths from going past AVX2 (to AVX-512), so that a machine
//       with both tests both.
#ifndef QUORVEX_STANDINS_HALCON_THREADS_H
#define QUORVEX_STANDINS_HALCON_THREADS_H

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

namespace HalconCpp {
namespace Standin {

constexpr std::int64_t kMinPixelsPerBand = 64 * 1024;
constexpr int kMaxOperatorThreads = 64;

bool vectorPathsEnabled();
// The vector paths on and not held at AVX2 ('standin_simd' 'true').
bool wideVectorsEnabled();

// The bands `work` pixels of work over `items` rows or runs are cut into: 1 when the
// operators run on one thread or the work is small.
int bandsFor(std::int64_t items, std::int64_t work);

// Calls body(band, begin, end) for `bands` contiguous parts of [0, items), at once on the
// pool and the calling thread; returns when all are done. The first
// exception a part raises is raised again here, after every part has finished. A part runs
// as if inside the operator the caller entered, so that its errors name that operator.
void forBands(std::int64_t items, int bands,
              const std::function<void(int band, std::int64_t begin, std::int64_t end)>& body);

// Inside a job's part: waits until `count` reaches `target`, the parts other threads of the job
// have taken and still run. Such a part takes microseconds: the wait pauses first, then gives
// the core away, so that on a busy machine the thread still running its part gets it.
void awaitCount(const std::atomic<int>& count, int target);
// The first row of band `band` of `bands` over `items`: the bands differ by one at most.
std::int64_t bandStart(std::int64_t items, int bands, int band);

// A thread's buffers kept from call to call, held by `slot`, a thread_local pointer, and made on
// first use. The library's thread_locals all live in the loader's static block, because the
// bookkeeping of every call reads its own there (controls/standin.cc), and that block has
// room for a few hundred bytes beyond the program's own: anything larger than a pointer or a
// number goes behind one.
template <typename T>
T& keptOnThread(std::unique_ptr<T>& slot) {
  if (!slot) slot = std::make_unique<T>();
  return *slot;
}

}  // namespace Standin
}  // namespace HalconCpp

#endif
