// Rectified images through program lines, against values worked by hand from the HALCON 11.0
// reference (image_to_world_plane, gen_image_to_world_plane_map, gen_radial_distortion_map,
// change_radial_distortion_image, change_radial_distortion_cam_par). The camera looks straight
// down: Focus 0.01 m, cells of 10 um, centre (2, 2), 5 x 5 pixels; the world pose [0, 0, 1, ...]
// puts the plane 1 m ahead, so the world point (x, y, 0) is the pixel (1000 y + 2, 1000 x + 2).
// The rectified pixel (r, c) is the world point (c Scale, r Scale): with 'mm' it samples the
// input at (r + 2, c + 2). The input is the real ramp 100 + 10 r + c.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "standins/engine_support.h"

namespace {

using namespace quorvex::test;

const std::string kCam = "[0.01, 0, 1e-5, 1e-5, 2, 2, 5, 5]";
const std::string kPose = "[0, 0, 1, 0, 0, 0, 0]";

const Lines kRamp = {"gen_image_gray_ramp (B, 10, 1, 100, 0, 0, 5, 5)",
                     "convert_image_type (B, I, 'real')"};

// The grey values of W's whole rectangle, row by row, and the area of its domain.
Lines valuesAndArea(int width, int height) {
  return {"gen_rectangle1 (Rect, 0, 0, " + std::to_string(height - 1) + ", " +
              std::to_string(width - 1) + ")",
          "get_region_points (Rect, Rows, Cols)",
          "full_domain (W, F)",
          "get_grayval (F, Rows, Cols, G)",
          "get_domain (W, D)",
          "area_center (D, A, Ar, Ac)",
          "R := [G, A]"};
}

Lines toWorld(const std::string& cam, const std::string& pose, int width, int height,
              const std::string& scale, const std::string& interpolation) {
  return kRamp +
         Lines{"image_to_world_plane (I, W, " + cam + ", " + pose + ", " + std::to_string(width) +
               ", " + std::to_string(height) + ", " + scale + ", '" + interpolation + "')"} +
         valuesAndArea(width, height);
}

// image_to_world_plane, HALCON 11.0: the output's size is Width x Height, its pixel (r, c) the
// world point (c Scale, r Scale); a pixel whose point the image does not show stays 0 and
// leaves the domain.
TEST(ImageToWorldPlane, EachPixelShowsItsWorldPoint) {
  expectReals({
      // 'mm': (r + 2, c + 2); the last column reaches input column 5, past the image
      {toWorld(kCam, kPose, 4, 3, "'mm'", "bilinear"),
       {122, 123, 124, 0, 132, 133, 134, 0, 142, 143, 144, 0, 9}},
      // the world turned 180 degrees about z: (2 - r, 2 - c)
      {toWorld(kCam, "[0, 0, 1, 0, 0, 180, 0]", 3, 3, "'mm'", "none"),
       {122, 121, 120, 112, 111, 110, 102, 101, 100, 9}},
      // telecentric, cells of 1 mm, the world shifted 1 mm along x: (r + 2, c + 3)
      {toWorld("[0, 0, 1e-3, 1e-3, 2, 2, 5, 5]", "[0.001, 0, 0.5, 0, 0, 0, 0]", 2, 2, "'mm'",
               "none"),
       {123, 124, 133, 134, 4}},
      // the plane behind the camera has no image
      {toWorld(kCam, "[0, 0, -1, 0, 0, 0, 0]", 2, 2, "'mm'", "none"), {0, 0, 0, 0, 0}},
      // Scale 0.0005 bilinear: (0.5 r + 2, 0.5 c + 2), (2, 2.5) and (2.5, 2.5) between pixels
      {toWorld(kCam, kPose, 2, 2, "0.0005", "bilinear"), {122, 122.5, 127, 127.5, 4}, 1e-4},
  });
}

// image_to_world_plane, HALCON 11.0: Scale is the output pixel's size in the pose's unit (m):
// the unit names or a number. Pixel (1, 1) of a 2 x 2 result, 'none', and the domain's area.
TEST(ImageToWorldPlane, ScaleNamesTheUnit) {
  const struct {
    const char* scale;
    std::vector<double> expected;
  } rows[] = {
      {"'m'", {0, 1}},          // (1002, 1002); only (0, 0) at (2, 2) is inside
      {"'cm'", {0, 1}},         // (12, 12)
      {"'mm'", {133, 4}},       // (3, 3)
      {"'microns'", {122, 4}},  // (2.001, 2.001)
      {"'µm'", {122, 4}},      {"0.002", {144, 4}},  // (4, 4)
      {"0.003", {0, 1}},                             // (5, 5)
  };
  for (const auto& row : rows) {
    expectReals({{kRamp + Lines{"image_to_world_plane (I, W, " + kCam + ", " + kPose + ", 2, 2, " +
                                    row.scale + ", 'none')",
                                "full_domain (W, F)", "get_grayval (F, 1, 1, G)",
                                "get_domain (W, D)", "area_center (D, A, Ar, Ac)", "R := [G, A]"},
                  row.expected}});
  }
}

// gen_image_to_world_plane_map, HALCON 11.0: 'coord_map_sub_pix' holds each pixel's source
// row and column, 'nearest_neighbor' the linear index row * WidthIn + column of the nearest
// input pixel (-1 past the image, this stand-in's mark).
TEST(GenImageToWorldPlaneMap, MapHoldsTheSources) {
  const std::string gen = "gen_image_to_world_plane_map (Map, " + kCam + ", " + kPose + ", 5, 5, ";
  expectReals({
      {{gen + "2, 2, 'mm', 'coord_map_sub_pix')", "decompose2 (Map, MR, MC)",
        "get_grayval (MR, [0, 0, 1, 1], [0, 1, 0, 1], GR)",
        "get_grayval (MC, [0, 0, 1, 1], [0, 1, 0, 1], GC)", "R := [GR, GC]"},
       {2, 2, 3, 3, 2, 3, 2, 3},
       1e-6},
      {{gen + "4, 1, 'mm', 'nearest_neighbor')", "get_grayval (Map, [0, 0, 0, 0], [0, 1, 2, 3], G)",
        "R := G"},
       {12, 13, 14, -1}},
  });
  expectCases(
      {{"map types",
        {gen + "2, 2, 'mm', 'coord_map_sub_pix')", "get_image_type (Map, T1)",
         "count_channels (Map, N1)", gen + "2, 2, 'mm', 'nearest_neighbor')",
         "get_image_type (Map, T2)", "get_image_size (Map, W, H)", "R := [T1, N1, T2, W, H]"},
        "['real', 2, 'int4', 2, 2]"}});
}

// map_image of the generated map gives what the direct warp gives, grey values and domain
// alike, for a tilted, distorted camera whose view leaves part of the result empty.
TEST(GenImageToWorldPlaneMap, MapImageOfTheMapIsTheDirectWarp) {
  const std::string cam = "[0.01, -2000, 1e-5, 1e-5, 2, 2, 5, 5]";
  const std::string pose = "[0.0002, -0.0001, 1, 5, -3, 10, 0]";
  const std::pair<std::string, std::string> kinds[] = {{"bilinear", "coord_map_sub_pix"},
                                                       {"none", "nearest_neighbor"}};
  for (const auto& [interpolation, mapType] : kinds) {
    expectCases({{interpolation.c_str(),
                  kRamp + Lines{"image_to_world_plane (I, W1, " + cam + ", " + pose +
                                    ", 6, 5, 0.0007, '" + interpolation + "')",
                                "gen_image_to_world_plane_map (Map, " + cam + ", " + pose +
                                    ", 5, 5, 6, 5, 0.0007, '" + mapType + "')",
                                "map_image (I, Map, W2)", "gen_rectangle1 (Rect, 0, 0, 4, 5)",
                                "get_region_points (Rect, Rows, Cols)", "full_domain (W1, F1)",
                                "full_domain (W2, F2)", "get_grayval (F1, Rows, Cols, G1)",
                                "get_grayval (F2, Rows, Cols, G2)", "get_domain (W1, D1)",
                                "get_domain (W2, D2)", "area_center (D1, A1, R1, C1)",
                                "area_center (D2, A2, R2, C2)",
                                "R := [sum(abs(G1 - G2)), A1 == A2, A1 > 0, A1 < 30]"},
                  "[0.0, 1, 1, 1]"}});
  }
}

// gen_radial_distortion_map and change_radial_distortion_image, HALCON 11.0: the output pixel
// straightened with CamParamOut and distorted with CamParamIn. CamOut's Kappa 2.5e9 makes
// 1 + Kappa r^2 = 2 at 2e-5 m (2 cells) from the centre: (2, 4) comes from (2, 3); (2, 3) from
// (2, 2.8) (1.25); (0, 0) from (4 / 3, 4 / 3) (1 + 3). The other way, (2, 3) comes from (2, 4).
TEST(RadialDistortion, OutputPixelsComeFromTheInputCamerasPixel) {
  const std::string plain = kCam, bent = "[0.01, 2.5e9, 1e-5, 1e-5, 2, 2, 5, 5]";
  const std::string grays = "get_grayval (O, [2, 2, 0], [4, 3, 0], G)";
  expectReals({
      {{"gen_radial_distortion_map (Map, " + plain + ", " + bent + ", 'coord_map_sub_pix')",
        "decompose2 (Map, MR, MC)", "get_grayval (MR, [2, 0], [4, 0], GR)",
        "get_grayval (MC, [2, 0], [4, 0], GC)", "R := [GR, GC]"},
       {2, 4.0 / 3, 3, 4.0 / 3},
       1e-5},
      {kRamp + Lines{"gen_empty_obj (Empty)",
                     "change_radial_distortion_image (I, Empty, O, " + plain + ", " + bent + ")",
                     grays, "R := G"},
       {123, 122.8, 100 + 40.0 / 3 + 4.0 / 3},
       1e-4},
      {kRamp + Lines{"gen_empty_obj (Empty)",
                     "change_radial_distortion_image (I, Empty, O, " + bent + ", " + plain + ")",
                     "get_grayval (O, 2, 3, G)", "R := G"},
       {124},
       1e-3},
  });
}

// change_radial_distortion_image, HALCON 11.0: only the pixels of Region are computed (an
// empty object: all); the result has CamParamOut's size; a pixel whose source lies outside the
// image is 0 and leaves the domain. The same camera in and out leaves the image as it is.
TEST(RadialDistortion, RegionAndSizeOfTheResult) {
  const std::string shifted = "[0.01, 0, 1e-5, 1e-5, 0, 0, 5, 5]";  // (r, c) from (r + 2, c + 2)
  const auto change = [&](const std::string& region, const std::string& out) {
    return kRamp +
           Lines{region, "change_radial_distortion_image (I, Reg, W, " + kCam + ", " + out + ")"};
  };
  expectReals({
      {change("gen_empty_obj (Reg)", kCam) + valuesAndArea(5, 5) +
           Lines{"get_grayval (I, Rows, Cols, G0)", "R := [sum(abs(G - G0)), A]"},
       {0, 25}},
      {change("gen_rectangle1 (Reg, 1, 1, 2, 2)", kCam) +
           Lines{"full_domain (W, F)", "get_grayval (F, [1, 2, 0], [1, 2, 0], G)",
                 "get_domain (W, D)", "area_center (D, A, Ar, Ac)", "R := [G, A]"},
       {111, 122, 0, 4}},
      // rows and columns 0 .. 2 come from 2 .. 4; column 3 from 5, past the image
      {change("gen_empty_obj (Reg)", shifted) + valuesAndArea(5, 1), {122, 123, 124, 0, 0, 9}},
      {change("gen_empty_obj (Reg)", "[0.01, 0, 1e-5, 1e-5, 2, 2, 3, 2]") +
           Lines{"get_image_size (W, Wd, Ht)", "R := [Wd, Ht]"},
       {3, 2}},
  });
}

// change_radial_distortion_cam_par, HALCON 11.0, 'fixed': the coefficients replaced, the rest
// kept.
TEST(RadialDistortion, FixedModeReplacesTheCoefficients) {
  expectReals({
      {{"change_radial_distortion_cam_par ('fixed', " + kCam + ", -500, R)"},
       {0.01, -500, 1e-5, 1e-5, 2, 2, 5, 5}},
      {{"change_radial_distortion_cam_par ('fixed', [0.01, 1, 2, 3, 4, 5, 1e-5, 1e-5, 2, 2, 5, "
        "5], [6, 7, 8, 9, 10], R)"},
       {0.01, 6, 7, 8, 9, 10, 1e-5, 1e-5, 2, 2, 5, 5}},
      {{"change_radial_distortion_cam_par ('fixed', [0.01, 1, 2, 3, 4, 5, 1e-5, 1e-5, 2, 2, 5, "
        "5], 0, R)"},
       {0.01, 0, 0, 0, 0, 0, 1e-5, 1e-5, 2, 2, 5, 5}},
  });
}

// No images in, none out.
TEST(Rectification, EmptyInputsGiveEmptyOutputs) {
  expectCases({{"empty",
                {"gen_empty_obj (E)",
                 "image_to_world_plane (E, W, " + kCam + ", " + kPose + ", 2, 2, 'mm', 'none')",
                 "count_obj (W, N1)",
                 "change_radial_distortion_image (E, E, O, " + kCam + ", " + kCam + ")",
                 "count_obj (O, N2)", "R := [N1, N2]"},
                "[0, 0]"}});
}

// The parameters' error numbers: 1400 + n for a wrong count, 1300 + n for a wrong value,
// 1502 for more than one region.
TEST(Rectification, WrongParametersRaiseTheirNumbers) {
  const std::string seven = "[0.01, 0, 1e-5, 1e-5, 2, 2, 5]";
  const std::string tele = "[0, 0, 1e-5, 1e-5, 2, 2, 5, 5]";
  const std::string world = "image_to_world_plane (I, W, " + kCam + ", " + kPose + ", ";
  const std::string map = "gen_image_to_world_plane_map (M, " + kCam + ", " + kPose + ", ";
  const std::string radial = "change_radial_distortion_image (I, Reg, O, " + kCam + ", ";
  const struct {
    std::string line;
    long number;
  } rows[] = {
      {"image_to_world_plane (I, W, " + seven + ", " + kPose + ", 2, 2, 'mm', 'none')", 1401},
      {"image_to_world_plane (I, W, " + kCam + ", [0, 0, 1, 0, 0, 0], 2, 2, 'mm', 'none')", 1402},
      {world + "0, 2, 'mm', 'none')", 1303},
      {world + "2, 40000, 'mm', 'none')", 1304},
      {world + "2, 2, 'km', 'none')", 1305},
      {world + "2, 2, 0, 'none')", 1305},
      {world + "2, 2, -0.001, 'none')", 1305},
      {world + "2, 2, 'mm', 'bicubic')", 1306},
      {map + "0, 5, 2, 2, 'mm', 'coord_map_sub_pix')", 1303},
      {map + "5, 5, 2, 2, 'inch', 'coord_map_sub_pix')", 1307},
      {map + "5, 5, 2, 2, 'mm', 'bilinear')", 1308},
      {"gen_radial_distortion_map (M, " + seven + ", " + kCam + ", 'coord_map_sub_pix')", 1401},
      {"gen_radial_distortion_map (M, " + kCam + ", " + tele + ", 'coord_map_sub_pix')", 1302},
      {"gen_radial_distortion_map (M, " + kCam + ", " + kCam + ", 'linear')", 1303},
      {radial + seven + ")", 1402},
      {"gen_rectangle1 (Reg, [0, 1], [0, 1], [1, 2], [1, 2])\n" + radial + kCam + ")", 1502},
      {"change_radial_distortion_cam_par ('adaptive', " + kCam + ", 0, Out)", 1301},
      {"change_radial_distortion_cam_par ('preserve_resolution', " + kCam + ", 0, Out)", 1301},
      {"change_radial_distortion_cam_par ('fixed', " + seven + ", 0, Out)", 1402},
      {"change_radial_distortion_cam_par ('fixed', " + kCam + ", [1, 2], Out)", 1403},
  };
  for (const auto& row : rows) {
    Lines lines = kRamp + Lines{"gen_empty_obj (Reg)"};
    for (const std::string& line : split(row.line)) lines.push_back(line);
    EXPECT_EQ(programError(lines), row.number) << row.line;
  }
}

}  // namespace
