// Rectified images through program lines, against values worked by hand from the HALCON 11.0
// reference. The camera kCam looks straight down: Focus 0.01 m, cells of 10 um, centre (2, 2),
// 5 x 5 pixels; kPose puts the world plane 1 m ahead, so its point (x, y, 0) is the pixel
// (1000 y + 2, 1000 x + 2). The input I is the real ramp 100 + 10 r + c.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "standins/engine_support.h"

namespace {

using namespace quorvex::test;

const std::string kCam = "[0.01, 0, 1e-5, 1e-5, 2, 2, 5, 5]";
const std::string kPose = "[0, 0, 1, 0, 0, 0, 0]";
const Lines kRamp = {"gen_image_gray_ramp (B, 10, 1, 100, 0, 0, 5, 5)",
                     "convert_image_type (B, I, 'real')"};

// R: the grey values of the image's rows 0 .. h - 1, columns 0 .. w - 1, then its domain's area.
Lines valuesAndArea(int w, int h, const std::string& image = "W") {
  return {
      "gen_rectangle1 (Rect, 0, 0, " + std::to_string(h - 1) + ", " + std::to_string(w - 1) + ")",
      "get_region_points (Rect, Rows, Cols)",
      "full_domain (" + image + ", F)",
      "get_grayval (F, Rows, Cols, G)",
      "get_domain (" + image + ", D)",
      "area_center (D, A, Ar, Ac)",
      "R := [G, A]"};
}

Lines toWorld(const std::string& cam, const std::string& pose, int w, int h,
              const std::string& scale, const std::string& interpolation) {
  return kRamp +
         Lines{"image_to_world_plane (I, W, " + cam + ", " + pose + ", " + std::to_string(w) +
               ", " + std::to_string(h) + ", " + scale + ", '" + interpolation + "')"} +
         valuesAndArea(w, h);
}

// image_to_world_plane, HALCON 11.0: a Width x Height result whose pixel (r, c) shows the world
// point (c Scale, r Scale), Scale in metres or a unit's name; a pixel whose point the image
// does not show stays 0 and leaves the domain. With 'mm', (r, c) comes from (r + 2, c + 2).
TEST(ImageToWorldPlane, EachPixelShowsItsWorldPoint) {
  expectReals({
      // the last column would come from input column 5, past the image
      {toWorld(kCam, kPose, 4, 3, "'mm'", "bilinear"),
       {122, 123, 124, 0, 132, 133, 134, 0, 142, 143, 144, 0, 9}},
      // the world turned 180 degrees about z: (2 - r, 2 - c)
      {toWorld(kCam, "[0, 0, 1, 0, 0, 180, 0]", 3, 2, "'mm'", "none"),
       {122, 121, 120, 112, 111, 110, 6}},
      // telecentric, cells of 1 mm, the world shifted 1 mm along x: (r + 2, c + 3)
      {toWorld("[0, 0, 1e-3, 1e-3, 2, 2, 5, 5]", "[0.001, 0, 0.5, 0, 0, 0, 0]", 2, 2, "'mm'",
               "none"),
       {123, 124, 133, 134, 4}},
      {toWorld(kCam, "[0, 0, -1, 0, 0, 0, 0]", 2, 2, "'mm'", "none"), {0, 0, 0, 0, 0}},  // behind
      // (1000 s r + 2, 1000 s c + 2) for s metres a pixel
      {toWorld(kCam, kPose, 2, 2, "0.0005", "bilinear"), {122, 122.5, 127, 127.5, 4}, 1e-4},
      {toWorld(kCam, kPose, 2, 2, "0.002", "none"), {122, 124, 142, 144, 4}},
      {toWorld(kCam, kPose, 2, 2, "'cm'", "none"), {122, 0, 0, 0, 1}},
      {toWorld(kCam, kPose, 2, 2, "'m'", "none"), {122, 0, 0, 0, 1}},
      {toWorld(kCam, kPose, 2, 2, "'microns'", "none"), {122, 122, 122, 122, 4}},
      {toWorld(kCam, kPose, 2, 2, "'µm'", "none"), {122, 122, 122, 122, 4}},
  });
}

// gen_image_to_world_plane_map, HALCON 11.0: 'coord_map_sub_pix' holds each pixel's source row
// and column (two real channels), 'nearest_neighbor' the index row * WidthIn + column of the
// nearest input pixel (int4; -1 past the image, this stand-in's mark). map_image of the map
// gives the direct warp's values and domain, here for a tilted, distorted camera.
TEST(GenImageToWorldPlaneMap, MapHoldsTheSources) {
  const std::string gen = "gen_image_to_world_plane_map (Map, " + kCam + ", " + kPose + ", 5, 5, ";
  expectReals({{{gen + "2, 2, 'mm', 'coord_map_sub_pix')", "decompose2 (Map, MR, MC)",
                 "get_grayval (MR, [0, 0, 1, 1], [0, 1, 0, 1], GR)",
                 "get_grayval (MC, [0, 0, 1, 1], [0, 1, 0, 1], GC)", "R := [GR, GC]"},
                {2, 2, 3, 3, 2, 3, 2, 3},
                1e-6},
               {{gen + "4, 1, 'mm', 'nearest_neighbor')",
                 "get_grayval (Map, [0, 0, 0, 0], [0, 1, 2, 3], R)"},
                {12, 13, 14, -1}}});
  const std::string cam = "[0.01, -2000, 1e-5, 1e-5, 2, 2, 5, 5]";
  const std::string args = cam + ", [0.0002, -0.0001, 1, 5, -3, 10, 0], ";
  const std::pair<std::string, std::string> kinds[] = {{"bilinear", "coord_map_sub_pix"},
                                                       {"none", "nearest_neighbor"}};
  for (const auto& [interpolation, type] : kinds) {
    expectCases({{type.c_str(),
                  kRamp +
                      Lines{"image_to_world_plane (I, W, " + args + "6, 5, 0.0007, '" +
                                interpolation + "')",
                            "gen_image_to_world_plane_map (Map, " + args + "5, 5, 6, 5, 0.0007, '" +
                                type + "')",
                            "map_image (I, Map, M)", "get_image_type (Map, T)"} +
                      valuesAndArea(6, 5) + Lines{"G1 := G", "A1 := A"} + valuesAndArea(6, 5, "M") +
                      Lines{"R := [T, sum(abs(G1 - G)), A1 == A, A > 0, A < 30]"},
                  interpolation == "none" ? "['int4', 0.0, 1, 1, 1]" : "['real', 0.0, 1, 1, 1]"}});
  }
}

// gen_radial_distortion_map and change_radial_distortion_image, HALCON 11.0: each pixel of
// CamParamOut's image (its size) straightened with CamParamOut, distorted with CamParamIn;
// only Region's pixels computed (an empty object: all); a source outside the image gives 0
// outside the domain. kBent's Kappa 2.5e9 makes 1 + Kappa r^2 = 2 two cells from the centre:
// (2, 4) comes from (2, 3), (2, 3) from (2, 2.8) (1.25), (0, 0) from (4 / 3, 4 / 3) (3).
TEST(RadialDistortion, OutputPixelsComeFromTheInputCamerasPixel) {
  const std::string kBent = "[0.01, 2.5e9, 1e-5, 1e-5, 2, 2, 5, 5]";
  const auto change = [](const std::string& region, const std::string& in, const std::string& out) {
    return kRamp +
           Lines{region, "change_radial_distortion_image (I, Reg, W, " + in + ", " + out + ")"};
  };
  const std::string none = "gen_empty_obj (Reg)";
  expectReals({
      {{"gen_radial_distortion_map (Map, " + kCam + ", " + kBent + ", 'coord_map_sub_pix')",
        "decompose2 (Map, MR, MC)", "get_grayval (MR, [2, 0], [4, 0], GR)",
        "get_grayval (MC, [2, 0], [4, 0], GC)", "R := [GR, GC]"},
       {2, 4.0 / 3, 3, 4.0 / 3},
       1e-5},
      {change(none, kCam, kBent) + Lines{"get_grayval (W, [2, 2, 0], [4, 3, 0], R)"},
       {123, 122.8, 100 + 40.0 / 3 + 4.0 / 3},
       1e-4},
      // the other way (2, 3) comes from (2, 4)
      {change(none, kBent, kCam) + Lines{"get_grayval (W, 2, 3, R)"}, {124}, 1e-3},
      // the same camera in and out leaves the image as it is
      {change(none, kCam, kCam) + valuesAndArea(5, 5) +
           Lines{"get_grayval (I, Rows, Cols, G0)", "R := [sum(abs(G - G0)), A]"},
       {0, 25}},
      {change("gen_rectangle1 (Reg, 1, 1, 2, 2)", kCam, kCam) + valuesAndArea(3, 2),
       {0, 0, 0, 0, 111, 112, 4}},
      // centre (0, 0) out: (r, c) from (r + 2, c + 2), rows and columns 0 .. 2 inside
      {change(none, kCam, "[0.01, 0, 1e-5, 1e-5, 0, 0, 5, 5]") + valuesAndArea(5, 1),
       {122, 123, 124, 0, 0, 9}},
      {change(none, kCam, "[0.01, 0, 1e-5, 1e-5, 2, 2, 3, 2]") +
           Lines{"get_image_size (W, Wd, Ht)", "R := [Wd, Ht]"},
       {3, 2}},
  });
}

// change_radial_distortion_cam_par, HALCON 11.0, 'fixed': the coefficients replaced, the rest
// kept; one coefficient for the polynomial model is K1, the others 0 (this stand-in's choice).
TEST(RadialDistortion, FixedModeReplacesTheCoefficients) {
  const std::string poly = "[0.01, 1, 2, 3, 4, 5, 1e-5, 1e-5, 2, 2, 5, 5]";
  const std::string fixed = "change_radial_distortion_cam_par ('fixed', ";
  expectReals({
      {{fixed + kCam + ", -500, R)"}, {0.01, -500, 1e-5, 1e-5, 2, 2, 5, 5}},
      {{fixed + poly + ", [6, 7, 8, 9, 10], R)"}, {0.01, 6, 7, 8, 9, 10, 1e-5, 1e-5, 2, 2, 5, 5}},
      {{fixed + poly + ", 0, R)"}, {0.01, 0, 0, 0, 0, 0, 1e-5, 1e-5, 2, 2, 5, 5}},
  });
}

// No images in, none out; the parameters' numbers: 1400 + n for a wrong count, 1300 + n for a
// wrong value, 1502 for more than one region.
TEST(Rectification, EmptyInputsAndWrongParameters) {
  expectCases({{"empty",
                {"gen_empty_obj (E)",
                 "image_to_world_plane (E, W, " + kCam + ", " + kPose + ", 2, 2, 'mm', 'none')",
                 "change_radial_distortion_image (E, E, O, " + kCam + ", " + kCam + ")",
                 "count_obj (W, N1)", "count_obj (O, N2)", "R := [N1, N2]"},
                "[0, 0]"}});
  const std::string seven = "[0.01, 0, 1e-5, 1e-5, 2, 2, 5]";
  const std::string world = "image_to_world_plane (I, W, " + kCam + ", " + kPose + ", ";
  const std::string map = "gen_image_to_world_plane_map (M, " + kCam + ", " + kPose + ", ";
  const std::string radial = "gen_radial_distortion_map (M, " + kCam + ", ";
  const std::string image = "change_radial_distortion_image (I, Reg, O, " + kCam + ", ";
  const std::string cam = "change_radial_distortion_cam_par (";
  expectErrorCases(
      {
          {{"image_to_world_plane (I, W, " + seven + ", " + kPose + ", 2, 2, 'mm', 'none')"}, 1401},
          {{"image_to_world_plane (I, W, " + kCam + ", [0, 0, 1, 0, 0, 0], 2, 2, 'mm', 'none')"},
           1402},
          {{world + "0, 2, 'mm', 'none')"}, 1303},
          {{world + "2, 40000, 'mm', 'none')"}, 1304},
          {{world + "2, 2, 'km', 'none')"}, 1305},
          {{world + "2, 2, 0, 'none')"}, 1305},
          {{world + "2, 2, -0.001, 'none')"}, 1305},
          {{world + "2, 2, 'mm', 'bicubic')"}, 1306},
          {{map + "0, 5, 2, 2, 'mm', 'coord_map_sub_pix')"}, 1303},
          {{map + "5, 5, 2, 2, 'inch', 'coord_map_sub_pix')"}, 1307},
          {{map + "5, 5, 2, 2, 'mm', 'bilinear')"}, 1308},
          {{"gen_radial_distortion_map (M, " + seven + ", " + kCam + ", 'coord_map_sub_pix')"},
           1401},
          {{radial + "[0, 0, 1e-5, 1e-5, 2, 2, 5, 5], 'coord_map_sub_pix')"}, 1302},
          {{radial + kCam + ", 'linear')"}, 1303},
          {{image + seven + ")"}, 1402},
          {{"gen_rectangle1 (Reg, [0, 1], [0, 1], [1, 2], [1, 2])", image + kCam + ")"}, 1502},
          {{cam + "'adaptive', " + kCam + ", 0, Out)"}, 1301},
          {{cam + "'preserve_resolution', " + kCam + ", 0, Out)"}, 1301},
          {{cam + "'fixed', " + seven + ", 0, Out)"}, 1402},
          {{cam + "'fixed', " + kCam + ", [1, 2], Out)"}, 1403},
      },
      kRamp + Lines{"gen_empty_obj (Reg)"});
}

}  // namespace
