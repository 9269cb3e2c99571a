// Images of the pixel types beyond byte, through program lines: their names, conversions,
// single pixels, arithmetic, the operators that carry any type, the refusal of the rest, the
// pixel bound and the window. Expected values are worked by hand from the vendor's HALCON
// 11.0 reference page each table names.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "standins/engine_support.h"
#include "standins/iconic_test_support.h"

namespace {

using namespace HalconCpp;
using namespace quorvex::test;

const char* const kTypes[] = {"byte", "int1",      "int2",   "uint2",  "int4",
                              "real", "direction", "cyclic", "complex"};

// R after the lines, as its readable form.
std::string after(const Lines& lines) {
  try {
    return text(runLines(lines));
  } catch (const HDevEngineException& e) {
    return "error " + std::to_string(e.HalconErrNum());
  }
}

// An image I of one pixel of the type holding the value.
Lines onePixel(const std::string& type, const std::string& value, const char* name = "I") {
  return {std::string("gen_image_const (") + name + ", '" + type + "', 1, 1)",
          std::string("set_grayval (") + name + ", 0, 0, " + value + ")"};
}

// get_image_type and get_image_pointer1, HALCON 11.0 reference: the type as one of 'byte',
// 'int1', 'int2', 'uint2', 'int4', 'real', 'direction', 'cyclic', 'complex'.
TEST(ImageTypes, NamesComeBackAsTheReferenceSpellsThem) {
  for (const char* type : kTypes) {
    const std::string quoted = std::string("'") + type + "'";
    EXPECT_EQ(after({"gen_image_const (I, " + quoted + ", 4, 3)", "get_image_type (I, R)"}),
              quoted);
    EXPECT_EQ(after({"gen_image_const (I, " + quoted + ", 4, 3)",
                     "get_image_pointer1 (I, P, T, W, H)", "R := [T, W, H]"}),
              "[" + quoted + ", 4, 3]");
  }
  EXPECT_EQ(after({"gen_image_const (I, 'int8', 4, 3)"}), "error 1301");
}

// convert_image_type, HALCON 11.0 reference: "too large or too small values are simply
// clipped"; a 'direction' value beyond 0..179 is 255 (no direction); a real becomes the
// nearest integer (the page is silent on rounding: docs/standins.md).
TEST(ImageTypes, ConversionClipsToTheTargetRange) {
  struct Case {
    const char *from, *value, *to, *expected;
  };
  const Case cases[] = {
      {"real", "300.7", "byte", "255"},     // clipped at 255
      {"real", "-5.0", "byte", "0"},        // clipped at 0
      {"real", "2.4", "byte", "2"},         // nearest integer
      {"real", "2.6", "int2", "3"},         // nearest integer
      {"int2", "-200", "int1", "-128"},     // int1 holds -128..127
      {"int4", "70000", "uint2", "65535"},  // uint2 holds 0..65535
      {"int4", "70000", "int2", "32767"},   // int2 holds -32768..32767
      {"int2", "-1", "uint2", "0"},        {"int4", "-70000", "real", "-70000.0"},
      {"byte", "200", "direction", "255"},  // beyond 179: no direction
      {"byte", "179", "direction", "179"}, {"int2", "300", "cyclic", "255"},
      {"uint2", "65535", "int4", "65535"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(after(onePixel(c.from, c.value) +
                    Lines{"convert_image_type (I, C, '" + std::string(c.to) + "')",
                          "get_grayval (C, 0, 0, R)"}),
              c.expected)
        << c.from << " " << c.value << " to " << c.to;
  }
  // complex: "only the real part is converted".
  EXPECT_EQ(after({"gen_image_const (I, 'complex', 2, 2)", "convert_image_type (I, C, 'real')",
                   "get_grayval (C, 1, 1, R)"}),
            "0.0");
  EXPECT_EQ(after({"gen_image_const (I, 'byte', 2, 2)", "convert_image_type (I, C, 'float')"}),
            "error 1301");
}

// get_grayval / set_grayval, HALCON 11.0 reference: values come back as the type holds them,
// integers for the integer types and reals for 'real'; set_grayval stores what the type holds.
// (int4's least value is written as an expression: its literal passes a 32-bit integer.)
TEST(ImageTypes, SinglePixelsAreIntegersOrRealsAsTheTypeSays) {
  struct Case {
    const char *type, *value, *expected;
  };
  const Case cases[] = {
      {"real", "2.5", "2.5"},      {"real", "-1e10", "-1e+10"},
      {"int2", "-7", "-7"},        {"int1", "-200", "-128"},
      {"uint2", "70000", "65535"}, {"int4", "-2147483647 - 1", "-2147483648"},
      {"byte", "300", "255"},      {"cyclic", "12", "12"},
      {"direction", "90", "90"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(after(onePixel(c.type, c.value) + Lines{"get_grayval (I, 0, 0, R)"}), c.expected)
        << c.type << " " << c.value;
  }
}

// add_image, sub_image, scale_image, HALCON 11.0 reference: g' := (g1 + g2) * Mult + Add,
// (g1 - g2) * Mult + Add and g * Mult + Add, the result of the input's type, "if an
// overflow or an underflow occurs the values are clipped", but not for cyclic and direction
// images, whose values wrap around (256 and 180).
TEST(ImageTypes, ArithmeticKeepsTheTypeAndClipsOrWraps) {
  struct Case {
    const char *type, *a, *b, *line, *expected;
  };
  const Case cases[] = {
      {"int2", "1000", "30000", "add_image (A, B, C, 1, 0)", "31000"},
      {"int2", "30000", "30000", "add_image (A, B, C, 1, 0)", "32767"},
      {"int2", "5", "10", "add_image (A, B, C, -2, 1)", "-29"},  // (5 + 10) * -2 + 1
      {"uint2", "60000", "6000", "add_image (A, B, C, 1, 0)", "65535"},
      {"int4", "2000000000", "2000000000", "add_image (A, B, C, 0.5, 0)", "2000000000"},
      {"real", "0.25", "0.5", "add_image (A, B, C, 2, 0.125)", "1.625"},
      {"cyclic", "200", "100", "add_image (A, B, C, 1, 0)", "44"},    // 300 - 256
      {"direction", "170", "20", "add_image (A, B, C, 1, 0)", "10"},  // 190 - 180
      {"int2", "5", "10", "sub_image (A, B, C, 1, 0)", "-5"},
      {"uint2", "5", "10", "sub_image (A, B, C, 1, 0)", "0"},
      {"int1", "-100", "100", "sub_image (A, B, C, 1, 0)", "-128"},
      {"real", "1.0", "3.5", "sub_image (A, B, C, 2, 0)", "-5.0"},
      {"cyclic", "5", "10", "sub_image (A, B, C, 1, 0)", "251"},  // -5 + 256
      {"real", "1.5", "0", "scale_image (A, C, 2, 0.25)", "3.25"},
      {"int1", "100", "0", "scale_image (A, C, 2, 0)", "127"},
      {"uint2", "1000", "0", "scale_image (A, C, -1, 0)", "0"},
      {"int4", "-3", "0", "scale_image (A, C, 1000, 7)", "-2993"},
      // invert_image: 255 - g for byte and cyclic, 65535 - g for uint2, -g for the signed
      // types and real; abs_image: |g|; max_image, min_image: the larger and the smaller of two
      // pixels (HALCON 11.0 reference pages of each).
      {"int2", "5", "0", "invert_image (A, C)", "-5"},
      {"uint2", "5", "0", "invert_image (A, C)", "65530"},
      {"real", "-2.5", "0", "invert_image (A, C)", "2.5"},
      {"cyclic", "5", "0", "invert_image (A, C)", "250"},
      {"int1", "-128", "0", "invert_image (A, C)", "127"},  // 128 clipped
      {"int2", "-7", "0", "abs_image (A, C)", "7"},
      {"real", "-0.5", "0", "abs_image (A, C)", "0.5"},
      {"int4", "-3", "4", "max_image (A, B, C)", "4"},
      {"int4", "-3", "4", "min_image (A, B, C)", "-3"},
      {"real", "2.5", "-1.0", "max_image (A, B, C)", "2.5"},
      {"byte", "9", "200", "min_image (A, B, C)", "9"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(after(onePixel(c.type, c.a, "A") + onePixel(c.type, c.b, "B") +
                    Lines{c.line, "get_grayval (C, 0, 0, R)"}),
              c.expected)
        << c.type << " " << c.a << ", " << c.b << ": " << c.line;
  }
}

// Byte is every operator's default: one that does not name a type refuses it with 9001,
// "Image to process has wrong gray value type", and so do two inputs of different types.
TEST(ImageTypes, AnOperatorRefusesATypeItDoesNotTake) {
  const Lines lines[] = {
      {"gen_image_const (I, 'complex', 4, 4)", "threshold (I, O, 0, 10)"},
      {"gen_image_const (I, 'int1', 4, 4)", "mean_image (I, O, 3, 3)"},
      {"gen_image_const (I, 'uint2', 4, 4)", "rgb1_to_gray (I, O)"},
      {"gen_image_const (I, 'int2', 4, 4)", "gen_image_const (J, 'byte', 4, 4)",
       "add_image (I, J, O, 1, 0)"},
      {"gen_image_const (I, 'byte', 4, 4)", "gen_image_const (J, 'int2', 4, 4)",
       "add_image (I, J, O, 1, 0)"},
      {"gen_image_const (I, 'real', 4, 4)", "gen_image_const (J, 'int2', 4, 4)",
       "compose3 (I, J, J, O)"},
      {"gen_image_const (I, 'real', 4, 4)", "power_real (I, O)"},
      {"gen_image_const (I, 'direction', 4, 4)", "abs_image (I, O)"},
  };
  for (const Lines& program : lines) {
    EXPECT_EQ(programError(program), 9001) << program.back();
  }
  HTuple text;
  GetErrorText(9001, &text);
  EXPECT_EQ(std::string(text[0].S()), "Image to process has wrong gray value type");
}

// The operators that only move pixels carry every type with its values: domains, parts,
// channels and copies.
TEST(ImageTypes, DomainsPartsChannelsAndCopiesCarryTheType) {
  const Lines real = {"gen_image_const (I, 'real', 5, 4)", "set_grayval (I, 2, 3, -1.5)"};
  struct Case {
    Lines lines;
    const char* expected;
  };
  const Case cases[] = {
      {real + Lines{"gen_rectangle1 (D, 1, 1, 3, 3)", "reduce_domain (I, D, C)",
                    "get_image_type (C, T)", "get_grayval (C, 2, 3, V)", "R := [T, V]"},
       "['real', -1.5]"},
      {real + Lines{"crop_part (I, C, 2, 3, 2, 2)", "get_image_type (C, T)",
                    "get_grayval (C, 0, 0, V)", "get_image_size (C, W, H)", "R := [T, V, W, H]"},
       "['real', -1.5, 2, 2]"},
      {real + Lines{"crop_rectangle1 (I, C, 1, 2, 3, 4)", "get_grayval (C, 1, 1, R)"}, "-1.5"},
      {real + Lines{"gen_rectangle1 (D, 2, 3, 2, 3)", "reduce_domain (I, D, E)",
                    "crop_domain (E, C)", "get_grayval (C, 0, 0, R)"},
       "-1.5"},
      {real + Lines{"gen_rectangle1 (D, 0, 0, 0, 0)", "reduce_domain (I, D, E)",
                    "full_domain (E, F)", "get_domain (F, G)", "area_center (G, A, Row, Col)",
                    "get_image_type (F, T)", "R := [T, A]"},
       "['real', 20]"},
      {real + Lines{"compose3 (I, I, I, C)", "count_channels (C, N)", "get_image_type (C, T)",
                    "access_channel (C, A, 2)", "get_grayval (A, 2, 3, V)", "R := [N, T, V]"},
       "[3, 'real', -1.5]"},
      {real + Lines{"compose3 (I, I, I, C)", "decompose3 (C, A, B, D)", "get_image_type (D, T)",
                    "get_grayval (B, 2, 3, V)", "R := [T, V]"},
       "['real', -1.5]"},
      // A copy holds pixels of its own.
      {real + Lines{"copy_image (I, C)", "set_grayval (C, 2, 3, 7.0)", "get_grayval (I, 2, 3, A)",
                    "get_grayval (C, 2, 3, B)", "get_image_type (C, T)", "R := [A, B, T]"},
       "[-1.5, 7.0, 'real']"},
      // gen_image_proto, HALCON 11.0 reference: the same size, type and channels, every
      // pixel the value.
      {{"gen_image_const (I, 'int2', 3, 2)", "gen_image_proto (I, C, -40000)",
        "get_grayval (C, [0, 1], [0, 2], V)", "get_image_type (C, T)", "R := [T, V]"},
       "['int2', -32768, -32768]"},
  };
  for (const Case& c : cases) EXPECT_EQ(after(c.lines), c.expected) << c.lines.back();
}

// Every plane's bytes count against "standin_pixel_limit" at their element size: 4 a pixel
// for real, 2 for int2, 8 for complex; images of the largest size of those types pass a bound
// of 1 GiB and fail with 6001 before any allocation.
TEST(ImageTypes, PlanesChargeThePixelBoundAtTheirElementSize) {
  struct Case {
    const char* type;
    Hlong bytes;
  };
  // What a 100 x 10 image holds beyond its pixels (its domain's runs) is the byte image's
  // share less its 1000 pixel bytes.
  const auto held = [](const char* type) {
    const Hlong before = systemValue("standin_pixel_bytes");
    HObject image;
    GenImageConst(&image, type, 100, 10);
    return systemValue("standin_pixel_bytes") - before;
  };
  const Hlong domain = held("byte") - 1000;
  for (const Case& c :
       {Case{"int1", 1000}, Case{"int2", 2000}, Case{"uint2", 2000}, Case{"int4", 4000},
        Case{"real", 4000}, Case{"direction", 1000}, Case{"complex", 8000}}) {
    EXPECT_EQ(held(c.type) - domain, c.bytes) << c.type;
  }
  const Hlong limit = systemValue("standin_pixel_limit");
  SetSystem("standin_pixel_limit", Hlong{1} << 30);
  HObject huge;
  EXPECT_EQ(errorOf([&] { GenImageConst(&huge, "real", 32768, 32768); }), 6001);
  EXPECT_EQ(errorOf([&] { GenImageConst(&huge, "int2", 32768, 32768); }), 6001);
  SetSystem("standin_pixel_limit", limit);
}

// sobel_amp, HALCON 11.0 reference: 'x' is b / 4 and 'y' a / 4, b and a the image convolved
// with B = (1 0 -1 / 2 0 -2 / 1 0 -1) and A = (1 2 1 / 0 0 0 / -1 -2 -1), "if the input image
// is of type byte the output image is of type int1". A convolution turns the mask around, so
// B weighs the column to the right by +1 2 1 and the one to the left by -1 -2 -1.
TEST(ImageTypes, SobelXAndYAreSignedInt1Images) {
  struct Case {
    const char* image;  // lines making a 5 x 5 byte image J
    const char *type, *expected;
  };
  const std::string blank = "gen_image_const (I, 'byte', 5, 5)";
  const Case cases[] = {
      // Columns 2..4 at 100: at (2, 1) and (2, 2) (100 + 200 + 100 - 0) / 4 = 100; at (2, 3)
      // both sides 400: 0; at (2, 0) the mirrored column -1 is column 0: 0.
      {"gen_rectangle1 (P, 0, 2, 4, 4)", "'x'", "[0, 100, 100, 0, 0]"},
      {"gen_rectangle1 (P, 0, 2, 4, 4)", "'y'", "[0, 0, 0, 0, 0]"},
      // Columns 0..1 at 100: falling to the right, -100.
      {"gen_rectangle1 (P, 0, 0, 4, 1)", "'x'", "[0, -100, -100, 0, 0]"},
      // Rows 2..4 at 100, read down column 2: rising downwards.
      {"gen_rectangle1 (P, 2, 0, 4, 4)", "'y'", "[0, 100, 100, 0, 0]"},
  };
  for (const Case& c : cases) {
    const bool down = std::string(c.image).find("2, 0, 4, 4") != std::string::npos;
    const std::string read = down ? "get_grayval (S, [0, 1, 2, 3, 4], [2, 2, 2, 2, 2], R)"
                                  : "get_grayval (S, [2, 2, 2, 2, 2], [0, 1, 2, 3, 4], R)";
    EXPECT_EQ(after({blank, c.image, "paint_region (P, I, J, 100, 'fill')",
                     std::string("sobel_amp (J, S, ") + c.type + ", 3)", read}),
              c.expected)
        << c.image << " " << c.type;
  }
  // 255 on the right: (255 + 510 + 255) / 4 = 255, clipped to int1's 127; on the left -128.
  EXPECT_EQ(after({blank, "gen_rectangle1 (P, 0, 2, 4, 4)", "paint_region (P, I, J, 255, 'fill')",
                   "sobel_amp (J, S, 'x', 3)", "get_grayval (S, 2, 1, V)", "get_image_type (S, T)",
                   "R := [V, T]"}),
            "[127, 'int1']");
  EXPECT_EQ(after({blank, "gen_rectangle1 (P, 0, 0, 4, 1)", "paint_region (P, I, J, 255, 'fill')",
                   "sobel_amp (J, S, 'x_binomial', 3)", "get_grayval (S, 2, 2, R)"}),
            "-128");
}

// min_max_gray and intensity, HALCON 11.0 reference, over an int2 row of -1000, 0, 1000,
// 3000: Percent 0 gives the smallest and largest value; 25 cuts floor(4 * 25 / 100) = 1 pixel
// off each end (the page's ranks; its histogram of other types is left to docs/standins.md);
// the mean is 3000 / 4 = 750 and the deviation sqrt(sum (g - 750)^2 / 4) = sqrt(8750000 / 4).
TEST(ImageTypes, StatisticsOfOtherTypesUseTheirValues) {
  const Lines row = {"gen_image_const (I, 'int2', 4, 1)",
                     "set_grayval (I, [0, 0, 0, 0], [0, 1, 2, 3], [-1000, 0, 1000, 3000])",
                     "get_domain (I, D)"};
  EXPECT_EQ(after(row + Lines{"min_max_gray (D, I, 0, Min, Max, Range)", "R := [Min, Max, Range]"}),
            "[-1000.0, 3000.0, 4000.0]");
  EXPECT_EQ(
      after(row + Lines{"min_max_gray (D, I, 25, Min, Max, Range)", "R := [Min, Max, Range]"}),
      "[0.0, 1000.0, 1000.0]");
  const HTuple statistics =
      runLines(row + Lines{"intensity (D, I, Mean, Deviation)", "R := [Mean, Deviation]"});
  EXPECT_DOUBLE_EQ(statistics[0].D(), 750.0);
  EXPECT_NEAR(statistics[1].D(), 1479.0199457749, 1e-9);
  // gray_histo takes the byte-sized types only.
  EXPECT_EQ(programError(row + Lines{"gray_histo (D, I, Abs, Rel)"}), 9001);
}

// write_image / read_image: a uint2 image goes into a TIFF file of 16-bit grey samples and
// comes back whole; the formats that hold bytes only refuse it, as they refuse the other types.
TEST(ImageTypes, Uint2ImagesTravelThroughTiff) {
  const std::string file = scratchFolder() + "/deep.tif";
  const Lines deep = {"gen_image_const (I, 'uint2', 3, 1)",
                      "set_grayval (I, [0, 0, 0], [0, 1, 2], [0, 1000, 65535])"};
#ifdef QUORVEX_EXPECT_TIFF
  EXPECT_EQ(after(deep + Lines{"write_image (I, 'tiff', 0, '" + file + "')",
                               "read_image (J, '" + file + "')", "get_image_type (J, T)",
                               "get_grayval (J, [0, 0, 0], [0, 1, 2], V)", "R := [T, V]"}),
            "['uint2', 0, 1000, 65535]");
#endif
  expectErrorCases(
      {{deep + Lines{"write_image (I, 'png', 0, '" + file + "')"}, 9001},
       {{"gen_image_const (I, 'real', 3, 1)", "write_image (I, 'tiff', 0, '" + file + "')"},
        9001}});
}

// disp_obj of a type other than byte, direction and cyclic: its values mapped linearly from
// the smallest in the domain (0) to the largest (255), the reference's page being silent
// (docs/standins.md). Read back through dump_window_image.
TEST(ImageTypes, TheWindowScalesOtherTypesToTheirRange) {
  const Lines draw = {"gen_image_const (I, 'int2', 4, 1)",
                      "set_grayval (I, [0, 0, 0, 0], [0, 1, 2, 3], [-1000, 0, 1000, 3000])",
                      "open_window (0, 0, 4, 1, 0, 'invisible', '', W)",
                      "set_part (W, 0, 0, 0, 3)",
                      "disp_obj (I, W)",
                      "dump_window_image (D, W)",
                      "get_grayval (D, [0, 0, 0, 0], [0, 1, 2, 3], R)",
                      "close_window (W)"};
  // (g + 1000) * 255 / 4000: 0, 63.75, 127.5, 255, each rounded, in each of the three
  // channels.
  EXPECT_EQ(after(draw), "[0, 0, 0, 64, 64, 64, 128, 128, 128, 255, 255, 255]");
}

}  // namespace
