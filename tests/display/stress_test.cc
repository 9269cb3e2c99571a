// Several procedures open, display into and close windows on several threads while another
// thread opens default windows: no deadlock, and afterwards every registered window is open
// and every window the library opened is registered or closed.
#include <atomic>
#include <thread>

#include "display/display_fixture.h"

namespace quorvex::test {

int hinitMode() {
  return 1;
}

namespace {

class Stress : public DisplayTest {};

TEST_F(Stress, ProceduresAndDefaultWindowsOnManyThreads) {
  constexpr int kWorkers = 4;
  constexpr int kRounds = 15;
  const long windowsBefore = liveCount("windows");
  std::vector<std::unique_ptr<Snippet>> work;
  for (int t = 0; t < kWorkers; ++t) {
    work.push_back(std::make_unique<Snippet>(std::vector<std::string>{
        "dev_open_window (0, 0, 400, 300, 'black', W)",
        "gen_image_const (Image, 'byte', 320 + " + std::to_string(t) + ", 240)",
        "dev_display (Image)", "dev_set_color ('green')", "gen_rectangle1 (Box, 5, 5, 50, 60)",
        "dev_display (Box)", "dev_set_part (0, 0, 99, 99)", "dev_set_line_width (2)",
        "dev_clear_window ()", "dev_close_window ()"}));
    ASSERT_EQ(work.back()->run(), nullptr) << "warm-up of worker " << t;
  }
  std::atomic<int> failures{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kWorkers; ++t) {
    threads.emplace_back([&, t] {
      for (int round = 0; round < kRounds; ++round) {
        if (work[t]->run()) ++failures;
      }
    });
  }
  threads.emplace_back([&] {
    for (int round = 0; round < kRounds; ++round) {
      if (ErrorMsg* error = hopenDefaultWindow()) {
        hclearErrorMsg(error);
        ++failures;
      }
    }
  });
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(failures.load(), 0);

  // Every registered window is open: closing them one by one never fails, and afterwards no
  // window the library opened is left.
  closeRegisteredWindows();
  EXPECT_EQ(liveCount("windows"), windowsBefore);
}

}  // namespace
}  // namespace quorvex::test
