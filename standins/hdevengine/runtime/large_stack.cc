#include "runtime/large_stack.h"

#include <pthread.h>

namespace HDevEngineCpp {
namespace Standin {
namespace {

struct Job {
  void (*work)(void*);
  void* context;
  std::exception_ptr failure;
};

extern "C" void* runJob(void* argument) {
  auto* job = static_cast<Job*>(argument);
  try {
    job->work(job->context);
  } catch (...) {
    job->failure = std::current_exception();
  }
  return nullptr;
}

}  // namespace

bool runOnLargeStack(std::size_t stackBytes, void (*work)(void* context), void* context) {
  pthread_attr_t attributes;
  if (pthread_attr_init(&attributes) != 0) return false;
  Job job{work, context, nullptr};
  pthread_t thread;
  const bool started = pthread_attr_setstacksize(&attributes, stackBytes) == 0 &&
                       pthread_create(&thread, &attributes, runJob, &job) == 0;
  pthread_attr_destroy(&attributes);
  if (!started) return false;
  pthread_join(thread, nullptr);
  if (job.failure) std::rethrow_exception(job.failure);
  return true;
}

}  // namespace Standin
}  // namespace HDevEngineCpp
