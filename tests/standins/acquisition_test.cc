// The 'File' image acquisition interface as an acquisition loop in a program meets it: a
// folder of three images of different sizes and grey values, grabbed in name order, around
// again at the end, or an error there once 'do_loop' is off.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "standins/engine_support.h"

namespace {

using HalconCpp::Hlong;
using HalconCpp::HObject;
using HalconCpp::HTuple;
using namespace quorvex::test;

const std::string kOpen =
    "open_framegrabber ('File', 1, 1, 0, 0, 0, 0, 'default', -1, 'default', -1, 'false', In1, "
    "'default', -1, -1, AcqHandle)";

HObject flatImage(Hlong width, Hlong height, Hlong value) {
  HObject blank, all, flat;
  HalconCpp::GenImageConst(&blank, "byte", width, height);
  HalconCpp::GenRectangle1(&all, 0, 0, height - 1, width - 1);
  HalconCpp::PaintRegion(all, blank, &flat, value, "fill");
  return flat;
}

// a_first.png 4x3 of 10, b_second.bmp 5x3 of 20, c_third.png 6x2 of 30, and a text file
// that is no image; sub/ holds d_fourth.png 2x2 of 40.
class FileAcquisition : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = makeTempFolder("quorvex_acquisition_");
    ASSERT_FALSE(folder_.empty());
    HalconCpp::WriteImage(flatImage(4, 3, 10), "png", 0, (folder_ + "/a_first").c_str());
    HalconCpp::WriteImage(flatImage(5, 3, 20), "bmp", 0, (folder_ + "/b_second").c_str());
    HalconCpp::WriteImage(flatImage(6, 2, 30), "png", 0, (folder_ + "/c_third").c_str());
    std::ofstream(folder_ + "/notes.txt") << "not an image";
    HalconCpp::SetSystem("init_new_image", "true");
  }
  void TearDown() override { HalconCpp::CloseAllFramegrabbers(); }

  std::string folder_;
};

// Grabs N images and gives [width at open, grey values..., widths..., name].
Lines grabLoop(int count, const std::string& grab = "grab_image (Image, AcqHandle)") {
  return {kOpen,
          "get_framegrabber_param (AcqHandle, 'image_width', W0)",
          "Values := []",
          "Widths := []",
          "for I := 1 to " + std::to_string(count) + " by 1",
          "  " + grab,
          "  get_grayval (Image, 0, 0, G)",
          "  get_image_size (Image, W, H)",
          "  Values := [Values, G]",
          "  Widths := [Widths, W]",
          "endfor",
          "get_framegrabber_param (AcqHandle, ['name'], Name)",
          "close_framegrabber (AcqHandle)",
          "R := [W0, Values, Widths, Name]"};
}

TEST_F(FileAcquisition, AFolderIsGrabbedInNameOrderAndAroundAgain) {
  EXPECT_EQ(text(runLines(grabLoop(4), {HTuple(folder_.c_str())})),
            "[4, 10, 20, 30, 10, 4, 5, 6, 4, 'File']");
}

TEST_F(FileAcquisition, AsynchronousGrabsComeInTheSameOrder) {
  Lines lines = grabLoop(3, "grab_image_async (Image, AcqHandle, -1)");
  lines.insert(lines.begin() + 1, "grab_image_start (AcqHandle, -1)");
  EXPECT_EQ(text(runLines(lines, {HTuple(folder_.c_str())})), "[4, 10, 20, 30, 4, 5, 6, 'File']");
}

// Paths relative to the sequence file's folder; a single image file is grabbed every time.
TEST_F(FileAcquisition, SequenceFilesAndSingleImages) {
  std::ofstream(folder_ + "/order.seq") << "c_third.png\n\n" << folder_ << "/a_first.png\r\n";
  EXPECT_EQ(text(runLines(grabLoop(3), {HTuple((folder_ + "/order.seq").c_str())})),
            "[6, 30, 10, 30, 6, 4, 6, 'File']");
  EXPECT_EQ(text(runLines(grabLoop(2), {HTuple((folder_ + "/b_second").c_str())})),
            "[5, 20, 20, 5, 5, 'File']");
}

TEST_F(FileAcquisition, WithoutLoopingAGrabPastTheLastImageFails) {
  Lines lines = grabLoop(4);
  lines.insert(lines.begin() + 1, "set_framegrabber_param (AcqHandle, 'do_loop', 'false')");
  EXPECT_EQ(programError(lines, {HTuple(folder_.c_str())}), HalconCpp::H_ERR_ACQ_GRAB);
  EXPECT_EQ(runLines({kOpen, "get_framegrabber_param (AcqHandle, 'do_loop', R)"},
                     {HTuple(folder_.c_str())}),
            HTuple("true"));
}

// Resolution 2 keeps every second pixel, the part starts at column 1, 'gray' weighs the
// colour channels .299, .587, .114: (100, 150, 200) gives 141.
TEST_F(FileAcquisition, OpenParametersShapeTheImages) {
  HObject red = flatImage(9, 6, 100), green = flatImage(9, 6, 150), blue = flatImage(9, 6, 200);
  HObject rgb;
  HalconCpp::Compose3(red, green, blue, &rgb);
  HalconCpp::WriteImage(rgb, "png", 0, (folder_ + "/colour").c_str());
  const HTuple result = runLines(
      {"open_framegrabber ('File', 2, 2, 0, 0, 1, 1, 'default', 8, 'gray', -1, 'false', In1, "
       "'default', -1, -1, AcqHandle)",
       "grab_image (Image, AcqHandle)", "get_image_size (Image, W, H)", "count_channels (Image, C)",
       "get_grayval (Image, 0, 0, G)", "get_framegrabber_param (AcqHandle, 'image_height', FH)",
       "R := [W, H, C, G, FH]"},
      {HTuple((folder_ + "/colour.png").c_str())});
  EXPECT_EQ(result, HTuple(4).Append(2).Append(1).Append(141).Append(2));
}

// Each row: program lines after opening the folder, and the error they raise.
TEST_F(FileAcquisition, WrongUseRaisesTheInterfacesErrors) {
  const std::pair<Lines, long> rows[] = {
      {{"get_framegrabber_param (AcqHandle, 'gain', R)"}, HalconCpp::H_ERR_ACQ_PARAM},
      {{"set_framegrabber_param (AcqHandle, 'name', 'x')"}, HalconCpp::H_ERR_ACQ_PARAM},
      {{"set_framegrabber_param (AcqHandle, 'do_loop', 'sometimes')"}, HalconCpp::H_ERR_ACQ_VALUE},
      {{"close_framegrabber (AcqHandle)", "grab_image (Image, AcqHandle)"},
       HalconCpp::H_ERR_ACQ_HANDLE},
      {{"close_all_framegrabbers ()", "close_framegrabber (AcqHandle)"},
       HalconCpp::H_ERR_ACQ_HANDLE},
  };
  for (const auto& [lines, error] : rows) {
    Lines program{kOpen};
    program.insert(program.end(), lines.begin(), lines.end());
    EXPECT_EQ(programError(program, {HTuple(folder_.c_str())}), error) << lines.back();
  }
  const std::pair<std::string, long> opens[] = {
      {folder_ + "/absent", 5200},
      {folder_ + "/notes.txt", 5202},
  };
  for (const auto& [cameraType, error] : opens) {
    EXPECT_EQ(programError({kOpen}, {HTuple(cameraType.c_str())}), error) << cameraType;
  }
  EXPECT_EQ(programError({"open_framegrabber ('GigEVision', 1, 1, 0, 0, 0, 0, 'default', -1, "
                          "'default', -1, 'false', 'default', 'default', -1, -1, AcqHandle)"}),
            HalconCpp::H_ERR_ACQ_INTERFACE);
}

TEST(FileAcquisitionInfo, TheInterfaceDescribesItself) {
  const HTuple defaults = runLines({"info_framegrabber ('File', 'defaults', Information, R)"});
  EXPECT_EQ(defaults.Length(), 15);
  const HTuple parameters =
      runLines({"info_framegrabber ('File', 'parameters', Information, Values)",
                "info_framegrabber ('File', 'color_space', Information, Spaces)",
                "R := [|Values|, Spaces]"});
  EXPECT_EQ(parameters, HTuple(20).Append("default").Append("gray").Append("rgb"));
  EXPECT_EQ(programError({"info_framegrabber ('File', 'colour', Information, R)"}), 1302);
}

}  // namespace
