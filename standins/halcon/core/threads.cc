#include "core/threads.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <string>
#include <thread>

#include "core/thread_pool.h"
#include "halconcpp/HException.h"
#include "halconcpp/HTuple.h"
#include "standin/controls.h"

#ifndef _WIN32
#include <pthread.h>
#endif

namespace HalconCpp {
namespace Standin {

namespace {

// Counted once: the C library reads a system file for the count, and every operator asks for
// it when it decides its bands, which cost a small image's call more than its pixels.
Hlong processorCount() {
  static const Hlong count = [] {
    const unsigned found = std::thread::hardware_concurrency();
    return found == 0 ? Hlong{1} : static_cast<Hlong>(found);
  }();
  return count;
}

// Read by every operator call, so kept apart from the map of other settings.
std::atomic<bool> parallelize{true};
std::atomic<bool> vectorPaths{true};
std::atomic<bool> wideVectors{true};  // 'avx2': the vector paths stop at AVX2
std::atomic<std::int64_t> bandPixels{kMinPixelsPerBand};
std::atomic<Hlong> threadNum{0};  // 0: not set, the processor's cores

// As set, but never more threads than kMaxOperatorThreads.
Hlong threadsWanted() {
  if (!parallelize.load(std::memory_order_relaxed)) return 1;
  const Hlong set = threadNum.load(std::memory_order_relaxed);
  return std::min<Hlong>(set > 0 ? set : processorCount(), kMaxOperatorThreads);
}

std::atomic<Pool*> pool{nullptr};

Pool& thePool() {
  Pool* current = pool.load(std::memory_order_acquire);
  if (current) return *current;
  Pool* fresh = new Pool;
  if (!pool.compare_exchange_strong(current, fresh, std::memory_order_acq_rel)) {
    delete fresh;
    return *current;
  }
  return *fresh;
}

#ifndef _WIN32
// A child of fork has none of the parent's workers, and the pool's lock may have been held
// when it forked: the child starts a pool of its own when it needs one.
void forgetPoolInChild() {
  pool.store(nullptr, std::memory_order_relaxed);
}
#endif

// The "standin_band" fault: a band of an operator cut into bands raises, named after the
// operator the caller entered, so that tests reach the pool's error path from outside.
void failBandIfArmed(const char* operation) {
  Fault fault;
  if (takeFault("standin_band", &fault)) raiseFault(operation ? operation : "standin_band", fault);
}

bool booleanOf(const HTuple& value) {
  if (value.Length() != 1) throw HException::ForOperator("set_system", 1402);
  if (value[0].Type() != eElementTypeString) throw HException::ForOperator("set_system", 1202);
  const std::string text = value[0].S().str();
  if (text != "true" && text != "false") throw HException::ForOperator("set_system", 1302);
  return text == "true";
}

void setParallelize(const HTuple& value) {
  parallelize.store(booleanOf(value));
}

HTuple getParallelize() {
  return HTuple(parallelize.load() ? "true" : "false");
}

void setVectorPaths(const HTuple& value) {
  const bool capped = value.Length() == 1 && value[0].Type() == eElementTypeString &&
                      value[0].S().str() == std::string("avx2");
  vectorPaths.store(capped || booleanOf(value));
  wideVectors.store(!capped);
}

HTuple getVectorPaths() {
  if (!vectorPaths.load()) return HTuple("false");
  return HTuple(wideVectors.load() ? "true" : "avx2");
}

void setThreadNum(const HTuple& value) {
  if (value.Length() != 1) throw HException::ForOperator("set_system", 1402);
  if (value[0].Type() != eElementTypeLong) throw HException::ForOperator("set_system", 1202);
  if (value[0].L() < 1) throw HException::ForOperator("set_system", 1302);
  threadNum.store(value[0].L());
}

void setBandPixels(const HTuple& value) {
  if (value.Length() != 1) throw HException::ForOperator("set_system", 1402);
  if (value[0].Type() != eElementTypeLong) throw HException::ForOperator("set_system", 1202);
  if (value[0].L() < 1) throw HException::ForOperator("set_system", 1302);
  bandPixels.store(value[0].L());
}

HTuple getBandPixels() {
  return HTuple(static_cast<Hlong>(bandPixels.load()));
}

HTuple getThreadNum() {
  const Hlong set = threadNum.load();
  return HTuple(set > 0 ? set : processorCount());
}

const bool threadsRegistered = [] {
  registerControl("parallelize_operators", &setParallelize, &getParallelize);
  registerControl("thread_num", &setThreadNum, &getThreadNum);
  registerControl("standin_simd", &setVectorPaths, &getVectorPaths);
  registerControl("standin_band_pixels", &setBandPixels, &getBandPixels);
#ifndef _WIN32
  pthread_atfork(nullptr, nullptr, &forgetPoolInChild);
#endif
  return true;
}();

}  // namespace

bool vectorPathsEnabled() {
  return vectorPaths.load(std::memory_order_relaxed);
}

bool wideVectorsEnabled() {
  return vectorPathsEnabled() && wideVectors.load(std::memory_order_relaxed);
}

int bandsFor(std::int64_t items, std::int64_t work) {
  const std::int64_t threads = static_cast<std::int64_t>(threadsWanted());
  if (threads <= 1 || items <= 1) return 1;
  const std::int64_t bySize = work / bandPixels.load(std::memory_order_relaxed);
  return static_cast<int>(std::max<std::int64_t>(1, std::min({threads, items, bySize})));
}

std::int64_t bandStart(std::int64_t items, int bands, int band) {
  return items / bands * band + std::min<std::int64_t>(band, items % bands);
}

void awaitCount(const std::atomic<int>& count, int target) {
  constexpr int kPauses = 256;
  for (int spins = 0; count.load(std::memory_order_acquire) < target; ++spins) {
    if (spins >= kPauses) {
      std::this_thread::yield();
      continue;
    }
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
    __builtin_ia32_pause();
#endif
  }
}

void forBands(std::int64_t items, int bands,
              const std::function<void(int band, std::int64_t begin, std::int64_t end)>& body) {
  if (bands <= 1) {
    body(0, 0, items);
    return;
  }
  const char* operation = currentOperation();
  const std::function<void(int)> part = [&](int band) {
    // Inside first, so that the scope neither fires nor consumes a fault of the caller's.
    InsideScope inside;
    ApiScope scope(operation ? operation : "");
    failBandIfArmed(operation);
    body(band, bandStart(items, bands, band), bandStart(items, bands, band + 1));
  };
  if (thePool().run(bands, part)) return;
  for (int band = 0; band < bands; ++band) {
    failBandIfArmed(operation);
    body(band, bandStart(items, bands, band), bandStart(items, bands, band + 1));
  }
}

}  // namespace Standin
}  // namespace HalconCpp
