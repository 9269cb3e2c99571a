// read_image on every format it reads (PNG, JPEG, GIF, BMP, PGM/PPM, TIFF): the input is written
// to a file and read. A decoder may refuse it with 5202 (or 6001 when memory runs out), never
// crash; what it accepts is an image of one to four channels whose every pixel can be read.
// The stand-in is called directly, without the engine, so that the fuzzer's time goes to the
// decoders. QUORVEX_FUZZ_DECODERS=stb fuzzes the header-only decoder that the 32-bit and
// Windows builds use.
#include <cstdint>
#include <cstdlib>
#include <numeric>
#include <string>

#include "halconcpp/HalconCpp.h"
#include "harness.h"
#include "support/temp_folder.h"

namespace {

const std::string& inputFile() {
  static const std::string path = [] {
    const std::string folder = quorvex::test::makeTempFolder("quorvex_fuzz_image_");
    if (folder.empty()) std::abort();
    // Small files may promise 16 million pixels, which the decoders would spend seconds on
    // under the sanitizers: the pixel bound (2 MiB, some 250 000 pixels of four bytes once
    // decoded and once in planes) turns those away before decoding.
    HalconCpp::SetSystem("standin_pixel_limit", 2 << 20);
    if (const char* decoders = std::getenv("QUORVEX_FUZZ_DECODERS")) {
      HalconCpp::SetSystem("standin_image_decoders", decoders);
    }
    return folder + "/input";
  }();
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace HalconCpp;
  using quorvex::fuzz::check;
  quorvex::fuzz::writeFile(inputFile(), data, size);
  try {
    HObject image;
    ReadImage(&image, inputFile().c_str());
    HTuple channels, width, height;
    CountChannels(image, &channels);
    check(channels[0].L() >= 1 && channels[0].L() <= 4, "one to four channels");
    for (Hlong c = 1; c <= channels[0].L(); ++c) {
      HObject plane;
      HTuple pointer, type;
      AccessChannel(image, &plane, c);
      GetImagePointer1(plane, &pointer, &type, &width, &height);
      check(width[0].L() >= 1 && height[0].L() >= 1, "a non-empty image");
      const auto* pixels =
          reinterpret_cast<const std::uint8_t*>(static_cast<std::uintptr_t>(pointer[0].L()));
      // A grey TIFF of 16-bit samples is uint2, two bytes a pixel.
      const std::size_t sampleBytes = std::string(type[0].S()) == "uint2" ? 2 : 1;
      const std::size_t count =
          static_cast<std::size_t>(width[0].L() * height[0].L()) * sampleBytes;
      volatile unsigned sum = std::accumulate(pixels, pixels + count, 0u);
      (void)sum;
    }
  } catch (const HException& e) {
    check(e.ErrorCode() == H_ERR_FILE_FORMAT || e.ErrorCode() == H_ERR_NO_MEMORY,
          "refused with 5202 or 6001");
  }
  return 0;
}
