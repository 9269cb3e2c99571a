// The stand-in's image and region operators against OpenCV's nearest equivalents, each as
// users run them: the stand-in with its default threads ('thread_num' the machine's cores),
// OpenCV with its own default threads. Two sizes (4096 x 2160 and 640 x 480), each with the
// image's full domain and with a disc covering a third of it; OpenCV, which has no domains,
// always filters the whole image. The cases are interleaved: every round times each case's
// stand-in call and OpenCV call one after the other, so that a busy machine slows both.
// Prints per case the medians over the rounds of the best wall time of a few calls, and the
// median of the rounds' ratios (stand-in / OpenCV).
//   operators_benchmark [--rounds N] [--calls N] [--filter TEXT] [--thread-num N]
//                       [--band-pixels N]
// (--thread-num sets the stand-in's 'thread_num', to see what its threads bring;
// --band-pixels its 'standin_band_pixels', to see where a second thread starts to pay.)
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <new>
#include <string>
#include <vector>

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include "halconcpp/HalconCpp.h"

namespace {

using namespace HalconCpp;

struct Size {
  int width, height;
};

// Bright discs on a dark, gently varying background with a little noise: a few thousand
// parts at the larger size, as an inspection image has.
std::vector<std::uint8_t> scene(Size size) {
  std::vector<std::uint8_t> p(static_cast<std::size_t>(size.width) * size.height);
  std::uint32_t state = 1;
  for (int y = 0; y < size.height; ++y) {
    for (int x = 0; x < size.width; ++x) {
      state = state * 1664525u + 1013904223u;
      const int cx = x % 64 - 32, cy = y % 64 - 32;
      const bool disc = cx * cx + cy * cy < 18 * 18;
      const int base = disc ? 200 : 40 + (x + y) % 32;
      p[static_cast<std::size_t>(y) * size.width + x] =
          static_cast<std::uint8_t>(base + (state >> 29));
    }
  }
  return p;
}

// The scene's memory, which both libraries read: it begins on a line of the cache, as the images
// each library makes itself do (cv::Mat's, and the stand-in's from read_image or a grab).
template <typename T>
struct LineAligned {
  using value_type = T;
  LineAligned() = default;
  template <typename U>
  LineAligned(const LineAligned<U>&) noexcept {}
  T* allocate(std::size_t n) {
    return static_cast<T*>(::operator new (n * sizeof(T), std::align_val_t{64}));
  }
  void deallocate(T* p, std::size_t) noexcept { ::operator delete (p, std::align_val_t{64}); }
  template <typename U>
  bool operator==(const LineAligned<U>&) const noexcept {
    return true;
  }
  template <typename U>
  bool operator!=(const LineAligned<U>&) const noexcept {
    return false;
  }
};
using Pixels = std::vector<std::uint8_t, LineAligned<std::uint8_t>>;

Hlong address(const std::uint8_t* p) {
  return static_cast<Hlong>(reinterpret_cast<std::uintptr_t>(p));
}

// The images and matrices of one size; the stand-in's images carry the domain of the case.
struct Inputs {
  Size size;
  Pixels gray, planes;  // planes: red, green, blue one after the other
  cv::Mat grayMat, rgbMat, binaryMat, meanMat;
  HObject grayImage, rgbImage, region, meanImage;
  HObject red, green, blue;  // the colour image's channels, with its domain
  // Half spectra of the grey image and a Gaussian filter of its size; OpenCV's in its packed
  // real-transform layout (CCS), the filter the transform of the image itself, as a product's
  // time does not depend on the values.
  HObject spectrum, gaussFilter;
  cv::Mat spectrumMat, filterMat;
};

Inputs makeInputs(Size size, bool disc) {
  Inputs in;
  in.size = size;
  const std::vector<std::uint8_t> pixels = scene(size);
  in.gray.assign(pixels.begin(), pixels.end());
  const std::size_t n = in.gray.size();
  in.planes.resize(3 * n);
  for (std::size_t i = 0; i < n; ++i) {
    in.planes[i] = in.gray[i];
    in.planes[n + i] = static_cast<std::uint8_t>(in.gray[i] / 2);
    in.planes[2 * n + i] = static_cast<std::uint8_t>(255 - in.gray[i]);
  }
  in.grayMat = cv::Mat(size.height, size.width, CV_8UC1, in.gray.data());
  // OpenCV keeps colour interleaved, the stand-in in planes: each converts its own layout.
  cv::Mat channels[3];
  for (int c = 0; c < 3; ++c) {
    channels[c] = cv::Mat(size.height, size.width, CV_8UC1, in.planes.data() + c * n);
  }
  cv::merge(channels, 3, in.rgbMat);
  cv::threshold(in.grayMat, in.binaryMat, 127, 255, cv::THRESH_BINARY);
  HObject gray, rgb;
  GenImage1Extern(&gray, "byte", size.width, size.height, address(in.gray.data()), 0);
  GenImage3Extern(&rgb, "byte", size.width, size.height, address(in.planes.data()),
                  address(in.planes.data() + n), address(in.planes.data() + 2 * n), 0);
  if (disc) {
    HObject circle;
    const double radius = std::sqrt(double(size.width) * size.height / 3 / CV_PI);
    GenCircle(&circle, (size.height - 1) / 2.0, (size.width - 1) / 2.0, radius);
    ReduceDomain(gray, circle, &in.grayImage);
    ReduceDomain(rgb, circle, &in.rgbImage);
  } else {
    in.grayImage = gray;
    in.rgbImage = rgb;
  }
  Threshold(in.grayImage, &in.region, 128, 255);
  Decompose3(in.rgbImage, &in.red, &in.green, &in.blue);
  RftGeneric(in.grayImage, &in.spectrum, "to_freq", "none", "complex", size.width);
  GenGaussFilter(&in.gaussFilter, 3, 3, 0, "n", "rft", size.width, size.height);
  cv::Mat real;
  in.grayMat.convertTo(real, CV_32F);
  cv::dft(real, in.spectrumMat);
  in.filterMat = in.spectrumMat.clone();
  // The smoothed image dyn_threshold compares with, made once by each side.
  MeanImage(in.grayImage, &in.meanImage, 15, 15);
  cv::blur(in.grayMat, in.meanMat, cv::Size(15, 15), cv::Point(-1, -1), cv::BORDER_REFLECT);
  return in;
}

struct Case {
  std::string name;
  std::function<void()> standin, opencv;
  std::vector<double> standinTimes, opencvTimes, ratios;
};

// The families, as the stand-in and OpenCV each run them on `in`.
void addCases(std::vector<Case>& cases, const Inputs& in, const std::string& suffix) {
  const auto add = [&](const char* name, std::function<void()> standin,
                       std::function<void()> opencv) {
    cases.push_back(
        Case{std::string(name) + suffix, std::move(standin), std::move(opencv), {}, {}, {}});
  };
  const Inputs* p = &in;
  add(
      "rgb1_to_gray / cvtColor",
      [p] {
        HObject gray;
        Rgb1ToGray(p->rgbImage, &gray);
      },
      [p] {
        static thread_local cv::Mat gray;
        cv::cvtColor(p->rgbMat, gray, cv::COLOR_RGB2GRAY);
      });
  add(
      "gauss_filter 5 / GaussianBlur 5x5",
      [p] {
        HObject smooth;
        GaussFilter(p->grayImage, &smooth, 5);
      },
      [p] {
        static thread_local cv::Mat smooth;
        cv::GaussianBlur(p->grayMat, smooth, cv::Size(5, 5), 0, 0, cv::BORDER_REFLECT);
      });
  add(
      "mean_image 11x11 / blur",
      [p] {
        HObject mean;
        MeanImage(p->grayImage, &mean, 11, 11);
      },
      [p] {
        static thread_local cv::Mat mean;
        cv::blur(p->grayMat, mean, cv::Size(11, 11), cv::Point(-1, -1), cv::BORDER_REFLECT);
      });
  // The stand-in takes the channels as three images and gives three; OpenCV's hue of bytes
  // is in 0 ... 179, the stand-in's in 0 ... 255: the same work either way.
  add(
      "trans_from_rgb hsv / cvtColor RGB2HSV",
      [p] {
        HObject h, s, v;
        TransFromRgb(p->red, p->green, p->blue, &h, &s, &v, "hsv");
      },
      [p] {
        static thread_local cv::Mat hsv;
        cv::cvtColor(p->rgbMat, hsv, cv::COLOR_RGB2HSV);
      });
  add(
      "gray_dilation_rect 11x11 / dilate 11x11",
      [p] {
        HObject dilated;
        GrayDilationRect(p->grayImage, &dilated, 11, 11);
      },
      [p] {
        static const cv::Mat element = cv::getStructuringElement(cv::MORPH_RECT, cv::Size(11, 11));
        static thread_local cv::Mat dilated;
        cv::dilate(p->grayMat, dilated, element, cv::Point(-1, -1), 1, cv::BORDER_REFLECT);
      });
  // The circle of radius 2 holds 13 of the 5 x 5 pixels; OpenCV has square masks only.
  add(
      "median_image circle 2 / medianBlur 5",
      [p] {
        HObject median;
        MedianImage(p->grayImage, &median, "circle", 2, "mirrored");
      },
      [p] {
        static thread_local cv::Mat median;
        cv::medianBlur(p->grayMat, median, 5);
      });
  add(
      "closing_circle 3.5 / 7x7 elliptic closing",
      [p] {
        HObject closed;
        ClosingCircle(p->region, &closed, 3.5);
      },
      [p] {
        static const cv::Mat element = cv::getStructuringElement(cv::MORPH_ELLIPSE, cv::Size(7, 7));
        static thread_local cv::Mat closed;
        cv::morphologyEx(p->binaryMat, closed, cv::MORPH_CLOSE, element);
      });
  add(
      "threshold+connection+area_center / connectedComponentsWithStats",
      [p] {
        HObject region, parts;
        HTuple area, row, col;
        Threshold(p->grayImage, &region, 128, 255);
        Connection(region, &parts);
        AreaCenter(parts, &area, &row, &col);
      },
      [p] {
        static thread_local cv::Mat binary, labels, stats, centroids;
        cv::threshold(p->grayMat, binary, 127, 255, cv::THRESH_BINARY);
        cv::connectedComponentsWithStats(binary, labels, stats, centroids, 8);
      });
  // A real image's half spectrum, unnormalised, on both sides.
  add(
      "rft_generic to_freq / dft real to CCS",
      [p] {
        HObject spectrum;
        RftGeneric(p->grayImage, &spectrum, "to_freq", "none", "complex", p->grayMat.cols);
      },
      [p] {
        static thread_local cv::Mat real, spectrum;
        p->grayMat.convertTo(real, CV_32F);
        cv::dft(real, spectrum, cv::DFT_COMPLEX_OUTPUT);
      });
  // The filtering step alone, on spectra made beforehand: the product pixel by pixel.
  add(
      "convol_fft rft gauss / mulSpectrums CCS",
      [p] {
        HObject product;
        ConvolFft(p->spectrum, p->gaussFilter, &product);
      },
      [p] {
        static thread_local cv::Mat product;
        cv::mulSpectrums(p->spectrumMat, p->filterMat, product, 0);
      });
  // sum_abs: (|A| + |B|) / 4 of the two 3 x 3 masks; OpenCV's usual amplitude is the
  // average of the two absolute derivatives, each a pass of its own.
  add(
      "sobel_amp sum_abs 3 / Sobel x, y + convertScaleAbs + addWeighted",
      [p] {
        HObject amplitude;
        SobelAmp(p->grayImage, &amplitude, "sum_abs", 3);
      },
      [p] {
        static thread_local cv::Mat dx, dy, ax, ay, amplitude;
        cv::Sobel(p->grayMat, dx, CV_16S, 1, 0, 3, 1, 0, cv::BORDER_REFLECT);
        cv::Sobel(p->grayMat, dy, CV_16S, 0, 1, 3, 1, 0, cv::BORDER_REFLECT);
        cv::convertScaleAbs(dx, ax);
        cv::convertScaleAbs(dy, ay);
        cv::addWeighted(ax, 0.5, ay, 0.5, 0, amplitude);
      });
  // The comparison alone, with an image smoothed beforehand (mean 15 x 15) on both sides;
  // OpenCV compares the signed differences, the stand-in gives runs.
  add(
      "dyn_threshold light 5 / subtract + compare",
      [p] {
        HObject region;
        DynThreshold(p->grayImage, p->meanImage, &region, 5, "light");
      },
      [p] {
        static thread_local cv::Mat difference, mask;
        cv::subtract(p->grayMat, p->meanMat, difference, cv::noArray(), CV_16S);
        cv::compare(difference, 5, mask, cv::CMP_GE);
      });
  // var_threshold also weighs the local deviation, which adaptiveThreshold does not: it
  // does more work than its nearest equivalent, a local mean and a comparison.
  add(
      "var_threshold 15x15 / adaptiveThreshold mean 15",
      [p] {
        HObject region;
        VarThreshold(p->grayImage, &region, 15, 15, 0.2, 2, "dark");
      },
      [p] {
        static thread_local cv::Mat mask;
        cv::adaptiveThreshold(p->grayMat, mask, 255, cv::ADAPTIVE_THRESH_MEAN_C,
                              cv::THRESH_BINARY_INV, 15, 2);
      });
  // smooth_image 'gauss' samples the Gaussian out to 6.44 sigma; GaussianBlur's kernel of
  // sigma 2 reaches 3 sigma, in fixed point.
  add(
      "smooth_image gauss 2 / GaussianBlur sigma 2",
      [p] {
        HObject smooth;
        SmoothImage(p->grayImage, &smooth, "gauss", 2);
      },
      [p] {
        static thread_local cv::Mat smooth;
        cv::GaussianBlur(p->grayMat, smooth, cv::Size(0, 0), 2, 2, cv::BORDER_REFLECT);
      });
  // Deriche's recursive filter costs the same for any Alpha; OpenCV has none, and its
  // Gaussian that smooths alike is the nearest. The reference's smooth_image gives the match
  // as Alpha(deriche2) = Alpha(deriche1) / 2 and sigma = 1.77 / Alpha(deriche1): sigma 0.885
  // for Alpha 1 (both halve at about one pixel from the centre).
  add(
      "smooth_image deriche2 1 / GaussianBlur sigma 0.885",
      [p] {
        HObject smooth;
        SmoothImage(p->grayImage, &smooth, "deriche2", 1);
      },
      [p] {
        static thread_local cv::Mat smooth;
        cv::GaussianBlur(p->grayMat, smooth, cv::Size(0, 0), 0.885, 0.885, cv::BORDER_REFLECT);
      });
  add(
      "binomial_filter 5x5 / sepFilter2D 1 4 6 4 1",
      [p] {
        HObject smooth;
        BinomialFilter(p->grayImage, &smooth, 5, 5);
      },
      [p] {
        static const cv::Mat kernel = (cv::Mat_<float>(1, 5) << 1, 4, 6, 4, 1) / 16;
        static thread_local cv::Mat smooth;
        cv::sepFilter2D(p->grayMat, smooth, CV_8U, kernel, kernel, cv::Point(-1, -1), 0,
                        cv::BORDER_REFLECT);
      });
  // The stand-in gives sub-pixel contours with their attributes, Canny a mask of edge pixels
  // from Sobel gradients: the nearest work, not the same output.
  add(
      "edges_sub_pix canny 1 20 40 / Canny 20 40",
      [p] {
        HObject edges;
        EdgesSubPix(p->grayImage, &edges, "canny", 1, 20, 40);
      },
      [p] {
        static thread_local cv::Mat edges;
        cv::Canny(p->grayMat, edges, 20, 40);
      });
  add(
      "zoom_image_size half bilinear / resize INTER_LINEAR",
      [p] {
        HObject zoomed;
        ZoomImageSize(p->grayImage, &zoomed, p->size.width / 2, p->size.height / 2, "bilinear");
      },
      [p] {
        static thread_local cv::Mat zoomed;
        cv::resize(p->grayMat, zoomed, cv::Size(p->size.width / 2, p->size.height / 2), 0, 0,
                   cv::INTER_LINEAR);
      });
  add(
      "affine_trans_image scale 0.9 + shift / warpAffine",
      [p] {
        HTuple identity, scaled, matrix;
        HomMat2dIdentity(&identity);
        HomMat2dScale(identity, 0.9, 0.9, 0, 0, &scaled);
        HomMat2dTranslate(scaled, 7.5, 12.25, &matrix);
        HObject moved;
        AffineTransImage(p->grayImage, &moved, matrix, "bilinear", "false");
      },
      [p] {
        // OpenCV's matrix maps (x, y); HALCON's (row, column).
        static const cv::Mat matrix = (cv::Mat_<double>(2, 3) << 0.9, 0, 12.25, 0, 0.9, 7.5);
        static thread_local cv::Mat moved;
        cv::warpAffine(p->grayMat, moved, matrix, p->grayMat.size(), cv::INTER_LINEAR,
                       cv::BORDER_CONSTANT);
      });
  add(
      "rotate_image 10 bilinear / warpAffine rotation",
      [p] {
        HObject turned;
        RotateImage(p->grayImage, &turned, 10, "bilinear");
      },
      [p] {
        static thread_local cv::Mat turned;
        const cv::Mat matrix = cv::getRotationMatrix2D(
            cv::Point2f((p->size.width - 1) / 2.0f, (p->size.height - 1) / 2.0f), 10, 1);
        cv::warpAffine(p->grayMat, turned, matrix, p->grayMat.size(), cv::INTER_LINEAR,
                       cv::BORDER_CONSTANT);
      });
}

double bestOf(const std::function<void()>& call, int calls) {
  double best = 1e300;
  for (int i = 0; i < calls; ++i) {
    const auto start = std::chrono::steady_clock::now();
    call();
    const auto stop = std::chrono::steady_clock::now();
    best = std::min(best, std::chrono::duration<double, std::milli>(stop - start).count());
  }
  return best;
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
  int rounds = 7, calls = 5;
  std::string filter;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--rounds") == 0) rounds = std::max(1, std::atoi(argv[i + 1]));
    if (std::strcmp(argv[i], "--calls") == 0) calls = std::max(1, std::atoi(argv[i + 1]));
    if (std::strcmp(argv[i], "--filter") == 0) filter = argv[i + 1];
    if (std::strcmp(argv[i], "--band-pixels") == 0) {
      SetSystem("standin_band_pixels", static_cast<Hlong>(std::max(1, std::atoi(argv[i + 1]))));
    }
    if (std::strcmp(argv[i], "--thread-num") == 0) {
      SetSystem("thread_num", static_cast<Hlong>(std::max(1, std::atoi(argv[i + 1]))));
    }
  }
  HTuple threads;
  GetSystem("thread_num", &threads);
  std::printf("stand-in thread_num %ld, OpenCV threads %d; %d rounds, best of %d calls each\n",
              static_cast<long>(threads[0].L()), cv::getNumThreads(), rounds, calls);
  const Size sizes[] = {{4096, 2160}, {640, 480}};
  std::vector<Inputs> inputs;
  inputs.reserve(4);
  std::vector<Case> cases;
  for (const Size size : sizes) {
    for (const bool disc : {false, true}) {
      inputs.push_back(makeInputs(size, disc));
      const std::string suffix = ", " + std::to_string(size.width) + "x" +
                                 std::to_string(size.height) + (disc ? ", disc domain" : "");
      addCases(cases, inputs.back(), suffix);
    }
  }
  cases.erase(
      std::remove_if(cases.begin(), cases.end(),
                     [&](const Case& c) { return c.name.find(filter) == std::string::npos; }),
      cases.end());
  for (int round = 0; round < rounds; ++round) {
    for (Case& c : cases) {
      const double s = bestOf(c.standin, calls), o = bestOf(c.opencv, calls);
      c.standinTimes.push_back(s);
      c.opencvTimes.push_back(o);
      c.ratios.push_back(s / o);
    }
  }
  std::printf("| case | stand-in ms | OpenCV ms | ratio |\n|---|---|---|---|\n");
  for (const Case& c : cases) {
    std::printf("| %s | %.3f | %.3f | %.2f |\n", c.name.c_str(), median(c.standinTimes),
                median(c.opencvTimes), median(c.ratios));
  }
  return 0;
}
