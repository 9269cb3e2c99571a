// Programs written for cameras, run on images replayed from a folder: with
// QUORVEX_ACQUISITION_REPLAY set, every acquisition interface a program names is the 'File'
// interface over the folder; without it, a camera interface is not found.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "standins/engine_support.h"
#include "standins/iconic_test_support.h"
#include "support/environment.h"

namespace {

using HalconCpp::Hlong;
using HalconCpp::HObject;
using HalconCpp::HTuple;
using namespace quorvex::test;
namespace fs = std::filesystem;

const char* const kReplay = "QUORVEX_ACQUISITION_REPLAY";

// A camera's open_framegrabber as the acquisition assistant writes it: full resolution (0),
// progressive field, the camera's serial as the device, port 0.
std::string openCamera(const std::string& interfaceName, const std::string& rest = "") {
  return "open_framegrabber ('" + interfaceName +
         "', 0, 0, 0, 0, 0, 0, 'progressive', -1, 'default', -1, 'false', 'default', "
         "'00305312ABCD', 0, -1, AcqHandle)" +
         rest;
}

// The replay folder: a_first.png 4x3 of 10, b_second.bmp 5x3 of 20, c_third.png 6x2 of 30.
class CameraReplay : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = makeTempFolder("quorvex_replay_");
    ASSERT_FALSE(folder_.empty());
    writeThreeImages(folder_);
    replay(folder_);
  }
  void TearDown() override {
    HalconCpp::CloseAllFramegrabbers();
    setVariable(kReplay, nullptr);
    std::error_code error;
    fs::remove_all(folder_, error);
  }
  static void replay(const std::string& source) { setVariable(kReplay, source.c_str()); }

  std::string folder_;
};

// A typical GigE program: camera parameters set, the asynchronous grab started, a loop of
// grab_image_async without a delay limit, parameters read back. Five grabs of three images:
// the folder in name order, then around again as the File interface does with a folder.
TEST_F(CameraReplay, EveryCameraInterfaceGrabsTheFolderInOrderAndAroundAgain) {
  for (const char* name : {"GigEVision2", "GigEVision", "GenICamTL", "DirectShow", "USB3Vision",
                           "1394IIDC", "uEye", "pylon"}) {
    const HTuple result =
        runLines({openCamera(name),
                  "set_framegrabber_param (AcqHandle, 'ExposureTime', 5000.0)",
                  "set_framegrabber_param (AcqHandle, 'TriggerMode', 'Off')",
                  "set_framegrabber_param (AcqHandle, 'AcquisitionMode', 'Continuous')",
                  "set_framegrabber_param (AcqHandle, 'PixelFormat', 'Mono8')",
                  "set_framegrabber_param (AcqHandle, 'GainRaw', 12)",
                  "set_framegrabber_param (AcqHandle, 'grab_timeout', 2000)",
                  "grab_image_start (AcqHandle, -1)",
                  "Values := []",
                  "for I := 1 to 5 by 1",
                  "  grab_image_async (Image, AcqHandle, -1)",
                  "  get_grayval (Image, 0, 0, G)",
                  "  Values := [Values, G]",
                  "endfor",
                  "get_framegrabber_param (AcqHandle, 'ExposureTime', Exposure)",
                  "get_framegrabber_param (AcqHandle, 'TriggerMode', Trigger)",
                  "get_framegrabber_param (AcqHandle, 'grab_timeout', Timeout)",
                  "get_framegrabber_param (AcqHandle, 'image_width', Width)",
                  "close_framegrabber (AcqHandle)",
                  "R := [Values, Exposure, Trigger, Timeout, Width]"});
    EXPECT_EQ(text(result), "[10, 20, 30, 10, 20, 5000.0, 'Off', 2000, 5]") << name;
  }
}

// Without the variable (or with it empty) a camera interface is not found: 5302, "Image
// acquisition: interface not found" (open_framegrabber, info_framegrabber, HALCON 11.0
// reference, error 5302). The File interface needs no variable.
TEST_F(CameraReplay, WithoutTheVariableACameraInterfaceIsNotFound) {
  const std::pair<const char*, Lines> rows[] = {
      {nullptr, {openCamera("GigEVision2")}},
      {"", {openCamera("GigEVision2")}},
      {nullptr, {"info_framegrabber ('pylon', 'parameters', Information, R)"}},
  };
  for (const auto& [value, lines] : rows) {
    setVariable(kReplay, value);
    EXPECT_EQ(programError(lines), HalconCpp::H_ERR_ACQ_INTERFACE) << lines.front();
  }
  setVariable(kReplay, nullptr);
  EXPECT_EQ(text(runLines({"open_framegrabber ('File', 1, 1, 0, 0, 0, 0, 'default', -1, "
                           "'default', -1, 'false', In1, 'default', -1, -1, AcqHandle)",
                           "grab_image (Image, AcqHandle)", "get_grayval (Image, 0, 0, R)"},
                          {HTuple((folder_ + "/c_third.png").c_str())})),
            "30");
}

// Each row: lines after opening a replayed 'GigEVision2' camera, writing R. A parameter set
// is given back as set; one never set gives the File interface's answer, or its 5330.
TEST_F(CameraReplay, ParametersAreRememberedOrAnsweredAsTheFileInterface) {
  const std::string set = "set_framegrabber_param (AcqHandle, ",
                    get = "\nget_framegrabber_param (AcqHandle, ";
  const std::pair<std::string, const char*> rows[] = {
      {set + "'ExposureTime', 12000.5)" + get + "'ExposureTime', R)", "12000.5"},
      {set + "'UserOutputValue', [1, 0, 'x'])" + get + "'UserOutputValue', R)", "[1, 0, 'x']"},
      {set + "'GainRaw', 4)\n" + set + "'GainRaw', 7)" + get + "'GainRaw', R)", "7"},
      {get + "'name', R)", "'GigEVision2'"},
      {get + "'device', R)", "'00305312ABCD'"},
      {get + "'camera_type', R)", "'default'"},
      {get + "'field', R)", "'progressive'"},
      {get + "'grab_timeout', R)", "5000"},
      {set + "'external_trigger', 'true')" + get + "'external_trigger', R)", "'true'"},
      {"info_framegrabber ('GigEVision2', 'revision', Information, R)", "'11.0'"},
  };
  for (const auto& [lines, expected] : rows) {
    EXPECT_EQ(text(runLines(with({openCamera("GigEVision2")}, split(lines)))), expected) << lines;
  }
  const std::pair<const char*, long> errors[] = {
      {"get_framegrabber_param (AcqHandle, 'ExposureTime', R)", HalconCpp::H_ERR_ACQ_PARAM},
      {"set_framegrabber_param (AcqHandle, 'name', 'x')", HalconCpp::H_ERR_ACQ_PARAM},
      {"set_framegrabber_param (AcqHandle, 'grab_timeout', 'never')", HalconCpp::H_ERR_ACQ_VALUE},
  };
  for (const auto& [line, error] : errors) {
    EXPECT_EQ(programError({openCamera("GigEVision2"), line}), error) << line;
  }
}

// grab_data and grab_data_async (HALCON 11.0 reference): the image, and the preprocessed
// regions, contours and control data of an interface that delivers none: no region, no
// contour, no value. The grabs go on in the folder's order.
TEST_F(CameraReplay, GrabDataGivesTheImageAndNothingElse) {
  const std::pair<std::string, const char*> rows[] = {
      {openCamera("GigEVision2"), "[10, 4, 0, 0, 0, 20, 5, 0, 0, 0]"},
      {"open_framegrabber ('File', 1, 1, 0, 0, 0, 0, 'default', -1, 'default', -1, 'false', In1, "
       "'default', -1, -1, AcqHandle)",
       "[10, 4, 0, 0, 0, 20, 5, 0, 0, 0]"},
  };
  for (const auto& [open, expected] : rows) {
    const HTuple result =
        runLines({open, "grab_data (Image, Region, Contours, AcqHandle, Data)",
                  "get_grayval (Image, 0, 0, G1)", "get_image_size (Image, W1, H1)",
                  "count_obj (Region, R1)", "count_obj (Contours, C1)",
                  "grab_data_async (Image, Region, Contours, AcqHandle, -1, Data2)",
                  "get_grayval (Image, 0, 0, G2)", "get_image_size (Image, W2, H2)",
                  "count_obj (Region, R2)", "count_obj (Contours, C2)",
                  "R := [G1, W1, R1, C1, |Data|, G2, W2, R2, C2, |Data2|]"},
                 {HTuple(folder_.c_str())});
    EXPECT_EQ(text(result), expected) << open;
  }
}

// The variable may name a sequence file, one image a line, as the File interface reads it.
TEST_F(CameraReplay, ASequenceFileIsReplayedInItsOrder) {
  std::ofstream(folder_ + "/order.seq") << "c_third.png\nb_second.bmp\n";
  replay(folder_ + "/order.seq");
  EXPECT_EQ(text(runLines({openCamera("USB3Vision"), "Values := []", "for I := 1 to 3 by 1",
                           "  grab_image (Image, AcqHandle)", "  get_grayval (Image, 0, 0, G)",
                           "  Values := [Values, G]", "endfor", "R := Values"})),
            "[30, 20, 30]");
}

// The open arguments shape the replayed images as the File interface's: resolution 2 keeps
// every second pixel (4 x 3 gives 2 x 2), 'rgb' gives three channels; a colour space or bit
// depth the File interface lacks is refused by its parameter's number.
TEST_F(CameraReplay, OpenArgumentsShapeTheImagesAsTheFileInterface) {
  const std::pair<std::string, const char*> rows[] = {
      {"open_framegrabber ('GigEVision2', 2, 2, 0, 0, 0, 0, 'progressive', 8, 'rgb', -1, "
       "'true', 'default', 'cam', 0, -1, AcqHandle)",
       "[2, 2, 3]"},
      {openCamera("GigEVision2"), "[4, 3, 1]"},
  };
  for (const auto& [open, expected] : rows) {
    EXPECT_EQ(text(runLines({open, "grab_image (Image, AcqHandle)", "get_image_size (Image, W, H)",
                             "count_channels (Image, C)", "R := [W, H, C]"})),
              expected)
        << open;
  }
  const std::string open = "open_framegrabber ('GigEVision2', 0, 0, 0, 0, 0, 0, 'progressive', ";
  const std::string rest = ", -1, 'false', 'default', 'cam', 0, -1, AcqHandle)";
  expectErrors({{(open + "12, 'default'" + rest).c_str(), 1309},
                {(open + "-1, 'yuv'" + rest).c_str(), 1310}},
               true);
}

// A replay source that does not exist, or holds no image, is the File interface's 5200 ("file
// not found") at open_framegrabber.
TEST_F(CameraReplay, AMissingOrEmptySourceFailsAtOpen) {
  fs::create_directories(folder_ + "/empty");
  std::ofstream(folder_ + "/empty/notes.txt") << "not an image";
  for (const std::string& source :
       {folder_ + "/absent", folder_ + "/empty", folder_ + "/absent.seq"}) {
    replay(source);
    EXPECT_EQ(programError({openCamera("GigEVision2")}), HalconCpp::H_ERR_FILE_NOT_FOUND) << source;
  }
}

}  // namespace
