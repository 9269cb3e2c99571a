// The operators' thread pool as its callers meet it: many short jobs back to back, jobs of
// fewer parts than threads, a part that raises, and callers on several threads at once all
// give what one thread gives, and leave the pool ready for the next call.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "standins/portable_paths.h"

namespace {

using namespace HalconCpp;
using namespace quorvex::test;

// An operator's result as bytes that compare equal exactly when the results are the same.
struct Call {
  const char* name;
  std::function<std::vector<Hlong>(const HObject&)> run;
};

std::vector<Hlong> widened(const std::vector<std::uint8_t>& bytes) {
  return std::vector<Hlong>(bytes.begin(), bytes.end());
}

std::vector<Hlong> runsOf(const HObject& region) {
  HTuple rows, begins, ends;
  GetRegionRuns(region, &rows, &begins, &ends);
  std::vector<Hlong> runs;
  for (Hlong i = 0; i < rows.Length(); ++i) {
    runs.insert(runs.end(), {rows[i].L(), begins[i].L(), ends[i].L()});
  }
  return runs;
}

// An image filter, a rank filter and a region operator: three ways of cutting work into bands.
std::vector<Call> calls() {
  return {
      {"mean_image",
       [](const HObject& in) {
         HObject out;
         MeanImage(in, &out, 5, 3);
         return widened(bytesOf(out));
       }},
      {"median_image",
       [](const HObject& in) {
         HObject out;
         MedianImage(in, &out, "circle", 1, "mirrored");
         return widened(bytesOf(out));
       }},
      {"threshold",
       [](const HObject& in) {
         HObject out;
         Threshold(in, &out, 40, 200);
         return runsOf(out);
       }},
  };
}

int repeats(int full) {
  return quickSweep() ? full / 10 : full;
}

// Bands of a few rows: a small image is cut into as many parts as there are threads, or
// fewer when it has fewer rows.
struct SmallBands : SettingsRestored {
  SmallBands() { SetSystem("standin_band_pixels", 200); }
};

// Jobs of two to a few parts, one after the other, alternating sizes so that consecutive jobs
// differ in parts: every job gives what one thread gives.
TEST(PoolHandoff, ManyShortJobsBackToBackGiveWhatOneThreadGives) {
  SmallBands restored;
  const std::vector<Size> sizes = {{61, 2}, {97, 37}, {33, 3}, {128, 9}, {45, 5}};
  std::vector<HObject> images;
  std::vector<std::vector<std::uint8_t>> planes;
  for (std::size_t i = 0; i < sizes.size(); ++i) planes.push_back(randomPlane(sizes[i], 11 + i));
  for (std::size_t i = 0; i < sizes.size(); ++i) {
    images.push_back(wrapGray(planes[i], sizes[i].width, sizes[i].height));
  }
  for (const Call& call : calls()) {
    SetSystem("thread_num", 1);
    std::vector<std::vector<Hlong>> reference;
    for (const HObject& image : images) reference.push_back(call.run(image));
    for (const Hlong threads : {2, 3, 8}) {
      SetSystem("thread_num", threads);
      int different = 0;
      for (int i = 0; i < repeats(600); ++i) {
        const std::size_t which = static_cast<std::size_t>(i) % images.size();
        different += call.run(images[which]) != reference[which];
      }
      EXPECT_EQ(different, 0) << labelOf(call.name, "thread_num " + std::to_string(threads));
    }
  }
}

// A part that raises: the caller gets its error, named after the operator it called, once
// every part has ended; and the pool serves the next call as before.
TEST(PoolHandoff, APartThatRaisesReachesTheCallerAndLeavesThePoolWorking) {
  SmallBands restored;
  const Size size{97, 37};
  std::vector<std::uint8_t> plane = randomPlane(size, 5);
  const HObject image = wrapGray(plane, size.width, size.height);
  const Call call = calls()[0];
  SetSystem("thread_num", 1);
  const std::vector<Hlong> reference = call.run(image);
  struct Case {
    const char* name;
    Hlong threads;
    const char* control;  // standin_fail or standin_fail_nth
    Hlong countOrNth;
  };
  const Case cases[] = {
      {"the first part", 2, "standin_fail_nth", 1},
      {"the second part", 2, "standin_fail_nth", 2},
      {"the last of five parts", 5, "standin_fail_nth", 5},
      {"every part", 3, "standin_fail", 3},
      {"two of eight parts", 8, "standin_fail", 2},
  };
  for (const Case& c : cases) {
    SetSystem("thread_num", c.threads);
    for (int round = 0; round < repeats(20); ++round) {
      HTuple arm("standin_band");
      arm.Append(HTuple(6001));
      arm.Append(HTuple(c.countOrNth));
      SetSystem(c.control, arm);
      std::string named;
      const Hlong error = errorOf([&] {
        try {
          call.run(image);
        } catch (const HException& e) {
          named = e.ProcName().Text();
          throw;
        }
      });
      EXPECT_EQ(error, 6001) << c.name;
      EXPECT_EQ(named, "MeanImage") << c.name;
      HTuple pending;
      GetSystem("standin_fail", &pending);
      EXPECT_EQ(pending.Length(), 0) << c.name;
      EXPECT_EQ(call.run(image), reference) << c.name;
    }
  }
  SetSystem("standin_fail", HTuple());
}

// Without threads an operator cuts nothing into bands: a fault armed for a band stays pending.
TEST(PoolHandoff, OneThreadCutsNoBands) {
  SmallBands restored;
  const Size size{97, 37};
  std::vector<std::uint8_t> plane = randomPlane(size, 6);
  const HObject image = wrapGray(plane, size.width, size.height);
  HTuple arm("standin_band");
  arm.Append(HTuple(6001));
  for (const auto& [parameter, value] :
       {std::pair<const char*, HTuple>{"thread_num", HTuple(1)},
        std::pair<const char*, HTuple>{"parallelize_operators", HTuple("false")}}) {
    SetSystem("thread_num", 4);
    SetSystem(parameter, value);
    SetSystem("standin_fail", arm);
    EXPECT_EQ(errorOf([&] { calls()[0].run(image); }), 0) << parameter;
    HTuple pending;
    GetSystem("standin_fail", &pending);
    EXPECT_EQ(pending.Length(), 3) << parameter;
    SetSystem("standin_fail", HTuple());
    SetSystem("parallelize_operators", "true");
  }
}

// Callers on several threads at once, each with its own operator and image, while the pool
// works for one of them at a time: each gets what one thread gives.
TEST(PoolHandoff, CallersAtOnceGetWhatOneThreadGives) {
  SmallBands restored;
  const std::vector<Call> all = calls();
  const std::vector<Size> sizes = {{97, 37}, {61, 11}, {128, 9}};
  std::vector<std::vector<std::uint8_t>> planes;
  for (std::size_t i = 0; i < all.size(); ++i) planes.push_back(randomPlane(sizes[i], 21 + i));
  std::vector<HObject> images;
  std::vector<std::vector<Hlong>> reference;
  SetSystem("thread_num", 1);
  for (std::size_t i = 0; i < all.size(); ++i) {
    images.push_back(wrapGray(planes[i], sizes[i].width, sizes[i].height));
    reference.push_back(all[i].run(images[i]));
  }
  for (const Hlong threads : {2, 4}) {
    SetSystem("thread_num", threads);
    std::vector<int> different(all.size() * 2, 0);
    std::vector<std::thread> callers;
    for (std::size_t t = 0; t < different.size(); ++t) {
      callers.emplace_back([&, t] {
        const std::size_t which = t % all.size();
        for (int i = 0; i < repeats(300); ++i) {
          different[t] += all[which].run(images[which]) != reference[which];
        }
      });
    }
    for (auto& caller : callers) caller.join();
    for (std::size_t t = 0; t < different.size(); ++t) {
      EXPECT_EQ(different[t], 0) << labelOf(all[t % all.size()].name,
                                            "thread_num " + std::to_string(threads));
    }
  }
}

}  // namespace
