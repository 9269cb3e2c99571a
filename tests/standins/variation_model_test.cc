// Variation models through program lines, against ideal, variation and threshold images
// worked out by hand from the HALCON 11.0 pages of the chapter "Inspection / Variation
// Model". The models are 3 x 1 byte images; Gv reads a row of three grey values.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "standins/engine_support.h"

namespace {

using namespace quorvex::test;
namespace H = HalconCpp;

// Lines making NAME a 3 x 1 image of `type` with the grey values a, b, c.
Lines row3(const std::string& name, const std::string& values, const std::string& type = "byte") {
  return {"gen_image_const (" + name + ", '" + type + "', 3, 1)",
          "set_grayval (" + name + ", [0, 0, 0], [0, 1, 2], [" + values + "])"};
}

Lines gv(const std::string& image, const std::string& into) {
  return {"get_grayval (" + image + ", [0, 0, 0], [0, 1, 2], " + into + ")"};
}

// A 'standard' byte model M trained with [10, 20, 30] and then [14, 20, 40]: mean
// [12, 20, 35], deviation [2, 0, 5].
const Lines kTrained = row3("A", "10, 20, 30") + row3("B", "14, 20, 40") +
                       Lines{"create_variation_model (3, 1, 'byte', 'standard', M)",
                             "train_variation_model (A, M)", "train_variation_model (B, M)"};
// ... prepared with AbsThreshold 3, VarThreshold 2: each side max(3, 2 v) = [4, 3, 10] from
// the ideal image, so MinImage [8, 17, 25] and MaxImage [16, 23, 45].
const Lines kPrepared = kTrained + Lines{"prepare_variation_model (M, 3, 2)"};
const Lines kThresholds = Lines{"get_thresh_images_variation_model (Lo, Hi, M)"} + gv("Lo", "L") +
                          gv("Hi", "U") + Lines{"R := [L, U]"};
const char* kThresholdText = "[8.0, 17.0, 25.0, 16.0, 23.0, 45.0]";

// train_variation_model, HALCON 11.0: 'standard' trains iteratively, the ideal image the mean
// and the variation image the standard deviation of all images so far (over n, so one image
// varies by 0); 'robust' takes the median and the median absolute deviation, scaled by
// 1.4826 to a normal distribution's deviation (create_variation_model, HALCON 11.0). An even
// count takes the mean of the two middle values.
TEST(VariationModel, TrainsMeanAndDeviation) {
  const Lines get = Lines{"get_variation_model (I, V, M)"} + gv("I", "G") + gv("V", "D");
  const std::vector<ProgramCase> cases{
      {"standard, two images in two calls", kTrained + get + Lines{"R := [G, D]"},
       "[12, 20, 35, 2.0, 0.0, 5.0]"},
      {"standard, both in one call",
       row3("A", "10, 20, 30") + row3("B", "14, 20, 40") +
           Lines{"create_variation_model (3, 1, 'byte', 'standard', M)", "concat_obj (A, B, AB)",
                 "train_variation_model (AB, M)"} +
           get + Lines{"R := [G, D]"},
       "[12, 20, 35, 2.0, 0.0, 5.0]"},
      // one image: ideal itself, deviation 0; the uint2 type is kept
      {"standard, one uint2 image",
       row3("A", "1000, 0, 65535", "uint2") +
           Lines{"create_variation_model (3, 1, 'uint2', 'standard', M)",
                 "train_variation_model (A, M)"} +
           get + Lines{"get_image_type (I, T)", "R := [G, D, T]"},
       "[1000, 0, 65535, 0.0, 0.0, 0.0, 'uint2']"},
      // pixel 0 sees 1, 2, 3: mean 2, deviation sqrt(2 / 3) = 0.8165 (not 1); the mean 7/3 of
      // pixel 1 is rounded in the byte ideal image
      {"standard, three images",
       row3("A", "1, 2, 0") + row3("B", "2, 2, 0") + row3("C", "3, 3, 0") +
           Lines{"create_variation_model (3, 1, 'byte', 'standard', M)",
                 "train_variation_model (A, M)", "train_variation_model (B, M)",
                 "train_variation_model (C, M)"} +
           get + Lines{"R := [G, round(D[0] * 10000)]"},
       "[2, 2, 0, 8165]"},
      // pixel 0 sees 10, 12, 100: median 12, deviations 2, 0, 88, their median 2 -> 2.9652
      {"robust, three images",
       row3("A", "10, 5, 7") + row3("B", "12, 5, 7") + row3("C", "100, 5, 7") +
           Lines{"create_variation_model (3, 1, 'byte', 'robust', M)",
                 "train_variation_model (A, M)", "train_variation_model (B, M)",
                 "train_variation_model (C, M)"} +
           get + Lines{"R := [G, round(D * 10000)]"},
       "[12, 5, 7, 29652, 0, 0]"},
      // 10, 12, 14, 100: median 13; deviations 3, 1, 1, 87, their median 2 -> 2.9652
      {"robust, four images",
       row3("A", "10, 5, 7") + row3("B", "12, 5, 7") + row3("C", "14, 5, 7") +
           row3("E", "100, 5, 7") +
           Lines{"create_variation_model (3, 1, 'byte', 'robust', M)", "concat_obj (A, B, AB)",
                 "concat_obj (C, E, CE)", "concat_obj (AB, CE, All)",
                 "train_variation_model (All, M)"} +
           get + Lines{"R := [G, round(D * 10000)]"},
       "[13, 5, 7, 29652, 0, 0]"},
      {"no images trains nothing",
       kTrained + Lines{"gen_empty_obj (None)", "train_variation_model (None, M)"} + get +
           Lines{"R := [G, D]"},
       "[12, 20, 35, 2.0, 0.0, 5.0]"},
  };
  expectCases(cases);
}

// prepare_variation_model, HALCON 11.0: T_u = i + max(a_u, b_u v), T_l = i - max(a_l, b_l v);
// one value serves both sides, two are [upper, lower]. prepare_direct_variation_model takes
// i and v as the images given.
TEST(VariationModel, PreparesThresholds) {
  const std::vector<ProgramCase> cases{
      {"one value each", kPrepared + kThresholds, kThresholdText},
      // upper max(3, 1 v) = [3, 3, 5], lower max(1, 3 v) = [6, 1, 15]
      {"two values each",
       kTrained + Lines{"prepare_variation_model (M, [3, 1], [1, 3])"} + kThresholds,
       "[6.0, 19.0, 20.0, 15.0, 23.0, 40.0]"},
      {"prepared again", kPrepared + Lines{"prepare_variation_model (M, 0, 0)"} + kThresholds,
       "[12.0, 20.0, 35.0, 12.0, 20.0, 35.0]"},
      {"direct",
       row3("I", "12, 20, 35") + row3("V", "2, 0, 5", "real") +
           Lines{"create_variation_model (3, 1, 'byte', 'direct', M)",
                 "prepare_direct_variation_model (I, V, M, 3, 2)"} +
           kThresholds,
       kThresholdText},
      // training data cleared: the model is kept, and prepares again
      {"after clear_train_data",
       kTrained +
           Lines{"clear_train_data_variation_model (M)", "prepare_variation_model (M, 3, 2)"} +
           kThresholds,
       kThresholdText},
  };
  expectCases(cases);
}

// compare_variation_model and compare_ext_variation_model, HALCON 11.0: the points of the
// image's domain outside [T_l, T_u] ('absolute'), above T_u ('light'), below T_l ('dark'),
// or both as two regions ('light_dark'), a point on a bound being inside. [16, 24, 24]
// against [8, 17, 25] .. [16, 23, 45]: 16 is on the bound, 24 above 23, 24 below 25.
TEST(VariationModel, ComparesImages) {
  const Lines image = kPrepared + row3("X", "16, 24, 24");
  const Lines areas{"area_center (Region, Area, Row, Col)", "R := [Area, Col]"};
  const std::vector<ProgramCase> cases{
      {"compare", image + Lines{"compare_variation_model (X, Region, M)"} + areas, "[2, 1.5]"},
      {"absolute", image + Lines{"compare_ext_variation_model (X, Region, M, 'absolute')"} + areas,
       "[2, 1.5]"},
      {"light", image + Lines{"compare_ext_variation_model (X, Region, M, 'light')"} + areas,
       "[1, 1.0]"},
      {"dark", image + Lines{"compare_ext_variation_model (X, Region, M, 'dark')"} + areas,
       "[1, 2.0]"},
      {"light_dark",
       image + Lines{"compare_ext_variation_model (X, Region, M, 'light_dark')"} + areas,
       "[1, 1, 1.0, 2.0]"},
      {"within the domain only",
       image +
           Lines{"gen_rectangle1 (Left, 0, 0, 0, 1)", "reduce_domain (X, Left, XL)",
                 "compare_variation_model (XL, Region, M)"} +
           areas,
       "[1, 1.0]"},
      {"empty domain: one empty region",
       image + Lines{"gen_empty_region (E)", "reduce_domain (X, E, XE)",
                     "compare_variation_model (XE, Region, M)", "count_obj (Region, N)",
                     "region_features (Region, 'area', Ar)", "R := [N, Ar]"},
       "[1, 0.0]"},
      {"[8, 17, 45], each on a bound: nothing",
       kPrepared + row3("Y", "8, 17, 45") +
           Lines{"compare_variation_model (Y, Region, M)", "region_features (Region, 'area', R)"},
       "0.0"},
      {"no image: no region",
       kPrepared + Lines{"gen_empty_obj (None)", "compare_variation_model (None, Region, M)",
                         "count_obj (Region, R)"},
       "0"},
  };
  expectCases(cases);
}

// The errors of the chapter's operators: parameters out of their ranges, images of another
// size (3030), type (9001) or channel count (3032) than the model's, a model not in the state
// the operator needs, and a cleared handle, which is a wrong value of ModelID (1301).
TEST(VariationModel, RefusesWrongInputs) {
  const Lines created = Lines{"create_variation_model (3, 1, 'byte', 'standard', M)"};
  expectErrorCases({
      {{"create_variation_model (0, 1, 'byte', 'standard', M)"}, 1301},
      {{"create_variation_model (3, 40000, 'byte', 'standard', M)"}, 1302},
      {{"create_variation_model (3, 1, 'real', 'standard', M)"}, 1303},
      {{"create_variation_model (3, 1, 'byte', 'mean', M)"}, 1304},
      {created + Lines{"gen_image_const (I, 'byte', 4, 1)", "train_variation_model (I, M)"}, 3030},
      {created + Lines{"gen_image_const (I, 'int2', 3, 1)", "train_variation_model (I, M)"}, 9001},
      {created + Lines{"gen_image_const (I, 'real', 3, 1)", "train_variation_model (I, M)"}, 9001},
      {created + Lines{"gen_image_const (I, 'byte', 3, 1)", "compose2 (I, I, I2)",
                       "train_variation_model (I2, M)"},
       3032},
      {Lines{"create_variation_model (3, 1, 'byte', 'direct', M)",
             "gen_image_const (I, 'byte', 3, 1)", "train_variation_model (I, M)"},
       1301},
      {created + Lines{"prepare_variation_model (M, 3, 2)"}, 1301},  // not trained
      {created + Lines{"get_variation_model (I, V, M)"}, 1301},
      {kTrained + Lines{"get_thresh_images_variation_model (L, U, M)"}, 1301},  // not prepared
      {kTrained + Lines{"compare_variation_model (A, Region, M)"}, 1301},
      {kTrained + Lines{"clear_train_data_variation_model (M)", "train_variation_model (A, M)"},
       1301},
      {kTrained + Lines{"prepare_variation_model (M, [], 2)"}, 1402},
      {kTrained + Lines{"prepare_variation_model (M, [1, 2, 3], 2)"}, 1402},
      {kTrained + Lines{"prepare_variation_model (M, -1, 2)"}, 1302},
      {kTrained + Lines{"prepare_variation_model (M, 3, [2, -1])"}, 1303},
      {kPrepared + Lines{"compare_ext_variation_model (A, Region, M, 'both')"}, 1302},
      {kPrepared +
           Lines{"gen_image_const (I, 'byte', 3, 2)", "compare_variation_model (I, Region, M)"},
       3030},
      {kPrepared + Lines{"clear_variation_model (M)", "compare_variation_model (A, Region, M)"},
       1301},
      {kPrepared + Lines{"clear_variation_model (M)", "clear_variation_model (M)"}, 1301},
      {kPrepared + Lines{"clear_all_variation_models ()", "prepare_variation_model (M, 3, 2)"},
       1301},
      {kTrained + Lines{"prepare_direct_variation_model (A, A, M, 3, 2)"}, 1301},  // standard
      {kTrained + Lines{"serialize_image (A, S)", "deserialize_variation_model (S, M2)"}, 1301},
      {{"read_variation_model ('/nonexistent/model.vam', M)"}, 5200},
  });
}

// write_variation_model / read_variation_model and serialize_variation_model /
// deserialize_variation_model, HALCON 11.0: the model read back is the model written, trained
// state included (it trains on: [12, 20, 35] and [15, 20, 35] make the mean [13, 20, 35]).
TEST(VariationModel, FilesAndItemsGiveTheModelBack) {
  const std::string file = makeTempFolder("quorvex_variation_") + "/model.vam";
  const Lines write{"write_variation_model (M, '" + file + "')", "clear_variation_model (M)",
                    "read_variation_model ('" + file + "', M)"};
  const Lines item{"serialize_variation_model (M, S)", "clear_variation_model (M)",
                   "deserialize_variation_model (S, M)"};
  const Lines more = row3("C", "15, 20, 35") +
                     Lines{"train_variation_model (C, M)", "get_variation_model (I, V, M)"} +
                     gv("I", "R");
  const std::vector<ProgramCase> cases{
      {"file, prepared", kPrepared + write + kThresholds, kThresholdText},
      {"item, prepared", kPrepared + item + kThresholds, kThresholdText},
      {"file, trains on", kTrained + write + more, "[13, 20, 35]"},
      {"item, trains on", kTrained + item + more, "[13, 20, 35]"},
      {"robust, trains on",
       row3("A", "10, 20, 30") + row3("B", "14, 20, 40") +
           Lines{"create_variation_model (3, 1, 'byte', 'robust', M)",
                 "train_variation_model (A, M)", "train_variation_model (B, M)"} +
           item + more,
       "[14, 20, 35]"},
      {"training data cleared",
       kPrepared + Lines{"clear_train_data_variation_model (M)"} + write + kThresholds,
       kThresholdText},
  };
  expectCases(cases);

  // Every truncation of a written model is refused as a corrupt file (5202); so is a byte
  // changed in its header.
  runLines(kPrepared + Lines{"write_variation_model (M, '" + file + "')"});
  std::ifstream in(file, std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  ASSERT_GT(bytes.size(), 16u);
  const std::string cut = file + ".cut";
  std::vector<std::string> broken;
  for (std::size_t size = 0; size < bytes.size(); ++size) broken.push_back(bytes.substr(0, size));
  broken.push_back(bytes + "x");
  std::string version = bytes;
  version[8] = 2;
  broken.push_back(version);
  for (const std::string& content : broken) {
    std::ofstream(cut, std::ios::binary | std::ios::trunc) << content;
    try {
      H::HTuple model;
      H::ReadVariationModel(cut.c_str(), &model);
      ADD_FAILURE() << "read " << content.size() << " bytes";
    } catch (const H::HException& e) {
      EXPECT_EQ(e.ErrorCode(), 5202) << content.size() << " bytes";
    }
  }
}

}  // namespace
