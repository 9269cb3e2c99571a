// Image, region and window operators reached from HDevelop procedures through the engine.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "hdevengine/HDevEngineCpp.h"
#include "standins/window_test_support.h"

namespace {

using namespace HalconCpp;
using namespace quorvex::test;
using HDevEngineCpp::HDevEngineException;
using HDevEngineCpp::HDevProcedure;
using HDevEngineCpp::HDevProcedureCall;

class IconicPrograms : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    const char* root = std::getenv("QUORVEX_TEST_DATA");
    const std::string folder = std::string(root ? root : "tests/data") + "/iconic";
    HDevEngineCpp::HDevEngine().AddProcedurePath(folder.c_str());
  }
};

TEST_F(IconicPrograms, ARegionPipelineFindsThePaintedRectangles) {
  SystemSizeRestored restored;
  HDevProcedure procedure("regions_pipeline");
  HDevProcedureCall call(procedure);
  call.SetInputCtrlParamTuple("Width", HTuple(16));
  call.SetInputCtrlParamTuple("Height", HTuple(8));
  call.Execute();
  EXPECT_EQ(call.GetOutputCtrlParamTuple("Number"), HTuple(2));
  EXPECT_EQ(call.GetOutputCtrlParamTuple("Area"), tuple({12, 6}));
  const HTuple rows = call.GetOutputCtrlParamTuple("Row");
  const HTuple cols = call.GetOutputCtrlParamTuple("Column");
  EXPECT_DOUBLE_EQ(rows[0].D(), 2.0);
  EXPECT_DOUBLE_EQ(cols[0].D(), 2.5);
  EXPECT_DOUBLE_EQ(rows[1].D(), 5.5);
  EXPECT_DOUBLE_EQ(cols[1].D(), 11.0);
  EXPECT_EQ(call.GetOutputCtrlParamTuple("Size"), tuple({16, 8}));
  HTuple classes;
  GetObjClass(call.GetOutputIconicParamObject("Regions"), &classes);
  EXPECT_EQ(classes, HTuple("region").Append(HTuple("region")));
}

TEST_F(IconicPrograms, ChannelsComposedFromOneImageShareItsPlane) {
  std::vector<std::uint8_t> pixels(4 * 2, 9);
  HObject image = wrapGray(pixels, 4, 2);
  HDevProcedureCall call{HDevProcedure("shared_channels")};
  call.SetInputIconicParamObject("Image", image);
  call.Execute();
  EXPECT_EQ(call.GetOutputCtrlParamTuple("Channels"), HTuple(3));
  EXPECT_EQ(call.GetOutputCtrlParamTuple("Values"), tuple({9, 9, 9, 77, 77, 77}));
  EXPECT_EQ(pixels[1], 77);  // the caller's memory, written by the program
  EXPECT_EQ(call.GetOutputCtrlParamTuple("Number"), HTuple(4));
  EXPECT_EQ(call.GetOutputCtrlParamTuple("Classes"), HTuple("image")
                                                         .Append(HTuple("region"))
                                                         .Append(HTuple("xld_cont"))
                                                         .Append(HTuple("xld_cont")));
}

TEST_F(IconicPrograms, AProgramDrawsDumpsAndSavesAWindow) {
  const Hlong windowsBefore = systemValue("standin_live_windows");
  const std::string name = ::testing::TempDir() + "quorvex_program_window";
  HDevProcedureCall call{HDevProcedure("draw_in_window")};
  call.SetInputCtrlParamTuple("FileName", HTuple(name.c_str()));
  call.Execute();
  EXPECT_EQ(call.GetOutputCtrlParamTuple("Extents"), tuple({10, 20, 8, 6}));
  EXPECT_EQ(call.GetOutputCtrlParamTuple("Part"), tuple({0, 0, 2, 3}));
  EXPECT_EQ(call.GetOutputCtrlParamTuple("Inside"), tuple({255, 0, 0}));
  EXPECT_EQ(call.GetOutputCtrlParamTuple("Outside"), tuple({0, 0, 0}));
  EXPECT_EQ(call.GetOutputCtrlParamTuple("FromFile"), tuple({255, 0, 0}));
  HTuple width;
  GetImageSize(call.GetOutputIconicParamObject("Dump"), &width, nullptr);
  EXPECT_EQ(width, HTuple(8));
  EXPECT_EQ(systemValue("standin_live_windows"), windowsBefore);
  HObject copy;
  ReadImage(&copy, (name + "_copy.png").c_str());
  EXPECT_EQ(pixel(copy, 3, 3), tuple({255, 0, 0}));
  std::remove((name + ".png").c_str());
  std::remove((name + "_copy.png").c_str());
}

TEST_F(IconicPrograms, AnOperatorErrorFailsTheProgramLineWithItsNumber) {
  HDevProcedureCall call{HDevProcedure("closed_window")};
  try {
    call.Execute();
    FAIL() << "expected the program to fail";
  } catch (const HDevEngineException& e) {
    EXPECT_EQ(e.HalconErrNum(), static_cast<HalconCpp::Herror>(H_ERR_WINDOW_HANDLE));
    EXPECT_EQ(e.ProgLineNum() > 0, true);
  }
}

}  // namespace
