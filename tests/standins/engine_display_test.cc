// dev_* lines reach the registered display implementation: with their arguments, outside any
// engine lock, and as calls from outside the stand-ins.
#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

#include "api/standin_control.h"
#include "engine_support.h"

namespace quorvex::test {
namespace {

using HDevEngineCpp::HDevEngine;
using HDevEngineCpp::HDevProcedure;
using HDevEngineCpp::HDevProcedureCall;

// Writes down every call; DevSetLut fails with `lutResult` when it is not 2.
class RecordingImpl : public HDevEngineCpp::HDevOperatorImplCpp {
 public:
  int DevOpenWindow(const HTuple& row, const HTuple& col, const HTuple& width, const HTuple& height,
                    const HTuple& background, HTuple* win_id) override {
    note("open " + text(row) + " " + text(col) + " " + text(width) + " " + text(height) + " " +
         text(background));
    *win_id = HTuple(7);
    return 2;
  }
  int DevCloseWindow() override { return note("close"); }
  int DevClearWindow() override { return note("clear"); }
  int DevSetWindow(const HTuple& win_id) override { return note("window " + text(win_id)); }
  int DevGetWindow(HTuple* win_id) override {
    *win_id = HTuple(7);
    return note("get_window");
  }
  int DevDisplay(const HalconCpp::HObject& obj) override {
    return note("display " + std::to_string(obj.IsInitialized() ? obj.CountObj() : -1));
  }
  int DevSetWindowExtents(const HTuple& row, const HTuple& col, const HTuple& width,
                          const HTuple& height) override {
    return note("extents " + text(row) + " " + text(col) + " " + text(width) + " " + text(height));
  }
  int DevSetDraw(const HTuple& draw) override { return note("draw " + text(draw)); }
  int DevSetShape(const HTuple& shape) override { return note("shape " + text(shape)); }
  int DevSetColored(const HTuple& colored) override { return note("colored " + text(colored)); }
  int DevSetColor(const HTuple& color) override { return note("color " + text(color)); }
  int DevSetLut(const HTuple& lut) override {
    note("lut " + text(lut));
    return lutResult;
  }
  int DevSetPaint(const HTuple& paint) override { return note("paint " + text(paint)); }
  int DevSetPart(const HTuple& row1, const HTuple& col1, const HTuple& row2,
                 const HTuple& col2) override {
    return note("part " + text(row1) + " " + text(col1) + " " + text(row2) + " " + text(col2));
  }
  int DevSetLineWidth(const HTuple& width) override { return note("line_width " + text(width)); }

  std::vector<std::string> calls() {
    std::lock_guard<std::mutex> lock(mutex_);
    return calls_;
  }
  void clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    calls_.clear();
  }

  int lutResult = 2;

 private:
  int note(const std::string& call) {
    std::lock_guard<std::mutex> lock(mutex_);
    calls_.push_back(call);
    return 2;
  }

  std::mutex mutex_;
  std::vector<std::string> calls_;  // guarded by mutex_
};

// The engine keeps every implementation for good, so the test's one lives for good too.
RecordingImpl& recorder() {
  static RecordingImpl* impl = new RecordingImpl;
  impl->lutResult = 2;
  impl->clear();
  return *impl;
}

struct NoDisplay {
  ~NoDisplay() { HDevEngine().SetHDevOperatorImpl(nullptr); }
};

HDevProcedureCall showImageCall() {
  useBundledProcedures();
  HDevProcedureCall call{HDevProcedure("show_image")};
  HalconCpp::HObject image;
  HalconCpp::GenEmptyObj(&image);
  call.SetInputIconicParamObject("Image", image);
  call.SetInputCtrlParamTuple(1, HTuple("red"));
  return call;
}

TEST(EngineDisplay, EveryDevOperatorReachesTheImplementation) {
  NoDisplay restore;
  RecordingImpl& impl = recorder();
  HDevEngine().SetHDevOperatorImpl(&impl, false);
  HDevProcedureCall call = showImageCall();
  call.Execute();
  const std::vector<std::string> expected = {"open 10 20 640 480 'black'",
                                             "window 7",
                                             "extents 0 0 320 240",
                                             "part 0 0 99 199",
                                             "draw 'margin'",
                                             "shape 'rectangle1'",
                                             "colored 6",
                                             "color 'red'",
                                             "lut 'default'",
                                             "paint 'default'",
                                             "line_width 3",
                                             "clear",
                                             "display 0",
                                             "get_window",
                                             "close"};
  EXPECT_EQ(impl.calls(), expected);
  EXPECT_EQ(text(call.GetOutputCtrlParamTuple("Window")), "7");
}

TEST(EngineDisplay, AResultOtherThanTwoFailsTheLine) {
  NoDisplay restore;
  RecordingImpl& impl = recorder();
  impl.lutResult = 5678;
  HDevEngine().SetHDevOperatorImpl(&impl);
  HDevProcedureCall call = showImageCall();
  const HDevEngineException e = engineErrorOf([&] { call.Execute(); });
  EXPECT_EQ(e.HalconErrNum(), 5678u);
  EXPECT_STREQ(e.ProgLineName(), "dev_set_lut");
  EXPECT_EQ(e.ProgLineNum(), 9);
  EXPECT_STREQ(e.ExecProcedureName(), "show_image");
  EXPECT_EQ(impl.calls().back(), "lut 'default'") << "nothing ran after the failing line";
}

TEST(EngineDisplay, TheNewestImplementationIsUsedAndNoneMeansNothingHappens) {
  NoDisplay restore;
  RecordingImpl& impl = recorder();
  static auto* base = new HDevEngineCpp::HDevOperatorImplCpp;
  HDevEngine().SetHDevOperatorImpl(&impl);
  HDevEngine().SetHDevOperatorImpl(base);
  HDevProcedureCall call = showImageCall();
  call.Execute();
  EXPECT_TRUE(impl.calls().empty());
  EXPECT_EQ(text(call.GetOutputCtrlParamTuple("Window")), "[]") << "the base sets no window";
  HDevEngine().SetHDevOperatorImpl(nullptr);
  call.Execute();
  EXPECT_TRUE(impl.calls().empty());
}

}  // namespace
}  // namespace quorvex::test
