// Writing a window's picture as PNG, three ways on the same 640 x 480 picture (a noisy grey
// camera image with coloured part outlines, as inspect_parts leaves its window): the stand-in's
// palette writer, its RGB writer (the vendor's format), and OpenCV's imwrite at its fastest
// setting, each into the system's temporary folder. Rows: BM_Png_Palette, BM_Png_Rgb,
// BM_Png_OpenCV; the counters give the file's size.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include <opencv2/core.hpp>
#include <opencv2/imgcodecs.hpp>

#include "halconcpp/HalconCpp.h"
#include "support/temp_folder.h"

namespace {

using namespace HalconCpp;

constexpr int kWidth = 640;
constexpr int kHeight = 480;

struct Picture {
  std::vector<std::uint8_t> planes[3];
};

const Picture& picture() {
  static const Picture made = [] {
    Picture p;
    for (auto& plane : p.planes) plane.resize(static_cast<std::size_t>(kWidth) * kHeight);
    const std::uint8_t outline[6][3] = {{255, 0, 0},   {0, 255, 0},   {0, 0, 255},
                                        {0, 255, 255}, {255, 0, 255}, {255, 255, 0}};
    std::uint32_t state = 2011;
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        state = state * 1664525u + 1013904223u;
        const int cx = x % 160 - 80, cy = y % 120 - 60, r2 = cx * cx + cy * cy;
        const auto i = static_cast<std::size_t>(y) * kWidth + static_cast<std::size_t>(x);
        const int part = (y / 120 * 4 + x / 160) % 6;
        const bool edge = r2 >= 40 * 40 && r2 < 41 * 41;
        const auto grey = static_cast<std::uint8_t>(r2 < 40 * 40 ? 200 : 40 + (state >> 27));
        for (int c = 0; c < 3; ++c) p.planes[c][i] = edge ? outline[part][c] : grey;
      }
    }
    return p;
  }();
  return made;
}

const std::filesystem::path& scratchFolder() {
  return quorvex::test::processScratchFolder("quorvex_png_");
}

std::string target(const char* name) {
  return (scratchFolder() / name).string();
}

std::uint64_t fileSize(const std::string& path) {
  return std::filesystem::file_size(path);
}

void writeWithStandin(benchmark::State& state, const char* palette, const char* name) {
  const Picture& p = picture();
  HObject image;
  const auto address = [](const std::vector<std::uint8_t>& plane) {
    return HTuple(static_cast<Hlong>(reinterpret_cast<std::uintptr_t>(plane.data())));
  };
  GenImage3Extern(&image, "byte", kWidth, kHeight, address(p.planes[0]), address(p.planes[1]),
                  address(p.planes[2]), 0);
  SetSystem("standin_png_palette", palette);
  const std::string path = target(name);
  for (auto _ : state) WriteImage(image, "png", 0, path.c_str());
  state.counters["bytes"] = static_cast<double>(fileSize(path + ".png"));
  SetSystem("standin_png_palette", "false");
}

void BM_Png_Palette(benchmark::State& state) {
  writeWithStandin(state, "true", "quorvex_png_benchmark_palette");
}
BENCHMARK(BM_Png_Palette)->Unit(benchmark::kMillisecond);

void BM_Png_Rgb(benchmark::State& state) {
  writeWithStandin(state, "false", "quorvex_png_benchmark_rgb");
}
BENCHMARK(BM_Png_Rgb)->Unit(benchmark::kMillisecond);

void BM_Png_OpenCV(benchmark::State& state) {
  const Picture& p = picture();
  cv::Mat bgr(kHeight, kWidth, CV_8UC3);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const auto i = static_cast<std::size_t>(y) * kWidth + static_cast<std::size_t>(x);
      bgr.at<cv::Vec3b>(y, x) = cv::Vec3b(p.planes[2][i], p.planes[1][i], p.planes[0][i]);
    }
  }
  const std::string path = target("quorvex_png_benchmark_opencv.png");
  const std::vector<int> fastest = {cv::IMWRITE_PNG_COMPRESSION, 1};
  for (auto _ : state) cv::imwrite(path, bgr, fastest);
  state.counters["bytes"] = static_cast<double>(fileSize(path));
}
BENCHMARK(BM_Png_OpenCV)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
