// ReadImage on files from outside: each case runs under both decoders a build can choose
// ("standin_image_decoders": the system libraries where the build has them, and the guarded
// header-only stb that the 32-bit and Windows builds use), which must agree. Files that made
// stb write out of bounds or pass a null pointer end in error 5202; pixels are stated by hand
// from the bytes each file is built of.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "standins/iconic_test_support.h"
#include "standins/image_bytes.h"
#include "support/temp_folder.h"

namespace {

using namespace HalconCpp;
using namespace quorvex::test;

const char* const kDecoders[] = {"system", "stb"};

struct DecodersRestored {
  HTuple saved;
  DecodersRestored() { GetSystem("standin_image_decoders", &saved); }
  ~DecodersRestored() { SetSystem("standin_image_decoders", saved); }
};

class ImageDecoders : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = makeTempFolder("quorvex_decoders_");
    ASSERT_FALSE(folder_.empty());
  }

  std::string write(const std::string& name, const std::string& contents) const {
    const std::string path = folder_ + "/" + name;
    std::ofstream(path, std::ios::binary | std::ios::trunc) << contents;
    return path;
  }

  std::string folder_;
  DecodersRestored restored_;
  SystemSizeRestored sizes_;
};

// Every channel of every pixel, row by row, the channels of a pixel together.
HTuple allPixels(const HObject& image) {
  HTuple width, height, values;
  GetImageSize(image, &width, &height);
  for (Hlong row = 0; row < height[0].L(); ++row) {
    for (Hlong col = 0; col < width[0].L(); ++col) values.Append(pixel(image, row, col));
  }
  return values;
}

// Each row: a file that made stb write out of bounds, pass a null pointer, overflow or leave
// pixels unset; every decoder refuses it with 5202.
TEST_F(ImageDecoders, FilesThatBrokeStbAreRefused) {
  HObject flat;
  GenImageConst(&flat, "byte", 8, 8);
  WriteImage(flat, "jpeg", 0, (folder_ + "/plain").c_str());
  const std::string jpeg = contentsOf(folder_ + "/plain.jpg");
  const std::pair<const char*, std::string> rows[] = {
      {"long_huffman.jpg", jpegWithLongHuffmanTable(jpeg)},
      {"only_empty_idat.png", pngFile(2, 1, 0, {}, true)},
      // stb's PGM reader overflowed an int on the maximum, and left a short file's pixels unset.
      {"long_number.pgm", "P5 2 2 65555555555555555555\n" + std::string(8, 'x')},
      {"short.pgm", "P5 4 4 255\n" + std::string(15, 'x')},
  };
  for (const char* decoders : kDecoders) {
    SetSystem("standin_image_decoders", decoders);
    for (const auto& [name, contents] : rows) {
      const std::string path = write(name, contents);
      HObject read;
      EXPECT_EQ(errorOf([&] { ReadImage(&read, path.c_str()); }), H_ERR_FILE_FORMAT)
          << name << " with " << decoders;
    }
  }
}

// Each row: a file, its channel count and its pixels, the same under both decoders.
// read_image (HALCON 11.0): a colour image has three channels, red first; an alpha channel
// follows the colour or grey channel, as the PNG and TIFF files carry it.
TEST_F(ImageDecoders, EachFileReadsTheSameUnderBothDecoders) {
  struct Row {
    const char* name;
    std::string contents;
    Hlong channels;
    HTuple pixels;
  };
  const std::string palette = bytes({0, 0, 0, 200, 100, 50, 9, 9, 9, 1, 2, 3});
  const Row rows[] = {
      // Zero-length IDAT chunks are valid PNG; stb needs them taken out first.
      {"empty_idat_first.png", pngFile(2, 1, 0, {bytes({17, 34})}, true), 1, tuple({17, 34})},
      {"grey_alpha.png", pngFile(2, 1, 4, {bytes({10, 255, 20, 128})}), 2,
       tuple({10, 255, 20, 128})},
      {"rgba.png", pngFile(1, 1, 6, {bytes({1, 2, 3, 4})}), 4, tuple({1, 2, 3, 4})},
      // Rows stored top-down (negative height), blue-green-red.
      {"top_down.bmp", bmpFile(2, -2, {bytes({3, 2, 1, 6, 5, 4}), bytes({9, 8, 7, 12, 11, 10})}), 3,
       tuple({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12})},
      {"bottom_up.bmp", bmpFile(2, 2, {bytes({3, 2, 1, 6, 5, 4}), bytes({9, 8, 7, 12, 11, 10})}), 3,
       tuple({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12})},
      // Palette indices 1 2 / 3 0; index 3 transparent, which leaves that pixel black.
      {"palette.gif", gifFile(2, 2, palette, {1, 2, 3, 0}, 3), 3,
       tuple({200, 100, 50, 9, 9, 9, 0, 0, 0, 0, 0, 0})},
      // Only grey entries used: one channel, as for any palette whose colours are all grey.
      {"grey.gif", gifFile(2, 1, palette, {2, 0}), 1, tuple({9, 0})},
  };
  for (const char* decoders : kDecoders) {
    SetSystem("standin_image_decoders", decoders);
    for (const Row& row : rows) {
      HObject read;
      ReadImage(&read, write(row.name, row.contents).c_str());
      EXPECT_EQ(channelsOf(read), row.channels) << row.name << " with " << decoders;
      EXPECT_EQ(allPixels(read), row.pixels) << row.name << " with " << decoders;
    }
  }
}

#ifdef QUORVEX_EXPECT_TIFF
// Each row: a TIFF and what read_image gives for it; grey+alpha keeps its alpha as a second
// channel, as the same picture in PNG does (read_image, HALCON 11.0).
TEST_F(ImageDecoders, TiffKeepsAlphaAsThePngDoes) {
  struct Row {
    std::string contents;
    Hlong channels;
    HTuple pixels;
  };
  const Row rows[] = {
      {tiffFile(2, 1, 2, 1, true, bytes({10, 255, 20, 128})), 2, tuple({10, 255, 20, 128})},
      {tiffFile(1, 1, 4, 2, true, bytes({1, 2, 3, 4})), 4, tuple({1, 2, 3, 4})},
      // 0 is white: grey values are inverted, alpha is not.
      {tiffFile(2, 1, 2, 0, true, bytes({10, 255, 20, 128})), 2, tuple({245, 255, 235, 128})},
      // An extra sample not declared as alpha is no channel.
      {tiffFile(2, 1, 2, 1, false, bytes({10, 255, 20, 128})), 1, tuple({10, 20})},
  };
  for (const Row& row : rows) {
    HObject read;
    ReadImage(&read, write("alpha.tif", row.contents).c_str());
    EXPECT_EQ(channelsOf(read), row.channels);
    EXPECT_EQ(allPixels(read), row.pixels);
  }
}
#endif

struct PixelLimitRestored {
  HTuple saved;
  PixelLimitRestored() { GetSystem("standin_pixel_limit", &saved); }
  ~PixelLimitRestored() { SetSystem("standin_pixel_limit", saved); }
};

// Decoded pixels count against "standin_pixel_limit" and are taken before decoding: a file of
// more pixels than the bound allows fails with 6001, whichever decoder reads it.
TEST_F(ImageDecoders, DecodingTakesItsPixelsFromTheBound) {
  PixelLimitRestored restored;
  HObject flat;
  GenImageConst(&flat, "byte", 64, 64);
  WriteImage(flat, "jpeg", 0, (folder_ + "/flat").c_str());
  const std::string rows[] = {
      write("rgb.png", pngFile(40, 1, 2, {std::string(120, '\x10')})),
      write("grey.gif",
            gifFile(40, 1, bytes({0, 0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3}), std::vector<int>(40, 1))),
      write("rgb.bmp", bmpFile(40, 1, {std::string(120, '\x10')})),
      write("grey.pgm", "P5 100 1 255\n" + std::string(100, '\x10')),
      folder_ + "/flat.jpg",
  };
  for (const char* decoders : kDecoders) {
    SetSystem("standin_image_decoders", decoders);
    for (const std::string& path : rows) {
      HTuple held;
      GetSystem("standin_pixel_bytes", &held);
      SetSystem("standin_pixel_limit", held[0].L() + 99);
      HObject read;
      EXPECT_EQ(errorOf([&] { ReadImage(&read, path.c_str()); }), H_ERR_NO_MEMORY)
          << path << " with " << decoders;
      SetSystem("standin_pixel_limit", restored.saved);
      EXPECT_EQ(errorOf([&] { ReadImage(&read, path.c_str()); }), 0)
          << path << " with " << decoders;
    }
  }
}

// Only the two decoder choices are accepted.
TEST_F(ImageDecoders, DecoderChoiceIsSystemOrStb) {
  HTuple value;
  GetSystem("standin_image_decoders", &value);
  EXPECT_EQ(value, HTuple("system"));
  EXPECT_EQ(errorOf([] { SetSystem("standin_image_decoders", "libpng"); }), 1302);
  SetSystem("standin_image_decoders", "stb");
  GetSystem("standin_image_decoders", &value);
  EXPECT_EQ(value, HTuple("stb"));
}

}  // namespace
