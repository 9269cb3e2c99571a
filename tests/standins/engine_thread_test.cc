// Several threads run their own calls of one procedure at the same time.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "engine_support.h"

namespace quorvex::test {
namespace {

using HDevEngineCpp::HDevEngine;
using HDevEngineCpp::HDevProcedure;
using HDevEngineCpp::HDevProcedureCall;

TEST(EngineThreads, EightThreadsRunTheirOwnCallsOfOneProcedure) {
  useBundledProcedures();
  const HDevProcedure procedure("sum_loop");
  std::atomic<int> wrong{0};
  std::atomic<int> failed{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 8; ++t) {
    threads.emplace_back([&, t] {
      try {
        HDevProcedureCall call(procedure);
        for (int run = 0; run < 200; ++run) {
          const int n = 1 + (t * 200 + run) % 23;
          call.SetInputCtrlParamTuple(1, HTuple(n));
          call.Execute();
          const HTuple total = call.GetOutputCtrlParamTuple("Total");
          const HTuple odd = call.GetOutputCtrlParamTuple("Odd");
          if (total[0].L() != n * (n + 1) / 2 || odd.Length() != (n + 1) / 2 ||
              odd[odd.Length() - 1].L() != (n % 2 ? n : n - 1)) {
            ++wrong;
          }
        }
      } catch (const HDevEngineException&) {
        ++failed;
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(failed.load(), 0);
  EXPECT_EQ(wrong.load(), 0);
}

TEST(EngineThreads, LoadingAndUnloadingWhileOthersRun) {
  useBundledProcedures();
  std::atomic<int> failed{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      try {
        for (int run = 0; run < 50; ++run) {
          if (t == 0 && run % 10 == 0) HDevEngine().UnloadAllProcedures();
          HDevProcedureCall call{HDevProcedure("factorial")};
          call.SetInputCtrlParamTuple(1, HTuple(6));
          call.Execute();
          if (call.GetOutputCtrlParamTuple(1)[0].L() != 720) ++failed;
        }
      } catch (const HDevEngineException&) {
        ++failed;
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(failed.load(), 0);
}

}  // namespace
}  // namespace quorvex::test
