// Several threads opening, drawing into, dumping and closing their own windows at once, with
// other threads reading the window monitors. Run under ThreadSanitizer.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "standins/iconic_test_support.h"
#include "user32/WinUser.h"

namespace {

using namespace HalconCpp;
using namespace quorvex::test;

TEST(WindowThreads, ThreadsDrawIntoTheirOwnWindowsWithoutInterference) {
  constexpr int kThreads = 4;
  constexpr int kRounds = 25;
  const char* colors[kThreads] = {"red", "green", "blue", "yellow"};
  const Hlong expected[kThreads][3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}};
  const Hlong before = systemValue("standin_live_windows");
  std::atomic<int> failures{0};
  std::atomic<bool> done{false};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      try {
        for (int round = 0; round < kRounds; ++round) {
          TestWindow window(t * 10, round, 16 + t, 12);
          SetColor(window.handle, colors[t]);
          HObject region;
          GenRectangle1(&region, 0, 0, 11, 15 + t);
          DispObj(region, window.handle);
          HTuple os;
          GetOsWindowHandle(window.handle, &os, nullptr);
          SetWindowPos(reinterpret_cast<HWND>(static_cast<std::uintptr_t>(os.L())), nullptr, 0, 0,
                       20, 12, SWP_NOMOVE);
          const HTuple values = pixel(window.dump(), 11, 15);
          if (values != tuple({expected[t][0], expected[t][1], expected[t][2]})) ++failures;
        }
      } catch (const HException&) {
        ++failures;
      }
    });
  }
  std::thread reader([&] {
    while (!done.load()) {
      HTuple native, count;
      GetSystem("standin_native_windows", &native);
      GetSystem("standin_live_windows", &count);
      if (native.Length() % 9 != 0) ++failures;
    }
  });
  for (std::thread& thread : threads) thread.join();
  done.store(true);
  reader.join();
  EXPECT_EQ(failures.load(), 0);
  EXPECT_EQ(systemValue("standin_live_windows"), before);
}

TEST(WindowThreads, ImagesCreatedConcurrentlyRaiseTheSystemSizeToTheLargest) {
  SystemSizeRestored restored;
  SetSystem("width", 10);
  std::vector<std::thread> threads;
  for (Hlong t = 1; t <= 4; ++t) {
    threads.emplace_back([t] {
      for (Hlong i = 0; i < 20; ++i) {
        HObject image;
        GenImageConst(&image, "byte", 100 * t + i, 4);
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(systemValue("width"), 419);
}

}  // namespace
