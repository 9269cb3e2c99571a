// Channels regrouped, domains replaced, objects compared and dropped, and files copied, through
// program lines, against the HALCON 11.0 pages each table names.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "standins/engine_support.h"

namespace {

using namespace quorvex::test;

// Seven 2 x 2 byte images C1..C7, image k all grey k.
Lines sevenImages() {
  Lines lines;
  for (int k = 1; k <= 7; ++k) {
    const std::string c = "C" + std::to_string(k);
    lines.push_back("gen_image_const (" + c + ", 'byte', 2, 2)");
    lines.push_back("set_grayval (" + c + ", [0, 0, 1, 1], [0, 1, 0, 1], " + std::to_string(k) +
                    ")");
  }
  return lines;
}

// compose2..compose7, HALCON 11.0: n one-channel images make one n-channel image, the domain
// the intersection of theirs. decompose2..decompose7, HALCON 11.0: the reverse, one image a
// channel. append_channel, HALCON 11.0: the channels of Image after those of
// MultiChannelImage. channels_to_image / image_to_channels, HALCON 11.0: a tuple of one-channel
// images to one image and back.
TEST(Channels, RegroupWithoutChangingGreyValues) {
  expectCases({
      {"compose2: channels 1, 2",
       with(sevenImages(), {"compose2 (C1, C2, M)", "count_channels (M, N)",
                            "get_grayval (M, 1, 1, G)", "R := [N, G]"}),
       "[2, 1, 2]"},
      {"compose7: channels 1..7",
       with(sevenImages(), {"compose7 (C1, C2, C3, C4, C5, C6, C7, M)", "count_channels (M, N)",
                            "get_grayval (M, 0, 0, G)", "R := [N, G]"}),
       "[7, 1, 2, 3, 4, 5, 6, 7]"},
      {"compose3 of (0,0)-(0,1) and (0,1)-(1,1) domains: only (0,1) is in both",
       with(sevenImages(),
            {"gen_rectangle1 (Top, 0, 0, 0, 1)", "gen_rectangle1 (Right, 0, 1, 1, 1)",
             "reduce_domain (C1, Top, A)", "reduce_domain (C2, Right, B)", "compose3 (A, B, C3, M)",
             "get_domain (M, D)", "area_center (D, Area, Row, Col)", "R := [Area, Row, Col]"}),
       "[1, 0.0, 1.0]"},
      {"decompose4 of compose4: each channel back",
       with(sevenImages(), {"compose4 (C4, C3, C2, C1, M)", "decompose4 (M, D1, D2, D3, D4)",
                            "get_grayval (D1, 0, 0, G1)", "get_grayval (D4, 0, 0, G4)",
                            "count_channels (D2, N)", "R := [G1, G4, N]"}),
       "[4, 1, 1]"},
      {"decompose7 of compose7",
       with(sevenImages(),
            {"compose7 (C1, C2, C3, C4, C5, C6, C7, M)",
             "decompose7 (M, D1, D2, D3, D4, D5, D6, D7)", "get_grayval (D7, 1, 0, R)"}),
       "7"},
      {"append_channel: 2 channels and 1",
       with(sevenImages(), {"compose2 (C1, C2, M)", "append_channel (M, C5, E)",
                            "count_channels (E, N)", "get_grayval (E, 0, 1, G)", "R := [N, G]"}),
       "[3, 1, 2, 5]"},
      {"channels_to_image of three, image_to_channels back",
       with(sevenImages(),
            {"concat_obj (C3, C1, T1)", "concat_obj (T1, C2, T)", "channels_to_image (T, M)",
             "count_channels (M, N)", "get_grayval (M, 0, 0, G)", "image_to_channels (M, Back)",
             "count_obj (Back, K)", "R := [N, G, K]"}),
       "[3, 3, 1, 2, 3]"},
      {"no images: none out",
       {"gen_empty_obj (E)", "image_to_channels (E, I)", "channels_to_image (E, M)",
        "count_obj (I, A)", "count_obj (M, B)", "R := [A, B]"},
       "[0, 0]"},
  });
}

// A count or size that does not fit: 3032 wrong number of channels, 3030 different sizes,
// 1502 a second input of another number of objects (decompose3, compose3, append_channel,
// HALCON 11.0).
TEST(Channels, RefuseMismatchedInputs) {
  const Lines first = with(sevenImages(), {"gen_image_const (Tall, 'byte', 2, 3)",
                                           "compose3 (C1, C2, C3, M3)", "concat_obj (C1, C2, T)"});
  const std::vector<ErrorRow> rows{
      {"decompose2 (M3, A, B)", 3032},
      {"decompose4 (C1, A, B, C, D)", 3032},
      {"compose2 (C1, Tall, M)", 3030},
      {"append_channel (M3, Tall, E)", 3030},
      {"compose2 (T, C1, M)", 1502},
      {"append_channel (T, C1, E)", 1502},
      {"channels_to_image (Tall, M)\nconcat_obj (Tall, C1, BC)\nchannels_to_image (BC, M)", 3030},
  };
  for (const ErrorRow& row : rows) {
    EXPECT_EQ(programError(with(first, split(row.input))), row.number) << row.input;
  }
}

// change_domain, HALCON 11.0: the region becomes the domain, whatever the old one was (cut to
// the image). rectangle1_domain, HALCON 11.0: reduce_domain with the rectangle, so what of it
// lies in the old domain.
TEST(Domains, ReplaceOrReduce) {
  const Lines image{"gen_image_const (I, 'byte', 4, 4)", "gen_rectangle1 (Corner, 0, 0, 0, 0)",
                    "reduce_domain (I, Corner, IC)"};
  expectCases({
      {"change_domain: rows and columns 2..5 cut to 2..3, the corner dropped",
       with(image, {"gen_rectangle1 (Box, 2, 2, 5, 5)", "change_domain (IC, Box, N)",
                    "get_domain (N, D)", "area_center (D, A, Row, Col)", "R := [A, Row, Col]"}),
       "[4, 2.5, 2.5]"},
      {"rectangle1_domain of the full image: the 2 x 2 box",
       with(image, {"rectangle1_domain (I, N, 1, 1, 2, 2)", "get_domain (N, D)",
                    "area_center (D, A, Row, Col)", "R := [A, Row, Col]"}),
       "[4, 1.5, 1.5]"},
      {"rectangle1_domain of the corner image: of the box, only the corner is in both",
       with(image, {"rectangle1_domain (IC, N, 0, 0, 3, 3)", "get_domain (N, D)",
                    "area_center (D, A, Row, Col)", "R := A"}),
       "1"},
  });
  expectErrorCases({{{"rectangle1_domain (I, N, 2, 0, 1, 3)"}, 1303},
                    {{"rectangle1_domain (I, N, 0, 2, 3, 1)"}, 1304}},
                   image);
}

// test_equal_obj, HALCON 11.0: objects equal in region and grey values. obj_diff, HALCON 11.0:
// the objects of the first tuple that are not in the second. clear_obj, HALCON 11.0: the
// objects are released; the variable's copy stays usable in the stand-in, which frees objects
// with their last holder.
TEST(Objects, CompareDropAndClear) {
  const Lines two{"gen_image_const (A, 'byte', 2, 2)", "gen_image_const (B, 'byte', 2, 2)",
                  "gen_rectangle1 (P, 0, 0, 1, 1)", "gen_rectangle1 (Q, 0, 0, 1, 1)"};
  expectCases({
      {"two zero images, two equal rectangles: equal",
       with(two, {"test_equal_obj (A, B, E1)", "test_equal_obj (P, Q, E2)", "R := [E1, E2]"}),
       "[1, 1]"},
      {"one grey value changed; another domain; another class: unequal",
       with(two, {"set_grayval (B, 1, 1, 1)", "test_equal_obj (A, B, E1)",
                  "gen_image_const (C, 'byte', 2, 2)", "gen_rectangle1 (Dot, 0, 0, 0, 0)",
                  "reduce_domain (C, Dot, CD)", "test_equal_obj (A, CD, E2)",
                  "test_equal_obj (A, P, E3)", "R := [E1, E2, E3]"}),
       "[0, 0, 0]"},
      {"obj_diff: of A, P, B without P, the two images remain",
       with(two, {"concat_obj (A, P, AP)", "concat_obj (AP, B, APB)", "obj_diff (APB, P, D)",
                  "get_obj_class (D, R)"}),
       "['image', 'image']"},
      {"obj_diff: an equal but other rectangle is not removed",
       with(two, {"obj_diff (P, Q, D)", "count_obj (D, R)"}), "1"},
      {"clear_obj", with(two, {"clear_obj (A)", "R := 0"}), "0"},
  });
  EXPECT_EQ(programError(with(two, {"concat_obj (A, B, AB)", "test_equal_obj (A, AB, E)"})), 1502);
}

// copy_file, HALCON 11.0: the destination holds the source's bytes; a missing source is 5200.
TEST(Files, CopyFile) {
  const std::string folder = makeTempFolder("quorvex_copy_") + "/";
  const HTuple in(folder.c_str());
  EXPECT_EQ(text(runLines({"write_tuple ([1, 'a'], In1 + 'from')",
                           "copy_file (In1 + 'from', In1 + 'to')", "read_tuple (In1 + 'to', R)"},
                          {in})),
            "[1, 'a']");
  EXPECT_EQ(programError({"copy_file (In1 + 'none', In1 + 'to')"}, {in}), 5200);
}

// get_image_pointer3, HALCON 11.0: three channels' addresses, the type and the size; an image
// of another channel count is refused (3032).
TEST(Channels, PointersOfThreeChannels) {
  expectCases({{"three addresses, 'byte', 2 x 2",
                with(sevenImages(),
                     {"compose3 (C1, C2, C3, M)", "get_image_pointer3 (M, P1, P2, P3, T, W, H)",
                      "R := [P1 # P2 and P2 # P3, T, W, H]"}),
                "[1, 'byte', 2, 2]"}});
  EXPECT_EQ(programError(with(sevenImages(), {"get_image_pointer3 (C1, P1, P2, P3, T, W, H)"})),
            3032);
}

// get_mposition, get_mbutton and their sub-pixel forms, HALCON 11.0: they fail (H_MSG_FAIL, 5)
// when the pointer is not in the window, which a stand-in window never has; the waiting ones
// fail at once rather than wait. An unknown handle is 5100 first.
TEST(Mouse, NoPointerInAStandInWindow) {
  const Lines open{"open_window (0, 0, 8, 8, 0, 'invisible', '', W)"};
  for (const char* op :
       {"get_mposition", "get_mposition_sub_pix", "get_mbutton", "get_mbutton_sub_pix"}) {
    const std::string args = " (W, Row, Col, Button)";
    EXPECT_EQ(programError(with(open, {op + args, "close_window (W)"})), 5) << op;
    EXPECT_EQ(programError({std::string(op) + " (123456, Row, Col, Button)"}), 5100) << op;
  }
}

}  // namespace
