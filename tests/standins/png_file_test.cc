// PNG files of colour pictures as write_image and dump_window write them: RGB by default, as
// the vendor writes them; with "standin_png_palette" on, pictures of up to 256 colours become
// palette files and the others stay RGB. Either reads back with every pixel.
// Where the tests have zlib, its inflater (stricter than stb's) decodes each file a second
// time, so that a stream only a lenient reader accepts fails here.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "standins/iconic_test_support.h"
#include "support/temp_folder.h"

#if defined(QUORVEX_TEST_HAVE_ZLIB)
#include <zlib.h>
#endif

namespace {

using namespace HalconCpp;
using namespace quorvex::test;

struct Picture {
  Hlong width = 0;
  Hlong height = 0;
  std::vector<std::uint8_t> planes[3];
  std::uint32_t at(std::size_t i) const {
    return std::uint32_t{planes[0][i]} << 16 | std::uint32_t{planes[1][i]} << 8 | planes[2][i];
  }
};

// A picture whose pixel i is `colour(i)` as 0xRRGGBB.
Picture makePicture(Hlong width, Hlong height, const std::function<std::uint32_t(Hlong)>& colour) {
  Picture picture{width, height, {}};
  for (auto& plane : picture.planes) plane.resize(static_cast<std::size_t>(width * height));
  for (Hlong i = 0; i < width * height; ++i) {
    const std::uint32_t rgb = colour(i);
    for (int c = 0; c < 3; ++c) {
      picture.planes[c][static_cast<std::size_t>(i)] =
          static_cast<std::uint8_t>(rgb >> (16 - 8 * c));
    }
  }
  return picture;
}

std::uint32_t grey(std::uint32_t value) {
  return value * 0x010101u;
}

#if defined(QUORVEX_TEST_HAVE_ZLIB)
std::uint32_t bigEndian(const std::string& bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (std::size_t k = 0; k < 4; ++k) value = value << 8 | static_cast<std::uint8_t>(bytes[at + k]);
  return value;
}

struct Chunk {
  std::string type;
  std::string body;
};

std::vector<Chunk> chunksOf(const std::string& png) {
  std::vector<Chunk> chunks;
  for (std::size_t at = 8; at + 12 <= png.size();) {
    const std::uint32_t length = bigEndian(png, at);
    chunks.push_back({png.substr(at + 4, 4), png.substr(at + 8, length)});
    at += 12 + length;
  }
  return chunks;
}

// Decodes a palette file with zlib and the PNG rules alone; empty with a reason on failure.
std::vector<std::uint32_t> inflatePalette(const std::string& png, Hlong width, Hlong height,
                                          std::string* failure) {
  std::string palette, stream;
  for (const Chunk& chunk : chunksOf(png)) {
    if (chunk.type == "PLTE") palette = chunk.body;
    if (chunk.type == "IDAT") stream += chunk.body;
  }
  const auto row = static_cast<std::size_t>(width) + 1;
  std::vector<std::uint8_t> raw(row * static_cast<std::size_t>(height) + 1);
  uLongf size = static_cast<uLongf>(raw.size());
  const int status = uncompress(raw.data(), &size, reinterpret_cast<const Bytef*>(stream.data()),
                                static_cast<uLong>(stream.size()));
  if (status != Z_OK || size != raw.size() - 1) {
    *failure = "zlib: status " + std::to_string(status) + ", " + std::to_string(size) + " bytes";
    return {};
  }
  std::vector<std::uint32_t> pixels;
  for (std::size_t y = 0; y < static_cast<std::size_t>(height); ++y) {
    if (raw[y * row] != 0) *failure = "row " + std::to_string(y) + " has a filter";
    for (std::size_t x = 1; x < row; ++x) {
      const std::size_t entry = raw[y * row + x];
      if (3 * entry + 3 > palette.size()) {
        *failure = "index " + std::to_string(entry) + " past the palette";
        return {};
      }
      pixels.push_back(bigEndian(std::string(1, '\0') + palette.substr(3 * entry, 3), 0));
    }
  }
  return pixels;
}
#endif

class PngFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = makeTempFolder("quorvex_png_");
    ASSERT_FALSE(folder_.empty());
    GetSystem("standin_png_palette", &defaultSetting_);
    SetSystem("standin_png_palette", "true");
  }
  void TearDown() override { SetSystem("standin_png_palette", "false"); }

  // Writes the picture with write_image, checks the file's colour type and reads it back.
  // Returns the file's size.
  std::size_t roundTrip(const char* name, Picture& picture, int colourType) {
    SCOPED_TRACE(name);
    HObject image, read;
    GenImage3Extern(&image, "byte", picture.width, picture.height,
                    address(picture.planes[0].data()), address(picture.planes[1].data()),
                    address(picture.planes[2].data()), 0);
    const std::string path = folder_ + "/" + name + ".png";
    WriteImage(image, "png", 0, path.c_str());
    std::ifstream in(path, std::ios::binary);
    const std::string png((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_GT(png.size(), 33u);
    if (png.size() <= 33u) return 0;
    EXPECT_EQ(static_cast<int>(png[25]), colourType);

    ReadImage(&read, path.c_str());
    HTuple red, green, blue, type, width, height;
    GetImagePointer3(read, &red, &green, &blue, &type, &width, &height);
    EXPECT_EQ(width[0].L(), picture.width);
    EXPECT_EQ(height[0].L(), picture.height);
    if (width[0].L() != picture.width || height[0].L() != picture.height) return 0;
    const std::uint8_t* planes[] = {pointerOf(red), pointerOf(green), pointerOf(blue)};
    for (int c = 0; c < 3; ++c) {
      EXPECT_EQ(std::memcmp(planes[c], picture.planes[c].data(), picture.planes[c].size()), 0)
          << "channel " << c;
    }
#if defined(QUORVEX_TEST_HAVE_ZLIB)
    if (colourType == 3) {
      std::string failure;
      const std::vector<std::uint32_t> pixels =
          inflatePalette(png, picture.width, picture.height, &failure);
      EXPECT_EQ(failure, "");
      for (std::size_t i = 0; i < pixels.size(); ++i) {
        if (pixels[i] != picture.at(i)) {
          ADD_FAILURE() << "zlib's pixel " << i << " differs";
          break;
        }
      }
    }
#endif
    return png.size();
  }

  std::string folder_;
  HTuple defaultSetting_;
};

// Declared first, so that it sees the process's default.
TEST_F(PngFiles, PalettesOnlyOnRequestAndTheRequestIsChecked) {
  EXPECT_EQ(std::string(defaultSetting_[0].S().Text()), "false");
  Picture picture = makePicture(5, 3, [](Hlong i) { return i % 2 ? 0xFF0000u : grey(9); });
  SetSystem("standin_png_palette", "false");
  roundTrip("default_rgb", picture, 2);
  EXPECT_EQ(errorOf([] { SetSystem("standin_png_palette", "yes"); }), 1302);
  SetSystem("standin_png_palette", "true");
  roundTrip("palette_on_request", picture, 3);
}

// Each row is a picture that takes one road through the writer: runs longer than a match
// (258), rows repeating the row above (at distances up to deflate's 32768 and past it), pixel
// counts off the eight-pixel steps, frequencies skewed enough to need Huffman codes longer
// than deflate's 15 bits, and the limit of 256 colours on both sides.
TEST_F(PngFiles, ColourPicturesReadBackExactly) {
  std::mt19937 random(2011);
  const auto noise = [&random](std::uint32_t range) {
    return std::uniform_int_distribution<std::uint32_t>(0, range - 1)(random);
  };
  // Frequencies of a Fibonacci sequence: the optimal code for 24 such colours is 23 bits deep.
  std::vector<std::uint32_t> skewed;
  for (std::uint32_t a = 1, b = 1, colour = 0; colour < 24; ++colour) {
    skewed.insert(skewed.end(), a, 0x102030u * (colour + 1));
    const std::uint32_t next = a + b;
    a = b;
    b = next;
  }
  std::shuffle(skewed.begin(), skewed.end(), random);
  const auto skewedWidth = static_cast<Hlong>(skewed.size() / 300);

  struct Row {
    const char* name;
    Hlong width, height;
    std::function<std::uint32_t(Hlong)> colour;
    int colourType;
  };
  const std::vector<Row> rows = {
      {"single_pixel", 1, 1, [](Hlong) { return 0x336699u; }, 3},
      {"one_grey", 300, 7, [](Hlong) { return grey(17); }, 3},
      {"one_colour_wide", 1000, 3, [](Hlong) { return 0xFF0000u; }, 3},
      {"all_greys", 256, 3, [](Hlong i) { return grey(static_cast<std::uint32_t>(i % 256)); }, 3},
      {"greys_and_one_colour", 256, 2,
       [](Hlong i) { return i == 300 ? 0x00FF00u : grey(static_cast<std::uint32_t>(i % 256)); }, 2},
      {"camera_noise_and_overlay", 203, 61,
       [&](Hlong i) { return i % 97 == 5 ? 0xFF00FFu * (i % 2) + 0x00FF00u : grey(noise(40)); }, 3},
      {"repeated_rows", 37, 40,
       [](Hlong i) { return grey(static_cast<std::uint32_t>(i % 37 * 5)); }, 3},
      {"widths_off_eight", 9, 17,
       [&](Hlong) { return noise(4) == 0 ? 0x0000FFu * noise(2) : grey(noise(3)); }, 3},
      {"row_at_the_farthest_distance", 32767, 3,
       [](Hlong i) { return grey(static_cast<std::uint32_t>(i % 32767 % 251)); }, 3},
      {"row_past_the_farthest_distance", 32768, 2,
       [](Hlong i) { return grey(static_cast<std::uint32_t>(i % 32768 % 241)); }, 3},
      {"skewed_frequencies", skewedWidth, 300,
       [&](Hlong i) { return skewed[static_cast<std::size_t>(i)]; }, 3},
      {"colours_only", 255, 4,
       [](Hlong i) { return 0x010000u + static_cast<std::uint32_t>(i % 255) * 0x000102u; }, 3},
      {"257_colours", 257, 1, [](Hlong i) { return static_cast<std::uint32_t>(i) << 8 | 0x80u; },
       2},
      // 150 values once each, side by side among 60 common ones that never repeat in a row:
      // codes at the length limit, four to a flush, most of them missed by the sample the code
      // is shaped by.
      {"rare_values_in_a_row", 600, 500,
       [](Hlong i) {
         const auto at = static_cast<std::uint32_t>(i);
         return grey(i >= 1000 && i < 1150 ? at - 900 : (at * 2654435761u >> 8) % 60);
       },
       3},
      // The one brightest grey sits where the sample does not look; the colour must take an
      // entry above it.
      {"rare_brightest_grey_and_a_colour", 255, 8,
       [](Hlong i) {
         return i == 610      ? grey(200)
                : i % 50 == 7 ? 0x00FF00u
                              : grey(static_cast<std::uint32_t>(i % 7 * 20));
       },
       3},
      // Greys from 0 to 254 leave one entry past their range for 80 colours: the colours take
      // the odd values no grey shows.
      {"greys_at_both_ends_and_80_colours", 256, 4,
       [](Hlong i) {
         return i % 2 == 0 ? grey(static_cast<std::uint32_t>(i % 256))
                           : 0x010203u * static_cast<std::uint32_t>(i / 2 % 80 + 1);
       },
       3},
  };
  for (const Row& row : rows) {
    Picture picture = makePicture(row.width, row.height, row.colour);
    roundTrip(row.name, picture, row.colourType);
  }
}

// What the matches are for: a picture repeating its pixels or its rows costs little more than
// its first row.
TEST_F(PngFiles, RepeatedPixelsAndRowsCostLittle) {
  const auto stripes = [](Hlong i) { return grey(static_cast<std::uint32_t>(i % 640 * 37 % 251)); };
  Picture flat = makePicture(640, 480, [](Hlong) { return grey(90); });
  Picture rows = makePicture(640, 480, stripes);
  EXPECT_LT(roundTrip("flat", flat, 3), 1500u);
  EXPECT_LT(roundTrip("rows", rows, 3), 4000u);  // three matches a row, some 16 bits each
}

// Window dumps index the framebuffer in place; past 256 colours they fall back to an RGB copy.
// Either way the file holds what DumpWindowImage gives.
TEST_F(PngFiles, WindowDumpsHoldTheFramebuffer) {
  for (const std::uint32_t colours : {5u, 300u}) {
    SCOPED_TRACE(colours);
    Picture picture = makePicture(
        20, 15, [colours](Hlong i) { return static_cast<std::uint32_t>(i) % colours * 0x010305u; });
    HObject image, dumped, read;
    GenImage3Extern(&image, "byte", picture.width, picture.height,
                    address(picture.planes[0].data()), address(picture.planes[1].data()),
                    address(picture.planes[2].data()), 0);
    TestWindow window(0, 0, picture.width, picture.height);
    SetPart(window.handle, 0, 0, picture.height - 1, picture.width - 1);
    DispObj(image, window.handle);
    const std::string path = folder_ + "/window_" + std::to_string(colours);
    DumpWindow(window.handle, "png", path.c_str());
    std::ifstream in(path + ".png", std::ios::binary);
    const std::string png((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(png.size(), 33u);
    EXPECT_EQ(static_cast<int>(png[25]), colours <= 256 ? 3 : 2);
    ReadImage(&read, (path + ".png").c_str());
    dumped = window.dump();
    const std::size_t bytes = picture.planes[0].size();
    for (int c = 0; c < 3; ++c) {
      HObject fromFile, fromWindow;
      AccessChannel(read, &fromFile, c + 1);
      AccessChannel(dumped, &fromWindow, c + 1);
      HTuple filePixels, windowPixels, type, width, height;
      GetImagePointer1(fromFile, &filePixels, &type, &width, &height);
      GetImagePointer1(fromWindow, &windowPixels, &type, &width, &height);
      EXPECT_EQ(std::memcmp(pointerOf(filePixels), pointerOf(windowPixels), bytes), 0)
          << "channel " << c;
    }
  }
}

}  // namespace
