// Misuse and races a caller can bring about through the C interface, each of which once
// crashed or misreported: a window resized while the logo overlay works on it, a host
// locale that groups digits, and NULL where an export expects a pointer.
#include <cstdint>
#include <functional>
#include <locale>
#include <string>

#include "api/test_data.h"
#include "display/display_fixture.h"

namespace quorvex::test {

int hinitMode() {
  return 1;
}

namespace {

using HalconCpp::HTuple;

class Hardening : public DisplayTest {};

// Every byte of the window's three planes, summed.
std::uint64_t pixelSum(long window, long* width, long* height) {
  HalconCpp::Standin::InsideScope inside;
  HalconCpp::HObject dump;
  HalconCpp::DumpWindowImage(&dump, HTuple(static_cast<HalconCpp::Hlong>(window)));
  HTuple r, g, b, type, w, h;
  HalconCpp::GetImagePointer3(dump, &r, &g, &b, &type, &w, &h);
  *width = w[0].L();
  *height = h[0].L();
  std::uint64_t sum = 0;
  for (const HTuple* plane : {&r, &g, &b}) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>((*plane)[0].L());
    for (long i = 0; i < *width * *height; ++i) sum += bytes[i];
  }
  return sum;
}

// Another thread may set a window's extents while the overlay works on it; the stand-in
// control does so deterministically, between the overlay's reading of the extents and its
// dump. A smaller dump was once blended past its end, a larger one garbled.
TEST_F(Hardening, OverlayLeavesAWindowResizedUnderItAlone) {
  const struct { long width, height; } sizes[] = {{130, 60}, {200, 100}, {1200, 900}};
  for (const auto& size : sizes) {
    Snippet open({"dev_open_window (0, 0, 640, 480, 'black', W)"}, {"W"});
    ASSERT_EQ(open.run(), nullptr);
    {
      HalconCpp::Standin::InsideScope inside;
      HTuple resize(static_cast<HalconCpp::Hlong>(size.width));
      resize.Append(HTuple(static_cast<HalconCpp::Hlong>(size.height)));
      HalconCpp::SetSystem("standin_resize_at_dump", resize);
    }
    Snippet clear({"dev_clear_window ()"});
    ASSERT_EQ(clear.run(), nullptr);
    long width = 0, height = 0;
    EXPECT_EQ(pixelSum(open.longAt("W"), &width, &height), 0u) << size.width;
    EXPECT_EQ(width, size.width);
    EXPECT_EQ(height, size.height);
    closeRegisteredWindows();
  }
}

struct DotGrouping : std::numpunct<char> {
  char do_thousands_sep() const override { return '.'; }
  std::string do_grouping() const override { return "\3"; }
};

TEST_F(Hardening, MessagesWriteNumbersInTheClassicLocale) {
  const std::locale host =
      std::locale::global(std::locale(std::locale::classic(), new DotGrouping));
  MessageCapture capture;
  injectFault("OpenWindow", 5100);
  EXPECT_OK(hopenDefaultWindow());
  std::locale::global(host);
  ASSERT_FALSE(MessageCapture::err().empty());
  EXPECT_EQ(MessageCapture::err()[0], "Opened default window failed: error 5100");
}

}  // namespace
}  // namespace quorvex::test
