// Images made from addresses and objects from integer keys: a program line may hand back only
// what the stand-in handed out and is still alive, a C++ caller its own memory.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "standins/engine_support.h"

namespace {

using namespace quorvex::test;
using HalconCpp::Hlong;
using HalconCpp::HObject;

// A: 2 x 1 bytes 5 and 6, P its plane's address; C: A's three-channel copy with addresses
// P1..P3.
const Lines kPlane{"gen_image_const (A, 'byte', 2, 1)", "set_grayval (A, [0, 0], [0, 1], [5, 6])",
                   "get_image_pointer1 (A, P, T, W, H)", "compose3 (A, A, A, C)",
                   "get_image_pointer3 (C, P1, P2, P3, T3, W3, H3)"};

// gen_image1, HALCON 11.0: the pixels at the address copied into a new image.
// gen_image1_extern, HALCON 11.0: the memory used in place, not copied. gen_image3, HALCON
// 11.0: three such planes. obj_to_integer / integer_to_obj, HALCON 11.0: objects to keys and
// back.
TEST(ImageAddresses, HandedOutAddressesComeBack) {
  expectCases({
      {"gen_image1 copies: A changed after, the copy keeps 5",
       with(kPlane, {"gen_image1 (B, 'byte', 2, 1, P)", "set_grayval (A, 0, 0, 9)",
                     "get_grayval (B, [0, 0], [0, 1], R)"}),
       "[5, 6]"},
      {"gen_image1 of the first row's pixel only (1 x 1 from a 2-pixel plane)",
       with(kPlane, {"gen_image1 (B, 'byte', 1, 1, P)", "get_grayval (B, 0, 0, R)"}), "5"},
      {"gen_image1_extern shares: A changed after, the image sees 9",
       with(kPlane, {"gen_image1_extern (B, 'byte', 2, 1, P, 0)", "set_grayval (A, 0, 0, 9)",
                     "get_grayval (B, 0, 0, R)"}),
       "9"},
      {"gen_image3 of the three planes",
       with(kPlane, {"gen_image3 (B, 'byte', 2, 1, P1, P2, P3)", "count_channels (B, N)",
                     "get_grayval (B, 0, 1, G)", "R := [N, G]"}),
       "[3, 6, 6, 6]"},
      {"obj_to_integer of all, integer_to_obj back: the same objects",
       with(kPlane,
            {"gen_rectangle1 (Q, 0, 0, 1, 1)", "concat_obj (A, Q, O)",
             "obj_to_integer (O, 1, -1, K)", "integer_to_obj (B, K)", "test_equal_obj (O, B, E)",
             "obj_diff (O, B, D)", "count_obj (D, N)", "R := [|K|, E, N]"}),
       "[2, 1, 0]"},
  });
}

// The numbers: the pointer's or key's wrong value (gen_image1: 1304, gen_image1_extern's
// ClearProc: 1305, integer_to_obj: 1301) for anything that is not the start of a live
// handed-out plane holding the image, or a live handed-out object.
TEST(ImageAddresses, ProgramsCannotNameOtherMemory) {
  const std::vector<ErrorRow> rows{
      {"gen_image1 (B, 'byte', 2, 1, 4096)", 1304},
      {"gen_image1 (B, 'byte', 1, 1, P + 1)", 1304},
      {"gen_image1 (B, 'byte', 3, 1, P)", 1304},
      {"gen_image1 (B, 'int2', 2, 1, P)", 1304},
      {"gen_image1_extern (B, 'byte', 2, 1, 4096, 0)", 1304},
      {"gen_image1_extern (B, 'byte', 2, 1, P, 4096)", 1305},
      {"gen_image3 (B, 'byte', 2, 1, P1, P2, 4096)", 1306},
      {"gen_empty_obj (A)\ngen_empty_obj (C)\ngen_image1 (B, 'byte', 2, 1, P)", 1304},
      {"integer_to_obj (B, 4096)", 1301},
      {"obj_to_integer (A, 2, 1, K)", 1301},
      {"obj_to_integer (A, 1, 2, K)", 1302},
  };
  for (const ErrorRow& row : rows) {
    EXPECT_EQ(programError(with(kPlane, split(row.input))), row.number) << row.input;
  }
}

// A C++ caller's own buffer is taken as given (gen_image1, HALCON 11.0).
TEST(ImageAddresses, CppCallersPassTheirOwnMemory) {
  std::vector<std::uint8_t> pixels{1, 2, 3, 4};
  HObject image;
  HalconCpp::GenImage1(&image, "byte", 2, 2,
                       static_cast<Hlong>(reinterpret_cast<std::uintptr_t>(pixels.data())));
  pixels[0] = 9;
  HTuple grey, corners(Hlong{0});
  corners.Append(HTuple(Hlong{1}));
  HalconCpp::GetGrayval(image, corners, corners, &grey);
  EXPECT_EQ(text(grey), "[1, 4]");
}

// get_image_pointer1_rect, HALCON 11.0: the first pixel of the domain's smallest rectangle,
// its size, the image's width times the pixel's bytes, and the pixel's bits; one-channel byte,
// uint2 or int4 images. A 4 x 3 image reduced to rows and columns 1..2: (1 * 4 + 1) pixels on.
TEST(ImageAddresses, PointerOfTheDomainsRectangle) {
  const Lines lines{"gen_image_const (A, Type, 4, 3)", "rectangle1_domain (A, B, 1, 1, 2, 2)",
                    "get_image_pointer1 (A, P, T, W, H)",
                    "get_image_pointer1_rect (B, Q, RW, RH, Pitch, Bits, PixelBits)",
                    "R := [Q - P, RW, RH, Pitch, Bits, PixelBits]"};
  expectCases({{"byte", with({"Type := 'byte'"}, lines), "[5, 2, 2, 4, 8, 8]"},
               {"uint2", with({"Type := 'uint2'"}, lines), "[10, 2, 2, 8, 16, 16]"},
               {"int4", with({"Type := 'int4'"}, lines), "[20, 2, 2, 16, 32, 32]"}});
  expectErrorCases({{with({"Type := 'real'"}, lines), 9001},
                    {{"gen_image_const (A, 'byte', 2, 2)", "compose2 (A, A, C)",
                      "get_image_pointer1_rect (C, Q, RW, RH, Pitch, Bits, PixelBits)"},
                     3032}});
}

// The planes the stand-in makes begin on a 64-byte line of the cache, whatever their size and
// type, as an operator's results and each channel of a composed image do (docs/standins.md).
TEST(ImageAddresses, OwnedPlanesBeginOnALineOfTheCache) {
  const Lines made{"gen_image_const (A, Type, 641, 3)",
                   "mean_image (A, M, 3, 3)",
                   "compose3 (A, M, A, C)",
                   "get_image_pointer1 (A, P, T, W, H)",
                   "get_image_pointer1 (M, Q, T2, W2, H2)",
                   "get_image_pointer3 (C, P1, P2, P3, T3, W3, H3)",
                   "R := [P % 64, Q % 64, P1 % 64, P2 % 64, P3 % 64]"};
  expectCases({{"byte", with({"Type := 'byte'"}, made), "[0, 0, 0, 0, 0]"},
               {"uint2", with({"Type := 'uint2'"}, made), "[0, 0, 0, 0, 0]"},
               {"real", with({"Type := 'real'"}, made), "[0, 0, 0, 0, 0]"}});
}

}  // namespace
