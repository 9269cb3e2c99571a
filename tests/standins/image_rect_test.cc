// gen_image1_rect through program lines and from C++: rows of VerticalPitch bytes, the pixel's
// bits naming the type, the domain Width x Height; a program may pass only a plane the
// stand-in handed out (docs/standins.md, Addresses and object keys).
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "standins/engine_support.h"

namespace {

using namespace quorvex::test;
using HalconCpp::Hlong;
using HalconCpp::HObject;

// A: 4 x 2 bytes 1..8, P its plane; U: 2 x 2 uint2 of zeros, Q its plane.
const Lines kPlanes{"gen_image_const (A, 'byte', 4, 2)",
                    "set_grayval (A, [0, 0, 0, 0, 1, 1, 1, 1], [0, 1, 2, 3, 0, 1, 2, 3], [1, 2, "
                    "3, 4, 5, 6, 7, 8])",
                    "get_image_pointer1 (A, P, T, W, H)", "gen_image_const (U, 'uint2', 2, 2)",
                    "get_image_pointer1 (U, Q, T2, W2, H2)"};

// gen_image1_rect, HALCON 11.0: an image VerticalPitch / (HorizontalBitPitch / 8) wide and
// Height high from the rows at the address, its domain the Width x Height rectangle;
// DoCopy 'true' copies, 'false' uses the memory as it is.
TEST(ImageRect, RowsOfThePitch) {
  expectCases({
      {"a copy of 4 x 2 bytes with the domain 2 x 2: width 4, area 4, the second row",
       kPlanes + Lines{"gen_image1_rect (B, P, 2, 2, 4, 8, 8, 'true', 0)",
                       "set_grayval (A, 1, 0, 99)", "get_image_size (B, Wb, Hb)",
                       "area_center (B, Area, Row, Col)", "get_grayval (B, [1, 1], [0, 3], G)",
                       "R := [Wb, Hb, Area, G]"},
       "[4, 2, 4, 5, 8]"},
      {"in place: A changed after, the image sees it",
       kPlanes + Lines{"gen_image1_rect (B, P, 4, 2, 4, 8, 8, 'false', 0)",
                       "set_grayval (A, 1, 0, 99)", "get_grayval (B, 1, 0, R)"},
       "99"},
      {"16 bits a pixel: uint2, 4 bytes a row are 2 pixels",
       kPlanes + Lines{"gen_image1_rect (B, Q, 1, 2, 4, 16, 12, 'false', 0)",
                       "get_image_type (B, Type)", "get_image_size (B, Wb, Hb)",
                       "area_center (B, Area, Row, Col)", "R := [Type, Wb, Hb, Area]"},
       "['uint2', 2, 2, 2]"},
      {"32 bits a pixel: int4 from the same 8 bytes, one pixel a row",
       kPlanes + Lines{"gen_image1_rect (B, P, 1, 2, 4, 32, 32, 'true', 0)",
                       "get_image_type (B, Type)", "get_image_size (B, Wb, Hb)",
                       "R := [Type, Wb, Hb]"},
       "['int4', 1, 2]"},
  });
  // The pitch (1304): not whole pixels, or narrower than Width; the pixel's bits (1305); the
  // bits used (1306); DoCopy (1307); memory beyond the plane or of another type in place
  // (1301); a ClearProc a program cannot own (1308).
  const std::vector<ErrorRow> rows{
      {"gen_image1_rect (B, Q, 1, 2, 3, 16, 16, 'true', 0)", 1304},
      {"gen_image1_rect (B, P, 4, 2, 2, 8, 8, 'true', 0)", 1304},
      {"gen_image1_rect (B, P, 2, 2, 4, 12, 8, 'true', 0)", 1305},
      {"gen_image1_rect (B, P, 2, 2, 4, 8, 9, 'true', 0)", 1306},
      {"gen_image1_rect (B, P, 2, 2, 4, 8, 0, 'true', 0)", 1306},
      {"gen_image1_rect (B, P, 2, 2, 4, 8, 8, 'yes', 0)", 1307},
      {"gen_image1_rect (B, P, 2, 3, 4, 8, 8, 'true', 0)", 1301},
      {"gen_image1_rect (B, P + 1, 2, 2, 4, 8, 8, 'true', 0)", 1301},
      {"gen_image1_rect (B, P, 2, 2, 4, 16, 16, 'false', 0)", 1301},
      {"gen_image1_rect (B, P, 2, 2, 4, 8, 8, 'false', 4096)", 1308},
  };
  for (const ErrorRow& row : rows) {
    EXPECT_EQ(programError(kPlanes + Lines{row.input}), row.number) << row.input;
  }
}

// From C++ the caller's own rows are taken as given; in place, the ClearProc frees them with
// the last object (gen_image1_rect, HALCON 11.0).
int cleared = 0;
void clearRows(void*) {
  ++cleared;
}

TEST(ImageRect, CppCallersPassTheirOwnRows) {
  std::vector<std::uint16_t> rows{1, 2, 3, 4, 5, 6};  // 2 rows of 3 pixels, domain 2 x 2
  const auto address = static_cast<Hlong>(reinterpret_cast<std::uintptr_t>(rows.data()));
  const auto clear = static_cast<Hlong>(reinterpret_cast<std::uintptr_t>(&clearRows));
  {
    HObject image;
    HalconCpp::GenImage1Rect(&image, address, 2, 2, 6, 16, 16, "false", clear);
    rows[4] = 50;
    HTuple grey;
    HalconCpp::GetGrayval(image, HTuple(Hlong{1}), HTuple(Hlong{1}), &grey);
    EXPECT_EQ(text(grey), "50");
  }
  EXPECT_EQ(cleared, 1);
}

}  // namespace
