// fill_interlace, expand_domain_gray, gray_inside, symmetry, regiongrowing_mean, expand_line
// and get_channel_info through program lines, on images of a few pixels whose answers are
// worked by hand from the vendor's page named beside each table (the 11.0 page where we have
// it, else the release named); the pages' open choices follow docs/standins.md.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "standins/engine_support.h"

namespace {

using namespace quorvex::test;

// The column 10 20 31 40 50 as I.
const Lines kColumn = gridImage("I", {{10}, {20}, {31}, {40}, {50}});

TEST(FillInterlace, HalfImagesRecomputedDroppedOrExchanged) {
  // fill_interlace (the 17.12 page; 11.0's is not at hand): a recomputed row is the mean of the
  // rows above and below (halves up), an edge row takes its one neighbour; 'rmodd'/'rmeven'
  // drop the odd/even rows; 'switch' exchanges each pair.
  const auto column = [](const std::string& mode, const std::string& rows) {
    return kColumn + Lines{"fill_interlace (I, O, '" + mode + "')",
                           "get_grayval (O, " + rows + ", [0, 0, 0, 0, 0], R)"};
  };
  const std::string all = "[0, 1, 2, 3, 4]";
  expectCases({
      {"odd: 41/2, 81/2", column("odd", all), "[10, 21, 31, 41, 50]"},
      {"even: 20, 60/2, 40", column("even", all), "[20, 20, 30, 40, 40]"},
      {"switch: the fifth row stays", column("switch", all), "[20, 10, 40, 31, 50]"},
      {"rmodd keeps rows 0 2 4",
       kColumn + Lines{"fill_interlace (I, O, 'rmodd')", "get_image_size (O, W, H)",
                       "get_grayval (O, [0, 1, 2], [0, 0, 0], G)", "R := [H, G]"},
       "[3, 10, 31, 50]"},
      {"rmeven keeps rows 1 3",
       kColumn + Lines{"fill_interlace (I, O, 'rmeven')", "get_image_size (O, W, H)",
                       "get_grayval (O, [0, 1], [0, 0], G)", "R := [H, G]"},
       "[2, 20, 40]"},
      {"no image: no result",
       {"gen_empty_obj (E)", "fill_interlace (E, O, 'odd')", "count_obj (O, R)"},
       "0"},
  });
  expectErrorCases(
      {{kColumn + Lines{"fill_interlace (I, O, 'rmax')"}, 1301},
       {{"gen_image_const (I, 'byte', 4, 1)", "fill_interlace (I, O, 'rmeven')"}, 1301},
       {{"gen_image_const (I, 'real', 4, 4)", "fill_interlace (I, O, 'odd')"}, 9001}});
}

TEST(ExpandDomainGray, RingsOfNeighbourMeans) {
  // expand_domain_gray (the 7.1 and 18.11 pages): the domain's grey values copied outwards
  // ExpansionRange pixels, the domain grown with them (each new pixel the mean of its
  // 8-neighbours already inside). A 5 x 5 zero image, 50 at (2,2) alone in the domain.
  const Lines point =
      gridImage(
          "I",
          {{0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}, {0, 0, 50, 0, 0}, {0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}}) +
      Lines{"gen_rectangle1 (D, 2, 2, 2, 2)", "reduce_domain (I, D, J)"};
  expectCases({
      {"range 1: the 3 x 3 around it, outside untouched",
       point + Lines{"expand_domain_gray (J, E, 1)", "get_domain (E, Ed)",
                     "area_center (Ed, A, Y, X)", "get_grayval (E, [1, 3, 0], [1, 3, 0], G)",
                     "R := [A, G]"},
       "[9, 50, 50, 0]"},
      {"range 2 fills the image; a range past it stops there",
       point + Lines{"expand_domain_gray (J, E, 9)", "get_domain (E, Ed)",
                     "area_center (Ed, A, Y, X)", "get_grayval (E, 0, 4, G)", "R := [A, G]"},
       "[25, 50]"},
      {"between 10 and 40 the mean: 25 at (2,2) and (1,2), 10 at (1,0)",
       gridImage("I", {{0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}, {0, 10, 0, 40, 0}}) +
           Lines{"gen_region_points (D, [2, 2], [1, 3])", "reduce_domain (I, D, J)",
                 "expand_domain_gray (J, E, 1)", "get_grayval (E, [2, 1, 1], [2, 2, 0], R)"},
       "[25, 25, 10]"},
  });
  expectErrorCases(
      {{point + Lines{"expand_domain_gray (J, E, 0)"}, 1301},
       {{"gen_image_const (I, 'complex', 4, 4)", "expand_domain_gray (I, E, 1)"}, 9001}});
}

TEST(GrayInside, ClimbToTheDomainEdge) {
  // gray_inside (the 18.11 page): each pixel's least highest grey value on an 8-connected path
  // to the domain's edge, less its own. A 9 ring around a 2 on a border of 1s: the 2 climbs
  // to 9 (7), the ring and the border nothing; a 3 in the ring lets it out at 3 (1).
  const Grid ring = {
      {1, 1, 1, 1, 1}, {1, 9, 9, 9, 1}, {1, 9, 2, 9, 1}, {1, 9, 9, 9, 1}, {1, 1, 1, 1, 1}};
  Grid gap = ring;
  gap[1][2] = 3;
  const Lines read = {"gray_inside (I, O)", "get_image_type (O, T)",
                      "get_grayval (O, [2, 1, 0, 1], [2, 1, 0, 2], G)", "R := [T, G]"};
  expectCases({
      {"closed ring", gridImage("I", ring) + read, "['int2', 7, 0, 0, 0]"},
      {"a gap at 3", gridImage("I", gap) + read, "['int2', 1, 0, 0, 0]"},
      {"a one-pixel domain is its own edge",
       gridImage("I", ring) + Lines{"gen_rectangle1 (D, 2, 2, 2, 2)", "reduce_domain (I, D, J)",
                                    "gray_inside (J, O)", "get_grayval (O, 2, 2, R)"},
       "0"},
      {"no image: no result", {"gen_empty_obj (E)", "gray_inside (E, O)", "count_obj (O, R)"}, "0"},
  });
  expectErrorCases({{{"gen_image_const (I, 'real', 4, 4)", "gray_inside (I, O)"}, 9001}});
}

TEST(RegiongrowingMean, RunningMeanFromSeeds) {
  // regiongrowing_mean (the 7.1 and 24.11 pages): a boundary pixel joins when it differs from
  // the region's current mean by less than Tolerance; regions under MinSize are dropped; no
  // seeds start at the upper leftmost free pixel, then the next. Row 10 14 17 19 25 25 with
  // Tolerance 5.5: 14 joins (mean 12), 17 (5 < 5.5; mean 13.67), 19 (5.33; mean 15), 25 not.
  const Lines row = gridImage("I", {{10, 14, 17, 19, 25, 25}});
  const auto areas = [&](const std::string& line) {
    return row + Lines{line, "area_center (Rg, R, Y, X)"};
  };
  expectCases({
      {"one seed", areas("regiongrowing_mean (I, Rg, 0, 0, 5.5, 1)"), "4"},
      {"no seeds: every pixel in turn", areas("regiongrowing_mean (I, Rg, [], [], 5.5, 1)"),
       "[4, 2]"},
      {"MinSize 3 drops the pair", areas("regiongrowing_mean (I, Rg, [], [], 5.5, 3)"), "4"},
      {"less than, not equal: 14 - 10 = 4 stops Tolerance 4",
       areas("regiongrowing_mean (I, Rg, 0, 0, 4, 1)"), "1"},
      {"a seed off the image grows nothing",
       row + Lines{"regiongrowing_mean (I, Rg, 5, 0, 5.5, 1)", "count_obj (Rg, R)"}, "0"},
      {"no image: no result",
       {"gen_empty_obj (E)", "regiongrowing_mean (E, Rg, [], [], 5, 1)", "count_obj (Rg, R)"},
       "0"},
  });
  expectErrorCases({{row + Lines{"regiongrowing_mean (I, Rg, 0, 0, 0, 1)"}, 1303},
                    {row + Lines{"regiongrowing_mean (I, Rg, 0, 0, 5, -1)"}, 1304},
                    {row + Lines{"regiongrowing_mean (I, Rg, [0, 0], 0, 5, 1)"}, 1402}});
}

TEST(ExpandLine, FromTheLineUntilTheStep) {
  // expand_line (the 7.1 page): from row (column) Coordinate along each column (row) while the
  // grey value differs by at most Threshold from the line's mean ('mean') or from the last
  // pixel taken ('gradient').
  const Lines image =
      gridImage("I", {{50, 10, 10}, {12, 11, 10}, {10, 10, 10}, {13, 16, 10}, {14, 30, 10}});
  const auto area = [&](const std::string& line) {
    return image + Lines{line, "area_center (Rg, R, Y, X)"};
  };
  expectCases({
      {"gradient from row 2: columns of 4, 3 and 5 rows",
       area("expand_line (I, Rg, 2, 'gradient', 'row', 3)"), "12"},
      {"mean 10 from row 2: 3, 3 and 5 rows", area("expand_line (I, Rg, 2, 'mean', 'row', 3)"),
       "11"},
      {"gradient from column 0: rows of 1, 3, 3, 2 and 1",
       area("expand_line (I, Rg, 0, 'gradient', 'column', 3)"), "10"},
      {"a line off the image: an empty region",
       area("expand_line (I, Rg, 9, 'gradient', 'row', 3)"), "0"},
  });
  expectErrorCases({{image + Lines{"expand_line (I, Rg, -1, 'mean', 'row', 3)"}, 1301},
                    {image + Lines{"expand_line (I, Rg, 2, 'up', 'row', 3)"}, 1302},
                    {image + Lines{"expand_line (I, Rg, 2, 'mean', 'diag', 3)"}, 1303},
                    {image + Lines{"expand_line (I, Rg, 2, 'mean', 'row', 300)"}, 1304}});
}

TEST(GetChannelInfo, TypesOfTheComponents) {
  // get_channel_info (the 7.1 and 24.11 pages): 'type' names each component, 0 being the
  // region (or 'xld'), 1 ... the channels' pixel types.
  const Lines colour = {"gen_image_const (A, 'byte', 2, 2)", "compose3 (A, A, A, C)"};
  expectCases({
      {"a colour image", colour + Lines{"get_channel_info (C, 'type', [0, 1, 3], R)"},
       "['region', 'byte', 'byte']"},
      {"a real image",
       {"gen_image_const (A, 'real', 2, 2)", "get_channel_info (A, 'type', 1, R)"},
       "'real'"},
      {"a region",
       {"gen_rectangle1 (D, 0, 0, 1, 1)", "get_channel_info (D, 'type', 0, R)"},
       "'region'"},
      {"a contour",
       {"gen_contour_polygon_xld (X, [0, 1], [0, 1])", "get_channel_info (X, 'type', 0, R)"},
       "'xld'"},
  });
  expectErrorCases(
      {{colour + Lines{"get_channel_info (C, 'type', 4, R)"}, 1302},
       {colour + Lines{"get_channel_info (C, 'creator', 0, R)"}, 1301},
       {colour + Lines{"concat_obj (C, C, CC)", "get_channel_info (CC, 'type', 0, R)"}, 1501}});
}

TEST(Symmetry, RowsAlikeLeftAndRight) {
  // symmetry (the 11.0 page, its formula whole on the 5.2 page): 255 - 255 / MaskSize times the
  // sum over i = 1 ... MaskSize of (|g(x + i) - g(x - i)| / 255)^Exponent, the row mirrored at
  // its ends (-1 reads 0). Row 10 20 30 20 10, MaskSize 3: column 0 differs by 10 three times
  // (245), column 1 by 20, 10, 10 (241.67), column 2 not at all.
  const Lines row = gridImage("I", {{10, 20, 30, 20, 10}});
  expectCases({
      {"Exponent 1",
       row +
           Lines{"symmetry (I, S, 3, 0.0, 1.0)", "get_grayval (S, [0, 0, 0, 0], [0, 1, 2, 4], R)"},
       "[245, 242, 255, 245]"},
      {"Exponent 0.5: 255 - 85 (sqrt(20/255) + 2 sqrt(10/255)) = 197.53",
       row + Lines{"symmetry (I, S, 3, 0.0, 0.5)", "get_grayval (S, 0, 1, R)"}, "198"},
  });
  expectErrorCases({{row + Lines{"symmetry (I, S, 2, 0.0, 0.5)"}, 1301},
                    {row + Lines{"symmetry (I, S, 3, 0.5, 0.5)"}, 1302},
                    {row + Lines{"symmetry (I, S, 3, 0.0, 0)"}, 1303},
                    {{"gen_image_const (I, 'real', 4, 4)", "symmetry (I, S, 3, 0.0, 0.5)"}, 9001}});
}

}  // namespace
