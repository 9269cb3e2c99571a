// The table of the vendor's operators (standins/hdevengine/data/operators.txt) as the engine
// uses it: every line is an operator the engine knows, implemented operators agree with it,
// and a program calling an operator the stand-in lacks loads and fails only at that line.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "engine_support.h"

namespace quorvex::test {
namespace {

constexpr unsigned kNotImplemented = 21035;
constexpr unsigned kArgumentCount = 21012;
constexpr unsigned kVariableKind = 21015;
constexpr unsigned kUnknownCall = 21011;

// The lines of a file of standins/hdevengine/data/, comments and blank lines left out.
std::vector<std::string> dataLines(const std::string& file_name) {
  const char* data = std::getenv("QUORVEX_TEST_DATA");
  const std::string path =
      std::string(data ? data : "tests/data") + "/../../standins/hdevengine/data/" + file_name;
  std::ifstream file(path);
  if (!file) ADD_FAILURE() << "cannot read " << path;
  std::vector<std::string> result;
  for (std::string line; std::getline(file, line);) {
    const auto first = line.find_first_not_of(" \t\r");
    if (first != std::string::npos && line[first] != '#') result.push_back(line.substr(first));
  }
  return result;
}

const std::vector<std::string>& tableLines() {
  static const std::vector<std::string> lines = dataLines("operators.txt");
  return lines;
}

std::string nameOf(const std::string& line) {
  return line.substr(0, line.find_first_of(" ("));
}

struct Listed {
  std::string signature;
  std::string status;
};

// get_system ('standin_operators'): name, signature, status for each operator.
const std::map<std::string, Listed>& listing() {
  static const std::map<std::string, Listed> rows = [] {
    HTuple value;
    HalconCpp::GetSystem("standin_operators", &value);
    std::map<std::string, Listed> result;
    for (HalconCpp::Hlong i = 0; i + 2 < value.Length(); i += 3) {
      result[value[i].S().Text()] = {value[i + 1].S().Text(), value[i + 2].S().Text()};
    }
    return result;
  }();
  return rows;
}

TEST(OperatorTable, NoOperatorTwice) {
  std::set<std::string> seen;
  for (const std::string& line : tableLines()) {
    EXPECT_TRUE(seen.insert(nameOf(line)).second) << nameOf(line) << " is listed twice";
  }
}

// Each chapter of chapters.txt ("Chapter : count : names") lists as many operators as the
// reference's chapter page counts, and every one of them is a line of the table.
TEST(OperatorTable, HoldsEveryOperatorOfTheCheckedChapters) {
  std::set<std::string> table;
  for (const std::string& line : tableLines()) table.insert(nameOf(line));
  const std::vector<std::string> chapters = dataLines("chapters.txt");
  EXPECT_GE(chapters.size(), 3u);
  for (const std::string& row : chapters) {
    const std::size_t first = row.find(" : ");
    const std::size_t second = row.find(" : ", first + 3);
    ASSERT_NE(second, std::string::npos) << row;
    const std::string chapter = row.substr(0, first);
    const std::size_t count = std::stoul(row.substr(first + 3, second - first - 3));
    std::istringstream names(row.substr(second + 3));
    std::set<std::string> listed;
    for (std::string name; names >> name;) {
      EXPECT_TRUE(listed.insert(name).second) << chapter << ": " << name << " twice";
      EXPECT_EQ(table.count(name), 1u) << chapter << ": " << name << " is not in the table";
    }
    EXPECT_EQ(listed.size(), count) << chapter;
  }
}

// As many operators as the reference's chapters hold; one signature read back as the engine
// lists it, with its parameter kinds in the four groups.
TEST(OperatorTable, CoversTheReferenceChapters) {
  EXPECT_GE(tableLines().size(), 1800u);
  const auto found = listing().find("edges_sub_pix");
  ASSERT_NE(found, listing().end());
  EXPECT_EQ(found->second.signature,
            "edges_sub_pix (image Image : xld Edges : string Filter, real Alpha, number Low, "
            "number High : )");
}

// An operator the stand-in implements (also a display operator or an engine statement) must
// be in the table, with the same parameter counts: a call written as the table says loads.
TEST(OperatorTable, ImplementedOperatorsAgreeWithTheTable) {
  int implemented = 0;
  for (const auto& [name, row] : listing()) {
    EXPECT_FALSE(row.signature.empty()) << name << " is implemented but not in the table";
    EXPECT_EQ(row.status.find("disagrees"), std::string::npos) << name << ": " << row.status;
    implemented += row.status == "implemented";
  }
  EXPECT_GT(implemented, 30);
}

// The parameter names of a table line, all groups in order: "f (image A : : integer B : )"
// gives A, B.
std::vector<std::string> parameterNames(const std::string& line) {
  const std::size_t open = line.find('(');
  const std::string inside = line.substr(open + 1, line.rfind(')') - open - 1);
  std::vector<std::string> names;
  std::size_t start = 0;
  while (start <= inside.size()) {
    const std::size_t end = std::min(inside.find_first_of(",:", start), inside.size());
    const std::string item = inside.substr(start, end - start);
    const std::size_t last = item.find_last_not_of(' ');
    const std::size_t space = item.find_last_of(' ', last);
    if (last != std::string::npos && space != std::string::npos) {
      names.push_back(item.substr(space + 1, last - space));
    }
    start = end + 1;
  }
  return names;
}

// Each line of the table written as a call with variables for all arguments; all of them
// in one procedure load, so every line is an operator the engine knows, with its parameters.
TEST(OperatorTable, CallsOfEveryOperatorLoad) {
  Lines body;
  for (const std::string& line : tableLines()) {
    const std::string prefix = "L" + std::to_string(body.size() + 1) + "_";
    std::string call = nameOf(line) + " (";
    const std::vector<std::string> names = parameterNames(line);
    for (std::size_t i = 0; i < names.size(); ++i) {
      call += (i ? ", " : "") + prefix + names[i];
    }
    body.push_back(call + ")");
  }
  const std::string name = uniqueName("every_operator");
  writeProcedure(name, {}, body);
  EXPECT_NO_THROW(HDevProcedure(name.c_str())) << body.size() << " lines";
}

// The lines before the unimplemented operator run; the error names the procedure, the line
// and the operator.
TEST(UnimplementedOperator, FailsWhenItsLineRuns) {
  const std::string name = uniqueName("calls_find_shape_model");
  writeProcedure(name, {{"oc", {"R"}}},
                 {"set_system ('quorvex_table_probe', 1)", "// a comment line counts as a line",
                  "gen_image_const (Image, 'byte', 16, 16)",
                  "find_shape_model (Image, 7, 0, 6.28, 0.5, 1, 0.5, 'least_squares', 0, 0.9, "
                  "Row, Column, Angle, Score)",
                  "set_system ('quorvex_table_probe', 2)", "R := Score"});
  HalconCpp::SetSystem("quorvex_table_probe", 0);
  const HDevEngineException error = engineErrorOf([&] { runProcedure(name.c_str(), {}); });
  EXPECT_EQ(error.HalconErrNum(), kNotImplemented);
  EXPECT_EQ(error.ProgLineNum(), 4);
  EXPECT_STREQ(error.ProgLineName(), "find_shape_model");
  EXPECT_EQ(error.ExecProcedureName(), name);
  EXPECT_NE(std::string(error.Message()).find("not implemented by the stand-in"), std::string::npos)
      << error.Message();
  EXPECT_NE(std::string(error.Message()).find("operator find_shape_model"), std::string::npos)
      << error.Message();
  HTuple probe;
  HalconCpp::GetSystem("quorvex_table_probe", &probe);
  EXPECT_EQ(text(probe), "1") << "the lines before it ran, none after it";
}

TEST(UnimplementedOperator, LineNotReachedDoesNotFail) {
  EXPECT_EQ(text(runLines({"R := 1", "if (R == 2)", "  mean_image (Image, Mean, 3, 3)", "endif",
                           "R := R + 1"})),
            "2");
}

// Loading binds the calls with the table's parameters, as for an implemented operator.
TEST(UnimplementedOperator, LoadsWithTheTablesParameters) {
  const struct {
    Lines lines;
    unsigned error;  // 0: loads
    int line;
  } rows[] = {
      {{"mean_image (Image, Mean, 3, 3)", "count_obj (Mean, N)"}, 0, 0},
      {{"mean_image (Image, Mean, 3, 3)", "Mean := 1"}, kVariableKind, 2},
      {{"Image := 1", "mean_image (Image, Mean, 3, 3)"}, kVariableKind, 1},
      {{"mean_image (Image, Mean, 3)"}, kArgumentCount, 1},
      {{"smallest_rectangle1 (Region, R1, C1, R2, C2)", "N := R1 + 1"}, 0, 0},
  };
  for (const auto& row : rows) {
    const std::string name = uniqueName("binds");
    writeProcedure(name, {}, row.lines);
    if (row.error == 0) {
      EXPECT_NO_THROW(HDevProcedure(name.c_str())) << row.lines[0];
      continue;
    }
    const HDevEngineException error = engineErrorOf([&] { HDevProcedure(name.c_str()); });
    EXPECT_EQ(error.HalconErrNum(), row.error) << row.lines[0];
    EXPECT_EQ(error.ProgLineNum(), row.line) << row.lines[0];
  }
}

// Operators of the 11.0 reference that programs call: each loads, and fails only when its line
// runs, naming itself (dev_update_on is accepted and runs through). Operators of later
// releases stay refused at load, as the 11.0 engine refuses them.
TEST(UnimplementedOperator, OperatorsOfTheReleaseLoadAndLaterOnesDoNot) {
  // Run up to their line, where each fails, naming itself.
  const char* const notImplemented[] = {
      // Transformations / 3D, Calibration
      "hom_mat3d_project ([1,0,0,0,0,1,0,0,0,0,1,0], 0, 0, 1, HomMat2D)",
      "vector_to_hom_mat3d ('rigid', [0,1,0], [0,0,1], [0,0,0], [0,1,0], [0,0,1], [0,0,0], "
      "HomMat3D)",
      "cam_mat_to_cam_par ([1,0,0,0,1,0,0,0,1], 0, 640, 480, CamPar)",
      // System / Compute Devices
      "get_compute_device_info (0, 'name', Info)",
      "open_compute_device (0, Device)",
      "init_compute_device (Device, 'median_image')",
      "activate_compute_device (Device)",
      "set_compute_device_param (Device, 'asynchronous_execution', 'false')",
      "get_compute_device_param (Device, 'asynchronous_execution', Value)",
      "deactivate_compute_device (Device)",
      "release_compute_device (Device)",
      // Matching / Descriptor-Based, 3D Object Model
      "set_descriptor_model_origin (ModelID, 10, 20)",
      "gen_empty_object_model_3d (ObjectModel3D)",
      // Develop: 11.0's dev_open_file_dialog page leaves it out of code export, and a run of
      // the engine has no dialog to open
      "dev_open_file_dialog ('read_image', 'read', 'default', Selection)",
      // Filters / Wiener Filter, Inpainting, Misc, Edges, FFT
      "wiener_filter (Image, Psf, Filtered, Restored)",
      "inpainting_ct (Image, Region, Inpainted, 0.5, 25, 1.41, 4, [])",
      "gray_skeleton (Image, GraySkeleton)",
      "info_edges ('canny', 'edge', 1.0, Size, Coeffs)",
      "gen_gabor (Filter, 1.4, 0.4, 1.0, 1.5, 'n', 'rft', 512, 512)",
      // Regions, Morphology, Segmentation, XLD
      "gen_region_histo (Region, [1, 2, 3], 10, 10, 1)",
      "thinning_seq (Region, Thin, 'l', 1)",
      "learn_ndim_norm (Fg, Bg, Image, 'euclid', 10, 0.01, Radius, Center, Quality)",
      "max_parallels_xld (ExtParallels, MaxPolygons)",
      // Tools: background estimator, Kalman filter, lines, functions
      "give_bg_esti (Background, BgEsti)",
      "filter_kalman ([2,2,2], [1,0,0,1], [1,0], [0,0], Prediction, Estimate)",
      "approx_chain_simple ([0, 1, 2], [0, 1, 2], CR, CC, A, BR, BC, LBR, LBC, LER, LEC, Order)",
      "read_kalman ('k.txt', Dimension, Model, Measurement, Prediction)",
      "match_funct_1d_trans ([0, 1, 0, 1, 2], [0, 1, 0, 1, 2], 'constant', [1, 0, 1, 0], "
      "['true', 'true', 'true', 'true'], Params, ChiSquare, Covar)",
      // File, Graphics, System
      "read_world_file ('w.tfw', WorldTransformation)",
      "gnuplot_open_pipe (Gnuplot)",
      "count_relation ('image', NumOfTuples)",
      // Calibration, 3D reconstruction, 3D object model
      "create_stereo_model (CameraSetup, 'surface_pairwise', [], [], StereoModel)",
      "intersect_plane_object_model_3d (Model, [0,0,0,0,0,0,0], Intersection)",
      // Classification, OCR, identification, metrology
      "get_sample_num_class_gmm (GMMHandle, NumSamples)",
      "create_lexicon ('digits', ['0','1'], Lexicon)",
      "create_text_model (TextModel)",
      "get_bar_code_param_specific (BarCode, 'EAN-13', 'check_char', Value)",
      "clear_all_metrology_models ()",
      // 11.0 chapter pages: Filters / Optical Flow, Image / Access,
      // System / Sockets and Database, Matching / Correlation-Based
      "derivate_vector_field (VectorField, Result, 1.0, 'curl')",
      "vector_field_length (VectorField, Length, 'length')",
      "get_image_time (Image, MSecond, Second, Minute, Hour, Day, YDay, Month, Year)",
      "close_all_sockets ()",
      "get_socket_descriptor (Socket, Descriptor)",
      "get_modules (UsedModules, ModuleKey)",
      "determine_ncc_model_params (Template, 'auto', -0.39, 0.79, 'use_polarity', 'all', Name, "
      "Value)",
  };
  // Refused at load.
  const char* const laterReleases[] = {
      // Later releases: Develop gained HDevelop's tools and modal dialogs (12.0 pages)
      "dev_open_tool ('zoom_window', 'default', 'default', 'default', 'default', [], [], Tool)",
      "dev_open_dialog ('print_dialog')",
      // Later releases: Poses gained dual quaternions, Develop gained dev_disp_text, 2D Metrology
      // gained align_metrology_model, File gained set_current_dir and get_current_dir, Error
      // Handling gained get_extended_error_info, Object gained compare_obj, Operating System gained
      // get_system_time
      "dual_quat_to_pose ([1,0,0,0,0,0,0,0], Pose)",
      "dev_disp_text ('x', 'window', 12, 12, 'black', [], [])",
      "align_metrology_model (Metrology, 10, 10, 0)",
      "set_current_dir ('.')",
      "get_current_dir (Dir)",
      "get_extended_error_info (Operator, Code, Message)",
      "compare_obj (Region1, Region2, 0, IsEqual)",
      "get_system_time (MSecond, Second, Minute, Hour, Day, YDay, Month, Year)",
      // Not on the 11.0 Smoothing page, which has gauss_image: gauss_filter's first page is
      // 12.0's
      "gauss_filter (Image, ImageGauss, 5)",
      // Not on the 11.0 Kalman Filter page
      "sensor_kalman (2, [1,0], Measurement)",
  };
  std::vector<std::pair<const char*, unsigned>> rows = {{"dev_update_on ()", 0}};
  for (const char* line : notImplemented) rows.push_back({line, kNotImplemented});
  for (const char* line : laterReleases) rows.push_back({line, kUnknownCall});
  for (const auto& [line, number] : rows) {
    const std::string op = std::string(line).substr(0, std::string(line).find(' '));
    const std::string name = uniqueName("release_operator");
    writeProcedure(name, {{"oc", {"R"}}}, {"R := 0", line, "R := 1"});
    if (number == kUnknownCall) {
      const HDevEngineException error = engineErrorOf([&] { HDevProcedure(name.c_str()); });
      EXPECT_EQ(error.HalconErrNum(), kUnknownCall) << line;
      EXPECT_EQ(error.ProgLineName(), op) << line;
      continue;
    }
    EXPECT_NO_THROW(HDevProcedure(name.c_str())) << line;
    if (number == 0) {
      EXPECT_EQ(text(runProcedure(name.c_str(), {})[0]), "1") << line;
      continue;
    }
    const HDevEngineException error = engineErrorOf([&] { runProcedure(name.c_str(), {}); });
    EXPECT_EQ(error.HalconErrNum(), number) << line;
    EXPECT_EQ(error.ProgLineNum(), 2) << line;
    EXPECT_EQ(error.ProgLineName(), op) << line;
  }
}

}  // namespace
}  // namespace quorvex::test
