// Area scan cameras through program lines, against values worked out by hand from the HALCON
// 11.0 reference (project_3d_point, get_line_of_sight, image_points_to_world_plane,
// cam_par_*, project_*_hom_mat3d, change_radial_distortion_points, read_/write_pose and
// read_/write_cam_par pages). The camera: focus 10 mm, square cells of 10 um, principal point
// (row 240, column 320), so a point (x, y, z) in front of it lands on the pixel
// (240 + 1000 y / z, 320 + 1000 x / z).
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "standins/engine_support.h"

namespace {

using namespace quorvex::test;

// Program lines and the error number each raises.
const std::string kCam = "[0.01, 0, 1e-5, 1e-5, 320, 240, 640, 480]";
const std::string kTelecentric = "[0, 0, 1e-5, 1e-5, 320, 240, 640, 480]";
const std::string kBarrel = "[0.01, -1000, 1e-5, 1e-5, 320, 240, 640, 480]";
const std::string kRadialPoly = "[0.01, 1000, 0, 0, 0, 0, 1e-5, 1e-5, 320, 240, 640, 480]";
const std::string kTangentialPoly = "[0.01, 0, 0, 0, 10, 0, 1e-5, 1e-5, 320, 240, 640, 480]";

TEST(CameraProjection, PointsIntoImages) {
  expectReals({
      // project_3d_point, HALCON 11.0: (u, v) = f (x, y) / z, then the pixel
      {{"project_3d_point (0.1, 0.05, 1, " + kCam + ", Row, Col)", "R := [Row, Col]"}, {290, 420}},
      // telecentric: (u, v) = (x, y), whatever z
      {{"project_3d_point (0.001, 0.0005, 7, " + kTelecentric + ", Row, Col)", "R := [Row, Col]"},
       {290, 420}},
      // division model: u~ = 2 u / (1 + sqrt(1 - 4 kappa r^2)), r^2 = 1.25e-6
      {{"project_3d_point (0.1, 0.05, 1, " + kBarrel + ", Row, Col)", "R := [Row, Col]"},
       {289.93765576342133, 419.87531152684267}},
      {{"project_3d_point ([], [], [], " + kCam + ", Row, Col)", "R := [Row, Col]"}, {}},
      // cam_par_to_cam_mat, HALCON 11.0: [f / Sx, 0, Cx, 0, f / Sy, Cy, 0, 0, 1]
      {{"cam_par_to_cam_mat (" + kCam + ", M, W, H)", "R := [M, W, H]"},
       {1000, 0, 320, 0, 1000, 240, 0, 0, 1, 640, 480}},
      // cam_par_pose_to_hom_mat3d, HALCON 11.0: the camera matrix times [I | (0, 0, 1)]
      {{"cam_par_pose_to_hom_mat3d (" + kCam + ", [0, 0, 1, 0, 0, 0, 0], R)"},
       {1000, 0, 320, 320, 0, 1000, 240, 240, 0, 0, 1, 1}},
      // project_point_hom_mat3d, HALCON 11.0: Qx the column, Qy the row
      {{"cam_par_pose_to_hom_mat3d (" + kCam + ", [0, 0, 1, 0, 0, 0, 0], M)",
        "project_point_hom_mat3d (M, 0.1, 0.05, 0, Qx, Qy)", "R := [Qx, Qy]"},
       {420, 290}},
      {{"project_hom_point_hom_mat3d ([1000, 0, 320, 320, 0, 1000, 240, 240, 0, 0, 1, 1], 0.1, "
        "0.05, 0, 2, Qx, Qy, Qw)",
        "R := [Qx, Qy, Qw]"},
       {740, 530, 2}},
  });
}

// get_line_of_sight, HALCON 11.0: from the centre of projection through the straightened
// point on the plane z = f; a telecentric line runs along z.
TEST(CameraProjection, LinesOfSight) {
  const std::string line = "PX, PY, PZ, QX, QY, QZ)";
  const std::string all = "R := [PX, PY, PZ, QX, QY, QZ]";
  expectReals({
      {{"get_line_of_sight (290, 420, " + kCam + ", " + line, all}, {0, 0, 0, 0.001, 0.0005, 0.01}},
      {{"get_line_of_sight (290, 420, " + kTelecentric + ", " + line, all},
       {0.001, 0.0005, 0, 0.001, 0.0005, 1}},
      // u = u~ / (1 + kappa r~^2) = 0.001 / 0.999
      {{"get_line_of_sight (240, 420, " + kBarrel + ", " + line, all},
       {0, 0, 0, 0.001001001001001001, 0, 0.01}},
      // polynomial: u = u~ (1 + K1 r~^2) = 0.001 * 1.001
      {{"get_line_of_sight (240, 420, " + kRadialPoly + ", " + line, all},
       {0, 0, 0, 0.001001, 0, 0.01}},
      // u = u~ + 2 P1 u~ v~, v = v~ + P1 (r~^2 + 2 v~^2), u~ = v~ = 0.001
      {{"get_line_of_sight (340, 420, " + kTangentialPoly + ", " + line, all},
       {0, 0, 0, 0.00102, 0.00104, 0.01}},
      {{"get_line_of_sight ([], [], " + kCam + ", " + line, all}, {}},
  });
}

// The forward models against their inverses: a pixel's line of sight projects back onto it
// (project_3d_point, get_line_of_sight, HALCON 11.0), and change_radial_distortion_points
// there and back returns the pixel.
TEST(CameraProjection, DistortionInverses) {
  for (const std::string& cam : {kBarrel, kRadialPoly, kTangentialPoly}) {
    expectReals({
        {{"get_line_of_sight ([10, 240, 470], [15, 320, 600], " + cam + ", PX, PY, PZ, QX, QY, QZ)",
          "project_3d_point (QX, QY, QZ, " + cam + ", Row, Col)", "R := [Row, Col]"},
         {10, 240, 470, 15, 320, 600}},
        {{"change_radial_distortion_points ([10, 470], [15, 600], " + cam + ", " + kCam +
              ", Row1, Col1)",
          "change_radial_distortion_points (Row1, Col1, " + kCam + ", " + cam + ", Row, Col)",
          "R := [Row, Col]"},
         {10, 470, 15, 600}},
    });
  }
  expectReals({
      // change_radial_distortion_points, HALCON 11.0: straightened, (u, v) / 0.99875
      {{"change_radial_distortion_points (290, 420, " + kBarrel + ", " + kCam + ", Row, Col)",
        "R := [Row, Col]"},
       {290.0625782227785, 420.12515644555697}},
      // twice the focus, twice the offset from the principal point
      {{"change_radial_distortion_points (290, 420, " + kCam +
            ", [0.02, 0, 1e-5, 1e-5, 320, 240, 640, 480], Row, Col)",
        "R := [Row, Col]"},
       {340, 520}},
  });
}

// image_points_to_world_plane, HALCON 11.0: the line of sight of (290, 420) meets z = 1 in
// the camera at (0.1, 0.05, 1); Scale gives the unit of X and Y.
TEST(CameraProjection, WorldPlane) {
  auto onPlane = [](const std::string& pose, const std::string& scale) {
    return Lines{
        "image_points_to_world_plane (" + kCam + ", " + pose + ", 290, 420, " + scale + ", X, Y)",
        "R := [X, Y]"};
  };
  const std::string ahead = "[0, 0, 1, 0, 0, 0, 0]";
  expectReals({
      {onPlane(ahead, "'m'"), {0.1, 0.05}},
      {onPlane(ahead, "'mm'"), {100, 50}},
      {onPlane(ahead, "0.01"), {10, 5}},
      // turned about x by 180 degrees: world (X, Y, 0) is (X, -Y, 1) in the camera
      {onPlane("[0, 0, 1, 180, 0, 0, 0]", "'m'"), {0.1, -0.05}},
      {{"image_points_to_world_plane (" + kCam + ", " + ahead + ", [], [], 'm', X, Y)",
        "R := [X, Y]"},
       {}},
      // contour_to_world_plane_xld, HALCON 11.0: the same points, world x as the column
      {{"gen_contour_polygon_xld (C, [290, 240], [420, 320])",
        "contour_to_world_plane_xld (C, W, " + kCam + ", " + ahead + ", 'mm')",
        "get_contour_xld (W, Row, Col)", "R := [Row, Col]"},
       {50, 0, 100, 0}},
      // change_radial_distortion_contours_xld, HALCON 11.0: as the points
      {{"gen_contour_polygon_xld (C, [290, 240], [420, 320])",
        "change_radial_distortion_contours_xld (C, S, " + kBarrel + ", " + kCam + ")",
        "get_contour_xld (S, Row, Col)", "R := [Row, Col]"},
       {290.0625782227785, 240, 420.12515644555697, 320}},
  });
}

TEST(CameraProjection, Errors) {
  expectLineErrors({
      {"cam_par_to_cam_mat ([0.01, 0, 1e-5, 1e-5, 320, 240, 640], M, W, H)", 1401},
      {"cam_par_to_cam_mat ([0.01, 0, 0, 1e-5, 320, 240, 640, 480], M, W, H)", 1301},
      {"cam_par_to_cam_mat (" + kBarrel + ", M, W, H)", 1301},
      {"cam_par_to_cam_mat (" + kTelecentric + ", M, W, H)", 1301},
      {"cam_par_pose_to_hom_mat3d (" + kCam + ", [0, 0, 1, 0, 0, 0], M)", 1402},
      {"project_3d_point (1, 1, 0, " + kCam + ", Row, Col)", 1303},
      {"project_3d_point (1, [1, 2], 1, " + kCam + ", Row, Col)", 1402},
      {"project_3d_point (1, 1, 1, [0.01, 0, 1e-5, 1e-5, 320, 240, 640, 480, 0, 0, 1], Row, "
       "Col)",
       1404},
      {"project_point_hom_mat3d ([1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 1], 0, 0, -1, Qx, Qy)", 1302},
      {"image_points_to_world_plane (" + kCam + ", [0, 0, 1, 0, 0, 0, 0], 1, 1, 'km', X, Y)", 1305},
      {"image_points_to_world_plane (" + kCam + ", [0, 0, 1, 0, 0, 0, 0], 1, 1, 0, X, Y)", 1305},
      // the plane seen edge on
      {"image_points_to_world_plane (" + kCam +
           ", [0, 0, 1, 90, 0, 0, 0], 240, 320, 'm', "
           "X, Y)",
       1302},
      {"change_radial_distortion_points (1, 1, " + kCam + ", " + kTelecentric + ", R, C)", 1304},
  });
}

// write_pose and read_pose, HALCON 11.0: the lines 'f <type>', 'r <rotation>' and
// 't <translation>' among comments; write_cam_par and read_cam_par: one 'Name: short; value;'
// line for each parameter.
TEST(CameraProjection, FilesAndItems) {
  const std::string pose = scratchFolder() + "/pose.dat";
  const std::string cam = scratchFolder() + "/campar.dat";
  expectCases({
      {"pose file",
       {"write_pose ([0.1, 0.2, 0.3, 10, 20, 30, 2], '" + pose + "')",
        "read_pose ('" + pose + "', R)"},
       "[0.1, 0.2, 0.3, 10.0, 20.0, 30.0, 2]"},
      {"camera file",
       {"write_cam_par ([0.01, -1000, 0.5, 0.25, 320, 240, 640, 480], '" + cam + "')",
        "read_cam_par ('" + cam + "', R)"},
       "[0.01, -1000.0, 0.5, 0.25, 320.0, 240.0, 640, 480]"},
      {"pose item",
       {"serialize_pose ([1, 2, 3, 4, 5, 6, 8], S)", "deserialize_pose (S, R)"},
       "[1.0, 2.0, 3.0, 4.0, 5.0, 6.0, 8]"},
      {"camera item",
       {"serialize_cam_par ([0.01, 0, 0, 0, 0, 0, 0.5, 0.5, 1, 2, 3, 4], S)",
        "deserialize_cam_par (S, R)"},
       "[0.01, 0.0, 0.0, 0.0, 0.0, 0.0, 0.5, 0.5, 1.0, 2.0, 3, 4]"},
  });
  std::ifstream written(pose);
  std::stringstream text;
  text << written.rdbuf();
  EXPECT_NE(text.str().find("\nf 2\n"), std::string::npos) << text.str();
  EXPECT_NE(text.str().find("\nr 10 20 30\n"), std::string::npos) << text.str();
  EXPECT_NE(text.str().find("\nt 0.1 0.2 0.3\n"), std::string::npos) << text.str();

  // The reference's own example file.
  std::ofstream(pose) << "# 3D POSE PARAMETERS: rotation and translation\n\n"
                         "# Used representation type:\nf 0\n\n"
                         "# Rotation angles [deg] or Rodriguez vector:\n"
                         "r -17.8134 1.83816 0.288092\n\n"
                         "# Translation vector (x y z [m]):\nt 0.280164 0.150644 1.7554\n";
  expectCases({{"example",
                {"read_pose ('" + pose + "', R)"},
                "[0.280164, 0.150644, 1.7554, -17.8134, 1.83816, 0.288092, 0]"}});
  std::ofstream(pose) << "f 0\nr 0 0 0\n";
  expectLineErrors({{"read_pose ('" + pose + "', R)", 5202},
                    {"read_pose ('" + scratchFolder() + "/none.dat', R)", 5200},
                    {"read_cam_par ('" + pose + "', R)", 5202}});
}

}  // namespace
