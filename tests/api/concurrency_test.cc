// Calls of one procedure executing on several threads at once, each with its own call
// handle: every result right, and clean under ThreadSanitizer.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "quorvex.h"
#include "support/handle_owners.h"
#include "support/record_assertions.h"
#include "support/test_data.h"

namespace quorvex::test {
namespace {

TEST(ConcurrentCalls, EightThreadsRunTheirOwnCallsOfALoopingProcedure) {
  useTestProcedures();
  ProcedureHandle procedure = nullptr;
  ASSERT_OK(hcreateProcedure("sum_to", &procedure));
  Procedure owner(procedure);

  constexpr int kThreads = 8;
  constexpr int kRuns = 200;
  std::atomic<int> wrong{0};
  std::atomic<int> failed{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      ProcedureCallHandle call = nullptr;
      if (ErrorMsg* error = hcreateProcedureCall(procedure, &call)) {
        hclearErrorMsg(error);
        ++failed;
        return;
      }
      ProcedureCall callOwner(call);
      for (int run = 0; run < kRuns; ++run) {
        const int32_t n = t * 10 + run % 17;
        ErrorMsg* error = hprocedurecallSetInputCtrlParamTuple(call, 1, longs({n}).get());
        if (!error) error = hprocedurecallExecute(call);
        TupleHandle total = nullptr;
        if (!error) error = hprocedurecallGetOutputCtrlParamTuple(call, 1, &total);
        if (error) {
          hclearErrorMsg(error);
          ++failed;
          continue;
        }
        if (hgetTupleElemLong(total, 0) != n * (n + 1) / 2) ++wrong;
        hfreeTuple(total);
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(failed.load(), 0);
  EXPECT_EQ(wrong.load(), 0);
}

}  // namespace
}  // namespace quorvex::test
