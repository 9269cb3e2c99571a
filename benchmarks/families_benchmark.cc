// The operator families beyond operators_benchmark's six against OpenCV's nearest
// equivalents on one 4096 x 2160 byte image, each pair in the same run, both with their
// default threads. Rows come in pairs: BM_<family>_Standin and BM_<family>_OpenCV.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include "halconcpp/HalconCpp.h"

namespace {

using namespace HalconCpp;

constexpr int kWidth = 4096;
constexpr int kHeight = 2160;

// Bright discs on a dark, gently varying background with a little noise: a few thousand
// parts, as an inspection image has.
std::vector<std::uint8_t>& scene() {
  static std::vector<std::uint8_t> pixels = [] {
    std::vector<std::uint8_t> p(static_cast<std::size_t>(kWidth) * kHeight);
    std::uint32_t state = 1;
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        state = state * 1664525u + 1013904223u;
        const int cx = x % 64 - 32, cy = y % 64 - 32;
        const bool disc = cx * cx + cy * cy < 18 * 18;
        const int base = disc ? 200 : 40 + (x + y) % 32;
        p[static_cast<std::size_t>(y) * kWidth + x] =
            static_cast<std::uint8_t>(base + (state >> 29));
      }
    }
    return p;
  }();
  return pixels;
}

HObject grayImage() {
  HObject image;
  GenImage1Extern(&image, "byte", kWidth, kHeight,
                  static_cast<Hlong>(reinterpret_cast<std::uintptr_t>(scene().data())), 0);
  return image;
}

cv::Mat grayMat() {
  return cv::Mat(kHeight, kWidth, CV_8UC1, scene().data());
}

// A turn by 10 degrees about the image's centre, bilinear, into an image of the same size.
void BM_Rotate10_Standin(benchmark::State& state) {
  const HObject image = grayImage();
  HTuple identity, matrix;
  HomMat2dIdentity(&identity);
  HomMat2dRotate(identity, 10 * CV_PI / 180, (kHeight - 1) / 2.0, (kWidth - 1) / 2.0, &matrix);
  for (auto _ : state) {
    HObject turned;
    AffineTransImage(image, &turned, matrix, "bilinear", "false");
  }
}
void BM_Rotate10_OpenCV(benchmark::State& state) {
  const cv::Mat image = grayMat();
  const cv::Mat matrix =
      cv::getRotationMatrix2D(cv::Point2f((kWidth - 1) / 2.0f, (kHeight - 1) / 2.0f), 10, 1);
  cv::Mat turned;
  for (auto _ : state)
    cv::warpAffine(image, turned, matrix, image.size(), cv::INTER_LINEAR, cv::BORDER_CONSTANT);
}

// OpenCV's 5 x 5 Gaussian of sigma 0 takes its fixed table, 1 4 6 4 1 / 16: the binomial.
void BM_Binomial5_Standin(benchmark::State& state) {
  const HObject image = grayImage();
  for (auto _ : state) {
    HObject smooth;
    BinomialFilter(image, &smooth, 5, 5);
  }
}
void BM_Binomial5_OpenCV(benchmark::State& state) {
  const cv::Mat image = grayMat();
  cv::Mat smooth;
  for (auto _ : state) cv::GaussianBlur(image, smooth, cv::Size(5, 5), 0, 0, cv::BORDER_REFLECT);
}

// smooth_image's Gaussian of sigma 2 and its recursive 'deriche2' of the smoothing the
// reference calls comparable (Alpha 0.5 beside a sigma of 1.77 / 1), both against OpenCV's
// Gaussian of the same sigma, whose kernel OpenCV sizes itself.
void BM_SmoothGauss2_Standin(benchmark::State& state) {
  const HObject image = grayImage();
  for (auto _ : state) {
    HObject smooth;
    SmoothImage(image, &smooth, "gauss", 2.0);
  }
}
void BM_SmoothDeriche2_Standin(benchmark::State& state) {
  const HObject image = grayImage();
  for (auto _ : state) {
    HObject smooth;
    SmoothImage(image, &smooth, "deriche2", 0.5);
  }
}
void BM_SmoothGauss2_OpenCV(benchmark::State& state) {
  const cv::Mat image = grayMat();
  cv::Mat smooth;
  for (auto _ : state) cv::GaussianBlur(image, smooth, cv::Size(), 2.0, 2.0, cv::BORDER_REFLECT);
}

// Ten thousand parts selected by area. select_shape measures each region as it selects, so
// OpenCV's nearest equivalent measures the parts (connectedComponentsWithStats) and filters
// its table.
void BM_Select_Standin(benchmark::State& state) {
  HObject discs;
  std::vector<Hlong> rows, cols, radii;
  HTuple r, c, radius;
  for (int i = 0; i < 10000; ++i) {
    r.Append(HTuple(static_cast<Hlong>(20 + (i / 100) * 20)));
    c.Append(HTuple(static_cast<Hlong>(20 + (i % 100) * 20)));
    radius.Append(HTuple(3.5 + i % 5));
  }
  GenCircle(&discs, r, c, radius);
  for (auto _ : state) {
    HObject selected;
    SelectShape(discs, &selected, "area", "and", 60, 150);
    benchmark::DoNotOptimize(selected.CountObj());
  }
}
void BM_Select_OpenCV(benchmark::State& state) {
  cv::Mat canvas = cv::Mat::zeros(2040, 2040, CV_8UC1);
  for (int i = 0; i < 10000; ++i) {
    cv::circle(canvas, cv::Point(20 + (i % 100) * 20, 20 + (i / 100) * 20), 3 + i % 5, 255, -1);
  }
  cv::Mat labels, stats, centroids;
  for (auto _ : state) {
    const int count = cv::connectedComponentsWithStats(canvas, labels, stats, centroids, 8);
    std::vector<int> selected;
    for (int i = 1; i < count; ++i) {
      const int area = stats.at<int>(i, cv::CC_STAT_AREA);
      if (area >= 60 && area <= 150) selected.push_back(i);
    }
    benchmark::DoNotOptimize(selected.size());
  }
}

// Opening with a structuring region of no fixed shape: a 7 x 7 cross, against OpenCV's
// morphologyEx with the same kernel.
void BM_OpeningCross7_Standin(benchmark::State& state) {
  HObject region, across, down, cross;
  Threshold(grayImage(), &region, 128, 255);
  GenRectangle1(&across, 3, 0, 3, 6);
  GenRectangle1(&down, 0, 3, 6, 3);
  Union2(across, down, &cross);
  for (auto _ : state) {
    HObject opened;
    Opening(region, cross, &opened);
  }
}
void BM_OpeningCross7_OpenCV(benchmark::State& state) {
  cv::Mat binary;
  cv::threshold(grayMat(), binary, 127, 255, cv::THRESH_BINARY);
  const cv::Mat element = cv::getStructuringElement(cv::MORPH_CROSS, cv::Size(7, 7));
  cv::Mat opened;
  for (auto _ : state) cv::morphologyEx(binary, opened, cv::MORPH_OPEN, element);
}

// A relief of one bowl per 64 x 64 tile, deepest at the tile's centre: watersheds floods
// from its own regional minima; OpenCV's watershed is given those minima as markers (and
// copies them each time, as it writes into them).
std::vector<std::uint8_t>& relief() {
  static std::vector<std::uint8_t> pixels = [] {
    std::vector<std::uint8_t> p(static_cast<std::size_t>(kWidth) * kHeight);
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        const int cx = x % 64 - 32, cy = y % 64 - 32;
        p[static_cast<std::size_t>(y) * kWidth + x] =
            static_cast<std::uint8_t>(std::min(255, (cx * cx + cy * cy) / 8));
      }
    }
    return p;
  }();
  return pixels;
}
void BM_Watersheds_Standin(benchmark::State& state) {
  HObject image;
  GenImage1Extern(&image, "byte", kWidth, kHeight,
                  static_cast<Hlong>(reinterpret_cast<std::uintptr_t>(relief().data())), 0);
  for (auto _ : state) {
    HObject basins, lines;
    Watersheds(image, &basins, &lines);
  }
}
void BM_Watersheds_OpenCV(benchmark::State& state) {
  const cv::Mat gray(kHeight, kWidth, CV_8UC1, relief().data());
  cv::Mat colour, markers;
  cv::cvtColor(gray, colour, cv::COLOR_GRAY2BGR);
  cv::connectedComponents(gray == 0, markers, 8, CV_32S);
  cv::Mat work;
  for (auto _ : state) {
    markers.copyTo(work);
    cv::watershed(colour, work);
  }
}

// Sub-pixel Canny edges with a Gaussian of 1 and thresholds 20 / 40, against OpenCV's Canny on
// the image smoothed by the same Gaussian (OpenCV's edges are whole pixels, unlinked; its
// thresholds are on the 3x3 Sobel sums, 8 times the slope).
void BM_Canny_Standin(benchmark::State& state) {
  const HObject image = grayImage();
  for (auto _ : state) {
    HObject edges;
    EdgesSubPix(image, &edges, "canny", 1.0, 20, 40);
    benchmark::DoNotOptimize(edges.CountObj());
  }
}
// edges_image 'canny' with NMS and hysteresis: the same thresholds, edge pixels as an image.
void BM_EdgesImageCanny_Standin(benchmark::State& state) {
  const HObject image = grayImage();
  for (auto _ : state) {
    HObject amplitude, direction;
    EdgesImage(image, &amplitude, &direction, "canny", 1.0, "nms", 20, 40);
    benchmark::DoNotOptimize(amplitude.CountObj());
  }
}
void BM_Canny_OpenCV(benchmark::State& state) {
  const cv::Mat image = grayMat();
  cv::Mat smooth, edges;
  for (auto _ : state) {
    cv::GaussianBlur(image, smooth, cv::Size(7, 7), 1.0, 1.0, cv::BORDER_REFLECT);
    cv::Canny(smooth, edges, 160, 320, 3, true);
  }
}

BENCHMARK(BM_Rotate10_Standin)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Rotate10_OpenCV)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Binomial5_Standin)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Binomial5_OpenCV)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SmoothGauss2_Standin)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SmoothDeriche2_Standin)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SmoothGauss2_OpenCV)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Select_Standin)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Select_OpenCV)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpeningCross7_Standin)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpeningCross7_OpenCV)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Watersheds_Standin)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Watersheds_OpenCV)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EdgesImageCanny_Standin)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Canny_Standin)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Canny_OpenCV)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
