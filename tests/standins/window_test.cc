// Stand-in windows: handles, extents, parts, settings, dumps, the call log and faults.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "standins/window_test_support.h"

namespace {

using namespace HalconCpp;
using namespace quorvex::test;

TEST(Windows, OpenGivesUniqueHandlesFullPartAndABlackFramebuffer) {
  TestWindow a(10, 20, 8, 6), b(0, 0, 4, 4);
  EXPECT_EQ(a.handle.Length(), 1);
  EXPECT_EQ(a.handle[0].Type(), eElementTypeLong);
  EXPECT_GE(a.handle[0].L(), 3600);
  EXPECT_NE(a.handle, b.handle);
  HTuple row, col, width, height;
  GetWindowExtents(a.handle, &row, &col, &width, &height);
  EXPECT_EQ(row, HTuple(10));
  EXPECT_EQ(col, HTuple(20));
  EXPECT_EQ(width, HTuple(8));
  EXPECT_EQ(height, HTuple(6));
  EXPECT_EQ(a.part(), tuple({0, 0, 5, 7}));
  EXPECT_EQ(a.part()[2].Type(), eElementTypeLong);
  HObject dump = a.dump();
  HTuple channels;
  CountChannels(dump, &channels);
  EXPECT_EQ(channels, HTuple(3));
  EXPECT_EQ(pixel(dump, 5, 7), tuple({0, 0, 0}));
}

TEST(Windows, OpenValidatesEveryParameter) {
  HTuple handle;
  const auto open = [&](HTuple row, HTuple col, HTuple w, HTuple h, HTuple father, HTuple mode,
                        HTuple machine) {
    return errorOf([&] { OpenWindow(row, col, w, h, father, mode, machine, &handle); });
  };
  EXPECT_EQ(open("top", 0, 4, 4, 0, "visible", ""), 1201);
  EXPECT_EQ(open(0, 0, 0.4, 4, 0, "visible", ""), 1303) << "reals round to whole pixels";
  EXPECT_EQ(open(0, tuple({0, 1}), 4, 4, 0, "visible", ""), 1402);
  EXPECT_EQ(open(0, 0, 0, 4, 0, "visible", ""), 1303);
  EXPECT_EQ(open(0, 0, 4, 9000, 0, "visible", ""), 1304);
  EXPECT_EQ(open(0, 0, 4, 4, 3600, "visible", ""), 1305);
  EXPECT_EQ(open(0, 0, 4, 4, 0, "fullscreen", ""), 1306);
  EXPECT_EQ(open(0, 0, 4, 4, 0, "visible", "host:0"), 1307);
  EXPECT_EQ(open(0, 0, 4, 4, 0, "visible", 0), 1207);
}

TEST(Windows, EveryOperationOnAClosedOrUnknownHandleRaises5100) {
  HTuple closed;
  {
    TestWindow window(0, 0, 4, 4);
    closed = window.handle;
  }
  HObject image, region;
  GenImageConst(&image, "byte", 2, 2);
  HTuple a, b, c, d;
  const std::vector<std::function<void(const HTuple&)>> operations = {
      [&](const HTuple& h) { CloseWindow(h); },
      [&](const HTuple& h) { ClearWindow(h); },
      [&](const HTuple& h) { SetWindowParam(h, "background_color", "red"); },
      [&](const HTuple& h) { SetWindowExtents(h, 0, 0, 4, 4); },
      [&](const HTuple& h) { GetWindowExtents(h, &a, &b, &c, &d); },
      [&](const HTuple& h) { GetOsWindowHandle(h, &a, &b); },
      [&](const HTuple& h) { SetPart(h, 0, 0, 1, 1); },
      [&](const HTuple& h) { GetPart(h, &a, &b, &c, &d); },
      [&](const HTuple& h) { DispObj(image, h); },
      [&](const HTuple& h) { DumpWindowImage(&region, h); },
      [&](const HTuple& h) { DumpWindow(h, "png", "unused"); },
      [&](const HTuple& h) { SetDraw(h, "fill"); },
      [&](const HTuple& h) { SetShape(h, "original"); },
      [&](const HTuple& h) { SetColored(h, 3); },
      [&](const HTuple& h) { SetColor(h, "red"); },
      [&](const HTuple& h) { SetLut(h, "default"); },
      [&](const HTuple& h) { SetPaint(h, "default"); },
      [&](const HTuple& h) { SetLineWidth(h, 1); },
  };
  for (std::size_t i = 0; i < operations.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(errorOf([&] { operations[i](closed); }), H_ERR_WINDOW_HANDLE);
    EXPECT_EQ(errorOf([&] { operations[i](HTuple(123456)); }), H_ERR_WINDOW_HANDLE);
    EXPECT_EQ(errorOf([&] { operations[i](HTuple("3600")); }), 1201);
    EXPECT_EQ(errorOf([&] { operations[i](HTuple()); }), 1401);
  }
  try {
    ClearWindow(closed);
  } catch (const HException& e) {
    EXPECT_STREQ(e.ErrorMessage().Text(),
                 "HALCON error #5100: Invalid window handle in operator clear_window");
  }
}

TEST(Windows, BackgroundColourShowsFromTheNextClear) {
  TestWindow window(0, 0, 3, 3);
  SetWindowParam(window.handle, "background_color", "blue");
  EXPECT_EQ(pixel(window.dump(), 1, 1), tuple({0, 0, 0}));
  ClearWindow(window.handle);
  EXPECT_EQ(pixel(window.dump(), 1, 1), tuple({0, 0, 255}));
  SetWindowParam(window.handle, "background_color", "#102030");
  ClearWindow(window.handle);
  EXPECT_EQ(pixel(window.dump(), 2, 2), tuple({16, 32, 48}));
  EXPECT_EQ(errorOf([&] { SetWindowParam(window.handle, "background_color", "sky"); }), 1303);
  EXPECT_EQ(errorOf([&] { SetWindowParam(window.handle, "background_color", "#12345"); }), 1303);
  EXPECT_EQ(errorOf([&] { SetWindowParam(window.handle, "foreground", "red"); }), 1302);
}

TEST(Windows, ResizeKeepsTheTopLeftFillsTheRestAndKeepsThePart) {
  TestWindow window(0, 0, 4, 3);
  SetWindowParam(window.handle, "background_color", "green");
  SetColor(window.handle, "red");
  HObject region;
  GenRectangle1(&region, 0, 0, 2, 3);
  DispObj(region, window.handle);  // the whole window red
  SetWindowExtents(window.handle, 5, 6, 6, 2);
  HTuple row, col, width, height;
  GetWindowExtents(window.handle, &row, &col, &width, &height);
  EXPECT_EQ(tuple({row.L(), col.L(), width.L(), height.L()}), tuple({5, 6, 6, 2}));
  EXPECT_EQ(window.part(), tuple({0, 0, 2, 3}));
  HObject dump = window.dump();
  HTuple w, h;
  GetImageSize(dump, &w, &h);
  EXPECT_EQ(w, HTuple(6));
  EXPECT_EQ(h, HTuple(2));
  EXPECT_EQ(pixel(dump, 1, 3), tuple({255, 0, 0}));
  EXPECT_EQ(pixel(dump, 0, 4), tuple({0, 255, 0}));
  EXPECT_EQ(pixel(dump, 1, 5), tuple({0, 255, 0}));
  EXPECT_EQ(errorOf([&] { SetWindowExtents(window.handle, 0, 0, 0, 4); }), 1304);
  EXPECT_EQ(errorOf([&] { SetWindowExtents(window.handle, "row", 0, 4, 4); }), 1202);
}

TEST(Windows, PartKeepsTheKindsOfItsValues) {
  TestWindow window(0, 0, 8, 8);
  SetPart(window.handle, 0.5, 1, 10.25, 20);
  HTuple r1, c1, r2, c2;
  GetPart(window.handle, &r1, &c1, &r2, &c2);
  EXPECT_EQ(r1[0].Type(), eElementTypeDouble);
  EXPECT_EQ(c1[0].Type(), eElementTypeLong);
  EXPECT_DOUBLE_EQ(r2.D(), 10.25);
  EXPECT_EQ(c2, HTuple(20));
  GetPart(window.handle, nullptr, nullptr, &r2, nullptr);
  EXPECT_DOUBLE_EQ(r2.D(), 10.25);
  EXPECT_EQ(errorOf([&] { SetPart(window.handle, 5, 0, 4, 1); }), 1304);
  EXPECT_EQ(errorOf([&] { SetPart(window.handle, 0, 5, 4, 1); }), 1305);
  EXPECT_EQ(errorOf([&] { SetPart(window.handle, "a", 0, 4, 4); }), 1202);
  EXPECT_EQ(errorOf([&] { SetPart(window.handle, 0, 0, tuple({4, 4}), 4); }), 1404);
}

// Each setting: a valid value, and its wrong kind, wrong value and wrong count.
struct SettingCase {
  const char* name;
  std::function<void(const HTuple&, const HTuple&)> set;
  HTuple valid;
  HTuple wrongKind;
  HTuple wrongValue;
};

TEST(WindowSettings, EachValidatesItsValueWithTheVendorNumbers) {
  TestWindow window(0, 0, 4, 4);
  const std::vector<SettingCase> cases = {
      {"SetDraw", [](auto& h, auto& v) { SetDraw(h, v); }, "margin", 1, "dotted"},
      {"SetShape", [](auto& h, auto& v) { SetShape(h, v); }, "rectangle2", 1, "star"},
      {"SetColored", [](auto& h, auto& v) { SetColored(h, v); }, 12, 3.0, 4},
      {"SetColor", [](auto& h, auto& v) { SetColor(h, v); }, "medium slate blue", 255, "mauve"},
      {"SetLut", [](auto& h, auto& v) { SetLut(h, v); }, "inverse", 0, "sepia"},
      {"SetPaint", [](auto& h, auto& v) { SetPaint(h, v); }, HTuple("3d_plot").Append(HTuple(5)), 7,
       "fancy"},
      {"SetLineWidth", [](auto& h, auto& v) { SetLineWidth(h, v); }, 3, 2.5, 0},
  };
  for (const SettingCase& setting : cases) {
    SCOPED_TRACE(setting.name);
    EXPECT_EQ(errorOf([&] { setting.set(window.handle, setting.valid); }), 0);
    EXPECT_EQ(errorOf([&] { setting.set(window.handle, setting.wrongKind); }), 1202);
    EXPECT_EQ(errorOf([&] { setting.set(window.handle, setting.wrongValue); }), 1302);
    EXPECT_EQ(errorOf([&] { setting.set(window.handle, HTuple()); }), 1402);
  }
  // Two values: one too many for the single-valued settings; SetColor and SetPaint take more.
  EXPECT_EQ(errorOf([&] { SetDraw(window.handle, HTuple("fill").Append(HTuple("fill"))); }), 1402);
  EXPECT_EQ(errorOf([&] { SetLineWidth(window.handle, tuple({1, 2})); }), 1402);
  EXPECT_EQ(errorOf([&] { SetColor(window.handle, HTuple("red").Append(HTuple("#00ff00"))); }), 0);
  EXPECT_EQ(errorOf([&] { SetColor(window.handle, HTuple("red").Append(HTuple(3))); }), 1202);
  for (const char* shape :
       {"original", "outer_circle", "inner_circle", "rectangle1", "ellipse", "convex", "icon"}) {
    EXPECT_EQ(errorOf([&] { SetShape(window.handle, shape); }), 0) << shape;
  }
  for (const char* color : {"black",
                            "white",
                            "red",
                            "green",
                            "blue",
                            "dim gray",
                            "gray",
                            "light gray",
                            "cyan",
                            "magenta",
                            "yellow",
                            "coral",
                            "slate blue",
                            "spring green",
                            "orange red",
                            "orange",
                            "dark olive green",
                            "pink",
                            "cadet blue",
                            "goldenrod",
                            "forest green",
                            "khaki",
                            "indian red",
                            "firebrick"}) {
    EXPECT_EQ(errorOf([&] { SetColor(window.handle, color); }), 0) << color;
  }
}

TEST(WindowDumps, ChannelCountFollowsTheControl) {
  struct Restore {
    ~Restore() { SetSystem("standin_dump_channels", 3); }
  } restore;
  TestWindow window(0, 0, 3, 2);
  SetWindowParam(window.handle, "background_color", "#0a141e");
  ClearWindow(window.handle);
  const Hlong expected[][4] = {
      {-1, -1, -1, -1}, {10, -1, -1, -1}, {10, 20, -1, -1}, {10, 20, 30, -1}, {10, 20, 30, 255}};
  for (Hlong channels = 0; channels <= 4; ++channels) {
    SCOPED_TRACE(channels);
    SetSystem("standin_dump_channels", channels);
    HTuple value;
    GetSystem("standin_dump_channels", &value);
    EXPECT_EQ(value, HTuple(channels));
    HObject dump = window.dump();
    HTuple count, width, height;
    CountChannels(dump, &count);
    GetImageSize(dump, &width, &height);
    EXPECT_EQ(count, HTuple(channels));
    EXPECT_EQ(width, HTuple(3));
    EXPECT_EQ(height, HTuple(2));
    if (channels == 0) continue;
    HTuple values;
    GetGrayval(dump, 1, 2, &values);
    HTuple want;
    for (Hlong c = 0; c < channels; ++c) want.Append(HTuple(expected[channels][c]));
    EXPECT_EQ(values, want);
  }
  EXPECT_EQ(errorOf([&] { SetSystem("standin_dump_channels", 5); }), 1302);
  EXPECT_EQ(errorOf([&] { SetSystem("standin_dump_channels", "3"); }), 1202);
}

TEST(WindowDumps, DumpIsAnIndependentCopyAndRaisesTheSystemSize) {
  SystemSizeRestored restored;
  SetSystem("width", 64);
  TestWindow window(0, 0, 100, 10);
  HObject dump = window.dump();
  EXPECT_EQ(systemValue("width"), 100);
  SetColor(window.handle, "white");
  HObject region;
  GenRectangle1(&region, 0, 0, 9, 99);
  DispObj(region, window.handle);
  EXPECT_EQ(pixel(dump, 0, 0), tuple({0, 0, 0}));  // taken before the drawing
}

TEST(WindowDumps, DumpWindowWritesTheFramebufferAsPng) {
  TestWindow window(0, 0, 5, 4);
  SetColor(window.handle, "orange");
  HObject region, back;
  GenRectangle1(&region, 1, 1, 2, 3);
  DispObj(region, window.handle);
  const std::string name = ::testing::TempDir() + "quorvex_window_dump";
  DumpWindow(window.handle, "png", name.c_str());
  ReadImage(&back, (name + ".png").c_str());
  EXPECT_EQ(pixel(back, 2, 3), tuple({255, 165, 0}));
  EXPECT_EQ(pixel(back, 0, 0), tuple({0, 0, 0}));
  std::remove((name + ".png").c_str());
  EXPECT_EQ(errorOf([&] { DumpWindow(window.handle, "bmp", name.c_str()); }), 1302);
  EXPECT_EQ(errorOf([&] { DumpWindow(window.handle, "png", "/no/such/folder/dump"); }),
            H_ERR_FILE_WRITE);
}

TEST(WindowCallLog, RecordsWindowOperationsWithTheirArgumentsWhileStarted) {
  struct Stop {
    ~Stop() {
      SetSystem("standin_call_log", "stop");
      SetSystem("standin_call_log", "clear");
    }
  } stop;
  TestWindow window(0, 0, 4, 4);
  const std::string h = std::to_string(window.handle.L());
  SetColor(window.handle, "red");  // before start: not recorded
  SetSystem("standin_call_log", "clear");
  SetSystem("standin_call_log", "start");
  SetColor(window.handle, "green");
  HObject regions;
  GenRectangle1(&regions, tuple({0, 1}), tuple({0, 1}), tuple({1, 2}), tuple({1, 2}));
  DispObj(regions, window.handle);
  SetPart(window.handle, 0, 0.5, 3, 3);
  errorOf([&] { SetLineWidth(window.handle, 0); });  // failed calls are recorded too
  SetSystem("standin_call_log", "stop");
  SetColor(window.handle, "blue");
  HTuple log;
  GetSystem("standin_call_log", &log);
  ASSERT_EQ(log.Length(), 4);
  EXPECT_EQ(log[0].S().str(), "SetColor(" + h + ", 'green')");
  EXPECT_EQ(log[1].S().str(), "DispObj(<region, region>, " + h + ")");
  EXPECT_EQ(log[2].S().str(), "SetPart(" + h + ", 0, 0.5, 3, 3)");
  EXPECT_EQ(log[3].S().str(), "SetLineWidth(" + h + ", 0)");
  EXPECT_EQ(errorOf([&] { SetSystem("standin_call_log", "pause"); }), 1302);
}

TEST(WindowFaults, InjectedFaultsStopDrawingAndDumping) {
  FaultsCleared cleared;
  TestWindow window(0, 0, 2, 2);
  HObject region, dump;
  GenRectangle1(&region, 0, 0, 1, 1);
  armFault("DispObj", 9999);
  EXPECT_EQ(errorOf([&] { DispObj(region, window.handle); }), 9999);
  EXPECT_EQ(pixel(window.dump(), 0, 0), tuple({0, 0, 0}));  // nothing was drawn
  armFault("DumpWindowImage", 5678);
  EXPECT_EQ(errorOf([&] { DumpWindowImage(&dump, window.handle); }), 5678);
  EXPECT_EQ(errorOf([&] { DumpWindowImage(&dump, window.handle); }), 0);
  armFault("OpenWindow", 9999);
  EXPECT_EQ(errorOf([&] { TestWindow failing(0, 0, 2, 2); }), 9999);
}

}  // namespace
